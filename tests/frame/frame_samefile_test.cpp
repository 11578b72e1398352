// One chart file, one window: opening a file that a window holds brings that window forward, and
// a save over a file that is no longer what the window read or last wrote asks first. The
// chart's save dialog starts at the chart.
#include <fcntl.h>
#include <sys/stat.h>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>

#include "chartfmt/globals.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "frame/wavlump.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::Chosen;
using testsupport::FrameTest;
using testsupport::MsgMatch;

namespace fs = std::filesystem;

namespace {

int16_t Nexal() { return CandidateScripts("nxl").at(0); }
bool Modified(int win) { return WinAt(win)->windowTitle().contains('*'); }
std::string Bytes(const std::string& path) { return testsupport::ReadAll(path); }
bool Holds(const std::string& path, const std::string& line) { return Bytes(path).find(line) != std::string::npos; }

// The question before a save over a file changed on disk, answered.
void ExpectChangedQuestion(testsupport::ScriptedDesktop& desk, const std::string& path, plat::MsgAnswer a) {
  desk.ExpectMessageBox(a,
                        {.text = ChangedOnDiskQuestion(path), .title = "確認", .buttons = plat::MsgButtons::OkCancel});
}

class SameFileTest : public FrameTest {
 protected:
  // A copy of the Nexal sample that the test may change.
  std::string Chart() {
    const std::string path = Install() + "mine.nxl";
    if (!fs::exists(path)) fs::copy_file(Sample("nexal_sample.nxl"), path);
    return ChartPathCanonical(path);
  }
  Form1* Forward() const { return qobject_cast<Form1*>(frame_->MdiArea()->activeSubWindow()); }
  // Chooses a sound for WAV row 7 of the current chart through the shared dialog; its path.
  std::string ChooseSoundForRow7() {
    DocData& d = g_Docs[g_CurWin];
    d.CurDef = 7;
    const std::string sound = Sample("sounds/pluck_m4.zq");
    desk_.ExpectOpenFile(Chosen(sound));
    Frame().Grid_DblClick(DefList::Grid1);
    EXPECT_EQ(d.Wav[7].File, "pluck_m4.zq");
    return sound;
  }
};

TEST_F(SameFileTest, AnOpenFileBringsItsWindowForwardHoweverItIsReached) {
  const std::string chart = Chart();
  fs::create_directory_symlink(Install(), Install() + "linked");
  fs::create_symlink(chart, Install() + "alias.nxl");
  ASSERT_TRUE(Start({chart, Install() + "./mine.nxl"}));  // named twice on the command line
  ASSERT_EQ(g_OpenCount, 1);
  Form1* first = WinAt(1);
  Form1* second = Open(Sample("dual_sample.scd"));
  ASSERT_NE(second, first);

  // Dropped on the frame under other spellings: no second window, the first comes forward.
  for (const std::string& path : {chart, Install() + "linked/mine.nxl", Install() + "alias.nxl"}) {
    SCOPED_TRACE(path);
    Activate(second);
    EXPECT_EQ(Frame().QueryScriptOpen(path, -1), 1);
    Pump();
    EXPECT_EQ(g_OpenCount, 2);
    EXPECT_EQ(Forward(), first);
    EXPECT_EQ(g_CurWin, first->WinNo());
  }
  // Dropped on the other window's canvas: no question where to load it.
  Activate(second);
  EXPECT_EQ(Frame().QueryScriptOpen(chart, second->WinNo()), 1);
  Pump();
  EXPECT_EQ(Forward(), first);
  // File > Open, a minimized window.
  first->showMinimized();
  Activate(second);
  desk_.ExpectOpenFile(Chosen(chart, Nexal()));
  Frame().Menu_File_Open_Click();
  Pump();
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(Forward(), first);
  EXPECT_FALSE(first->isMinimized());
  // A recent entry, even at the window limit (no window is needed).
  ASSERT_EQ(g_RecentFiles[0], ChartPathCanonical(Sample("dual_sample.scd")));
  g_MaxWindows = 2;
  Frame().Menu_File_Recent_Click(1);
  Pump();
  EXPECT_EQ(Forward(), second);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  g_MaxWindows = 30;

  // Once its window is closed, the file opens again.
  first->CloseWithoutQuestion();
  Pump();
  Form1* again = Open(chart);
  EXPECT_EQ(g_OpenCount, 2);
  EXPECT_EQ(again->Doc().FileName, "mine.nxl");
}

TEST_F(SameFileTest, ASaveOverAFileAnotherProgramChangedAsksFirst) {
  const std::string chart = Chart();
  ASSERT_TRUE(Start({chart}));
  DocData& d = g_Docs[1];
  d.Title += "B";
  Frame().SetDirty();
  Frame().QuerySaveAs();  // unchanged on disk: written without a word
  ASSERT_EQ(d.Dirty, 0);

  // Another program writes the file.
  const std::string theirs = ";another program\r\n#TITLE theirs\r\n";
  ASSERT_TRUE(testsupport::WriteAll(chart, theirs));
  d.Artist = "mine";
  Frame().SetDirty();
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Cancel);
  Frame().QuerySaveAs();
  Pump();
  EXPECT_EQ(Bytes(chart), theirs);
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_TRUE(Modified(1));
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Ok);
  Frame().Menu("Menu_File_Save")->trigger();
  Pump();
  EXPECT_TRUE(Holds(chart, "#ARTIST mine\r\n"));
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_FALSE(Modified(1));

  // What this window wrote, touched but not changed, and the scratch files of test play and
  // the free statements, ask nothing.
  Frame().SetDirty();
  Frame().QuerySaveAs();
  const timespec later[2] = {{2000000000, 0}, {2000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, chart.c_str(), later, 0), 0);
  std::string error;
  ASSERT_TRUE(ChartWrite(ScratchFilePath("temp.tmp"), "temp.tmp", 1, d.ScriptNo, -1, &error)) << error;
  Frame().Text6()->setPlainText("#GENRE scratch");
  Frame().ApplyFreeText();
  EXPECT_EQ(d.Genre, "scratch");
  Frame().QuerySaveAs();
  Pump();
  EXPECT_TRUE(Holds(chart, "#GENRE scratch\r\n"));
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 2u);  // the two questions above
}

// Two windows come to hold one file when one saves under the other's name; the one that did not
// write it last asks, and either answer leaves a file that one window shows.
TEST_F(SameFileTest, TheStaleOfTwoWindowsOnOneFileAsksAndBothAnswersHold) {
  const std::string chart = Chart();
  ASSERT_TRUE(Start({chart}));
  Form1* first = WinAt(1);
  Frame().Menu_File_New_N_Click(Nexal());
  Pump();
  Form1* second = WinAt(g_CurWin);
  ASSERT_NE(second, first);
  second->Doc().Title = "A";
  Frame().SetDirty();
  desk_.ExpectSaveFile(Chosen(chart));  // replaced after the dialog's own question: nothing more
  Frame().QuerySaveAs();
  Pump();
  ASSERT_TRUE(Holds(chart, "#TITLE A\r\n"));
  const std::string secondsCopy = Bytes(chart);

  Activate(first);
  first->Doc().Artist += "B";
  Frame().SetDirty();
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Cancel);
  Frame().QuerySaveAs();
  EXPECT_EQ(Bytes(chart), secondsCopy);  // the title window 2 saved is still there
  EXPECT_TRUE(Modified(1));
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Ok);
  Frame().QuerySaveAs();
  EXPECT_FALSE(Holds(chart, "#TITLE A\r\n"));
  EXPECT_TRUE(Holds(chart, "#ARTIST " + first->Doc().Artist + "\r\n"));
  EXPECT_FALSE(Modified(1));

  // Now window 2 is the stale one: asked from File > Save, from the save dialog onto its own
  // file, and from the close question's save, whose Cancel keeps the window.
  Activate(second);
  Frame().SetDirty();
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Cancel);
  Frame().QuerySaveAs();
  desk_.ExpectSaveFile(Chosen(chart));
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Cancel);
  Frame().QuerySave(-1);
  EXPECT_EQ(g_SaveCancel, -1);
  g_SaveCancel = 0;
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.text = ModifiedQuestion("mine.nxl")});
  desk_.ExpectSaveFile(Chosen(chart));
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Cancel);
  second->close();
  Pump();
  EXPECT_NE(WinAt(second->WinNo()), nullptr);
  EXPECT_TRUE(Holds(chart, "#ARTIST " + first->Doc().Artist + "\r\n"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.text = ModifiedQuestion("mine.nxl")});
  desk_.ExpectSaveFile(Chosen(chart));
  ExpectChangedQuestion(desk_, chart, plat::MsgAnswer::Ok);
  const int16_t secondNo = second->WinNo();
  second->close();
  Pump();
  EXPECT_EQ(WinAt(secondNo), nullptr);
  EXPECT_TRUE(Holds(chart, "#TITLE A\r\n"));
}

TEST_F(SameFileTest, TheChartSaveDialogStartsAtTheChartNotAtTheLastDefinitionFile) {
  const std::string chart = Chart();
  ASSERT_TRUE(Start({chart}));
  Frame().Menu_File_New_N_Click(Nexal());
  Pump();
  DocData& d = g_Docs[g_CurWin];
  const std::string sound = ChooseSoundForRow7();

  // Untitled: the folder of the chart read last, no name.
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.initialDir = FileFolder(chart), .initialName = ""});
  Frame().QuerySaveAs();
  EXPECT_EQ(g_SaveCancel, -1);
  g_SaveCancel = 0;
  EXPECT_EQ(Bytes(sound), testsupport::ReadAll(std::string(MIRKAN_SOURCE_DIR) + "/samples/sounds/pluck_m4.zq"));

  // Titled: its own folder and name. The definition list's chooser starts in the chart's
  // definitions' folder (its own since the save), without the name of a file from elsewhere.
  fs::create_directory(Install() + "out");
  const std::string saved = ChartPathCanonical(Install() + "out/new.nxl");
  desk_.ExpectSaveFile(Chosen(saved));
  Frame().QuerySaveAs();
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.initialDir = FileFolder(saved), .initialName = "new.nxl"});
  Frame().Menu("Menu_File_SaveAs")->trigger();
  g_SaveCancel = 0;
  d.CurDef = 8;
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialDir = FileFolder(saved), .initialName = ""});
  Frame().Grid_DblClick(DefList::Grid1);

  // A new chart after that save starts in the saved chart's folder.
  Frame().Menu_File_New_N_Click(Nexal());
  Pump();
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.initialDir = FileFolder(saved), .initialName = ""});
  Frame().Menu("Menu_File_SaveAs")->trigger();
  g_SaveCancel = 0;
}

TEST_F(SameFileTest, TheChartOpenDialogStartsAtTheLastChartNotAtTheLastDefinitionFile) {
  const std::string chart = Chart();
  ASSERT_TRUE(Start({chart}));
  const std::string sound = ChooseSoundForRow7();

  // The folder of the chart read last, no name.
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialDir = FileFolder(chart), .initialName = ""});
  Frame().Menu_File_Open_Click();
  // The definition list's chooser: the chart's definitions' folder, at the file chosen last
  // when it lies there.
  g_Docs[g_CurWin].CurDef = 8;
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialDir = FileFolder(sound), .initialName = "pluck_m4.zq"});
  Frame().Grid_DblClick(DefList::Grid1);

  // A chart opened from another folder: the next open starts there, and so does the definition
  // list's chooser, the chart's definitions' folder.
  fs::create_directory(Install() + "other");
  const std::string other = ChartPathCanonical(Install() + "other/two.nxl");
  fs::copy_file(chart, other);
  desk_.ExpectOpenFile(Chosen(other, Nexal()), {.initialDir = FileFolder(chart), .initialName = ""});
  Frame().Menu_File_Open_Click();
  Pump();
  ASSERT_EQ(g_Docs[g_CurWin].FileName, "two.nxl");
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialDir = FileFolder(other), .initialName = ""});
  Frame().Toolbar1_ButtonClick("TB1_Open");
  g_Docs[g_CurWin].CurDef = 8;
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialDir = FileFolder(other), .initialName = ""});
  Frame().Grid_DblClick(DefList::Grid1);
}

}  // namespace

// A definition or header file chosen from another folder moves the definitions' folder, never the
// chart's own file: a save writes the chart's file, or the one chosen in the save dialog after the
// user was told, and another chart of the same name in that folder keeps its bytes.
TEST_F(SameFileTest, ADefinitionFromAnotherFolderNeverMovesTheChartsOwnFile) {
  using A = plat::MsgAnswer;
  const std::string top = Install() + "song/";
  fs::create_directories(top + "sounds");
  fs::create_directories(top + "pics");
  fs::copy_file(Sample("nexal_sample.nxl"), top + "song.nxl");
  const std::string other = ";another chart\r\n#TITLE other\r\n";
  ASSERT_TRUE(testsupport::WriteAll(top + "sounds/song.nxl", other));
  ASSERT_TRUE(testsupport::WriteAll(top + "sounds/kick2.wav", "RIFF"));
  ASSERT_TRUE(testsupport::WriteAll(top + "pics/wall.bmp", "BM"));
  const std::string chart = ChartPathCanonical(top + "song.nxl");
  const std::string sounds = FileFolder(chart) + "sounds/", pics = FileFolder(chart) + "pics/";
  const std::string original = Bytes(chart);
  ASSERT_TRUE(Start({chart}));
  DocData& d = g_Docs[1];

  // The list's chooser starts in the chart's folder; the sound comes from sounds/.
  d.CurDef = 7;
  desk_.ExpectOpenFile(Chosen(sounds + "kick2.wav"), {.initialDir = FileFolder(chart), .initialName = ""});
  Frame().Grid_DblClick(DefList::Grid1);
  ASSERT_EQ(d.Folder, sounds);
  {  // The batch load browses from there too.
    WavLump lump(&Frame(), d, DefKind::Wav, 3);
    EXPECT_EQ(lump.Folder() + "/", sounds);
  }
  // The chart opened again: its own window comes forward.
  EXPECT_EQ(Frame().QueryScriptOpen(chart, -1), 1);
  Pump();
  EXPECT_EQ(g_OpenCount, 1);

  // Ctrl+S says so first; Cancel writes nothing, nor does the save dialog cancelled, which
  // starts in the definitions' folder with the chart's name.
  const MsgMatch told{.text = DefinitionFolderNote(chart, sounds),
                      .title = "確認",
                      .buttons = plat::MsgButtons::OkCancel};
  desk_.ExpectMessageBox(A::Cancel, told);
  Frame().Menu("Menu_File_Save")->trigger();
  desk_.ExpectMessageBox(A::Ok, told);
  desk_.ExpectSaveFile(testsupport::Cancelled(), {.initialDir = sounds, .initialName = "song.nxl"});
  Frame().Menu("Menu_File_Save")->trigger();
  EXPECT_EQ(Bytes(chart), original);
  EXPECT_EQ(Bytes(sounds + "song.nxl"), other);
  EXPECT_TRUE(Modified(1));
  // The chart's own file chosen: written there, and only there.
  desk_.ExpectMessageBox(A::Ok, told);
  desk_.ExpectSaveFile(Chosen(chart), {.initialDir = sounds, .initialName = "song.nxl"});
  Frame().Menu("Menu_File_Save")->trigger();
  EXPECT_TRUE(Holds(chart, "#WAV07 kick2.wav\r\n"));
  EXPECT_EQ(Bytes(sounds + "song.nxl"), other);
  EXPECT_FALSE(Modified(1));
  EXPECT_EQ(d.Folder, FileFolder(chart));  // where the names just written are found

  // The wallpaper from another folder, then another program writes the chart: the close
  // question's save tells the same, and the changed-on-disk question names the file in full.
  desk_.ExpectOpenFile(Chosen(pics + "wall.bmp"), {.initialDir = FileFolder(chart), .initialName = "stage.bmp"});
  Frame().FileButton(3)->click();
  ASSERT_EQ(d.Folder, pics);
  const std::string theirs = ";another program\r\n";
  ASSERT_TRUE(testsupport::WriteAll(chart, theirs));
  desk_.ExpectMessageBox(A::Yes, {.text = ModifiedQuestion("song.nxl")});
  desk_.ExpectMessageBox(A::Ok, {.text = DefinitionFolderNote(chart, pics)});
  desk_.ExpectSaveFile(Chosen(chart), {.initialDir = pics, .initialName = "song.nxl"});
  ExpectChangedQuestion(desk_, chart, A::Cancel);
  WinAt(1)->close();
  Pump();
  ASSERT_NE(WinAt(1), nullptr);
  EXPECT_EQ(Bytes(chart), theirs);
  EXPECT_EQ(Bytes(sounds + "song.nxl"), other);
}
