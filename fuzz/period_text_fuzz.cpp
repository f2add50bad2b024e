// A period end as typed into the dialog, read by the pictures of real locales and by pictures a
// user may set to anything. In a real locale, a value that was read is written as text that reads
// back to that value. Any picture gives back the values it is checked with when it is set.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "win/locale_names.h"
#include "win/picture_date_time_text.h"

namespace animark {
namespace {

using win::LocalePictures;

const win::PictureDateTimeText& RealLocale(std::uint8_t choice) {
  static const win::PictureDateTimeText kLocales[] = {
      win::PictureDateTimeText({"M/d/yyyy", "h:mm:ss tt", "h:mm tt", win::EnglishNames()}),
      win::PictureDateTimeText({"dd.MM.yyyy", "HH:mm:ss", "HH:mm", win::EnglishNames()}),
      win::PictureDateTimeText({"yyyy. M. d.", "tt h:mm:ss", "tt h:mm", win::KoreanNames()}),
      win::PictureDateTimeText({"d.M.yyyy", "H.mm.ss", "H.mm", win::EnglishNames()}),
      win::PictureDateTimeText(
          {"dddd, MMMM d, yyyy", "h:mm:ss tt", "h:mm tt", win::EnglishNames()}),
  };
  return kLocales[choice % std::size(kLocales)];
}

std::string_view NextLine(std::string_view& input) {
  const std::size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

}  // namespace
}  // namespace animark

// Input: a byte that chooses the locale (odd: the user's own pictures, in the next three lines),
// then the typed text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace animark;
  if (size == 0) return 0;
  std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    const win::PictureDateTimeText& dates = RealLocale(data[0] / 2);
    const DateTime value = dates.Parse(input);
    if (value.IsValid()) {
      FUZZ_CHECK(value.Year() >= 100, "a value read that cannot be written");
      const std::string text = dates.Format(value);
      FUZZ_CHECK(dates.Parse(text) == value, "the text of a value read does not read back");
    }
    return 0;
  }
  LocalePictures pictures{std::string(NextLine(input)), std::string(NextLine(input)),
                          std::string(NextLine(input)), win::EnglishNames()};
  const win::PictureDateTimeText dates(std::move(pictures));
  for (const DateTime& value :
       {DateTime::FromParts(2026, 7, 14, 21, 5, 9), DateTime::FromParts(2001, 1, 12, 0, 0, 0),
        DateTime::FromParts(1899, 12, 30, 1, 2, 3)}) {
    FUZZ_CHECK(dates.Parse(dates.Format(value)) == value, "a checked value does not read back");
  }
  dates.Parse(input);
  return 0;
}
