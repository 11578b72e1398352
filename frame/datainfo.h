// The note count dialog DataInfo ("ノート数計算"): objects of the ticked lanes and layers.
#pragma once
#include <QDialog>
#include <cstdint>

#include "editing/notecount.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mk {

class DataInfo : public QDialog {
  Q_OBJECT

 public:
  // Counts the chart of doc once; the dialog changes nothing in it.
  explicit DataInfo(const DocData& doc, QWidget* parent = nullptr);

  // Controls, for tests.
  QTreeWidget* ListView1() const { return listView1_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QCheckBox* Check(int k) const { return k == 1 ? check1_ : check2_; }
  QLabel* Label2() const { return label2_; }
  QPushButton* OKButton() const { return ok_; }

 private:
  void Form_Load(const DocData& doc);
  void ListView1_ItemCheck(QTreeWidgetItem* item);
  void Command1_Click();
  void Command2_Click();
  void CountNotes();

  NoteCounts counts_;
  int64_t frontTotal_ = 0, backTotal_ = 0;
  QTreeWidget* listView1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QCheckBox* check2_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace mk
