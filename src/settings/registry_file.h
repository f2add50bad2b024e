#pragma once
// The settings key on Linux: one per-user text file in the registry export format
// (registry_text.h), so that a key exported on Windows can be dropped in and the file can be read
// and edited by hand. Values live in memory between Open and Close; Close replaces the whole file
// in one rename, so a crash or a full disk never leaves a half-written store.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_key.h"
#include "settings/registry_text.h"

namespace animark {

// $XDG_CONFIG_HOME/animark/settings.reg, or ~/.config/animark/settings.reg when XDG_CONFIG_HOME
// is unset, empty or relative. Empty when no home folder is known either.
std::filesystem::path DefaultSettingsPath();

// Larger files are refused rather than read: no settings file of ours comes near this.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{4} << 20;

class RegistryFile final : public SettingsKey {
 public:
  // The store at DefaultSettingsPath().
  RegistryFile();
  explicit RegistryFile(std::filesystem::path path);
  // Closes, writing what was set.
  ~RegistryFile() override;
  RegistryFile(const RegistryFile&) = delete;
  RegistryFile& operator=(const RegistryFile&) = delete;

  // Reads the file, or creates it (with its folder) holding the empty key when missing. Accepts
  // "REGEDIT4" and "Windows Registry Editor Version 5.00" files, UTF-8 or UTF-16 with a byte order
  // mark, CRLF or LF. False when the file cannot be made or read, is larger than
  // kMaxSettingsFileBytes, or is not a registry export; the file is then left alone.
  bool Open() override;
  // Values written as "text", dword:, hex: or hex(n): are understood; any other line of the key
  // reads as missing.
  std::optional<SettingsValue> Query(std::string_view name, std::size_t room) override;
  void SetString(std::string_view name, std::string_view text) override;
  void SetDword(std::string_view name, std::uint32_t value) override;
  // When a value was set, writes the file (in the form it was read in, registry_text.h) to a
  // temporary file in the same folder, syncs it and renames it over the old one. False when that
  // failed; the old file is then as it was.
  bool Close() override;

  const std::filesystem::path& Path() const { return path_; }

 private:
  bool Load(const std::filesystem::path& file);
  void Set(std::string_view name, SettingsValue value);

  std::filesystem::path path_;
  std::filesystem::path writeTarget_;  // path_, or the file it links to
  RegistryText text_;
  bool open_ = false;
  bool changed_ = false;
};

}  // namespace animark
