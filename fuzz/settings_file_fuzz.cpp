// A settings file of any content, parsed and then loaded as the command line and the dialog load
// it. Written back, a parsed text must parse again to the same text and values, and a value set
// must come back byte for byte. Loading must refuse exactly what the parser refuses, never change
// a file it only reads, and give settings that its own write-backs do not change; any value the
// form's checks refuse must be one the file holds (the defaults pass them).

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/export_command.h"
#include "cli/read_only_key.h"
#include "fuzz_support.h"
#include "settings/registry_file.h"
#include "settings/registry_text.h"
#include "settings/settings_store.h"

namespace animark {
namespace {

constexpr std::array<std::string_view, 30> kStoredNames = {
    "XN", "CM", "CH", "DD", "IT", "LR", "M1", "M2", "M3", "PB", "PL", "PS", "RT", "R1", "R2",
    "R3", "ZM", "UN", "SD", "SM", "SY", "SH", "SN", "SS", "ED", "EM", "EY", "EH", "EN", "ES"};

const DateTime kNow = DateTime::FromParts(2026, 7, 15, 0, 10, 42);

class CountedMessages final : public UserMessages {
 public:
  MessageAnswer Show(std::string_view text, MessageIcon) override {
    shown.emplace_back(text);
    return MessageAnswer::Ok;
  }
  std::vector<std::string> shown;
};

bool SameValue(const std::optional<SettingsValue>& a, const std::optional<SettingsValue>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->type == b->type && a->bytes == b->bytes);
}

// As the form shows a period end. A date before the year 100 is valid but shows (and is written
// back) as no date, so after a write-back it loads as invalid: the same to the user.
bool SameShown(const DateTime& a, const DateTime& b) {
  constexpr const char* kToTheSecond = "%Y-%m-%d %H:%M:%S";
  return a.Format(kToTheSecond) == b.Format(kToTheSecond);
}

bool SameSettings(const ExportSettings& a, const ExportSettings& b) {
  return a.comments == b.comments && a.dataDirectory == b.dataDirectory &&
         a.exportFile == b.exportFile && a.iterations == b.iterations && a.mapFiles == b.mapFiles &&
         a.persistenceMinutes == b.persistenceMinutes &&
         a.rateMinutesPerSecond == b.rateMinutesPerSecond && a.zoomRange == b.zoomRange &&
         SameShown(a.periodStart, b.periodStart) && SameShown(a.periodEnd, b.periodEnd) &&
         a.pauseBetweenFrames == b.pauseBetweenFrames &&
         a.pauseAfterLastFrame == b.pauseAfterLastFrame && a.ringCounts == b.ringCounts &&
         a.crosshairs == b.crosshairs && a.labelRings == b.labelRings && a.units == b.units;
}

// Splits "SD SM SY" into its names.
std::vector<std::string> NamesIn(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t space = list.find(' ');
    names.emplace_back(list.substr(0, space));
    if (space == std::string_view::npos) break;
    list.remove_prefix(space + 1);
  }
  return names;
}

void CheckWrittenText(const RegistryText& parsed) {
  const std::string text = parsed.Text();
  const auto again = RegistryText::Parse(text);
  FUZZ_CHECK(again.has_value(), "a written text parses");
  FUZZ_CHECK(again->Text() == text, "a written text is written the same after parsing");
  for (const std::string_view name : kStoredNames) {
    FUZZ_CHECK(SameValue(parsed.Find(name), again->Find(name)),
               "a written text holds the values it was written from");
  }
  for (const std::string_view name : kStoredNames) {
    const auto value = parsed.Find(name);
    if (!value) continue;
    RegistryText changed = parsed;
    changed.Set(name, *value);
    const auto reread = RegistryText::Parse(changed.Text());
    FUZZ_CHECK(reread.has_value(), "a text with a value set parses");
    FUZZ_CHECK(SameValue(reread->Find(name), value), "a value set comes back byte for byte");
  }
  // A new value joins our key without disturbing the others.
  RegistryText added = parsed;
  added.Set("Fz", SettingsValue{SettingsValueType::RegSz, {'x', 0}});
  const auto reread = RegistryText::Parse(added.Text());
  FUZZ_CHECK(reread.has_value(), "a text with a value added parses");
  FUZZ_CHECK(SameValue(reread->Find("FZ"), SettingsValue{SettingsValueType::RegSz, {'x', 0}}),
             "an added value comes back");
  for (const std::string_view name : kStoredNames) {
    FUZZ_CHECK(SameValue(reread->Find(name), parsed.Find(name)), "adding a value keeps the others");
  }
}

}  // namespace
}  // namespace animark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace animark;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path file = fuzz::ScratchFolder() / "settings.reg";
  const std::filesystem::path writable = fuzz::ScratchFolder() / "writable.reg";

  const auto parsed = RegistryText::Parse(bytes);
  if (parsed) CheckWrittenText(*parsed);

  // As `animark-cli export --settings FILE` loads it.
  fuzz::WriteBytes(file, bytes);
  const ExportSettings defaults = DefaultExportSettings(kNow);
  ExportSettings loaded = defaults;
  CountedMessages messages;
  cli::ReadOnlyKey readOnly(file);
  const bool opened = LoadSettings(loaded, readOnly, messages);
  FUZZ_CHECK(opened == parsed.has_value(), "loading refuses exactly what parsing refuses");
  FUZZ_CHECK(fuzz::ReadBytes(file) == bytes, "a read-only load leaves the file as it was");
  if (!opened) {
    FUZZ_CHECK(messages.shown.size() == 1 && messages.shown[0] == kSettingsKeyFailure,
               "a refused file is told once");
    FUZZ_CHECK(SameSettings(loaded, defaults), "a refused file changes no setting");
    return 0;
  }
  FUZZ_CHECK(messages.shown.empty(), "a file that loads is not complained about");

  // As the dialog loads it: the missing values are written back, which must change nothing
  // loaded, neither now nor when the completed file is loaded again.
  fuzz::WriteBytes(writable, bytes);
  for (int pass = 0; pass < 2; ++pass) {
    ExportSettings again = defaults;
    RegistryFile key(writable);
    FUZZ_CHECK(LoadSettings(again, key, messages), "the writable store loads");
    FUZZ_CHECK(SameSettings(again, loaded), "write-backs change no loaded setting");
  }

  // The defaults pass the form's checks, so a refusal must blame a value the file holds.
  const std::string source = "settings.reg";
  ExportSettings applied = loaded;
  if (const auto refusal = cli::ApplyOptions(cli::ExportOptions{}, kNow, applied, source)) {
    FUZZ_CHECK(refusal->option.starts_with(source + ": "), "a refusal names the file");
    bool held = false;
    for (const std::string& name : NamesIn(refusal->option.substr(source.size() + 2))) {
      held = held || parsed->Find(name).has_value();
    }
    FUZZ_CHECK(held, "a refusal names a value the file holds");
    FUZZ_CHECK(!refusal->message.empty(), "a refusal says why");
  }
  return 0;
}
