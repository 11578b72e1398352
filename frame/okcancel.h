// The OK and Cancel row of the search and batch-edit dialogs.
#pragma once
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace mk {

// OK (the default button) and Cancel, right-aligned in a row added to lay.
inline void AddOkCancelRow(QWidget* parent, QBoxLayout* lay, QPushButton*& ok, QPushButton*& cancel) {
  auto* buttons = new QHBoxLayout;
  ok = new QPushButton(QStringLiteral("OK"), parent);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), parent);
  cancel->setObjectName("CancelButton");
  cancel->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  lay->addLayout(buttons);
}

}  // namespace mk
