#include "platform/file_replacement.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/windows_support.h"

namespace animark {

namespace {

namespace fs = std::filesystem;

// What a replacement keeps of the old file's attributes. Read-only is not among them: a
// read-only file is refused, not replaced.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr int kNameAttempts = 100;

// The temporary file of the replacement under way, for RemovePendingTemporaryFile. The console
// control handler runs on a thread of its own, so the name is guarded by a lock, which Begin
// holds from making the file to recording its name; one at a time is enough for this program.
std::mutex pendingLock;
std::wstring pendingPath;

void ClearPending(const fs::path& temporary) {
  const std::lock_guard lock(pendingLock);
  if (pendingPath == temporary.native()) pendingPath.clear();
}

// Six hexadecimal digits that differ between processes and calls, as mkstemp's would.
std::wstring UniqueSuffix() {
  static std::atomic<unsigned> calls{0};
  const unsigned mixed =
      (::GetCurrentProcessId() * 2654435761u) ^ ::GetTickCount() ^ (calls.fetch_add(1) * 40503u);
  wchar_t text[8];
  std::swprintf(text, 8, L"%06x", mixed & 0xFFFFFFu);
  return text;
}

// Makes the data written so far survive a crash: the stream is closed, so the file is opened
// once more for the flush.
bool Flush(const fs::path& path) {
  windows::Handle handle(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  return handle.IsValid() && ::FlushFileBuffers(handle.Get());
}

// The replaced file's attributes, or those of a new file.
DWORD AttributesFor(const fs::path& target) {
  const DWORD old = ::GetFileAttributesW(target.c_str());
  if (old == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_ARCHIVE;
  return (old & kKeptAttributes) != 0 ? old & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
}

// The system's reason, kept as errno by SetErrno.
std::error_code ErrnoError() {
  return std::error_code(errno, std::generic_category());
}

}  // namespace

FileReplacement FileReplacement::Begin(const fs::path& target, fs::perms) {
  // Moving a file over a read-only one fails on Windows (though not under every emulation of
  // it): refused at once, before anything is written.
  if (const DWORD old = ::GetFileAttributesW(target.c_str());
      old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) != 0) {
    windows::SetErrno(ERROR_ACCESS_DENIED);
    return Failed(target, ErrnoError());
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::wstring prefix = L"." + target.filename().native() + L"-";
  windows::Handle handle;
  fs::path temporary;
  for (int attempt = 0; attempt < kNameAttempts && !handle.IsValid(); ++attempt) {
    temporary = folder / (prefix + UniqueSuffix());
    const std::lock_guard lock(pendingLock);
    // Hidden while incomplete, as the leading dot hides it elsewhere. Shared for deletion, so that
    // an interruption can remove it while it is still being written.
    handle.Reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (handle.IsValid()) {
      pendingPath = temporary.native();
    } else if (const DWORD error = ::GetLastError();
               error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      windows::SetErrno(error);
      return Failed(target, ErrnoError());
    }
  }
  if (!handle.IsValid()) {
    windows::SetErrno(ERROR_FILE_EXISTS);
    return Failed(target, ErrnoError());
  }
  FileHandle stream(windows::StreamOf(handle, "wb"));
  if (!stream) {
    const std::error_code error = ErrnoError();
    handle.Reset();
    ClearPending(temporary);
    ::DeleteFileW(temporary.c_str());
    return Failed(target, error);
  }
  return FileReplacement(target, temporary, std::move(stream));
}

FileReplacement::~FileReplacement() {
  stream_.reset();
  if (temporary_.empty()) return;
  ClearPending(temporary_);
  ::DeleteFileW(temporary_.c_str());
}

bool FileReplacement::Commit(bool written) {
  if (temporary_.empty()) return false;
  stream_.reset();
  const fs::path temporary = std::exchange(temporary_, {});
  // Plain rename cannot replace a file on Windows; write-through returns only once the move is
  // on the disk.
  const bool replaced = written && Flush(temporary) &&
                        ::SetFileAttributesW(temporary.c_str(), AttributesFor(target_)) &&
                        ::MoveFileExW(temporary.c_str(), target_.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  const DWORD error = ::GetLastError();
  ClearPending(temporary);
  if (replaced) return true;
  ::DeleteFileW(temporary.c_str());
  if (written) {
    windows::SetErrno(error);
    error_ = ErrnoError();
  }
  return false;
}

void RemovePendingTemporaryFile() noexcept {
  const std::lock_guard lock(pendingLock);
  if (pendingPath.empty()) return;
  ::DeleteFileW(pendingPath.c_str());
  pendingPath.clear();
}

}  // namespace animark
