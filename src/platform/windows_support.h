#pragma once
// Shared by the Windows sources of this folder only: text between the program's UTF-8 and the
// system's UTF-16, and the system's error codes as errno values, which the layers above read.

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace animark::windows {

// UTF-8 to UTF-16 and back; an invalid sequence becomes U+FFFD.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// Sets errno to the nearest value of the system error `error` (EIO when none is near), so that
// std::strerror tells the user why. Returns the errno value.
int SetErrno(DWORD error = ::GetLastError());

// Whether `name` names a device: "\\.\COM1", "\\.\pipe\NAME", or one of the reserved names that
// are devices in every folder ("NUL", "con.gif", "c:\out\COM1"). A device exists already and
// takes no "create anew".
bool NamesDevice(std::wstring_view name);

// A kernel handle that closes itself.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  // Hands the handle over to whoever closes it from now on.
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // Closes the handle held, then holds `handle`.
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (IsValid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// Wraps an open file handle in a standard stream of `mode` ("rb", "wb"), which then owns it.
// Null when that fails; the handle then stays with `handle`.
std::FILE* StreamOf(Handle& handle, const char* mode);

}  // namespace animark::windows
