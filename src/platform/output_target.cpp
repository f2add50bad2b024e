#include "platform/output_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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

// The mode the finished file should have: the old file's, or what a new file would get.
mode_t ModeFor(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

OutputTarget OutputTarget::Open(const std::string& path, OutputMode mode) {
  if (mode == OutputMode::Direct || !Replaceable(path)) {
    return OutputTarget(OutputFile::Open(path), path, {});
  }
  // Write beside the file that the name finally means, so that a link keeps pointing at it.
  std::error_code error;
  fs::path target = fs::weakly_canonical(fs::path(path), error);
  if (error) target = path;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temporary = (folder / ("." + target.filename().string() + "-XXXXXX")).string();

  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return OutputTarget(OutputFile(nullptr), path, {});
  ::fchmod(fd, ModeFor(target));
  std::FILE* stream = ::fdopen(fd, "wb");
  if (!stream) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return OutputTarget(OutputFile(nullptr), path, {});
  }
  return OutputTarget(OutputFile(stream), target.string(), std::move(temporary));
}

OutputTarget::OutputTarget(OutputFile stream, std::string target, std::string temporary)
    : stream_(std::move(stream)), target_(std::move(target)), temporary_(std::move(temporary)) {}

OutputTarget::OutputTarget(OutputTarget&& other) noexcept
    : stream_(std::move(other.stream_)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})) {}

OutputTarget::~OutputTarget() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool OutputTarget::Finish(bool written) {
  if (temporary_.empty()) return written;
  const std::string temporary = std::exchange(temporary_, {});
  if (written && std::rename(temporary.c_str(), target_.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace animark
