// animark_dialog_probe.exe: reads the running dialog's state from outside, for the dialog test
// that drives it through X. Prints one line and exits 0, or exits 1 when what was asked for did
// not appear within twenty seconds.
//   text ID       the text of the main dialog's control ID
//   focus         the control with the keyboard focus and its selection: "ID START END"
//   enabled ID    1 when the control is enabled, else 0
//   box CAPTION ID...  the texts of the controls ID... in the open dialog box captioned CAPTION,
//                 one a line
//   message       the text of the open message box captioned "animark"
//   progress      the progress window's frame count once the export has set it, and its bar's
//                 range: "Number of frames: N (bar 1 to N)"
//   gone          waits until no window of the dialog is left

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

std::wstring Text(HWND window) {
  wchar_t text[1024] = {};
  ::SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// Waits up to twenty seconds for `find` to give a window.
template <typename Find>
HWND WaitFor(Find find) {
  for (int tries = 0; tries < 400; ++tries) {
    if (HWND window = find()) return window;
    ::Sleep(50);
  }
  return nullptr;
}

// The dialog box captioned exactly `caption`: FindWindowW ignores case, which would take a message
// box ("animark") for the main dialog ("Animark").
HWND FindBox(const std::wstring& caption) {
  for (HWND window = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
       window = ::FindWindowExW(nullptr, window, L"#32770", nullptr)) {
    if (Text(window) == caption) return window;
  }
  return nullptr;
}

HWND FindMainDialog() {
  return FindBox(L"Animark");
}

HWND FindMessageBox() {
  return FindBox(L"animark");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  if (command == "message") {
    // The box's text is its static control with the number 0xFFFF, filled once the box is made.
    std::wstring text;
    const HWND box = WaitFor([&text]() -> HWND {
      HWND found = FindMessageBox();
      if (found) text = Text(::GetDlgItem(found, 0xFFFF));
      return text.empty() ? nullptr : found;
    });
    if (!box) return 1;
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
  }
  if (command == "progress") {
    std::wstring text;
    const HWND window = WaitFor([&text]() -> HWND {
      HWND found = FindBox(L"Creating GIF animation...");
      if (found) text = Text(::GetDlgItem(found, 1005));
      return text.size() > std::wstring_view(L"Number of frames: ").size() ? found : nullptr;
    });
    if (!window) return 1;
    HWND bar = ::GetDlgItem(window, 1004);
    std::printf("%s (bar %d to %d)\n", Utf8(text).c_str(),
                static_cast<int>(::SendMessageW(bar, PBM_GETRANGE, TRUE, 0)),
                static_cast<int>(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0)));
    return 0;
  }
  if (command == "box" && argc >= 4) {
    const std::wstring caption(argv[2], argv[2] + std::strlen(argv[2]));
    const HWND box = WaitFor([&caption] { return FindBox(caption); });
    if (!box) return 1;
    for (int id = 3; id < argc; ++id) {
      std::printf("%s\n", Utf8(Text(::GetDlgItem(box, std::atoi(argv[id])))).c_str());
    }
    return 0;
  }
  if (command == "gone") {
    return WaitFor(
               [] { return FindMainDialog() || FindMessageBox() ? nullptr : ::GetDesktopWindow(); })
               ? 0
               : 1;
  }
  HWND dialog = WaitFor(FindMainDialog);
  if (!dialog) return 1;
  if (command == "text" && argc == 3) {
    std::printf("%s\n", Utf8(Text(::GetDlgItem(dialog, std::atoi(argv[2])))).c_str());
    return 0;
  }
  if (command == "enabled" && argc == 3) {
    std::printf("%d\n", ::IsWindowEnabled(::GetDlgItem(dialog, std::atoi(argv[2]))) ? 1 : 0);
    return 0;
  }
  if (command == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) ||
        !info.hwndFocus) {
      return 1;
    }
    const auto selection = static_cast<DWORD>(::SendMessageW(info.hwndFocus, EM_GETSEL, 0, 0));
    std::printf("%d %u %u\n", ::GetDlgCtrlID(info.hwndFocus), LOWORD(selection), HIWORD(selection));
    return 0;
  }
  return 2;
}
