#pragma once
// The picture every frame is built in: 640 x 480 signed 16-bit cells, column-major.
// Values 0..15 are palette indices; a strike mark adds 16 (values 16..31) and is taken off again
// after the frame has been written.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace animark {

class FrameBuffer {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr std::size_t kCellCount = std::size_t{kWidth} * kHeight;
  static constexpr std::int16_t kStrikeMark = 16;

  // All cells 0.
  FrameBuffer();

  // Cell (x, y), x = 0 at the left, y = 0 at the top; element x * 480 + y. No bounds check.
  std::int16_t& At(int x, int y) { return cells_[Index(x, y)]; }
  std::int16_t At(int x, int y) const { return cells_[Index(x, y)]; }

  static constexpr bool Contains(int x, int y) {
    return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
  }

  std::span<std::int16_t> Cells() { return cells_; }
  std::span<const std::int16_t> Cells() const { return cells_; }

  void Fill(std::int16_t value);

  // Lowers every cell above 15 by 16, taking out the strike marks of the frame just written.
  void ClearStrikeMarks();

 private:
  static constexpr std::size_t Index(int x, int y) {
    return static_cast<std::size_t>(x) * kHeight + static_cast<std::size_t>(y);
  }
  std::vector<std::int16_t> cells_;
};

}  // namespace animark
