#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace animark {

namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

FileHandle Refuse(std::string* reason, std::string text) {
  if (reason) *reason = std::move(text);
  return nullptr;
}

}  // namespace

FileHandle OpenRegularFile(const std::filesystem::path& path, std::string* reason) {
  // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return Refuse(reason, std::strerror(errno));
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    const int error = errno;
    ::close(descriptor);
    return Refuse(reason, std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return Refuse(reason, std::string(KindOf(info.st_mode)) + ", not a regular file");
  }
  // A regular file never blocks; reads go on as usual.
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(descriptor, "rb");
  if (!stream) {
    const int error = errno;
    ::close(descriptor);
    return Refuse(reason, std::strerror(error));
  }
  return FileHandle(stream);
}

}  // namespace animark
