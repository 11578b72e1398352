// The note count dialog: counts taken once at opening, totals kept as rows are ticked.
#include "frame/datainfo.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "frame/dialogrows.h"
#include "frame/findwin.h"
#include "platform/core/desktop.h"

namespace mk {

DataInfo::DataInfo(const DocData& doc, QWidget* parent) : QDialog(parent) {
  setObjectName("DataInfo");
  setWindowTitle(QStringLiteral("ノート数計算"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  QHBoxLayout* row = AddLaneList(this, lay, listView1_, command1_, command2_);
  check1_ = new QCheckBox(QStringLiteral("表オブジェ"), this);
  check1_->setObjectName("Check1");
  check2_ = new QCheckBox(QStringLiteral("裏オブジェ"), this);
  check2_->setObjectName("Check2");
  row->addWidget(check1_);
  row->addWidget(check2_);
  auto* result = new QHBoxLayout;
  result->addWidget(new QLabel(QStringLiteral("オブジェ数："), this));
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  result->addWidget(label2_, 1);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName("OKButton");
  ok_->setDefault(true);
  result->addWidget(ok_);
  lay->addLayout(result);

  connect(listView1_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { ListView1_ItemCheck(item); });
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(check1_, &QCheckBox::clicked, this, [this] { CountNotes(); });
  connect(check2_, &QCheckBox::clicked, this, [this] { CountNotes(); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  Form_Load(doc);
}

void DataInfo::Form_Load(const DocData& doc) {
  plat::TheDesktop().SetWaitCursor(true);
  counts_ = mk::CountNotes(doc);
  {
    QSignalBlocker block(listView1_);
    listView1_->clear();
    for (int i = 0; i < static_cast<int>(counts_.front.size()); ++i) {
      const LaneRowText r = LaneRow(doc, i);
      auto* item = new QTreeWidgetItem({QString::fromStdString(r.part), QString::fromStdString(r.label)});
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(0, Qt::Unchecked);
      listView1_->addTopLevelItem(item);
    }
  }
  check1_->setChecked(true);
  check2_->setChecked(true);
  frontTotal_ = backTotal_ = 0;
  label2_->setText("0");
  plat::TheDesktop().SetWaitCursor(false);
}

void DataInfo::ListView1_ItemCheck(QTreeWidgetItem* item) {
  const int lane = listView1_->indexOfTopLevelItem(item);
  if (lane < 0 || lane >= static_cast<int>(counts_.front.size())) return;
  // itemChanged comes for every change of the row; only a change of the mark counts, once.
  const bool ticked = item->checkState(0) == Qt::Checked;
  if (item->data(0, Qt::UserRole).toBool() == ticked) return;
  item->setData(0, Qt::UserRole, ticked);
  const int s = ticked ? 1 : -1;
  frontTotal_ += s * counts_.front[lane];
  backTotal_ += s * counts_.back[lane];
  CountNotes();
}

void DataInfo::Command1_Click() {
  frontTotal_ = backTotal_ = 0;
  {
    QSignalBlocker block(listView1_);
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = listView1_->topLevelItem(i);
      item->setCheckState(0, Qt::Checked);
      item->setData(0, Qt::UserRole, true);
      frontTotal_ += counts_.front[i];
      backTotal_ += counts_.back[i];
    }
  }
  CountNotes();
}

void DataInfo::Command2_Click() {
  frontTotal_ = backTotal_ = 0;
  {
    QSignalBlocker block(listView1_);
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
      listView1_->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
      listView1_->topLevelItem(i)->setData(0, Qt::UserRole, false);
    }
  }
  CountNotes();
}

void DataInfo::CountNotes() {
  int64_t n = 0;
  if (check1_->isChecked()) n = frontTotal_;
  if (check2_->isChecked()) n += backTotal_;
  label2_->setText(QString::number(n));
  listView1_->viewport()->update();
}

}  // namespace mk
