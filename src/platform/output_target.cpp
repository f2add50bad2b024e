#include "platform/output_target.h"

#include <utility>

namespace animark {

namespace {

namespace fs = std::filesystem;

// Less the umask, as any program makes its files.
constexpr fs::perms kNewFilePermissions = static_cast<fs::perms>(0666);

fs::file_type TypeOf(const fs::path& path) {
  std::error_code error;
  return fs::status(path, error).type();
}

// Only a regular file (or a name not taken yet) can be replaced by renaming.
bool Replaceable(const fs::path& path) {
  if (NamesDeviceOrPipe(path)) return false;
  const fs::file_type type = TypeOf(path);
  return type == fs::file_type::not_found || type == fs::file_type::regular;
}

}  // namespace

OutputTarget OutputTarget::Open(const std::string& path, OutputMode mode) {
  if (mode == OutputMode::Direct || !Replaceable(path)) {
    return OutputTarget(OutputFile::Open(path), std::nullopt, false);
  }
  FileReplacement replacement = FileReplacement::Begin(path, kNewFilePermissions);
  if (replacement.IsOpen()) {
    OutputFile stream(replacement.TakeStream().release());
    return OutputTarget(std::move(stream), std::move(replacement), false);
  }
  // A folder that takes no new file may still hold a file the user may write (a web folder
  // shared by file, not by folder): that file can only be written where it is.
  const std::error_code reason = replacement.Error();
  if ((reason == std::errc::permission_denied || reason == std::errc::operation_not_permitted) &&
      TypeOf(path) == fs::file_type::regular) {
    OutputFile stream = OutputFile::OpenExisting(path);
    if (stream.IsOpen()) return OutputTarget(std::move(stream), std::nullopt, true);
  }
  return OutputTarget(OutputFile::NotOpened(reason), std::nullopt, false);
}

OutputTarget::OutputTarget(OutputFile stream, std::optional<FileReplacement> replacement,
                           bool inPlace)
    : stream_(std::move(stream)),
      replacement_(std::move(replacement)),
      inPlace_(inPlace),
      error_(stream_.Error()) {}

bool OutputTarget::Finish(bool written) {
  if (!replacement_) return written;
  const bool replaced = replacement_->Commit(written);
  error_ = replacement_->Error();
  replacement_.reset();
  return replaced;
}

}  // namespace animark
