// The settings file's POSIX side: the home folder, special files and links.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "settings/registry_file.h"
#include "settings/scoped_environment.h"
#include "settings/settings_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::kKeyLine;
using testing::ReadText;
using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteText;

TEST(DefaultSettingsPathTest, FollowsXdgConfigHomeElseHomeConfig) {
  const ScopedEnvironment home("HOME", "/home/ann");
  struct Case {
    const char* xdgConfigHome;  // null: unset
    const char* expected;
  };
  const Case cases[] = {
      {"/srv/config", "/srv/config/animark/settings.reg"},
      {nullptr, "/home/ann/.config/animark/settings.reg"},
      {"", "/home/ann/.config/animark/settings.reg"},
      {"relative/config", "/home/ann/.config/animark/settings.reg"},
  };
  for (const Case& c : cases) {
    const ScopedEnvironment config("XDG_CONFIG_HOME", c.xdgConfigHome);
    EXPECT_EQ(DefaultSettingsPath(), std::filesystem::path(c.expected))
        << (c.xdgConfigHome ? c.xdgConfigHome : "unset");
  }
}

// A pipe would block the read for ever; a folder cannot be replaced. Neither is touched.
TEST(RegistryFileTest, RefusesSpecialFilesWithoutWaitingAndLeavesThemAlone) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder.reg");
  ASSERT_EQ(::mkfifo((dir / "pipe.reg").c_str(), 0600), 0);
  for (const char* name : {"folder.reg", "pipe.reg"}) {
    SCOPED_TRACE(name);
    const auto type = std::filesystem::symlink_status(dir / name).type();
    {
      RegistryFile key(dir / name);
      EXPECT_FALSE(key.Open());
      key.SetString("XN", "never written");
    }
    EXPECT_EQ(std::filesystem::symlink_status(dir / name).type(), type);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(RegistryFileTest, WritesThroughALinkToTheFile) {
  TempDir dir;
  std::filesystem::create_directory(dir / "dotfiles");
  WriteText(dir / "dotfiles/settings.reg", "REGEDIT4\n");
  std::filesystem::create_symlink(dir / "dotfiles/settings.reg", dir / "settings.reg");
  {
    RegistryFile key(dir / "settings.reg");
    ASSERT_TRUE(key.Open());
    key.SetDword("IT", 1);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "settings.reg"));
  EXPECT_EQ(ReadText(dir / "dotfiles/settings.reg"),
            std::string("REGEDIT4\n\n") + kKeyLine + "\n\"IT\"=dword:00000001\n");
}

}  // namespace
}  // namespace animark
