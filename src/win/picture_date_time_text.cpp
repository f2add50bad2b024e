#include "win/picture_date_time_text.h"

#include <utility>

namespace animark::win {
namespace {

constexpr int kNoDateYear = 1899;
constexpr int kNoDateMonth = 12;
constexpr int kNoDateDay = 30;
constexpr const char* kPlainDate = "yyyy-MM-dd";
constexpr const char* kPlainTime = "HH:mm:ss";
// DateTime tells its parts from this year on.
constexpr int kFirstShownYear = 100;

std::string_view TrimBlanks(std::string_view text) {
  while (const std::size_t blank = BlankAt(text, 0)) text.remove_prefix(blank);
  // Blanks are one to three bytes long: look back as far as the longest.
  for (std::size_t tail = 1; tail <= 3 && tail <= text.size();) {
    if (BlankAt(text, text.size() - tail) == tail) {
      text.remove_suffix(tail);
      tail = 1;
    } else {
      ++tail;
    }
  }
  return text;
}

DateTime FromParts(const DateTimeParts& date, const DateTimeParts& time) {
  return DateTime::FromParts(date.year, date.month, date.day, time.hour, time.minute, time.second);
}

// Values that a picture which runs its numbers together or repeats a part would read back wrong:
// one- and two-digit days, months and hours on both sides of noon, the first and last years, and
// the day that shows the time alone.
constexpr DateTimeParts kProbeDates[] = {
    {2026, 12, 1}, {2001, 1, 12},  {1999, 11, 11}, {2024, 2, 29},
    {100, 1, 1},   {9999, 12, 31}, {2026, 7, 14},  {1899, 12, 30},
};
constexpr DateTimeParts kProbeTimes[] = {
    {1, 1, 1, 0, 0, 1},    {1, 1, 1, 1, 2, 3},    {1, 1, 1, 11, 59, 59}, {1, 1, 1, 12, 0, 0},
    {1, 1, 1, 13, 14, 15}, {1, 1, 1, 23, 59, 59}, {1, 1, 1, 10, 10, 10}, {1, 1, 1, 21, 5, 9},
};

}  // namespace

PictureDateTimeText::PictureDateTimeText(LocalePictures locale)
    : names_(std::move(locale.names)),
      datePicture_(WithFullYear(locale.shortDate)),
      timePicture_(WithReadableHours(locale.time, names_)),
      shortTimePicture_(WithReadableHours(locale.shortTime, names_)) {
  // A user may set any picture. One that does not give back what it writes is not used.
  const auto datesComeBack = [this] {
    for (const DateTimeParts& date : kProbeDates) {
      if (ParseDatePicture(datePicture_, FormatPicture(datePicture_, date, names_), names_) !=
          date) {
        return false;
      }
    }
    return true;
  };
  const auto timesComeBack = [this](const std::string& picture, bool seconds) {
    for (DateTimeParts time : kProbeTimes) {
      if (!seconds) time.second = 0;
      if (ParseTimePicture(picture, FormatPicture(picture, time, names_), names_) != time) {
        return false;
      }
    }
    return true;
  };
  if (!ShowsDate(datePicture_) || !datesComeBack()) datePicture_ = kPlainDate;
  if (!ShowsTimeWithSeconds(timePicture_) || !timesComeBack(timePicture_, true)) {
    timePicture_ = kPlainTime;
  }
  if (!ShowsTime(shortTimePicture_) || !timesComeBack(shortTimePicture_, false)) {
    shortTimePicture_ = timePicture_;
  }
  // Each picture reads back on its own; together they must not be mistaken for each other.
  const auto valuesComeBack = [this] {
    for (const DateTimeParts& date : kProbeDates) {
      for (const DateTimeParts& time : kProbeTimes) {
        const DateTime value = FromParts(date, time);
        if (Parse(Format(value)) != value ||
            Parse(Format(FromParts(date, {}))) != FromParts(date, {})) {
          return false;
        }
      }
    }
    return true;
  };
  if (!valuesComeBack()) {
    datePicture_ = kPlainDate;
    timePicture_ = kPlainTime;
    shortTimePicture_ = kPlainTime;
  }
}

std::string PictureDateTimeText::Format(const DateTime& value) const {
  if (value.Year() < 0) return {};
  const DateTimeParts parts{value.Year(), value.Month(),  value.Day(),
                            value.Hour(), value.Minute(), value.Second()};
  const bool noDate =
      parts.year == kNoDateYear && parts.month == kNoDateMonth && parts.day == kNoDateDay;
  const bool midnight = parts.hour == 0 && parts.minute == 0 && parts.second == 0;
  std::string text;
  if (!noDate) text = FormatPicture(datePicture_, parts, names_);
  if (!midnight || noDate) {
    if (!text.empty()) text += ' ';
    text += FormatPicture(timePicture_, parts, names_);
  }
  return text;
}

DateTime PictureDateTimeText::Parse(std::string_view text) const {
  const std::string_view typed = TrimBlanks(text);
  if (typed.empty()) return {};
  const DateTimeParts midnight;
  if (const auto date = ReadDate(typed)) return FromParts(*date, midnight);
  if (const auto time = ReadTime(typed)) {
    return FromParts({kNoDateYear, kNoDateMonth, kNoDateDay}, *time);
  }
  // Date and time apart, each by its own picture. Either may hold blanks: every run of blanks is
  // tried as the divide.
  for (std::size_t pos = 0; pos < typed.size(); ++pos) {
    std::size_t end = pos;
    while (const std::size_t blank = BlankAt(typed, end)) end += blank;
    if (end == pos) continue;
    if (const auto date = ReadDate(typed.substr(0, pos))) {
      if (const auto time = ReadTime(typed.substr(end))) return FromParts(*date, *time);
    }
    pos = end - 1;
  }
  return {};
}

std::optional<DateTimeParts> PictureDateTimeText::ReadDate(std::string_view text) const {
  auto date = ParseDatePicture(datePicture_, text, names_);
  if (date && date->year < kFirstShownYear) return std::nullopt;
  return date;
}

std::optional<DateTimeParts> PictureDateTimeText::ReadTime(std::string_view text) const {
  if (auto time = ParseTimePicture(timePicture_, text, names_)) return time;
  return ParseTimePicture(shortTimePicture_, text, names_);
}

}  // namespace animark::win
