// The first paint of a window: a hook that runs once it is done, and the start-up benchmark's
// stop mark built on it.
#pragma once
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace plat {

// Runs fn once, as soon as the first paint of top or of a widget inside it is done (the whole
// window is drawn in that one pass).
inline void RunAfterFirstPaint(QWidget* top, std::function<void()> fn) {
  class Watch : public QObject {
   public:
    Watch(QWidget* w, std::function<void()> fn) : QObject(w), top_(w), fn_(std::move(fn)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
      if (fn_ && e->type() == QEvent::Paint) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->window() == top_) {
          // A zero timer runs once the paint pass that drew this widget has flushed the window.
          QTimer::singleShot(0, top_, std::move(fn_));
          fn_ = nullptr;
          qApp->removeEventFilter(this);
          deleteLater();
        }
      }
      return false;
    }

   private:
    QWidget* top_;
    std::function<void()> fn_;
  };
  qApp->installEventFilter(new Watch(top, std::move(fn)));
}

// Ends the program right after the first paint of top, with code 0 and skipping every shutdown
// step.
inline void ExitAtFirstPaint(QWidget* top) {
  RunAfterFirstPaint(top, [] { _exit(0); });
}

}  // namespace plat
