// Rows shared by the search, batch-edit and note-count dialogs.
#pragma once
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>

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

// The lane list (columns part and lane) added to lay, and below it a row with its All and None
// buttons; the row is returned for whatever else the dialog puts beside them.
inline QHBoxLayout* AddLaneList(QWidget* parent, QBoxLayout* lay, QTreeWidget*& list, QPushButton*& all,
                                QPushButton*& none) {
  list = new QTreeWidget(parent);
  list->setObjectName("ListView1");
  list->setHeaderLabels({QStringLiteral("パート"), QStringLiteral("レーン")});
  list->setRootIsDecorated(false);
  list->setMinimumHeight(160);
  lay->addWidget(list);
  auto* row = new QHBoxLayout;
  all = new QPushButton(QStringLiteral("All"), parent);
  all->setObjectName("Command1");
  none = new QPushButton(QStringLiteral("None"), parent);
  none->setObjectName("Command2");
  for (QPushButton* b : {all, none}) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  lay->addLayout(row);
  return row;
}

}  // namespace mk
