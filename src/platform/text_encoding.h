#pragma once
// Text is UTF-8 inside the program; Windows hands it over as UTF-16 (its system calls, its registry
// and regedit's exports). These convert between the two without any system call, so that a value
// reads the same on every system.

#include <string>
#include <string_view>

namespace animark {

// `text` in UTF-8. A surrogate without its partner becomes U+FFFD; zero units are kept.
std::string Utf8FromUtf16(std::u16string_view text);

// `text` in UTF-16. A byte that starts no valid UTF-8 sequence becomes U+FFFD; zero bytes are kept.
std::u16string Utf16FromUtf8(std::string_view text);

// Whether `text` is valid UTF-8: no stray continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace animark
