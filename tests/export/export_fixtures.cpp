#include "export_fixtures.h"

#include "support/test_support.h"

namespace animark::testing {

void WriteDayFile(const std::filesystem::path& path, const std::vector<TimedStrike>& strikes) {
  constexpr std::size_t kHeader = 1024, kBlock = 1024, kSlots = 170;
  const std::size_t blocks = (strikes.size() + kSlots - 1) / kSlots;
  std::vector<std::uint8_t> bytes(kHeader + blocks * kBlock, 0);
  for (std::size_t i = 0; i < strikes.size(); ++i) {
    const TimedStrike& s = strikes[i];
    const auto code = static_cast<std::uint16_t>(TimeCodeOf(s.hour, s.minute, s.second));
    const std::uint16_t fields[3] = {code, static_cast<std::uint16_t>(s.offsetX),
                                     static_cast<std::uint16_t>(s.offsetY)};
    std::uint8_t* record = &bytes[kHeader + (i / kSlots) * kBlock + (i % kSlots) * 6];
    for (int f = 0; f < 3; ++f) {
      record[2 * f] = static_cast<std::uint8_t>(fields[f] & 0xFF);
      record[2 * f + 1] = static_cast<std::uint8_t>(fields[f] >> 8);
    }
  }
  WriteFileBytes(path, bytes);
}

ExportSettings SettingsFor(DateTime start, DateTime end, int rate, int delay) {
  ExportSettings settings = DefaultExportSettings(start);
  settings.periodEnd = end;
  settings.rateMinutesPerSecond = rate;
  settings.pauseBetweenFrames = delay;
  return settings;
}

}  // namespace animark::testing
