#include "cli/settings_sources.h"
#include "platform/registry_key.h"
#include "settings/settings_store.h"

namespace animark::cli {

std::string StoredSettingsName() {
  return RegistryKey(RegistryAccess::ReadOnly).Name();
}

std::optional<std::string> LoadStoredSettings(ExportSettings& settings, UserMessages& messages) {
  RegistryKey key(RegistryAccess::ReadOnly);
  if (!key.Open() && key.Missing()) return "no stored settings at " + key.Name() + ".";
  if (!LoadSettings(settings, key, messages)) return key.Name() + ": cannot be read.";
  return std::nullopt;
}

}  // namespace animark::cli
