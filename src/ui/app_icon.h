#pragma once
// The application icon, drawn by code: a yellow lightning bolt over a range ring on a night-blue
// disc. The same drawing gives the window icons and the files a desktop installs.

#include <QIcon>
#include <QImage>

namespace animark::ui {

// Sizes a desktop looks for in the hicolor theme.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon at `size` pixels square. Up to 32 pixels it is an image of 16 colours (indexed, one
// of them transparent) drawn without smoothing, as small icons are; larger sizes are smoothed
// and in full colour.
QImage DrawAppIcon(int size);

// Every size of kIconSizes in one icon.
QIcon AppIcon();

}  // namespace animark::ui
