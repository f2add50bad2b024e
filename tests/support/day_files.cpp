#include "support/day_files.h"

#include <algorithm>

#include "support/test_support.h"

namespace animark::testing {

std::vector<std::uint8_t> DayFileBytes(const std::vector<StrikeRecord>& slots) {
  const std::size_t blocks = (slots.size() + kSlotsPerBlock - 1) / kSlotsPerBlock;
  std::vector<std::uint8_t> bytes(kDayFileHeaderBytes + blocks * kDayFileBlockBytes, 0);
  std::fill(bytes.begin(), bytes.begin() + kDayFileHeaderBytes, 0xA5);
  for (std::size_t block = 0; block < blocks; ++block) {
    const std::size_t tail = kDayFileHeaderBytes + block * kDayFileBlockBytes + 1020;
    std::fill(bytes.begin() + tail, bytes.begin() + tail + 4, 0xEE);
  }
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const std::size_t at = kDayFileHeaderBytes + i / kSlotsPerBlock * kDayFileBlockBytes +
                           i % kSlotsPerBlock * kStrikeRecordBytes;
    const std::uint16_t fields[3] = {slots[i].timeCode,
                                     static_cast<std::uint16_t>(slots[i].offsetX),
                                     static_cast<std::uint16_t>(slots[i].offsetY)};
    for (int field = 0; field < 3; ++field) {
      bytes[at + 2 * field] = static_cast<std::uint8_t>(fields[field] & 0xFF);
      bytes[at + 2 * field + 1] = static_cast<std::uint8_t>(fields[field] >> 8);
    }
  }
  return bytes;
}

void WriteDayFile(const std::filesystem::path& path, const std::vector<StrikeRecord>& slots) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  WriteFileBytes(path, DayFileBytes(slots));
}

}  // namespace animark::testing
