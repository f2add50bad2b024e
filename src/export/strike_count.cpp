#include "export/strike_count.h"

#include "export/frame_plan.h"
#include "render/strike_plotter.h"
#include "strikes/strike_data_reader.h"

namespace animark {

std::int64_t CountStrikesInPeriod(const ExportSettings& settings) {
  const std::int64_t minutes = PlanFrames(settings).periodMinutes;
  if (minutes < 0 || minutes > INT32_MAX || !settings.periodEnd.IsValid()) return 0;
  std::int64_t count = 0;
  StrikeDataReader::ReadWindow(settings.periodEnd, static_cast<std::int32_t>(minutes),
                               settings.dataDirectory, PathStyle::Posix,
                               [&](const StrikeRecord& strike) {
                                 if (StrikeCell(settings.zoomRange, strike)) ++count;
                               });
  return count;
}

}  // namespace animark
