#include "settings/export_settings.h"

#include <gtest/gtest.h>

namespace animark {
namespace {

TEST(ExportSettingsTest, DefaultsHoldTheTableValuesAndNowAsThePeriod) {
  const DateTime now = DateTime::FromParts(2001, 7, 15, 13, 14, 15);
  const ExportSettings settings = DefaultExportSettings(now);
  EXPECT_EQ(settings.comments, "");
  EXPECT_EQ(settings.dataDirectory, "");
  EXPECT_EQ(settings.exportFile, "");
  EXPECT_EQ(settings.iterations, 0);
  for (int range = 0; range < kRangeCount; ++range) {
    EXPECT_EQ(settings.mapFiles[range], "");
    EXPECT_EQ(settings.ringCounts[range], 0);
  }
  EXPECT_EQ(settings.persistenceMinutes, 60);
  EXPECT_EQ(settings.rateMinutesPerSecond, 60);
  EXPECT_EQ(settings.zoomRange, 0);
  EXPECT_EQ(settings.periodStart, now);
  EXPECT_EQ(settings.periodEnd, now);
  EXPECT_EQ(settings.pauseBetweenFrames, 100);
  EXPECT_EQ(settings.pauseAfterLastFrame, 150);
  EXPECT_EQ(settings.crosshairs, 0);
  EXPECT_EQ(settings.labelRings, 0);
  EXPECT_EQ(settings.units, 0);
}

}  // namespace
}  // namespace animark
