// The Windows side of the platform layer, run under wine in CI. The tests need the system's own
// calls to set up what a station PC may hold (attributes, a named pipe), so <windows.h> is used
// here as in the sources under test.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/file_replacement.h"
#include "platform/output_file.h"
#include "platform/regular_file.h"
#include "support/test_support.h"

// After our headers: <windows.h> makes ReplaceFile a macro, which here must mean ours.
#include <windows.h>
#undef ReplaceFile

namespace animark {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr fs::perms kAnyPermissions = fs::perms::owner_read | fs::perms::owner_write;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

DWORD AttributesOf(const fs::path& path) {
  return ::GetFileAttributesW(path.c_str());
}

TEST(WindowsFileReplacementTest, ReplacesAnExistingFileAndKeepsItsAttributes) {
  TempDir dir;
  const fs::path target = dir / "out.gif";
  WriteFileBytes(target, {1, 2, 3});
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(ReplaceFile(target, "new", kAnyPermissions));
  EXPECT_EQ(ReadFileBytes(target), (Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(AttributesOf(target) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  // A new file is no hidden file, though its temporary file was.
  ASSERT_TRUE(ReplaceFile(dir / "new.gif", "x", kAnyPermissions));
  EXPECT_EQ(AttributesOf(dir / "new.gif") & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(Names(dir.Path()).size(), 2u);
}

TEST(WindowsFileReplacementTest, AFailedWriteOrAReadOnlyTargetLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const fs::path target = dir / "out.gif";
  WriteFileBytes(target, {1, 2});
  {
    FileReplacement replacement = FileReplacement::Begin(target, kAnyPermissions);
    ASSERT_TRUE(replacement.IsOpen());
    FileHandle stream = replacement.TakeStream();
    std::fputs("half", stream.get());
    stream.reset();
    EXPECT_FALSE(replacement.Commit(false));
  }
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
  errno = 0;
  EXPECT_FALSE(ReplaceFile(target, "new", kAnyPermissions));
  EXPECT_EQ(errno, EACCES);
  ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(target), (Bytes{1, 2}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.gif"});
  errno = 0;
  EXPECT_FALSE(ReplaceFile(dir / "missing-folder" / "out.gif", "x", kAnyPermissions));
  EXPECT_EQ(errno, ENOENT);
}

// What the console control handler does on Ctrl-C, Ctrl-Break or a closed console: the file is
// still open for writing then, and must go all the same.
TEST(WindowsFileReplacementTest, InterruptionRemovesTheTemporaryFileWhileItIsWritten) {
  TempDir dir;
  const fs::path target = dir / "out.gif";
  WriteFileBytes(target, {1, 2});
  FileReplacement replacement = FileReplacement::Begin(target, kAnyPermissions);
  ASSERT_TRUE(replacement.IsOpen());
  FileHandle stream = replacement.TakeStream();
  std::fputs("half", stream.get());
  std::fflush(stream.get());
  RemovePendingTemporaryFile();
  stream.reset();
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.gif"});
  EXPECT_FALSE(replacement.Commit(true));
  EXPECT_EQ(ReadFileBytes(target), (Bytes{1, 2}));
}

TEST(WindowsRegularFileTest, PipesDevicesAndFoldersAreRefusedByWhatTheyAre) {
  TempDir dir;
  const std::wstring pipeName =
      L"\\\\.\\pipe\\animark-test-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE pipe = ::CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1,
                                         4096, 4096, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  const struct {
    fs::path path;
    const char* reason;
  } cases[] = {{fs::path(pipeName), "a named pipe, not a regular file"},
               {"NUL", "a device, not a regular file"},
               {"nul", "a device, not a regular file"},
               {dir.Path(), "a folder, not a regular file"},
               {dir / "071501.dat", "No such file or directory"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::string reason;
    EXPECT_FALSE(OpenRegularFile(c.path, &reason));
    EXPECT_EQ(reason, c.reason);
  }
  ::CloseHandle(pipe);
}

TEST(WindowsPathTest, Utf8NamesReachTheSystemAsTheyAre) {
  TempDir dir;
  // "Jürgen" in UTF-8, as the command line and the settings hand it on.
  const std::string folder = (dir.Path() / "Blitzdaten").string() + "\\J\xC3\xBCrgen";
  fs::create_directories(fs::path(folder));
  EXPECT_TRUE(fs::is_directory(dir.Path() / L"Blitzdaten" / L"J\u00FCrgen"));

  const std::string gif = folder + "\\storm.gif";
  OutputFile out = OutputFile::Open(gif);
  ASSERT_TRUE(out.IsOpen());
  out.Write("GIF89a", 6);
  ASSERT_TRUE(out.Close());
  ASSERT_TRUE(ReplaceFile(fs::path(folder) / "settings.reg", "REGEDIT4", kAnyPermissions));
  EXPECT_EQ(Names(fs::path(folder)), (std::vector<std::string>{"settings.reg", "storm.gif"}));
  const FileHandle in = OpenRegularFile(fs::path(gif));
  ASSERT_TRUE(in);
  char bytes[8] = {};
  EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, in.get()), 6u);
  EXPECT_STREQ(bytes, "GIF89a");
}

TEST(WindowsOutputFileTest, DevicesAreWrittenAsTheyAre) {
  for (const char* device : {"NUL", "nul.gif"}) {
    SCOPED_TRACE(device);
    OutputFile out = OutputFile::Open(device);
    ASSERT_TRUE(out.IsOpen());
    out.Write("GIF89a", 6);
    EXPECT_TRUE(out.Close());
  }
  EXPECT_TRUE(IsStandardOutput(std::string(kStandardOutputName)));
  EXPECT_FALSE(IsStandardOutput("NUL"));
}

TEST(WindowsClockTest, TellsTheLocalTime) {
  // Taken again when a second ended in between, so that both readings tell the same second.
  std::time_t before = 0;
  LocalTime now;
  for (int attempt = 0; attempt < 3; ++attempt) {
    before = std::time(nullptr);
    now = SystemClock().Now();
    if (std::time(nullptr) == before) break;
  }
  const std::tm expected = *std::localtime(&before);
  EXPECT_EQ((std::vector<int>{now.year, now.month, now.day, now.hour, now.minute, now.second}),
            (std::vector<int>{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday,
                              expected.tm_hour, expected.tm_min, expected.tm_sec}));
}

}  // namespace
}  // namespace animark
