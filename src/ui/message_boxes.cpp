#include "ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/program.h"

namespace animark::ui {

MessageAnswer MessageBoxes::Show(std::string_view text, MessageIcon icon) {
  const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QWidget* front = QApplication::activeModalWidget();
  if (!front) front = QApplication::activeWindow();
  // A box over a minimised window would be hidden with it: it then stands on its own.
  if (front && front->isMinimized()) front = nullptr;
  switch (icon) {
    case MessageIcon::Question: {
      QMessageBox box(QMessageBox::Question, kProgramName, message,
                      QMessageBox::Yes | QMessageBox::No, front);
      box.setEscapeButton(QMessageBox::No);
      return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    case MessageIcon::Stop:
    case MessageIcon::Exclamation: {
      QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Warning,
                      kProgramName, message, QMessageBox::Ok, front);
      box.exec();
      return MessageAnswer::Ok;
    }
  }
  return MessageAnswer::Ok;
}

}  // namespace animark::ui
