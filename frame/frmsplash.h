// The splash and About window frmSplash: the product picture and version, shown for a set time
// at start-up while ignoring the user (g_SplashMode set), or as the About window with the list
// of installed scripts, closed by a click on the picture or a label or by a key.
#pragma once
#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QListWidget;
class QTimer;

namespace mk {

// -1 while the frame's start-up runs (the window is the splash), else 0 (the About window).
extern int16_t g_SplashMode;

class FrmSplash : public QDialog {
  Q_OBJECT

 public:
  // Loads the window for the role g_SplashMode gives it (Form_Load).
  explicit FrmSplash(QWidget* parent = nullptr);

  // The draw of each showing, a number in [0, 1); below 0.001 shows the second picture. Tests
  // put their own in; nullptr puts back the clock-seeded one. Returns the previous one.
  using Draw = std::function<double()>;
  static Draw SetDraw(Draw draw);

  bool SplashRole() const { return splash_; }
  QLabel* Image1() const { return image1_; }
  QLabel* Image2() const { return image2_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QListWidget* List1() const { return list1_; }
  QTimer* Timer1() const { return timer1_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
  void done(int r) override;

 private:
  void Form_Load();
  void Form_Unload();
  void Form_KeyPress();
  void Picture_Click();  // Image1, Image2, Label1 and Label2
  void Timer1_Timer();

  bool splash_ = false;
  bool timeUp_ = false;
  QLabel* image1_ = nullptr;
  QLabel* image2_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QListWidget* list1_ = nullptr;
  QTimer* timer1_ = nullptr;
};

}  // namespace mk
