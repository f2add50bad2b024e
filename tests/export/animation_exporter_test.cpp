#include "export/animation_exporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "export/frame_plan.h"
#include "export_fixtures.h"
#include "gif/gif_writer.h"
#include "maps/background_map.h"
#include "render/text_overlay.h"
#include "support/day_files.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::DecodedGif;
using testing::RecordingMessages;
using testing::RecordingProgress;
using testing::TempDir;

const DateTime kNoon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);
const std::string kMap = std::string(ANIMARK_TEST_DATA_DIR) + "/maps/imagemagick-16.bmp";

class ExportTest : public ::testing::Test {
 protected:
  // Exports `settings` into a file of the temporary folder and decodes it.
  DecodedGif ExportAndDecode(const ExportSettings& settings) {
    const auto path = dir_ / "out.gif";
    EXPECT_EQ(
        exporter_.ExportAnimation(settings, OutputFile::Open(path.string()), messages_, progress_),
        ExportOutcome::Written);
    std::string error;
    auto decoded = testing::DecodeGifFile(path, &error);
    EXPECT_TRUE(decoded) << error;
    return decoded.value_or(DecodedGif{});
  }

  TempDir dir_;
  AnimationExporter exporter_;
  RecordingMessages messages_;
  RecordingProgress progress_;
};

int CountStrikeColour(const testing::DecodedFrame& frame) {
  return static_cast<int>(std::ranges::count(frame.indices, 14));
}

TEST_F(ExportTest, FramesShowTheStrikesOfTheirWindowAndTheirOwnTime) {
  // Strike A at 12:03:00 on the detector, B at 12:07:30 24 cells to its right.
  testing::WriteDayFile(dir_ / "071501.dat",
                        {testing::StrikeAt(12, 3, 0, 0, 0), testing::StrikeAt(12, 7, 30, 256, 0)});
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(600), 1, 100);
  settings.dataDirectory = dir_.Path().string();
  settings.persistenceMinutes = 2;

  const DecodedGif gif = ExportAndDecode(settings);
  ASSERT_EQ(gif.frames.size(), 11u);
  EXPECT_EQ(gif.width, 640);
  EXPECT_EQ(gif.height, 480);
  ASSERT_EQ(gif.colours.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(gif.colours[i][0], kDefaultPalette[i].red) << i;
    EXPECT_EQ(gif.colours[i][2], kDefaultPalette[i].blue) << i;
  }
  EXPECT_EQ(gif.comments, std::vector<std::string>{std::string(GifWriter::kCreditComment)});
  EXPECT_EQ(gif.loopCount, 0);

  for (int i = 1; i <= 11; ++i) {
    SCOPED_TRACE(i);
    const auto& frame = gif.frames[i - 1];
    EXPECT_EQ(frame.delay, i == 11 ? 150 : 100);
    // A's window is 12:03..12:05 (frames 4-6), B's 12:07:30..12:09:30 (frames 9-10).
    const bool a = i >= 4 && i <= 6, b = i >= 9 && i <= 10;
    EXPECT_EQ(frame.At(246, 240) == 14, a);
    EXPECT_EQ(frame.At(270, 240) == 14, b);
    EXPECT_EQ(CountStrikeColour(frame), int{a} + int{b});

    FrameBuffer expected;
    DrawFrameTime(expected, kNoon.AddSeconds((i - 1) * 60));
    for (int x = 500; x < 640; ++x) {
      for (int y = 270; y <= 300; ++y) {
        ASSERT_EQ(frame.At(x, y), expected.At(x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ExportTest, RefusedMapIsToldOnceAndTheGifUsesTheDefaultColours) {
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(120), 1, 100);
  settings.mapFiles[0] = (dir_ / "missing.bmp").string();
  const DecodedGif gif = ExportAndDecode(settings);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Bitmap for 100 mi/160 km could not be opened.");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
  EXPECT_EQ(gif.frames.size(), 3u);
  EXPECT_EQ(gif.colours[7], (std::array<std::uint8_t, 3>{194, 194, 194}));
}

// The command line checks the map before it exports and hands it over loaded: the file is not read
// again (here it is gone by then), and the export shows it as if it had loaded it.
TEST_F(ExportTest, MapLoadedAlreadyIsUsedWithoutReadingTheFile) {
  auto map = std::make_unique<LoadedMap>();
  map->picture.Fill(5);
  map->colours[5] = {1, 2, 3};
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon, 1, 100);
  settings.mapFiles[0] = (dir_ / "gone.bmp").string();
  const auto path = dir_ / "out.gif";
  ASSERT_EQ(exporter_.ExportAnimation(settings, OutputFile::Open(path.string()), messages_,
                                      progress_, map.get()),
            ExportOutcome::Written);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(progress_.events.front(), "text Status Adding bitmap...");
  const auto gif = testing::DecodeGifFile(path);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->colours[5], (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(gif->frames[0].At(10, 10), 5);
}

TEST_F(ExportTest, ExportWithoutMapStartsFromABlankPicture) {
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon, 1, 100);
  settings.mapFiles[0] = kMap;
  const DecodedGif withMap = ExportAndDecode(settings);
  ASSERT_EQ(withMap.frames.size(), 1u);
  ASSERT_TRUE(std::ranges::any_of(withMap.frames[0].indices, [](auto v) { return v != 0; }));

  settings.mapFiles[0].clear();
  const DecodedGif blank = ExportAndDecode(settings);
  ASSERT_EQ(blank.frames.size(), 1u);
  for (int x = 0; x < 493; ++x) {
    for (int y = 0; y < 480; ++y) ASSERT_EQ(blank.frames[0].At(x, y), 0) << x << "," << y;
  }
}

TEST_F(ExportTest, RangeOutsideTheThreeDrawsNoRingsAndMarksNoStrikes) {
  testing::WriteDayFile(dir_ / "071501.dat", {testing::StrikeAt(12, 0, 0, 0, 0)});
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon, 1, 100);
  settings.dataDirectory = dir_.Path().string();
  settings.zoomRange = -1;
  settings.ringCounts = {4, 4, 4};
  settings.mapFiles = {kMap, kMap, kMap};
  const DecodedGif gif = ExportAndDecode(settings);
  EXPECT_TRUE(messages_.shown.empty());
  ASSERT_EQ(gif.frames.size(), 1u);
  for (int x = 0; x < 493; ++x) {
    for (int y = 0; y < 480; ++y) ASSERT_EQ(gif.frames[0].At(x, y), 0) << x << "," << y;
  }
}

TEST_F(ExportTest, FailedWritesAreReported) {
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(600), 1, 100);
  EXPECT_EQ(exporter_.ExportAnimation(settings, OutputFile(std::fopen("/dev/full", "wb")),
                                      messages_, progress_),
            ExportOutcome::NotWritten);
  EXPECT_EQ(exporter_.WriteError(), std::errc::no_space_on_device);
}

}  // namespace
}  // namespace animark
