#pragma once
// Compresses one FrameBuffer (or any run of colour indices) into the image data of a GIF frame:
// variable-width LZW codes over the 16 palette indices (minimum code size 4, or less for fewer
// indices), packed least significant bit first and cut into data sub-blocks of at most 255 bytes,
// ending in the zero-length terminator.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gif/row_band.h"
#include "image/frame_buffer.h"

namespace animark {

class LzwEncoder {
 public:
  // Dictionary slots: a prime comfortably above the 4079 entries one dictionary cycle makes.
  static constexpr std::uint32_t kDictionarySize = 7177;

  // Puts the output state back to the start of a frame. EncodeImage starts from this state by
  // itself, so every frame is independent of whatever came before.
  void Reset();

  // The image data of `frame`, from the clear code to the block terminator, into `data`
  // (replacing what it held): what follows the minimum code size byte. Cells outside 0..15
  // (strike marks) are sent as index 14. The same buffer always gives the same bytes.
  void EncodeImage(const FrameBuffer& frame, std::vector<std::uint8_t>& data);

  // The same for any sequence of colour indices below 2 ^ minimumCodeSize (2 to 4), such as the
  // cells of a rectangle row by row, into `data` (replacing what it held): from the clear code to
  // the block terminator. Where the dictionary fills, this tries several ways of going on and
  // keeps the shortest, so the bytes are not those EncodeImage would write.
  void EncodeIndices(std::span<const std::uint8_t> indices, int minimumCodeSize,
                     std::vector<std::uint8_t>& data);

 private:
  // Encodes `indices` into `data`; a full dictionary is kept while its codes stand for
  // `longStrings` pixels or more on average (0: cleared at once).
  void EncodeInto(std::vector<std::uint8_t>& data, std::span<const std::uint8_t> indices,
                  int minimumCodeSize, double longStrings);
  // Starts the image data of indices below 2 ^ minimumCodeSize into `data`: a clear code and an
  // empty dictionary.
  void StartData(int minimumCodeSize, std::vector<std::uint8_t>& data);
  // Compresses the mapped pixels from `pixelAt` up to `end`, continuing the data under way.
  void Compress(const std::uint8_t* pixelAt, const std::uint8_t* end);
  // Sends the open string and the end code, then ends the data.
  void EndData();
  // Empties every slot.
  void ClearDictionary();
  // Looks up the string `pixel` appended to the string whose start is at `prefixOffset` (double
  // hashing over the slots). Returns the slot that holds it, or else the empty slot where it
  // belongs.
  std::uint32_t FindEntry(std::uint32_t prefixOffset, std::uint32_t pixel) const;
  // The slot at byte `offset` into the dictionary: one load, no index arithmetic.
  std::uint32_t SlotAt(std::size_t offset) const;
  // Fills `slot`, and its mirror when it has one.
  void Store(std::uint32_t slot, std::uint32_t entry);
  // Appends one code at the current width.
  void PutCode(int code);
  // Appends one data byte to the open sub-block; writes the sub-block out once it holds 255.
  void PutDataByte(std::uint8_t byte);
  // Pushes out the pending bits and the open sub-block, then writes the block terminator.
  void FinishData();
  void WriteSubBlock();
  // Appends finished bytes to the data under way.
  void Emit(const std::uint8_t* bytes, std::size_t count);

  // A first probe lands at most 15 slots past the last one; those slots mirror the first 15, so the
  // common path needs no wrap-around.
  static constexpr std::uint32_t kMirroredSlots = 15;

  // A slot holds its string's prefix and pixel above where the probes for the string's own
  // extensions start (see the .cpp), so one load yields the next probe's address; all ones when
  // empty.
  std::array<std::uint32_t, kDictionarySize + kMirroredSlots> dictionary_{};
  std::array<std::uint8_t, FrameBuffer::kWidth * kBandRows> band_{};  // rows of the frame in hand
  // The open sub-block: its length byte, then up to 255 data bytes. Held back until it is full or
  // the frame ends, so the length is known before it is written and the output never seeks.
  std::array<std::uint8_t, 256> subBlock_{};
  int subBlockFill_ = 0;
  std::uint32_t accumulator_ = 0;   // bits not yet written, lowest first
  int pendingBits_ = 0;             // valid low bits of the accumulator, 0..7 between codes
  int width_ = 0;                   // current code width, 3..12 while encoding
  int clearCode_ = 0;               // 2 ^ minimum code size; the end code follows it
  int startWidth_ = 0;              // code width after a clear
  int threshold_ = 0;               // the code whose making widens the codes
  int nextCode_ = 0;                // the code the next new string gets
  std::uint32_t prefixOffset_ = 0;  // the open string's start, while stringOpen_
  bool stringOpen_ = false;
  double keepLongStrings_ = 0.0;   // see EncodeInto
  double averageString_ = 0.0;     // pixels per code lately
  bool dictionaryFull_ = false;    // kept full: no strings are being made
  bool dictionaryFilled_ = false;  // the dictionary filled at least once in this image
  std::vector<std::uint8_t> trial_;
  std::vector<std::uint8_t>* data_ = nullptr;  // the data under way
};

}  // namespace animark
