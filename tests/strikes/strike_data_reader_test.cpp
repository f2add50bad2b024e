#include "strikes/strike_data_reader.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "support/day_files.h"
#include "support/test_support.h"

namespace animark {
namespace {

using testing::DayFileBytes;
using testing::TempDir;
using testing::WriteDayFile;
using testing::WriteFileBytes;

std::vector<StrikeRecord> Scan(const std::filesystem::path& path, std::int32_t lowerCode,
                               std::optional<std::int32_t> upperCode) {
  std::vector<StrikeRecord> visited;
  StrikeDataReader::ScanDayFile(path.string(), lowerCode, upperCode,
                                [&](const StrikeRecord& record) { visited.push_back(record); });
  return visited;
}

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return DateTime::FromParts(year, month, day, hour, minute, second);
}

TEST(DayFilePathTest, BuildsThePathOfEachStyle) {
  struct Case {
    PathStyle style;
    const char* directory;
    DateTime day;
    const char* path;
  };
  const DateTime july15 = At(2001, 7, 15, 18, 30);
  const Case cases[] = {
      {PathStyle::Windows, "C:\\Data", july15, "c:\\data\\071501.dat"},
      {PathStyle::Windows, "c:", july15, "c:\\071501.dat"},
      {PathStyle::Windows, "c:\\data\\", july15, "c:\\data\\071501.dat"},
      {PathStyle::Windows, "d:\\strikes\\\\YEAR", july15, "d:\\strikes\\2001\\071501.dat"},
      {PathStyle::Windows, "d:\\strikes\\\\year", At(2002, 1, 1), "d:\\strikes\\2002\\010102.dat"},
      {PathStyle::Windows, "", july15, "071501.dat"},
      {PathStyle::Windows, "D:\\x", At(2000, 12, 31), "d:\\x\\123100.dat"},
      // A placeholder not at the end still costs the last five characters.
      {PathStyle::Windows, "d:\\\\year\\abc", july15, "d:\\\\yea2001\\071501.dat"},
      {PathStyle::Posix, "/srv/Strikes", july15, "/srv/Strikes/071501.dat"},
      {PathStyle::Posix, "/srv/Strikes/", july15, "/srv/Strikes/071501.dat"},
      {PathStyle::Posix, "", july15, "071501.dat"},
      {PathStyle::Posix, "/srv/strikes/\\\\YEAR", july15, "/srv/strikes/2001/071501.dat"},
      {PathStyle::Posix, "/srv/strikes\\\\year", At(2002, 1, 1), "/srv/strikes/2002/010102.dat"},
      {PathStyle::Posix, "\\\\Year", july15, "2001/071501.dat"},
      {PathStyle::Posix, "/srv/\\\\year/x", july15, "/srv/\\\\year/x/071501.dat"},
      {PathStyle::Posix, "data", At(2000, 12, 31), "data/123100.dat"},
      {PathStyle::Posix, "/srv/strikes/%Y", july15, "/srv/strikes/2001/071501.dat"},
      {PathStyle::Posix, "/srv/%Y/x%Y", At(2002, 1, 1), "/srv/2002/x2002/010102.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    EXPECT_EQ(StrikeDataReader::DayFilePath(c.day, c.directory, c.style), c.path);
  }
}

// Slots: a strike at midnight away from the detector, an empty slot, three strikes, and one of
// all-one bits (code 65535, past the day's end, so never a strike) in the second block.
class ScanDayFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<StrikeRecord> slots = {{0, 5, 0}, {}, {100, 1, -1}, {200, -300, 400}, {300, 7, 7}};
    slots.resize(testing::kSlotsPerBlock + 1);
    slots.back() = {65535, -1, -1};
    WriteDayFile(path_, slots);
  }
  TempDir dir_;
  std::filesystem::path path_ = dir_ / "071501.dat";
};

TEST_F(ScanDayFileTest, VisitsNonEmptyRecordsWithinInclusiveBounds) {
  struct Case {
    std::int32_t lower;
    std::optional<std::int32_t> upper;
    std::vector<std::uint16_t> codes;
  };
  const Case cases[] = {
      {-1, std::nullopt, {0, 100, 200, 300}},
      {-100000, 100, {0, 100}},
      {200, 300, {200, 300}},
      {201, 299, {}},
      {300, std::nullopt, {300}},
      {0, 43199, {0, 100, 200, 300}},
      {0, 65535, {0, 100, 200, 300}},
      {300, 200, {}},
      {0, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lower << ".." << c.upper.value_or(-999));
    std::vector<std::uint16_t> codes;
    for (const StrikeRecord& record : Scan(path_, c.lower, c.upper))
      codes.push_back(record.timeCode);
    EXPECT_EQ(codes, c.codes);
  }
  const std::vector<StrikeRecord> all = Scan(path_, -1, std::nullopt);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[2], (StrikeRecord{200, -300, 400}));
}

TEST_F(ScanDayFileTest, FindsTheFileWhateverTheLetterCaseOfItsName) {
  const std::filesystem::path upper = dir_ / "071501.DAT";
  std::filesystem::rename(path_, upper);
  EXPECT_EQ(Scan(path_, 100, 100).size(), 1u);
  std::filesystem::rename(upper, dir_ / "071501.Dat");
  EXPECT_EQ(Scan(path_, 100, 100).size(), 1u);
  EXPECT_TRUE(Scan(dir_ / "071601.dat", -1, std::nullopt).empty());
  EXPECT_TRUE(Scan(dir_ / "missing" / "071501.dat", -1, std::nullopt).empty());
}

TEST(ScanDayFileShapesTest, ReadsTheWholeRecordsBeforeTheEndOfAnyFile) {
  // Two full blocks of strikes coded 1, 2, 3, ...
  std::vector<StrikeRecord> slots;
  for (int i = 1; i <= 2 * testing::kSlotsPerBlock; ++i) {
    slots.push_back({static_cast<std::uint16_t>(i), 1, 1});
  }
  const std::vector<std::uint8_t> full = DayFileBytes(slots);
  constexpr std::size_t kSecondBlock = 2048;
  struct Case {
    const char* what;
    std::size_t length;
    std::size_t strikes;
  };
  const Case cases[] = {
      {"empty", 0, 0},
      {"shorter than the header", 1023, 0},
      {"header only", 1024, 0},
      {"cut inside the first code", 1025, 0},
      {"cut inside the first offsets", 1024 + 5, 0},
      {"one whole record", 1024 + 6, 1},
      {"first block without its tail", 1024 + 1020, 170},
      {"first block cut inside its tail", 1024 + 1022, 170},
      {"cut inside a code", kSecondBlock + 3 * 6 + 1, 173},
      {"cut inside offsets", kSecondBlock + 3 * 6 + 4, 173},
      {"cut after a record", kSecondBlock + 3 * 6, 173},
      {"complete", full.size(), 340},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(dir / "day.dat", {full.begin(), full.begin() + static_cast<long>(c.length)});
    const std::vector<StrikeRecord> visited = Scan(dir / "day.dat", -1, std::nullopt);
    ASSERT_EQ(visited.size(), c.strikes);
    for (std::size_t i = 0; i < visited.size(); ++i) {
      ASSERT_EQ(visited[i], slots[i]) << "record " << i;
    }
  }
}

TEST(ScanDayFileShapesTest, KeepsTheBlockLayoutAcrossLargeFiles) {
  // One strike in the last slot of each of 300 blocks: the file is larger than any sensible
  // read buffer, and a slip by a few bytes anywhere would read filler as strikes.
  std::vector<StrikeRecord> slots(300 * testing::kSlotsPerBlock);
  for (int block = 0; block < 300; ++block) {
    slots[(block + 1) * testing::kSlotsPerBlock - 1] = {static_cast<std::uint16_t>(block), 2, 3};
  }
  TempDir dir;
  std::vector<std::uint8_t> bytes = DayFileBytes(slots);
  bytes.resize(bytes.size() - 4 - 2);  // the last block cut inside its last record
  WriteFileBytes(dir / "day.dat", bytes);
  const std::vector<StrikeRecord> visited = Scan(dir / "day.dat", -1, std::nullopt);
  ASSERT_EQ(visited.size(), 299u);
  for (std::size_t i = 0; i < visited.size(); ++i) {
    ASSERT_EQ(visited[i], (StrikeRecord{static_cast<std::uint16_t>(i), 2, 3}));
  }
}

TEST(ScanDayFileShapesTest, ForeignContentIsReadAsStrikesAndSpecialFilesAsNothing) {
  TempDir dir;
  WriteFileBytes(dir / "ones.dat", std::vector<std::uint8_t>(3 * 1024, 0x01));
  const std::vector<StrikeRecord> ones = Scan(dir / "ones.dat", 0, std::nullopt);
  ASSERT_EQ(ones.size(), 2u * testing::kSlotsPerBlock);
  EXPECT_EQ(ones.front(), (StrikeRecord{257, 257, 257}));
  WriteFileBytes(dir / "high.dat", std::vector<std::uint8_t>(3 * 1024, 0xFF));
  EXPECT_TRUE(Scan(dir / "high.dat", 0, std::nullopt).empty());

  // None of these may block or run for ever: each is refused on the opened file. (Pipes and
  // devices on Windows have names of their own, which the platform tests try.)
  std::filesystem::create_directory(dir / "071501.dat");
  struct Case {
    const char* name;
    const char* reason;
  };
  std::vector<Case> cases = {{"071501.dat", "a folder, not a regular file"},
                             {"071901.dat", "No such file or directory"}};
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "071601.dat").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "071701.dat");
  std::filesystem::create_symlink("/dev/urandom", dir / "071801.dat");
  cases.insert(cases.end(), {{"071601.dat", "a named pipe, not a regular file"},
                             {"071701.dat", "a device, not a regular file"},
                             {"071801.dat", "a device, not a regular file"}});
#endif
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Scan(dir / c.name, -1, std::nullopt).empty());
    std::string reason;
    EXPECT_FALSE(StrikeDataReader::OpenDayFile((dir / c.name).string(), &reason));
    EXPECT_EQ(reason, c.reason);
  }
}

// Each file's strikes carry the file's month and day in offsetX, so a visit names its file.
struct Visit {
  int monthDay;
  std::uint16_t timeCode;
  friend bool operator==(const Visit&, const Visit&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Visit& visit) {
    return out << visit.monthDay << "@" << visit.timeCode;
  }
};

void WriteTaggedDayFile(const std::filesystem::path& path, int monthDay,
                        const std::vector<std::uint16_t>& codes) {
  std::vector<StrikeRecord> slots;
  for (std::uint16_t code : codes) slots.push_back({code, static_cast<std::int16_t>(monthDay), 0});
  WriteDayFile(path, slots);
}

std::vector<Visit> ReadDay(StrikeDataReader& reader, const DateTime& day) {
  std::vector<Visit> visits;
  reader.ReadDay(day, [&](const StrikeRecord& record) {
    visits.push_back({record.offsetX, record.timeCode});
  });
  return visits;
}

std::vector<Visit> ReadDay(const DateTime& day, const std::string& directory) {
  StrikeDataReader reader(directory, PathStyle::Posix);
  return ReadDay(reader, day);
}

TEST(ReadDayTest, ReadsTheWholeDayOfItsOwnFileOnly) {
  TempDir dir;
  WriteTaggedDayFile(dir / "071401.dat", 714, {1, 43199});
  // 43200 lies past the day's end: no real time, so no strike.
  WriteTaggedDayFile(dir / "071501.dat", 715, {21600, 0, 43199, 43200});
  EXPECT_EQ(ReadDay(At(2001, 7, 15, 12, 0), dir.Path().string()),
            (std::vector<Visit>{{715, 21600}, {715, 0}, {715, 43199}}));
  EXPECT_TRUE(ReadDay(At(2001, 7, 16), dir.Path().string()).empty());
  EXPECT_TRUE(ReadDay(At(2001, 7, 15), (dir / "missing").string()).empty());
}

TEST(ReadDayTest, FollowsPerYearDirectoriesAcrossNewYear) {
  TempDir dir;
  WriteTaggedDayFile(dir / "2001" / "123101.dat", 1231, {42600});
  WriteTaggedDayFile(dir / "2002" / "010102.dat", 101, {300});
  for (const std::string& directory :
       {dir.Path().string() + "\\\\year", dir.Path().string() + "\\\\YEAR"}) {
    SCOPED_TRACE(directory);
    EXPECT_EQ(ReadDay(At(2001, 12, 31), directory), (std::vector<Visit>{{1231, 42600}}));
    EXPECT_EQ(ReadDay(At(2002, 1, 1), directory), (std::vector<Visit>{{101, 300}}));
  }
}

// A reader looks each day's file up once: a day without a file is not looked for again (that
// lists the folder), while a file once found is read afresh, as a detector may still be adding
// to it.
TEST(ReadDayTest, LooksEachDayUpOnce) {
  TempDir dir;
  WriteTaggedDayFile(dir / "071501.DAT", 715, {100});
  StrikeDataReader reader(dir.Path().string(), PathStyle::Posix);
  const DateTime july15 = At(2001, 7, 15);
  const DateTime july14 = At(2001, 7, 14);
  EXPECT_EQ(ReadDay(reader, july15), (std::vector<Visit>{{715, 100}}));
  EXPECT_TRUE(ReadDay(reader, july14).empty());

  WriteTaggedDayFile(dir / "071501.DAT", 715, {100, 200});
  WriteTaggedDayFile(dir / "071401.dat", 714, {43000});
  EXPECT_EQ(ReadDay(reader, july15), (std::vector<Visit>{{715, 100}, {715, 200}}));
  EXPECT_TRUE(ReadDay(reader, july14).empty());
  EXPECT_EQ(ReadDay(july14, dir.Path().string()), (std::vector<Visit>{{714, 43000}}));
}

}  // namespace
}  // namespace animark
