#pragma once
// One strike as a day file stores it: six bytes, three little-endian 16-bit fields.

#include <cstddef>
#include <cstdint>

namespace animark {

struct StrikeRecord {
  std::uint16_t timeCode = 0;  // two-second steps since local midnight: 0..43199 for a real time
  std::int16_t offsetX = 0;    // from the detector; positive to the right of the map centre
  std::int16_t offsetY = 0;    // from the detector; positive below the map centre

  // All three fields zero: an empty slot, never a strike.
  constexpr bool IsEmptySlot() const { return timeCode == 0 && offsetX == 0 && offsetY == 0; }

  friend bool operator==(const StrikeRecord&, const StrikeRecord&) = default;
};

inline constexpr std::size_t kStrikeRecordBytes = 6;

// The time code of 23:59:58, the last of a day; a record with a larger code cannot be a strike.
inline constexpr std::int32_t kLastTimeCodeOfDay = 43199;

// The time code of a moment's time of day: 30 * (60 * hour + minute) + second / 2.
constexpr std::int32_t TimeCodeOf(int hour, int minute, int second) {
  return 30 * (60 * hour + minute) + second / 2;
}

}  // namespace animark
