#pragma once
// The strikes on the picture as an export's frames move forward in time. Each frame marks only the
// strikes that came into its persistence window and unmarks those that went out of it, so a frame
// costs the same whatever the window's length; every day file is read once per export.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "image/frame_buffer.h"
#include "settings/export_settings.h"
#include "strikes/strike_data_reader.h"
#include "time/date_time.h"

namespace animark {

// The age band of a strike `ageCodes` time codes (2 seconds each) older than the frame, in a
// window of `persistenceMinutes`: floor(age x 4 / persistence), 0 the newest, at most 3; 0 for
// every strike when the persistence is 0. A strike exactly on a boundary joins the older band, so
// each band is a half-open range of ages like its legend's "15-30 min": a strike 15 minutes old
// is no longer among the newest.
int AgeBand(std::int64_t ageCodes, std::int32_t persistenceMinutes);

class StrikeWindow {
 public:
  // The window of settings.persistenceMinutes at the scale of settings.zoomRange (a range outside
  // 0..2 marks nothing), over the day files `dayFiles` finds. With settings.ageColours non-zero
  // each cell is marked in the colour of its newest strike's age band (AgeBand).
  StrikeWindow(const ExportSettings& settings, StrikeDataReader dayFiles);

  // Leaves on `buffer` the marks of exactly the strikes from frameTime - persistence to
  // frameTime, both inclusive at the two-second resolution of the time codes (each strike's cell
  // marked once, however many strikes it holds); none for an invalid frameTime or a negative
  // persistence. The marks of earlier calls must still be on `buffer`, and nothing else may mark
  // it. Cheap when frameTime moves forward or stays; an earlier frameTime starts over. A day file
  // is read when the window first reaches its day: what is added to it afterwards is not seen.
  void MoveTo(FrameBuffer& buffer, const DateTime& frameTime);

  // Takes this window's marks off `buffer` and forgets every strike; the next MoveTo starts over.
  void Clear(FrameBuffer& buffer);

  // How many strikes the last MoveTo marked, each counted, however many share a cell.
  std::int64_t StrikeCount() const;

  // The memory this window holds now, in bytes: its cell counts, the strikes of the day files read
  // (6 bytes each) that have not all gone out of the window, and the buffer a day file is read
  // into.
  std::size_t MemoryBytes() const;

 private:
  // One day file's strikes inside the strike area, in time order: [0, left) have gone out of the
  // window, [left, entered) are marked, [entered, size) are still to come. Coloured by age,
  // [left, aged[2]) are in band 3, [aged[2], aged[1]) in band 2, [aged[1], aged[0]) in band 1 and
  // [aged[0], entered) in band 0.
  struct Day {
    std::int64_t number = 0;  // days since 30 December 1899
    std::vector<std::uint16_t> codes;
    std::vector<std::uint32_t> cells;  // FrameBuffer cell indices
    std::size_t left = 0;
    std::size_t entered = 0;
    std::array<std::size_t, 3> aged{};
  };
  // Day number x 43200 + time code: a moment at the resolution of the time codes.
  struct Span {
    std::int64_t first;
    std::int64_t last;
  };

  std::optional<Span> SpanOf(const DateTime& frameTime) const;
  void Leave(FrameBuffer& buffer);
  void Load(std::int64_t dayNumber);
  void Enter(FrameBuffer& buffer);
  void AgedMoveTo(FrameBuffer& buffer);
  void Recolour(FrameBuffer& buffer, std::uint32_t cell);

  RangeIndex range_;
  std::int32_t persistenceMinutes_;
  StrikeDataReader dayFiles_;
  // Per cell of the strike area, how many marked strikes it holds: it stays marked until the
  // last of them goes out of the window.
  std::vector<std::uint32_t> liveCounts_;
  bool ageColours_;
  // Coloured by age, per cell of the strike area and age band (cell x 4 + band), how many marked
  // strikes it holds; liveCounts_ is unused then.
  std::vector<std::uint32_t> bandCounts_;
  std::deque<Day> days_;
  std::optional<Span> span_;
  std::optional<std::int64_t> lastDayRead_;
  // Reused for each day file read, to sort a file whose records are out of time order.
  struct Entry {
    std::uint16_t code;
    std::uint32_t cell;
  };
  std::vector<Entry> scratch_;
};

}  // namespace animark
