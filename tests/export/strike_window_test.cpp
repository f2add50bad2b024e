// The strike window against a plain model of the persistence window: every frame's picture must
// carry the marks of exactly the strikes from the window's start to the frame, whatever came
// before.

#include "export/strike_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "export_fixtures.h"
#include "image/palette.h"
#include "render/strike_plotter.h"
#include "support/day_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

const std::string kSample = std::string(ANIMARK_SOURCE_DIR) + "/data/sample";

DateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
  return DateTime::FromParts(year, month, day, hour, minute, second);
}

// Two strikes in one cell far from the rest, five minutes apart: 31 December 23:50 and 23:55.
constexpr StrikeRecord kFirstOfTwo{42900, 2000, 2000};
constexpr StrikeRecord kSecondOfTwo{43050, 2000, 2000};

// Day files from 26 December 2001 to 1 January 2002, flat and in per-year folders: a few hundred
// strikes a day crowded into a few hundred cells, so that cells are shared all the time, with a
// record past the day's end and empty slots among them. One file is out of time order.
class StormFolder {
 public:
  StormFolder() {
    std::mt19937 random(7);
    const auto offset = [&random] {
      return static_cast<std::int16_t>(static_cast<int>(random() % 301) - 150);
    };
    for (DateTime day = At(2001, 12, 26, 0, 0); day.Year() < 2002 || day.Day() == 1;
         day = day.AddSeconds(86400)) {
      std::vector<StrikeRecord> slots;
      for (int i = 0; i < 300; ++i) {
        slots.push_back({static_cast<std::uint16_t>(random() % 43200), offset(), offset()});
      }
      std::ranges::sort(slots, {}, &StrikeRecord::timeCode);
      if (day.Day() == 29) std::ranges::shuffle(slots, random);
      slots.insert(slots.begin() + 100, {StrikeRecord{}, StrikeRecord{}});
      slots.push_back({43200, 5, 5});
      if (day.Day() == 31) {
        slots.push_back(kFirstOfTwo);
        slots.push_back(kSecondOfTwo);
      }
      const std::string name = StrikeDataReader::DayFilePath(day, "", PathStyle::Posix);
      testing::WriteDayFile(dir_ / "flat" / name, slots);
      testing::WriteDayFile(dir_ / std::to_string(day.Year()) / name, slots);
      days_.emplace_back(day, std::move(slots));
    }
  }

  // The picture `map` with the marks of the strikes from frameTime - persistence to frameTime,
  // both inclusive, compared as date and time code. Coloured by age, each cell is marked in the
  // band of its newest strike: a quarter of the persistence each, counted in whole seconds from
  // the frame's time code, an age exactly on a boundary in the older band.
  FrameBuffer Marked(const FrameBuffer& map, RangeIndex range, std::int32_t persistence,
                     const DateTime& frameTime, bool ageColours = false) const {
    FrameBuffer picture = map;
    std::vector<std::int64_t> newestAge(FrameBuffer::kCellCount, -1);
    const auto seconds = [](const DateTime& day, int code) {
      const double days = DateTime::FromParts(day.Year(), day.Month(), day.Day(), 0, 0, 0).Days();
      return std::llround(days) * 86400 + std::int64_t{2} * code;
    };
    if (!frameTime.IsValid() || persistence < 0) return picture;
    const auto moment = [](const DateTime& t, int code) {
      return std::tuple(t.Year(), t.Month(), t.Day(), code);
    };
    const DateTime start = frameTime.AddSeconds(-std::int64_t{60} * persistence);
    const auto first = moment(start, TimeCodeOf(start.Hour(), start.Minute(), start.Second()));
    const auto last =
        moment(frameTime, TimeCodeOf(frameTime.Hour(), frameTime.Minute(), frameTime.Second()));
    for (const auto& [day, slots] : days_) {
      for (const StrikeRecord& strike : slots) {
        const auto at = moment(day, strike.timeCode);
        if (strike.IsEmptySlot() || strike.timeCode > kLastTimeCodeOfDay || at < first ||
            last < at) {
          continue;
        }
        if (const auto cell = StrikeCell(range, strike.offsetX, strike.offsetY)) {
          const std::size_t index = FrameBuffer::Index(cell->first, cell->second);
          picture.Mark(index);
          const std::int64_t age =
              seconds(frameTime,
                      TimeCodeOf(frameTime.Hour(), frameTime.Minute(), frameTime.Second())) -
              seconds(day, strike.timeCode);
          if (newestAge[index] < 0 || age < newestAge[index]) newestAge[index] = age;
        }
      }
    }
    if (!ageColours) return picture;
    constexpr int kKindOfBand[] = {2, 1, 3, 4};  // white, yellow, orange, red
    for (std::size_t index = 0; index < FrameBuffer::kCellCount; ++index) {
      if (newestAge[index] < 0) continue;
      const std::int64_t band =
          persistence == 0 ? 0
                           : std::min<std::int64_t>(3, newestAge[index] * 4 / (60 * persistence));
      picture.MarkAs(index, kKindOfBand[band]);
    }
    return picture;
  }

  std::string Flat() const { return (dir_ / "flat").string(); }
  std::string PerYear() const { return (dir_ / "%Y").string(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

 private:
  testing::TempDir dir_;
  std::vector<std::pair<DateTime, std::vector<StrikeRecord>>> days_;
};

// A picture in every map colour, so that a colour not given back after a mark shows.
FrameBuffer MapLikePicture() {
  FrameBuffer picture;
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      picture.At(x, y) = static_cast<std::int16_t>((x * 7 + y * 3) % 16);
    }
  }
  return picture;
}

std::vector<DateTime> Steps(DateTime start, std::int64_t seconds, int count) {
  std::vector<DateTime> moments;
  for (int i = 0; i < count; ++i) moments.push_back(start.AddSeconds(i * seconds));
  return moments;
}

std::vector<DateTime> operator+(std::vector<DateTime> a, const std::vector<DateTime>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(StrikeWindowTest, MarksTheStrikesOfThePersistenceWindowAtTheChosenScale) {
  testing::TempDir dir;
  // 15 July 2001; codes 21600 and 19800 are 12:00:00 and 11:00:00.
  testing::WriteDayFile(dir / "071501.dat",
                        std::vector<StrikeRecord>{
                            {19799, 100, 0}, {19800, 200, 0}, {21600, 0, 200}, {21601, 0, 300}});
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = dir.Path().string();
  settings.persistenceMinutes = 60;
  const DateTime noon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);

  struct Case {
    RangeIndex range;
    std::vector<testing::Cell> marked;
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
    StrikeWindow window(settings, DayFilesOf(settings));
    window.MoveTo(buffer, noon);
    EXPECT_EQ(testing::MarkedCells(buffer), c.marked);
    EXPECT_EQ(window.StrikeCount(), static_cast<std::int64_t>(c.marked.size()));
  }
}

TEST(StrikeWindowTest, LeavesTheMarksOfTheFullWindowOnEveryFrame) {
  const StormFolder storm;
  // The frame moments of one frame per 0.6 seconds: some frames show the same second as the one
  // before.
  ExportSettings tiny =
      testing::SettingsFor(At(2001, 12, 31, 23, 59, 0), At(2002, 1, 1, 0, 1), 1, 1);
  std::vector<DateTime> tinySteps;
  for (int i = 1; i <= 400; ++i) tinySteps.push_back(FrameMoment(tiny, i));

  struct Case {
    const char* what;
    RangeIndex range;
    std::int32_t persistence;
    std::vector<DateTime> frames;
  };
  const Case cases[] = {
      {"a minute a frame over midnight and new year", 0, 60,
       Steps(At(2001, 12, 31, 23, 0), 60, 121)},
      // The shared cell is marked from 23:50 to 00:05 and by both strikes from 23:55 to 00:00.
      {"two strikes in one cell", 0, 10, Steps(At(2001, 12, 31, 23, 48), 30, 40)},
      {"days of persistence", 0, 4 * 1440 + 7, Steps(At(2001, 12, 30, 20, 0, 1), 7 * 60 + 1, 80)},
      {"persistence 0 at odd seconds", 0, 0, Steps(At(2001, 12, 31, 6, 0, 1), 3, 200)},
      {"frames that show the same second", 0, 1, tinySteps},
      {"standing still, then on", 1, 30,
       Steps(At(2001, 12, 31, 12, 0), 0, 5) + Steps(At(2001, 12, 31, 12, 1), 60, 5)},
      {"back in time", 0, 45,
       Steps(At(2001, 12, 31, 12, 0), 600, 4) + Steps(At(2001, 12, 30, 23, 50), 300, 4)},
      {"past the whole window at once", 2, 90,
       Steps(At(2001, 12, 27, 12, 0), 60, 3) + Steps(At(2001, 12, 30, 1, 0), 60, 3)},
      {"longest persistence, before the first file", 0, 65535,
       Steps(At(2001, 12, 20, 0, 0), 86400, 14)},
      {"no such range", -1, 60, Steps(At(2001, 12, 31, 12, 0), 60, 3)},
      {"an invalid moment between", 0, 60,
       Steps(At(2001, 12, 31, 12, 0), 60, 2) + std::vector<DateTime>{DateTime()} +
           Steps(At(2001, 12, 31, 12, 2), 60, 2)},
  };
  const FrameBuffer map = MapLikePicture();
  for (const bool ageColours : {false, true}) {
    for (const std::string& folder : {storm.Flat(), storm.PerYear()}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(folder + ": " + c.what + (ageColours ? ", coloured by age" : ""));
        ExportSettings settings = DefaultExportSettings(DateTime());
        settings.dataDirectory = folder;
        settings.zoomRange = c.range;
        settings.persistenceMinutes = c.persistence;
        settings.ageColours = ageColours ? 1 : 0;
        StrikeWindow window(settings, DayFilesOf(settings));
        FrameBuffer picture = map;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
          window.MoveTo(picture, c.frames[i]);
          const FrameBuffer expected =
              storm.Marked(map, c.range, c.persistence, c.frames[i], ageColours);
          ASSERT_TRUE(std::ranges::equal(picture.Cells(), expected.Cells()))
              << "frame " << i << ", " << c.frames[i].Format("%Y-%m-%d %H:%M:%S");
        }
        window.Clear(picture);
        EXPECT_TRUE(std::ranges::equal(picture.Cells(), map.Cells()));
      }
    }
  }
}

// Ages in time codes of 2 seconds; a 60-minute window's boundaries are 15, 30 and 45 minutes
// (450, 900 and 1350 codes), a 1-minute window's 15, 30 and 45 seconds (7.5, 15, 22.5 codes).
TEST(AgeBandTest, SplitsTheWindowInFourWithBoundariesInTheOlderBand) {
  struct Case {
    std::int64_t age;
    std::int32_t persistence;
    int band;
  };
  const Case cases[] = {
      {0, 60, 0},    {449, 60, 0},  {450, 60, 1},   {899, 60, 1}, {900, 60, 2}, {1349, 60, 2},
      {1350, 60, 3}, {1800, 60, 3}, {99999, 60, 3}, {7, 1, 0},    {8, 1, 1},    {15, 1, 2},
      {22, 1, 2},    {23, 1, 3},    {30, 1, 3},     {0, 0, 0},    {5000, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AgeBand(c.age, c.persistence), c.band) << c.age << " of " << c.persistence;
  }
}

// One cell's strikes at 23:50 and 23:55 in a 10-minute window of bands 2.5 minutes wide: the cell
// shows the newer strike's band, and each boundary is crossed at the second it is reached.
TEST(StrikeWindowTest, ColoursACellByItsNewestStrikesAge) {
  const StormFolder storm;
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = storm.Flat();
  settings.persistenceMinutes = 10;
  settings.ageColours = 1;
  const auto cell = StrikeCell(0, kFirstOfTwo.offsetX, kFirstOfTwo.offsetY);
  ASSERT_TRUE(cell);
  StrikeWindow window(settings, DayFilesOf(settings));
  FrameBuffer picture = MapLikePicture();
  const std::int16_t colour = picture.At(cell->first, cell->second);
  struct Step {
    DateTime moment;
    std::uint8_t shown;  // colour table entry
  };
  const std::uint8_t kMap = static_cast<std::uint8_t>(colour);
  const Step steps[] = {
      {At(2001, 12, 31, 23, 49, 58), kMap}, {At(2001, 12, 31, 23, 50), 15},
      {At(2001, 12, 31, 23, 52, 28), 15},   {At(2001, 12, 31, 23, 52, 30), 14},
      {At(2001, 12, 31, 23, 54, 58), 14},   {At(2001, 12, 31, 23, 55), 15},  // the newer one
      {At(2001, 12, 31, 23, 57, 30), 14},   {At(2002, 1, 1, 0, 0), 11},
      {At(2002, 1, 1, 0, 2, 30), 12},       {At(2002, 1, 1, 0, 5), 12},
      {At(2002, 1, 1, 0, 5, 2), kMap},
  };
  for (const Step& step : steps) {
    window.MoveTo(picture, step.moment);
    EXPECT_EQ(ShownEntry(picture.At(cell->first, cell->second)), step.shown)
        << step.moment.Format("%H:%M:%S");
  }
}

TEST(StrikeWindowTest, KeepsACellMarkedWhileAnyOfItsStrikesLives) {
  const StormFolder storm;
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = storm.Flat();
  settings.persistenceMinutes = 10;
  const auto cell = StrikeCell(0, kFirstOfTwo.offsetX, kFirstOfTwo.offsetY);
  ASSERT_TRUE(cell);
  StrikeWindow window(settings, DayFilesOf(settings));
  FrameBuffer picture = MapLikePicture();
  const std::int16_t colour = picture.At(cell->first, cell->second);
  struct Step {
    DateTime moment;
    bool marked;
  };
  const Step steps[] = {
      {At(2001, 12, 31, 23, 49, 58), false}, {At(2001, 12, 31, 23, 50), true},
      {At(2001, 12, 31, 23, 58), true},      {At(2002, 1, 1, 0, 0), true},  // the first has left
      {At(2002, 1, 1, 0, 5, 1), true},       {At(2002, 1, 1, 0, 5, 2), false},
  };
  for (const Step& step : steps) {
    window.MoveTo(picture, step.moment);
    EXPECT_EQ(picture.At(cell->first, cell->second),
              step.marked ? colour + FrameBuffer::kStrikeMark : colour)
        << step.moment.Format("%H:%M:%S");
  }
}

TEST(CountStrikesInPeriodTest, CountsEveryStrikeOfThePeriodInTheStrikeArea) {
  using testing::StrikeAt;
  testing::TempDir dir;
  // All but one on the detector's cell; the period runs from 23:50 to 00:10.
  testing::WriteDayFile(dir / "123001.dat", {StrikeAt(23, 49, 58, 0, 0), StrikeAt(23, 50, 0, 0, 0),
                                             StrikeAt(23, 59, 0, 1, 1)});
  testing::WriteDayFile(dir / "123101.dat", {StrikeAt(0, 5, 0, 5, 5), StrikeAt(0, 6, 0, 9000, 0),
                                             StrikeAt(0, 10, 0, 0, 0), StrikeAt(0, 10, 2, 0, 0)});
  ExportSettings settings =
      testing::SettingsFor(At(2001, 12, 30, 23, 50), At(2001, 12, 31, 0, 10), 1, 100);
  settings.dataDirectory = dir.Path().string();
  EXPECT_EQ(CountStrikesInPeriod(settings), 4);
  settings.zoomRange = -1;
  EXPECT_EQ(CountStrikesInPeriod(settings), 0);
  settings.zoomRange = 0;
  std::swap(settings.periodStart, settings.periodEnd);
  EXPECT_EQ(CountStrikesInPeriod(settings), 0);
}

}  // namespace
}  // namespace animark
