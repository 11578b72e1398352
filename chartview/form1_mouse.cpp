// The chart window's mouse editing: canvas and lane header strip events become gesture calls,
// and the window serves the gestures with its record, scroll bars, timers and canvas overlay.
#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/icons.h"
#include "chartview/labels.h"
#include "chartview/picturebox.h"
#include "chartview/sprites.h"
#include "chartview/viewsettings.h"
#include "editing/gesture.h"
#include "platform/core/desktop.h"

namespace mk {

namespace {

// The arrow keys of the whole program, as a key state read by drags: fed by an application-wide
// event filter.
class ArrowKeyFilter : public QObject {
 public:
  ArrowKeyLatch latch;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
      auto* k = static_cast<QKeyEvent*>(e);
      std::optional<Arrow> a;
      switch (k->key()) {
        case Qt::Key_Up: a = Arrow::Up; break;
        case Qt::Key_Down: a = Arrow::Down; break;
        case Qt::Key_Left: a = Arrow::Left; break;
        case Qt::Key_Right: a = Arrow::Right; break;
        default: break;
      }
      if (a && !k->isAutoRepeat()) {
        if (e->type() == QEvent::KeyPress)
          latch.KeyPressed(*a);
        else
          latch.KeyReleased(*a);
      }
    }
    return QObject::eventFilter(watched, e);
  }
};

ArrowKeyLatch& ArrowKeys() {
  static ArrowKeyFilter* filter = [] {
    auto* f = new ArrowKeyFilter;
    if (qApp) {
      f->setParent(qApp);
      qApp->installEventFilter(f);
    }
    return f;
  }();
  return filter->latch;
}

MouseButton ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::None;
  }
}

// Shift 1, Ctrl 2, Alt 4 from the event's own modifiers (the keypad flag and others left out).
int ShiftOf(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? kShift : 0) | ((m & Qt::ControlModifier) ? kCtrl : 0) |
         ((m & Qt::AltModifier) ? kAlt : 0);
}

plat::Color SelectColour() {
  const int32_t c = g_SelectColor;
  return plat::Rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Every button a mouse event reports held, as a sum of MouseButton values.
int HeldOf(Qt::MouseButtons b) {
  return ((b & Qt::LeftButton) ? static_cast<int>(MouseButton::Left) : 0) |
         ((b & Qt::RightButton) ? static_cast<int>(MouseButton::Right) : 0) |
         ((b & Qt::MiddleButton) ? static_cast<int>(MouseButton::Middle) : 0);
}

}  // namespace

class Form1Gestures : public ChartWindowPort,
                      public EditModeSource,
                      public EditMenuPopup,
                      public AutoScrollTimers,
                      public CanvasOverlay,
                      public TempoPrompt,
                      public DefinitionList,
                      public HeldButtons {
 public:
  explicit Form1Gestures(Form1* w) : w_(w) {}

  // HeldButtons: what the mouse event being handled reports.
  int ButtonsHeld() override { return held_; }
  void SetHeld(Qt::MouseButtons b) { held_ = HeldOf(b); }

  // ChartWindowPort
  DocData& Doc() override { return w_->Doc(); }
  GestureSettings Settings() override { return {g_MaxMeasure, g_ScrollSpeed, g_ScrollSpeedX, g_ScrollSpeedY}; }
  CanvasGeom Canvas() override { return {w_->picture1_->width(), w_->picture1_->height(), w_->hscroll1_->value()}; }
  void UpdateCursorPos(double x, double y) override { w_->UpdateCursorPos(x, y); }
  void ObjBackup() override { w_->ObjBackup(); }
  void DropLastBackup() override { w_->DropLastBackup(); }
  void ObjDeSel(bool keep) override { w_->ObjDeSel(keep); }
  void ObjSelect(int x1, int m1, int s1, int x2, int m2, int s2, bool noGrid, bool playObj) override {
    auto n = [](int v) { return static_cast<int16_t>(v); };
    w_->ObjSelect(n(x1), n(m1), n(s1), n(x2), n(m2), n(s2), noGrid, playObj);
  }
  void Mes_Change(int delta) override { w_->Mes_Change(static_cast<int16_t>(delta)); }
  void ObjDraw() override { w_->ObjDraw(); }
  void HeadObj() override { w_->HeadObj(); }
  void AutoFocus() override {
    if (w_->winNo_ == g_CurWin && w_->frame_->CanvasAutoFocus()) w_->picture1_->setFocus();
  }
  ScrollBarState HScroll() override { return Bar(w_->hscroll1_); }
  ScrollBarState VScroll() override { return Bar(w_->vscroll1_); }
  void SetHScroll(int value) override { w_->hscroll1_->setValue(value); }
  void SetVScroll(int value) override { w_->vscroll1_->setValue(value); }
  void StatusNote(const std::string& text) override { w_->StatusNote(text); }

  // EditModeSource, EditMenuPopup
  bool SelectMode() override { return w_->frame_->SelectMode(); }
  void PopupEditMenu() override { w_->frame_->PopupEditMenu(); }

  // AutoScrollTimers
  void StartTimer(Axis axis, int intervalMs) override {
    QTimer* t = axis == Axis::X ? w_->xTimer_ : w_->yTimer_;
    t->setInterval(intervalMs);
    if (!t->isActive()) t->start();
  }
  void StopTimer(Axis axis) override { (axis == Axis::X ? w_->xTimer_ : w_->yTimer_)->stop(); }

  // CanvasOverlay
  void ClearOverlay() override {
    w_->canvas_.ClearOverlay();
    w_->picture1_->update();
  }
  void DrawBand(int x1, int y1, int x2, int y2) override {
    w_->canvas_.Overlay().Outline(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2),
                                  SelectColour(), 2);
    w_->picture1_->update();
  }
  void DrawPreview(const PlacementPreview& p) override {
    using namespace sheet;
    plat::Picture& o = w_->canvas_.Overlay();
    const plat::Picture& s = w_->sheets_.Obj;
    const PartsSwitches parts = w_->frame_->Parts();
    if (p.Back) {
      o.Blt(p.X + 3, p.Y, kBackW, kBoxH, s, kBackX, 10 * p.Lane, plat::Rop::Copy);
      DrawObjectLabel(w_->Doc(), parts, s, o, p.X, p.Y, p.Lane, p.Value, -1);
    } else {
      o.Blt(p.X, p.Y, kBoxW, kBoxH, s, 0, 10 * p.Lane, plat::Rop::Copy);
      if (p.Label) DrawObjectLabel(w_->Doc(), parts, s, o, p.X, p.Y, p.Lane, p.Value, 0);
    }
    o.Blt(p.X, p.Y, kBoxW, kBoxH, s, kPointerX, kPointerY, plat::Rop::Or);
    w_->picture1_->update();
  }

  // TempoPrompt, DefinitionList
  std::optional<std::string> AskTempo(const std::string& prompt, const std::string& title) override {
    const plat::InputResult r = plat::TheDesktop().InputBox(prompt, title, "");
    if (r.cancelled) return std::nullopt;
    return r.text;
  }
  void SelectWavRow(int n) override { w_->frame_->SelectListRow(DefList::Grid1, n); }

 private:
  static ScrollBarState Bar(const QScrollBar* b) { return {b->value(), b->minimum(), b->maximum()}; }
  Form1* w_;
  int held_ = 0;
};

// Construction and destruction live here, where the gesture services are a complete type.
Form1::Form1(ChartFrame* frame, QWidget* parent) : QMdiSubWindow(parent), frame_(frame) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("新規"));
  setWindowIcon(ChartWindowIcon());
  BuildControls();
  BuildGestures();
}

Form1::~Form1() = default;

void Form1::BuildGestures() {
  gestureServices_ = std::make_unique<Form1Gestures>(this);
  Form1Gestures* g = gestureServices_.get();
  GestureServices s;
  s.Window = g;
  s.Mode = g;
  s.Keys = &ArrowKeys();
  s.Popup = g;
  s.Timers = g;
  s.Overlay = g;
  s.Prompt = g;
  s.List = g;
  s.Buttons = g;
  gesture_ = std::make_unique<GestureController>(s);
  xTimer_ = new QTimer(this);
  xTimer_->setObjectName("XTimer");
  yTimer_ = new QTimer(this);
  yTimer_->setObjectName("YTimer");
  connect(xTimer_, &QTimer::timeout, this, [this] { gesture_->XTimerTick(); });
  connect(yTimer_, &QTimer::timeout, this, [this] { gesture_->YTimerTick(); });
  picture1_->setMouseTracking(true);
  picture1_->installEventFilter(this);
  picture3_->installEventFilter(this);
}

bool Form1::CanvasEvent(QObject* watched, QEvent* e) {
  const bool canvas = watched == picture1_;
  switch (e->type()) {
    case QEvent::MouseButtonDblClick:
      return true;  // the second click of a double click is no press: its release finds none
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(e);
      gestureServices_->SetHeld(m->buttons());
      // Error boxes wait for the release: a box now would take it and leave the gesture running.
      frame_->HoldErrorBoxes(true);
      if (canvas)
        gesture_->CanvasPress(ButtonOf(m->button()), ShiftOf(m->modifiers()), m->position().x(), m->position().y());
      else
        gesture_->StripPress();
      HoldErrorBoxesWhilePressed();
      return true;
    }
    case QEvent::MouseMove: {
      if (!canvas) return false;
      auto* m = static_cast<QMouseEvent*>(e);
      gestureServices_->SetHeld(m->buttons());
      gesture_->CanvasMove(ShiftOf(m->modifiers()), m->position().x(), m->position().y());
      HoldErrorBoxesWhilePressed();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* m = static_cast<QMouseEvent*>(e);
      gestureServices_->SetHeld(m->buttons());
      if (canvas)
        gesture_->CanvasRelease(ButtonOf(m->button()), ShiftOf(m->modifiers()), m->position().x(), m->position().y());
      else
        gesture_->StripRelease(ButtonOf(m->button()), ShiftOf(m->modifiers()), m->position().x());
      HoldErrorBoxesWhilePressed();
      return true;
    }
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
      // A box, a menu or another window takes the input, and with it the release.
      if (canvas) {
        gesture_->GestureLost();
        HoldErrorBoxesWhilePressed();
      }
      return false;
    default: return false;
  }
}

void Form1::HoldErrorBoxesWhilePressed() { frame_->HoldErrorBoxes(gesture_->State().BtnDown); }

}  // namespace mk
