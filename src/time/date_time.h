#pragma once
// A local date and time to the second, with a validity flag. The value is a real number of days
// since 30 December 1899 00:00:00, the fraction being the time of day; the parts are those of the
// value rounded to the nearest second.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace animark {

class DateTime {
 public:
  // Invalid.
  DateTime() = default;

  // Valid when year is 0..9999, month 1..12, the day exists in that month (Gregorian leap
  // years), hour 0..23 and minute and second 0..59; invalid otherwise.
  static DateTime FromParts(int year, int month, int day, int hour, int minute, int second);
  static DateTime FromLocalTime(const LocalTime& time);
  static DateTime FromDays(double days);

  bool IsValid() const { return valid_; }
  // Days since 30 December 1899; meaningless when invalid.
  double Days() const { return days_; }

  // Each part reads -1 while the value is invalid or lies outside the years 100..9999.
  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;

  // Replaces the time of day and keeps the date, under the limits of FromParts. Returns whether
  // the value is valid afterwards; an invalid value stays invalid.
  bool SetTime(int hour, int minute, int second);

  // That many 86400ths of a day later (earlier when negative). Invalid when this is invalid or
  // the sum leaves the years 100..9999.
  DateTime AddSeconds(std::int64_t seconds) const;

  // this - earlier, in days (whole days plus the fraction of a day). NaN when either is invalid.
  double DaysSince(const DateTime& earlier) const;

  // The parts formatted by `pattern` in the manner of strftime: %Y %m %d %H %M %S %y and %% are
  // understood; any other character is copied. Empty when invalid.
  std::string Format(std::string_view pattern) const;

  // The date as day-month-full year without leading zeros ("8-3-2001").
  std::string DayMonthYear() const;

  friend bool operator==(const DateTime&, const DateTime&) = default;

 private:
  double days_ = 0.0;
  bool valid_ = false;
};

}  // namespace animark
