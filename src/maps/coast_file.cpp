#include "maps/coast_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "platform/file_replacement.h"

namespace animark {
namespace {

constexpr std::string_view kMagic = "AMKCOAST";
constexpr std::uint32_t kVersion = 1;
constexpr double kUnitsPerDegree = 100000;
// Bounds a damaged file cannot pass: a grid finer than 15 arc-seconds, a line's point further out
// than a map's region can reach.
constexpr std::uint32_t kMostColumns = 360 * 240;
constexpr std::uint32_t kMostRows = 180 * 240;
constexpr std::int64_t kMostUnits = 540 * 100000;
constexpr std::uint8_t kHighestLevel = 4;
constexpr std::uint8_t kHighestKind = static_cast<std::uint8_t>(LineKind::River);

void PutU32(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

void PutNumber(std::string& bytes, std::uint64_t value) {
  while (value >= 0x80) {
    bytes.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  bytes.push_back(static_cast<char>(value));
}

void PutDifference(std::string& bytes, std::int64_t value) {
  PutNumber(bytes,
            (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

std::int64_t Units(double degrees) {
  return std::llround(degrees * kUnitsPerDegree);
}

// Reads the file's numbers in order; once anything is out of place it stays failed and gives 0s.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool Failed() const { return failed_; }
  void Fail() { failed_ = true; }
  std::size_t Left() const { return failed_ ? 0 : bytes_.size() - at_; }

  bool Expect(std::string_view text) {
    if (Left() < text.size() || bytes_.substr(at_, text.size()) != text) return Fail(), false;
    at_ += text.size();
    return true;
  }
  std::uint8_t Byte() {
    if (Left() < 1) return Fail(), 0;
    return static_cast<std::uint8_t>(bytes_[at_++]);
  }
  std::uint32_t U32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
    return value;
  }
  std::uint64_t Number() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t byte = Byte();
      value |= std::uint64_t{byte & 0x7Fu} << shift;
      if ((byte & 0x80) == 0) return value;
    }
    return Fail(), 0;
  }
  std::int64_t Difference() {
    const std::uint64_t coded = Number();
    return static_cast<std::int64_t>(coded >> 1) ^ -static_cast<std::int64_t>(coded & 1);
  }
  void Skip(std::size_t count) {
    if (Left() < count) return Fail();
    at_ += count;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

std::string EncodeLines(const std::vector<MapLine>& lines) {
  std::string bytes;
  PutNumber(bytes, lines.size());
  for (const MapLine& line : lines) {
    bytes.push_back(static_cast<char>(line.kind));
    PutNumber(bytes, line.points.size());
    std::int64_t longitude = 0, latitude = 0;
    for (const GeoPoint& point : line.points) {
      PutDifference(bytes, Units(point.longitude) - longitude);
      PutDifference(bytes, Units(point.latitude) - latitude);
      longitude = Units(point.longitude);
      latitude = Units(point.latitude);
    }
  }
  return bytes;
}

// The cells of `grid`'s rows as runs of equal levels.
void EncodeLevels(std::string& bytes, const LevelGrid& grid) {
  PutU32(bytes, static_cast<std::uint32_t>(grid.columns));
  PutU32(bytes, static_cast<std::uint32_t>(grid.rows));
  std::string runs;
  for (int row = 0; row < grid.rows; ++row) {
    const std::uint8_t* cells =
        grid.levels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(grid.columns);
    runs.clear();
    std::size_t count = 0;
    for (int column = 0; column < grid.columns;) {
      int end = column + 1;
      while (end < grid.columns && cells[end] == cells[column]) ++end;
      runs.push_back(static_cast<char>(cells[column]));
      PutNumber(runs, static_cast<std::uint64_t>(end - column));
      ++count;
      column = end;
    }
    PutNumber(bytes, count);
    bytes += runs;
  }
}

// The part of the world grid that `region` covers, in whole world cells.
std::optional<LevelGrid> DecodeLevels(Reader& in, const LevelGrid& region) {
  const std::uint32_t columns = in.U32(), rows = in.U32();
  if (in.Failed() || columns == 0 || rows == 0 || columns > kMostColumns || rows > kMostRows) {
    return std::nullopt;
  }
  const double columnDegrees = 360.0 / columns, rowDegrees = 180.0 / rows;
  const auto clampRow = [rows](double row) {
    return static_cast<std::uint32_t>(std::clamp(row, 0.0, static_cast<double>(rows)));
  };
  const std::uint32_t top = clampRow(std::floor((90 - region.north) / rowDegrees));
  const std::uint32_t bottom = clampRow(std::ceil((90 - region.south) / rowDegrees));
  std::int64_t west = static_cast<std::int64_t>(std::floor((region.west + 180) / columnDegrees));
  std::int64_t east = static_cast<std::int64_t>(std::ceil((region.east + 180) / columnDegrees));
  if (east - west >= columns) {
    west = 0;
    east = columns;
  }
  LevelGrid part;
  part.west = -180 + static_cast<double>(west) * columnDegrees;
  part.east = -180 + static_cast<double>(east) * columnDegrees;
  part.north = 90 - top * rowDegrees;
  part.south = 90 - bottom * rowDegrees;
  part.columns = static_cast<int>(east - west);
  part.rows = static_cast<int>(bottom - top);
  part.levels.reserve(static_cast<std::size_t>(part.columns) * part.rows);
  std::vector<std::uint8_t> cells(columns);
  for (std::uint32_t row = 0; row < rows && !in.Failed(); ++row) {
    const std::uint64_t runCount = in.Number();
    if (runCount > columns) return std::nullopt;
    std::uint64_t filled = 0;
    for (std::uint64_t run = 0; run < runCount; ++run) {
      const std::uint8_t level = in.Byte();
      const std::uint64_t length = in.Number();
      if (in.Failed() || level > kHighestLevel || length > columns - filled) return std::nullopt;
      if (row >= top && row < bottom) {
        std::fill_n(cells.begin() + static_cast<std::ptrdiff_t>(filled), length, level);
      }
      filled += length;
    }
    if (filled != columns) return std::nullopt;
    if (row < top || row >= bottom) continue;
    for (std::int64_t column = west; column < east; ++column) {
      part.levels.push_back(
          cells[static_cast<std::size_t>((column % columns + columns) % columns)]);
    }
  }
  if (in.Failed()) return std::nullopt;
  return part;
}

// The lines of one detail that come near `region`.
std::optional<std::vector<MapLine>> DecodeLines(Reader& in, const LevelGrid& region) {
  std::vector<MapLine> lines;
  const std::uint64_t count = in.Number();
  for (std::uint64_t index = 0; index < count && !in.Failed(); ++index) {
    MapLine line;
    const std::uint8_t kind = in.Byte();
    const std::uint64_t points = in.Number();
    // Every point takes two bytes at least.
    if (kind > kHighestKind || points > in.Left() / 2) return std::nullopt;
    line.kind = static_cast<LineKind>(kind);
    line.points.reserve(points);
    std::int64_t longitude = 0, latitude = 0;
    for (std::uint64_t point = 0; point < points; ++point) {
      longitude += in.Difference();
      latitude += in.Difference();
      if (std::abs(longitude) > kMostUnits || std::abs(latitude) > 90 * 100000) return std::nullopt;
      line.points.push_back(GeoPoint{static_cast<double>(latitude) / kUnitsPerDegree,
                                     static_cast<double>(longitude) / kUnitsPerDegree});
    }
    if (LineMeetsRegion(line, region)) lines.push_back(std::move(line));
  }
  if (in.Failed()) return std::nullopt;
  return lines;
}

}  // namespace

std::string EncodeCoastFile(const WorldMapData& world) {
  std::string bytes(kMagic);
  PutU32(bytes, kVersion);
  EncodeLevels(bytes, world.levels);
  for (const std::vector<MapLine>& lines : world.lines) {
    const std::string part = EncodeLines(lines);
    PutU32(bytes, static_cast<std::uint32_t>(part.size()));
    bytes += part;
  }
  return bytes;
}

bool WriteCoastFile(const std::filesystem::path& path, const WorldMapData& world,
                    std::string* reason) {
  using std::filesystem::perms;
  if (ReplaceFile(
          path, EncodeCoastFile(world),
          perms::owner_read | perms::owner_write | perms::group_read | perms::others_read)) {
    return true;
  }
  *reason = "the file could not be written";
  return false;
}

std::optional<MapData> DecodeCoastFile(std::string_view bytes, GeoPoint detector, int rangeMiles,
                                       const std::string& name, MapDataError* error) {
  Reader in(bytes);
  MapData data;
  const LevelGrid region = MapRegion(detector, rangeMiles);
  std::optional<LevelGrid> levels;
  if (in.Expect(kMagic) && in.U32() == kVersion) levels = DecodeLevels(in, region);
  std::optional<std::vector<MapLine>> lines;
  if (levels) {
    const int wanted = DetailIndex(rangeMiles);
    for (int detail = 0; detail < wanted; ++detail) in.Skip(in.U32());
    const std::size_t size = in.U32(), left = in.Left();
    if (size <= left) lines = DecodeLines(in, region);
    // The details after it are passed over but must be whole: a cut file is damaged.
    if (lines && left - in.Left() != size) lines.reset();
    for (int detail = wanted + 1; detail < 3; ++detail) in.Skip(in.U32());
    if (in.Failed() || in.Left() != 0) lines.reset();
  }
  if (!lines) {
    *error = {MapDataFailure::Failed,
              "The coastline data file " + name + " is damaged; install Animark again."};
    return std::nullopt;
  }
  data.levels = std::move(*levels);
  data.lines = std::move(*lines);
  return data;
}

std::optional<MapData> ReadCoastFile(const std::filesystem::path& path, GeoPoint detector,
                                     int rangeMiles, MapDataError* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = {MapDataFailure::DataMissing,
              "The coastline data file " + path.string() + " is missing; install Animark again."};
    return std::nullopt;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return DecodeCoastFile(bytes, detector, rangeMiles, path.string(), error);
}

}  // namespace animark
