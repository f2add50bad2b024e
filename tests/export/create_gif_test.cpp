#include "export/create_gif.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "export/user_texts.h"
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

// Runs the command as a dialog does, telling its result through `messages`; keeps the result.
CreateGifResult lastResult;
CreateGifOutcome RunAndTell(ExportSettings& settings, AnimationExporter& exporter,
                            UserMessages& messages, ExportScreen& screen, OutputMode mode) {
  lastResult = CreateGif(settings, exporter, messages, screen, mode);
  if (const auto told = CreateGifText(lastResult)) messages.Show(told->text, told->icon);
  return lastResult.outcome;
}

class CreateGifTest : public ::testing::TestWithParam<OutputMode> {
 protected:
  CreateGifOutcome Run(const std::string& name) {
    settings_.exportFile = name;
    return RunAndTell(settings_, exporter_, messages_, screen_, GetParam());
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
  EXPECT_EQ(Run((dir_ / "storm").string()), CreateGifOutcome::Written);
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
  const DateTime year1900 = DateTime::FromParts(1900, 1, 1, 0, 0, 0);
  struct Case {
    std::string name;
    DateTime start, end;
    std::int32_t rate, pause;
    std::string message;
    MessageIcon icon;
    CreateGifOutcome outcome = CreateGifOutcome::PeriodRefused;
  } const cases[] = {
      {"", kNoon, kNoon, 1, 100, "No export file name entered.", MessageIcon::Stop,
       CreateGifOutcome::NoFileName},
      {"folder/", kNoon, kNoon, 1, 100,
       "The export file name ends with a slash: enter a file name after the folder.",
       MessageIcon::Stop, CreateGifOutcome::NameEndsWithSlash},
      {"storm", kNoon, kNoon.AddSeconds(-7200), 1, 100,
       "The period yields no frames: its end lies before its start.", MessageIcon::Exclamation},
      // Less than one frame step back would still give one frame: no less a mistake.
      {"storm", kNoon, kNoon.AddSeconds(-1), 60, 100,
       "The period yields no frames: its end lies before its start.", MessageIcon::Exclamation},
      {"storm", year1900, DateTime::FromParts(2100, 1, 1, 0, 0, 0), 1, 1,
       "The period yields 10519056001 frames, more than an animation can hold (2147483647).",
       MessageIcon::Exclamation},
      {"storm", DateTime::FromParts(99, 12, 31, 23, 0, 0), DateTime::FromParts(100, 1, 1, 1, 0, 0),
       60, 100, "The period starts before the year 100, which the animation cannot show.",
       MessageIcon::Exclamation},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages_.shown.clear();
    settings_ = testing::SettingsFor(c.start, c.end, c.rate, c.pause);
    const std::string name = c.name.empty() ? "" : (dir_ / c.name).string();
    EXPECT_EQ(Run(name), c.outcome);
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
  EXPECT_EQ(RunAndTell(settings_, exporter_, no, screen_, GetParam()), CreateGifOutcome::Declined);
  ASSERT_EQ(no.shown.size(), 1u);
  EXPECT_EQ(no.shown[0].text, "Export file already exists, overwrite?");
  EXPECT_EQ(no.shown[0].icon, MessageIcon::Question);
  EXPECT_EQ(screen_.begun, 0);
  EXPECT_EQ(testing::ReadFileBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));

  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(Run(path.string()), CreateGifOutcome::Written);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(testing::DecodeGifFile(path));
}

TEST_P(CreateGifTest, FolderThatDoesNotExistCannotBeCreated) {
  EXPECT_EQ(Run((dir_ / "no-such-folder" / "storm").string()), CreateGifOutcome::NotCreated);
  EXPECT_EQ(lastResult.path, (dir_ / "no-such-folder" / "storm.gif").string());
  EXPECT_EQ(lastResult.error, std::errc::no_such_file_or_directory);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "Export file could not be created.");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(screen_.begun, 0);
}

TEST_P(CreateGifTest, FullDeviceIsNotSuccess) {
  EXPECT_EQ(Run("/dev/full"), CreateGifOutcome::NotWritten);
  EXPECT_EQ(lastResult.error, std::errc::no_space_on_device);
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
    EXPECT_EQ(RunAndTell(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
              CreateGifOutcome::NotWritten);
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
  ASSERT_EQ(RunAndTell(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
            CreateGifOutcome::Written);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  // A new file gets what the umask allows, not the temporary file's private mode.
  const mode_t saved = ::umask(022);
  settings.exportFile = (dir / "new.gif").string();
  ASSERT_EQ(RunAndTell(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete),
            CreateGifOutcome::Written);
  ::umask(saved);
  ASSERT_EQ(::stat(settings.exportFile.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

// The export as another user sees it: as root in a child process that runs as nobody (root may
// write anywhere), else in this process. Returns what `run` returned.
constexpr uid_t kNobody = 65534;

CreateGifOutcome AsOtherUser(const std::function<CreateGifOutcome()>& run) {
  if (::geteuid() != 0) return run();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(100);
    ::_exit(static_cast<int>(run()));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return static_cast<CreateGifOutcome>(WIFEXITED(status) ? WEXITSTATUS(status) : 100);
}

class CreateGifOutputTest : public ::testing::Test {
 protected:
  CreateGifOutcome Run(const std::filesystem::path& name) {
    settings_.exportFile = name.string();
    return RunAndTell(settings_, exporter_, messages_, screen_, OutputMode::ReplaceWhenComplete);
  }

  TempDir dir_;
  ExportSettings settings_ = testing::SettingsFor(kNoon, kNoon.AddSeconds(180), 1, 100);
  AnimationExporter exporter_;
  RecordingMessages messages_;
  RecordingScreen screen_;
};

// A link at the output name is followed only when it belongs to the user or to the folder's
// owner: anyone else who may write in the folder could otherwise point it at any file.
TEST_F(CreateGifOutputTest, FollowsOnlyLinksOfTheUserOrTheFolderOwner) {
  const auto victim = dir_ / "victim";
  testing::WriteFileBytes(victim, {1, 2, 3});
  std::filesystem::create_symlink(victim, dir_ / "own.gif");
  EXPECT_EQ(Run(dir_ / "own.gif"), CreateGifOutcome::Written);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "own.gif"));
  EXPECT_TRUE(testing::DecodeGifFile(victim));

  if (::geteuid() != 0) GTEST_SKIP() << "links of another user need root to make";
  testing::WriteFileBytes(victim, {1, 2, 3});
  // In a folder of this user, a link of someone else: refused, named, nothing asked or opened.
  std::filesystem::create_symlink(victim, dir_ / "planted.gif");
  ASSERT_EQ(::lchown((dir_ / "planted.gif").c_str(), kNobody, kNobody), 0);
  std::filesystem::create_symlink("/dev/null", dir_ / "device.gif");
  ASSERT_EQ(::lchown((dir_ / "device.gif").c_str(), kNobody, kNobody), 0);
  for (const char* name : {"planted.gif", "device.gif"}) {
    messages_.shown.clear();
    EXPECT_EQ(Run(dir_ / name), CreateGifOutcome::ForeignLink) << name;
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Export file " + (dir_ / name).string() +
                                           " is a symbolic link that another user owns: it is "
                                           "not followed.");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Stop);
  }
  EXPECT_EQ(testing::ReadFileBytes(victim), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(screen_.begun, 1);

  // The folder's owner may place links in it, as the system's own rule allows.
  const auto shared = dir_ / "shared";
  std::filesystem::create_directory(shared);
  ASSERT_EQ(::chown(shared.c_str(), kNobody, kNobody), 0);
  std::filesystem::create_symlink(victim, shared / "latest.gif");
  ASSERT_EQ(::lchown((shared / "latest.gif").c_str(), kNobody, kNobody), 0);
  EXPECT_EQ(Run(shared / "latest.gif"), CreateGifOutcome::Written);
  EXPECT_TRUE(testing::DecodeGifFile(victim));
}

TEST_F(CreateGifOutputTest, PipeWithoutReaderIsRefusedAtOnce) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(Run(dir_ / "pipe"), CreateGifOutcome::NotCreated);
  EXPECT_EQ(settings_.exportFile, (dir_ / "pipe").string());  // a pipe's name is not completed
  EXPECT_EQ(messages_.shown.size(), 1u);
}

// A folder that takes no new file (shared by file with a web server, say) still lets a file the
// user may write be written, in place; a file the user may not write stays as it was.
TEST_F(CreateGifOutputTest, FolderWithoutRoomForANewFileIsWrittenInPlace) {
  const auto folder = dir_ / "web";
  std::filesystem::create_directory(folder);
  testing::WriteFileBytes(folder / "open.gif", {1});
  testing::WriteFileBytes(folder / "locked.gif", {2});
  ASSERT_EQ(::chmod((folder / "open.gif").c_str(), 0666), 0);
  ASSERT_EQ(::chmod((folder / "locked.gif").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir_.Path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const auto result = [&](const char* name) {
    return AsOtherUser([&] { return Run(folder / name); });
  };
  EXPECT_EQ(result("open.gif"), CreateGifOutcome::WrittenInPlace);
  EXPECT_TRUE(testing::DecodeGifFile(folder / "open.gif"));
  EXPECT_EQ(result("locked.gif"), CreateGifOutcome::NotCreated);
  EXPECT_EQ(testing::ReadFileBytes(folder / "locked.gif"), std::vector<std::uint8_t>{2});
  EXPECT_EQ(result("new.gif"), CreateGifOutcome::NotCreated);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
  ::chmod(folder.c_str(), 0755);
}

// Stops when asked after the second frame.
class CancellingScreen final : public ExportScreen {
 public:
  ProgressWindow* BeginExport() override { return &progress_; }
  void EndExport() override {}

 private:
  class Progress final : public testing::RecordingProgress {
    bool CancelRequested() override { return std::ranges::count(events, "repaint") >= 2; }
  } progress_;
};

TEST_F(CreateGifOutputTest, CancelledExportKeepsThePreviousFileAndLeavesNoTemporary) {
  testing::WriteFileBytes(dir_ / "storm.gif", {1, 2, 3});
  CancellingScreen screen;
  settings_.exportFile = (dir_ / "storm.gif").string();
  EXPECT_EQ(RunAndTell(settings_, exporter_, messages_, screen, OutputMode::ReplaceWhenComplete),
            CreateGifOutcome::Cancelled);
  EXPECT_EQ(messages_.shown.size(), 1u);  // the overwrite question only
  EXPECT_EQ(testing::ReadFileBytes(dir_ / "storm.gif"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}

}  // namespace
}  // namespace animark
