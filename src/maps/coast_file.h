#pragma once
// The coastline file: the whole world's map data in one file, made on Linux from gmt's data
// (`animark-coastdata`) and installed beside the programs where gmt is not at hand (Windows). It
// holds land and water as a world grid of levels (one arc-minute) and the shores, borders and
// rivers at one detail for each range; a map reads only the part round its detector.
//
// Layout, little-endian: "AMKCOAST", version (u32), columns and rows of the grid (u32 each), each
// row top first as its runs (count, then level byte and length each); then for each range's
// detail its size in bytes (u32) and its lines (count, then per line its kind byte, point count
// and points as differences from the point before in 1/100000 degree, longitude first). Counts,
// lengths and differences are LEB128 numbers, differences zigzag-coded.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "maps/map_data.h"

namespace animark {

inline constexpr char kCoastFileName[] = "coastlines.dat";

// The file's bytes for `world`.
std::string EncodeCoastFile(const WorldMapData& world);

// Replaces `path` by the file for `world`; false with the system's reason in `reason`.
bool WriteCoastFile(const std::filesystem::path& path, const WorldMapData& world,
                    std::string* reason);

// What a map of `rangeMiles` round `detector` shows, from a coastline file's bytes: the world
// grid's part round the detector and the lines near it. Empty, with `error` (Failed) naming
// `name`, when the bytes are not such a file.
std::optional<MapData> DecodeCoastFile(std::string_view bytes, GeoPoint detector, int rangeMiles,
                                       const std::string& name, MapDataError* error);

// DecodeCoastFile on the file at `path`; a missing file is DataMissing.
std::optional<MapData> ReadCoastFile(const std::filesystem::path& path, GeoPoint detector,
                                     int rangeMiles, MapDataError* error);

}  // namespace animark
