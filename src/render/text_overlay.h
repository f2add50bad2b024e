#pragma once
// The text column at the right edge of every frame: fixed labels and the export's period, rate
// and persistence, drawn once per export, and the frame's own moment, redrawn every frame.

#include <cstdint>
#include <string>
#include <vector>

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

// The minute ranges of the four age bands of a window of `persistenceMinutes`, newest first, each
// at most 16 characters ("0-15", "15-30", "30-45", "45-60 min" for 60): in minutes, else hours
// ("h") or days ("d") when minutes would be too long, with up to two decimals. A persistence of 0
// or less gives the one range "0 min".
std::vector<std::string> AgeBandRanges(std::int32_t persistenceMinutes);

// Draws, below the frame time, the age colours as small squares beside AgeBandRanges and the
// strike count's label "Strikes:".
void DrawAgeLegend(FrameBuffer& buffer, std::int32_t persistenceMinutes);

// Sets the strike count box (x 572..639, y 415..430) to the frame time box's colour, then draws
// `count` in it: up to 8 digits, or whole millions and "M" beyond, so that it fits the box.
void DrawStrikeCount(FrameBuffer& buffer, std::int64_t count);

// The colour of the box the frame time is drawn on, cleared in every frame.
inline constexpr std::int16_t kFrameTimeBoxColour = 0;

}  // namespace animark
