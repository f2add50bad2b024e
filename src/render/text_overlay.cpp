#include "render/text_overlay.h"

#include <cstdint>
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

}  // namespace

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
