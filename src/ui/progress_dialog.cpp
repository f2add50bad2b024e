#include "ui/progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include "ui/dialog_units.h"

namespace animark::ui {

ProgressDialog::ProgressDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("Creating GIF animation...");
  setFont(DialogFont());
  const DialogUnits units(font());
  setFixedSize(units.Size(187, 79));

  const auto line = [&](ProgressText which, const char* name, const char* text, QRect place) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    lines_[static_cast<std::size_t>(which)] = label;
  };
  line(ProgressText::Length, "length", "Length of animation:", units.Rect(28, 4, 130, 8));
  line(ProgressText::FrameCount, "frameCount", "Number of frames:", units.Rect(28, 12, 130, 8));
  line(ProgressText::Progress, "progress", "Progress:", units.Rect(28, 20, 130, 8));
  line(ProgressText::Status, "status", "busy...", units.Rect(0, 33, 186, 8));
  lines_[static_cast<std::size_t>(ProgressText::Status)]->setAlignment(Qt::AlignHCenter |
                                                                       Qt::AlignTop);

  bar_ = new QProgressBar(this);
  bar_->setObjectName("bar");
  bar_->setTextVisible(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setGeometry(units.Rect(0, 48, 186, 9));

  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cancel");
  cancel->setGeometry(units.Rect(68, 61, 50, 14));
  // Neither focus nor default, so that an Enter or a Space typed on after Create GIF cannot stop
  // the export; Escape (the dialog's own reject) is the keyboard's way.
  cancel->setFocusPolicy(Qt::NoFocus);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &ProgressDialog::reject);
  cancel_ = cancel;

  // Owned by the main dialog but not transient for it: window managers hide the transients of a
  // minimised window, and the main dialog is minimised for as long as this window lives.
  winId();
  windowHandle()->setTransientParent(nullptr);
  // Not transient for the main dialog, this window would be blocked by the main dialog's exec()
  // and Cancel would get no click. As the newest modal window it gets input, and Qt keeps every
  // key and click from the main dialog meanwhile.
  setWindowModality(Qt::ApplicationModal);
  show();
}

void ProgressDialog::SetText(ProgressText line, std::string_view text) {
  lines_[static_cast<std::size_t>(line)]->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ProgressDialog::SetRange(std::int32_t minimum, std::int32_t maximum) {
  bar_->setRange(minimum, maximum);
}

void ProgressDialog::SetPosition(std::int32_t position) {
  bar_->setValue(position);
}

void ProgressDialog::BringToTopAndRepaint() {
  raise();
}

void ProgressDialog::reject() {
  emit CancelAsked();
}

// The window ends with its export only.
void ProgressDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace animark::ui
