#include "maps/map_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>

#include "maps/coast_file.h"
#include "platform/program_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace animark {

std::uint8_t LevelGrid::LevelAt(GeoPoint place) const {
  if (columns <= 0 || rows <= 0) return kSeaLevel;
  const double fromWest = std::fmod(place.longitude - west + 720.0, 360.0);
  const int column = static_cast<int>(std::floor(fromWest / (east - west) * columns));
  const int row = static_cast<int>(std::floor((north - place.latitude) / (north - south) * rows));
  if (column < 0 || column >= columns || row < 0 || row >= rows) return kSeaLevel;
  return levels[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                static_cast<std::size_t>(column)];
}

std::vector<MapLine> ParseGmtLines(const std::string& text, LineKind kind) {
  std::vector<MapLine> lines;
  std::istringstream in(text);
  std::string row;
  bool keep = false;
  while (std::getline(in, row)) {
    if (row.starts_with('>')) {
      const std::size_t at = row.find("Level ");
      const int level = at == std::string::npos ? 1 : std::atoi(row.c_str() + at + 6);
      LineKind lineKind = kind;
      keep = true;
      if (kind == LineKind::Shore && level >= 2) lineKind = LineKind::LakeShore;
      if (kind == LineKind::NationalBorder && level == 2) lineKind = LineKind::StateBorder;
      if (kind == LineKind::NationalBorder && level >= 3) keep = false;
      if (keep) lines.push_back(MapLine{lineKind, {}});
      continue;
    }
    if (!keep || lines.empty()) continue;
    // strtod, not sscanf: MinGW's scanf brings a second mbrtowc into the Windows build.
    char* end = nullptr;
    const double longitude = std::strtod(row.c_str(), &end);
    const char* afterLongitude = end;
    const double latitude = std::strtod(afterLongitude, &end);
    if (afterLongitude != row.c_str() && end != afterLongitude) {
      lines.back().points.push_back(GeoPoint{latitude, longitude});
    }
  }
  std::erase_if(lines, [](const MapLine& line) { return line.points.size() < 2; });
  return lines;
}

namespace {

constexpr double kMilesPerDegreeLatitude = 69.0;

}  // namespace

LevelGrid MapRegion(GeoPoint detector, int rangeMiles) {
  // The map's far corner is 1.9 ranges from the detector; the box holds 2 ranges all round.
  const double halfHeight = 2.0 * rangeMiles / kMilesPerDegreeLatitude;
  LevelGrid grid;
  grid.south = std::max(-90.0, detector.latitude - halfHeight);
  grid.north = std::min(90.0, detector.latitude + halfHeight);
  const bool pole = grid.south <= -89.9 || grid.north >= 89.9;
  const double poleward = std::max(std::abs(grid.south), std::abs(grid.north));
  const double equatorward =
      grid.south < 0 && grid.north > 0 ? 0 : std::min(std::abs(grid.south), std::abs(grid.north));
  const double halfWidth =
      pole ? 180.0 : std::min(180.0, halfHeight / std::cos(poleward * std::numbers::pi / 180));
  grid.west = detector.longitude - halfWidth;
  grid.east = detector.longitude + halfWidth;
  // Grid nodes a little closer than the map's cells, so that no cell misses its own.
  const double rowDegrees = 0.8 * rangeMiles / 240.0 / kMilesPerDegreeLatitude;
  const double columnDegrees = rowDegrees / std::cos(equatorward * std::numbers::pi / 180);
  grid.rows = static_cast<int>(std::ceil((grid.north - grid.south) / rowDegrees));
  grid.columns =
      std::min(8000, static_cast<int>(std::ceil((grid.east - grid.west) / columnDegrees)));
  return grid;
}

bool LineMeetsRegion(const MapLine& line, const LevelGrid& region) {
  if (line.points.empty()) return false;
  double west = line.points.front().longitude, east = west;
  double south = line.points.front().latitude, north = south;
  for (const GeoPoint& point : line.points) {
    west = std::min(west, point.longitude);
    east = std::max(east, point.longitude);
    south = std::min(south, point.latitude);
    north = std::max(north, point.latitude);
  }
  if (north < region.south || south > region.north) return false;
  for (const double turn : {-360.0, 0.0, 360.0}) {
    if (east + turn >= region.west && west + turn <= region.east) return true;
  }
  return false;
}

int DetailIndex(int rangeMiles) {
  return rangeMiles <= 100 ? 0 : rangeMiles <= 200 ? 1 : 2;
}

#ifdef _WIN32

std::optional<MapData> ReadMapData(GeoPoint detector, int rangeMiles, MapDataError* error) {
  return ReadCoastFile(ProgramFolder() / kCoastFileName, detector, rangeMiles, error);
}

std::optional<WorldMapData> ReadWorldMapData(MapDataError* error) {
  *error = {MapDataFailure::ProgramMissing, "Reading the world's coastline data needs Linux."};
  return std::nullopt;
}

#else

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder for GMT's files (it leaves gmt.history where it runs), removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "animark-map-XXXXXX").string();
    if (error) pattern = "/tmp/animark-map-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

struct Run {
  int status = -1;
  std::string out;
};

// Runs `gmt ARGUMENTS` in `folder` (our own, without quotes), its errors to folder/errors.txt.
// GMT fetches missing data from the internet unless told not to; a map is made from the
// installed packages only, and a missing one is reported.
Run RunGmt(const fs::path& folder, const std::string& arguments) {
  const std::string command = "cd '" + folder.string() + "' && exec gmt " + arguments +
                              (arguments == "--version" ? "" : " --GMT_AUTO_DOWNLOAD=off") +
                              " 2>errors.txt";
  Run run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[65536];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, read);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Format(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

// GMT's region option for `grid`'s box.
std::string RegionOption(const LevelGrid& grid) {
  return "-R" + Format(grid.west) + "/" + Format(grid.east) + "/" + Format(grid.south) + "/" +
         Format(grid.north);
}

// The level code of each node of `grid` (its bounds and size set) at `detail`, into its levels.
bool ReadLevels(const fs::path& folder, LevelGrid& grid, const std::string& detail,
                const std::string& smallest, MapDataError* error) {
  const Run mask = RunGmt(folder, "grdlandmask " + RegionOption(grid) + " " + detail + " " +
                                      smallest + " -I" + std::to_string(grid.columns) + "+n/" +
                                      std::to_string(grid.rows) + "+n -r -N0/1/2/3/4 -Glevels.nc");
  const Run cells = mask.status == 0 ? RunGmt(folder, "grd2xyz levels.nc -ZTLc") : Run{};
  const std::size_t cellCount =
      static_cast<std::size_t>(grid.rows) * static_cast<std::size_t>(grid.columns);
  if (cells.status != 0 || cells.out.size() != cellCount) {
    *error = {MapDataFailure::Failed,
              "gmt could not make the land and water grid:\n" + ReadAll(folder / "errors.txt")};
    return false;
  }
  grid.levels.assign(cells.out.begin(), cells.out.end());
  return true;
}

// Shores, borders and rivers in `region` at `detail`; empty with `error` set when gmt cannot read
// its shores (borders and rivers are extras: a data set without them still makes a map).
std::optional<std::vector<MapLine> > ReadLines(const fs::path& folder, const std::string& region,
                                               const std::string& detail,
                                               const std::string& smallest, MapDataError* error) {
  const Run shores = RunGmt(folder, "coast " + region + " " + detail + " " + smallest + " -W -M");
  if (shores.status != 0) {
    // GMT repeats itself; its last line says what it could not do.
    std::string reason = ReadAll(folder / "errors.txt");
    while (!reason.empty() && reason.back() == '\n') reason.pop_back();
    reason.erase(0, reason.find_last_of('\n') + 1);
    *error = {MapDataFailure::DataMissing,
              "gmt could not read its coastline data; install the Debian package gmt-gshhg-low "
              "(and gmt-gshhg-high for the 100-mile map)" +
                  (reason.empty() ? std::string(".") : ":\n" + reason)};
    return std::nullopt;
  }
  const Run borders = RunGmt(folder, "coast " + region + " " + detail + " -Na -M");
  const Run rivers = RunGmt(folder, "coast " + region + " " + detail + " -I1 -M");
  std::vector<MapLine> lines;
  for (auto&& part :
       {ParseGmtLines(rivers.status == 0 ? rivers.out : "", LineKind::River),
        ParseGmtLines(borders.status == 0 ? borders.out : "", LineKind::NationalBorder),
        ParseGmtLines(shores.out, LineKind::Shore)}) {
    lines.insert(lines.end(), part.begin(), part.end());
  }
  return lines;
}

// Finer shorelines for the smaller ranges; "+" falls back to the next coarser set installed.
std::string Detail(int rangeMiles) {
  return rangeMiles <= 100 ? "-Dh+" : rangeMiles <= 200 ? "-Di+" : "-Dl+";
}

// Islands and lakes smaller than this many square kilometres are left out.
std::string Smallest(int rangeMiles) {
  return "-A" + std::to_string(std::max(1, rangeMiles / 20));
}

// Whether gmt can run in `scratch`; false with `error` set when there is no folder or no gmt.
bool GmtRuns(const ScratchFolder& scratch, MapDataError* error) {
  if (scratch.Path().empty() || scratch.Path().string().find('\'') != std::string::npos) {
    *error = {MapDataFailure::Failed, "No temporary folder could be made for the map data."};
    return false;
  }
  if (RunGmt(scratch.Path(), "--version").status != 0) {
    *error = {MapDataFailure::ProgramMissing,
              "The gmt program was not found; install the Debian package gmt "
              "(apt install gmt gmt-gshhg-low gmt-gshhg-high gmt-dcw)."};
    return false;
  }
  return true;
}

}  // namespace

std::optional<MapData> ReadMapData(GeoPoint detector, int rangeMiles, MapDataError* error) {
  const ScratchFolder scratch;
  if (!GmtRuns(scratch, error)) return std::nullopt;
  MapData data;
  data.levels = MapRegion(detector, rangeMiles);
  std::optional<std::vector<MapLine> > lines = ReadLines(
      scratch.Path(), RegionOption(data.levels), Detail(rangeMiles), Smallest(rangeMiles), error);
  if (!lines ||
      !ReadLevels(scratch.Path(), data.levels, Detail(rangeMiles), Smallest(rangeMiles), error)) {
    return std::nullopt;
  }
  data.lines = std::move(*lines);
  return data;
}

std::optional<WorldMapData> ReadWorldMapData(MapDataError* error) {
  const ScratchFolder scratch;
  if (!GmtRuns(scratch, error)) return std::nullopt;
  WorldMapData world;
  for (const int range : {100, 200, 300}) {
    std::optional<std::vector<MapLine> > lines =
        ReadLines(scratch.Path(), "-Rd", Detail(range), Smallest(range), error);
    if (!lines) return std::nullopt;
    world.lines[static_cast<std::size_t>(DetailIndex(range))] = std::move(*lines);
  }
  // One arc-minute: coarser than a 100-mile map's cells, since a map takes only the side of each
  // shore from it; the shores themselves come from the lines.
  LevelGrid& grid = world.levels;
  grid.west = -180;
  grid.east = 180;
  grid.south = -90;
  grid.north = 90;
  grid.columns = 360 * 60;
  grid.rows = 180 * 60;
  if (!ReadLevels(scratch.Path(), grid, Detail(100), Smallest(100), error)) return std::nullopt;
  return world;
}

#endif

}  // namespace animark
