// The whole picture path against one known-good file: the README's demo animation, exported from
// the bundled sample set, must come out byte for byte as the committed docs/storm-night.gif.

#include <gtest/gtest.h>

#include <memory>

#include "export/animation_exporter.h"
#include "support/test_support.h"

namespace animark {
namespace {

const std::string kSourceDir = ANIMARK_SOURCE_DIR;

TEST(DemoAnimationTest, SampleStormExportsExactlyAsTheCommittedAnimation) {
  const std::string sample = kSourceDir + "/data/sample";
  ExportSettings settings = DefaultExportSettings(DateTime());
  settings.dataDirectory = sample;
  settings.mapFiles = {sample + "/map100.bmp", sample + "/map200.bmp", sample + "/map300.bmp"};
  settings.zoomRange = 1;
  settings.ringCounts[1] = 4;
  settings.labelRings = 1;
  settings.crosshairs = 1;
  settings.periodStart = DateTime::FromParts(2026, 7, 14, 21, 0, 0);
  settings.periodEnd = DateTime::FromParts(2026, 7, 15, 2, 0, 0);
  settings.rateMinutesPerSecond = 10;
  settings.pauseBetweenFrames = 50;
  settings.pauseAfterLastFrame = 300;
  settings.persistenceMinutes = 20;
  settings.comments = "Animark demo: a synthetic storm night";

  testing::TempDir dir;
  const auto path = dir / "storm-night.gif";
  testing::RecordingMessages messages;
  NoProgressWindow progress;
  auto exporter = std::make_unique<AnimationExporter>();
  ASSERT_EQ(
      exporter->ExportAnimation(settings, OutputFile::Open(path.string()), messages, progress),
      ExportOutcome::Written);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(testing::ReadFileBytes(path) ==
              testing::ReadFileBytes(kSourceDir + "/docs/storm-night.gif"))
      << "the demo animation changed";
}

}  // namespace
}  // namespace animark
