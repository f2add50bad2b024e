#pragma once
// Day files and settings for the export tests.

#include <filesystem>
#include <vector>

#include "settings/export_settings.h"
#include "strikes/strike_record.h"

namespace animark::testing {

struct TimedStrike {
  int hour, minute, second;
  std::int16_t offsetX, offsetY;
};

// Writes a day file in the detector's layout: a 1024-byte header, then blocks of 170 records
// and a 4-byte tail.
void WriteDayFile(const std::filesystem::path& path, const std::vector<TimedStrike>& strikes);

// Defaults with the period from `start` to `end` (same day, 15 July 2001), the given rate and
// delay between frames, and no strike data.
ExportSettings SettingsFor(DateTime start, DateTime end, int rate, int delay);

}  // namespace animark::testing
