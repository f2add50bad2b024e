#pragma once
// Background maps: a 640 x 480, 4-bit, uncompressed Windows 3.x BMP becomes the picture every frame
// starts from, and its colours (entries 0..12; 13..15 stay fixed) become the GIF's colour table.

#include <optional>
#include <string>

#include "image/frame_buffer.h"
#include "image/palette.h"

namespace animark {

// Why a map cannot be used, in the order the checks meet them.
enum class MapRefusalKind { NotOpened, NotBitmap, NotWin31, WrongSize, NotFourBit, Compressed };

struct MapRefusal {
  MapRefusalKind kind;
  std::string reason;  // the system's reason a file was not opened or read; empty otherwise
};

// What a load hands back: the colour table of a usable map, or why the map was refused.
struct MapLoad {
  ColourTable colours = kDefaultPalette;
  std::optional<MapRefusal> refusal;

  bool Usable() const { return !refusal; }
};

// A map loaded ahead of an export, for an export to start from without reading the file again.
struct LoadedMap {
  FrameBuffer picture;
  ColourTable colours = kDefaultPalette;
};

// Checks the BMP at `path`. Usable: sets every cell from the map and returns its colour table (map
// entries 0..12, then the fixed 13..15); bytes missing from a short file read as 0. Refused:
// changes no cell and returns the refusal. Shows and reports nothing itself.
MapLoad LoadBackgroundMap(const std::string& path, FrameBuffer& buffer);

}  // namespace animark
