// The WAV and BGA definition lists: report lists whose click, key-release, mouse-release and
// mouse-move handlers run after the list's own handling, so that a release sees the row the
// click just made current.
#pragma once
#include <QTreeWidget>
#include <functional>

namespace mk {

class DefListView : public QTreeWidget {
 public:
  explicit DefListView(QWidget* parent = nullptr);

  // Button codes 1 left, 2 right, 4 middle; the pointer in global coordinates.
  std::function<void(int button, QPoint global)> mouseUp;
  // The key's classic code (46 for Delete) and shift state (Shift 1, Ctrl 2, Alt 4); the
  // keypad flag is not part of it.
  std::function<void(int key, int shift)> keyUp;
  std::function<void()> mouseMove;

  // 1-based position of the selected row, 0 when none is selected.
  int SelectedRow() const;

 protected:
  // A right press leaves the selection alone: the context menu acts on the current definition,
  // which stays the row shown selected.
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
};

// The classic key code of a Qt key (letters and digits as their upper-case character, Delete 46,
// Insert 45, arrows 37..40); 0 for keys without one.
int ClassicKeyCode(int qtKey);
// Shift state of keyboard modifiers: Shift 1, Ctrl 2, Alt 4 (the keypad flag ignored).
int ClassicShift(Qt::KeyboardModifiers m);

}  // namespace mk
