// The script-choice dialog frmScrSel: which of several scripts opens a file, and whether in a
// new window. It closes only through its two buttons.
#pragma once
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace mk {

class FrmScrSel : public QDialog {
  Q_OBJECT

 public:
  explicit FrmScrSel(QWidget* parent = nullptr);
  // win: -1 no window (a new one is the only choice), 0 the caller places the chart itself (no
  // choice shown), else the window the file was dropped on.
  void GetData(const std::string& path, const std::vector<int16_t>& candidates, int16_t win);
  void SendData(int16_t& script, int16_t& skipped) const;
  bool NewWindowTicked() const;

  QLabel* Label1() const { return label1_; }
  QListWidget* List1() const { return list1_; }
  QCheckBox* Check1() const { return check1_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override {}

 private:
  std::vector<int16_t> candidates_;
  int16_t skipped_ = 0;
  QLabel* label1_ = nullptr;
  QListWidget* list1_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace mk
