#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace animark {

namespace {

// Opened without blocking, so that a pipe without a reader is refused at once instead of holding
// the export for ever; writes then block as usual.
OutputFile OpenForWriting(const std::string& path, int flags) {
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags, 0666);
  if (descriptor < 0) return OutputFile::NotOpened(std::error_code(errno, std::generic_category()));
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(descriptor, "wb");
  if (!stream) {
    const std::error_code error(errno, std::generic_category());
    ::close(descriptor);
    return OutputFile::NotOpened(error);
  }
  return OutputFile(stream);
}

}  // namespace

OutputFile OutputFile::Open(const std::string& path) {
  return OpenForWriting(path, O_CREAT);
}

OutputFile OutputFile::OpenExisting(const std::string& path) {
  return OpenForWriting(path, O_NOFOLLOW);
}

bool IsStandardOutput(const std::string& path) {
  struct stat out {
  }, file{};
  return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &file) == 0 &&
         out.st_dev == file.st_dev && out.st_ino == file.st_ino;
}

}  // namespace animark
