#include "export/create_gif.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "export_fixtures.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::RecordingMessages;
using testing::TempDir;

const DateTime kNoon = DateTime::FromParts(2001, 7, 15, 12, 0, 0);

TEST(CompleteExportFileName, AppendsGifOnlyWhenTheLastPartHasNoDot) {
  const std::pair<std::string, std::string> cases[] = {
      {"storm", "storm.gif"},
      {"storm.", "storm."},
      {"storm.GIF", "storm.GIF"},
      {"storm.txt", "storm.txt"},
      {"maps.v2/storm", "maps.v2/storm.gif"},
      {"c:\\maps.v2\\storm", "c:\\maps.v2\\storm.gif"},
      {"out/", "out/.gif"},
      {"out\\", "out\\.gif"},
      {".hidden", ".hidden"},
  };
  for (const auto& [typed, completed] : cases) {
    EXPECT_EQ(CompleteExportFileName(typed), completed) << typed;
  }
}

// Records the screen changes around an export.
class RecordingScreen : public ExportScreen {
 public:
  ProgressWindow* BeginExport() override {
    ++begun;
    return &progress;
  }
  void EndExport() override { ++ended; }

  int begun = 0, ended = 0;
  testing::RecordingProgress progress;
};

class CreateGifTest : public ::testing::TestWithParam<OutputMode> {
 protected:
  CreateGifResult Run(const std::string& name) {
    settings_.exportFile = name;
    return CreateGif(settings_, exporter_, messages_, screen_, GetParam());
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
  }

  TempDir dir_;
  ExportSettings settings_ = testing::SettingsFor(kNoon, kNoon.AddSeconds(180), 1, 100);
  AnimationExporter exporter_;
  RecordingMessages messages_;
  RecordingScreen screen_;
};

TEST_P(CreateGifTest, WritesTheCompletedNameAndFramesTheExport) {
  EXPECT_EQ(Run((dir_ / "storm").string()), CreateGifResult::Written);
  EXPECT_EQ(settings_.exportFile, (dir_ / "storm.gif").string());
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(screen_.begun, 1);
  EXPECT_EQ(screen_.ended, 1);
  EXPECT_FALSE(screen_.progress.events.empty());
  const auto gif = testing::DecodeGifFile(dir_ / "storm.gif");
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->frames.size(), 4u);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"storm.gif"});
}

TEST_P(CreateGifTest, RefusalsOpenNothing) {
  struct Case {
    std::string name;
    int endSecondsAfterStart;
    std::string message;
    MessageIcon icon;
  } const cases[] = {
      {"", 180, "No export file name entered.", MessageIcon::Stop},
      {"storm", -7200, "The period yields no frames: its end lies before its start.",
       MessageIcon::Exclamation},
  };
  for (const Case& c : cases) {
    messages_.shown.clear();
    settings_.periodEnd = kNoon.AddSeconds(c.endSecondsAfterStart);
    const std::string name = c.name.empty() ? "" : (dir_ / c.name).string();
    EXPECT_EQ(Run(name), CreateGifResult::Refused) << c.message;
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, c.message);
    EXPECT_EQ(messages_.shown[0].icon, c.icon);
  }
  EXPECT_EQ(screen_.begun, 0);
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_P(CreateGifTest, AsksBeforeOverwritingAndKeepsTheFileOnNo) {
  const auto path = dir_ / "storm.gif";
  testing::WriteFileBytes(path, {1, 2, 3});
  // Unreadable still counts as existing.
  std::filesystem::permissions(path, std::filesystem::perms::none);

  RecordingMessages no(MessageAnswer::No);
  settings_.exportFile = path.string();
  EXPECT_EQ(CreateGif(settings_, exporter_, no, screen_, GetParam()), CreateGifResult::Declined);
  ASSERT_EQ(no.shown.size(), 1u);
  EXPECT_EQ(no.shown[0].text, "Export file already exists, overwrite?");
  EXPECT_EQ(no.shown[0].icon, MessageIcon::Question);
  EXPECT_EQ(screen_.begun, 0);
  EXPECT_EQ(testing::ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));

  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(Run(path.string()), CreateGifResult::Written);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(testing::DecodeGifFile(path));
}

TEST_P(CreateGifTest, FolderThatDoesNotExistCannotBeCreated) {
  EXPECT_EQ(Run((dir_ / "no-such-folder" / "storm.gif").string()), CreateGifResult::NotCreated);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Export file could not be created.");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(screen_.begun, 0);
}

TEST_P(CreateGifTest, FullDeviceIsNotSuccess) {
  EXPECT_EQ(Run("/dev/full"), CreateGifResult::NotWritten);
  ASSERT_EQ(messages_.shown.size(), 1u);  // a device is not asked about
  EXPECT_EQ(messages_.shown[0].text, "Export file could not be written.");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(screen_.ended, 1);
}

INSTANTIATE_TEST_SUITE_P(BothModes, CreateGifTest,
                         ::testing::Values(OutputMode::Direct, OutputMode::ReplaceWhenComplete));

TEST(CreateGifReplacing, FailedExportLeavesThePreviousFileAndNoTemporary) {
  TempDir dir;
  const auto path = dir / "storm.gif";
  testing::WriteFileBytes(path, {1, 2, 3});
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon.AddSeconds(3600), 1, 100);
  settings.exportFile = path.string();
  AnimationExporter exporter;
  RecordingMessages messages;
  RecordingScreen screen;
  {
    testing::FileSizeLimit limit(4096);
    EXPECT_EQ(CreateGif(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
              CreateGifResult::NotWritten);
  }
  EXPECT_EQ(messages.shown.back().text, "Export file could not be written.");
  EXPECT_EQ(testing::ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CreateGifReplacing, KeepsTheModeOfTheFileItReplaces) {
  TempDir dir;
  const auto path = dir / "storm.gif";
  testing::WriteFileBytes(path, {1});
  ::chmod(path.c_str(), 0640);
  ExportSettings settings = testing::SettingsFor(kNoon, kNoon, 1, 100);
  settings.exportFile = path.string();
  AnimationExporter exporter;
  RecordingMessages messages;
  RecordingScreen screen;
  ASSERT_EQ(CreateGif(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
            CreateGifResult::Written);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  // A new file gets what the umask allows, not the temporary file's private mode.
  const mode_t saved = ::umask(022);
  settings.exportFile = (dir / "new.gif").string();
  ASSERT_EQ(CreateGif(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
            CreateGifResult::Written);
  ::umask(saved);
  ASSERT_EQ(::stat(settings.exportFile.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

}  // namespace
}  // namespace animark
