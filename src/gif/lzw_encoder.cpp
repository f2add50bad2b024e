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
constexpr std::uint32_t KeyOf(std::uint32_t prefixOffset, std::uint32_t pixel) {
  return (prefixOffset / kSlotBytes << 4 | pixel) << kOffsetBits;
}

}  // namespace

void LzwEncoder::Reset() {
  subBlockFill_ = 0;
  accumulator_ = 0;
  pendingBits_ = 0;
  width_ = 0;
}

void LzwEncoder::EncodeImage(const FrameBuffer& frame, OutputFile& out) {
  StartData(out);
  for (int top = 0; top < FrameBuffer::kHeight; top += kBandRows) {
    LoadBand(frame, top);
    Compress(band_.data(), band_.data() + band_.size());
  }
  EndData();
}

void LzwEncoder::EncodeIndices(std::span<const std::uint8_t> indices, OutputFile& out) {
  StartData(out);
  Compress(indices.data(), indices.data() + indices.size());
  EndData();
}

void LzwEncoder::StartData(OutputFile& out) {
  out_ = &out;
  Reset();
  width_ = kStartWidth;
  threshold_ = 1 << kStartWidth;
  nextCode_ = kFirstStringCode;
  stringOpen_ = false;
  ClearDictionary();
  PutCode(kClearCode);
}

void LzwEncoder::Compress(const std::uint8_t* pixelAt, const std::uint8_t* end) {
  if (pixelAt == end) return;
  if (!stringOpen_) {
    prefixOffset_ = OffsetOf(*pixelAt++);  // the first pixel starts the first string
    stringOpen_ = true;
  }
  // The hot state lives in locals for the loop, so that the compiler may keep it in registers.
  std::uint32_t prefixOffset = prefixOffset_;
  int nextCode = nextCode_;
  int threshold = threshold_;
  for (; pixelAt != end; ++pixelAt) {
    const std::uint32_t pixel = *pixelAt;
    // Most pixels extend a string found at the first probe: that path stays short and straight.
    // The mirrored slots past the end spare it the wrap-around.
    if (const std::uint32_t entry =
            SlotAt(std::size_t{prefixOffset} + std::size_t{pixel} * kSlotBytes);
        (entry & ~kOffsetMask) == KeyOf(prefixOffset, pixel)) [[likely]] {
      prefixOffset = entry & kOffsetMask;
      continue;
    }
    const std::uint32_t slot = FindEntry(prefixOffset, pixel);
    if (const std::uint32_t entry = dictionary_[slot]; entry != kEmptySlot) {
      prefixOffset = entry & kOffsetMask;
      continue;
    }
    PutCode(CodeOf(prefixOffset));
    const int made = nextCode++;
    if (made != kRestartCode) Store(slot, KeyOf(prefixOffset, pixel) | OffsetOf(made));
    prefixOffset = OffsetOf(static_cast<int>(pixel));
    if (made == threshold) {
      if (width_ == kMaxWidth) {
        // The clear code still goes out at 12 bits; the decoder widens only after reading it.
        PutCode(kClearCode);
        ClearDictionary();
        nextCode = kFirstStringCode;
        width_ = kStartWidth;
        threshold = 1 << kStartWidth;
      } else {
        ++width_;
        threshold *= 2;
      }
    }
  }
  prefixOffset_ = prefixOffset;
  nextCode_ = nextCode;
  threshold_ = threshold;
}

void LzwEncoder::EndData() {
  if (stringOpen_) PutCode(CodeOf(prefixOffset_));
  PutCode(kEndCode);
  FinishData();
  out_ = nullptr;
}

void LzwEncoder::ClearDictionary() {
  dictionary_.fill(kEmptySlot);
}

std::uint32_t LzwEncoder::FindEntry(std::uint32_t prefixOffset, std::uint32_t pixel) const {
  const std::uint32_t key = KeyOf(prefixOffset, pixel);
  std::uint32_t slot = prefixOffset / kSlotBytes + pixel;
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
  accumulator_ |= static_cast<std::uint32_t>(code) << pendingBits_;
  pendingBits_ += width_;
  while (pendingBits_ >= 8) {
    PutDataByte(static_cast<std::uint8_t>(accumulator_));
    accumulator_ >>= 8;
    pendingBits_ -= 8;
  }
}

void LzwEncoder::PutDataByte(std::uint8_t byte) {
  subBlock_[++subBlockFill_] = byte;
  if (subBlockFill_ == kMaxSubBlockBytes) WriteSubBlock();
}

void LzwEncoder::FinishData() {
  if (pendingBits_ > 0) {
    if (pendingBits_ + width_ < 8) {
      PutDataByte(static_cast<std::uint8_t>(accumulator_));
    } else {
      // Padded with a whole zero code: when the pending bits and the width reach 16, that adds one
      // byte of zero bits.
      PutCode(0);
    }
  }
  accumulator_ = 0;
  pendingBits_ = 0;
  if (subBlockFill_ > 0) WriteSubBlock();
  out_->PutByte(0);
}

void LzwEncoder::WriteSubBlock() {
  subBlock_[0] = static_cast<std::uint8_t>(subBlockFill_);
  out_->Write(subBlock_.data(), static_cast<std::size_t>(subBlockFill_) + 1);
  subBlockFill_ = 0;
}

void LzwEncoder::LoadBand(const FrameBuffer& frame, int top) {
  const std::int16_t* column = frame.Cells().data() + top;
  for (int x = 0; x < FrameBuffer::kWidth; ++x, column += FrameBuffer::kHeight) {
    for (int row = 0; row < kBandRows; ++row) {
      band_[row * FrameBuffer::kWidth + x] = ShownEntry(column[row]);
    }
  }
}

}  // namespace animark
