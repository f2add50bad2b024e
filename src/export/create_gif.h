#pragma once
// The Create GIF command that both front ends run once their settings are taken: it checks and
// completes the output name, asks before overwriting, opens the file and runs the export. What
// came of it is handed back as a value; each front end tells it in its own words.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "export/animation_exporter.h"
#include "platform/export_screen.h"
#include "platform/output_target.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

// Why a period cannot be exported.
enum class PeriodProblem {
  EndBeforeStart,  // no frames
  TooManyFrames,   // more than an animation can count
  BeforeYear100,   // years the text column cannot show
};

struct PeriodRefusal {
  PeriodProblem problem;
  std::int64_t frameCount = 0;  // the frames the period would yield (TooManyFrames)
};

enum class CreateGifOutcome {
  Written,            // the complete file is in place
  WrittenInPlace,     // the same, written into the existing file: its folder takes no new file
  NoFileName,         // refused: the name is empty
  NameEndsWithSlash,  // refused: the name is a folder's
  PeriodRefused,      // refused: see `period`
  ForeignLink,        // refused: `path` is a link another user owns
  Declined,           // the user would not overwrite the existing file
  NotCreated,         // the file could not be opened for writing
  NotWritten,         // a write, the close or the replacement failed
  Cancelled,          // stopped by the user: the previous file stays as it was
};

struct CreateGifResult {
  CreateGifOutcome outcome;
  std::string path;       // the file meant (for ForeignLink: the link not followed)
  std::error_code error;  // the system's reason for NotCreated and NotWritten, when it gave one
  std::optional<PeriodRefusal> period;  // for PeriodRefused
};

// ".gif" is appended exactly when the part after the last '/' or '\' holds no dot.
std::string CompleteExportFileName(std::string_view name);

// Why the period of `settings` cannot be exported, or nothing when it can.
std::optional<PeriodRefusal> CheckPeriod(const ExportSettings& settings);

// Runs the command for `settings`, whose exportFile becomes the completed name (a name that
// already means a device or a pipe stays as it is and is written without the overwrite question).
// Only the overwrite question goes through `messages`; `screen` frames the export itself. `map`,
// when given, is the map of the settings' range loaded already, which the export starts from.
CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode,
                          const LoadedMap* map = nullptr);

}  // namespace animark
