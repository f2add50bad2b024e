// Dates and times by Windows pictures: what is written reads back, what people type in the
// picture's manner reads too, and anything else is refused.

#include "win/date_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "win/locale_names.h"

namespace animark::win {
namespace {

enum class Part { Date, Time };

std::optional<DateTimeParts> Parse(Part part, std::string_view picture, std::string_view text,
                                   const LocaleNames& names) {
  return part == Part::Date ? ParseDatePicture(picture, text, names)
                            : ParseTimePicture(picture, text, names);
}

DateTimeParts Date(int year, int month, int day) {
  return {year, month, day, 0, 0, 0};
}
DateTimeParts Time(int hour, int minute, int second) {
  return {1, 1, 1, hour, minute, second};
}

struct Written {
  Part part;
  const char* picture;
  DateTimeParts parts;
  const char* text;
  LocaleNames names = EnglishNames();
};

TEST(DatePicture, WritesEachLocalesPictureAndReadsItBack) {
  const Written cases[] = {
      {Part::Date, "M/d/yyyy", Date(2026, 7, 4), "7/4/2026"},  // en-US
      {Part::Time, "h:mm:ss tt", Time(21, 5, 9), "9:05:09 PM"},
      {Part::Time, "h:mm:ss tt", Time(0, 0, 0), "12:00:00 AM"},
      {Part::Time, "h:mm:ss tt", Time(12, 30, 0), "12:30:00 PM"},
      {Part::Time, "h:mm tt", Time(11, 59, 0), "11:59 AM"},
      {Part::Date, "dd.MM.yyyy", Date(2026, 7, 4), "04.07.2026", GermanNames()},  // de-DE
      {Part::Time, "HH:mm:ss", Time(7, 5, 9), "07:05:09", GermanNames()},
      {Part::Time, "HH:mm", Time(21, 5, 0), "21:05", GermanNames()},
      {Part::Date, "dd/MM/yyyy", Date(1926, 12, 31), "31/12/1926"},  // en-GB
      {Part::Date, "yyyy/MM/dd", Date(2024, 2, 29), "2024/02/29"},   // ja-JP, zh-CN
      {Part::Time, "H:mm:ss", Time(9, 5, 9), "9:05:09"},
      {Part::Date, "yyyy-MM-dd", Date(100, 1, 1), "0100-01-01", KoreanNames()},  // ko-KR
      {Part::Time, "tt h:mm:ss", Time(21, 5, 9), "오후 9:05:09", KoreanNames()},
      {Part::Time, "tt h:mm:ss", Time(0, 1, 2), "오전 12:01:02", KoreanNames()},
      // Quoted text, a quote inside it, names, the era left out with its blank.
      {Part::Date, "d' de 'MMMM' de 'yyyy", Date(2026, 7, 14), "14 de julio de 2026",
       SpanishNames()},
      {Part::Time, "H 'o''clock' mm", Time(9, 5, 0), "9 o'clock 05"},
      {Part::Date, "dddd, MMMM d, yyyy", Date(2026, 7, 14), "Tuesday, July 14, 2026"},
      {Part::Date, "ddd dd MMM yyyy", Date(2026, 3, 1), "Sun 01 Mar 2026"},
      {Part::Date, "d. MMM yyyy", Date(2026, 3, 1), "1. M\u00e4r 2026", GermanNames()},
      {Part::Date, "dddd d MMMM yyyy", Date(2026, 7, 15), "mi\u00e9rcoles 15 julio 2026",
       SpanishNames()},
      {Part::Date, "gg yyyy/M/d", Date(2026, 7, 14), "2026/7/14"},
      {Part::Date, "yyyy/M/d gg", Date(2026, 7, 14), "2026/7/14"},
      {Part::Date, "yyyyMMdd", Date(2026, 7, 4), "20260704"},
      {Part::Time, "HHmmss", Time(1, 2, 3), "010203"},
      {Part::Time, "h:mm t", Time(13, 5, 0), "1:05 P"},
      {Part::Time, "tt h:mm", Time(23, 0, 0), "p. m. 11:00", SpanishNames()},
      {Part::Date, "d\u00a0MMM\u00a0yyyy", Date(9999, 12, 31), "31\u00a0Dec\u00a09999"},
  };
  for (const Written& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(FormatPicture(c.picture, c.parts, c.names), c.text);
    EXPECT_EQ(Parse(c.part, c.picture, c.text, c.names), c.parts);
  }
}

struct Typed {
  Part part;
  const char* picture;
  const char* text;
  DateTimeParts parts;
  LocaleNames names = EnglishNames();
};

TEST(DatePicture, ReadsTextTypedInThePicturesManner) {
  const Typed cases[] = {
      {Part::Date, "dd.MM.yyyy", "1.7.2026", Date(2026, 7, 1)},
      {Part::Date, "M/d/yyyy", "07/01/2026", Date(2026, 7, 1)},
      {Part::Date, "dd.MM.yyyy", "01.07.26", Date(26, 7, 1)},  // the year as written
      {Part::Time, "HH:mm:ss", "7:5:9", Time(7, 5, 9)},
      {Part::Time, "h:mm:ss tt", "9:05:09 pm", Time(21, 5, 9)},
      {Part::Time, "h:mm:ss tt", "09:05:09    Pm", Time(21, 5, 9)},
      {Part::Time, "h:mm:ss tt", "9:05:09\u00a0PM", Time(21, 5, 9)},
      {Part::Time, "h:mm t", "1:05 p", Time(13, 5, 0)},
      {Part::Date, "dddd, MMMM d, yyyy", "TUESDAY, july 14, 2026", Date(2026, 7, 14)},
      {Part::Date, "d. MMM yyyy", "1. m\u00e4r 2026", Date(2026, 3, 1), GermanNames()},
      {Part::Time, "tt h:mm:ss", "오후  9:05:09", Time(21, 5, 9), KoreanNames()},
      {Part::Time, "HH:mm", "21:05", Time(21, 5, 0)},
  };
  for (const Typed& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Parse(c.part, c.picture, c.text, c.names), c.parts);
  }
}

TEST(DatePicture, RefusesTextThatIsNoDateOrTimeOfThePicture) {
  const struct {
    Part part;
    const char* picture;
    const char* text;
  } cases[] = {
      {Part::Date, "dd.MM.yyyy", "31.04.2026"},  // no 31 April
      {Part::Date, "dd.MM.yyyy", "29.02.2025"},  // no leap year
      {Part::Date, "dd.MM.yyyy", "29.02.1900"},  // a century that is no leap year
      {Part::Date, "dd.MM.yyyy", "00.07.2026"},
      {Part::Date, "dd.MM.yyyy", "14.13.2026"},
      {Part::Date, "dd.MM.yyyy", "14.07.0"},      // no year 0
      {Part::Date, "dd.MM.yyyy", "14.07.12026"},  // five digits
      {Part::Date, "dd.MM.yyyy", "014.07.2026"},  // three-digit day
      {Part::Date, "dd.MM.yyyy", "ab.cd.efgh"},
      {Part::Date, "dd.MM.yyyy", "14.07.2026x"},  // trailing junk
      {Part::Date, "dd.MM.yyyy", "14.07.2026 "},
      {Part::Date, "dd.MM.yyyy", "14/07/2026"},  // another separator
      {Part::Date, "dd.MM.yyyy", ""},
      {Part::Date, "d MMMM yyyy", "14 Julember 2026"},
      {Part::Date, "dddd, MMMM d, yyyy", "Monday, July 14, 2026"},  // a Tuesday
      {Part::Date, "HH:mm:ss", "21:05:09"},                         // no date in the picture
      {Part::Time, "HH:mm:ss", "24:00:00"},
      {Part::Time, "HH:mm:ss", "12:60:00"},
      {Part::Time, "HH:mm:ss", "12:00:60"},
      {Part::Time, "HH:mm:ss", "12:00"},
      {Part::Time, "HH:mm:ss", "12:00:00:00"},
      {Part::Time, "HH:mm:ss", "-1:00:00"},
      {Part::Time, "HH:mm:ss", ""},
      {Part::Time, "h:mm:ss tt", "13:05:09 PM"},
      {Part::Time, "h:mm:ss tt", "0:05:09 AM"},
      {Part::Time, "h:mm:ss tt", "9:05:09"},  // no designator
      {Part::Time, "h:mm:ss tt", "9:05:09 XM"},
      {Part::Time, "dd.MM.yyyy", "14.07.2026"},  // no hour in the picture
  };
  const LocaleNames names = EnglishNames();
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.part, c.picture, c.text, names), std::nullopt)
        << c.picture << " \"" << c.text << '"';
  }
}

// Every date and time in a spread over the whole range comes back from each picture.
TEST(DatePicture, EveryValueComesBackFromEachPicture) {
  const struct {
    const char* picture;
    LocaleNames names;
  } datePictures[] = {
      {"M/d/yyyy", EnglishNames()},           {"dd.MM.yyyy", GermanNames()},
      {"yyyy/MM/dd", EnglishNames()},         {"yyyy-MM-dd", KoreanNames()},
      {"dddd, MMMM d, yyyy", EnglishNames()}, {"d. MMM yyyy", GermanNames()},
      {"ddd d MMM yyyy", SpanishNames()},     {"yyyyMMdd", EnglishNames()},
      {"gg d/M/yyyy", EnglishNames()},
  };
  const struct {
    const char* picture;
    LocaleNames names;
  } timePictures[] = {
      {"h:mm:ss tt", EnglishNames()},  {"HH:mm:ss", GermanNames()},    {"H:mm:ss", EnglishNames()},
      {"tt h:mm:ss", KoreanNames()},   {"hh:mm:ss t", EnglishNames()}, {"HHmmss", EnglishNames()},
      {"tt hh:mm:ss", SpanishNames()},
  };
  std::uint32_t seed = 12345;
  const auto next = [&seed](int count) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(count));
  };
  std::vector<DateTimeParts> dates = {Date(1, 1, 1), Date(9999, 12, 31), Date(2000, 2, 29),
                                      Date(1899, 12, 30)};
  for (int i = 0; i < 500; ++i) {
    const int year = 1 + next(9999);
    const int month = 1 + next(12);
    const int lastDay = month == 2
                            ? ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28)
                        : month == 4 || month == 6 || month == 9 || month == 11 ? 30
                                                                                : 31;
    dates.push_back(Date(year, month, 1 + next(lastDay)));
  }
  for (const auto& [picture, names] : datePictures) {
    for (const DateTimeParts& date : dates) {
      const std::string text = FormatPicture(picture, date, names);
      ASSERT_EQ(ParseDatePicture(picture, text, names), date) << picture << " \"" << text << '"';
    }
  }
  for (const auto& [picture, names] : timePictures) {
    for (int hour = 0; hour < 24; ++hour) {
      const DateTimeParts time = Time(hour, next(60), next(60));
      const std::string text = FormatPicture(picture, time, names);
      ASSERT_EQ(ParseTimePicture(picture, text, names), time) << picture << " \"" << text << '"';
    }
  }
}

TEST(DatePicture, FullYearKeepsTheCentury) {
  const struct {
    const char* picture;
    const char* full;
  } cases[] = {
      {"M/d/yy", "M/d/yyyy"},     {"d.M.y", "d.M.yyyy"},    {"yyyy-MM-dd", "yyyy-MM-dd"},
      {"yyyyy/M/d", "yyyyy/M/d"}, {"'yy' yy", "'yy' yyyy"}, {"dd''yy", "dd''yyyy"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithFullYear(c.picture), c.full) << c.picture;
}

TEST(DatePicture, A12HourClockWithoutTellingDesignatorsBecomes24Hour) {
  LocaleNames silent = EnglishNames();
  silent.am.clear();
  silent.pm.clear();
  LocaleNames alike = EnglishNames();
  alike.am = "pm";
  LocaleNames sameFirstLetter = EnglishNames();
  sameFirstLetter.am = "Morning";
  sameFirstLetter.pm = "Midday";
  const struct {
    const char* picture;
    LocaleNames names;
    const char* readable;
  } cases[] = {
      {"h:mm:ss tt", EnglishNames(), "h:mm:ss tt"},
      {"tt h:mm:ss", KoreanNames(), "tt h:mm:ss"},
      {"h:mm:ss", EnglishNames(), "H:mm:ss"},
      {"hh:mm:ss tt", silent, "HH:mm:ss"},
      {"tt hh:mm:ss", silent, "HH:mm:ss"},
      {"h 'h' mm tt", alike, "H 'h' mm"},
      {"h:mm t", sameFirstLetter, "H:mm"},
      {"h:mm tt", sameFirstLetter, "h:mm tt"},
      {"HH:mm:ss", silent, "HH:mm:ss"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithReadableHours(c.picture, c.names), c.readable) << c.picture;
  }
}

}  // namespace
}  // namespace animark::win
