#pragma once
// Where a place on the earth lands on a map: azimuthal equidistant about the detector on the WGS84
// ellipsoid, so that every place's distance and bearing from the detector are true, scaled so that
// the range spans 240 cells up and down and 246 cells left and right of the detector's cell.

#include <optional>

namespace animark {

struct GeoPoint {
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
};

// A geodesic's length in statute miles and its direction at the start in degrees clockwise from
// north. Empty where the iteration does not settle (points nearly opposite on the globe).
struct GeodesicLine {
  double miles = 0;
  double bearing = 0;
};
std::optional<GeodesicLine> Geodesic(GeoPoint from, GeoPoint to);
// The place `line.miles` along the geodesic leaving `from` at `line.bearing`.
GeoPoint Destination(GeoPoint from, GeodesicLine line);

// A cell position with fractions: column x grows east, row y grows south.
struct CellPoint {
  double x = 0;
  double y = 0;
};

class MapProjection {
 public:
  // `rangeMiles` is 100, 200 or 300 (any positive number works).
  MapProjection(GeoPoint detector, int rangeMiles);

  // The cell position of `place`; empty for a place nearly opposite the detector on the globe.
  std::optional<CellPoint> ToCell(GeoPoint place) const;
  // The place shown at cell position `cell`: the inverse of ToCell.
  GeoPoint ToPlace(CellPoint cell) const;

  GeoPoint Detector() const { return detector_; }
  int RangeMiles() const { return rangeMiles_; }

 private:
  GeoPoint detector_;
  int rangeMiles_;
};

}  // namespace animark
