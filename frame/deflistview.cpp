// Definition list widget: handlers after the base handling.
#include "frame/deflistview.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace mk {

DefListView::DefListView(QWidget* parent) : QTreeWidget(parent) { viewport()->setMouseTracking(true); }

int DefListView::SelectedRow() const {
  const QList<QTreeWidgetItem*> sel = selectedItems();
  return sel.isEmpty() ? 0 : indexOfTopLevelItem(sel.first()) + 1;
}

void DefListView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    e->accept();
    return;
  }
  QTreeWidget::mousePressEvent(e);
}

void DefListView::mouseReleaseEvent(QMouseEvent* e) {
  QTreeWidget::mouseReleaseEvent(e);  // emits the item click first
  const int button = e->button() == Qt::LeftButton     ? 1
                     : e->button() == Qt::RightButton  ? 2
                     : e->button() == Qt::MiddleButton ? 4
                                                       : 0;
  if (mouseUp) mouseUp(button, e->globalPosition().toPoint());
}

void DefListView::keyReleaseEvent(QKeyEvent* e) {
  QTreeWidget::keyReleaseEvent(e);
  if (e->isAutoRepeat()) return;
  if (keyUp) keyUp(ClassicKeyCode(e->key()), ClassicShift(e->modifiers()));
}

void DefListView::mouseMoveEvent(QMouseEvent* e) {
  QTreeWidget::mouseMoveEvent(e);
  if (mouseMove) mouseMove();
}

int ClassicKeyCode(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  switch (qtKey) {
    case Qt::Key_Delete: return 46;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    default: return 0;
  }
}

int ClassicShift(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace mk
