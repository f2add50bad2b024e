#include "ui/about_dialog.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "animark/version.h"
#include "ui/app_icon.h"
#include "ui/dialog_units.h"

namespace animark::ui {

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("About Animark");
  setFont(DialogFont());
  const DialogUnits units(font());
  setFixedSize(units.Size(235, 64));

  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(DrawAppIcon(32)));
  icon->setGeometry(QRect(units.Rect(11, 19, 20, 20).topLeft(), QSize(32, 32)));
  const auto text = [&](const char* caption, QRect place) {
    auto* label = new QLabel(caption, this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
  };
  text("Animark for Keraunex data", units.Rect(40, 12, 119, 8));
  text("Version " ANIMARK_VERSION_TEXT, units.Rect(40, 20, 44, 8));
  text("\u00a9 2001 Quellmar Software", units.Rect(40, 35, 119, 8));
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("ok");
  ok->setGeometry(units.Rect(178, 20, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace animark::ui
