// The batch load dialog.
#include "frame/wavlump.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <algorithm>

#include "deftables/lump.h"
#include "frame/formfont.h"

namespace mk {

WavLump::WavLump(QWidget* parent, DocData& doc, DefKind kind, int number) : QDialog(parent), doc_(doc), kind_(kind) {
  setObjectName("WavLump");
  setWindowTitle(QStringLiteral("WAV一括読み込み"));
  setModal(true);

  drive1_ = new QComboBox(this);
  drive1_->setObjectName("Drive1");
  QStringList roots;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady()) roots << v.rootPath();
  if (!roots.contains(QStringLiteral("/"))) roots.prepend(QStringLiteral("/"));
  roots.removeDuplicates();
  drive1_->addItems(roots);
  dirLabel_ = new QLabel(this);
  dir1_ = new QListWidget(this);
  dir1_->setObjectName("Dir1");
  file1_ = new QListWidget(this);
  file1_->setObjectName("File1");
  file1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* label1 = new QLabel(QStringLiteral("読込開始位置"), this);
  label1->setObjectName("Label1");
  list1_ = new QListWidget(this);
  list1_->setObjectName("List1");
  list1_->setFont(FixedListFont());
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName("OKButton");
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_->setObjectName("CancelButton");

  auto* grid = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  left->addWidget(dirLabel_);
  left->addWidget(dir1_, 1);
  left->addWidget(drive1_);
  grid->addLayout(left, 0, 0, 2, 1);
  grid->addWidget(file1_, 0, 1, 2, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(ok_);
  right->addWidget(cancel_);
  right->addWidget(label1);
  right->addWidget(list1_, 1);
  grid->addLayout(right, 0, 2, 2, 1);
  resize(520, 300);

  // Every list and field shows when it has the keyboard. A list's frame turns the highlight
  // colour: its current row alone looks the same with and without the focus (the slot list's
  // row is selected, and the focus mark drawn on a selected row does not show).
  setStyleSheet(
      QStringLiteral("QListWidget { border: 2px solid palette(mid); }"
                     "QListWidget:focus { border: 2px solid palette(highlight); }"));
  // Tab follows the dialog as it reads: the folder column from the top, the file list, then the
  // buttons and the slot list under them.
  setTabOrder(dir1_, drive1_);
  setTabOrder(drive1_, file1_);
  setTabOrder(file1_, ok_);
  setTabOrder(ok_, cancel_);
  setTabOrder(cancel_, list1_);

  // Opening: the slot list with the selected definition's slot, the pattern of the mode, the
  // browsing lists at the chart's definitions' folder (the working folder for a chart without
  // one), so that OK without browsing leaves the folder where it was.
  pattern_ = LumpFilePattern(doc_, kind_);
  for (const std::string& r : LumpSlotRows(doc_, kind_)) list1_->addItem(QString::fromStdString(r));
  startSlot_ = LumpInitialSlot(doc_, kind_, number);
  const int row = LumpRowOfSlot(kind_, startSlot_);
  if (row >= 0 && row < list1_->count()) {
    list1_->setCurrentRow(row);
    list1_->scrollToItem(list1_->item(row));
  }
  ok_->setEnabled(false);
  const QString defFolder = QString::fromStdString(doc_.Folder);
  const QString start = !defFolder.isEmpty() && QFileInfo(defFolder).isDir() ? defFolder : QDir::currentPath();
  Dir1_Change(start.toStdString());
  for (int i = 0; i < drive1_->count(); ++i)  // the volume holding that folder
    if (QString::fromStdString(folder_).startsWith(drive1_->itemText(i)) &&
        drive1_->itemText(i).size() >= drive1_->currentText().size())
      drive1_->setCurrentIndex(i);

  connect(drive1_, &QComboBox::activated, this, [this](int i) { Drive1_Change(i); });
  connect(dir1_, &QListWidget::itemActivated, this, [this](QListWidgetItem* it) { OpenFolderItem(it); });
  dir1_->installEventFilter(this);
  // Both lists follow their current row whether the mouse or the keyboard moves it: the start
  // slot is always the slot row the list shows as current.
  connect(file1_, &QListWidget::currentItemChanged, this, [this] { File1_Click(); });
  connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) { List1_Click(row); });
  connect(ok_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
}

void WavLump::Drive1_Change(int index) {
  if (index < 0 || index >= drive1_->count()) return;
  const QString root = drive1_->itemText(index);
  if (!QDir(root).isReadable()) return;  // a volume that cannot be read: the lists stay
  Dir1_Change(root.toStdString());
}

void WavLump::Dir1_Change(const std::string& folder) {
  QDir dir(QString::fromStdString(folder));
  if (!dir.exists() || !dir.isReadable()) return;
  folder_ = QDir::cleanPath(dir.absolutePath()).toStdString();
  dirLabel_->setText(QString::fromStdString(folder_));
  dir1_->clear();
  if (!dir.isRoot()) dir1_->addItem(QStringLiteral(".."));
  dir1_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
  file1_->clear();
  for (const QString& f : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
    if (MatchesFilePattern(f.toStdString(), pattern_)) file1_->addItem(f);
  file1_->setCurrentItem(nullptr);
  ok_->setEnabled(false);
}

void WavLump::OpenFolderItem(QListWidgetItem* item) {
  Dir1_Change(QDir(QString::fromStdString(folder_)).absoluteFilePath(item->text()).toStdString());
}

bool WavLump::eventFilter(QObject* watched, QEvent* event) {
  if (watched == dir1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && dir1_->currentItem()) {
      OpenFolderItem(dir1_->currentItem());
      return true;  // Enter opens the folder and nothing else, even one that cannot be opened
    }
  }
  return QDialog::eventFilter(watched, event);
}

void WavLump::File1_Click() { ok_->setEnabled(file1_->currentItem() != nullptr); }

void WavLump::List1_Click(int row) {
  if (row >= 0 && row < list1_->count()) startSlot_ = LumpSlotOfRow(kind_, row);
}

void WavLump::OKButton_Click() {
  std::vector<std::string> files;
  for (int i = 0; i < file1_->count(); ++i)  // list order, not the order of the clicks
    if (file1_->item(i)->isSelected()) files.push_back(file1_->item(i)->text().toStdString());
  changed_ = ApplyLump(doc_, kind_, startSlot_, files, folder_);
  accept();
}

void WavLump::CancelButton_Click() { reject(); }

}  // namespace mk
