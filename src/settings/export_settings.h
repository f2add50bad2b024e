#pragma once
// Everything one export needs to know, in one record: the form fills it, the settings store loads
// and saves it, the export reads it.

#include <array>
#include <cstdint>
#include <string>

#include "time/date_time.h"

namespace animark {

// 0, 1, 2: the 100 mi/160 km, 200 mi/320 km and 300 mi/480 km ranges.
using RangeIndex = std::int32_t;
inline constexpr int kRangeCount = 3;
constexpr bool IsRangeIndex(std::int32_t value) {
  return value >= 0 && value < kRangeCount;
}

struct ExportSettings {
  std::string comments;         // at most 255 characters
  std::string dataDirectory;    // at most 256 characters
  std::string exportFile;       // at most 256 characters
  std::int32_t iterations = 0;  // -1: no looping extension; 0: for ever; else the count
  std::array<std::string, kRangeCount> mapFiles;  // by RangeIndex
  std::int32_t persistenceMinutes = 60;           // 0..65535
  std::int32_t rateMinutesPerSecond = 60;         // 1..65535
  RangeIndex zoomRange = 0;                       // -1 when no range is chosen
  DateTime periodStart;
  DateTime periodEnd;
  std::int32_t pauseBetweenFrames = 100;               // 1/100 s, 1..65535
  std::int32_t pauseAfterLastFrame = 150;              // 1/100 s, 1..65535
  std::array<std::int32_t, kRangeCount> ringCounts{};  // 0..99 each
  std::int32_t crosshairs = 0;                         // exactly 1 is on
  std::int32_t labelRings = 0;                         // exactly 1 is on
  std::int32_t units = 0;                              // 0 miles, 1 kilometres, -1 none chosen
  // Ours, beside the fields above: non-zero writes each frame after the first as only what
  // changed, a far smaller file with the same pictures.
  std::int32_t optimizeForWeb = 0;
  // Ours too: non-zero colours each strike by its age in the window (white, yellow, orange, red,
  // newest first) and adds their legend and the strike count to the text column.
  std::int32_t ageColours = 0;
};

// The defaults, with both period ends set to `now`.
ExportSettings DefaultExportSettings(const DateTime& now);

}  // namespace animark
