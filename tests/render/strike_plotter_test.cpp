#include "render/strike_plotter.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace animark {
namespace {

using Cell = std::pair<int, int>;

TEST(StrikeCellTest, ScalesOffsetsIntoTheStrikeAreaOnly) {
  struct Case {
    int range;
    std::int16_t offsetX;
    std::int16_t offsetY;
    std::optional<Cell> cell;
  };
  const Case cases[] = {
      // Offsets too small for a pixel land on the centre whatever their sign.
      {0, 10, -10, Cell{246, 240}},
      {0, 0, 0, Cell{246, 240}},
      {0, -11, 11, Cell{245, 241}},
      // The last kept offsets on each side, and the first dropped beyond them.
      {0, -2570, 0, Cell{0, 240}},
      {0, -2571, 0, std::nullopt},
      {0, 2570, 0, Cell{492, 240}},
      {0, 2571, 0, std::nullopt},
      {0, 0, -2570, Cell{246, 0}},
      {0, 0, -2571, std::nullopt},
      {0, 0, 2559, Cell{246, 479}},
      {0, 0, 2560, std::nullopt},
      {1, -5140, 0, Cell{0, 240}},
      {1, -5141, 0, std::nullopt},
      {1, 5140, 0, Cell{492, 240}},
      {1, 5141, 0, std::nullopt},
      {1, 0, -5141, Cell{246, 0}},
      {1, 0, -5142, std::nullopt},
      {1, 0, 5119, Cell{246, 479}},
      {1, 0, 5120, std::nullopt},
      {2, -7711, 0, Cell{0, 240}},
      {2, -7712, 0, std::nullopt},
      {2, 7711, 0, Cell{492, 240}},
      {2, 7712, 0, std::nullopt},
      {2, 0, -7711, Cell{246, 0}},
      {2, 0, -7712, std::nullopt},
      {2, 0, 7679, Cell{246, 479}},
      {2, 0, 7680, std::nullopt},
      {2, -32768, 32767, std::nullopt},
      // A range without a scale has no cell.
      {-1, 0, 0, std::nullopt},
      {3, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrikeCell(c.range, c.offsetX, c.offsetY), c.cell)
        << "range " << c.range << " offsets " << c.offsetX << ", " << c.offsetY;
  }
}

}  // namespace
}  // namespace animark
