// An export's progress reports and the stream it leaves when it ends early or has no frames:
// nothing here needs a GIF decoder, so it runs on every system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "export/animation_exporter.h"
#include "export_fixtures.h"
#include "gif/gif_writer.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::RecordingMessages;
using testing::RecordingProgress;
using testing::TempDir;

const DateTime kNoon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);
const std::string kMap = std::string(ANIMARK_TEST_DATA_DIR) + "/maps/imagemagick-16.bmp";

class ExportRunTest : public ::testing::Test {
 protected:
  ExportOutcome Export(const ExportSettings& settings, const std::filesystem::path& path,
                       ProgressWindow& progress) {
    return exporter_.ExportAnimation(settings, OutputFile::Open(path.string()), messages_,
                                     progress);
  }

  TempDir dir_;
  AnimationExporter exporter_;
  RecordingMessages messages_;
  RecordingProgress progress_;
};

TEST_F(ExportRunTest, ReportsProgressInOrder) {
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(60), 1, 100);
  settings.mapFiles[0] = kMap;
  EXPECT_EQ(Export(settings, dir_ / "out.gif", progress_), ExportOutcome::Written);
  const std::vector<std::string> expected = {
      "text Status Adding bitmap...",
      "text Status Creating GIF file...",
      "text Status Compressing image...",
      "text Length Length of animation: 2.50 sec.",
      "text FrameCount Number of frames: 2",
      "range 1 2",
      "text Progress Progress: adding frame 1 of 2",
      "position 1",
      "repaint",
      "text Progress Progress: adding frame 2 of 2",
      "position 2",
      "repaint",
  };
  EXPECT_EQ(progress_.events, expected);
}

TEST_F(ExportRunTest, PeriodWithoutFramesStillEndsInAValidStream) {
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(-7200), 1, 100);
  settings.iterations = -1;
  const auto path = dir_ / "empty.gif";
  ASSERT_EQ(Export(settings, path, progress_), ExportOutcome::Written);
  const auto bytes = testing::ReadFileBytes(path);
  const std::size_t credit = GifWriter::kCreditComment.size();
  ASSERT_EQ(bytes.size(), 61 + 4 + credit + 1);
  EXPECT_EQ(bytes[61], 0x21);
  EXPECT_EQ(bytes[62], 0xFE);
  EXPECT_EQ(bytes.back(), 0x3B);
  EXPECT_NE(std::ranges::find(progress_.events, "text FrameCount Number of frames: -118"),
            progress_.events.end());
}

// Asks to stop once the given number of frames is shown.
class CancellingProgress final : public testing::RecordingProgress {
 public:
  explicit CancellingProgress(std::ptrdiff_t frames) : frames_(frames) {}
  bool CancelRequested() override { return std::ranges::count(events, "repaint") >= frames_; }

 private:
  std::ptrdiff_t frames_;
};

TEST_F(ExportRunTest, CancelStopsAfterTheFrameInHand) {
  const ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(600), 1, 100);
  const auto path = dir_ / "cancelled.gif";
  CancellingProgress progress(2);
  EXPECT_EQ(Export(settings, path, progress), ExportOutcome::Cancelled);
  // Two frames and no trailer: the stream ends with the second frame's block terminator.
  EXPECT_EQ(std::ranges::count(progress.events, "repaint"), 2);
  const auto bytes = testing::ReadFileBytes(path);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), 0x00);
}

}  // namespace
}  // namespace animark
