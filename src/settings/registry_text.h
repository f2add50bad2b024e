#pragma once
// The text of a registry export, parsed and written without touching any file:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\SOFTWARE\Animark_kxdata]
//   "XN"="C:\\maps\\storm.gif"
//   "IT"=dword:ffffffff
//
// Regedit writes two forms: "REGEDIT4" (8-bit text, the system's ANSI code page) and "Windows
// Registry Editor Version 5.00" (UTF-16LE with a byte order mark, CRLF; the data of text values in
// hex(n) form is UTF-16LE too). Both are read, and the text is written back in the form it was read
// in, so that an export from a station PC stays one that regedit imports. Other keys, and values
// of our key that the program does not know or cannot read, are written back as they were read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_key.h"

namespace animark {

class RegistryText {
 public:
  enum class Form {
    Regedit4,  // REGEDIT4; this program writes its texts in UTF-8, LF
    Unicode,   // Windows Registry Editor Version 5.00: UTF-16LE with its byte order mark, CRLF
  };

  // No keys at all.
  RegistryText() = default;
  // Our key, holding no values.
  static RegistryText WithOurKey();

  // Reads "REGEDIT4" and "Windows Registry Editor Version 5.00" texts, UTF-8 or UTF-16 with a
  // byte order mark, CRLF or LF; an empty text holds no keys. Texts of REGEDIT4 that are not valid
  // UTF-8 are Windows-1252. Nothing when `bytes` is not a registry export.
  static std::optional<RegistryText> Parse(std::string_view bytes);

  // The last value of that name in our key (names compare without regard to case): the one a
  // registry import would keep. Values written as "text", dword:, hex: or hex(n): are understood;
  // any other line reads as missing. Texts are UTF-8, whatever the form.
  std::optional<SettingsValue> Find(std::string_view name) const;

  // Replaces the value of that name, or adds it at the end of our key (adding the key when
  // missing).
  void Set(std::string_view name, SettingsValue value);

  // The whole text in the form it was read in (REGEDIT4 when made here): REGEDIT4 as UTF-8, LF;
  // the Unicode form as UTF-16LE with its byte order mark, CRLF.
  std::string Text() const;

 private:
  // One line of the text, or one value of our key with its continuation lines.
  struct Entry {
    enum class Kind { Other, OurKey, OurValue };
    Kind kind = Kind::Other;
    std::string text;                    // as read, lines joined by '\n'; rewritten when set
    std::string name;                    // kOurValue: the value's name
    std::optional<SettingsValue> value;  // kOurValue: nothing when its data cannot be read
  };

  const Entry* FindValue(std::string_view name) const;
  Entry* FindValue(std::string_view name);

  Form form_ = Form::Regedit4;
  std::vector<Entry> entries_;
};

}  // namespace animark
