// Made maps: the projection against independently computed geodesics, the drawing of small
// made-up shapes, the written file as exports read it, and (where gmt is installed) real data.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "image/picture_geometry.h"
#include "maps/background_map.h"
#include "maps/map_data.h"
#include "maps/map_drawing.h"
#include "maps/map_projection.h"
#include "maps/picture_map.h"
#include "maps/station_maps.h"
#include "support/test_support.h"

namespace animark {
namespace {

namespace fs = std::filesystem;

struct GeodesicCase {
  GeoPoint detector;
  double bearing;  // degrees from north
  double miles;
  GeoPoint place;
};

// The places were computed with PROJ's geod on the WGS84 ellipsoid (statute miles):
//   echo "LAT LON BEARING MILES" | geod +ellps=WGS84 +units=mi -f "%.7f"
constexpr GeodesicCase kGeodesics[] = {
    {{52.52, 13.40}, 0, 60, {53.3876848, 13.4000000}},
    {{52.52, 13.40}, 60, 180, {53.7617276, 17.2054845}},
    {{52.52, 13.40}, 95, 290, {51.9587127, 20.1732971}},
    {{52.52, 13.40}, 135, 480, {47.3684330, 20.6333751}},
    {{52.52, 13.40}, 200, 45, {51.9078521, 13.0400861}},
    {{52.52, 13.40}, 250, 150, {51.7317617, 10.1155734}},
    {{52.52, 13.40}, 300, 270, {54.3353332, 7.6094917}},
    {{52.52, 13.40}, 330, 400, {57.4182475, 8.0447163}},
    {{-33.87, 151.21}, 0, 60, {-32.9993959, 151.2100000}},
    {{-33.87, 151.21}, 60, 180, {-32.5350005, 153.8805944}},
    {{-33.87, 151.21}, 95, 290, {-34.1336162, 156.2525047}},
    {{-33.87, 151.21}, 135, 480, {-38.6360968, 157.4807585}},
    {{-33.87, 151.21}, 200, 45, {-34.4832069, 150.9403587}},
    {{-33.87, 151.21}, 250, 150, {-34.5895632, 148.7371902}},
    {{-33.87, 151.21}, 300, 270, {-31.8464729, 147.2341103}},
    {{-33.87, 151.21}, 330, 400, {-28.7974419, 147.9169113}},
    {{39.74, -104.99}, 0, 60, {40.6096180, -104.9900000}},
    {{39.74, -104.99}, 60, 180, {41.0064492, -102.0076143}},
    {{39.74, -104.99}, 95, 290, {39.2480633, -99.6008785}},
    {{39.74, -104.99}, 135, 480, {34.6603491, -99.0347839}},
    {{39.74, -104.99}, 200, 45, {39.1266862, -105.2764386}},
    {{39.74, -104.99}, 250, 150, {38.9666441, -107.6076979}},
    {{39.74, -104.99}, 300, 270, {41.6099360, -109.5057199}},
    {{39.74, -104.99}, 330, 400, {44.6910666, -109.0469440}},
    {{64.14, -21.94}, 0, 60, {65.0061224, -21.9400000}},
    {{64.14, -21.94}, 60, 180, {65.3434597, -16.5467747}},
    {{64.14, -21.94}, 95, 290, {63.4685006, -12.5817572}},
    {{64.14, -21.94}, 135, 480, {58.8776105, -12.4495580}},
    {{64.14, -21.94}, 200, 45, {63.5286540, -22.4378271}},
    {{64.14, -21.94}, 250, 150, {63.3270583, -26.4709968}},
    {{64.14, -21.94}, 300, 270, {65.8680818, -30.2076047}},
    {{64.14, -21.94}, 330, 400, {68.9542397, -29.9807880}},
};

TEST(MapProjectionTest, PlacesLandWhereTheirDistanceAndBearingPutThem) {
  for (const GeodesicCase& c : kGeodesics) {
    const double radians = c.bearing * std::acos(-1.0) / 180;
    for (const int range : kMapRanges) {
      SCOPED_TRACE(::testing::Message()
                   << c.detector.latitude << "," << c.detector.longitude << " bearing " << c.bearing
                   << " " << c.miles << " mi, " << range << " mi map");
      const MapProjection projection(c.detector, range);
      const std::optional<CellPoint> cell = projection.ToCell(c.place);
      ASSERT_TRUE(cell);
      EXPECT_NEAR(cell->x, kDetectorX + c.miles * std::sin(radians) * 246 / range, 1.0);
      EXPECT_NEAR(cell->y, kDetectorY - c.miles * std::cos(radians) * 240 / range, 1.0);
      // And back: the cell shows the place itself.
      const GeoPoint back = projection.ToPlace(*cell);
      EXPECT_NEAR(back.latitude, c.place.latitude, 1e-6);
      EXPECT_NEAR(back.longitude, c.place.longitude, 1e-6);
    }
  }
  // The detector is its own cell, and across the date line nothing jumps.
  const MapProjection fiji({-17.7, 179.9}, 100);
  EXPECT_NEAR(fiji.ToCell({-17.7, 179.9})->x, kDetectorX, 1e-9);
  EXPECT_NEAR(fiji.ToCell({-17.7, -179.9})->x - fiji.ToCell({-17.7, 179.7})->x,
              2 * 0.2 * 69.1 * std::cos(17.7 * std::acos(-1.0) / 180) * 246 / 100, 2.0);
}

// A closed square line of `kind` round (latitude, longitude), `half` degrees either way.
MapLine Square(LineKind kind, double latitude, double longitude, double half) {
  return {kind,
          {{latitude - half, longitude - half},
           {latitude - half, longitude + half},
           {latitude + half, longitude + half},
           {latitude + half, longitude - half},
           {latitude - half, longitude - half}}};
}

// A 4 x 4 degree grid round (50 N, 10 E): land west of 10 E with a lake holding an island, sea
// to the east; the shore drawn along 10 E, lake and island outlined.
MapData MadeUpData() {
  MapData data;
  LevelGrid& grid = data.levels;
  grid.west = 8;
  grid.east = 12;
  grid.south = 48;
  grid.north = 52;
  grid.columns = 400;
  grid.rows = 400;
  grid.levels.resize(400 * 400);
  for (int row = 0; row < grid.rows; ++row) {
    for (int column = 0; column < grid.columns; ++column) {
      const double longitude = grid.west + (column + 0.5) * 0.01;
      const double latitude = grid.north - (row + 0.5) * 0.01;
      std::uint8_t level = longitude < 10 ? kLandLevel : kSeaLevel;
      if (std::abs(longitude - 9.5) < 0.3 && std::abs(latitude - 50) < 0.3) level = kLakeLevel;
      if (std::abs(longitude - 9.5) < 0.1 && std::abs(latitude - 50) < 0.1) level = 3;
      grid.levels[static_cast<std::size_t>(row) * 400 + static_cast<std::size_t>(column)] = level;
    }
  }
  data.lines.push_back({LineKind::River, {{49.0, 9.0}, {51.0, 11.0}}});
  data.lines.push_back({LineKind::Shore, {{48.0, 10.0}, {52.0, 10.0}}});
  data.lines.push_back(Square(LineKind::LakeShore, 50, 9.5, 0.3));
  data.lines.push_back(Square(LineKind::Shore, 50, 9.5, 0.1));
  return data;
}

TEST(MapDrawingTest, FillsLandLakesAndIslandsAndDrawsShoresOverRivers) {
  const MapProjection projection({50, 10}, 100);
  const FrameBuffer picture = DrawMap(MadeUpData(), projection);
  const auto at = [&](GeoPoint place) {
    const CellPoint cell = *projection.ToCell(place);
    return picture.At(static_cast<int>(std::lround(cell.x)), static_cast<int>(std::lround(cell.y)));
  };
  EXPECT_EQ(at({50.5, 9.0}), kLandEntry);
  EXPECT_EQ(at({50.5, 11.0}), kSeaEntry);
  EXPECT_EQ(at({50.0, 9.7}), kSeaEntry);   // the lake
  EXPECT_EQ(at({50.0, 9.5}), kLandEntry);  // its island
  // The shore runs down the detector's meridian, one cell wide, and wins where the river
  // crosses it.
  for (int y = 0; y < FrameBuffer::kHeight; ++y) {
    EXPECT_EQ(picture.At(kDetectorX, y), kShoreEntry) << y;
    EXPECT_NE(picture.At(kDetectorX - 2, y), kShoreEntry) << y;
  }
  EXPECT_EQ(at({49.0, 9.0}), kRiverEntry);
  EXPECT_EQ(at({51.0, 11.0}), kRiverEntry);
}

// The grid's word decides each piece between shores as a whole, so the fill meets the shore even
// where the grid's edge lies elsewhere; a piece the grid splits keeps the grid cell by cell.
TEST(MapDrawingTest, PiecesBetweenShoresAreFilledAsTheGridMostlySays) {
  const MapProjection projection({50, 10}, 100);
  MapData data;
  // Land west of 10 E, in cells of 2 degrees.
  data.levels = {
      4, 16, 44, 56, 6, 1, {kLandLevel, kLandLevel, kLandLevel, kSeaLevel, kSeaLevel, kSeaLevel}};
  data.lines.push_back({LineKind::Shore, {{48.0, 10.3}, {52.0, 10.3}}});
  data.lines.push_back(Square(LineKind::Shore, 50.5, 11.0, 0.1));  // an island the grid misses
  const FrameBuffer picture = DrawMap(data, projection);
  const auto at = [&](GeoPoint place) {
    const CellPoint cell = *projection.ToCell(place);
    return picture.At(static_cast<int>(std::lround(cell.x)), static_cast<int>(std::lround(cell.y)));
  };
  EXPECT_EQ(at({50.0, 10.15}), kLandEntry);  // east of the grid's edge, west of the shore
  EXPECT_EQ(at({50.0, 10.5}), kSeaEntry);
  EXPECT_EQ(at({50.5, 11.0}), kSeaEntry);  // the grid's word for the whole island piece

  data.lines.clear();  // no shore: one piece, half land
  const FrameBuffer split = DrawMap(data, projection);
  EXPECT_EQ(split.At(kDetectorX - 2, kDetectorY), kLandEntry);
  EXPECT_EQ(split.At(kDetectorX + 2, kDetectorY), kSeaEntry);
}

TEST(MapDrawingTest, LinesAreUnbrokenOneCellSteps) {
  const std::pair<std::pair<int, int>, std::pair<int, int>> lines[] = {
      {{0, 0}, {7, 3}}, {{5, 9}, {1, 0}}, {{3, 3}, {3, 3}}, {{0, 4}, {-6, 4}}};
  for (const auto& [from, to] : lines) {
    std::vector<std::pair<int, int>> cells;
    ForEachLineCell(from.first, from.second, to.first, to.second,
                    [&](int x, int y) { cells.emplace_back(x, y); });
    EXPECT_EQ(cells.front(), from);
    EXPECT_EQ(cells.back(), to);
    const std::size_t steps = static_cast<std::size_t>(
        std::max(std::abs(to.first - from.first), std::abs(to.second - from.second)));
    EXPECT_EQ(cells.size(), steps + 1);
    for (std::size_t i = 1; i < cells.size(); ++i) {
      EXPECT_LE(std::abs(cells[i].first - cells[i - 1].first), 1);
      EXPECT_LE(std::abs(cells[i].second - cells[i - 1].second), 1);
    }
  }
}

TEST(MapBitmapTest, WrittenMapLoadsCellForCellWithItsColours) {
  testing::TempDir dir;
  FrameBuffer picture;
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) picture.At(x, y) = (x * 7 + y * 3) % 13;
  }
  for (const MapStyle style : {MapStyle::Dark, MapStyle::Light}) {
    const ColourTable colours = MapStyleColours(style);
    std::string reason;
    ASSERT_TRUE(WriteMapBitmap(dir / "map.bmp", picture, colours, &reason)) << reason;
    FrameBuffer loaded;
    const MapLoad load = LoadBackgroundMap((dir / "map.bmp").string(), loaded);
    ASSERT_TRUE(load.Usable());
    EXPECT_TRUE(std::ranges::equal(loaded.Cells(), picture.Cells()));
    for (int entry = 0; entry < kColourTableEntries; ++entry) {
      EXPECT_EQ(load.colours[entry].red, colours[entry].red) << entry;
      EXPECT_EQ(load.colours[entry].green, colours[entry].green) << entry;
      EXPECT_EQ(load.colours[entry].blue, colours[entry].blue) << entry;
    }
    // At most 9 of the 13 free entries are used, and none matches a fixed colour.
    int used = 0;
    for (int entry = 0; entry < kFirstFixedEntry; ++entry) {
      const RgbColour c = colours[entry];
      used += c.red != 0 || c.green != 0 || c.blue != 0;
      for (const RgbColour fixed : kFixedColours) {
        EXPECT_GT(std::abs(c.red - fixed.red) + std::abs(c.green - fixed.green) +
                      std::abs(c.blue - fixed.blue),
                  60);
      }
    }
    EXPECT_LE(used, 9);
  }
  // A folder that is not there: the reason comes back and nothing is left behind.
  std::string reason;
  EXPECT_FALSE(WriteMapBitmap(dir / "missing" / "map.bmp", picture, MapStyleColours({}), &reason));
  EXPECT_NE(reason, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(MapDataTest, GmtLinesKeepTheirKindAndLevel) {
  const std::string text =
      "> Shore Bin # 109, Level 1\n14.7 54\n14.8 53.9\n"
      "> Shore Bin # 110, Level 2\n13.1 52.1\n13.2 52.2\n13.3 52.1\n"
      "> Border Bin # 5, Level 3\n1 2\n3 4\n"
      "> Lone point\n1 1\n";
  const std::vector<MapLine> shores = ParseGmtLines(text, LineKind::Shore);
  ASSERT_EQ(shores.size(), 3u);
  EXPECT_EQ(shores[0].kind, LineKind::Shore);
  EXPECT_DOUBLE_EQ(shores[0].points[1].latitude, 53.9);
  EXPECT_DOUBLE_EQ(shores[0].points[1].longitude, 14.8);
  EXPECT_EQ(shores[1].kind, LineKind::LakeShore);
  EXPECT_EQ(shores[1].points.size(), 3u);
  const std::vector<MapLine> borders = ParseGmtLines(
      "> Border Bin # 1, Level 1\n1 2\n3 4\n> Border Bin # 2, Level 2\n1 2\n3 4\n"
      "> Border Bin # 3, Level 3\n1 2\n3 4\n",
      LineKind::NationalBorder);
  ASSERT_EQ(borders.size(), 2u);  // maritime borders are not drawn
  EXPECT_EQ(borders[0].kind, LineKind::NationalBorder);
  EXPECT_EQ(borders[1].kind, LineKind::StateBorder);
}

bool GmtInstalled() {
  return std::system("gmt --version >/dev/null 2>&1") == 0;
}

TEST(MapDataTest, RealCoastsLieOnShoreCellsAndTheMapsLoad) {
  if (!GmtInstalled()) GTEST_SKIP() << "gmt is not installed";
  testing::TempDir dir;
  // Copenhagen: sea, islands, lakes and a border within every range.
  const GeoPoint detector{55.68, 12.57};
  for (const int range : kMapRanges) {
    SCOPED_TRACE(range);
    MapDataError error{MapDataFailure::Failed, {}};
    const std::optional<MapData> data = ReadMapData(detector, range, &error);
    ASSERT_TRUE(data) << error.message;
    const MapProjection projection(detector, range);
    const FrameBuffer picture = DrawMap(*data, projection);
    int shorePoints = 0;
    for (const MapLine& line : data->lines) {
      if (line.kind != LineKind::Shore) continue;
      for (const GeoPoint& point : line.points) {
        const CellPoint cell = *projection.ToCell(point);
        const int x = static_cast<int>(std::lround(cell.x)),
                  y = static_cast<int>(std::lround(cell.y));
        if (!FrameBuffer::Contains(x, y)) continue;
        ++shorePoints;
        EXPECT_EQ(picture.At(x, y), kShoreEntry) << point.latitude << "," << point.longitude;
      }
    }
    EXPECT_GT(shorePoints, 100);
    const auto cells = picture.Cells();
    // Both land and sea, and the shore as lines; Germany's border lies beyond 100 miles.
    for (const std::int16_t entry : {kSeaEntry, kLandEntry, kShoreEntry}) {
      EXPECT_GT(std::ranges::count(cells, entry), 50) << entry;
    }
    if (range >= 200) {
      EXPECT_GT(std::ranges::count(cells, kNationalBorderEntry), 50);
    }
    const fs::path path = dir / ("map" + std::to_string(range) + ".bmp");
    std::string reason;
    ASSERT_TRUE(WriteMapBitmap(path, picture, MapStyleColours(MapStyle::Dark), &reason));
    FrameBuffer loaded;
    EXPECT_TRUE(LoadBackgroundMap(path.string(), loaded).Usable());
  }
}

// Records each map announced, and asks to stop once `cancelAfter` were.
class RecordingMapProgress final : public MapProgress {
 public:
  explicit RecordingMapProgress(std::size_t cancelAfter = 99) : cancelAfter_(cancelAfter) {}
  void Drawing(int rangeMiles, int done, int count) override {
    told.push_back({rangeMiles, done, count});
  }
  bool CancelRequested() override { return told.size() >= cancelAfter_; }

  std::vector<std::array<int, 3>> told;

 private:
  std::size_t cancelAfter_;
};

TEST(StationMapsTest, AFolderThatTakesNoFileIsRefusedBeforeAnyDrawing) {
  testing::TempDir dir;
  const StationMap maps[] = {{100, dir / "map100.bmp"}, {200, dir / "missing" / "map200.bmp"}};
  RecordingMapProgress progress;
  const StationMapsResult made = MakeStationMaps({55.68, 12.57}, maps, MapStyle::Dark, progress);
  EXPECT_EQ(made.outcome, StationMapsOutcome::Unwritable);
  EXPECT_EQ(made.path, maps[1].path);
  EXPECT_FALSE(made.reason.empty());
  EXPECT_TRUE(progress.told.empty());
  EXPECT_TRUE(fs::is_empty(dir.Path()));  // the trial file of the first map is gone too
}

TEST(StationMapsTest, ACancelKeepsTheOldMapsAndAllAreWrittenTogether) {
  if (!GmtInstalled()) GTEST_SKIP() << "gmt is not installed";
  testing::TempDir dir;
  const StationMap maps[] = {{300, dir / "map300.bmp"}, {200, dir / "map200.bmp"}};
  testing::WriteFileBytes(maps[0].path, {'o', 'l', 'd'});

  RecordingMapProgress cancelling(1);
  EXPECT_EQ(MakeStationMaps({55.68, 12.57}, maps, MapStyle::Light, cancelling).outcome,
            StationMapsOutcome::Cancelled);
  EXPECT_EQ(cancelling.told, (std::vector<std::array<int, 3>>{{300, 0, 2}}));
  EXPECT_EQ(testing::ReadFileBytes(maps[0].path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(fs::exists(maps[1].path));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

  RecordingMapProgress progress;
  const StationMapsResult made = MakeStationMaps({55.68, 12.57}, maps, MapStyle::Light, progress);
  ASSERT_EQ(made.outcome, StationMapsOutcome::Written) << made.reason;
  EXPECT_EQ(progress.told, (std::vector<std::array<int, 3>>{{300, 0, 2}, {200, 1, 2}}));
  for (const StationMap& map : maps) {
    FrameBuffer loaded;
    EXPECT_TRUE(LoadBackgroundMap(map.path.string(), loaded).Usable()) << map.path;
  }
}

TEST(StationMapsTest, DegreesAreReadAsPeopleTypeThem) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"52.52", 52.52}, {" -13.4 ", -13.4}, {"+90", 90.0}, {"52,52", 52.52},
      {"-90", -90.0},   {"90.01", {}},      {"", {}},      {"52.5N", {}},
      {"1,2.3", {}},    {"nan", {}},        {"inf", {}},   {"5,2,1", {}},
  };
  for (const auto& [text, degrees] : cases) {
    EXPECT_EQ(ParseDegrees(text, 90), degrees) << text;
  }
  EXPECT_EQ(ParseDegrees("-180", 180), -180.0);
  EXPECT_EQ(ParseDegrees("180.5", 180), std::nullopt);
}

TEST(PictureMapTest, AnyPictureBecomesAMapThatLoads) {
  // Top-to-bottom gradients: the top and bottom rows keep their colours (within a quantising
  // step), in the picture's own sRGB and not darkened as linear light.
  struct Fixture {
    const char* name;
    RgbColour top, bottom;
  };
  const Fixture fixtures[] = {{"picture.png", {255, 165, 0}, {0, 0, 128}},
                              {"picture24.bmp", {255, 255, 255}, {0, 100, 0}}};
  const auto near = [](RgbColour a, RgbColour b) {
    return std::abs(a.red - b.red) <= 30 && std::abs(a.green - b.green) <= 30 &&
           std::abs(a.blue - b.blue) <= 30;
  };
  for (const auto& [name, top, bottom] : fixtures) {
    SCOPED_TRACE(name);
    std::string reason;
    const std::optional<PictureMap> map =
        MakePictureMap(std::string(ANIMARK_TEST_DATA_DIR) + "/maps/" + name, &reason);
#ifndef ANIMARK_HAVE_MAGICK
    EXPECT_FALSE(map);
    continue;
#endif
    ASSERT_TRUE(map) << reason;
    const auto cells = map->picture.Cells();
    EXPECT_TRUE(std::ranges::all_of(cells, [](std::int16_t c) { return c >= 0 && c < 13; }));
    // A gradient keeps several colours, and its two ends stay apart.
    EXPECT_GE(*std::ranges::max_element(cells), 5);
    const RgbColour shownTop = map->colours[map->picture.At(320, 0)];
    const RgbColour shownBottom = map->colours[map->picture.At(320, 479)];
    EXPECT_TRUE(near(shownTop, top))
        << int(shownTop.red) << " " << int(shownTop.green) << " " << int(shownTop.blue);
    EXPECT_TRUE(near(shownBottom, bottom))
        << int(shownBottom.red) << " " << int(shownBottom.green) << " " << int(shownBottom.blue);
    testing::TempDir dir;
    ASSERT_TRUE(WriteMapBitmap(dir / "map.bmp", map->picture, map->colours, &reason)) << reason;
    FrameBuffer loaded;
    EXPECT_TRUE(LoadBackgroundMap((dir / "map.bmp").string(), loaded).Usable());
    EXPECT_TRUE(std::ranges::equal(loaded.Cells(), cells));
  }
  std::string reason;
  EXPECT_FALSE(MakePictureMap(std::string(ANIMARK_TEST_DATA_DIR) + "/maps/README.md", &reason));
  EXPECT_NE(reason, "");
}

}  // namespace
}  // namespace animark
