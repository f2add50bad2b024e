// The message boxes: caption, icon, buttons and the answer, read from the open box.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ui/message_boxes.h"

namespace animark::ui {
namespace {

struct Box {
  MessageIcon icon;
  QMessageBox::Icon shownIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton pressed;
  MessageAnswer answer;
};

class MessageBoxesTest : public ::testing::TestWithParam<Box> {};

TEST_P(MessageBoxesTest, ShowsTheIconAndButtonsAndGivesTheAnswer) {
  const Box& box = GetParam();
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!shown) return;
    caption = shown->windowTitle();
    text = shown->text();
    icon = shown->icon();
    buttons = shown->standardButtons();
    shown->button(box.pressed)->click();
  });
  EXPECT_EQ(MessageBoxes().Show("Export file already exists, overwrite?", box.icon), box.answer);
  EXPECT_EQ(caption, "Animark");
  EXPECT_EQ(text, "Export file already exists, overwrite?");
  EXPECT_EQ(icon, box.shownIcon);
  EXPECT_EQ(buttons, box.buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageBoxesTest,
    ::testing::Values(Box{MessageIcon::Stop, QMessageBox::Critical, QMessageBox::Ok,
                          QMessageBox::Ok, MessageAnswer::Ok},
                      Box{MessageIcon::Exclamation, QMessageBox::Warning, QMessageBox::Ok,
                          QMessageBox::Ok, MessageAnswer::Ok},
                      Box{MessageIcon::Question, QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, MessageAnswer::Yes},
                      Box{MessageIcon::Question, QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No, MessageAnswer::No}));

}  // namespace
}  // namespace animark::ui
