#include "export/frame_plan.h"

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace animark {
namespace {

const DateTime kNoon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);

struct PlanCase {
  int minutesAfterStart;  // where the end stands
  int periodMinutes;      // M: whole minutes, truncated toward zero
  int rate, delay;
  int frames;
  int lastFrameSecondsAfterStart;  // where the last frame stands
  double lengthSeconds;            // with the default last delay of 150
};

class FramePlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(FramePlanTest, CountsFramesAndPlacesThemAcrossThePeriod) {
  const PlanCase& c = GetParam();
  const ExportSettings settings =
      testing::SettingsFor(kNoon, kNoon.AddSeconds(c.minutesAfterStart * 60), c.rate, c.delay);
  const FramePlan plan = PlanFrames(settings);
  EXPECT_EQ(plan.periodMinutes, c.periodMinutes);
  EXPECT_EQ(plan.frameCount, c.frames);
  EXPECT_DOUBLE_EQ(plan.lengthSeconds, c.lengthSeconds);
  EXPECT_EQ(FrameMoment(settings, 1), kNoon);
  if (c.frames >= 1) {
    EXPECT_EQ(FrameMoment(settings, c.frames), kNoon.AddSeconds(c.lastFrameSecondsAfterStart));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Periods, FramePlanTest,
    ::testing::Values(
        // One frame a minute from the start to the end.
        PlanCase{60, 60, 1, 100, 61, 3600, 61.5},
        // 2.5 minutes a frame: the last frame reaches the end instead of lagging at +48 min.
        PlanCase{60, 60, 5, 50, 25, 3600, 13.5},
        // Rate x delay below 100: 30 seconds a frame instead of 121 frames of the start.
        PlanCase{60, 60, 1, 50, 121, 3600, 61.5}, PlanCase{60, 60, 7, 100, 9, 8 * 7 * 60, 9.5},
        // End equal to start: one frame, shown for the last delay only.
        PlanCase{0, 0, 60, 100, 1, 0, 1.5},
        // Half an hour back at 60 min/s stays above -1 interval: still one frame.
        PlanCase{-30, -29, 60, 100, 1, 0, 1.5},
        // Two hours back at 1 min/s: no frame at all.
        PlanCase{-120, -119, 1, 100, -118, 0, -117.5}));

TEST(FramePlan, StepsInWholeSecondsWithoutDrift) {
  // 7 min/s at 0.33 s a frame: 138.6 s a frame, truncated per frame, not per step.
  const ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(3600), 7, 33);
  EXPECT_EQ(FrameMoment(settings, 2), kNoon.AddSeconds(138));
  EXPECT_EQ(FrameMoment(settings, 11), kNoon.AddSeconds(1386));
}

TEST(FramePlan, LengthOfPeriodSurvivesDayCountRounding) {
  // Whole minutes far from the epoch must not be cut to the minute below.
  const DateTime start = DateTime::FromParts(9998, 12, 31, 23, 0, 0);
  const ExportSettings settings = testing::SettingsFor(start, start.AddSeconds(59 * 60), 60, 100);
  EXPECT_EQ(PlanFrames(settings).periodMinutes, 59);
}

}  // namespace
}  // namespace animark
