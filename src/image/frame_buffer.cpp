#include "image/frame_buffer.h"

#include <algorithm>

namespace animark {

FrameBuffer::FrameBuffer() : cells_(kCellCount, 0) {}

void FrameBuffer::Fill(std::int16_t value) {
  std::ranges::fill(cells_, value);
}

void FrameBuffer::Mark(std::size_t index) {
  std::int16_t& cell = cells_[index];
  if (cell < kStrikeMark) cell = static_cast<std::int16_t>(cell + kStrikeMark);
}

void FrameBuffer::Unmark(std::size_t index) {
  std::int16_t& cell = cells_[index];
  if (cell >= kStrikeMark) cell = static_cast<std::int16_t>(cell % kStrikeMark);
}

void FrameBuffer::MarkAs(std::size_t index, int kind) {
  std::int16_t& cell = cells_[index];
  const int picture = cell >= kStrikeMark ? cell % kStrikeMark : cell;
  cell = static_cast<std::int16_t>(picture + kStrikeMark * kind);
}

}  // namespace animark
