// The chart window Form1: one open chart in a child window of the frame, with its toolbar, grid
// and zoom lists, lane header strip, canvas, scroll bars, "+"/"-" buttons and toolbar switch.
// Its public operations carry the names other parts of the program call them by.
#pragma once
#include <QMdiSubWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/scriptwin.h"
#include "chartview/chartframe.h"
#include "chartview/viewstate.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/picture.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace mk {

class MixedToolButton;
class PictureBox;
class Form1;
class Form1Gestures;
class GestureController;

// Chart windows by number (0..g_MaxWindows, element 0 unused). An element keeps naming its
// window object until the number is taken again.
extern std::vector<QPointer<Form1>> g_Wins;
// The open chart window with number n, or nullptr when that number is not in use: calls on a
// closed number reach nothing.
Form1* WinAt(int n);
// The file name the frame's shared file dialog starts with: each open or save dialog that
// completes leaves its path here, as the one dialog control of the frame does.
extern std::string g_CommonDialogFile;
// Set while the program ends: windows then close without their own close handling.
extern bool g_Ending;

class Form1 : public QMdiSubWindow, public ScriptWindowSteps {
  Q_OBJECT

 public:
  explicit Form1(ChartFrame* frame, QWidget* parent = nullptr);
  ~Form1() override;

  int16_t WinNo() const { return winNo_; }
  DocData& Doc();
  const DocData& Doc() const;

  // Gives the window its design client area of 736 x 520 inside the frame drawn around it (known
  // once the window is in its multi-document area).
  void SetDesignSize();
  // Takes g_NewSlot and g_NewScript, resets the record and reads the script. False when the
  // script could not be read: its message has been shown and the window must not stay open.
  bool Form_Load();
  void vbWheelMinus();
  void vbWheelPlus();
  void vbMButtonUp() {}
  void Scr_Chg() override;
  ScriptReadResult ScrRead(int16_t scriptNo);
  void ObjMake() override;
  void HeadDraw() override;
  void ObjDraw() override;
  void SetThisWin();
  void Mes_Change(int16_t delta);
  void ObjBackup();
  // Edit > Undo on this window, and handing back a snapshot whose gesture changed nothing.
  void Undo();
  void DropLastBackup();
  void HeadObj();
  // Lands the floating selection in the grid; with keep (a copy drag) the list stays selected.
  void ObjDeSel(bool keep = false);
  // The status bar's note line, for the current window only (empty: clear).
  void StatusNote(const std::string& text);
  // Lifts the objects between the two corners into the selection (steps are grid steps, or
  // ticks with noGrid) and previews the sound of a single object taken when that setting is on.
  // The caller redraws.
  void ObjSelect(int16_t x1, int16_t m1, int16_t s1, int16_t x2, int16_t m2, int16_t s2, bool noGrid = false,
                 bool playObj = false);
  // The pointer fields from a canvas position, shown in the status bar.
  void UpdateCursorPos(double x, double y);
  // Moves the floating selection between two grid positions; the caller redraws.
  void MoveSelection(int16_t fromLane, int16_t fromMes, int16_t fromStep, int16_t toLane, int16_t toMes,
                     int16_t toStep);
  void HeadDraw2() override;
  void CheckDirty();
  bool RefleshScr();

  void Form_Activate();
  void Form_Resize();
  // Closes the window with no save question (a window whose load failed).
  void CloseWithoutQuestion();

  // ScriptWindowSteps
  void SetScrollDirection() override;
  void SetScrollDirection(int16_t dir);  // -1: measure 0 at the bottom
  // The window toolbar: a button by its key, an item of a button's menu by its key.
  void Toolbar1_ButtonClick(const std::string& key);
  void Toolbar1_ButtonMenuClick(const std::string& key);
  void ChooseWallpaper();
  void AppendWavRows(const std::vector<std::string>& codes) override;
  void AppendBgaRows(const std::vector<std::string>& codes) override;
  void SetCaption(const std::string& caption) override;

  // Controls, for the frame and for tests.
  QWidget* Client() const { return client_; }
  QToolBar* Toolbar1() const { return toolbar1_; }
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  QWidget* Frame1() const { return frame1_; }
  PictureBox* Picture1() const { return picture1_; }
  PictureBox* Picture3() const { return picture3_; }
  QScrollBar* HScroll1() const { return hscroll1_; }
  QScrollBar* VScroll1() const { return vscroll1_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QCheckBox* Check1() const { return check1_; }
  QToolButton* TB_3b() const { return tb3b_; }
  MixedToolButton* TB_Wall() const { return tbWall_; }
  QToolButton* TB_Scrl() const { return tbScrl_; }
  int ScrlImage() const { return scrlImage_; }
  int WallImage() const { return wallImage_; }
  const plat::Picture& Wallpaper() const { return wall_; }
  const plat::Picture& WallpaperStretched() const { return wallStretched_; }
  const plat::Canvas& Canvas() const { return canvas_; }
  const SpriteSheets& Sheets() const { return sheets_; }
  ViewState View() const;
  // The canvas and lane header strip gestures, and the two auto-scroll timers.
  GestureController& Gestures() { return *gesture_; }
  QTimer* XTimer() const { return xTimer_; }
  QTimer* YTimer() const { return yTimer_; }

  // The picture dump of the two sprite sheets into the install folder; true only when both
  // files were written. Reports the outcome in a message box.
  bool DumpSheets();

 protected:
  void closeEvent(QCloseEvent* e) override;  // Form_Unload
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildControls();
  void ClearThisWin();
  void VScroll1_Change();
  void HScroll1_Change();
  void Combo1_Click();
  void Combo2_Click();
  void Check1_Click();
  void MesButtonUp(int sign, bool shift);
  void Picture1_OLEDragDrop(const QStringList& files);
  void SetVScroll(int maximum, int value);
  void FitVScrollToView();
  void StretchWallpaper();
  void DropWallpaper();
  int ToolbarHeight() const;

  ChartFrame* frame_;
  int16_t winNo_ = 0;
  bool discard_ = false;
  // The canvas and strip mouse events, turned into gesture calls (form1_mouse.cpp).
  bool CanvasEvent(QObject* watched, QEvent* e);
  // The frame's error boxes wait while a press on the canvas or the strip awaits its release.
  void HoldErrorBoxesWhilePressed();
  void BuildGestures();
  friend class Form1Gestures;

  std::unique_ptr<Form1Gestures> gestureServices_;
  std::unique_ptr<GestureController> gesture_;
  QTimer* xTimer_ = nullptr;
  QTimer* yTimer_ = nullptr;
  bool wheelScroll_ = false;  // the next vertical scroll comes from the wheel
  int lastScrollValue_ = 0;
  bool inResize_ = false;
  int scrlImage_ = 3;  // TB_Scrl's image
  int wallImage_ = 5;  // TB_Wall's image

  QWidget* client_ = nullptr;
  QToolBar* toolbar1_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QWidget* frame1_ = nullptr;
  PictureBox* picture3_ = nullptr;
  PictureBox* picture1_ = nullptr;
  QScrollBar* hscroll1_ = nullptr;
  QScrollBar* vscroll1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QToolButton* tbScrl_ = nullptr;
  QToolButton* tb3b_ = nullptr;
  MixedToolButton* tbWall_ = nullptr;

  plat::Canvas canvas_;          // Picture1
  plat::Picture strip_;          // Picture3
  SpriteSheets sheets_;          // Picture2, Picture6
  plat::Picture wall_;           // Picture4
  plat::Picture wallStretched_;  // Picture5
};

}  // namespace mk
