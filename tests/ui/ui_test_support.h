#pragma once
// What the dialog's tests share: a Qt application on the offscreen platform, a fixed clock,
// messages recorded with a hook that runs while a box would be open, and a dialog started on a
// settings store of its own.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QString>
#include <functional>
#include <memory>

#include "platform/clock.h"
#include "settings/export_settings.h"
#include "settings/registry_file.h"
#include "support/test_support.h"
#include "ui/main_dialog.h"

namespace animark::ui::testing {

using animark::testing::RecordingMessages;
using animark::testing::TempDir;

// 14 July 2026, 21:30:15.
class FixedClock final : public Clock {
 public:
  LocalTime Now() const override { return {2026, 7, 14, 21, 30, 15}; }
};

// Records every message; `onShow` runs while the box would be open, as a user's look at the
// screen would (questions are answered Yes).
class HookedMessages final : public RecordingMessages {
 public:
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;
  std::function<void()> onShow;
};

// A settings folder of its own (XDG_CONFIG_HOME) and a dialog on it.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // The store the dialog uses, with `settings` saved in it.
  void Store(const ExportSettings& settings);
  // Starts the dialog on the store and shows it, application-modal as the program does.
  MainDialog& Open();

  QLineEdit* Edit(const char* name) const;
  // Replaces the text of an edit as a user does: select all, type.
  void Type(const char* name, const QString& text) const;
  // Clicks the button; a Create GIF command it starts has ended when it returns.
  void Click(const char* buttonName) const;
  // Runs the event loop until the dialog's Create GIF command has ended.
  void WaitForExport() const;

  TempDir dir;
  HookedMessages messages;
  FixedClock clock;
  std::unique_ptr<RegistryFile> key;
  std::unique_ptr<MainDialog> dialog;
};

}  // namespace animark::ui::testing
