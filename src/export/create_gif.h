#pragma once
// The Create GIF command that both front ends run once their settings are taken: it checks and
// completes the output name, asks before overwriting, opens the file, runs the export and tells
// the user when the file could not be created or written.

#include <optional>
#include <string>
#include <string_view>

#include "export/animation_exporter.h"
#include "platform/export_screen.h"
#include "platform/output_target.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

enum class CreateGifResult {
  Written,         // the complete file is in place
  WrittenInPlace,  // the same, written into the existing file: its folder takes no new file
  Refused,         // no file name, a period that cannot be meant, a foreign link: told
  Declined,        // the user would not overwrite the existing file
  NotCreated,      // the file could not be opened for writing: told
  NotWritten,      // a write or the close failed: told
  Cancelled,       // stopped by the user: the previous file stays as it was
};

// ".gif" is appended exactly when the part after the last '/' or '\' holds no dot.
std::string CompleteExportFileName(std::string_view name);

// Why the period of `settings` cannot be exported, or nothing when it can: an end before the
// start, more frames than an animation can count, or years the text column cannot show.
std::optional<std::string> PeriodRefusal(const ExportSettings& settings);

// Runs the command for `settings`, whose exportFile becomes the completed name (a name that
// already means a device or a pipe stays as it is and is written without the overwrite question).
// Every refusal and failure is told through `messages`; `screen` frames the export itself.
CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode);

}  // namespace animark
