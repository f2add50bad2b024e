#include "gif/lzw_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "gif/frame_stream.h"
#include "gif_test_util.h"

namespace animark::testing {
namespace {

constexpr int kClearCode = 16;
constexpr int kEndCode = 17;
constexpr int kCodesPerDictionary = 4096 - 18 + 1;  // codes that make entries 18 .. 4096

std::vector<std::uint8_t> Encode(LzwEncoder& encoder, const FrameBuffer& frame) {
  std::vector<std::uint8_t> data;
  encoder.EncodeImage(frame, data);
  return data;
}

std::vector<std::uint8_t> Encode(const FrameBuffer& frame) {
  LzwEncoder encoder;
  return Encode(encoder, frame);
}

struct SubBlocks {
  std::vector<int> sizes;
  std::vector<std::uint8_t> data;
};

// Splits image data into its sub-blocks; expects exactly one terminator, at the very end.
SubBlocks ReadSubBlocks(const std::vector<std::uint8_t>& bytes) {
  SubBlocks blocks;
  std::size_t at = 0;
  while (at < bytes.size() && bytes[at] != 0) {
    const int size = bytes[at++];
    EXPECT_LE(at + size, bytes.size()) << "sub-block runs past the data";
    if (at + size > bytes.size()) return blocks;
    blocks.sizes.push_back(size);
    blocks.data.insert(blocks.data.end(), bytes.begin() + at, bytes.begin() + at + size);
    at += size;
  }
  EXPECT_EQ(at + 1, bytes.size()) << "the terminator must be the last byte";
  return blocks;
}

// The codes as a standard decoder reads them: it widens its codes once its own next entry number
// passes 2^width, and starts again at 5 bits after each clear code.
struct CodeStream {
  std::vector<int> codes;
  std::vector<int> widths;
  std::size_t bitCount = 0;  // bits up to and including the end code
  int restarts = 0;          // clear codes after the first
};

CodeStream ReadCodes(const std::vector<std::uint8_t>& data) {
  CodeStream stream;
  int width = 5;
  int running = 18;
  std::size_t bit = 0;
  while (bit + width <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= (data[bit / 8] >> (bit % 8) & 1) << i;
    stream.codes.push_back(code);
    stream.widths.push_back(width);
    if (code == kEndCode) break;
    if (running < 4097 && ++running > (1 << width) && width < 12) ++width;
    if (code == kClearCode) {
      if (stream.codes.size() > 1) ++stream.restarts;
      width = 5;
      running = 18;
    }
  }
  stream.bitCount = bit;
  return stream;
}

// Checks the sub-block framing, the code sequence and the padding after the end code.
void ExpectWellFormed(const std::vector<std::uint8_t>& encoded, CodeStream* out = nullptr) {
  const SubBlocks blocks = ReadSubBlocks(encoded);
  ASSERT_FALSE(blocks.sizes.empty());
  for (std::size_t i = 0; i + 1 < blocks.sizes.size(); ++i) ASSERT_EQ(blocks.sizes[i], 255) << i;

  const CodeStream stream = ReadCodes(blocks.data);
  ASSERT_GE(stream.codes.size(), 3u);
  EXPECT_EQ(stream.codes.front(), kClearCode);
  EXPECT_EQ(stream.widths.front(), 5);
  ASSERT_EQ(stream.codes.back(), kEndCode);

  std::size_t sinceClear = 0;
  for (std::size_t i = 1; i + 1 < stream.codes.size(); ++i) {
    const int code = stream.codes[i];
    if (code == kClearCode) {
      // The step that makes entry 4096: its code and the clear both still 12 bits wide, then a
      // fresh dictionary at 5 bits.
      EXPECT_EQ(sinceClear, static_cast<std::size_t>(kCodesPerDictionary)) << "code " << i;
      EXPECT_EQ(stream.widths[i - 1], 12) << "code " << i;
      EXPECT_EQ(stream.widths[i], 12) << "code " << i;
      EXPECT_EQ(stream.widths[i + 1], 5) << "code " << i;
      sinceClear = 0;
      continue;
    }
    ++sinceClear;
    // Only single pixels or strings the decoder has made (or is making: code = next entry).
    const int limit = sinceClear == 1 ? 15 : 16 + static_cast<int>(sinceClear);
    ASSERT_TRUE(code < kClearCode || (code > kEndCode && code <= limit)) << "code " << i;
  }

  // After the end code: one byte that holds the last bits, or the bytes of a whole zero code
  // (two when the pending bits and the width reach 16), and only zero bits.
  const std::size_t pending = stream.bitCount % 8;
  const int width = stream.widths.back();
  const std::size_t paddingBytes = pending == 0 ? 0 : (pending + width >= 16 ? 2 : 1);
  EXPECT_EQ(blocks.data.size(), stream.bitCount / 8 + paddingBytes);
  for (std::size_t bit = stream.bitCount; bit < blocks.data.size() * 8; ++bit) {
    ASSERT_EQ(blocks.data[bit / 8] >> (bit % 8) & 1, 0) << "padding bit " << bit;
  }
  if (out) *out = stream;
}

// The compressor written plainly, step by step, with a map for the dictionary and the length
// byte of each sub-block patched in place: what the fast encoder must match byte for byte.
std::vector<std::uint8_t> ReferenceEncode(const FrameBuffer& frame) {
  std::vector<std::uint8_t> out;
  std::map<std::pair<int, int>, int> dictionary;
  std::uint32_t accumulator = 0;
  int pending = 0;
  int width = 5;
  std::size_t lengthAt = 0;
  int inBlock = 255;
  const auto putByte = [&](std::uint8_t byte) {
    if (inBlock == 255) {
      lengthAt = out.size();
      out.push_back(0);
      inBlock = 0;
    }
    out.push_back(byte);
    out[lengthAt] = static_cast<std::uint8_t>(++inBlock);
  };
  const auto putCode = [&](int code) {
    accumulator += static_cast<std::uint32_t>(code) << pending;
    for (pending += width; pending >= 8; pending -= 8, accumulator >>= 8) {
      putByte(static_cast<std::uint8_t>(accumulator));
    }
  };
  putCode(kClearCode);
  int nextCode = 18;
  int threshold = 32;
  int prefix = MappedCell(frame.At(0, 0));
  for (int y = 0; y < FrameBuffer::kHeight; ++y) {
    for (int x = y == 0 ? 1 : 0; x < FrameBuffer::kWidth; ++x) {
      const int pixel = MappedCell(frame.At(x, y));
      if (const auto found = dictionary.find({prefix, pixel}); found != dictionary.end()) {
        prefix = found->second;
        continue;
      }
      putCode(prefix);
      dictionary[{prefix, pixel}] = nextCode;
      prefix = pixel;
      if (nextCode++ == threshold) {
        threshold *= 2;
        if (width == 12) {
          putCode(kClearCode);
          dictionary.clear();
          nextCode = 18;
          width = 5;
          threshold = 32;
        } else {
          ++width;
        }
      }
    }
  }
  putCode(prefix);
  putCode(kEndCode);
  if (pending > 0) {
    const int before = pending;
    putCode(0);
    if (before + width < 8) putByte(static_cast<std::uint8_t>(accumulator));
  }
  out.push_back(0);
  return out;
}

TEST(LzwEncoderTest, AllZeroFrameGivesTheKnownBytes) {
  const std::vector<std::uint8_t> encoded = Encode(FrameBuffer());

  ASSERT_EQ(encoded.size(), 874u);
  EXPECT_EQ(ReadSubBlocks(encoded).sizes, (std::vector<int>{255, 255, 255, 104}));
  // Clear code 16, then the codes 0, 18, 19, ... at 5 bits.
  EXPECT_EQ(std::vector<std::uint8_t>(encoded.begin(), encoded.begin() + 5),
            (std::vector<std::uint8_t>{0xFF, 0x10, 0xC8, 0x49, 0xAB}));
  ExpectWellFormed(encoded);
}

TEST(LzwEncoderTest, CodeStreamIsWellFormedForVariedFrames) {
  const struct {
    const char* name;
    FrameBuffer frame;
    int minRestarts;
  } cases[] = {
      {"map-like", MapLikeFrame(), 0},
      {"random runs", RandomRunsFrame(), 1},
      {"noise", NoiseFrame(3), 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CodeStream stream;
    ExpectWellFormed(Encode(c.frame), &stream);
    EXPECT_GE(stream.restarts, c.minRestarts);
  }
}

TEST(LzwEncoderTest, MatchesThePlainStepByStepCompressor) {
  const struct {
    const char* name;
    FrameBuffer frame;
  } cases[] = {
      {"all zero", FrameBuffer()},
      {"map-like with marks", MapLikeFrame()},
      {"random runs", RandomRunsFrame()},
      {"noise", NoiseFrame(8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Encode(c.frame), ReferenceEncode(c.frame));
  }
}

TEST(LzwEncoderTest, CellsOutsideThePaletteEncodeAsIndex14) {
  FrameBuffer plain = MapLikeFrame();
  std::vector<std::size_t> marked;
  for (std::size_t i = 0; i < plain.Cells().size(); ++i) {
    if (plain.Cells()[i] >= FrameBuffer::kStrikeMark) marked.push_back(i);
  }
  ASSERT_FALSE(marked.empty());
  for (std::size_t i : marked) plain.Cells()[i] = 14;
  const std::vector<std::uint8_t> expected = Encode(plain);

  // A negative cell is no strike mark, but sending it as 14 keeps it out of the dictionary's
  // index arithmetic.
  for (const std::int16_t value : {16, 17, 30, 31, 32767, -1, -32768}) {
    SCOPED_TRACE(value);
    FrameBuffer frame = plain;
    for (std::size_t i : marked) frame.Cells()[i] = value;
    EXPECT_EQ(Encode(frame), expected);
  }
}

TEST(LzwEncoderTest, SameBufferGivesSameBytesWhateverCameBefore) {
  const FrameBuffer map = MapLikeFrame();
  LzwEncoder encoder;
  const std::vector<std::uint8_t> first = Encode(encoder, map);
  Encode(encoder, NoiseFrame(5));  // ends mid-dictionary, at another width and sub-block fill
  encoder.Reset();
  EXPECT_EQ(Encode(encoder, map), first);
  Encode(encoder, RandomRunsFrame());
  EXPECT_EQ(Encode(encoder, map), first) << "without Reset";
  EXPECT_EQ(Encode(map), first) << "fresh encoder";
}

// Zeros, with the first `count` cells (row by row) random: the data grow a little with each.
FrameBuffer NoisyTopFrame(int count) {
  FrameBuffer frame;
  std::mt19937 random(1);
  for (int i = 0; i < count; ++i) {
    frame.At(i % FrameBuffer::kWidth, i / FrameBuffer::kWidth) =
        static_cast<std::int16_t>(random() % 16);
  }
  return frame;
}

TEST(LzwEncoderTest, DataThatFillTheLastSubBlockEndWithFullLengthAndTerminator) {
  // Each random cell adds about a byte; step by half the bytes still missing to the next
  // multiple of 256 (255 data bytes and their length byte) until the fill is exact.
  std::vector<std::uint8_t> encoded;
  for (int count = 0, attempt = 0; attempt < 200; ++attempt) {
    encoded = Encode(NoisyTopFrame(count));
    const std::size_t missing = (257 - encoded.size() % 256) % 256;
    if (missing == 0) break;
    count += std::max<int>(1, static_cast<int>(missing) / 2);
  }
  ASSERT_EQ(encoded.size() % 256, 1u) << "no frame fills its last sub-block exactly";

  const std::size_t lastLengthAt = encoded.size() - 257;
  EXPECT_EQ(encoded[lastLengthAt], 0xFF);
  EXPECT_EQ(encoded.back(), 0x00);
  EXPECT_EQ(ReadSubBlocks(encoded).sizes.back(), 255);
  ExpectWellFormed(encoded);
}

// Zeros, then random cells from cell `first_random` (row by row) to the end.
FrameBuffer NoisyBottomFrame(int firstRandom) {
  FrameBuffer frame;
  std::mt19937 random(2);
  for (int i = firstRandom; i < static_cast<int>(FrameBuffer::kCellCount); ++i) {
    frame.At(i % FrameBuffer::kWidth, i / FrameBuffer::kWidth) =
        static_cast<std::int16_t>(random() % 16);
  }
  return frame;
}

TEST(LzwEncoderTest, EndCodeShortOfAByteIsWrittenWithZeroBitsAbove) {
  // Look for a frame whose last dictionary restart falls a few codes before the end, so the end
  // code goes out at 5 or 6 bits and leaves too few bits for a padding code to complete a byte.
  int firstRandom = 250000;
  CodeStream stream;
  bool found = false;
  for (int attempt = 0; attempt < 400 && !found; ++attempt) {
    const std::vector<std::uint8_t> encoded = Encode(NoisyBottomFrame(firstRandom));
    const SubBlocks blocks = ReadSubBlocks(encoded);
    stream = ReadCodes(blocks.data);
    const int pending = static_cast<int>(stream.bitCount % 8);
    if (pending > 0 && pending + stream.widths.back() < 8) {
      found = true;
      ExpectWellFormed(encoded);
      EXPECT_EQ(blocks.data.size() * 8, stream.bitCount + 8 - pending);
      break;
    }
    // Codes since the last restart; steer toward a handful, or step through the last few.
    int sinceClear = 0;
    for (auto code = stream.codes.rbegin(); code != stream.codes.rend() && *code != kClearCode;
         ++code) {
      ++sinceClear;
    }
    const int target = 8;
    const int off = sinceClear < kCodesPerDictionary / 2
                        ? sinceClear - target
                        : sinceClear - kCodesPerDictionary - target;
    firstRandom += off > 30 || off < -30 ? off : 1;
  }
  ASSERT_TRUE(found) << "no frame ends in a short end code";
  EXPECT_LE(stream.widths.back(), 6);
}

}  // namespace
}  // namespace animark::testing
