#pragma once
// The Create GIF command that both front ends run once their settings are taken: it checks and
// completes the output name, asks before overwriting, opens the file, runs the export and tells
// the user when the file could not be created or written.

#include <string>
#include <string_view>

#include "export/animation_exporter.h"
#include "platform/export_screen.h"
#include "platform/output_target.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

enum class CreateGifResult {
  Written,     // the complete file is in place
  Refused,     // no name, or a period without frames: told, nothing opened
  Declined,    // the user would not overwrite the existing file
  NotCreated,  // the file could not be opened for writing: told
  NotWritten,  // a write or the close failed: told
};

// ".gif" is appended exactly when the part after the last '/' or '\' holds no dot.
std::string CompleteExportFileName(std::string_view name);

// Runs the command for `settings`, whose exportFile becomes the completed name (a name that
// already means a device or a pipe stays as it is and is written without the overwrite question).
// Every refusal and failure is told through `messages`; `screen` frames the export itself.
CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode);

}  // namespace animark
