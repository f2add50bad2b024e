#pragma once
// The per-user settings key: named values that survive from one run to the next. The store logic
// sees only these operations; each platform keeps the values in its own way.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace animark {

// The stored type of a value, by the registry's type numbers; other numbers may be read back
// from values the program did not write.
enum class SettingsValueType : std::uint32_t {
  RegSz = 1,        // REG_SZ: text with its terminating zero byte
  RegExpandSz = 2,  // REG_EXPAND_SZ: text naming %variables%, with its terminating zero byte
  RegBinary = 3,    // REG_BINARY
  RegDword = 4,     // REG_DWORD: 32 bits, low byte first
  RegMultiSz = 7,   // REG_MULTI_SZ: texts, each with its zero byte, and one more zero byte
};

// Whether values of that type hold text, which is UTF-8 here whatever the store keeps.
constexpr bool HoldsText(SettingsValueType type) {
  return type == SettingsValueType::RegSz || type == SettingsValueType::RegExpandSz ||
         type == SettingsValueType::RegMultiSz;
}

struct SettingsValue {
  SettingsValueType type = SettingsValueType::RegBinary;
  std::vector<std::uint8_t> bytes;  // as stored, text in UTF-8; RegSz with its terminating zero
};

class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // Opens the key, creating it when missing. Returns false when it can be neither opened nor
  // created; the other operations then do nothing.
  virtual bool Open() = 0;

  // The value called `name` (names compare without regard to case). Nothing when it is missing,
  // cannot be read, or takes more than `room` bytes.
  virtual std::optional<SettingsValue> Query(std::string_view name, std::size_t room) = 0;

  // Stores `text` as REG_SZ, with a terminating zero byte, replacing any value of that name.
  virtual void SetString(std::string_view name, std::string_view text) = 0;
  // Stores `value` as REG_DWORD, replacing any value of that name.
  virtual void SetDword(std::string_view name, std::uint32_t value) = 0;

  // Closes the key. Returns false when a value set since Open could not be kept; true otherwise,
  // also when the key was not open.
  virtual bool Close() = 0;
};

}  // namespace animark
