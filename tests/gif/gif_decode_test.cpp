// The writer's streams read back through giflib, an independent decoder: what a standard viewer
// sees, beyond the byte layout the other tests check.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "gif/frame_stream.h"
#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"
#include "gif_test_util.h"
#include "support/gif_decode.h"

namespace animark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(GifWriterTest, StreamWithoutFramesIsStillComplete) {
  const std::string_view comments[] = {"", GifWriter::kCreditComment};
  MemorySink out;
  GifWriter writer(out, {kDefaultPalette, comments, 3});
  writer.WriteTrailer();
  const Bytes& file = out.Bytes();
  EXPECT_EQ(file.size(), 61 + 4 + GifWriter::kCreditComment.size() + 19 + 1);
  std::string error;
  const auto gif = DecodeGifBytes(file, &error);
  ASSERT_TRUE(gif) << error;
  EXPECT_TRUE(gif->frames.empty());
  EXPECT_EQ(gif->comments, (std::vector<std::string>{std::string(GifWriter::kCreditComment)}));
  EXPECT_EQ(gif->loopCount, 3);
}

TEST(GifWriterTest, WholeFileReadsBackThroughAStandardDecoder) {
  const std::string longComment(300, 'c');
  FrameBuffer first = MapLikeFrame();
  FrameBuffer second = NoiseFrame(4);
  ColourTable colours;
  for (int i = 0; i < 16; ++i) {
    colours[i] = {static_cast<std::uint8_t>(i * 15), static_cast<std::uint8_t>(i * 15 + 5),
                  static_cast<std::uint8_t>(i * 15 + 10)};
  }

  MemorySink out;
  LzwEncoder encoder;
  const std::string_view comments[] = {longComment, GifWriter::kCreditComment};
  WholeFrameStream writer(out, {colours, comments, 0});
  writer.WriteFrame(100, encoder, first);
  writer.WriteFrame(150, encoder, second);
  writer.WriteTrailer();

  const Bytes& bytes = out.Bytes();
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0x3B);
  std::string error;
  const auto gif = DecodeGifBytes(bytes, &error);
  ASSERT_TRUE(gif) << error;
  EXPECT_EQ(gif->width, 640);
  EXPECT_EQ(gif->height, 480);
  ASSERT_EQ(gif->colours.size(), 16u);
  EXPECT_EQ(gif->colours[0], (std::array<std::uint8_t, 3>{0, 5, 10}));
  EXPECT_EQ(gif->colours[15], (std::array<std::uint8_t, 3>{225, 230, 235}));
  EXPECT_EQ(gif->comments,
            (std::vector<std::string>{longComment, std::string(GifWriter::kCreditComment)}));
  EXPECT_EQ(gif->loopCount, 0);
  ASSERT_EQ(gif->frames.size(), 2u);
  EXPECT_EQ(gif->frames[0].delay, 100);
  EXPECT_EQ(gif->frames[1].delay, 150);
  for (int index = 0; index < 2; ++index) {
    const FrameBuffer& expected = index == 0 ? first : second;
    const DecodedFrame& frame = gif->frames[index];
    ASSERT_EQ(frame.indices.size(), FrameBuffer::kCellCount);
    bool same = true;
    for (int y = 0; y < FrameBuffer::kHeight && same; ++y) {
      for (int x = 0; x < FrameBuffer::kWidth && same; ++x) {
        same = frame.At(x, y) == MappedCell(expected.At(x, y));
      }
    }
    EXPECT_TRUE(same) << "frame " << index;
  }
}

TEST(LzwEncoderTest, StandardDecoderReproducesEveryMappedCell) {
  FrameBuffer oddValues = RandomRunsFrame();
  for (std::size_t i = 0; i < oddValues.Cells().size(); i += 97) {
    oddValues.Cells()[i] = static_cast<std::int16_t>(i % 3 == 0 ? 31 : i % 3 == 1 ? -5 : 900);
  }
  const struct {
    const char* name;
    FrameBuffer frame;
  } cases[] = {
      {"all zero", FrameBuffer()},
      {"map-like with marks", MapLikeFrame()},
      {"random runs", RandomRunsFrame()},
      {"noise, many restarts", NoiseFrame(9)},
      {"values outside the palette", oddValues},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LzwEncoder encoder;
    MemorySink file;
    WholeFrameStream gif(file, {kDefaultPalette, {}, -1});
    gif.WriteFrame(100, encoder, c.frame);
    gif.WriteTrailer();
    std::string error;
    const auto decoded = DecodeGifBytes(file.Bytes(), &error);
    ASSERT_TRUE(decoded) << error;
    ASSERT_EQ(decoded->frames.size(), 1u);
    const DecodedFrame& frame = decoded->frames[0];
    ASSERT_EQ(frame.width, FrameBuffer::kWidth);
    ASSERT_EQ(frame.height, FrameBuffer::kHeight);
    int wrong = 0;
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      for (int x = 0; x < FrameBuffer::kWidth; ++x) {
        if (frame.At(x, y) != MappedCell(c.frame.At(x, y)) && ++wrong <= 5) {
          ADD_FAILURE() << "cell (" << x << ", " << y << ")";
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// Any run of indices, at every code size: noise that fills the dictionary again and again, and
// noise followed by long runs, where keeping the full dictionary pays and is tried.
TEST(LzwEncoderTest, IndicesOfEveryCodeSizeDecodeExactly) {
  constexpr int kWidth = 600;
  constexpr int kHeight = 300;
  std::mt19937 random(7);
  for (const int codeSize : {2, 3, 4}) {
    std::uniform_int_distribution<int> index(0, (1 << codeSize) - 1);
    std::vector<std::uint8_t> noise(kWidth * kHeight);
    for (std::uint8_t& cell : noise) cell = static_cast<std::uint8_t>(index(random));
    std::vector<std::uint8_t> noiseThenRuns = noise;
    for (std::size_t i = noise.size() / 3; i < noise.size(); ++i) {
      noiseThenRuns[i] = static_cast<std::uint8_t>(i / 5000 % (1 << codeSize));
    }
    for (const auto* indices : {&noise, &noiseThenRuns}) {
      SCOPED_TRACE(::testing::Message() << "code size " << codeSize);
      LzwEncoder encoder;
      std::vector<std::uint8_t> data;
      encoder.EncodeIndices(*indices, codeSize, data);
      // A stream around the data: screen, a table of 2 ^ codeSize grey levels, one image.
      std::vector<std::uint8_t> file = {'G',
                                        'I',
                                        'F',
                                        '8',
                                        '9',
                                        'a',
                                        kWidth & 0xFF,
                                        kWidth >> 8,
                                        kHeight & 0xFF,
                                        kHeight >> 8,
                                        static_cast<std::uint8_t>(0xF0 | (codeSize - 1)),
                                        0,
                                        0};
      for (int i = 0; i < (1 << codeSize); ++i)
        file.insert(file.end(), 3, static_cast<std::uint8_t>(i));
      file.insert(file.end(), {0x2C, 0, 0, 0, 0, kWidth & 0xFF, kWidth >> 8, kHeight & 0xFF,
                               kHeight >> 8, 0, static_cast<std::uint8_t>(codeSize)});
      file.insert(file.end(), data.begin(), data.end());
      file.push_back(0x3B);
      std::string error;
      const auto decoded = DecodeGifBytes(file, &error);
      ASSERT_TRUE(decoded) << error;
      ASSERT_EQ(decoded->frames.size(), 1u);
      EXPECT_TRUE(decoded->frames[0].indices == *indices);
    }
  }
}

}  // namespace
}  // namespace animark::testing
