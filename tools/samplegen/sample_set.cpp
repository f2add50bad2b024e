#include "sample_set.h"

#include <fstream>
#include <system_error>
#include <vector>

#include "storm.h"
#include "world_map.h"

namespace animark::samplegen {
namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
               std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = "could not write " + path.string();
    return false;
  }
  return true;
}

}  // namespace

bool WriteMaps(const std::filesystem::path& dir, std::uint32_t worldSeed, std::string* error) {
  for (int range = 0; range < kMapRangeCount; ++range) {
    if (!WriteFile(dir / MapFileName(range), MapBmpBytes(range, worldSeed), error)) return false;
  }
  return true;
}

bool WriteStormDayFiles(const std::filesystem::path& dir, CalendarDate firstDay,
                        std::uint32_t stormSeed, std::string* error) {
  const StormDays storm = GenerateStorm(stormSeed);
  CalendarDate date = firstDay;
  for (const std::vector<DayRecord>& records : storm) {
    if (!WriteFile(dir / DayFileName(date), EncodeDayFile(date, records), error)) return false;
    date = DayAfter(date);
  }
  return true;
}

bool WriteSampleSet(const std::filesystem::path& dir, std::string* error) {
  std::error_code failure;
  std::filesystem::create_directories(dir, failure);
  if (failure) {
    *error = "could not create " + dir.string() + ": " + failure.message();
    return false;
  }
  return WriteMaps(dir, kSampleWorldSeed, error) &&
         WriteStormDayFiles(dir, kSampleFirstDay, kSampleStormSeed, error);
}

}  // namespace animark::samplegen
