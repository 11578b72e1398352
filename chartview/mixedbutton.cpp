#include "chartview/mixedbutton.h"

#include <QPainter>

namespace mk {

void MixedToolButton::SetMixed(bool on) {
  if (mixed_ == on) return;
  mixed_ = on;
  update();
}

void MixedToolButton::SetAvailable(bool available) {
  SetMixed(!available);
  setEnabled(available);
}

void MixedToolButton::paintEvent(QPaintEvent* e) {
  QToolButton::paintEvent(e);
  if (!mixed_) return;
  QPainter p(this);
  p.fillRect(rect().adjusted(2, 2, -2, -2), QBrush(QColor(128, 128, 128, 160), Qt::Dense5Pattern));
}

}  // namespace mk
