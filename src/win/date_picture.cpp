#include "win/date_picture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace animark::win {
namespace {

enum class Kind {
  Literal,     // text as written
  Blank,       // a run of blanks, written as in the picture
  Day,         // width 1 or 2
  DayName,     // width 3 abbreviated, 4 full
  Month,       // width 1 or 2
  MonthName,   // width 3 abbreviated, 4 full
  Year,        // width 1 or 2 without the century, 4 in full
  Hour12,      // width 1 or 2
  Hour24,      // width 1 or 2
  Minute,      // width 1 or 2
  Second,      // width 1 or 2
  Designator,  // width 1 first letter, 2 whole
};

struct Token {
  Kind kind;
  int width = 0;
  std::string text;  // Literal and Blank
};

constexpr std::string_view kBlanks[] = {" ", "\xC2\xA0", "\xE2\x80\xAF"};

std::size_t RunLength(std::string_view text, std::size_t pos) {
  std::size_t end = pos;
  while (end < text.size() && text[end] == text[pos]) ++end;
  return end - pos;
}

void AddText(std::vector<Token>& tokens, Kind kind, std::string_view text) {
  if (tokens.empty() || tokens.back().kind != kind) tokens.push_back({kind, 0, {}});
  tokens.back().text += text;
}

void DropTrailingBlank(std::vector<Token>& tokens) {
  if (!tokens.empty() && tokens.back().kind == Kind::Blank) tokens.pop_back();
}

std::vector<Token> Tokenize(std::string_view picture) {
  std::vector<Token> tokens;
  // The era is never shown: it goes with the blanks after it, or before it at the end.
  bool afterEra = false;
  bool quoted = false;
  std::size_t pos = 0;
  while (pos < picture.size()) {
    const char c = picture[pos];
    if (c == '\'') {
      if (quoted && pos + 1 < picture.size() && picture[pos + 1] == '\'') {
        AddText(tokens, Kind::Literal, "'");
        afterEra = false;
        pos += 2;
      } else {
        quoted = !quoted;
        ++pos;
      }
      continue;
    }
    if (const std::size_t blank = BlankAt(picture, pos); blank > 0) {
      if (!afterEra) AddText(tokens, Kind::Blank, picture.substr(pos, blank));
      pos += blank;
      continue;
    }
    afterEra = false;
    const std::size_t run = quoted ? 1 : RunLength(picture, pos);
    const int width = static_cast<int>(std::min<std::size_t>(run, 4));
    const int narrow = std::min(width, 2);
    if (quoted) {
      AddText(tokens, Kind::Literal, picture.substr(pos, 1));
    } else if (c == 'd') {
      tokens.push_back({width <= 2 ? Kind::Day : Kind::DayName, width, {}});
    } else if (c == 'M') {
      tokens.push_back({width <= 2 ? Kind::Month : Kind::MonthName, width, {}});
    } else if (c == 'y') {
      tokens.push_back({Kind::Year, width <= 2 ? width : 4, {}});
    } else if (c == 'g') {
      afterEra = true;
    } else if (c == 'h' || c == 'H' || c == 'm' || c == 's') {
      const Kind kind = c == 'h'   ? Kind::Hour12
                        : c == 'H' ? Kind::Hour24
                        : c == 'm' ? Kind::Minute
                                   : Kind::Second;
      tokens.push_back({kind, narrow, {}});
    } else if (c == 't') {
      tokens.push_back({Kind::Designator, narrow, {}});
    } else {
      AddText(tokens, Kind::Literal, picture.substr(pos, run));
    }
    pos += run;
  }
  if (afterEra) DropTrailingBlank(tokens);
  return tokens;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// 0 for Sunday.
int Weekday(int year, int month, int day) {
  // Days since 1 March of year 0, the leap day last in each counted year.
  const int shiftedYear = month <= 2 ? year - 1 : year;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t days = std::int64_t{shiftedYear} * 365 + shiftedYear / 4 - shiftedYear / 100 +
                            shiftedYear / 400 + dayOfYear;
  // 1 March of year 0 was a Wednesday.
  return static_cast<int>((days + 3) % 7);
}

std::string Number(int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The first character (code point) of UTF-8 `text`.
std::string_view FirstCharacter(std::string_view text) {
  if (text.empty()) return text;
  std::size_t length = 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    ++length;
  }
  return text.substr(0, length);
}

std::string_view Designator(const LocaleNames& names, bool pm, int width) {
  const std::string& whole = pm ? names.pm : names.am;
  return width == 1 ? FirstCharacter(whole) : std::string_view(whole);
}

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::size_t pos, std::string_view name) {
  if (name.empty() || text.size() - pos < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (FoldAscii(text[pos + i]) != FoldAscii(name[i])) return false;
  }
  return true;
}

bool EqualFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithFolded(a, 0, b);
}

// What a reading has found so far; -1 where nothing is.
struct Found {
  int year = -1;
  int month = -1;
  int day = -1;
  int weekday = -1;
  int hour12 = -1;
  int hour24 = -1;
  int minute = -1;
  int second = -1;
  int pm = -1;
};

enum class Want { Date, Time };

// A reading by backtracking: a number may take fewer digits and a name may be a shorter one when
// what follows does not fit otherwise ("yyyyMMdd", names that begin alike). A part shown twice
// must agree with itself, so the tries stay few however long the picture is.
class Reader {
 public:
  Reader(const std::vector<Token>& tokens, std::string_view text, const LocaleNames& names,
         Want want)
      : tokens_(tokens), text_(text), names_(names), want_(want) {}

  std::optional<DateTimeParts> Read() {
    if (Match(0, 0, Found{})) return result_;
    return std::nullopt;
  }

 private:
  // Sets `slot` to `value` unless it holds another value already (a picture may show a part
  // twice, and both must agree).
  static bool Assign(int& slot, int value) {
    if (slot >= 0 && slot != value) return false;
    slot = value;
    return true;
  }

  bool Match(std::size_t index, std::size_t pos, Found found) {
    if (index == tokens_.size()) return pos == text_.size() && Finish(found);
    const Token& token = tokens_[index];
    switch (token.kind) {
      case Kind::Literal:
        return text_.substr(pos, token.text.size()) == token.text &&
               Match(index + 1, pos + token.text.size(), found);
      case Kind::Blank: {
        std::size_t end = pos;
        while (const std::size_t blank = BlankAt(text_, end)) end += blank;
        return end > pos && Match(index + 1, end, found);
      }
      case Kind::Day:
        return MatchNumber(index, pos, found, 2, &Found::day);
      case Kind::Month:
        return MatchNumber(index, pos, found, 2, &Found::month);
      case Kind::Year:
        return MatchNumber(index, pos, found, 4, &Found::year);
      case Kind::Hour12:
        return MatchNumber(index, pos, found, 2, &Found::hour12);
      case Kind::Hour24:
        return MatchNumber(index, pos, found, 2, &Found::hour24);
      case Kind::Minute:
        return MatchNumber(index, pos, found, 2, &Found::minute);
      case Kind::Second:
        return MatchNumber(index, pos, found, 2, &Found::second);
      case Kind::DayName:
        return MatchName(index, pos, found,
                         token.width == 3 ? names_.abbreviatedDays.data() : names_.days.data(), 7,
                         &Found::weekday, 0);
      case Kind::MonthName:
        return MatchName(index, pos, found,
                         token.width == 3 ? names_.abbreviatedMonths.data() : names_.months.data(),
                         12, &Found::month, 1);
      case Kind::Designator: {
        const std::string names[] = {std::string(Designator(names_, false, token.width)),
                                     std::string(Designator(names_, true, token.width))};
        return MatchName(index, pos, found, names, 2, &Found::pm, 0);
      }
    }
    return false;
  }

  bool MatchNumber(std::size_t index, std::size_t pos, const Found& found, std::size_t maxDigits,
                   int Found::*slot) {
    std::size_t digits = 0;
    while (digits < maxDigits && pos + digits < text_.size() && text_[pos + digits] >= '0' &&
           text_[pos + digits] <= '9') {
      ++digits;
    }
    for (; digits > 0; --digits) {
      int value = 0;
      for (std::size_t i = 0; i < digits; ++i) value = value * 10 + (text_[pos + i] - '0');
      Found next = found;
      if (Assign(next.*slot, value) && Match(index + 1, pos + digits, next)) return true;
    }
    return false;
  }

  // Tries the longest names first, so that the reading is the same whatever the names' order.
  bool MatchName(std::size_t index, std::size_t pos, const Found& found, const std::string* names,
                 int count, int Found::*slot, int first) {
    std::vector<int> order;
    for (int i = 0; i < count; ++i) {
      if (StartsWithFolded(text_, pos, names[i])) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return names[a].size() > names[b].size(); });
    for (const int i : order) {
      Found next = found;
      if (Assign(next.*slot, first + i) && Match(index + 1, pos + names[i].size(), next)) {
        return true;
      }
    }
    return false;
  }

  bool Finish(const Found& found) {
    DateTimeParts parts;
    if (want_ == Want::Date) {
      if (found.year < 1 || found.year > 9999 || found.month < 1 || found.month > 12 ||
          found.day < 1 || found.day > DaysInMonth(found.year, found.month)) {
        return false;
      }
      if (found.weekday >= 0 && found.weekday != Weekday(found.year, found.month, found.day)) {
        return false;
      }
      parts.year = found.year;
      parts.month = found.month;
      parts.day = found.day;
    } else {
      int hour = found.hour24;
      if (found.hour12 >= 0) {
        if (found.pm < 0) {
          hour = found.hour12;
        } else {
          if (found.hour12 < 1 || found.hour12 > 12) return false;
          hour = found.hour12 % 12 + (found.pm == 1 ? 12 : 0);
        }
      }
      const int minute = std::max(found.minute, 0);
      const int second = std::max(found.second, 0);
      if (hour < 0 || hour > 23 || minute > 59 || second > 59) return false;
      parts.hour = hour;
      parts.minute = minute;
      parts.second = second;
    }
    result_ = parts;
    return true;
  }

  const std::vector<Token>& tokens_;
  std::string_view text_;
  const LocaleNames& names_;
  Want want_;
  DateTimeParts result_;
};

bool Shows(const std::vector<Token>& tokens, std::initializer_list<Kind> kinds) {
  return std::any_of(tokens.begin(), tokens.end(), [&](const Token& token) {
    return std::find(kinds.begin(), kinds.end(), token.kind) != kinds.end();
  });
}

// `picture` with each run of `letter` outside quoted text handed to `replace`, which appends what
// stands in its place.
template <typename Replace>
std::string ReplaceRuns(std::string_view picture, char letter, Replace replace) {
  std::string result;
  bool quoted = false;
  std::size_t pos = 0;
  while (pos < picture.size()) {
    const char c = picture[pos];
    if (c == '\'') quoted = !quoted;  // '' inside quotes flips twice and changes nothing
    if (quoted || c != letter) {
      result += c;
      ++pos;
      continue;
    }
    const std::size_t run = RunLength(picture, pos);
    replace(result, run);
    pos += run;
  }
  return result;
}

bool EndsWithBlank(std::string_view text, std::size_t& length) {
  for (const std::string_view blank : kBlanks) {
    if (text.size() >= blank.size() && text.substr(text.size() - blank.size()) == blank) {
      length = blank.size();
      return true;
    }
  }
  return false;
}

}  // namespace

std::size_t BlankAt(std::string_view text, std::size_t pos) {
  for (const std::string_view blank : kBlanks) {
    if (text.substr(pos, blank.size()) == blank) return blank.size();
  }
  return 0;
}

std::string FormatPicture(std::string_view picture, const DateTimeParts& parts,
                          const LocaleNames& names) {
  std::string text;
  for (const Token& token : Tokenize(picture)) {
    switch (token.kind) {
      case Kind::Literal:
      case Kind::Blank:
        text += token.text;
        break;
      case Kind::Day:
        text += Number(parts.day, token.width);
        break;
      case Kind::DayName: {
        const int weekday = Weekday(parts.year, parts.month, parts.day);
        text += token.width == 3 ? names.abbreviatedDays[weekday] : names.days[weekday];
        break;
      }
      case Kind::Month:
        text += Number(parts.month, token.width);
        break;
      case Kind::MonthName:
        text += token.width == 3 ? names.abbreviatedMonths[parts.month - 1]
                                 : names.months[parts.month - 1];
        break;
      case Kind::Year:
        text += Number(token.width == 4 ? parts.year : parts.year % 100, token.width);
        break;
      case Kind::Hour12:
        text += Number(parts.hour % 12 == 0 ? 12 : parts.hour % 12, token.width);
        break;
      case Kind::Hour24:
        text += Number(parts.hour, token.width);
        break;
      case Kind::Minute:
        text += Number(parts.minute, token.width);
        break;
      case Kind::Second:
        text += Number(parts.second, token.width);
        break;
      case Kind::Designator:
        text += Designator(names, parts.hour >= 12, token.width);
        break;
    }
  }
  return text;
}

std::optional<DateTimeParts> ParseDatePicture(std::string_view picture, std::string_view text,
                                              const LocaleNames& names) {
  if (!ShowsDate(picture)) return std::nullopt;
  const std::vector<Token> tokens = Tokenize(picture);
  return Reader(tokens, text, names, Want::Date).Read();
}

std::optional<DateTimeParts> ParseTimePicture(std::string_view picture, std::string_view text,
                                              const LocaleNames& names) {
  const std::vector<Token> tokens = Tokenize(picture);
  if (!Shows(tokens, {Kind::Hour12, Kind::Hour24})) return std::nullopt;
  return Reader(tokens, text, names, Want::Time).Read();
}

std::string WithFullYear(std::string_view picture) {
  return ReplaceRuns(picture, 'y', [](std::string& result, std::size_t run) {
    result.append(std::max<std::size_t>(run, 4), 'y');
  });
}

std::string WithReadableHours(std::string_view picture, const LocaleNames& names) {
  const std::vector<Token> tokens = Tokenize(picture);
  const bool readable = std::all_of(tokens.begin(), tokens.end(), [&](const Token& token) {
    if (token.kind != Kind::Designator) return true;
    const std::string_view am = Designator(names, false, token.width);
    const std::string_view pm = Designator(names, true, token.width);
    return !am.empty() && !pm.empty() && !EqualFolded(am, pm);
  });
  if (readable && Shows(tokens, {Kind::Designator})) return std::string(picture);
  const std::string hours24 = ReplaceRuns(
      picture, 'h', [](std::string& result, std::size_t run) { result.append(run, 'H'); });
  // A designator that tells nothing goes, with the blanks after it (before it at the end), so
  // that no stray blank is left to be read.
  std::string result;
  bool quoted = false;
  bool afterDesignator = false;
  for (std::size_t pos = 0; pos < hours24.size();) {
    const char c = hours24[pos];
    if (!quoted && c == 't') {
      afterDesignator = true;
      pos += RunLength(hours24, pos);
      continue;
    }
    if (const std::size_t blank = BlankAt(hours24, pos); blank > 0 && afterDesignator) {
      pos += blank;
      continue;
    }
    if (c == '\'') quoted = !quoted;
    afterDesignator = false;
    result += c;
    ++pos;
  }
  if (afterDesignator) {
    std::size_t length = 0;
    while (EndsWithBlank(result, length)) result.resize(result.size() - length);
  }
  return result;
}

bool ShowsDate(std::string_view picture) {
  const std::vector<Token> tokens = Tokenize(picture);
  return Shows(tokens, {Kind::Day}) && Shows(tokens, {Kind::Month, Kind::MonthName}) &&
         Shows(tokens, {Kind::Year});
}

bool ShowsTime(std::string_view picture) {
  const std::vector<Token> tokens = Tokenize(picture);
  return Shows(tokens, {Kind::Hour12, Kind::Hour24}) && Shows(tokens, {Kind::Minute});
}

bool ShowsTimeWithSeconds(std::string_view picture) {
  return ShowsTime(picture) && Shows(Tokenize(picture), {Kind::Second});
}

}  // namespace animark::win
