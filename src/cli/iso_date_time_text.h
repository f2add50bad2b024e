#pragma once
// The period's ends as the command line writes and reads them: YYYY-MM-DD, optionally followed by
// a blank or 'T' and HH:MM or HH:MM:SS, whatever the user's locale.

#include "settings/settings_form.h"

namespace animark::cli {

class IsoDateTimeText final : public DateTimeText {
 public:
  // "2026-07-14 21:00:00"; empty when invalid.
  std::string Format(const DateTime& value) const override;
  // Invalid unless the whole text has one of the forms above and names an existing moment.
  DateTime Parse(std::string_view text) const override;
};

}  // namespace animark::cli
