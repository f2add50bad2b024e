#include "gif/gif_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gif/changes_only_stream.h"
#include "gif/frame_stream.h"
#include "gif_test_util.h"

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
  MemorySink out;
  const GifWriter gif(out, {kDefaultPalette, comments, loopCount});
  return {out.Bytes().begin() + kHeadAndTableBytes, out.Bytes().end()};
}

TEST(GifWriterTest, StreamHeadAnnouncesA640By480ScreenAndItsSixteenColours) {
  MemorySink out;
  const GifWriter gif(out, {kDefaultPalette, {}, -1});
  EXPECT_EQ(out.Bytes(),
            (Bytes{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x80, 0x02, 0xE0, 0x01, 0xD3, 0x00, 0x00,
                   0,    0,    0,    129,  0,    0,    0,    129,  0,    129,  129,  0,    0,
                   0,    129,  129,  0,    129,  0,    129,  129,  194,  194,  194,  129,  129,
                   129,  255,  0,    0,    0,    255,  0,    255,  255,  0,    0,    0,    255,
                   0,    125,  109,  255,  255,  0,    255,  255,  255}));
}

TEST(GifWriterTest, SmallerTableIsAnnouncedByItsSizeWithItsBackgroundIndex) {
  const RgbColour colours[8] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  for (const auto& [entries, packed] :
       {std::pair{2, 0xD0}, std::pair{4, 0xD1}, std::pair{8, 0xD2}}) {
    SCOPED_TRACE(entries);
    MemorySink out;
    const GifWriter gif(out, {std::span(colours, entries), {}, -1, 1});
    const Bytes& head = out.Bytes();
    ASSERT_EQ(head.size(), 13u + 3 * entries);
    EXPECT_EQ(head[10], packed);
    EXPECT_EQ(head[11], 1);
    EXPECT_EQ(Bytes(head.begin() + 13, head.begin() + 19), (Bytes{1, 2, 3, 4, 5, 6}));
  }
}

// The plain writer sends a frame's place, transparency and disposal as it is handed them.
TEST(GifWriterTest, FrameIsWrittenWithItsPlaceTransparencyAndDisposal) {
  const struct {
    const char* what;
    PendingFrame frame;
    Bytes head;
  } cases[] = {
      {"whole screen, no disposal",
       {100, false, {0, 0, 640, 480, std::nullopt, 4}, {0xAA, 0x00}},
       {0x21, 0xF9, 0x04, 0x00, 0x64, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x80, 0x02,
        0xE0, 0x01, 0x03, 0x04}},
      {"rectangle left in place, transparent index 5",
       {0x1234, true, {300, 2, 260, 479, 5, 3}, {0xBB, 0x00}},
       {0x21, 0xF9, 0x04, 0x05, 0x34, 0x12, 0x05, 0x00, 0x2C, 0x2C, 0x01, 0x02, 0x00, 0x04, 0x01,
        0xDF, 0x01, 0x03, 0x03}},
      {"left in place, opaque",
       {7, true, {1, 1, 1, 1, std::nullopt, 2}, {0xCC, 0x00}},
       {0x21, 0xF9, 0x04, 0x04, 0x07, 0x00, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,
        0x01, 0x00, 0x03, 0x02}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySink out;
    GifWriter gif(out, {kDefaultPalette, {}, -1});
    gif.Write(c.frame);
    EXPECT_EQ(Bytes(out.Bytes().begin() + kHeadAndTableBytes, out.Bytes().end()),
              Concat({c.head, c.frame.data}));
  }
}

TEST(GifWriterTest, SmallStreamTableHoldsTheShownEntriesMostUsedFirst) {
  std::array<std::uint32_t, kColourTableEntries> use{};
  use[5] = 900;
  use[0] = 40;
  use[14] = 70;
  MemorySink out;
  const ChangesOnlyStream gif(out, {kDefaultPalette, {}, -1}, use);
  // Entries 5, 14 and 0, and one to spare for transparency; entry 0's colour stays the
  // background.
  const Bytes& head = out.Bytes();
  ASSERT_EQ(head.size(), 13u + 3 * 4);
  EXPECT_EQ(head[10], 0xD1);
  EXPECT_EQ(head[11], 2);
  EXPECT_EQ(Bytes(head.begin() + 13, head.end()),
            (Bytes{129, 0, 129, 255, 255, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(GifWriterTest, WholeFrameCarriesTheDelayThenTheImageDataOfEveryCell) {
  for (const auto& [delay, low, high] :
       {std::tuple{100, 0x64, 0x00}, std::tuple{150, 0x96, 0x00}, std::tuple{65535, 0xFF, 0xFF}}) {
    SCOPED_TRACE(delay);
    const FrameBuffer frame;
    LzwEncoder encoder;
    const auto delayField = static_cast<std::uint16_t>(delay);
    MemorySink out;
    WholeFrameStream gif(out, {kDefaultPalette, {}, -1});
    gif.WriteFrame(delayField, encoder, frame);
    const Bytes written(out.Bytes().begin() + kHeadAndTableBytes, out.Bytes().end());
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

}  // namespace
}  // namespace animark::testing
