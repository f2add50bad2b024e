#pragma once
// Keeps every field of ExportSettings in the per-user settings key from one run to the next: 30
// named values (XN, CM, CH, DD, IT, LR, M1-M3, PB, PL, PS, RT, R1-R3, ZM, UN, then the six parts
// of the period start SD SM SY SH SN SS and of its end ED EM EY EH EN ES), visited in that order.

#include <cstddef>

#include "platform/settings_key.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

// Room for reading a text value: the longest path the form accepts (256 characters of up to four
// UTF-8 bytes each) with its terminating zero, so that whatever the form saved comes back whole.
inline constexpr std::size_t kTextValueRoom = 4 * 256 + 1;

// Shown, with the exclamation icon, when the key cannot be opened, created or written.
inline constexpr const char* kSettingsKeyFailure = "An error occured while accessing registry...";

// Replaces each field of `settings` by its stored value; a value that is missing or cannot be read
// is written back from the field, which keeps its current value (date and time parts follow their
// own rules, starting from the period ends `settings` holds). When the key cannot be opened, shows
// kSettingsKeyFailure and leaves `settings` and the key as they were. Returns whether it opened.
bool LoadSettings(ExportSettings& settings, SettingsKey& key, UserMessages& messages);

// Writes all 30 values from `settings`; a part of an invalid period end goes out as -1. Shows
// kSettingsKeyFailure and returns false when the key cannot be opened or the values not kept.
bool SaveSettings(const ExportSettings& settings, SettingsKey& key, UserMessages& messages);

}  // namespace animark
