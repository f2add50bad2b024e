#include "render/text_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "render/bitmap_font.h"

namespace animark {
namespace {

constexpr std::int16_t kMapColour = 3;

// The text the picture shows from (left, y) in `colour`: each 8 x 16 cell read back as the
// printable character whose glyph its `colour` cells show ('?' where none), trailing blanks
// dropped.
std::string ShownText(const FrameBuffer& buffer, int y, std::int16_t colour, int left = 500) {
  const BitmapFont8x16 font;
  std::string text;
  for (int x = left; x + BitmapFont8x16::kGlyphWidth <= FrameBuffer::kWidth;
       x += BitmapFont8x16::kGlyphWidth) {
    BitmapFont8x16::Glyph shown{};
    for (int row = 0; row < BitmapFont8x16::kGlyphHeight; ++row) {
      for (int column = 0; column < BitmapFont8x16::kGlyphWidth; ++column) {
        if (buffer.At(x + column, y + row) == colour) {
          shown[row] = static_cast<std::uint8_t>(shown[row] | 1 << column);
        }
      }
    }
    char shownChar = '?';
    for (char c = ' '; c <= '~'; ++c) {
      if (font.Glyphs()[static_cast<std::uint8_t>(c)] == shown) {
        shownChar = c;
        break;
      }
    }
    text += shownChar;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Whether every cell left of the text column still holds the map.
bool MapLeftAlone(const FrameBuffer& buffer) {
  return std::ranges::all_of(buffer.Cells().first(FrameBuffer::Index(500, 0)),
                             [](std::int16_t cell) { return cell == kMapColour; });
}

TEST(TextOverlayTest, TextBlockShowsLabelsAndThePeriodRateAndPersistence) {
  struct Case {
    TextBlock text;
    std::string startDate, startTime, endDate, endTime, rate, persistence;
  };
  const Case kCases[] = {
      {{DateTime::FromParts(2001, 1, 1, 0, 0, 0), DateTime::FromParts(2001, 3, 8, 9, 5, 0), 60, 60},
       "1-1-2001",
       "00:00:00",
       "8-3-2001",
       "09:05:00",
       "60 min/sec",
       "60 min"},
      {{DateTime::FromParts(1999, 12, 31, 23, 59, 59), DateTime::FromParts(2000, 2, 29, 12, 30, 7),
        65535, 0},
       "31-12-1999",
       "23:59:59",
       "29-2-2000",
       "12:30:07",
       "65535 min/sec",
       "0 min"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.startDate);
    FrameBuffer drawn;
    drawn.Fill(kMapColour);
    DrawTextBlock(drawn, c.text);
    const struct {
      int y;
      std::string text;
      std::int16_t colour;
    } lines[] = {
        {5, "Lightning strikes", 13}, {40, "From:", 13},        {60, c.startDate, 15},
        {75, c.startTime, 15},        {100, "To:", 13},         {120, c.endDate, 15},
        {135, c.endTime, 15},         {160, "Rate:", 13},       {180, c.rate, 15},
        {205, "Persistence:", 13},    {225, c.persistence, 15}, {250, "Display:", 13},
    };
    for (const auto& line : lines) EXPECT_EQ(ShownText(drawn, line.y, line.colour), line.text);
    EXPECT_EQ(ShownText(drawn, 270, 15), "");
    EXPECT_TRUE(MapLeftAlone(drawn));
  }
}

TEST(TextOverlayTest, FrameTimeClearsItsBoxAndRedrawsOnlyThere) {
  FrameBuffer drawn;
  drawn.Fill(kMapColour);
  DrawFrameTime(drawn, DateTime::FromParts(2022, 12, 28, 18, 48, 58));
  DrawFrameTime(drawn, DateTime::FromParts(2001, 1, 1, 9, 5, 0));

  EXPECT_EQ(ShownText(drawn, 270, 15), "1-1-2001");
  EXPECT_EQ(ShownText(drawn, 285, 15), "09:05:00");
  for (int x = 500; x < FrameBuffer::kWidth; ++x) {
    for (int y = 270; y <= 300; ++y) {
      ASSERT_TRUE(drawn.At(x, y) == 0 || drawn.At(x, y) == 15) << x << "," << y;
    }
  }
  // Nothing outside the box's 140 x 31 cells.
  EXPECT_EQ(std::ranges::count(drawn.Cells(), kMapColour), FrameBuffer::kCellCount - 140 * 31);
}

TEST(TextOverlayTest, AgeBandRangesFitTheColumnInTheShortestUnit) {
  const std::pair<std::int32_t, std::vector<std::string>> cases[] = {
      {60, {"0-15", "15-30", "30-45", "45-60 min"}},
      {20, {"0-5", "5-10", "10-15", "15-20 min"}},
      {10, {"0-2.5", "2.5-5", "5-7.5", "7.5-10 min"}},
      {1, {"0-0.25", "0.25-0.5", "0.5-0.75", "0.75-1 min"}},
      {1440, {"0-360", "360-720", "720-1080", "1080-1440 min"}},
      {65535, {"0-273.06", "273.06-546.12", "546.12-819.19", "819.19-1092.25 h"}},
      {0, {"0 min"}},
      {-5, {"0 min"}},
  };
  for (const auto& [persistence, ranges] : cases) {
    EXPECT_EQ(AgeBandRanges(persistence), ranges) << persistence;
  }
}

// The legend and the count go in the rows below the frame time, over no other text.
TEST(TextOverlayTest, AgeLegendAndStrikeCountFillOnlyTheFreeRowsBelowTheFrameTime) {
  const TextBlock block{DateTime::FromParts(2001, 1, 1, 0, 0, 0),
                        DateTime::FromParts(2001, 1, 1, 9, 0, 0), 10, 60};
  const DateTime moment = DateTime::FromParts(2001, 1, 1, 5, 0, 0);
  FrameBuffer plain;
  plain.Fill(kMapColour);
  DrawTextBlock(plain, block);
  DrawFrameTime(plain, moment);
  FrameBuffer drawn = plain;
  DrawAgeLegend(drawn, 60);
  DrawStrikeCount(drawn, 12345678);
  DrawStrikeCount(drawn, 7);
  DrawFrameTime(drawn, moment);
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      if (drawn.At(x, y) != plain.At(x, y)) {
        ASSERT_TRUE(x >= 500 && y > 300) << x << "," << y;
      }
    }
  }
  const struct {
    int y;
    std::int16_t square;
    std::string range;
  } rows[] = {{315, 15, "0-15"}, {332, 14, "15-30"}, {349, 11, "30-45"}, {366, 12, "45-60 min"}};
  for (const auto& row : rows) {
    EXPECT_EQ(ShownText(drawn, row.y, 15, 512), row.range);
    for (int x = 500; x < 508; ++x) {
      for (int y = row.y + 4; y < row.y + 12; ++y) EXPECT_EQ(drawn.At(x, y), row.square);
    }
  }
  // "Strikes:" in the label colour, the count after it in the value colour, the longer count
  // before it gone.
  EXPECT_EQ(ShownText(drawn, 415, 13), "Strikes:");
  EXPECT_EQ(ShownText(drawn, 415, 15), "         7");
  DrawStrikeCount(drawn, 1'234'567'890);
  EXPECT_EQ(ShownText(drawn, 415, 15), "         1234M");
}

}  // namespace
}  // namespace animark
