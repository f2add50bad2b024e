#pragma once
// Where the command line's settings come from before its options: a settings file (--settings),
// or the user's stored settings (--stored), which are the registry key that the desktop program
// keeps on Windows and its settings file elsewhere. Both are only read: loading writes no defaults
// back.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark::cli {

// Loads the settings file at `path`, in either of regedit's forms, into `settings`. Nothing when
// it was read; else why not ("PATH: REASON").
std::optional<std::string> LoadSettingsFile(ExportSettings& settings,
                                            const std::filesystem::path& path,
                                            UserMessages& messages);

// The stored settings' name for messages: the key "HKEY_CURRENT_USER\SOFTWARE\Animark_kxdata" or
// the file's path.
std::string StoredSettingsName();

// Loads the stored settings into `settings`. Nothing when they were read; else why not
// ("no stored settings at NAME.", "NAME: REASON").
std::optional<std::string> LoadStoredSettings(ExportSettings& settings, UserMessages& messages);

}  // namespace animark::cli
