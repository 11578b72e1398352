// Canvas and lane header strip gestures: band, drag, copy drag, erase drag, placements, tempo
// entry, picks and header values.
#include "editing/gesture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chartfmt/defcode.h"
#include "chartfmt/storable.h"
#include "editing/dropsel.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {

int Nearest(double v) { return static_cast<int>(plat::RoundHalfEven(v)); }

bool HasBackChannel(const DocData& d, int lane) {
  return lane >= 0 && lane < static_cast<int>(d.Lane.size()) && d.Lane[lane].BackChannel != "__";
}

const LaneInfo& LaneOf(const DocData& d, int lane) {
  static const LaneInfo none;
  return lane >= 0 && lane < static_cast<int>(d.Lane.size()) ? d.Lane[lane] : none;
}

int Groups(const DocData& d) { return std::min<int>(d.Fmt.GtCount + 1, static_cast<int>(d.Fmt.Gt.size())); }

// The first lane of group g when lane lies in it (lanes first..first + 2), else -1.
int GroupFirst(const DocData& d, int g, int lane) {
  const int first = d.Fmt.Gt[g].Lane;
  return first <= lane && lane <= first + 2 ? first : -1;
}

int16_t FrontAt(const DocData& d, int lane, int mes, int tick) {
  return HasCell(d, lane, mes) ? d.Obj[lane].Mes[mes].Obj[tick] : 0;
}
int16_t BackAt(const DocData& d, int lane, int mes, int tick) {
  return HasCell(d, lane, mes) ? d.Obj[lane].Mes[mes].BackObj[tick] : 0;
}

// Writes one cell value when the cell exists and the value differs.
void SetFront(DocData& d, int lane, int mes, int tick, int16_t v) {
  if (HasCell(d, lane, mes) && d.Obj[lane].Mes[mes].Obj[tick] != v) d.Obj[lane].Mes.Write(mes).Obj[tick] = v;
}
void SetBack(DocData& d, int lane, int mes, int tick, int16_t v) {
  if (HasCell(d, lane, mes) && d.Obj[lane].Mes[mes].BackObj[tick] != v) d.Obj[lane].Mes.Write(mes).BackObj[tick] = v;
}

// Past both the chart's measures and the measure limit: a chart read with more measures than
// the limit keeps every one of them editable.
bool PastLastMeasureOf(const DocData& d, int maxMeasure) { return d.CurMes > std::max<int>(maxMeasure, d.MesCount); }

}  // namespace

ClickPlacement ClickPlacementAt(const DocData& d, int shift, int maxMeasure) {
  ClickPlacement c;
  c.lane = d.CurLane;
  if (d.CurLane < 0) return c;
  if (PastLastMeasureOf(d, maxMeasure)) {
    c.fault = StoreFault::Measure;
    return c;
  }
  if (d.CurLane == 0) {  // the tempo prompt
    c.fault = LayerCodingOf(d, 0, false).written ? StoreFault::None : StoreFault::NoChannel;
    c.writes = c.fault == StoreFault::None;
    return c;
  }
  const LaneInfo& li = LaneOf(d, d.CurLane);
  if (shift == kAlt || shift == kAlt + kShift) {
    c.value = shift == kAlt && li.Hdr > 0 ? li.Hdr : d.CurDef;
    for (int g = 0; g < Groups(d) && !c.open; ++g)
      if (const int first = GroupFirst(d, g, d.CurLane); first >= 0) {
        c.open = true;
        c.lane = first;
      }
    // Number 0 would be stored as 10000, which is neither empty nor an open object.
    if (c.open && c.value <= 0) return c;
    if (c.open) c.value = static_cast<int16_t>(c.value + kOpenObjectBase);
    c.clearBack = !c.open;
  } else if (shift == 0 || shift == kShift) {
    c.value = shift == 0 && li.Hdr > 0 ? li.Hdr : d.CurDef;
  } else if (shift == kCtrl || shift == kCtrl + kShift) {
    c.back = HasBackChannel(d, d.CurLane);
    const int16_t hdr = c.back ? li.Hdr2 : li.Hdr;
    c.value = shift == kCtrl && hdr > 0 ? hdr : d.CurDef;
  } else {
    return c;  // Ctrl with Alt places nothing
  }
  c.fault = ObjectStoreFault(d, c.lane, c.back, c.value);
  c.writes = c.fault == StoreFault::None;
  return c;
}

std::string GestureController::TempoPromptText(double baseBpm) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", baseBpm);
  std::string n = buf;
  // No 0 before the point for values between -1 and 1.
  if (n.rfind("0.", 0) == 0) n.erase(0, 1);
  if (n.rfind("-0.", 0) == 0) n.erase(1, 1);
  return "BPMを入力してください\r\n(この値にBASEBPM[" + n + "]が加算されます)";
}

void GestureController::StopTimers() {
  s_.Timers->StopTimer(Axis::X);
  s_.Timers->StopTimer(Axis::Y);
  st_.Scroll.X.Running = st_.Scroll.Y.Running = false;
}

void GestureController::RunAutoScroll(double x, double y) {
  const CanvasGeom g = s_.Window->Canvas();
  UpdateAutoScroll(st_.Scroll, x, y, g.Width, g.Height);
  if (st_.Scroll.X.Running)
    s_.Timers->StartTimer(Axis::X, st_.Scroll.X.Interval);
  else
    s_.Timers->StopTimer(Axis::X);
  if (st_.Scroll.Y.Running)
    s_.Timers->StartTimer(Axis::Y, st_.Scroll.Y.Interval);
  else
    s_.Timers->StopTimer(Axis::Y);
}

int GestureController::StepHeight() {
  const DocData& d = Doc();
  return static_cast<int>(d.Zoom * kTicksPerMeasure) / std::max<int>(1, d.GridDiv);
}

int GestureController::ClickTick() {
  const DocData& d = Doc();
  const int t = (kTicksPerMeasure / std::max<int>(1, d.GridDiv)) * d.CurStep;
  // Where the steps do not divide the measure's pixels evenly the last step can reach past
  // the measure: such a click takes its last tick, the last one a save writes.
  return std::clamp(t, 0, kTicksPerMeasure - 1);
}

// ---------------------------------------------------------------------------------------------
// Press

void GestureController::CanvasPress(MouseButton button, int shift, double x, double y) {
  // This button was up until now: what it started before lost its release.
  EndUnheld(s_.Buttons->ButtonsHeld() & ~static_cast<int>(button));
  st_.BtnDown = true;
  st_.LastX = x;
  st_.LastY = y;
  s_.Window->StatusNote("");
  s_.Window->UpdateCursorPos(x, y);
  inPress_ = true;
  lostInPress_ = false;
  if (s_.Mode->SelectMode())
    SelectPress(button, shift);
  else
    DrawPress(button, shift);
  inPress_ = false;
  if (lostInPress_) EndAll();
}

void GestureController::SelectPress(MouseButton button, int shift) {
  DocData& d = Doc();
  if (d.CurLane < 0) return;
  if (button == MouseButton::Left) {
    const HitResult r = HitTestObject(d, d.CurLane, d.CurMes, d.CurTick);
    // Past the last measure only a floating entry is taken, so that one dragged or pasted there
    // can always be dragged back.
    if (d.CurMes > d.MesCount && r.Code != Hit::Selected) return;
    st_.HitTick = r.Tick;
    st_.HitMes = r.Mes;
    if (r.Code == Hit::None) {
      if (shift != kCtrl) s_.Window->ObjDeSel(false);
      const DocData& c = Doc();
      st_.BandLane = c.CurLane;
      st_.BandMes = c.CurMes;
      st_.BandStep = c.CurStep;
      st_.BandOn = true;
      st_.BandX = c.CurX - 1;
      st_.BandY = c.ScrlUp != 0 ? c.CurY + 10 - StepHeight() : c.CurY;
      return;
    }
    s_.Window->ObjBackup();
    if (r.Code == Hit::Selected) {
      if (shift == kCtrl) {
        st_.SelKeep = true;
        s_.Window->ObjDeSel(true);
        st_.SelKeep = false;
      }
    } else {
      if (shift != kCtrl) s_.Window->ObjDeSel(false);
      const int lane = Doc().CurLane;
      s_.Window->ObjSelect(lane, r.Mes, r.Tick, lane, r.Mes, r.Tick, true, true);
    }
    st_.DragOn = true;
    const DocData& c = Doc();
    st_.DragLane = c.CurLane;
    st_.DragMes = c.CurMes;
    st_.DragStep = c.CurStep;
    s_.Window->ObjDraw();
  } else if (button == MouseButton::Right) {
    if (d.CurMes > d.MesCount) return;
    // Modal: the menu takes this press's release, and that of any other button held, so
    // whatever runs ends here and the press with the menu.
    EndAll();
    s_.Popup->PopupEditMenu();
    st_.BtnDown = false;
  }
}

void GestureController::DrawPress(MouseButton button, int shift) {
  if (button == MouseButton::Right && shift != kShift) {
    s_.Window->ObjBackup();
    st_.EraseOn = true;
    st_.EraseDone = false;
  }
}

// ---------------------------------------------------------------------------------------------
// Move

void GestureController::CanvasMove(int shift, double x, double y) {
  EndUnheld(s_.Buttons->ButtonsHeld());
  st_.LastX = x;
  st_.LastY = y;
  s_.Window->UpdateCursorPos(x, y);
  if (Doc().CurLane >= 0) s_.Window->AutoFocus();
  if (s_.Mode->SelectMode()) {
    const DocData& d = Doc();
    if (st_.BandOn) {
      const int y2 = d.ScrlUp != 0 ? d.CurY + 9 : d.CurY + StepHeight();
      if (d.CurLane < 0)
        RunAutoScroll(x, y);
      else
        StopTimers();
      s_.Overlay->ClearOverlay();
      s_.Overlay->DrawBand(st_.BandX, st_.BandY, Doc().CurX + 28, y2);
    } else if (st_.DragOn) {
      if (d.CurLane < 0) {
        RunAutoScroll(x, y);
        s_.Window->ObjDraw();
        return;
      }
      StopTimers();
      const int16_t lane = d.CurLane, mes = d.CurMes, step = d.CurStep;
      const bool upDown = s_.Keys->ArrowDown(Arrow::Up) | s_.Keys->ArrowDown(Arrow::Down);
      const bool leftRight = !upDown && (s_.Keys->ArrowDown(Arrow::Left) | s_.Keys->ArrowDown(Arrow::Right));
      if (upDown) {
        MoveSelection(Doc(), st_.DragLane, st_.DragMes, st_.DragStep, st_.DragLane, mes, step);
        st_.DragMes = mes;
        st_.DragStep = step;
      } else if (leftRight) {
        MoveSelection(Doc(), st_.DragLane, st_.DragMes, st_.DragStep, lane, st_.DragMes, st_.DragStep);
        st_.DragLane = lane;
      } else {
        MoveSelection(Doc(), st_.DragLane, st_.DragMes, st_.DragStep, lane, mes, step);
        st_.DragLane = lane;
        st_.DragMes = mes;
        st_.DragStep = step;
      }
      s_.Window->ObjDraw();
    }
    return;
  }
  if (Doc().CurLane < 0) return;
  s_.Overlay->ClearOverlay();
  if (st_.EraseOn)
    EraseAt(ClickTick());
  else
    ShowPreview(shift);
}

// Shows where and what a left click would place; where it would place nothing, nothing. An open
// object of a lane group is shown on the group's first lane, where the click writes it.
void GestureController::ShowPreview(int shift) {
  const DocData& d = Doc();
  const ClickPlacement c = ClickPlacementAt(d, shift, s_.Window->Settings().MaxMeasure);
  if (!c.writes) return;
  PlacementPreview p;
  p.X = d.CurX + (c.lane - d.CurLane) * kLanePixels;
  p.Y = d.CurY;
  p.Lane = c.lane;
  p.Back = c.back;
  p.Label = c.lane > 0;
  p.Value = !p.Label ? 0 : c.open ? static_cast<int16_t>(c.value - kOpenObjectBase) : c.value;
  s_.Overlay->DrawPreview(p);
}

// Erases the group's open object, the front and the back object at (CurLane, CurMes, tick).
void GestureController::EraseAt(int tick) {
  DocData& d = Doc();
  if (d.CurMes > d.MesCount || d.CurLane < 0) return;
  const int lane = d.CurLane, mes = d.CurMes;
  bool erased = false;
  ClearGroupOpen(tick, &erased);
  if (FrontAt(d, lane, mes, tick) > 0) {
    SetFront(d, lane, mes, tick, 0);
    erased = true;
  }
  if (BackAt(d, lane, mes, tick) > 0) {
    SetBack(d, lane, mes, tick, 0);
    erased = true;
  }
  if (erased) st_.EraseDone = true;
  RecalcLaneResolution(d, lane, lane, mes, mes);
  s_.Window->ObjDraw();
}

// Removes the open object of every group the pointer's lane belongs to at tick.
void GestureController::ClearGroupOpen(int tick, bool* erased) {
  DocData& d = Doc();
  const int lane = d.CurLane, mes = d.CurMes;
  for (int g = 0; g < Groups(d); ++g) {
    const int first = GroupFirst(d, g, lane);
    if (first < 0 || FrontAt(d, first, mes, tick) <= kOpenObjectBase) continue;
    SetFront(d, first, mes, tick, 0);
    if (erased) *erased = true;
    RecalcLaneResolution(d, first, first, mes, mes);
  }
}

// ---------------------------------------------------------------------------------------------
// Release

void GestureController::CanvasRelease(MouseButton button, int shift, double x, double y) {
  if (!st_.BtnDown) return;
  st_.BtnDown = false;
  s_.Window->UpdateCursorPos(x, y);
  if (s_.Mode->SelectMode()) {
    SelectRelease(x, y);
  } else {
    DrawRelease(button, shift);
  }
  // Whatever the gesture was, the pointer no longer drives the auto-scroll.
  StopTimers();
}

void GestureController::SelectRelease(double x, double y) {
  if (st_.BandOn) {
    s_.Overlay->ClearOverlay();
    if (Doc().CurLane < 0) {
      StopTimers();
      const CanvasGeom g = s_.Window->Canvas();
      s_.Window->UpdateCursorPos(std::clamp<double>(x, 0, g.Width), std::clamp<double>(y, 0, g.Height));
    }
    const DocData& d = Doc();
    // Still on no lane after the clamp: the pointer is right of the last lane.
    const int lane = d.CurLane < 0 ? d.LaneCount : d.CurLane;
    s_.Window->ObjSelect(st_.BandLane, st_.BandMes, st_.BandStep, lane, d.CurMes, d.CurStep, false, false);
    st_.BandOn = false;
    s_.Window->ObjDraw();
  } else if (st_.DragOn) {
    st_.DragOn = false;
    StopTimers();
    StoreFault why = StoreFault::None;
    const int32_t n = UnstorableSelected(Doc(), s_.Window->Settings().MaxMeasure, &why);
    if (n > 0)
      s_.Window->StatusNote(std::to_string(n) + "個のオブジェはこの位置では保存できません（" + StoreFaultText(why) +
                            "）");
  }
}

void GestureController::DrawRelease(MouseButton button, int shift) {
  const DocData& d = Doc();
  if (d.CurLane < 0) {
    if (button == MouseButton::Right) EndErase(true);
    return;
  }
  const int tick = ClickTick();
  if (button == MouseButton::Left) {
    if (d.CurLane == 0)
      TempoEntry(tick);
    else if (shift <= 5)
      Place(shift, tick);
    return;
  }
  if (button != MouseButton::Right) return;
  if (shift == kShift && d.CurLane >= 1 && d.CurMes <= d.MesCount) {
    Pick(tick);
    EndErase(false);
    return;
  }
  EndErase(true);
}

// Ends an erase drag: erases at the release cell (when asked and the cell exists) and hands back
// the press's snapshot when nothing at all was erased.
void GestureController::EndErase(bool eraseHere) {
  if (!st_.EraseOn) return;
  const DocData& d = Doc();
  if (eraseHere && d.CurLane >= 0 && d.CurMes <= d.MesCount) EraseAt(ClickTick());
  if (!st_.EraseDone) s_.Window->DropLastBackup();
  st_.EraseOn = false;
  st_.EraseDone = false;
}

void GestureController::Pick(int tick) {
  DocData& d = Doc();
  const int lane = d.CurLane, mes = d.CurMes;
  int16_t v = 0;
  for (int g = 0; g < Groups(d) && v == 0; ++g) {
    const int first = GroupFirst(d, g, lane);
    if (first >= 0 && FrontAt(d, first, mes, tick) > kOpenObjectBase)
      v = static_cast<int16_t>(FrontAt(d, first, mes, tick) - kOpenObjectBase);
  }
  if (v == 0 && FrontAt(d, lane, mes, tick) > 0) v = FrontAt(d, lane, mes, tick);
  if (v == 0 && BackAt(d, lane, mes, tick) > 0) v = BackAt(d, lane, mes, tick);
  if (v == 0) return;
  d.CurDef = v;
  s_.List->SelectWavRow(v);
}

// Grows the chart to the clicked measure; false when it lies past the measure limit (nothing is
// then done at all).
bool GestureController::Grow() {
  const DocData& d = Doc();
  if (d.CurMes > d.MesCount) s_.Window->Mes_Change(d.CurMes - d.MesCount);
  return Doc().CurMes <= Doc().MesCount;
}

void GestureController::TempoEntry(int tick) {
  if (!LayerCodingOf(Doc(), 0, false).written) {
    s_.Window->StatusNote("テンポは置けません（この形式にはテンポのチャンネルがありません）");
    return;
  }
  // The box takes the release of any other button held: an erase drag ends before it opens.
  EndAll();
  const std::optional<std::string> answer = s_.Prompt->AskTempo(TempoPromptText(Doc().BaseBpm), "BPMの入力");
  const double v = answer ? plat::LeadingNumber(*answer) : 0;
  if (!(v >= 1 && v <= 255)) return;
  if (PastLastMeasure()) return;
  const int16_t value = static_cast<int16_t>(Nearest(v));
  // The snapshot comes only with a change: the value the cell holds already leaves the undo
  // level and the modified mark as they were.
  if (Doc().CurMes <= Doc().MesCount && FrontAt(Doc(), 0, Doc().CurMes, tick) == value) return;
  s_.Window->ObjBackup();
  if (!Grow()) return;
  DocData& d = Doc();
  SetFront(d, 0, d.CurMes, tick, value);
  CommonEnd();
}

// Whether the clicked measure lies past both the chart's measures and the measure limit.
bool GestureController::PastLastMeasure() { return PastLastMeasureOf(Doc(), s_.Window->Settings().MaxMeasure); }

void GestureController::Place(int shift, int tick) {
  const ClickPlacement c = ClickPlacementAt(Doc(), shift, s_.Window->Settings().MaxMeasure);
  // A number the lane's line cannot write is not placed: the window would show what the file
  // loses. The status bar says why.
  if (c.fault == StoreFault::Measure) {
    s_.Window->StatusNote("最大小節数を超えるため置けません");
    return;
  }
  if (c.fault != StoreFault::None) {
    const int shown = c.value > kOpenObjectBase ? c.value - kOpenObjectBase : c.value;
    s_.Window->StatusNote("番号 " + std::to_string(shown) + " は置けません（" + StoreFaultText(c.fault) + "）");
    return;
  }
  if (!c.writes) return;
  s_.Window->ObjBackup();
  if (!Grow()) return;
  DocData& d = Doc();
  const int mes = d.CurMes;
  if (c.open) {
    SetFront(d, c.lane, mes, tick, c.value);
    SetBack(d, c.lane, mes, tick, 0);
    for (int l = c.lane + 1; l <= c.lane + 2 && l <= d.LaneCount; ++l) {
      SetFront(d, l, mes, tick, 0);
      SetBack(d, l, mes, tick, 0);
    }
    RecalcLaneResolution(d, c.lane, std::min<int>(c.lane + 2, d.LaneCount), mes, mes);
    s_.Window->ObjDraw();
    return;
  }
  if (c.clearBack) {
    SetBack(d, d.CurLane, mes, tick, 0);
  } else {
    ClearGroupOpen(tick, nullptr);
  }
  if (c.back)
    SetBack(d, d.CurLane, mes, tick, c.value);
  else
    SetFront(d, d.CurLane, mes, tick, c.value);
  CommonEnd();
}

void GestureController::CommonEnd() {
  DocData& d = Doc();
  RecalcLaneResolution(d, d.CurLane, d.CurLane, d.CurMes, d.CurMes);
  s_.Window->ObjDraw();
}

// ---------------------------------------------------------------------------------------------
// Lane header strip

void GestureController::StripPress() { st_.BtnDown = true; }

void GestureController::StripRelease(MouseButton button, int shift, double x) {
  if (!st_.BtnDown) return;
  st_.BtnDown = false;
  DocData& d = Doc();
  const float scrolled = static_cast<float>(static_cast<int16_t>(s_.Window->Canvas().HScrollValue * 5));
  const int ax = Nearest(scrolled + static_cast<float>(x));
  // Left of the first lane (the grab reports negative positions) counts as off the lanes too.
  const int lane = ax < 0 ? -1 : ax / 30;
  const bool select = s_.Mode->SelectMode();
  if (lane < 0 || lane > d.LaneCount) {
    if (select && button == MouseButton::Right) {
      s_.Window->ObjDeSel(false);
      s_.Window->ObjDraw();
    }
    return;
  }
  if (select) {
    if (button == MouseButton::Left) {
      s_.Window->ObjSelect(lane, 0, 0, lane, d.MesCount, 191, false, false);
      s_.Window->ObjDraw();
    } else if (button == MouseButton::Right) {
      s_.Window->ObjDeSel(false);
      s_.Window->ObjDraw();
    }
    return;
  }
  if (lane == 0 || lane >= static_cast<int>(d.Lane.size())) return;
  if (button != MouseButton::Left && button != MouseButton::Right) return;
  LaneInfo& li = d.Lane[lane];
  const int16_t v = button == MouseButton::Left ? d.CurDef : 0;
  if (li.BackChannel != "__" && (shift & kCtrl))
    li.Hdr2 = v;
  else
    li.Hdr = v;
  s_.Window->HeadObj();
}

// ---------------------------------------------------------------------------------------------
// Timers and lifecycle

void GestureController::XTimerTick() {
  const ScrollBarState bar = s_.Window->HScroll();
  const int v = AutoScrollValue(st_.Scroll.PointerX, s_.Window->Canvas().Width, bar.Value, bar.Min, bar.Max,
                                s_.Window->Settings().ScrollSpeedX);
  if (v == bar.Value) return;
  st_.BandX += (bar.Value - v) * 5;
  s_.Window->SetHScroll(v);
}

void GestureController::YTimerTick() {
  const ScrollBarState bar = s_.Window->VScroll();
  const GestureSettings set = s_.Window->Settings();
  const int v =
      AutoScrollValue(st_.Scroll.PointerY, s_.Window->Canvas().Height, bar.Value, bar.Min, bar.Max, set.ScrollSpeedY);
  if (v == bar.Value) return;
  st_.BandY += Nearest(static_cast<double>(bar.Value - v) * set.ScrollSpeed * Doc().Zoom);
  s_.Window->SetVScroll(v);
}

void GestureController::GestureLost() {
  StopTimers();
  if (inPress_)
    lostInPress_ = true;
  else
    EndAll();
}

// Ends the gestures whose button is not in held as a release where the pointer last was would,
// except that nothing is written there: the band selects what it covers, the drag leaves the
// selection where the last move put it, the erase drag keeps what it erased (its snapshot goes
// when that is nothing). With no button held the press is over.
void GestureController::EndUnheld(int held) {
  const bool left = (held & static_cast<int>(MouseButton::Left)) != 0;
  const bool right = (held & static_cast<int>(MouseButton::Right)) != 0;
  if ((st_.BandOn || st_.DragOn) && !left) {
    StopTimers();
    if (st_.BandOn) {
      s_.Window->UpdateCursorPos(st_.LastX, st_.LastY);
      SelectRelease(st_.LastX, st_.LastY);
    }
    if (st_.DragOn) SelectRelease(st_.LastX, st_.LastY);
  }
  if (st_.EraseOn && !right) EndErase(false);
  if (held == 0) st_.BtnDown = false;
}

void GestureController::EndAll() { EndUnheld(0); }

void GestureController::Reset() {
  StopTimers();
  st_ = GestureState();
}

}  // namespace mk
