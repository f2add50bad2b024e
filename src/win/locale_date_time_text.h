#pragma once
// The period's ends in the Windows user's locale, as PictureDateTimeText writes and reads them
// with the locale's short date, time and short time pictures and its names.

#include <string>
#include <string_view>

#include "settings/settings_form.h"
#include "win/picture_date_time_text.h"

namespace animark::win {

class LocaleDateTimeText final : public DateTimeText {
 public:
  // The locale named (e.g. "de-DE"), the user's own with its changes when empty. Reads the
  // locale once; a name the system does not know gives the invariant locale.
  explicit LocaleDateTimeText(std::wstring localeName = {});

  std::string Format(const DateTime& value) const override { return text_.Format(value); }
  DateTime Parse(std::string_view text) const override { return text_.Parse(text); }

 private:
  PictureDateTimeText text_;
};

// The pictures and names of the locale named, as LocaleDateTimeText reads them.
LocalePictures ReadLocalePictures(const std::wstring& localeName);

}  // namespace animark::win
