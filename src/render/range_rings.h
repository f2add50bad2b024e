#pragma once
// The static overlay round the detector: evenly spaced range rings, their distance labels in
// miles or kilometres, and the crosshairs at the map centre.

#include <cstdint>

#include "image/frame_buffer.h"
#include "settings/export_settings.h"

namespace animark {

// The detector's cell: centre of the rings and crosshairs.
inline constexpr int kMapCentreX = 246;
inline constexpr int kMapCentreY = 240;

// Draws the ring count of `settings.zoomRange` as rings in colour 13, then, when labelRings is 1,
// their labels as opaque 13-on-0 boxes. Nothing for a count below 1 or a zoomRange outside 0..2.
void DrawRangeRings(FrameBuffer& buffer, const ExportSettings& settings);

// Sets the cells of one ring about (cx, cy) to `colour` in eight octant passes sharing one walk
// (not exactly symmetric). Cells outside the frame are skipped.
void DrawRing(FrameBuffer& buffer, int cx, int cy, int radius, std::int16_t colour);

// Sets the 21-cell vertical and horizontal lines through the map centre to 13.
void DrawCrosshairs(FrameBuffer& buffer);

}  // namespace animark
