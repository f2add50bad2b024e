#pragma once
// Text between the program's UTF-8 and the UTF-16 that the window functions take and give.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace animark::win {

inline std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf16FromUtf8(text);
  return {units.begin(), units.end()};
}

inline std::string Narrow(std::wstring_view text) {
  return Utf8FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// The whole text of a window or control.
inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace animark::win
