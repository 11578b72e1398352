// Mouse editing through the real chart window: synthesised mouse events on the canvas.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "chartview/sprites.h"
#include "editing/cursorpos.h"
#include "editing/gesture.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::Chosen;
using testsupport::FrameTest;

namespace {

class CanvasEditTest : public FrameTest {
 protected:
  Form1* StartUntitled() {
    EXPECT_TRUE(Start());
    Pump();
    Form1* w = Frame().ActiveChart();
    EXPECT_NE(w, nullptr);
    return w;
  }

  void Mode(bool select) {
    Frame().Tool(select ? "TB1_ModeSelect" : "TB1_ModeDraw")->click();
    Pump();
  }

  // The canvas pixel (centre of the lane column, on the grid line of the step) that the window
  // takes for (lane, mes, step).
  static QPointF At(Form1* w, int lane, int mes, int step) {
    DocData probe = w->Doc();
    const CanvasGeom g{w->Picture1()->width(), w->Picture1()->height(), w->HScroll1()->value()};
    const double x = lane * 30 + 15 - g.HScrollValue * 5;
    for (int y = 0; y <= g.Height; ++y) {
      UpdateCursorPos(probe, g, x, y);
      if (probe.CurMes == mes && probe.CurStep == step && probe.CurTick == step * (192 / probe.GridDiv))
        return {x, static_cast<double>(y)};
    }
    ADD_FAILURE() << "no pixel for measure " << mes << " step " << step;
    return {};
  }

  static void Send(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButton button,
                   Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held, mods);
    QApplication::sendEvent(to, &e);
  }
  static void Press(Form1* w, QPointF at, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    Send(w->Picture1(), QEvent::MouseButtonPress, at, b, m);
  }
  static void Move(Form1* w, QPointF at, Qt::MouseButton b = Qt::LeftButton) {
    Send(w->Picture1(), QEvent::MouseMove, at, b);
  }
  static void Release(Form1* w, QPointF at, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    Send(w->Picture1(), QEvent::MouseButtonRelease, at, b, m);
  }

  static int16_t FrontAt(Form1* w, int lane, int mes, int tick) { return w->Doc().Obj[lane].Mes[mes].Obj[tick]; }
};

TEST_F(CanvasEditTest, ADrawModeClickPlacesTheCurrentNumberAndMarksTheChart) {
  Form1* w = StartUntitled();
  Mode(false);
  w->Doc().CurDef = 7;
  const QPointF at = At(w, 2, 1, 3);
  Move(w, at, Qt::NoButton);
  EXPECT_TRUE(w->Canvas().OverlayShown());  // the placement preview
  Press(w, at);
  Release(w, at);
  const int tick = 3 * (192 / w->Doc().GridDiv);
  EXPECT_EQ(FrontAt(w, 2, 1, tick), 7);
  EXPECT_EQ(w->Doc().Dirty, -1);
  EXPECT_TRUE(w->windowTitle().contains('*')) << w->windowTitle().toStdString();
  EXPECT_TRUE(Frame().MenuAction(FrameMenu::Menu_Edit_Undo)->isEnabled());
  EXPECT_FALSE(w->Canvas().OverlayShown());  // the redraw replaced the preview
}

TEST_F(CanvasEditTest, ABandDragSelectsWhatItCovers) {
  Form1* w = StartUntitled();
  DocData& d = w->Doc();
  const int step = 192 / d.GridDiv;
  for (auto [lane, s] : {std::pair{2, 1}, {3, 2}, {5, 2}}) {
    d.Obj[lane].Mes.Write(0).Obj[s * step] = 4;
    RecalcLaneResolution(d, lane, lane, 0, 0);
  }
  w->ObjDraw();
  Mode(true);
  Press(w, At(w, 2, 0, 0));
  Move(w, At(w, 3, 0, 3));
  EXPECT_TRUE(w->Canvas().OverlayShown());  // the band's outline
  Release(w, At(w, 3, 0, 3));
  EXPECT_FALSE(w->Canvas().OverlayShown());
  EXPECT_EQ(d.SelCount, 2);
  EXPECT_EQ(FrontAt(w, 2, 0, step), 0);
  EXPECT_EQ(FrontAt(w, 5, 0, 2 * step), 4);
  EXPECT_EQ(Frame().Panel("Info")->text().toStdString(), "2個のオブジェを選択");
}

TEST_F(CanvasEditTest, ARightDragErasesInDrawMode) {
  Form1* w = StartUntitled();
  DocData& d = w->Doc();
  for (int lane : {1, 2, 3}) {
    d.Obj[lane].Mes.Write(0).Obj[0] = 5;
    RecalcLaneResolution(d, lane, lane, 0, 0);
  }
  Mode(false);
  Press(w, At(w, 1, 0, 0), Qt::RightButton);
  Move(w, At(w, 2, 0, 0), Qt::RightButton);
  Release(w, At(w, 2, 0, 1), Qt::RightButton);
  EXPECT_EQ(FrontAt(w, 1, 0, 0), 5);  // the press erases nothing
  EXPECT_EQ(FrontAt(w, 2, 0, 0), 0);
  EXPECT_EQ(FrontAt(w, 3, 0, 0), 5);
  EXPECT_EQ(d.UndoOn, -1);
}

TEST_F(CanvasEditTest, DraggingPastTheCanvasEdgeScrollsUntilTheRelease) {
  Form1* w = StartUntitled();
  Mode(true);
  const QPointF start = At(w, 1, 0, 0);
  Press(w, start);
  // Beyond the edge the view can scroll toward: below unless the bar is at its maximum.
  const bool up = w->VScroll1()->value() == w->VScroll1()->maximum();
  const QPointF below(start.x(), up ? -100 : w->Picture1()->height() + 100);
  Move(w, below);
  EXPECT_TRUE(w->YTimer()->isActive());
  EXPECT_EQ(w->YTimer()->interval(), 50 - 100 / 7);
  EXPECT_FALSE(w->XTimer()->isActive());
  const int before = w->VScroll1()->value();
  w->Gestures().YTimerTick();
  EXPECT_NE(w->VScroll1()->value(), before);
  Release(w, below);
  EXPECT_FALSE(w->YTimer()->isActive());
  EXPECT_FALSE(w->XTimer()->isActive());
}

TEST_F(CanvasEditTest, PlaceMoveUndoAndSaveWritesTheChartAsPlaced) {
  Form1* w = StartUntitled();
  const DocData empty = w->Doc();
  Mode(false);
  w->Doc().CurDef = 9;
  const QPointF at = At(w, 2, 0, 4);
  Press(w, at);
  Release(w, at);
  Mode(true);
  Press(w, at);
  Move(w, At(w, 4, 1, 2));
  Release(w, At(w, 4, 1, 2));
  EXPECT_EQ(w->Doc().Sel[1].Lane, 4);
  Frame().Menu_Edit_Undo_Click();
  EXPECT_EQ(w->Doc().SelCount, 0);

  DocData expected = empty;
  expected.Obj[2].Mes.Write(0).Obj[4 * (192 / expected.GridDiv)] = 9;
  RecalcLaneResolution(expected, 2, 2, 0, 0);
  const std::string out = Install() + "placed.nxl";
  desk_.ExpectSaveFile(Chosen(out));
  Frame().QuerySaveAs();
  EXPECT_EQ(testsupport::ReadAll(out), ChartText(expected, 0));
}

// Boxes that open while a button is down on the canvas. The preview's error waits until the
// release; whatever takes the release instead (a window switch, the chart menu, the tempo box)
// ends the gesture where it was: later moves with no button held move and erase nothing, a click
// elsewhere lands the selection where it was, and Undo gives back the chart before the press.
class CanvasBoxTest : public CanvasEditTest {
 protected:
  // Number 10 (a file that is no sound) on lane 3 and number 7 on lane 1, at measure 0, step 0.
  Form1* Chart() {
    Form1* w = StartUntitled();
    DocData& d = w->Doc();
    d.Folder = Install();
    dir_.Write("noise.wav", std::string(30, 'x'));
    d.Wav[10].File = "noise.wav";
    for (auto [lane, v] : {std::pair{3, 10}, {1, 7}}) {
      d.Obj[lane].Mes.Write(0).Obj[0] = static_cast<int16_t>(v);
      RecalcLaneResolution(d, lane, lane, 0, 0);
    }
    w->ObjDraw();
    g_PlayObj = -1;
    return w;
  }
  void ExpectPreviewError() {
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "再生できません", .title = "エラー"});
  }
  // Moves with no button held over both objects' lanes, then a click on an empty cell.
  void MoveAndClickElsewhere(Form1* w) {
    Move(w, At(w, 1, 0, 0), Qt::NoButton);
    Move(w, At(w, 2, 0, 0), Qt::NoButton);
    Mode(true);
    Press(w, At(w, 5, 1, 2));
    Release(w, At(w, 5, 1, 2));
  }
  static std::vector<SelEntry> Objects(Form1* w) { return GridObjects(w->Doc()); }
  static std::vector<SelEntry> GridObjects(const DocData& d) {
    std::vector<SelEntry> out;
    for (int l = 0; l <= d.LaneCount; ++l)
      for (size_t m = 0; m < d.Obj[l].Mes.size(); ++m)
        for (const CellLayer::Entry& e : d.Obj[l].Mes[m].Obj.Entries())
          out.push_back({static_cast<int16_t>(l), static_cast<int16_t>(m), e.Tick, e.Value, 0});
    return out;
  }
  // unmarked: the gesture's press left no modified mark behind (an erase drag's press does).
  void ExpectUndoGivesBack(Form1* w, const std::vector<SelEntry>& before, bool unmarked = true) {
    Frame().Menu_Edit_Undo_Click();
    EXPECT_EQ(Objects(w), before);
    EXPECT_EQ(w->Doc().SelCount, 0);
    if (!unmarked) return;
    EXPECT_EQ(w->Doc().Dirty, 0);
    EXPECT_FALSE(w->windowTitle().contains('*'));
  }
};

TEST_F(CanvasBoxTest, ThePreviewsErrorWaitsForTheRelease) {
  Form1* w = Chart();
  const std::vector<SelEntry> before = Objects(w);
  Mode(true);
  Press(w, At(w, 3, 0, 0));
  EXPECT_EQ(desk_.CountOf(testsupport::CallKind::MessageBox), 0u);
  ExpectPreviewError();
  Release(w, At(w, 3, 0, 0));
  desk_.Verify();
  MoveAndClickElsewhere(w);
  EXPECT_EQ(Objects(w), before);
  ExpectUndoGivesBack(w, before);
}

TEST_F(CanvasBoxTest, AReleaseThatNeverComesEndsTheDragWhereItWas) {
  for (const bool deactivated : {false, true}) {
    SCOPED_TRACE(deactivated ? "the window lost its activation" : "a move with no button held");
    Form1* w = Chart();
    const std::vector<SelEntry> before = Objects(w);
    Mode(true);
    Press(w, At(w, 3, 0, 0));
    ExpectPreviewError();  // shown once the press is over
    if (deactivated) {
      QEvent e(QEvent::WindowDeactivate);
      QApplication::sendEvent(w->Picture1(), &e);
      desk_.Verify();
      Move(w, At(w, 1, 0, 0));  // even with the button down again
    }
    MoveAndClickElsewhere(w);
    desk_.Verify();
    EXPECT_EQ(Objects(w), before);
    ExpectUndoGivesBack(w, before);
    w->CloseWithoutQuestion();
    Pump();
  }
}

TEST_F(CanvasBoxTest, TheChartMenuTakesTheReleaseOfADrag) {
  Form1* w = Chart();
  g_PlayObj = 0;
  const std::vector<SelEntry> before = Objects(w);
  Mode(true);
  Press(w, At(w, 3, 0, 0));
  // The menu's measure-length command, answered Cancel, while the menu is open.
  desk_.ExpectInputBox(std::nullopt, {.title = "小節の短縮化"});
  QTimer::singleShot(0, [this] {
    Frame().Menu("EditM_MesChange")->trigger();
    if (QWidget* m = QApplication::activePopupWidget()) m->close();
  });
  Send(w->Picture1(), QEvent::MouseButtonPress, At(w, 4, 0, 0), Qt::RightButton);
  desk_.Verify();
  MoveAndClickElsewhere(w);
  EXPECT_EQ(Objects(w), before);
  ExpectUndoGivesBack(w, before);
}

TEST_F(CanvasBoxTest, TheTempoBoxEndsAnEraseDrag) {
  Form1* w = Chart();
  const std::vector<SelEntry> before = Objects(w);
  Mode(false);
  Press(w, At(w, 2, 0, 0), Qt::RightButton);
  desk_.ExpectInputBox("150", {.title = "BPMの入力"});
  Press(w, At(w, 0, 1, 0));
  Release(w, At(w, 0, 1, 0));
  desk_.Verify();
  EXPECT_EQ(FrontAt(w, 0, 1, 0), 150);
  MoveAndClickElsewhere(w);  // the right release is lost
  std::vector<SelEntry> after = before;
  after.insert(after.begin(), SelEntry{0, 1, 0, 150, 0});
  EXPECT_EQ(Objects(w), after);
  ExpectUndoGivesBack(w, before, false);
}

}  // namespace
