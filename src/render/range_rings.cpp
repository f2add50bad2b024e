#include "render/range_rings.h"

#include <string>

#include "image/palette.h"
#include "image/picture_geometry.h"
#include "render/bitmap_font.h"

namespace animark {
namespace {

constexpr std::int16_t kLabelBackground = 0;
constexpr double kOutermostRadius = 236.0;
// Label boxes step up one row further per ring than the radii so they straddle the ring tops.
constexpr double kLabelSpan = 237.0;
constexpr int kLabelBaseY = 238;
constexpr int kCrosshairArm = 10;
constexpr double kKilometresPerMile = 1.6;

void SetCell(FrameBuffer& buffer, int x, int y, std::int16_t colour) {
  if (FrameBuffer::Contains(x, y)) buffer.At(x, y) = colour;
}

// Distance of ring k in the chosen unit: the truncated mile value, converted to kilometres when
// asked. 64-bit so that unchecked ring counts cannot overflow.
std::int64_t RingLabelValue(const RangeRings& rings, int k) {
  const std::int64_t miles = std::int64_t{rings.rangeMiles} * k / rings.count;
  if (!rings.kilometres) return miles;
  return static_cast<std::int64_t>(static_cast<double>(miles) * kKilometresPerMile);
}

// Paints `text` (decimal digits) with the 8x8 digit glyphs as one opaque box whose
// character j covers x0 + 8j + 1 .. x0 + 8j + 8, y0 .. y0 + 7.
void DrawRingLabel(FrameBuffer& buffer, const BitmapFont8x16& font, const std::string& text, int x0,
                   int y0) {
  for (std::size_t j = 0; j < text.size(); ++j) {
    const BitmapFont8x16::DigitGlyph& glyph = font.DigitGlyphs()[text[j] - '0'];
    const int right = x0 + 8 * static_cast<int>(j) + 8;
    for (int row = 0; row < BitmapFont8x16::kDigitSize; ++row) {
      for (int bit = 0; bit < 8; ++bit) {
        const bool set = (glyph[row] >> bit & 1) != 0;
        SetCell(buffer, right - bit, y0 + row, set ? kLabelColour : kLabelBackground);
      }
    }
  }
}

}  // namespace

void DrawRangeRings(FrameBuffer& buffer, const RangeRings& rings) {
  const int count = rings.count;
  if (count < 1) return;

  const double radiusStep = kOutermostRadius / count;
  for (int k = 1; k <= count; ++k) {
    DrawRing(buffer, kDetectorX, kDetectorY, static_cast<int>(k * radiusStep), kLabelColour);
  }
  if (!rings.labelled) return;

  const BitmapFont8x16 font;
  const double labelStep = kLabelSpan / count;
  for (int k = 1; k <= count; ++k) {
    const std::string text = std::to_string(RingLabelValue(rings, k));
    const int x0 = kDetectorX - 4 * static_cast<int>(text.size());
    const int y0 = kLabelBaseY - static_cast<int>(k * labelStep);
    DrawRingLabel(buffer, font, text, x0, y0);
  }
}

void DrawRing(FrameBuffer& buffer, int cx, int cy, int radius, std::int16_t colour) {
  // One walk state (x, y, f) runs through all eight octants in turn: even passes go from an axis
  // to the diagonal, odd passes back with their own rounding.
  struct Octant {
    bool swap;  // x runs down and y across
    int signX;
    int signY;
  };
  static constexpr Octant kOctants[8] = {{false, 1, 1},  {true, 1, 1},    {true, -1, 1},
                                         {false, -1, 1}, {false, -1, -1}, {true, -1, -1},
                                         {true, 1, -1},  {false, 1, -1}};
  int x = radius;
  int y = 0;
  int f = radius;
  for (int pass = 0; pass < 8; ++pass) {
    const Octant& octant = kOctants[pass];
    const auto set = [&] {
      SetCell(buffer, cx + octant.signX * (octant.swap ? y : x),
              cy + octant.signY * (octant.swap ? x : y), colour);
    };
    if (pass % 2 == 0) {
      f -= 2 * x;
      while (y <= x) {
        set();
        f += 2 * y + 1;
        ++y;
        if (f >= 0) {
          f -= 2 * x - 2;
          --x;
        }
      }
    } else {
      f += 2 * x;
      if (y < 0) continue;
      do {
        f -= 2 * y - 1;
        --y;
        if (f <= 0) {
          f += 2 * x + 2;
          ++x;
        }
        if (x != y) set();
      } while (y >= 0);
    }
  }
}

void DrawCrosshairs(FrameBuffer& buffer) {
  for (int d = -kCrosshairArm; d <= kCrosshairArm; ++d) {
    buffer.At(kDetectorX, kDetectorY + d) = kLabelColour;
  }
  for (int d = -kCrosshairArm; d <= kCrosshairArm; ++d) {
    buffer.At(kDetectorX + d, kDetectorY) = kLabelColour;
  }
}

}  // namespace animark
