#pragma once
// `animark-cli map`: background maps made for the detector's place from coastline data, or from
// any picture, written in the one format an export accepts.

#include <optional>
#include <string>
#include <vector>

#include "maps/map_projection.h"

namespace animark::cli {

struct MapOptions {
  std::string at;              // "LAT,LON" in decimal degrees
  std::string image;           // a picture to make the map from instead
  std::vector<int> ranges;     // empty: all three
  std::string style = "dark";  // dark or light
  std::string output;          // a folder, or with one range the file
  bool quiet = false;
};

// Reads "LAT,LON" (decimal degrees, negative south and west); empty unless both are numbers in
// range (latitude -90..90, longitude -180..180).
std::optional<GeoPoint> ParsePlace(const std::string& text);

// Writes the maps asked for; messages go to standard error, one line a written map to standard
// output. Returns an export's exit statuses: 0 written, 1 not written, 2 refused.
int RunMap(const MapOptions& options, const std::string& program);

}  // namespace animark::cli
