#pragma once
// Replaces a file only once its successor is complete: the new bytes go to a temporary file beside
// the target, which is synced and renamed over the target, so that a reader (a web server, the
// next run) sees either the old file or the whole new one, and a failed write leaves the old file
// as it was. The one way this program replaces a file, for the GIF and the settings store alike.

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/file_handle.h"

namespace animark {

class FileReplacement {
 public:
  // Creates the temporary file ".NAME-XXXXXX" in the target's folder. On POSIX systems it takes
  // the target's mode when the target exists (never its set-user-ID or set-group-ID bit), else
  // `newFilePermissions` less the umask; on Windows the target's attributes are kept (but
  // read-only) and a new file takes its folder's access rules. Check IsOpen(); on failure
  // Error() tells why.
  static FileReplacement Begin(const std::filesystem::path& target,
                               std::filesystem::perms newFilePermissions);

  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&&) = delete;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes the temporary file unless Commit put it in place.
  ~FileReplacement();

  bool IsOpen() const { return !temporary_.empty(); }

  // The temporary file's stream, for binary writing; handed out once. Whoever writes closes it.
  FileHandle TakeStream() { return std::move(stream_); }

  // After the stream was closed: `written` tells whether every write and the close succeeded.
  // Then syncs the temporary file, renames it over the target and syncs the folder; on any
  // failure removes it and keeps the reason. Returns whether the target now holds the new file.
  bool Commit(bool written);

  // The system's reason Begin or Commit failed; empty when neither did or the system gave none.
  std::error_code Error() const { return error_; }

 private:
  FileReplacement(std::filesystem::path target, std::filesystem::path temporary, FileHandle stream);
  static FileReplacement Failed(const std::filesystem::path& target, std::error_code error);

  std::filesystem::path target_;
  std::filesystem::path temporary_;  // empty once committed or removed
  FileHandle stream_;
  std::error_code error_;
};

// Removes the temporary file of the replacement under way, if any. Safe to call from a signal
// handler or a console control handler (it only removes a name kept for this purpose), so that
// an interrupted run leaves no temporary file beside the target; the target itself is untouched.
// On Windows a file still open is removed once its last handle closes (at the latest when the
// process ends).
void RemovePendingTemporaryFile() noexcept;

// Replaces `target` by a file holding exactly `bytes`. False, with the old file intact and no
// temporary file left, when that failed.
bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 std::filesystem::perms newFilePermissions);

}  // namespace animark
