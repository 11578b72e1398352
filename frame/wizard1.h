// Page 1 of the conversion wizard, Wizard1 ("ファイル変換ウィザード(1/2)"): the target script.
#pragma once
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace mk {

class Wizard1 : public QDialog {
  Q_OBJECT

 public:
  explicit Wizard1(QWidget* parent = nullptr);

  QListWidget* List1() const { return list1_; }
  QPushButton* Command(int k) const { return k == 1 ? command1_ : k == 2 ? command2_ : command3_; }

 protected:
  // The close box and Esc cancel, as the Cancel button does.
  void reject() override;

 private:
  QListWidget* list1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
};

// The three buttons along the bottom of a wizard page: "< 前へ(&B)", "次へ(&N) >", "キャンセル".
void AddWizardButtons(QDialog* page, QPushButton*& back, QPushButton*& next, QPushButton*& cancel);

}  // namespace mk
