#include "gif/gif_writer.h"

#include <algorithm>
#include <cstddef>

namespace animark {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kBlockTerminator = 0x00;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::size_t kMaxSubBlockBytes = 255;
// The identifier under which viewers look for the loop count.
constexpr std::string_view kLoopingApplication = "NETSCAPE2.0";

void PutScreenSize(OutputFile& out) {
  out.PutWord(FrameBuffer::kWidth);
  out.PutWord(FrameBuffer::kHeight);
}

}  // namespace

void GifWriter::WriteStreamHead(OutputFile& out) {
  out.Write("GIF89a", 6);
  PutScreenSize(out);
  out.PutByte(0xD3);  // a global table of 16 entries follows; 6 bits per primary; not sorted
  out.PutByte(0x00);  // background colour index
  out.PutByte(0x00);  // no aspect ratio given
}

void GifWriter::WriteCommentExtension(OutputFile& out, std::string_view text) {
  if (text.empty()) return;
  out.PutByte(kExtensionIntroducer);
  out.PutByte(kCommentLabel);
  // A length byte cannot count past 255, so a longer text continues in further sub-blocks.
  while (!text.empty()) {
    const std::size_t size = std::min(text.size(), kMaxSubBlockBytes);
    out.PutByte(static_cast<std::uint8_t>(size));
    out.Write(text.data(), size);
    text.remove_prefix(size);
  }
  out.PutByte(kBlockTerminator);
}

void GifWriter::WriteLoopingExtension(OutputFile& out, int count) {
  if (count < 0) return;
  out.PutByte(kExtensionIntroducer);
  out.PutByte(kApplicationLabel);
  out.PutByte(static_cast<std::uint8_t>(kLoopingApplication.size()));
  out.Write(kLoopingApplication.data(), kLoopingApplication.size());
  out.PutByte(0x03);  // a sub-block of 3 bytes:
  out.PutByte(0x01);  // the loop count,
  out.PutWord(static_cast<std::uint16_t>(count));
  out.PutByte(kBlockTerminator);
}

void GifWriter::WriteFrame(OutputFile& out, std::uint16_t delay, LzwEncoder& encoder,
                           const FrameBuffer& frame) {
  out.PutByte(kExtensionIntroducer);
  out.PutByte(kGraphicControlLabel);
  out.PutByte(0x04);  // block size
  out.PutByte(0x00);  // no disposal, no user input, no transparency
  out.PutWord(delay);
  out.PutByte(0x00);  // transparent index, not in force
  out.PutByte(kBlockTerminator);

  out.PutByte(kImageSeparator);
  out.PutWord(0);  // left
  out.PutWord(0);  // top
  PutScreenSize(out);
  out.PutByte(0x03);  // no local table, not interlaced
  out.PutByte(0x04);  // minimum code size for 16 colours
  encoder.EncodeImage(frame, out);
}

void GifWriter::WriteTrailer(OutputFile& out) {
  out.PutByte(kTrailer);
}

}  // namespace animark
