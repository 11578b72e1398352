// The batch edit dialog ReplaceWin ("オブジェ一括編集"): the selected objects' numbers, lanes
// and kinds rewritten at once, after an undo snapshot.
#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>

#include "editing/batchedit.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mk {

class Form1;

class ReplaceWin : public QDialog {
  Q_OBJECT

 public:
  // Edits the selection of window win; random numbers come from random (the clock-seeded
  // generator when null).
  explicit ReplaceWin(Form1* win, std::unique_ptr<RandomSource> random = nullptr, QWidget* parent = nullptr);

  // Controls, for tests.
  QRadioButton* Option(int k) const { return options_[k]; }  // Option1..Option17
  QLineEdit* Text(int k) const { return texts_[k - 1]; }     // Text1..Text4
  QPushButton* OKButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  const BatchParams& Params() const { return p_; }
  void TextValidate(int k);
  void OKButton_Click();

 private:
  void Form_Load();
  void OptionClick(int k);

  Form1* win_;
  std::unique_ptr<RandomSource> random_;
  int16_t maxNum_ = 255;
  BatchParams p_;
  QRadioButton* options_[18] = {};
  QLineEdit* texts_[4] = {};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace mk
