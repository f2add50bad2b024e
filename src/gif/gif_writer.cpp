#include "gif/gif_writer.h"

#include <algorithm>
#include <cstddef>

namespace animark {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kBlockTerminator = 0x00;
constexpr std::size_t kMaxSubBlockBytes = 255;

}  // namespace

void GifWriter::WriteStreamHead(OutputFile& out) {
  static constexpr std::uint8_t kHead[] = {
      'G',  'I', 'F', '8', '9', 'a', 0x80, 0x02, 0xE0, 0x01,  // 640 x 480
      0xD3,  // global table of 16 entries, 6 bits per primary
      0x00,  // background colour index
      0x00,  // no aspect ratio given
  };
  out.Write(kHead, sizeof kHead);
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
  static constexpr std::uint8_t kHead[] = {
      kExtensionIntroducer,
      0xFF,
      0x0B,  // application extension, 11 identifier bytes
      'N',
      'E',
      'T',
      'S',
      'C',
      'A',
      'P',
      'E',
      '2',
      '.',
      '0',
      0x03,
      0x01,  // 3-byte sub-block holding the loop count
  };
  out.Write(kHead, sizeof kHead);
  out.PutWord(static_cast<std::uint16_t>(count));
  out.PutByte(kBlockTerminator);
}

void GifWriter::WriteFrame(OutputFile& out, std::uint16_t delay, LzwEncoder& encoder,
                           const FrameBuffer& frame) {
  static constexpr std::uint8_t kControlHead[] = {
      kExtensionIntroducer, 0xF9, 0x04,  // graphic control block of 4 bytes
      0x00,                              // no disposal, no user input, no transparency
  };
  static constexpr std::uint8_t kImageHead[] = {
      0x00,  // transparent index, not in force
      kBlockTerminator,
      0x2C,  // image separator
      0x00,
      0x00,
      0x00,
      0x00,  // at the top left
      0x80,
      0x02,
      0xE0,
      0x01,  // 640 x 480, the whole screen
      0x03,  // no local table, not interlaced
      0x04,  // minimum code size for 16 colours
  };
  out.Write(kControlHead, sizeof kControlHead);
  out.PutWord(delay);
  out.Write(kImageHead, sizeof kImageHead);
  encoder.EncodeImage(frame, out);
}

void GifWriter::WriteTrailer(OutputFile& out) {
  out.PutByte(0x3B);
}

}  // namespace animark
