#pragma once
// Dialog layouts are given in dialog units, which grow with the dialog's font as the dialog
// framework grows them: a horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height. So the layout keeps its proportions whatever font and
// screen resolution the desktop has.

#include <QFont>
#include <QRect>
#include <QSize>

namespace animark::ui {

// The font of every dialog: 8-point Verdana where it is installed, else 8-point DejaVu Sans.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  // A rectangle given in dialog units (x, y, width, height), in pixels.
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

 private:
  int baseWidth_;   // average character width in pixels
  int baseHeight_;  // character height in pixels
};

}  // namespace animark::ui
