// The coastline file: what a map reads back from it round its detector, and damaged files.

#include <gtest/gtest.h>

#include <algorithm>

#include "maps/coast_file.h"
#include "support/test_support.h"

namespace animark {
namespace {

// A world in 1-degree cells: sea, with land over 45..55 N, 0..20 E holding a lake at 50 N 10 E,
// and land over 20..15 S across the date line (175 E .. 175 W). Each range's detail has its own
// lines: one near each land and one far off.
WorldMapData MadeUpWorld() {
  WorldMapData world;
  LevelGrid& grid = world.levels;
  grid = {-180, 180, -90, 90, 360, 180, std::vector<std::uint8_t>(360 * 180, kSeaLevel)};
  const auto set = [&](int north, int south, int west, int east, std::uint8_t level) {
    for (int latitude = south; latitude < north; ++latitude) {
      for (int longitude = west; longitude < east; ++longitude) {
        const int row = 89 - latitude, column = (longitude + 180 + 360) % 360;
        grid.levels[static_cast<std::size_t>(row * 360 + column)] = level;
      }
    }
  };
  set(55, 45, 0, 20, kLandLevel);
  set(51, 50, 10, 11, kLakeLevel);
  set(-15, -20, 175, 185, kLandLevel);
  for (int detail = 0; detail < 3; ++detail) {
    const double mark = detail * 0.01;  // tells the details apart
    world.lines[detail] = {
        {LineKind::Shore, {{48 + mark, 1}, {48 + mark, 19}}},
        {LineKind::River, {{-18 + mark, 179.5}, {-17, -179.5}}},
        {LineKind::NationalBorder, {{-60, -100}, {-61, -101}}},
    };
  }
  return world;
}

TEST(CoastFileTest, AMapReadsTheWorldRoundItsDetectorAtItsRangesDetail) {
  const WorldMapData world = MadeUpWorld();
  const std::string bytes = EncodeCoastFile(world);
  struct Case {
    GeoPoint detector;
    int range;
    std::vector<GeoPoint> places;  // read back with the world's level
    double firstLatitude;          // of the one line kept
  };
  const Case cases[] = {
      {{50, 10}, 100, {{50.5, 10.5}, {49.5, 10.5}, {50.5, 11.5}, {48, 8}}, 48},
      {{50, 10}, 300, {{50.5, 10.5}, {44.5, 3}, {54.5, 18}}, 48},
      // Across the date line both ways, and near the pole the whole circle.
      {{-17.5, 179.9}, 200, {{-17.5, 179.5}, {-17.5, -179.5}, {-17.5, -175.5}, {-14.5, 178}}, -18},
      {{-17.5, -179.9}, 100, {{-17.5, 179.5}, {-17.5, -179.5}}, -18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.detector.latitude) + "," + std::to_string(c.detector.longitude));
    MapDataError error{MapDataFailure::Failed, {}};
    const std::optional<MapData> data =
        DecodeCoastFile(bytes, c.detector, c.range, "coast.dat", &error);
    ASSERT_TRUE(data) << error.message;
    EXPECT_LT(data->levels.levels.size(), world.levels.levels.size() / 10);
    for (const GeoPoint& place : c.places) {
      EXPECT_EQ(data->levels.LevelAt(place), world.levels.LevelAt(place))
          << place.latitude << "," << place.longitude;
    }
    ASSERT_EQ(data->lines.size(), 1u);
    EXPECT_NEAR(data->lines[0].points[0].latitude, c.firstLatitude + (c.range - 100) / 10000.0,
                1e-9);
  }
}

TEST(CoastFileTest, ADamagedOrMissingFileIsToldNotRead) {
  const std::string bytes = EncodeCoastFile(MadeUpWorld());
  // Every cut, and every byte spoilt in turn, is refused or read within bounds (the sanitizers
  // watch the reading).
  for (std::size_t length = 0; length < bytes.size(); length += 1 + length / 50) {
    MapDataError error{MapDataFailure::DataMissing, {}};
    EXPECT_FALSE(DecodeCoastFile(bytes.substr(0, length), {50, 10}, 100, "coast.dat", &error))
        << length;
    EXPECT_EQ(error.failure, MapDataFailure::Failed);
    EXPECT_EQ(error.message,
              "The coastline data file coast.dat is damaged; install Animark again.");
  }
  for (std::size_t at = 0; at < bytes.size(); at += 1 + at / 40) {
    std::string spoilt = bytes;
    spoilt[at] = static_cast<char>(spoilt[at] ^ 0xA5);
    MapDataError error{MapDataFailure::DataMissing, {}};
    const std::optional<MapData> data = DecodeCoastFile(spoilt, {50, 10}, 300, "c", &error);
    if (data) {
      EXPECT_TRUE(std::ranges::all_of(data->levels.levels, [](auto level) { return level <= 4; }));
    }
  }
  testing::TempDir dir;
  MapDataError error{MapDataFailure::Failed, {}};
  EXPECT_FALSE(ReadCoastFile(dir / "coastlines.dat", {50, 10}, 100, &error));
  EXPECT_EQ(error.failure, MapDataFailure::DataMissing);
  EXPECT_EQ(error.message, "The coastline data file " + (dir / "coastlines.dat").string() +
                               " is missing; install Animark again.");
  std::string reason;
  ASSERT_TRUE(WriteCoastFile(dir / "coastlines.dat", MadeUpWorld(), &reason)) << reason;
  EXPECT_TRUE(ReadCoastFile(dir / "coastlines.dat", {50, 10}, 100, &error));
}

}  // namespace
}  // namespace animark
