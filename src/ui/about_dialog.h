#pragma once
// The About box: the icon, the program's name, its version and its rights notice, with OK.

#include <QDialog>

namespace animark::ui {

class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  // Centred on `owner` when shown (as Qt places a dialog over its parent); run it with exec().
  // OK and Escape end it.
  explicit AboutDialog(QWidget* owner);
};

}  // namespace animark::ui
