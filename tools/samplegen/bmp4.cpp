#include "bmp4.h"

namespace animark::samplegen {
namespace {

class LittleEndianBytes {
 public:
  explicit LittleEndianBytes(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Word(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value & 0xFF));
    Byte(static_cast<std::uint8_t>(value >> 8));
  }
  void DoubleWord(std::uint32_t value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
  }

 private:
  std::vector<std::uint8_t>& bytes_;
};

}  // namespace

std::vector<std::uint8_t> EncodeBmp4(const MapPixels& pixels, const Palette16& palette) {
  constexpr std::uint32_t kRowBytes = kMapWidth / 2;
  constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kBmp4FileBytes);
  LittleEndianBytes out(bytes);

  out.Byte('B');
  out.Byte('M');
  out.DoubleWord(kBmp4FileBytes);
  out.DoubleWord(0);  // reserved
  out.DoubleWord(kBmp4PixelOffset);

  out.DoubleWord(40);  // info header size
  out.DoubleWord(kMapWidth);
  out.DoubleWord(kMapHeight);  // positive: bottom row first
  out.Word(1);                 // planes
  out.Word(4);                 // bits per pixel
  out.DoubleWord(0);           // no compression
  out.DoubleWord(kRowBytes * kMapHeight);
  out.DoubleWord(kPixelsPerMetre);
  out.DoubleWord(kPixelsPerMetre);
  out.DoubleWord(16);  // colours used
  out.DoubleWord(16);  // colours important

  for (const Rgb& colour : palette) {
    out.Byte(colour.blue);
    out.Byte(colour.green);
    out.Byte(colour.red);
    out.Byte(0);
  }

  for (int y = kMapHeight - 1; y >= 0; --y) {
    const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * kMapWidth;
    for (int x = 0; x < kMapWidth; x += 2) {
      out.Byte(static_cast<std::uint8_t>(row[x] << 4 | row[x + 1]));
    }
  }
  return bytes;
}

}  // namespace animark::samplegen
