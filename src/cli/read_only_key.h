#pragma once
// A settings key that can be read but never changes: the command line uses the user's stored
// settings without writing back the defaults that loading would fill in.

#include <filesystem>
#include <optional>

#include "settings/registry_file.h"

namespace animark::cli {

class ReadOnlyKey : public SettingsKey {
 public:
  explicit ReadOnlyKey(std::filesystem::path path) : file_(std::move(path)) {}

  // A store that does not exist yet reads as an empty key and is not created.
  bool Open() override {
    std::error_code error;
    exists_ = std::filesystem::exists(file_.Path(), error);
    return !exists_ || file_.Open();
  }
  std::optional<SettingsValue> Query(std::string_view name, std::size_t room) override {
    return exists_ ? file_.Query(name, room) : std::nullopt;
  }
  void SetString(std::string_view, std::string_view) override {}
  void SetDword(std::string_view, std::uint32_t) override {}
  bool Close() override { return true; }

 private:
  RegistryFile file_;
  bool exists_ = false;
};

}  // namespace animark::cli
