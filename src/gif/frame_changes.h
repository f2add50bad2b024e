#pragma once
// What a frame changes on the screen: the picture the frames so far have left, and for a new frame
// the smallest rectangle that holds every cell it changes. Inside the rectangle, cells that keep
// their colour are sent as a transparent index, which a viewer leaves as it was; long runs of it
// compress to little. This is how a small stream carries the same pictures as one that repeats
// every cell in every frame.
//
// Cells are sent as indices into a colour table of the stream's own order (see
// SmallColourTable): the entries that change most come first, so that many frames need only
// indices below 8 or 4, whose codes are a bit or two shorter.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gif/gif_writer.h"
#include "image/frame_buffer.h"
#include "image/palette.h"

namespace animark {

// The colour table of a small stream: the entries the frames show, the most used first, with one
// index to spare for transparency where the table has room for it.
struct SmallColourTable {
  // `use`: how many cells show each of the 16 entries of `colours`; entries used by none are
  // left out.
  SmallColourTable(std::span<const RgbColour> colours, const std::array<std::uint32_t, 16>& use);

  std::vector<RgbColour> colours;        // 2, 4, 8 or 16 entries
  std::array<std::uint8_t, 16> index{};  // by frame buffer entry: its index in `colours`, or 0
};

// A rectangle of the screen and its cells, row by row from the top.
struct FramePatch : FramePlace {
  std::vector<std::uint8_t> indices;  // width * height
};

// What a frame changes, in a form any thread can compress: the rectangle in its transparent form
// (the first frame: the whole screen, every cell in its colour) and the rectangle's new colours.
struct ChangedRectangle {
  FramePatch transparent;
  std::vector<std::uint8_t> colours;  // width * height, row by row

  // As FrameChanges::Changes leaves it, until CompleteRectangle: the rectangle's place and its
  // cells before and after, as the frame buffer holds them (column by column). The work per cell
  // is left to the thread that compresses.
  bool complete = true;
  std::vector<std::int16_t> before;
  std::vector<std::int16_t> after;
  std::array<std::uint8_t, 16> index{};  // the table's index of each frame buffer entry
  int tableSize = 16;
};

// Fills `changed.transparent` and `changed.colours` from the cells Changes left, where needed.
void CompleteRectangle(ChangedRectangle& changed);

// The ways of sending a changed rectangle; which compresses best depends on the frame.
// Transparent sends every unchanged cell as the transparent index. The gaps forms send short runs
// of unchanged cells between changed ones in a row (up to 3 or 8 cells) in their own colours,
// since transparency there breaks the strings around them. Opaque sends every cell in its colour,
// which suits small rectangles such as the frame time's alone.
enum class PatchForm { Transparent, ShortGapsFilled, GapsFilled, Opaque };

// `changed` in `form`, into `into` (whose buffer is reused).
void FormPatch(const ChangedRectangle& changed, PatchForm form, FramePatch& into);

// The picture the frames so far have left, and what each new frame changes on it. Frames come in
// order, on one thread.
class FrameChanges {
 public:
  explicit FrameChanges(const SmallColourTable& table);

  // The first frame: every cell, and the picture shown from now on.
  void Whole(const FrameBuffer& frame, ChangedRectangle& into);

  // A later frame: the rectangle of the cells in which `frame` differs from the picture shown,
  // and `frame` becomes the picture shown. A frame that changes nothing gives one transparent
  // cell, since every frame needs an image to carry its delay. Only the rectangle is found and
  // its cells copied here; CompleteRectangle does the rest, on any thread.
  void Changes(const FrameBuffer& frame, ChangedRectangle& into);

 private:
  std::array<std::uint8_t, 16> index_;  // by frame buffer entry
  int tableSize_;
  // The cells of the picture shown, as the frame buffer holds them (column by column), so that a
  // new frame is compared column by column at memory speed.
  std::vector<std::int16_t> shown_;
};

}  // namespace animark
