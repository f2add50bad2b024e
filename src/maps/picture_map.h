#pragma once
// A background map from any picture (PNG, JPEG, GIF, TIFF, BMP...): scaled to 640 x 480 and
// reduced to the 13 colours a map may use.

#include <optional>
#include <string>

#include "image/frame_buffer.h"
#include "image/palette.h"

namespace animark {

struct PictureMap {
  FrameBuffer picture;  // entries 0..12 only
  ColourTable colours = kDefaultPalette;
};

// Reads the picture at `path` (its first frame; transparent parts become black), stretches it
// to 640 x 480 and reduces it to at most 13 colours without dithering. Empty, with the reason in
// `reason`, when the picture cannot be read or this build has no picture library.
std::optional<PictureMap> MakePictureMap(const std::string& path, std::string* reason);

}  // namespace animark
