#include "gif/gif_writer.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>

#include "image/frame_buffer.h"

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

// The two bytes of a 16-bit field, low byte first.
constexpr std::uint8_t Low(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}
constexpr std::uint8_t High(int value) {
  return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::span<const std::uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

GifWriter::GifWriter(ByteSink& out, const GifStreamHead& head) : out_(out) {
  WriteScreenAndColours(head.colours, head.background);
  for (const std::string_view comment : head.comments) WriteCommentExtension(comment);
  WriteLoopingExtension(head.loopCount);
}

void GifWriter::Put(std::initializer_list<std::uint8_t> bytes) {
  out_.Write({bytes.begin(), bytes.size()});
}

void GifWriter::WriteScreenAndColours(std::span<const RgbColour> colours, std::uint8_t background) {
  assert(colours.size() >= 2 && colours.size() <= 16 && std::has_single_bit(colours.size()));
  const int sizeBits = std::countr_zero(colours.size());
  out_.Write(BytesOf("GIF89a"));
  // A global table of 2 ^ sizeBits entries follows; 6 bits per primary; not sorted. No aspect
  // ratio given.
  Put({Low(FrameBuffer::kWidth), High(FrameBuffer::kWidth), Low(FrameBuffer::kHeight),
       High(FrameBuffer::kHeight), static_cast<std::uint8_t>(0xD0 | (sizeBits - 1)), background,
       0x00});
  for (const RgbColour& colour : colours) Put({colour.red, colour.green, colour.blue});
}

void GifWriter::WriteCommentExtension(std::string_view text) {
  if (text.empty()) return;
  Put({kExtensionIntroducer, kCommentLabel});
  // A length byte cannot count past 255, so a longer text continues in further sub-blocks.
  while (!text.empty()) {
    const std::size_t size = std::min(text.size(), kMaxSubBlockBytes);
    Put({static_cast<std::uint8_t>(size)});
    out_.Write(BytesOf(text.substr(0, size)));
    text.remove_prefix(size);
  }
  Put({kBlockTerminator});
}

void GifWriter::WriteLoopingExtension(int count) {
  if (count < 0) return;
  Put({kExtensionIntroducer, kApplicationLabel,
       static_cast<std::uint8_t>(kLoopingApplication.size())});
  out_.Write(BytesOf(kLoopingApplication));
  // A sub-block of 3 bytes: 1, then the loop count.
  Put({0x03, 0x01, Low(count), High(count), kBlockTerminator});
}

void GifWriter::Write(const PendingFrame& frame) {
  assert(!ended_);
  const FramePlace& place = frame.place;
  // Disposal in bits 2 to 4 (0 none given, 1 leave in place), no user input, transparency in
  // bit 0. No local table, not interlaced; the low bits of the descriptor's last byte would size
  // a local table and are ignored.
  Put({kExtensionIntroducer, kGraphicControlLabel, 0x04,
       static_cast<std::uint8_t>((frame.leaveInPlace ? 0x04 : 0x00) |
                                 (place.transparent ? 0x01 : 0x00)),
       Low(frame.delay), High(frame.delay), place.transparent.value_or(0), kBlockTerminator,
       kImageSeparator, Low(place.left), High(place.left), Low(place.top), High(place.top),
       Low(place.width), High(place.width), Low(place.height), High(place.height), 0x03,
       static_cast<std::uint8_t>(place.minimumCodeSize)});
  out_.Write(frame.data);
}

void GifWriter::WriteTrailer() {
  assert(!ended_);
  Put({kTrailer});
  ended_ = true;
}

}  // namespace animark
