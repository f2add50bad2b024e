#include "ui_test_support.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>
#include <cstdlib>

#include "settings/settings_store.h"

namespace animark::ui::testing {

MessageAnswer HookedMessages::Show(std::string_view text, MessageIcon icon) {
  const MessageAnswer answer = RecordingMessages::Show(text, icon);
  if (onShow) onShow();
  return answer;
}

DialogTest::DialogTest() {
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  key = std::make_unique<RegistryFile>();
}

DialogTest::~DialogTest() {
  dialog.reset();
  unsetenv("XDG_CONFIG_HOME");
}

void DialogTest::Store(const ExportSettings& settings) {
  RecordingMessages ignored;
  ASSERT_TRUE(SaveSettings(settings, *key, ignored));
}

MainDialog& DialogTest::Open() {
  dialog = std::make_unique<MainDialog>(messages, *key, clock);
  // Modal, as the program's exec() shows it: Qt keeps input from the windows it blocks.
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->show();
  return *dialog;
}

QLineEdit* DialogTest::Edit(const char* name) const {
  auto* edit = dialog->findChild<QLineEdit*>(name);
  EXPECT_NE(edit, nullptr) << name;
  return edit;
}

void DialogTest::Type(const char* name, const QString& text) const {
  QLineEdit* edit = Edit(name);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void DialogTest::Click(const char* buttonName) const {
  auto* button = dialog->findChild<QAbstractButton*>(buttonName);
  ASSERT_NE(button, nullptr) << buttonName;
  QTest::mouseClick(button, Qt::LeftButton);
  WaitForExport();
}

void DialogTest::WaitForExport() const {
  // The command's last queued call ends it; every call wakes the loop.
  while (dialog->Exporting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace animark::ui::testing
