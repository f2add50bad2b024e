#pragma once
// The maps of one station, made from coastline data for the ranges asked and written together:
// each target is tried for writing before the slow drawing, and every map is drawn before the
// first is written, so that a folder that takes no file, missing data or a cancel leaves the
// folder as it was. Every front end makes maps through here and phrases the result itself.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "maps/map_drawing.h"
#include "maps/map_projection.h"

namespace animark {

inline constexpr int kMapRanges[] = {100, 200, 300};

// "map100.bmp", the name a range's map takes in a folder.
std::string StationMapName(int rangeMiles);

// Decimal degrees as a person types them: blanks round, a leading sign, a point or a comma as the
// decimal mark. Empty unless the whole text is one finite number no larger than `limit` either
// way (90 for a latitude, 180 for a longitude).
std::optional<double> ParseDegrees(std::string_view text, double limit);

struct StationMap {
  int rangeMiles = 100;
  std::filesystem::path path;
};

// Told before each map is drawn, and asked between maps whether to stop.
class MapProgress {
 public:
  virtual ~MapProgress() = default;
  // The map of `rangeMiles` is next; `done` of `count` maps are drawn.
  virtual void Drawing(int rangeMiles, int done, int count) = 0;
  virtual bool CancelRequested() { return false; }
};

enum class StationMapsOutcome {
  Written,
  Unwritable,  // a target could not be created: nothing was drawn
  NoData,      // the program or its coastline data is missing: nothing was written
  DataFailed,  // the data could not be read: nothing was written
  NotWritten,  // drawn, but writing `path` failed (maps before it in the list were written)
  Cancelled,   // nothing was written
};

struct StationMapsResult {
  StationMapsOutcome outcome = StationMapsOutcome::Written;
  std::filesystem::path path;  // Unwritable, NotWritten: the file
  std::string
      reason;  // Unwritable, NotWritten: the system's reason; NoData, DataFailed: what to do
};

// Makes and writes `maps` for a detector at `detector`, drawn in `style`.
StationMapsResult MakeStationMaps(GeoPoint detector, std::span<const StationMap> maps,
                                  MapStyle style, MapProgress& progress);

}  // namespace animark
