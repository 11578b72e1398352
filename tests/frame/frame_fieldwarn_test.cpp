// The save and the definition commands tell which field a chart file will not hold as typed;
// the modified mark after a save and Undo.
#include "chartfmt/globals.h"
#include "chartview/formglobals.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace {

std::string Caption(int win) { return WinAt(win) ? WinAt(win)->windowTitle().toStdString() : std::string(); }

TEST_F(FrameTest, TheSaveWarnsOfAFieldItCannotHoldAndWritesTheRestAsItIs) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[1];
  ASSERT_FALSE(d.Keys.Title.empty());
  const std::string artist = d.Artist;
  d.Title = "café\nnight";
  Frame().SetDirty();
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.textContains = "曲名：「caf? night」", .title = "警告", .icon = plat::MsgIcon::Exclamation});
  Frame().QuerySaveAs();
  Pump();
  EXPECT_EQ(d.Dirty, 0);
  const std::string bytes = testsupport::ReadAll(Sample("nexal_sample.nxl"));
  EXPECT_NE(bytes.find("#" + d.Keys.Title + " caf? night\r\n"), std::string::npos);
  EXPECT_EQ(d.Artist, artist);

  // Saved again with nothing a file cannot hold: no warning.
  d.Title = "night";
  Frame().SetDirty();
  Frame().QuerySaveAs();
  Pump();
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(FrameTest, ACommentWithALineBreakIsReportedWhenTyped) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  g_Docs[1].CurDef = 3;
  desk_.ExpectInputBox(std::string("two\r\nlines"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "WAV 03 のコメント：「two lines」", .title = "警告"});
  Frame().DefComment(DefList::Grid1);
  Pump();
  EXPECT_EQ(g_Docs[1].Wav[3].Comment, "two\r\nlines");  // kept as typed until the save
}

TEST_F(FrameTest, UndoAfterASaveBringsTheMarkBack) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  ASSERT_NE(w, nullptr);
  w->ObjBackup();
  g_Docs[1].Obj[1].Mes.Write(0).Obj[0] = 1;
  Frame().QuerySaveAs();
  Pump();
  ASSERT_EQ(Caption(1).find('*'), std::string::npos);
  Frame().Menu_Edit_Undo_Click();
  Pump();
  EXPECT_EQ(g_Docs[1].Dirty, -1);
  EXPECT_NE(Caption(1).find('*'), std::string::npos);
}

}  // namespace
