#include "image/frame_buffer.h"

#include <algorithm>

namespace animark {

FrameBuffer::FrameBuffer() : cells_(kCellCount, 0) {}

void FrameBuffer::Fill(std::int16_t value) {
  std::ranges::fill(cells_, value);
}

void FrameBuffer::ClearStrikeMarks() {
  // Branch-free over a count known at compile time, so that the compiler vectorises this pass
  // over every cell of every frame even at -O2.
  std::int16_t* const cells = cells_.data();
  for (std::size_t i = 0; i < kCellCount; ++i) {
    cells[i] =
        static_cast<std::int16_t>(cells[i] >= kStrikeMark ? cells[i] - kStrikeMark : cells[i]);
  }
}

}  // namespace animark
