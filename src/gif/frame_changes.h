#pragma once
// What a frame changes on the screen: the picture the frames so far have left, and for a new frame
// the smallest rectangle that holds every cell it changes. Inside the rectangle, cells that keep
// their colour are sent as a transparent entry, which a viewer leaves as it was; long runs of it
// compress to little. This is how a small stream carries the same pictures as one that repeats
// every cell in every frame.

#include <cstdint>
#include <optional>
#include <vector>

#include "image/frame_buffer.h"

namespace animark {

// A rectangle of the screen and its cells, row by row from the top.
struct FramePatch {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // The entry that leaves a cell as it was; none when the changed cells use all sixteen.
  std::optional<std::uint8_t> transparent;
  std::vector<std::uint8_t> entries;  // width * height
};

class FrameChanges {
 public:
  FrameChanges();

  // The first frame: every cell, and the picture shown from now on.
  const FramePatch& Whole(const FrameBuffer& frame);

  // A later frame: the rectangle of the cells in which `frame` differs from the picture shown, and
  // `frame` becomes the picture shown. A frame that changes nothing gives one transparent cell,
  // since every frame needs an image to carry its delay.
  const FramePatch& Changes(const FrameBuffer& frame);

 private:
  // Maps `frame` into current_, row by row.
  void Load(const FrameBuffer& frame);

  std::vector<std::uint8_t> shown_;    // the screen's entries, row by row
  std::vector<std::uint8_t> current_;  // the new frame's entries, row by row
  FramePatch patch_;
};

}  // namespace animark
