#pragma once
// A synthetic but plausible storm night around the detector: a handful of cells that form in the
// west in the late afternoon, drift east and die out in the small hours, with a squall line that
// crosses the detector around midnight. Most strikes lie 100 to 250 miles out, some within 100.

#include <array>
#include <cstdint>
#include <vector>

#include "day_file.h"

namespace animark::samplegen {

// The storm spans two calendar days: index 0 is the day it starts, index 1 the day after.
inline constexpr int kStormDayCount = 2;
using StormDays = std::array<std::vector<DayRecord>, kStormDayCount>;

// Each day's strikes in time order, none of them all zero. The same seed gives the same strikes.
StormDays GenerateStorm(std::uint32_t seed);

}  // namespace animark::samplegen
