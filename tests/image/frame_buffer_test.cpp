#include "image/frame_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
}  // namespace animark
