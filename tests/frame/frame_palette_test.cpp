// The edit palette in the frame: the side button, undocking by the title drag, the floating
// tool window and docking again on the stream timer's ticks.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include "chartfmt/globals.h"
#include "chartview/formglobals.h"
#include "chartview/picturebox.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace {

class PaletteTest : public FrameTest {
 protected:
  QWidget* Child(const char* name) { return Frame().Palette()->findChild<QWidget*>(name); }
  QPushButton* SideButton() { return Frame().Palette()->findChild<QPushButton*>("Command1"); }
  void Mouse(QWidget* w, QEvent::Type t, double x) {
    const QPointF at(x, 5);
    QMouseEvent e(t, at, w->mapToGlobal(at), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  // Presses the title at x = 100 and drags it to x.
  void DragTitle(double x) {
    QWidget* title = Child("Label1");
    Mouse(title, QEvent::MouseButtonPress, 100);
    Mouse(title, QEvent::MouseMove, x);
    Mouse(title, QEvent::MouseButtonRelease, x);
    Pump();
  }
  bool InFrame() { return Frame().Palette()->window() == &Frame(); }
  // Starts the frame with its stream timer stopped, so that only the test's own ticks dock.
  bool StartStill() {
    if (!Start()) return false;
    Frame().Timer1()->stop();
    return true;
  }
  // Runs events for ms milliseconds, or until done() holds.
  static void Wait(
      int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms && !done()) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
};

TEST_F(PaletteTest, TheSideButtonMovesThePaletteBetweenTheEdges) {
  ASSERT_TRUE(StartStill());
  Frame().resize(1000, 700);
  Pump();
  QWidget* p = Frame().Palette();
  EXPECT_EQ(Frame().PaletteDockSide(), PaletteSide::Right);
  EXPECT_EQ(p->x() + p->width(), Frame().centralWidget()->width());
  EXPECT_EQ(SideButton()->text(), QStringLiteral("◀"));
  EXPECT_EQ(SideButton()->toolTip(), QStringLiteral("左へ移動"));
  EXPECT_EQ(Child("ResizeBar")->x(), 0);
  SideButton()->click();
  Pump();
  EXPECT_EQ(Frame().PaletteDockSide(), PaletteSide::Left);
  EXPECT_EQ(p->x(), 0);
  EXPECT_EQ(SideButton()->text(), QStringLiteral("▶"));
  EXPECT_EQ(SideButton()->toolTip(), QStringLiteral("右へ移動"));
  EXPECT_EQ(Child("ResizeBar")->x(), p->width() - 2);
  EXPECT_TRUE(WinAt(g_CurWin)->Picture1()->hasFocus() || !QApplication::focusWidget());

  // Docked left, the splitter widens the palette when dragged to the right.
  const int w = p->width();
  Mouse(Child("ResizeBar"), QEvent::MouseButtonPress, 0);
  Mouse(Child("ResizeBar"), QEvent::MouseMove, 2);
  Mouse(Child("ResizeBar"), QEvent::MouseButtonRelease, 2);
  EXPECT_EQ(p->width(), w + 2);
  Pump();
  EXPECT_EQ(Child("ResizeBar")->x(), p->width() - 2);
  SideButton()->click();
  EXPECT_EQ(SideButton()->text(), QStringLiteral("◀"));
  EXPECT_EQ(Child("ResizeBar")->x(), 0);
}

TEST_F(PaletteTest, ATitleDragUndocksThePaletteIntoTheToolWindow) {
  ASSERT_TRUE(StartStill());
  Frame().resize(1000, 700);
  Pump();
  const int width = Frame().Palette()->width();
  DragTitle(400);  // toward the right edge: nothing at any distance
  DragTitle(76);   // 24 pixels: nothing
  EXPECT_FALSE(Frame().ToolFloat());
  EXPECT_EQ(Frame().FormTool(), nullptr);
  DragTitle(75);
  ASSERT_TRUE(Frame().ToolFloat());
  QWidget* tool = Frame().FormTool();
  ASSERT_NE(tool, nullptr);
  EXPECT_TRUE(tool->isVisible());
  EXPECT_TRUE(tool->isWindow());
  EXPECT_EQ(tool->windowTitle(), QStringLiteral("編集ﾂｰﾙﾊﾞｰ"));
  EXPECT_EQ(Frame().Palette()->parentWidget(), tool);
  EXPECT_EQ(tool->width(), width);
  EXPECT_EQ(Frame().Palette()->geometry(), QRect(QPoint(0, 0), tool->size()));
  EXPECT_EQ(tool->y(), 0);
  for (const char* name : {"Label1", "Command1", "Command2", "ResizeBar"})
    EXPECT_FALSE(Child(name)->isVisible()) << name;
  EXPECT_EQ(Frame().Tab1()->y(), 1 + 232 + 2);
  // The chart area takes over the palette's strip.
  EXPECT_EQ(Frame().MdiArea()->width(), Frame().centralWidget()->width());
  Frame().Menu("Menu_View_DefFrame")->trigger();
  EXPECT_EQ(Frame().Tab1()->y(), 3);

  // The tool window stays between 140 pixels and half the frame wide; the palette fills it.
  tool->resize(100, tool->height());
  Pump();
  EXPECT_EQ(tool->width(), 140);
  EXPECT_EQ(Frame().Palette()->width(), 140);
  tool->resize(900, tool->height());
  Pump();
  EXPECT_EQ(tool->width(), 500);
  EXPECT_EQ(Frame().Palette()->width(), 500);
}

TEST_F(PaletteTest, ClosingTheToolWindowHidesThePaletteWhichShowsAgainStillFloating) {
  ASSERT_TRUE(StartStill());
  Frame().resize(1000, 700);
  Pump();
  DragTitle(20);
  ASSERT_TRUE(Frame().ToolFloat());
  QWidget* tool = Frame().FormTool();
  EXPECT_FALSE(tool->close());
  Pump();
  EXPECT_FALSE(tool->isVisible());
  EXPECT_FALSE(Frame().Palette()->isVisibleTo(tool));
  EXPECT_FALSE(Frame().Menu("Menu_View_EditTool")->isChecked());
  EXPECT_TRUE(Frame().ToolFloat());
  Frame().Menu("Menu_View_EditTool")->trigger();
  Pump();
  EXPECT_EQ(Frame().FormTool(), tool);
  EXPECT_TRUE(tool->isVisible());
  EXPECT_TRUE(Frame().Palette()->isVisible());
  EXPECT_TRUE(Frame().ToolFloat());
  // The View item hides both again, the close button being out of reach while floating.
  Frame().Menu("Menu_View_EditTool")->trigger();
  EXPECT_FALSE(tool->isVisible());
  EXPECT_TRUE(Frame().ToolFloat());
}

TEST_F(PaletteTest, ATickDocksThePaletteAtTheEdgeItsToolWindowWasLeftBeyond) {
  ASSERT_TRUE(StartStill());
  Frame().resize(1000, 700);
  Pump();
  DragTitle(20);  // from the right edge
  ASSERT_TRUE(Frame().ToolFloat());
  QPointer<QWidget> tool = Frame().FormTool();
  const int w = tool->frameGeometry().width();
  tool->move(300, 0);
  Frame().Timer1_Timer();
  EXPECT_TRUE(Frame().ToolFloat()) << "well inside: it keeps floating";
  tool->move(-(w / 2) - 1, 0);
  ASSERT_EQ(tool->frameGeometry().x(), -(w / 2) - 1);
  Frame().Timer1_Timer();
  Pump();
  EXPECT_FALSE(Frame().ToolFloat());
  EXPECT_EQ(tool, nullptr) << "the tool window goes at every docking";
  EXPECT_EQ(Frame().PaletteDockSide(), PaletteSide::Left);
  EXPECT_TRUE(InFrame());
  EXPECT_EQ(Frame().Palette()->x(), 0);
  EXPECT_EQ(SideButton()->text(), QStringLiteral("▶"));
  EXPECT_EQ(SideButton()->toolTip(), QStringLiteral("右へ移動"));
  EXPECT_EQ(Child("ResizeBar")->x(), Frame().Palette()->width() - 2);
  for (const char* name : {"Label1", "Command1", "Command2", "ResizeBar"})
    EXPECT_TRUE(Child(name)->isVisible()) << name;
  EXPECT_EQ(Child("Label1")->height(), 17);
  EXPECT_EQ(Frame().Tab1()->y(), 17 + 232 + 2);

  // Undocked from the left by a drag to the right, left beyond the right edge: docked right.
  DragTitle(126);
  ASSERT_TRUE(Frame().ToolFloat());
  tool = Frame().FormTool();
  tool->move(Frame().width() - tool->frameGeometry().width() / 2 + 1, 0);
  Frame().Timer1_Timer();
  Pump();
  EXPECT_FALSE(Frame().ToolFloat());
  EXPECT_EQ(Frame().PaletteDockSide(), PaletteSide::Right);
  EXPECT_EQ(SideButton()->text(), QStringLiteral("◀"));
  EXPECT_EQ(Child("ResizeBar")->x(), 0);
  EXPECT_EQ(Frame().Palette()->x() + Frame().Palette()->width(), Frame().centralWidget()->width());
}

TEST_F(PaletteTest, TheRunningStreamTimerDocksThePaletteAndWithoutStreamingItNeverDocks) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame().Timer1()->isActive());
  DragTitle(20);
  ASSERT_TRUE(Frame().ToolFloat());
  Frame().FormTool()->move(-5000, 0);
  Wait(3000, [&] { return !Frame().ToolFloat(); });
  EXPECT_FALSE(Frame().ToolFloat());
  EXPECT_EQ(Frame().PaletteDockSide(), PaletteSide::Left);
  frame_.reset();
  Pump();

  dir_.Write("Mirkan.ini", "[Default]\r\nStreaming=False\r\n");
  ResetWindowTable();
  g_Wins.clear();
  ResetSettings();
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Frame().Timer1()->isActive());
  DragTitle(20);
  ASSERT_TRUE(Frame().ToolFloat());
  Frame().FormTool()->move(-5000, 0);
  Wait(400);
  EXPECT_TRUE(Frame().ToolFloat());
}

TEST_F(PaletteTest, TheProgramEndsWithTheToolWindowOpen) {
  ASSERT_TRUE(StartStill());
  DragTitle(20);
  ASSERT_TRUE(Frame().ToolFloat());
  QPointer<QWidget> tool = Frame().FormTool();
  Frame().close();
  EXPECT_TRUE(quit_);
  EXPECT_FALSE(tool && tool->isVisible());
}

}  // namespace
