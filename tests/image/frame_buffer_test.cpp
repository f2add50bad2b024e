#include "image/frame_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "image/palette.h"

namespace animark {
namespace {

TEST(StrikeMarkTest, MarksOnceAndGivesTheCellItsColourBack) {
  FrameBuffer buffer;
  const std::size_t cell = FrameBuffer::Index(492, 479);
  for (std::int16_t colour = 0; colour < 16; ++colour) {
    buffer.Fill(colour);
    buffer.Mark(cell);
    buffer.Mark(cell);
    EXPECT_EQ(buffer.At(492, 479), colour + FrameBuffer::kStrikeMark);
    buffer.Unmark(cell);
    EXPECT_EQ(buffer.At(492, 479), colour);
    buffer.Unmark(cell);
    EXPECT_EQ(buffer.At(492, 479), colour);
    EXPECT_EQ(buffer.At(492, 478), colour);
    EXPECT_EQ(buffer.At(493, 0), colour);
  }
}

// Age marks replace one another and come off whole, and each shows in its own entry.
TEST(StrikeMarkTest, AgeMarksShowTheirBandsColourAndGiveTheCellBack) {
  FrameBuffer buffer;
  const std::size_t cell = FrameBuffer::Index(0, 0);
  for (std::int16_t colour = 0; colour < 16; ++colour) {
    buffer.Fill(colour);
    for (const auto& [kind, shown] : {std::pair{1, 14}, {2, 15}, {3, 11}, {4, 12}, {2, 15}}) {
      buffer.MarkAs(cell, kind);
      EXPECT_EQ(ShownEntry(buffer.At(0, 0)), shown) << colour << ", kind " << kind;
    }
    buffer.MarkAs(cell, 0);
    EXPECT_EQ(buffer.At(0, 0), colour);
    buffer.MarkAs(cell, 4);
    buffer.Unmark(cell);
    EXPECT_EQ(buffer.At(0, 0), colour);
    EXPECT_EQ(buffer.At(0, 1), colour);
  }
  // Values past the mark kinds, and negative ones, show as strikes.
  for (const std::int16_t stray : {80, 1000, -1, -32768}) EXPECT_EQ(ShownEntry(stray), 14);
}

}  // namespace
}  // namespace animark
