#pragma once
// The progress window of one export: the animation's length, its number of frames, the frame
// being added, what is being done, a bar and a Cancel button, shown over the minimised main
// dialog. It has no close button and cannot be closed while it exists: Cancel (or Escape) asks
// the export to stop, and the window ends with the export.

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
  // Raises the window, paints it at once and lets the window system show it, so that the desktop
  // sees a live program. User input is delivered too, so that Cancel can be clicked; the
  // export's input guard drops all other input.
  void BringToTopAndRepaint() override;
  // Once Cancel is clicked or Escape pressed in this window.
  bool CancelRequested() override { return cancelRequested_; }

  // The one control that takes input during an export.
  QAbstractButton* CancelButton() const { return cancel_; }

 public slots:
  // Escape in a dialog means cancel: it asks to stop and leaves the window open.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::array<QLabel*, 4> lines_{};  // by ProgressText
  QProgressBar* bar_ = nullptr;
  QAbstractButton* cancel_ = nullptr;
  bool cancelRequested_ = false;
};

}  // namespace animark::ui
