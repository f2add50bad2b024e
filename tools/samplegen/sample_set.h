#pragma once
// The demonstration data set: three background maps (map100.bmp, map200.bmp, map300.bmp) and
// the day files of one synthetic storm night, from 17:00 on 14 July 2026 to 04:45 on 15 July
// (071426.dat, 071526.dat). Everything follows from the seeds, so the set can be
// written anywhere and comes out byte for byte the same.

#include <cstdint>
#include <filesystem>
#include <string>

#include "day_file.h"

namespace animark::samplegen {

inline constexpr CalendarDate kSampleFirstDay = {2026, 7, 14};
inline constexpr std::uint32_t kSampleStormSeed = 20260714;
inline constexpr std::uint32_t kSampleWorldSeed = 1;

// Writes the three maps of the landscape `worldSeed` into `dir`. On failure returns false with
// the reason in *error.
bool WriteMaps(const std::filesystem::path& dir, std::uint32_t worldSeed, std::string* error);

// Writes the day files of the storm `stormSeed`, the first named after `firstDay`, into `dir`.
// On failure returns false with the reason in *error.
bool WriteStormDayFiles(const std::filesystem::path& dir, CalendarDate firstDay,
                        std::uint32_t stormSeed, std::string* error);

// The whole sample set into `dir`, which is created when missing. On failure returns false with
// the reason in *error; files written before the failure are left in place.
bool WriteSampleSet(const std::filesystem::path& dir, std::string* error);

}  // namespace animark::samplegen
