// Period ends in the system's locales: the locale's own pictures and names give the expected
// text, and what is filled comes back to the second.

#include "win/locale_date_time_text.h"

#include <gtest/gtest.h>

namespace animark::win {
namespace {

const DateTime kEvening = DateTime::FromParts(2026, 7, 14, 21, 5, 9);

TEST(LocaleDateTimeText, WritesTheLocalesShortDateAndTimeWithSeconds) {
  EXPECT_EQ(LocaleDateTimeText(L"en-US").Format(kEvening), "7/14/2026 9:05:09 PM");
  EXPECT_EQ(LocaleDateTimeText(L"de-DE").Format(kEvening), "14.07.2026 21:05:09");
  EXPECT_EQ(LocaleDateTimeText(L"ko-KR").Format(kEvening), "2026-07-14 오후 9:05:09");
  EXPECT_EQ(LocaleDateTimeText(L"de-DE").Format(DateTime()), "");
}

TEST(LocaleDateTimeText, AFilledValueComesBackToTheSecondInEachLocale) {
  const DateTime values[] = {
      kEvening,
      DateTime::FromParts(2026, 1, 2, 3, 4, 5),
      DateTime::FromParts(1926, 7, 14, 12, 0, 0),
      DateTime::FromParts(2026, 7, 14, 0, 0, 0),
      DateTime::FromParts(1899, 12, 30, 13, 14, 15),
      DateTime::FromParts(1899, 12, 30, 0, 0, 0),
      DateTime::FromParts(100, 1, 1, 23, 59, 59),  // before the years the system formats
      DateTime::FromParts(9999, 12, 31, 12, 30, 1),
  };
  for (const wchar_t* locale : {L"en-US", L"de-DE", L"ko-KR", L"ja-JP", L"fi-FI", L"ar-SA", L""}) {
    const LocaleDateTimeText dates{locale};
    for (const DateTime& value : values) {
      const std::string text = dates.Format(value);
      ASSERT_FALSE(text.empty());
      EXPECT_EQ(dates.Parse(text), value) << text;
    }
  }
}

TEST(LocaleDateTimeText, ReadsADateAloneATimeAloneAndATimeWithoutSeconds) {
  const LocaleDateTimeText american{L"en-US"};
  EXPECT_EQ(american.Parse(" 7/15/2026 "), DateTime::FromParts(2026, 7, 15, 0, 0, 0));
  EXPECT_EQ(american.Parse("2:30:10 PM"), DateTime::FromParts(1899, 12, 30, 14, 30, 10));
  EXPECT_EQ(american.Parse("7/15/2026 2:30 AM"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
  const LocaleDateTimeText german{L"de-DE"};
  EXPECT_EQ(german.Parse("15.07.2026 02:30"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
  EXPECT_FALSE(german.Parse("31.04.2026").IsValid());
  const LocaleDateTimeText korean{L"ko-KR"};
  EXPECT_EQ(korean.Parse("오전 2:30"), DateTime::FromParts(1899, 12, 30, 2, 30, 0));
}

TEST(LocaleDateTimeText, AnUnknownLocaleStillReadsBackWhatItWrites) {
  const LocaleDateTimeText unknown{L"xx-no-such-locale"};
  const std::string text = unknown.Format(kEvening);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(unknown.Parse(text), kEvening) << text;
}

}  // namespace
}  // namespace animark::win
