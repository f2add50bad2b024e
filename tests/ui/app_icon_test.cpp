// The application icon: small images of 16 colours with a transparent surround, larger ones
// smoothed.

#include <gtest/gtest.h>

#include <QImageReader>
#include <QMap>
#include <QSet>

#include "ui/app_icon.h"

namespace animark::ui {
namespace {

TEST(AppIconTest, SmallImagesHoldSixteenColoursAndEveryPixelIsOneOfThem) {
  for (const int size : {16, 32}) {
    const QImage icon = DrawAppIcon(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    ASSERT_EQ(icon.format(), QImage::Format_Indexed8);
    EXPECT_EQ(icon.colorCount(), 16);
    QSet<QRgb> used;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) used.insert(icon.pixel(x, y));
    }
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;         // the corner lets the desktop through
    EXPECT_TRUE(used.contains(qRgb(255, 255, 0))) << size;  // the bolt
    EXPECT_TRUE(used.contains(qRgb(0, 128, 128))) << size;  // the range ring
    EXPECT_LE(used.size(), 6) << size;  // whole pixels: no blends snapped to stray colours
  }
}

TEST(AppIconTest, EveryHicolorSizeIsDrawn) {
  const QIcon icon = AppIcon();
  for (const int size : kIconSizes) {
    EXPECT_EQ(icon.pixmap(size).size(), QSize(size, size)) << size;
  }
  EXPECT_EQ(DrawAppIcon(256).format(), QImage::Format_ARGB32);
}

// The Windows program's icon file is kept in the tree (the cross build has no Qt to draw it): it
// must still be this drawing, or scripts/make-windows-icon.sh was not run after a change.
TEST(AppIconTest, TheWindowsIconFileHoldsTheSameDrawing) {
  QImageReader reader(ANIMARK_WINDOWS_ICON);
  QMap<int, QImage> images;
  do {
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    images.insert(image.width(), image.convertToFormat(QImage::Format_ARGB32));
  } while (reader.jumpToNextImage());
  ASSERT_EQ(images.keys(), QList<int>({16, 32, 48, 256}));
  for (const int size : images.keys()) {
    const QImage drawn = DrawAppIcon(size).convertToFormat(QImage::Format_ARGB32);
    const QImage& stored = images[size];
    int differing = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb a = drawn.pixel(x, y);
        const QRgb b = stored.pixel(x, y);
        // A transparent pixel's colour is nobody's concern.
        if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && a != b)) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << size << " pixels";
  }
}

}  // namespace
}  // namespace animark::ui
