#include "export/create_gif.h"

#include <filesystem>

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

// A device or a pipe: /dev/stdout, /dev/full, a named pipe.
bool NamesDeviceOrPipe(const std::string& path) {
  std::error_code error;
  const auto type = std::filesystem::status(path, error).type();
  return type == std::filesystem::file_type::character ||
         type == std::filesystem::file_type::block || type == std::filesystem::file_type::fifo ||
         type == std::filesystem::file_type::socket;
}

}  // namespace

CreateGifResult CreateGif(ExportSettings& settings, AnimationExporter& exporter,
                          UserMessages& messages, ExportScreen& screen, OutputMode mode) {
  if (settings.exportFile.empty()) {
    messages.Show("No export file name entered.", MessageIcon::Stop);
    return CreateGifResult::Refused;
  }
  // A file without any image is refused by common decoders: refuse the period instead.
  if (PlanFrames(settings).frameCount < 1) {
    messages.Show("The period yields no frames: its end lies before its start.",
                  MessageIcon::Exclamation);
    return CreateGifResult::Refused;
  }
  // A device or a pipe holds no file to lose: it is neither completed nor asked about.
  // Nothing under /dev is ever a file of ours: /dev/stdout stays itself even when it leads to a
  // regular file.
  const bool deviceOrPipe =
      settings.exportFile.starts_with("/dev/") || NamesDeviceOrPipe(settings.exportFile);
  if (!deviceOrPipe) settings.exportFile = CompleteExportFileName(settings.exportFile);

  if (!deviceOrPipe && Exists(settings.exportFile) &&
      messages.Show("Export file already exists, overwrite?", MessageIcon::Question) !=
          MessageAnswer::Yes) {
    return CreateGifResult::Declined;
  }

  OutputTarget target = OutputTarget::Open(settings.exportFile, mode);
  if (!target.IsOpen()) {
    messages.Show("Export file could not be created.", MessageIcon::Exclamation);
    return CreateGifResult::NotCreated;
  }

  ProgressWindow* window = screen.BeginExport();
  NoProgressWindow noWindow;
  const bool written = exporter.ExportAnimation(settings, target.TakeStream(), messages,
                                                window ? *window : noWindow);
  screen.EndExport();

  if (!target.Finish(written)) {
    messages.Show("Export file could not be written.", MessageIcon::Exclamation);
    return CreateGifResult::NotWritten;
  }
  return CreateGifResult::Written;
}

}  // namespace animark
