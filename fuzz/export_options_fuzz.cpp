// The export command line with any option values. Options that are taken must leave settings
// the form accepts as they are (taking them once more changes nothing); a refusal must name an
// option that was given, since the defaults pass every check. A command line that is refused,
// by the options or by the set-up check after them, writes no file.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/export_command.h"
#include "fuzz_support.h"
#include "settings/field_checks.h"

namespace animark {
namespace {

using cli::ExportOptions;

const DateTime kNow = DateTime::FromParts(2026, 7, 15, 0, 10, 42);

class FixedClock final : public Clock {
 public:
  LocalTime Now() const override { return {2026, 7, 15, 0, 10, 42}; }
};

// Input lines: the first byte chooses the option, the rest is its value.
ExportOptions OptionsFrom(std::string_view input) {
  ExportOptions o;
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    if (line.empty()) continue;
    const auto choice = static_cast<std::uint8_t>(line.front());
    const std::string value(line.substr(1));
    switch (choice % 17) {
      case 0:
        o.output = value;
        break;
      case 1:
        o.from = value;
        break;
      case 2:
        o.to = value;
        break;
      case 3:
        o.last = value;
        break;
      case 4:
        o.range = value;
        break;
      case 5:
        o.maps.push_back(value);
        break;
      case 6:
        o.rings.push_back(value);
        break;
      case 7:
        o.crosshairs = value.empty() ? 0 : (value[0] & 1 ? 1 : -1);
        break;
      case 8:
        o.labelRings = value.empty() ? 0 : (value[0] & 1 ? 1 : -1);
        break;
      case 9:
        o.units = value;
        break;
      case 10:
        o.persistence = value;
        break;
      case 11:
        o.rate = value;
        break;
      case 12:
        o.pause = value;
        break;
      case 13:
        o.pauseLast = value;
        break;
      case 14:
        o.iterations = value;
        break;
      case 15:
        o.comments = value;
        break;
      case 16:
        o.dataDir = value;
        break;
    }
  }
  return o;
}

bool Given(const ExportOptions& o, std::string_view option) {
  if (option == "--output") return o.output.has_value();
  if (option == "--from") return o.from || o.last;
  if (option == "--to") return o.to || o.last;
  if (option == "--last") return o.last.has_value();
  if (option == "--range") return o.range.has_value();
  if (option == "--map") return !o.maps.empty();
  if (option == "--rings") return !o.rings.empty();
  if (option == "--crosshairs") return o.crosshairs != 0;
  if (option == "--label-rings") return o.labelRings != 0;
  if (option == "--units") return o.units.has_value();
  if (option == "--persistence") return o.persistence.has_value();
  if (option == "--rate") return o.rate.has_value();
  if (option == "--pause") return o.pause.has_value();
  if (option == "--pause-last") return o.pauseLast.has_value();
  if (option == "--iterations") return o.iterations.has_value();
  if (option == "--comments") return o.comments.has_value();
  if (option == "--data-dir") return o.dataDir.has_value();
  return false;
}

bool InRange(std::int32_t value, IntegerRange range) {
  return value >= range.minimum && value <= range.maximum;
}

bool PassesTheFormsChecks(const ExportSettings& s) {
  const auto fits = [](const std::string& text, std::size_t limit) {
    return !CheckLength(text, limit).has_value();
  };
  bool pass = fits(s.comments, kCommentsLimit) && fits(s.dataDirectory, kPathLimit) &&
              fits(s.exportFile, kPathLimit) && InRange(s.iterations, kIterationsRange) &&
              InRange(s.persistenceMinutes, kPersistenceRange) &&
              InRange(s.rateMinutesPerSecond, kRateRange) &&
              InRange(s.pauseBetweenFrames, kPauseRange) &&
              InRange(s.pauseAfterLastFrame, kPauseRange) && IsRangeIndex(s.zoomRange) &&
              (s.units == 0 || s.units == 1) && s.periodStart.IsValid() && s.periodEnd.IsValid();
  for (int range = 0; range < kRangeCount; ++range) {
    pass = pass && fits(s.mapFiles[range], kPathLimit) &&
           InRange(s.ringCounts[range], kRingCountRange);
  }
  return pass;
}

// To the second, the resolution of the form: the same moment reached by adding seconds or from
// its parts may differ in the last bit of its day count.
bool SameMoment(const DateTime& a, const DateTime& b) {
  constexpr const char* kToTheSecond = "%Y-%m-%d %H:%M:%S";
  return a.IsValid() == b.IsValid() && a.Format(kToTheSecond) == b.Format(kToTheSecond);
}

bool SameSettings(const ExportSettings& a, const ExportSettings& b) {
  return a.comments == b.comments && a.dataDirectory == b.dataDirectory &&
         a.exportFile == b.exportFile && a.iterations == b.iterations && a.mapFiles == b.mapFiles &&
         a.persistenceMinutes == b.persistenceMinutes &&
         a.rateMinutesPerSecond == b.rateMinutesPerSecond && a.zoomRange == b.zoomRange &&
         SameMoment(a.periodStart, b.periodStart) && SameMoment(a.periodEnd, b.periodEnd) &&
         a.pauseBetweenFrames == b.pauseBetweenFrames &&
         a.pauseAfterLastFrame == b.pauseAfterLastFrame && a.ringCounts == b.ringCounts &&
         (a.crosshairs == 1) == (b.crosshairs == 1) && (a.labelRings == 1) == (b.labelRings == 1) &&
         a.units == b.units;
}

// Runs the command in an empty folder of its own, with its messages silenced; whether it left
// the folder empty.
bool RunsRefusedWritingNothing(const ExportOptions& options) {
  namespace fs = std::filesystem;
  const fs::path folder = fuzz::ScratchFolder() / "run";
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  std::streambuf* const cerr = std::cerr.rdbuf(nullptr);
  std::streambuf* const cout = std::cout.rdbuf(nullptr);
  const int status = cli::RunExport(options, "animark-cli", FixedClock());
  std::cerr.rdbuf(cerr);
  std::cout.rdbuf(cout);
  fs::current_path(before);
  FUZZ_CHECK(status == cli::kExitRefused, "a refused command line exits as refused");
  return fs::is_empty(folder);
}

}  // namespace
}  // namespace animark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace animark;
  ExportOptions options = OptionsFrom({reinterpret_cast<const char*>(data), size});

  ExportSettings settings = DefaultExportSettings(kNow);
  const auto refusal = cli::ApplyOptions(options, kNow, settings);
  if (refusal) {
    FUZZ_CHECK(Given(options, refusal->option), "a refusal names an option that was given");
    FUZZ_CHECK(!refusal->message.empty(), "a refusal says why");
  } else {
    FUZZ_CHECK(PassesTheFormsChecks(settings), "taken options leave settings the form accepts");
    // A period end before the year 100 is taken but shows as no date (the export refuses such a
    // period with its own message), so only later ones can be taken again.
    if (settings.periodStart.Year() >= 100 && settings.periodEnd.Year() >= 100) {
      ExportSettings again = settings;
      FUZZ_CHECK(!cli::ApplyOptions(ExportOptions{}, kNow, again),
                 "taken settings are taken again");
      FUZZ_CHECK(SameSettings(again, settings), "taking settings again changes none of them");
    }
  }

  // Whatever the options say, a data folder that is not there refuses the export before any file
  // is made. Outputs elsewhere than the run's own folder are not tried.
  const std::string output = options.output.value_or("");
  if (output.find('/') != std::string::npos || output == "-" || output.starts_with("..")) return 0;
  if (!refusal) options.dataDir = "no-such-folder";
  FUZZ_CHECK(RunsRefusedWritingNothing(options), "a refused command line writes no file");
  return 0;
}
