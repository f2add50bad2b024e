// animark-coastdata FILE: writes the coastline file that animark.exe and animark-cli.exe make
// maps from, read from gmt's installed data (gmt, gmt-gshhg-low/-high). Run when packaging.

#include <cstdio>
#include <string>

#include "maps/coast_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: animark-coastdata FILE\n");
    return 2;
  }
  animark::MapDataError error{animark::MapDataFailure::Failed, {}};
  const std::optional<animark::WorldMapData> world = animark::ReadWorldMapData(&error);
  if (!world) {
    std::fprintf(stderr, "animark-coastdata: %s\n", error.message.c_str());
    return error.failure == animark::MapDataFailure::Failed ? 1 : 2;
  }
  std::string reason;
  if (!animark::WriteCoastFile(argv[1], *world, &reason)) {
    std::fprintf(stderr, "animark-coastdata: %s: %s.\n", argv[1], reason.c_str());
    return 1;
  }
  return 0;
}
