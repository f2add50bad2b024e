#include "maps/background_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace animark {
namespace {

using animark::testing::ReadFileBytes;
using animark::testing::TempDir;
using animark::testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRowsOffset = 118;
constexpr std::size_t kRowBytes = 320;
constexpr std::size_t kMapBytes = kRowsOffset + 480 * kRowBytes;
constexpr std::int16_t kSentinel = 99;

void Put16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  Put16(bytes, offset, static_cast<std::uint16_t>(value));
  Put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// A usable map: palette slot i holds blue i, green 0x40 + i, red 0x80 + i (so slots 13..15 differ
// from the fixed colours), and the pixel bytes a pattern that never repeats within a row.
Bytes MakeMap() {
  Bytes bytes(kMapBytes, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, kMapBytes);
  Put32(bytes, 10, kRowsOffset);
  Put32(bytes, 14, 40);
  Put32(bytes, 18, 640);
  Put32(bytes, 22, 480);
  Put16(bytes, 26, 1);
  Put16(bytes, 28, 4);
  Put32(bytes, 30, 0);
  Put32(bytes, 34, 480 * kRowBytes);
  Put32(bytes, 46, 16);
  Put32(bytes, 50, 16);
  for (std::uint8_t i = 0; i < 16; ++i) {
    bytes[54 + 4 * i] = i;
    bytes[55 + 4 * i] = 0x40 + i;
    bytes[56 + 4 * i] = 0x80 + i;
  }
  for (std::size_t i = kRowsOffset; i < kMapBytes; ++i) {
    bytes[i] = static_cast<std::uint8_t>((i - kRowsOffset) * 7 / 3);
  }
  return bytes;
}

// What a load of the first `length` bytes of `map` must write: entries 0..12 from the palette
// slots (red, green, blue), absent bytes 0, then the fixed colours.
Bytes ExpectedColourTable(const Bytes& map, std::size_t length) {
  auto at = [&](std::size_t offset) -> std::uint8_t { return offset < length ? map[offset] : 0; };
  Bytes table;
  for (std::size_t i = 0; i < 13; ++i) {
    table.insert(table.end(), {at(56 + 4 * i), at(55 + 4 * i), at(54 + 4 * i)});
  }
  table.insert(table.end(), {0, 125, 109, 255, 255, 0, 255, 255, 255});
  return table;
}

// Rows are stored bottom up, the left pixel in the high nibble; cells past the file's end are 0.
std::int16_t ExpectedCell(const Bytes& map, std::size_t length, int x, int y) {
  const std::size_t offset = kRowsOffset + (479 - y) * kRowBytes + x / 2;
  if (offset >= length) return 0;
  return static_cast<std::int16_t>(x % 2 == 0 ? map[offset] >> 4 : map[offset] & 0x0F);
}

class BackgroundMapTest : public ::testing::Test {
 protected:
  BackgroundMapTest() { Reset(); }

  // Each case of a table starts from a sentinel picture.
  void Reset() { buffer_.Fill(kSentinel); }

  std::string WriteMap(const Bytes& bytes, const std::string& name = "map.bmp") {
    WriteFileBytes(dir_ / name, bytes);
    return (dir_ / name).string();
  }

  // Runs the loader on `path` and keeps what it handed back, the colour table as GIF bytes.
  bool Load(const std::string& path) {
    load_ = LoadBackgroundMap(path, buffer_);
    written_.clear();
    if (load_.Usable()) {
      for (const RgbColour& colour : load_.colours) {
        written_.insert(written_.end(), {colour.red, colour.green, colour.blue});
      }
    }
    return load_.Usable();
  }

  void ExpectRefused(MapRefusalKind kind, const std::string& reason = {}) {
    ASSERT_TRUE(load_.refusal);
    EXPECT_EQ(load_.refusal->kind, kind);
    EXPECT_EQ(load_.refusal->reason, reason);
    EXPECT_TRUE(std::ranges::all_of(buffer_.Cells(), [](std::int16_t c) { return c == kSentinel; }))
        << "a refused map changed the picture";
  }

  void ExpectLoaded(const Bytes& map, std::size_t length) {
    EXPECT_FALSE(load_.refusal);
    EXPECT_EQ(written_, ExpectedColourTable(map, length));
    int wrongCells = 0;
    for (int x = 0; x < 640; ++x) {
      for (int y = 0; y < 480; ++y) {
        if (buffer_.At(x, y) != ExpectedCell(map, length, x, y) && wrongCells++ < 5) {
          ADD_FAILURE() << "cell (" << x << ", " << y << ") is " << buffer_.At(x, y);
        }
      }
    }
    EXPECT_EQ(wrongCells, 0);
  }

  TempDir dir_;
  FrameBuffer buffer_;
  MapLoad load_;
  Bytes written_;
};

struct RefusedMap {
  const char* name;
  void (*spoil)(Bytes&);
  MapRefusalKind kind;
};

const RefusedMap kRefusedMaps[] = {
    {"empty file", [](Bytes& b) { b.clear(); }, MapRefusalKind::NotBitmap},
    {"one byte", [](Bytes& b) { b.resize(1); }, MapRefusalKind::NotBitmap},
    {"signature MB", [](Bytes& b) { std::swap(b[0], b[1]); }, MapRefusalKind::NotBitmap},
    // The OS/2 form: 12-byte header with 16-bit width, height, planes and bit count.
    {"OS/2 info header",
     [](Bytes& b) {
       Put32(b, 14, 12);
       Put16(b, 18, 640);
       Put16(b, 20, 480);
       Put16(b, 22, 1);
       Put16(b, 24, 4);
     },
     MapRefusalKind::NotWin31},
    {"124-byte info header", [](Bytes& b) { Put32(b, 14, 124); }, MapRefusalKind::NotWin31},
    {"ends before the info header", [](Bytes& b) { b.resize(14); }, MapRefusalKind::NotWin31},
    {"width 639", [](Bytes& b) { Put32(b, 18, 639); }, MapRefusalKind::WrongSize},
    {"height 481", [](Bytes& b) { Put32(b, 22, 481); }, MapRefusalKind::WrongSize},
    {"top row first", [](Bytes& b) { Put32(b, 22, static_cast<std::uint32_t>(-480)); },
     MapRefusalKind::WrongSize},
    {"ends inside the height", [](Bytes& b) { b.resize(24); }, MapRefusalKind::WrongSize},
    {"8 bits", [](Bytes& b) { Put16(b, 28, 8); }, MapRefusalKind::NotFourBit},
    {"24 bits", [](Bytes& b) { Put16(b, 28, 24); }, MapRefusalKind::NotFourBit},
    {"ends inside the bit count", [](Bytes& b) { b.resize(29); }, MapRefusalKind::NotFourBit},
    {"RLE8", [](Bytes& b) { Put32(b, 30, 1); }, MapRefusalKind::Compressed},
    {"RLE4", [](Bytes& b) { Put32(b, 30, 2); }, MapRefusalKind::Compressed},
    {"bit fields", [](Bytes& b) { Put32(b, 30, 3); }, MapRefusalKind::Compressed},
    {"compression in the high byte", [](Bytes& b) { Put32(b, 30, 0x01000000); },
     MapRefusalKind::Compressed},
    {"ends inside the compression", [](Bytes& b) { b.resize(33); }, MapRefusalKind::Compressed},
};

TEST_F(BackgroundMapTest, RefusedMapTellsTheFirstFailingCheckAndChangesNothing) {
  for (const RefusedMap& refused : kRefusedMaps) {
    SCOPED_TRACE(refused.name);
    Bytes map = MakeMap();
    refused.spoil(map);
    Reset();
    EXPECT_FALSE(Load(WriteMap(map)));
    ExpectRefused(refused.kind);
  }
}

TEST_F(BackgroundMapTest, FileThatCannotBeOpenedCarriesTheSystemsReason) {
  std::filesystem::create_directory(dir_ / "folder.bmp");
  const std::pair<const char*, const char*> cases[] = {
      {"missing.bmp", "No such file or directory"},
      {"folder.bmp", "a folder, not a regular file"},
  };
  for (const auto& [name, reason] : cases) {
    SCOPED_TRACE(name);
    Reset();
    EXPECT_FALSE(Load((dir_ / name).string()));
    ExpectRefused(MapRefusalKind::NotOpened, reason);
  }
}

// Fields the loader has no use for may hold anything: the palette always counts 16 entries and
// the rows always start at 118.
struct IgnoredFields {
  const char* name;
  void (*change)(Bytes&);
};

const IgnoredFields kIgnoredFields[] = {
    {"as written", [](Bytes&) {}},
    {"2 colours used", [](Bytes& b) { Put32(b, 46, 2); }},
    {"odd file size, row offset, planes, image size, resolution",
     [](Bytes& b) {
       Put32(b, 2, 7);
       Put32(b, 10, 62);
       Put16(b, 26, 3);
       Put32(b, 34, 0);
       Put32(b, 38, 0xFFFFFFFF);
       Put32(b, 50, 99);
     }},
};

TEST_F(BackgroundMapTest, UsableMapWritesColourTableAndFillsEveryCell) {
  for (const IgnoredFields& variant : kIgnoredFields) {
    SCOPED_TRACE(variant.name);
    Bytes map = MakeMap();
    variant.change(map);
    Reset();
    EXPECT_TRUE(Load(WriteMap(map)));
    ExpectLoaded(map, map.size());
  }
}

TEST_F(BackgroundMapTest, LastRowInFileIsTopOfPictureWithLeftPixelInHighNibble) {
  Bytes map = MakeMap();
  map[kRowsOffset + 479 * kRowBytes] = 0xA5;        // first byte of the last row
  map[kRowsOffset + 479 * kRowBytes + 319] = 0x1F;  // last byte of the last row
  map[kRowsOffset] = 0x3C;                          // first byte of the first row
  map[kRowsOffset + 319] = 0x7E;                    // last byte of the first row
  ASSERT_TRUE(Load(WriteMap(map)));

  const struct {
    int x, y;
    std::int16_t value;
  } corners[] = {{0, 0, 10},  {1, 0, 5},    {638, 0, 1},   {639, 0, 15},
                 {0, 479, 3}, {1, 479, 12}, {638, 479, 7}, {639, 479, 14}};
  for (const auto& corner : corners) {
    EXPECT_EQ(buffer_.At(corner.x, corner.y), corner.value) << corner.x << ", " << corner.y;
  }
}

TEST_F(BackgroundMapTest, ShortMapLoadsWithMissingBytesAsZero) {
  const std::size_t lengths[] = {
      34,                                // ends right after the compression field: no palette
      92,                                // ends before the red byte of palette slot 9
      kRowsOffset + 10 * kRowBytes + 5,  // ends inside the 11th row from the bottom
      kMapBytes - 1,
  };
  const Bytes map = MakeMap();
  for (std::size_t length : lengths) {
    SCOPED_TRACE(length);
    Reset();
    EXPECT_TRUE(
        Load(WriteMap(Bytes(map.begin(), map.begin() + static_cast<std::ptrdiff_t>(length)))));
    ExpectLoaded(map, length);
  }
}

TEST_F(BackgroundMapTest, LoadsMapWrittenByImageEditor) {
  ASSERT_TRUE(Load(ANIMARK_TEST_DATA_DIR "/maps/imagemagick-16.bmp"));
  ASSERT_EQ(written_.size(), 48u);
  // The file's palette slots 0..2 hold (blue, green, red) 28 22 27, 2E 25 58, 31 54 27.
  EXPECT_EQ(Bytes(written_.begin(), written_.begin() + 9),
            (Bytes{0x27, 0x22, 0x28, 0x58, 0x25, 0x2E, 0x27, 0x54, 0x31}));
  EXPECT_EQ(Bytes(written_.begin() + 39, written_.end()),
            (Bytes{0, 125, 109, 255, 255, 0, 255, 255, 255}));

  // Palette indices of these pixels as the editor itself reads the file.
  const struct {
    int x, y;
    std::int16_t index;
  } pixels[] = {{0, 0, 11},   {12, 0, 15},    {13, 0, 11},    {639, 0, 9},  {320, 240, 3},
                {0, 479, 14}, {112, 479, 14}, {113, 479, 15}, {639, 479, 9}};
  for (const auto& pixel : pixels) {
    EXPECT_EQ(buffer_.At(pixel.x, pixel.y), pixel.index) << pixel.x << ", " << pixel.y;
  }
}

}  // namespace
}  // namespace animark
