#pragma once
// The frame buffer holds its cells column by column; a GIF frame lists them row by row. Rows are
// turned a band at a time, so that the column-major buffer is read a cache line at a time.

#include <cstdint>

#include "image/frame_buffer.h"

namespace animark {

inline constexpr int kBandRows = 16;
static_assert(FrameBuffer::kHeight % kBandRows == 0);

// The cells of rows `top` .. `top` + kBandRows - 1, each as the index `map` gives it, row by row
// into `rows` (FrameBuffer::kWidth * kBandRows bytes).
template <typename Map>
void CopyRowBand(const FrameBuffer& frame, int top, Map map, std::uint8_t* rows) {
  const std::int16_t* column = frame.Cells().data() + top;
  for (int x = 0; x < FrameBuffer::kWidth; ++x, column += FrameBuffer::kHeight) {
    for (int row = 0; row < kBandRows; ++row)
      rows[row * FrameBuffer::kWidth + x] = map(column[row]);
  }
}

}  // namespace animark
