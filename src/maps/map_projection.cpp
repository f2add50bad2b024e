#include "maps/map_projection.h"

#include <cmath>
#include <numbers>

#include "image/picture_geometry.h"

namespace animark {
namespace {

constexpr double kSemiMajorMetres = 6378137.0;
constexpr double kFlattening = 1 / 298.257223563;
constexpr double kSemiMinorMetres = kSemiMajorMetres * (1 - kFlattening);
constexpr double kMetresPerMile = 1609.344;
constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// The range's cells from the detector: 240 rows up or down, 246 columns left or right.
constexpr double kRangeRows = kDetectorY;
constexpr double kRangeColumns = kDetectorX;

// The series both of Vincenty's formulas share, in the names of his paper.
struct SeriesTerms {
  double bigA;
  double bigB;
};

SeriesTerms Series(double cosSqAlpha) {
  const double a = kSemiMajorMetres, b = kSemiMinorMetres;
  const double uSq = cosSqAlpha * (a * a - b * b) / (b * b);
  return {1 + uSq / 16384 * (4096 + uSq * (-768 + uSq * (320 - 175 * uSq))),
          uSq / 1024 * (256 + uSq * (-128 + uSq * (74 - 47 * uSq)))};
}

double DeltaSigma(double bigB, double sinSigma, double cosSigma, double cos2SigmaM) {
  return bigB * sinSigma *
         (cos2SigmaM + bigB / 4 *
                           (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                            bigB / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                                (-3 + 4 * cos2SigmaM * cos2SigmaM)));
}

// The longitude difference on the auxiliary sphere less the one on the ellipsoid.
double LongitudeCorrection(double sinAlpha, double cosSqAlpha, double sigma, double sinSigma,
                           double cosSigma, double cos2SigmaM) {
  const double f = kFlattening;
  const double c = f / 16 * cosSqAlpha * (4 + f * (4 - 3 * cosSqAlpha));
  return (1 - c) * f * sinAlpha *
         (sigma + c * sinSigma * (cos2SigmaM + c * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
}

}  // namespace

// Vincenty's inverse formula: accurate to well under a millimetre at the distances a map spans.
std::optional<GeodesicLine> Geodesic(GeoPoint from, GeoPoint to) {
  const double b = kSemiMinorMetres, f = kFlattening;
  double lonDifference = std::remainder(to.longitude - from.longitude, 360.0) * kRadiansPerDegree;
  const double u1 = std::atan((1 - f) * std::tan(from.latitude * kRadiansPerDegree));
  const double u2 = std::atan((1 - f) * std::tan(to.latitude * kRadiansPerDegree));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  double lambda = lonDifference;
  double sinSigma = 0, cosSigma = 1, sigma = 0, cosSqAlpha = 1, cos2SigmaM = 0;
  for (int iteration = 0;; ++iteration) {
    if (iteration == 200) return std::nullopt;
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    sinSigma = std::hypot(cosU2 * sinLambda, cosU1 * sinU2 - sinU1 * cosU2 * cosLambda);
    if (sinSigma == 0) return GeodesicLine{0, 0};  // the same place
    cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
    sigma = std::atan2(sinSigma, cosSigma);
    const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
    cosSqAlpha = 1 - sinAlpha * sinAlpha;
    // On the equator cos²α is 0 and the term drops out.
    cos2SigmaM = cosSqAlpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cosSqAlpha : 0;
    const double previous = lambda;
    lambda = lonDifference +
             LongitudeCorrection(sinAlpha, cosSqAlpha, sigma, sinSigma, cosSigma, cos2SigmaM);
    if (std::abs(lambda - previous) < 1e-12) break;
  }
  const auto [bigA, bigB] = Series(cosSqAlpha);
  const double deltaSigma = DeltaSigma(bigB, sinSigma, cosSigma, cos2SigmaM);
  const double metres = b * bigA * (sigma - deltaSigma);
  const double bearing =
      std::atan2(cosU2 * std::sin(lambda), cosU1 * sinU2 - sinU1 * cosU2 * std::cos(lambda));
  return GeodesicLine{metres / kMetresPerMile, bearing / kRadiansPerDegree};
}

// Vincenty's direct formula.
GeoPoint Destination(GeoPoint from, GeodesicLine line) {
  const double b = kSemiMinorMetres, f = kFlattening;
  const double alpha1 = line.bearing * kRadiansPerDegree;
  const double s = line.miles * kMetresPerMile;
  const double sinAlpha1 = std::sin(alpha1), cosAlpha1 = std::cos(alpha1);
  const double tanU1 = (1 - f) * std::tan(from.latitude * kRadiansPerDegree);
  const double cosU1 = 1 / std::sqrt(1 + tanU1 * tanU1), sinU1 = tanU1 * cosU1;
  const double sigma1 = std::atan2(tanU1, cosAlpha1);
  const double sinAlpha = cosU1 * sinAlpha1;
  const double cosSqAlpha = 1 - sinAlpha * sinAlpha;
  const auto [bigA, bigB] = Series(cosSqAlpha);
  double sigma = s / (b * bigA);
  double sinSigma = 0, cosSigma = 1, cos2SigmaM = 0;
  for (int iteration = 0; iteration < 100; ++iteration) {
    cos2SigmaM = std::cos(2 * sigma1 + sigma);
    sinSigma = std::sin(sigma);
    cosSigma = std::cos(sigma);
    const double deltaSigma = DeltaSigma(bigB, sinSigma, cosSigma, cos2SigmaM);
    const double previous = sigma;
    sigma = s / (b * bigA) + deltaSigma;
    if (std::abs(sigma - previous) < 1e-12) break;
  }
  sinSigma = std::sin(sigma);
  cosSigma = std::cos(sigma);
  cos2SigmaM = std::cos(2 * sigma1 + sigma);
  const double x = sinU1 * sinSigma - cosU1 * cosSigma * cosAlpha1;
  const double latitude = std::atan2(sinU1 * cosSigma + cosU1 * sinSigma * cosAlpha1,
                                     (1 - f) * std::hypot(sinAlpha, x));
  const double lambda =
      std::atan2(sinSigma * sinAlpha1, cosU1 * cosSigma - sinU1 * sinSigma * cosAlpha1);
  const double l =
      lambda - LongitudeCorrection(sinAlpha, cosSqAlpha, sigma, sinSigma, cosSigma, cos2SigmaM);
  return GeoPoint{latitude / kRadiansPerDegree,
                  std::remainder(from.longitude + l / kRadiansPerDegree, 360.0)};
}

MapProjection::MapProjection(GeoPoint detector, int rangeMiles)
    : detector_(detector), rangeMiles_(rangeMiles) {}

std::optional<CellPoint> MapProjection::ToCell(GeoPoint place) const {
  const std::optional<GeodesicLine> line = Geodesic(detector_, place);
  if (!line) return std::nullopt;
  const double bearing = line->bearing * kRadiansPerDegree;
  const double east = line->miles * std::sin(bearing);
  const double north = line->miles * std::cos(bearing);
  return CellPoint{kDetectorX + east * kRangeColumns / rangeMiles_,
                   kDetectorY - north * kRangeRows / rangeMiles_};
}

}  // namespace animark

namespace animark {

GeoPoint MapProjection::ToPlace(CellPoint cell) const {
  const double east = (cell.x - kDetectorX) * rangeMiles_ / kRangeColumns;
  const double north = (kDetectorY - cell.y) * rangeMiles_ / kRangeRows;
  return Destination(detector_, GeodesicLine{std::hypot(east, north),
                                             std::atan2(east, north) / kRadiansPerDegree});
}

}  // namespace animark
