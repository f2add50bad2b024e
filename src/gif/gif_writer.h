#pragma once
// The byte layout of an animated GIF89a stream of 640 x 480 pixels with one 16-entry global colour
// table: stream head, comment and looping extensions, frames and trailer. The caller writes the
// colour table right after the stream head and calls the operations in stream order.

#include <cstdint>
#include <string_view>

#include "gif/lzw_encoder.h"
#include "maps/frame_buffer.h"
#include "platform/output_file.h"

namespace animark {

class GifWriter {
 public:
  // The fixed credit text that every file carries in a comment extension.
  static constexpr std::string_view kCreditComment =
      "Made with Animark 1.0.0, which turns lightning strike records into animated maps. "
      "(c) 2001 Quellmar Software";

  // Signature, version and logical screen descriptor (13 bytes), announcing a 16-entry global
  // colour table that must follow.
  static void WriteStreamHead(OutputFile& out);

  // One comment extension holding `text` byte for byte, in sub-blocks of at most 255 bytes.
  // An empty text writes nothing.
  static void WriteCommentExtension(OutputFile& out, std::string_view text);

  // The looping application extension. `count` 0 loops for ever, 1..65535 repeats that often;
  // -1 (play once) writes nothing.
  static void WriteLoopingExtension(OutputFile& out, int count);

  // One full-screen frame shown for `delay` hundredths of a second: graphic control block, image
  // descriptor, minimum code size 4, then `frame` compressed by `encoder`.
  static void WriteFrame(OutputFile& out, std::uint16_t delay, LzwEncoder& encoder,
                         const FrameBuffer& frame);

  // The trailer byte that ends the stream.
  static void WriteTrailer(OutputFile& out);
};

}  // namespace animark
