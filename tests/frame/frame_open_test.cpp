// Opening by extension: drops on the frame and on a canvas, the script choice, the window limit,
// charts and scripts that fail to read.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "chartview/picturebox.h"
#include "frame/frmscrsel.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Captions() {
  std::vector<std::string> out;
  for (size_t i = 1; i < g_Wins.size(); ++i)
    if (Form1* w = WinAt(static_cast<int>(i))) out.push_back(w->windowTitle().toStdString());
  return out;
}

TEST_F(FrameTest, DroppedFilesOpenInOrderAndOnlyALastUnknownFileBeeps) {
  ASSERT_TRUE(Start());
  Frame().MDIForm_OLEDragDrop({QString::fromStdString(Sample("simple_sample.s4k")), QStringLiteral("/x/a.unknown")});
  Pump();
  EXPECT_EQ(desk_.CountOf(CallKind::Beep), 1u);
  Frame().MDIForm_OLEDragDrop({QStringLiteral("/x/a.unknown"), QString::fromStdString(Sample("tapline_sample.tpl")),
                               QString::fromStdString(Sample("dual_sample.scd"))});
  Pump();
  EXPECT_EQ(desk_.CountOf(CallKind::Beep), 1u);
  const std::vector<std::string> c = Captions();
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[1].substr(0, 17), "simple_sample.s4k");
  EXPECT_EQ(c[2].substr(0, 18), "tapline_sample.tpl");
  EXPECT_EQ(c[3].substr(0, 15), "dual_sample.scd");
  EXPECT_EQ(g_CurWin, 4);
}

TEST_F(FrameTest, ADropOnACanvasAsksWhereToLoad) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  const QStringList file{QString::fromStdString(Sample("nexal_sample.nxl"))};
  const std::string question = "ドロップされたウインドウに読み込みますか？\r\n(いいえ で新規に開く)";
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel,
                         {.text = question, .title = "確認", .buttons = plat::MsgButtons::YesNoCancel});
  emit w->Picture1()->FilesDropped(file);
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  desk_.ExpectMessageBox(plat::MsgAnswer::No);
  emit w->Picture1()->FilesDropped(file);
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(w->windowTitle().left(2).toStdString(), "新規");
  // The file is open in the new window now: dropped again, that window comes forward unasked.
  Activate(w);
  emit w->Picture1()->FilesDropped(file);
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_NE(g_CurWin, w->WinNo());
  std::filesystem::copy_file(Sample("nexal_sample.nxl"), Install() + "other.nxl");
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes);
  emit w->Picture1()->FilesDropped({QString::fromStdString(Install() + "other.nxl")});
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(w->windowTitle().toStdString().substr(0, 9), "other.nxl");
  EXPECT_EQ(desk_.CountOf(CallKind::Beep), 0u);
  desk_.ClearCalls();
  emit w->Picture1()->FilesDropped({QStringLiteral("/x/readme.txt")});
  EXPECT_EQ(desk_.CountOf(CallKind::Beep), 1u);
}

TEST_F(FrameTest, ADropOnAModifiedChartWithACancelledSaveKeepsIt) {
  ASSERT_TRUE(Start({Sample("simple_sample.s4k")}));
  Form1* w = WinAt(1);
  g_Docs[1].Dirty = -1;
  g_Docs[1].Title = "changed";
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes);  // into this window
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.text = ModifiedQuestion("simple_sample.s4k")});
  desk_.ExpectSaveFile(testsupport::Cancelled());
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), 1), 0);
  EXPECT_EQ(WinAt(1), w);
  EXPECT_EQ(g_Docs[1].Title, "changed");
  EXPECT_EQ(g_Docs[1].Dirty, -1);
  EXPECT_EQ(g_SaveCancel, 0);
  EXPECT_FALSE(desk_.WaitCursorOn());
}

TEST_F(FrameTest, SeveralScriptsForOneExtensionAreChosenInTheDialog) {
  std::string nexal = testsupport::ReadAll(Install() + "nexal.dfn");
  const size_t eol = nexal.find("\r\n") + 2;
  const size_t eol2 = nexal.find("\r\n", eol) + 2;
  nexal.replace(eol, eol2 - eol, "Other NXL\r\n");
  dir_.Write("zother.dfn", nexal);
  ASSERT_TRUE(Start());
  std::vector<int16_t> seen;
  int16_t seenWin = 0;
  ScriptChoice answer;
  Frame().SetScriptChooser([&](const std::string&, const std::vector<int16_t>& c, int16_t win) {
    seen = c;
    seenWin = win;
    return answer;
  });
  answer.skipped = true;
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), -1), 0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seenWin, -1);
  answer = ScriptChoice{false, seen[1], false};
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), -1), 1);
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(g_Docs[g_CurWin].ScriptNo, seen[1]);
  EXPECT_EQ(WinAt(g_CurWin)->windowTitle().toStdString(), "nexal_sample.nxl - Other NXL");
  WinAt(g_CurWin)->CloseWithoutQuestion();
  Pump();

  // File > Open: the file type's script where it is one of them, else the same choice, which
  // leaves the window to File > Open.
  const int16_t nexalNo = seen[0], other = seen[1], dual = CandidateScripts("scd").at(0);
  seen.clear();
  for (const int16_t type : {other, nexalNo}) {
    desk_.ExpectOpenFile(testsupport::Chosen(Sample("nexal_sample.nxl"), type));
    Frame().Menu_File_Open_Click();
    Pump();
    EXPECT_EQ(g_Docs[g_CurWin].ScriptNo, type);
    EXPECT_TRUE(seen.empty());
    WinAt(g_CurWin)->CloseWithoutQuestion();
    Pump();
  }
  answer = ScriptChoice{false, other, false};
  desk_.ExpectOpenFile(testsupport::Chosen(Sample("nexal_sample.nxl"), dual));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(seen, (std::vector<int16_t>{nexalNo, other}));
  EXPECT_EQ(seenWin, 0);
  EXPECT_EQ(g_Docs[g_CurWin].ScriptNo, other);
}

// File > Open reads a file with the script its extension belongs to, whatever the file type, so
// that its save writes it back as it was; only an extension no script claims goes by the type.
TEST_F(FrameTest, FileOpenReadsEachSampleWithItsOwnScriptWhateverTheFileType) {
  ASSERT_TRUE(Start());
  for (int type = 1; type <= g_ScriptCount; ++type) {
    for (const char* sample : {"nexal_sample.nxl", "simple_sample.s4k", "dual_sample.scd", "tapline_sample.tpl"}) {
      SCOPED_TRACE(std::string(sample) + " as type " + std::to_string(type));
      const std::string path = Install() + std::to_string(type) + "_" + sample;
      fs::copy_file(Sample(sample), path);
      desk_.ExpectOpenFile(testsupport::Chosen(path, type));
      Frame().Menu_File_Open_Click();
      Pump();
      const int16_t w = g_CurWin;
      EXPECT_EQ(g_Docs[w].ScriptNo, CandidateScripts(FileExtension(path)).at(0));
      Frame().SetDirty();
      Frame().QuerySaveAs();
      EXPECT_EQ(testsupport::ReadAll(path), testsupport::ReadAll(Sample(sample)));
      WinAt(w)->CloseWithoutQuestion();
      Pump();
    }
  }
  EXPECT_EQ(desk_.CountOf(CallKind::SaveFile), 0u);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
}

TEST_F(FrameTest, TheWindowLimitIsCheckedAfterTheQuestion) {
  dir_.Write("Mirkan.ini", "[Default]\r\nMaxWindows=2\r\n");
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  ASSERT_EQ(g_OpenCount, 2);
  desk_.ExpectMessageBox(plat::MsgAnswer::No);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = "2個以上のウインドウを開くことはできません",
                                               .title = "警告",
                                               .icon = plat::MsgIcon::Critical});
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("dual_sample.scd"), 1), 0);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "個以上のウインドウ"});
  Frame().Toolbar1_ButtonClick("TB1_New");
  EXPECT_EQ(g_OpenCount, 2);
}

TEST_F(FrameTest, AMissingChartIsReportedAndTakesNoWindow) {
  ASSERT_TRUE(Start({Sample("simple_sample.s4k")}));
  const std::string missing = Install() + "gone/lost.nxl";
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.textContains = missing, .title = "エラー", .icon = plat::MsgIcon::Critical});
  EXPECT_EQ(Frame().QueryScriptOpen(missing, -1), 0);
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_EQ(g_SlotUsed[1], 0);
  EXPECT_NE(WinAt(1), nullptr);
  EXPECT_EQ(g_CurWin, 1);
  EXPECT_TRUE(Frame().Label10()->isEnabled());
  EXPECT_FALSE(desk_.WaitCursorOn());
}

TEST_F(FrameTest, AScriptThatFailsWhenAWindowReadsItOnlyKeepsThatWindowFromOpening) {
  ASSERT_TRUE(Start({Sample("simple_sample.s4k")}));
  const int16_t nexal = g_DefaultScript;
  dir_.Write("nexal.dfn", "#DFN\r\nNexal\r\n#EXT NXL\r\n#LANE\r\nonly a name\r\n#EOL\r\n");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.title = "エラー"});
  Frame().Menu_File_New_N_Click(nexal);
  Pump();
  EXPECT_FALSE(Frame().Ended());
  EXPECT_FALSE(quit_);
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_NE(WinAt(1), nullptr);
  EXPECT_EQ(g_SlotUsed[1], 0);
  std::remove((Install() + "nexal.dfn").c_str());
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.title = "エラー"});
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), -1), 0);
  EXPECT_EQ(g_OpenCount, 1);
}

// A chart file that exists but does not read is reported by every way of opening it before a
// window is taken or reused: the window that would have been reused keeps its chart and stays.
TEST_F(FrameTest, ABrokenChartIsReportedBeforeAnyWindowIsTakenOrReused) {
  dir_.Write("broken.nxl", "#TITLE broken\r\n#BPM 1e999\r\n");
  const std::string broken = Install() + "broken.nxl";
  const testsupport::MsgMatch fault{.textContains = broken + "\r\n2行目: ",
                                    .title = "エラー",
                                    .icon = plat::MsgIcon::Critical};
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, fault);
  ASSERT_TRUE(Start({broken, Sample("simple_sample.s4k")}));  // the command line
  ASSERT_EQ(Captions(), std::vector<std::string>{"simple_sample.s4k - " + ScriptTitle(g_Docs[1].ScriptNo)});
  const int16_t simple = g_Docs[1].ScriptNo, nexal = g_DefaultScript;
  g_Docs[1].Title = "kept";
  Frame().SetDirty();
  g_FirstOpen = 0;  // File > Open replaces the current chart
  const auto kept = [&](const char* how) {
    Pump();
    EXPECT_EQ(g_OpenCount, 1) << how;
    ASSERT_NE(WinAt(1), nullptr) << how;
    EXPECT_EQ(g_Docs[1].Title, "kept") << how;
    EXPECT_EQ(g_Docs[1].ScriptNo, simple) << how;
    EXPECT_EQ(g_SlotUsed[0], -1) << how;
    EXPECT_FALSE(desk_.WaitCursorOn()) << how;
    desk_.Verify();
  };

  desk_.ExpectOpenFile(testsupport::Chosen(broken, nexal));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, fault);  // and no save question before it
  Frame().Menu_File_Open_Click();
  kept("File > Open");
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認"});  // into the window it was dropped on
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, fault);
  EXPECT_EQ(Frame().QueryScriptOpen(broken, 1), 0);
  kept("drop on the canvas");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, fault);
  Frame().MDIForm_OLEDragDrop({QString::fromStdString(broken)});
  kept("drop on the frame");
  g_Docs[1].Dirty = 0;  // the one unchanged window: a recent entry would reuse it
  g_RecentFiles[0] = broken;
  g_RecentScripts[0] = ScriptTitle(nexal);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, fault);
  Frame().Menu_File_Recent_Click(1);
  kept("recent entry");

  // A script that fails when read keeps the window just the same.
  dir_.Write("nexal.dfn", "#DFN\r\nNexal\r\n#EXT NXL\r\n#LANE\r\nonly a name\r\n#EOL\r\n");
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認"});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "nexal.dfn", .title = "エラー"});
  EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), 1), 0);
  kept("failing script");
}

}  // namespace

namespace {

TEST_F(FrameTest, TheScriptChoiceDialogOffersTheCandidatesAndClosesOnlyByItsButtons) {
  ASSERT_TRUE(Start());
  FrmScrSel dlg(&Frame());
  const std::string longPath = "/" + std::string(30, 'd') + "/" + std::string(20, 'f') + ".nxl";
  dlg.GetData(longPath, {3, 1}, -1);
  EXPECT_EQ(dlg.List1()->count(), 2);
  EXPECT_EQ(dlg.List1()->item(0)->text().toStdString(), ScriptTitle(3));
  EXPECT_EQ(dlg.Label1()->text().toStdString(), "..." + longPath.substr(longPath.size() - 37));
  EXPECT_TRUE(dlg.Check1()->isChecked());
  EXPECT_FALSE(dlg.Check1()->isEnabled());
  dlg.show();
  EXPECT_FALSE(dlg.close());  // the close box is refused
  dlg.List1()->setCurrentRow(1);
  dlg.Command1()->click();
  int16_t script = 0, skipped = 7;
  dlg.SendData(script, skipped);
  EXPECT_EQ(script, 1);
  EXPECT_EQ(skipped, 0);
  dlg.GetData("/a.nxl", {2, 4}, 1);
  EXPECT_FALSE(dlg.Check1()->isChecked());
  EXPECT_TRUE(dlg.Check1()->isEnabled());
  EXPECT_FALSE(dlg.Check1()->isHidden());
  dlg.GetData("/a.nxl", {2, 4}, 0);  // File > Open and the recent list place the chart themselves
  EXPECT_TRUE(dlg.Check1()->isHidden());
  dlg.GetData("/a.nxl", {2, 4}, 1);
  EXPECT_EQ(dlg.Label1()->text().toStdString(), "/a.nxl");
  dlg.Command2()->click();
  dlg.SendData(script, skipped);
  EXPECT_EQ(script, 2);
  EXPECT_EQ(skipped, -1);
  // By keyboard: Down to the second candidate, Enter for "開く".
  dlg.GetData("/a.nxl", {2, 4}, 1);
  dlg.show();
  QTest::keyClick(dlg.List1(), Qt::Key_Down);
  QTest::keyClick(dlg.List1(), Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  dlg.SendData(script, skipped);
  EXPECT_EQ(script, 4);
  EXPECT_EQ(skipped, 0);
}

}  // namespace
