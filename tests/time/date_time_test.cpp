#include "time/date_time.h"

#include <cmath>

#include <gtest/gtest.h>

namespace animark {
namespace {

struct Expected {
  int year, month, day, hour, minute, second;
};

void ExpectParts(const DateTime& value, const Expected& expected) {
  EXPECT_EQ(value.Year(), expected.year);
  EXPECT_EQ(value.Month(), expected.month);
  EXPECT_EQ(value.Day(), expected.day);
  EXPECT_EQ(value.Hour(), expected.hour);
  EXPECT_EQ(value.Minute(), expected.minute);
  EXPECT_EQ(value.Second(), expected.second);
}

constexpr Expected kNoParts{-1, -1, -1, -1, -1, -1};

TEST(DateTimeTest, CountsDaysFromTheEndOf1899) {
  EXPECT_EQ(DateTime::FromParts(1899, 12, 30, 0, 0, 0).Days(), 0.0);
  EXPECT_EQ(DateTime::FromParts(1900, 1, 1, 12, 0, 0).Days(), 2.5);
  EXPECT_EQ(DateTime::FromParts(2001, 7, 15, 0, 0, 0).Days(), 37087.0);
  EXPECT_EQ(DateTime::FromParts(1899, 12, 29, 6, 0, 0).Days(), -0.75);
  ExpectParts(DateTime::FromDays(37087.75), {2001, 7, 15, 18, 0, 0});
}

TEST(DateTimeTest, ValidatesEachPart) {
  struct Case {
    Expected parts;
    bool valid;
  };
  const Case cases[] = {
      {{2001, 4, 31, 0, 0, 0}, false}, {{2001, 4, 30, 23, 59, 59}, true},
      {{2000, 2, 29, 0, 0, 0}, true},  {{1900, 2, 29, 0, 0, 0}, false},
      {{2004, 2, 29, 0, 0, 0}, true},  {{2001, 2, 29, 0, 0, 0}, false},
      {{2001, 13, 1, 0, 0, 0}, false}, {{2001, 0, 1, 0, 0, 0}, false},
      {{2001, 1, 0, 0, 0, 0}, false},  {{2001, 1, 1, 24, 0, 0}, false},
      {{2001, 1, 1, 0, 60, 0}, false}, {{2001, 1, 1, 0, 0, 60}, false},
      {{2001, 1, 1, -1, 0, 0}, false}, {{10000, 1, 1, 0, 0, 0}, false},
      {{-1, 1, 1, 0, 0, 0}, false},    {{9999, 12, 31, 23, 59, 59}, true},
  };
  for (const Case& c : cases) {
    const Expected& p = c.parts;
    SCOPED_TRACE(testing::Message() << p.year << "-" << p.month << "-" << p.day << " " << p.hour
                                    << ":" << p.minute << ":" << p.second);
    const DateTime value = DateTime::FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
    EXPECT_EQ(value.IsValid(), c.valid);
    ExpectParts(value, c.valid ? p : kNoParts);
    EXPECT_EQ(value.Format("%Y"), c.valid ? std::to_string(p.year) : "");
  }
}

TEST(DateTimeTest, PartsReadMinusOneOutsideTheYears100To9999) {
  const DateTime early = DateTime::FromParts(99, 12, 31, 23, 59, 59);
  EXPECT_TRUE(early.IsValid());
  ExpectParts(early, kNoParts);
  EXPECT_EQ(early.Format("%H"), "");
  EXPECT_FALSE(early.AddSeconds(0).IsValid());
  ExpectParts(early.AddSeconds(1), {100, 1, 1, 0, 0, 0});
}

TEST(DateTimeTest, PartsAreThoseOfTheValueRoundedToTheSecond) {
  const double midnight = DateTime::FromParts(2001, 1, 1, 0, 0, 0).Days();
  ExpectParts(DateTime::FromDays(midnight - 0.25 / 86400), {2001, 1, 1, 0, 0, 0});
  ExpectParts(DateTime::FromDays(midnight - 0.75 / 86400), {2000, 12, 31, 23, 59, 59});
  ExpectParts(DateTime::FromDays(midnight + 0.49 / 86400), {2001, 1, 1, 0, 0, 0});
  ExpectParts(DateTime::FromDays(midnight + 0.51 / 86400), {2001, 1, 1, 0, 0, 1});
}

TEST(DateTimeTest, FromDaysRejectsWhatNoDateCanHold) {
  EXPECT_FALSE(DateTime::FromDays(NAN).IsValid());
  EXPECT_FALSE(DateTime::FromDays(INFINITY).IsValid());
  EXPECT_FALSE(DateTime::FromDays(1e300).IsValid());
  EXPECT_FALSE(DateTime::FromDays(-1e300).IsValid());
}

TEST(DateTimeTest, DifferenceIsInDays) {
  const DateTime newYear = DateTime::FromParts(2001, 1, 1, 0, 0, 0);
  const DateTime lastHour = DateTime::FromParts(2000, 12, 31, 23, 0, 0);
  EXPECT_NEAR(newYear.DaysSince(lastHour), 1.0 / 24, 1e-9);
  EXPECT_NEAR(lastHour.DaysSince(newYear), -1.0 / 24, 1e-9);
  EXPECT_TRUE(std::isnan(newYear.DaysSince(DateTime())));
  EXPECT_TRUE(std::isnan(DateTime().DaysSince(newYear)));
}

TEST(DateTimeTest, AddsSecondsAcrossDaysAndYears) {
  struct Case {
    Expected start;
    std::int64_t seconds;
    Expected sum;
  };
  const Case cases[] = {
      {{2001, 3, 8, 23, 59, 0}, 90, {2001, 3, 9, 0, 0, 30}},
      {{2001, 1, 1, 0, 10, 0}, -1800, {2000, 12, 31, 23, 40, 0}},
      {{2000, 2, 28, 12, 0, 0}, 86400, {2000, 2, 29, 12, 0, 0}},
      {{2001, 7, 15, 12, 0, 0}, -3000 * 60, {2001, 7, 13, 10, 0, 0}},
      {{2001, 7, 15, 12, 0, 0}, 0, {2001, 7, 15, 12, 0, 0}},
  };
  for (const Case& c : cases) {
    const Expected& s = c.start;
    SCOPED_TRACE(c.seconds);
    const DateTime start = DateTime::FromParts(s.year, s.month, s.day, s.hour, s.minute, s.second);
    ExpectParts(start.AddSeconds(c.seconds), c.sum);
  }
  // Many small steps must not drift away from the second.
  DateTime walked = DateTime::FromParts(2001, 7, 15, 0, 0, 0);
  for (int step = 0; step < 1440; ++step) walked = walked.AddSeconds(60);
  ExpectParts(walked, {2001, 7, 16, 0, 0, 0});
}

TEST(DateTimeTest, SumsLeavingTheYears100To9999AreInvalid) {
  EXPECT_FALSE(DateTime::FromParts(9999, 12, 31, 23, 59, 59).AddSeconds(1).IsValid());
  EXPECT_FALSE(DateTime::FromParts(100, 1, 1, 0, 0, 0).AddSeconds(-1).IsValid());
  // Every invalid value is the same value, however it came about.
  EXPECT_EQ(DateTime::FromParts(9999, 12, 31, 23, 59, 59).AddSeconds(10), DateTime());
  EXPECT_EQ(DateTime::FromParts(100, 1, 1, 0, 0, 0).AddSeconds(-1),
            DateTime::FromParts(2026, 4, 31, 0, 0, 0));
  EXPECT_FALSE(DateTime().AddSeconds(1).IsValid());
  EXPECT_TRUE(DateTime::FromParts(9999, 12, 31, 23, 59, 58).AddSeconds(1).IsValid());
}

TEST(DateTimeTest, SetTimeKeepsTheDate) {
  DateTime value = DateTime::FromParts(2001, 3, 8, 17, 30, 12);
  EXPECT_TRUE(value.SetTime(0, 0, 0));
  ExpectParts(value, {2001, 3, 8, 0, 0, 0});
  EXPECT_TRUE(value.SetTime(23, 59, 59));
  ExpectParts(value, {2001, 3, 8, 23, 59, 59});

  EXPECT_FALSE(value.SetTime(24, 0, 0));
  EXPECT_EQ(value, DateTime());          // invalid values compare equal, whatever they held before
  EXPECT_FALSE(value.SetTime(1, 0, 0));  // stays invalid
  ExpectParts(value, kNoParts);
}

TEST(DateTimeTest, FormatsLikeTheCLibrary) {
  const DateTime value = DateTime::FromParts(2001, 3, 8, 7, 5, 9);
  EXPECT_EQ(value.Format("%H:%M:%S"), "07:05:09");
  EXPECT_EQ(value.Format("%d.%m.%Y %y"), "08.03.2001 01");
  EXPECT_EQ(value.Format("100%% %q at %"), "100% %q at %");
  EXPECT_EQ(DateTime::FromParts(2000, 12, 31, 0, 0, 0).Format("%y"), "00");
  EXPECT_EQ(DateTime().Format("%H:%M:%S"), "");
  EXPECT_EQ(value.DayMonthYear(), "8-3-2001");
  EXPECT_EQ(DateTime::FromParts(2001, 12, 31, 0, 0, 0).DayMonthYear(), "31-12-2001");
  EXPECT_EQ(DateTime().DayMonthYear(), "");
}

TEST(DateTimeTest, TakesTheClockReading) {
  ExpectParts(DateTime::FromLocalTime({2001, 7, 15, 13, 14, 15}), {2001, 7, 15, 13, 14, 15});
  EXPECT_FALSE(DateTime::FromLocalTime({2001, 2, 30, 0, 0, 0}).IsValid());
}

}  // namespace
}  // namespace animark
