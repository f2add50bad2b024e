#pragma once
// Colour tables and background maps: the GIF's 16-entry global colour table comes either from the
// background map of the chosen range (which also fills the frame buffer) or from a fixed default.
// Entries 13..15 are the same in every table because the overlays draw with them.

#include <array>
#include <cstdint>
#include <string>

#include "maps/frame_buffer.h"
#include "platform/output_file.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"

namespace animark {

struct RgbColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline constexpr int kColourTableEntries = 16;
using ColourTable = std::array<RgbColour, kColourTableEntries>;

// Entries 13 (rings, crosshairs, labels), 14 (strikes) and 15 (changing texts).
inline constexpr int kFirstFixedEntry = 13;
inline constexpr std::array<RgbColour, 3> kFixedColours = {
    {{0, 125, 109}, {255, 255, 0}, {255, 255, 255}}};

// The colours used when no map is loaded.
inline constexpr ColourTable kDefaultPalette = {{{0, 0, 0},
                                                 {129, 0, 0},
                                                 {0, 129, 0},
                                                 {129, 129, 0},
                                                 {0, 0, 129},
                                                 {129, 0, 129},
                                                 {0, 129, 129},
                                                 {194, 194, 194},
                                                 {129, 129, 129},
                                                 {255, 0, 0},
                                                 {0, 255, 0},
                                                 {255, 255, 0},
                                                 {0, 0, 255},
                                                 kFixedColours[0],
                                                 kFixedColours[1],
                                                 kFixedColours[2]}};

// Writes kDefaultPalette as the 48-byte colour table: red, green, blue per entry, entry 0 first.
void WriteDefaultPalette(OutputFile& out);

// Lowers every cell above 15 by 16, taking out the strike marks of the frame just written.
void ClearStrikeMarks(FrameBuffer& buffer);

// Checks the 640 x 480, 4-bit, uncompressed BMP at `path` for range 0..2 (100, 200, 300 miles).
// Usable: writes the 48-byte colour table (map entries 0..12, then the fixed 13..15), puts
// "Adding bitmap..." into the status line, sets every cell from the map and returns true; bytes
// missing from a short file read as 0. Refused: shows one message with the stop icon, writes
// nothing, changes no cell and returns false. A range outside 0..2 is refused without a message.
bool LoadBackgroundMap(int range, const std::string& path, OutputFile& out, FrameBuffer& buffer,
                       UserMessages& messages, ProgressWindow& progress);

}  // namespace animark
