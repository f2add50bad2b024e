// The map loader over any file: a map it takes must come out cell for cell and colour for colour
// as the file's bytes say; a map it refuses gets the first check it fails and leaves the picture
// as it was.

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "maps/background_map.h"

namespace animark {
namespace {

using fuzz::InputReader;

// A cell value the loader never writes (it writes 0..15 only).
constexpr std::int16_t kUntouched = -7;

// The byte at `offset`, 0 past the end: the loader reads a short file as if zero-padded.
std::uint8_t ByteAt(std::string_view file, std::size_t offset) {
  return offset < file.size() ? static_cast<std::uint8_t>(file[offset]) : 0;
}
std::uint32_t U32At(std::string_view file, std::size_t offset) {
  return std::uint32_t{ByteAt(file, offset)} | std::uint32_t{ByteAt(file, offset + 1)} << 8 |
         std::uint32_t{ByteAt(file, offset + 2)} << 16 |
         std::uint32_t{ByteAt(file, offset + 3)} << 24;
}

// The refusal a usable-map check in the BMP's own terms gives, nothing when the map is usable.
std::optional<MapRefusalKind> ExpectedRefusal(std::string_view file) {
  const std::size_t size = file.size();
  if (size < 2 || file[0] != 'B' || file[1] != 'M') return MapRefusalKind::NotBitmap;
  if (size < 15 || ByteAt(file, 14) != 40) return MapRefusalKind::NotWin31;
  if (size < 26 || U32At(file, 18) != 640 || U32At(file, 22) != 480) {
    return MapRefusalKind::WrongSize;
  }
  if (size < 30 || (U32At(file, 28) & 0xFFFF) != 4) return MapRefusalKind::NotFourBit;
  if (size < 34 || U32At(file, 30) != 0) return MapRefusalKind::Compressed;
  return std::nullopt;
}

// The file lives in memory and is opened by its /proc name, as a path on disk would be.
struct MemoryFile {
  int descriptor = ::memfd_create("map.bmp", 0);
  std::string path = "/proc/self/fd/" + std::to_string(descriptor);

  void Hold(std::string_view bytes) {
    FUZZ_CHECK(descriptor >= 0 && ::ftruncate(descriptor, 0) == 0, "memory file resets");
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t count = ::pwrite(descriptor, bytes.data() + written, bytes.size() - written,
                                     static_cast<off_t>(written));
      FUZZ_CHECK(count > 0, "memory file takes the bytes");
      written += static_cast<std::size_t>(count);
    }
  }
};

}  // namespace
}  // namespace animark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace animark;
  static MemoryFile file;
  static FrameBuffer buffer;

  InputReader input(data, size);
  const std::string_view bytes = input.Rest();
  file.Hold(bytes);

  buffer.Fill(kUntouched);
  const MapLoad load = LoadBackgroundMap(file.path, buffer);

  const auto untouched = [] {
    for (const std::int16_t cell : buffer.Cells()) {
      if (cell != kUntouched) return false;
    }
    return true;
  };

  if (const std::optional<MapRefusalKind> refusal = ExpectedRefusal(bytes)) {
    FUZZ_CHECK(!load.Usable(), "an unusable map is refused");
    FUZZ_CHECK(load.refusal->kind == *refusal, "the refusal tells the first failing check");
    FUZZ_CHECK(untouched(), "a refused map leaves the picture as it was");
    return 0;
  }

  FUZZ_CHECK(load.Usable(), "a usable map loads");
  for (int entry = 0; entry < kColourTableEntries; ++entry) {
    const RgbColour got = load.colours[entry];
    RgbColour want;
    if (entry < kFirstFixedEntry) {
      const std::size_t slot = 54 + 4 * static_cast<std::size_t>(entry);
      want = {ByteAt(bytes, slot + 2), ByteAt(bytes, slot + 1), ByteAt(bytes, slot)};
    } else {
      want = kFixedColours[entry - kFirstFixedEntry];
    }
    FUZZ_CHECK(got.red == want.red && got.green == want.green && got.blue == want.blue,
               "colours 0..12 come from the map, 13..15 stay fixed");
  }
  // Rows bottom first from offset 118, two pixels a byte, high nibble on the left.
  for (int y = 0; y < FrameBuffer::kHeight; ++y) {
    const std::size_t row = 118 + static_cast<std::size_t>(FrameBuffer::kHeight - 1 - y) * 320;
    for (int x = 0; x < FrameBuffer::kWidth; ++x) {
      const std::uint8_t pair = ByteAt(bytes, row + static_cast<std::size_t>(x) / 2);
      const int want = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
      FUZZ_CHECK(buffer.At(x, y) == want, "every cell is the map's pixel");
    }
  }
  return 0;
}
