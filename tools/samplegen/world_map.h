#pragma once
// The sample background maps: one invented landscape around the detector (a sea coast to the
// east, a large lake to the northwest and small ones nearby, rivers, a state line, roads and
// towns), drawn at the scale strikes are plotted at, so the three ranges are zooms of the same
// ground. Colours are muted so that strikes and rings stand out.

#include <cstdint>
#include <string>
#include <vector>

#include "bmp4.h"

namespace animark::samplegen {

inline constexpr int kMapRangeCount = 3;
// The map uses palette indices up to this one; the entries above belong to the overlays.
inline constexpr std::uint8_t kLastMapColour = 12;
// Columns from here on hold the text column and are left index 0 (the dark background).
inline constexpr int kTextColumnStart = 493;

// "map100.bmp", "map200.bmp" or "map300.bmp" for range 0, 1 or 2.
std::string MapFileName(int rangeIndex);

// The map of range 0, 1 or 2 (100, 200, 300 miles from the centre to the top edge).
MapPixels DrawMap(int rangeIndex, std::uint32_t worldSeed);

// DrawMap with the maps' palette, as a BMP file.
std::vector<std::uint8_t> MapBmpBytes(int rangeIndex, std::uint32_t worldSeed);

}  // namespace animark::samplegen
