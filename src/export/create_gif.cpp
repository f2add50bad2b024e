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

// The name a write to `name` lands on, or nothing when a link there is not followed: told.
std::optional<std::string> FollowLinksOrTell(const std::string& name, UserMessages& messages) {
  const OutputPlace followed = FollowOwnLinks(name);
  if (followed.foreignLink.empty()) return followed.path.string();
  messages.Show("Export file " + followed.foreignLink.string() +
                    " is a symbolic link that another user owns: it is not followed.",
                MessageIcon::Stop);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> PeriodRefusal(const ExportSettings& settings) {
  const DateTime& start = settings.periodStart;
  const DateTime& end = settings.periodEnd;
  // Compared in whole seconds, the periods' own resolution.
  if (start.IsValid() && end.IsValid() && std::llround(end.DaysSince(start) * 86400) < 0) {
    return "The period yields no frames: its end lies before its start.";
  }
  // The text column shows the year in full from the year 100 on only.
  if (start.IsValid() && start.Year() < 100) {
    return "The period starts before the year 100, which the animation cannot show.";
  }
  const std::int64_t frames = PlanFrames(settings).wholeFrameCount;
  if (frames > std::numeric_limits<std::int32_t>::max()) {
    return "The period yields " + std::to_string(frames) +
           " frames, more than an animation can hold (2147483647).";
  }
  return std::nullopt;
}

CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode) {
  if (settings.exportFile.empty()) {
    messages.Show("No export file name entered.", MessageIcon::Stop);
    return CreateGifResult::Refused;
  }
  // "folder/" names no file: completed, it would be the hidden file "folder/.gif".
  if (settings.exportFile.back() == '/') {
    messages.Show("The export file name ends with a slash: enter a file name after the folder.",
                  MessageIcon::Stop);
    return CreateGifResult::Refused;
  }
  if (const std::optional<std::string> refusal = PeriodRefusal(settings)) {
    messages.Show(*refusal, MessageIcon::Exclamation);
    return CreateGifResult::Refused;
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
    const std::optional<std::string> followed = FollowLinksOrTell(settings.exportFile, messages);
    if (!followed) return CreateGifResult::Refused;
    place = *followed;
  }

  if (!deviceOrPipe && Exists(settings.exportFile) &&
      messages.Show("Export file already exists, overwrite?", MessageIcon::Question) !=
          MessageAnswer::Yes) {
    return CreateGifResult::Declined;
  }

  OutputTarget target = OutputTarget::Open(place, mode);
  if (!target.IsOpen()) {
    messages.Show("Export file could not be created.", MessageIcon::Exclamation);
    return CreateGifResult::NotCreated;
  }

  ProgressWindow* window = screen.BeginExport();
  NoProgressWindow noWindow;
  const ExportOutcome outcome = exporter.ExportAnimation(settings, target.TakeStream(), messages,
                                                         window ? *window : noWindow);
  screen.EndExport();

  if (outcome == ExportOutcome::Cancelled) {
    target.Finish(false);
    return CreateGifResult::Cancelled;
  }
  if (!target.Finish(outcome == ExportOutcome::Written)) {
    messages.Show("Export file could not be written.", MessageIcon::Exclamation);
    return CreateGifResult::NotWritten;
  }
  return target.WritesInPlace() ? CreateGifResult::WrittenInPlace : CreateGifResult::Written;
}

}  // namespace animark
