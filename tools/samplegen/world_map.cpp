#include "world_map.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

namespace animark::samplegen {
namespace {

// Colours of the map, by their index in its palette.
using Colour = std::uint8_t;
constexpr Colour kBackground = 0;
constexpr Colour kDeepSea = 1;
constexpr Colour kShallowSea = 2;
constexpr Colour kLowland = 3;
constexpr Colour kPlain = 4;
constexpr Colour kUpland = 5;
constexpr Colour kHighland = 6;
constexpr Colour kLake = 7;
constexpr Colour kRiver = 8;
constexpr Colour kBorder = 9;
constexpr Colour kRoad = 10;
constexpr Colour kTown = 11;
constexpr Colour kShore = 12;
static_assert(kShore == kLastMapColour);

constexpr Palette16 kPalette = {{
    {0, 0, 0},        // background, text column
    {16, 32, 58},     // deep sea
    {24, 46, 76},     // shallow sea
    {36, 54, 36},     // lowland
    {48, 62, 40},     // plain
    {64, 68, 46},     // upland
    {80, 74, 58},     // highland
    {22, 42, 72},     // lake
    {52, 88, 134},    // river
    {104, 84, 104},   // state line
    {112, 98, 74},    // road
    {170, 162, 148},  // town
    {70, 90, 110},    // shore
    // Never used in the picture; the overlay colours, so the file looks as it will in the frames.
    {0, 125, 109},
    {255, 255, 0},
    {255, 255, 255},
}};

// The detector's cell and the scale of range r: 100 * (r + 1) miles from the centre to the top
// edge (240 pixels) and to either side edge of the strike area (246 pixels).
constexpr int kCentreX = 246;
constexpr int kCentreY = 240;

struct Projection {
  double milesPerPixelX;
  double milesPerPixelY;

  explicit Projection(int rangeIndex)
      : milesPerPixelX(100.0 * (rangeIndex + 1) / kCentreX),
        milesPerPixelY(100.0 * (rangeIndex + 1) / kCentreY) {}
  double MilesX(int x) const { return (x - kCentreX) * milesPerPixelX; }
  double MilesY(int y) const { return (y - kCentreY) * milesPerPixelY; }
  int PixelX(double milesX) const {
    return kCentreX + static_cast<int>(std::floor(milesX / milesPerPixelX + 0.5));
  }
  int PixelY(double milesY) const {
    return kCentreY + static_cast<int>(std::floor(milesY / milesPerPixelY + 0.5));
  }
};

// Smooth value noise in [0, 1) from hashed lattice points; plain arithmetic only, so every
// machine draws the same map.
std::uint32_t Hash(int ix, int iy, std::uint32_t seed) {
  std::uint32_t h = seed ^ (static_cast<std::uint32_t>(ix) * 0x8DA6B343u) ^
                    (static_cast<std::uint32_t>(iy) * 0xD8163841u);
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Lattice(int ix, int iy, std::uint32_t seed) {
  return Hash(ix, iy, seed) * 0x1p-32;
}

double Smooth(double t) {
  return t * t * (3.0 - 2.0 * t);
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double floorX = std::floor(x);
  const double floorY = std::floor(y);
  const int ix = static_cast<int>(floorX);
  const int iy = static_cast<int>(floorY);
  const double tx = Smooth(x - floorX);
  const double ty = Smooth(y - floorY);
  const double top =
      Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * tx;
  const double bottom =
      Lattice(ix, iy + 1, seed) + (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * tx;
  return top + (bottom - top) * ty;
}

// Four octaves, each twice as fine and half as strong; in [0, 1).
double Fractal(double x, double y, std::uint32_t seed) {
  double sum = 0.0;
  double amplitude = 0.5;
  double frequency = 1.0;
  double total = 0.0;
  for (int octave = 0; octave < 4; ++octave) {
    sum += amplitude * ValueNoise(x * frequency, y * frequency,
                                  seed + static_cast<std::uint32_t>(octave) * 101u);
    total += amplitude;
    amplitude *= 0.5;
    frequency *= 2.0;
  }
  return sum / total;
}

struct Point {
  double x, y;  // miles from the detector, east and south positive
};

// Lakes and islands: ellipses with a frayed edge.
struct Ellipse {
  Point centre;
  double radiusX, radiusY;
};

constexpr Ellipse kIslands[] = {{{150, 30}, 13, 6}, {{185, 175}, 7, 15}, {{120, -200}, 6, 5}};

constexpr Ellipse kLakes[] = {
    {{-170, -205}, 70, 38},  // the large lake in the northwest
    {{-35, 25}, 7, 5},      {{30, -45}, 5, 4},   {{-72, -58}, 11, 7},
    {{58, 72}, 4, 6},       {{-120, 130}, 9, 6},
};

struct Town {
  Point place;
  int size;  // square of size x size pixels; size 1 towns are left out at the widest range
};

constexpr Town kTowns[] = {
    {{6, -10}, 3},    {{-62, 38}, 2},  {{48, 52}, 2},     {{-30, -70}, 1},  {{66, -30}, 2},
    {{-120, -10}, 2}, {{-190, 60}, 3}, {{-160, -155}, 2}, {{-60, 150}, 2},  {{70, 135}, 3},
    {{-240, -60}, 2}, {{20, -180}, 2}, {{-20, 240}, 2},   {{40, 15}, 1},    {{-15, 30}, 1},
    {{-90, 95}, 1},   {{110, 250}, 2}, {{-270, 200}, 2},  {{-60, -250}, 2}, {{55, -150}, 1},
};

// Roads as pairs of indices into kTowns.
constexpr int kRoads[][2] = {
    {0, 1},   {0, 2},  {0, 3},   {0, 4},   {0, 5},  {5, 6},  {5, 10}, {3, 11},
    {3, 7},   {7, 10}, {1, 8},   {8, 12},  {2, 9},  {9, 16}, {6, 17}, {1, 15},
    {11, 18}, {4, 19}, {19, 11}, {12, 16}, {6, 15}, {0, 13}, {0, 14}, {7, 18},
};

// Roads leaving the map: from a town to a point far outside.
struct Highway {
  int town;
  Point away;
};
constexpr Highway kHighways[] = {
    {6, {-420, 40}}, {10, {-420, -90}}, {17, {-380, 420}}, {12, {-30, 420}}, {18, {-80, -420}},
};

struct Polyline {
  Point points[5];
};

constexpr Polyline kRivers[] = {
    {{{-420, -60}, {-160, -40}, {-60, 10}, {20, 40}, {160, 95}}},
    {{{-150, -170}, {-100, -120}, {-40, -100}, {40, -80}, {140, -55}}},
};

constexpr Polyline kStateLines[] = {
    {{{-420, -120}, {-200, -118}, {0, -126}, {120, -122}, {300, -125}}},
    {{{-150, -121}, {-147, 0}, {-141, 120}, {-137, 260}, {-133, 420}}},
};

class MapPainter {
 public:
  MapPainter(int rangeIndex, std::uint32_t seed)
      : rangeIndex_(rangeIndex),
        projection_(rangeIndex),
        seed_(seed),
        pixels_(std::size_t{kMapWidth} * kMapHeight, kBackground) {}

  MapPixels Paint() {
    PaintGround();
    MarkShores();
    for (const Polyline& river : kRivers) DrawRiver(river);
    for (const Polyline& line : kStateLines) DrawPolyline(line, kBorder, /*dashed=*/true);
    for (const auto& road : kRoads)
      DrawLine(kTowns[road[0]].place, kTowns[road[1]].place, kRoad, false);
    for (const Highway& highway : kHighways)
      DrawLine(kTowns[highway.town].place, highway.away, kRoad, false);
    for (const Town& town : kTowns) {
      if (town.size > 1 || rangeIndex_ < 2) DrawTown(town);
    }
    return std::move(pixels_);
  }

 private:
  static bool IsWater(std::uint8_t colour) {
    return colour == kDeepSea || colour == kShallowSea || colour == kLake;
  }
  static bool InStrikeArea(int x, int y) {
    return x >= 0 && x < kTextColumnStart && y >= 0 && y < kMapHeight;
  }
  std::uint8_t& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * kMapWidth + x]; }

  bool InEllipse(const Ellipse& shape, double x, double y, std::uint32_t salt) const {
    const double dx = (x - shape.centre.x) / shape.radiusX;
    const double dy = (y - shape.centre.y) / shape.radiusY;
    const double wobble =
        0.7 * (Fractal(x / (shape.radiusX * 0.5), y / (shape.radiusY * 0.5), seed_ ^ salt) - 0.5);
    return dx * dx + dy * dy < 1.0 + wobble;
  }
  bool OnIsland(double x, double y) const {
    return std::any_of(std::begin(kIslands), std::end(kIslands),
                       [&](const Ellipse& island) { return InEllipse(island, x, y, 0x66u); });
  }

  std::uint8_t GroundAt(double x, double y) const {
    // The coast runs north-northeast to south-southwest, some 85 miles east of the detector.
    const double coast = 85.0 + 0.2 * y + 160.0 * (Fractal(y / 110.0, 3.7, seed_ ^ 0x11u) - 0.5);
    const double seaward = x - coast + 18.0 * (Fractal(x / 22.0, y / 22.0, seed_ ^ 0x22u) - 0.5);
    if (seaward > 0.0 && !OnIsland(x, y)) return seaward > 10.0 ? kDeepSea : kShallowSea;
    for (const Ellipse& lake : kLakes) {
      if (InEllipse(lake, x, y, 0x33u)) return kLake;
    }
    // Higher ground to the west, rolling in between.
    const double height = Fractal(x / 60.0, y / 60.0, seed_ ^ 0x44u) - x / 2500.0;
    if (height < 0.44) return kLowland;
    if (height < 0.52) return kPlain;
    if (height < 0.60) return kUpland;
    return kHighland;
  }

  void PaintGround() {
    for (int y = 0; y < kMapHeight; ++y) {
      for (int x = 0; x < kTextColumnStart; ++x)
        At(x, y) = GroundAt(projection_.MilesX(x), projection_.MilesY(y));
    }
  }

  // Land next to water gets a light edge so coast and lake shores read at every range.
  void MarkShores() {
    const MapPixels ground = pixels_;
    auto water = [&](int x, int y) {
      return InStrikeArea(x, y) && IsWater(ground[static_cast<std::size_t>(y) * kMapWidth + x]);
    };
    for (int y = 0; y < kMapHeight; ++y) {
      for (int x = 0; x < kTextColumnStart; ++x) {
        if (!IsWater(At(x, y)) &&
            (water(x - 1, y) || water(x + 1, y) || water(x, y - 1) || water(x, y + 1))) {
          At(x, y) = kShore;
        }
      }
    }
  }

  // Bresenham from a to b; roads and rivers stay on land, state lines only leave out the sea.
  void DrawLine(Point a, Point b, Colour colour, bool dashed) {
    int x = projection_.PixelX(a.x);
    int y = projection_.PixelY(a.y);
    const int endX = projection_.PixelX(b.x);
    const int endY = projection_.PixelY(b.y);
    const int dx = std::abs(endX - x);
    const int dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1;
    const int stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    for (int step = 0;; ++step) {
      if (InStrikeArea(x, y) && (!dashed || step % 6 < 4)) {
        std::uint8_t& pixel = At(x, y);
        const bool allowed =
            colour == kBorder ? pixel != kDeepSea && pixel != kShallowSea : !IsWater(pixel);
        if (allowed) pixel = colour;
      }
      if (x == endX && y == endY) break;
      const int doubled = 2 * error;
      if (doubled >= dy) {
        error += dy;
        x += stepX;
      }
      if (doubled <= dx) {
        error += dx;
        y += stepY;
      }
    }
  }

  void DrawPolyline(const Polyline& line, Colour colour, bool dashed) {
    for (std::size_t i = 0; i + 1 < std::size(line.points); ++i) {
      DrawLine(line.points[i], line.points[i + 1], colour, dashed);
    }
  }

  // A river wanders around its course: points every two miles, pushed sideways by noise.
  void DrawRiver(const Polyline& course) {
    constexpr double kStepMiles = 2.0;
    constexpr double kSwingMiles = 14.0;
    double travelled = 0.0;
    Point previous = course.points[0];
    for (std::size_t i = 0; i + 1 < std::size(course.points); ++i) {
      const Point from = course.points[i];
      const Point to = course.points[i + 1];
      const double length =
          std::sqrt((to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y));
      const double sideX = -(to.y - from.y) / length;
      const double sideY = (to.x - from.x) / length;
      const int steps = static_cast<int>(length / kStepMiles);
      for (int s = 1; s <= steps; ++s) {
        const double t = static_cast<double>(s) / steps;
        const double swing =
            kSwingMiles * (Fractal((travelled + t * length) / 40.0, 9.1, seed_ ^ 0x55u) - 0.5);
        const Point next = {from.x + (to.x - from.x) * t + sideX * swing,
                            from.y + (to.y - from.y) * t + sideY * swing};
        DrawLine(previous, next, kRiver, false);
        previous = next;
      }
      travelled += length;
    }
  }

  void DrawTown(const Town& town) {
    const int left = projection_.PixelX(town.place.x) - town.size / 2;
    const int top = projection_.PixelY(town.place.y) - town.size / 2;
    for (int x = left; x < left + town.size; ++x) {
      for (int y = top; y < top + town.size; ++y) {
        if (InStrikeArea(x, y)) At(x, y) = kTown;
      }
    }
  }

  int rangeIndex_;
  Projection projection_;
  std::uint32_t seed_;
  MapPixels pixels_;
};

}  // namespace

std::string MapFileName(int rangeIndex) {
  return "map" + std::to_string(100 * (rangeIndex + 1)) + ".bmp";
}

MapPixels DrawMap(int rangeIndex, std::uint32_t worldSeed) {
  return MapPainter(rangeIndex, worldSeed).Paint();
}

std::vector<std::uint8_t> MapBmpBytes(int rangeIndex, std::uint32_t worldSeed) {
  return EncodeBmp4(DrawMap(rangeIndex, worldSeed), kPalette);
}

}  // namespace animark::samplegen
