#pragma once
// The period's ends in a locale given by its Windows pictures and names: the short date with the
// year written in full (so that a two-digit year can never come back in another century), a blank
// and the time with seconds. The time is left out at 00:00:00 and the date on 30 December 1899.
// No system call, so that the whole behaviour is the same, and tested, on every system.

#include <string>
#include <string_view>

#include "settings/settings_form.h"
#include "win/date_picture.h"

namespace animark::win {

// A locale as the system describes it, UTF-8.
struct LocalePictures {
  std::string shortDate;  // the short date, e.g. "M/d/yyyy"
  std::string time;       // the time with seconds, e.g. "h:mm:ss tt"
  std::string shortTime;  // the time without seconds, e.g. "h:mm tt"
  LocaleNames names;
};

class PictureDateTimeText final : public DateTimeText {
 public:
  // A picture that cannot be read back whole falls back to a plain one: a short date without
  // day, month or year, or one that reads some dates back wrong ("dM"), to "yyyy-MM-dd"; such a
  // time or one without seconds to "HH:mm:ss"; such a short time or one without minutes to the
  // time; all three when date and time are mistaken for each other. A 12-hour clock whose
  // designators tell nothing becomes 24-hour.
  explicit PictureDateTimeText(LocalePictures locale);

  // Empty for an invalid value or one outside the years 100 to 9999. A value of 00:00:00 on
  // 30 December 1899 shows its time, so that it is not mistaken for an empty field.
  std::string Format(const DateTime& value) const override;
  // Reads what Format writes, a date alone (00:00:00 of that day) and a time alone (on
  // 30 December 1899); a time may leave out its seconds. Blanks around the text are ignored.
  // Years before 100 are refused: Format could not show them.
  DateTime Parse(std::string_view text) const override;

  const std::string& DatePicture() const { return datePicture_; }
  const std::string& TimePicture() const { return timePicture_; }
  const std::string& ShortTimePicture() const { return shortTimePicture_; }

 private:
  std::optional<DateTimeParts> ReadDate(std::string_view text) const;
  std::optional<DateTimeParts> ReadTime(std::string_view text) const;

  LocaleNames names_;
  std::string datePicture_;
  std::string timePicture_;
  std::string shortTimePicture_;
};

}  // namespace animark::win
