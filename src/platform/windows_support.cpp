#include "platform/windows_support.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "platform/text_encoding.h"

namespace animark::windows {

// wchar_t holds a UTF-16 unit on Windows.
std::wstring Widen(std::string_view text) {
  const std::u16string wide = Utf16FromUtf8(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view text) {
  return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}

bool NamesDevice(std::wstring_view name) {
  if (name.starts_with(L"\\\\.\\") || name.starts_with(L"//./")) return true;
  const std::size_t start = name.find_last_of(L"\\/:");
  std::wstring base(name.substr(start == std::wstring::npos ? 0 : start + 1));
  base = base.substr(0, base.find(L'.'));
  for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(c));
  if (base == L"NUL" || base == L"CON" || base == L"PRN" || base == L"AUX") return true;
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) &&
         base[3] >= L'1' && base[3] <= L'9';
}

int SetErrno(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      errno = EACCES;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
      errno = EINVAL;
      break;
    case ERROR_PIPE_BUSY:
      errno = EBUSY;
      break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      errno = ENOMEM;
      break;
    default:
      errno = EIO;
  }
  return errno;
}

std::FILE* StreamOf(Handle& handle, const char* mode) {
  const int flags = (mode[0] == 'r' ? _O_RDONLY : _O_WRONLY) | _O_BINARY;
  const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.Get()), flags);
  if (descriptor < 0) return nullptr;
  std::FILE* stream = ::_fdopen(descriptor, mode);
  if (!stream) {
    // Closing the descriptor closes the handle too.
    ::_close(descriptor);
    handle.Release();
    return nullptr;
  }
  handle.Release();
  return stream;
}

}  // namespace animark::windows

// The C library's multibyte conversion, UTF-8 whatever the locale. The standard library turns
// every std::string that becomes a std::filesystem::path into UTF-16 with this function, and the
// C library's own reads each byte as a character of its own in the "C" locale, which would turn
// the program's UTF-8 names ("Jürgen") into other names. A byte that is no part of UTF-8 is read
// as Latin-1, as an old code page would have it; a character beyond 16 bits as U+FFFD.
extern "C" std::size_t mbrtowc(wchar_t* out, const char* in, std::size_t size, std::mbstate_t*) {
  if (!in) return 0;
  if (size == 0) return static_cast<std::size_t>(-2);
  const auto* bytes = reinterpret_cast<const unsigned char*>(in);
  const unsigned lead = bytes[0];
  std::size_t length = 1;
  char32_t code = lead;
  if (lead >= 0xC2 && lead < 0xF5) {
    length = lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4);
    code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      if (i == size) return static_cast<std::size_t>(-2);
      if ((bytes[i] & 0xC0) != 0x80) {
        length = 1;
        break;
      }
      code = (code << 6) | (bytes[i] & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 1 || code < kShortest[length] || (code >= 0xD800 && code < 0xE000)) {
      length = 1;
      code = lead;
    } else if (code > 0xFFFF) {
      code = 0xFFFD;
    }
  }
  if (out) *out = static_cast<wchar_t>(code);
  return code == 0 ? 0 : length;
}
