#include "maps/background_map.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
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

enum class Refusal { NotOpened, NotBitmap, NotWin31, WrongSize, NotFourBit, Compressed };

// Both units always, whichever the dialog shows.
const char* RangeText(int range) {
  switch (range) {
    case 0:
      return "100 mi/160 km";
    case 1:
      return "200 mi/320 km";
    case 2:
      return "300 mi/480 km";
    default:
      return nullptr;
  }
}

std::string RefusalMessage(Refusal refusal, const std::string& range) {
  switch (refusal) {
    case Refusal::NotOpened:
      return "Bitmap for " + range + " could not be opened.";
    case Refusal::NotBitmap:
      return "The file specified for " + range + " is not a bitmap file.";
    case Refusal::NotWin31:
      return "The file specified for " + range +
             " is not a WIN3.1 bitmap.\nMaybe you saved it as an OS/2 bitmap?";
    case Refusal::WrongSize:
      return "The bitmap specified for " + range + " is not 640 x 480 pixels.";
    case Refusal::NotFourBit:
      return "The bitmap specified for " + range + " is not a 4-bit (16 colours) bitmap.";
    case Refusal::Compressed:
      return "The bitmap specified for " + range +
             " is RLE compressed.\nCompressed bitmaps are not supported by this program.";
  }
  return {};
}

// The checks in the order the user meets them; a file too short to hold a field fails its check.
std::optional<Refusal> CheckHead(const MapHead& head) {
  if (!head.Holds(0, 2) || head.bytes[0] != 'B' || head.bytes[1] != 'M') {
    return Refusal::NotBitmap;
  }
  if (!head.Holds(kInfoHeaderSizeOffset, 1) ||
      head.bytes[kInfoHeaderSizeOffset] != kWin31InfoHeaderSize) {
    return Refusal::NotWin31;
  }
  // A negative height (rows stored top first) is refused along with any other size.
  if (!head.Holds(kWidthOffset, 8) || head.SignedDoubleWord(kWidthOffset) != FrameBuffer::kWidth ||
      head.SignedDoubleWord(kHeightOffset) != FrameBuffer::kHeight) {
    return Refusal::WrongSize;
  }
  if (!head.Holds(kBitCountOffset, 2) || head.Word(kBitCountOffset) != kBitsPerPixel) {
    return Refusal::NotFourBit;
  }
  if (!head.Holds(kCompressionOffset, 4) || head.DoubleWord(kCompressionOffset) != 0) {
    return Refusal::Compressed;
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

std::optional<ColourTable> LoadBackgroundMap(int range, const std::string& path,
                                             FrameBuffer& buffer, UserMessages& messages,
                                             ProgressWindow& progress) {
  const char* rangeText = RangeText(range);
  if (rangeText == nullptr) return std::nullopt;

  // Only a regular file: a pipe or a device in its place would stall or never end the read.
  const FileHandle file = OpenRegularFile(path);
  MapHead head;
  if (file) head.length = std::fread(head.bytes.data(), 1, head.bytes.size(), file.get());
  // A file that fails to read could not be opened, as far as the user can tell.
  const std::optional<Refusal> refusal =
      !file || std::ferror(file.get()) ? Refusal::NotOpened : CheckHead(head);
  if (refusal) {
    messages.Show(RefusalMessage(*refusal, rangeText), MessageIcon::Stop);
    return std::nullopt;
  }

  progress.SetText(ProgressText::Status, "Adding bitmap...");
  ReadPixelRows(file.get(), buffer);
  return MapColourTable(head);
}

}  // namespace animark
