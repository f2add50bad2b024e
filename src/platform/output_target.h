#pragma once
// Where an export's bytes go. Written directly, the target is cut to length 0 when opened; written
// by replacement, the bytes go to a temporary file beside the target, which takes the target's
// place only once it is complete, so a reader never sees a half-written file and a failed export
// leaves the previous file in place. Devices and pipes are always written directly.

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/file_replacement.h"
#include "platform/output_file.h"

namespace animark {

enum class OutputMode { Direct, ReplaceWhenComplete };

// Where a write to a name lands once the symbolic links at that name are followed.
struct OutputPlace {
  std::filesystem::path path;         // the name finally written (no link), when followed
  std::filesystem::path foreignLink;  // else the link that was not followed
};

// Follows the links at `path` the way the system's protected-symlinks rule would have them
// followed in a shared folder: a link is followed only when it belongs to the user running the
// export or to the owner of its folder. Anyone else who can write in an output folder (a web or
// upload folder) could otherwise plant a link there and have the export replace any file the user
// may write. A link that is not followed is returned as `foreignLink`.
OutputPlace FollowOwnLinks(const std::filesystem::path& path);

// Whether `path` names a device or a pipe (/dev/stdout, /dev/full, a named pipe; on Windows also
// NUL, CON, COM1 and \\.\pipe\NAME): no file of ours, so it is written as it is, never replaced.
bool NamesDeviceOrPipe(const std::filesystem::path& path);

class OutputTarget {
 public:
  // Opens the stream for `path`, a name whose links were followed already. Check IsOpen(): false
  // when the file (or the temporary file beside it) could not be created. When the folder takes
  // no new file but the file itself may be written, the file is written in place.
  static OutputTarget Open(const std::string& path, OutputMode mode);

  bool IsOpen() const { return stream_.IsOpen(); }

  // Whether the existing file is cut and written in place (not replaced when complete), because
  // its folder lets no temporary file be made: a failure then leaves it incomplete.
  bool WritesInPlace() const { return inPlace_; }

  // The stream to write; hand it on to be written and closed.
  OutputFile TakeStream() { return std::move(stream_); }

  // After the stream was closed: `written` tells whether every write and the close succeeded.
  // A temporary file then takes the target's place, or is removed when not written. Returns
  // whether the target now holds the complete file.
  bool Finish(bool written);

  // The system's reason the open or the replacement failed, when it gave one.
  std::error_code Error() const { return error_; }

 private:
  OutputTarget(OutputFile stream, std::optional<FileReplacement> replacement, bool inPlace);

  OutputFile stream_;
  // Nothing when writing directly; removes a temporary file that Finish did not put in place.
  std::optional<FileReplacement> replacement_;
  bool inPlace_ = false;
  std::error_code error_;
};

}  // namespace animark
