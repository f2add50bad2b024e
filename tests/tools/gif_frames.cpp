// Writes what a viewer shows of each frame of a GIF, as giflib decodes it: the whole screen in
// 8-bit red, green and blue, row by row, frame after frame. The decoder check compares this with
// what other decoders make of the same file.

#include <cstdio>
#include <fstream>
#include <string>

#include "support/gif_decode.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s GIF OUT.rgb\n", argv[0]);
    return 2;
  }
  std::string error;
  const auto gif = animark::testing::DecodeGifFile(argv[1], &error);
  if (!gif) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  animark::testing::ViewerScreen screen(*gif);
  for (const auto& frame : gif->frames) {
    if (!screen.Show(frame)) {
      std::fprintf(stderr, "%s: a frame this check does not compose\n", argv[1]);
      return 1;
    }
    for (const auto& colour : screen.Colours()) {
      out.write(reinterpret_cast<const char*>(colour.data()), 3);
    }
  }
  return out ? 0 : 1;
}
