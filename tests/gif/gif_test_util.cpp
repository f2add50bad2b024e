#include "gif_test_util.h"

#include <random>

namespace animark::testing {

std::uint8_t MappedCell(std::int16_t cell) {
  return cell >= 0 && cell <= 15 ? static_cast<std::uint8_t>(cell) : 14;
}

FrameBuffer MapLikeFrame() {
  FrameBuffer frame;
  std::mt19937 random(7);
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      // Wavy land and water regions.
      frame.At(x, y) = static_cast<std::int16_t>(((x / 37 + y / 23 + (x * y) / 5000) % 4) + 1);
      const int dx = x - 246;
      const int dy = y - 240;
      const int radiusSquared = dx * dx + dy * dy;
      if (radiusSquared / 200 == 10000 / 200 || radiusSquared / 300 == 40000 / 300) {
        frame.At(x, y) = 13;
      }
      if (x >= 500) frame.At(x, y) = (y % 16 < 12 && (x * 7 + y * 3) % 5 < 2) ? 15 : 0;
    }
  }
  for (int mark = 0; mark < 400; ++mark) {
    std::int16_t& cell =
        frame.At(static_cast<int>(random() % 493), static_cast<int>(random() % 480));
    if (cell < FrameBuffer::kStrikeMark) cell += FrameBuffer::kStrikeMark;
  }
  return frame;
}

FrameBuffer NoiseFrame(std::uint32_t seed) {
  FrameBuffer frame;
  std::mt19937 random(seed);
  for (std::int16_t& cell : frame.Cells()) cell = static_cast<std::int16_t>(random() % 16);
  return frame;
}

FrameBuffer RandomRunsFrame() {
  FrameBuffer frame;
  std::mt19937 random(11);
  auto cells = frame.Cells();
  for (std::size_t at = 0; at < cells.size();) {
    const auto colour = static_cast<std::int16_t>(random() % 16);
    for (std::size_t run = 1 + random() % 40; run > 0 && at < cells.size(); --run) {
      cells[at++] = colour;
    }
  }
  return frame;
}

}  // namespace animark::testing
