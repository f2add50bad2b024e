#pragma once
// Settings for the export tests.

#include "settings/export_settings.h"

namespace animark::testing {

// Defaults with the period from `start` to `end` (same day, 15 July 2001), the given rate and
// delay between frames, and no strike data.
ExportSettings SettingsFor(DateTime start, DateTime end, int rate, int delay);

}  // namespace animark::testing
