// Frames compressed by several workers at once must give the stream one worker gives, byte for
// byte, for the full stream and the small one alike, whatever the timing of the threads.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "export/animation_exporter.h"
#include "support/day_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

const std::string kSample = std::string(ANIMARK_SOURCE_DIR) + "/data/sample";

std::vector<std::uint8_t> Export(const ExportSettings& settings, int workers,
                                 const std::filesystem::path& path) {
  AnimationExporter exporter(workers);
  testing::RecordingMessages messages;
  NoProgressWindow progress;
  EXPECT_EQ(exporter.ExportAnimation(settings, OutputFile::Open(path.string()), messages, progress),
            ExportOutcome::Written);
  return testing::ReadFileBytes(path);
}

// Three days round New Year, with strikes every few seconds; many of them share their cell with
// a strike a little earlier or later.
void WriteNewYearDays(const std::filesystem::path& folder) {
  std::mt19937 random(5);
  for (const char* name : {"123025.dat", "123125.dat", "010126.dat"}) {
    std::vector<StrikeRecord> strikes;
    for (std::uint16_t code = 1; code < 43200; code += 1 + random() % 20) {
      const auto near = [&random] {
        return static_cast<std::int16_t>(static_cast<int>(random() % 400) - 200);
      };
      strikes.push_back({code, static_cast<std::int16_t>(near() * 10), near()});
    }
    testing::WriteDayFile(folder / name, strikes);
  }
}

TEST(ParallelExportTest, AnyNumberOfWorkersGivesTheSameBytes) {
  testing::TempDir dir;
  WriteNewYearDays(dir.Path());
  const auto at = [](int year, int month, int day, int hour) {
    return DateTime::FromParts(year, month, day, hour, 0, 0);
  };
  struct Case {
    const char* what;
    std::string data;
    DateTime start, end;
    std::int32_t persistence, rate, pause;
    bool map;
  };
  const Case cases[] = {
      {"the sample storm with its map", kSample, at(2026, 7, 14, 22), at(2026, 7, 15, 1), 30, 5, 20,
       true},
      {"across midnight and the year, shared cells", dir.Path().string(), at(2025, 12, 31, 20),
       at(2026, 1, 1, 4), 90, 10, 10, false},
      {"a window of two days", dir.Path().string(), at(2026, 1, 1, 0), at(2026, 1, 1, 8), 2880, 60,
       10, false},
  };
  for (const Case& c : cases) {
    for (const auto& [optimize, ageColours] :
         {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
      SCOPED_TRACE(::testing::Message() << c.what << (optimize ? ", optimized" : "")
                                        << (ageColours ? ", coloured by age" : ""));
      ExportSettings settings = DefaultExportSettings(c.start);
      settings.dataDirectory = c.data;
      if (c.map) settings.mapFiles[0] = kSample + "/map100.bmp";
      settings.ringCounts[0] = 3;
      settings.periodStart = c.start;
      settings.periodEnd = c.end;
      settings.persistenceMinutes = c.persistence;
      settings.rateMinutesPerSecond = c.rate;
      settings.pauseBetweenFrames = c.pause;
      settings.optimizeForWeb = optimize ? 1 : 0;
      settings.ageColours = ageColours ? 1 : 0;
      const auto one = Export(settings, 1, dir / "one.gif");
      ASSERT_FALSE(one.empty());
      for (const int workers : {2, 7}) {
        EXPECT_TRUE(Export(settings, workers, dir / "many.gif") == one) << workers << " workers";
      }
    }
  }
}

// A stopped export leaves the workers' frames behind without waiting for them to be written.
TEST(ParallelExportTest, CancelAndWriteFailuresStopEveryWorker) {
  ExportSettings settings = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 22, 0, 0));
  settings.dataDirectory = kSample;
  settings.periodEnd = DateTime::FromParts(2026, 7, 15, 2, 0, 0);
  settings.rateMinutesPerSecond = 1;
  AnimationExporter exporter(4);
  testing::RecordingMessages messages;
  struct StopAfterTen final : public testing::RecordingProgress {
    bool CancelRequested() override { return std::ranges::count(events, "repaint") >= 10; }
  } progress;
  testing::TempDir dir;
  EXPECT_EQ(exporter.ExportAnimation(settings, OutputFile::Open((dir / "a.gif").string()), messages,
                                     progress),
            ExportOutcome::Cancelled);
#ifndef _WIN32
  NoProgressWindow quiet;
  EXPECT_EQ(exporter.ExportAnimation(settings, OutputFile(std::fopen("/dev/full", "wb")), messages,
                                     quiet),
            ExportOutcome::NotWritten);
#endif
}

}  // namespace
}  // namespace animark
