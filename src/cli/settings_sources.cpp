#include "cli/settings_sources.h"

#include "cli/read_only_key.h"
#include "platform/regular_file.h"
#include "settings/settings_store.h"

namespace animark::cli {

std::optional<std::string> LoadSettingsFile(ExportSettings& settings,
                                            const std::filesystem::path& path,
                                            UserMessages& messages) {
  std::string reason;
  if (!OpenRegularFile(path, &reason)) return path.string() + ": " + reason;
  ReadOnlyKey key(path);
  if (!LoadSettings(settings, key, messages)) return path.string() + ": not a settings file.";
  return std::nullopt;
}

}  // namespace animark::cli
