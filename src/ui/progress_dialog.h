#pragma once
// The progress window of one export: the animation's length, its number of frames, the frame
// being added, what is being done, a bar and a Cancel button, shown over the minimised main
// dialog. It has no close button and cannot be closed while it exists: Cancel (or Escape) asks
// the export to stop, and the window ends with the export. While it shows, it is the one window
// that takes input (message boxes of the export stand over it).

#include <QDialog>
#include <array>

#include "platform/progress_window.h"

class QAbstractButton;
class QLabel;
class QProgressBar;

namespace animark::ui {

class ProgressDialog final : public QDialog, public ProgressWindow {
  Q_OBJECT

 public:
  // Shown at once, centred on `owner` (as Qt places a dialog over its parent), with its initial
  // texts and an empty bar.
  explicit ProgressDialog(QWidget* owner);

  void SetText(ProgressText line, std::string_view text) override;
  // The bar takes the whole 32-bit range, so any number of frames shows truly.
  void SetRange(std::int32_t minimum, std::int32_t maximum) override;
  void SetPosition(std::int32_t position) override;
  // Raises the window; the event loop paints it.
  void BringToTopAndRepaint() override;

  QAbstractButton* CancelButton() const { return cancel_; }

 signals:
  // Cancel is clicked or Escape pressed in this window.
  void CancelAsked();

 public slots:
  // Escape in a dialog means cancel: it asks to stop and leaves the window open.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::array<QLabel*, 4> lines_{};  // by ProgressText
  QProgressBar* bar_ = nullptr;
  QAbstractButton* cancel_ = nullptr;
};

}  // namespace animark::ui
