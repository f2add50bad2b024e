#pragma once
// Where a strike lands on the picture: the one cell of the strike area it marks at a range's
// scale.

#include <cstdint>
#include <optional>
#include <utility>

namespace animark {

// The cell (x, y) of a strike `offsetX` and `offsetY` distance units right of and below the
// detector, at the scale of `range` (0, 1, 2: the 100, 200 and 300-mile maps); nothing when it
// falls outside the strike area or the range has no scale.
std::optional<std::pair<int, int>> StrikeCell(int range, std::int16_t offsetX,
                                              std::int16_t offsetY);

}  // namespace animark
