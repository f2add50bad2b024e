#include "platform/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace animark {

namespace {

// Opened without blocking, so that a pipe without a reader is refused at once instead of holding
// the export for ever; writes then block as usual.
OutputFile OpenForWriting(const std::string& path, int flags) {
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags, 0666);
  if (descriptor < 0) return OutputFile::NotOpened(std::error_code(errno, std::system_category()));
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(descriptor, "wb");
  if (!stream) {
    const std::error_code error(errno, std::system_category());
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

OutputFile::OutputFile(std::FILE* stream) : stream_(stream) {}

OutputFile OutputFile::NotOpened(std::error_code error) {
  OutputFile file(nullptr);
  file.error_ = error;
  return file;
}

void OutputFile::KeepError() {
  if (!error_ && errno != 0) error_ = std::error_code(errno, std::system_category());
}

void OutputFile::Write(const void* data, std::size_t size) {
  if (stream_ && size > 0 && std::fwrite(data, 1, size, stream_.get()) != size) KeepError();
}

bool OutputFile::Failed() const {
  return stream_ && std::ferror(stream_.get()) != 0;
}

bool OutputFile::Close() {
  if (!stream_) return false;
  std::FILE* stream = stream_.release();
  // The error indicator is sticky: it records any write that failed since the open.
  const bool flushed = std::fflush(stream) == 0;
  if (!flushed) KeepError();
  const bool written = flushed && !std::ferror(stream);
  const bool closed = std::fclose(stream) == 0;
  if (!closed) KeepError();
  return written && closed;
}

}  // namespace animark
