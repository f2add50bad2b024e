// The progress window on its own: its initial face, and a bar that follows any frame count.

#include <QLabel>
#include <QProgressBar>
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

}  // namespace
}  // namespace animark::ui
