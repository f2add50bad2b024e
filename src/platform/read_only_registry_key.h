#pragma once
// The settings key in the current user's Windows registry, read but never changed: the command
// line starts from the settings kept there without writing back the defaults that loading fills
// in. Windows only (read_only_registry_key_windows.cpp).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_key.h"

namespace animark {

// Below HKEY_CURRENT_USER.
inline constexpr std::string_view kSettingsRegistryPath = "SOFTWARE\\Animark_kxdata";

class ReadOnlyRegistryKey final : public SettingsKey {
 public:
  // The key at `path` (UTF-8) below HKEY_CURRENT_USER.
  explicit ReadOnlyRegistryKey(std::string path = std::string(kSettingsRegistryPath));
  // Closes.
  ~ReadOnlyRegistryKey() override;
  ReadOnlyRegistryKey(const ReadOnlyRegistryKey&) = delete;
  ReadOnlyRegistryKey& operator=(const ReadOnlyRegistryKey&) = delete;

  // Opens the key for reading; it is never created. False when it is missing (Missing() then
  // tells so) or cannot be read.
  bool Open() override;
  bool Missing() const { return missing_; }

  // Texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) come back in UTF-8 with a terminating zero byte
  // (added when the stored text has none), `room` counting those bytes; other types as stored.
  std::optional<SettingsValue> Query(std::string_view name, std::size_t room) override;

  // The key is only read.
  void SetString(std::string_view, std::string_view) override {}
  void SetDword(std::string_view, std::uint32_t) override {}

  bool Close() override;

  // "HKEY_CURRENT_USER\" and the path, for messages.
  std::string Name() const { return "HKEY_CURRENT_USER\\" + path_; }

 private:
  std::string path_;
  void* key_ = nullptr;  // the open HKEY
  bool missing_ = false;
};

}  // namespace animark
