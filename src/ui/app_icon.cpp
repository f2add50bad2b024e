#include "ui/app_icon.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <climits>

namespace animark::ui {

namespace {

// The 16 colours of the small images: the VGA colours, with fuchsia (which the icon never uses)
// given up for transparency.
constexpr std::array<QRgb, 16> kPalette = {
    qRgba(0, 0, 0, 0),   qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),
    qRgb(128, 128, 0),   qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128),
    qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),
    qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(0, 255, 255), qRgb(255, 255, 255)};

constexpr QRgb kNight = qRgb(0, 0, 128);
constexpr QRgb kRing = qRgb(0, 128, 128);
constexpr QRgb kBolt = qRgb(255, 255, 0);
constexpr QRgb kBoltEdge = qRgb(0, 0, 0);

// Each opaque pixel takes the nearest of the palette's colours, the others the transparent one.
QImage ToSixteenColours(const QImage& drawn) {
  QImage indexed(drawn.size(), QImage::Format_Indexed8);
  indexed.setColorTable(QList<QRgb>(kPalette.begin(), kPalette.end()));
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb pixel = drawn.pixel(x, y);
      int nearest = 0;
      if (qAlpha(pixel) >= 128) {
        int nearestDistance = INT_MAX;
        for (int i = 1; i < static_cast<int>(kPalette.size()); ++i) {
          const int red = qRed(pixel) - qRed(kPalette[i]);
          const int green = qGreen(pixel) - qGreen(kPalette[i]);
          const int blue = qBlue(pixel) - qBlue(kPalette[i]);
          const int distance = red * red + green * green + blue * blue;
          if (distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
          }
        }
      }
      indexed.setPixel(x, y, nearest);
    }
  }
  return indexed;
}

}  // namespace

QImage DrawAppIcon(int size) {
  const bool small = size <= 32;
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, !small);
    // Drawn on a grid of 32 units; lines are at least one pixel wide, so that the small images
    // hold whole pixels only.
    painter.scale(size / 32.0, size / 32.0);
    const auto pen = [size](QRgb colour, double units) {
      QPen line{QColor(colour), std::max(1.0, units * size / 32.0)};
      line.setCosmetic(true);
      return line;
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kNight));
    painter.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(kRing, 2));
    painter.drawEllipse(QPointF(16, 16), 10, 10);
    painter.setPen(pen(kRing, 1));
    painter.drawLine(QPointF(16, 4), QPointF(16, 28));
    painter.drawLine(QPointF(4, 16), QPointF(28, 16));
    const QPolygonF bolt({{19.5, 1.5},
                          {8.5, 17.5},
                          {15, 17.5},
                          {11.5, 30.5},
                          {24.5, 12.5},
                          {17.5, 12.5},
                          {22.5, 1.5}});
    painter.setPen(pen(kBoltEdge, 1));
    painter.setBrush(QColor(kBolt));
    painter.drawPolygon(bolt);
  }
  return small ? ToSixteenColours(image) : image;
}

QIcon AppIcon() {
  QIcon icon;
  for (const int size : kIconSizes) icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
  return icon;
}

}  // namespace animark::ui
