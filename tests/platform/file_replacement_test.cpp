#include "platform/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_support.h"

namespace animark {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr fs::perms kEveryone = static_cast<fs::perms>(0666);
constexpr fs::perms kOwnerOnly = static_cast<fs::perms>(0600);

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Only the target is left in the folder: no temporary file, whatever happened.
void ExpectOnlyTarget(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"out.gif"});
}

TEST(FileReplacementTest, KeepsTheOldModeButNeverItsSetIdBits) {
  const struct {
    mode_t old, expected;
  } cases[] = {{0640, 0640}, {0755, 0755}, {04755, 0755}, {02775, 0775}, {06711, 0711}};
  for (const auto& c : cases) {
    TempDir dir;
    WriteFileBytes(dir / "out.gif", {1});
    ASSERT_EQ(::chmod((dir / "out.gif").c_str(), c.old), 0);
    ASSERT_TRUE(ReplaceFile(dir / "out.gif", "new", kEveryone));
    EXPECT_EQ(ModeOf(dir / "out.gif"), c.expected) << std::oct << c.old;
    EXPECT_EQ(ReadFileBytes(dir / "out.gif"), (Bytes{'n', 'e', 'w'}));
    ExpectOnlyTarget(dir);
  }
}

TEST(FileReplacementTest, NewFileTakesTheGivenModeLessTheUmask) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFile(dir / "out.gif", "", kEveryone));
  ASSERT_TRUE(ReplaceFile(dir / "settings.reg", "", kOwnerOnly));
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir / "out.gif"), 0644u);
  EXPECT_EQ(ModeOf(dir / "settings.reg"), 0600u);
}

TEST(FileReplacementTest, FailureOrAbandonLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  WriteFileBytes(dir / "out.gif", {1, 2});
  {
    FileReplacement replacement = FileReplacement::Begin(dir / "out.gif", kEveryone);
    ASSERT_TRUE(replacement.IsOpen());
    FileHandle stream = replacement.TakeStream();
    std::fputs("half", stream.get());
    stream.reset();
    EXPECT_FALSE(replacement.Commit(false));
  }
  {
    FileReplacement abandoned = FileReplacement::Begin(dir / "out.gif", kEveryone);
    ASSERT_TRUE(abandoned.IsOpen());
  }
  EXPECT_EQ(ReadFileBytes(dir / "out.gif"), (Bytes{1, 2}));
  ExpectOnlyTarget(dir);
  EXPECT_FALSE(ReplaceFile(dir / "missing-folder" / "out.gif", "x", kEveryone));
}

}  // namespace
}  // namespace animark
