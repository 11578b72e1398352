// The batch load dialog "WAV一括読み込み": browse to a folder, select several files and a start
// slot; OK fills consecutive WAV or BGA definitions of the chart from that slot on.
#pragma once
#include <QDialog>
#include <string>

#include "chartfmt/docdata.h"
#include "deftables/deflists.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace mk {

class WavLump : public QDialog {
 public:
  // Works on doc (kept by reference while the dialog is open) in the mode of kind; number is the
  // definition selected in the frame's list. The browsing lists start in the working folder.
  WavLump(QWidget* parent, DocData& doc, DefKind kind, int number);

  void Drive1_Change(int index);
  void Dir1_Change(const std::string& folder);  // shows folder in the folder and file lists
  void File1_Click();
  void List1_Click(int row);
  void OKButton_Click();
  void CancelButton_Click();

  // True when OK changed the chart (folder or a definition).
  bool Changed() const { return changed_; }
  int StartSlot() const { return startSlot_; }
  std::string Folder() const { return folder_; }
  QComboBox* Drive1() const { return drive1_; }
  QListWidget* Dir1() const { return dir1_; }
  QListWidget* File1() const { return file1_; }
  QListWidget* List1() const { return list1_; }
  QPushButton* OKButton() const { return ok_; }

 protected:
  // Enter in the folder list opens the current folder; it never reaches the OK button.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenFolderItem(QListWidgetItem* item);

  DocData& doc_;
  DefKind kind_;
  std::string pattern_;
  std::string folder_;
  int startSlot_ = 0;
  bool changed_ = false;
  QComboBox* drive1_ = nullptr;
  QLabel* dirLabel_ = nullptr;
  QListWidget* dir1_ = nullptr;
  QListWidget* file1_ = nullptr;
  QListWidget* list1_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace mk
