#pragma once
// The progress window of one export (template 129): four text lines, a bar with a 32-bit range
// and a Cancel button. The export runs on the dialog's thread, so the window takes its input
// (Cancel, Escape, repainting) each time the export reports a frame.

#include <windows.h>

#include "platform/progress_window.h"

namespace animark::win {

class ProgressDialog final : public ProgressWindow {
 public:
  // Creates and shows the window, centred on the screen, with its initial texts and an empty bar.
  explicit ProgressDialog(HINSTANCE instance);
  // Destroys the window.
  ~ProgressDialog() override;
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Whether the window could be made.
  bool Created() const { return window_ != nullptr; }

  void SetText(ProgressText line, std::string_view text) override;
  void SetRange(std::int32_t minimum, std::int32_t maximum) override;
  void SetPosition(std::int32_t position) override;
  // Raises and repaints the window, then handles the input that waits for any of the thread's
  // windows.
  void BringToTopAndRepaint() override;
  bool CancelRequested() override { return cancelRequested_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  bool cancelRequested_ = false;
};

// Handles every message waiting for the thread's windows, `dialog`'s keys as a dialog's.
void HandleWaitingMessages(HWND dialog);

}  // namespace animark::win
