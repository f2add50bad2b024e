#include "image/frame_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace animark {
namespace {

TEST(ClearStrikeMarksTest, TakesOffOneMarkAndLeavesPaletteIndices) {
  FrameBuffer buffer;
  const struct {
    std::int16_t before, after;
  } cases[] = {{0, 0}, {7, 7}, {15, 15}, {16, 0}, {23, 7}, {31, 15}};
  for (const auto& c : cases) {
    buffer.Fill(c.before);
    buffer.ClearStrikeMarks();
    EXPECT_TRUE(std::ranges::all_of(buffer.Cells(), [&](std::int16_t v) { return v == c.after; }))
        << c.before;
  }

  // Marked and unmarked cells side by side, as a strike pass leaves them.
  const auto cells = buffer.Cells();
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<std::int16_t>(i % 32);
  buffer.ClearStrikeMarks();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    ASSERT_EQ(cells[i], static_cast<std::int16_t>(i % 16)) << "cell " << i;
  }
}

}  // namespace
}  // namespace animark
