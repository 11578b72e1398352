// The object search dialog FindWin ("オブジェの検索"): lanes, measure range, number range and
// kinds; a new selection from the whole chart or the matching part of the current one.
#pragma once
#include <QDialog>
#include <cstdint>
#include <string>

#include "editing/findobj.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mk {

class Form1;

class FindWin : public QDialog {
  Q_OBJECT

 public:
  // Searches in the chart of window win, which must stay open while the dialog is.
  explicit FindWin(Form1* win, QWidget* parent = nullptr);

  // Controls, for tests.
  QTreeWidget* ListView1() const { return listView1_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QLineEdit* Text(int k) const { return texts_[k - 1]; }    // Text1..Text4
  QCheckBox* Check(int k) const { return checks_[k - 1]; }  // Check1..Check3
  QRadioButton* Option1(int index) const { return options_[index]; }
  QPushButton* OKButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // Validates field k as its losing the focus does.
  void TextValidate(int k);
  void OKButton_Click();

 protected:
  // Space on the lane list inverts the current row's mark, as a click on the row does; moving
  // through the rows with the keys leaves the marks alone.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void CheckClick();
  void ListView1_ItemClick(QTreeWidgetItem* item);

  Form1* win_;
  int16_t maxNum_ = 255;
  int16_t mesFrom_ = 0, mesTo_ = 0, numFrom_ = 1, numTo_ = 255;
  QTreeWidget* listView1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLineEdit* texts_[4] = {};
  QCheckBox* checks_[3] = {};
  QRadioButton* options_[2] = {};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// A row of a lane list: the part number ("0" for the tempo lane) and the label ("BPM").
struct LaneRowText {
  std::string part;
  std::string label;
};
LaneRowText LaneRow(const DocData& d, int lane);

}  // namespace mk
