#include "export_fixtures.h"

namespace animark::testing {

ExportSettings SettingsFor(DateTime start, DateTime end, int rate, int delay) {
  ExportSettings settings = DefaultExportSettings(start);
  settings.periodEnd = end;
  settings.rateMinutesPerSecond = rate;
  settings.pauseBetweenFrames = delay;
  return settings;
}

}  // namespace animark::testing
