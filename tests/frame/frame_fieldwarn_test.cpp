// The save and the definition commands tell which field a chart file will not hold as typed;
// the modified mark after a save and Undo.
#include "chartfmt/globals.h"
#include "chartview/formglobals.h"
#include "frame_fixture.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

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

// The free statements, a definition's file name and a comment: the save names each that the file
// will not hold as shown, and the window then shows what was written.
TEST_F(FrameTest, TheSaveNamesEveryTextItCannotWriteAsShownAndThenShowsWhatItWrote) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[1];
  Frame().Tab1_Switch(3);
  QPlainTextEdit* free = Frame().Text6();
  free->setPlainText(free->toPlainText() + "#MEMO café end\n");
  Frame().ApplyFreeText();  // a statement the reader does not know stays free
  Pump();
  ASSERT_NE(d.FreeText.find("#MEMO café end"), std::string::npos);
  d.Wav[4].File = "snare✓.wav";
  d.Bga[2].Comment = "naïve";
  Frame().SetDirty();

  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "：「#MEMO caf? end」", .title = "警告"});
  Frame().QuerySaveAs();
  Pump();
  desk_.Verify();
  const std::vector<testsupport::DesktopCall> calls = desk_.CallsOf(testsupport::CallKind::MessageBox);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(calls[0].text.find("WAV 04 のファイル名：「snare?.wav」"), std::string::npos) << calls[0].text;
  EXPECT_NE(calls[0].text.find("BGA 02 のコメント：「na?ve」"), std::string::npos) << calls[0].text;

  // Saved, and showing what the file holds: the box, the lists and the record.
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(Caption(1).find('*'), std::string::npos);
  const std::string bytes = testsupport::ReadAll(Sample("nexal_sample.nxl"));
  EXPECT_NE(bytes.find("\r\n#MEMO caf? end\r\n"), std::string::npos);
  EXPECT_NE(d.FreeText.find("#MEMO caf? end"), std::string::npos);
  EXPECT_NE(free->toPlainText().toStdString().find("#MEMO caf? end"), std::string::npos);
  EXPECT_EQ(d.Wav[4].File, "snare?.wav");
  EXPECT_EQ(Frame().List(DefList::Grid1)->topLevelItem(3)->text(1).toStdString(), "snare?.wav");
  EXPECT_EQ(d.Bga[2].Comment, "na?ve");
  EXPECT_EQ(d.Dirty, 0);  // taking what was written is no edit

  // Saved again: the file stays as it is, and nothing is named.
  desk_.ClearCalls();
  Frame().SetDirty();
  Frame().QuerySaveAs();
  Pump();
  EXPECT_EQ(desk_.CountOf(testsupport::CallKind::MessageBox), 0u);
  EXPECT_EQ(testsupport::ReadAll(Sample("nexal_sample.nxl")), bytes);
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
