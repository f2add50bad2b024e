#pragma once
// 640 x 480 pictures of 16 colours, written as uncompressed 4-bit Windows 3.x BMP files.

#include <array>
#include <cstdint>
#include <vector>

namespace animark::samplegen {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};
using Palette16 = std::array<Rgb, 16>;

inline constexpr int kMapWidth = 640;
inline constexpr int kMapHeight = 480;
inline constexpr int kBmp4PixelOffset = 14 + 40 + 16 * 4;
inline constexpr int kBmp4FileBytes = kBmp4PixelOffset + kMapWidth / 2 * kMapHeight;

// Palette indices 0..15, row-major, top row first: pixel (x, y) is element y * 640 + x.
using MapPixels = std::vector<std::uint8_t>;

// 14-byte file header, 40-byte info header, the palette as blue-green-red-zero, then the rows
// bottom row first, two pixels a byte with the left one in the high four bits. `pixels` holds
// 640 x 480 values below 16.
std::vector<std::uint8_t> EncodeBmp4(const MapPixels& pixels, const Palette16& palette);

}  // namespace animark::samplegen
