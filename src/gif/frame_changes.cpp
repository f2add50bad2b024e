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
      shown_(FrameBuffer::kCellCount) {
  patch_.indices.reserve(FrameBuffer::kCellCount);
  colours_.reserve(FrameBuffer::kCellCount);
}

const FramePatch& FrameChanges::Whole(const FrameBuffer& frame) {
  const auto cells = frame.Cells();
  std::copy(cells.begin(), cells.end(), shown_.begin());
  patch_.left = 0;
  patch_.top = 0;
  patch_.width = kWidth;
  patch_.height = kHeight;
  patch_.transparent.reset();
  patch_.indices.resize(FrameBuffer::kCellCount);
  // Rows taken together, so that the column-major buffer is read a cache line at a time.
  std::uint8_t largest = 0;
  for (int top = 0; top < kHeight; top += kBandRows) {
    const std::int16_t* column = cells.data() + top;
    std::uint8_t* band = patch_.indices.data() + static_cast<std::size_t>(top) * kWidth;
    for (int x = 0; x < kWidth; ++x, column += kHeight) {
      for (int row = 0; row < kBandRows; ++row) {
        const std::uint8_t index = index_[ShownEntry(column[row])];
        band[row * kWidth + x] = index;
        largest = std::max(largest, index);
      }
    }
  }
  patch_.minimumCodeSize = CodeSizeFor(largest);
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
  formed_.indices = colours_;
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
    const std::uint8_t* now = colours_.data() + static_cast<std::size_t>(y) * width;
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
  const std::int16_t* now = frame.Cells().data();
  std::int16_t* before = shown_.data();
  const auto column = [](auto* cells, int x) {
    return cells + static_cast<std::size_t>(x) * kHeight;
  };
  const auto columnChanged = [&](int x) {
    return std::memcmp(column(now, x), column(before, x), kHeight * sizeof(std::int16_t)) != 0;
  };
  int left = 0;
  while (left < kWidth && !columnChanged(left)) ++left;
  patch_.indices.clear();
  if (left == kWidth) {
    patch_.left = 0;
    patch_.top = 0;
    patch_.width = 1;
    patch_.height = 1;
    patch_.transparent = 0;
    patch_.minimumCodeSize = 2;
    patch_.indices.push_back(0);
    colours_.assign(1, 0);
    return;
  }
  int right = kWidth - 1;
  while (!columnChanged(right)) --right;
  int top = kHeight;
  int bottom = -1;
  for (int x = left; x <= right; ++x) {
    const std::int16_t* a = column(now, x);
    const std::int16_t* b = column(before, x);
    int y = 0;
    while (y < top && a[y] == b[y]) ++y;
    top = std::min(top, y);
    y = kHeight - 1;
    while (y > bottom && a[y] == b[y]) --y;
    bottom = std::max(bottom, y);
  }

  // The new indices of the rectangle, row by row; the changed cells marked in the transparent
  // form, whose index for "unchanged" is chosen below, as the lowest one no changed cell needs.
  constexpr std::uint8_t kUnchanged = 0xFF;
  const int width = right - left + 1;
  const int height = bottom - top + 1;
  const std::size_t cellCount = static_cast<std::size_t>(width) * height;
  colours_.resize(cellCount);
  patch_.indices.resize(cellCount);
  std::array<bool, kColourTableEntries> used{};
  for (int x = left; x <= right; ++x) {
    const std::int16_t* a = column(now, x) + top;
    const std::int16_t* b = column(before, x) + top;
    std::size_t at = static_cast<std::size_t>(x - left);
    for (int y = 0; y < height; ++y, at += static_cast<std::size_t>(width)) {
      const std::uint8_t index = index_[ShownEntry(a[y])];
      colours_[at] = index;
      // A cell may change its value but not its colour (a mark on a cell of the strike colour).
      if (a[y] == b[y] || index == index_[ShownEntry(b[y])]) {
        patch_.indices[at] = kUnchanged;
      } else {
        patch_.indices[at] = index;
        used[index] = true;
      }
    }
    std::copy(a, a + height, column(before, x) + top);
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
  for (std::size_t i = 0; i < cellCount; ++i) {
    if (patch_.indices[i] == kUnchanged) {
      patch_.indices[i] = patch_.transparent ? *patch_.transparent : colours_[i];
    }
  }
  patch_.left = left;
  patch_.top = top;
  patch_.width = width;
  patch_.height = height;
}

}  // namespace animark
