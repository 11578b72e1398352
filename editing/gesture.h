// The mouse gestures of a chart window's canvas and lane header strip: press, move and release
// of each, and the auto-scroll timer ticks, turned into edits of the window's record. The
// controller keeps the gesture state and reaches everything else through small services, which
// the chart window implements on its widgets and tests replace with fakes.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "chartfmt/docdata.h"
#include "chartfmt/storable.h"
#include "editing/cursorpos.h"
#include "editing/movesel.h"

namespace mk {

// Mouse buttons and the modifier sum of an event: 1 Shift, 2 Ctrl, 4 Alt.
enum class MouseButton : int16_t { None = 0, Left = 1, Right = 2, Middle = 4 };
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

enum class Axis { X, Y };
enum class Arrow { Up = 0, Down, Left, Right };

// The editing mode of the frame: select mode while its select button is pressed.
class EditModeSource {
 public:
  virtual ~EditModeSource() = default;
  virtual bool SelectMode() = 0;
};

// The arrow keys as a drag reads them: down now, or pressed since the previous query.
class ArrowKeyState {
 public:
  virtual ~ArrowKeyState() = default;
  virtual bool ArrowDown(Arrow a) = 0;
};

// The key state kept from key events: a key counts as down while it is held, and once more after
// its release when it was pressed since the previous query.
class ArrowKeyLatch : public ArrowKeyState {
 public:
  void KeyPressed(Arrow a) { down_[Index(a)] = pressed_[Index(a)] = true; }
  void KeyReleased(Arrow a) { down_[Index(a)] = false; }
  bool ArrowDown(Arrow a) override {
    const bool r = down_[Index(a)] || pressed_[Index(a)];
    pressed_[Index(a)] = false;
    return r;
  }

 private:
  static size_t Index(Arrow a) { return static_cast<size_t>(a); }
  std::array<bool, 4> down_{}, pressed_{};
};

// The mouse buttons held as the event being handled reports them: a sum of MouseButton values.
class HeldButtons {
 public:
  virtual ~HeldButtons() = default;
  virtual int ButtonsHeld() = 0;
};

// The chart context menu, shown at the pointer. Modal: it takes the release of the press that
// opened it.
class EditMenuPopup {
 public:
  virtual ~EditMenuPopup() = default;
  virtual void PopupEditMenu() = 0;
};

// The two auto-scroll timers. Start also retunes a running timer.
class AutoScrollTimers {
 public:
  virtual ~AutoScrollTimers() = default;
  virtual void StartTimer(Axis axis, int intervalMs) = 0;
  virtual void StopTimer(Axis axis) = 0;
};

// Where an object would be placed: the object box (or the narrower back-layer box 3 pixels
// further right) of a lane at canvas (X, Y), with a number label unless Label is false, and the
// cursor frame over it.
struct PlacementPreview {
  int X = 0, Y = 0;
  int Lane = 0;
  bool Back = false;
  bool Label = false;
  int16_t Value = 0;
  bool operator==(const PlacementPreview&) const = default;
};

// What a left click of draw mode writes at the pointer (DocData.CurLane, CurMes) with the modifier
// sum shift, before anything is written: the lane and layer, and the number as the cell will hold
// it (an open object above kOpenObjectBase, on the first lane of the pointer's lane group). On the
// tempo lane the number comes from the tempo prompt. writes is false when the click places
// nothing; fault then says why when the file could not hold the object there.
struct ClickPlacement {
  bool writes = false;
  StoreFault fault = StoreFault::None;
  int lane = -1;
  bool back = false;
  bool open = false;       // an open object of the pointer's lane group
  bool clearBack = false;  // Alt outside the lane groups: the back layer is emptied as well
  int16_t value = 0;
};
ClickPlacement ClickPlacementAt(const DocData& d, int shift, int maxMeasure);

// The canvas overlay above the chart picture: what is drawn there never reaches the picture, and
// clearing it shows the picture as the last redraw left it.
class CanvasOverlay {
 public:
  virtual ~CanvasOverlay() = default;
  virtual void ClearOverlay() = 0;
  // The rubber band's outline between two corners (either order, both included).
  virtual void DrawBand(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawPreview(const PlacementPreview& p) = 0;
};

// The tempo input box; nullopt when it was cancelled.
class TempoPrompt {
 public:
  virtual ~TempoPrompt() = default;
  virtual std::optional<std::string> AskTempo(const std::string& prompt, const std::string& title) = 0;
};

// The frame's WAV definition list: row n (number n) selected and scrolled into view; a number
// without a row selects nothing.
class DefinitionList {
 public:
  virtual ~DefinitionList() = default;
  virtual void SelectWavRow(int n) = 0;
};

struct ScrollBarState {
  int Value = 0, Min = 0, Max = 0;
};

// What the gestures read of the settings.
struct GestureSettings {
  int MaxMeasure = 499;   // the chart does not grow past this measure
  int ScrollSpeed = 4;    // ticks per vertical scroll unit
  int ScrollSpeedX = 80;  // distance divisors of the auto-scroll step
  int ScrollSpeedY = 80;
};

// The chart window: its record, its canvas and scroll bars, and its editing methods, which show
// their results (status panels, Undo item, caption, scroll range, the sound of a selected
// object) themselves.
class ChartWindowPort {
 public:
  virtual ~ChartWindowPort() = default;
  virtual DocData& Doc() = 0;
  virtual GestureSettings Settings() = 0;
  virtual CanvasGeom Canvas() = 0;
  virtual void UpdateCursorPos(double x, double y) = 0;
  virtual void ObjBackup() = 0;
  virtual void DropLastBackup() = 0;
  virtual void ObjDeSel(bool keep) = 0;
  virtual void ObjSelect(int x1, int m1, int s1, int x2, int m2, int s2, bool noGrid, bool playObj) = 0;
  virtual void Mes_Change(int delta) = 0;
  virtual void ObjDraw() = 0;
  virtual void HeadObj() = 0;
  // Gives the canvas the keyboard focus when automatic focus is on and this window and the frame
  // are the active ones.
  virtual void AutoFocus() = 0;
  virtual ScrollBarState HScroll() = 0;
  virtual ScrollBarState VScroll() = 0;
  virtual void SetHScroll(int value) = 0;
  virtual void SetVScroll(int value) = 0;
  // A line for the status bar saying why a gesture did not do what it seemed to (empty: clear).
  virtual void StatusNote(const std::string& text) { (void)text; }
};

struct GestureServices {
  ChartWindowPort* Window = nullptr;
  EditModeSource* Mode = nullptr;
  ArrowKeyState* Keys = nullptr;
  EditMenuPopup* Popup = nullptr;
  AutoScrollTimers* Timers = nullptr;
  CanvasOverlay* Overlay = nullptr;
  TempoPrompt* Prompt = nullptr;
  DefinitionList* List = nullptr;
  HeldButtons* Buttons = nullptr;
};

// The gesture state of one chart window.
struct GestureState {
  bool BtnDown = false;  // a press on the canvas or the strip awaits its release
  bool BandOn = false;   // rubber band
  int16_t BandLane = 0, BandMes = 0, BandStep = 0;
  int32_t BandX = 0, BandY = 0;                     // the band's fixed corner in canvas pixels
  AutoScroll Scroll;                                // the pointer the timers scroll toward
  int16_t DragLane = 0, DragMes = 0, DragStep = 0;  // the cell the selection was last moved from
  bool DragOn = false;                              // selection drag
  bool SelKeep = false;                             // the next drop keeps the selection (copy drag)
  bool EraseOn = false;                             // erase drag
  bool EraseDone = false;                           // the erase drag erased something
  int16_t HitTick = 0, HitMes = 0;
  double LastX = 0, LastY = 0;  // the pointer as the last press or move had it
};

class GestureController {
 public:
  explicit GestureController(const GestureServices& s) : s_(s) {}

  // A gesture goes on only while the button that started it is held: a press or a move that
  // finds it no longer held (its release went to a box or another window) first ends it as
  // GestureLost does, so nothing moves or erases without a button held.
  void CanvasPress(MouseButton button, int shift, double x, double y);
  void CanvasMove(int shift, double x, double y);
  void CanvasRelease(MouseButton button, int shift, double x, double y);
  void StripPress();
  void StripRelease(MouseButton button, int shift, double x);
  void XTimerTick();
  void YTimerTick();
  // The gesture lost its pointer (a box or menu took the input, the window lost the keyboard or
  // its activation, or closes): the auto-scroll stops and whatever runs ends as if released
  // where the pointer last was, writing nothing. Called while a press is being handled (a box
  // of the press), it ends what the press starts once the press is done.
  void GestureLost();
  // Back to idle, as a window reset leaves it.
  void Reset();

  const GestureState& State() const { return st_; }

  // The tempo prompt's text for a base BPM.
  static std::string TempoPromptText(double baseBpm);

 private:
  DocData& Doc() { return s_.Window->Doc(); }
  void StopTimers();
  void RunAutoScroll(double x, double y);
  int StepHeight();
  int ClickTick();
  void SelectPress(MouseButton button, int shift);
  void DrawPress(MouseButton button, int shift);
  void ShowPreview(int shift);
  void EraseAt(int tick);
  void SelectRelease(double x, double y);
  void DrawRelease(MouseButton button, int shift);
  void EndErase(bool eraseHere);
  void Pick(int tick);
  bool PastLastMeasure();
  bool Grow();
  void TempoEntry(int tick);
  void Place(int shift, int tick);
  void ClearGroupOpen(int tick, bool* erased);
  void CommonEnd();
  void EndUnheld(int held);
  void EndAll();

  // While a press is handled: GestureLost then only notes that the press's gesture must end.
  bool inPress_ = false, lostInPress_ = false;

  GestureServices s_;
  GestureState st_;
};

}  // namespace mk
