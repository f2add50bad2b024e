#include <filesystem>
#include <system_error>

#include "cli/settings_sources.h"
#include "settings/registry_file.h"

namespace animark::cli {

std::string StoredSettingsName() {
  return DefaultSettingsPath().string();
}

std::optional<std::string> LoadStoredSettings(ExportSettings& settings, UserMessages& messages) {
  const std::filesystem::path store = DefaultSettingsPath();
  std::error_code error;
  if (!std::filesystem::exists(store, error)) {
    return "no stored settings at " + store.string() + ".";
  }
  return LoadSettingsFile(settings, store, messages);
}

}  // namespace animark::cli
