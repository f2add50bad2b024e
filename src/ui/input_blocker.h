#pragma once
// Keeps user input away from some windows while it lives, but for a Cancel button in one of them:
// during an export the progress window takes input through the event loop after each frame, and
// neither it nor the main dialog may act on a key press or a click meanwhile, except for a click
// on Cancel and Escape in Cancel's window. Message boxes that the export itself shows still get
// their input. Input still queued when the blocker ends is dropped, so that nothing typed during
// an export (an Enter, say) runs afterwards.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace animark::ui {

class InputBlocker final : public QObject {
 public:
  // `cancel` lies in one of `windows`.
  InputBlocker(std::initializer_list<QWidget*> windows, QWidget* cancel);
  ~InputBlocker() override;
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Guards(QObject* receiver) const;
  bool LetsThrough(QObject* receiver, const QEvent& event) const;

  std::vector<QPointer<QWidget>> windows_;
  QPointer<QWidget> cancel_;
};

}  // namespace animark::ui
