#include "time/date_time.h"

#include <cmath>
#include <limits>

namespace animark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1 March of year 0 to 30 December 1899 (the day counted as 0).
constexpr std::int64_t kEpochShift = 693899;

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Proleptic Gregorian calendar, years counted from 1 March so that the leap day comes last.
// Years before 1899 are counted linearly (day -1 is 29 December 1899 at 00:00), not with the
// mirrored fraction some day-count formats use for negative values.
constexpr std::int64_t DayNumber(int year, int month, int day) {
  const int shiftedYear = month <= 2 ? year - 1 : year;
  const int era = (shiftedYear >= 0 ? shiftedYear : shiftedYear - 399) / 400;
  const int yearOfEra = shiftedYear - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return std::int64_t{era} * 146097 + dayOfEra - kEpochShift;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

constexpr CivilDate DateOfDayNumber(std::int64_t dayNumber) {
  const std::int64_t shifted = dayNumber + kEpochShift;
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const int dayOfEra = static_cast<int>(shifted - era * 146097);
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthIndex = (5 * dayOfYear + 2) / 153;
  const int day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const int month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const int year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

// The span a value may take at all: the years FromParts accepts.
constexpr double kFirstRepresentableSecond = DayNumber(0, 1, 1) * double{kSecondsPerDay};
constexpr double kEndRepresentableSecond = DayNumber(10000, 1, 1) * double{kSecondsPerDay};
constexpr int kFirstPartsYear = 100;
constexpr int kLastPartsYear = 9999;

// The value rounded to the nearest second, with its calendar date.
struct Parts {
  CivilDate date;
  int secondOfDay;
};

// False when `days` is not finite or lies outside the years 0..9999.
bool RoundToParts(double days, Parts& parts) {
  const double seconds = std::round(days * kSecondsPerDay);
  if (!(seconds >= kFirstRepresentableSecond && seconds < kEndRepresentableSecond)) return false;
  const auto total = static_cast<std::int64_t>(seconds);
  std::int64_t dayNumber = total / kSecondsPerDay;
  std::int64_t secondOfDay = total % kSecondsPerDay;
  if (secondOfDay < 0) {
    secondOfDay += kSecondsPerDay;
    --dayNumber;
  }
  parts = {DateOfDayNumber(dayNumber), static_cast<int>(secondOfDay)};
  return true;
}

bool IsTimeOfDay(int hour, int minute, int second) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

double DaysOf(std::int64_t dayNumber, int hour, int minute, int second) {
  return static_cast<double>(dayNumber) +
         static_cast<double>(hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

// Parts of a valid value inside the years 100..9999; false otherwise.
bool ReadableParts(bool valid, double days, Parts& parts) {
  return valid && RoundToParts(days, parts) && parts.date.year >= kFirstPartsYear &&
         parts.date.year <= kLastPartsYear;
}

}  // namespace

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
  DateTime result;
  if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || !IsTimeOfDay(hour, minute, second)) {
    return result;
  }
  result.days_ = DaysOf(DayNumber(year, month, day), hour, minute, second);
  result.valid_ = true;
  return result;
}

DateTime DateTime::FromLocalTime(const LocalTime& time) {
  return FromParts(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

DateTime DateTime::FromDays(double days) {
  DateTime result;
  Parts parts;
  if (RoundToParts(days, parts)) {
    result.days_ = days;
    result.valid_ = true;
  }
  return result;
}

int DateTime::Year() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.date.year : -1;
}

int DateTime::Month() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.date.month : -1;
}

int DateTime::Day() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.date.day : -1;
}

int DateTime::Hour() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.secondOfDay / 3600 : -1;
}

int DateTime::Minute() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.secondOfDay / 60 % 60 : -1;
}

int DateTime::Second() const {
  Parts parts;
  return ReadableParts(valid_, days_, parts) ? parts.secondOfDay % 60 : -1;
}

bool DateTime::SetTime(int hour, int minute, int second) {
  Parts parts;
  if (!valid_ || !RoundToParts(days_, parts)) return false;
  if (!IsTimeOfDay(hour, minute, second)) {
    *this = DateTime();  // every invalid value is the same value
    return false;
  }
  const CivilDate& date = parts.date;
  days_ = DaysOf(DayNumber(date.year, date.month, date.day), hour, minute, second);
  return true;
}

DateTime DateTime::AddSeconds(std::int64_t seconds) const {
  if (!valid_) return {};
  const double days = days_ + static_cast<double>(seconds) / kSecondsPerDay;
  Parts parts;
  if (!ReadableParts(true, days, parts)) return {};  // every invalid value is the same value
  DateTime sum;
  sum.days_ = days;
  sum.valid_ = true;
  return sum;
}

double DateTime::DaysSince(const DateTime& earlier) const {
  if (!valid_ || !earlier.valid_) return std::numeric_limits<double>::quiet_NaN();
  return days_ - earlier.days_;
}

std::string DateTime::Format(std::string_view pattern) const {
  Parts parts;
  if (!ReadableParts(valid_, days_, parts)) return {};
  const auto appendTwoDigits = [](std::string& text, int value) {
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
  };
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      text += pattern[i];
      continue;
    }
    const char conversion = pattern[++i];
    switch (conversion) {
      case 'Y':
        text += std::to_string(parts.date.year);
        break;
      case 'y':
        appendTwoDigits(text, parts.date.year % 100);
        break;
      case 'm':
        appendTwoDigits(text, parts.date.month);
        break;
      case 'd':
        appendTwoDigits(text, parts.date.day);
        break;
      case 'H':
        appendTwoDigits(text, parts.secondOfDay / 3600);
        break;
      case 'M':
        appendTwoDigits(text, parts.secondOfDay / 60 % 60);
        break;
      case 'S':
        appendTwoDigits(text, parts.secondOfDay % 60);
        break;
      case '%':
        text += '%';
        break;
      default:  // not understood: copied as it stands
        text += '%';
        text += conversion;
        break;
    }
  }
  return text;
}

std::string DateTime::DayMonthYear() const {
  Parts parts;
  if (!ReadableParts(valid_, days_, parts)) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%d-%d-%d", parts.date.day, parts.date.month, parts.date.year);
  return text;
}

}  // namespace animark
