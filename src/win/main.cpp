// animark.exe: the Windows dialog. It keeps its settings in the current user's registry and reads
// nothing from its command line.

#include <windows.h>

#include <commctrl.h>

#include "platform/clock.h"
#include "platform/registry_key.h"
#include "win/locale_date_time_text.h"
#include "win/main_dialog.h"
#include "win/message_boxes.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);

  animark::win::MessageBoxes messages;
  animark::RegistryKey key(animark::RegistryAccess::ReadWrite);
  const animark::SystemClock clock;
  const animark::win::LocaleDateTimeText dates;
  animark::win::MainDialog dialog(instance, messages, key, clock, dates);
  dialog.Run();
  return 0;
}
