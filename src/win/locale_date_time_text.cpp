#include "win/locale_date_time_text.h"

#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

#include "platform/text_encoding.h"

namespace animark::win {
namespace {

// The system's own date formatting (GetDateFormatEx) is not used: it starts at the year 1601 and
// has no reading counterpart. The locale's pictures and names, formatted and read by one piece of
// code, give text that always reads back as written.

// The locale's text for `type`; empty when the system has none.
std::string LocaleText(const wchar_t* locale, LCTYPE type) {
  const int length = ::GetLocaleInfoEx(locale, type, nullptr, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length));
  const int written = ::GetLocaleInfoEx(locale, type, buffer.data(), length);
  if (written <= 0) return {};
  // The count includes the terminating zero.
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()),
                                           static_cast<std::size_t>(written - 1)));
}

template <std::size_t N>
void ReadNames(const wchar_t* locale, const LCTYPE (&types)[N], std::array<std::string, N>& names) {
  for (std::size_t i = 0; i < N; ++i) names[i] = LocaleText(locale, types[i]);
}

constexpr LCTYPE kMonths[12] = {LOCALE_SMONTHNAME1,  LOCALE_SMONTHNAME2,  LOCALE_SMONTHNAME3,
                                LOCALE_SMONTHNAME4,  LOCALE_SMONTHNAME5,  LOCALE_SMONTHNAME6,
                                LOCALE_SMONTHNAME7,  LOCALE_SMONTHNAME8,  LOCALE_SMONTHNAME9,
                                LOCALE_SMONTHNAME10, LOCALE_SMONTHNAME11, LOCALE_SMONTHNAME12};
constexpr LCTYPE kAbbreviatedMonths[12] = {
    LOCALE_SABBREVMONTHNAME1,  LOCALE_SABBREVMONTHNAME2,  LOCALE_SABBREVMONTHNAME3,
    LOCALE_SABBREVMONTHNAME4,  LOCALE_SABBREVMONTHNAME5,  LOCALE_SABBREVMONTHNAME6,
    LOCALE_SABBREVMONTHNAME7,  LOCALE_SABBREVMONTHNAME8,  LOCALE_SABBREVMONTHNAME9,
    LOCALE_SABBREVMONTHNAME10, LOCALE_SABBREVMONTHNAME11, LOCALE_SABBREVMONTHNAME12};
// The system counts the week from Monday (DAYNAME1); the names are kept from Sunday.
constexpr LCTYPE kDays[7] = {LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2, LOCALE_SDAYNAME3,
                             LOCALE_SDAYNAME4, LOCALE_SDAYNAME5, LOCALE_SDAYNAME6};
constexpr LCTYPE kAbbreviatedDays[7] = {
    LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2, LOCALE_SABBREVDAYNAME3,
    LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5, LOCALE_SABBREVDAYNAME6};

}  // namespace

LocalePictures ReadLocalePictures(const std::wstring& localeName) {
  const wchar_t* locale = localeName.empty() ? LOCALE_NAME_USER_DEFAULT : localeName.c_str();
  if (!localeName.empty() && ::IsValidLocaleName(locale) == FALSE) locale = LOCALE_NAME_INVARIANT;
  LocalePictures pictures;
  pictures.shortDate = LocaleText(locale, LOCALE_SSHORTDATE);
  pictures.time = LocaleText(locale, LOCALE_STIMEFORMAT);
  pictures.shortTime = LocaleText(locale, LOCALE_SSHORTTIME);
  ReadNames(locale, kMonths, pictures.names.months);
  ReadNames(locale, kAbbreviatedMonths, pictures.names.abbreviatedMonths);
  ReadNames(locale, kDays, pictures.names.days);
  ReadNames(locale, kAbbreviatedDays, pictures.names.abbreviatedDays);
  pictures.names.am = LocaleText(locale, LOCALE_S1159);
  pictures.names.pm = LocaleText(locale, LOCALE_S2359);
  return pictures;
}

LocaleDateTimeText::LocaleDateTimeText(std::wstring localeName)
    : text_(ReadLocalePictures(localeName)) {}

}  // namespace animark::win
