#include "cli/map_command.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "cli/export_command.h"
#include "maps/map_data.h"
#include "maps/map_drawing.h"
#include "maps/picture_map.h"

namespace animark::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kRanges[] = {100, 200, 300};

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // strtod, not from_chars: MinGW's floating from_chars drags in a second mbrtowc. The program
  // keeps the "C" locale, so the decimal point is a point.
  const std::string digits(text);
  char* end = nullptr;
  const double value = std::strtod(digits.c_str(), &end);
  if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

bool IsBitmapName(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".bmp";
}

std::string DefaultName(int range) {
  return "map" + std::to_string(range) + ".bmp";
}

}  // namespace

std::optional<GeoPoint> ParsePlace(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const auto latitude = ParseNumber(std::string_view(text).substr(0, comma));
  const auto longitude = ParseNumber(std::string_view(text).substr(comma + 1));
  if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180) {
    return std::nullopt;
  }
  return GeoPoint{*latitude, *longitude};
}

int RunMap(const MapOptions& options, const std::string& program) {
  const auto tell = [&program](const std::string& text) {
    std::cerr << program << ": " << text << std::endl;
  };
  std::vector<int> ranges = options.ranges;
  for (const int range : ranges) {
    if (std::ranges::find(kRanges, range) == std::end(kRanges)) {
      tell("--range " + std::to_string(range) + ": the range is 100, 200 or 300 (miles).");
      return kExitRefused;
    }
  }
  std::ranges::sort(ranges);
  ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());
  if (ranges.empty()) ranges.assign(std::begin(kRanges), std::end(kRanges));
  if (options.style != "dark" && options.style != "light") {
    tell("--style " + options.style + ": the style is dark or light.");
    return kExitRefused;
  }
  const MapStyle style = options.style == "light" ? MapStyle::Light : MapStyle::Dark;

  if (!options.image.empty() && (options.ranges.size() != 1 || options.output.empty())) {
    tell("--image needs one --range and -o, the map file to write.");
    return kExitRefused;
  }

  // One map may go to the file -o names; several go into the folder it names (a missing one is
  // reported as the first map is written).
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
  const auto target = [&](int range) { return toFolder ? output / DefaultName(range) : output; };

  const auto write = [&](int range, const FrameBuffer& picture, const ColourTable& colours) {
    std::string reason;
    if (!WriteMapBitmap(target(range), picture, colours, &reason)) {
      tell(target(range).string() + ": " + reason + ".");
      return false;
    }
    if (!options.quiet) std::cout << "Map written to " << target(range).string() << std::endl;
    return true;
  };

  if (!options.image.empty()) {
    std::string reason;
    const std::optional<PictureMap> map = MakePictureMap(options.image, &reason);
    if (!map) {
      tell(options.image + ": " + reason);
      return kExitRefused;
    }
    return write(ranges.front(), map->picture, map->colours) ? kExitWritten : kExitNotWritten;
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
  for (const int range : ranges) {
    MapDataError dataError{MapDataFailure::Failed, {}};
    const std::optional<MapData> data = ReadMapData(*place, range, &dataError);
    if (!data) {
      tell(dataError.message);
      return dataError.failure == MapDataFailure::Failed ? kExitNotWritten : kExitRefused;
    }
    const FrameBuffer picture = DrawMap(*data, MapProjection(*place, range));
    if (!write(range, picture, MapStyleColours(style))) return kExitNotWritten;
  }
  return kExitWritten;
}

}  // namespace animark::cli
