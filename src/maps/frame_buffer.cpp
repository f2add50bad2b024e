#include "maps/frame_buffer.h"

#include <algorithm>

namespace animark {

FrameBuffer::FrameBuffer() : cells_(kCellCount, 0) {}

void FrameBuffer::Fill(std::int16_t value) { std::ranges::fill(cells_, value); }

}  // namespace animark
