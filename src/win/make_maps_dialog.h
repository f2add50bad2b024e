#pragma once
// The Make maps box (template 130): asks where the detector stands, the folder its three maps go
// into and their colours. Make maps (the default button, so also Enter) checks latitude,
// longitude and folder in that order; at the first refusal it tells it with the exclamation icon,
// puts the focus on the field with its text selected, and the box stays open. Cancel (also
// Escape) asks nothing.

#include <windows.h>

#include <filesystem>
#include <optional>

#include "maps/map_drawing.h"
#include "maps/map_projection.h"
#include "platform/user_messages.h"

namespace animark::win {

struct MapRequest {
  GeoPoint place;
  std::filesystem::path folder;
  MapStyle style = MapStyle::Dark;
};

// Shows the box modal to `owner` with `shown`'s folder and colours, and its place unless
// `placeKnown` is false. Returns what was taken at Make maps, or nothing after Cancel.
std::optional<MapRequest> AskForMaps(HINSTANCE instance, HWND owner, UserMessages& messages,
                                     const MapRequest& shown, bool placeKnown);

}  // namespace animark::win
