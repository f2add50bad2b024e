#pragma once
// The detector's day file, written: a 1024-byte header, then 1024-byte blocks of 170 six-byte
// records (time code, x offset, y offset; little-endian) and a 4-byte tail. Unused slots are
// all zero, so a record of time code 0 at the detector itself cannot be stored.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace animark::samplegen {

struct CalendarDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31

  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

struct DayRecord {
  std::uint16_t timeCode;  // two-second steps since local midnight
  std::int16_t offsetX;    // detector units, east positive
  std::int16_t offsetY;    // detector units, south positive
};

inline constexpr int kDayFileHeaderBytes = 1024;
inline constexpr int kDayFileBlockBytes = 1024;
inline constexpr int kRecordsPerBlock = 170;
inline constexpr int kRecordBytes = 6;

// The next calendar day (Gregorian leap years); `date` must be a real date.
CalendarDate DayAfter(CalendarDate date);

// "MMDDYY.dat", e.g. 14 July 2026 gives "071426.dat".
std::string DayFileName(CalendarDate date);

// The whole file: header (a short text naming `date`, zero-padded), then as many full blocks as
// `records` need, in the given order, empty slots and tails zero.
std::vector<std::uint8_t> EncodeDayFile(CalendarDate date, std::span<const DayRecord> records);

}  // namespace animark::samplegen
