#pragma once
// The static overlay round the detector: evenly spaced range rings, their distance labels in
// miles or kilometres, and the crosshairs at the map centre.

#include <cstdint>

#include "image/frame_buffer.h"

namespace animark {

// The rings of the map's range.
struct RangeRings {
  std::int32_t rangeMiles = 0;  // the outermost ring's distance
  std::int32_t count = 0;       // rings evenly spaced out to it; none below 1
  bool labelled = false;        // each ring's distance above its top
  bool kilometres = false;      // the labels in kilometres, converted from truncated miles
};

// Draws `rings.count` rings round the detector in colour 13, then, when labelled, their labels as
// opaque 13-on-0 boxes.
void DrawRangeRings(FrameBuffer& buffer, const RangeRings& rings);

// Sets the cells of one ring about (cx, cy) to `colour` in eight octant passes sharing one walk
// (not exactly symmetric). Cells outside the frame are skipped.
void DrawRing(FrameBuffer& buffer, int cx, int cy, int radius, std::int16_t colour);

// Sets the 21-cell vertical and horizontal lines through the detector's cell to 13.
void DrawCrosshairs(FrameBuffer& buffer);

}  // namespace animark
