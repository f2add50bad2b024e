#include "ui/locale_date_time_text.h"

#include <QDate>
#include <QTime>

namespace animark::ui {

namespace {

const QDate kNoDate(1899, 12, 30);

// The short date's year in four digits: "M/d/yy" becomes "M/d/yyyy".
QString FullYear(QString format) {
  if (!format.contains("yyyy")) format.replace("yy", "yyyy");
  return format;
}

// A period end is a local time as the user typed it: the time zone ('t', outside quoted text)
// means nothing here.
QString WithoutTimeZone(const QString& format) {
  QString result;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == '\'') quoted = !quoted;
    if (quoted || c != 't') result += c;
  }
  return result.simplified();
}

DateTime FromQt(const QDate& date, const QTime& time) {
  return DateTime::FromParts(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                             time.second());
}

}  // namespace

LocaleDateTimeText::LocaleDateTimeText(const QLocale& locale)
    : locale_(locale),
      dateFormat_(FullYear(locale.dateFormat(QLocale::ShortFormat))),
      timeFormat_(WithoutTimeZone(locale.timeFormat(QLocale::LongFormat))),
      shortTimeFormat_(WithoutTimeZone(locale.timeFormat(QLocale::ShortFormat))) {}

std::string LocaleDateTimeText::Format(const DateTime& value) const {
  if (value.Year() < 0) return {};
  const QDate date(value.Year(), value.Month(), value.Day());
  const QTime time(value.Hour(), value.Minute(), value.Second());
  QStringList parts;
  if (date != kNoDate) parts << locale_.toString(date, dateFormat_);
  if (time != QTime(0, 0) || date == kNoDate) parts << locale_.toString(time, timeFormat_);
  return parts.join(' ').toStdString();
}

DateTime LocaleDateTimeText::Parse(std::string_view text) const {
  const QString typed =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  const auto readTime = [this](const QString& part) {
    const QTime time = locale_.toTime(part, timeFormat_);
    return time.isValid() ? time : locale_.toTime(part, shortTimeFormat_);
  };
  if (const QDate date = locale_.toDate(typed, dateFormat_); date.isValid()) {
    return FromQt(date, QTime(0, 0));
  }
  if (const QTime time = readTime(typed); time.isValid()) return FromQt(kNoDate, time);
  // Date and time apart, each by its own form, so that no time zone (and no hour that a clock
  // change skips) has a say. Either form may hold blanks: every blank is tried as the divide.
  for (qsizetype blank = typed.indexOf(' '); blank >= 0; blank = typed.indexOf(' ', blank + 1)) {
    const QDate date = locale_.toDate(typed.left(blank), dateFormat_);
    if (!date.isValid()) continue;
    if (const QTime time = readTime(typed.mid(blank + 1).trimmed()); time.isValid()) {
      return FromQt(date, time);
    }
  }
  return {};
}

}  // namespace animark::ui
