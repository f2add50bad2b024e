#include "platform/output_target.h"

#include <filesystem>
#include <utility>

namespace animark {

namespace {

namespace fs = std::filesystem;

// Only a regular file (or a name not taken yet) can be replaced by renaming.
bool Replaceable(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return status.type() == fs::file_type::not_found || status.type() == fs::file_type::regular;
}

}  // namespace

OutputTarget OutputTarget::Open(const std::string& path, OutputMode mode) {
  if (mode == OutputMode::Direct || !Replaceable(path)) {
    return OutputTarget(OutputFile::Open(path), std::nullopt);
  }
  // Write beside the file that the name finally means, so that a link keeps pointing at it.
  std::error_code error;
  fs::path target = fs::weakly_canonical(fs::path(path), error);
  if (error) target = path;
  FileReplacement replacement = FileReplacement::Begin(target, 0666);
  if (!replacement.IsOpen()) return OutputTarget(OutputFile(nullptr), std::nullopt);
  OutputFile stream(replacement.TakeStream().release());
  return OutputTarget(std::move(stream), std::move(replacement));
}

OutputTarget::OutputTarget(OutputFile stream, std::optional<FileReplacement> replacement)
    : stream_(std::move(stream)), replacement_(std::move(replacement)) {}

bool OutputTarget::Finish(bool written) {
  if (!replacement_) return written;
  const bool replaced = replacement_->Commit(written);
  replacement_.reset();
  return replaced;
}

}  // namespace animark
