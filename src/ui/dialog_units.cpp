#include "ui/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace animark::ui {

QFont DialogFont() {
  // Asked by exact family: fontconfig would hand a substitute for any name.
  QFont font(QFontDatabase::families().contains("Verdana") ? "Verdana" : "DejaVu Sans");
  font.setPointSize(8);
  return font;
}

namespace {

// The average width of the 52 letters, rounded, as the dialog framework measures it.
int AverageCharWidth(const QFontMetrics& metrics) {
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return (letters / 26 + 1) / 2;
}

// units * base / divisor, rounded to the nearest pixel.
int Scale(int units, int base, int divisor) {
  return (units * base + divisor / 2) / divisor;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : baseWidth_(AverageCharWidth(QFontMetrics(font))), baseHeight_(QFontMetrics(font).height()) {}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  // Edges are scaled rather than sizes, so neighbours that touch in units touch in pixels.
  const int left = Scale(x, baseWidth_, 4), top = Scale(y, baseHeight_, 8);
  return QRect(left, top, Scale(x + width, baseWidth_, 4) - left,
               Scale(y + height, baseHeight_, 8) - top);
}

QSize DialogUnits::Size(int width, int height) const {
  return QSize(Scale(width, baseWidth_, 4), Scale(height, baseHeight_, 8));
}

}  // namespace animark::ui
