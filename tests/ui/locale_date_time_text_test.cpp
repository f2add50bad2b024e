// Period ends in the user's locale: what is filled comes back to the second, in every locale.

#include <gtest/gtest.h>

#include <QLocale>

#include "ui/locale_date_time_text.h"

namespace animark::ui {
namespace {

const char* const kLocales[] = {"en_US", "en_GB", "de_DE", "fr_FR", "C",
                                "ja_JP", "fi_FI", "ko_KR", "ar_EG"};

class LocaleDateTimeTextTest : public ::testing::TestWithParam<const char*> {
 protected:
  LocaleDateTimeText dates{QLocale(GetParam())};
};

TEST_P(LocaleDateTimeTextTest, AFilledValueComesBackToTheSecond) {
  const DateTime values[] = {
      DateTime::FromParts(2026, 7, 14, 21, 5, 9),    DateTime::FromParts(2026, 1, 2, 3, 4, 5),
      DateTime::FromParts(1926, 7, 14, 12, 0, 0),     // a two-digit year would lose the century
      DateTime::FromParts(2026, 7, 14, 0, 0, 0),      // the date alone
      DateTime::FromParts(1899, 12, 30, 13, 14, 15),  // the time alone
      DateTime::FromParts(1899, 12, 30, 0, 0, 0),    DateTime::FromParts(100, 1, 1, 23, 59, 59),
      DateTime::FromParts(9999, 12, 31, 12, 30, 1),  DateTime::FromParts(2024, 2, 29, 12, 0, 59),
  };
  for (const DateTime& value : values) {
    const std::string text = dates.Format(value);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(dates.Parse(text), value) << text;
  }
}

TEST_P(LocaleDateTimeTextTest, TextThatIsNoDateOrTimeIsRefused) {
  for (const char* text : {"", "soon", "31/31/31 31:31", "12:61"}) {
    EXPECT_FALSE(dates.Parse(text).IsValid()) << text;
  }
  EXPECT_EQ(dates.Format(DateTime()), "");
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleDateTimeTextTest, ::testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param); });

TEST(LocaleDateTimeText, WritesTheShortDateWithTheYearInFullAndTheTimeWithSeconds) {
  const DateTime evening = DateTime::FromParts(2026, 7, 14, 21, 5, 9);
  EXPECT_EQ(LocaleDateTimeText(QLocale("en_US")).Format(evening), "7/14/2026 9:05:09 PM");
  EXPECT_EQ(LocaleDateTimeText(QLocale("de_DE")).Format(evening), "14.07.2026 21:05:09");
  const LocaleDateTimeText british{QLocale("en_GB")};
  EXPECT_EQ(british.Format(DateTime::FromParts(2026, 7, 14, 0, 0, 0)), "14/07/2026");
  EXPECT_EQ(british.Format(DateTime::FromParts(1899, 12, 30, 6, 7, 8)), "06:07:08");
}

TEST(LocaleDateTimeText, ReadsADateAloneATimeAloneAndATimeWithoutSeconds) {
  const LocaleDateTimeText german{QLocale("de_DE")};
  EXPECT_EQ(german.Parse(" 15.07.2026 "), DateTime::FromParts(2026, 7, 15, 0, 0, 0));
  EXPECT_EQ(german.Parse("02:30:10"), DateTime::FromParts(1899, 12, 30, 2, 30, 10));
  EXPECT_EQ(german.Parse("15.07.2026 02:30"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
  EXPECT_FALSE(german.Parse("31.04.2026").IsValid());
  const LocaleDateTimeText american{QLocale("en_US")};
  EXPECT_EQ(american.Parse("7/15/2026 2:30 AM"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
}

}  // namespace
}  // namespace animark::ui
