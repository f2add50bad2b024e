#pragma once
// The options of `animark-cli export` and how they become settings: each is typed into the form
// filled from the settings, and the form takes them back with the dialog's checks.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/export_settings.h"
#include "settings/field_checks.h"
#include "time/date_time.h"

namespace animark::cli {

// Every option as typed; an empty optional was not given.
struct ExportOptions {
  bool stored = false;
  std::optional<std::string> settingsFile;
  std::optional<std::string> output;
  std::optional<std::string> from;
  std::optional<std::string> to;
  std::optional<std::string> last;
  std::optional<std::string> range;
  std::vector<std::string> maps;   // RANGE=FILE
  std::vector<std::string> rings;  // RANGE=N
  int crosshairs = 0;              // > 0 on, < 0 off, 0 unchanged
  int labelRings = 0;
  std::optional<std::string> units;
  std::optional<std::string> persistence;
  std::optional<std::string> rate;
  std::optional<std::string> pause;
  std::optional<std::string> pauseLast;
  std::optional<std::string> iterations;
  std::optional<std::string> comments;
  std::optional<std::string> dataDir;
  std::optional<std::string> minStrikes;
  int optimize = 0;    // > 0 on, < 0 off, 0 unchanged
  int ageColours = 0;  // > 0 on, < 0 off, 0 unchanged
  std::optional<std::string> jobs;
  bool force = false;
  bool quiet = false;
};

// The first option whose value is refused, and the message to show after its name.
struct OptionRefusal {
  std::string option;
  std::string message;
};

// Types each given option into the form filled from `settings` and takes the form back, so that
// options are checked (and the first refusal chosen) as the dialog checks its fields. `now` ends
// a --last period. Choices only the command line can get wrong (a range or unit name, RANGE=) are
// refused before the form's checks. `source` names the settings file `settings` came from: a
// refused value that no option typed is told against it and the stored value's name
// ("settings.reg: RT"), and there a range or unit outside its choices is refused too.
std::optional<OptionRefusal> ApplyOptions(const ExportOptions& options, const DateTime& now,
                                          ExportSettings& settings, const std::string& source = {});

// Splits "RANGE=VALUE"; nothing when RANGE is not one of the ranges (100, 200, 300 or 160, 320,
// 480).
std::optional<std::pair<RangeIndex, std::string>> ParseRangeAssignment(const std::string& text);

// Reads the whole number `text` given to `option` (one of the command line's own) into `value`,
// checked as the form checks integers; a number beyond the 32-bit limits is refused, not lowered.
std::optional<OptionRefusal> TakeInteger(const char* option, const std::string& text,
                                         std::int32_t& value, IntegerRange range);

}  // namespace animark::cli
