#pragma once
// Finds a day's file and hands its strikes to a visitor. Every file is opened and closed within
// one call, and memory use does not grow with the file.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/file_handle.h"
#include "strikes/strike_record.h"
#include "time/date_time.h"

namespace animark {

// How a directory text becomes a folder: backslash-separated and letter-case blind, or
// slash-separated and letter-case exact.
enum class PathStyle { Windows, Posix };

// A non-owning reference to a callable taking `const StrikeRecord&`; the callable must outlive
// the call it is passed to. One indirect call per visited strike, no allocation.
class StrikeVisitor {
 public:
  template <typename Callable>
  requires(!std::is_same_v<std::remove_cvref_t<Callable>, StrikeVisitor> &&
           std::is_invocable_v<Callable&, const StrikeRecord&>)
      StrikeVisitor(Callable&& callable)  // NOLINT(google-explicit-constructor): passed as a lambda
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
        call_([](void* object, const StrikeRecord& record) {
          (*static_cast<std::remove_reference_t<Callable>*>(object))(record);
        }) {}

  void operator()(const StrikeRecord& record) const { call_(object_, record); }

 private:
  void* object_;
  void (*call_)(void*, const StrikeRecord&);
};

// The folder that holds the day files of `directory` (Posix style), or the folders per year of a
// trailing "\\year" or a "%Y": the one to look for when the files seem to be missing.
std::filesystem::path DayFilesFolder(std::string_view directory);

class StrikeDataReader {
 public:
  // A reader of the day files under `directory`. It looks each day's file up once and remembers
  // where it found it, or that there was none: the letter-case-blind lookup lists the whole
  // folder, which must not happen once per frame.
  StrikeDataReader(std::string directory, PathStyle style);

  // The file of `day`'s date (its time is ignored; it must be valid) under `directory`: the name
  // is month, day and two-digit year, "071501.dat". Windows style lower-cases the directory text
  // and understands a bare drive ("c:") and the per-year placeholder "\\year" (in any case).
  // Posix style keeps the text as it is, understands the placeholder at its end only, and
  // replaces "%Y" anywhere by the year in full. An empty directory text gives the bare name.
  static std::string DayFilePath(const DateTime& day, std::string_view directory, PathStyle style);

  // The name the day file at `path` is found under: as spelt, else the same name in upper case,
  // else in any letter case in its folder. Nothing when no such name stands there.
  static std::optional<std::string> FindDayFile(const std::string& path);

  // Opens the day file at `path` for reading: as spelt, else the same name in upper case, else in
  // any letter case in its folder. Only a regular file is opened (a pipe or a device could stall
  // or never end); null when there is none, with `reason`, when given, telling why.
  static FileHandle OpenDayFile(const std::string& path, std::string* reason = nullptr);

  // Visits, in file order, every whole non-empty record of the day file at `path` whose time code
  // lies within lowerCode..upperCode (inclusive; up to the day's last code 43199 when absent, and
  // never beyond it). A file that cannot be opened or read, or is shorter than its header, gives
  // nothing.
  static void ScanDayFile(const std::string& path, std::int32_t lowerCode,
                          std::optional<std::int32_t> upperCode, StrikeVisitor visit);

  // Visits, in file order, every strike of `day`'s file (its time is ignored; it must be valid)
  // as ScanDayFile does without bounds, the file looked up by DayFilePath and OpenDayFile.
  void ReadDay(const DateTime& day, StrikeVisitor visit);

 private:
  // Scans an open day file (nothing when null) as ScanDayFile does.
  static void ScanFile(std::FILE* file, std::int32_t lowerCode,
                       std::optional<std::int32_t> upperCode, StrikeVisitor visit);

  std::string directory_;
  PathStyle style_;
  // By date (yyyymmdd): the name the day's file was found under, empty when it has none.
  std::map<std::int32_t, std::string> found_;
};

}  // namespace animark
