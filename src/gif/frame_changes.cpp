#include "gif/frame_changes.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#include "gif/row_band.h"

namespace animark {

namespace {

constexpr int kWidth = FrameBuffer::kWidth;
constexpr int kHeight = FrameBuffer::kHeight;

// The smallest minimum code size for indices up to `largest`; a GIF allows none below 2.
int CodeSizeFor(int largest) {
  return std::max(2, static_cast<int>(std::bit_width(static_cast<unsigned>(largest))));
}

}  // namespace

SmallColourTable::SmallColourTable(std::span<const RgbColour> table,
                                   const std::array<std::uint32_t, 16>& use) {
  assert(table.size() == kColourTableEntries);
  std::vector<int> order;
  for (int entry = 0; entry < kColourTableEntries; ++entry) {
    if (use[static_cast<std::size_t>(entry)] > 0) order.push_back(entry);
  }
  std::stable_sort(order.begin(), order.end(), [&use](int a, int b) {
    return use[static_cast<std::size_t>(a)] > use[static_cast<std::size_t>(b)];
  });
  // One index more than the entries, for transparency, as long as the table may grow.
  const int wanted = std::min<int>(kColourTableEntries, static_cast<int>(order.size()) + 1);
  const int sizeBits =
      std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(wanted - 1))));
  colours.assign(std::size_t{1} << sizeBits, RgbColour{0, 0, 0});
  for (std::size_t i = 0; i < order.size(); ++i) {
    colours[i] = table[static_cast<std::size_t>(order[i])];
    index[static_cast<std::size_t>(order[i])] = static_cast<std::uint8_t>(i);
  }
}

FrameChanges::FrameChanges(const SmallColourTable& table)
    : index_(table.index),
      tableSize_(static_cast<int>(table.colours.size())),
      shown_(FrameBuffer::kCellCount) {}

void FrameChanges::Whole(const FrameBuffer& frame, ChangedRectangle& into) {
  into.complete = true;
  FramePatch& patch = into.transparent;
  const auto cells = frame.Cells();
  std::copy(cells.begin(), cells.end(), shown_.begin());
  patch.left = 0;
  patch.top = 0;
  patch.width = kWidth;
  patch.height = kHeight;
  patch.transparent.reset();
  patch.indices.resize(FrameBuffer::kCellCount);
  const std::array<std::uint8_t, 16> index = index_;
  for (int top = 0; top < kHeight; top += kBandRows) {
    CopyRowBand(
        frame, top, [&index](std::int16_t cell) { return index[ShownEntry(cell)]; },
        patch.indices.data() + static_cast<std::size_t>(top) * kWidth);
  }
  patch.minimumCodeSize =
      CodeSizeFor(*std::max_element(patch.indices.begin(), patch.indices.end()));
  into.colours = patch.indices;
}

namespace {

// `changed` with the runs of up to `longestGap` unchanged cells between changed ones in a row
// sent in their own colours, into `into`.
void FillGaps(const ChangedRectangle& changed, int longestGap, FramePatch& into) {
  into = changed.transparent;
  if (!into.transparent) return;
  const std::uint8_t transparent = *into.transparent;
  const int codeLimit = 1 << into.minimumCodeSize;
  const int width = into.width;
  for (int y = 0; y < into.height; ++y) {
    const std::uint8_t* now = changed.colours.data() + static_cast<std::size_t>(y) * width;
    std::uint8_t* cells = into.indices.data() + static_cast<std::size_t>(y) * width;
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

}  // namespace

void FormPatch(const ChangedRectangle& changed, PatchForm form, FramePatch& into) {
  switch (form) {
    case PatchForm::Transparent:
      into = changed.transparent;
      return;
    case PatchForm::ShortGapsFilled:
      FillGaps(changed, 3, into);
      return;
    case PatchForm::GapsFilled:
      FillGaps(changed, 8, into);
      return;
    case PatchForm::Opaque:
      break;
  }
  const FramePatch& place = changed.transparent;
  into.left = place.left;
  into.top = place.top;
  into.width = place.width;
  into.height = place.height;
  into.transparent.reset();
  into.indices = changed.colours;
  into.minimumCodeSize = CodeSizeFor(*std::max_element(into.indices.begin(), into.indices.end()));
}

void FrameChanges::Changes(const FrameBuffer& frame, ChangedRectangle& into) {
  FramePatch& patch = into.transparent;
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
  if (left == kWidth) {
    patch.left = 0;
    patch.top = 0;
    patch.width = 1;
    patch.height = 1;
    patch.transparent = 0;
    patch.minimumCodeSize = 2;
    patch.indices.assign(1, 0);
    into.colours.assign(1, 0);
    into.complete = true;
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
  patch.left = left;
  patch.top = top;
  patch.width = right - left + 1;
  patch.height = bottom - top + 1;
  const auto height = static_cast<std::size_t>(patch.height);
  into.before.resize(static_cast<std::size_t>(patch.width) * height);
  into.after.resize(into.before.size());
  for (int x = left; x <= right; ++x) {
    const std::size_t at = static_cast<std::size_t>(x - left) * height;
    std::copy_n(column(before, x) + top, height, into.before.begin() + at);
    std::copy_n(column(now, x) + top, height, into.after.begin() + at);
    std::copy_n(column(now, x) + top, height, column(before, x) + top);
  }
  into.index = index_;
  into.tableSize = tableSize_;
  into.complete = false;
}

void CompleteRectangle(ChangedRectangle& changed) {
  if (changed.complete) return;
  changed.complete = true;
  FramePatch& patch = changed.transparent;
  const int width = patch.width;
  const int height = patch.height;
  const int tableSize = changed.tableSize;
  // The new indices of the rectangle, row by row; the changed cells marked in the transparent
  // form, whose index for "unchanged" is chosen below, as the lowest one no changed cell needs.
  constexpr std::uint8_t kUnchanged = 0xFF;
  const std::size_t cellCount = static_cast<std::size_t>(width) * height;
  changed.colours.resize(cellCount);
  patch.indices.resize(cellCount);
  std::array<bool, kColourTableEntries> used{};
  for (int x = 0; x < width; ++x) {
    const std::int16_t* a = changed.after.data() + static_cast<std::size_t>(x) * height;
    const std::int16_t* b = changed.before.data() + static_cast<std::size_t>(x) * height;
    std::size_t at = static_cast<std::size_t>(x);
    for (int y = 0; y < height; ++y, at += static_cast<std::size_t>(width)) {
      const std::uint8_t index = changed.index[ShownEntry(a[y])];
      changed.colours[at] = index;
      // A cell may change its value but not its colour (a mark on a cell of the strike colour).
      if (a[y] == b[y] || index == changed.index[ShownEntry(b[y])]) {
        patch.indices[at] = kUnchanged;
      } else {
        patch.indices[at] = index;
        used[index] = true;
      }
    }
  }
  const auto unused = std::find(used.begin(), used.begin() + tableSize, false);
  patch.transparent.reset();
  int largest = tableSize - 1;
  if (unused != used.begin() + tableSize) {
    patch.transparent = static_cast<std::uint8_t>(unused - used.begin());
    largest = *patch.transparent;
    for (int i = largest + 1; i < tableSize; ++i) {
      if (used[static_cast<std::size_t>(i)]) largest = i;
    }
  }
  patch.minimumCodeSize = CodeSizeFor(largest);
  for (std::size_t i = 0; i < cellCount; ++i) {
    if (patch.indices[i] == kUnchanged) {
      patch.indices[i] = patch.transparent ? *patch.transparent : changed.colours[i];
    }
  }
}

}  // namespace animark
