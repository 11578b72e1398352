// The chart window's scrolling, zoom, grid and measure-count controls.
#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/form1_calc.h"
#include "chartview/form1_edithost.h"
#include "chartview/picturebox.h"
#include "chartview/viewsettings.h"
#include "editing/mescount.h"
#include "platform/core/desktop.h"
#include "platform/core/vbnum.h"

namespace mk {

// Sets range and value; the change handler runs once when the value moved.
void Form1::SetVScroll(int maximum, int value) {
  const int before = vscroll1_->value();
  {
    QSignalBlocker b(vscroll1_);
    vscroll1_->setRange(0, maximum);
    vscroll1_->setValue(value);
  }
  if (vscroll1_->value() != before) VScroll1_Change();
}

// The selection moves and lands without a measure change: the range follows it here, before a
// redraw, without a scroll event (the measures in view stay in view as Mes_Change keeps them).
void Form1::FitVScrollToView() {
  const int maximum = VScrollMaxFor(ViewLastMeasure(Doc()));
  if (maximum == vscroll1_->maximum()) return;
  const int value = KeptScrollValue(vscroll1_->maximum(), vscroll1_->value(), maximum, Doc().ScrlUp != 0);
  {
    QSignalBlocker b(vscroll1_);
    vscroll1_->setRange(0, maximum);
    vscroll1_->setValue(value);
  }
  lastScrollValue_ = value;
  Doc().ScrollPos = ScrollPosFor(value, maximum, Doc().ScrlUp != 0);
}

void Form1::VScroll1_Change() {
  const int v = vscroll1_->value();
  // Only the thumb's drag skips positions; its release draws where it stopped.
  if (SkipScrollRedraw(lastScrollValue_, v, tb3b_->isChecked(), vscroll1_->isSliderDown(), wheelScroll_)) {
    lastScrollValue_ = v;
    return;
  }
  lastScrollValue_ = v;
  wheelScroll_ = false;
  DocData& doc = Doc();
  doc.ScrollPos = ScrollPosFor(v, vscroll1_->maximum(), doc.ScrlUp != 0);
  HeadObj();
  ObjDraw();
}

void Form1::HScroll1_Change() {
  HeadDraw2();
  HeadObj();
  ObjDraw();
}

void Form1::Scr_Chg() {
  const HScrollRange r = ScrChgRange(Doc().LaneCount, picture1_->width());
  hscroll1_->setEnabled(r.enabled);
  hscroll1_->setMaximum(r.maximum);
  hscroll1_->setPageStep(std::max(1, r.pageStep));
}

void Form1::vbWheelMinus() {
  wheelScroll_ = true;
  const int v = vscroll1_->value() + WheelStep();
  vscroll1_->setValue(std::min(v, vscroll1_->maximum()));
}

void Form1::vbWheelPlus() {
  wheelScroll_ = true;
  const int v = vscroll1_->value() - WheelStep();
  vscroll1_->setValue(std::max(v, 0));
}

void Form1::SetScrollDirection(int16_t dir) {
  Doc().ScrlUp = dir;
  SetScrollDirection();
}

void Form1::SetScrollDirection() {
  scrlImage_ = ScrollButtonImage(Doc().ScrlUp);
  tbScrl_->setIcon(style()->standardIcon(scrlImage_ == 3 ? QStyle::SP_ArrowDown : QStyle::SP_ArrowUp));
  vscroll1_->setValue(vscroll1_->maximum() - vscroll1_->value());
  VScroll1_Change();
  ObjDraw();
}

void Form1::Combo2_Click() {
  const int i = combo2_->currentIndex();
  if (i >= 0) Doc().Zoom = i + 1;  // no item chosen: the zoom stays
  ObjDraw();
}

void Form1::Combo1_Click() {
  ObjDeSel();
  const int i = combo1_->currentIndex();
  DocData& d = Doc();
  if (const int16_t div = GridDivForIndex(i); div != 0) {
    d.GridDiv = div;
  } else if (i == 9) {
    const plat::InputResult a = plat::TheDesktop().InputBox(
        "１小節の分割数を1～192の整数で入力してください\r\n※数値によっては正しく動作しなくなる可能性があります",
        "カスタムグリッド", "4");
    bool warn = false;
    const int16_t n = CustomGridDiv(a.cancelled ? std::string() : a.text, warn);
    if (warn)
      plat::TheDesktop().MessageBox("この値では正確に処理ができない可能性があります。ご注意下さい。", "警告",
                                    plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    d.GridDiv = n;
  }
  ObjDraw();
}

void Form1::Mes_Change(int16_t delta) {
  MesChangeScroll s;
  if (!ApplyMesChange(Doc(), delta, vscroll1_->maximum(), vscroll1_->value(), s)) return;
  // The scroll handler redraws the chart, also when the value stays (a chart just read).
  const int before = vscroll1_->value();
  SetVScroll(s.maximum, s.value);
  if (vscroll1_->value() == before) VScroll1_Change();
  if (winNo_ == g_CurWin) frame_->SetMesLabel(MesLabelText(Doc().MesCount), true);
}

void Form1::MesButtonUp(int sign, bool shift) {
  WindowEditHost host(*this);
  MesButtonChange(Doc(), host, sign * (shift ? g_MesLargeChange : 1), g_MaxMeasure, [] {
    return plat::TheDesktop().MessageBox(kMesCountCutQuestion, "確認", plat::MsgButtons::OkCancel,
                                         plat::MsgIcon::None) == plat::MsgAnswer::Ok;
  });
}

}  // namespace mk
