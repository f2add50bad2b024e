// animark: the desktop dialog. It keeps its settings per user and reads nothing from its command
// line.

#include <QApplication>

#include "platform/clock.h"
#include "settings/registry_file.h"
#include "ui/app_icon.h"
#include "ui/main_dialog.h"
#include "ui/message_boxes.h"

int main(int, char** argv) {
  // Qt sees the program's name only: no option of its own changes the program.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName("animark");
  QApplication::setDesktopFileName("animark");
  QApplication::setWindowIcon(animark::ui::AppIcon());

  animark::ui::MessageBoxes messages;
  animark::RegistryFile key;
  const animark::SystemClock clock;
  animark::ui::MainDialog dialog(messages, key, clock);
  dialog.exec();
  return 0;
}
