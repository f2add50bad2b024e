#include "cli/settings_sources.h"
#include "platform/read_only_registry_key.h"
#include "settings/settings_store.h"

namespace animark::cli {

std::string StoredSettingsName() {
  return ReadOnlyRegistryKey().Name();
}

std::optional<std::string> LoadStoredSettings(ExportSettings& settings, UserMessages& messages) {
  ReadOnlyRegistryKey key;
  if (!key.Open() && key.Missing()) return "no stored settings at " + key.Name() + ".";
  if (!LoadSettings(settings, key, messages)) return key.Name() + ": cannot be read.";
  return std::nullopt;
}

}  // namespace animark::cli
