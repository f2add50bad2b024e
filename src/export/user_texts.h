#pragma once
// The system's own words for what the core hands back as values: the range captions of the map
// messages, the map refusals, the period refusals and the outcomes of Create GIF. The dialogs show
// them as they are; the command line adds the option, the path and the system's reason.

#include <optional>
#include <string>

#include "export/create_gif.h"
#include "maps/background_map.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

// A message ready to show.
struct UserText {
  std::string text;
  MessageIcon icon;
};

// "100 mi/160 km", "200 mi/320 km" or "300 mi/480 km": both units, whichever the dialog shows.
// `range` must be a RangeIndex.
std::string RangeCaption(RangeIndex range);

// The message for the map of `range` refused as `kind`, shown with the stop icon.
std::string MapRefusalText(RangeIndex range, MapRefusalKind kind);

// The message for a period that cannot be exported, shown with the exclamation icon.
std::string PeriodRefusalText(const PeriodRefusal& refusal);

// What a dialog tells after Create GIF, or nothing when the outcome needs no word (written,
// declined, cancelled).
std::optional<UserText> CreateGifText(const CreateGifResult& result);

}  // namespace animark
