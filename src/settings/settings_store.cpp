#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/field_table.h"

namespace animark {
namespace {

constexpr std::size_t kIntegerRoom = 4;

// The stored values in the order they are visited, for load and save alike; their names are the
// field table's.
template <typename Settings, typename Visitor>
void VisitValues(Settings& settings, Visitor& visitor) {
  const auto name = [](FormField field) { return RowOf(field).storedName; };
  visitor.Text(name(FormField::ExportFile), settings.exportFile);
  visitor.Text(name(FormField::Comments), settings.comments);
  visitor.Flag(name(FormField::Crosshairs), settings.crosshairs);
  visitor.Text(name(FormField::DataDirectory), settings.dataDirectory);
  visitor.Integer(name(FormField::Iterations), settings.iterations);
  visitor.Flag(name(FormField::LabelRings), settings.labelRings);
  for (int range = 0; range < kRangeCount; ++range) {
    visitor.Text(name(MapFileField(range)), settings.mapFiles[range]);
  }
  visitor.Integer(name(FormField::PauseBetweenFrames), settings.pauseBetweenFrames);
  visitor.Integer(name(FormField::PauseAfterLastFrame), settings.pauseAfterLastFrame);
  visitor.Integer(name(FormField::PersistenceMinutes), settings.persistenceMinutes);
  visitor.Integer(name(FormField::RateMinutesPerSecond), settings.rateMinutesPerSecond);
  for (int range = 0; range < kRangeCount; ++range) {
    visitor.Integer(name(RingCountField(range)), settings.ringCounts[range]);
  }
  visitor.Integer(name(FormField::ZoomRange), settings.zoomRange);
  visitor.Integer(name(FormField::Units), settings.units);
  visitor.Period(PeriodPartNames(FormField::PeriodStart), settings.periodStart);
  visitor.Period(PeriodPartNames(FormField::PeriodEnd), settings.periodEnd);
}

const char* FlagText(std::int32_t flag) {
  return flag != 0 ? "TRUE" : "FALSE";
}

// The stored type is not checked: any value that fits the room is taken as text or number.
std::optional<std::string> ReadText(SettingsKey& key, std::string_view name) {
  const auto value = key.Query(name, kTextValueRoom);
  if (!value) return std::nullopt;
  const std::vector<std::uint8_t>& bytes = value->bytes;
  return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

std::optional<std::int32_t> ReadInteger(SettingsKey& key, std::string_view name) {
  const auto value = key.Query(name, kIntegerRoom);
  if (!value) return std::nullopt;
  // A shorter value leaves the high bytes zero.
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < value->bytes.size(); ++i) {
    bits |= std::uint32_t{value->bytes[i]} << (8 * i);
  }
  return static_cast<std::int32_t>(bits);
}

// Values of our own, beside those of VisitValues. A store without them stays as it was until one is
// set: they are neither written back as defaults nor written while off and absent.
constexpr std::string_view kOptimizeForWeb = "OptimizeForWeb";
constexpr std::string_view kAgeColours = "AgeColours";

void LoadOwnFlag(SettingsKey& key, std::string_view name, std::int32_t& field) {
  if (const auto text = ReadText(key, name)) field = text->starts_with('F') ? 0 : 1;
}

void SaveOwnFlag(SettingsKey& key, std::string_view name, std::int32_t field) {
  if (field != 0 || ReadText(key, name)) key.SetString(name, FlagText(field));
}

void LoadOwnValues(ExportSettings& settings, SettingsKey& key) {
  LoadOwnFlag(key, kOptimizeForWeb, settings.optimizeForWeb);
  LoadOwnFlag(key, kAgeColours, settings.ageColours);
}

void SaveOwnValues(const ExportSettings& settings, SettingsKey& key) {
  SaveOwnFlag(key, kOptimizeForWeb, settings.optimizeForWeb);
  SaveOwnFlag(key, kAgeColours, settings.ageColours);
}

class Loader {
 public:
  explicit Loader(SettingsKey& key) : key_(key) {}

  void Text(std::string_view name, std::string& field) {
    if (auto text = ReadText(key_, name)) {
      field = std::move(*text);
    } else {
      key_.SetString(name, field);
    }
  }

  // Off only for a text beginning with a capital F.
  void Flag(std::string_view name, std::int32_t& flag) {
    if (const auto text = ReadText(key_, name)) {
      flag = text->starts_with('F') ? 0 : 1;
    } else {
      key_.SetString(name, FlagText(flag));
    }
  }

  void Integer(std::string_view name, std::int32_t& field) {
    if (const auto number = ReadInteger(key_, name)) {
      field = *number;
    } else {
      key_.SetDword(name, static_cast<std::uint32_t>(field));
    }
  }

  // Stored date parts replace the whole date at midnight; stored time parts then replace one part
  // each. A missing part is written back as the period end reads at that moment (-1 when invalid).
  void Period(const std::array<std::string, 6>& names, DateTime& end) {
    std::array<int, 3> date = {end.Day(), end.Month(), end.Year()};
    bool dateStored = false;
    for (std::size_t i = 0; i < date.size(); ++i) {
      if (const auto part = ReadInteger(key_, names[i])) {
        date[i] = *part;
        dateStored = true;
      } else {
        key_.SetDword(names[i], static_cast<std::uint32_t>(date[i]));
      }
    }
    if (dateStored) end = DateTime::FromParts(date[2], date[1], date[0], 0, 0, 0);
    for (std::size_t i = 0; i < 3; ++i) {
      std::array<int, 3> time = {end.Hour(), end.Minute(), end.Second()};
      if (const auto part = ReadInteger(key_, names[3 + i])) {
        time[i] = *part;
        end.SetTime(time[0], time[1], time[2]);
      } else {
        key_.SetDword(names[3 + i], static_cast<std::uint32_t>(time[i]));
      }
    }
  }

 private:
  SettingsKey& key_;
};

class Saver {
 public:
  explicit Saver(SettingsKey& key) : key_(key) {}

  void Text(std::string_view name, const std::string& field) { key_.SetString(name, field); }
  void Flag(std::string_view name, std::int32_t flag) { key_.SetString(name, FlagText(flag)); }
  void Integer(std::string_view name, std::int32_t field) {
    key_.SetDword(name, static_cast<std::uint32_t>(field));
  }
  void Period(const std::array<std::string, 6>& names, const DateTime& end) {
    const std::array<int, 6> parts = {end.Day(),  end.Month(),  end.Year(),
                                      end.Hour(), end.Minute(), end.Second()};
    for (std::size_t i = 0; i < parts.size(); ++i) {
      key_.SetDword(names[i], static_cast<std::uint32_t>(parts[i]));
    }
  }

 private:
  SettingsKey& key_;
};

}  // namespace

bool LoadSettings(ExportSettings& settings, SettingsKey& key, UserMessages& messages) {
  if (!key.Open()) {
    messages.Show(kSettingsKeyFailure, MessageIcon::Exclamation);
    return false;
  }
  Loader loader(key);
  VisitValues(settings, loader);
  LoadOwnValues(settings, key);
  // The write-backs only complete the key: the values loaded stand even when they cannot be kept.
  key.Close();
  return true;
}

bool SaveSettings(const ExportSettings& settings, SettingsKey& key, UserMessages& messages) {
  if (!key.Open()) {
    messages.Show(kSettingsKeyFailure, MessageIcon::Exclamation);
    return false;
  }
  Saver saver(key);
  VisitValues(settings, saver);
  SaveOwnValues(settings, key);
  if (!key.Close()) {
    messages.Show(kSettingsKeyFailure, MessageIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace animark
