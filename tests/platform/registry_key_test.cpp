#include "platform/registry_key.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "settings/registry_file.h"
#include "settings/same_settings.h"
#include "settings/settings_store.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::ExpectSameSettings;
using testing::ReadFileBytes;
using testing::RecordingMessages;
using testing::TempDir;
using testing::WriteFileBytes;

// A key of the test's own below HKEY_CURRENT_USER\SOFTWARE, removed with everything in it.
class ScratchKey {
 public:
  ScratchKey() : path_("SOFTWARE\\AnimarkTest_" + std::to_string(::GetCurrentProcessId())) {
    Delete();
  }
  ~ScratchKey() { Delete(); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::string& Path() const { return path_; }

  bool Exists() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WidePath().c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    ::RegCloseKey(key);
    return true;
  }

  // Stores `size` bytes as the value `name` of type `type`, creating the key when missing.
  void Set(const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, WidePath().c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(size)),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  // A text of `type`, with its terminating zero unless `terminated` is false.
  void SetText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ,
               bool terminated = true) {
    Set(name, type, text.c_str(), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
  }

 private:
  std::wstring WidePath() const { return {path_.begin(), path_.end()}; }
  void Delete() { ::RegDeleteTreeW(HKEY_CURRENT_USER, WidePath().c_str()); }

  std::string path_;
};

std::vector<std::uint8_t> Utf8Text(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TEST(RegistryKeyTest, AMissingKeyIsToldAndNeverCreated) {
  const ScratchKey scratch;
  RegistryKey key(RegistryAccess::ReadOnly, scratch.Path());
  EXPECT_FALSE(key.Open());
  EXPECT_TRUE(key.Missing());
  EXPECT_FALSE(key.Query("XN", kTextValueRoom));
  EXPECT_TRUE(key.Close());
  EXPECT_FALSE(scratch.Exists());
  EXPECT_EQ(key.Name(), "HKEY_CURRENT_USER\\" + scratch.Path());
}

TEST(RegistryKeyTest, TextsComeBackInUtf8WithTheirZeroAndNothingIsWritten) {
  ScratchKey scratch;
  scratch.SetText(L"XN", L"C:\\Blitzdaten\\J\u00fcrgen\\\U0001F329.gif");
  scratch.SetText(L"CM", L"no zero", REG_SZ, false);
  scratch.SetText(L"DD", L"%USERPROFILE%\\Blitz", REG_EXPAND_SZ);
  scratch.SetText(L"M1", std::wstring(100, L'\u00e9'));  // 200 UTF-8 bytes, 202 stored
  const DWORD minusOne = 0xFFFFFFFF;
  scratch.Set(L"IT", REG_DWORD, &minusOne, sizeof minusOne);

  RegistryKey key(RegistryAccess::ReadOnly, scratch.Path());
  ASSERT_TRUE(key.Open());
  const auto name = key.Query("xn", kTextValueRoom);
  ASSERT_TRUE(name);
  EXPECT_EQ(name->type, SettingsValueType::RegSz);
  EXPECT_EQ(name->bytes, Utf8Text("C:\\Blitzdaten\\J\xC3\xBCrgen\\\xF0\x9F\x8C\xA9.gif"));
  EXPECT_EQ(key.Query("CM", kTextValueRoom)->bytes, Utf8Text("no zero"));
  const auto folder = key.Query("DD", kTextValueRoom);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->type, SettingsValueType::RegExpandSz);
  EXPECT_EQ(folder->bytes, Utf8Text("%USERPROFILE%\\Blitz"));
  const auto iterations = key.Query("IT", 4);
  ASSERT_TRUE(iterations);
  EXPECT_EQ(iterations->type, SettingsValueType::RegDword);
  EXPECT_EQ(iterations->bytes, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  // The room counts UTF-8 bytes.
  EXPECT_TRUE(key.Query("M1", 201));
  EXPECT_FALSE(key.Query("M1", 200));
  EXPECT_FALSE(key.Query("IT", 3));
  EXPECT_FALSE(key.Query("PB", 4));

  // Loading fills in the missing values without writing them back.
  ExportSettings settings = DefaultExportSettings(DateTime::FromParts(2026, 7, 15, 5, 0, 0));
  RecordingMessages messages;
  ASSERT_TRUE(LoadSettings(settings, key, messages));
  EXPECT_EQ(settings.dataDirectory, "%USERPROFILE%\\Blitz");
  EXPECT_EQ(settings.iterations, -1);
  RegistryKey reread(RegistryAccess::ReadOnly, scratch.Path());
  ASSERT_TRUE(reread.Open());
  EXPECT_FALSE(reread.Query("PB", 4));
}

// The dialog's key: created at the first save, every field kept with the type an earlier
// installation used, and read back as saved, text beyond the ANSI code page included.
TEST(RegistryKeyTest, SavedSettingsComeBackAsTheyWere) {
  const ScratchKey scratch;
  ExportSettings saved = DefaultExportSettings(DateTime::FromParts(2026, 7, 15, 5, 0, 0));
  saved.dataDirectory = "C:\\Blitzdaten\\J\xC3\xBCrgen\\year";
  saved.comments = "Gewitter \xE2\x80\x93 Nacht";
  saved.iterations = -1;
  saved.optimizeForWeb = 1;
  RecordingMessages messages;
  RegistryKey key(RegistryAccess::ReadWrite, scratch.Path());
  ASSERT_TRUE(SaveSettings(saved, key, messages));
  EXPECT_TRUE(messages.shown.empty());

  RegistryKey reread(RegistryAccess::ReadOnly, scratch.Path());
  ASSERT_TRUE(reread.Open());
  EXPECT_EQ(reread.Query("XN", kTextValueRoom)->type, SettingsValueType::RegSz);
  EXPECT_EQ(reread.Query("IT", 4)->type, SettingsValueType::RegDword);
  EXPECT_EQ(reread.Query("IT", 4)->bytes, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  reread.Close();
  ExportSettings loaded = DefaultExportSettings(DateTime::FromParts(2020, 1, 1, 0, 0, 0));
  ASSERT_TRUE(LoadSettings(loaded, reread, messages));
  ExpectSameSettings(loaded, saved);
}

// A key that regedit imported from a station's export loads as the export file itself does.
TEST(RegistryKeyTest, KeyImportedFromAUnicodeExportLoadsAsTheFile) {
  const ScratchKey scratch;
  const TempDir dir;
  const std::vector<std::uint8_t> exported =
      ReadFileBytes(ANIMARK_TEST_DATA_DIR "/settings/station-export-unicode.reg");
  std::u16string text((exported.size() - 2) / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(exported[2 + 2 * i] | exported[3 + 2 * i] << 8);
  }
  std::string utf8 = Utf8FromUtf16(text);
  const std::string ourKey = "SOFTWARE\\Animark_kxdata";
  for (std::size_t at; (at = utf8.find(ourKey)) != std::string::npos;) {
    utf8.replace(at, ourKey.size(), scratch.Path());
  }
  std::vector<std::uint8_t> scratchExport = {0xFF, 0xFE};
  for (const char16_t unit : Utf16FromUtf8(utf8)) {
    scratchExport.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    scratchExport.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  WriteFileBytes(dir / "scratch.reg", scratchExport);
  ASSERT_EQ(std::system(("reg import \"" + (dir / "scratch.reg").string() + "\"").c_str()), 0);

  const DateTime now = DateTime::FromParts(2026, 7, 15, 5, 0, 0);
  RecordingMessages messages;
  ExportSettings fromRegistry = DefaultExportSettings(now);
  RegistryKey registry(RegistryAccess::ReadOnly, scratch.Path());
  ASSERT_TRUE(LoadSettings(fromRegistry, registry, messages));
  ExportSettings fromFile = DefaultExportSettings(now);
  std::filesystem::copy_file(ANIMARK_TEST_DATA_DIR "/settings/station-export-unicode.reg",
                             dir / "station.reg");
  RegistryFile file(dir / "station.reg");
  ASSERT_TRUE(LoadSettings(fromFile, file, messages));
  ExpectSameSettings(fromRegistry, fromFile);
  EXPECT_EQ(fromRegistry.dataDirectory, "C:\\Blitzdaten\\J\xC3\xBCrgen");
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace animark
