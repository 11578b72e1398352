// The chart window's "-" button on the shipped Tapline sample: a cut of empty measures goes on
// silently, a cut of a measure that holds objects or a length asks first; Cancel keeps it, OK
// cuts it as one undo step and marks the chart, and the save writes what the window holds. A
// floating entry past the last measure stays within the scroll bar's reach.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include "chartfmt/chartwrite.h"
#include "chartfmt/globals.h"
#include "chartview/form1_calc.h"
#include "editing/mescount.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace {

void ReleaseOn(QWidget* b, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const QPointF at(3, 3);
  QMouseEvent up(QEvent::MouseButtonRelease, at, b->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, mods);
  QApplication::sendEvent(b, &up);
}

bool HasMarker(Form1* w) { return w->windowTitle().contains('*'); }

TEST_F(FrameTest, MinusAsksBeforeItCutsAMeasureThatHoldsSomething) {
  const std::string path = Sample("tapline_sample.tpl");
  ASSERT_TRUE(Start({path}));
  Form1* w = WinAt(g_CurWin);
  ASSERT_NE(w, nullptr);
  DocData& d = w->Doc();
  ASSERT_EQ(d.MesCount, 10);
  ASSERT_EQ(d.Obj[0].Mes[2].Length, 1.5);
  const std::string file = testsupport::ReadAll(path);

  ReleaseOn(w->Command2(), Qt::ShiftModifier);  // measures 3 to 10 are empty: no question
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_FALSE(HasMarker(w));
  desk_.Verify();
  const std::vector<LaneMes> grid = d.Obj;

  const plat::MsgAnswer answers[] = {plat::MsgAnswer::Cancel, plat::MsgAnswer::Ok};
  for (plat::MsgAnswer a : answers)
    desk_.ExpectMessageBox(a, {.text = kMesCountCutQuestion,
                               .title = "確認",
                               .buttons = plat::MsgButtons::OkCancel,
                               .icon = plat::MsgIcon::None});
  ReleaseOn(w->Command2());  // Cancel keeps every measure as it is
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_EQ(d.Obj, grid);
  EXPECT_FALSE(HasMarker(w));
  ReleaseOn(w->Command2());  // OK cuts measure 2, with its objects and its length
  desk_.Verify();
  EXPECT_EQ(d.MesCount, 1);
  EXPECT_TRUE(HasMarker(w));
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(1));
  EXPECT_EQ(Frame().Label10()->text().toStdString(), "最大小節数： 1");

  Frame().Menu_Edit_Undo_Click();  // the cut comes back whole, and so does the file's state
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_EQ(d.Obj[0].Mes[2].Length, 1.5);
  for (int l = 0; l <= d.LaneCount; ++l) EXPECT_EQ(d.Obj[l].Mes[2], grid[l].Mes[2]) << "lane " << l;
  EXPECT_FALSE(HasMarker(w));
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(2));

  // Confirmed again, then saved: the file is what the window holds, and the close asks nothing.
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = kMesCountCutQuestion});
  ReleaseOn(w->Command2());
  Frame().QuerySaveAs();
  desk_.Verify();
  EXPECT_FALSE(HasMarker(w));
  const std::string written = testsupport::ReadAll(path);
  EXPECT_NE(written, file);
  EXPECT_EQ(written, ChartBytes(d, 0));
  EXPECT_EQ(written.find("#00022A"), std::string::npos);
  EXPECT_EQ(written.find("#0002LL"), std::string::npos);
  EXPECT_NE(written.find("#00001A"), std::string::npos);
}

// The measure-count dialog's confirmed cut is the same undo step.
TEST_F(FrameTest, TheCountDialogsCutIsUndoneLikeTheButtons) {
  ASSERT_TRUE(Start({Sample("tapline_sample.tpl")}));
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  desk_.ExpectInputBox(std::string("1"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = kMesCountCutQuestion, .title = "確認"});
  Frame().Label10_DblClick();
  EXPECT_EQ(d.MesCount, 1);
  EXPECT_TRUE(HasMarker(w));
  Frame().Menu_Edit_Undo_Click();
  EXPECT_EQ(d.MesCount, 10);
  EXPECT_EQ(d.Obj[0].Mes[2].Length, 1.5);
  EXPECT_FALSE(HasMarker(w));
  desk_.ExpectInputBox(std::string("12"));  // growing asks nothing and is no undo step
  Frame().Label10_DblClick();
  EXPECT_EQ(d.MesCount, 12);
  EXPECT_TRUE(HasMarker(w));
  EXPECT_EQ(d.UndoOn, 0);
}

TEST_F(FrameTest, AFloatingEntryPastTheEndStaysInTheScrollBarsReach) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  ASSERT_EQ(d.MesCount, 10);
  ASSERT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(10));
  const int distance = w->VScroll1()->maximum() - w->VScroll1()->value();
  d.Sel.assign(2, SelEntry{});
  d.Sel[1] = SelEntry{1, 14, 0, 1, 0};
  d.SelCount = 1;
  w->ObjDraw();
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(14));
  EXPECT_EQ(w->VScroll1()->maximum() - w->VScroll1()->value(), distance);  // the view stays put
  d.Sel[1].Mes = 3;                                                        // dragged back within the chart
  w->ObjDraw();
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(10));
  d.Sel[1].Mes = 30000;  // no further than a 16-bit scroll range holds
  w->ObjDraw();
  EXPECT_LE(w->VScroll1()->maximum(), INT16_MAX);
  EXPECT_GT(w->VScroll1()->maximum(), VScrollMaxFor(600));
  d.SelCount = 0;
  w->ObjDraw();
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(10));
}

// An entry left past the measure limit: the save refuses with where it lies, the file stays as
// it was, and the entry is within the scroll bar's reach until it is dragged back.
TEST_F(FrameTest, TheSavesRefusalSaysWhereTheEntriesFloat) {
  const std::string path = Sample("tapline_sample.tpl");
  ASSERT_TRUE(Start({path}));
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  const std::string file = testsupport::ReadAll(path);
  g_MaxMeasure = 10;
  w->ObjBackup();
  d.Sel.assign(2, SelEntry{});
  d.Sel[1] = SelEntry{1, 12, 0, 1, 0};
  d.SelCount = 1;
  w->ObjDraw();
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(12));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.textContains =
                              "選択中のオブジェ 1 個は保存できない位置にあるため、保存しませんでした。"
                              "移動するか削除してから保存してください。\r\n位置：\r\n　小節 12　レーン 1 (" +
                              d.Lane[1].Label + ")",
                          .title = "エラー"});
  Frame().QuerySaveAs();
  desk_.Verify();
  EXPECT_EQ(testsupport::ReadAll(path), file);
  EXPECT_TRUE(HasMarker(w));
  d.Sel[1].Mes = 9;  // dragged back: it lands and the save goes through
  Frame().QuerySaveAs();
  EXPECT_FALSE(HasMarker(w));
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(10));
  EXPECT_EQ(testsupport::ReadAll(path), ChartBytes(d, 0));
}

}  // namespace
