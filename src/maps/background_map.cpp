#include "maps/background_map.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/regular_file.h"

namespace animark {
namespace {

// The fields of a Windows 3.x BMP that decide whether a map is usable; nothing else in the
// headers is read.
constexpr std::size_t kInfoHeaderSizeOffset = 14;  // only its low byte is compared
constexpr std::size_t kWidthOffset = 18;
constexpr std::size_t kHeightOffset = 22;
constexpr std::size_t kBitCountOffset = 28;
constexpr std::size_t kCompressionOffset = 30;
constexpr std::size_t kPaletteOffset = 54;  // blue, green, red, reserved per entry
constexpr std::size_t kPaletteSlotBytes = 4;
// The palette is taken to hold all 16 entries whatever the header says, so the rows start here.
constexpr std::size_t kPixelRowsOffset = kPaletteOffset + kPaletteSlotBytes * kColourTableEntries;
// Two pixels a byte; 320 is a multiple of 4, so the rows carry no padding.
constexpr std::size_t kRowBytes = FrameBuffer::kWidth / 2;

constexpr std::uint8_t kWin31InfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 4;

// The file up to the pixel rows. Bytes past the end of a short file stay 0.
struct MapHead {
  std::array<std::uint8_t, kPixelRowsOffset> bytes{};
  std::size_t length = 0;

  bool Holds(std::size_t offset, std::size_t size) const { return offset + size <= length; }
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
  }
  std::uint32_t DoubleWord(std::size_t offset) const {
    return std::uint32_t{Word(offset)} | std::uint32_t{Word(offset + 2)} << 16;
  }
  std::int32_t SignedDoubleWord(std::size_t offset) const {
    return static_cast<std::int32_t>(DoubleWord(offset));
  }
};

// The checks in the order the user meets them; a file too short to hold a field fails its check.
std::optional<MapRefusalKind> CheckHead(const MapHead& head) {
  if (!head.Holds(0, 2) || head.bytes[0] != 'B' || head.bytes[1] != 'M') {
    return MapRefusalKind::NotBitmap;
  }
  if (!head.Holds(kInfoHeaderSizeOffset, 1) ||
      head.bytes[kInfoHeaderSizeOffset] != kWin31InfoHeaderSize) {
    return MapRefusalKind::NotWin31;
  }
  // A negative height (rows stored top first) is refused along with any other size.
  if (!head.Holds(kWidthOffset, 8) || head.SignedDoubleWord(kWidthOffset) != FrameBuffer::kWidth ||
      head.SignedDoubleWord(kHeightOffset) != FrameBuffer::kHeight) {
    return MapRefusalKind::WrongSize;
  }
  if (!head.Holds(kBitCountOffset, 2) || head.Word(kBitCountOffset) != kBitsPerPixel) {
    return MapRefusalKind::NotFourBit;
  }
  if (!head.Holds(kCompressionOffset, 4) || head.DoubleWord(kCompressionOffset) != 0) {
    return MapRefusalKind::Compressed;
  }
  return std::nullopt;
}

// The map's entries 0..12, then the fixed colours the overlays draw with.
ColourTable MapColourTable(const MapHead& head) {
  ColourTable table = kDefaultPalette;
  for (std::size_t entry = 0; entry < kFirstFixedEntry; ++entry) {
    const std::size_t slot = kPaletteOffset + kPaletteSlotBytes * entry;
    table[entry] = {head.bytes[slot + 2], head.bytes[slot + 1], head.bytes[slot]};
  }
  return table;
}

// Rows are stored bottom row first; the high nibble of a byte is the left pixel.
void ReadPixelRows(std::FILE* file, FrameBuffer& buffer) {
  for (int fileRow = 0; fileRow < FrameBuffer::kHeight; ++fileRow) {
    std::array<std::uint8_t, kRowBytes> row;
    const std::size_t read = std::fread(row.data(), 1, row.size(), file);
    // Past the end of a short file the cells become 0.
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(read), row.end(), std::uint8_t{0});
    const int y = FrameBuffer::kHeight - 1 - fileRow;
    for (std::size_t k = 0; k < kRowBytes; ++k) {
      const int x = static_cast<int>(2 * k);
      buffer.At(x, y) = static_cast<std::int16_t>(row[k] >> 4);
      buffer.At(x + 1, y) = static_cast<std::int16_t>(row[k] & 0x0F);
    }
  }
}

}  // namespace

MapLoad LoadBackgroundMap(const std::string& path, FrameBuffer& buffer) {
  // Only a regular file: a pipe or a device in its place would stall or never end the read.
  std::string reason;
  const FileHandle file = OpenRegularFile(path, &reason);
  if (!file) return {kDefaultPalette, MapRefusal{MapRefusalKind::NotOpened, reason}};
  MapHead head;
  head.length = std::fread(head.bytes.data(), 1, head.bytes.size(), file.get());
  // A file that fails to read could not be opened, as far as the user can tell.
  if (std::ferror(file.get())) {
    return {kDefaultPalette, MapRefusal{MapRefusalKind::NotOpened, std::strerror(errno)}};
  }
  if (const std::optional<MapRefusalKind> refusal = CheckHead(head)) {
    return {kDefaultPalette, MapRefusal{*refusal, {}}};
  }
  ReadPixelRows(file.get(), buffer);
  return {MapColourTable(head), std::nullopt};
}

}  // namespace animark
