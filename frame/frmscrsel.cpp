#include "frame/frmscrsel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "chartfmt/scriptreg.h"
#include "frame/queryopen.h"

namespace mk {

FrmScrSel::FrmScrSel(QWidget* parent) : QDialog(parent) {
  setObjectName("frmScrSel");
  setWindowTitle(QStringLiteral("スクリプトの選択"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  lay->addWidget(label1_);
  lay->addWidget(new QLabel(QStringLiteral("を開くスクリプトを選択して下さい"), this));
  list1_ = new QListWidget(this);
  list1_->setObjectName("List1");
  lay->addWidget(list1_);
  check1_ = new QCheckBox(QStringLiteral("新規に開く"), this);
  check1_->setObjectName("Check1");
  lay->addWidget(check1_);
  auto* buttons = new QHBoxLayout;
  command1_ = new QPushButton(QStringLiteral("開く"), this);
  command1_->setObjectName("Command1");
  command1_->setDefault(true);
  command2_ = new QPushButton(QStringLiteral("スキップ"), this);
  command2_->setObjectName("Command2");
  buttons->addStretch(1);
  buttons->addWidget(command1_);
  buttons->addWidget(command2_);
  lay->addLayout(buttons);
  connect(command1_, &QPushButton::clicked, this, [this] {
    skipped_ = 0;
    accept();
  });
  connect(command2_, &QPushButton::clicked, this, [this] {
    skipped_ = -1;
    accept();
  });
}

void FrmScrSel::GetData(const std::string& path, const std::vector<int16_t>& candidates, int16_t win) {
  candidates_ = candidates;
  setResult(0);
  skipped_ = 0;
  list1_->clear();
  for (int16_t s : candidates)
    list1_->addItem(s >= 1 && s < static_cast<int>(g_ScriptTable.size())
                        ? QString::fromStdString(ScriptLabel(g_ScriptTable, s))
                        : QString());
  if (list1_->count() > 0) list1_->setCurrentRow(0);
  label1_->setText(QString::fromStdString(ShortPathText(path)));
  check1_->setChecked(win == -1);
  check1_->setEnabled(win != -1);
  check1_->setVisible(win != 0);  // 0: the caller chooses the window itself
}

void FrmScrSel::SendData(int16_t& script, int16_t& skipped) const {
  const int row = list1_->currentRow();
  script = row >= 0 && row < static_cast<int>(candidates_.size()) ? candidates_[row] : 0;
  skipped = skipped_;
}

bool FrmScrSel::NewWindowTicked() const { return check1_->isChecked(); }

void FrmScrSel::closeEvent(QCloseEvent* e) {
  if (!isVisible() || result() == QDialog::Accepted) {
    e->accept();
    return;
  }
  e->ignore();
}

}  // namespace mk
