#include "cli/set_up_check.h"

#include <algorithm>
#include <filesystem>

#include "export/user_texts.h"
#include "image/palette.h"
#include "platform/output_file.h"
#include "strikes/strike_data_reader.h"

namespace animark::cli {

namespace {

// A name under /dev that names nothing is a typing mistake, not a file to create.
std::optional<OptionRefusal> CheckOutputDevice(const std::string& exportFile) {
  std::error_code error;
  if (exportFile.starts_with("/dev/") && exportFile != kStandardOutputName &&
      !std::filesystem::exists(exportFile, error)) {
    return OptionRefusal{"--output", exportFile + ": No such device."};
  }
  return std::nullopt;
}

void WarnOfOtherRanges(const ExportOptions& options, RangeIndex range,
                       std::vector<std::string>& warnings) {
  for (const auto& [option, given] :
       {std::pair{"--map", &options.maps}, {"--rings", &options.rings}}) {
    for (const std::string& assignment : *given) {
      const auto parsed = ParseRangeAssignment(assignment);
      if (parsed && parsed->first != range) {
        warnings.push_back(std::string(option) + " " + assignment +
                           " is not used: the export is of another range.");
      }
    }
  }
}

// How to make a usable map: on Linux this program makes one from any picture or for a place.
#ifdef _WIN32
constexpr const char* kMakeMapHint = "for example: convert in.png -colors 13 BMP3:map.bmp";
#else
constexpr const char* kMakeMapHint =
    "make one from any picture with: animark-cli map --image in.png --range 100 -o map.bmp, "
    "or for the detector's place with: animark-cli map --at LAT,LON";
#endif

// Loads the map of the export's range into `found.map`, or refuses it with the dialog's words,
// the system's reason and a hint.
void CheckMap(const ExportSettings& settings, SetUpFindings& found) {
  const RangeIndex range = settings.zoomRange;
  if (!IsRangeIndex(range) || settings.mapFiles[range].empty()) return;
  const std::string& path = settings.mapFiles[range];
  auto map = std::make_unique<LoadedMap>();
  const MapLoad load = LoadBackgroundMap(path, map->picture);
  if (!load.Usable()) {
    std::string message = MapRefusalText(range, load.refusal->kind);
    std::ranges::replace(message, '\n', ' ');
    if (!load.refusal->reason.empty()) message += " (" + load.refusal->reason + ")";
    found.refusal = OptionRefusal{
        "--map", path + ": " + message +
                     "\nA usable map is a 640 x 480, 16-colour, uncompressed Windows 3.x BMP; " +
                     kMakeMapHint};
    return;
  }
  map->colours = load.colours;
  const auto cells = map->picture.Cells();
  if (std::ranges::any_of(cells, [](std::int16_t cell) { return cell >= kFirstFixedEntry; })) {
    found.warnings.push_back(path +
                             " uses colours 13 to 15, which rings, strikes and text use: those "
                             "cells will look like rings, strikes or text.");
  }
  if (settings.ageColours != 0 && std::ranges::any_of(cells, [](std::int16_t cell) {
        return cell == kOrangeEntry || cell == kRedEntry;
      })) {
    found.warnings.push_back(path +
                             " uses colours 11 and 12, which strikes coloured by age use: those "
                             "cells will show in their orange and red.");
  }
  found.map = std::move(map);
}

std::optional<OptionRefusal> CheckDataFolder(const std::filesystem::path& folder) {
  std::error_code error;
  const auto type = std::filesystem::status(folder, error).type();
  if (type == std::filesystem::file_type::not_found) {
    return OptionRefusal{"--data-dir", folder.string() + ": No such folder."};
  }
  if (type != std::filesystem::file_type::directory) {
    return OptionRefusal{"--data-dir", folder.string() + ": not a folder."};
  }
  return std::nullopt;
}

// A detector may write no file on a day without strikes, so this is no error; but a wrong folder
// looks the same, and an animation without strikes is easily published unnoticed.
void WarnOfMissingDayFiles(const ExportSettings& settings, const std::filesystem::path& folder,
                           std::vector<std::string>& warnings) {
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
    } else if (StrikeDataReader::FindDayFile(path)) {
      // Something stands there but cannot be read: a pipe, a device, a file without permission.
      warnings.push_back(path + ": " + reason + "; its strikes are left out.");
    }
    lookedFor.push_back(std::filesystem::path(path).filename().string());
  }
  if (!dayFileFound && !lookedFor.empty()) {
    warnings.push_back("no day file for the period in " + folder.string() + " (looked for " +
                       lookedFor.front() + (lookedFor.size() > 1 ? " to " + lookedFor.back() : "") +
                       "); the frames show no strikes.");
  }
}

}  // namespace

SetUpFindings CheckSetUp(const ExportOptions& options, const ExportSettings& settings) {
  SetUpFindings found;
  found.refusal = CheckOutputDevice(settings.exportFile);
  if (found.refusal) return found;
  WarnOfOtherRanges(options, settings.zoomRange, found.warnings);
  CheckMap(settings, found);
  if (found.refusal) return found;
  const std::filesystem::path folder = DayFilesFolder(settings.dataDirectory);
  found.refusal = CheckDataFolder(folder);
  if (found.refusal) return found;
  WarnOfMissingDayFiles(settings, folder, found.warnings);
  if (settings.pauseBetweenFrames < 2 || settings.pauseAfterLastFrame < 2) {
    found.warnings.push_back(
        "browsers play a delay under 2/100 s as 1/10 s, so the animation will play slower than "
        "its rate says.");
  }
  return found;
}

}  // namespace animark::cli
