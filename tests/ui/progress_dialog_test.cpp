// The progress window on its own: its initial face, a bar that follows any frame count, and the
// ways a user asks to stop.

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "ui/progress_dialog.h"
#include "ui_test_support.h"

namespace animark::ui {
namespace {

QString Line(const ProgressDialog& progress, const char* name) {
  return progress.findChild<QLabel*>(name)->text();
}

TEST(ProgressDialogTest, StartsWithItsInitialTextsAndCannotBeClosed) {
  QWidget owner;
  owner.show();
  ProgressDialog progress(&owner);
  EXPECT_TRUE(progress.isVisible());
  EXPECT_EQ(progress.windowTitle(), "Creating GIF animation...");
  EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(Line(progress, "length"), "Length of animation:");
  EXPECT_EQ(Line(progress, "frameCount"), "Number of frames:");
  EXPECT_EQ(Line(progress, "progress"), "Progress:");
  EXPECT_EQ(Line(progress, "status"), "busy...");
  EXPECT_EQ(progress.findChild<QProgressBar*>("bar")->value(),
            progress.findChild<QProgressBar*>("bar")->minimum());
  progress.close();
  EXPECT_TRUE(progress.isVisible());
  // Shown while its owner is minimised, it must not be hidden with it.
  EXPECT_EQ(progress.parentWidget(), &owner);
  EXPECT_EQ(progress.windowHandle()->transientParent(), nullptr);
}

TEST(ProgressDialogTest, TheBarShowsTheTruePositionBeyondSixteenBits) {
  QWidget owner;
  ProgressDialog progress(&owner);
  progress.SetRange(1, 100000);
  progress.SetPosition(70000);
  progress.SetText(ProgressText::Progress, "Progress: adding frame 70000 of 100000");
  const auto* bar = progress.findChild<QProgressBar*>("bar");
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), 100000);
  EXPECT_EQ(bar->value(), 70000);
  EXPECT_EQ(Line(progress, "progress"), "Progress: adding frame 70000 of 100000");
}

// Cancel and Escape ask; keys a user may still be typing for the main dialog do not.
TEST(ProgressDialogTest, CancelAndEscapeAskToStopAndLeaveTheWindowOpen) {
  const std::pair<Qt::Key, bool> keys[] = {{Qt::Key_Return, false},
                                           {Qt::Key_Enter, false},
                                           {Qt::Key_Space, false},
                                           {Qt::Key_Escape, true}};
  for (const auto& [key, asks] : keys) {
    QWidget owner;
    ProgressDialog progress(&owner);
    const QSignalSpy asked(&progress, &ProgressDialog::CancelAsked);
    QTest::keyClick(&progress, key);
    EXPECT_EQ(asked.count(), asks ? 1 : 0) << "key " << key;
    EXPECT_TRUE(progress.isVisible());
  }
  QWidget owner;
  ProgressDialog progress(&owner);
  const QSignalSpy asked(&progress, &ProgressDialog::CancelAsked);
  auto* cancel = progress.findChild<QAbstractButton*>("cancel");
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel, progress.CancelButton());
  EXPECT_EQ(cancel->text(), "Cancel");
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_EQ(asked.count(), 1);
  EXPECT_TRUE(progress.isVisible());
}

// Cancel sits under the bar, inside the window, and covers no other control.
TEST(ProgressDialogTest, CancelLiesUnderTheBarWithinTheWindow) {
  QWidget owner;
  const ProgressDialog progress(&owner);
  const QWidget* cancel = progress.CancelButton();
  const QWidget* bar = progress.findChild<QProgressBar*>("bar");
  EXPECT_GT(cancel->geometry().top(), bar->geometry().bottom());
  EXPECT_TRUE(progress.rect().contains(cancel->geometry()));
  EXPECT_GE(cancel->height(), cancel->sizeHint().height());
  for (const QWidget* other : progress.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other != cancel) {
      EXPECT_FALSE(other->geometry().intersects(cancel->geometry()))
          << other->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace animark::ui
