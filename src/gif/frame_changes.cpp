#include "gif/frame_changes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "image/palette.h"

namespace animark {

namespace {

constexpr int kWidth = FrameBuffer::kWidth;
constexpr int kHeight = FrameBuffer::kHeight;
// Rows mapped together, so that the column-major buffer is read a cache line at a time.
constexpr int kBandRows = 16;
static_assert(kHeight % kBandRows == 0);

}  // namespace

FrameChanges::FrameChanges() : shown_(FrameBuffer::kCellCount), current_(FrameBuffer::kCellCount) {
  patch_.entries.reserve(FrameBuffer::kCellCount);
}

void FrameChanges::Load(const FrameBuffer& frame) {
  for (int top = 0; top < kHeight; top += kBandRows) {
    const std::int16_t* column = frame.Cells().data() + top;
    std::uint8_t* band = current_.data() + static_cast<std::size_t>(top) * kWidth;
    for (int x = 0; x < kWidth; ++x, column += kHeight) {
      for (int row = 0; row < kBandRows; ++row) band[row * kWidth + x] = ShownEntry(column[row]);
    }
  }
}

const FramePatch& FrameChanges::Whole(const FrameBuffer& frame) {
  Load(frame);
  shown_ = current_;
  patch_.left = 0;
  patch_.top = 0;
  patch_.width = kWidth;
  patch_.height = kHeight;
  patch_.transparent.reset();
  patch_.entries = current_;
  return patch_;
}

const FramePatch& FrameChanges::Changes(const FrameBuffer& frame) {
  Load(frame);
  const auto row = [](std::vector<std::uint8_t>& cells, int y) {
    return cells.data() + static_cast<std::size_t>(y) * kWidth;
  };
  int top = 0;
  while (top < kHeight && std::memcmp(row(current_, top), row(shown_, top), kWidth) == 0) ++top;
  patch_.entries.clear();
  if (top == kHeight) {
    patch_.left = 0;
    patch_.top = 0;
    patch_.width = 1;
    patch_.height = 1;
    patch_.transparent = 0;
    patch_.entries.push_back(0);
    return patch_;
  }
  int bottom = kHeight - 1;
  while (std::memcmp(row(current_, bottom), row(shown_, bottom), kWidth) == 0) --bottom;
  int left = kWidth;
  int right = -1;
  for (int y = top; y <= bottom; ++y) {
    const std::uint8_t* now = row(current_, y);
    const std::uint8_t* before = row(shown_, y);
    int x = 0;
    while (x < left && now[x] == before[x]) ++x;
    left = std::min(left, x);
    x = kWidth - 1;
    while (x > right && now[x] == before[x]) --x;
    right = std::max(right, x);
  }

  // The entries the changed cells need; any other may stand for "unchanged".
  std::array<bool, kColourTableEntries> used{};
  for (int y = top; y <= bottom; ++y) {
    const std::uint8_t* now = row(current_, y);
    const std::uint8_t* before = row(shown_, y);
    for (int x = left; x <= right; ++x) {
      if (now[x] != before[x]) used[now[x]] = true;
    }
  }
  const auto unused = std::find(used.begin(), used.end(), false);
  patch_.transparent.reset();
  if (unused != used.end()) patch_.transparent = static_cast<std::uint8_t>(unused - used.begin());

  patch_.left = left;
  patch_.top = top;
  patch_.width = right - left + 1;
  patch_.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* now = row(current_, y);
    std::uint8_t* before = row(shown_, y);
    for (int x = left; x <= right; ++x) {
      patch_.entries.push_back(patch_.transparent && now[x] == before[x] ? *patch_.transparent
                                                                         : now[x]);
    }
    std::memcpy(before + left, now + left, static_cast<std::size_t>(patch_.width));
  }
  return patch_;
}

}  // namespace animark
