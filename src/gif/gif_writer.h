#pragma once
// An animated GIF89a stream of 640 x 480 pixels with one 16-entry global colour table. The writer
// keeps the stream's order itself: making it writes the head, the colour table and the
// extensions; then come the frames; WriteTrailer ends the stream.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "animark/version.h"
#include "gif/frame_changes.h"
#include "gif/lzw_encoder.h"
#include "image/frame_buffer.h"
#include "image/palette.h"
#include "platform/output_file.h"

namespace animark {

// What the stream carries before its first frame.
struct GifStreamHead {
  ColourTable colours;
  // One comment extension each, byte for byte in sub-blocks of at most 255 bytes; an empty text
  // writes nothing.
  std::span<const std::string_view> comments;
  // The looping extension: 0 loops for ever, 1..65535 repeats that often; -1 (play once) and
  // any other negative count write none.
  int loopCount = 0;
  // How many cells the frames show in each entry, roughly: with FrameEncoding::ChangesOnly the
  // stream's table holds only the entries counted above 0, the most used first. A frame must
  // show no entry counted 0. Whole frames carry the 16 entries as they are and ignore this.
  std::array<std::uint32_t, kColourTableEntries> entryUse{};
};

// How frames after the first are written: whole, as every frame was written before there was a
// choice; or as the rectangle of what changed, with unchanged cells in it transparent and every
// frame left in place for the next one (a far smaller stream that shows the same pictures).
enum class FrameEncoding { Whole, ChangesOnly };

class GifWriter;

// A frame on its way into the stream. GifWriter::Take fills it from the picture, in frame order on
// the thread that draws; Compress makes its image data, on any thread; GifWriter::Write puts it
// into the stream, in frame order. Its buffers are kept from one frame to the next.
class PendingFrame {
 public:
  // Compresses what Take filled in; the same frame always gives the same bytes.
  void Compress(LzwEncoder& encoder);

 private:
  friend class GifWriter;

  std::uint16_t delay_ = 0;
  bool changesOnly_ = false;  // a frame of the small stream, left in place under the next
  bool tryForms_ = false;     // a changed rectangle after the first frame: its forms are tried
  std::unique_ptr<FrameBuffer> picture_;  // the full stream's frame
  ChangedRectangle changed_;              // the small stream's frame
  FramePlace place_;                      // where the compressed image goes
  FramePatch formed_;
  std::vector<std::uint8_t> data_;  // the image data, from the clear code to the terminator
  std::vector<std::uint8_t> trial_;
};

class GifWriter {
 public:
  // The fixed credit text that every file carries in a comment extension.
  static constexpr std::string_view kCreditComment =
      "Made with Animark " ANIMARK_VERSION_TEXT
      ", which turns lightning strike records into animated maps. "
      "(c) 2001 Quellmar Software";

  // Writes signature, version and logical screen descriptor (13 bytes), the colour table (the
  // 16 entries of `head.colours`, 48 bytes, or with ChangesOnly those shown), the comment
  // extensions and the looping extension to `out`, which must outlive the writer.
  GifWriter(OutputFile& out, const GifStreamHead& head,
            FrameEncoding encoding = FrameEncoding::Whole);

  // One frame shown for `delay` hundredths of a second: graphic control block, image descriptor,
  // minimum code size 4, then the image data compressed by `encoder`. Whole, that is `frame`'s
  // every cell; with ChangesOnly, the first frame is whole and every later one the rectangle in
  // which `frame` differs from the frame before. Not after the trailer.
  void WriteFrame(std::uint16_t delay, LzwEncoder& encoder, const FrameBuffer& frame);

  // WriteFrame in three steps, for compressing frames on other threads: Take (in frame order, on
  // the thread that owns `frame`), PendingFrame::Compress (anywhere), Write (in frame order).
  void Take(std::uint16_t delay, const FrameBuffer& frame, PendingFrame& pending);
  void Write(const PendingFrame& pending);

  // The trailer byte that ends the stream; nothing more is written after it.
  void WriteTrailer();

 private:
  void WriteScreenAndColours(std::span<const RgbColour> colours, int sizeBits,
                             std::uint8_t background);
  void WriteCommentExtension(std::string_view text);
  void WriteLoopingExtension(int count);
  // The graphic control block and the image descriptor of a frame at `left`, `top`.
  void WriteFrameHead(std::uint16_t delay, bool keep, const FramePlace& place);

  OutputFile& out_;
  // Only with FrameEncoding::ChangesOnly: the picture shown so far.
  std::unique_ptr<FrameChanges> changes_;
  PendingFrame pending_;  // WriteFrame's
  bool firstFrame_ = true;
  bool ended_ = false;
};

}  // namespace animark
