#include "maps/map_drawing.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/file_replacement.h"

namespace animark {
namespace {

// Lines are drawn in this order, so that a shore wins where a border or a river meets it.
constexpr LineKind kDrawOrder[] = {LineKind::River, LineKind::StateBorder, LineKind::NationalBorder,
                                   LineKind::LakeShore, LineKind::Shore};

std::int16_t LineEntry(LineKind kind) {
  switch (kind) {
    case LineKind::River:
      return kRiverEntry;
    case LineKind::StateBorder:
      return kStateBorderEntry;
    case LineKind::NationalBorder:
      return kNationalBorderEntry;
    case LineKind::Shore:
    case LineKind::LakeShore:
      break;
  }
  return kShoreEntry;
}

// Lines further out than this many cells are not followed (a segment that leaves the map and
// comes back is still drawn from its projected ends).
constexpr double kFarCells = 4000;

constexpr int kCells = FrameBuffer::kWidth * FrameBuffer::kHeight;

// The share of a piece's cells the grid must agree on for the piece to be filled as one.
constexpr double kPieceAgreement = 0.8;

int CellIndex(int x, int y) {
  return y * FrameBuffer::kWidth + x;
}

// Each map cell on the lines of `kind`, one-cell steps between the projected points.
template <typename Visit>
void ForEachMapLineCell(const MapData& data, const MapProjection& projection, LineKind kind,
                        Visit visit) {
  const auto visitInside = [&](int x, int y) {
    if (FrameBuffer::Contains(x, y)) visit(x, y);
  };
  for (const MapLine& line : data.lines) {
    if (line.kind != kind) continue;
    std::optional<CellPoint> previous;
    for (const GeoPoint& point : line.points) {
      const std::optional<CellPoint> cell = projection.ToCell(point);
      const bool near = cell && std::abs(cell->x) < kFarCells && std::abs(cell->y) < kFarCells;
      if (near && previous) {
        ForEachLineCell(static_cast<int>(std::lround(previous->x)),
                        static_cast<int>(std::lround(previous->y)),
                        static_cast<int>(std::lround(cell->x)),
                        static_cast<int>(std::lround(cell->y)), visitInside);
      }
      previous = near ? cell : std::nullopt;
    }
    if (previous && line.points.size() == 1) {
      visitInside(static_cast<int>(std::lround(previous->x)),
                  static_cast<int>(std::lround(previous->y)));
    }
  }
}

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

}  // namespace

ColourTable MapStyleColours(MapStyle style) {
  ColourTable table = kDefaultPalette;
  for (int entry = 0; entry < kFirstFixedEntry; ++entry) table[entry] = {0, 0, 0};
  // Both styles keep land and water darker than the yellow strikes and far from the teal rings'
  // hue; the lines are only a little brighter than what they cross.
  if (style == MapStyle::Dark) {
    table[kSeaEntry] = {10, 18, 36};
    table[kLandEntry] = {34, 36, 32};
    table[kShoreEntry] = {92, 100, 112};
    table[kNationalBorderEntry] = {120, 70, 70};
    table[kStateBorderEntry] = {74, 60, 66};
    table[kRiverEntry] = {34, 58, 96};
  } else {
    table[kSeaEntry] = {118, 142, 170};
    table[kLandEntry] = {172, 166, 150};
    table[kShoreEntry] = {70, 78, 92};
    table[kNationalBorderEntry] = {150, 60, 60};
    table[kStateBorderEntry] = {130, 110, 110};
    table[kRiverEntry] = {96, 126, 166};
  }
  return table;
}

FrameBuffer DrawMap(const MapData& data, const MapProjection& projection) {
  FrameBuffer picture;
  // Land or water as the grid has it at each cell's place: lakes (2) and ponds (4) are water,
  // islands in lakes (3) land.
  std::vector<bool> land(kCells);
  for (int y = 0; y < FrameBuffer::kHeight; ++y) {
    for (int x = 0; x < FrameBuffer::kWidth; ++x) {
      const GeoPoint place = projection.ToPlace(CellPoint{double(x), double(y)});
      land[CellIndex(x, y)] = data.levels.LevelAt(place) % 2 == 1;
    }
  }
  // The shores cut the map into pieces; each piece the grid calls nearly all land or all water is
  // filled so, right up to its shore, whatever the grid's spacing. A piece the grid splits
  // (shores that do not close) keeps the grid's word cell by cell.
  std::vector<bool> shore(kCells);
  for (const LineKind kind : {LineKind::LakeShore, LineKind::Shore}) {
    ForEachMapLineCell(data, projection, kind,
                       [&](int x, int y) { shore[CellIndex(x, y)] = true; });
  }
  std::vector<bool> seen(kCells);
  std::vector<int> piece;
  for (int start = 0; start < kCells; ++start) {
    if (seen[start] || shore[start]) continue;
    piece.assign(1, start);
    seen[start] = true;
    int landCells = 0;
    for (std::size_t next = 0; next < piece.size(); ++next) {
      const int cell = piece[next];
      landCells += land[cell] ? 1 : 0;
      const int x = cell % FrameBuffer::kWidth, y = cell / FrameBuffer::kWidth;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        if (!FrameBuffer::Contains(x + dx, y + dy)) continue;
        const int neighbour = CellIndex(x + dx, y + dy);
        if (seen[neighbour] || shore[neighbour]) continue;
        seen[neighbour] = true;
        piece.push_back(neighbour);
      }
    }
    const double landShare = static_cast<double>(landCells) / static_cast<double>(piece.size());
    if (landShare >= kPieceAgreement || landShare <= 1 - kPieceAgreement) {
      for (const int cell : piece) land[cell] = landShare >= kPieceAgreement;
    }
  }
  for (int y = 0; y < FrameBuffer::kHeight; ++y) {
    for (int x = 0; x < FrameBuffer::kWidth; ++x) {
      picture.At(x, y) = land[CellIndex(x, y)] ? kLandEntry : kSeaEntry;
    }
  }
  for (const LineKind kind : kDrawOrder) {
    const std::int16_t entry = LineEntry(kind);
    ForEachMapLineCell(data, projection, kind, [&](int x, int y) { picture.At(x, y) = entry; });
  }
  return picture;
}

std::string EncodeMapBitmap(const FrameBuffer& picture, const ColourTable& colours) {
  constexpr std::uint32_t kHeaderBytes = 14 + 40 + 4 * kColourTableEntries;
  constexpr std::uint32_t kRowBytes = FrameBuffer::kWidth / 2;
  constexpr std::uint32_t kPixelBytes = kRowBytes * FrameBuffer::kHeight;
  std::string bytes;
  bytes.reserve(kHeaderBytes + kPixelBytes);
  bytes += "BM";
  PutLittleEndian(bytes, kHeaderBytes + kPixelBytes, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, kHeaderBytes, 4);
  PutLittleEndian(bytes, 40, 4);
  PutLittleEndian(bytes, FrameBuffer::kWidth, 4);
  PutLittleEndian(bytes, FrameBuffer::kHeight, 4);
  PutLittleEndian(bytes, 1, 2);  // planes
  PutLittleEndian(bytes, 4, 2);  // bits a pixel
  PutLittleEndian(bytes, 0, 4);  // no compression
  PutLittleEndian(bytes, kPixelBytes, 4);
  PutLittleEndian(bytes, 2835, 4);  // 72 dots an inch, both ways
  PutLittleEndian(bytes, 2835, 4);
  PutLittleEndian(bytes, kColourTableEntries, 4);
  PutLittleEndian(bytes, 0, 4);
  for (const RgbColour& colour : colours) {
    bytes.push_back(static_cast<char>(colour.blue));
    bytes.push_back(static_cast<char>(colour.green));
    bytes.push_back(static_cast<char>(colour.red));
    bytes.push_back(0);
  }
  // Bottom row first, the left pixel in the high nibble.
  for (int y = FrameBuffer::kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < FrameBuffer::kWidth; x += 2) {
      const int left = picture.At(x, y) & 0x0F, right = picture.At(x + 1, y) & 0x0F;
      bytes.push_back(static_cast<char>(left << 4 | right));
    }
  }
  return bytes;
}

bool WriteMapBitmap(const std::filesystem::path& path, const FrameBuffer& picture,
                    const ColourTable& colours, std::string* reason) {
  using std::filesystem::perms;
  FileReplacement replacement = FileReplacement::Begin(
      path, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
  if (replacement.IsOpen()) {
    const std::string bytes = EncodeMapBitmap(picture, colours);
    FileHandle stream = replacement.TakeStream();
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream.get()) == bytes.size();
    written = std::fclose(stream.release()) == 0 && written;
    if (replacement.Commit(written)) return true;
  }
  *reason = replacement.Error() ? replacement.Error().message() : "the file could not be written";
  return false;
}

}  // namespace animark
