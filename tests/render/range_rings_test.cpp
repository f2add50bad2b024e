#include "render/range_rings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

ExportSettings Settings(RangeIndex range, std::int32_t ringCount, std::int32_t labelRings,
                        std::int32_t units) {
  ExportSettings settings = DefaultExportSettings(DateTime::FromParts(2001, 1, 1, 0, 0, 0));
  settings.zoomRange = range;
  settings.ringCounts = {0, 0, 0};
  if (IsRangeIndex(range)) settings.ringCounts[range] = ringCount;
  settings.labelRings = labelRings;
  settings.units = units;
  settings.crosshairs = 1;  // the caller's business, never DrawRangeRings'
  return settings;
}

FrameBuffer Drawn(const ExportSettings& settings) {
  FrameBuffer buffer;
  buffer.Fill(kMapColour);
  DrawRangeRings(buffer, settings);
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
    RangeIndex range;
    std::int32_t count;
    std::vector<int> radii;
  };
  const Case kCases[] = {
      {0, 4, {59, 118, 177, 236}},
      {1, 3, {78, 157, 236}},
      {2, 1, {236}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(RadiiOnTheVerticalAxis(Drawn(Settings(c.range, c.count, 0, 0))), c.radii)
        << "range " << c.range << " count " << c.count;
  }
  // k * (236 / 21) rounds just below 236 for the outermost ring.
  EXPECT_EQ(RadiiOnTheVerticalAxis(Drawn(Settings(0, 21, 0, 0))).back(), 235);
}

TEST(RangeRingsTest, NothingIsDrawnWithoutRingsOrARange) {
  struct Case {
    RangeIndex range;
    std::int32_t count;
  };
  const Case kCases[] = {{0, 0}, {2, -5}, {-1, 4}, {3, 4}};
  for (const Case& c : kCases) {
    ExportSettings settings = Settings(c.range, c.count, 1, 1);
    settings.ringCounts = {c.count, c.count, c.count};
    EXPECT_EQ(std::ranges::count(Drawn(settings).Cells(), kMapColour), FrameBuffer::kCellCount)
        << "range " << c.range << " count " << c.count;
  }
}

// The 8x8 digits as the labels must show them, bit 7 leftmost.
constexpr std::uint8_t kDigitRows[10][8] = {
    {0x00, 0x3C, 0x42, 0x42, 0x42, 0x42, 0x42, 0x3C},
    {0x00, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02},
    {0x00, 0x3C, 0x02, 0x02, 0x3C, 0x40, 0x40, 0x3C},
    {0x00, 0x3C, 0x02, 0x02, 0x3C, 0x02, 0x02, 0x3C},
    {0x00, 0x42, 0x42, 0x42, 0x3C, 0x02, 0x02, 0x02},
    {0x00, 0x3C, 0x40, 0x40, 0x3C, 0x02, 0x02, 0x3C},
    {0x00, 0x3C, 0x40, 0x40, 0x3C, 0x42, 0x42, 0x3C},
    {0x00, 0x3C, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02},
    {0x00, 0x3C, 0x42, 0x42, 0x3C, 0x42, 0x42, 0x3C},
    {0x00, 0x3C, 0x42, 0x42, 0x3C, 0x02, 0x02, 0x3C},
};

struct Label {
  std::string text;
  int x0, y0;
};

// Paints `label` as an opaque box: character j over x0 + 8j + 1 .. x0 + 8j + 8, y0 .. y0 + 7.
void PaintLabel(FrameBuffer& buffer, const Label& label) {
  for (std::size_t j = 0; j < label.text.size(); ++j) {
    for (int row = 0; row < 8; ++row) {
      for (int column = 0; column < 8; ++column) {
        const bool set = (kDigitRows[label.text[j] - '0'][row] & (0x80 >> column)) != 0;
        buffer.At(label.x0 + 8 * static_cast<int>(j) + 1 + column, label.y0 + row) = set ? 13 : 0;
      }
    }
  }
}

TEST(RangeRingsTest, LabelsShowRingDistancesInTheChosenUnit) {
  struct Case {
    RangeIndex range;
    std::int32_t count;
    std::int32_t units;
    std::vector<Label> labels;
  };
  const Case kCases[] = {
      {0, 4, 0, {{"25", 238, 179}, {"50", 238, 120}, {"75", 238, 61}, {"100", 234, 1}}},
      {0, 4, -1, {{"25", 238, 179}, {"50", 238, 120}, {"75", 238, 61}, {"100", 234, 1}}},
      {0, 4, 1, {{"40", 238, 179}, {"80", 238, 120}, {"120", 234, 61}, {"160", 234, 1}}},
      {2, 3, 1, {{"160", 234, 159}, {"320", 234, 80}, {"480", 234, 1}}},
      // Kilometres convert the truncated mile values: 66 mi -> 105 km, not 106.
      {1, 3, 0, {{"66", 238, 159}, {"133", 234, 80}, {"200", 234, 1}}},
      {1, 3, 1, {{"105", 234, 159}, {"212", 234, 80}, {"320", 234, 1}}},
  };
  for (const Case& c : kCases) {
    FrameBuffer expected = Drawn(Settings(c.range, c.count, 0, c.units));
    for (const Label& label : c.labels) PaintLabel(expected, label);
    const FrameBuffer drawn = Drawn(Settings(c.range, c.count, 1, c.units));
    EXPECT_TRUE(std::ranges::equal(drawn.Cells(), expected.Cells()))
        << "range " << c.range << " count " << c.count << " units " << c.units;
  }
}

// With many rings the boxes overlap and the larger ring's label, drawn later, wins.
TEST(RangeRingsTest, LaterLabelsCoverEarlierOnes) {
  const FrameBuffer drawn = Drawn(Settings(2, 99, 1, 0));
  FrameBuffer expected = drawn;
  PaintLabel(expected, {"296", 234, 4});  // ring 98
  PaintLabel(expected, {"300", 234, 1});  // ring 99
  EXPECT_TRUE(std::ranges::equal(drawn.Cells(), expected.Cells()));
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
