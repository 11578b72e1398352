// The object search dialog: filling, field validation, kind boxes and the search itself.
#include "frame/findwin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "chartfmt/defcode.h"
#include "chartview/form1.h"
#include "editing/fieldrules.h"
#include "frame/dialogrows.h"
#include "frame/settings.h"
#include "platform/core/desktop.h"

namespace mk {

LaneRowText LaneRow(const DocData& d, int lane) {
  if (lane == 0) return {"0", "BPM"};
  if (lane < 0 || lane >= static_cast<int>(d.Lane.size())) return {};
  return {std::to_string(d.Lane[lane].Part), d.Lane[lane].Label};
}

namespace {

bool AnyBackLane(const DocData& d) {
  for (int i = 1; i <= d.LaneCount && i < static_cast<int>(d.Lane.size()); ++i)
    if (d.Lane[i].BackChannel != "__") return true;
  return false;
}

void Warn(const char* text) {
  plat::TheDesktop().MessageBox(text, "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
}

}  // namespace

FindWin::FindWin(Form1* win, QWidget* parent) : QDialog(parent), win_(win) {
  setObjectName("FindWin");
  setWindowTitle(QStringLiteral("オブジェの検索"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new QLabel(QStringLiteral("レーン："), this));
  AddLaneList(this, lay, listView1_, command1_, command2_)->addStretch(1);

  auto* ranges = new QGridLayout;
  for (int k = 0; k < 4; ++k) {
    texts_[k] = new QLineEdit(this);
    texts_[k]->setObjectName(QStringLiteral("Text%1").arg(k + 1));
    texts_[k]->setMaxLength(2);
    texts_[k]->setMaximumWidth(60);
  }
  ranges->addWidget(new QLabel(QStringLiteral("小節範囲："), this), 0, 0);
  ranges->addWidget(texts_[0], 0, 1);
  ranges->addWidget(new QLabel(QStringLiteral("～"), this), 0, 2);
  ranges->addWidget(texts_[1], 0, 3);
  ranges->addWidget(new QLabel(QStringLiteral("WAV/BGA番号範囲："), this), 1, 0);
  ranges->addWidget(texts_[2], 1, 1);
  ranges->addWidget(new QLabel(QStringLiteral("～"), this), 1, 2);
  ranges->addWidget(texts_[3], 1, 3);
  lay->addLayout(ranges);

  lay->addWidget(new QLabel(QStringLiteral("対象オブジェ："), this));
  auto* kinds = new QHBoxLayout;
  const char* kindCaptions[] = {"表オブジェ", "裏オブジェ", "オープンオブジェ"};
  for (int k = 0; k < 3; ++k) {
    checks_[k] = new QCheckBox(QString::fromUtf8(kindCaptions[k]), this);
    checks_[k]->setObjectName(QStringLiteral("Check%1").arg(k + 1));
    kinds->addWidget(checks_[k]);
    connect(checks_[k], &QCheckBox::clicked, this, [this] { CheckClick(); });
  }
  lay->addLayout(kinds);

  lay->addWidget(new QLabel(QStringLiteral("選択方法："), this));
  auto* picture1 = new QWidget(this);
  picture1->setObjectName("Picture1");
  auto* methods = new QHBoxLayout(picture1);
  methods->setContentsMargins(0, 0, 0, 0);
  options_[0] = new QRadioButton(QStringLiteral("新規"), picture1);
  options_[1] = new QRadioButton(QStringLiteral("絞り込み"), picture1);
  for (int i = 0; i < 2; ++i) {
    options_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    methods->addWidget(options_[i]);
  }
  lay->addWidget(picture1);

  AddOkCancelRow(this, lay, ok_, cancel_);

  connect(command1_, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i)
      listView1_->topLevelItem(i)->setCheckState(0, Qt::Checked);
  });
  connect(command2_, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i)
      listView1_->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
  });
  connect(listView1_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
  listView1_->installEventFilter(this);
  for (int k = 0; k < 4; ++k) connect(texts_[k], &QLineEdit::editingFinished, this, [this, k] { TextValidate(k + 1); });
  connect(ok_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  Form_Load();
}

void FindWin::Form_Load() {
  const DocData& d = win_->Doc();
  maxNum_ = DefNumMax(d.Fmt.WNum);
  listView1_->clear();
  for (int i = 0; i <= d.LaneCount; ++i) {
    const LaneRowText row = LaneRow(d, i);
    auto* item = new QTreeWidgetItem({QString::fromStdString(row.part), QString::fromStdString(row.label)});
    // A click anywhere on the row inverts its mark (ListView1_ItemClick), the box included.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(0, Qt::Checked);
    listView1_->addTopLevelItem(item);
  }
  // Three characters, or as many as the last measure has (a chart read past the measure limit).
  const int mesWidth = std::max<int>(3, static_cast<int>(std::to_string(d.MesCount).size()));
  texts_[0]->setMaxLength(mesWidth);
  texts_[1]->setMaxLength(mesWidth);
  texts_[0]->setText("0");
  texts_[1]->setText(QString::number(d.MesCount));
  texts_[2]->setText("01");
  texts_[3]->setText(QString::fromStdString(DefNumToText(maxNum_, d.Fmt.WNum)));
  mesFrom_ = 0;
  mesTo_ = d.MesCount;
  numFrom_ = 1;
  numTo_ = maxNum_;
  options_[0]->setChecked(true);
  options_[1]->setEnabled(d.SelCount != 0);
  const bool backLanes = AnyBackLane(d);
  checks_[0]->setChecked(true);
  checks_[1]->setChecked(backLanes);
  checks_[1]->setEnabled(backLanes);
  const bool groups = d.Fmt.GtCount != -1;
  checks_[2]->setChecked(groups);
  checks_[2]->setEnabled(groups);
  CheckClick();
}

void FindWin::CheckClick() {
  ok_->setEnabled(checks_[0]->isChecked() || checks_[1]->isChecked() || checks_[2]->isChecked());
}

void FindWin::ListView1_ItemClick(QTreeWidgetItem* item) {
  item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

bool FindWin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listView1_ && event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    if ((k->key() == Qt::Key_Space || k->key() == Qt::Key_Select) &&
        (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && listView1_->currentItem()) {
      if (!k->isAutoRepeat()) ListView1_ItemClick(listView1_->currentItem());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FindWin::TextValidate(int k) {
  const DocData& d = win_->Doc();
  QLineEdit* t = texts_[k - 1];
  std::string text = t->text().toStdString();
  switch (k) {
    case 1: mesFrom_ = IntegerFieldRule(text, d.MesCount); break;
    case 2: mesTo_ = IntegerFieldRule(text, d.MesCount); break;
    case 3: numFrom_ = CodeFieldRule(text, d.Fmt.WNum, 1, "01", maxNum_); break;
    case 4: numTo_ = CodeFieldRule(text, d.Fmt.WNum, 1, "01", maxNum_); break;
    default: return;
  }
  t->setText(QString::fromStdString(text));
}

void FindWin::OKButton_Click() {
  if (!ok_->isEnabled()) return;
  for (int k = 1; k <= 4; ++k) TextValidate(k);
  if (mesTo_ < mesFrom_) return Warn("小節の値が不正です");
  if (numTo_ < numFrom_) return Warn("WAVの値が不正です");
  DocData& d = win_->Doc();
  FindCriteria c;
  c.lanes.assign(static_cast<size_t>(std::max<int>(d.LaneCount, 0)) + 1, false);
  for (int i = 0; i < listView1_->topLevelItemCount() && i < static_cast<int>(c.lanes.size()); ++i)
    c.lanes[i] = listView1_->topLevelItem(i)->checkState(0) == Qt::Checked;
  c.mesFrom = mesFrom_;
  c.mesTo = mesTo_;
  c.numFrom = numFrom_;
  c.numTo = numTo_;
  c.front = checks_[0]->isChecked();
  c.back = checks_[1]->isChecked();
  c.open = checks_[2]->isChecked();
  c.narrow = options_[1]->isChecked();
  if (d.LaneCount < 1) {  // nothing to search in
    accept();
    return;
  }
  const FindResult r = FindObjects(d, c, g_MaxMeasure);
  if (r.grew) win_->Mes_Change(0);
  plat::TheDesktop().MessageBox(std::to_string(d.SelCount) + "個のオブジェを選択しました", "検索完了",
                                plat::MsgButtons::Ok, plat::MsgIcon::None);
  accept();
}

}  // namespace mk
