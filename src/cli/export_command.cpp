#include "cli/export_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/read_only_key.h"
#include "cli/terminal.h"
#include "export/create_gif.h"
#include "export/frame_plan.h"
#include "export/strike_count.h"
#include "settings/field_checks.h"
#include "settings/settings_store.h"

namespace animark::cli {

namespace {

// The first option whose value the form would refuse, with the form's message.
struct Refusal {
  std::string option;
  std::string message;
};

std::optional<RangeIndex> ParseRange(std::string_view text) {
  if (text == "100" || text == "160") return 0;
  if (text == "200" || text == "320") return 1;
  if (text == "300" || text == "480") return 2;
  return std::nullopt;
}

constexpr const char* kRangeMessage =
    "Please choose 100, 200 or 300 (miles) or 160, 320 or 480 (km).";

// YYYY-MM-DD, optionally followed by a blank or 'T' and HH:MM or HH:MM:SS. Invalid otherwise.
DateTime ParseDateTime(std::string_view text) {
  int parts[6] = {0, 0, 0, 0, 0, 0};
  // Field widths and the separator that follows each field.
  constexpr int kWidths[6] = {4, 2, 2, 2, 2, 2};
  std::size_t at = 0;
  int field = 0;
  for (; field < 6; ++field) {
    if (at + kWidths[field] > text.size()) break;
    for (int i = 0; i < kWidths[field]; ++i) {
      const char c = text[at++];
      if (c < '0' || c > '9') return {};
      parts[field] = parts[field] * 10 + (c - '0');
    }
    if (at == text.size()) {
      ++field;
      break;
    }
    const char separator = text[at++];
    const bool expected = field < 2    ? separator == '-'
                          : field == 2 ? (separator == ' ' || separator == 'T')
                                       : separator == ':';
    if (!expected || field == 5) return {};
  }
  // A date alone, or a date with hours and minutes (and seconds).
  if (at != text.size() || (field != 3 && field != 5 && field != 6)) return {};
  return DateTime::FromParts(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

// Splits "RANGE=VALUE"; nothing when RANGE is not one of the ranges.
std::optional<std::pair<RangeIndex, std::string>> ParseRangeAssignment(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const auto range = ParseRange(std::string_view(text).substr(0, equals));
  if (!range) return std::nullopt;
  return std::pair{*range, text.substr(equals + 1)};
}

std::optional<Refusal> TakeText(const char* option, const std::optional<std::string>& given,
                                std::string& field, std::size_t limit) {
  if (given) field = *given;
  if (auto message = CheckLength(field, limit)) return Refusal{option, *message};
  return std::nullopt;
}

std::optional<Refusal> TakeInteger(const char* option, const std::optional<std::string>& given,
                                   std::int32_t& field, IntegerRange range) {
  if (given) {
    const auto value = ParseIntegerText(*given);
    if (!value) return Refusal{option, kNotAnIntegerMessage};
    field = *value;
  }
  if (auto message = CheckRange(field, range)) return Refusal{option, *message};
  return std::nullopt;
}

class SettingsBuilder {
 public:
  SettingsBuilder(ExportSettings& settings, const DateTime& now) : s_(settings), now_(now) {}

  std::optional<Refusal> Apply(const ExportOptions& o) {
    // The form's order, so that the first refusal is the one the form would show.
    if (auto r = TakeText("--comments", o.comments, s_.comments, kCommentsLimit)) return r;
    if (auto r = TakeText("--data-dir", o.dataDir, s_.dataDirectory, kPathLimit)) return r;
    if (auto r = TakeText("--output", o.output, s_.exportFile, kPathLimit)) return r;
    if (auto r = TakeInteger("--iterations", o.iterations, s_.iterations, kIterationsRange))
      return r;
    for (const std::string& map : o.maps) {
      const auto assignment = ParseRangeAssignment(map);
      if (!assignment) return Refusal{"--map", std::string(kRangeMessage)};
      s_.mapFiles[assignment->first] = assignment->second;
    }
    for (const std::string& file : s_.mapFiles) {
      if (auto message = CheckLength(file, kPathLimit)) return Refusal{"--map", *message};
    }
    if (auto r =
            TakeInteger("--persistence", o.persistence, s_.persistenceMinutes, kPersistenceRange))
      return r;
    if (auto r = TakeInteger("--rate", o.rate, s_.rateMinutesPerSecond, kRateRange)) return r;
    if (o.range) {
      const auto range = ParseRange(*o.range);
      if (!range) return Refusal{"--range", kRangeMessage};
      s_.zoomRange = *range;
    }
    if (auto r = Period(o)) return r;
    if (auto r = TakeInteger("--pause", o.pause, s_.pauseBetweenFrames, kPauseRange)) return r;
    if (auto r = TakeInteger("--pause-last", o.pauseLast, s_.pauseAfterLastFrame, kPauseRange))
      return r;
    for (const std::string& rings : o.rings) {
      const auto assignment = ParseRangeAssignment(rings);
      if (!assignment) return Refusal{"--rings", kRangeMessage};
      const auto count = ParseIntegerText(assignment->second);
      if (!count) return Refusal{"--rings", kNotAnIntegerMessage};
      s_.ringCounts[assignment->first] = *count;
    }
    for (const std::int32_t count : s_.ringCounts) {
      if (auto message = CheckRange(count, kRingCountRange)) return Refusal{"--rings", *message};
    }
    if (o.crosshairs != 0) s_.crosshairs = o.crosshairs > 0 ? 1 : 0;
    if (o.labelRings != 0) s_.labelRings = o.labelRings > 0 ? 1 : 0;
    if (o.units) {
      if (*o.units != "mi" && *o.units != "km")
        return Refusal{"--units", "Please choose mi or km."};
      s_.units = *o.units == "km" ? 1 : 0;
    }
    return std::nullopt;
  }

 private:
  std::optional<Refusal> Period(const ExportOptions& o) {
    if (o.last) {
      // A year of minutes is more than any animation needs.
      constexpr IntegerRange kLastRange{0, 527040};
      std::int32_t minutes = 0;
      if (auto r = TakeInteger("--last", o.last, minutes, kLastRange)) return r;
      s_.periodEnd =
          DateTime::FromParts(now_.Year(), now_.Month(), now_.Day(), now_.Hour(), now_.Minute(), 0);
      s_.periodStart = s_.periodEnd.AddSeconds(-std::int64_t{minutes} * 60);
    }
    if (o.from) s_.periodStart = ParseDateTime(*o.from);
    if (!s_.periodStart.IsValid()) return Refusal{"--from", kNotADateMessage};
    if (o.to) s_.periodEnd = ParseDateTime(*o.to);
    if (!s_.periodEnd.IsValid()) return Refusal{"--to", kNotADateMessage};
    return std::nullopt;
  }

  ExportSettings& s_;
  DateTime now_;
};

// Whether `path` is the very file that standard output writes to (-o /dev/stdout).
bool IsStandardOutput(const std::string& path) {
  struct stat out {
  }, file{};
  return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &file) == 0 &&
         out.st_dev == file.st_dev && out.st_ino == file.st_ino;
}

void PrintSummary(const ExportSettings& settings) {
  const FramePlan plan = PlanFrames(settings);
  std::cout << settings.exportFile << ": " << plan.frameCount
            << (plan.frameCount == 1 ? " frame, " : " frames, ");
  char length[32];
  std::snprintf(length, sizeof length, "%.2f s", plan.lengthSeconds);
  std::cout << length;
  std::error_code error;
  if (std::filesystem::is_regular_file(settings.exportFile, error)) {
    std::cout << ", " << std::filesystem::file_size(settings.exportFile, error) << " bytes";
  }
  std::cout << std::endl;
}

bool LoadStore(ExportSettings& settings, const std::filesystem::path& path,
               UserMessages& messages) {
  ReadOnlyKey key(path);
  return LoadSettings(settings, key, messages);
}

}  // namespace

int RunExport(const ExportOptions& options, const std::string& program, const Clock& clock) {
  const DateTime now = DateTime::FromLocalTime(clock.Now());
  ExportSettings settings = DefaultExportSettings(now);
  TerminalMessages messages(program, options.force);

  if (options.stored && !LoadStore(settings, DefaultSettingsPath(), messages)) return kExitRefused;
  if (options.settingsFile) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(*options.settingsFile, error)) {
      std::cerr << program << ": --settings: " << *options.settingsFile
                << " is not a readable file." << std::endl;
      return kExitRefused;
    }
    if (!LoadStore(settings, *options.settingsFile, messages)) return kExitRefused;
  }

  if (const auto refusal = SettingsBuilder(settings, now).Apply(options)) {
    std::cerr << program << ": " << refusal->option << ": " << refusal->message << std::endl;
    return kExitRefused;
  }
  // Date and time fields in the name, taken from the period's end.
  if (settings.exportFile.find('%') != std::string::npos) {
    settings.exportFile = settings.periodEnd.Format(settings.exportFile);
  }

  if (options.minStrikes) {
    std::int32_t minimum = 0;
    if (const auto refusal =
            TakeInteger("--min-strikes", options.minStrikes, minimum, {0, INT32_MAX})) {
      std::cerr << program << ": " << refusal->option << ": " << refusal->message << std::endl;
      return kExitRefused;
    }
    const std::int64_t count = CountStrikesInPeriod(settings);
    if (count < minimum) {
      std::cerr << program << ": " << count << " strikes in the period, fewer than " << minimum
                << ": nothing written." << std::endl;
      return kExitTooFewStrikes;
    }
  }

  auto exporter = std::make_unique<AnimationExporter>();
  TerminalScreen screen(!options.quiet);
  switch (CreateGif(settings, *exporter, messages, screen, OutputMode::ReplaceWhenComplete)) {
    case CreateGifResult::Written:
      if (!options.quiet && !IsStandardOutput(settings.exportFile)) PrintSummary(settings);
      return kExitWritten;
    case CreateGifResult::NotCreated:
    case CreateGifResult::NotWritten:
      return kExitNotWritten;
    case CreateGifResult::Refused:
    case CreateGifResult::Declined:
      break;
  }
  return kExitRefused;
}

}  // namespace animark::cli
