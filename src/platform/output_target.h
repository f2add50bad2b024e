#pragma once
// Where an export's bytes go. Written directly, the target is cut to length 0 when opened; written
// by replacement, the bytes go to a temporary file beside the target, which takes the target's
// place only once it is complete, so a reader never sees a half-written file and a failed export
// leaves the previous file in place. Devices and pipes are always written directly.

#include <optional>
#include <string>

#include "platform/file_replacement.h"
#include "platform/output_file.h"

namespace animark {

enum class OutputMode { Direct, ReplaceWhenComplete };

class OutputTarget {
 public:
  // Opens the stream for `path`. Check IsOpen(): false when the file (or the temporary file
  // beside it) could not be created.
  static OutputTarget Open(const std::string& path, OutputMode mode);

  bool IsOpen() const { return stream_.IsOpen(); }

  // The stream to write; hand it on to be written and closed.
  OutputFile TakeStream() { return std::move(stream_); }

  // After the stream was closed: `written` tells whether every write and the close succeeded.
  // A temporary file then takes the target's place, or is removed when not written. Returns
  // whether the target now holds the complete file.
  bool Finish(bool written);

 private:
  OutputTarget(OutputFile stream, std::optional<FileReplacement> replacement);

  OutputFile stream_;
  // Nothing when writing directly; removes a temporary file that Finish did not put in place.
  std::optional<FileReplacement> replacement_;
};

}  // namespace animark
