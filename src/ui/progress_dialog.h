#pragma once
// The progress window of one export: the animation's length, its number of frames, the frame
// being added, what is being done and a bar, shown over the minimised main dialog. It has no
// close button and cannot be closed while it exists.

#include <QDialog>
#include <array>

#include "platform/progress_window.h"

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
  // sees a live program; user input stays queued (and is dropped by the export's input guard).
  void BringToTopAndRepaint() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::array<QLabel*, 4> lines_{};  // by ProgressText
  QProgressBar* bar_ = nullptr;
};

}  // namespace animark::ui
