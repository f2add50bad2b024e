#include "ui/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWindow>

namespace animark::ui {

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::InputMethod:
      return true;
    default:
      return false;
  }
}

bool IsEscape(const QEvent& event) {
  return (event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease) &&
         static_cast<const QKeyEvent&>(event).key() == Qt::Key_Escape;
}

// The top-level widget an event for `receiver` ends up in: a widget's window, the window of the
// widget that owns a shortcut or an action, or the widget a native window shows.
QWidget* WindowOf(QObject* receiver) {
  if (auto* window = qobject_cast<QWindow*>(receiver)) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->windowHandle() == window) return widget;
    }
    return nullptr;
  }
  for (QObject* object = receiver; object; object = object->parent()) {
    if (auto* widget = qobject_cast<QWidget*>(object)) return widget->window();
  }
  return nullptr;
}

}  // namespace

InputBlocker::InputBlocker(std::initializer_list<QWidget*> windows, QWidget* cancel)
    : windows_(windows.begin(), windows.end()), cancel_(cancel) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
  // Delivered now, the held-back input meets the filter still in place.
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  return IsUserInput(event->type()) && Guards(watched) && !LetsThrough(watched, *event);
}

bool InputBlocker::Guards(QObject* receiver) const {
  QWidget* window = WindowOf(receiver);
  if (!window) return false;
  for (const QPointer<QWidget>& guarded : windows_) {
    if (guarded == window) return true;
  }
  return false;
}

bool InputBlocker::LetsThrough(QObject* receiver, const QEvent& event) const {
  if (!cancel_ || WindowOf(receiver) != cancel_->window()) return false;
  // A native window hands its input on to the widget under the mouse or with the focus: the
  // input of Cancel's window is judged there.
  if (receiver->isWindowType() || IsEscape(event)) return true;
  for (QObject* object = receiver; object; object = object->parent()) {
    if (object == cancel_) return true;
  }
  return false;
}

}  // namespace animark::ui
