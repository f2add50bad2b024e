#include "render/bitmap_font.h"

namespace animark {

void BitmapFont8x16::DrawChar(FrameBuffer& buffer, std::int16_t x, std::int16_t y,
                              std::uint8_t code, std::int16_t colour) const {
  const Glyph& glyph = kGlyphs[code];
  for (int row = 0; row < kGlyphHeight; ++row) {
    for (int column = 0; column < kGlyphWidth; ++column) {
      if ((glyph[row] >> column & 1) != 0 && FrameBuffer::Contains(x + column, y + row)) {
        buffer.At(x + column, y + row) = colour;
      }
    }
  }
}

void BitmapFont8x16::DrawString(FrameBuffer& buffer, std::int16_t x, std::int16_t y,
                                std::string_view text, std::int16_t colour) const {
  // Positions are reckoned in int so that a long text runs off the right edge instead of wrapping
  // round to negative 16-bit positions and reappearing on the left.
  int charX = x;
  for (const char c : text) {
    if (charX >= FrameBuffer::kWidth) break;
    // Fits: charX lies between x and 639.
    DrawChar(buffer, static_cast<std::int16_t>(charX), y, static_cast<std::uint8_t>(c), colour);
    charX += kGlyphWidth;
  }
}

}  // namespace animark
