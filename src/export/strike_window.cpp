#include "export/strike_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "image/palette.h"
#include "image/picture_geometry.h"
#include "render/strike_plotter.h"

namespace animark {
namespace {

constexpr std::int64_t kCodesPerDay = std::int64_t{kLastTimeCodeOfDay} + 1;
// Strikes land in the strike area's columns only, so counts are kept for those.
constexpr std::size_t kStrikeAreaCells = FrameBuffer::Index(kStrikeAreaLastColumn + 1, 0);

std::int64_t DayNumber(const DateTime& moment) {
  return std::llround(
      DateTime::FromParts(moment.Year(), moment.Month(), moment.Day(), 0, 0, 0).Days());
}

std::int32_t MomentCode(const DateTime& moment) {
  return TimeCodeOf(moment.Hour(), moment.Minute(), moment.Second());
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// Moves `cursor` of each day, oldest day first, over the strikes up to the moment `limit`, handing
// each strike's cell to `step`. A day whose cursor stops short leaves the later days' alone: their
// strikes are all later.
template <typename Days, typename Cursor, typename Step>
void Sweep(Days& days, std::int64_t limit, Cursor cursor, Step step) {
  for (auto& day : days) {
    const std::int64_t base = day.number * kCodesPerDay;
    const std::size_t size = day.codes.size();
    std::size_t& at = cursor(day);
    while (at < size && base + day.codes[at] <= limit) {
      step(day.cells[at]);
      ++at;
    }
    if (at < size) return;
  }
}

}  // namespace

int AgeBand(std::int64_t ageCodes, std::int32_t persistenceMinutes) {
  if (persistenceMinutes <= 0 || ageCodes <= 0) return 0;
  const std::int64_t band = ageCodes * kAgeBands / (std::int64_t{30} * persistenceMinutes);
  return static_cast<int>(std::min<std::int64_t>(band, kAgeBands - 1));
}

StrikeWindow::StrikeWindow(const ExportSettings& settings, StrikeDataReader dayFiles)
    : range_(settings.zoomRange),
      persistenceMinutes_(settings.persistenceMinutes),
      dayFiles_(std::move(dayFiles)),
      liveCounts_(IsRangeIndex(range_) && settings.ageColours == 0 ? kStrikeAreaCells : 0, 0),
      ageColours_(settings.ageColours != 0),
      bandCounts_(IsRangeIndex(range_) && ageColours_ ? kStrikeAreaCells * kAgeBands : 0, 0) {}

// The window's first and last moment, from the date parts of its start and of the frame: the
// frame's day from frameCode - 30 x persistence, or whole when the window starts on an earlier
// date, which then counts from the window start's code; the dates between whole. A window start
// before the years a DateTime holds keeps the frame's day only.
std::optional<StrikeWindow::Span> StrikeWindow::SpanOf(const DateTime& frameTime) const {
  if (frameTime.Year() < 0 || persistenceMinutes_ < 0) return std::nullopt;
  const std::int64_t frameDay = DayNumber(frameTime);
  const std::int32_t frameCode = MomentCode(frameTime);
  const std::int64_t lowerCode = frameCode - std::int64_t{30} * persistenceMinutes_;
  Span span{frameDay * kCodesPerDay + std::max<std::int64_t>(lowerCode, 0),
            frameDay * kCodesPerDay + frameCode};
  const DateTime windowStart = frameTime.AddSeconds(-std::int64_t{60} * persistenceMinutes_);
  if (windowStart.Year() >= 0) {
    const std::int64_t startDay = DayNumber(windowStart);
    if (startDay < frameDay) span.first = startDay * kCodesPerDay + MomentCode(windowStart);
  }
  return span;
}

void StrikeWindow::MoveTo(FrameBuffer& buffer, const DateTime& frameTime) {
  if (!IsRangeIndex(range_)) return;
  const std::optional<Span> span = SpanOf(frameTime);
  if (!span) {
    Clear(buffer);
    return;
  }
  // Strikes read are only those not yet gone out of the window, so going back means reading again.
  if (span_ && (span->first < span_->first || span->last < span_->last)) Clear(buffer);
  span_ = span;

  if (!ageColours_) Leave(buffer);
  const std::int64_t lastDay = FloorDiv(span->last, kCodesPerDay);
  std::int64_t day = FloorDiv(span->first, kCodesPerDay);
  if (lastDayRead_) day = std::max(day, *lastDayRead_ + 1);
  for (; day <= lastDay; ++day) Load(day);
  if (ageColours_) {
    AgedMoveTo(buffer);
  } else {
    Enter(buffer);
  }
}

// Each strike goes through the bands in turn, newest to oldest and then out, so a frame costs what
// crossed a band boundary since the last one, whatever the window's length. A strike that entered
// and left between two frames passes through them all, which leaves its cell as it was.
void StrikeWindow::AgedMoveTo(FrameBuffer& buffer) {
  const auto counts = [this](std::uint32_t cell) { return &bandCounts_[cell * kAgeBands]; };
  Sweep(
      days_, span_->last, [](Day& day) -> std::size_t& { return day.entered; },
      [&](std::uint32_t cell) {
        ++counts(cell)[0];
        Recolour(buffer, cell);
      });
  if (persistenceMinutes_ > 0) {
    for (int band = 1; band < kAgeBands; ++band) {
      // The latest moment of band `band` or older: AgeBand's boundary at the codes' resolution.
      const std::int64_t older =
          (std::int64_t{30} * persistenceMinutes_ * band + kAgeBands - 1) / kAgeBands;
      Sweep(
          days_, span_->last - older,
          [band](Day& day) -> std::size_t& { return day.aged[band - 1]; },
          [&](std::uint32_t cell) {
            std::uint32_t* count = counts(cell);
            --count[band - 1];
            ++count[band];
            Recolour(buffer, cell);
          });
    }
  }
  while (!days_.empty()) {
    Day& day = days_.front();
    const std::int64_t base = day.number * kCodesPerDay;
    const std::size_t size = day.codes.size();
    while (day.left < size && base + day.codes[day.left] < span_->first) {
      const std::size_t i = day.left;
      if (i < day.entered) {
        const int band = i < day.aged[2] ? 3 : i < day.aged[1] ? 2 : i < day.aged[0] ? 1 : 0;
        const std::uint32_t cell = day.cells[i];
        --counts(cell)[band];
        Recolour(buffer, cell);
      }
      ++day.left;
      day.entered = std::max(day.entered, day.left);
      for (std::size_t& aged : day.aged) aged = std::max(aged, day.left);
    }
    if (day.left < size) return;
    days_.pop_front();
  }
}

// The newest band holding a strike gives the cell its colour; none leaves the picture's own.
void StrikeWindow::Recolour(FrameBuffer& buffer, std::uint32_t cell) {
  const std::uint32_t* count = &bandCounts_[cell * kAgeBands];
  int kind = 0;
  for (int band = 0; band < kAgeBands; ++band) {
    if (count[band] != 0) {
      kind = kAgeBandKinds[band];
      break;
    }
  }
  buffer.MarkAs(cell, kind);
}

// Only the marked strikes' cells can be counted, so they are all that need going over.
void StrikeWindow::Clear(FrameBuffer& buffer) {
  for (const Day& day : days_) {
    for (std::size_t i = day.left; i < day.entered; ++i) {
      const std::uint32_t cell = day.cells[i];
      if (ageColours_) {
        std::fill_n(bandCounts_.begin() + std::ptrdiff_t{cell} * kAgeBands, kAgeBands, 0u);
        buffer.Unmark(cell);
        continue;
      }
      if (liveCounts_[cell] != 0) buffer.Unmark(cell);
      liveCounts_[cell] = 0;
    }
  }
  days_.clear();
  span_.reset();
  lastDayRead_.reset();
}

std::int64_t StrikeWindow::StrikeCount() const {
  std::int64_t count = 0;
  for (const Day& day : days_) count += static_cast<std::int64_t>(day.entered - day.left);
  return count;
}

std::size_t StrikeWindow::MemoryBytes() const {
  std::size_t bytes = (liveCounts_.capacity() + bandCounts_.capacity()) * sizeof(std::uint32_t) +
                      scratch_.capacity() * sizeof(Entry) + days_.size() * sizeof(Day);
  for (const Day& day : days_) {
    bytes +=
        day.codes.capacity() * sizeof(std::uint16_t) + day.cells.capacity() * sizeof(std::uint32_t);
  }
  return bytes;
}

void StrikeWindow::Leave(FrameBuffer& buffer) {
  while (!days_.empty()) {
    Day& day = days_.front();
    const std::int64_t base = day.number * kCodesPerDay;
    const std::size_t size = day.codes.size();
    while (day.left < size && base + day.codes[day.left] < span_->first) {
      // A strike that came and went between two frames was never marked.
      if (day.left < day.entered) {
        const std::uint32_t cell = day.cells[day.left];
        if (--liveCounts_[cell] == 0) buffer.Unmark(cell);
      } else {
        ++day.entered;
      }
      ++day.left;
    }
    if (day.left < size) return;
    days_.pop_front();
  }
}

void StrikeWindow::Load(std::int64_t dayNumber) {
  lastDayRead_ = dayNumber;
  const std::int64_t base = dayNumber * kCodesPerDay;
  const std::int64_t first = span_->first;
  scratch_.clear();
  dayFiles_.ReadDay(
      DateTime::FromDays(static_cast<double>(dayNumber)),
      [this, base, first](const StrikeRecord& strike) {
        // Strikes already out of the window can never come into it again.
        if (base + strike.timeCode < first) return;
        const auto place = StrikeCell(range_, strike.offsetX, strike.offsetY);
        if (!place) return;
        scratch_.push_back({strike.timeCode, static_cast<std::uint32_t>(
                                                 FrameBuffer::Index(place->first, place->second))});
      });
  if (scratch_.empty()) return;
  // Files are written in time order, but the picture must not depend on it.
  const auto byCode = [](const Entry& a, const Entry& b) { return a.code < b.code; };
  if (!std::ranges::is_sorted(scratch_, byCode)) std::ranges::sort(scratch_, byCode);
  Day& day = days_.emplace_back();
  day.number = dayNumber;
  day.codes.reserve(scratch_.size());
  day.cells.reserve(scratch_.size());
  for (const Entry& entry : scratch_) {
    day.codes.push_back(entry.code);
    day.cells.push_back(entry.cell);
  }
}

void StrikeWindow::Enter(FrameBuffer& buffer) {
  for (Day& day : days_) {
    const std::int64_t base = day.number * kCodesPerDay;
    const std::size_t size = day.codes.size();
    while (day.entered < size && base + day.codes[day.entered] <= span_->last) {
      const std::uint32_t cell = day.cells[day.entered];
      if (liveCounts_[cell]++ == 0) buffer.Mark(cell);
      ++day.entered;
    }
    if (day.entered < size) return;
  }
}

}  // namespace animark
