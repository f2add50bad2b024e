#pragma once
// The plain GIF89a stream of a 640 x 480 animation, written through a byte sink in stream order:
// making the writer writes the head, the global colour table and the extensions; then come the
// frames, each exactly as it is handed over (place, transparency, disposal, image data);
// WriteTrailer ends the stream. What a frame holds is decided above it (see frame_stream.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "animark/version.h"
#include "gif/byte_sink.h"
#include "image/palette.h"

namespace animark {

// What the stream carries before its first frame.
struct GifStreamHead {
  // The global colour table: 2, 4, 8 or 16 entries.
  std::span<const RgbColour> colours;
  // One comment extension each, byte for byte in sub-blocks of at most 255 bytes; an empty text
  // writes nothing.
  std::span<const std::string_view> comments;
  // The looping extension: 0 loops for ever, 1..65535 repeats that often; -1 (play once) and
  // any other negative count write none.
  int loopCount = 0;
  std::uint8_t background = 0;  // the table's index of the background colour
};

// Where a frame's image lies on the screen and how its indices are read.
struct FramePlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // The index that leaves a cell as it was; none when every index stands for its colour.
  std::optional<std::uint8_t> transparent;
  int minimumCodeSize = 2;  // every index lies below 2 ^ minimumCodeSize
};

// A frame as the stream carries it.
struct PendingFrame {
  std::uint16_t delay = 0;  // hundredths of a second
  // Left in place under the next frame, which then draws only what it changes; otherwise the
  // frame gives no disposal.
  bool leaveInPlace = false;
  FramePlace place;
  std::vector<std::uint8_t> data;  // the image data, from the clear code to the terminator
};

class GifWriter {
 public:
  // The fixed credit text that every file carries in a comment extension.
  static constexpr std::string_view kCreditComment =
      "Made with Animark " ANIMARK_VERSION_TEXT
      ", which turns lightning strike records into animated maps. "
      "(c) 2001 Quellmar Software";

  // Writes signature, version and logical screen descriptor (13 bytes), the colour table, the
  // comment extensions and the looping extension to `out`, which must outlive the writer.
  GifWriter(ByteSink& out, const GifStreamHead& head);

  // The frame's graphic control block, image descriptor, minimum code size and image data. Not
  // after the trailer.
  void Write(const PendingFrame& frame);

  // The trailer byte that ends the stream; nothing more is written after it.
  void WriteTrailer();

 private:
  void Put(std::initializer_list<std::uint8_t> bytes);
  void WriteScreenAndColours(std::span<const RgbColour> colours, std::uint8_t background);
  void WriteCommentExtension(std::string_view text);
  void WriteLoopingExtension(int count);

  ByteSink& out_;
  bool ended_ = false;
};

}  // namespace animark
