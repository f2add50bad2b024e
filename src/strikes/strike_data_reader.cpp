#include "strikes/strike_data_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/regular_file.h"

namespace animark {
namespace {

constexpr std::size_t kHeaderBytes = 1024;
constexpr std::size_t kBlockBytes = 1024;
constexpr std::size_t kSlotsPerBlock = 170;
// A whole number of blocks, so that every chunk but the last holds whole blocks only.
constexpr std::size_t kChunkBytes = 64 * kBlockBytes;
static_assert(kHeaderBytes == kBlockBytes, "the header is read as block 0 of the first chunk");

constexpr std::int32_t kNoLowerLimit = std::numeric_limits<std::int32_t>::min();

constexpr std::string_view kYearPlaceholder = "\\\\year";

// Takes a trailing "\\year" (in any letter case) off `text`; whether there was one.
bool RemoveYearPlaceholder(std::string& text) {
  if (text.size() < kYearPlaceholder.size() ||
      !EqualIgnoringCase(std::string_view(text).substr(text.size() - kYearPlaceholder.size()),
                         kYearPlaceholder)) {
    return false;
  }
  text.resize(text.size() - kYearPlaceholder.size());
  return true;
}

std::string DayFileName(int year, int month, int day) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d%02d%02d.dat", month, day, year % 100);
  return name;
}

std::string FourDigitYear(int year) {
  char text[8];
  std::snprintf(text, sizeof text, "%04d", year);
  return text;
}

std::string WindowsPrefix(std::string_view directory, int year) {
  const std::string text = LowerAscii(directory);
  if (text.empty()) return text;
  if (text.back() == ':') return text + '\\';
  // The placeholder is looked for anywhere but always taken to be the last five characters
  // after its first backslash; directory texts written for this style rely on exactly that.
  if (text.find(kYearPlaceholder) != std::string::npos) {
    return text.substr(0, text.size() - (kYearPlaceholder.size() - 1)) + FourDigitYear(year) + '\\';
  }
  if (text.back() == '\\') return text;
  return text + '\\';
}

std::string PosixPrefix(std::string_view directory, int year) {
  std::string text(directory);
  // "%Y" anywhere names a folder per year ("/srv/strikes/%Y"), as in the output file's name.
  for (std::size_t at = text.find("%Y"); at != std::string::npos; at = text.find("%Y", at)) {
    text.replace(at, 2, FourDigitYear(year));
  }
  if (RemoveYearPlaceholder(text)) {
    if (!text.empty() && text.back() != '/') text += '/';
    return text + FourDigitYear(year) + '/';
  }
  if (!text.empty() && text.back() != '/') text += '/';
  return text;
}

// A folder entry named like `name` in any letter case; the last resort, as it lists the folder.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (EqualIgnoringCase(entry->path().filename().string(), name)) return entry->path();
  }
  return std::nullopt;
}

std::uint16_t LittleEndian16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

}  // namespace

std::filesystem::path DayFilesFolder(std::string_view directory) {
  std::string folder(directory);
  RemoveYearPlaceholder(folder);
  // Of folders per year named with %Y, the one above the first of them.
  if (const std::size_t year = folder.find("%Y"); year != std::string::npos) {
    // What separates folders in a path typed on this system.
    constexpr std::string_view kSeparators =
        std::filesystem::path::preferred_separator == '/' ? "/" : "/\\";
    const std::size_t slash = folder.find_last_of(kSeparators, year);
    folder.resize(slash == std::string::npos ? 0 : std::max<std::size_t>(slash, 1));
  }
  return folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
}

std::string StrikeDataReader::DayFilePath(const DateTime& day, std::string_view directory,
                                          PathStyle style) {
  const int year = day.Year();
  const std::string prefix =
      style == PathStyle::Windows ? WindowsPrefix(directory, year) : PosixPrefix(directory, year);
  return prefix + DayFileName(year, day.Month(), day.Day());
}

StrikeDataReader::StrikeDataReader(std::string directory, PathStyle style)
    : directory_(std::move(directory)), style_(style) {}

// Day files written on systems that ignore letter case may carry any case in their names.
std::optional<std::string> StrikeDataReader::FindDayFile(const std::string& pathText) {
  std::error_code error;
  const std::filesystem::path path(pathText);
  if (std::filesystem::exists(path, error)) return pathText;
  if (!path.has_filename()) return std::nullopt;
  std::string upperName = path.filename().string();
  for (char& c : upperName) c = UpperAscii(c);
  const std::filesystem::path upperPath = path.parent_path() / upperName;
  if (std::filesystem::exists(upperPath, error)) return upperPath.string();
  if (const auto found = FindIgnoringCase(path)) return found->string();
  return std::nullopt;
}

FileHandle StrikeDataReader::OpenDayFile(const std::string& path, std::string* reason) {
  const std::optional<std::string> found = FindDayFile(path);
  if (!found) {
    if (reason) *reason = std::strerror(ENOENT);
    return nullptr;
  }
  return OpenRegularFile(*found, reason);
}

// The file is read in large chunks rather than field by field, which visits the same records as
// reading it field by field up to the end of the file: exactly the slots whose six bytes all lie
// inside the file (none when it is shorter than its header).
void StrikeDataReader::ScanDayFile(const std::string& path, std::int32_t lowerCode,
                                   std::optional<std::int32_t> upperCode, StrikeVisitor visit) {
  ScanFile(OpenDayFile(path).get(), lowerCode, upperCode, visit);
}

void StrikeDataReader::ScanFile(std::FILE* file, std::int32_t lowerCode,
                                std::optional<std::int32_t> upperCode, StrikeVisitor visit) {
  // A time code past the day's end is no real time: drawn, it would put a strike at the detector.
  const std::int32_t upper = std::min(upperCode.value_or(kLastTimeCodeOfDay), kLastTimeCodeOfDay);
  if (!file || lowerCode > upper) return;

  std::array<unsigned char, kChunkBytes> chunk;
  bool headerPending = true;
  std::size_t length;
  do {
    length = std::fread(chunk.data(), 1, chunk.size(), file);
    for (std::size_t block = headerPending ? kHeaderBytes : 0; block < length;
         block += kBlockBytes) {
      const std::size_t slotsInFile = (length - block) / kStrikeRecordBytes;
      const std::size_t slots = slotsInFile < kSlotsPerBlock ? slotsInFile : kSlotsPerBlock;
      const unsigned char* bytes = chunk.data() + block;
      for (std::size_t slot = 0; slot < slots; ++slot, bytes += kStrikeRecordBytes) {
        const StrikeRecord record{LittleEndian16(bytes),
                                  static_cast<std::int16_t>(LittleEndian16(bytes + 2)),
                                  static_cast<std::int16_t>(LittleEndian16(bytes + 4))};
        if (record.timeCode >= lowerCode && record.timeCode <= upper && !record.IsEmptySlot()) {
          visit(record);
        }
      }
    }
    headerPending = false;
  } while (length == chunk.size());
}

void StrikeDataReader::ReadDay(const DateTime& day, StrikeVisitor visit) {
  const std::int32_t date = day.Year() * 10000 + day.Month() * 100 + day.Day();
  auto known = found_.find(date);
  if (known == found_.end()) {
    known =
        found_.emplace(date, FindDayFile(DayFilePath(day, directory_, style_)).value_or("")).first;
  }
  if (known->second.empty()) return;
  ScanFile(OpenRegularFile(known->second).get(), kNoLowerLimit, std::nullopt, visit);
}

}  // namespace animark
