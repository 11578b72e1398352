// The chart window's toolbar commands and its canvas wallpaper.
#include <QToolButton>

#include "chartview/form1.h"
#include "chartview/form1_calc.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "platform/core/desktop.h"

namespace mk {

void Form1::Toolbar1_ButtonClick(const std::string& key) {
  if (key == "TB_Scrl") {
    SetScrollDirection(Doc().ScrlUp != 0 ? 0 : -1);
  } else if (key == "TB_Ref") {
    Form_Resize();
    ObjDraw();
    HeadObj();
    SetThisWin();
  } else if (key == "TB_Wall") {
    ChooseWallpaper();
  }
}

void Form1::Toolbar1_ButtonMenuClick(const std::string& key) {
  if (key == "TB_Down") {
    SetScrollDirection(-1);
  } else if (key == "TB_Up") {
    SetScrollDirection(0);
  } else if (key == "TB_W1" || key == "TB_W2" || key == "TB_W3") {
    const int16_t mode = static_cast<int16_t>(key.back() - '0');
    Doc().CanvasWallMode = mode;
    wallImage_ = WallButtonImage(mode);
    if (mode == 3) StretchWallpaper();
    ObjDraw();
  }
}

// Picture5: the whole wallpaper stretched to the canvas's size.
void Form1::StretchWallpaper() {
  const int w = picture1_->width(), h = picture1_->height();
  wallStretched_.Resize(std::max(1, w), std::max(1, h));
  if (wall_.Width() > 0 && wall_.Height() > 0)
    wallStretched_.StretchBlt(0, 0, w, h, wall_, 0, 0, wall_.Width(), wall_.Height());
}

void Form1::DropWallpaper() {
  DocData& d = Doc();
  d.CanvasWallFile.clear();
  d.CanvasWallOn = 0;
  tbWall_->SetMixed(true);
  wall_ = plat::Picture();
  wallStretched_ = plat::Picture();
}

// The picture is read before the wallpaper is switched on, so a file that is no picture leaves
// the window without a wallpaper (and says so).
void Form1::ChooseWallpaper() {
  DocData& d = Doc();
  plat::FileDialogRequest req;
  req.filter = "画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|";
  req.initialName = d.CanvasWallFile.empty() ? g_CommonDialogFile : d.CanvasWallFile;
  req.mustExist = true;
  const plat::FileDialogResult r = plat::TheDesktop().OpenFileDialog(req);
  if (r.cancelled) {
    DropWallpaper();
    ObjDraw();
    return;
  }
  plat::Picture pic;
  if (!pic.Load(r.path)) {
    DropWallpaper();
    plat::TheDesktop().MessageBox(r.path + "\r\n画像ファイルを読み込めません", "エラー", plat::MsgButtons::Ok,
                                  plat::MsgIcon::Critical);
    ObjDraw();
    return;
  }
  wall_ = std::move(pic);
  d.CanvasWallFile = r.path;
  d.CanvasWallOn = -1;
  tbWall_->SetMixed(false);
  if (d.CanvasWallMode == 3) StretchWallpaper();
  ObjDraw();
}

}  // namespace mk
