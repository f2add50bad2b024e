#include "platform/output_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace animark {

namespace {

// Opened without blocking, so that a pipe without a reader is refused at once instead of holding
// the export for ever; writes then block as usual.
OutputFile OpenForWriting(const std::string& path, int flags) {
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags, 0666);
  if (descriptor < 0) return OutputFile(nullptr);
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(descriptor, "wb");
  if (!stream) ::close(descriptor);
  return OutputFile(stream);
}

}  // namespace

OutputFile OutputFile::Open(const std::string& path) {
  return OpenForWriting(path, O_CREAT);
}

OutputFile OutputFile::OpenExisting(const std::string& path) {
  return OpenForWriting(path, O_NOFOLLOW);
}

OutputFile::OutputFile(std::FILE* stream) : stream_(stream) {}

void OutputFile::Write(const void* data, std::size_t size) {
  if (stream_ && size > 0) std::fwrite(data, 1, size, stream_.get());
}

bool OutputFile::Failed() const {
  return stream_ && std::ferror(stream_.get()) != 0;
}

bool OutputFile::Close() {
  if (!stream_) return false;
  std::FILE* stream = stream_.release();
  // The error indicator is sticky: it records any write that failed since the open.
  const bool written = std::fflush(stream) == 0 && !std::ferror(stream);
  const bool closed = std::fclose(stream) == 0;
  return written && closed;
}

}  // namespace animark
