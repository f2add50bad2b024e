#include "settings/registry_text.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/text_encoding.h"

namespace animark {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOurKeyLine = "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Text in UTF-16LE, as Windows writes its exports and the text values in their hex(n) data. Nothing
// for an odd number of bytes.
std::optional<std::u16string> Utf16FromLittleEndian(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                  static_cast<std::uint8_t>(bytes[i + 1]) << 8);
  }
  return text;
}

std::string LittleEndianFromUtf16(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Windows-1252 has other characters than Latin-1 at 0x80 to 0x9F; its five unused codes are kept
// as the C1 controls of the same number, as Windows converts them.
constexpr char16_t kWindows1252High[32] = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

// A text of 8-bit characters, as a REGEDIT4 file holds it, in UTF-8. Regedit writes that form in
// the system's ANSI code page, Windows-1252 on the Western European systems the detector's software
// runs on ("J\xFCrgen"), and this program writes it in UTF-8 ("J\xC3\xBCrgen"); a text that is not
// valid UTF-8 cannot be the latter.
std::string Utf8FromEightBitText(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::u16string wide;
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    wide += byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t{byte};
  }
  return Utf8FromUtf16(wide);
}

// The file's text in UTF-8, without a byte order mark.
std::optional<std::string> DecodeText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    // An unpaired surrogate becomes U+FFFD.
    const auto text = Utf16FromLittleEndian(bytes.substr(2));
    if (!text) return std::nullopt;
    return Utf8FromUtf16(*text);
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return std::string(bytes);
}

// Lines without their LF or CRLF ends. A file that went through a CRLF conversion twice ends its
// lines in CR CR LF: those are line ends too, or a value there would read as missing and be
// replaced.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    while (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// A quoted text with \\ and \" escapes, starting at text[pos]; pos ends after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos == text.size()) return std::nullopt;
      c = text[pos];
      if (c != '\\' && c != '"') return std::nullopt;
    }
    out += c;
  }
  return std::nullopt;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t number = 0;
  for (const char c : digits) {
    const char lower = LowerAscii(c);
    int digit;
    if (lower >= '0' && lower <= '9') {
      digit = lower - '0';
    } else if (lower >= 'a' && lower <= 'f') {
      digit = lower - 'a' + 10;
    } else {
      return std::nullopt;
    }
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// "4a,00,ff", continuation marks already removed.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view list) {
  std::vector<std::uint8_t> bytes;
  list = TrimBlanks(list);
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const auto byte = ParseHexNumber(TrimBlanks(list.substr(0, comma)), 2);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
    if (TrimBlanks(list).empty()) return std::nullopt;
  }
  return bytes;
}

// The data after "name"=: "text", dword:hhhhhhhh, hex:.. or hex(n):..; nothing for anything else
// (a deletion mark "-" included). Texts come out in UTF-8 from either form.
std::optional<SettingsValue> ParseData(std::string_view data, RegistryText::Form form) {
  data = TrimBlanks(data);
  if (data.starts_with('"')) {
    std::size_t end = 0;
    const auto text = ParseQuoted(data, end);
    if (!text || end != data.size()) return std::nullopt;
    const std::string utf8 = Utf8FromEightBitText(*text);
    SettingsValue value{SettingsValueType::RegSz, {utf8.begin(), utf8.end()}};
    value.bytes.push_back(0);
    return value;
  }
  if (StartsWithIgnoringCase(data, "dword:")) {
    const auto number = ParseHexNumber(data.substr(6), 8);
    if (!number) return std::nullopt;
    SettingsValue value{SettingsValueType::RegDword, {}};
    for (int shift = 0; shift < 32; shift += 8) {
      value.bytes.push_back(static_cast<std::uint8_t>(*number >> shift));
    }
    return value;
  }
  std::optional<std::uint32_t> type;
  if (StartsWithIgnoringCase(data, "hex:")) {
    type = static_cast<std::uint32_t>(SettingsValueType::RegBinary);
    data.remove_prefix(4);
  } else if (StartsWithIgnoringCase(data, "hex(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    type = ParseHexNumber(data.substr(4, close - 4), 8);
    data.remove_prefix(close + 2);
  }
  if (!type) return std::nullopt;
  const auto bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  SettingsValue value{static_cast<SettingsValueType>(*type), *bytes};
  if (HoldsText(value.type)) {
    const std::string stored(bytes->begin(), bytes->end());
    std::string utf8;
    if (form == RegistryText::Form::Unicode) {
      const auto wide = Utf16FromLittleEndian(stored);
      if (!wide) return std::nullopt;
      utf8 = Utf8FromUtf16(*wide);
    } else {
      utf8 = Utf8FromEightBitText(stored);
    }
    value.bytes.assign(utf8.begin(), utf8.end());
  }
  return value;
}

std::string HexNumber(std::uint32_t number, int digits) {
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, number >>= 4) text[i] = "0123456789abcdef"[number & 15];
  return text;
}

// A value's type as hex(n) writes it: no leading zeros, but every digit the number needs.
std::string TypeNumber(std::uint32_t type) {
  int digits = 1;
  while (digits < 8 && type >> (4 * digits) != 0) ++digits;
  return HexNumber(type, digits);
}

// The data as a registry export of that form writes it. Texts that a quoted line cannot carry (line
// breaks, an inner zero byte) go out as hex(1) so that they come back byte for byte; as every text
// in hex(n) data, in UTF-16LE in the Unicode form.
std::string DataText(const SettingsValue& value, RegistryText::Form form) {
  std::vector<std::uint8_t> bytes = value.bytes;
  if (value.type == SettingsValueType::RegSz && !bytes.empty() && bytes.back() == 0 &&
      std::none_of(bytes.begin(), bytes.end() - 1,
                   [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; })) {
    return Quoted(std::string(bytes.begin(), bytes.end() - 1));
  }
  if (value.type == SettingsValueType::RegDword && bytes.size() == 4) {
    return "dword:" + HexNumber(static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 |
                                                           bytes[2] << 16 | bytes[3] << 24),
                                8);
  }
  if (HoldsText(value.type) && form == RegistryText::Form::Unicode) {
    const std::string wide =
        LittleEndianFromUtf16(Utf16FromUtf8(std::string(bytes.begin(), bytes.end())));
    bytes.assign(wide.begin(), wide.end());
  }
  std::string text = value.type == SettingsValueType::RegBinary
                         ? "hex:"
                         : "hex(" + TypeNumber(static_cast<std::uint32_t>(value.type)) + "):";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) text += ',';
    text += HexNumber(bytes[i], 2);
  }
  return text;
}

}  // namespace

RegistryText RegistryText::WithOurKey() {
  RegistryText text;
  text.entries_ = {Entry{}, Entry{Entry::Kind::OurKey, std::string(kOurKeyLine), {}, {}}, Entry{}};
  return text;
}

std::optional<RegistryText> RegistryText::Parse(std::string_view bytes) {
  const auto text = DecodeText(bytes);
  if (!text) return std::nullopt;
  const std::vector<std::string_view> lines = SplitLines(*text);
  RegistryText parsed;
  // An empty file (created by hand, say) holds no keys yet.
  if (lines.empty()) return parsed;
  const std::string_view header = TrimBlanks(lines[0]);
  if (header != kHeader && header != kUnicodeHeader) return std::nullopt;
  parsed.form_ = header == kUnicodeHeader ? Form::Unicode : Form::Regedit4;

  bool inOurKey = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    Entry entry;
    entry.text = lines[i];
    const std::string_view line = TrimBlanks(lines[i]);
    if (line.starts_with('[')) {
      inOurKey = EqualIgnoringCase(line, kOurKeyLine);
      if (inOurKey) entry.kind = Entry::Kind::OurKey;
    } else if (inOurKey && line.starts_with('"')) {
      std::size_t pos = 0;
      auto name = ParseQuoted(line, pos);
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (name && pos < line.size() && line[pos] == '=') {
        std::string data(TrimBlanks(line.substr(pos + 1)));
        // Long hex data runs on over lines ending in a backslash.
        while (StartsWithIgnoringCase(data, "hex") && data.ends_with('\\') &&
               i + 1 < lines.size() && !TrimBlanks(lines[i + 1]).starts_with('[') &&
               !TrimBlanks(lines[i + 1]).starts_with('"')) {
          data.pop_back();
          data += TrimBlanks(lines[++i]);
          (entry.text += '\n') += lines[i];
        }
        entry.kind = Entry::Kind::OurValue;
        entry.name = std::move(*name);
        entry.value = ParseData(data, parsed.form_);
      }
    }
    parsed.entries_.push_back(std::move(entry));
  }
  return parsed;
}

std::optional<SettingsValue> RegistryText::Find(std::string_view name) const {
  const Entry* entry = FindValue(name);
  return entry != nullptr ? entry->value : std::nullopt;
}

void RegistryText::Set(std::string_view name, SettingsValue value) {
  Entry* entry = FindValue(name);
  if (entry == nullptr) {
    // A new value goes after the last line of our key, or into a new section at the end.
    const auto last = std::find_if(entries_.rbegin(), entries_.rend(),
                                   [](const Entry& e) { return e.kind != Entry::Kind::Other; });
    auto at = last.base();
    if (last == entries_.rend()) {
      if (entries_.empty() || !TrimBlanks(entries_.back().text).empty()) entries_.emplace_back();
      entries_.push_back(Entry{Entry::Kind::OurKey, std::string(kOurKeyLine), {}, {}});
      at = entries_.end();
    }
    entry = &*entries_.insert(at, Entry{Entry::Kind::OurValue, {}, std::string(name), {}});
  }
  entry->name = name;
  entry->text = Quoted(name) + "=" + DataText(value, form_);
  entry->value = std::move(value);
}

// The last value of that name: it is the one a registry import would keep.
const RegistryText::Entry* RegistryText::FindValue(std::string_view name) const {
  const auto found = std::find_if(entries_.rbegin(), entries_.rend(), [name](const Entry& e) {
    return e.kind == Entry::Kind::OurValue && EqualIgnoringCase(e.name, name);
  });
  return found == entries_.rend() ? nullptr : &*found;
}

RegistryText::Entry* RegistryText::FindValue(std::string_view name) {
  return const_cast<Entry*>(std::as_const(*this).FindValue(name));
}

std::string RegistryText::Text() const {
  const bool unicode = form_ == Form::Unicode;
  const std::string_view lineEnd = unicode ? "\r\n" : "\n";
  std::string text(unicode ? kUnicodeHeader : kHeader);
  text += lineEnd;
  for (const Entry& entry : entries_) {
    for (const char c : entry.text) {
      if (c == '\n') {
        text += lineEnd;
      } else {
        text += c;
      }
    }
    text += lineEnd;
  }
  if (!unicode) return text;
  return "\xFF\xFE" + LittleEndianFromUtf16(Utf16FromUtf8(text));
}

}  // namespace animark
