#include "cli/map_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "cli/export_command.h"
#include "maps/map_drawing.h"
#include "maps/picture_map.h"
#include "maps/station_maps.h"

namespace animark::cli {
namespace {

namespace fs = std::filesystem;

bool IsBitmapName(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".bmp";
}

// The command line shows no progress for the few seconds three maps take.
class NoMapProgress final : public MapProgress {
 public:
  void Drawing(int, int, int) override {}
};

}  // namespace

std::optional<GeoPoint> ParsePlace(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const auto latitude = ParseDegrees(std::string_view(text).substr(0, comma), 90);
  const auto longitude = ParseDegrees(std::string_view(text).substr(comma + 1), 180);
  if (!latitude || !longitude) return std::nullopt;
  return GeoPoint{*latitude, *longitude};
}

int RunMap(const MapOptions& options, const std::string& program) {
  const auto tell = [&program](const std::string& text) {
    std::cerr << program << ": " << text << std::endl;
  };
  std::vector<int> ranges = options.ranges;
  for (const int range : ranges) {
    if (std::ranges::find(kMapRanges, range) == std::end(kMapRanges)) {
      tell("--range " + std::to_string(range) + ": the range is 100, 200 or 300 (miles).");
      return kExitRefused;
    }
  }
  std::ranges::sort(ranges);
  ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());
  if (ranges.empty()) ranges.assign(std::begin(kMapRanges), std::end(kMapRanges));
  if (options.style != "dark" && options.style != "light") {
    tell("--style " + options.style + ": the style is dark or light.");
    return kExitRefused;
  }
  const MapStyle style = options.style == "light" ? MapStyle::Light : MapStyle::Dark;

  if (!options.image.empty() && (options.ranges.size() != 1 || options.output.empty())) {
    tell("--image needs one --range and -o, the map file to write.");
    return kExitRefused;
  }

  // One map may go to the file -o names; several go into the folder it names (a missing or
  // unwritable one is refused before any map is drawn).
  std::error_code error;
  const fs::path output = options.output.empty() ? fs::path(".") : fs::path(options.output);
  const bool existing = fs::exists(output, error);
  const bool toFolder = options.output.empty() || fs::is_directory(output, error) ||
                        options.output.ends_with('/') || options.output.ends_with('\\') ||
                        (ranges.size() > 1 && !existing && !IsBitmapName(output));
  if (!toFolder && ranges.size() > 1) {
    tell(options.output + ": not a folder; -o names a file only with one --range.");
    return kExitRefused;
  }
  const auto target = [&](int range) { return toFolder ? output / StationMapName(range) : output; };

  const auto written = [&](const fs::path& path) {
    if (!options.quiet) std::cout << "Map written to " << path.string() << std::endl;
  };

  if (!options.image.empty()) {
    std::string reason;
    const std::optional<PictureMap> map = MakePictureMap(options.image, &reason);
    if (!map) {
      tell(options.image + ": " + reason);
      return kExitRefused;
    }
    if (!WriteMapBitmap(target(ranges.front()), map->picture, map->colours, &reason)) {
      tell(target(ranges.front()).string() + ": " + reason + ".");
      return kExitNotWritten;
    }
    written(target(ranges.front()));
    return kExitWritten;
  }

  if (options.at.empty()) {
    tell("give the detector's place with --at LAT,LON, or a picture with --image.");
    return kExitRefused;
  }
  const std::optional<GeoPoint> place = ParsePlace(options.at);
  if (!place) {
    tell("--at " + options.at +
         ": give the detector's place as LAT,LON in decimal degrees, latitude -90 to 90 and "
         "longitude -180 to 180 (negative south and west), for example 52.52,13.40.");
    return kExitRefused;
  }
  std::vector<StationMap> maps;
  for (const int range : ranges) maps.push_back({range, target(range)});
  NoMapProgress progress;
  const StationMapsResult made = MakeStationMaps(*place, maps, style, progress);
  switch (made.outcome) {
    case StationMapsOutcome::Written:
      for (const StationMap& map : maps) written(map.path);
      return kExitWritten;
    case StationMapsOutcome::Unwritable:
      tell(made.path.string() + ": " + made.reason + "; no map was written.");
      return kExitRefused;
    case StationMapsOutcome::NoData:
      tell(made.reason);
      return kExitRefused;
    case StationMapsOutcome::DataFailed:
      tell(made.reason);
      return kExitNotWritten;
    case StationMapsOutcome::NotWritten:
      tell(made.path.string() + ": " + made.reason + ".");
      return kExitNotWritten;
    case StationMapsOutcome::Cancelled:
      break;
  }
  return kExitNotWritten;
}

}  // namespace animark::cli
