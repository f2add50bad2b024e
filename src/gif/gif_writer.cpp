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

GifWriter::GifWriter(OutputFile& out, const GifStreamHead& head, FrameEncoding encoding)
    : out_(out),
      changes_(encoding == FrameEncoding::ChangesOnly ? std::make_unique<FrameChanges>()
                                                      : nullptr) {
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
  if (!changes_) {
    WriteFrameHead(delay, false, std::nullopt, 0, 0, FrameBuffer::kWidth, FrameBuffer::kHeight);
    encoder.EncodeImage(frame, out_);
    return;
  }
  const FramePatch& patch = firstFrame_ ? changes_->Whole(frame) : changes_->Changes(frame);
  firstFrame_ = false;
  // Every frame stays in place under the next, which draws only what changes.
  WriteFrameHead(delay, true, patch.transparent, patch.left, patch.top, patch.width, patch.height);
  encoder.EncodeIndices(patch.entries, out_);
}

void GifWriter::WriteFrameHead(std::uint16_t delay, bool keep,
                               std::optional<std::uint8_t> transparent, int left, int top,
                               int width, int height) {
  out_.PutByte(kExtensionIntroducer);
  out_.PutByte(kGraphicControlLabel);
  out_.PutByte(0x04);  // block size
  // Disposal in bits 2 to 4 (0 none given, 1 leave in place), no user input, transparency in bit 0.
  out_.PutByte(static_cast<std::uint8_t>((keep ? 0x04 : 0x00) | (transparent ? 0x01 : 0x00)));
  out_.PutWord(delay);
  out_.PutByte(transparent.value_or(0));
  out_.PutByte(kBlockTerminator);

  out_.PutByte(kImageSeparator);
  out_.PutWord(static_cast<std::uint16_t>(left));
  out_.PutWord(static_cast<std::uint16_t>(top));
  out_.PutWord(static_cast<std::uint16_t>(width));
  out_.PutWord(static_cast<std::uint16_t>(height));
  out_.PutByte(0x03);  // no local table, not interlaced
  out_.PutByte(0x04);  // minimum code size for 16 colours
}

void GifWriter::WriteTrailer() {
  assert(!ended_);
  out_.PutByte(kTrailer);
  ended_ = true;
}

}  // namespace animark
