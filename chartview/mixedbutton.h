// A toolbar button with the "mixed" (indeterminate) display state: a readable property, drawn
// with a hatched veil over the button.
#pragma once
#include <QToolButton>

namespace mk {

class MixedToolButton : public QToolButton {
  Q_OBJECT
  Q_PROPERTY(bool mixed READ Mixed WRITE SetMixed)

 public:
  explicit MixedToolButton(QWidget* parent = nullptr) : QToolButton(parent) {}
  bool Mixed() const { return mixed_; }
  void SetMixed(bool on);
  // Available: mixed off, then enabled; greyed: mixed on, then disabled.
  void SetAvailable(bool available);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  bool mixed_ = false;
};

}  // namespace mk
