#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "samplegen/day_file.h"
#include "samplegen/sample_set.h"
#include "samplegen/storm.h"
#include "samplegen/world_map.h"
#include "support/test_support.h"

namespace animark::samplegen {
namespace {

using ::animark::testing::ReadFileBytes;
using ::animark::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t LittleEndian(const Bytes& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

TEST(SampleDayFileTest, NamesFollowTheCalendar) {
  const struct {
    CalendarDate date;
    const char* name;
    CalendarDate next;
  } cases[] = {
      {{2026, 7, 14}, "071426.dat", {2026, 7, 15}}, {{2026, 7, 31}, "073126.dat", {2026, 8, 1}},
      {{2001, 12, 31}, "123101.dat", {2002, 1, 1}}, {{2024, 2, 28}, "022824.dat", {2024, 2, 29}},
      {{2000, 2, 29}, "022900.dat", {2000, 3, 1}},  {{2100, 2, 28}, "022800.dat", {2100, 3, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayFileName(c.date), c.name);
    EXPECT_EQ(DayAfter(c.date), c.next) << c.name;
  }
}

TEST(SampleDayFileTest, RecordsFillWholeBlocksOf170AfterTheHeader) {
  const struct {
    std::size_t records;
    std::size_t fileBytes;
  } sizes[] = {{0, 1024}, {1, 2048}, {170, 2048}, {171, 3072}};
  for (const auto& size : sizes) {
    const std::vector<DayRecord> records(size.records, DayRecord{7, 1, 1});
    EXPECT_EQ(EncodeDayFile({2026, 7, 14}, records).size(), size.fileBytes) << size.records;
  }

  std::vector<DayRecord> records;
  for (int i = 0; i < 171; ++i) {
    records.push_back({static_cast<std::uint16_t>(40000 + i), static_cast<std::int16_t>(-2 - i),
                       static_cast<std::int16_t>(3 + i)});
  }
  const Bytes file = EncodeDayFile({2026, 7, 14}, records);
  // Little-endian fields, negative offsets in two's complement.
  EXPECT_EQ(Bytes(file.begin() + 1024, file.begin() + 1030),
            (Bytes{0x40, 0x9C, 0xFE, 0xFF, 0x03, 0x00}));
  // Slot 169 ends the first block, its 4-byte tail is empty, record 170 opens the second.
  EXPECT_EQ(LittleEndian(file, 1024 + 169 * 6, 2), 40169u);
  EXPECT_EQ(LittleEndian(file, 2044, 4), 0u);
  EXPECT_EQ(LittleEndian(file, 2048, 2), 40170u);
  EXPECT_EQ(static_cast<std::int16_t>(LittleEndian(file, 2050, 2)), -172);
  EXPECT_TRUE(std::all_of(file.begin() + 2054, file.end(), [](std::uint8_t b) { return b == 0; }));
}

// How many of `records` a range's strike area (columns 0..492, rows 0..479) shows.
int ShownAtRange(const std::vector<DayRecord>& records, int range) {
  const int d = 2560 * (range + 1);
  return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const DayRecord& r) {
    const int x = 246 + r.offsetX * 246 / d;
    const int y = 240 + r.offsetY * 240 / d;
    return x >= 0 && x <= 492 && y >= 0 && y <= 479;
  }));
}

TEST(SampleStormTest, RunsAcrossMidnightInTimeOrder) {
  const StormDays storm = GenerateStorm(kSampleStormSeed);
  const std::vector<DayRecord>& evening = storm[0];
  const std::vector<DayRecord>& night = storm[1];
  ASSERT_FALSE(evening.empty());
  ASSERT_FALSE(night.empty());

  for (const std::vector<DayRecord>& day : storm) {
    EXPECT_TRUE(std::is_sorted(day.begin(), day.end(), [](const DayRecord& a, const DayRecord& b) {
      return a.timeCode < b.timeCode;
    }));
    EXPECT_LT(day.back().timeCode, 43200);
    EXPECT_TRUE(std::none_of(day.begin(), day.end(), [](const DayRecord& r) {
      return r.timeCode == 0 && r.offsetX == 0 && r.offsetY == 0;
    }));
  }
  // Active in the last and in the first minutes around midnight, so a window across it needs both
  // files.
  EXPECT_GE(evening.back().timeCode, 43200 - 30);
  EXPECT_LT(night.front().timeCode, 30);

  const std::size_t total = evening.size() + night.size();
  EXPECT_GE(total, 5000u);
  EXPECT_LE(total, 20000u);

  std::vector<DayRecord> all = evening;
  all.insert(all.end(), night.begin(), night.end());
  for (int range = 0; range < 3; ++range) {
    EXPECT_GT(ShownAtRange(all, range), static_cast<int>(total) / 10) << "range " << range;
  }
  EXPECT_LT(ShownAtRange(all, 0), static_cast<int>(total) / 2) << "most strikes lie beyond 100 mi";
}

TEST(SampleMapTest, MapsAreFourBitBmpsThatLeaveTheOverlayColoursAndTextColumnFree) {
  for (int range = 0; range < kMapRangeCount; ++range) {
    SCOPED_TRACE(MapFileName(range));
    const Bytes file = MapBmpBytes(range, kSampleWorldSeed);
    ASSERT_EQ(file.size(), 153718u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LittleEndian(file, 10, 4), 118u);
    EXPECT_EQ(LittleEndian(file, 14, 4), 40u);
    EXPECT_EQ(LittleEndian(file, 18, 4), 640u);
    EXPECT_EQ(LittleEndian(file, 22, 4), 480u);
    EXPECT_EQ(LittleEndian(file, 28, 2), 4u);
    EXPECT_EQ(LittleEndian(file, 30, 4), 0u);

    // Rows bottom first, the left pixel of a pair in the high four bits.
    const MapPixels pixels = DrawMap(range, kSampleWorldSeed);
    std::set<int> coloursUsed;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const std::uint8_t byte = file[118 + static_cast<std::size_t>(479 - y) * 320 + x / 2];
        const int colour = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
        ASSERT_EQ(colour, pixels[static_cast<std::size_t>(y) * 640 + x]) << x << "," << y;
        ASSERT_LE(colour, kLastMapColour) << x << "," << y;
        if (x >= kTextColumnStart) {
          ASSERT_EQ(colour, 0) << x << "," << y;
        }
        coloursUsed.insert(colour);
      }
    }
    EXPECT_GE(coloursUsed.size(), 8u) << "land, water, roads and towns all show";
  }
}

std::set<std::string> SampleFileNames(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".dat" || extension == ".bmp") names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(SampleSetTest, CommittedSampleIsWhatTheGeneratorWrites) {
  const std::filesystem::path committed = ANIMARK_SAMPLE_DIR;
  TempDir temp;
  const std::filesystem::path written = temp / "new" / "sample";
  std::string error;
  ASSERT_TRUE(WriteSampleSet(written, &error)) << error;

  const std::set<std::string> names = SampleFileNames(written);
  EXPECT_EQ(names, (std::set<std::string>{"071426.dat", "071526.dat", "map100.bmp", "map200.bmp",
                                          "map300.bmp"}));
  EXPECT_EQ(SampleFileNames(committed), names);
  for (const std::string& name : names) {
    EXPECT_TRUE(ReadFileBytes(written / name) == ReadFileBytes(committed / name))
        << name << " differs; run tools/samplegen/make-sample.sh";
  }
}

TEST(SampleSetTest, ReportsADirectoryItCannotCreate) {
  TempDir temp;
  ::animark::testing::WriteFileBytes(temp / "plain-file", {1});
  std::string error;
  EXPECT_FALSE(WriteSampleSet(temp / "plain-file" / "sample", &error));
  EXPECT_NE(error.find("plain-file"), std::string::npos) << error;
}

}  // namespace
}  // namespace animark::samplegen
