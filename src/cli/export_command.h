#pragma once
// `animark-cli export`: settings from the defaults or a store, changed field by field by the
// options, checked as the form checks them, then the same Create GIF command as the dialog.

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "settings/export_settings.h"

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
  int optimize = 0;  // > 0 on, < 0 off, 0 unchanged
  std::optional<std::string> jobs;
  bool force = false;
  bool quiet = false;
};

// Exit statuses of `animark-cli export`.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitNotWritten = 1;  // the file could not be created or written
inline constexpr int kExitRefused = 2;     // bad options, no frames, not allowed to overwrite
inline constexpr int kExitTooFewStrikes = 3;

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

// Runs the export; messages go to standard error, the summary line to standard output.
int RunExport(const ExportOptions& options, const std::string& program, const Clock& clock);

}  // namespace animark::cli
