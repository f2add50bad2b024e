#pragma once
// What a made map is drawn from: which places are land or water, and the shorelines, borders and
// rivers as lines of places. ReadMapData fetches them from the installed coastline data; the
// drawing takes any MapData, so a test can hand it a few made-up shapes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/map_projection.h"

namespace animark {

// GSHHG's nesting: 0 sea, 1 land, 2 lake, 3 island in a lake, 4 pond on such an island.
inline constexpr std::uint8_t kSeaLevel = 0;
inline constexpr std::uint8_t kLandLevel = 1;
inline constexpr std::uint8_t kLakeLevel = 2;

// A latitude/longitude grid of levels, cells centred on the nodes, top row first.
struct LevelGrid {
  double west = 0, east = 0, south = 0, north = 0;  // degrees; east may exceed 180
  int columns = 0, rows = 0;
  std::vector<std::uint8_t> levels;  // rows * columns

  // The level at `place`; sea outside the grid.
  std::uint8_t LevelAt(GeoPoint place) const;
};

enum class LineKind { Shore, LakeShore, NationalBorder, StateBorder, River };

struct MapLine {
  LineKind kind = LineKind::Shore;
  std::vector<GeoPoint> points;
};

struct MapData {
  LevelGrid levels;
  std::vector<MapLine> lines;
};

enum class MapDataFailure { ProgramMissing, DataMissing, Failed };

struct MapDataError {
  MapDataFailure failure;
  std::string message;  // what to tell the user: the package to install, or what went wrong
};

// Fetches everything a map of `rangeMiles` round `detector` shows, at a detail that suits the
// range (finer for the smaller ranges). On Linux from the `gmt` program and its coastline data, on
// Windows from the coastline file installed beside the program (coast_file.h); returns nothing and
// fills `error` when they are missing or fail.
std::optional<MapData> ReadMapData(GeoPoint detector, int rangeMiles, MapDataError* error);

// The latitude/longitude box a map of `rangeMiles` round `detector` needs (2 ranges all round, the
// whole circle of longitudes near a pole), with no levels yet: `columns` and `rows` space its nodes
// a little closer than the map's cells.
LevelGrid MapRegion(GeoPoint detector, int rangeMiles);

// Whether `line` comes near `region` (its points' box meets the region's, longitudes either way
// round the globe).
bool LineMeetsRegion(const MapLine& line, const LevelGrid& region);

// The whole world's data at one detail for each range, as the coastline file holds it.
struct WorldMapData {
  LevelGrid levels;                           // the whole world, west -180, north 90
  std::array<std::vector<MapLine>, 3> lines;  // for the ranges 100, 200 and 300 miles
};

// Index into WorldMapData::lines for `rangeMiles`.
int DetailIndex(int rangeMiles);

// Reads the whole world from gmt's installed data, for writing the coastline file (Linux only;
// takes about a minute).
std::optional<WorldMapData> ReadWorldMapData(MapDataError* error);

// Parses GMT's multisegment text ("> ... Level N" headers, then "longitude latitude" lines) into
// lines of `kind`; a level-2 shore becomes a lake shore, a level-2 border a state border, level 3
// borders (maritime) are dropped.
std::vector<MapLine> ParseGmtLines(const std::string& text, LineKind kind);

}  // namespace animark
