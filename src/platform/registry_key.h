#pragma once
// The settings key in the current user's Windows registry. The dialog reads it at start and
// writes it at exit; the command line only reads it, so that it starts from the settings kept
// there without writing back the defaults that loading fills in. Windows only
// (registry_key_windows.cpp).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_key.h"

namespace animark {

// Below HKEY_CURRENT_USER.
inline constexpr std::string_view kSettingsRegistryPath = "SOFTWARE\\Animark_kxdata";

enum class RegistryAccess {
  ReadOnly,   // never created, never changed
  ReadWrite,  // created when missing
};

class RegistryKey final : public SettingsKey {
 public:
  // The key at `path` (UTF-8) below HKEY_CURRENT_USER.
  explicit RegistryKey(RegistryAccess access,
                       std::string path = std::string(kSettingsRegistryPath));
  // Closes.
  ~RegistryKey() override;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens the key; with ReadWrite access it is created when missing. False when it cannot be
  // opened (Missing() tells whether because it does not exist) or created.
  bool Open() override;
  bool Missing() const { return missing_; }

  // Texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) come back in UTF-8 with a terminating zero byte
  // (added when the stored text has none), `room` counting those bytes; other types as stored.
  std::optional<SettingsValue> Query(std::string_view name, std::size_t room) override;

  // With ReadWrite access, store the value (text as UTF-16, as Windows keeps it); a failure is
  // remembered for Close. With ReadOnly access they do nothing.
  void SetString(std::string_view name, std::string_view text) override;
  void SetDword(std::string_view name, std::uint32_t value) override;

  // False when a value set since Open could not be stored.
  bool Close() override;

  // "HKEY_CURRENT_USER\" and the path, for messages.
  std::string Name() const { return "HKEY_CURRENT_USER\\" + path_; }

 private:
  void Set(std::string_view name, std::uint32_t type, const void* data, std::size_t size);

  RegistryAccess access_;
  std::string path_;
  void* key_ = nullptr;  // the open HKEY
  bool missing_ = false;
  bool setFailed_ = false;
};

}  // namespace animark
