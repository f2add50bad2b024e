#pragma once
// The program's own words for what the core hands back as values: the map refusals, the period
// refusals, the outcomes of Create GIF and of Make maps. The dialogs show them as they are; the
// command line adds the option, the path and the system's reason.

#include <optional>
#include <string>

#include "export/create_gif.h"
#include "maps/background_map.h"
#include "maps/station_maps.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

// A message ready to show.
struct UserText {
  std::string text;
  MessageIcon icon;
};

// The message for the map of `range` (a RangeIndex) refused as `kind`, shown with the stop icon.
// It names the range in both units, whichever the dialog shows.
std::string MapRefusalText(RangeIndex range, MapRefusalKind kind);

// The message for a period that cannot be exported, shown with the exclamation icon.
std::string PeriodRefusalText(const PeriodRefusal& refusal);

// What a dialog tells after Create GIF, or nothing when the outcome needs no word (written,
// declined, cancelled).
std::optional<UserText> CreateGifText(const CreateGifResult& result);

// Make maps' refusals of the detector's place and of the folder, shown with the exclamation icon.
inline constexpr char kLatitudeRefusalText[] =
    "Please enter the detector's latitude in degrees, between -90 and 90 (negative south of the "
    "equator).";
inline constexpr char kLongitudeRefusalText[] =
    "Please enter the detector's longitude in degrees, between -180 and 180 (negative west of "
    "Greenwich).";
inline constexpr char kMapFolderRefusalText[] = "Please choose the folder for the maps.";

// What a dialog tells after Make maps, or nothing when the maps were written or cancelled.
std::optional<UserText> StationMapsText(const StationMapsResult& result);

}  // namespace animark
