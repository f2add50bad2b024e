#include "settings/registry_file.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/file_replacement.h"
#include "platform/regular_file.h"

namespace animark {
namespace {

namespace fs = std::filesystem;

// The file's bytes; nothing when it is no regular file (a pipe could block for ever), cannot be
// read or is larger than the cap.
std::optional<std::string> ReadBounded(const fs::path& file) {
  FileHandle stream = OpenRegularFile(file);
  if (!stream) return std::nullopt;
  std::string bytes;
  char chunk[16384];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, stream.get())) > 0) {
    bytes.append(chunk, count);
    if (bytes.size() > kMaxSettingsFileBytes) return std::nullopt;
  }
  if (std::ferror(stream.get())) return std::nullopt;
  return bytes;
}

// New settings files are the user's alone.
constexpr std::filesystem::perms kNewFileMode =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

}  // namespace

fs::path DefaultSettingsPath() {
  fs::path base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config != '\0' && fs::path(config).is_absolute()) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
#ifndef _WIN32
    if (home == nullptr || *home == '\0') {
      const passwd* user = ::getpwuid(::getuid());
      home = user != nullptr ? user->pw_dir : nullptr;
    }
#endif
    if (home == nullptr || *home == '\0') return {};
    base = fs::path(home) / ".config";
  }
  return base / "animark" / "settings.reg";
}

RegistryFile::RegistryFile() : RegistryFile(DefaultSettingsPath()) {}

RegistryFile::RegistryFile(fs::path path) : path_(std::move(path)) {}

RegistryFile::~RegistryFile() {
  Close();
}

bool RegistryFile::Open() {
  Close();
  if (path_.empty()) return false;
  std::error_code error;
  // Write through a link (a settings file kept with other dotfiles) rather than replace it.
  writeTarget_ = path_;
  if (fs::is_symlink(path_, error)) {
    fs::path target = fs::canonical(path_, error);
    if (!error) writeTarget_ = std::move(target);
  }
  if (fs::exists(writeTarget_, error)) {
    if (!Load(writeTarget_)) {
      text_ = {};
      return false;
    }
  } else {
    if (error) return false;
    if (writeTarget_.has_parent_path()) fs::create_directories(writeTarget_.parent_path(), error);
    text_ = RegistryText::WithOurKey();
    if (error || !ReplaceFile(writeTarget_, text_.Text(), kNewFileMode)) {
      text_ = {};
      return false;
    }
  }
  open_ = true;
  changed_ = false;
  return true;
}

bool RegistryFile::Load(const fs::path& file) {
  const auto bytes = ReadBounded(file);
  if (!bytes) return false;
  auto text = RegistryText::Parse(*bytes);
  if (!text) return false;
  text_ = std::move(*text);
  return true;
}

std::optional<SettingsValue> RegistryFile::Query(std::string_view name, std::size_t room) {
  if (!open_) return std::nullopt;
  auto value = text_.Find(name);
  if (value && value->bytes.size() > room) return std::nullopt;
  return value;
}

void RegistryFile::SetString(std::string_view name, std::string_view text) {
  SettingsValue value{SettingsValueType::RegSz, {text.begin(), text.end()}};
  value.bytes.push_back(0);
  Set(name, std::move(value));
}

void RegistryFile::SetDword(std::string_view name, std::uint32_t number) {
  Set(name,
      SettingsValue{
          SettingsValueType::RegDword,
          {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
           static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}});
}

void RegistryFile::Set(std::string_view name, SettingsValue value) {
  if (!open_) return;
  text_.Set(name, std::move(value));
  changed_ = true;
}

bool RegistryFile::Close() {
  if (!open_) return true;
  open_ = false;
  bool kept = true;
  if (changed_) {
    const std::string text = text_.Text();
    // Never write what the next Open would refuse.
    kept = text.size() <= kMaxSettingsFileBytes && ReplaceFile(writeTarget_, text, kNewFileMode);
  }
  text_ = {};
  changed_ = false;
  return kept;
}

}  // namespace animark
