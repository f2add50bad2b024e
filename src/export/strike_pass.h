#pragma once
// The strike pass of an export: the strikes a persistence window or a whole period holds are read
// from the day files here and handed to the picture one record at a time.

#include <cstdint>

#include "image/frame_buffer.h"
#include "settings/export_settings.h"
#include "strikes/strike_data_reader.h"
#include "time/date_time.h"

namespace animark {

// The reader of an export's day files: those under settings.dataDirectory, slash-separated.
StrikeDataReader DayFilesOf(const ExportSettings& settings);

// Marks every strike from frameTime - persistenceMinutes to frameTime, read through `dayFiles`,
// at the scale of settings.zoomRange; a range outside 0..2 marks nothing.
void MarkStrikes(FrameBuffer& buffer, const ExportSettings& settings, StrikeDataReader& dayFiles,
                 const DateTime& frameTime);

// How many strikes a period holds, for runs that should write nothing when there was no storm:
// the strikes from periodStart to periodEnd (both inclusive) that fall into the strike area at
// the scale of zoomRange. 0 for an invalid or reversed period or a range outside 0..2.
std::int64_t CountStrikesInPeriod(const ExportSettings& settings);

}  // namespace animark
