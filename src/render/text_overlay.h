#pragma once
// The text column at the right edge of every frame: fixed labels and the export's period, rate
// and persistence, drawn once per export, and the frame's own moment, redrawn every frame.

#include <cstdint>

#include "image/frame_buffer.h"
#include "time/date_time.h"

namespace animark {

// What the text column tells of an export.
struct TextBlock {
  DateTime periodStart;
  DateTime periodEnd;
  std::int32_t rateMinutesPerSecond = 0;
  std::int32_t persistenceMinutes = 0;
};

// Draws the title, the labels and the period, rate and persistence of `text` from x = 500.
void DrawTextBlock(FrameBuffer& buffer, const TextBlock& text);

// Sets the frame time box (x 500..639, y 270..300) to 0, then draws the date of `moment` at y 270
// and its time of day at y 285.
void DrawFrameTime(FrameBuffer& buffer, const DateTime& moment);

// The colour of the box the frame time is drawn on, cleared in every frame.
inline constexpr std::int16_t kFrameTimeBoxColour = 0;

}  // namespace animark
