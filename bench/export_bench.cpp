// A whole export as a scheduled job makes it: 24 hours at one frame per minute of data (1441
// frames), a background map, rings and labels, and two dense day files of more than 100,000
// strikes each. Prints frames per second and the time per frame, split into the strike pass
// (reading the day files, marking, unmarking), the compression, and the rest.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "export/animation_exporter.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "gif/lzw_encoder.h"
#include "maps/background_map.h"
#include "samplegen/day_file.h"
#include "samplegen/world_map.h"

#include "fastest_run_reporter.h"

namespace animark {
namespace {

namespace fs = std::filesystem;

constexpr int kStrikesPerDay = 120000;

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
    settings = DefaultExportSettings(DateTime::FromParts(2026, 7, 15, 0, 0, 0));
    settings.periodEnd = settings.periodStart.AddSeconds(24 * 3600);
    settings.rateMinutesPerSecond = 1;
    settings.pauseBetweenFrames = 100;
    settings.persistenceMinutes = 60;
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

void WholeExport(benchmark::State& state) {
  Scene& scene = TheScene();
  auto exporter = std::make_unique<AnimationExporter>();
  SilentMessages messages;
  NoProgressWindow progress;
  for (auto _ : state) {
    exporter->ExportAnimation(scene.settings, Discard(), messages, progress);
  }
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// The picture an export leaves without its marks: map, rings, labels and text.
FrameBuffer StaticPicture(const Scene& scene) {
  auto exporter = std::make_unique<AnimationExporter>();
  SilentMessages messages;
  NoProgressWindow progress;
  exporter->ExportAnimation(scene.settings, Discard(), messages, progress);
  return exporter->LastPicture();
}

// Every frame's strike pass over the exported picture: read, mark, unmark.
void StrikePass(benchmark::State& state) {
  Scene& scene = TheScene();
  FrameBuffer picture = StaticPicture(scene);
  for (auto _ : state) {
    StrikeDataReader dayFiles = DayFilesOf(scene.settings);
    for (int i = 1; i <= scene.frameCount; ++i) {
      MarkStrikes(picture, scene.settings, dayFiles, FrameMoment(scene.settings, i));
      picture.ClearStrikeMarks();
    }
  }
  state.SetItemsProcessed(state.iterations() * scene.frameCount);
}

// Every frame's compression of the exported picture with a busy hour's marks on it.
void Compression(benchmark::State& state) {
  Scene& scene = TheScene();
  FrameBuffer picture = StaticPicture(scene);
  StrikeDataReader dayFiles = DayFilesOf(scene.settings);
  MarkStrikes(picture, scene.settings, dayFiles, FrameMoment(scene.settings, scene.frameCount / 2));
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

}  // namespace
}  // namespace animark

int main(int argc, char** argv) {
  for (const auto& [name, function] : {std::pair{"whole_export", &animark::WholeExport},
                                       std::pair{"strike_pass", &animark::StrikePass},
                                       std::pair{"compression", &animark::Compression}}) {
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ComputeStatistics("min", animark::Fastest);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  animark::FastestRunReporter reporter(animark::FastestRunReporter::Clock::Wall);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto& ms = reporter.milliseconds;
  const double frames = animark::TheScene().frameCount;
  if (!ms.count("whole_export")) return 0;
  const double total = ms["whole_export"] / frames;
  std::printf("\nWhole export: %.0f frames in %.1f ms: %.0f frames per second, %.3f ms per frame\n",
              frames, ms["whole_export"], 1000.0 / total, total);
  if (ms.count("strike_pass") && ms.count("compression")) {
    const double strikes = ms["strike_pass"] / frames, encoding = ms["compression"] / frames;
    std::printf(
        "  strike pass %.3f ms (%.0f%%), compression %.3f ms (%.0f%%), rest %.3f ms (%.0f%%)\n",
        strikes, 100 * strikes / total, encoding, 100 * encoding / total,
        total - strikes - encoding, 100 * (total - strikes - encoding) / total);
  }
  std::printf("  target: at least 500 frames per second\n");
  return 0;
}
