// animark-cli: the export from the command line, for scripts and scheduled jobs.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "animark/version.h"
#include "cli/export_command.h"
#include "cli/map_command.h"
#include "export/animation_exporter.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "samplegen/sample_set.h"

namespace {

using animark::cli::ExportOptions;

// Letters to change, insert or delete to turn one word into the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The option or command `word` was most likely meant to be, when it is none of `app`'s own and
// one of them is close.
std::optional<std::string> Suggestion(const CLI::App& app, std::string_view word) {
  std::vector<std::string> names;
  const bool option = word.starts_with("--");
  if (option) {
    word = word.substr(0, word.find('='));
    // Unknown options reach the top command, whichever command they were meant for.
    std::vector<const CLI::App*> commands = {&app};
    for (const CLI::App* command : app.get_subcommands({})) commands.push_back(command);
    for (const CLI::App* command : commands) {
      for (const CLI::Option* candidate : command->get_options()) {
        for (const std::string& name : candidate->get_lnames()) names.push_back("--" + name);
      }
    }
  } else {
    for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
  }
  if (names.empty() || std::find(names.begin(), names.end(), word) != names.end()) return {};
  if (!option && word.starts_with("-")) return {};
  const auto best =
      std::min_element(names.begin(), names.end(), [word](const auto& a, const auto& b) {
        return EditDistance(word, a) < EditDistance(word, b);
      });
  if (EditDistance(word, *best) > std::max<std::size_t>(2, best->size() / 4)) return {};
  return *best;
}

void AddExportOptions(CLI::App& command, ExportOptions& o) {
  // As in most tools, an option given twice takes its last value; --map and --rings add up.
  command.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  command.add_flag("--stored", o.stored,
                   "Start from your stored settings (those the desktop dialog keeps); read only");
  command.add_option("--settings", o.settingsFile, "Start from the settings in FILE (same format)")
      ->type_name("FILE");
  command
      .add_option("-o,--output", o.output,
                  "The GIF to write; %Y %m %d %H %M %S take the period end's date and time")
      ->type_name("FILE");
  auto* from = command.add_option("--from", o.from, "Period start, local time; default now")
                   ->type_name("'YYYY-MM-DD HH:MM[:SS]'");
  auto* to = command.add_option("--to", o.to, "Period end, local time; default now")
                 ->type_name("'YYYY-MM-DD HH:MM[:SS]'");
  command.add_option("--last", o.last, "The period of MINUTES that ends now (seconds dropped)")
      ->type_name("MINUTES")
      ->excludes(from)
      ->excludes(to);
  command
      .add_option("--range", o.range,
                  "Map range in miles: 100, 200 or 300 (or 160, 320, 480 km); default 100")
      ->type_name("RANGE");
  command
      .add_option("--map", o.maps,
                  "Background map (640x480, 16-colour BMP) of a range; default none")
      ->type_name("RANGE=FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  command.add_option("--rings", o.rings, "Number of range rings of a range, 0 to 99; default 0")
      ->type_name("RANGE=N")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  // Flags show "off" as their default in the text, not CLI11's "{false}".
  command.add_flag("--crosshairs,!--no-crosshairs", o.crosshairs,
                   "Draw crosshairs at the detector; default off");
  command.add_flag("--label-rings,!--no-label-rings", o.labelRings,
                   "Label the rings with distances; default off");
  command.add_option("--units", o.units, "Ring labels and range names in mi or km; default mi")
      ->type_name("mi|km");
  command
      .add_option("--persistence", o.persistence,
                  "Minutes a strike stays on the map, 0 to 65535; default 60")
      ->type_name("MIN");
  command
      .add_option("--rate", o.rate,
                  "Minutes of data per second of animation, 1 to 65535; default 60")
      ->type_name("MIN_PER_SEC");
  command
      .add_option(
          "--pause", o.pause,
          "Delay between frames in 1/100 s, 1 to 65535 (browsers play 1 as 10); default 100")
      ->type_name("CS");
  command
      .add_option("--pause-last", o.pauseLast, "Delay after the last frame in 1/100 s; default 150")
      ->type_name("CS");
  command
      .add_option(
          "--iterations", o.iterations,
          "Times to play: 0 for ever, -1 for no looping instruction, up to 65535; default 0")
      ->type_name("N");
  command.add_option("--comments", o.comments, "Comment stored in the GIF, up to 255 characters")
      ->type_name("TEXT");
  command
      .add_option("--data-dir", o.dataDir,
                  "Folder of the day files (MMDDYY.dat); %Y or a trailing \\\\year for per-year "
                  "folders; default the current folder")
      ->type_name("DIR");
  command
      .add_option("--min-strikes", o.minStrikes,
                  "Write nothing and exit with status 3 when the period holds fewer strikes")
      ->type_name("N");
  command.add_flag("--optimize,!--no-optimize", o.optimize,
                   "Write each frame as only what changed: the same pictures in a far smaller "
                   "file, for the web; default off");
  command.add_flag("--age-colours,!--no-age-colours", o.ageColours,
                   "Colour each strike by its age in the window (white, yellow, orange, red, "
                   "newest first) and show their legend and the strike count; default off");
  command
      .add_option("--jobs", o.jobs,
                  "Frames compressed at once, 1 to 256; default the machine's cores (" +
                      std::to_string(animark::DefaultWorkers()) + ")")
      ->type_name("N");
  command.add_flag("-f,--force", o.force, "Overwrite an existing file without asking");
  command.add_flag("-q,--quiet", o.quiet, "No progress bar and no summary line");
}

}  // namespace

int main(int argc, char** argv) {
  animark::UseUtf8Console();
  std::vector<std::string> arguments = animark::Utf8Arguments(argc, argv);
  std::vector<char*> utf8Argv;
  for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
  argc = static_cast<int>(utf8Argv.size());
  argv = utf8Argv.data();
  const std::string program = std::filesystem::path(argv[0]).filename().string();
  CLI::App app{"Animated GIF maps of lightning strikes from the detector's day files.", program};
  app.get_formatter()->column_width(44);
  // Errors start with the program's name, as a script's log needs, and suggest what was meant.
  app.failure_message([&program, argc, argv](const CLI::App* failed, const CLI::Error& error) {
    std::string text = program + ": " + error.what();
    for (int i = 1; i < argc; ++i) {
      if (const auto meant = Suggestion(*failed, argv[i])) {
        text += "\n" + program + ": " + argv[i] + ": did you mean " + *meant + "?";
      }
    }
    return text + "\nRun with --help for more information.\n";
  });
  app.require_subcommand(1);
  app.set_version_flag("--version", program + " " + std::string(animark::kVersion));
  app.footer(
      "Exit status: 0 written, 1 the file could not be created or written, 2 refused (bad option,\n"
      "no frames, existing file not overwritten, unusable map, missing data folder or store),\n"
      "3 fewer strikes than --min-strikes.");

  ExportOptions exportOptions;
  CLI::App* exportCommand = app.add_subcommand("export", "Write one animated GIF of a period");
  AddExportOptions(*exportCommand, exportOptions);

  std::string sampleDir;
  CLI::App* sampleCommand =
      app.add_subcommand("sample", "Write the sample maps and day files (a storm night) into DIR");
  sampleCommand->add_option("DIR", sampleDir, "Folder to write; made when missing")->required();

  animark::cli::MapOptions mapOptions;
  CLI::App* mapCommand = app.add_subcommand(
      "map", "Write background maps for the detector's place, or one from any picture");
  mapCommand->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  auto* at = mapCommand
                 ->add_option("--at", mapOptions.at,
                              "The detector's place in decimal degrees, negative south and "
                              "west (52.52,13.40); draws coastlines, borders and rivers")
                 ->type_name("LAT,LON");
  mapCommand
      ->add_option("--image", mapOptions.image,
                   "Make the map from this picture (PNG, JPEG, GIF, TIFF, BMP) instead; needs "
                   "--range and -o")
      ->type_name("PICTURE")
      ->excludes(at);
  mapCommand
      ->add_option("--range", mapOptions.ranges,
                   "The range in miles of the map to write, 100, 200 or 300; default all three")
      ->type_name("RANGE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  mapCommand->add_option("--style", mapOptions.style, "Colours: dark or light; default dark")
      ->type_name("dark|light");
  mapCommand
      ->add_option("-o,--output", mapOptions.output,
                   "Folder for map100.bmp, map200.bmp, map300.bmp (default the current folder); "
                   "with one --range the file")
      ->type_name("FILE|DIR");
  mapCommand->add_flag("-q,--quiet", mapOptions.quiet, "No line for each map written");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? 0 : animark::cli::kExitRefused;
  }

  if (exportCommand->parsed()) {
    // An interrupted export leaves the previous animation in place and no temporary file.
    animark::RemoveTemporaryFileOnInterruption();
    return animark::cli::RunExport(exportOptions, program, animark::SystemClock());
  }
  if (mapCommand->parsed()) return animark::cli::RunMap(mapOptions, program);
  std::string error;
  if (!animark::samplegen::WriteSampleSet(sampleDir, &error)) {
    std::cerr << program << ": " << error << std::endl;
    return animark::cli::kExitNotWritten;
  }
  std::cout << "Sample set written to " << sampleDir << std::endl;
  return 0;
}
