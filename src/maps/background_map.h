#pragma once
// Background maps: a 640 x 480, 4-bit, uncompressed Windows 3.x BMP becomes the picture every frame
// starts from, and its colours (entries 0..12; 13..15 stay fixed) become the GIF's colour table.

#include <optional>
#include <string>

#include "image/frame_buffer.h"
#include "image/palette.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"

namespace animark {

// Checks the BMP at `path` for range 0..2 (100, 200, 300 miles).
// Usable: puts "Adding bitmap..." into the status line, sets every cell from the map and returns
// its colour table (map entries 0..12, then the fixed 13..15); bytes missing from a short file
// read as 0. Refused: shows one message with the stop icon, changes no cell and returns nothing.
// A range outside 0..2 is refused without a message.
std::optional<ColourTable> LoadBackgroundMap(int range, const std::string& path,
                                             FrameBuffer& buffer, UserMessages& messages,
                                             ProgressWindow& progress);

}  // namespace animark
