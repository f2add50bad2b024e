#pragma once
// The About box (template 100): the program's icon, name, version and rights notice.

#include <windows.h>

namespace animark::win {

// Shows the box modally, centred on `owner`, until OK or Escape.
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace animark::win
