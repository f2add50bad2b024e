#include "platform/registry_key.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/text_encoding.h"

namespace animark {
namespace {

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = Utf16FromUtf8(utf8);
  return {wide.begin(), wide.end()};
}

}  // namespace

RegistryKey::RegistryKey(RegistryAccess access, std::string path)
    : access_(access), path_(std::move(path)) {}

RegistryKey::~RegistryKey() {
  Close();
}

bool RegistryKey::Open() {
  Close();
  HKEY key = nullptr;
  LSTATUS status;
  if (access_ == RegistryAccess::ReadWrite) {
    status = ::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path_).c_str(), 0, nullptr, 0,
                               KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    missing_ = false;
  } else {
    status = ::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path_).c_str(), 0, KEY_QUERY_VALUE, &key);
    missing_ = status == ERROR_FILE_NOT_FOUND;
  }
  if (status != ERROR_SUCCESS) return false;
  key_ = key;
  setFailed_ = false;
  return true;
}

std::optional<SettingsValue> RegistryKey::Query(std::string_view name, std::size_t room) {
  if (key_ == nullptr) return std::nullopt;
  const HKEY key = static_cast<HKEY>(key_);
  const std::wstring wideName = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  std::vector<std::uint8_t> data;
  LSTATUS status;
  // The value may grow between the two calls; ask again until it fits.
  do {
    status = ::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    // Each UTF-16 unit of a text gives at least one UTF-8 byte: a text of more units never fits.
    const std::size_t limit = HoldsText(static_cast<SettingsValueType>(type)) ? 2 * room : room;
    if (size > limit) return std::nullopt;
    data.resize(size);
    status = ::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, data.data(), &size);
  } while (status == ERROR_MORE_DATA);
  if (status != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);

  SettingsValue value{static_cast<SettingsValueType>(type), std::move(data)};
  if (HoldsText(value.type)) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.bytes.size(); i += 2) {
      text += static_cast<char16_t>(value.bytes[i] | value.bytes[i + 1] << 8);
    }
    std::string utf8 = Utf8FromUtf16(text);
    if (utf8.empty() || utf8.back() != '\0') utf8 += '\0';
    value.bytes.assign(utf8.begin(), utf8.end());
  }
  if (value.bytes.size() > room) return std::nullopt;
  return value;
}

void RegistryKey::SetString(std::string_view name, std::string_view text) {
  const std::wstring wide = Wide(text);
  Set(name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

void RegistryKey::SetDword(std::string_view name, std::uint32_t value) {
  const std::uint8_t bytes[] = {
      static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  Set(name, REG_DWORD, bytes, sizeof bytes);
}

void RegistryKey::Set(std::string_view name, std::uint32_t type, const void* data,
                      std::size_t size) {
  if (access_ != RegistryAccess::ReadWrite || key_ == nullptr) return;
  if (::RegSetValueExW(static_cast<HKEY>(key_), Wide(name).c_str(), 0, type,
                       static_cast<const BYTE*>(data), static_cast<DWORD>(size)) != ERROR_SUCCESS) {
    setFailed_ = true;
  }
}

bool RegistryKey::Close() {
  if (key_ != nullptr) ::RegCloseKey(static_cast<HKEY>(key_));
  key_ = nullptr;
  const bool kept = !setFailed_;
  setFailed_ = false;
  return kept;
}

}  // namespace animark
