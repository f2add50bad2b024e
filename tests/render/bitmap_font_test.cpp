#include "render/bitmap_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace animark {
namespace {

constexpr std::int16_t kBackground = 5;
constexpr std::int16_t kInk = 15;

struct ReferenceGlyph {
  int code;
  std::array<std::uint8_t, 16> rows;
};

// Every character the text column can show, plus 'A', as the font must hold them.
const ReferenceGlyph kReferenceGlyphs[] = {
    {' ', {}},
    {'-', {0, 0, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0}},
    {'/', {0, 0, 0, 0, 0x40, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x01, 0, 0, 0, 0}},
    {'0', {0, 0, 0x1C, 0x36, 0x63, 0x63, 0x6B, 0x6B, 0x63, 0x63, 0x36, 0x1C, 0, 0, 0, 0}},
    {'1', {0, 0, 0x18, 0x1C, 0x1E, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x7E, 0, 0, 0, 0}},
    {'2', {0, 0, 0x3E, 0x63, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x63, 0x7F, 0, 0, 0, 0}},
    {'3', {0, 0, 0x3E, 0x63, 0x60, 0x60, 0x3C, 0x60, 0x60, 0x60, 0x63, 0x3E, 0, 0, 0, 0}},
    {'4', {0, 0, 0x30, 0x38, 0x3C, 0x36, 0x33, 0x7F, 0x30, 0x30, 0x30, 0x78, 0, 0, 0, 0}},
    {'5', {0, 0, 0x7F, 0x03, 0x03, 0x03, 0x3F, 0x60, 0x60, 0x60, 0x63, 0x3E, 0, 0, 0, 0}},
    {'6', {0, 0, 0x1C, 0x06, 0x03, 0x03, 0x3F, 0x63, 0x63, 0x63, 0x63, 0x3E, 0, 0, 0, 0}},
    {'7', {0, 0, 0x7F, 0x63, 0x60, 0x60, 0x30, 0x18, 0x0C, 0x0C, 0x0C, 0x0C, 0, 0, 0, 0}},
    {'8', {0, 0, 0x3E, 0x63, 0x63, 0x63, 0x3E, 0x63, 0x63, 0x63, 0x63, 0x3E, 0, 0, 0, 0}},
    {'9', {0, 0, 0x3E, 0x63, 0x63, 0x63, 0x7E, 0x60, 0x60, 0x60, 0x30, 0x1E, 0, 0, 0, 0}},
    {':', {0, 0, 0, 0, 0x18, 0x18, 0, 0, 0, 0x18, 0x18, 0, 0, 0, 0, 0}},
    {'A', {0, 0, 0x08, 0x1C, 0x36, 0x63, 0x63, 0x7F, 0x63, 0x63, 0x63, 0x63, 0, 0, 0, 0}},
    {'D', {0, 0, 0x1F, 0x36, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x36, 0x1F, 0, 0, 0, 0}},
    {'F', {0, 0, 0x7F, 0x66, 0x46, 0x16, 0x1E, 0x16, 0x06, 0x06, 0x06, 0x0F, 0, 0, 0, 0}},
    {'L', {0, 0, 0x0F, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x46, 0x66, 0x7F, 0, 0, 0, 0}},
    {'P', {0, 0, 0x3F, 0x66, 0x66, 0x66, 0x3E, 0x06, 0x06, 0x06, 0x06, 0x0F, 0, 0, 0, 0}},
    {'R', {0, 0, 0x3F, 0x66, 0x66, 0x66, 0x3E, 0x36, 0x66, 0x66, 0x66, 0x67, 0, 0, 0, 0}},
    {'T', {0, 0, 0x7E, 0x7E, 0x5A, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x3C, 0, 0, 0, 0}},
    {'a', {0, 0, 0, 0, 0, 0x1E, 0x30, 0x3E, 0x33, 0x33, 0x33, 0x6E, 0, 0, 0, 0}},
    {'c', {0, 0, 0, 0, 0, 0x3E, 0x63, 0x03, 0x03, 0x03, 0x63, 0x3E, 0, 0, 0, 0}},
    {'e', {0, 0, 0, 0, 0, 0x3E, 0x63, 0x7F, 0x03, 0x03, 0x63, 0x3E, 0, 0, 0, 0}},
    {'g', {0, 0, 0, 0, 0, 0x6E, 0x33, 0x33, 0x33, 0x33, 0x33, 0x3E, 0x30, 0x33, 0x1E, 0}},
    {'h', {0, 0, 0x07, 0x06, 0x06, 0x36, 0x6E, 0x66, 0x66, 0x66, 0x66, 0x67, 0, 0, 0, 0}},
    {'i', {0, 0, 0x18, 0x18, 0, 0x1C, 0x18, 0x18, 0x18, 0x18, 0x18, 0x3C, 0, 0, 0, 0}},
    {'k', {0, 0, 0x07, 0x06, 0x06, 0x66, 0x36, 0x1E, 0x1E, 0x36, 0x66, 0x67, 0, 0, 0, 0}},
    {'l', {0, 0, 0x1C, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x3C, 0, 0, 0, 0}},
    {'m', {0, 0, 0, 0, 0, 0x37, 0x7F, 0x6B, 0x6B, 0x6B, 0x6B, 0x63, 0, 0, 0, 0}},
    {'n', {0, 0, 0, 0, 0, 0x3B, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0, 0, 0, 0}},
    {'o', {0, 0, 0, 0, 0, 0x3E, 0x63, 0x63, 0x63, 0x63, 0x63, 0x3E, 0, 0, 0, 0}},
    {'p', {0, 0, 0, 0, 0, 0x3B, 0x66, 0x66, 0x66, 0x66, 0x66, 0x3E, 0x06, 0x06, 0x0F, 0}},
    {'r', {0, 0, 0, 0, 0, 0x3B, 0x6E, 0x66, 0x06, 0x06, 0x06, 0x0F, 0, 0, 0, 0}},
    {'s', {0, 0, 0, 0, 0, 0x3E, 0x63, 0x06, 0x1C, 0x30, 0x63, 0x3E, 0, 0, 0, 0}},
    {'t', {0, 0, 0x08, 0x0C, 0x0C, 0x3F, 0x0C, 0x0C, 0x0C, 0x0C, 0x6C, 0x38, 0, 0, 0, 0}},
    {'y', {0, 0, 0, 0, 0, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x7E, 0x60, 0x30, 0x1F, 0}},
};

TEST(BitmapFontTest, GlyphsOfTheTextColumnMatchTheReferenceRows) {
  const BitmapFont8x16 font;
  for (const ReferenceGlyph& reference : kReferenceGlyphs) {
    EXPECT_EQ(font.Glyphs()[reference.code], reference.rows) << "code " << reference.code;
  }
}

// Cells of `buffer` differing from `background`, as (x, y).
std::vector<std::pair<int, int>> ChangedCells(const FrameBuffer& buffer, std::int16_t background) {
  std::vector<std::pair<int, int>> cells;
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      if (buffer.At(x, y) != background) cells.emplace_back(x, y);
    }
  }
  return cells;
}

TEST(BitmapFontTest, DrawCharPaintsSetBitsLeftmostFirstOverATransparentBackground) {
  const char* const kPictureOfA[16] = {
      "........", "........", "...#....", "..###...", ".##.##..", "##...##.",
      "##...##.", "#######.", "##...##.", "##...##.", "##...##.", "##...##.",
      "........", "........", "........", "........",
  };
  FrameBuffer buffer;
  buffer.Fill(kBackground);
  BitmapFont8x16().DrawChar(buffer, 100, 200, 'A', kInk);
  std::vector<std::pair<int, int>> inked;
  for (int column = 0; column < 8; ++column) {
    for (int row = 0; row < 16; ++row) {
      if (kPictureOfA[row][column] == '#') inked.emplace_back(100 + column, 200 + row);
    }
  }
  EXPECT_EQ(ChangedCells(buffer, kBackground), inked);
  EXPECT_EQ(buffer.At(103, 202), kInk);
}

TEST(BitmapFontTest, SpaceDrawsNothingAndUnderscoreIsAFullWidthLine) {
  const BitmapFont8x16 font;
  FrameBuffer buffer;
  buffer.Fill(kBackground);
  font.DrawChar(buffer, 10, 20, ' ', kInk);
  EXPECT_TRUE(ChangedCells(buffer, kBackground).empty());

  font.DrawChar(buffer, 10, 20, '_', kInk);
  const std::vector<std::pair<int, int>> line = {{10, 33}, {11, 33}, {12, 33}, {13, 33},
                                                 {14, 33}, {15, 33}, {16, 33}, {17, 33}};
  EXPECT_EQ(ChangedCells(buffer, kBackground), line);
}

// The full block (219) fills its whole cell, so what it changes is exactly the part of the cell
// inside the frame.
TEST(BitmapFontTest, DrawCharClipsAtTheFrameEdges) {
  struct Case {
    int x, y;
    int left, top, right, bottom;  // expected painted cells; empty when left > right
  };
  const Case kCases[] = {
      {0, 0, 0, 0, 7, 15},             // wholly inside
      {632, 464, 632, 464, 639, 479},  // touching the bottom-right corner
      {636, 100, 636, 100, 639, 115},  // columns 0..3 only
      {100, 470, 100, 470, 107, 479},  // rows 0..9 only
      {-3, 100, 0, 100, 4, 115},       // columns 3..7 only
      {100, -10, 100, 0, 107, 5},      // rows 10..15 only
      {636, 470, 636, 470, 639, 479},  // both edges
      {640, 0, 1, 0, 0, -1},           // wholly outside, on every side
      {-8, 0, 1, 0, 0, -1},
      {0, 480, 1, 0, 0, -1},
      {0, -16, 1, 0, 0, -1},
      {32767, 32767, 1, 0, 0, -1},
      {-32768, -32768, 1, 0, 0, -1},
  };
  const BitmapFont8x16 font;
  for (const Case& c : kCases) {
    FrameBuffer buffer;
    font.DrawChar(buffer, static_cast<std::int16_t>(c.x), static_cast<std::int16_t>(c.y), 219,
                  kInk);
    std::vector<std::pair<int, int>> expected;
    for (int x = c.left; x <= c.right; ++x) {
      for (int y = c.top; y <= c.bottom; ++y) expected.emplace_back(x, y);
    }
    EXPECT_EQ(ChangedCells(buffer, 0), expected) << "at " << c.x << "," << c.y;
  }
}

TEST(BitmapFontTest, DrawStringPlacesCharactersEdgeToEdge) {
  const BitmapFont8x16 font;
  const std::string text = "Lightning strikes";
  FrameBuffer drawn;
  font.DrawString(drawn, 500, 5, text, kInk);
  FrameBuffer expected;
  for (std::size_t i = 0; i < text.size(); ++i) {
    font.DrawChar(expected, static_cast<std::int16_t>(500 + 8 * i), 5,
                  static_cast<std::uint8_t>(text[i]), kInk);
  }
  EXPECT_TRUE(std::ranges::equal(drawn.Cells(), expected.Cells()));
  EXPECT_LE(ChangedCells(drawn, 0).back().first, 635);
}

TEST(BitmapFontTest, DrawStringTakesBytesAsUnsignedCodes) {
  const BitmapFont8x16 font;
  FrameBuffer drawn;
  font.DrawString(drawn, 0, 0, "\xDB\x9C", kInk);
  FrameBuffer expected;
  font.DrawChar(expected, 0, 0, 219, kInk);
  font.DrawChar(expected, 8, 0, 156, kInk);
  EXPECT_TRUE(std::ranges::equal(drawn.Cells(), expected.Cells()));
}

// A text far longer than the frame is cut at x = 639 and never comes back round on the left.
TEST(BitmapFontTest, LongStringIsCutAtTheRightEdge) {
  FrameBuffer buffer;
  BitmapFont8x16().DrawString(buffer, 500, 40, std::string(10000, '\xDB'), kInk);
  std::vector<std::pair<int, int>> expected;
  for (int x = 500; x <= 639; ++x) {
    for (int y = 40; y <= 55; ++y) expected.emplace_back(x, y);
  }
  EXPECT_EQ(ChangedCells(buffer, 0), expected);
}

}  // namespace
}  // namespace animark
