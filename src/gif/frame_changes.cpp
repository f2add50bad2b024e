#include "gif/frame_changes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace animark {

namespace {

constexpr int kWidth = FrameBuffer::kWidth;
constexpr int kHeight = FrameBuffer::kHeight;
// Rows mapped together, so that the column-major buffer is read a cache line at a time.
constexpr int kBandRows = 16;
static_assert(kHeight % kBandRows == 0);

// The smallest minimum code size for indices up to `largest`; a GIF allows none below 2.
int CodeSizeFor(int largest) {
  return std::max(2, static_cast<int>(std::bit_width(static_cast<unsigned>(largest))));
}

}  // namespace

SmallColourTable::SmallColourTable(const ColourTable& table,
                                   const std::array<std::uint32_t, 16>& use) {
  std::vector<int> order;
  for (int entry = 0; entry < kColourTableEntries; ++entry) {
    if (use[static_cast<std::size_t>(entry)] > 0) order.push_back(entry);
  }
  std::stable_sort(order.begin(), order.end(), [&use](int a, int b) {
    return use[static_cast<std::size_t>(a)] > use[static_cast<std::size_t>(b)];
  });
  // One index more than the entries, for transparency, as long as the table may grow.
  const int wanted = std::min<int>(kColourTableEntries, static_cast<int>(order.size()) + 1);
  sizeBits = std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(wanted - 1))));
  colours.assign(std::size_t{1} << sizeBits, RgbColour{0, 0, 0});
  for (std::size_t i = 0; i < order.size(); ++i) {
    colours[i] = table[static_cast<std::size_t>(order[i])];
    index[static_cast<std::size_t>(order[i])] = static_cast<std::uint8_t>(i);
  }
}

FrameChanges::FrameChanges(const SmallColourTable& table)
    : index_(table.index),
      tableSize_(static_cast<int>(table.colours.size())),
      shown_(FrameBuffer::kCellCount),
      current_(FrameBuffer::kCellCount) {
  patch_.indices.reserve(FrameBuffer::kCellCount);
}

void FrameChanges::Load(const FrameBuffer& frame) {
  for (int top = 0; top < kHeight; top += kBandRows) {
    const std::int16_t* column = frame.Cells().data() + top;
    std::uint8_t* band = current_.data() + static_cast<std::size_t>(top) * kWidth;
    for (int x = 0; x < kWidth; ++x, column += kHeight) {
      for (int row = 0; row < kBandRows; ++row) {
        band[row * kWidth + x] = index_[ShownEntry(column[row])];
      }
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
  patch_.minimumCodeSize = CodeSizeFor(*std::max_element(current_.begin(), current_.end()));
  patch_.indices = current_;
  return patch_;
}

const FramePatch& FrameChanges::As(Form form) {
  switch (form) {
    case Form::Transparent:
      return patch_;
    case Form::ShortGapsFilled:
      FillGaps(3);
      return formed_;
    case Form::GapsFilled:
      FillGaps(8);
      return formed_;
    case Form::Opaque:
      break;
  }
  formed_.left = patch_.left;
  formed_.top = patch_.top;
  formed_.width = patch_.width;
  formed_.height = patch_.height;
  formed_.transparent.reset();
  formed_.indices.clear();
  for (int y = patch_.top; y < patch_.top + patch_.height; ++y) {
    const std::uint8_t* now = current_.data() + static_cast<std::size_t>(y) * kWidth + patch_.left;
    formed_.indices.insert(formed_.indices.end(), now, now + patch_.width);
  }
  formed_.minimumCodeSize =
      CodeSizeFor(*std::max_element(formed_.indices.begin(), formed_.indices.end()));
  return formed_;
}

void FrameChanges::FillGaps(int longestGap) {
  formed_ = patch_;
  if (!formed_.transparent) return;
  const std::uint8_t transparent = *formed_.transparent;
  const int codeLimit = 1 << formed_.minimumCodeSize;
  const int width = formed_.width;
  for (int y = 0; y < formed_.height; ++y) {
    const std::uint8_t* now =
        current_.data() + static_cast<std::size_t>(formed_.top + y) * kWidth + formed_.left;
    std::uint8_t* cells = formed_.indices.data() + static_cast<std::size_t>(y) * width;
    for (int x = 1; x < width; ++x) {
      if (cells[x] != transparent || cells[x - 1] == transparent) continue;
      int end = x;
      while (end < width && cells[end] == transparent) ++end;
      const bool fits = std::all_of(now + x, now + end,
                                    [codeLimit](std::uint8_t index) { return index < codeLimit; });
      if (end < width && end - x <= longestGap && fits) {
        std::copy(now + x, now + end, cells + x);
      }
      x = end;
    }
  }
}

void FrameChanges::Changes(const FrameBuffer& frame) {
  Load(frame);
  const auto row = [](std::vector<std::uint8_t>& cells, int y) {
    return cells.data() + static_cast<std::size_t>(y) * kWidth;
  };
  int top = 0;
  while (top < kHeight && std::memcmp(row(current_, top), row(shown_, top), kWidth) == 0) ++top;
  patch_.indices.clear();
  if (top == kHeight) {
    patch_.left = 0;
    patch_.top = 0;
    patch_.width = 1;
    patch_.height = 1;
    patch_.transparent = 0;
    patch_.minimumCodeSize = 2;
    patch_.indices.push_back(0);
    return;
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

  // The indices the changed cells need; the lowest other one stands for "unchanged".
  std::array<bool, kColourTableEntries> used{};
  for (int y = top; y <= bottom; ++y) {
    const std::uint8_t* now = row(current_, y);
    const std::uint8_t* before = row(shown_, y);
    for (int x = left; x <= right; ++x) {
      if (now[x] != before[x]) used[now[x]] = true;
    }
  }
  const auto unused = std::find(used.begin(), used.begin() + tableSize_, false);
  patch_.transparent.reset();
  int largest = tableSize_ - 1;
  if (unused != used.begin() + tableSize_) {
    patch_.transparent = static_cast<std::uint8_t>(unused - used.begin());
    largest = *patch_.transparent;
    for (int i = largest + 1; i < tableSize_; ++i) {
      if (used[static_cast<std::size_t>(i)]) largest = i;
    }
  }
  patch_.minimumCodeSize = CodeSizeFor(largest);

  patch_.left = left;
  patch_.top = top;
  patch_.width = right - left + 1;
  patch_.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* now = row(current_, y);
    std::uint8_t* before = row(shown_, y);
    for (int x = left; x <= right; ++x) {
      patch_.indices.push_back(patch_.transparent && now[x] == before[x] ? *patch_.transparent
                                                                         : now[x]);
    }
    std::memcpy(before + left, now + left, static_cast<std::size_t>(patch_.width));
  }
}

}  // namespace animark
