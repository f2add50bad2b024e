// The strike window against the full re-read of every frame's persistence window: the pictures,
// and the bytes of whole exports, must be the same.

#include "export/strike_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "export/animation_exporter.h"
#include "export/file_sink.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "export_fixtures.h"
#include "gif/changes_only_stream.h"
#include "image/palette.h"
#include "maps/background_map.h"
#include "render/range_rings.h"
#include "render/strike_plotter.h"
#include "render/text_overlay.h"
#include "strikes/day_file_fixture.h"
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
    }
  }

  std::string Flat() const { return (dir_ / "flat").string(); }
  std::string PerYear() const { return (dir_ / "%Y").string(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

 private:
  testing::TempDir dir_;
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
  for (const std::string& folder : {storm.Flat(), storm.PerYear()}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(folder + ": " + c.what);
      ExportSettings settings = DefaultExportSettings(DateTime());
      settings.dataDirectory = folder;
      settings.zoomRange = c.range;
      settings.persistenceMinutes = c.persistence;
      StrikeWindow window(settings, DayFilesOf(settings));
      StrikeDataReader reader = DayFilesOf(settings);
      FrameBuffer picture = map;
      for (std::size_t i = 0; i < c.frames.size(); ++i) {
        window.MoveTo(picture, c.frames[i]);
        FrameBuffer expected = map;
        if (IsRangeIndex(c.range)) {
          reader.ReadWindow(c.frames[i], c.persistence,
                            [&](const StrikeRecord& s) { PlotStrike(expected, c.range, s); });
        }
        ASSERT_TRUE(std::ranges::equal(picture.Cells(), expected.Cells()))
            << "frame " << i << ", " << c.frames[i].Format("%Y-%m-%d %H:%M:%S");
      }
      window.Clear(picture);
      EXPECT_TRUE(std::ranges::equal(picture.Cells(), map.Cells()));
    }
  }
}

TEST(StrikeWindowTest, KeepsACellMarkedWhileAnyOfItsStrikesLives) {
  const StormFolder storm;
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = storm.Flat();
  settings.persistenceMinutes = 10;
  const auto cell = StrikeCell(0, kFirstOfTwo);
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

// How much the frames use each entry, as the exporter counts it for a small stream.
std::array<std::uint32_t, kColourTableEntries> EntryUse(const FrameBuffer& picture) {
  std::array<std::uint32_t, kColourTableEntries> use{};
  for (const std::int16_t cell : picture.Cells()) ++use[ShownEntry(cell)];
  for (const std::int16_t entry : {kStrikeColour, kValueColour, kFrameTimeBoxColour}) {
    use[static_cast<std::size_t>(entry)] += 1u << 30;
  }
  return use;
}

// The export as it was made before the strike window: every frame reads its whole window afresh
// and the marks are cleared after it is written.
void ExportByFullReads(const ExportSettings& settings, const std::filesystem::path& path) {
  auto picture = std::make_unique<FrameBuffer>();
  const RangeIndex range = settings.zoomRange;
  std::optional<ColourTable> mapColours;
  if (IsRangeIndex(range) && !settings.mapFiles[range].empty()) {
    const MapLoad load = LoadBackgroundMap(settings.mapFiles[range], *picture);
    if (load.Usable()) mapColours = load.colours;
  }
  if (!mapColours) picture->Fill(0);
  DrawRangeRings(*picture, settings);
  if (settings.crosshairs == 1) DrawCrosshairs(*picture);
  DrawTextBlock(*picture, settings);

  OutputFile out = OutputFile::Open(path.string());
  const std::string_view comments[] = {settings.comments, GifWriter::kCreditComment};
  const ColourTable colours = mapColours.value_or(kDefaultPalette);
  const GifStreamHead head{colours, comments, settings.iterations};
  FileSink sink(out);
  std::unique_ptr<FrameStream> gif;
  if (settings.optimizeForWeb != 0) {
    gif = std::make_unique<ChangesOnlyStream>(sink, head, EntryUse(*picture));
  } else {
    gif = std::make_unique<WholeFrameStream>(sink, head);
  }
  auto encoder = std::make_unique<LzwEncoder>();
  StrikeDataReader dayFiles = DayFilesOf(settings);
  const std::int32_t frameCount = PlanFrames(settings).frameCount;
  for (std::int32_t i = 1; i <= frameCount; ++i) {
    const DateTime moment = FrameMoment(settings, i);
    if (IsRangeIndex(range)) {
      dayFiles.ReadWindow(moment, settings.persistenceMinutes,
                          [&](const StrikeRecord& s) { PlotStrike(*picture, range, s); });
    }
    DrawFrameTime(*picture, moment);
    encoder->Reset();
    gif->WriteFrame(static_cast<std::uint16_t>(i == frameCount ? settings.pauseAfterLastFrame
                                                               : settings.pauseBetweenFrames),
                    *encoder, *picture);
    picture->ClearStrikeMarks();
  }
  gif->WriteTrailer();
  ASSERT_TRUE(out.Close());
}

TEST(StrikeWindowTest, ExportsTheSameBytesAsReadingEveryFrameInFull) {
  const StormFolder storm;
  struct Case {
    const char* what;
    RangeIndex range;
    std::int32_t persistence;
    DateTime start;
    DateTime end;
    std::int32_t rate;
    std::int32_t pause;
    bool perYear;
  };
  const Case cases[] = {
      {"a minute a frame over new year", 0, 60, At(2001, 12, 31, 23, 0), At(2002, 1, 1, 1, 0), 1,
       100, false},
      {"days of persistence", 0, 3 * 1440 + 11, At(2001, 12, 31, 18, 0, 1), At(2002, 1, 1, 3, 0, 1),
       10, 50, true},
      {"persistence 0, six seconds a frame", 1, 0, At(2001, 12, 31, 23, 57, 1),
       At(2002, 1, 1, 0, 2, 1), 1, 10, false},
      // 0.6 seconds a frame: one frame in three shows the second of the frame before.
      {"frames that show the same second", 2, 1, At(2001, 12, 31, 23, 59, 30),
       At(2002, 1, 1, 0, 0, 30), 1, 1, false},
  };
  for (const Case& c : cases) {
    for (const bool optimize : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (optimize ? ", optimized" : ""));
      ExportSettings settings = testing::SettingsFor(c.start, c.end, c.rate, c.pause);
      settings.dataDirectory = c.perYear ? storm.PerYear() : storm.Flat();
      settings.mapFiles = {kSample + "/map100.bmp", kSample + "/map200.bmp",
                           kSample + "/map300.bmp"};
      settings.zoomRange = c.range;
      settings.ringCounts[static_cast<std::size_t>(c.range)] = 3;
      settings.crosshairs = 1;
      settings.persistenceMinutes = c.persistence;
      settings.optimizeForWeb = optimize ? 1 : 0;

      auto exporter = std::make_unique<AnimationExporter>();
      testing::RecordingMessages messages;
      NoProgressWindow progress;
      ASSERT_EQ(
          exporter->ExportAnimation(settings, OutputFile::Open((storm / "window.gif").string()),
                                    messages, progress),
          ExportOutcome::Written);
      ExportByFullReads(settings, storm / "full.gif");
      EXPECT_TRUE(testing::ReadFileBytes(storm / "window.gif") ==
                  testing::ReadFileBytes(storm / "full.gif"));
    }
  }
}

}  // namespace
}  // namespace animark
