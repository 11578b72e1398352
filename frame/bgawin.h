// The BGA preview window "BGAプレビュー": one modeless tool window above all others, shared by
// all charts, showing a 255 x 255 picture area on black.
#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

class QLabel;

namespace mk {

class BgaPreviewWin : public QWidget {
 public:
  static constexpr int kSide = 255;
  explicit BgaPreviewWin(QWidget* owner);

  // Runs when the window closes, by the user or by the program (Form_Unload).
  std::function<void()> unloaded;

  // Black area, then the picture at path unscaled from the top-left corner and clipped; an empty
  // path or a file that does not decode leaves the area black.
  void Show(const std::string& path);
  QImage Shown() const { return shown_; }
  QLabel* Picture1() const { return picture1_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  QLabel* picture1_ = nullptr;
  QImage shown_;
};

}  // namespace mk
