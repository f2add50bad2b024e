// The small stream against the full one: for each of a table of exports of the sample storm, every
// frame a standard decoder shows must be the same picture, with the same delay, the same loop
// count and the same comments. Only the encoding may differ.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "export/animation_exporter.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark {
namespace {

const std::string kSample = std::string(ANIMARK_SOURCE_DIR) + "/data/sample";

DateTime At(int day, int hour, int minute) {
  return DateTime::FromParts(2026, 7, day, hour, minute, 0);
}

struct Case {
  const char* what;
  bool map;
  RangeIndex range;
  std::int32_t rings;
  bool labels;
  bool crosshairs;
  std::int32_t persistence;
  DateTime start;
  DateTime end;
  std::int32_t rate;
  std::int32_t pause;
};

ExportSettings SettingsOf(const Case& c, bool optimize) {
  ExportSettings settings = DefaultExportSettings(c.start);
  settings.dataDirectory = kSample;
  if (c.map) {
    settings.mapFiles = {kSample + "/map100.bmp", kSample + "/map200.bmp", kSample + "/map300.bmp"};
  }
  settings.zoomRange = c.range;
  settings.ringCounts[static_cast<std::size_t>(c.range)] = c.rings;
  settings.labelRings = c.labels ? 1 : 0;
  settings.crosshairs = c.crosshairs ? 1 : 0;
  settings.persistenceMinutes = c.persistence;
  settings.periodStart = c.start;
  settings.periodEnd = c.end;
  settings.rateMinutesPerSecond = c.rate;
  settings.pauseBetweenFrames = c.pause;
  settings.pauseAfterLastFrame = 250;
  settings.comments = "optimized or not";
  settings.iterations = 3;
  settings.optimizeForWeb = optimize ? 1 : 0;
  return settings;
}

testing::DecodedGif Export(const ExportSettings& settings, const std::filesystem::path& path) {
  auto exporter = std::make_unique<AnimationExporter>();
  testing::RecordingMessages messages;
  NoProgressWindow progress;
  EXPECT_EQ(
      exporter->ExportAnimation(settings, OutputFile::Open(path.string()), messages, progress),
      ExportOutcome::Written);
  std::string error;
  auto gif = testing::DecodeGifFile(path, &error);
  EXPECT_TRUE(gif) << error;
  return gif.value_or(testing::DecodedGif{});
}

TEST(OptimizedExportTest, ShowsEveryFrameOfTheFullStreamPixelForPixel) {
  const Case cases[] = {
      {"map, labelled rings, crosshairs", true, 1, 4, true, true, 20, At(14, 22, 0), At(15, 0, 0),
       5, 20},
      {"no map, the widest range", false, 2, 3, false, false, 60, At(14, 22, 0), At(15, 0, 0), 10,
       10},
      {"persistence 0", true, 0, 2, false, false, 0, At(14, 23, 0), At(15, 0, 0), 1, 100},
      // A day of persistence: strikes only ever come, none leave.
      {"long persistence", true, 0, 0, false, true, 1440, At(14, 22, 0), At(15, 2, 0), 10, 20},
      {"no strikes at all", true, 1, 4, true, false, 60, At(10, 12, 0), At(10, 13, 0), 1, 100},
      {"one frame", true, 1, 0, false, false, 60, At(15, 0, 0), At(15, 0, 0), 1, 100},
      // Frames 0.6 s of data apart show whole seconds: every other frame repeats the one before.
      {"frames that change nothing", false, 0, 1, false, false, 60, At(14, 23, 0), At(14, 23, 1), 1,
       1},
      {"only the time changes", false, 0, 1, true, false, 0, At(10, 12, 0), At(10, 12, 30), 1, 100},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::DecodedGif full = Export(SettingsOf(c, false), dir / "full.gif");
    const testing::DecodedGif small = Export(SettingsOf(c, true), dir / "small.gif");
    EXPECT_LT(std::filesystem::file_size(dir / "small.gif"),
              std::filesystem::file_size(dir / "full.gif"));
    EXPECT_EQ(small.width, full.width);
    EXPECT_EQ(small.height, full.height);
    EXPECT_EQ(small.comments, full.comments);
    EXPECT_EQ(small.loopCount, full.loopCount);
    ASSERT_EQ(small.frames.size(), full.frames.size());
    testing::ViewerScreen fullScreen(full);
    testing::ViewerScreen smallScreen(small);
    for (std::size_t i = 0; i < full.frames.size(); ++i) {
      ASSERT_TRUE(fullScreen.Show(full.frames[i]) && smallScreen.Show(small.frames[i]));
      EXPECT_EQ(small.frames[i].delay, full.frames[i].delay) << "frame " << i;
      ASSERT_TRUE(smallScreen.Colours() == fullScreen.Colours()) << "frame " << i;
    }
  }
}

}  // namespace
}  // namespace animark
