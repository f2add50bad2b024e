#include "platform/output_file.h"

#include <cerrno>

namespace animark {

OutputFile::OutputFile(std::FILE* stream) : stream_(stream) {}

OutputFile OutputFile::NotOpened(std::error_code error) {
  OutputFile file(nullptr);
  file.error_ = error;
  return file;
}

void OutputFile::KeepError() {
  if (!error_ && errno != 0) error_ = std::error_code(errno, std::generic_category());
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
