#pragma once
// Keeps user input away from some windows while it lives: during an export the progress window
// repaints through the event loop, and neither it nor the main dialog may act on a key press or a
// click meanwhile. Message boxes that the export itself shows still get their input. Input the
// window system held back in the meantime is dropped when the blocker ends, so that nothing
// typed during an export (an Enter, say) runs afterwards.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace animark::ui {

class InputBlocker final : public QObject {
 public:
  explicit InputBlocker(std::initializer_list<QWidget*> windows);
  ~InputBlocker() override;
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Guards(QObject* receiver) const;

  std::vector<QPointer<QWidget>> windows_;
};

}  // namespace animark::ui
