#pragma once
// Day files for tests: a header and block tails of non-zero filler, so that a reader that reads
// them as records shows it, and the given slots in order, block after block.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "strikes/strike_record.h"

namespace animark::testing {

inline constexpr std::size_t kDayFileHeaderBytes = 1024;
inline constexpr std::size_t kDayFileBlockBytes = 1024;
inline constexpr int kSlotsPerBlock = 170;

// A strike at hh:mm:ss, `offsetX` and `offsetY` units from the detector.
constexpr StrikeRecord StrikeAt(int hour, int minute, int second, std::int16_t offsetX,
                                std::int16_t offsetY) {
  return {static_cast<std::uint16_t>(TimeCodeOf(hour, minute, second)), offsetX, offsetY};
}

// `slots` fill the blocks in order ({} is an empty slot); the last block is padded with empty
// slots and ends with its tail.
std::vector<std::uint8_t> DayFileBytes(const std::vector<StrikeRecord>& slots);

// Writes DayFileBytes(slots) to `path`, creating its folders.
void WriteDayFile(const std::filesystem::path& path, const std::vector<StrikeRecord>& slots);

}  // namespace animark::testing
