// Page 1 of the conversion wizard: the script list, Next and Cancel.
#include "frame/wizard1.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "chartfmt/scriptreg.h"
#include "chartview/formglobals.h"
#include "convert/convertchart.h"

namespace mk {

void AddWizardButtons(QDialog* page, QPushButton*& back, QPushButton*& next, QPushButton*& cancel) {
  auto* row = new QHBoxLayout;
  back = new QPushButton(QStringLiteral("< 前へ(&B)"), page);
  back->setObjectName("Command1");
  back->setAutoDefault(false);
  next = new QPushButton(QStringLiteral("次へ(&N) >"), page);
  next->setObjectName("Command2");
  next->setDefault(true);
  cancel = new QPushButton(QStringLiteral("キャンセル"), page);
  cancel->setObjectName("Command3");
  cancel->setAutoDefault(false);
  row->addStretch(1);
  row->addWidget(back);
  row->addWidget(next);
  row->addWidget(cancel);
  static_cast<QBoxLayout*>(page->layout())->addLayout(row);
}

namespace {

QLabel* Heading(QDialog* page, const char* name, const QString& text, bool bold) {
  auto* l = new QLabel(text, page);
  l->setObjectName(name);
  if (bold) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }
  page->layout()->addWidget(l);
  return l;
}

}  // namespace

Wizard1::Wizard1(QWidget* parent) : QDialog(parent) {
  setObjectName("Wizard1");
  setWindowTitle(QStringLiteral("ファイル変換ウィザード(1/2)"));
  setModal(true);
  new QVBoxLayout(this);
  Heading(this, "Label1", QStringLiteral("スクリプト選択"), true);
  Heading(this, "Label2", QStringLiteral("変換先のスクリプトを選択してください。"), false);
  list1_ = new QListWidget(this);
  list1_->setObjectName("List1");
  layout()->addWidget(list1_);
  AddWizardButtons(this, command1_, command2_, command3_);
  command1_->setEnabled(false);

  // Form_Load: every showing starts from the default script.
  for (int k = 1; k <= g_ScriptCount && k < static_cast<int>(g_ScriptTable.size()); ++k)
    list1_->addItem(QString::fromStdString(ScriptLabel(g_ScriptTable, k)));
  list1_->setCurrentRow(g_DefaultScript - 1);
  g_WizScript = g_DefaultScript;
  connect(list1_, &QListWidget::currentRowChanged, this, [](int row) {
    if (row >= 0) g_WizScript = static_cast<int16_t>(row + 1);
  });
  connect(command2_, &QPushButton::clicked, this, [this] {
    g_WizState = 0;
    accept();
  });
  connect(command3_, &QPushButton::clicked, this, [this] { reject(); });
}

void Wizard1::reject() {
  g_WizState = -1;
  QDialog::reject();
}

}  // namespace mk
