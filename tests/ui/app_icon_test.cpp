// The application icon: small images of 16 colours with a transparent surround, larger ones
// smoothed.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace animark::ui
