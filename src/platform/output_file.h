#pragma once
// The GIF output: a buffered binary stream that owns its file and remembers whether every write
// succeeded, so that an export can tell a full disk from success.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_handle.h"

namespace animark {

// The name under which an export writes to standard output, on every system ("-" on the
// command line). Windows has no such file: its OutputFile::Open knows the name.
inline constexpr std::string_view kStandardOutputName = "/dev/stdout";

// Whether `path` names the very file that standard output writes to (the name above, or the file
// standard output was redirected to).
bool IsStandardOutput(const std::string& path);

class OutputFile {
 public:
  // Opens `path` for binary writing ("wb": created, or cut to length 0). A pipe without a reader
  // is not waited for. Check IsOpen(); on failure Error() tells why.
  static OutputFile Open(const std::string& path);
  // Opens the file that stands at `path` and cuts it to length 0; a link there is not followed
  // and nothing is created. Check IsOpen().
  static OutputFile OpenExisting(const std::string& path);
  // Takes ownership of an already open stream (a temporary file, a pipe); null gives a closed one.
  explicit OutputFile(std::FILE* stream);
  // A closed stream that keeps why it could not be opened.
  static OutputFile NotOpened(std::error_code error);

  bool IsOpen() const { return stream_ != nullptr; }

  void Write(const void* data, std::size_t size);

  // Whether a write has failed so far (buffered bytes may fail only later, at the flush).
  bool Failed() const;

  // Flushes and closes the stream. Returns true only when the stream was open and every write,
  // the flush and the close succeeded. Later writes are ignored.
  bool Close();

  // The system's reason for the first open, write, flush or close that failed; empty when none
  // did or the system gave none.
  std::error_code Error() const { return error_; }

 private:
  // Keeps the reason of a call that just failed, unless an earlier one is kept already.
  void KeepError();

  FileHandle stream_;
  std::error_code error_;
};

}  // namespace animark
