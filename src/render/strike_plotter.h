#pragma once
// Where a strike lands on the picture: each strike becomes one marked cell of the frame buffer, to
// be cleared again after the frame has been written.

#include <optional>
#include <utility>

#include "image/frame_buffer.h"
#include "settings/export_settings.h"
#include "strikes/strike_record.h"

namespace animark {

// The cell where `strike` is marked at `range`'s scale, or nothing when it falls outside the
// strike area or the range is outside 0..2.
std::optional<std::pair<int, int>> StrikeCell(RangeIndex range, const StrikeRecord& strike);

// Marks the strike's cell (adds 16 unless the cell is already marked); a strike outside the
// strike area (columns 0..492 round the detector's column 246, every row) or a range outside 0..2
// marks nothing.
void PlotStrike(FrameBuffer& buffer, RangeIndex range, const StrikeRecord& strike);

}  // namespace animark
