#include "win/about_dialog.h"

#include "animark/version.h"
#include "win/resource.h"

namespace animark::win {

namespace {

void CentreOn(HWND window, HWND owner) {
  RECT box;
  RECT over;
  if (!::GetWindowRect(window, &box) || !::GetWindowRect(owner, &over)) return;
  const LONG x = over.left + ((over.right - over.left) - (box.right - box.left)) / 2;
  const LONG y = over.top + ((over.bottom - over.top) - (box.bottom - box.top)) / 2;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ::SetDlgItemTextW(window, IDC_ABOUT_VERSION, L"Version " ANIMARK_VERSION_TEXT);
      if (HWND owner = ::GetWindow(window, GW_OWNER)) CentreOn(window, owner);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(window, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner) {
  ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, &Procedure, 0);
}

}  // namespace animark::win
