#include "render/text_overlay.h"

#include <cstdint>
#include <string>

#include "image/palette.h"
#include "render/bitmap_font.h"

namespace animark {
namespace {

constexpr std::int16_t kTextLeft = 500;
// The frame time box; only DrawFrameTime draws into it.
constexpr std::int16_t kFrameTimeTop = 270;
constexpr std::int16_t kFrameTimeBottom = 300;
constexpr const char* kTimeOfDayPattern = "%H:%M:%S";

}  // namespace

void DrawTextBlock(FrameBuffer& buffer, const ExportSettings& settings) {
  const BitmapFont8x16 font;
  font.DrawString(buffer, kTextLeft, 5, "Lightning strikes", kLabelColour);
  font.DrawString(buffer, kTextLeft, 40, "From:", kLabelColour);
  font.DrawString(buffer, kTextLeft, 100, "To:", kLabelColour);
  font.DrawString(buffer, kTextLeft, 160, "Rate:", kLabelColour);
  font.DrawString(buffer, kTextLeft, 205, "Persistence:", kLabelColour);
  font.DrawString(buffer, kTextLeft, 250, "Display:", kLabelColour);

  font.DrawString(buffer, kTextLeft, 60, settings.periodStart.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextLeft, 75, settings.periodStart.Format(kTimeOfDayPattern),
                  kValueColour);
  font.DrawString(buffer, kTextLeft, 120, settings.periodEnd.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextLeft, 135, settings.periodEnd.Format(kTimeOfDayPattern),
                  kValueColour);
  font.DrawString(buffer, kTextLeft, 180,
                  std::to_string(settings.rateMinutesPerSecond) + " min/sec", kValueColour);
  font.DrawString(buffer, kTextLeft, 225, std::to_string(settings.persistenceMinutes) + " min",
                  kValueColour);
}

void DrawFrameTime(FrameBuffer& buffer, const DateTime& moment) {
  for (int x = kTextLeft; x < FrameBuffer::kWidth; ++x) {
    for (int y = kFrameTimeTop; y <= kFrameTimeBottom; ++y) buffer.At(x, y) = kFrameTimeBoxColour;
  }
  const BitmapFont8x16 font;
  font.DrawString(buffer, kTextLeft, kFrameTimeTop, moment.DayMonthYear(), kValueColour);
  font.DrawString(buffer, kTextLeft, 285, moment.Format(kTimeOfDayPattern), kValueColour);
}

}  // namespace animark
