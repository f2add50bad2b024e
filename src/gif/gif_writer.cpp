#include "gif/gif_writer.h"

#include <algorithm>
#include <cassert>
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

GifWriter::GifWriter(OutputFile& out, const GifStreamHead& head) : out_(out) {
  out_.Write("GIF89a", 6);
  PutScreenSize(out_);
  out_.PutByte(0xD3);  // a global table of 16 entries follows; 6 bits per primary; not sorted
  out_.PutByte(0x00);  // background colour index
  out_.PutByte(0x00);  // no aspect ratio given
  for (const RgbColour& colour : head.colours) {
    out_.PutByte(colour.red);
    out_.PutByte(colour.green);
    out_.PutByte(colour.blue);
  }
  for (const std::string_view comment : head.comments) WriteCommentExtension(comment);
  WriteLoopingExtension(head.loopCount);
}

void GifWriter::WriteCommentExtension(std::string_view text) {
  if (text.empty()) return;
  out_.PutByte(kExtensionIntroducer);
  out_.PutByte(kCommentLabel);
  // A length byte cannot count past 255, so a longer text continues in further sub-blocks.
  while (!text.empty()) {
    const std::size_t size = std::min(text.size(), kMaxSubBlockBytes);
    out_.PutByte(static_cast<std::uint8_t>(size));
    out_.Write(text.data(), size);
    text.remove_prefix(size);
  }
  out_.PutByte(kBlockTerminator);
}

void GifWriter::WriteLoopingExtension(int count) {
  if (count < 0) return;
  out_.PutByte(kExtensionIntroducer);
  out_.PutByte(kApplicationLabel);
  out_.PutByte(static_cast<std::uint8_t>(kLoopingApplication.size()));
  out_.Write(kLoopingApplication.data(), kLoopingApplication.size());
  out_.PutByte(0x03);  // a sub-block of 3 bytes:
  out_.PutByte(0x01);  // the loop count,
  out_.PutWord(static_cast<std::uint16_t>(count));
  out_.PutByte(kBlockTerminator);
}

void GifWriter::WriteFrame(std::uint16_t delay, LzwEncoder& encoder, const FrameBuffer& frame) {
  assert(!ended_);
  out_.PutByte(kExtensionIntroducer);
  out_.PutByte(kGraphicControlLabel);
  out_.PutByte(0x04);  // block size
  out_.PutByte(0x00);  // no disposal, no user input, no transparency
  out_.PutWord(delay);
  out_.PutByte(0x00);  // transparent index, not in force
  out_.PutByte(kBlockTerminator);

  out_.PutByte(kImageSeparator);
  out_.PutWord(0);  // left
  out_.PutWord(0);  // top
  PutScreenSize(out_);
  out_.PutByte(0x03);  // no local table, not interlaced
  out_.PutByte(0x04);  // minimum code size for 16 colours
  encoder.EncodeImage(frame, out_);
}

void GifWriter::WriteTrailer() {
  assert(!ended_);
  out_.PutByte(kTrailer);
  ended_ = true;
}

}  // namespace animark
