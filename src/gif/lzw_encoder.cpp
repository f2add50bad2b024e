#include "gif/lzw_encoder.h"

#include <cstring>

#include "image/palette.h"

namespace animark {

namespace {

constexpr int kClearCode = 16;
constexpr int kEndCode = 17;
constexpr int kFirstStringCode = 18;
constexpr int kStartWidth = 5;
constexpr int kMaxWidth = 12;
// Making entry 4096 would need a 13-bit code: the dictionary starts again instead.
constexpr int kRestartCode = 1 << kMaxWidth;
constexpr int kMaxSubBlockBytes = 255;

// The probes for a code followed by a pixel start at slot (code << 8 | pixel) mod the size, which
// is the code's start, code * 256 mod the size, plus the pixel (wrapped). 256 is invertible modulo
// the prime size, so the start also identifies its code. The encoder carries a string's start as a
// byte offset into the dictionary (start * 4), which adds straight into a slot's address.
constexpr std::uint32_t kDictionarySize = LzwEncoder::kDictionarySize;
constexpr std::uint32_t kInverseOf256 = 5579;
static_assert(256 * kInverseOf256 % kDictionarySize == 1);
constexpr std::uint32_t kSlotBytes = sizeof(std::uint32_t);
constexpr int kOffsetBits = 15;
// Offsets are whole slots, so their two lowest bits are always clear.
constexpr std::uint32_t kOffsetMask = ((1u << kOffsetBits) - 1) & ~(kSlotBytes - 1);
static_assert((kDictionarySize - 1) * kSlotBytes <= kOffsetMask);
constexpr std::uint32_t kEmptySlot = 0xFFFFFFFFu;

constexpr std::uint32_t OffsetOf(int code) {
  return static_cast<std::uint32_t>(code) * 256 % kDictionarySize * kSlotBytes;
}
constexpr int CodeOf(std::uint32_t offset) {
  return static_cast<int>(offset / kSlotBytes * kInverseOf256 % kDictionarySize);
}
// A slot's high 17 bits: which string it holds, by its prefix's start and its pixel. All ones (an
// empty slot) would be a start past the last slot, so it matches no string.
constexpr std::uint32_t KeyOf(std::uint32_t prefix_offset, std::uint32_t pixel) {
  return (prefix_offset / kSlotBytes << 4 | pixel) << kOffsetBits;
}

// Anything that is not a palette index is a marked cell; the unsigned view also keeps a stray
// negative value from reaching the dictionary as an index.
constexpr std::uint8_t MapCell(std::int16_t cell) {
  return static_cast<std::uint16_t>(cell) >= kColourTableEntries
             ? static_cast<std::uint8_t>(kStrikeColour)
             : static_cast<std::uint8_t>(cell);
}

}  // namespace

void LzwEncoder::Reset() {
  sub_block_fill_ = 0;
  accumulator_ = 0;
  pending_bits_ = 0;
  width_ = 0;
}

void LzwEncoder::EncodeImage(const FrameBuffer& frame, OutputFile& out) {
  out_ = &out;
  Reset();
  width_ = kStartWidth;
  int threshold = 1 << kStartWidth;
  int next_code = kFirstStringCode;
  ClearDictionary();
  PutCode(kClearCode);

  std::uint32_t prefix_offset = 0;
  for (int top = 0; top < FrameBuffer::kHeight; top += kBandRows) {
    LoadBand(frame, top);
    const std::uint8_t* pixel_at = band_.data();
    if (top == 0) prefix_offset = OffsetOf(*pixel_at++);  // cell (0, 0) starts the first string
    for (const std::uint8_t* end = band_.data() + band_.size(); pixel_at != end; ++pixel_at) {
      const std::uint32_t pixel = *pixel_at;
      // Most pixels extend a string found at the first probe: that path stays short and straight.
      // The mirrored slots past the end spare it the wrap-around.
      if (const std::uint32_t entry =
              SlotAt(std::size_t{prefix_offset} + std::size_t{pixel} * kSlotBytes);
          (entry & ~kOffsetMask) == KeyOf(prefix_offset, pixel)) [[likely]] {
        prefix_offset = entry & kOffsetMask;
        continue;
      }
      const std::uint32_t slot = FindEntry(prefix_offset, pixel);
      if (const std::uint32_t entry = dictionary_[slot]; entry != kEmptySlot) {
        prefix_offset = entry & kOffsetMask;
        continue;
      }
      PutCode(CodeOf(prefix_offset));
      const int made = next_code++;
      if (made != kRestartCode) Store(slot, KeyOf(prefix_offset, pixel) | OffsetOf(made));
      prefix_offset = OffsetOf(static_cast<int>(pixel));
      if (made == threshold) {
        if (width_ == kMaxWidth) {
          // The clear code still goes out at 12 bits; the decoder widens only after reading it.
          PutCode(kClearCode);
          ClearDictionary();
          next_code = kFirstStringCode;
          width_ = kStartWidth;
          threshold = 1 << kStartWidth;
        } else {
          ++width_;
          threshold *= 2;
        }
      }
    }
  }
  PutCode(CodeOf(prefix_offset));
  PutCode(kEndCode);
  FinishData();
  out_ = nullptr;
}

void LzwEncoder::ClearDictionary() {
  dictionary_.fill(kEmptySlot);
}

std::uint32_t LzwEncoder::FindEntry(std::uint32_t prefix_offset, std::uint32_t pixel) const {
  const std::uint32_t key = KeyOf(prefix_offset, pixel);
  std::uint32_t slot = prefix_offset / kSlotBytes + pixel;
  if (slot >= kDictionarySize) slot -= kDictionarySize;
  const std::uint32_t step = slot == 0 ? 1 : kDictionarySize - slot;
  for (;;) {
    const std::uint32_t entry = dictionary_[slot];
    if ((entry & ~kOffsetMask) == key || entry == kEmptySlot) return slot;
    slot = slot >= step ? slot - step : slot + kDictionarySize - step;
  }
}

std::uint32_t LzwEncoder::SlotAt(std::size_t offset) const {
  std::uint32_t entry;
  std::memcpy(&entry, reinterpret_cast<const char*>(dictionary_.data()) + offset, sizeof entry);
  return entry;
}

void LzwEncoder::Store(std::uint32_t slot, std::uint32_t entry) {
  dictionary_[slot] = entry;
  if (slot < kMirroredSlots) dictionary_[kDictionarySize + slot] = entry;
}

void LzwEncoder::PutCode(int code) {
  accumulator_ |= static_cast<std::uint32_t>(code) << pending_bits_;
  pending_bits_ += width_;
  while (pending_bits_ >= 8) {
    PutDataByte(static_cast<std::uint8_t>(accumulator_));
    accumulator_ >>= 8;
    pending_bits_ -= 8;
  }
}

void LzwEncoder::PutDataByte(std::uint8_t byte) {
  sub_block_[++sub_block_fill_] = byte;
  if (sub_block_fill_ == kMaxSubBlockBytes) WriteSubBlock();
}

void LzwEncoder::FinishData() {
  if (pending_bits_ > 0) {
    if (pending_bits_ + width_ < 8) {
      PutDataByte(static_cast<std::uint8_t>(accumulator_));
    } else {
      // Padded with a whole zero code: when the pending bits and the width reach 16, that adds one
      // byte of zero bits.
      PutCode(0);
    }
  }
  accumulator_ = 0;
  pending_bits_ = 0;
  if (sub_block_fill_ > 0) WriteSubBlock();
  out_->PutByte(0);
}

void LzwEncoder::WriteSubBlock() {
  sub_block_[0] = static_cast<std::uint8_t>(sub_block_fill_);
  out_->Write(sub_block_.data(), static_cast<std::size_t>(sub_block_fill_) + 1);
  sub_block_fill_ = 0;
}

void LzwEncoder::LoadBand(const FrameBuffer& frame, int top) {
  const std::int16_t* column = frame.Cells().data() + top;
  for (int x = 0; x < FrameBuffer::kWidth; ++x, column += FrameBuffer::kHeight) {
    for (int row = 0; row < kBandRows; ++row) {
      band_[row * FrameBuffer::kWidth + x] = MapCell(column[row]);
    }
  }
}

}  // namespace animark
