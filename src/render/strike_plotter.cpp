#include "render/strike_plotter.h"

#include <cstdint>
#include <iterator>

#include "image/frame_buffer.h"
#include "image/picture_geometry.h"

namespace animark {
namespace {

// Pixels per distance unit, horizontally a / d and vertically b / d: 2560 units per range step
// reach from the detector to the edge of the strike area.
struct StrikeScale {
  std::int32_t horizontal;
  std::int32_t vertical;
  std::int32_t divisor;
};
constexpr StrikeScale kScales[] = {
    {738, 720, 7680},
    {738, 720, 15360},
    {246, 240, 7680},
};

}  // namespace

std::optional<std::pair<int, int>> StrikeCell(int range, std::int16_t offsetX,
                                              std::int16_t offsetY) {
  if (range < 0 || range >= static_cast<int>(std::size(kScales))) return std::nullopt;
  const StrikeScale& scale = kScales[range];
  const std::int32_t x = kDetectorX + offsetX * scale.horizontal / scale.divisor;
  const std::int32_t y = kDetectorY + offsetY * scale.vertical / scale.divisor;
  if (x < 0 || x > kStrikeAreaLastColumn || y < 0 || y >= FrameBuffer::kHeight) return std::nullopt;
  return std::pair{x, y};
}

}  // namespace animark
