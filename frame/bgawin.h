// The BGA preview window "BGAプレビュー": one modeless tool window above all others, shared by
// all charts, showing a 255 x 255 picture area on black.
#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "deftables/header.h"

class QLabel;

namespace mk {

class BgaPreviewWin : public QWidget {
 public:
  static constexpr int kSide = 255;
  explicit BgaPreviewWin(QWidget* owner);

  // Runs when the window closes, by the user or by the program (Form_Unload).
  std::function<void()> unloaded;

  // Black area, then the picture unscaled from the top-left corner and clipped. Where it stays
  // black for a file it cannot show (missing, of another kind, too large, damaged or cut short),
  // the caption says why and the area's tooltip names the file.
  void Show(const BgaPreviewFile& file);
  QImage Shown() const { return shown_; }
  QLabel* Picture1() const { return picture1_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  QLabel* picture1_ = nullptr;
  QImage shown_;
};

}  // namespace mk
