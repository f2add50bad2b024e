#pragma once
// Comparing settings records in the tests of the settings store, on every system.

#include <gtest/gtest.h>

#include <ostream>

#include "settings/export_settings.h"
#include "time/date_time.h"

namespace animark {

inline void PrintTo(const DateTime& value, std::ostream* out) {
  *out << (value.IsValid() ? value.Format("%Y-%m-%d %H:%M:%S") : "invalid");
}

namespace testing {

// Invalid values carry no moment to compare.
inline void ExpectSameMoment(const DateTime& actual, const DateTime& expected) {
  if (expected.IsValid()) {
    EXPECT_EQ(actual, expected);
  } else {
    EXPECT_FALSE(actual.IsValid()) << ::testing::PrintToString(actual);
  }
}

inline void ExpectSameSettings(const ExportSettings& actual, const ExportSettings& expected) {
  EXPECT_EQ(actual.exportFile, expected.exportFile);
  EXPECT_EQ(actual.comments, expected.comments);
  EXPECT_EQ(actual.dataDirectory, expected.dataDirectory);
  EXPECT_EQ(actual.mapFiles, expected.mapFiles);
  EXPECT_EQ(actual.iterations, expected.iterations);
  EXPECT_EQ(actual.persistenceMinutes, expected.persistenceMinutes);
  EXPECT_EQ(actual.rateMinutesPerSecond, expected.rateMinutesPerSecond);
  EXPECT_EQ(actual.zoomRange, expected.zoomRange);
  ExpectSameMoment(actual.periodStart, expected.periodStart);
  ExpectSameMoment(actual.periodEnd, expected.periodEnd);
  EXPECT_EQ(actual.pauseBetweenFrames, expected.pauseBetweenFrames);
  EXPECT_EQ(actual.pauseAfterLastFrame, expected.pauseAfterLastFrame);
  EXPECT_EQ(actual.ringCounts, expected.ringCounts);
  EXPECT_EQ(actual.crosshairs, expected.crosshairs);
  EXPECT_EQ(actual.labelRings, expected.labelRings);
  EXPECT_EQ(actual.units, expected.units);
  EXPECT_EQ(actual.optimizeForWeb, expected.optimizeForWeb);
  EXPECT_EQ(actual.ageColours, expected.ageColours);
}

}  // namespace testing
}  // namespace animark
