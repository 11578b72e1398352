// The chart window inside the frame: layout, caption, close questions, the reset and the
// publishing of the current chart, the filling guard, and the mends around closed windows.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <set>
#include <vector>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/canvasdraw.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "chartview/icons.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

TEST_F(FrameTest, LayoutFollowsTheToolbarSwitchAndKeepsTheMinimumSize) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  w->resize(600, 460);
  Pump();
  const int sw = w->Client()->width(), sh = w->Client()->height();
  Form1Layout l = ComputeForm1Layout(24, sw, sh);
  EXPECT_EQ(w->Picture1()->geometry(), QRect(0, l.canvasTop, l.canvasWidth, l.canvasHeight));
  EXPECT_EQ(w->Frame1()->geometry(), QRect(0, 24, l.canvasWidth, 25));
  EXPECT_EQ(w->VScroll1()->geometry(), QRect(l.vscrollLeft, 41, 17, l.vscrollHeight));
  EXPECT_EQ(w->Command2()->pos(), QPoint(l.vscrollLeft, l.command2Top));
  EXPECT_EQ(w->Check1()->pos(), QPoint(l.vscrollLeft, l.hscrollTop));
  EXPECT_EQ(w->HScroll1()->geometry(), QRect(0, l.hscrollTop, l.canvasWidth, 17));
  EXPECT_EQ(w->Canvas().Width(), l.canvasWidth);

  w->Check1()->click();  // toolbar off: strip and "+" at the top, canvas 25 lower
  EXPECT_FALSE(w->Toolbar1()->isVisibleTo(w->Client()));
  EXPECT_EQ(w->Frame1()->y(), 0);
  EXPECT_EQ(w->Command1()->y(), 0);
  EXPECT_EQ(w->Picture1()->y(), 25);
  EXPECT_EQ(w->Picture1()->height(), sh - 17 - 25);
  w->Check1()->click();
  EXPECT_EQ(w->Picture1()->y(), 49);
  EXPECT_EQ(w->Command1()->y(), 24);

  w->resize(40, 40);
  Pump();
  EXPECT_GE(w->width(), kForm1MinOuterWidth);
  EXPECT_GE(w->height(), Form1MinOuterHeight(24));
}

TEST_F(FrameTest, AChartReadIntoAWindowIsDrawn) {
  ASSERT_TRUE(Start({Sample("dual_sample.scd")}));
  Form1* w = WinAt(1);
  plat::Canvas expected;
  ObjDraw(g_Docs[1], w->View(), w->Sheets(), expected, nullptr, false);
  EXPECT_TRUE(expected.Image().Image() == w->Canvas().Image().Image());
  DocData empty = g_Docs[1];
  for (LaneMes& lane : empty.Obj)
    for (size_t m = 0; m < lane.Mes.size(); ++m) lane.Mes.Clear(m);
  plat::Canvas blank;
  ObjDraw(empty, w->View(), w->Sheets(), blank, nullptr, false);
  EXPECT_FALSE(blank.Image().Image() == w->Canvas().Image().Image());  // the objects are on it
}

TEST_F(FrameTest, CaptionShowsNameModifiedMarkAndScript) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  const std::string title = ScriptTitle(g_DefaultScript);
  EXPECT_EQ(w->windowTitle().toStdString(), "新規 - " + title);
  Frame().SetDirty();
  EXPECT_EQ(w->windowTitle().toStdString(), "新規* - " + title);
  Form1* s = Open(Sample("simple_sample.s4k"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->windowTitle().toStdString(), "simple_sample.s4k - Simple Four");
  g_Docs[s->WinNo()].Dirty = -1;
  s->CheckDirty();
  EXPECT_EQ(s->windowTitle().toStdString(), "simple_sample.s4k* - Simple Four");
}

TEST_F(FrameTest, UndoThroughTheMenuFollowsTheActiveWindow) {
  ASSERT_TRUE(Start({Sample("dual_sample.scd")}));
  Form1* a = WinAt(1);
  QAction* undo = Frame().Menu("Menu_Edit_Undo");
  ASSERT_NE(undo, nullptr);
  EXPECT_FALSE(undo->isEnabled());
  const std::string clean = a->windowTitle().toStdString();
  const int maximum = a->VScroll1()->maximum();

  // An edit that also grows the chart, then Undo from the menu.
  a->ObjBackup();
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_NE(a->windowTitle().toStdString(), clean);  // "*"
  DocData& d = g_Docs[1];
  const int16_t count = d.MesCount;
  d.Sel = {{}, {1, static_cast<int16_t>(count + 3), 0, 5, 0}};
  d.SelCount = 1;
  a->ObjDeSel();
  EXPECT_EQ(d.MesCount, count + 3);
  EXPECT_GT(a->VScroll1()->maximum(), maximum);
  undo->trigger();
  EXPECT_EQ(d.MesCount, count);
  EXPECT_EQ(a->VScroll1()->maximum(), maximum);
  EXPECT_EQ(a->windowTitle().toStdString(), clean);
  EXPECT_FALSE(undo->isEnabled());

  // Another window: the item follows the active window's own state.
  a->ObjBackup();
  Form1* b = Open(Sample("simple_sample.s4k"));
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(undo->isEnabled());
  a->Form_Activate();
  EXPECT_TRUE(undo->isEnabled());

  // A snapshot handed back when it was the first: nothing left to undo, "*" stays.
  b->Form_Activate();
  b->ObjBackup();
  b->DropLastBackup();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_NE(b->windowTitle().toStdString().find("*"), std::string::npos);
}

TEST_F(FrameTest, CloseQuestions) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  // Modified and untitled: Cancel keeps the window, Yes with a cancelled save dialog too.
  g_Docs[1].Dirty = -1;
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, {.text = "ファイル [新規] は変更されています\r\n保存しますか？",
                                                   .title = "確認",
                                                   .buttons = plat::MsgButtons::YesNoCancel,
                                                   .icon = plat::MsgIcon::None});
  EXPECT_FALSE(w->close());
  EXPECT_EQ(WinAt(1), w);
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes);
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.filter = ScriptTitle(g_DefaultScript) + "|*.nxl", .filterIndex = 1});
  desk_.ClearCalls();
  EXPECT_FALSE(w->close());
  EXPECT_EQ(WinAt(1), w);
  EXPECT_EQ(g_SaveCancel, 0);
  EXPECT_EQ(g_Docs[1].Dirty, -1);
  desk_.Verify();
  // Yes and a completed save: written, then closed.
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes);
  desk_.ExpectSaveFile(testsupport::Chosen(Install() + "saved.nxl"));
  EXPECT_TRUE(w->close());
  Pump();
  EXPECT_TRUE(dir_.Exists("saved.nxl"));
  EXPECT_EQ(g_OpenCount, 0);
  EXPECT_EQ(g_SlotUsed[0], 0);
  // A clean chart closes without a question.
  Form1* c = Open(Sample("simple_sample.s4k"));
  desk_.ClearCalls();
  EXPECT_TRUE(c->close());
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
}

// New windows open cascaded, each one title bar right of and below the one opened before it,
// at the window's own size where the chart area has room; the run starts again at the corner
// once it reaches the area's top third.
TEST_F(FrameTest, NewWindowsOpenCascadedAtTheirOwnSize) {
  ASSERT_TRUE(Start());
  Frame().resize(1600, 1200);
  Pump();
  Form1* first = WinAt(1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->pos(), QPoint(0, 0));
  std::vector<QPoint> at{first->pos()};
  for (int i = 0; i < 20; ++i) {
    Frame().Menu_File_New_N_Click(g_DefaultScript);
    Pump();
    Form1* w = WinAt(g_CurWin);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->widget()->size(), QSize(736, 520)) << i;  // the window's own client size
    at.push_back(w->pos());
  }
  const int step = at[1].y();
  EXPECT_GT(step, 10);
  const int area = Frame().MdiArea()->viewport()->height();
  for (size_t i = 1; i < at.size(); ++i) {
    SCOPED_TRACE(i);
    if (at[i] == QPoint(0, 0)) {
      EXPECT_GT(at[i - 1].y() + step, area / 3);  // back at the corner past the top third
      continue;
    }
    EXPECT_EQ(at[i], at[i - 1] + QPoint(step, step));
  }
  EXPECT_NE(std::find(at.begin() + 1, at.end(), QPoint(0, 0)), at.end());  // the run started again

  // In a small area a window gives up what would lie outside it.
  Frame().resize(680, 564);
  Pump();
  Frame().Menu_File_New_N_Click(g_DefaultScript);
  Pump();
  Form1* w = WinAt(g_CurWin);
  const QSize room = Frame().MdiArea()->viewport()->size();
  EXPECT_LE(w->x() + w->width(), room.width());
  EXPECT_LE(w->y() + w->height(), room.height());
}

// The chart windows and the frame show the program's own icons, drawn at 16 and 32 pixels.
TEST_F(FrameTest, WindowsShowTheProgramsOwnIcons) {
  ASSERT_TRUE(Start());
  const QIcon chart = WinAt(1)->windowIcon(), app = Frame().windowIcon();
  EXPECT_EQ(chart.cacheKey(), ChartWindowIcon().cacheKey());
  EXPECT_EQ(app.cacheKey(), ApplicationIcon().cacheKey());
  for (const QIcon& icon : {chart, app})
    for (int size : {16, 32}) {
      const QImage img = icon.pixmap(size, size).toImage();
      ASSERT_EQ(img.size(), QSize(size, size));
      std::set<QRgb> colours;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) colours.insert(img.pixel(x, y));
      EXPECT_GE(colours.size(), 5u) << size;  // a picture, not a blank square
    }
  const QImage a = chart.pixmap(32, 32).toImage(), b = app.pixmap(32, 32).toImage();
  EXPECT_NE(a.convertToFormat(QImage::Format_ARGB32), b.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(FrameTest, AfterTheLastWindowClosesTheFrameShowsNoChart) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  ASSERT_TRUE(Frame().Field(HeaderText::Text1)->isEnabled());
  WinAt(1)->close();
  Pump();
  FormP& f = Frame();
  EXPECT_EQ(f.Label10()->text().toStdString(), "最大小節数： 0");
  EXPECT_FALSE(f.Label10()->isEnabled());
  EXPECT_EQ(f.Panel("Level1")->text().toStdString(), "難度1：-");
  EXPECT_EQ(f.LevelLabel(2)->text().toStdString(), "難度2：");
  EXPECT_EQ(f.Tab1()->tabText(1).toStdString(), "----");
  EXPECT_EQ(f.FileButton(3)->text().toStdString(), "None");
  EXPECT_FALSE(f.FileButton(4)->isEnabled());
  EXPECT_TRUE(f.Field(HeaderText::Text1)->text().isEmpty());
  EXPECT_FALSE(f.Field(HeaderText::Text1)->isEnabled());
  EXPECT_FALSE(f.Text6()->isEnabled());
  EXPECT_EQ(f.List(DefList::Grid1)->topLevelItemCount(), 0);
  EXPECT_FALSE(f.Slider1(0)->isEnabled());
  EXPECT_FALSE(f.Menu("Menu_File_Close")->isEnabled());
  EXPECT_FALSE(f.Menu("Menu_Edit_SelectAll")->isEnabled());
  EXPECT_TRUE(f.Tool("TB1_Save")->Mixed());
  EXPECT_FALSE(f.Tool("TB1_Save")->isEnabled());
  EXPECT_TRUE(f.Tool("TB1_Find")->property("mixed").toBool());
  EXPECT_TRUE(f.DefToolButton(DefTool::TB2_Play)->Mixed());
  EXPECT_FALSE(f.Toolbar2()->isEnabled());
}

TEST_F(FrameTest, ActivatingAWindowPublishesItsChart) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  Form1* n = WinAt(1);
  Form1* s = WinAt(2);
  FormP& f = Frame();
  Activate(s);
  EXPECT_EQ(g_CurWin, 2);
  EXPECT_EQ(f.List(DefList::Grid1)->topLevelItemCount(), 255);
  EXPECT_EQ(f.List(DefList::Grid2)->topLevelItemCount(), 256);
  EXPECT_FALSE(f.Field(HeaderText::Text2)->isEnabled());
  EXPECT_FALSE(f.Slider1(0)->isEnabled());
  EXPECT_EQ(f.LevelLabel(1)->text().toStdString(), "難度1：");
  EXPECT_FALSE(f.Panel("Level1")->isEnabled());
  EXPECT_FALSE(f.FileButton(3)->isEnabled());
  Activate(n);
  EXPECT_EQ(g_CurWin, 1);
  const DocData& d = g_Docs[1];
  EXPECT_EQ(f.List(DefList::Grid1)->topLevelItemCount(), 1295);
  EXPECT_EQ(f.List(DefList::Grid1)->topLevelItem(0)->text(1).toStdString(), d.Wav[1].File);
  EXPECT_EQ(f.Field(HeaderText::Text1)->text().toStdString(), d.Title);
  EXPECT_TRUE(f.Field(HeaderText::Text2)->isEnabled());
  EXPECT_TRUE(f.Slider1(0)->isEnabled());
  EXPECT_EQ(f.Slider1(0)->value(), d.Level[0]);
  EXPECT_EQ(f.LevelLabel(1)->text().toStdString(), d.Fmt.Lvn[0] + "：");
  EXPECT_EQ(f.Panel("Level1")->text().toStdString(), d.Fmt.Lvn[0] + "：" + std::to_string(d.Level[0]));
  EXPECT_EQ(f.FileButton(3)->text().toStdString(), d.Wall.empty() ? "None" : d.Wall);
  EXPECT_EQ(f.Tab1()->tabText(1).toStdString(), "BGA");
  EXPECT_EQ(f.Label10()->text().toStdString(), "最大小節数： " + std::to_string(d.MesCount));
  EXPECT_TRUE(f.Menu("Menu_Help_Info")->isEnabled());
  EXPECT_FALSE(f.Menu("Menu_Play_PlayAll")->isEnabled());  // the script's player is not installed
}

TEST_F(FrameTest, FillingTheFieldsDoesNotMarkTheChartModifiedButTheUsersEditsDo) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  Activate(w);
  w->SetThisWin();
  EXPECT_EQ(g_Docs[1].Dirty, 0);
  EXPECT_EQ(g_Filling, 0);
  Frame().Field(HeaderText::Text1)->setText(QStringLiteral("新しい題"));
  EXPECT_EQ(g_Docs[1].Title, "新しい題");
  EXPECT_EQ(g_Docs[1].Dirty, -1);
  EXPECT_EQ(w->windowTitle().toStdString().substr(0, 17), "nexal_sample.nxl*");
  Frame().Field(HeaderText::Text3)->setText(QStringLiteral("150.5"));
  EXPECT_EQ(g_Docs[1].Bpm, 150.5);
  Frame().Slider1(1)->setValue(2);
  EXPECT_EQ(g_Docs[1].Level[1], 2);
  EXPECT_EQ(Frame().Panel("Level2")->text().toStdString(), g_Docs[1].Fmt.Lvn[1] + "：2");
}

TEST_F(FrameTest, TheResetLeavesTheSharedHelpTextOfTheScript) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  const int16_t script = g_Docs[1].ScriptNo;
  Frame().Menu_File_New_N_Click(script);
  Pump();
  ASSERT_EQ(g_OpenCount, 2);
  ASSERT_FALSE(g_ScriptTable[script].Info.empty());
  WinAt(2)->close();
  Pump();
  EXPECT_FALSE(g_ScriptTable[script].Info.empty());
  EXPECT_TRUE(Frame().Menu("Menu_Help_Info")->isEnabled());
}

TEST_F(FrameTest, ClosingAnotherWindowLeavesTheCurrentChartPublished) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  Activate(WinAt(2));
  ASSERT_EQ(g_CurWin, 2);
  WinAt(1)->close();
  Pump();
  EXPECT_EQ(g_CurWin, 2);
  EXPECT_EQ(Frame().List(DefList::Grid1)->topLevelItemCount(), 255);
  EXPECT_TRUE(Frame().Label10()->isEnabled());
  EXPECT_TRUE(Frame().Menu("Menu_File_Close")->isEnabled());
  EXPECT_EQ(Frame().Field(HeaderText::Text1)->text().toStdString(), g_Docs[2].Title);
}

TEST_F(FrameTest, CallsOnAClosedWindowNumberReachNothing) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  Activate(WinAt(2));
  WinAt(1)->close();
  Pump();
  EXPECT_EQ(WinAt(1), nullptr);
  Frame().SetThisWin(1);
  Frame().MesChange(1, 5);
  Frame().ObjDeSel(1);
  Frame().SetCaption(1, "x");
  EXPECT_EQ(g_CurWin, 2);
  EXPECT_EQ(g_Docs[1].MesCount, 0);
  // A drop aimed at the closed window opens like a drop on the frame: no drop question.
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("tapline_sample.tpl"), 1), 1);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  EXPECT_EQ(g_OpenCount, 2);
}

TEST_F(FrameTest, ThePictureDumpReportsSuccessOnlyWhenBothFilesWereWritten) {
  ASSERT_TRUE(Start());
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.text = "メモリ内ピクチャの書き出しに成功しました", .title = "デバッグ"});
  EXPECT_TRUE(WinAt(1)->DumpSheets());
  EXPECT_TRUE(dir_.Exists("Debug.bmp"));
  EXPECT_TRUE(dir_.Exists("Debug2.bmp"));
  const std::string keep = g_InstallDir;
  g_InstallDir = Install() + "missing/folder/";
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "失敗", .title = "デバッグ"});
  EXPECT_FALSE(WinAt(1)->DumpSheets());
  g_InstallDir = keep;
}

}  // namespace

namespace {

TEST_F(FrameTest, TheSplitterSetsThePaletteWidthWithinItsLimits) {
  ASSERT_TRUE(Start());
  Frame().resize(1000, 700);
  Pump();
  QWidget* bar = Frame().Palette()->findChild<QWidget*>("ResizeBar");
  ASSERT_NE(bar, nullptr);
  auto mouse = [&](QEvent::Type t, int x) {
    QMouseEvent e(t, QPointF(x, 5), bar->mapToGlobal(QPointF(x, 5)), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &e);
  };
  const int p = Frame().Palette()->width();
  mouse(QEvent::MouseMove, -50);  // not held: nothing
  EXPECT_EQ(Frame().Palette()->width(), p);
  mouse(QEvent::MouseButtonPress, 0);
  mouse(QEvent::MouseMove, -1);
  EXPECT_EQ(Frame().Palette()->width(), p);
  mouse(QEvent::MouseMove, -2);  // away from the right edge: wider
  EXPECT_EQ(Frame().Palette()->width(), p + 2);
  mouse(QEvent::MouseMove, 900);
  EXPECT_EQ(Frame().Palette()->width(), 140);
  mouse(QEvent::MouseMove, -2000);
  EXPECT_EQ(Frame().Palette()->width(), Frame().width() / 2);
  mouse(QEvent::MouseButtonRelease, 0);
}

}  // namespace
