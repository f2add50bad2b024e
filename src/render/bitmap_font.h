#pragma once
// The built-in 8x16 font (code page 850 VGA glyphs) and the 8x8 digits of the ring labels,
// drawn straight into the frame buffer so the text looks the same on every machine.

#include <array>
#include <cstdint>
#include <string_view>

#include "image/frame_buffer.h"

namespace animark {

class BitmapFont8x16 {
 public:
  static constexpr int kGlyphWidth = 8;
  static constexpr int kGlyphHeight = 16;
  static constexpr int kDigitSize = 8;

  // Row bytes top row first; bit c is the pixel c columns right of the left edge.
  using Glyph = std::array<std::uint8_t, kGlyphHeight>;
  using GlyphTable = std::array<Glyph, 256>;
  // Row bytes top row first; bit 7 is the leftmost pixel.
  using DigitGlyph = std::array<std::uint8_t, kDigitSize>;
  using DigitTable = std::array<DigitGlyph, 10>;

  // Glyph n is the picture of character code n.
  const GlyphTable& Glyphs() const { return kGlyphs; }
  // Glyph d is the digit d.
  const DigitTable& DigitGlyphs() const { return kDigitGlyphs; }

  // Sets the cells of the glyph's set pixels, top-left corner at (x, y), to `colour`; clear pixels
  // and pixels outside the frame are left alone.
  void DrawChar(FrameBuffer& buffer, std::int16_t x, std::int16_t y, std::uint8_t code,
                std::int16_t colour) const;
  // Draws every byte of `text` as its glyph, the i-th at (x + 8i, y); no line breaking.
  void DrawString(FrameBuffer& buffer, std::int16_t x, std::int16_t y, std::string_view text,
                  std::int16_t colour) const;

 private:
  static const GlyphTable kGlyphs;  // generated, in font_glyphs.cpp
  static constexpr DigitTable kDigitGlyphs = {{
      {0x00, 0x3C, 0x42, 0x42, 0x42, 0x42, 0x42, 0x3C},
      {0x00, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02},
      {0x00, 0x3C, 0x02, 0x02, 0x3C, 0x40, 0x40, 0x3C},
      {0x00, 0x3C, 0x02, 0x02, 0x3C, 0x02, 0x02, 0x3C},
      {0x00, 0x42, 0x42, 0x42, 0x3C, 0x02, 0x02, 0x02},
      {0x00, 0x3C, 0x40, 0x40, 0x3C, 0x02, 0x02, 0x3C},
      {0x00, 0x3C, 0x40, 0x40, 0x3C, 0x42, 0x42, 0x3C},
      {0x00, 0x3C, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02},
      {0x00, 0x3C, 0x42, 0x42, 0x3C, 0x42, 0x42, 0x3C},
      {0x00, 0x3C, 0x42, 0x42, 0x3C, 0x02, 0x02, 0x3C},
  }};
};

}  // namespace animark
