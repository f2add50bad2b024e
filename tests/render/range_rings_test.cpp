#include "render/range_rings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "render/bitmap_font.h"

namespace animark {
namespace {

using Cell = std::pair<int, int>;

constexpr std::int16_t kMapColour = 4;

std::set<Cell> CellsOf(const FrameBuffer& buffer, std::int16_t colour) {
  std::set<Cell> cells;
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      if (buffer.At(x, y) == colour) cells.emplace(x, y);
    }
  }
  return cells;
}

std::set<Cell> RingOffsets(int radius) {
  FrameBuffer buffer;
  DrawRing(buffer, 246, 240, radius, 13);
  std::set<Cell> offsets;
  for (const auto& [x, y] : CellsOf(buffer, 13)) offsets.emplace(x - 246, y - 240);
  return offsets;
}

TEST(RangeRingsTest, RingCellsFollowTheOctantWalk) {
  const std::set<Cell> kRadius2 = {{-2, -1}, {-2, 0}, {-2, 1}, {2, -1}, {2, 0}, {2, 1},
                                   {-1, -2}, {0, -2}, {1, -2}, {-1, 2}, {0, 2}, {1, 2}};
  EXPECT_EQ(RingOffsets(2), kRadius2);

  // Not mirror-symmetric: the passes back from the diagonals round their own way.
  const std::set<Cell> kRadius4 = {
      {-2, -4}, {-1, -4}, {0, -4}, {1, -4},  //
      {-3, -3}, {2, -3},  {3, -3},           //
      {-3, -2}, {4, -2},                     //
      {-4, -1}, {4, -1},                     //
      {-4, 0},  {4, 0},                      //
      {-4, 1},  {4, 1},                      //
      {-4, 2},  {3, 2},                      //
      {-3, 3},  {-2, 3},  {3, 3},            //
      {-1, 4},  {0, 4},   {1, 4},  {2, 4},
  };
  EXPECT_EQ(RingOffsets(4), kRadius4);

  EXPECT_EQ(RingOffsets(236).size(), 1336u);
}

TEST(RangeRingsTest, RingIsCutAtTheFrameEdgeInsteadOfWritingOutside) {
  const std::set<Cell> whole = RingOffsets(10);
  for (const Cell& centre : {Cell{3, 2}, Cell{636, 477}, Cell{-5, 240}}) {
    FrameBuffer buffer;
    DrawRing(buffer, centre.first, centre.second, 10, 13);
    std::set<Cell> expected;
    for (const auto& [dx, dy] : whole) {
      if (FrameBuffer::Contains(centre.first + dx, centre.second + dy)) {
        expected.emplace(centre.first + dx, centre.second + dy);
      }
    }
    EXPECT_EQ(CellsOf(buffer, 13), expected) << centre.first << "," << centre.second;
  }
}

FrameBuffer Drawn(const RangeRings& rings) {
  FrameBuffer buffer;
  buffer.Fill(kMapColour);
  DrawRangeRings(buffer, rings);
  return buffer;
}

// Distances above the centre at which column 246 is ring-coloured: one per ring radius.
std::vector<int> RadiiOnTheVerticalAxis(const FrameBuffer& buffer) {
  std::vector<int> radii;
  for (int y = 239; y >= 0; --y) {
    if (buffer.At(246, y) == 13) radii.push_back(240 - y);
  }
  return radii;
}

TEST(RangeRingsTest, RingsDivideTheRangeEvenly) {
  struct Case {
    std::int32_t rangeMiles;
    std::int32_t count;
    std::vector<int> radii;
  };
  const Case kCases[] = {
      {100, 4, {59, 118, 177, 236}},
      {200, 3, {78, 157, 236}},
      {300, 1, {236}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(RadiiOnTheVerticalAxis(Drawn({c.rangeMiles, c.count, false, false})), c.radii)
        << c.rangeMiles << " miles, " << c.count << " rings";
  }
  // k * (236 / 21) rounds just below 236 for the outermost ring.
  EXPECT_EQ(RadiiOnTheVerticalAxis(Drawn({100, 21, false, false})).back(), 235);
}

TEST(RangeRingsTest, NothingIsDrawnWithoutRings) {
  for (const std::int32_t count : {0, -5}) {
    EXPECT_EQ(std::ranges::count(Drawn({100, count, true, true}).Cells(), kMapColour),
              FrameBuffer::kCellCount)
        << count;
  }
}

struct Label {
  std::string text;
  int x0, y0;
};

// The cells of `label`'s box: character j over x0 + 8j + 1 .. x0 + 8j + 8, y0 .. y0 + 7.
std::vector<Cell> BoxOf(const Label& label) {
  std::vector<Cell> cells;
  for (int x = label.x0 + 1; x <= label.x0 + 8 * static_cast<int>(label.text.size()); ++x) {
    for (int y = label.y0; y < label.y0 + 8; ++y) cells.emplace_back(x, y);
  }
  return cells;
}

// The digits the picture shows in `label`'s box, each read back as the font's digit its 13-on-0
// cells show, '?' where they show none.
std::string ShownText(const FrameBuffer& buffer, const Label& label) {
  const BitmapFont8x16 font;
  std::string text;
  for (std::size_t j = 0; j < label.text.size(); ++j) {
    BitmapFont8x16::DigitGlyph shown{};
    bool opaque = true;
    for (int row = 0; row < 8; ++row) {
      for (int column = 0; column < 8; ++column) {
        const std::int16_t cell =
            buffer.At(label.x0 + 8 * static_cast<int>(j) + 1 + column, label.y0 + row);
        opaque = opaque && (cell == 0 || cell == 13);
        if (cell == 13) shown[row] = static_cast<std::uint8_t>(shown[row] | 0x80 >> column);
      }
    }
    const auto digit = std::ranges::find(font.DigitGlyphs(), shown);
    text += opaque && digit != font.DigitGlyphs().end()
                ? static_cast<char>('0' + (digit - font.DigitGlyphs().begin()))
                : '?';
  }
  return text;
}

TEST(RangeRingsTest, LabelsShowRingDistancesInTheChosenUnit) {
  struct Case {
    std::int32_t rangeMiles;
    std::int32_t count;
    bool kilometres;
    std::vector<Label> labels;
  };
  const Case kCases[] = {
      {100, 4, false, {{"25", 238, 179}, {"50", 238, 120}, {"75", 238, 61}, {"100", 234, 1}}},
      {100, 4, true, {{"40", 238, 179}, {"80", 238, 120}, {"120", 234, 61}, {"160", 234, 1}}},
      {300, 3, true, {{"160", 234, 159}, {"320", 234, 80}, {"480", 234, 1}}},
      // Kilometres convert the truncated mile values: 66 mi -> 105 km, not 106.
      {200, 3, false, {{"66", 238, 159}, {"133", 234, 80}, {"200", 234, 1}}},
      {200, 3, true, {{"105", 234, 159}, {"212", 234, 80}, {"320", 234, 1}}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(::testing::Message() << c.rangeMiles << " miles, " << c.count << " rings, "
                                      << (c.kilometres ? "km" : "mi"));
    const FrameBuffer unlabelled = Drawn({c.rangeMiles, c.count, false, c.kilometres});
    const FrameBuffer drawn = Drawn({c.rangeMiles, c.count, true, c.kilometres});
    // Outside the label boxes the labels change nothing.
    FrameBuffer outside = drawn;
    for (const Label& label : c.labels) {
      EXPECT_EQ(ShownText(drawn, label), label.text);
      for (const auto& [x, y] : BoxOf(label)) outside.At(x, y) = unlabelled.At(x, y);
    }
    EXPECT_TRUE(std::ranges::equal(outside.Cells(), unlabelled.Cells()));
  }

  // A digit's own cells at a known place: the "1" of "100" is one column of seven cells under an
  // empty row, on the box's background over the outermost ring.
  const FrameBuffer drawn = Drawn({100, 4, true, false});
  for (const auto& [x, y] : BoxOf({"1", 234, 1})) {
    EXPECT_EQ(drawn.At(x, y), x == 241 && y >= 2 ? 13 : 0) << x << "," << y;
  }
}

// With many rings the boxes overlap and the larger ring's label, drawn later, wins.
TEST(RangeRingsTest, LaterLabelsCoverEarlierOnes) {
  const FrameBuffer drawn = Drawn({300, 99, true, false});
  EXPECT_EQ(ShownText(drawn, {"300", 234, 1}), "300");  // ring 99 over ring 98's "296" at y 4
}

TEST(RangeRingsTest, CrosshairsAreTwoLinesThroughTheCentre) {
  FrameBuffer buffer;
  buffer.Fill(kMapColour);
  DrawCrosshairs(buffer);
  std::set<Cell> expected;
  for (int d = -10; d <= 10; ++d) {
    expected.emplace(246, 240 + d);
    expected.emplace(246 + d, 240);
  }
  EXPECT_EQ(CellsOf(buffer, 13), expected);
  EXPECT_EQ(std::ranges::count(buffer.Cells(), kMapColour), FrameBuffer::kCellCount - 41);
}

}  // namespace
}  // namespace animark
