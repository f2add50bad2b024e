#include "cli/export_command.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>

#include "cli/iso_date_time_text.h"
#include "cli/read_only_key.h"
#include "cli/terminal.h"
#include "export/create_gif.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "maps/background_map.h"
#include "platform/output_file.h"
#include "platform/regular_file.h"
#include "settings/field_checks.h"
#include "settings/settings_form.h"
#include "settings/settings_store.h"
#include "strikes/strike_data_reader.h"

namespace animark::cli {

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::optional<RangeIndex> ParseRange(std::string_view text) {
  if (text == "100" || text == "160") return 0;
  if (text == "200" || text == "320") return 1;
  if (text == "300" || text == "480") return 2;
  return std::nullopt;
}

constexpr const char* kRangeMessage =
    "Please choose 100, 200 or 300 (miles) or 160, 320 or 480 (km).";

// Each field of the form, in exchange order: the option that sets it and the stored value (or
// values) that hold it.
struct FieldNames {
  const char* option;
  const char* stored;
};
constexpr FieldNames kFieldNames[] = {
    {"--comments", "CM"},
    {"--data-dir", "DD"},
    {"--output", "XN"},
    {"--iterations", "IT"},
    {"--map", "M1"},
    {"--map", "M2"},
    {"--map", "M3"},
    {"--persistence", "PS"},
    {"--rate", "RT"},
    {"--range", "ZM"},
    {"--from", "SD SM SY SH SN SS"},
    {"--to", "ED EM EY EH EN ES"},
    {"--pause", "PB"},
    {"--pause-last", "PL"},
    {"--rings", "R1"},
    {"--rings", "R2"},
    {"--rings", "R3"},
    {"--crosshairs", "CH"},
    {"--label-rings", "LR"},
    {"--units", "UN"},
};
static_assert(std::size(kFieldNames) == static_cast<std::size_t>(FormField::Units) + 1);

const FieldNames& NamesOf(FormField field) {
  return kFieldNames[static_cast<std::size_t>(field)];
}

// Splits "RANGE=VALUE"; nothing when RANGE is not one of the ranges.
std::optional<std::pair<RangeIndex, std::string>> ParseRangeAssignment(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const auto range = ParseRange(std::string_view(text).substr(0, equals));
  if (!range) return std::nullopt;
  return std::pair{*range, text.substr(equals + 1)};
}

// A whole number for an option of the command line's own, checked as the form checks integers.
std::optional<OptionRefusal> TakeInteger(const char* option, const std::string& text,
                                         std::int32_t& value, IntegerRange range) {
  const auto parsed = ParseIntegerText(text);
  if (!parsed) return OptionRefusal{option, kNotAnIntegerMessage};
  if (auto message = CheckRange(*parsed, range)) return OptionRefusal{option, *message};
  // The form's reading stops at the 32-bit limits; a number beyond them is refused, not lowered.
  std::string_view digits = text;
  while (!digits.empty() &&
         (digits.front() == ' ' || digits.front() == '\t' || digits.front() == '+'))
    digits.remove_prefix(1);
  while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t'))
    digits.remove_suffix(1);
  std::int64_t wide = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), wide);
  if (error != std::errc() || wide != *parsed) {
    // Every range here starts above the 32-bit minimum, so the minimum is outside it.
    return OptionRefusal{option, *CheckRange(std::numeric_limits<std::int32_t>::min(), range)};
  }
  value = *parsed;
  return std::nullopt;
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

// Keeps the last message instead of showing it.
class KeptMessage final : public UserMessages {
 public:
  MessageAnswer Show(std::string_view text, MessageIcon) override {
    text_ = text;
    for (char& c : text_) {
      if (c == '\n') c = ' ';
    }
    return MessageAnswer::Ok;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The command line's messages: the dialog's words, and after the two that tell of the output file
// its path and the system's reason, since a log of a scheduled job has nothing else to go by.
class CommandLineMessages final : public UserMessages {
 public:
  CommandLineMessages(UserMessages& terminal, const ExportSettings& settings)
      : terminal_(terminal), settings_(settings) {}

  MessageAnswer Show(std::string_view text, MessageIcon icon) override {
    const int reason = errno;
    if (text != "Export file could not be created." &&
        text != "Export file could not be written.") {
      return terminal_.Show(text, icon);
    }
    std::string told = std::string(text) + " " + settings_.exportFile;
    if (reason != 0) told += ": " + std::string(std::strerror(reason));
    return terminal_.Show(told, icon);
  }

 private:
  UserMessages& terminal_;
  const ExportSettings& settings_;
};

// Why `path` cannot serve as a settings file, or nothing when it can be read.
std::optional<std::string> UnreadableReason(const std::filesystem::path& path) {
  std::string reason;
  if (!OpenRegularFile(path, &reason)) return reason;
  return std::nullopt;
}

// What separates folders in a path typed on this system.
constexpr std::string_view kSeparators =
    std::filesystem::path::preferred_separator == '/' ? "/" : "/\\";

// The folder that holds the day files, or the per-year folders of a trailing "\\year" or a "%Y".
std::filesystem::path DataFolder(const std::string& dataDirectory) {
  std::string folder = dataDirectory;
  constexpr std::string_view kYearPlaceholder = "\\\\year";
  if (folder.size() >= kYearPlaceholder.size()) {
    if (LowerAscii(folder.substr(folder.size() - kYearPlaceholder.size())) == kYearPlaceholder)
      folder.resize(folder.size() - kYearPlaceholder.size());
  }
  // Of folders per year named with %Y, the one above the first of them.
  if (const std::size_t year = folder.find("%Y"); year != std::string::npos) {
    const std::size_t slash = folder.find_last_of(kSeparators, year);
    folder.resize(slash == std::string::npos ? 0 : std::max<std::size_t>(slash, 1));
  }
  return folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
}

// A --last period is what a web page shows as "the latest", so its last frame must show the moment
// it ends. Where the period is not a whole number of frame steps, its start moves earlier by less
// than one step; where the frame plan cannot end exactly on the period's end, it stays as it is.
void AlignToTheEnd(ExportSettings& settings) {
  const std::int64_t stepHundredths =
      std::int64_t{settings.rateMinutesPerSecond} * settings.pauseBetweenFrames * 60;
  const std::int64_t periodHundredths =
      std::llround(settings.periodEnd.DaysSince(settings.periodStart) * 8640000);
  if (stepHundredths <= 0 || periodHundredths <= 0) return;
  const std::int64_t steps = (periodHundredths + stepHundredths - 1) / stepHundredths;
  ExportSettings aligned = settings;
  aligned.periodStart = settings.periodEnd.AddSeconds(-(steps * stepHundredths / 100));
  const std::int64_t frames = steps + 1;
  if (frames <= INT32_MAX && PlanFrames(aligned).frameCount == frames &&
      FrameMoment(aligned, static_cast<std::int32_t>(frames)) == settings.periodEnd) {
    settings.periodStart = aligned.periodStart;
  }
}

// Whether an option typed `field` (else it kept the value the settings were loaded with).
bool Typed(FormField field, const ExportOptions& o) {
  const auto forRange = [](const std::vector<std::string>& assignments, int range) {
    return std::any_of(assignments.begin(), assignments.end(), [range](const std::string& text) {
      const auto parsed = ParseRangeAssignment(text);
      return parsed && parsed->first == range;
    });
  };
  switch (field) {
    case FormField::Comments:
      return o.comments.has_value();
    case FormField::DataDirectory:
      return o.dataDir.has_value();
    case FormField::ExportFile:
      return o.output.has_value();
    case FormField::Iterations:
      return o.iterations.has_value();
    case FormField::MapFile0:
      return forRange(o.maps, 0);
    case FormField::MapFile1:
      return forRange(o.maps, 1);
    case FormField::MapFile2:
      return forRange(o.maps, 2);
    case FormField::PersistenceMinutes:
      return o.persistence.has_value();
    case FormField::RateMinutesPerSecond:
      return o.rate.has_value();
    case FormField::ZoomRange:
      return o.range.has_value();
    case FormField::PeriodStart:
      return o.from || o.last;
    case FormField::PeriodEnd:
      return o.to || o.last;
    case FormField::PauseBetweenFrames:
      return o.pause.has_value();
    case FormField::PauseAfterLastFrame:
      return o.pauseLast.has_value();
    case FormField::RingCount0:
      return forRange(o.rings, 0);
    case FormField::RingCount1:
      return forRange(o.rings, 1);
    case FormField::RingCount2:
      return forRange(o.rings, 2);
    case FormField::Crosshairs:
      return o.crosshairs != 0;
    case FormField::LabelRings:
      return o.labelRings != 0;
    case FormField::Units:
      return o.units.has_value();
  }
  return false;
}

// What the command line finds in a set-up before it exports. A refusal is a set-up that would
// export a picture nobody wants (a map that cannot be used, a data folder that is not there): a
// scheduled job must not replace a good animation with such a file, so the command line refuses it
// where the dialog, whose user sees the message, goes on. Warnings are set-ups that export all the
// same but are likely not what the user meant.
struct SetUpFindings {
  std::optional<OptionRefusal> refusal;
  std::vector<std::string> warnings;
};

SetUpFindings CheckSetUp(const ExportOptions& options, const ExportSettings& settings) {
  SetUpFindings found;
  std::error_code error;
  if (settings.exportFile.starts_with("/dev/") && settings.exportFile != kStandardOutputName &&
      !std::filesystem::exists(settings.exportFile, error)) {
    found.refusal = OptionRefusal{"--output", settings.exportFile + ": No such device."};
    return found;
  }
  const RangeIndex range = settings.zoomRange;
  for (const auto& [option, given] :
       {std::pair{"--map", &options.maps}, {"--rings", &options.rings}}) {
    for (const std::string& assignment : *given) {
      const auto parsed = ParseRangeAssignment(assignment);
      if (parsed && parsed->first != range) {
        found.warnings.push_back(std::string(option) + " " + assignment +
                                 " is not used: the export is of another range.");
      }
    }
  }
  if (IsRangeIndex(range) && !settings.mapFiles[range].empty()) {
    const std::string& map = settings.mapFiles[range];
    KeptMessage message;
    NoProgressWindow progress;
    auto picture = std::make_unique<FrameBuffer>();
    if (!LoadBackgroundMap(range, map, *picture, message, progress)) {
      std::string reason;
      if (!OpenRegularFile(map, &reason)) reason = " (" + reason + ")";
      found.refusal = OptionRefusal{
          "--map", map + ": " + message.Text() + reason +
                       "\nA usable map is a 640 x 480, 16-colour, uncompressed Windows 3.x BMP, "
                       "for example: convert in.png -colors 13 BMP3:map.bmp"};
      return found;
    }
    const auto cells = picture->Cells();
    if (std::any_of(cells.begin(), cells.end(),
                    [](std::int16_t cell) { return cell >= kFirstFixedEntry; })) {
      found.warnings.push_back(map +
                               " uses colours 13 to 15, which rings, strikes and text use: those "
                               "cells will look like rings, strikes or text.");
    }
  }
  const std::filesystem::path folder = DataFolder(settings.dataDirectory);
  const auto type = std::filesystem::status(folder, error).type();
  if (type == std::filesystem::file_type::not_found) {
    found.refusal = OptionRefusal{"--data-dir", folder.string() + ": No such folder."};
    return found;
  }
  if (type != std::filesystem::file_type::directory) {
    found.refusal = OptionRefusal{"--data-dir", folder.string() + ": not a folder."};
    return found;
  }
  // A detector may write no file on a day without strikes, so this is no error; but a wrong
  // folder looks the same, and an animation without strikes is easily published unnoticed.
  const DateTime& start = settings.periodStart;
  std::vector<std::string> lookedFor;
  bool dayFileFound = false;
  for (DateTime day = DateTime::FromParts(start.Year(), start.Month(), start.Day(), 0, 0, 0);
       !dayFileFound && day.IsValid() && day.Days() <= settings.periodEnd.Days();
       day = day.AddSeconds(86400)) {
    const std::string path =
        StrikeDataReader::DayFilePath(day, settings.dataDirectory, PathStyle::Posix);
    std::string reason;
    if (StrikeDataReader::OpenDayFile(path, &reason)) {
      dayFileFound = true;
    } else if (reason != std::strerror(ENOENT)) {
      // Something stands there but cannot be read: a pipe, a device, a file without permission.
      found.warnings.push_back(path + ": " + reason + "; its strikes are left out.");
    }
    lookedFor.push_back(std::filesystem::path(path).filename().string());
  }
  if (!dayFileFound && !lookedFor.empty()) {
    found.warnings.push_back(
        "no day file for the period in " + folder.string() + " (looked for " + lookedFor.front() +
        (lookedFor.size() > 1 ? " to " + lookedFor.back() : "") + "); the frames show no strikes.");
  }
  if (settings.pauseBetweenFrames < 2 || settings.pauseAfterLastFrame < 2) {
    found.warnings.push_back(
        "browsers play a delay under 2/100 s as 1/10 s, so the animation will play slower than "
        "its rate says.");
  }
  return found;
}

}  // namespace

std::optional<OptionRefusal> ApplyOptions(const ExportOptions& o, const DateTime& now,
                                          ExportSettings& settings, const std::string& source) {
  const IsoDateTimeText dates;
  const RangeIndex storedRange = settings.zoomRange;
  const std::int32_t storedUnits = settings.units;
  FormFields form = FillForm(settings, dates);
  const auto type = [](const std::optional<std::string>& given, std::string& field) {
    if (given) field = *given;
  };
  type(o.comments, form.comments);
  type(o.dataDir, form.dataDirectory);
  type(o.output, form.exportFile);
  if (form.exportFile == "-") form.exportFile = kStandardOutputName;
  type(o.iterations, form.iterations);
  for (const std::string& map : o.maps) {
    const auto assignment = ParseRangeAssignment(map);
    if (!assignment) return OptionRefusal{"--map", kRangeMessage};
    form.mapFiles[assignment->first] = assignment->second;
  }
  type(o.persistence, form.persistenceMinutes);
  type(o.rate, form.rateMinutesPerSecond);
  if (o.range) {
    const auto range = ParseRange(*o.range);
    if (!range) return OptionRefusal{"--range", kRangeMessage};
    form.zoomRange = *range;
  }
  if (o.last) {
    // A year of minutes is more than any animation needs.
    constexpr IntegerRange kLastRange{0, 527040};
    std::int32_t minutes = 0;
    if (auto refusal = TakeInteger("--last", *o.last, minutes, kLastRange)) return refusal;
    const DateTime end =
        DateTime::FromParts(now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), 0);
    form.periodStart = dates.Format(end.AddSeconds(-std::int64_t{minutes} * 60));
    form.periodEnd = dates.Format(end);
  }
  type(o.from, form.periodStart);
  type(o.to, form.periodEnd);
  type(o.pause, form.pauseBetweenFrames);
  type(o.pauseLast, form.pauseAfterLastFrame);
  for (const std::string& rings : o.rings) {
    const auto assignment = ParseRangeAssignment(rings);
    if (!assignment) return OptionRefusal{"--rings", kRangeMessage};
    form.ringCounts[assignment->first] = assignment->second;
  }
  if (o.crosshairs != 0) form.crosshairs = o.crosshairs > 0;
  if (o.labelRings != 0) form.labelRings = o.labelRings > 0;
  if (o.units) {
    const std::string units = LowerAscii(*o.units);
    if (units != "mi" && units != "km") return OptionRefusal{"--units", "Please choose mi or km."};
    form.units = units == "km" ? 1 : 0;
  }
  if (const auto refusal = TakeForm(form, dates, settings)) {
    std::string message = refusal->message;
    const bool period =
        refusal->field == FormField::PeriodStart || refusal->field == FormField::PeriodEnd;
    // A value the user never typed is blamed on the file it came from, not on an option.
    if (!source.empty() && !Typed(refusal->field, o)) {
      return OptionRefusal{source + ": " + NamesOf(refusal->field).stored, message};
    }
    if (period) message += " (YYYY-MM-DD HH:MM[:SS])";
    return OptionRefusal{NamesOf(refusal->field).option, message};
  }
  // The dialog shows a stored choice outside its group as no button checked; an export of no
  // range, or with labels in no unit, is never what a command line meant.
  if (!IsRangeIndex(settings.zoomRange)) {
    return OptionRefusal{
        source + ": ZM",
        std::to_string(storedRange) + " is none of the three ranges; choose one with --range."};
  }
  if (settings.units != 0 && settings.units != 1) {
    return OptionRefusal{
        source + ": UN",
        std::to_string(storedUnits) + " is neither miles nor kilometres; choose with --units."};
  }
  if (o.optimize != 0) settings.optimizeForWeb = o.optimize > 0 ? 1 : 0;
  if (o.last && !o.from) AlignToTheEnd(settings);
  return std::nullopt;
}

int RunExport(const ExportOptions& options, const std::string& program, const Clock& clock) {
  const DateTime now = DateTime::FromLocalTime(clock.Now());
  ExportSettings settings = DefaultExportSettings(now);
  TerminalMessages messages(program, options.force);

  if (options.stored) {
    const std::filesystem::path store = DefaultSettingsPath();
    std::error_code error;
    if (!std::filesystem::exists(store, error)) {
      std::cerr << program << ": --stored: no stored settings at " << store.string() << "."
                << std::endl;
      return kExitRefused;
    }
    if (const auto reason = UnreadableReason(store)) {
      std::cerr << program << ": --stored: " << store.string() << ": " << *reason << std::endl;
      return kExitRefused;
    }
    if (!LoadStore(settings, store, messages)) {
      std::cerr << program << ": --stored: " << store.string() << ": not a settings file."
                << std::endl;
      return kExitRefused;
    }
  }
  if (options.settingsFile) {
    if (const auto reason = UnreadableReason(*options.settingsFile)) {
      std::cerr << program << ": --settings: " << *options.settingsFile << ": " << *reason
                << std::endl;
      return kExitRefused;
    }
    if (!LoadStore(settings, *options.settingsFile, messages)) {
      std::cerr << program << ": --settings: " << *options.settingsFile << ": not a settings file."
                << std::endl;
      return kExitRefused;
    }
  }

  const std::string source =
      options.settingsFile ? *options.settingsFile
                           : (options.stored ? DefaultSettingsPath().string() : std::string());
  if (const auto refusal = ApplyOptions(options, now, settings, source)) {
    std::cerr << program << ": " << refusal->option << ": " << refusal->message << std::endl;
    return kExitRefused;
  }
  // Date and time fields in the name, taken from the period's end.
  if (settings.exportFile.find('%') != std::string::npos) {
    settings.exportFile = settings.periodEnd.Format(settings.exportFile);
  }

  // Before the set-up check, which looks for each day's file of the period.
  if (const auto refusal = PeriodRefusal(settings)) {
    std::cerr << program << ": " << *refusal << std::endl;
    return kExitRefused;
  }
  const SetUpFindings setUp = CheckSetUp(options, settings);
  if (setUp.refusal) {
    std::cerr << program << ": " << setUp.refusal->option << ": " << setUp.refusal->message
              << std::endl;
    return kExitRefused;
  }
  if (!options.quiet) {
    for (const std::string& warning : setUp.warnings) {
      std::cerr << program << ": warning: " << warning << std::endl;
    }
  }

  if (options.minStrikes) {
    std::int32_t minimum = 0;
    if (const auto refusal =
            TakeInteger("--min-strikes", *options.minStrikes, minimum, {0, INT32_MAX})) {
      std::cerr << program << ": " << refusal->option << ": " << refusal->message << std::endl;
      return kExitRefused;
    }
    const std::int64_t count = CountStrikesInPeriod(settings);
    if (count < minimum) {
      // No storm is the expected outcome of a scheduled job: quiet under --quiet.
      if (options.quiet) return kExitTooFewStrikes;
      std::cerr << program << ": " << count << " strikes in the period, fewer than " << minimum
                << ": nothing written." << std::endl;
      return kExitTooFewStrikes;
    }
  }

  std::int32_t jobs = DefaultWorkers();
  if (options.jobs) {
    constexpr IntegerRange kJobs{1, 256};
    if (const auto refusal = TakeInteger("--jobs", *options.jobs, jobs, kJobs)) {
      std::cerr << program << ": " << refusal->option << ": " << refusal->message << std::endl;
      return kExitRefused;
    }
  }
  auto exporter = std::make_unique<AnimationExporter>(jobs);
  TerminalScreen screen(!options.quiet);
  // Standard output and other devices are written as they are, whatever they lead to.
  const OutputMode mode = settings.exportFile.starts_with("/dev/")
                              ? OutputMode::Direct
                              : OutputMode::ReplaceWhenComplete;
  CommandLineMessages told(messages, settings);
  switch (CreateGif(settings, *exporter, told, screen, mode)) {
    case CreateGifResult::WrittenInPlace:
      std::cerr << program << ": warning: " << settings.exportFile
                << " was written in place, since its folder takes no new file: readers may have "
                   "seen it incomplete."
                << std::endl;
      [[fallthrough]];
    case CreateGifResult::Written:
      if (!options.quiet && !IsStandardOutput(settings.exportFile)) PrintSummary(settings);
      return kExitWritten;
    case CreateGifResult::NotCreated:
    case CreateGifResult::NotWritten:
    case CreateGifResult::Cancelled:
      return kExitNotWritten;
    case CreateGifResult::Refused:
    case CreateGifResult::Declined:
      break;
  }
  return kExitRefused;
}

}  // namespace animark::cli
