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
  int char_x = x;
  for (const char c : text) {
    if (char_x >= FrameBuffer::kWidth) break;
    // Fits: char_x lies between x and 639.
    DrawChar(buffer, static_cast<std::int16_t>(char_x), y, static_cast<std::uint8_t>(c), colour);
    char_x += kGlyphWidth;
  }
}

}  // namespace animark
