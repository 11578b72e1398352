// Page 2 of the conversion wizard, Wizard2 ("ファイル変換ウィザード(2/2)"): which target lane
// each source lane goes to.
#pragma once
#include <QDialog>
#include <cstdint>

#include "chartfmt/docdata.h"

class QListWidget;
class QPushButton;
class QTreeWidget;

namespace mk {

class Wizard2 : public QDialog {
  Q_OBJECT

 public:
  // Fills g_WizLaneMap with the defaults for converting src into dst.
  Wizard2(const DocData& src, const DocData& dst, QWidget* parent = nullptr);

  QTreeWidget* ListView1() const { return listView1_; }
  QListWidget* List1() const { return list1_; }
  QPushButton* Command(int k) const { return k == 1 ? command1_ : k == 2 ? command2_ : command3_; }
  // A click on row `row` (1-based) of the lane table.
  void ListView1_ItemClick(int row);

 protected:
  // The close box and Esc cancel, as the Cancel button does.
  void reject() override;

 private:
  void List1_Click();

  int currentRow_ = 1;
  bool suppress_ = false;
  QTreeWidget* listView1_ = nullptr;
  QListWidget* list1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
};

}  // namespace mk
