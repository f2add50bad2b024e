#include "win/progress_dialog.h"

#include <commctrl.h>

#include "win/resource.h"
#include "win/win_text.h"

namespace animark::win {

namespace {

int ControlOf(ProgressText line) {
  switch (line) {
    case ProgressText::Status:
      return IDC_STATUS;
    case ProgressText::FrameCount:
      return IDC_FRAME_COUNT;
    case ProgressText::Progress:
      return IDC_PROGRESS_TEXT;
    case ProgressText::Length:
      return IDC_LENGTH;
  }
  return IDC_STATUS;
}

}  // namespace

void HandleWaitingMessages(HWND dialog) {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // For the loop that ends the program.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (dialog && ::IsDialogMessageW(dialog, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

ProgressDialog::ProgressDialog(HINSTANCE instance) {
  // No owner: an owned window would be hidden with the main dialog, which is minimised for as
  // long as this one lives. It has a task bar button of its own instead.
  window_ = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, &Procedure,
                                 reinterpret_cast<LPARAM>(this));
  if (!window_) return;
  ::SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  ::SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
  ::SetForegroundWindow(window_);
  // The window itself holds the keyboard, so that Escape reaches it as Cancel.
  ::SetFocus(window_);
  ::UpdateWindow(window_);
}

ProgressDialog::~ProgressDialog() {
  if (window_) ::DestroyWindow(window_);
}

void ProgressDialog::SetText(ProgressText line, std::string_view text) {
  if (window_) ::SetDlgItemTextW(window_, ControlOf(line), Wide(text).c_str());
}

void ProgressDialog::SetRange(std::int32_t minimum, std::int32_t maximum) {
  if (window_) {
    ::SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, static_cast<WPARAM>(minimum),
                          static_cast<LPARAM>(maximum));
  }
}

void ProgressDialog::SetPosition(std::int32_t position) {
  if (window_) {
    ::SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }
}

void ProgressDialog::BringToTopAndRepaint() {
  if (!window_) return;
  ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(window_);
  HandleWaitingMessages(window_);
}

INT_PTR CALLBACK ProgressDialog::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* self = reinterpret_cast<ProgressDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
      // The Cancel button takes no focus: nothing here does.
      return FALSE;
    case WM_COMMAND:
      // Cancel, Escape; an Enter (IDOK) does nothing.
      if (LOWORD(wParam) == IDCANCEL && self) self->cancelRequested_ = true;
      return TRUE;
    case WM_SETCURSOR:
      // Busy everywhere but over Cancel.
      if (reinterpret_cast<HWND>(wParam) == ::GetDlgItem(window, IDCANCEL)) return FALSE;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      ::SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace animark::win
