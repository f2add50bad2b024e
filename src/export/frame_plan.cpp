#include "export/frame_plan.h"

#include <cmath>
#include <limits>

namespace animark {

namespace {

// Added to the period's length in minutes: about a third of a millisecond (the number is half a
// second in days, kept so that no frame count changes). It absorbs the rounding of the day-count
// difference so that whole minutes are not cut to the minute below; periods of whole seconds lie
// far further than that from the next whole minute.
constexpr double kMinuteRounding = 5.787037037037037e-6;

std::int64_t TruncateToInt64(double value) {
  constexpr double kLimit = 9.2e18;
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

std::int32_t SaturateToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

FramePlan PlanFrames(const ExportSettings& settings) {
  FramePlan plan;
  const double days = settings.periodEnd.DaysSince(settings.periodStart);
  plan.periodMinutes = TruncateToInt64(days * 1440 + kMinuteRounding);

  const double playSeconds =
      static_cast<double>(plan.periodMinutes) / settings.rateMinutesPerSecond;
  const double delaySeconds = settings.pauseBetweenFrames * 0.01;
  const std::int64_t steps = TruncateToInt64(playSeconds / delaySeconds);
  plan.wholeFrameCount = steps < std::numeric_limits<std::int64_t>::max() ? steps + 1 : steps;
  plan.frameCount = SaturateToInt32(plan.wholeFrameCount);
  plan.lengthSeconds = (plan.frameCount - 1) * delaySeconds + settings.pauseAfterLastFrame * 0.01;
  return plan;
}

DateTime FrameMoment(const ExportSettings& settings, std::int32_t index) {
  const std::int64_t stepHundredths = std::int64_t{settings.rateMinutesPerSecond} *
                                      settings.pauseBetweenFrames * 60;  // seconds x 100
  return settings.periodStart.AddSeconds((index - 1) * stepHundredths / 100);
}

}  // namespace animark
