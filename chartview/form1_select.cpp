// The chart window's selection and pointer methods: they forward to the editing functions and
// show what those return in the frame's status bar.
#include "chartfmt/globals.h"
#include "chartview/canvasdraw.h"
#include "chartview/form1.h"
#include "chartview/picturebox.h"
#include "chartview/viewsettings.h"
#include "editing/cursorpos.h"
#include "editing/movesel.h"
#include "editing/selection.h"

#include <QScrollBar>

namespace mk {

void Form1::ObjSelect(int16_t x1, int16_t m1, int16_t s1, int16_t x2, int16_t m2, int16_t s2, bool noGrid,
                      bool playObj) {
  (void)playObj;  // the preview follows the setting and the number of objects taken
  DocData& d = Doc();
  frame_->SetWaitCursor(true);
  const SelectResult r = mk::ObjSelect(d, x1, m1, s1, x2, m2, s2, noGrid);
  if (g_PlayObj == -1) {
    const std::string file = SelectPreviewFile(d, r);
    if (!file.empty()) frame_->PreviewPlay(file);
  }
  if (winNo_ == g_CurWin) frame_->SetPanelText("Info", SelectionInfoText(d.SelCount));
  frame_->SetWaitCursor(false);
}

void Form1::UpdateCursorPos(double x, double y) {
  DocData& d = Doc();
  mk::UpdateCursorPos(d, CanvasGeom{picture1_->width(), picture1_->height(), hscroll1_->value()}, x, y);
  frame_->SetPanelText("CursorLane", CursorLaneText(d));
  frame_->SetPanelText("CursorPos", CursorPosText(d));
}

void Form1::MoveSelection(int16_t fromLane, int16_t fromMes, int16_t fromStep, int16_t toLane, int16_t toMes,
                          int16_t toStep) {
  mk::MoveSelection(Doc(), fromLane, fromMes, fromStep, toLane, toMes, toStep);
}

}  // namespace mk
