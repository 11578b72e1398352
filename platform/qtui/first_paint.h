// Ends the program right after a window's first paint: the start-up benchmark's stop mark.
#pragma once
#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace plat {

// Once the first paint of top or of a widget inside it is done (the whole window is drawn in
// that one pass), the process ends at once with code 0, skipping every shutdown step.
inline void ExitAtFirstPaint(QWidget* top) {
  class Watch : public QObject {
   public:
    explicit Watch(QWidget* w) : QObject(w), top_(w) {}
    bool eventFilter(QObject* o, QEvent* e) override {
      if (!seen_ && e->type() == QEvent::Paint) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->window() == top_) {
          seen_ = true;
          // A zero timer runs once the paint pass that drew this widget has flushed the window.
          QTimer::singleShot(0, [] { _exit(0); });
        }
      }
      return false;
    }

   private:
    QWidget* top_;
    bool seen_ = false;
  };
  qApp->installEventFilter(new Watch(top));
}

}  // namespace plat
