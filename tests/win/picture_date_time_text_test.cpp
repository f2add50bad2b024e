// Period ends by a locale's pictures and names: what is filled comes back to the second in every
// locale, and a date alone, a time alone or a short time are read as well.

#include "win/picture_date_time_text.h"

#include <gtest/gtest.h>

#include "win/locale_names.h"

namespace animark::win {
namespace {

struct NamedLocale {
  const char* name;
  LocalePictures pictures;
};

// GoogleTest names a parameter by this; it would otherwise print the record's bytes, padding
// included.
void PrintTo(const NamedLocale& locale, std::ostream* out) {
  *out << locale.name;
}

LocaleNames Silent(LocaleNames names) {
  names.am.clear();
  names.pm.clear();
  return names;
}

const NamedLocale kLocales[] = {
    {"enUS", {"M/d/yyyy", "h:mm:ss tt", "h:mm tt", EnglishNames()}},
    {"deDE", {"dd.MM.yyyy", "HH:mm:ss", "HH:mm", GermanNames()}},
    {"enGB", {"dd/MM/yyyy", "HH:mm:ss", "HH:mm", EnglishNames()}},
    {"jaJP", {"yyyy/MM/dd", "H:mm:ss", "H:mm", EnglishNames()}},
    {"koKR", {"yyyy-MM-dd", "tt h:mm:ss", "tt h:mm", KoreanNames()}},
    // Date and time share their separator: "21.05.09" is a time, not a day in the year 9.
    {"fiFI", {"d.M.yyyy", "H.mm.ss", "H.mm", EnglishNames()}},
    // A short date with blanks, names and a two-digit year; a 12-hour clock without designators,
    // its time without seconds and its short time without minutes.
    {"names", {"ddd d MMM yy", "hh:mm tt", "h tt", Silent(SpanishNames())}},
    {"empty", {"", "", "", EnglishNames()}},
};

class PictureDateTimeTextTest : public ::testing::TestWithParam<NamedLocale> {
 protected:
  PictureDateTimeText dates{GetParam().pictures};
};

TEST_P(PictureDateTimeTextTest, AFilledValueComesBackToTheSecond) {
  const DateTime values[] = {
      DateTime::FromParts(2026, 7, 14, 21, 5, 9),    DateTime::FromParts(2026, 1, 2, 3, 4, 5),
      DateTime::FromParts(1926, 7, 14, 12, 0, 0),     // a two-digit year would lose the century
      DateTime::FromParts(2026, 7, 14, 0, 0, 0),      // the date alone
      DateTime::FromParts(1899, 12, 30, 13, 14, 15),  // the time alone
      DateTime::FromParts(1899, 12, 30, 21, 5, 9),   DateTime::FromParts(1899, 12, 30, 0, 0, 0),
      DateTime::FromParts(100, 1, 1, 23, 59, 59),    DateTime::FromParts(1600, 12, 31, 0, 0, 1),
      DateTime::FromParts(9999, 12, 31, 12, 30, 1),  DateTime::FromParts(2024, 2, 29, 12, 0, 59),
      DateTime::FromParts(2026, 7, 14, 0, 0, 1),     DateTime::FromParts(2026, 7, 14, 12, 0, 0),
  };
  for (const DateTime& value : values) {
    const std::string text = dates.Format(value);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(dates.Parse(text), value) << text;
    EXPECT_EQ(dates.Parse("  " + text + " "), value) << text;
  }
}

TEST_P(PictureDateTimeTextTest, TextThatIsNoDateOrTimeIsRefused) {
  for (const char* text : {"", "   ", "soon", "31/31/31 31:31", "12:61", "2026-07-14T21:05:09"}) {
    EXPECT_FALSE(dates.Parse(text).IsValid()) << text;
  }
  EXPECT_EQ(dates.Format(DateTime()), "");
  EXPECT_EQ(dates.Format(DateTime::FromParts(99, 12, 31, 0, 0, 0)), "");
}

INSTANTIATE_TEST_SUITE_P(Locales, PictureDateTimeTextTest, ::testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

const LocalePictures& Pictures(std::string_view name) {
  for (const NamedLocale& locale : kLocales) {
    if (locale.name == name) return locale.pictures;
  }
  throw std::logic_error("no such locale");
}

TEST(PictureDateTimeText, WritesTheShortDateWithTheYearInFullAndTheTimeWithSeconds) {
  const DateTime evening = DateTime::FromParts(2026, 7, 14, 21, 5, 9);
  const DateTime dateAlone = DateTime::FromParts(2026, 7, 14, 0, 0, 0);
  const DateTime timeAlone = DateTime::FromParts(1899, 12, 30, 6, 7, 8);
  const struct {
    const char* locale;
    DateTime value;
    const char* text;
  } cases[] = {
      {"enUS", evening, "7/14/2026 9:05:09 PM"},
      {"enUS", timeAlone, "6:07:08 AM"},
      {"enUS", DateTime::FromParts(1899, 12, 30, 0, 0, 0), "12:00:00 AM"},
      {"deDE", evening, "14.07.2026 21:05:09"},
      {"enGB", dateAlone, "14/07/2026"},
      {"enGB", timeAlone, "06:07:08"},
      {"koKR", evening, "2026-07-14 오후 9:05:09"},
      {"names", evening, "mar 14 jul 2026 21:05:09"},
      {"empty", evening, "2026-07-14 21:05:09"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PictureDateTimeText(Pictures(c.locale)).Format(c.value), c.text) << c.locale;
  }
}

TEST(PictureDateTimeText, ReadsADateAloneATimeAloneAndATimeWithoutSeconds) {
  const struct {
    const char* locale;
    const char* text;
    DateTime value;
  } cases[] = {
      {"deDE", " 15.07.2026 ", DateTime::FromParts(2026, 7, 15, 0, 0, 0)},
      {"deDE", "02:30:10", DateTime::FromParts(1899, 12, 30, 2, 30, 10)},
      {"deDE", "2:30", DateTime::FromParts(1899, 12, 30, 2, 30, 0)},
      {"deDE", "15.07.2026   02:30", DateTime::FromParts(2026, 7, 15, 2, 30, 0)},
      {"deDE", "1.7.2026 2:30:01", DateTime::FromParts(2026, 7, 1, 2, 30, 1)},
      {"enUS", "7/15/2026 2:30 PM", DateTime::FromParts(2026, 7, 15, 14, 30, 0)},
      {"enUS", "7/15/2026 12:00 am", DateTime::FromParts(2026, 7, 15, 0, 0, 0)},
      {"koKR", "2026-07-15 오전 2:30", DateTime::FromParts(2026, 7, 15, 2, 30, 0)},
      {"koKR", "오후 2:30", DateTime::FromParts(1899, 12, 30, 14, 30, 0)},
      {"fiFI", "21.05.09", DateTime::FromParts(1899, 12, 30, 21, 5, 9)},
      {"fiFI", "1.5.2026 21.05", DateTime::FromParts(2026, 5, 1, 21, 5, 0)},
      {"names", "mié 15 jul 2026 9:5:0", DateTime::FromParts(2026, 7, 15, 9, 5, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PictureDateTimeText(Pictures(c.locale)).Parse(c.text), c.value)
        << c.locale << " \"" << c.text << '"';
  }
  const PictureDateTimeText german(Pictures("deDE"));
  for (const char* refused : {"31.04.2026", "15.07.2026 25:00", "15.07.2026 02:30 Uhr",
                              "15.07.2026x02:30", "15.07.0099", "02:30 15.07.2026"}) {
    EXPECT_FALSE(german.Parse(refused).IsValid()) << refused;
  }
}

TEST(PictureDateTimeText, MakesEveryPictureOneThatReadsBack) {
  const PictureDateTimeText names(Pictures("names"));
  EXPECT_EQ(names.DatePicture(), "ddd d MMM yyyy");
  EXPECT_EQ(names.TimePicture(), "HH:mm:ss");
  EXPECT_EQ(names.ShortTimePicture(), "HH:mm:ss");
  const PictureDateTimeText empty(Pictures("empty"));
  EXPECT_EQ(empty.DatePicture(), "yyyy-MM-dd");
  EXPECT_EQ(empty.TimePicture(), "HH:mm:ss");
  EXPECT_EQ(empty.ShortTimePicture(), "HH:mm:ss");
  // Numbers run together: 1 December and 11 February would both read "112".
  const PictureDateTimeText runTogether({"dM yyyy", "Hmmss", "Hmm", EnglishNames()});
  EXPECT_EQ(runTogether.DatePicture(), "yyyy-MM-dd");
  EXPECT_EQ(runTogether.TimePicture(), "HH:mm:ss");
  EXPECT_EQ(runTogether.ShortTimePicture(), "HH:mm:ss");
  // Each reads back alone, but a time alone ("1/2/300") would read as a date.
  const PictureDateTimeText mistaken({"d/M/yyyy", "H/m/s'00'", "H/m", EnglishNames()});
  EXPECT_EQ(mistaken.DatePicture(), "yyyy-MM-dd");
  EXPECT_EQ(mistaken.TimePicture(), "HH:mm:ss");
  EXPECT_EQ(mistaken.ShortTimePicture(), "HH:mm:ss");
  // The user's own picture that reads back is kept.
  const PictureDateTimeText own({"yyyy'年'M'月'd'日'", "H'時'mm'分'ss'秒'", "H'時'mm'分'", {}});
  EXPECT_EQ(own.DatePicture(), "yyyy'年'M'月'd'日'");
  EXPECT_EQ(own.TimePicture(), "H'時'mm'分'ss'秒'");
  EXPECT_EQ(own.ShortTimePicture(), "H'時'mm'分'");
}

}  // namespace
}  // namespace animark::win
