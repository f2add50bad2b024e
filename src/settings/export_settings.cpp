#include "settings/export_settings.h"

namespace animark {

ExportSettings DefaultExportSettings(const DateTime& now) {
  ExportSettings settings;
  settings.periodStart = now;
  settings.periodEnd = now;
  return settings;
}

}  // namespace animark
