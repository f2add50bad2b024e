#include "render/strike_plotter.h"

#include <cstdint>

#include "image/palette.h"

namespace animark {
namespace {

constexpr int kCentreX = 246;
constexpr int kCentreY = 240;
// Columns beyond hold the text column.
constexpr int kStrikeAreaLastColumn = 492;

// Pixels per distance unit, horizontally a / d and vertically b / d: 2560 units per range step
// reach from the centre to the edge of the strike area.
struct StrikeScale {
  std::int32_t horizontal;
  std::int32_t vertical;
  std::int32_t divisor;
};
constexpr StrikeScale kScales[kRangeCount] = {
    {738, 720, 7680},
    {738, 720, 15360},
    {246, 240, 7680},
};

}  // namespace

std::optional<std::pair<int, int>> StrikeCell(RangeIndex range, const StrikeRecord& strike) {
  if (!IsRangeIndex(range)) return std::nullopt;
  const StrikeScale& scale = kScales[range];
  const std::int32_t x = kCentreX + strike.offsetX * scale.horizontal / scale.divisor;
  const std::int32_t y = kCentreY + strike.offsetY * scale.vertical / scale.divisor;
  if (x < 0 || x > kStrikeAreaLastColumn || y < 0 || y >= FrameBuffer::kHeight) return std::nullopt;
  return std::pair{x, y};
}

void PlotStrike(FrameBuffer& buffer, RangeIndex range, const StrikeRecord& strike) {
  const auto place = StrikeCell(range, strike);
  if (!place) return;
  std::int16_t& cell = buffer.At(place->first, place->second);
  if (cell < FrameBuffer::kStrikeMark)
    cell = static_cast<std::int16_t>(cell + FrameBuffer::kStrikeMark);
}

}  // namespace animark
