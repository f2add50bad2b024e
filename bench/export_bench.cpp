// A whole export as a scheduled job makes it: 24 hours at one frame per minute of data (1441
// frames), a background map, rings and labels, and dense day files of more than 100,000 strikes
// each. Prints frames per second and the time per frame, split into the strike pass (reading the
// day files, marking, unmarking), the compression, and the rest; then the same day at a
// persistence of 30 days (31 dense day files), whose strike pass should cost a frame about the
// same; and the rate with strikes coloured by age at 60 minutes' and a day's persistence.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "export/animation_exporter.h"
#include "export/file_sink.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "export/strike_window.h"
#include "gif/frame_stream.h"
#include "gif/lzw_encoder.h"
#include "maps/background_map.h"
#include "render/text_overlay.h"
#include "samplegen/day_file.h"
#include "samplegen/world_map.h"

#include "fastest_run_reporter.h"

namespace animark {
namespace {

namespace fs = std::filesystem;

constexpr int kStrikesPerDay = 120000;
constexpr std::int32_t kHourMinutes = 60;
constexpr std::int32_t kDayMinutes = 1440;
constexpr std::int32_t kMonthMinutes = 30 * 1440;

class SilentMessages : public UserMessages {
 public:
  MessageAnswer Show(std::string_view, MessageIcon) override { return MessageAnswer::Ok; }
};

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Strikes all day long, thickest in a band that sweeps across the map, in time order.
std::vector<samplegen::DayRecord> DenseDay(std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<samplegen::DayRecord> records(kStrikesPerDay);
  for (int i = 0; i < kStrikesPerDay; ++i) {
    const int code = static_cast<int>(static_cast<std::int64_t>(i) * 43200 / kStrikesPerDay);
    const int front = -2560 + code * 5120 / 43200;
    const auto jitter = [&random](int spread) {
      return static_cast<int>(random() % (2 * spread + 1)) - spread;
    };
    records[i] = {static_cast<std::uint16_t>(code),
                  static_cast<std::int16_t>(front + jitter(400) + jitter(400)),
                  static_cast<std::int16_t>(jitter(2400))};
  }
  return records;
}

// The data folder, the map and the settings, made once for all runs.
struct Scene {
  Scene() {
    char pattern[] = "/tmp/animark-bench-XXXXXX";
    folder = mkdtemp(pattern);
    WriteBytes(folder / "map100.bmp", samplegen::MapBmpBytes(0, 1));
    for (const samplegen::CalendarDate day :
         {samplegen::CalendarDate{2026, 7, 14}, samplegen::CalendarDate{2026, 7, 15}}) {
      const auto records = DenseDay(day.day);
      WriteBytes(folder / samplegen::DayFileName(day), samplegen::EncodeDayFile(day, records));
    }
    // The 30 days a month's persistence reaches back to from the period's first frame: the same
    // dense day over and over.
    const auto records = DenseDay(1);
    for (DateTime day = DateTime::FromParts(2026, 6, 15, 0, 0, 0);
         day.Month() < 7 || day.Day() < 14; day = day.AddSeconds(86400)) {
      const samplegen::CalendarDate date{day.Year(), day.Month(), day.Day()};
      WriteBytes(folder / samplegen::DayFileName(date), samplegen::EncodeDayFile(date, records));
    }
    settings = DefaultExportSettings(DateTime::FromParts(2026, 7, 15, 0, 0, 0));
    settings.periodEnd = settings.periodStart.AddSeconds(24 * 3600);
    settings.rateMinutesPerSecond = 1;
    settings.pauseBetweenFrames = 100;
    settings.persistenceMinutes = kHourMinutes;
    settings.dataDirectory = folder.string();
    settings.mapFiles[0] = (folder / "map100.bmp").string();
    settings.ringCounts[0] = 4;
    settings.labelRings = 1;
    settings.crosshairs = 1;
    frameCount = PlanFrames(settings).frameCount;
  }
  ~Scene() { fs::remove_all(folder); }

  fs::path folder;
  ExportSettings settings;
  int frameCount = 0;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

OutputFile Discard() {
  return OutputFile(std::fopen("/dev/null", "wb"));
}

ExportSettings WithPersistence(std::int32_t minutes) {
  ExportSettings settings = TheScene().settings;
  settings.persistenceMinutes = minutes;
  return settings;
}

void WholeExport(benchmark::State& state, std::int32_t persistenceMinutes, int workers,
                 bool ageColours) {
  Scene& scene = TheScene();
  ExportSettings settings = WithPersistence(persistenceMinutes);
  settings.ageColours = ageColours ? 1 : 0;
  auto exporter = std::make_unique<AnimationExporter>(workers);
  SilentMessages messages;
  NoProgressWindow progress;
  for (auto _ : state) {
    exporter->ExportAnimation(settings, Discard(), messages, progress);
  }
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// The picture an export leaves without its marks: map, rings, labels and text.
FrameBuffer StaticPicture(const Scene& scene) {
  auto exporter = std::make_unique<AnimationExporter>(1);
  SilentMessages messages;
  NoProgressWindow progress;
  exporter->ExportAnimation(scene.settings, Discard(), messages, progress);
  return exporter->LastPicture();
}

// The most memory a strike window held in the last strike pass, by persistence.
std::map<std::int32_t, std::size_t> peakWindowBytes;

// Every frame's strike pass over the exported picture: read, mark, unmark.
void StrikePass(benchmark::State& state, std::int32_t persistenceMinutes) {
  Scene& scene = TheScene();
  const ExportSettings settings = WithPersistence(persistenceMinutes);
  FrameBuffer picture = StaticPicture(scene);
  std::size_t peakBytes = 0;
  for (auto _ : state) {
    StrikeWindow window(settings, DayFilesOf(settings));
    for (int i = 1; i <= scene.frameCount; ++i) {
      window.MoveTo(picture, FrameMoment(settings, i));
      peakBytes = std::max(peakBytes, window.MemoryBytes());
    }
    window.Clear(picture);
  }
  peakWindowBytes[persistenceMinutes] = peakBytes;
  state.counters["peak_window_MB"] = static_cast<double>(peakBytes) / 1e6;
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// Every frame's compression of the exported picture with the marks of the middle frame's window
// on it: a month's marks cover far more of the map than an hour's.
void Compression(benchmark::State& state, std::int32_t persistenceMinutes) {
  Scene& scene = TheScene();
  const ExportSettings settings = WithPersistence(persistenceMinutes);
  FrameBuffer picture = StaticPicture(scene);
  StrikeWindow window(settings, DayFilesOf(settings));
  window.MoveTo(picture, FrameMoment(settings, scene.frameCount / 2));
  auto encoder = std::make_unique<LzwEncoder>();
  std::vector<std::uint8_t> data;
  for (auto _ : state) {
    for (int i = 1; i <= scene.frameCount; ++i) {
      encoder->Reset();
      encoder->EncodeImage(picture, data);
    }
  }
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// What the drawing thread does for each frame besides the strike pass, with several workers: the
// frame time, taking the picture over for a worker, and writing a compressed frame in order.
void HandOver(benchmark::State& state) {
  Scene& scene = TheScene();
  FrameBuffer picture = StaticPicture(scene);
  OutputFile out = Discard();
  FileSink sink(out);
  WholeFrameStream gif(sink, {kDefaultPalette, {}, 0});
  const std::unique_ptr<FrameJob> frame = gif.NewJob();
  LzwEncoder encoder;
  frame->Take(100, picture);
  frame->Compress(encoder);
  for (auto _ : state) {
    for (int i = 1; i <= scene.frameCount; ++i) {
      DrawFrameTime(picture, FrameMoment(scene.settings, i));
      frame->Take(100, picture);
      gif.Write(*frame);
    }
  }
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// Peak resident memory, in MiB, of animark-cli exporting `days` of one frame per hour of data
// over the scene's data folder with every worker busy; measured in a process of its own.
double PeakMemoryMib(int days) {
  Scene& scene = TheScene();
  const DateTime end = scene.settings.periodStart.AddSeconds(24 * 3600);
  const std::string from = end.AddSeconds(-std::int64_t{days} * 86400).Format("%Y-%m-%d %H:%M");
  const std::string to = end.Format("%Y-%m-%d %H:%M");
  const std::string data = scene.folder.string();
  const std::string map = "100=" + (scene.folder / "map100.bmp").string();
  const std::string out = (scene.folder / "memory.gif").string();
  const std::string jobs = std::to_string(DefaultWorkers());
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(ANIMARK_CLI, ANIMARK_CLI, "export", "-q", "--force", "--data-dir", data.c_str(),
            "--map", map.c_str(), "--rings", "100=4", "--label-rings", "--crosshairs", "--from",
            from.c_str(), "--to", to.c_str(), "--rate", "60", "--pause", "100", "--jobs",
            jobs.c_str(), "-o", out.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss / 1024.0 : -1;
}

}  // namespace
}  // namespace animark

int main(int argc, char** argv) {
  using animark::kHourMinutes, animark::kDayMinutes, animark::kMonthMinutes;
  const auto each = [](const char* name, auto function, auto... args) {
    benchmark::RegisterBenchmark(name, function, args...)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ComputeStatistics("min", animark::Fastest);
  };
  const int cores = animark::DefaultWorkers();
  each("whole_export", animark::WholeExport, kHourMinutes, 1, false);
  each("whole_export_all_cores", animark::WholeExport, kHourMinutes, cores, false);
  each("hand_over", animark::HandOver);
  each("strike_pass", animark::StrikePass, kHourMinutes);
  each("compression", animark::Compression, kHourMinutes);
  each("whole_export_30_days", animark::WholeExport, kMonthMinutes, 1, false);
  each("whole_export_age", animark::WholeExport, kHourMinutes, 1, true);
  each("whole_export_1_day", animark::WholeExport, kDayMinutes, 1, false);
  each("whole_export_1_day_age", animark::WholeExport, kDayMinutes, 1, true);
  each("strike_pass_30_days", animark::StrikePass, kMonthMinutes);
  each("compression_30_days", animark::Compression, kMonthMinutes);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  animark::FastestRunReporter reporter(animark::FastestRunReporter::Clock::Wall);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto& ms = reporter.milliseconds;
  const double frames = animark::TheScene().frameCount;
  const auto summary = [&](const char* what, const std::string& whole, const std::string& strikes,
                           const std::string& compression, std::int32_t persistence) {
    if (!ms.count(whole)) return;
    const double total = ms[whole] / frames;
    std::printf("\n%s: %.0f frames in %.1f ms: %.0f frames per second, %.3f ms per frame\n", what,
                frames, ms[whole], 1000.0 / total, total);
    if (ms.count(strikes) && ms.count(compression)) {
      const double pass = ms[strikes] / frames, encoding = ms[compression] / frames;
      std::printf(
          "  strike pass %.3f ms (%.0f%%), compression %.3f ms (%.0f%%), rest %.3f ms (%.0f%%)\n",
          pass, 100 * pass / total, encoding, 100 * encoding / total, total - pass - encoding,
          100 * (total - pass - encoding) / total);
      std::printf("  the strike window held at most %.1f MB\n",
                  static_cast<double>(animark::peakWindowBytes[persistence]) / 1e6);
    }
  };
  summary("Whole export, 60 minutes' persistence, 1 worker", "whole_export", "strike_pass",
          "compression", kHourMinutes);
  std::printf("  target: at least 500 frames per second\n");
  if (ms.count("whole_export") && ms.count("whole_export_all_cores") && ms.count("hand_over") &&
      ms.count("strike_pass") && ms.count("compression")) {
    const double one = ms["whole_export"] / frames;
    const double all = ms["whole_export_all_cores"] / frames;
    const double drawing = (ms["strike_pass"] + ms["hand_over"]) / frames;
    const double compression = ms["compression"] / frames;
    std::printf(
        "\nWhole export with %d workers: %.0f frames per second, %.3f ms per frame: %.2f times "
        "1 worker (target on 2 cores: at least 1.7)\n",
        cores, 1000.0 / all, all, one / all);
    std::printf(
        "  per frame: drawing and handing over (strike pass, frame time, copy, writing) %.3f ms "
        "on the drawing thread; compression %.3f ms on a worker\n",
        drawing, compression);
    // The drawing thread is the serial part: frames cannot come faster than it draws them, nor
    // faster than the workers compress them.
    for (const int workers : {cores, 8}) {
      const double frame = std::max(drawing, compression / workers);
      std::printf("  %d workers: at most %.0f frames per second, %.2f times 1 worker%s\n", workers,
                  1000.0 / frame, one / frame,
                  workers == cores ? " (bound)" : " (estimate, if memory keeps up)");
    }
  }
  summary("Whole export, 30 days' persistence", "whole_export_30_days", "strike_pass_30_days",
          "compression_30_days", kMonthMinutes);
  if (ms.count("whole_export") && ms.count("whole_export_30_days")) {
    std::printf(
        "\n30 days' persistence runs at %.2f times the frames per second of 60 minutes'"
        " (target: at least 0.8)\n",
        ms["whole_export"] / ms["whole_export_30_days"]);
    // A month's marks cover much more of the map, which alone makes a frame slower to compress.
    if (ms.count("compression") && ms.count("compression_30_days")) {
      std::printf("  compressing a month's picture alone runs at %.2f times an hour's\n",
                  ms["compression"] / ms["compression_30_days"]);
    }
  }
  // Strikes coloured by age move between four bands as they age, besides entering and leaving.
  std::printf("\nStrikes coloured by age, 1 worker (target: at least 0.9 times the plain rate)\n");
  for (const auto& [what, plain, aged] :
       {std::tuple{"60 minutes' persistence", "whole_export", "whole_export_age"},
        {"1 day's persistence", "whole_export_1_day", "whole_export_1_day_age"}}) {
    if (!ms.count(plain) || !ms.count(aged)) continue;
    std::printf("  %s: %.0f frames per second plain, %.0f coloured by age: %.2f times\n", what,
                1000.0 * frames / ms[plain], 1000.0 * frames / ms[aged], ms[plain] / ms[aged]);
  }
  const double month = animark::PeakMemoryMib(30);
  const double hour = animark::PeakMemoryMib(1);
  std::printf(
      "\nPeak resident memory, every worker busy: 30-day export %.1f MiB, 1-day export %.1f MiB "
      "(target: under 16)\n",
      month, hour);
  return 0;
}
