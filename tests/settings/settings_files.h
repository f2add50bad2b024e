#pragma once
// Settings files as text, for the tests of the settings file and the store.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace animark::testing {

// The section line of our key as a settings file holds it.
inline constexpr char kKeyLine[] = "[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]";

inline std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteFileBytes(path, {text.begin(), text.end()});
}

}  // namespace animark::testing
