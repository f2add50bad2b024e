#include "export/strike_pass.h"

#include "export/frame_plan.h"
#include "render/strike_plotter.h"

namespace animark {

StrikeDataReader DayFilesOf(const ExportSettings& settings) {
  return StrikeDataReader(settings.dataDirectory, PathStyle::Posix);
}

void MarkStrikes(FrameBuffer& buffer, const ExportSettings& settings, StrikeDataReader& dayFiles,
                 const DateTime& frameTime) {
  const RangeIndex range = settings.zoomRange;
  if (!IsRangeIndex(range)) return;
  dayFiles.ReadWindow(
      frameTime, settings.persistenceMinutes,
      [&buffer, range](const StrikeRecord& strike) { PlotStrike(buffer, range, strike); });
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
