// Exports with strikes coloured by age against a plain reading of the day files: on every frame a
// standard decoder shows, each cell of the strike area has the colour of its newest strike's age
// band, or the picture's own where no strike of the window fell, and the strike count is the
// window's, in the full and the small stream.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "export/animation_exporter.h"
#include "export/frame_plan.h"
#include "image/palette.h"
#include "image/picture_geometry.h"
#include "render/strike_plotter.h"
#include "render/text_overlay.h"
#include "strikes/strike_data_reader.h"
#include "support/day_files.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::StrikeAt;

struct DayStrikes {
  DateTime day;
  std::vector<StrikeRecord> strikes;
};

std::int64_t Seconds(const DateTime& day, int code) {
  const double days = DateTime::FromParts(day.Year(), day.Month(), day.Day(), 0, 0, 0).Days();
  return std::llround(days) * 86400 + std::int64_t{2} * code;
}

// The colour table entry of each strike-area cell at `frameTime`: the newest strike from
// frameTime - persistence to frameTime (both inclusive, at the time codes' 2 seconds) gives its
// band, a quarter of the persistence each, newest first white, yellow, orange, red; a strike
// exactly on a boundary is in the older band. -1 where no strike fell. `count` is set to the
// number of those strikes.
std::vector<int> ExpectedEntries(const std::vector<DayStrikes>& days, std::int32_t persistence,
                                 const DateTime& frameTime, std::int64_t& count) {
  const std::int64_t now =
      Seconds(frameTime, TimeCodeOf(frameTime.Hour(), frameTime.Minute(), frameTime.Second()));
  const DateTime start = frameTime.AddSeconds(-std::int64_t{60} * persistence);
  const std::int64_t first =
      Seconds(start, TimeCodeOf(start.Hour(), start.Minute(), start.Second()));
  std::vector<std::int64_t> newest(FrameBuffer::kCellCount, -1);
  count = 0;
  for (const DayStrikes& day : days) {
    for (const StrikeRecord& strike : day.strikes) {
      const std::int64_t at = Seconds(day.day, strike.timeCode);
      const auto cell = StrikeCell(0, strike.offsetX, strike.offsetY);
      if (at < first || at > now || !cell) continue;
      ++count;
      std::int64_t& age = newest[FrameBuffer::Index(cell->first, cell->second)];
      if (age < 0 || now - at < age) age = now - at;
    }
  }
  constexpr int kBandEntries[] = {15, 14, 11, 12};
  std::vector<int> entries(FrameBuffer::kCellCount, -1);
  for (std::size_t i = 0; i < newest.size(); ++i) {
    if (newest[i] < 0) continue;
    const std::int64_t band =
        persistence == 0 ? 0 : std::min<std::int64_t>(3, newest[i] * 4 / (60 * persistence));
    entries[i] = kBandEntries[band];
  }
  return entries;
}

TEST(AgeColoursExportTest, EveryFrameShowsEachCellInItsNewestStrikesBand) {
  const auto at = [](int month, int day, int hour, int minute, int second = 0) {
    return DateTime::FromParts(2025 + (month == 1 ? 1 : 0), month, day, hour, minute, second);
  };
  // Around midnight into the new year: one cell hit every few minutes (its colour follows the
  // newest strike), strikes exactly 15, 30 and 45 minutes before frames (on the boundaries of a
  // 60-minute window), and a crowd of strikes sharing a few cells at all ages.
  std::vector<DayStrikes> days = {{at(12, 31, 0, 0), {}}, {at(1, 1, 0, 0), {}}};
  for (int minute = 0; minute < 60; minute += 7) {
    days[0].strikes.push_back(StrikeAt(23, minute, 0, 300, 300));
  }
  days[0].strikes.push_back(StrikeAt(23, 15, 0, -300, 0));
  days[0].strikes.push_back(StrikeAt(23, 30, 0, -300, 100));
  days[0].strikes.push_back(StrikeAt(23, 45, 0, -300, 200));
  for (int i = 0; i < 200; ++i) {
    DayStrikes& day = days[i % 2];
    const int second = (i * 617) % 3600;
    day.strikes.push_back(StrikeAt(i % 2 == 0 ? 23 : 0, second / 60, second % 60,
                                   static_cast<std::int16_t>((i % 5) * 40),
                                   static_cast<std::int16_t>((i % 3) * 40)));
  }
  testing::TempDir dir;
  for (const DayStrikes& day : days) {
    std::vector<StrikeRecord> sorted = day.strikes;
    std::ranges::sort(sorted, {}, &StrikeRecord::timeCode);
    testing::WriteDayFile(dir / StrikeDataReader::DayFilePath(day.day, "", PathStyle::Posix),
                          sorted);
  }

  struct Case {
    const char* what;
    std::int32_t persistence;
    DateTime start;
    DateTime end;
    std::int32_t rate;
  };
  const Case cases[] = {
      {"an hour across midnight, frames on the boundaries", 60, at(12, 31, 23, 30), at(1, 1, 1, 0),
       5},
      {"persistence 0", 0, at(12, 31, 23, 50), at(1, 1, 0, 10), 1},
      {"persistence 1", 1, at(12, 31, 23, 55), at(1, 1, 0, 5), 1},
  };
  for (const Case& c : cases) {
    for (const bool optimize : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.what << (optimize ? ", optimized" : ""));
      ExportSettings settings = DefaultExportSettings(c.start);
      settings.dataDirectory = dir.Path().string();
      settings.zoomRange = 0;
      settings.ringCounts[0] = 2;
      settings.periodStart = c.start;
      settings.periodEnd = c.end;
      settings.persistenceMinutes = c.persistence;
      settings.rateMinutesPerSecond = c.rate;
      settings.optimizeForWeb = optimize ? 1 : 0;
      settings.ageColours = 1;
      AnimationExporter exporter(2);
      testing::RecordingMessages messages;
      NoProgressWindow progress;
      const auto path = dir / "age.gif";
      ASSERT_EQ(
          exporter.ExportAnimation(settings, OutputFile::Open(path.string()), messages, progress),
          ExportOutcome::Written);
      const auto gif = testing::DecodeGifFile(path);
      ASSERT_TRUE(gif);
      // The default colours with orange and red in 11 and 12; the small stream orders its table
      // by use, so cells are compared by colour.
      std::vector<std::array<std::uint8_t, 3>> colours;
      for (const RgbColour& colour : kDefaultPalette) {
        colours.push_back({colour.red, colour.green, colour.blue});
      }
      colours[11] = {255, 128, 0};
      colours[12] = {255, 0, 0};
      if (!optimize) {
        EXPECT_EQ(gif->colours, colours);
      }
      const std::int32_t frameCount = PlanFrames(settings).frameCount;
      ASSERT_EQ(gif->frames.size(), static_cast<std::size_t>(frameCount));
      // The strike area of the picture without marks: rings and the blank map.
      const FrameBuffer& picture = exporter.LastPicture();
      testing::ViewerScreen screen(*gif);
      int colouredCells = 0;
      for (std::int32_t i = 1; i <= frameCount; ++i) {
        ASSERT_TRUE(screen.Show(gif->frames[static_cast<std::size_t>(i - 1)]));
        const DateTime moment = FrameMoment(settings, i);
        std::int64_t count = 0;
        const std::vector<int> entries = ExpectedEntries(days, c.persistence, moment, count);
        for (int x = 0; x <= kStrikeAreaLastColumn; ++x) {
          for (int y = 0; y < FrameBuffer::kHeight; ++y) {
            const std::size_t index = FrameBuffer::Index(x, y);
            const int entry = entries[index] >= 0 ? entries[index] : picture.At(x, y);
            colouredCells += entries[index] >= 0 ? 1 : 0;
            ASSERT_EQ(screen.Colours()[static_cast<std::size_t>(y) * FrameBuffer::kWidth + x],
                      colours[static_cast<std::size_t>(entry)])
                << "frame " << i << " at " << moment.Format("%H:%M:%S") << ", cell " << x << ","
                << y;
          }
        }
        // The strike count as its own drawing shows it.
        FrameBuffer countShown;
        DrawStrikeCount(countShown, count);
        for (int x = 572; x < FrameBuffer::kWidth; ++x) {
          for (int y = 415; y <= 430; ++y) {
            ASSERT_EQ(screen.Colours()[static_cast<std::size_t>(y) * FrameBuffer::kWidth + x],
                      colours[static_cast<std::size_t>(countShown.At(x, y))])
                << "frame " << i << ": " << count << " strikes";
          }
        }
      }
      EXPECT_GT(colouredCells, 0);
    }
  }
}

}  // namespace
}  // namespace animark
