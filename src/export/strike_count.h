#pragma once
// How many strikes a period holds, for runs that should write nothing when there was no storm.

#include <cstdint>

#include "settings/export_settings.h"

namespace animark {

// The strikes from periodStart to periodEnd (both inclusive) that fall into the strike area at
// the scale of zoomRange. 0 for an invalid or reversed period or a range outside 0..2.
std::int64_t CountStrikesInPeriod(const ExportSettings& settings);

}  // namespace animark
