#include "maps/picture_map.h"

#ifdef ANIMARK_HAVE_MAGICK
#include <Magick++.h>

#include <algorithm>
#include <array>
#include <map>
#endif

namespace animark {

#ifndef ANIMARK_HAVE_MAGICK

std::optional<PictureMap> MakePictureMap(const std::string&, std::string* reason) {
  *reason = "maps from pictures need the Linux build (with ImageMagick's Magick++).";
  return std::nullopt;
}

#else

namespace {

constexpr unsigned kQuantumMax = (1u << MAGICKCORE_QUANTUM_DEPTH) - 1;

std::uint8_t Channel(Magick::Quantum value) {
  return static_cast<std::uint8_t>((static_cast<unsigned>(value) * 255u + kQuantumMax / 2) /
                                   kQuantumMax);
}

}  // namespace

std::optional<PictureMap> MakePictureMap(const std::string& path, std::string* reason) {
  // Once per process, before the first picture.
  static const bool kInitialised = [] {
    Magick::InitializeMagick(nullptr);
    return true;
  }();
  (void)kInitialised;
  // Magick++ reports every failure by exception; they end here.
  try {
    Magick::Image source;
    source.quiet(true);
    source.read(path);
    // Stretched to the whole 640 x 480, whatever its proportions.
    Magick::Geometry exact(FrameBuffer::kWidth, FrameBuffer::kHeight);
    exact.aspect(true);
    source.resize(exact);
    // Laid on black, so that transparent parts do not take whatever colour they hide.
    Magick::Image image(Magick::Geometry(FrameBuffer::kWidth, FrameBuffer::kHeight),
                        Magick::Color("black"));
    image.composite(source, 0, 0, Magick::OverCompositeOp);
    image.quantizeColorSpace(Magick::sRGBColorspace);
    image.quantizeColors(kFirstFixedEntry);
    image.quantizeDither(false);
    image.quantize();
    image.modifyImage();
    const Magick::PixelPacket* pixels =
        image.getConstPixels(0, 0, FrameBuffer::kWidth, FrameBuffer::kHeight);
    PictureMap map;
    for (int entry = 0; entry < kFirstFixedEntry; ++entry) map.colours[entry] = {0, 0, 0};
    std::map<std::array<std::uint8_t, 3>, std::int16_t> entries;
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      for (int x = 0; x < FrameBuffer::kWidth; ++x) {
        const Magick::PixelPacket& pixel = pixels[y * FrameBuffer::kWidth + x];
        const std::array<std::uint8_t, 3> rgb = {Channel(pixel.red), Channel(pixel.green),
                                                 Channel(pixel.blue)};
        auto found = entries.find(rgb);
        if (found == entries.end()) {
          // Quantising leaves at most 13 colours; a 14th would be a library fault, shown as 0.
          const auto next = static_cast<std::int16_t>(entries.size());
          if (next >= kFirstFixedEntry) {
            map.picture.At(x, y) = 0;
            continue;
          }
          map.colours[next] = {rgb[0], rgb[1], rgb[2]};
          found = entries.emplace(rgb, next).first;
        }
        map.picture.At(x, y) = found->second;
      }
    }
    return map;
  } catch (const Magick::Exception& error) {
    *reason = error.what();
    return std::nullopt;
  }
}

#endif

}  // namespace animark
