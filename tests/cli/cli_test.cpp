// Runs animark-cli as a process, as scripts and scheduled jobs do.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "maps/background_map.h"
#include "samplegen/sample_set.h"
#include "settings/registry_file.h"
#include "settings/settings_store.h"
#include "support/gif_decode.h"
#include "support/test_support.h"

namespace animark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Replaces the child process by the program, run in `dir` with its own XDG_CONFIG_HOME and the
// extra environment given.
[[noreturn]] void ExecCli(const fs::path& dir, std::vector<std::string> args,
                          const std::map<std::string, std::string>& env) {
  if (chdir(dir.c_str()) != 0) _exit(127);
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
  args.insert(args.begin(), ANIMARK_CLI);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

class CliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sample = new TempDir;
    std::string error;
    ASSERT_TRUE(samplegen::WriteSampleSet(sample->Path(), &error)) << error;
  }
  static void TearDownTestSuite() {
    delete sample;
    sample = nullptr;
  }

  // Runs the program in the test's folder with standard input from /dev/null.
  Outcome Cli(std::vector<std::string> args, const std::map<std::string, std::string>& env = {}) {
    const fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    const pid_t pid = fork();
    if (pid == 0) {
      const int in = open("/dev/null", O_RDONLY);
      dup2(in, 0);
      dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      ExecCli(dir_.Path(), args, env);
    }
    Outcome run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
  }

  // A short export of the sample storm: 10 minutes at one frame a minute.
  static std::vector<std::string> Export(std::vector<std::string> more) {
    std::vector<std::string> args = {"export",
                                     "--data-dir",
                                     sample->Path().string(),
                                     "--map",
                                     "100=" + (sample->Path() / "map100.bmp").string(),
                                     "--from",
                                     "2026-07-14 23:50",
                                     "--to",
                                     "2026-07-15T00:00:00",
                                     "--rate",
                                     "1"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  static TempDir* sample;
  TempDir dir_;
};

TempDir* CliTest::sample = nullptr;

TEST_F(CliTest, ExportsAndPrintsOneSummaryLine) {
  const Outcome run = Cli(Export({"-o", "storm"}));
  ASSERT_EQ(run.status, 0) << run.err;
  const auto size = fs::file_size(dir_ / "storm.gif");
  EXPECT_EQ(run.out, "storm.gif: 11 frames, 11.50 s, " + std::to_string(size) + " bytes\n");
  EXPECT_EQ(run.err, "");  // no terminal: no progress bar
  const auto gif = testing::DecodeGifFile(dir_ / "storm.gif");
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->frames.size(), 11u);
  // Midnight's frame shows strikes of both day files.
  EXPECT_GT(std::ranges::count(gif->frames[10].indices, 14), 0);
}

TEST_F(CliTest, RefusesWithTheOptionsNameAndStatus2) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--rate", "0"}, "--rate: Please enter an integer between 1 and 65535."},
      {{"--jobs", "0"}, "--jobs: Please enter an integer between 1 and 256."},
      {{"--to", "2026-07-14 20:00"}, "The period yields no frames: its end lies before its start."},
      // Back by less than a frame step, which would still give one frame.
      {{"--to", "2026-07-14 23:49:30"},
       "The period yields no frames: its end lies before its start."},
      {{"--min-strikes", "many"}, "--min-strikes: Please enter an integer."},
      {{"--min-strikes", "2147483648"},
       "--min-strikes: Please enter an integer between 0 and 2147483647."},
  };
  for (const auto& [options, message] : cases) {
    std::vector<std::string> args = Export({"-o", "out.gif"});
    args.insert(args.end(), options.begin(), options.end());
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err, "animark-cli: " + message + "\n");
    EXPECT_FALSE(fs::exists(dir_ / "out.gif")) << message;
  }
}

TEST_F(CliTest, CompletesTheNameAfterTheLastSeparatorOnly) {
  fs::create_directory(dir_ / "maps.v2");
  const std::pair<std::string, std::string> cases[] = {
      {"storm", "storm.gif"},
      {"storm.", "storm."},
      {"storm.GIF", "storm.GIF"},
      {"maps.v2/storm", "maps.v2/storm.gif"},
  };
  for (const auto& [typed, written] : cases) {
    const Outcome run = Cli(Export({"-o", typed}));
    EXPECT_EQ(run.status, 0) << typed << ": " << run.err;
    EXPECT_TRUE(fs::is_regular_file(dir_ / written)) << typed;
  }
  // A folder alone names no file (completed, it would be a hidden "maps.v2/.gif").
  const Outcome run = Cli(Export({"-o", "maps.v2/"}));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "animark-cli: The export file name ends with a slash: enter a file name after the "
            "folder.\n");
  EXPECT_FALSE(fs::exists(dir_ / "maps.v2" / ".gif"));
}

TEST_F(CliTest, ExistingFileNeedsForceWithoutATerminal) {
  testing::WriteFileBytes(dir_ / "storm.gif", {1, 2, 3});
  Outcome run = Cli(Export({"-o", "storm.gif"}));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "animark-cli: Export file already exists, overwrite? No terminal to answer: use "
            "--force to overwrite.\n");
  EXPECT_EQ(testing::ReadFileBytes(dir_ / "storm.gif"), (std::vector<std::uint8_t>{1, 2, 3}));

  run = Cli(Export({"-o", "storm.gif", "--force", "--quiet"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(testing::DecodeGifFile(dir_ / "storm.gif"));
}

// Runs the program on a pseudo-terminal, answers its question and returns its exit status and
// everything it wrote to the terminal.
Outcome OnTerminal(const fs::path& dir, const std::vector<std::string>& args,
                   const std::string& answer);

TEST_F(CliTest, AsksOnATerminal) {
  for (const auto& [answer, status] : {std::pair{"n", 2}, std::pair{"y", 0}}) {
    testing::WriteFileBytes(dir_ / "storm.gif", {1, 2, 3});
    const Outcome run = OnTerminal(dir_.Path(), Export({"-o", "storm.gif"}), answer);
    EXPECT_EQ(run.status, status) << run.out;
    EXPECT_NE(run.out.find("Export file already exists, overwrite? [y/N]"), std::string::npos);
    EXPECT_EQ(fs::file_size(dir_ / "storm.gif") > 3, status == 0);
    if (status == 0) {
      EXPECT_NE(run.out.find("frame 11 of 11"), std::string::npos);  // the bar
    }
  }
}

TEST_F(CliTest, FailuresToCreateOrWriteExitWithOne) {
  Outcome run = Cli(Export({"-o", "/dev/full"}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "animark-cli: Export file could not be written. /dev/full: No space left on device\n");

  run = Cli(Export({"-o", "no-such-folder/storm.gif"}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "animark-cli: Export file could not be created. no-such-folder/storm.gif: No such file "
            "or directory\n");

  // A settings file that cannot be used names itself and the reason.
  testing::WriteFileBytes(dir_ / "notes.txt", {'h', 'i', '\n'});
  const std::pair<std::string, std::string> settingsFiles[] = {
      {"missing.reg", "missing.reg: No such file or directory"},
      {"config", "config: a folder, not a regular file"},
      {"pipe", "pipe: a named pipe, not a regular file"},
      {"notes.txt", "notes.txt: not a settings file."},
  };
  fs::create_directories(dir_ / "config");
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  for (const auto& [file, reason] : settingsFiles) {
    run = Cli(Export({"-o", "storm.gif", "--settings", file}));
    EXPECT_EQ(run.status, 2) << file;
    EXPECT_NE(run.err.find("animark-cli: --settings: " + reason + "\n"), std::string::npos)
        << run.err;
  }
}

TEST_F(CliTest, LastMinutesEndNow) {
  const Outcome run = Cli({"export", "--last", "30", "--rate", "1", "-o", "now.gif"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("now.gif: 31 frames, 31.50 s, ", 0), 0u) << run.out;
}

TEST_F(CliTest, NameFieldsTakeThePeriodEnd) {
  const Outcome run = Cli(Export({"-o", "storm-%Y%m%d-%H%M.gif"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir_ / "storm-20260715-0000.gif"));
}

TEST_F(CliTest, TooFewStrikesWritesNothing) {
  Outcome run = Cli(Export({"-o", "storm.gif", "--min-strikes", "1000000"}));
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("fewer than 1000000: nothing written."), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "storm.gif"));

  // No storm is what a scheduled job expects most of the time: under --quiet it says nothing.
  run = Cli(Export({"-o", "storm.gif", "--min-strikes", "1000000", "--quiet"}));
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err + run.out, "");

  run = Cli(Export({"-o", "storm.gif", "--min-strikes", "1"}));
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(CliTest, StoredSettingsAreReadAndNeverWritten) {
  const fs::path store = dir_ / "config" / "animark" / "settings.reg";
  ExportSettings stored = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 23, 0, 0));
  stored.periodEnd = DateTime::FromParts(2026, 7, 15, 0, 0, 0);
  stored.rateMinutesPerSecond = 6;
  stored.exportFile = (dir_ / "stored.gif").string();
  stored.dataDirectory = sample->Path().string();
  {
    RegistryFile key(store);
    testing::RecordingMessages messages;
    ASSERT_TRUE(SaveSettings(stored, key, messages));
  }
  const std::string before = ReadText(store);

  const Outcome run = Cli({"export", "--stored", "--comments", "from the store"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind(stored.exportFile + ": 11 frames", 0), 0u) << run.out;
  const auto gif = testing::DecodeGifFile(stored.exportFile);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->comments.front(), "from the store");
  EXPECT_EQ(ReadText(store), before);

  // The same settings from a file named on the command line.
  const fs::path copy = dir_ / "copy.reg";
  fs::copy_file(store, copy);
  const Outcome fromFile = Cli({"export", "--settings", copy.string(), "--force", "--quiet"});
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(ReadText(copy), before);
  EXPECT_EQ(Cli({"export", "--settings", "missing.reg"}).status, 2);

  // Without a store the export is refused, and no store is created.
  fs::remove(store);
  const Outcome noStore = Cli({"export", "--stored", "-o", "x.gif"});
  EXPECT_EQ(noStore.status, 2);
  EXPECT_EQ(noStore.err, "animark-cli: --stored: no stored settings at " + store.string() + ".\n");
  EXPECT_FALSE(fs::exists(store));
  EXPECT_FALSE(fs::exists(dir_ / "x.gif"));
}

// A key exported on a station PC is used as it is, in either of regedit's forms: here its data
// folder, named in non-ASCII text, is what stops the export.
TEST_F(CliTest, SettingsExportedOnWindowsAreReadInBothForms) {
  for (const char* form : {"unicode", "regedit4"}) {
    SCOPED_TRACE(form);
    const Outcome run =
        Cli({"export", "--settings",
             std::string(ANIMARK_TEST_DATA_DIR) + "/settings/station-export-" + form + ".reg",
             "--map", "200=" + (sample->Path() / "map200.bmp").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "animark-cli: --data-dir: C:\\Blitzdaten\\J\xC3\xBCrgen: No such folder.\n");
  }
}

// A set-up that would give a GIF nobody wants refuses the export, so that a scheduled job with
// --force never replaces a good animation by it.
// The README's five-minute job: silent both without a storm (exit 3) and with one (exit 0).
TEST_F(CliTest, ScheduledJobIsSilentWithAndWithoutAStorm) {
  ExportSettings stored = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 23, 0, 0));
  stored.dataDirectory = sample->Path().string();
  stored.mapFiles[0] = (sample->Path() / "map100.bmp").string();
  {
    RegistryFile key(dir_ / "config" / "animark" / "settings.reg");
    testing::RecordingMessages messages;
    ASSERT_TRUE(SaveSettings(stored, key, messages));
  }
  const std::vector<std::string> job = {
      "export",  "--stored", "--rate",        "5",  "--pause", "20",
      "--quiet", "--force",  "--min-strikes", "10", "-o",      (dir_ / "lightning.gif").string()};
  std::vector<std::string> noStorm = job;  // the last two hours of today: the sample has none
  noStorm.insert(noStorm.end(), {"--last", "120"});
  Outcome run = Cli(noStorm);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_FALSE(fs::exists(dir_ / "lightning.gif"));

  std::vector<std::string> storm = job;  // the same two hours of the sample's storm night
  storm.insert(storm.end(), {"--from", "2026-07-14 22:00", "--to", "2026-07-15 00:00"});
  run = Cli(storm);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_TRUE(testing::DecodeGifFile(dir_ / "lightning.gif"));
}

TEST_F(CliTest, UnusableMapOrDataFolderRefusesTheExportAndWritesNothing) {
  testing::WriteFileBytes(dir_ / "map.png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10});
  testing::WriteFileBytes(dir_ / "file", {1});
  const std::string png = (dir_ / "map.png").string();
  const std::string missingMap = (dir_ / "missing.bmp").string();
  const std::string pipe = (dir_ / "map.bmp").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string missingDir = (dir_ / "no-such-folder").string();
  const std::string notADir = (dir_ / "file").string();
  const std::string hint =
      "\nA usable map is a 640 x 480, 16-colour, uncompressed Windows 3.x BMP; make one from any "
      "picture with: animark-cli map --image in.png --range 100 -o map.bmp, or for the "
      "detector's place with: animark-cli map --at LAT,LON\n";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--map", "100=" + png},
       "--map: " + png + ": The file specified for 100 mi/160 km is not a bitmap file." + hint},
      {{"--map", "100=" + missingMap},
       "--map: " + missingMap +
           ": Bitmap for 100 mi/160 km could not be opened. (No such file or directory)" + hint},
      // A pipe would block the read for ever, a device never end it.
      {{"--map", "100=" + pipe},
       "--map: " + pipe +
           ": Bitmap for 100 mi/160 km could not be opened. (a named pipe, not a regular file)" +
           hint},
      {{"--map", "100=/dev/zero"},
       "--map: /dev/zero: Bitmap for 100 mi/160 km could not be opened. (a device, not a regular "
       "file)" +
           hint},
      {{"--data-dir", missingDir}, "--data-dir: " + missingDir + ": No such folder.\n"},
      {{"--data-dir", missingDir + "\\\\YEAR"},
       "--data-dir: " + missingDir + ": No such folder.\n"},
      {{"--data-dir", notADir}, "--data-dir: " + notADir + ": not a folder.\n"},
      {{"--data-dir", missingDir + "/%Y"}, "--data-dir: " + missingDir + ": No such folder.\n"},
  };
  for (const auto& [options, message] : cases) {
    testing::WriteFileBytes(dir_ / "storm.gif", {1, 2, 3});
    std::vector<std::string> args = Export({"-o", "storm.gif", "--force"});
    args.insert(args.end(), options.begin(), options.end());
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err, "animark-cli: " + message);
    EXPECT_EQ(testing::ReadFileBytes(dir_ / "storm.gif"), (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

TEST_F(CliTest, WarnsOfASetUpThatExportsButIsLikelyWrongUnlessQuiet) {
  // A map saved by an image editor with all 16 colours in use.
  const std::string kFixedColourMap =
      std::string(ANIMARK_TEST_DATA_DIR) + "/maps/imagemagick-16.bmp";
  const fs::path empty = dir_ / "empty";
  fs::create_directory(empty);
  const std::string noDayFile = "animark-cli: warning: no day file for the period in " +
                                empty.string() +
                                " (looked for 071426.dat to 071526.dat); the frames show no "
                                "strikes.\n";
  const std::string shortPause =
      "animark-cli: warning: browsers play a delay under 2/100 s as 1/10 s, so the animation "
      "will play slower than its rate says.\n";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--data-dir", empty.string()}, noDayFile},
      {{"--pause", "1"}, shortPause},
      {{"--pause-last", "1", "--quiet"}, ""},
      {{"--rings", "200=4", "--map", "300=elsewhere.bmp"},
       "animark-cli: warning: --map 300=elsewhere.bmp is not used: the export is of another "
       "range.\nanimark-cli: warning: --rings 200=4 is not used: the export is of another "
       "range.\n"},
      {{"--map", "100=" + kFixedColourMap},
       "animark-cli: warning: " + kFixedColourMap +
           " uses colours 13 to 15, which rings, strikes and text use: those cells will look like "
           "rings, strikes or text.\n"},
      {{"--map", "100=" + kFixedColourMap, "--age-colours"},
       "animark-cli: warning: " + kFixedColourMap +
           " uses colours 13 to 15, which rings, strikes and text use: those cells will look like "
           "rings, strikes or text.\nanimark-cli: warning: " +
           kFixedColourMap +
           " uses colours 11 and 12, which strikes coloured by age use: those cells will show in "
           "their orange and red.\n"},
  };
  for (const auto& [options, warning] : cases) {
    std::vector<std::string> args = Export({"-o", "storm.gif", "--force"});
    args.insert(args.end(), options.begin(), options.end());
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 0) << warning;
    EXPECT_EQ(run.err, warning);
    EXPECT_TRUE(fs::exists(dir_ / "storm.gif"));
  }
}

TEST_F(CliTest, StandardOutputIsWrittenAsItIsAndNothingUnderDevIsCreated) {
  for (const std::string name : {"-", "/dev/stdout"}) {
    const Outcome run = Cli(Export({"-o", name}));  // standard output leads to a regular file
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
    const auto gif = testing::DecodeGifBytes({run.out.begin(), run.out.end()});
    ASSERT_TRUE(gif) << name;
    EXPECT_EQ(gif->frames.size(), 11u);
  }
  EXPECT_FALSE(fs::exists("/dev/stdout.gif"));
  const Outcome typo = Cli(Export({"-o", "/dev/stdot"}));
  EXPECT_EQ(typo.status, 2);
  EXPECT_EQ(typo.err, "animark-cli: --output: /dev/stdot: No such device.\n");
  EXPECT_FALSE(fs::exists("/dev/stdot") || fs::exists("/dev/stdot.gif"));
}

// The temporary files beside the target, named as the replacement names them.
std::vector<std::string> TemporaryFiles(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".storm.gif-")) names.push_back(name);
  }
  return names;
}

TEST_F(CliTest, InterruptedExportLeavesThePreviousFileAndNoTemporaryFile) {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    testing::WriteFileBytes(dir_ / "storm.gif", {1, 2, 3});
    // Eleven hours at a frame per 0.6 s of data: tens of thousands of frames, time to interrupt.
    std::vector<std::string> args = Export({"-o", "storm.gif", "--force", "--pause", "1"});
    args.insert(args.end(), {"--from", "2026-07-14 17:00", "--to", "2026-07-15 04:00"});
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(open("/dev/null", O_RDWR), 0);
      dup2(0, 1);
      dup2(0, 2);
      ExecCli(dir_.Path(), args, {});
    }
    for (int tries = 0; tries < 2000 && TemporaryFiles(dir_.Path()).empty(); ++tries) usleep(5000);
    ASSERT_FALSE(TemporaryFiles(dir_.Path()).empty()) << "the export never started";
    kill(pid, signalNumber);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << signalNumber;
    EXPECT_EQ(TemporaryFiles(dir_.Path()), std::vector<std::string>{}) << signalNumber;
    EXPECT_EQ(testing::ReadFileBytes(dir_ / "storm.gif"), (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

// Day files that are a pipe or lead to an endless device must not hang a scheduled job: they are
// named, left out, and the export goes on.
TEST_F(CliTest, SpecialDayFilesAreNamedAndLeftOut) {
  const fs::path data = dir_ / "data";
  fs::create_directory(data);
  ASSERT_EQ(::mkfifo((data / "071426.dat").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", data / "071526.dat");
  const Outcome run = Cli(Export({"-o", "storm.gif", "--data-dir", data.string()}));
  EXPECT_EQ(run.status, 0);
  const std::string folder = data.string();
  EXPECT_EQ(run.err, "animark-cli: warning: " + folder +
                         "/071426.dat: a named pipe, not a regular file; its strikes are left "
                         "out.\nanimark-cli: warning: " +
                         folder +
                         "/071526.dat: a device, not a regular file; its strikes are left out.\n"
                         "animark-cli: warning: no day file for the period in " +
                         folder +
                         " (looked for 071426.dat to 071526.dat); the frames show no strikes.\n");
  EXPECT_TRUE(testing::DecodeGifFile(dir_ / "storm.gif"));
}

TEST_F(CliTest, HelpForEveryCommand) {
  for (const auto& args : {std::vector<std::string>{"--help"},
                           {"export", "--help"},
                           {"sample", "--help"},
                           {"map", "--help"}}) {
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage:"), std::string::npos);
  }
  EXPECT_EQ(Cli({"export", "--no-such-option"}).status, 2);
  EXPECT_EQ(Cli({"--version"}).out, "animark-cli 1.0.0\n");
  EXPECT_NE(Cli({"export", "--help"}).out.find("second of animation, 1 to 65535; default 60"),
            std::string::npos);
  const std::pair<std::vector<std::string>, std::string> typos[] = {
      {{"exprt"}, "animark-cli: exprt: did you mean export?"},
      {{"export", "--rat", "5"}, "animark-cli: --rat: did you mean --rate?"},
      {{"export", "--pause-lats=3"}, "animark-cli: --pause-lats=3: did you mean --pause-last?"},
  };
  for (const auto& [args, suggestion] : typos) {
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("animark-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(suggestion), std::string::npos) << run.err;
  }
  EXPECT_EQ(Cli({}).status, 2);
}

bool GmtInstalled() {
  return std::system("gmt --version >/dev/null 2>&1") == 0;
}

TEST_F(CliTest, MapRefusesBadPlacesAndOptionsWithStatus2) {
  const std::string place =
      ": give the detector's place as LAT,LON in decimal degrees, latitude -90 to 90 and "
      "longitude -180 to 180 (negative south and west), for example 52.52,13.40.";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--at", "90.5,13.4"}, "--at 90.5,13.4" + place},
      {{"--at", "52.5,-180.01"}, "--at 52.5,-180.01" + place},
      {{"--at", "52.5"}, "--at 52.5" + place},
      {{"--at", "52.5,13.4x"}, "--at 52.5,13.4x" + place},
      {{"--at", "nan,0"}, "--at nan,0" + place},
      {{}, "give the detector's place with --at LAT,LON, or a picture with --image."},
      {{"--at", "52.5,13.4", "--range", "150"},
       "--range 150: the range is 100, 200 or 300 (miles)."},
      {{"--at", "52.5,13.4", "--style", "pink"}, "--style pink: the style is dark or light."},
      {{"--at", "52.5,13.4", "-o", "one.bmp"},
       "one.bmp: not a folder; -o names a file only with one --range."},
      {{"--image", "x.png", "-o", "one.bmp"},
       "--image needs one --range and -o, the map file to write."},
  };
  for (const auto& [options, message] : cases) {
    std::vector<std::string> args = {"map"};
    args.insert(args.end(), options.begin(), options.end());
    const Outcome run = Cli(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err, "animark-cli: " + message + "\n");
  }
  EXPECT_FALSE(fs::exists(dir_ / "map100.bmp"));
  // Without the gmt program the message names the package to install.
  const Outcome run = Cli({"map", "--at", "52.52,13.40"}, {{"PATH", "/nonexistent"}});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("install the Debian package gmt"), std::string::npos) << run.err;
  // With gmt but none of its coastline data (a configuration that points elsewhere) the message
  // names the data package, and nothing is fetched from the internet in its place.
  fs::create_directories(dir_ / "home" / ".gmt");
  fs::create_directories(dir_ / "empty");
  std::ofstream(dir_ / "home" / ".gmt" / "gmt.conf")
      << "DIR_GSHHG = " << (dir_ / "empty").string() << "\n";
  if (GmtInstalled()) {
    const Outcome noData =
        Cli({"map", "--at", "52.52,13.40", "--range", "100", "-o", "m.bmp"},
            {{"HOME", (dir_ / "home").string()}, {"GMT_SHAREDIR", (dir_ / "empty").string()}});
    EXPECT_EQ(noData.status, 2);
    EXPECT_EQ(noData.err.rfind("animark-cli: gmt could not read its coastline data; install the "
                               "Debian package gmt-gshhg-low",
                               0),
              0u)
        << noData.err;
    EXPECT_EQ(std::ranges::count(noData.err, '\n'), 2) << noData.err;
  }
  // A picture that is not one.
  testing::WriteFileBytes(dir_ / "notes.png", {'h', 'i', '\n'});
  EXPECT_EQ(Cli({"map", "--image", "notes.png", "--range", "100", "-o", "m.bmp"}).status, 2);
  EXPECT_FALSE(fs::exists(dir_ / "m.bmp"));
}

TEST_F(CliTest, MadeMapsLoadAndKeepTheExportSmall) {
  if (!GmtInstalled()) GTEST_SKIP() << "gmt is not installed";
  // The sample storm over a coast: Copenhagen's sea, islands and border.
  // A folder that takes no file is refused before the data is read.
  Outcome run = Cli({"map", "--at", "55.68,12.57", "-o", "maps"});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_EQ(run.err.rfind("animark-cli: maps/map100.bmp: ", 0), 0u) << run.err;
  EXPECT_TRUE(run.err.ends_with("; no map was written.\n")) << run.err;
  fs::create_directory(dir_ / "maps");
  run = Cli({"map", "--at", "55.68,12.57", "-o", "maps"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Map written to maps/map100.bmp\nMap written to maps/map200.bmp\n"
            "Map written to maps/map300.bmp\n");
  run = Cli({"map", "--at", "55.68,12.57", "--range", "200", "--style", "light", "-o", "l.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"maps/map100.bmp", "maps/map200.bmp", "maps/map300.bmp", "l.bmp"}) {
    FrameBuffer picture;
    EXPECT_TRUE(LoadBackgroundMap((dir_ / name).string(), picture).Usable()) << name;
  }
  // Full stream, as the demo writes it: no more than 1.3 times the sample map's export.
  const auto exportOver = [&](const fs::path& map, const std::string& gif) {
    const Outcome e = Cli({"export",
                           "--data-dir",
                           sample->Path().string(),
                           "--range",
                           "200",
                           "--map",
                           "200=" + map.string(),
                           "--rings",
                           "200=4",
                           "--label-rings",
                           "--crosshairs",
                           "--from",
                           "2026-07-14 21:00",
                           "--to",
                           "2026-07-15 02:00",
                           "--rate",
                           "10",
                           "--persistence",
                           "20",
                           "-q",
                           "--force",
                           "-o",
                           gif});
    EXPECT_EQ(e.status, 0) << e.err;
    return fs::file_size(dir_ / gif);
  };
  const auto sampleSize = exportOver(sample->Path() / "map200.bmp", "sample.gif");
  for (const char* map : {"maps/map200.bmp", "l.bmp"}) {
    const auto madeSize = exportOver(dir_ / map, "made.gif");
    EXPECT_LE(static_cast<double>(madeSize), 1.3 * static_cast<double>(sampleSize))
        << map << ": " << madeSize << " against " << sampleSize;
  }
}

TEST_F(CliTest, SampleWritesTheSampleSet) {
  const Outcome run = Cli({"sample", "set"});
  EXPECT_EQ(run.status, 0) << run.err;
  for (const char* name : {"map100.bmp", "map200.bmp", "map300.bmp", "071426.dat", "071526.dat"}) {
    EXPECT_EQ(testing::ReadFileBytes(dir_ / "set" / name),
              testing::ReadFileBytes(sample->Path() / name))
        << name;
  }
}

Outcome OnTerminal(const fs::path& dir, const std::vector<std::string>& args,
                   const std::string& answer) {
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) ExecCli(dir, args, {});
  Outcome run;
  bool answered = false;
  for (;;) {
    pollfd ready{terminal, POLLIN, 0};
    if (poll(&ready, 1, 10000) <= 0) break;
    char buffer[4096];
    const ssize_t n = read(terminal, buffer, sizeof buffer);
    if (n <= 0) break;
    run.out.append(buffer, static_cast<std::size_t>(n));
    if (!answered && run.out.find("[y/N]") != std::string::npos) {
      const std::string line = answer + "\n";
      EXPECT_EQ(write(terminal, line.data(), line.size()), static_cast<ssize_t>(line.size()));
      answered = true;
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  close(terminal);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace
}  // namespace animark
