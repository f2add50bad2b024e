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

}  // namespace

GifWriter::GifWriter(OutputFile& out, const GifStreamHead& head, FrameEncoding encoding)
    : out_(out) {
  if (encoding == FrameEncoding::ChangesOnly) {
    const SmallColourTable table(head.colours, head.entryUse);
    // The background colour stays the colour of entry 0.
    WriteScreenAndColours(table.colours, table.sizeBits, head.entryUse[0] > 0 ? table.index[0] : 0);
    changes_ = std::make_unique<FrameChanges>(table);
  } else {
    WriteScreenAndColours(head.colours, 4, 0);
  }
  for (const std::string_view comment : head.comments) WriteCommentExtension(comment);
  WriteLoopingExtension(head.loopCount);
}

void GifWriter::WriteScreenAndColours(std::span<const RgbColour> colours, int sizeBits,
                                      std::uint8_t background) {
  out_.Write("GIF89a", 6);
  out_.PutWord(FrameBuffer::kWidth);
  out_.PutWord(FrameBuffer::kHeight);
  // A global table of 2 ^ sizeBits entries follows; 6 bits per primary; not sorted.
  out_.PutByte(static_cast<std::uint8_t>(0xD0 | (sizeBits - 1)));
  out_.PutByte(background);
  out_.PutByte(0x00);  // no aspect ratio given
  for (const RgbColour& colour : colours) {
    out_.PutByte(colour.red);
    out_.PutByte(colour.green);
    out_.PutByte(colour.blue);
  }
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
  Take(delay, frame, pending_);
  pending_.Compress(encoder);
  Write(pending_);
}

void GifWriter::Take(std::uint16_t delay, const FrameBuffer& frame, PendingFrame& pending) {
  assert(!ended_);
  pending.delay_ = delay;
  pending.changesOnly_ = changes_ != nullptr;
  pending.tryForms_ = changes_ && !firstFrame_;
  if (!changes_) {
    if (!pending.picture_) pending.picture_ = std::make_unique<FrameBuffer>();
    *pending.picture_ = frame;
  } else if (firstFrame_) {
    changes_->Whole(frame, pending.changed_);
  } else {
    changes_->Changes(frame, pending.changed_);
  }
  firstFrame_ = false;
}

void PendingFrame::Compress(LzwEncoder& encoder) {
  if (!changesOnly_) {
    place_ = {0, 0, FrameBuffer::kWidth, FrameBuffer::kHeight, std::nullopt, 4};
    encoder.EncodeImage(*picture_, data_);
    return;
  }
  CompleteRectangle(changed_);
  if (!tryForms_) {
    place_ = changed_.transparent;
    encoder.EncodeIndices(changed_.transparent.indices, place_.minimumCodeSize, data_);
    return;
  }
  // Which form of the rectangle compresses best depends on the frame, so the likely ones are each
  // tried and the shortest kept; a small rectangle costs little to try in every form.
  constexpr std::size_t kSmallPatch = 8 * 1024;
  const bool small = changed_.colours.size() <= kSmallPatch;
  bool first = true;
  for (const PatchForm form : {PatchForm::ShortGapsFilled, PatchForm::GapsFilled,
                               PatchForm::Transparent, PatchForm::Opaque}) {
    if (!small && (form == PatchForm::Transparent || form == PatchForm::Opaque)) continue;
    FormPatch(changed_, form, formed_);
    encoder.EncodeIndices(formed_.indices, formed_.minimumCodeSize, trial_);
    if (first || trial_.size() < data_.size()) {
      std::swap(data_, trial_);
      place_ = formed_;
      first = false;
    }
  }
}

void GifWriter::Write(const PendingFrame& pending) {
  assert(!ended_);
  // Every frame of the small stream stays in place under the next, which draws only what changes.
  WriteFrameHead(pending.delay_, pending.changesOnly_, pending.place_);
  out_.Write(pending.data_.data(), pending.data_.size());
}

void GifWriter::WriteFrameHead(std::uint16_t delay, bool keep, const FramePlace& place) {
  out_.PutByte(kExtensionIntroducer);
  out_.PutByte(kGraphicControlLabel);
  out_.PutByte(0x04);  // block size
  // Disposal in bits 2 to 4 (0 none given, 1 leave in place), no user input, transparency in bit 0.
  out_.PutByte(static_cast<std::uint8_t>((keep ? 0x04 : 0x00) | (place.transparent ? 0x01 : 0x00)));
  out_.PutWord(delay);
  out_.PutByte(place.transparent.value_or(0));
  out_.PutByte(kBlockTerminator);

  out_.PutByte(kImageSeparator);
  out_.PutWord(static_cast<std::uint16_t>(place.left));
  out_.PutWord(static_cast<std::uint16_t>(place.top));
  out_.PutWord(static_cast<std::uint16_t>(place.width));
  out_.PutWord(static_cast<std::uint16_t>(place.height));
  // No local table, not interlaced; the low bits would size a local table and are ignored.
  out_.PutByte(0x03);
  out_.PutByte(static_cast<std::uint8_t>(place.minimumCodeSize));
}

void GifWriter::WriteTrailer() {
  assert(!ended_);
  out_.PutByte(kTrailer);
  ended_ = true;
}

}  // namespace animark
