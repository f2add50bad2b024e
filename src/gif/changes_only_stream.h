#pragma once
// The small stream: the first frame whole, then each frame as the rectangle of what it changes on
// the picture the frames before it left, in whichever form of that rectangle compresses best
// (see frame_changes.h), every frame left in place under the next. Its colour table holds only
// the entries the frames show, the most used first. A viewer shows the same pictures as from the
// whole frames, in a far smaller stream.

#include <array>
#include <cstdint>
#include <memory>

#include "gif/frame_changes.h"
#include "gif/frame_stream.h"

namespace animark {

class ChangesOnlyStream final : public FrameStream {
 public:
  // `head.colours` holds the frame buffer's 16 entries and `head.background` one of them; `use`
  // counts, roughly, how many cells show each entry, and a frame must show no entry counted 0.
  // The stream's table holds the entries counted above 0, and its background is the same colour.
  ChangesOnlyStream(ByteSink& out, const GifStreamHead& head,
                    const std::array<std::uint32_t, kColourTableEntries>& use);

  std::unique_ptr<FrameJob> NewJob() override;

 private:
  class Job;

  ChangesOnlyStream(ByteSink& out, const GifStreamHead& head, const SmallColourTable& table);

  // What `picture` changes on the screen, into `into`; the first picture changes every cell.
  // In frame order.
  void TakeChanges(const FrameBuffer& picture, ChangedRectangle& into);

  FrameChanges changes_;
  bool firstFrame_ = true;
};

}  // namespace animark
