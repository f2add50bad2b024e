#pragma once
// The period's ends as the dialog shows them: in the user's locale, the short date with the year
// written in full (so that a two-digit year can never come back in another century), a blank and
// the time with seconds. The time is left out at 00:00:00 and the date on 30 December 1899.

#include <QLocale>
#include <QString>

#include "settings/settings_form.h"

namespace animark::ui {

class LocaleDateTimeText final : public DateTimeText {
 public:
  // The locale of the user's environment unless told otherwise.
  explicit LocaleDateTimeText(const QLocale& locale = QLocale::system());

  // Empty for an invalid value or one outside the years 100 to 9999. A value of 00:00:00 on
  // 30 December 1899 shows its time, so that it is not mistaken for an empty field.
  std::string Format(const DateTime& value) const override;
  // Reads what Format writes, a date alone (00:00:00 of that day) and a time alone (on
  // 30 December 1899); a time may leave out its seconds. Blanks around the text are ignored.
  DateTime Parse(std::string_view text) const override;

 private:
  QLocale locale_;
  QString dateFormat_;       // the short date, year in full
  QString timeFormat_;       // the time with seconds, without a time zone
  QString shortTimeFormat_;  // the time without seconds
};

}  // namespace animark::ui
