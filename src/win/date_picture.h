#pragma once
// Dates and times written and read by a Windows format picture ("M/d/yyyy", "tt h:mm:ss"), with
// the locale's month and day names and AM/PM designators given as UTF-8 text. No system call: the
// same code formats and reads, so that whatever it writes it reads back.
//
// Picture tokens: d dd (day), ddd dddd (abbreviated and full day name), M MM (month), MMM MMMM
// (abbreviated and full month name), y yy (year without its century), yyyy yyyyy (year in full),
// g gg (era: left out, with the blanks after it), h hh (12-hour clock), H HH (24-hour clock),
// m mm, s ss, t tt (first letter of the designator, the whole designator); 'quoted text' with ''
// for a quote; any other character stands for itself.
//
// Reading: d, M, h, H, m and s take one or two digits whatever their width, a year one to four;
// names and designators match without regard to ASCII case; a blank in the picture (a space,
// U+00A0 or U+202F) takes one or more blanks of any of these kinds; any other character must be
// there as written, and the whole text must be used.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace animark::win {

// A locale's names, UTF-8.
struct LocaleNames {
  std::array<std::string, 12> months;             // January first
  std::array<std::string, 12> abbreviatedMonths;  // January first
  std::array<std::string, 7> days;                // Sunday first
  std::array<std::string, 7> abbreviatedDays;     // Sunday first
  std::string am;
  std::string pm;
};

// A calendar date (proleptic Gregorian) and a time of day; a picture uses the parts it shows.
struct DateTimeParts {
  int year = 1;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// `parts` written by `picture`. The parts must be valid (year 1 to 9999); a year in full is
// written with at least four digits.
std::string FormatPicture(std::string_view picture, const DateTimeParts& parts,
                          const LocaleNames& names);

// The date that `text` writes by `picture`, its time 00:00:00. Nothing when the text does not
// follow the picture, the picture lacks the day, month or year, the date does not exist (years 1
// to 9999) or a day name disagrees with the date.
std::optional<DateTimeParts> ParseDatePicture(std::string_view picture, std::string_view text,
                                              const LocaleNames& names);

// The time of day that `text` writes by `picture`, its date 1 January of the year 1; minutes and
// seconds that the picture lacks are 0. Nothing when the text does not follow the picture, the
// picture lacks the hour or a part is out of range. A 12-hour clock needs its designator: 12 AM
// is 0 h and 12 PM is 12 h; without a designator in the picture the hour reads as written.
std::optional<DateTimeParts> ParseTimePicture(std::string_view picture, std::string_view text,
                                              const LocaleNames& names);

// `picture` with every year token of fewer than four letters made "yyyy", so that no year loses
// its century: "M/d/yy" becomes "M/d/yyyy".
std::string WithFullYear(std::string_view picture);

// `picture` on the 24-hour clock ("h" and "hh" become "H" and "HH") unless it shows a designator
// that tells morning from afternoon with these names: otherwise a 12-hour time could not be read
// back.
std::string WithReadableHours(std::string_view picture, const LocaleNames& names);

// The length in bytes of the blank (a space, U+00A0 or U+202F) at `pos` of `text`; 0 when there is
// none.
std::size_t BlankAt(std::string_view text, std::size_t pos);

// Whether `picture` shows a day, a month and a year.
bool ShowsDate(std::string_view picture);
// Whether `picture` shows the hour, the minute and the second.
bool ShowsTimeWithSeconds(std::string_view picture);
// Whether `picture` shows the hour and the minute.
bool ShowsTime(std::string_view picture);

}  // namespace animark::win
