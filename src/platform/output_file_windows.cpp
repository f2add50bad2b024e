#include "platform/output_file.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <optional>

#include "platform/windows_support.h"

namespace animark {

namespace {

OutputFile OpenStandardOutput() {
  const int descriptor = ::_dup(::_fileno(stdout));
  if (descriptor < 0) return OutputFile::NotOpened(std::error_code(errno, std::generic_category()));
  // Text mode would turn every byte 10 of the GIF into 13 10.
  ::_setmode(descriptor, _O_BINARY);
  std::FILE* stream = ::_fdopen(descriptor, "wb");
  if (!stream) {
    const std::error_code error(errno, std::generic_category());
    ::_close(descriptor);
    return OutputFile::NotOpened(error);
  }
  return OutputFile(stream);
}

OutputFile OpenForWriting(const std::string& path, DWORD disposition, DWORD flags) {
  if (path == kStandardOutputName) return OpenStandardOutput();
  const std::wstring name = windows::Widen(path);
  windows::Handle handle(::CreateFileW(name.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                       windows::NamesDevice(name) ? OPEN_EXISTING : disposition,
                                       FILE_ATTRIBUTE_NORMAL | flags, nullptr));
  if (!handle.IsValid()) {
    windows::SetErrno();
    return OutputFile::NotOpened(std::error_code(errno, std::generic_category()));
  }
  return OutputFile(windows::StreamOf(handle, "wb"));
}

// The volume and number that tell a file apart from every other, whatever its name.
struct FileIdentity {
  DWORD volume = 0;
  DWORD high = 0;
  DWORD low = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info)) {
    return std::nullopt;
  }
  return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

OutputFile OutputFile::Open(const std::string& path) {
  return OpenForWriting(path, CREATE_ALWAYS, 0);
}

OutputFile OutputFile::OpenExisting(const std::string& path) {
  return OpenForWriting(path, TRUNCATE_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
}

bool IsStandardOutput(const std::string& path) {
  if (path == kStandardOutputName) return true;
  const windows::Handle file(::CreateFileW(
      windows::Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.IsValid()) return false;
  const auto out = IdentityOf(::GetStdHandle(STD_OUTPUT_HANDLE));
  return out && out == IdentityOf(file.Get());
}

}  // namespace animark
