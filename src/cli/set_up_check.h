#pragma once
// What the command line finds in a set-up before it exports. A refusal is a set-up that would
// export a picture nobody wants (a map that cannot be used, a data folder that is not there): a
// scheduled job must not replace a good animation with such a file, so the command line refuses it
// where the dialog, whose user sees the message, goes on. Warnings are set-ups that export all the
// same but are likely not what the user meant.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/export_options.h"
#include "maps/background_map.h"
#include "settings/export_settings.h"

namespace animark::cli {

struct SetUpFindings {
  std::optional<OptionRefusal> refusal;
  std::vector<std::string> warnings;
  // The map of the export's range, loaded for the export to start from; null without one.
  std::unique_ptr<LoadedMap> map;
};

// Checks the output device, the map of the chosen range (loading it), the data folder, the day
// files of the period and the delays of `settings`; `options` tells which RANGE= options were
// given. Stops at the first refusal.
SetUpFindings CheckSetUp(const ExportOptions& options, const ExportSettings& settings);

}  // namespace animark::cli
