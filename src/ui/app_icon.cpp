#include "ui/app_icon.h"

#include <QPainter>
#include <QPolygonF>
#include <array>

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

// Drawn without smoothing, every pixel already holds one of the palette's colours.
QImage ToSixteenColours(const QImage& drawn) {
  QImage indexed(drawn.size(), QImage::Format_Indexed8);
  indexed.setColorTable(QList<QRgb>(kPalette.begin(), kPalette.end()));
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb pixel = drawn.pixel(x, y);
      int index = 0;
      if (qAlpha(pixel) >= 128) {
        for (int i = 1; i < static_cast<int>(kPalette.size()); ++i) {
          if (qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == kPalette[i]) index = i;
        }
      }
      indexed.setPixel(x, y, index);
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
    // Drawn on a grid of 32 units.
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kNight));
    painter.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(kRing), 2));
    painter.drawEllipse(QPointF(16, 16), 10, 10);
    painter.setPen(QPen(QColor(kRing), 1));
    painter.drawLine(QPointF(16, 4), QPointF(16, 28));
    painter.drawLine(QPointF(4, 16), QPointF(28, 16));
    const QPolygonF bolt({{19.5, 1.5},
                          {8.5, 17.5},
                          {15, 17.5},
                          {11.5, 30.5},
                          {24.5, 12.5},
                          {17.5, 12.5},
                          {22.5, 1.5}});
    painter.setPen(QPen(QColor(kBoltEdge), 1));
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
