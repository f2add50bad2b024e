#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>

#include "platform/windows_support.h"

namespace animark {

namespace {

FileHandle Refuse(std::string* reason, std::string text) {
  if (reason) *reason = std::move(text);
  return nullptr;
}

}  // namespace

FileHandle OpenRegularFile(const std::filesystem::path& path, std::string* reason) {
  // Opening a named pipe or a device never waits; a folder opens only with backup semantics,
  // which lets it be told by name rather than as "Permission denied".
  windows::Handle handle(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.IsValid()) return Refuse(reason, std::strerror(windows::SetErrno()));
  switch (::GetFileType(handle.Get())) {
    case FILE_TYPE_DISK:
      break;
    case FILE_TYPE_PIPE:
      return Refuse(reason, "a named pipe, not a regular file");
    case FILE_TYPE_CHAR:
      return Refuse(reason, "a device, not a regular file");
    default:
      return Refuse(reason, "a special file, not a regular file");
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle.Get(), &info)) {
    return Refuse(reason, std::strerror(windows::SetErrno()));
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    return Refuse(reason, "a folder, not a regular file");
  }
  std::FILE* stream = windows::StreamOf(handle, "rb");
  if (!stream) return Refuse(reason, std::strerror(errno));
  return FileHandle(stream);
}

}  // namespace animark
