#pragma once
// Draws a made map: land and water filled cell by cell, then rivers, borders and shores as
// one-cell lines without smoothing, in a colour table that leaves the strikes and rings the
// brightest things on the picture.

#include <filesystem>
#include <string>

#include "image/frame_buffer.h"
#include "image/palette.h"
#include "maps/map_data.h"
#include "maps/map_projection.h"

namespace animark {

enum class MapStyle { Dark, Light };

// The entries a made map draws with; entries past kRiverEntry up to 12 stay black and unused.
inline constexpr std::int16_t kSeaEntry = 0;
inline constexpr std::int16_t kLandEntry = 1;
inline constexpr std::int16_t kShoreEntry = 2;
inline constexpr std::int16_t kNationalBorderEntry = 3;
inline constexpr std::int16_t kStateBorderEntry = 4;
inline constexpr std::int16_t kRiverEntry = 5;

// The colour table of `style` (entries 13..15 the program's fixed ones).
ColourTable MapStyleColours(MapStyle style);

// Every cell of the map of `data` seen through `projection`, as entries of MapStyleColours.
FrameBuffer DrawMap(const MapData& data, const MapProjection& projection);

// Cells (x, y) on the straight line from `from` to `to`, both ends included (Bresenham).
template <typename Visit>
void ForEachLineCell(int x0, int y0, int x1, int y1, Visit visit) {
  const int dx = x1 > x0 ? x1 - x0 : x0 - x1, sx = x0 < x1 ? 1 : -1;
  const int dy = y1 > y0 ? y0 - y1 : y1 - y0, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    visit(x0, y0);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

// The bytes of `picture` as the 640 x 480, 4-bit, uncompressed Windows 3.x BMP LoadBackgroundMap
// reads, with `colours` as its colour table.
std::string EncodeMapBitmap(const FrameBuffer& picture, const ColourTable& colours);

// Writes EncodeMapBitmap's bytes to `path` through a temporary file renamed into place, so that
// a failure leaves any old file untouched. False with the system's reason in `reason`.
bool WriteMapBitmap(const std::filesystem::path& path, const FrameBuffer& picture,
                    const ColourTable& colours, std::string* reason);

}  // namespace animark
