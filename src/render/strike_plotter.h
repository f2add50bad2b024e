#pragma once
// The per-frame strike pass: each strike of the frame's persistence window becomes one marked
// cell of the frame buffer, to be cleared again after the frame has been written.

#include "maps/frame_buffer.h"
#include "settings/date_time.h"
#include "settings/export_settings.h"
#include "strikes/strike_record.h"

namespace animark {

// The strike area: columns 0..492 (centred on the detector's column 246) and every row.
inline constexpr int kStrikeAreaLastColumn = 492;

// Marks every strike from frameTime - persistenceMinutes to frameTime, read from the day files
// under settings.dataDirectory (slash-separated paths), at the scale of settings.zoomRange.
void MarkStrikes(FrameBuffer& buffer, const ExportSettings& settings, const DateTime& frameTime);

// Marks the strike's cell (adds 16 unless the cell is already marked); a strike outside the
// strike area, or a range outside 0..2, marks nothing.
void PlotStrike(FrameBuffer& buffer, RangeIndex range, const StrikeRecord& strike);

}  // namespace animark
