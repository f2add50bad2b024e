#include "export/create_gif.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "export/frame_plan.h"

namespace animark {

std::string CompleteExportFileName(std::string_view name) {
  const std::size_t lastPart = name.find_last_of("/\\");
  const std::string_view fileName =
      lastPart == std::string_view::npos ? name : name.substr(lastPart + 1);
  std::string completed(name);
  if (fileName.find('.') == std::string_view::npos) completed += ".gif";
  return completed;
}

namespace {

// Whether anything stands under that name, readable or not (a dangling link counts too), so that
// no file is cut to length 0 without the question.
bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace

std::optional<PeriodRefusal> CheckPeriod(const ExportSettings& settings) {
  const DateTime& start = settings.periodStart;
  const DateTime& end = settings.periodEnd;
  // Compared in whole seconds, the periods' own resolution.
  if (start.IsValid() && end.IsValid() && std::llround(end.DaysSince(start) * 86400) < 0) {
    return PeriodRefusal{PeriodProblem::EndBeforeStart};
  }
  // The text column shows the year in full from the year 100 on only.
  if (start.IsValid() && start.Year() < 100) return PeriodRefusal{PeriodProblem::BeforeYear100};
  const std::int64_t frames = PlanFrames(settings).wholeFrameCount;
  if (frames > std::numeric_limits<std::int32_t>::max()) {
    return PeriodRefusal{PeriodProblem::TooManyFrames, frames};
  }
  return std::nullopt;
}

CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode,
                          const LoadedMap* map) {
  const auto resultOf = [&](CreateGifOutcome outcome) {
    return CreateGifResult{outcome, settings.exportFile, {}, std::nullopt};
  };
  if (settings.exportFile.empty()) return resultOf(CreateGifOutcome::NoFileName);
  // "folder/" names no file: completed, it would be the hidden file "folder/.gif".
  if (settings.exportFile.back() == '/') return resultOf(CreateGifOutcome::NameEndsWithSlash);
  if (const std::optional<PeriodRefusal> period = CheckPeriod(settings)) {
    CreateGifResult result = resultOf(CreateGifOutcome::PeriodRefused);
    result.period = period;
    return result;
  }
  // Nothing under /dev is ever a file of ours: /dev/stdout stays itself even when it leads to a
  // regular file. Any other name is followed through its links first, so that a link someone
  // else planted cannot lead the export to a device or to another user's file. A device or a
  // pipe holds no file to lose: it is neither completed nor asked about.
  std::string place = settings.exportFile;
  bool deviceOrPipe = settings.exportFile.starts_with("/dev/");
  if (!deviceOrPipe) {
    const OutputPlace asTyped = FollowOwnLinks(settings.exportFile);
    deviceOrPipe = asTyped.foreignLink.empty() && NamesDeviceOrPipe(asTyped.path);
    if (deviceOrPipe) place = asTyped.path.string();
  }
  if (!deviceOrPipe) {
    settings.exportFile = CompleteExportFileName(settings.exportFile);
    const OutputPlace followed = FollowOwnLinks(settings.exportFile);
    if (!followed.foreignLink.empty()) {
      return {CreateGifOutcome::ForeignLink, followed.foreignLink.string(), {}, std::nullopt};
    }
    place = followed.path.string();
  }

  if (!deviceOrPipe && Exists(settings.exportFile) &&
      messages.Show("Export file already exists, overwrite?", MessageIcon::Question) !=
          MessageAnswer::Yes) {
    return resultOf(CreateGifOutcome::Declined);
  }

  OutputTarget target = OutputTarget::Open(place, mode);
  if (!target.IsOpen()) {
    return {CreateGifOutcome::NotCreated, settings.exportFile, target.Error(), std::nullopt};
  }

  ProgressWindow* window = screen.BeginExport();
  NoProgressWindow noWindow;
  const ExportOutcome outcome = exporter.ExportAnimation(settings, target.TakeStream(), messages,
                                                         window ? *window : noWindow, map);
  screen.EndExport();

  if (outcome == ExportOutcome::Cancelled) {
    target.Finish(false);
    return resultOf(CreateGifOutcome::Cancelled);
  }
  if (outcome != ExportOutcome::Written) {
    target.Finish(false);
    return {CreateGifOutcome::NotWritten, settings.exportFile, exporter.WriteError(), std::nullopt};
  }
  if (!target.Finish(true)) {
    return {CreateGifOutcome::NotWritten, settings.exportFile, target.Error(), std::nullopt};
  }
  return resultOf(target.WritesInPlace() ? CreateGifOutcome::WrittenInPlace
                                         : CreateGifOutcome::Written);
}

}  // namespace animark
