#pragma once
// Where things stand on the picture, the same in every frame: the detector's cell, the strike
// area round it and the text column at the right edge.

namespace animark {

// The detector's cell: the map centre, the centre of the rings and crosshairs and the origin of
// every strike's offsets.
inline constexpr int kDetectorX = 246;
inline constexpr int kDetectorY = 240;

// Strikes are marked in columns 0 to this one only (every row), the detector's column in the
// middle; the columns beyond are kept for the text column.
inline constexpr int kStrikeAreaLastColumn = 2 * kDetectorX;

// The left edge of every text of the text column.
inline constexpr int kTextColumnLeft = 500;

}  // namespace animark
