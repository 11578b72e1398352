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

}  // namespace
