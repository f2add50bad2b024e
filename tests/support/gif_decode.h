#pragma once
// Reads a GIF file back with an independent decoder (giflib), so tests check what a standard
// viewer sees rather than what our writer meant to write.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace animark::testing {

struct DecodedFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int delay = -1;  // hundredths of a second from the frame's graphic control block; -1 without one
  int disposal = 0;  // from the graphic control block: 0 none given, 1 keep, ...
  std::optional<std::uint8_t> transparent;  // the index that leaves the screen as it was
  std::vector<std::uint8_t> indices;  // width * height colour indices, row by row from the top

  std::uint8_t At(int x, int y) const { return indices[static_cast<std::size_t>(y) * width + x]; }
};

struct DecodedGif {
  int width = 0;  // logical screen
  int height = 0;
  std::vector<std::array<std::uint8_t, 3>> colours;  // global table, red green blue; empty if none
  std::vector<std::string> comments;  // each comment extension's text, its sub-blocks joined
  std::optional<int> loopCount;       // from the looping application extension, when present
  std::vector<DecodedFrame> frames;   // in stream order
};

// What a viewer shows, as colours row by row over the whole screen: each frame drawn over what the
// frames before it left, transparent cells leaving it as it was.
class ViewerScreen {
 public:
  explicit ViewerScreen(const DecodedGif& gif);

  // Draws `frame`. False, leaving the screen undefined, for disposal other than none or keep and
  // for cells outside the screen or the colour table: the streams tested here use none of them.
  bool Show(const DecodedFrame& frame);

  const std::vector<std::array<std::uint8_t, 3>>& Colours() const { return colours_; }

 private:
  const DecodedGif& gif_;
  std::vector<std::array<std::uint8_t, 3>> colours_;
};

// Decodes the whole file. Returns nullopt, with giflib's reason in `error` when given, if the file
// cannot be opened or is not a complete, well-formed GIF. A stream with no image at all (head,
// extensions, trailer) decodes to no frames.
std::optional<DecodedGif> DecodeGifFile(const std::filesystem::path& path,
                                        std::string* error = nullptr);

// The same for a GIF held in memory.
std::optional<DecodedGif> DecodeGifBytes(const std::vector<std::uint8_t>& bytes,
                                         std::string* error = nullptr);

}  // namespace animark::testing
