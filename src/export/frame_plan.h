#pragma once
// How many frames a period yields, which moment each frame shows and how long the animation
// plays, from the period, the rate and the two delays.

#include <cstdint>

#include "settings/export_settings.h"
#include "time/date_time.h"

namespace animark {

struct FramePlan {
  std::int64_t periodMinutes = 0;    // M: whole minutes from start to end, negative when reversed
  std::int32_t frameCount = 0;       // N: below 1 when the end lies far enough before the start
  std::int64_t wholeFrameCount = 0;  // N before it is held to 32 bits
  double lengthSeconds = 0.0;        // playing time, (N - 1) delays plus the last frame's delay
};

// Needs valid period ends (an invalid one plans as an empty period: one frame).
FramePlan PlanFrames(const ExportSettings& settings);

// The moment frame `index` (1-based) shows: the start plus (index - 1) frame steps of
// rate x delay / 100 minutes, counted in whole seconds so that frames never lag behind the
// period, nor stand still when rate x delay is below 100.
DateTime FrameMoment(const ExportSettings& settings, std::int32_t index);

}  // namespace animark
