#pragma once
// The picture every frame is built in: 640 x 480 signed 16-bit cells, column-major.
// Values 0..15 are palette indices; a strike mark adds 16 (values 16..31) and is taken off again
// when the strike leaves the picture. Strikes coloured by age add 16 times their mark kind (values
// 16..79, see kMarkKindEntries).

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

  // Cell (x, y), x = 0 at the left, y = 0 at the top; element Index(x, y) of Cells(). No bounds
  // check.
  std::int16_t& At(int x, int y) { return cells_[Index(x, y)]; }
  std::int16_t At(int x, int y) const { return cells_[Index(x, y)]; }

  static constexpr bool Contains(int x, int y) {
    return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
  }

  std::span<std::int16_t> Cells() { return cells_; }
  std::span<const std::int16_t> Cells() const { return cells_; }

  // Column by column: x * 480 + y.
  static constexpr std::size_t Index(int x, int y) {
    return static_cast<std::size_t>(x) * kHeight + static_cast<std::size_t>(y);
  }

  void Fill(std::int16_t value);

  // Adds the strike mark to cell `index` of Cells(), unless it carries one already.
  void Mark(std::size_t index);
  // Takes the strike mark off cell `index` of Cells(), if it carries one, whatever its kind.
  void Unmark(std::size_t index);
  // Gives cell `index` the mark of `kind` (1..4, see kMarkKindEntries), replacing any it carries;
  // kind 0 takes the mark off.
  void MarkAs(std::size_t index, int kind);

 private:
  std::vector<std::int16_t> cells_;
};

}  // namespace animark
