#include "cli/export_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/set_up_check.h"
#include "cli/settings_sources.h"
#include "cli/terminal.h"
#include "export/create_gif.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "export/user_texts.h"
#include "platform/output_file.h"

namespace animark::cli {

namespace {

// Lines on standard error, each after the program's name as a scheduled job's log shows them.
class ErrorLines {
 public:
  explicit ErrorLines(const std::string& program) : program_(program) {}

  void Tell(std::string_view text) const { std::cerr << program_ << ": " << text << std::endl; }
  // Tells `text` and gives the status of a refused export.
  int Refuse(std::string_view text) const {
    Tell(text);
    return kExitRefused;
  }
  int Refuse(const OptionRefusal& refusal) const {
    return Refuse(refusal.option + ": " + refusal.message);
  }

 private:
  const std::string& program_;
};

// Loads --stored, then --settings, over the defaults; the line that refuses one, or nothing.
std::optional<std::string> LoadSettingsSources(const ExportOptions& options,
                                               ExportSettings& settings, UserMessages& messages) {
  if (options.stored) {
    if (auto refusal = LoadStoredSettings(settings, messages)) return "--stored: " + *refusal;
  }
  if (options.settingsFile) {
    if (auto refusal = LoadSettingsFile(settings, *options.settingsFile, messages)) {
      return "--settings: " + *refusal;
    }
  }
  return std::nullopt;
}

// The settings of the export: the defaults in `settings`, then --stored, --settings and the
// options, and the name's date and time fields taken from the period's end. The line that refuses
// them, or nothing.
std::optional<std::string> TakeSettings(const ExportOptions& options, const DateTime& now,
                                        UserMessages& messages, ExportSettings& settings) {
  if (auto refusal = LoadSettingsSources(options, settings, messages)) return refusal;
  const std::string source = options.settingsFile
                                 ? *options.settingsFile
                                 : (options.stored ? StoredSettingsName() : std::string());
  if (const auto refusal = ApplyOptions(options, now, settings, source)) {
    return refusal->option + ": " + refusal->message;
  }
  if (settings.exportFile.find('%') != std::string::npos) {
    settings.exportFile = settings.periodEnd.Format(settings.exportFile);
  }
  return std::nullopt;
}

// The exit status when --min-strikes is refused or the period has fewer strikes; nothing when the
// export goes on.
std::optional<int> CheckMinStrikes(const ExportOptions& options, const ExportSettings& settings,
                                   const ErrorLines& lines) {
  if (!options.minStrikes) return std::nullopt;
  std::int32_t minimum = 0;
  if (const auto refusal =
          TakeInteger("--min-strikes", *options.minStrikes, minimum, {0, INT32_MAX})) {
    return lines.Refuse(*refusal);
  }
  const std::int64_t count = CountStrikesInPeriod(settings);
  if (count >= minimum) return std::nullopt;
  // No storm is the expected outcome of a scheduled job: quiet under --quiet.
  if (!options.quiet) {
    lines.Tell(std::to_string(count) + " strikes in the period, fewer than " +
               std::to_string(minimum) + ": nothing written.");
  }
  return kExitTooFewStrikes;
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

// The dialog's words for what Create GIF refused or failed at; after a file that could not be
// created or written its path and the system's reason, since a log of a scheduled job has nothing
// else to go by.
void TellResult(const CreateGifResult& result, const ErrorLines& lines) {
  const std::optional<UserText> told = CreateGifText(result);
  if (!told) return;
  std::string text = told->text;
  std::ranges::replace(text, '\n', ' ');
  if (result.outcome == CreateGifOutcome::NotCreated ||
      result.outcome == CreateGifOutcome::NotWritten) {
    text += " " + result.path;
    if (result.error) text += ": " + result.error.message();
  }
  lines.Tell(text);
}

// The exit status of the export `result`, with the summary or the warning it calls for.
int Conclude(const CreateGifResult& result, const ExportSettings& settings,
             const ExportOptions& options, const ErrorLines& lines) {
  switch (result.outcome) {
    case CreateGifOutcome::WrittenInPlace:
      lines.Tell("warning: " + settings.exportFile +
                 " was written in place, since its folder takes no new file: readers may have "
                 "seen it incomplete.");
      [[fallthrough]];
    case CreateGifOutcome::Written:
      if (!options.quiet && !IsStandardOutput(settings.exportFile)) PrintSummary(settings);
      return kExitWritten;
    case CreateGifOutcome::NotCreated:
    case CreateGifOutcome::NotWritten:
    case CreateGifOutcome::Cancelled:
      TellResult(result, lines);
      return kExitNotWritten;
    case CreateGifOutcome::NoFileName:
    case CreateGifOutcome::NameEndsWithSlash:
    case CreateGifOutcome::PeriodRefused:
    case CreateGifOutcome::ForeignLink:
    case CreateGifOutcome::Declined:
      break;
  }
  TellResult(result, lines);
  return kExitRefused;
}

}  // namespace

int RunExport(const ExportOptions& options, const std::string& program, const Clock& clock) {
  const ErrorLines lines(program);
  const DateTime now = DateTime::FromLocalTime(clock.Now());
  ExportSettings settings = DefaultExportSettings(now);
  TerminalMessages messages(program, options.force);
  if (const auto refusal = TakeSettings(options, now, messages, settings)) {
    return lines.Refuse(*refusal);
  }
  // Before the set-up check, which looks for each day's file of the period.
  if (const auto refusal = CheckPeriod(settings)) return lines.Refuse(PeriodRefusalText(*refusal));
  const SetUpFindings setUp = CheckSetUp(options, settings);
  if (setUp.refusal) return lines.Refuse(*setUp.refusal);
  if (!options.quiet) {
    for (const std::string& warning : setUp.warnings) lines.Tell("warning: " + warning);
  }
  if (const auto status = CheckMinStrikes(options, settings, lines)) return *status;
  std::int32_t jobs = DefaultWorkers();
  if (options.jobs) {
    if (const auto refusal = TakeInteger("--jobs", *options.jobs, jobs, {1, 256})) {
      return lines.Refuse(*refusal);
    }
  }

  auto exporter = std::make_unique<AnimationExporter>(jobs);
  TerminalScreen screen(!options.quiet);
  // Standard output and other devices are written as they are, whatever they lead to.
  const OutputMode mode = settings.exportFile.starts_with("/dev/")
                              ? OutputMode::Direct
                              : OutputMode::ReplaceWhenComplete;
  const CreateGifResult result =
      CreateGif(settings, *exporter, messages, screen, mode, setUp.map.get());
  return Conclude(result, settings, options, lines);
}

}  // namespace animark::cli
