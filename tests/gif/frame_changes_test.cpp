#include "gif/frame_changes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace animark {
namespace {

// Cells along a row from (x, y), one character each: a hex digit is that entry, 'M' the strike
// colour with a strike mark on it.
struct CellRun {
  int x;
  int y;
  std::string_view cells;
};

void Paint(FrameBuffer& picture, const std::vector<CellRun>& runs) {
  for (const CellRun& run : runs) {
    for (std::size_t i = 0; i < run.cells.size(); ++i) {
      const char c = run.cells[i];
      picture.At(run.x + static_cast<int>(i), run.y) =
          c == 'M' ? static_cast<std::int16_t>(kStrikeColour + FrameBuffer::kStrikeMark)
                   : static_cast<std::int16_t>(std::stoi(std::string(1, c), nullptr, 16));
    }
  }
}

// A rectangle in one form: its indices in hex, row by row; its transparent index (-1: none); its
// minimum code size.
struct Formed {
  std::vector<std::string> rows;
  int transparent;
  int codeSize;
};

void ExpectFormed(const FramePatch& patch, const std::array<int, 4>& place,
                  const Formed& expected) {
  EXPECT_EQ((std::array{patch.left, patch.top, patch.width, patch.height}), place);
  ASSERT_EQ(patch.indices.size(), static_cast<std::size_t>(patch.width) * patch.height);
  std::vector<std::string> rows;
  for (int y = 0; y < patch.height; ++y) {
    std::string row;
    for (int x = 0; x < patch.width; ++x) {
      row += "0123456789abcdef"[patch.indices[static_cast<std::size_t>(y) * patch.width + x]];
    }
    rows.push_back(row);
  }
  EXPECT_EQ(rows, expected.rows);
  EXPECT_EQ(patch.transparent ? int{*patch.transparent} : -1, expected.transparent);
  EXPECT_EQ(patch.minimumCodeSize, expected.codeSize);
}

// Two pictures in turn, and the rectangle of what the second changes in each form it may be sent
// in. The stream's table shows entries 0 .. tableEntries - 1, each at its own index.
TEST(FrameChangesTest, ChangedRectangleInEachForm) {
  const struct {
    const char* what;
    int tableEntries;
    std::vector<CellRun> before;  // on a picture of entry 0
    std::vector<CellRun> after;   // over `before`
    std::array<int, 4> place;     // left, top, width, height
    Formed transparent, shortGapsFilled, gapsFilled, opaque;
  } cases[] = {
      // Gaps of 2 and 5 cells, and one of 2 whose colour needs a wider code than the changes:
      // the short form fills only the first, the other gap form the first two. Runs at the start
      // and end of a row stay transparent in every form but the opaque one.
      {"gaps between changed cells",
       7,
       {{100, 10, "3333333333553"}, {100, 11, "3333333333333"}},
       {{100, 10, "1332333331552"}, {100, 11, "3333323333333"}},
       {100, 10, 13, 2},
       {{"1002000001002", "0000020000000"}, 0, 2},
       {{"1332000001002", "0000020000000"}, 0, 2},
       {{"1332333331002", "0000020000000"}, 0, 2},
       {{"1332333331552", "3333323333333"}, -1, 3}},
      {"a mark on a cell of the strike colour changes no colour",
       15,
       {{50, 60, "ee"}},
       {{50, 60, "M1"}},
       {50, 60, 2, 1},
       {{"01"}, 0, 2},
       {{"01"}, 0, 2},
       {{"01"}, 0, 2},
       {{"e1"}, -1, 4}},
      // A table of 16 entries has no index to spare: the changed cells need every one here.
      {"full table, every index changed to",
       16,
       {{0, 0, "123456789abcdef0"}},
       {{0, 0, "0123456789abcdef"}},
       {0, 0, 16, 1},
       {{"0123456789abcdef"}, -1, 4},
       {{"0123456789abcdef"}, -1, 4},
       {{"0123456789abcdef"}, -1, 4},
       {{"0123456789abcdef"}, -1, 4}},
      // Here a colour no changed cell needs serves as the transparent index.
      {"full table, index 0 unused by the changes",
       16,
       {{0, 0, "3333"}},
       {{0, 0, "933f"}},
       {0, 0, 4, 1},
       {{"900f"}, 0, 4},
       {{"933f"}, 0, 4},
       {{"933f"}, 0, 4},
       {{"933f"}, -1, 4}},
      // Every frame needs an image to carry its delay.
      {"nothing changes",
       7,
       {{5, 5, "123"}},
       {},
       {0, 0, 1, 1},
       {{"0"}, 0, 2},
       {{"0"}, 0, 2},
       {{"0"}, 0, 2},
       {{"0"}, -1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::array<std::uint32_t, kColourTableEntries> use{};
    for (int entry = 0; entry < c.tableEntries; ++entry) {
      use[static_cast<std::size_t>(entry)] = static_cast<std::uint32_t>(1000 - entry);
    }
    FrameChanges changes(SmallColourTable(kDefaultPalette, use));
    FrameBuffer picture;
    ChangedRectangle changed;
    Paint(picture, c.before);
    changes.Whole(picture, changed);
    Paint(picture, c.after);
    changes.Changes(picture, changed);
    CompleteRectangle(changed);
    ExpectFormed(changed.transparent, c.place, c.transparent);

    FramePatch formed;
    for (const auto& [form, expected] : {std::pair{PatchForm::Transparent, &c.transparent},
                                         std::pair{PatchForm::ShortGapsFilled, &c.shortGapsFilled},
                                         std::pair{PatchForm::GapsFilled, &c.gapsFilled},
                                         std::pair{PatchForm::Opaque, &c.opaque}}) {
      SCOPED_TRACE(static_cast<int>(form));
      FormPatch(changed, form, formed);
      ExpectFormed(formed, c.place, *expected);
    }
  }
}

}  // namespace
}  // namespace animark
