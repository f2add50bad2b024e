#include "render/text_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap_font.h"

namespace animark {
namespace {

constexpr std::int16_t kMapColour = 3;

struct Line {
  int y;
  std::string text;
  std::int16_t colour;
};

// The picture `lines` make when drawn over a map-coloured buffer.
FrameBuffer Picture(const std::vector<Line>& lines) {
  FrameBuffer buffer;
  buffer.Fill(kMapColour);
  const BitmapFont8x16 font;
  for (const Line& line : lines) {
    font.DrawString(buffer, 500, static_cast<std::int16_t>(line.y), line.text, line.colour);
  }
  return buffer;
}

// First differing cell as "x,y: got/expected", or empty.
std::string FirstDifference(const FrameBuffer& got, const FrameBuffer& expected) {
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      if (got.At(x, y) != expected.At(x, y)) {
        return std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(got.At(x, y)) +
               "/" + std::to_string(expected.At(x, y));
      }
    }
  }
  return {};
}

TEST(TextOverlayTest, TextBlockShowsLabelsAndThePeriodRateAndPersistence) {
  struct Case {
    DateTime start, end;
    std::int32_t rate, persistence;
    std::string startDate, startTime, endDate, endTime, rateText, persistenceText;
  };
  const Case kCases[] = {
      {DateTime::FromParts(2001, 1, 1, 0, 0, 0), DateTime::FromParts(2001, 3, 8, 9, 5, 0), 60, 60,
       "1-1-2001", "00:00:00", "8-3-2001", "09:05:00", "60 min/sec", "60 min"},
      {DateTime::FromParts(1999, 12, 31, 23, 59, 59), DateTime::FromParts(2000, 2, 29, 12, 30, 7),
       65535, 0, "31-12-1999", "23:59:59", "29-2-2000", "12:30:07", "65535 min/sec", "0 min"},
  };
  for (const Case& c : kCases) {
    ExportSettings settings = DefaultExportSettings(c.start);
    settings.periodStart = c.start;
    settings.periodEnd = c.end;
    settings.rateMinutesPerSecond = c.rate;
    settings.persistenceMinutes = c.persistence;
    FrameBuffer drawn;
    drawn.Fill(kMapColour);
    DrawTextBlock(drawn, settings);

    const FrameBuffer expected = Picture({
        {5, "Lightning strikes", 13},
        {40, "From:", 13},
        {60, c.startDate, 15},
        {75, c.startTime, 15},
        {100, "To:", 13},
        {120, c.endDate, 15},
        {135, c.endTime, 15},
        {160, "Rate:", 13},
        {180, c.rateText, 15},
        {205, "Persistence:", 13},
        {225, c.persistenceText, 15},
        {250, "Display:", 13},
    });
    EXPECT_EQ(FirstDifference(drawn, expected), "") << c.startDate;
  }
}

TEST(TextOverlayTest, FrameTimeClearsItsBoxAndRedrawsOnlyThere) {
  FrameBuffer drawn;
  drawn.Fill(kMapColour);
  DrawFrameTime(drawn, DateTime::FromParts(2022, 12, 28, 18, 48, 58));
  DrawFrameTime(drawn, DateTime::FromParts(2001, 1, 1, 9, 5, 0));

  FrameBuffer expected;
  expected.Fill(kMapColour);
  for (int x = 500; x <= 639; ++x) {
    for (int y = 270; y <= 300; ++y) expected.At(x, y) = 0;
  }
  const BitmapFont8x16 font;
  font.DrawString(expected, 500, 270, "1-1-2001", 15);
  font.DrawString(expected, 500, 285, "09:05:00", 15);
  EXPECT_EQ(FirstDifference(drawn, expected), "");
}

}  // namespace
}  // namespace animark
