#include "gif/gif_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gif_test_util.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes TextBytes(const std::string& text) {
  return {text.begin(), text.end()};
}

constexpr std::size_t kHeadAndTableBytes = 13 + 48;

// What a writer puts after the screen descriptor and colour table for `comments` and `loopCount`.
Bytes ExtensionBytes(std::span<const std::string_view> comments, int loopCount) {
  const Bytes all = CaptureOutput([&](OutputFile& out) {
    GifWriter gif(out, {kDefaultPalette, comments, loopCount});
  });
  return {all.begin() + kHeadAndTableBytes, all.end()};
}

TEST(GifWriterTest, StreamHeadAnnouncesA640By480ScreenAndItsSixteenColours) {
  const Bytes head = CaptureOutput([](OutputFile& out) {
    GifWriter gif(out, {kDefaultPalette, {}, -1});
  });
  EXPECT_EQ(head,
            (Bytes{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x80, 0x02, 0xE0, 0x01, 0xD3, 0x00, 0x00,
                   0,    0,    0,    129,  0,    0,    0,    129,  0,    129,  129,  0,    0,
                   0,    129,  129,  0,    129,  0,    129,  129,  194,  194,  194,  129,  129,
                   129,  255,  0,    0,    0,    255,  0,    255,  255,  0,    0,    0,    255,
                   0,    125,  109,  255,  255,  0,    255,  255,  255}));
}

TEST(GifWriterTest, FrameHeadCarriesTheDelayThenTheImageData) {
  for (const auto& [delay, low, high] :
       {std::tuple{100, 0x64, 0x00}, std::tuple{150, 0x96, 0x00}, std::tuple{65535, 0xFF, 0xFF}}) {
    SCOPED_TRACE(delay);
    const FrameBuffer frame;
    LzwEncoder encoder;
    const auto delayField = static_cast<std::uint16_t>(delay);
    Bytes written = CaptureOutput([&](OutputFile& out) {
      GifWriter gif(out, {kDefaultPalette, {}, -1});
      gif.WriteFrame(delayField, encoder, frame);
    });
    written.erase(written.begin(), written.begin() + kHeadAndTableBytes);
    Bytes imageData;
    encoder.EncodeImage(frame, imageData);
    const Bytes head = {0x21,
                        0xF9,
                        0x04,
                        0x00,
                        static_cast<std::uint8_t>(low),
                        static_cast<std::uint8_t>(high),
                        0x00,
                        0x00,
                        0x2C,
                        0x00,
                        0x00,
                        0x00,
                        0x00,
                        0x80,
                        0x02,
                        0xE0,
                        0x01,
                        0x03,
                        0x04};
    EXPECT_EQ(written, Concat({head, imageData}));
  }
}

TEST(GifWriterTest, LoopingExtensionCarriesTheCount) {
  const Bytes head = Concat({{0x21, 0xFF, 0x0B}, TextBytes("NETSCAPE2.0"), {0x03, 0x01}});
  const struct {
    int count;
    Bytes expected;
  } cases[] = {
      {-1, {}},  // play once: no extension at all
      {0, Concat({head, {0x00, 0x00, 0x00}})},
      {1, Concat({head, {0x01, 0x00, 0x00}})},
      {65535, Concat({head, {0xFF, 0xFF, 0x00}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    EXPECT_EQ(ExtensionBytes({}, c.count), c.expected);
  }
}

TEST(GifWriterTest, CommentIsSplitIntoSubBlocksOfAtMost255Bytes) {
  const struct {
    std::size_t length;
    std::vector<std::size_t> subBlocks;
  } cases[] = {
      {0, {}},         {1, {1}},          {254, {254}},          {255, {255}},
      {256, {255, 1}}, {510, {255, 255}}, {600, {255, 255, 90}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    // Bytes of every value, zero and non-ASCII included, go out unchanged.
    std::string text;
    for (std::size_t i = 0; i < c.length; ++i) text += static_cast<char>(i * 37 % 256);

    Bytes expected;
    if (c.length > 0) {
      expected = {0x21, 0xFE};
      std::size_t at = 0;
      for (std::size_t size : c.subBlocks) {
        expected.push_back(static_cast<std::uint8_t>(size));
        expected.insert(expected.end(), text.begin() + at, text.begin() + at + size);
        at += size;
      }
      expected.push_back(0x00);
    }
    const std::string_view comments[] = {text};
    EXPECT_EQ(ExtensionBytes(comments, -1), expected);
  }
}

TEST(GifWriterTest, CreditCommentIsOnePlainAsciiSubBlock) {
  const std::string_view credit = GifWriter::kCreditComment;
  EXPECT_LE(credit.size(), 255u);
  for (const char c : credit) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int{c};
  for (const char* part : {"Animark", "1.0.0", "2001", "Quellmar Software"}) {
    EXPECT_NE(credit.find(part), std::string_view::npos) << part;
  }
}

TEST(GifWriterTest, StreamWithoutFramesIsStillComplete) {
  const std::string_view comments[] = {"", GifWriter::kCreditComment};
  const Bytes file = CaptureOutput([&](OutputFile& out) {
    GifWriter gif(out, {kDefaultPalette, comments, 3});
    gif.WriteTrailer();
  });
  EXPECT_EQ(file.size(), 61 + 4 + GifWriter::kCreditComment.size() + 19 + 1);
  std::string error;
  const auto gif = DecodeGifBytes(file, &error);
  ASSERT_TRUE(gif) << error;
  EXPECT_TRUE(gif->frames.empty());
  EXPECT_EQ(gif->comments, (std::vector<std::string>{std::string(GifWriter::kCreditComment)}));
  EXPECT_EQ(gif->loopCount, 3);
}

TEST(GifWriterTest, WholeFileReadsBackThroughAStandardDecoder) {
  TempDir dir;
  const auto path = dir / "animation.gif";
  const std::string longComment(300, 'c');
  FrameBuffer first = MapLikeFrame();
  FrameBuffer second = NoiseFrame(4);
  ColourTable colours;
  for (int i = 0; i < 16; ++i) {
    colours[i] = {static_cast<std::uint8_t>(i * 15), static_cast<std::uint8_t>(i * 15 + 5),
                  static_cast<std::uint8_t>(i * 15 + 10)};
  }

  OutputFile out = OutputFile::Open(path.string());
  ASSERT_TRUE(out.IsOpen());
  LzwEncoder encoder;
  const std::string_view comments[] = {longComment, GifWriter::kCreditComment};
  GifWriter writer(out, {colours, comments, 0});
  encoder.Reset();
  writer.WriteFrame(100, encoder, first);
  encoder.Reset();
  writer.WriteFrame(150, encoder, second);
  writer.WriteTrailer();
  ASSERT_TRUE(out.Close());

  const Bytes bytes = ReadFileBytes(path);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0x3B);
  std::string error;
  const auto gif = DecodeGifFile(path, &error);
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

}  // namespace
}  // namespace animark::testing
