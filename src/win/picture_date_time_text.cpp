#include "win/picture_date_time_text.h"

#include <utility>

namespace animark::win {
namespace {

constexpr int kNoDateYear = 1899;
constexpr int kNoDateMonth = 12;
constexpr int kNoDateDay = 30;
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

}  // namespace

PictureDateTimeText::PictureDateTimeText(LocalePictures locale)
    : names_(std::move(locale.names)),
      datePicture_(WithFullYear(locale.shortDate)),
      timePicture_(WithReadableHours(locale.time, names_)),
      shortTimePicture_(WithReadableHours(locale.shortTime, names_)) {
  if (!ShowsDate(datePicture_)) datePicture_ = "yyyy-MM-dd";
  if (!ShowsTimeWithSeconds(timePicture_)) timePicture_ = "HH:mm:ss";
  if (!ShowsTime(shortTimePicture_)) shortTimePicture_ = timePicture_;
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
