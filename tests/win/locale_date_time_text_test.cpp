// Period ends in the system's locales: the text is the system's own for the locale (the year in
// full), and what is filled comes back to the second.

#include "win/locale_date_time_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/text_encoding.h"

namespace animark::win {
namespace {

const DateTime kEvening = DateTime::FromParts(2026, 7, 14, 21, 5, 9);

std::string Utf8(const std::vector<wchar_t>& text, int length) {
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()),
                                           static_cast<std::size_t>(length > 0 ? length - 1 : 0)));
}

// The evening as the system itself writes it in `locale`: the short date by `datePicture`, the
// time by the locale's time form.
std::string SystemText(const wchar_t* locale, const std::string& datePicture) {
  const SYSTEMTIME time{2026, 7, 0, 14, 21, 5, 9, 0};
  const std::u16string picture = Utf16FromUtf8(datePicture);
  const auto* format = reinterpret_cast<const wchar_t*>(picture.c_str());
  std::vector<wchar_t> date(
      static_cast<std::size_t>(::GetDateFormatEx(locale, 0, &time, format, nullptr, 0, nullptr)));
  const int dateLength = ::GetDateFormatEx(locale, 0, &time, format, date.data(),
                                           static_cast<int>(date.size()), nullptr);
  std::vector<wchar_t> clock(
      static_cast<std::size_t>(::GetTimeFormatEx(locale, 0, &time, nullptr, nullptr, 0)));
  const int clockLength =
      ::GetTimeFormatEx(locale, 0, &time, nullptr, clock.data(), static_cast<int>(clock.size()));
  return Utf8(date, dateLength) + " " + Utf8(clock, clockLength);
}

TEST(LocaleDateTimeText, WritesTheLocalesShortDateWithTheYearInFullAndItsTimeWithSeconds) {
  EXPECT_EQ(LocaleDateTimeText(L"en-US").Format(kEvening), "7/14/2026 9:05:09 PM");
  for (const wchar_t* locale : {L"en-US", L"de-DE", L"ko-KR", L"ja-JP", L"fi-FI"}) {
    const std::string datePicture = WithFullYear(ReadLocalePictures(locale).shortDate);
    EXPECT_EQ(LocaleDateTimeText(locale).Format(kEvening), SystemText(locale, datePicture))
        << Utf8FromUtf16(reinterpret_cast<const char16_t*>(locale));
  }
  EXPECT_EQ(LocaleDateTimeText(L"de-DE").Format(DateTime()), "");
}

TEST(LocaleDateTimeText, AFilledValueComesBackToTheSecondInEachLocale) {
  const DateTime values[] = {
      kEvening,
      DateTime::FromParts(2026, 1, 2, 3, 4, 5),
      DateTime::FromParts(1926, 7, 14, 12, 0, 0),
      DateTime::FromParts(2026, 7, 14, 0, 0, 0),
      DateTime::FromParts(1899, 12, 30, 13, 14, 15),
      DateTime::FromParts(1899, 12, 30, 0, 0, 0),
      DateTime::FromParts(100, 1, 1, 23, 59, 59),  // before the years the system formats
      DateTime::FromParts(9999, 12, 31, 12, 30, 1),
  };
  for (const wchar_t* locale : {L"en-US", L"de-DE", L"ko-KR", L"ja-JP", L"fi-FI", L"ar-SA", L""}) {
    const LocaleDateTimeText dates{locale};
    for (const DateTime& value : values) {
      const std::string text = dates.Format(value);
      ASSERT_FALSE(text.empty());
      EXPECT_EQ(dates.Parse(text), value) << text;
    }
  }
}

TEST(LocaleDateTimeText, ReadsADateAloneATimeAloneAndATimeWithoutSeconds) {
  const LocaleDateTimeText american{L"en-US"};
  EXPECT_EQ(american.Parse(" 7/15/2026 "), DateTime::FromParts(2026, 7, 15, 0, 0, 0));
  EXPECT_EQ(american.Parse("2:30:10 PM"), DateTime::FromParts(1899, 12, 30, 14, 30, 10));
  EXPECT_EQ(american.Parse("7/15/2026 2:30 AM"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
  const LocaleDateTimeText german{L"de-DE"};
  EXPECT_EQ(german.Parse("15.07.2026 02:30"), DateTime::FromParts(2026, 7, 15, 2, 30, 0));
  EXPECT_FALSE(german.Parse("31.04.2026").IsValid());
  // The morning's designator as the system names it, before the time.
  const LocaleDateTimeText korean{L"ko-KR"};
  EXPECT_EQ(korean.Parse(ReadLocalePictures(L"ko-KR").names.am + " 2:30"),
            DateTime::FromParts(1899, 12, 30, 2, 30, 0));
}

TEST(LocaleDateTimeText, AnUnknownLocaleStillReadsBackWhatItWrites) {
  const LocaleDateTimeText unknown{L"xx-no-such-locale"};
  const std::string text = unknown.Format(kEvening);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(unknown.Parse(text), kEvening) << text;
}

}  // namespace
}  // namespace animark::win
