#pragma once
// Helpers for the GIF tests: frames with the kinds of content the encoder meets.

#include <cstdint>

#include "image/frame_buffer.h"

namespace animark::testing {

// The palette index a cell is sent as: marked cells as 14.
std::uint8_t MappedCell(std::int16_t cell);

// Bands of a few colours, a ring, a text column and strike marks (cells of 16 and more).
FrameBuffer MapLikeFrame();
// Every cell a random index 0..15: the dictionary fills quickly and starts again many times.
FrameBuffer NoiseFrame(std::uint32_t seed);
// Runs of random colours and lengths: strings of every size, as in real pictures.
FrameBuffer RandomRunsFrame();

}  // namespace animark::testing
