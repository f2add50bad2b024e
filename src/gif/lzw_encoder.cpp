#include "gif/lzw_encoder.h"

#include <cstring>

#include "image/palette.h"

namespace animark {

namespace {

// A frame buffer is always sent with the 16 entries' minimum code size.
constexpr int kFrameCodeSize = 4;
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

void LzwEncoder::EncodeImage(const FrameBuffer& frame, std::vector<std::uint8_t>& data) {
  data.clear();
  StartData(kFrameCodeSize, data);
  for (int top = 0; top < FrameBuffer::kHeight; top += kBandRows) {
    CopyRowBand(
        frame, top, [](std::int16_t cell) { return ShownEntry(cell); }, band_.data());
    Compress(band_.data(), band_.data() + band_.size());
  }
  EndData();
}

void LzwEncoder::EncodeIndices(std::span<const std::uint8_t> indices, int minimumCodeSize,
                               std::vector<std::uint8_t>& data) {
  // Clearing a full dictionary at once suits most pictures; some (a map with large even areas
  // towards its end) do better keeping it while its strings stay long. Where the dictionary
  // filled, each way is tried and the shortest data sent.
  EncodeInto(data, indices, minimumCodeSize, 0.0);
  if (dictionaryFilled_) {
    for (const double longStrings : {8.0, 12.0, 16.0, 24.0, 32.0}) {
      EncodeInto(trial_, indices, minimumCodeSize, longStrings);
      if (trial_.size() < data.size()) std::swap(data, trial_);
    }
  }
}

void LzwEncoder::EncodeInto(std::vector<std::uint8_t>& data, std::span<const std::uint8_t> indices,
                            int minimumCodeSize, double longStrings) {
  data.clear();
  StartData(minimumCodeSize, data);
  keepLongStrings_ = longStrings;
  Compress(indices.data(), indices.data() + indices.size());
  EndData();
}

void LzwEncoder::StartData(int minimumCodeSize, std::vector<std::uint8_t>& data) {
  data_ = &data;
  Reset();
  clearCode_ = 1 << minimumCodeSize;
  startWidth_ = minimumCodeSize + 1;
  width_ = startWidth_;
  threshold_ = 1 << startWidth_;
  nextCode_ = clearCode_ + 2;
  stringOpen_ = false;
  keepLongStrings_ = 0.0;
  averageString_ = 0.0;
  dictionaryFull_ = false;
  dictionaryFilled_ = false;
  ClearDictionary();
  PutCode(clearCode_);
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
  const std::uint8_t* stringStart = pixelAt - 1;  // where the open string began
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
    if (keepLongStrings_ > 0.0) {
      // Pixels per code lately, averaged over about the last 32 codes.
      averageString_ += (static_cast<double>(pixelAt - stringStart) - averageString_) / 32;
      stringStart = pixelAt;
      if (dictionaryFull_) {
        // No new strings (the decoder makes none either) until the kept ones no longer pay.
        prefixOffset = OffsetOf(static_cast<int>(pixel));
        if (averageString_ < keepLongStrings_) {
          PutCode(clearCode_);
          ClearDictionary();
          nextCode = clearCode_ + 2;
          width_ = startWidth_;
          threshold = 1 << startWidth_;
          dictionaryFull_ = false;
        }
        continue;
      }
    }
    const int made = nextCode++;
    if (made != kRestartCode) Store(slot, KeyOf(prefixOffset, pixel) | OffsetOf(made));
    prefixOffset = OffsetOf(static_cast<int>(pixel));
    if (made == threshold) {
      if (width_ == kMaxWidth) dictionaryFilled_ = true;
      if (width_ == kMaxWidth && keepLongStrings_ > 0.0 && averageString_ >= keepLongStrings_) {
        dictionaryFull_ = true;
      } else if (width_ == kMaxWidth) {
        // The clear code still goes out at 12 bits; the decoder widens only after reading it.
        PutCode(clearCode_);
        ClearDictionary();
        nextCode = clearCode_ + 2;
        width_ = startWidth_;
        threshold = 1 << startWidth_;
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
  PutCode(clearCode_ + 1);  // the end code
  FinishData();
  data_ = nullptr;
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
  constexpr std::uint8_t kTerminator = 0;
  Emit(&kTerminator, 1);
}

void LzwEncoder::WriteSubBlock() {
  subBlock_[0] = static_cast<std::uint8_t>(subBlockFill_);
  Emit(subBlock_.data(), static_cast<std::size_t>(subBlockFill_) + 1);
  subBlockFill_ = 0;
}

void LzwEncoder::Emit(const std::uint8_t* bytes, std::size_t count) {
  data_->insert(data_->end(), bytes, bytes + count);
}

}  // namespace animark
