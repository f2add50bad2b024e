// The day-file reader and the strike window over one or two day files of any content: a window
// must mark exactly the whole, non-empty records of the files whose time codes lie in it; a plain
// scan must keep to its own bounds.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/strike_pass.h"
#include "export/strike_window.h"
#include "fuzz_support.h"
#include "render/strike_plotter.h"
#include "strikes/strike_data_reader.h"

namespace animark {
namespace {

using fuzz::InputReader;

constexpr std::size_t kHeaderBytes = 1024;
constexpr std::size_t kBlockBytes = 1024;
constexpr std::size_t kSlotsPerBlock = 170;
// Files are repeated up to this size, so that reads spanning more than one buffer are covered.
constexpr std::size_t kMaxFileBytes = 200 * 1024;

// The records of a day file read the simple way: after the header, blocks of 170 six-byte slots
// and 4 filler bytes; only slots whose six bytes are all in the file, and no empty ones.
std::vector<StrikeRecord> RecordsOf(std::string_view file) {
  std::vector<StrikeRecord> records;
  const auto u16 = [&file](std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(file[at]) |
                                      static_cast<std::uint8_t>(file[at + 1]) << 8);
  };
  for (std::size_t block = kHeaderBytes; block < file.size(); block += kBlockBytes) {
    for (std::size_t slot = 0; slot < kSlotsPerBlock; ++slot) {
      const std::size_t at = block + 6 * slot;
      if (at + 6 > file.size()) break;
      const StrikeRecord record{u16(at), static_cast<std::int16_t>(u16(at + 2)),
                                static_cast<std::int16_t>(u16(at + 4))};
      if (record.timeCode != 0 || record.offsetX != 0 || record.offsetY != 0) {
        records.push_back(record);
      }
    }
  }
  return records;
}

void AppendInRange(std::vector<StrikeRecord>& out, const std::vector<StrikeRecord>& records,
                   std::int64_t lower, std::int64_t upper) {
  for (const StrikeRecord& record : records) {
    if (record.timeCode >= lower && record.timeCode <= upper && record.timeCode <= 43199) {
      out.push_back(record);
    }
  }
}

std::string Repeated(std::string_view body, int times) {
  std::string file;
  for (int i = 0; i < times && file.size() + body.size() <= kMaxFileBytes; ++i) file += body;
  return file;
}

}  // namespace
}  // namespace animark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace animark;
  namespace fs = std::filesystem;
  const fs::path& folder = fuzz::ScratchFolder();

  InputReader input(data, size);
  const std::uint8_t flags = input.Byte();
  const bool previousDayFile = (flags & 1) != 0;
  const bool oddSecond = (flags & 2) != 0;
  const bool scanUpperGiven = (flags & 4) != 0;
  const int spelling = (flags >> 3) % 3;  // how the frame day's file name is written
  const std::int32_t frameCode = input.Word() % 43200;
  const auto persistence = static_cast<std::int16_t>(input.Word());
  const auto scanLower = static_cast<std::int32_t>(input.DoubleWord());
  const auto scanUpper = static_cast<std::int32_t>(input.DoubleWord());
  const int repeat = 1 + input.Byte() % 80;
  const std::size_t frameDayLength = input.Word();
  const std::string frameDay = Repeated(input.Take(frameDayLength), repeat);
  const std::string previousDay(input.Rest());

  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove(entry.path(), error);
  const char* const kSpellings[] = {"071526.dat", "071526.DAT", "071526.Dat"};
  fuzz::WriteBytes(folder / kSpellings[spelling], frameDay);
  if (previousDayFile) fuzz::WriteBytes(folder / "071426.dat", previousDay);

  const int second = (frameCode % 30) * 2 + (oddSecond ? 1 : 0);
  const DateTime frameTime =
      DateTime::FromParts(2026, 7, 15, frameCode / 1800, frameCode / 30 % 60, second);
  FUZZ_CHECK(frameTime.IsValid(), "the frame time is a real time");

  ExportSettings settings = DefaultExportSettings(frameTime);
  settings.dataDirectory = folder.string();
  settings.persistenceMinutes = persistence;
  settings.zoomRange = 2;
  static FrameBuffer picture;
  StrikeWindow window(settings, DayFilesOf(settings));
  window.MoveTo(picture, frameTime);

  // The window in seconds from the frame day's midnight.
  std::vector<StrikeRecord> expected;
  if (persistence >= 0) {
    const std::int64_t frameSecond = std::int64_t{frameCode} * 2 + (oddSecond ? 1 : 0);
    const std::int64_t startSecond = frameSecond - std::int64_t{60} * persistence;
    const auto codeOf = [](std::int64_t secondOfDay) { return secondOfDay / 2; };
    AppendInRange(expected, RecordsOf(frameDay), startSecond < 0 ? -1 : codeOf(startSecond),
                  frameCode);
    if (previousDayFile && startSecond < 0) {
      const std::int64_t previousStart = startSecond + 86400;
      AppendInRange(expected, RecordsOf(previousDay),
                    previousStart < 0 ? -1 : codeOf(previousStart), 43199);
    }
  }
  std::vector<std::size_t> expectedCells;
  for (const StrikeRecord& record : expected) {
    if (const auto cell = StrikeCell(settings.zoomRange, record.offsetX, record.offsetY)) {
      expectedCells.push_back(FrameBuffer::Index(cell->first, cell->second));
    }
  }
  FUZZ_CHECK(window.StrikeCount() == static_cast<std::int64_t>(expectedCells.size()),
             "a window counts exactly the whole records inside it in the strike area");
  std::sort(expectedCells.begin(), expectedCells.end());
  expectedCells.erase(std::unique(expectedCells.begin(), expectedCells.end()), expectedCells.end());
  // Taking the expected marks off must leave nothing marked.
  for (const std::size_t cell : expectedCells) {
    FUZZ_CHECK(picture.Cells()[cell] == FrameBuffer::kStrikeMark,
               "a window marks the cell of every record inside it");
    picture.Unmark(cell);
  }
  static const FrameBuffer kUnmarked;
  FUZZ_CHECK(std::memcmp(picture.Cells().data(), kUnmarked.Cells().data(),
                         picture.Cells().size_bytes()) == 0,
             "a window marks no other cell");

  std::vector<StrikeRecord> scanned;
  StrikeDataReader::ScanDayFile(
      (folder / "071526.dat").string(), scanLower,
      scanUpperGiven ? std::optional<std::int32_t>(scanUpper) : std::nullopt,
      [&scanned](const StrikeRecord& record) { scanned.push_back(record); });
  std::vector<StrikeRecord> scanExpected;
  AppendInRange(scanExpected, RecordsOf(frameDay), scanLower, scanUpperGiven ? scanUpper : 43199);
  FUZZ_CHECK(scanned == scanExpected, "a scan visits exactly the whole records within its bounds");
  return 0;
}
