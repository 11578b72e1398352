// File > Open, saving with the modified mark, the recent-file entries, and a chart opened and
// saved unchanged through the frame.
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

#include "chartfmt/chartwrite.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "chartview/mixedbutton.h"
#include "frame/frmscrsel.h"
#include "frame/queryopen.h"
#include "frame/recent.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::Chosen;
using testsupport::FrameTest;

namespace fs = std::filesystem;

namespace {

int16_t ScriptFor(const std::string& ext) { return CandidateScripts(ext).at(0); }

std::string Caption(int win) { return WinAt(win) ? WinAt(win)->windowTitle().toStdString() : std::string(); }
bool StartsWith(const std::string& s, const std::string& head) { return s.rfind(head, 0) == 0; }

std::string Bytes(const std::string& path) { return testsupport::ReadAll(path); }

const std::string kError = "エラー";

TEST_F(FrameTest, FileOpenReusesOnlyAnUntitledUnchangedWindowAndTheFilterEntryChoosesTheScript) {
  ASSERT_TRUE(Start());
  const int16_t nexal = ScriptFor("nxl"), tapline = ScriptFor("tpl");
  desk_.ExpectOpenFile(Chosen(Sample("nexal_sample.nxl"), nexal),
                       {.filter = g_OpenFilter, .filterIndex = g_DefaultScript});
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_TRUE(desk_.CallsOf(CallKind::OpenFile).at(0).request.mustExist);
  EXPECT_EQ(g_OpenCount, 1);  // the untitled, unchanged window took it
  EXPECT_TRUE(StartsWith(Caption(1), "nexal_sample.nxl - "));

  // A titled window is kept; a chart whose extension no script claims reads with the entry's script.
  fs::copy_file(Sample("tapline_sample.tpl"), Install() + "looks_like.txt");
  desk_.ExpectOpenFile(Chosen(Install() + "looks_like.txt", tapline));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(g_Docs[2].ScriptNo, tapline);
  EXPECT_EQ(Caption(2), "looks_like.txt - " + ScriptTitle(tapline));

  // An untitled but modified window is kept too, and so is one whose chart was named "新規…".
  Frame().Menu_File_New_N_Click(nexal);
  Pump();
  ASSERT_EQ(g_CurWin, 3);
  Frame().SetDirty();
  desk_.ExpectOpenFile(Chosen(Sample("simple_sample.s4k"), ScriptFor("s4k")));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 4);
  EXPECT_EQ(g_Docs[3].Dirty, -1);
  fs::copy_file(Sample("nexal_sample.nxl"), Install() + "新規曲.nxl");
  Frame().Menu_File_New_N_Click(nexal);
  Pump();
  desk_.ExpectOpenFile(Chosen(Install() + "新規曲.nxl", nexal));
  Frame().Menu_File_Open_Click();
  Pump();
  ASSERT_EQ(g_OpenCount, 5);
  desk_.ExpectOpenFile(Chosen(Sample("nexal_sample.nxl"), nexal));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 5);  // the "新規曲" chart counts as untitled
  EXPECT_TRUE(StartsWith(Caption(g_CurWin), "nexal_sample.nxl"));

  // Cancelling the dialog changes nothing; the toolbar button opens the same dialog.
  desk_.ExpectOpenFile(testsupport::Cancelled());
  Frame().Toolbar1_ButtonClick("TB1_Open");
  Pump();
  EXPECT_EQ(g_OpenCount, 5);
}

TEST_F(FrameTest, TheLowestFreeWindowNumberIsTakenAgain) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k"), Sample("dual_sample.scd")}));
  ASSERT_EQ(g_OpenCount, 3);
  WinAt(2)->close();
  Pump();
  ASSERT_EQ(WinAt(2), nullptr);
  desk_.ExpectOpenFile(Chosen(Sample("tapline_sample.tpl"), ScriptFor("tpl")));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 3);
  EXPECT_TRUE(StartsWith(Caption(2), "tapline_sample.tpl"));
  EXPECT_EQ(g_CurWin, 2);
}

TEST_F(FrameTest, FileOpenWithFirstOpenOffAsksBeforeReplacingAModifiedChart) {
  ASSERT_TRUE(Start({Sample("simple_sample.s4k")}));
  g_FirstOpen = 0;
  const int16_t nexal = ScriptFor("nxl");
  desk_.ExpectOpenFile(Chosen(Sample("nexal_sample.nxl"), nexal));
  Frame().Menu_File_Open_Click();  // titled and unchanged: replaced without a question
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_TRUE(StartsWith(Caption(1), "nexal_sample.nxl"));

  g_Docs[1].Title = "edited";
  Frame().SetDirty();
  desk_.ExpectOpenFile(Chosen(Sample("simple_sample.s4k"), ScriptFor("s4k")));
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, {.text = ModifiedQuestion("nexal_sample.nxl"),
                                                   .title = "確認",
                                                   .buttons = plat::MsgButtons::YesNoCancel});
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_EQ(g_Docs[1].Title, "edited");
  EXPECT_EQ(g_Docs[1].Dirty, -1);

  desk_.ExpectOpenFile(Chosen(Sample("simple_sample.s4k"), ScriptFor("s4k")));
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.text = ModifiedQuestion("nexal_sample.nxl")});
  desk_.ExpectSaveFile(testsupport::Cancelled());
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_Docs[1].Title, "edited");  // a cancelled save keeps the chart
  EXPECT_EQ(g_SaveCancel, 0);

  desk_.ExpectOpenFile(Chosen(Sample("simple_sample.s4k"), ScriptFor("s4k")));
  desk_.ExpectMessageBox(plat::MsgAnswer::No);
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_EQ(g_Docs[1].Dirty, 0);
  EXPECT_TRUE(StartsWith(Caption(1), "simple_sample.s4k"));
}

TEST_F(FrameTest, AFileThatCannotBeReadIsReportedBeforeAnyWindowIsTaken) {
  ASSERT_TRUE(Start());
  const std::string before = Caption(1);
  for (const std::string& bad : {Install() + "typed_name.nxl", Install() + "samples"}) {
    desk_.ExpectOpenFile(Chosen(bad, g_DefaultScript));
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                           {.textContains = bad, .title = kError, .icon = plat::MsgIcon::Critical});
    Frame().Menu_File_Open_Click();
    Pump();
    EXPECT_EQ(g_OpenCount, 1) << bad;
    EXPECT_EQ(Caption(1), before) << bad;
  }
}

TEST_F(FrameTest, TheWindowLimitComesBeforeTheOpenDialogAndTheRecentEntry) {
  dir_.Write("Mirkan.ini", "[Default]\r\nMaxWindows=1\r\n[Recent]\r\n0=" + Sample("nexal_sample.nxl") +
                               "*\r\n0S=" + "Dual Stage*\r\n");
  ASSERT_TRUE(Start());
  for (int i = 0; i < 3; ++i)
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = "1個以上のウインドウを開くことはできません",
                                                 .title = "警告",
                                                 .icon = plat::MsgIcon::Critical});
  Frame().Menu_File_Open_Click();
  Frame().Menu_File_Recent_Click(1);
  Frame().Menu_File_New_N_Click(1);
  Pump();
  EXPECT_EQ(desk_.CountOf(CallKind::OpenFile), 0u);
  EXPECT_EQ(g_OpenCount, 1);
}

TEST_F(FrameTest, SaveWritesToTheKnownFileOrFallsBackToTheDialog) {
  ASSERT_TRUE(Start());
  const int16_t nexal = ScriptFor("nxl");
  Frame().SetDirty();
  EXPECT_EQ(Caption(1), "新規* - " + ScriptTitle(nexal));
  const std::string out = Install() + "out.nxl";
  const std::string shared = g_CommonDialogFile;
  desk_.ExpectSaveFile(Chosen(out), {.filter = ScriptTitle(nexal) + "|*.nxl", .filterIndex = 1});
  Frame().QuerySaveAs();  // untitled: the dialog
  EXPECT_TRUE(desk_.CallsOf(CallKind::SaveFile).at(0).request.overwritePrompt);
  EXPECT_TRUE(fs::exists(out));
  EXPECT_EQ(Caption(1), "out.nxl - " + ScriptTitle(nexal));
  EXPECT_EQ(g_RecentFiles[0], out);
  EXPECT_EQ(g_CommonDialogFile, shared);  // the chart's save keeps out of the file choices' way

  Frame().SetDirty();
  fs::remove(out);
  desk_.ExpectSaveFile(testsupport::Cancelled(),  // the file went: the dialog again, at the chart
                       {.initialDir = FileFolder(out), .initialName = "out.nxl"});
  Frame().QuerySaveAs();
  EXPECT_EQ(g_SaveCancel, -1);
  g_SaveCancel = 0;
  EXPECT_EQ(Caption(1), "out.nxl* - " + ScriptTitle(nexal));
  desk_.ExpectSaveFile(testsupport::Cancelled());
  Frame().Menu("Menu_File_SaveAs")->trigger();
  EXPECT_EQ(Caption(1), "out.nxl* - " + ScriptTitle(nexal));
  g_SaveCancel = 0;

  desk_.ExpectSaveFile(Chosen(out));
  Frame().Menu("Menu_File_SaveAs")->trigger();
  desk_.Verify();
  Frame().SetDirty();
  Frame().Menu("Menu_File_Save")->trigger();  // the file exists: written without a dialog
  Frame().SetDirty();
  Frame().Toolbar1_ButtonClick("TB1_Save");
  EXPECT_EQ(desk_.CountOf(CallKind::SaveFile), 4u);
  EXPECT_EQ(Caption(1), "out.nxl - " + ScriptTitle(nexal));

  // The filter shows every extension of the script in small letters.
  Frame().Menu_File_New_N_Click(ScriptFor("tpl"));
  Pump();
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.filter = ScriptTitle(ScriptFor("tpl")) + "|*.tpl;*.tpx"});
  Frame().QuerySaveAs();
  g_SaveCancel = 0;
}

TEST_F(FrameTest, AFailedSaveKeepsTheMarkTheFileAndTheWindow) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Frame().SetDirty();
  const DocData& d = g_Docs[1];
  const std::string folder = d.Folder, name = d.FileName;
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.text = ModifiedQuestion(name)});
  desk_.ExpectSaveFile(Chosen("/no-such-folder/x.nxl"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "/no-such-folder/x.nxl", .title = kError});
  WinAt(1)->close();
  Pump();
  ASSERT_NE(WinAt(1), nullptr);  // the close did not go on
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_EQ(d.Folder, folder);
  EXPECT_EQ(d.FileName, name);
  EXPECT_EQ(g_SaveCancel, 0);
  EXPECT_EQ(Caption(1).find("*"), name.size());

  // File > Save onto something that cannot be replaced by a file.
  fs::create_directory(Install() + "samples/adir");
  g_Docs[1].FileName = "adir";
  g_Docs[1].FilePath = folder + "adir";
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.title = kError});
  Frame().QuerySaveAs();
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_EQ(d.FileName, "adir");
  EXPECT_EQ(d.FilePath, folder + "adir");
  EXPECT_TRUE(fs::is_directory(Install() + "samples/adir"));
}

TEST_F(FrameTest, OpeningAndSavingAnUnchangedChartGivesWhatTheWriterWrites) {
  ASSERT_TRUE(Start());
  for (const char* sample : {"nexal_sample.nxl", "simple_sample.s4k", "dual_sample.scd", "tapline_sample.tpl"}) {
    const std::string path = Install() + "rt_" + sample;
    fs::copy_file(Sample(sample), path);
    desk_.ExpectOpenFile(Chosen(path, ScriptFor(FileExtension(path))));
    Frame().Menu_File_Open_Click();
    Pump();
    const int16_t w = g_CurWin;
    ASSERT_TRUE(StartsWith(Caption(w), "rt_")) << sample;
    std::string error;
    ASSERT_TRUE(WriteChartFile(path + ".ref", g_Docs[w], 0, error)) << error;
    Frame().QuerySaveAs();
    EXPECT_EQ(desk_.CountOf(CallKind::SaveFile), 0u);
    EXPECT_EQ(Bytes(path), Bytes(path + ".ref")) << sample;
    EXPECT_EQ(g_Docs[w].Dirty, 0);
    EXPECT_EQ(g_RecentFiles[0], path);
  }
}

TEST_F(FrameTest, RecentEntriesFollowReadsAndWritesNewestFirst) {
  ASSERT_TRUE(Start());
  QAction* sep = Frame().Menu("Menu_File_Recent_0");
  EXPECT_FALSE(sep->isVisible());
  EXPECT_EQ(Frame().Menu("Menu_File_Recent_1"), nullptr);
  const char* samples[] = {"nexal_sample.nxl", "simple_sample.s4k", "dual_sample.scd", "tapline_sample.tpl"};
  Open(Sample(samples[0]));
  EXPECT_TRUE(sep->isVisible());
  ASSERT_NE(Frame().Menu("Menu_File_Recent_1"), nullptr);
  EXPECT_EQ(Frame().Menu("Menu_File_Recent_1")->text().toStdString(), "&0 " + Sample(samples[0]));
  EXPECT_EQ(g_RecentScripts[0], ScriptTitle(ScriptFor("nxl")));
  for (const char* s : samples) Open(Sample(s));
  fs::copy_file(Sample(samples[0]), Install() + "sixth.nxl");
  Open(Install() + "sixth.nxl");
  const std::vector<std::string> want = {Install() + "sixth.nxl", Sample(samples[3]), Sample(samples[2]),
                                         Sample(samples[1]), Sample(samples[0])};
  EXPECT_EQ(g_RecentFiles, want);
  for (int i = 0; i < 5; ++i) {
    QAction* a = Frame().Menu("Menu_File_Recent_" + std::to_string(i + 1));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text().toStdString(), RecentCaption(i, want[i]));
    EXPECT_TRUE(a->isEnabled());
  }
  EXPECT_EQ(Frame().Menu("Menu_File_Recent_6"), nullptr);
}

TEST_F(FrameTest, RecentEntriesFromTheSettingsAreGreyedWithoutTheirFileOrScript) {
  const std::string amp = Install() + "R&B/";
  fs::create_directory(amp);
  fs::copy_file(Sample("dual_sample.scd"), amp + "a.scd");
  fs::copy_file(Sample("simple_sample.s4k"), Install() + "a.abc");  // an extension no script claims
  std::string ini = "[Default]\r\nRecentNum=16\r\n[Recent]\r\n";
  const std::vector<std::pair<std::string, std::string>> entries = {{Sample("nexal_sample.nxl"), "Dual Stage"},
                                                                    {Install() + "gone.nxl", "Dual Stage"},
                                                                    {Install() + "a.abc", "Removed Script"},
                                                                    {amp + "a.scd", "Dual Stage"}};
  for (int i = 0; i < 16; ++i) {
    // One entry per file: the entries after the fourth name files that are gone.
    const auto e =
        i < 4 ? entries[i] : std::make_pair(Install() + "gone" + std::to_string(i) + ".nxl", std::string("Dual Stage"));
    ini += std::to_string(i) + "=" + e.first + "*\r\n" + std::to_string(i) + "S=" + e.second + "*\r\n";
  }
  dir_.Write("Mirkan.ini", ini);
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Frame().Menu("Menu_File_Recent_0")->isVisible());
  const bool enabled[] = {true, false, false, true};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Frame().Menu("Menu_File_Recent_" + std::to_string(i + 1))->isEnabled(), enabled[i]) << i;
  EXPECT_EQ(Frame().Menu("Menu_File_Recent_4")->text().toStdString(), "&3 " + Install() + "R&&B/a.scd");
  EXPECT_TRUE(StartsWith(Frame().Menu("Menu_File_Recent_11")->text().toStdString(), "&A "));
  EXPECT_TRUE(StartsWith(Frame().Menu("Menu_File_Recent_16")->text().toStdString(), "&F "));
  // Picking the first entry reads the chart with the entry's script, by its title.
  Frame().Menu("Menu_File_Recent_1")->trigger();
  Pump();
  EXPECT_EQ(g_Docs[1].ScriptNo, ScriptFor("scd"));
}

// A copied and adapted script keeps the title of the one it came from. A recent entry remembers
// its script's file; one of an older settings file (title only), or one whose script is gone,
// goes by the chart's extension. Where the user chooses a script, the file tells the two apart.
TEST_F(FrameTest, RecentEntriesAndScriptChoicesTellTwoScriptsOfOneTitleApart) {
  std::string nexal = testsupport::ReadAll(Install() + "nexal.dfn");
  const size_t eol = nexal.find("\r\n") + 2;
  nexal.replace(eol, nexal.find("\r\n", eol) - eol, "Nexal Keys");
  dir_.Write("nexal.dfn", nexal);
  const size_t ext = nexal.find("#EXT NXL");
  ASSERT_NE(ext, std::string::npos);
  dir_.Write("nexal6.dfn", nexal.replace(ext, 8, "#EXT NX6"));
  for (const char* name : {"old.nxl", "new.nxl", "six.nx6", "gone.nxl"})
    fs::copy_file(Sample("nexal_sample.nxl"), Install() + name);
  dir_.Write("Mirkan.ini", "[Recent]\r\n0=" + Install() + "old.nxl*\r\n0S=Nexal Keys*\r\n" +  // older form
                               "1=" + Install() + "six.nx6*\r\n1S=Nexal Keys*\r\n1F=nexal6.dfn*\r\n" +
                               "2=" + Install() + "new.nxl*\r\n2S=Nexal Keys*\r\n2F=nexal.dfn*\r\n" + "3=" + Install() +
                               "gone.nxl*\r\n3S=Nexal Keys*\r\n3F=removed.dfn*\r\n");
  ASSERT_TRUE(Start());
  const int16_t five = ScriptByFileName("nexal.dfn"), six = ScriptByFileName("nexal6.dfn");
  ASSERT_NE(five, 0);
  ASSERT_NE(six, 0);
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(Frame().Menu("Menu_File_Recent_" + std::to_string(i))->isEnabled()) << i;

  const struct {
    const char* name;
    int16_t script;
  } picks[] = {{"old.nxl", five}, {"six.nx6", six}, {"new.nxl", five}, {"gone.nxl", five}};
  for (const auto& p : picks) {
    SCOPED_TRACE(p.name);
    const std::string path = ChartPathCanonical(Install() + p.name);
    const auto at = std::find(g_RecentFiles.begin(), g_RecentFiles.end(), path);
    ASSERT_NE(at, g_RecentFiles.end());
    Frame().Menu("Menu_File_Recent_" + std::to_string(at - g_RecentFiles.begin() + 1))->trigger();
    Pump();
    EXPECT_EQ(g_Docs[g_CurWin].ScriptNo, p.script);
    EXPECT_EQ(g_RecentFiles[0], path);
    EXPECT_EQ(g_RecentScriptFiles[0], ScriptFileName(g_ScriptTable, p.script));  // remembered from now on
  }
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);

  // File > New, the New button's list, the script choice and the open dialog's file types.
  EXPECT_EQ(Frame().Menu("Menu_File_New_N_" + std::to_string(five))->text().toStdString(), "Nexal Keys (nexal.dfn)");
  EXPECT_EQ(Frame().Menu("Menu_File_New_N_" + std::to_string(six))->text().toStdString(), "Nexal Keys (nexal6.dfn)");
  const QList<QAction*> list = Frame().Tool("TB1_New")->menu()->actions();
  ASSERT_EQ(list.size(), g_ScriptCount);
  EXPECT_EQ(list.at(six - 1)->text().toStdString(), "Nexal Keys (nexal6.dfn)");
  EXPECT_EQ(list.at(ScriptFor("scd") - 1)->text().toStdString(), "Dual Stage");
  FrmScrSel dlg(&Frame());
  dlg.GetData("/a.nxl", {five, six}, -1);
  EXPECT_EQ(dlg.List1()->item(1)->text().toStdString(), "Nexal Keys (nexal6.dfn)");
  EXPECT_NE(g_OpenFilter.find("Nexal Keys (nexal6.dfn)|*.nx6"), std::string::npos);
}

TEST_F(FrameTest, APickedRecentFileReplacesTheOnlyUnchangedChartOtherwiseOpensANewWindow) {
  const std::string simple = Sample("simple_sample.s4k");
  // Three files in the list, only the first open: titled, unchanged, the only window.
  fs::copy_file(simple, Install() + "copy.s4k");
  fs::copy_file(simple, Install() + "third.s4k");
  ASSERT_TRUE(Start({simple}));
  Open(Install() + "copy.s4k")->CloseWithoutQuestion();
  Open(Install() + "third.s4k")->CloseWithoutQuestion();
  Pump();
  ASSERT_EQ(g_OpenCount, 1);
  ASSERT_EQ(g_RecentFiles[2], simple);
  Frame().Menu_File_Recent_Click(2);
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_TRUE(StartsWith(Caption(1), "copy.s4k"));
  Frame().SetDirty();
  Frame().Menu_File_Recent_Click(3);  // modified: a new window, no question
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(g_Docs[1].Dirty, -1);
  ASSERT_EQ(g_RecentFiles[2], ChartPathCanonical(Install() + "third.s4k"));
  Frame().Menu_File_Recent_Click(3);  // two open
  Pump();
  EXPECT_EQ(g_OpenCount, 3);
  for (int w = 1; w <= 3; ++w) WinAt(w)->CloseWithoutQuestion();
  Pump();
  ASSERT_EQ(g_OpenCount, 0);
  Frame().Menu_File_Recent_Click(1);  // none open
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_TRUE(StartsWith(Caption(g_CurWin), "third.s4k"));

  // A file deleted since the menu was built is reported before any window is taken.
  fs::copy_file(simple, Install() + "soon_gone.s4k");
  Open(Install() + "soon_gone.s4k")->CloseWithoutQuestion();
  Pump();
  const int16_t count = g_OpenCount;
  fs::remove(Install() + "soon_gone.s4k");
  ASSERT_TRUE(Frame().Menu("Menu_File_Recent_1")->isEnabled());
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "soon_gone.s4k", .title = kError});
  Frame().Menu("Menu_File_Recent_1")->trigger();
  Pump();
  EXPECT_EQ(g_OpenCount, count);
}

// A chart named through "..", "." or a linked folder, on the command line, in the settings or
// in the dialog, is one window path and one recent entry.
TEST_F(FrameTest, OneFileIsOneRecentEntryHoweverItsPathWasWritten) {
  fs::create_directory(Install() + "inst");
  fs::create_directory_symlink(Install() + "samples", Install() + "linked");
  const std::string chart = Sample("nexal_sample.nxl");
  const std::string simple = Sample("simple_sample.s4k");
  const std::string title = "Dual Stage";
  std::string ini = "[Recent]\r\n";
  const std::string listed[] = {Install() + "linked/../samples/./simple_sample.s4k", simple,
                                Install() + "linked/nexal_sample.nxl", Install() + "inst/../gone.nxl"};
  for (int i = 0; i < 4; ++i)
    ini += std::to_string(i) + "=" + listed[i] + "*\r\n" + std::to_string(i) + "S=" + title + "*\r\n";
  dir_.Write("Mirkan.ini", ini);
  ASSERT_TRUE(Start({Install() + "inst/../samples/nexal_sample.nxl"}));
  ASSERT_EQ(g_OpenCount, 1);
  EXPECT_EQ(g_Docs[1].Folder + g_Docs[1].FileName, chart);
  EXPECT_EQ(g_Docs[1].FileName, "nexal_sample.nxl");
  const std::vector<std::string> want = {chart, simple, Install() + "gone.nxl", "", ""};
  EXPECT_EQ(g_RecentFiles, want);
  EXPECT_EQ(g_RecentScripts[1], title);
  EXPECT_EQ(Frame().Menu("Menu_File_Recent_1")->text().toStdString(), "&0 " + chart);

  // The same file from the dialog is the window that holds it; as a drop, the entry moves and
  // none is added.
  desk_.ExpectOpenFile(Chosen(Install() + "linked/nexal_sample.nxl", ScriptFor("nxl")));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_EQ(g_RecentFiles, want);
  Frame().MDIForm_OLEDragDrop({QString::fromStdString(Install() + "samples/../samples/simple_sample.s4k")});
  Pump();
  const std::vector<std::string> after = {simple, chart, Install() + "gone.nxl", "", ""};
  EXPECT_EQ(g_RecentFiles, after);

  // Saved under a path with "..": the window and the list hold the plain one.
  desk_.ExpectSaveFile(Chosen(Install() + "inst/../saved.s4k", 1));
  Frame().QuerySave(-1);
  EXPECT_EQ(g_Docs[g_CurWin].Folder + g_Docs[g_CurWin].FileName, Install() + "saved.s4k");
  EXPECT_EQ(g_RecentFiles[0], Install() + "saved.s4k");
  EXPECT_EQ(g_RecentFiles[1], simple);
}

}  // namespace
