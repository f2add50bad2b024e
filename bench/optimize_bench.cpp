// The small stream (--optimize) of the sample storm against what a general GIF optimizer makes of
// the full stream, measured in the same run: for three exports, the sizes (and their ratio, where
// gifsicle is installed), where the small stream's bytes go, the export times of both streams
// (fastest of several runs) and their ratio. Then the peak resident memory of a 30-day and a
// 1-hour small export, each in a process of its own.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "export/animation_exporter.h"
#include "export/frame_plan.h"
#include "samplegen/sample_set.h"

namespace animark {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 5;

class SilentMessages : public UserMessages {
 public:
  MessageAnswer Show(std::string_view, MessageIcon) override { return MessageAnswer::Ok; }
};

struct Case {
  const char* what;
  RangeIndex range;
  bool map;
  std::int32_t rings;
  bool labelsAndCrosshairs;
  DateTime start, end;
  std::int32_t rate, pause;
};

ExportSettings SettingsOf(const Case& c, const fs::path& sample, bool optimize) {
  ExportSettings settings = DefaultExportSettings(c.start);
  settings.dataDirectory = sample.string();
  if (c.map) {
    settings.mapFiles[static_cast<std::size_t>(c.range)] =
        (sample / ("map" + std::to_string(100 * (c.range + 1)) + ".bmp")).string();
  }
  settings.zoomRange = c.range;
  settings.ringCounts[static_cast<std::size_t>(c.range)] = c.rings;
  settings.labelRings = c.labelsAndCrosshairs ? 1 : 0;
  settings.crosshairs = c.labelsAndCrosshairs ? 1 : 0;
  settings.periodStart = c.start;
  settings.periodEnd = c.end;
  settings.rateMinutesPerSecond = c.rate;
  settings.pauseBetweenFrames = c.pause;
  settings.optimizeForWeb = optimize ? 1 : 0;
  return settings;
}

// Exports into `path` kRuns times; the fastest run's seconds.
double TimedExport(const ExportSettings& settings, const fs::path& path) {
  auto exporter = std::make_unique<AnimationExporter>();
  SilentMessages messages;
  NoProgressWindow progress;
  double fastest = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    exporter->ExportAnimation(settings, OutputFile::Open(path.string()), messages, progress);
    fastest = std::min(
        fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return fastest;
}

// Where the bytes of a stream go: its head (screen, table, extensions), the first frame, the
// other frames' heads (control block, descriptor, code size, sub-block lengths and terminators)
// and their image data.
struct Split {
  std::size_t head = 0, firstFrame = 0, frameHeads = 0, rectangles = 0;
};

Split SplitOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  const auto skipSubBlocks = [&b](std::size_t at) {
    while (b[at] != 0) at += b[at] + 1u;
    return at + 1;
  };
  Split split;
  std::size_t at = 13 + ((b[10] & 0x80) ? 3u * (2u << (b[10] & 7)) : 0u);
  while (b[at] == 0x21 && b[at + 1] != 0xF9) at = skipSubBlocks(at + 2);  // comments, looping
  split.head = at;
  while (at < b.size() && b[at] != 0x3B) {
    const std::size_t frameStart = at;
    if (b[at] == 0x21) at = skipSubBlocks(at + 2);  // the graphic control block
    at += 11;                                       // descriptor and code size
    std::size_t data = 0;
    for (std::size_t block = at; b[block] != 0; block += b[block] + 1u) data += b[block];
    at = skipSubBlocks(at);
    if (frameStart == split.head) {
      split.firstFrame = at - frameStart;
    } else {
      split.rectangles += data;
      split.frameHeads += at - frameStart - data;
    }
  }
  return split;
}

bool HaveGifsicle() {
  return std::system("gifsicle --version >/dev/null 2>&1") == 0;
}

// Peak resident memory, in KiB, of animark-cli exporting `days` of the sample set with --optimize.
long PeakMemoryKib(const fs::path& sample, const std::string& from, const std::string& to,
                   const fs::path& out) {
  const pid_t child = ::fork();
  if (child == 0) {
    const std::string data = sample.string();
    const std::string map = "100=" + (sample / "map100.bmp").string();
    ::execl(ANIMARK_CLI, ANIMARK_CLI, "export", "-q", "--force", "--optimize", "--data-dir",
            data.c_str(), "--map", map.c_str(), "--rings", "100=4", "--from", from.c_str(), "--to",
            to.c_str(), "--rate", "10", "--pause", "10", "-o", out.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

int Run() {
  char pattern[] = "/tmp/animark-optimize-bench-XXXXXX";
  const fs::path folder = ::mkdtemp(pattern);
  const fs::path sample = folder / "sample";
  std::string error;
  if (!samplegen::WriteSampleSet(sample, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const auto at = [](int day, int hour) { return DateTime::FromParts(2026, 7, day, hour, 0, 0); };
  const Case cases[] = {
      {"2 h, 200-mile map, 4 labelled rings, crosshairs, rate 5, pause 20", 1, true, 4, true,
       at(14, 22), at(15, 0), 5, 20},
      {"12 h, 100-mile map, 4 rings, rate 10, pause 10", 0, true, 4, false, at(14, 17), at(15, 5),
       10, 10},
      {"12 h, no map, 300-mile range, 3 rings, rate 10, pause 10", 2, false, 3, false, at(14, 17),
       at(15, 5), 10, 10},
  };
  const bool gifsicle = HaveGifsicle();
  if (!gifsicle) std::printf("gifsicle is not installed: its sizes are left out\n");
  std::printf("%-66s %6s %10s %10s %10s %7s | %8s %8s %6s\n", "export", "frames", "full",
              "gifsicle", "optimized", "ratio", "full s", "optim. s", "ratio");
  for (const Case& c : cases) {
    const fs::path full = folder / "full.gif";
    const fs::path small = folder / "small.gif";
    const ExportSettings fullSettings = SettingsOf(c, sample, false);
    const double fullSeconds = TimedExport(fullSettings, full);
    const double smallSeconds = TimedExport(SettingsOf(c, sample, true), small);
    const auto fullBytes = fs::file_size(full);
    const auto smallBytes = fs::file_size(small);
    std::string gifsicleBytes = "-";
    std::string ratio = "-";
    double gifsicleSeconds = 0;
    if (gifsicle) {
      const fs::path optimized = folder / "gifsicle.gif";
      const auto start = std::chrono::steady_clock::now();
      const std::string command =
          "gifsicle -O3 '" + full.string() + "' -o '" + optimized.string() + "' 2>/dev/null";
      if (std::system(command.c_str()) == 0) {
        gifsicleSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto bytes = fs::file_size(optimized);
        gifsicleBytes = std::to_string(bytes);
        char text[16];
        std::snprintf(text, sizeof text, "%.4f", static_cast<double>(smallBytes) / bytes);
        ratio = text;
      }
    }
    std::printf("%-66s %6d %10ju %10s %10ju %7s | %8.3f %8.3f %6.2f\n", c.what,
                PlanFrames(fullSettings).frameCount, static_cast<std::uintmax_t>(fullBytes),
                gifsicleBytes.c_str(), static_cast<std::uintmax_t>(smallBytes), ratio.c_str(),
                fullSeconds, smallSeconds, smallSeconds / fullSeconds);
    const Split split = SplitOf(small);
    std::printf(
        "    optimized: head %zu, first frame %zu, other frames' heads %zu, rectangles %zu"
        " bytes%s\n",
        split.head, split.firstFrame, split.frameHeads, split.rectangles,
        gifsicle ? (", gifsicle -O3 took " + std::to_string(gifsicleSeconds) + " s").c_str() : "");
  }

  const long month =
      PeakMemoryKib(sample, "2026-06-16 00:00", "2026-07-16 00:00", folder / "m.gif");
  const long hour = PeakMemoryKib(sample, "2026-07-14 23:00", "2026-07-15 00:00", folder / "h.gif");
  std::printf(
      "peak resident memory of a small export: 30 days %ld KiB, 1 hour %ld KiB, "
      "difference %ld KiB\n",
      month, hour, month - hour);
  fs::remove_all(folder);
  return 0;
}

}  // namespace
}  // namespace animark

int main() {
  return animark::Run();
}
