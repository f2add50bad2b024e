#include "export/strike_pass.h"

#include <gtest/gtest.h>

#include <vector>

#include "strikes/day_file_fixture.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::Cell;
using testing::MarkedCells;

TEST(MarkStrikesTest, MarksTheStrikesOfThePersistenceWindowAtTheChosenScale) {
  testing::TempDir dir;
  // 15 July 2001; codes 21600 and 19800 are 12:00:00 and 11:00:00.
  testing::WriteDayFile(dir / "071501.dat",
                        {{19799, 100, 0}, {19800, 200, 0}, {21600, 0, 200}, {21601, 0, 300}});
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = dir.Path().string();
  settings.persistenceMinutes = 60;
  const DateTime noon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);

  struct Case {
    RangeIndex range;
    std::vector<Cell> marked;
  };
  const Case cases[] = {
      {0, {{246, 258}, {265, 240}}},  // 200 units are 19 pixels across and 18 down
      {2, {{246, 246}, {252, 240}}},
      {-1, {}},
  };
  FrameBuffer buffer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    buffer.Fill(0);
    settings.zoomRange = c.range;
    StrikeDataReader dayFiles = DayFilesOf(settings);
    MarkStrikes(buffer, settings, dayFiles, noon);
    EXPECT_EQ(MarkedCells(buffer), c.marked);
  }
}

}  // namespace
}  // namespace animark
