#include "win/message_boxes.h"

#include <windows.h>

#include "win/win_text.h"

namespace animark::win {

namespace {

// "C:\Program Files\Animark\animark.exe" gives "animark".
std::wstring ProgramFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) {
    name.resize(dot);
  }
  return name;
}

}  // namespace

MessageBoxes::MessageBoxes() : caption_(ProgramFileName()) {}

MessageAnswer MessageBoxes::Show(std::string_view text, MessageIcon icon) {
  HWND owner = ::GetActiveWindow();
  UINT type = 0;
  if (!owner || ::IsIconic(owner)) {
    owner = nullptr;
    type |= MB_TASKMODAL;
  }
  switch (icon) {
    case MessageIcon::Stop:
      type |= MB_OK | MB_ICONSTOP;
      break;
    case MessageIcon::Exclamation:
      type |= MB_OK | MB_ICONEXCLAMATION;
      break;
    case MessageIcon::Question:
      type |= MB_YESNO | MB_ICONQUESTION;
      break;
  }
  // Box texts break lines at CR LF.
  std::wstring message;
  for (const wchar_t c : Wide(text)) {
    if (c == L'\n') message += L'\r';
    message += c;
  }
  const int answer = ::MessageBoxW(owner, message.c_str(), caption_.c_str(), type);
  if (icon != MessageIcon::Question) return MessageAnswer::Ok;
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace animark::win
