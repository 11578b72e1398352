// Page 2 of the conversion wizard: the lane table, the target list, Back, Next and Cancel.
#include "frame/wizard2.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "chartview/formglobals.h"
#include "convert/convertchart.h"
#include "frame/formfont.h"
#include "frame/wizard1.h"

namespace mk {

Wizard2::Wizard2(const DocData& src, const DocData& dst, QWidget* parent) : QDialog(parent) {
  setObjectName("Wizard2");
  setWindowTitle(QStringLiteral("ファイル変換ウィザード(2/2)"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  auto* label1 = new QLabel(QStringLiteral("レーン変換設定"), this);
  label1->setObjectName("Label1");
  QFont bold = label1->font();
  bold.setBold(true);
  label1->setFont(bold);
  lay->addWidget(label1);
  auto* label2 =
      new QLabel(QStringLiteral(
                     "左のリストから　　　変換前のレーンを、右のリストから　　　変換後のレーンを　選んでください。"),
                 this);
  label2->setObjectName("Label2");
  label2->setWordWrap(true);
  lay->addWidget(label2);
  auto* lists = new QHBoxLayout;
  const QFont fixed = FixedListFont();
  listView1_ = new QTreeWidget(this);
  listView1_->setObjectName("ListView1");
  listView1_->setHeaderLabels({QStringLiteral("変換前"), QStringLiteral("変換後")});
  listView1_->setRootIsDecorated(false);
  listView1_->setFont(fixed);
  lists->addWidget(listView1_, 3);
  auto* label3 = new QLabel(QStringLiteral("→"), this);
  label3->setObjectName("Label3");
  lists->addWidget(label3);
  list1_ = new QListWidget(this);
  list1_->setObjectName("List1");
  list1_->setFont(fixed);
  lists->addWidget(list1_, 2);
  lay->addLayout(lists);
  AddWizardButtons(this, command1_, command2_, command3_);

  // Form_Load.
  const LaneMapPage page = LaneMapDefaults(src, dst);
  g_WizLaneMap = page.map;
  for (size_t i = 0; i < page.source.size(); ++i)
    listView1_->addTopLevelItem(
        new QTreeWidgetItem({QString::fromStdString(page.source[i]), QString::fromStdString(page.target[i])}));
  for (const std::string& s : page.list) list1_->addItem(QString::fromStdString(s));
  suppress_ = true;
  list1_->setCurrentRow(1);
  suppress_ = false;
  currentRow_ = 1;
  if (listView1_->topLevelItemCount() > 0) listView1_->setCurrentItem(listView1_->topLevelItem(0));

  // The row the right list edits is the lane table's current row, moved by mouse or keyboard.
  connect(listView1_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) ListView1_ItemClick(listView1_->indexOfTopLevelItem(item) + 1);
  });
  connect(list1_, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
  connect(command1_, &QPushButton::clicked, this, [this] {
    g_WizState = -2;
    done(QDialog::Rejected);
  });
  connect(command2_, &QPushButton::clicked, this, [this] {
    g_WizState = 0;
    accept();
  });
  connect(command3_, &QPushButton::clicked, this, [this] { reject(); });
}

void Wizard2::ListView1_ItemClick(int row) {
  if (row < 1 || row > static_cast<int>(g_WizLaneMap.size()) || row > listView1_->topLevelItemCount()) return;
  QTreeWidgetItem* item = listView1_->topLevelItem(row - 1);
  if (listView1_->currentItem() != item) {  // the table shows the row it edits
    listView1_->setCurrentItem(item);       // and comes back here through its current-row change
    return;
  }
  suppress_ = true;
  list1_->setCurrentRow(g_WizLaneMap[row - 1] + 1);
  suppress_ = false;
  currentRow_ = row;
}

void Wizard2::List1_Click() {
  if (suppress_) return;
  const int entry = list1_->currentRow();
  if (entry < 0 || currentRow_ < 1 || currentRow_ > static_cast<int>(g_WizLaneMap.size())) return;
  g_WizLaneMap[currentRow_ - 1] = static_cast<int16_t>(entry - 1);
  listView1_->topLevelItem(currentRow_ - 1)->setText(1, list1_->item(entry)->text());
}

void Wizard2::reject() {
  g_WizState = -1;
  QDialog::reject();
}

}  // namespace mk
