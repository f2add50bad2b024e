#include "render/text_overlay.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/palette.h"
#include "image/picture_geometry.h"
#include "render/bitmap_font.h"

namespace animark {
namespace {

// The frame time box; only DrawFrameTime draws into it.
constexpr std::int16_t kFrameTimeTop = 270;
constexpr std::int16_t kFrameTimeBottom = 300;
constexpr const char* kTimeOfDayPattern = "%H:%M:%S";

// The age legend and the strike count fill the free rows below the frame time.
constexpr std::int16_t kAgeLegendTop = 315;
constexpr std::int16_t kAgeLegendRowStep = 17;
constexpr int kAgeSquareSize = 8;
constexpr std::int16_t kAgeRangeLeft = kTextColumnLeft + 12;
constexpr std::int16_t kStrikeCountTop = 415;
constexpr std::int16_t kStrikeCountLeft = kTextColumnLeft + 9 * BitmapFont8x16::kGlyphWidth;
constexpr std::size_t kAgeRangeChars =
    (FrameBuffer::kWidth - kAgeRangeLeft) / BitmapFont8x16::kGlyphWidth;

// Up to two decimals, without trailing zeros.
std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string result = text;
  while (result.back() == '0') result.pop_back();
  if (result.back() == '.') result.pop_back();
  return result;
}

}  // namespace

std::vector<std::string> AgeBandRanges(std::int32_t persistenceMinutes) {
  if (persistenceMinutes <= 0) return {"0 min"};
  struct Unit {
    double minutes;
    const char* name;
  };
  std::vector<std::string> ranges;
  for (const Unit unit : {Unit{1, "min"}, Unit{60, "h"}, Unit{1440, "d"}}) {
    ranges.clear();
    const double length = persistenceMinutes / unit.minutes;
    for (int band = 0; band < kAgeBands; ++band) {
      ranges.push_back(Decimal(length * band / kAgeBands) + "-" +
                       Decimal(length * (band + 1) / kAgeBands));
    }
    ranges.back() += std::string(" ") + unit.name;
    if (ranges.back().size() <= kAgeRangeChars) break;
  }
  return ranges;
}

void DrawAgeLegend(FrameBuffer& buffer, std::int32_t persistenceMinutes) {
  const BitmapFont8x16 font;
  const std::vector<std::string> ranges = AgeBandRanges(persistenceMinutes);
  for (std::size_t band = 0; band < ranges.size(); ++band) {
    const int top = kAgeLegendTop + static_cast<int>(band) * kAgeLegendRowStep;
    const std::int16_t colour = kMarkKindEntries[static_cast<std::size_t>(kAgeBandKinds[band])];
    // The square sits on the text's middle rows, where the digits are.
    for (int x = kTextColumnLeft; x < kTextColumnLeft + kAgeSquareSize; ++x) {
      for (int y = top + 4; y < top + 4 + kAgeSquareSize; ++y) buffer.At(x, y) = colour;
    }
    font.DrawString(buffer, kAgeRangeLeft, static_cast<std::int16_t>(top), ranges[band],
                    kValueColour);
  }
  font.DrawString(buffer, kTextColumnLeft, kStrikeCountTop, "Strikes:", kLabelColour);
}

void DrawStrikeCount(FrameBuffer& buffer, std::int64_t count) {
  for (int x = kStrikeCountLeft; x < FrameBuffer::kWidth; ++x) {
    for (int y = kStrikeCountTop; y < kStrikeCountTop + BitmapFont8x16::kGlyphHeight; ++y) {
      buffer.At(x, y) = kFrameTimeBoxColour;
    }
  }
  const BitmapFont8x16 font;
  constexpr std::int64_t kMostShown = 99'999'999;
  const std::string text =
      count > kMostShown ? std::to_string(count / 1'000'000) + "M" : std::to_string(count);
  font.DrawString(buffer, kStrikeCountLeft, kStrikeCountTop, text, kValueColour);
}

void DrawTextBlock(FrameBuffer& buffer, const TextBlock& text) {
  const BitmapFont8x16 font;
  font.DrawString(buffer, kTextColumnLeft, 5, "Lightning strikes", kLabelColour);
  font.DrawString(buffer, kTextColumnLeft, 40, "From:", kLabelColour);
  font.DrawString(buffer, kTextColumnLeft, 100, "To:", kLabelColour);
  font.DrawString(buffer, kTextColumnLeft, 160, "Rate:", kLabelColour);
  font.DrawString(buffer, kTextColumnLeft, 205, "Persistence:", kLabelColour);
  font.DrawString(buffer, kTextColumnLeft, 250, "Display:", kLabelColour);

  font.DrawString(buffer, kTextColumnLeft, 60, text.periodStart.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 75, text.periodStart.Format(kTimeOfDayPattern),
                  kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 120, text.periodEnd.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 135, text.periodEnd.Format(kTimeOfDayPattern),
                  kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 180,
                  std::to_string(text.rateMinutesPerSecond) + " min/sec", kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 225, std::to_string(text.persistenceMinutes) + " min",
                  kValueColour);
}

void DrawFrameTime(FrameBuffer& buffer, const DateTime& moment) {
  for (int x = kTextColumnLeft; x < FrameBuffer::kWidth; ++x) {
    for (int y = kFrameTimeTop; y <= kFrameTimeBottom; ++y) buffer.At(x, y) = kFrameTimeBoxColour;
  }
  const BitmapFont8x16 font;
  font.DrawString(buffer, kTextColumnLeft, kFrameTimeTop, moment.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextColumnLeft, 285, moment.Format(kTimeOfDayPattern), kValueColour);
}

}  // namespace animark
