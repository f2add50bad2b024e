#include "maps/station_maps.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "maps/map_data.h"
#include "platform/file_replacement.h"

namespace animark {

std::string StationMapName(int rangeMiles) {
  return "map" + std::to_string(rangeMiles) + ".bmp";
}

std::optional<double> ParseDegrees(std::string_view text, double limit) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::string digits(text);
  if (digits.find('.') == std::string::npos) {
    if (const std::size_t comma = digits.find(','); comma != std::string::npos) digits[comma] = '.';
  }
  // strtod, not from_chars: MinGW's floating from_chars drags in a second mbrtowc. The programs
  // keep the "C" locale, so the decimal mark strtod reads is a point.
  char* end = nullptr;
  const double value = std::strtod(digits.c_str(), &end);
  if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(value) ||
      std::abs(value) > limit) {
    return std::nullopt;
  }
  return value;
}

StationMapsResult MakeStationMaps(GeoPoint detector, std::span<const StationMap> maps,
                                  MapStyle style, MapProgress& progress) {
  using std::filesystem::perms;
  // Only a temporary file is made, and removed at once: the old maps stay until all are drawn.
  for (const StationMap& map : maps) {
    const FileReplacement trial = FileReplacement::Begin(map.path, perms::owner_read);
    if (!trial.IsOpen()) {
      return {StationMapsOutcome::Unwritable, map.path,
              trial.Error() ? trial.Error().message() : "the file could not be created"};
    }
  }
  std::vector<FrameBuffer> pictures;
  pictures.reserve(maps.size());
  for (const StationMap& map : maps) {
    if (progress.CancelRequested()) return {StationMapsOutcome::Cancelled, {}, {}};
    progress.Drawing(map.rangeMiles, static_cast<int>(pictures.size()),
                     static_cast<int>(maps.size()));
    MapDataError error{MapDataFailure::Failed, {}};
    const std::optional<MapData> data = ReadMapData(detector, map.rangeMiles, &error);
    if (!data) {
      return {error.failure == MapDataFailure::Failed ? StationMapsOutcome::DataFailed
                                                      : StationMapsOutcome::NoData,
              {},
              error.message};
    }
    pictures.push_back(DrawMap(*data, MapProjection(detector, map.rangeMiles)));
  }
  if (progress.CancelRequested()) return {StationMapsOutcome::Cancelled, {}, {}};
  const ColourTable colours = MapStyleColours(style);
  for (std::size_t index = 0; index < maps.size(); ++index) {
    std::string reason;
    if (!WriteMapBitmap(maps[index].path, pictures[index], colours, &reason)) {
      return {StationMapsOutcome::NotWritten, maps[index].path, reason};
    }
  }
  return {};
}

}  // namespace animark
