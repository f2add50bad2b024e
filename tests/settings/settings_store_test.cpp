#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry_file.h"
#include "settings/same_settings.h"
#include "settings/scoped_environment.h"
#include "settings/settings_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::ExpectSameMoment;
using testing::ExpectSameSettings;
using testing::ReadFileBytes;
using testing::ReadText;
using testing::RecordingMessages;
using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteText;

// The program starts on a day of a 30-day month.
const DateTime kNow = DateTime::FromParts(2001, 4, 15, 13, 14, 15);

std::string Repeat(const char* text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

std::string Dword(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "dword:%08x", value);
  return text;
}

// A complete stored key (start 3 June 2000 10:20:30, end 4 June 2000 11:21:31), with `changes`
// applied: a data text replaces a value, nothing removes it.
std::string StoredKey(const std::map<std::string, std::optional<std::string>>& changes = {}) {
  const std::pair<const char*, std::string> values[] = {
      {"XN", "\"\""},      {"CM", "\"\""},      {"CH", "\"FALSE\""}, {"DD", "\"\""},
      {"IT", Dword(0)},    {"LR", "\"FALSE\""}, {"M1", "\"\""},      {"M2", "\"\""},
      {"M3", "\"\""},      {"PB", Dword(100)},  {"PL", Dword(150)},  {"PS", Dword(60)},
      {"RT", Dword(60)},   {"R1", Dword(0)},    {"R2", Dword(0)},    {"R3", Dword(0)},
      {"ZM", Dword(0)},    {"UN", Dword(0)},    {"SD", Dword(3)},    {"SM", Dword(6)},
      {"SY", Dword(2000)}, {"SH", Dword(10)},   {"SN", Dword(20)},   {"SS", Dword(30)},
      {"ED", Dword(4)},    {"EM", Dword(6)},    {"EY", Dword(2000)}, {"EH", Dword(11)},
      {"EN", Dword(21)},   {"ES", Dword(31)},
  };
  std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n";
  for (const auto& [name, data] : values) {
    const auto change = changes.find(name);
    if (change == changes.end()) {
      text += "\"" + std::string(name) + "\"=" + data + "\n";
    } else if (change->second) {
      text += "\"" + std::string(name) + "\"=" + *change->second + "\n";
    }
  }
  return text;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  // Loads the stored key into the defaults of a run that starts at kNow.
  ExportSettings Load() {
    ExportSettings settings = DefaultExportSettings(kNow);
    RegistryFile key(path_);
    EXPECT_TRUE(LoadSettings(settings, key, messages_));
    return settings;
  }
  bool Save(const ExportSettings& settings) {
    RegistryFile key(path_);
    return SaveSettings(settings, key, messages_);
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "animark/settings.reg";
  RecordingMessages messages_;
};

TEST_F(SettingsStoreTest, FirstRunWritesAllValuesWithTheirDefaultsInOrder) {
  const ScopedEnvironment config("XDG_CONFIG_HOME", dir_.Path().string().c_str());
  ExportSettings settings = DefaultExportSettings(kNow);
  RegistryFile key;
  ASSERT_TRUE(LoadSettings(settings, key, messages_));

  EXPECT_TRUE(messages_.shown.empty());
  ExpectSameSettings(settings, DefaultExportSettings(kNow));
  EXPECT_EQ(ReadText(path_),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n"
            "\"XN\"=\"\"\n"
            "\"CM\"=\"\"\n"
            "\"CH\"=\"FALSE\"\n"
            "\"DD\"=\"\"\n"
            "\"IT\"=dword:00000000\n"
            "\"LR\"=\"FALSE\"\n"
            "\"M1\"=\"\"\n"
            "\"M2\"=\"\"\n"
            "\"M3\"=\"\"\n"
            "\"PB\"=dword:00000064\n"
            "\"PL\"=dword:00000096\n"
            "\"PS\"=dword:0000003c\n"
            "\"RT\"=dword:0000003c\n"
            "\"R1\"=dword:00000000\n"
            "\"R2\"=dword:00000000\n"
            "\"R3\"=dword:00000000\n"
            "\"ZM\"=dword:00000000\n"
            "\"UN\"=dword:00000000\n"
            "\"SD\"=dword:0000000f\n"
            "\"SM\"=dword:00000004\n"
            "\"SY\"=dword:000007d1\n"
            "\"SH\"=dword:0000000d\n"
            "\"SN\"=dword:0000000e\n"
            "\"SS\"=dword:0000000f\n"
            "\"ED\"=dword:0000000f\n"
            "\"EM\"=dword:00000004\n"
            "\"EY\"=dword:000007d1\n"
            "\"EH\"=dword:0000000d\n"
            "\"EN\"=dword:0000000e\n"
            "\"ES\"=dword:0000000f\n"
            "\n");

  // The second run finds the full set and writes nothing.
  const auto written = std::filesystem::last_write_time(path_);
  ExpectSameSettings(Load(), DefaultExportSettings(kNow));
  EXPECT_EQ(std::filesystem::last_write_time(path_), written);
}

TEST_F(SettingsStoreTest, SavedSettingsComeBackWhole) {
  ExportSettings saved = DefaultExportSettings(kNow);
  saved.exportFile = "C:\\GIFs\\\"storm\".gif";
  saved.comments = "Storm of the year \\o/";
  saved.dataDirectory = "/home/\xC3\xBC/strikes";
  // The longest paths the form accepts, in one-, two- and four-byte characters.
  saved.mapFiles = {std::string(256, 'm'), Repeat("\xC3\xA9", 256),
                    Repeat("\xF0\x9F\x97\xBA", 256)};
  saved.iterations = -1;
  saved.persistenceMinutes = 70000;  // out of range: kept as it is
  saved.rateMinutesPerSecond = 5;
  saved.zoomRange = 2;
  saved.periodStart = DateTime::FromParts(2001, 3, 31, 23, 59, 58);
  saved.periodEnd = DateTime::FromParts(2001, 4, 1, 0, 0, 1);
  saved.pauseBetweenFrames = 7;
  saved.pauseAfterLastFrame = 300;
  saved.ringCounts = {1, 50, 99};
  saved.crosshairs = 1;
  saved.labelRings = 1;
  saved.units = 1;

  ASSERT_TRUE(Save(saved));
  const std::string text = ReadText(path_);
  EXPECT_NE(text.find("\"XN\"=\"C:\\\\GIFs\\\\\\\"storm\\\".gif\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"IT\"=dword:ffffffff\n"), std::string::npos);
  EXPECT_NE(text.find("\"CH\"=\"TRUE\"\n"), std::string::npos);
  ExpectSameSettings(Load(), saved);
  EXPECT_TRUE(messages_.shown.empty());
}

// A key exported on a station PC, in either of regedit's forms, loads as it is: non-ASCII texts
// come through as UTF-8 from UTF-16 and from Windows-1252 alike, and a value of a type the program
// does not use (hex(2), hex(7) in a key below) leaves the rest alone.
TEST_F(SettingsStoreTest, StationExportsInBothFormsLoadTheSameSettings) {
  ExportSettings expected = DefaultExportSettings(kNow);
  expected.exportFile = "C:\\Blitzdaten\\J\xC3\xBCrgen\\gewitter.gif";
  expected.comments = "Station M\xC3\xBCllheim \xE2\x80\x93 30 km Nord";
  expected.crosshairs = 1;
  expected.dataDirectory = "C:\\Blitzdaten\\J\xC3\xBCrgen";
  expected.iterations = -1;
  expected.mapFiles = {"C:\\Karten\\map100.bmp", "\\\\server\\maps\\map200.bmp", ""};
  expected.rateMinutesPerSecond = 30;
  expected.ringCounts = {4, 3, 2};
  expected.zoomRange = 1;
  expected.units = 1;
  expected.periodStart = DateTime::FromParts(2026, 7, 14, 23, 0, 0);
  expected.periodEnd = DateTime::FromParts(2026, 7, 15, 4, 45, 0);

  for (const char* form : {"station-export-unicode.reg", "station-export-regedit4.reg"}) {
    SCOPED_TRACE(form);
    std::filesystem::create_directories(path_.parent_path());
    std::filesystem::copy_file(std::string(ANIMARK_TEST_DATA_DIR) + "/settings/" + form, path_,
                               std::filesystem::copy_options::overwrite_existing);
    const std::vector<std::uint8_t> exported = ReadFileBytes(path_);
    ExpectSameSettings(Load(), expected);
    EXPECT_EQ(ReadFileBytes(path_), exported);  // every value was there: nothing written back
  }
  EXPECT_TRUE(messages_.shown.empty());
}

// Values of our own: each kept once set, and never added to a store that has not had it.
TEST_F(SettingsStoreTest, OwnFlagsAreKeptOnlyOnceSet) {
  struct Flag {
    const char* name;
    std::int32_t ExportSettings::*field;
  };
  for (const Flag flag : {Flag{"OptimizeForWeb", &ExportSettings::optimizeForWeb},
                          Flag{"AgeColours", &ExportSettings::ageColours}}) {
    SCOPED_TRACE(flag.name);
    std::filesystem::create_directories(path_.parent_path());
    WriteText(path_, StoredKey());
    ExportSettings settings = Load();
    EXPECT_EQ(settings.*flag.field, 0);
    ASSERT_TRUE(Save(settings));
    EXPECT_EQ(ReadText(path_), StoredKey());

    settings.*flag.field = 1;
    ASSERT_TRUE(Save(settings));
    EXPECT_EQ(ReadText(path_), StoredKey() + "\"" + flag.name + "\"=\"TRUE\"\n");
    EXPECT_EQ(Load().*flag.field, 1);

    settings.*flag.field = 0;
    ASSERT_TRUE(Save(settings));
    EXPECT_EQ(ReadText(path_), StoredKey() + "\"" + flag.name + "\"=\"FALSE\"\n");
    EXPECT_EQ(Load().*flag.field, 0);
  }
}

TEST_F(SettingsStoreTest, PeriodPartsFollowTheMissingValueRules) {
  struct Case {
    const char* name;
    std::map<std::string, std::optional<std::string>> changes;
    DateTime expectedStart;
    std::vector<std::string> writtenLines;
  };
  const Case cases[] = {
      {"all stored", {}, DateTime::FromParts(2000, 6, 3, 10, 20, 30), {}},
      {"only SD missing: today's day in the stored month",
       {{"SD", std::nullopt}},
       DateTime::FromParts(2000, 6, 15, 10, 20, 30),
       {"\"SD\"=dword:0000000f"}},
      {"only SH missing: midnight's hour",
       {{"SH", std::nullopt}},
       DateTime::FromParts(2000, 6, 3, 0, 20, 30),
       {"\"SH\"=dword:00000000"}},
      {"no date stored: today at the stored time",
       {{"SD", std::nullopt}, {"SM", std::nullopt}, {"SY", std::nullopt}},
       DateTime::FromParts(2001, 4, 15, 10, 20, 30),
       {"\"SD\"=dword:0000000f", "\"SM\"=dword:00000004", "\"SY\"=dword:000007d1"}},
      {"nothing stored: the clock",
       {{"SD", std::nullopt},
        {"SM", std::nullopt},
        {"SY", std::nullopt},
        {"SH", std::nullopt},
        {"SN", std::nullopt},
        {"SS", std::nullopt}},
       kNow,
       {"\"SH\"=dword:0000000d", "\"SN\"=dword:0000000e", "\"SS\"=dword:0000000f"}},
      {"31 March in a 30-day month",
       {{"SD", Dword(31)}, {"SM", Dword(3)}},
       DateTime::FromParts(2000, 3, 31, 10, 20, 30),
       {}},
      {"31 April: invalid, missing time parts written as -1",
       {{"SD", Dword(31)}, {"SM", Dword(4)}, {"SN", std::nullopt}},
       DateTime(),
       {"\"SN\"=dword:ffffffff"}},
      {"hour 24: invalid from there on",
       {{"SH", Dword(24)}, {"SS", std::nullopt}},
       DateTime(),
       {"\"SS\"=dword:ffffffff"}},
      {"saved invalid: -1 parts",
       {{"SD", Dword(~0u)},
        {"SM", Dword(~0u)},
        {"SY", Dword(~0u)},
        {"SH", Dword(~0u)},
        {"SN", Dword(~0u)},
        {"SS", Dword(~0u)}},
       DateTime(),
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_directories(path_.parent_path());
    WriteText(path_, StoredKey(c.changes));
    const ExportSettings loaded = Load();
    ExpectSameMoment(loaded.periodStart, c.expectedStart);
    EXPECT_EQ(loaded.periodEnd, DateTime::FromParts(2000, 6, 4, 11, 21, 31));
    const std::string text = ReadText(path_);
    for (const std::string& line : c.writtenLines) {
      EXPECT_NE(text.find(line + "\n"), std::string::npos) << line;
    }
    if (c.writtenLines.empty()) {
      EXPECT_EQ(text, StoredKey(c.changes));
    }
  }
}

TEST_F(SettingsStoreTest, PeriodEndUsesItsOwnValues) {
  std::filesystem::create_directories(path_.parent_path());
  WriteText(path_, StoredKey({{"ED", std::nullopt}, {"EH", std::nullopt}}));
  const ExportSettings loaded = Load();
  EXPECT_EQ(loaded.periodStart, DateTime::FromParts(2000, 6, 3, 10, 20, 30));
  EXPECT_EQ(loaded.periodEnd, DateTime::FromParts(2000, 6, 15, 0, 21, 31));
  const std::string text = ReadText(path_);
  EXPECT_NE(text.find("\"ED\"=dword:0000000f\n"), std::string::npos);
  EXPECT_NE(text.find("\"EH\"=dword:00000000\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, AnInvalidStartIsSavedAsMinusOnePartsAndStaysInvalid) {
  std::filesystem::create_directories(path_.parent_path());
  WriteText(path_, StoredKey({{"SD", Dword(31)}, {"SM", Dword(4)}}));
  const ExportSettings loaded = Load();
  ASSERT_FALSE(loaded.periodStart.IsValid());

  ASSERT_TRUE(Save(loaded));
  const std::string text = ReadText(path_);
  for (const char* name : {"SD", "SM", "SY", "SH", "SN", "SS"}) {
    EXPECT_NE(text.find("\"" + std::string(name) + "\"=dword:ffffffff\n"), std::string::npos)
        << name;
  }
  EXPECT_FALSE(Load().periodStart.IsValid());
}

TEST_F(SettingsStoreTest, StoredTextsFlagsAndNumbersLoadWithoutRangeChecks) {
  struct Case {
    const char* name;
    std::string value;
    std::string data;
    std::int32_t ExportSettings::*field;  // null: check exportFile
    std::int32_t expected;
    std::string expectedText;
  };
  const std::string longest(4 * 256, 'x');
  const Case cases[] = {
      {"FALSE", "CH", "\"FALSE\"", &ExportSettings::crosshairs, 0, {}},
      {"F", "CH", "\"F\"", &ExportSettings::crosshairs, 0, {}},
      {"TRUE", "CH", "\"TRUE\"", &ExportSettings::crosshairs, 1, {}},
      {"empty", "LR", "\"\"", &ExportSettings::labelRings, 1, {}},
      {"small letters", "LR", "\"false\"", &ExportSettings::labelRings, 1, {}},
      {"a number whose first byte is F", "CH", Dword('F'), &ExportSettings::crosshairs, 0, {}},
      {"IT -1", "IT", Dword(0xFFFFFFFF), &ExportSettings::iterations, -1, {}},
      {"PS above 65535", "PS", Dword(70000), &ExportSettings::persistenceMinutes, 70000, {}},
      {"ZM out of range", "ZM", Dword(7), &ExportSettings::zoomRange, 7, {}},
      {"number of 2 bytes", "RT", "hex:2c,01", &ExportSettings::rateMinutesPerSecond, 300, {}},
      {"1024-byte text", "XN", "\"" + longest + "\"", nullptr, 0, longest},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_directories(path_.parent_path());
    WriteText(path_, StoredKey({{c.value, c.data}}));
    const ExportSettings loaded = Load();
    if (c.field != nullptr) {
      EXPECT_EQ(loaded.*c.field, c.expected);
    } else {
      EXPECT_EQ(loaded.exportFile, c.expectedText);
    }
    EXPECT_EQ(ReadText(path_), StoredKey({{c.value, c.data}}));  // nothing written back
  }
}

TEST_F(SettingsStoreTest, UnreadableValuesAreReplacedByTheFieldsValue) {
  struct Case {
    const char* name;
    std::string value;
    std::string data;
    std::string writtenData;
  };
  const Case cases[] = {
      {"text over the room", "XN", "\"" + std::string(4 * 256 + 1, 'x') + "\"", "\"\""},
      {"flag over the room", "CH", "\"" + std::string(4 * 256 + 1, 'F') + "\"", "\"FALSE\""},
      {"number over 4 bytes", "PS", "hex:01,02,03,04,05", Dword(60)},
      {"bad escape", "CM", "\"a\\qb\"", "\"\""},
      {"not a number", "PB", "dword:12x", Dword(100)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_directories(path_.parent_path());
    WriteText(path_, StoredKey({{c.value, c.data}}));
    ExpectSameSettings(Load(), [] {
      ExportSettings expected = DefaultExportSettings(kNow);
      expected.periodStart = DateTime::FromParts(2000, 6, 3, 10, 20, 30);
      expected.periodEnd = DateTime::FromParts(2000, 6, 4, 11, 21, 31);
      return expected;
    }());
    EXPECT_EQ(ReadText(path_), StoredKey({{c.value, c.writtenData}}));
  }
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeCreatedShowsTheMessageAtLoadAndAtSave) {
  WriteText(dir_ / "animark", "a file where the folder should be");
  ExportSettings settings = DefaultExportSettings(kNow);
  settings.comments = "typed before the load";
  RegistryFile key(path_);
  EXPECT_FALSE(LoadSettings(settings, key, messages_));
  EXPECT_EQ(settings.comments, "typed before the load");
  EXPECT_FALSE(SaveSettings(settings, key, messages_));

  ASSERT_EQ(messages_.shown.size(), 2u);
  for (const auto& shown : messages_.shown) {
    EXPECT_EQ(shown.text, "An error occured while accessing registry...");
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(ReadText(dir_ / "animark"), "a file where the folder should be");
}

TEST_F(SettingsStoreTest, FilesThatCannotBeReadGiveTheMessageOrDefaultsNeverACrash) {
  struct Case {
    const char* name;
    std::string file;
    bool opens;
  };
  const Case cases[] = {
      {"binary junk", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), false},
      {"bad lines",
       "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n\"XN\"=\"\\x\"\n\"PS\"\n\"IT\"="
       "dword:\n\"" +
           std::string(3 << 20, '"') + "\n",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.shown.clear();
    std::filesystem::create_directories(path_.parent_path());
    WriteText(path_, c.file);
    ExportSettings settings = DefaultExportSettings(kNow);
    RegistryFile key(path_);
    EXPECT_EQ(LoadSettings(settings, key, messages_), c.opens);
    EXPECT_EQ(messages_.shown.size(), c.opens ? 0u : 1u);
    ExpectSameSettings(settings, DefaultExportSettings(kNow));
  }
}

// The full disk comes from a file size limit, which Windows does not have.
#ifndef _WIN32
TEST_F(SettingsStoreTest, AFailedSaveShowsTheMessageAndLeavesTheOldFile) {
  std::filesystem::create_directories(path_.parent_path());
  const std::string old = StoredKey();
  WriteText(path_, old);
  ExportSettings settings = Load();
  settings.exportFile = "never kept";
  {
    const testing::FileSizeLimit full(64);
    EXPECT_FALSE(Save(settings));
  }
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "An error occured while accessing registry...");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ReadText(path_), old);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path_.parent_path()), {}), 1);
}
#endif

}  // namespace
}  // namespace animark
