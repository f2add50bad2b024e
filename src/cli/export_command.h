#pragma once
// `animark-cli export`: settings from the defaults or a store, changed field by field by the
// options, checked as the form checks them, then the same Create GIF command as the dialog.

#include <string>

#include "cli/export_options.h"
#include "platform/clock.h"

namespace animark::cli {

// Exit statuses of `animark-cli export`.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitNotWritten = 1;  // the file could not be created or written
inline constexpr int kExitRefused = 2;     // bad options, no frames, not allowed to overwrite
inline constexpr int kExitTooFewStrikes = 3;

// Runs the export; messages go to standard error, the summary line to standard output.
int RunExport(const ExportOptions& options, const std::string& program, const Clock& clock);

}  // namespace animark::cli
