#include "export/strike_pass.h"

#include <limits>

#include "export/frame_plan.h"
#include "export/strike_window.h"

namespace animark {

StrikeDataReader DayFilesOf(const ExportSettings& settings) {
  return StrikeDataReader(settings.dataDirectory, PathStyle::Posix);
}

std::int64_t CountStrikesInPeriod(const ExportSettings& settings) {
  const std::int64_t minutes = PlanFrames(settings).periodMinutes;
  if (minutes < 0 || minutes > std::numeric_limits<std::int32_t>::max()) return 0;
  // The window of a frame at the period's end that reaches back to its start.
  ExportSettings wholePeriod = settings;
  wholePeriod.persistenceMinutes = static_cast<std::int32_t>(minutes);
  StrikeWindow window(wholePeriod, DayFilesOf(settings));
  FrameBuffer picture;
  window.MoveTo(picture, settings.periodEnd);
  return window.StrikeCount();
}

}  // namespace animark
