#include "win/map_progress_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "win/progress_dialog.h"
#include "win/resource.h"

namespace animark::win {

bool MapProgressDialog::Shown() {
  if (window_) return true;
  window_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_MAP_PROGRESS), owner_, &Procedure,
                                 reinterpret_cast<LPARAM>(this));
  if (!window_) return false;
  RECT box;
  RECT over;
  if (owner_ && ::GetWindowRect(window_, &box) && ::GetWindowRect(owner_, &over)) {
    ::SetWindowPos(window_, nullptr,
                   over.left + ((over.right - over.left) - (box.right - box.left)) / 2,
                   over.top + ((over.bottom - over.top) - (box.bottom - box.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendDlgItemMessageW(window_, IDC_MAP_PROGRESS_BAR, PBM_SETRANGE32, 0,
                        static_cast<LPARAM>(std::size(kMapRanges)));
  ::SendDlgItemMessageW(window_, IDC_MAP_PROGRESS_BAR, PBM_SETPOS, 0, 0);
  ::SetForegroundWindow(window_);
  // The window itself holds the keyboard, so that Escape reaches it as Cancel.
  ::SetFocus(window_);
  ::UpdateWindow(window_);
  return true;
}

MapProgressDialog::~MapProgressDialog() {
  if (window_) ::DestroyWindow(window_);
}

void MapProgressDialog::Drawing(int rangeMiles, int done, int count) {
  if (!Shown()) return;
  wchar_t text[80] = {};
  std::swprintf(text, std::size(text), L"Drawing the %d-mile map (%d of %d)...", rangeMiles,
                done + 1, count);
  ::SetDlgItemTextW(window_, IDC_MAP_PROGRESS_TEXT, text);
  ::SendDlgItemMessageW(window_, IDC_MAP_PROGRESS_BAR, PBM_SETRANGE32, 0, count);
  ::SendDlgItemMessageW(window_, IDC_MAP_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(done), 0);
  // The drawing that follows takes no input: the window is shown as it now is first.
  HandleWaitingMessages(window_);
  ::UpdateWindow(window_);
}

bool MapProgressDialog::CancelRequested() {
  if (Shown()) HandleWaitingMessages(window_);
  return cancelRequested_;
}

INT_PTR CALLBACK MapProgressDialog::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* self = reinterpret_cast<MapProgressDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
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
