#include "settings/registry_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::kKeyLine;
using testing::ReadFileBytes;
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

constexpr std::size_t kLargeRoom = std::size_t{8} << 20;

std::vector<std::uint8_t> TextBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

// All of a literal's bytes, zero bytes included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(RegistryTextTest, ParsesAndWritesTextWithoutAnyFile) {
  const auto text = RegistryText::Parse(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n\"XN\"=\"theirs\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\r\n\"IT\"=dword:ffffffff\r\n");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Find("XN"), std::nullopt);  // another key's value
  EXPECT_EQ(text->Find("it")->bytes, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  RegistryText changed = *text;
  changed.Set("XN", {SettingsValueType::RegSz, TextBytes("storm.gif")});
  EXPECT_EQ(changed.Text(),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n\"XN\"=\"theirs\"\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n\"IT\"=dword:ffffffff\n"
            "\"XN\"=\"storm.gif\"\n");
  EXPECT_EQ(RegistryText::Parse("[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\n"), std::nullopt);
}

TEST(RegistryTextTest, ValueSetWithATypeAbove15KeepsItsType) {
  // The type went out as a single hex digit: hex(10) came back as hex(0), hex(1f) as hex(f).
  for (const std::uint32_t type : {0x7u, 0x10u, 0x1Fu, 0xFFFF0000u}) {
    SCOPED_TRACE(type);
    RegistryText text = RegistryText::WithOurKey();
    text.Set("BN", {static_cast<SettingsValueType>(type), {1, 2}});
    const auto reread = RegistryText::Parse(text.Text());
    ASSERT_TRUE(reread);
    const auto value = reread->Find("BN");
    ASSERT_TRUE(value);
    EXPECT_EQ(static_cast<std::uint32_t>(value->type), type);
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{1, 2}));
  }
}

TEST(RegistryTextTest, LinesEndingInSeveralCarriageReturnsKeepTheirValues) {
  // Such lines kept a CR, so "XN" read as missing (and was replaced by the default) and the
  // written text changed again on every save.
  const auto text = RegistryText::Parse(
      "REGEDIT4\r\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\r\r\n"
      "\"XN\"=\"storm.gif\"\r\r\r\n\"IT\"=dword:00000002\r\r\n");
  ASSERT_TRUE(text);
  ASSERT_TRUE(text->Find("XN"));
  EXPECT_EQ(text->Find("XN")->bytes, TextBytes("storm.gif"));
  ASSERT_TRUE(text->Find("IT"));
  const auto written = RegistryText::Parse(text->Text());
  ASSERT_TRUE(written);
  EXPECT_EQ(written->Text(), text->Text());
}

// A station's export goes back to regedit in its own form: setting values to what they hold gives
// the file byte for byte, and a text that a quoted line cannot carry goes out as hex(1)
// in UTF-16LE, as the form has it.
TEST(RegistryTextTest, UnicodeExportIsWrittenBackInItsOwnForm) {
  const std::vector<std::uint8_t> fileBytes =
      ReadFileBytes(ANIMARK_TEST_DATA_DIR "/settings/station-export-unicode.reg");
  const std::string exported(fileBytes.begin(), fileBytes.end());
  auto text = RegistryText::Parse(exported);
  ASSERT_TRUE(text);
  const auto note = text->Find("Notiz");
  ASSERT_TRUE(note);
  EXPECT_EQ(note->type, SettingsValueType::RegExpandSz);
  EXPECT_EQ(note->bytes, TextBytes("%USERPROFILE%\\Blitz"));
  for (const char* name : {"XN", "CM", "CH", "DD", "IT", "M2", "M3", "SY"}) {
    text->Set(name, *text->Find(name));
  }
  EXPECT_EQ(text->Text(), exported);

  text->Set("CM", {SettingsValueType::RegSz, TextBytes("a\n\xC3\xBC")});
  const std::string written = text->Text();
  EXPECT_NE(written.find(Utf16LeFile(u"\"CM\"=hex(1):61,00,0a,00,fc,00,00,00\r\n").substr(2)),
            std::string::npos);
  const auto reread = RegistryText::Parse(written);
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->Find("CM")->bytes, TextBytes("a\n\xC3\xBC"));
  EXPECT_EQ(reread->Find("Notiz")->bytes, note->bytes);
}

TEST(RegistryFileTest, OpenCreatesFolderAndEmptyKeyAndCloseWritesOnlyWhenSomethingWasSet) {
  TempDir dir;
  const auto path = dir / "deep/er/settings.reg";
  {
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    EXPECT_EQ(ReadText(path), std::string("REGEDIT4\n\n") + kKeyLine + "\n\n");
    EXPECT_FALSE(key.Query("XN", kLargeRoom));
    EXPECT_TRUE(key.Close());
  }

  // Reading alone leaves a hand-made file byte for byte as it was, CRLF ends included.
  const std::string windowsText =
      std::string("REGEDIT4\r\n\r\n") + kKeyLine + "\r\n\"IT\"=dword:00000005\r\n\r\n";
  WriteText(path, windowsText);
  {
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    EXPECT_TRUE(key.Query("IT", 4));
    EXPECT_TRUE(key.Close());
  }
  EXPECT_EQ(ReadText(path), windowsText);
}

TEST(RegistryFileTest, OpenFailsWhenTheFolderCannotBeMade) {
  TempDir dir;
  WriteText(dir / "animark", "a regular file where the folder should be");
  RegistryFile key(dir / "animark/settings.reg");
  EXPECT_FALSE(key.Open());
  EXPECT_FALSE(key.Query("XN", kLargeRoom));
  EXPECT_TRUE(key.Close());
  EXPECT_EQ(ReadText(dir / "animark"), "a regular file where the folder should be");
}

TEST(RegistryFileTest, ValuesComeBackByteForByteWithTheirTypes) {
  struct Case {
    std::string text;
    std::string line;  // as the file holds it
  };
  const Case cases[] = {
      {"C:\\GIFs\\storm.gif", R"("XN"="C:\\GIFs\\storm.gif")"},
      {"say \"hi\"", R"("XN"="say \"hi\"")"},
      {"ends in \\", R"("XN"="ends in \\")"},
      {"", R"("XN"="")"},
      {"/home/\xC3\xBC/\xF0\x9F\x98\x80.gif", "\"XN\"=\"/home/\xC3\xBC/\xF0\x9F\x98\x80.gif\""},
      // A quoted line cannot carry a line break.
      {"a\r\nb", "\"XN\"=hex(1):61,0d,0a,62,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    const auto path = dir / "settings.reg";
    {
      RegistryFile key(path);
      ASSERT_TRUE(key.Open());
      key.SetString("XN", c.text);
      key.SetDword("IT", 0xFFFFFFFF);
      ASSERT_TRUE(key.Close());
    }
    EXPECT_EQ(ReadText(path), std::string("REGEDIT4\n\n") + kKeyLine + "\n" + c.line +
                                  "\n\"IT\"=dword:ffffffff\n\n");
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    const auto text = key.Query("xn", kLargeRoom);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, SettingsValueType::RegSz);
    EXPECT_EQ(text->bytes, TextBytes(c.text));
    const auto number = key.Query("It", 4);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->type, SettingsValueType::RegDword);
    EXPECT_EQ(number->bytes, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  }
}

TEST(RegistryFileTest, QueryRefusesAValueLargerThanTheRoom) {
  TempDir dir;
  RegistryFile key(dir / "settings.reg");
  ASSERT_TRUE(key.Open());
  key.SetString("CM", "abc");  // 4 bytes with its zero
  EXPECT_TRUE(key.Query("CM", 4));
  EXPECT_FALSE(key.Query("CM", 3));
}

TEST(RegistryFileTest, ReadsKeysExportedOnWindows) {
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"REGEDIT4 with CRLF",
       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\ANIMARK_KXDATA]\r\n"
       "\"XN\"=\"C:\\\\K\xC3\xA4rten\\\\\\\"\xF0\x9F\x98\x80\\\".gif\"\r\n"
       "\"IT\"=dword:FFFFFFFE\r\n"
       "\"BN\"=hex:01,02,\\\r\n  03\r\n\r\n"},
      {"version 5, UTF-16LE",
       Utf16LeFile(u"Windows Registry Editor Version 5.00\r\n\r\n"
                   u"[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]\r\n"
                   u"\"XN\"=\"C:\\\\K\u00e4rten\\\\\\\"\U0001F600\\\".gif\"\r\n"
                   u"\"IT\"=dword:fffffffe\r\n"
                   u"\"BN\"=hex:01,02,\\\r\n  03\r\n\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteText(dir / "settings.reg", c.file);
    RegistryFile key(dir / "settings.reg");
    ASSERT_TRUE(key.Open());
    const auto path = key.Query("XN", kLargeRoom);
    ASSERT_TRUE(path);
    EXPECT_EQ(path->bytes, TextBytes("C:\\K\xC3\xA4rten\\\"\xF0\x9F\x98\x80\".gif"));
    const auto iterations = key.Query("IT", 4);
    ASSERT_TRUE(iterations);
    EXPECT_EQ(iterations->bytes, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    const auto binary = key.Query("BN", kLargeRoom);
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->type, SettingsValueType::RegBinary);
    EXPECT_EQ(binary->bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

TEST(RegistryFileTest, KeepsOtherKeysAndValuesItDoesNotKnow) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;  // once XN and IT are set
  };
  const std::string otherKey = "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n\"XN\"=\"not ours\"\n";
  const std::string subKey = "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata\\Sub]\n\"XN\"=\"sub\"\n";
  const Case cases[] = {
      {"our key among others",
       "REGEDIT4\n\n; kept by hand\n" + otherKey + "\n" + kKeyLine +
           "\n\"ZZ\"=\"someone else's\"\n\"XN\"=\"old\"\n\"BN\"=hex:01,02,\\\n  03\n"
           "junk without equals\n\n" +
           subKey,
       "REGEDIT4\n\n; kept by hand\n" + otherKey + "\n" + kKeyLine +
           "\n\"ZZ\"=\"someone else's\"\n\"XN\"=\"new\"\n\"BN\"=hex:01,02,\\\n  03\n"
           "\"IT\"=dword:00000007\njunk without equals\n\n" +
           subKey},
      {"our key missing", "REGEDIT4\n\n" + otherKey,
       "REGEDIT4\n\n" + otherKey + "\n" + kKeyLine + "\n\"XN\"=\"new\"\n\"IT\"=dword:00000007\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto path = dir / "settings.reg";
    WriteText(path, c.before);
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    key.SetString("XN", "new");
    key.SetDword("IT", 7);
    ASSERT_TRUE(key.Close());
    EXPECT_EQ(ReadText(path), c.after);
  }
}

TEST(RegistryFileTest, ReadsOurValueNotTheSameNameInOtherKeys) {
  TempDir dir;
  WriteText(
      dir / "settings.reg",
      std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n\"XN\"=\"a\"\n\n") + kKeyLine +
          "\n\"XN\"=\"b\"\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata\\Sub]\n\"XN\"=\"c\"\n");
  RegistryFile key(dir / "settings.reg");
  ASSERT_TRUE(key.Open());
  const auto value = key.Query("XN", kLargeRoom);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->bytes, TextBytes("b"));
}

TEST(RegistryFileTest, RefusesFilesThatAreNotRegistryExportsAndLeavesThemAlone) {
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"binary junk", Bytes("\x00\x01\xFF\xFE\x7F junk\n\x00")},
      {"no header", std::string(kKeyLine) + "\n\"XN\"=\"a\"\n"},
      {"odd UTF-16 byte count", "\xFF\xFE\x52\x00\x45"},
      {"larger than the cap", "REGEDIT4\n\n; " + std::string(kMaxSettingsFileBytes, 'x') + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto path = dir / "settings.reg";
    WriteText(path, c.file);
    {
      RegistryFile key(path);
      EXPECT_FALSE(key.Open());
      key.SetString("XN", "never written");
    }
    EXPECT_EQ(ReadText(path), c.file);
  }
}

// A file cut short in the middle of a line (a full disk, a crash while copying) keeps every
// whole value; the cut line reads as missing and stays as it was.
TEST(RegistryFileTest, FileCutInsideALineKeepsItsWholeValues) {
  TempDir dir;
  const auto path = dir / "settings.reg";
  const std::string cut = std::string("REGEDIT4\n\n") + kKeyLine +
                          "\n\"XN\"=\"storm.gif\"\n\"PS\"=dword:0000003c\n\"CM\"=\"a comm";
  WriteText(path, cut);
  {
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    const auto name = key.Query("XN", kLargeRoom);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->bytes, TextBytes("storm.gif"));
    EXPECT_TRUE(key.Query("PS", kLargeRoom));
    EXPECT_FALSE(key.Query("CM", kLargeRoom));
    key.SetDword("IT", 3);
    EXPECT_TRUE(key.Close());
  }
  const std::string after = ReadText(path);
  EXPECT_NE(after.find("\"XN\"=\"storm.gif\""), std::string::npos);
  EXPECT_NE(after.find("\"CM\"=\"a comm"), std::string::npos);
  EXPECT_NE(after.find("\"IT\"=dword:00000003"), std::string::npos);
}

TEST(RegistryFileTest, BadLinesReadAsMissingAndStayInTheFile) {
  TempDir dir;
  const auto path = dir / "settings.reg";
  const std::string hugeText(std::size_t{1} << 20, 'h');
  const std::string badLines = std::string(kKeyLine) +
                               "\n\"XN\"=\"bad \\q escape\"\n"
                               "\"CM\"\n"
                               "\"CH\"=\"unterminated\n"
                               "\"IT\"=dword:xyz\n"
                               "\"PB\"=dword:123456789\n"
                               "\"M1\"=hex:zz\n"
                               "\"M2\"=-\n" +
                               Bytes("\0\0\xFF binary \x01") + "\n\"DD\"=\"" + hugeText + "\"\n";
  WriteText(path, "REGEDIT4\n\n" + badLines);
  {
    RegistryFile key(path);
    ASSERT_TRUE(key.Open());
    for (const char* name : {"XN", "CM", "CH", "IT", "PB", "M1", "M2"}) {
      EXPECT_FALSE(key.Query(name, kLargeRoom)) << name;
    }
    EXPECT_FALSE(key.Query("DD", 4 * 256 + 1));
    EXPECT_TRUE(key.Query("DD", kLargeRoom));
    key.SetString("XN", "mended");
  }
  const std::string after = ReadText(path);
  EXPECT_EQ(after, "REGEDIT4\n\n" + std::string(kKeyLine) + "\n\"XN\"=\"mended\"" +
                       badLines.substr(badLines.find("\n\"CM\"")));
}

}  // namespace
}  // namespace animark
