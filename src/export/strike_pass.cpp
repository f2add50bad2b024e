#include "export/strike_pass.h"

#include "export/frame_plan.h"
#include "render/strike_plotter.h"

namespace animark {

StrikeDataReader DayFilesOf(const ExportSettings& settings) {
  return StrikeDataReader(settings.dataDirectory, PathStyle::Posix);
}

std::int64_t CountStrikesInPeriod(const ExportSettings& settings) {
  const std::int64_t minutes = PlanFrames(settings).periodMinutes;
  if (minutes < 0 || minutes > INT32_MAX || !settings.periodEnd.IsValid()) return 0;
  std::int64_t count = 0;
  DayFilesOf(settings).ReadWindow(settings.periodEnd, static_cast<std::int32_t>(minutes),
                                  [&](const StrikeRecord& strike) {
                                    if (StrikeCell(settings.zoomRange, strike)) ++count;
                                  });
  return count;
}

}  // namespace animark
