#include "storm.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sample_random.h"

namespace animark::samplegen {
namespace {

// 2560 detector units are 100 miles.
constexpr double kUnitsPerMile = 25.6;
constexpr int kMinutesPerDay = 1440;
constexpr int kSecondsPerDay = 86400;

// One thunderstorm cell. Times in minutes from the first day's midnight, places in miles from
// the detector (east and south positive), speeds in miles per hour.
struct StormCell {
  int birthMinute;
  int lifeMinutes;
  double startX, startY;
  double speedX, speedY;
  double peakStrikesPerMinute;
  double spreadAlong, spreadAcross;  // standard deviations around the cell's centre, miles
  double axisX, axisY;               // direction of spreadAlong, need not be unit length
};

constexpr StormCell kCells[] = {
    // Northern supercell: far out west-northwest, seen only at the widest range.
    {17 * 60, 270, -230, -165, 32, 6, 22, 9, 9, 1, 0},
    // Southern cluster drifting out over the sea.
    {18 * 60 + 30, 300, 55, 150, 26, 8, 14, 12, 12, 1, 0},
    // Squall line, southwest-northeast, reaching the detector after midnight.
    {20 * 60, 540, -165, 25, 30, -2, 20, 50, 6, -0.4, 1},
    // Short-lived pop-up cell in the northeast.
    {21 * 60 + 10, 90, 135, -95, 20, 0, 8, 5, 5, 1, 0},
    // Cell passing just north of the detector around midnight.
    {23 * 60 + 20, 240, -115, -65, 34, 2, 18, 8, 8, 1, 0},
    // Late cells south of the detector and far to the southwest.
    {24 * 60 + 40, 120, -40, 105, 28, -4, 12, 6, 6, 1, 0},
    {25 * 60, 180, -250, 210, 30, -5, 10, 10, 10, 1, 0},
};

constexpr bool AllCellsEndWithinTheStormDays() {
  for (const StormCell& cell : kCells) {
    if (cell.birthMinute + cell.lifeMinutes > kStormDayCount * kMinutesPerDay) return false;
  }
  return true;
}
static_assert(AllCellsEndWithinTheStormDays());

// Share of strikes thrown far from the core, as from a storm's anvil, and how much farther.
constexpr double kStrayShare = 0.08;
constexpr double kStraySpreadFactor = 3.0;

// Growth to a peak at a third of the cell's life, then a slower decay; 1 at the peak.
double Intensity(double lifeFraction) {
  const double decay = 1.0 - lifeFraction;
  return 27.0 / 4.0 * lifeFraction * decay * decay;
}

std::int16_t ToUnits(double miles) {
  const double units = std::floor(miles * kUnitsPerMile + 0.5);
  return static_cast<std::int16_t>(std::clamp(units,
                                              double{std::numeric_limits<std::int16_t>::min()},
                                              double{std::numeric_limits<std::int16_t>::max()}));
}

struct TimedStrike {
  int second;  // since the first day's midnight
  DayRecord record;
};

void AddCellStrikes(const StormCell& cell, SampleRandom& random, std::vector<TimedStrike>& out) {
  const double axisLength = std::sqrt(cell.axisX * cell.axisX + cell.axisY * cell.axisY);
  const double alongX = cell.axisX / axisLength;
  const double alongY = cell.axisY / axisLength;
  for (int minute = 0; minute < cell.lifeMinutes; ++minute) {
    const double expected =
        cell.peakStrikesPerMinute * Intensity((minute + 0.5) / cell.lifeMinutes);
    // floor(a + u) has mean a; the first factor makes the rate gusty.
    const double gust = 0.5 + random.Uniform();
    const int count = static_cast<int>(std::floor(expected * gust + random.Uniform()));
    const double hours = minute / 60.0;
    const double centreX = cell.startX + cell.speedX * hours;
    const double centreY = cell.startY + cell.speedY * hours;
    for (int i = 0; i < count; ++i) {
      const int second = (cell.birthMinute + minute) * 60 + 2 * static_cast<int>(random.Below(30));
      const double spread = random.Uniform() < kStrayShare ? kStraySpreadFactor : 1.0;
      const double along = random.Bell() * cell.spreadAlong * spread;
      const double across = random.Bell() * cell.spreadAcross * spread;
      const double x = centreX + along * alongX - across * alongY;
      const double y = centreY + along * alongY + across * alongX;
      out.push_back({second, {0, ToUnits(x), ToUnits(y)}});
    }
  }
}

}  // namespace

StormDays GenerateStorm(std::uint32_t seed) {
  SampleRandom random(seed);
  std::vector<TimedStrike> strikes;
  for (const StormCell& cell : kCells) AddCellStrikes(cell, random, strikes);
  // Stable, so strikes in the same two seconds keep their order on every standard library.
  std::stable_sort(strikes.begin(), strikes.end(),
                   [](const TimedStrike& a, const TimedStrike& b) { return a.second < b.second; });

  StormDays days;
  for (const TimedStrike& strike : strikes) {
    DayRecord record = strike.record;
    record.timeCode = static_cast<std::uint16_t>(strike.second % kSecondsPerDay / 2);
    // An all-zero record would read as an empty slot; such a strike is left out.
    if (record.timeCode == 0 && record.offsetX == 0 && record.offsetY == 0) continue;
    days[static_cast<std::size_t>(strike.second / kSecondsPerDay)].push_back(record);
  }
  return days;
}

}  // namespace animark::samplegen
