#pragma once
// The day files of an export, and how many strikes a whole period holds. The frames' strikes are
// StrikeWindow's.

#include <cstdint>

#include "settings/export_settings.h"
#include "strikes/strike_data_reader.h"

namespace animark {

// The reader of an export's day files: those under settings.dataDirectory, slash-separated.
StrikeDataReader DayFilesOf(const ExportSettings& settings);

// How many strikes a period holds, for runs that should write nothing when there was no storm:
// those a StrikeWindow of the period's whole minutes marks at periodEnd, at the scale of
// zoomRange. 0 for an invalid or reversed period or a range outside 0..2.
std::int64_t CountStrikesInPeriod(const ExportSettings& settings);

}  // namespace animark
