#include "platform/output_file.h"

namespace animark {

OutputFile::OutputFile(std::FILE* stream) : stream_(stream) {}

void OutputFile::PutByte(std::uint8_t byte) {
  if (stream_) std::putc(byte, stream_.get());
}

void OutputFile::Write(const void* data, std::size_t size) {
  if (stream_ && size > 0) std::fwrite(data, 1, size, stream_.get());
}

void OutputFile::PutWord(std::uint16_t value) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value & 0xFF),
                                 static_cast<std::uint8_t>(value >> 8)};
  Write(bytes, sizeof bytes);
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
