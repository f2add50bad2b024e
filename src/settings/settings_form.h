#pragma once
// The settings form that both front ends share: every field of ExportSettings as its control
// holds it (text as typed, the checked radio button, the check box), filled from the record and
// taken back into it in one fixed order with the checks and messages of the form. A front end
// keeps only its own controls (or options) and how it names a refused field.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/export_settings.h"
#include "settings/field_table.h"
#include "time/date_time.h"

namespace animark {

// How a front end writes and reads the period's ends: the dialog in the user's locale, the
// command line in ISO form.
class DateTimeText {
 public:
  virtual ~DateTimeText() = default;
  // The text a period field shows for `value`; empty when it is invalid.
  virtual std::string Format(const DateTime& value) const = 0;
  // The value of `text`, or an invalid DateTime when the text is no date or time. Must give back
  // every part of a value that Format wrote, to the second.
  virtual DateTime Parse(std::string_view text) const = 0;
};

// What the form's controls hold.
struct FormFields {
  std::string comments;
  std::string dataDirectory;
  std::string exportFile;
  std::string iterations;
  std::array<std::string, kRangeCount> mapFiles;
  std::string persistenceMinutes;
  std::string rateMinutesPerSecond;
  std::int32_t zoomRange = 0;  // the checked button's position, -1 when none is checked
  std::string periodStart;
  std::string periodEnd;
  std::string pauseBetweenFrames;
  std::string pauseAfterLastFrame;
  std::array<std::string, kRangeCount> ringCounts;
  bool crosshairs = false;
  bool labelRings = false;
  std::int32_t units = 0;  // the checked button's position, -1 when none is checked
};

// The field that failed its check when taken, and the message to show.
struct FormRefusal {
  FormField field;
  std::string message;
};

// Fills the controls from `settings`: integers in plain decimal, a radio group checks the button
// at the field's position (none when outside the group), a check box is checked when its flag is
// exactly 1, a period end shows as `dates` formats it.
FormFields FillForm(const ExportSettings& settings, const DateTimeText& dates);

// Takes the controls into `settings` in exchange order and stops at the first field that fails:
// - text: stored whole, then refused when longer than its limit in kFieldTable (it stays stored);
// - integer: text that is no whole number is refused and leaves the field as it was; a number
//   outside the field's range in kFieldTable is stored, then refused;
// - period end: text that `dates` cannot read is refused and leaves the field invalid;
// - radio groups and check boxes: always taken.
// Fields after the failing one keep their values. Nothing when every field passed.
std::optional<FormRefusal> TakeForm(const FormFields& form, const DateTimeText& dates,
                                    ExportSettings& settings);

}  // namespace animark
