#include "cli/iso_date_time_text.h"

#include <cstdio>

namespace animark::cli {

std::string IsoDateTimeText::Format(const DateTime& value) const {
  if (value.Year() < 0) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", value.Year(), value.Month(),
                value.Day(), value.Hour(), value.Minute(), value.Second());
  return text;
}

DateTime IsoDateTimeText::Parse(std::string_view text) const {
  int parts[6] = {0, 0, 0, 0, 0, 0};
  // Field widths and the separator that follows each field.
  constexpr int kWidths[6] = {4, 2, 2, 2, 2, 2};
  std::size_t at = 0;
  int field = 0;
  for (; field < 6; ++field) {
    if (at + kWidths[field] > text.size()) break;
    for (int i = 0; i < kWidths[field]; ++i) {
      const char c = text[at++];
      if (c < '0' || c > '9') return {};
      parts[field] = parts[field] * 10 + (c - '0');
    }
    if (at == text.size()) {
      ++field;
      break;
    }
    const char separator = text[at++];
    const bool expected = field < 2    ? separator == '-'
                          : field == 2 ? (separator == ' ' || separator == 'T')
                                       : separator == ':';
    if (!expected || field == 5) return {};
  }
  // A date alone, or a date with hours and minutes (and seconds).
  if (at != text.size() || (field != 3 && field != 5 && field != 6)) return {};
  return DateTime::FromParts(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

}  // namespace animark::cli
