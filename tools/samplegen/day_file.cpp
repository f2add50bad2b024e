#include "day_file.h"

#include <algorithm>
#include <cstdio>

namespace animark::samplegen {
namespace {

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

CalendarDate DayAfter(CalendarDate date) {
  if (date.day < DaysInMonth(date.year, date.month)) return {date.year, date.month, date.day + 1};
  if (date.month < 12) return {date.year, date.month + 1, 1};
  return {date.year + 1, 1, 1};
}

std::string DayFileName(CalendarDate date) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d%02d%02d.dat", date.month, date.day, date.year % 100);
  return name;
}

std::vector<std::uint8_t> EncodeDayFile(CalendarDate date, std::span<const DayRecord> records) {
  const std::size_t blocks = (records.size() + kRecordsPerBlock - 1) / kRecordsPerBlock;
  std::vector<std::uint8_t> bytes(kDayFileHeaderBytes + blocks * kDayFileBlockBytes, 0);

  // The reader skips the header; a readable note tells anyone who opens the file what it is.
  char note[64];
  const int length = std::snprintf(note, sizeof note, "Animark synthetic strikes %04d-%02d-%02d",
                                   date.year, date.month, date.day);
  std::copy(note, note + length, bytes.begin());

  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::size_t block = i / kRecordsPerBlock;
    const std::size_t slot = i % kRecordsPerBlock;
    const std::size_t at = kDayFileHeaderBytes + block * kDayFileBlockBytes + slot * kRecordBytes;
    PutWord(bytes, at, records[i].timeCode);
    PutWord(bytes, at + 2, static_cast<std::uint16_t>(records[i].offsetX));
    PutWord(bytes, at + 4, static_cast<std::uint16_t>(records[i].offsetY));
  }
  return bytes;
}

}  // namespace animark::samplegen
