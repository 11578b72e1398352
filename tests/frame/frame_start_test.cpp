// Start-up, shutdown, the close paths, the wheel hook and the missing playback library.
#include <fcntl.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "frame/settings.h"
#include "frame/soundlib.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

// The frame as created, before start-up restores anything: every menu item's caption, shortcut,
// enabled state and check mark, and the main toolbar's buttons.
TEST_F(FrameTest, TheFrameIsCreatedWithItsMenusAndToolbarInTheirInitialStates) {
  FrameOptions o;
  o.installDir = Install();
  frame_ = std::make_unique<FormP>(o);
  enum Check { None, On, Off };
  struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool enabled;
    Check check;
  };
  const Item items[] = {
      {"Menu_File", "ファイル(&F)", "", true, None},
      {"Menu_File_New", "新規作成(&N)", "", true, None},
      {"Menu_File_Open", "開く(&O)...", "Ctrl+O", true, None},
      {"Menu_File_Save", "上書き保存(&S)", "Ctrl+S", true, None},
      {"Menu_File_SaveAs", "名前を付けて保存(&V)...", "", true, None},
      {"Menu_File_Close", "閉じる(&C)", "", true, None},
      {"Menu_File_Wiz", "ファイル変換ウィザード(&W)...", "", true, None},
      {"Menu_File_Exit", "終了(&X)", "", true, None},
      {"Menu_Edit", "編集(&E)", "", true, None},
      {"Menu_Edit_Undo", "元に戻す(&U)", "Ctrl+Z", true, None},
      {"Menu_Edit_Cut", "切り取り(&T)", "Ctrl+X", false, None},
      {"Menu_Edit_Copy", "コピー(&C)", "Ctrl+C", false, None},
      {"Menu_Edit_Paste", "貼り付け(&P)", "Ctrl+V", false, None},
      {"Menu_Edit_Delete", "削除(&E)", "Del", false, None},
      {"Menu_Edit_Mode", "編集モード切替(&M)", "F8", true, None},
      {"Menu_Edit_Find", "検索(&F)...", "Ctrl+F", true, None},
      {"Menu_Edit_WAVCmp", "WAV配列の整理(&W)", "", true, None},
      {"Menu_Edit_WAVDel", "未使用WAVの解除(&D)", "", true, None},
      {"Menu_Edit_SelectAll", "全て選択(&A)", "Ctrl+A", true, None},
      {"Menu_View", "表示(&V)", "", true, None},
      {"Menu_View_TBs", "バーの表示(&B)", "", true, None},
      {"Menu_View_Toolbar", "ツールバー(&T)", "", true, On},
      {"Menu_View_EditTool", "編集ツールバー(&E)", "", true, On},
      {"Menu_View_DefFrame", "定義入力領域(&D)", "", true, On},
      {"Menu_View_Status", "ステータスバー(&S)", "", true, On},
      {"Menu_View_Parts", "パーツの表示(&P)", "", true, None},
      {"Menu_View_Parts_Grid", "グリッド(&G)", "", true, On},
      {"Menu_View_Parts_Back", "背景(&B)", "", true, On},
      {"Menu_View_Parts_Line", "ライン(&N)", "", true, On},
      {"Menu_View_Parts_Spell", "文字(&S)", "", true, On},
      {"Menu_View_Parts_Lower", "小文字で表示(&L)", "", true, Off},
      {"Menu_View_Scroll", "ホイールスクロール量(&W)", "", true, None},
      {"Menu_View_Scroll_Value_1", "8分", "", true, Off},
      {"Menu_View_Scroll_Value_2", "4分", "", true, Off},
      {"Menu_View_Scroll_Value_3", "1小節", "", true, Off},
      {"Menu_View_AFocus", "オートフォーカス(&A)", "", true, On},
      {"Menu_View_Data", "ノート数計算(&N)...", "", true, None},
      {"Menu_Play", "再生(&P)", "", true, None},
      {"Menu_Play_PlayAll", "再生(&P)", "F5", false, None},
      {"Menu_Play_PlayHere", "現在の位置から再生(&H)", "F6", false, None},
      {"Menu_Play_Stop", "停止(&S)", "F7", false, None},
      {"Menu_Play_PlayObj", "オブジェ選択時再生(&O)", "", true, Off},
      {"Menu_Win", "ウインドウ(&W)", "", true, None},
      {"Menu_Win_Cas", "重ねて表示(&C)", "", true, None},
      {"Menu_Win_Hor", "上下に並べて表示(&E)", "", true, None},
      {"Menu_Win_Ver", "左右に並べて表示(&T)", "", true, None},
      {"Menu_Win_Ico", "アイコンの整列(&I)", "", true, None},
      {"Menu_Help", "ヘルプ(&H)", "", true, None},
      {"Menu_Help_Open", "目次(&C)...", "F1", true, None},
      {"Menu_Help_About", "バージョン情報(&A)...", "", true, None},
      {"Menu_Help_Info", "現在のスクリプトの説明(&S)...", "", true, None},
  };
  for (const Item& it : items) {
    QAction* a = Frame().Menu(it.name);
    ASSERT_NE(a, nullptr) << it.name;
    EXPECT_EQ(a->text().toStdString(), it.caption) << it.name;
    EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(it.shortcut))) << it.name;
    EXPECT_EQ(a->isEnabled(), it.enabled) << it.name;
    EXPECT_EQ(a->isCheckable(), it.check != None) << it.name;
    if (it.check != None) {
      EXPECT_EQ(a->isChecked(), it.check == On) << it.name;
    }
  }
  EXPECT_FALSE(Frame().Menu("Menu_File_Recent_0")->isVisible());

  const std::pair<const char*, const char*> tools[] = {{"TB1_New", "新規作成"},
                                                       {"TB1_Open", "開く"},
                                                       {"TB1_Save", "上書き保存"},
                                                       {"TB1_ModeSelect", "選択モード"},
                                                       {"TB1_ModeDraw", "配置モード"},
                                                       {"TB1_PlayAll", "最初から再生"},
                                                       {"TB1_PlayHere", "現在の位置から再生"},
                                                       {"TB1_PlayStop", "停止"},
                                                       {"TB1_Find", "オブジェ検索"}};
  for (const auto& [key, tip] : tools) {
    ASSERT_NE(Frame().Tool(key), nullptr) << key;
    EXPECT_EQ(Frame().Tool(key)->toolTip().toStdString(), tip) << key;
  }
  EXPECT_TRUE(Frame().Tool("TB1_ModeSelect")->isChecked());
  EXPECT_FALSE(Frame().Tool("TB1_ModeDraw")->isChecked());
  Frame().Tool("TB1_ModeDraw")->click();  // one group: pressing one releases the other
  EXPECT_FALSE(Frame().Tool("TB1_ModeSelect")->isChecked());
}

TEST_F(FrameTest, WithoutPathsOneUntitledWindowOfTheDefaultScriptOpens) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(g_OpenCount, 1);
  Form1* w = WinAt(1);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(g_Docs[1].ScriptNo, g_DefaultScript);
  EXPECT_EQ(ScriptTitle(g_DefaultScript).rfind("Nexal", 0), 0u);
  EXPECT_EQ(w->windowTitle().toStdString(), "新規 - " + ScriptTitle(g_DefaultScript));
  EXPECT_EQ(g_CurWin, 1);
  EXPECT_EQ(g_Docs[1].MesCount, g_DefMeasure);
  EXPECT_EQ(Frame().Label10()->text().toStdString(), "最大小節数： 10");
  EXPECT_EQ(Frame().List(DefList::Grid1)->topLevelItemCount(), 1295);
  EXPECT_TRUE(Frame().Timer1()->isActive());  // streaming is on by default
  EXPECT_EQ(Frame().NewMenu()->actions().size(), 1 + g_ScriptCount);
}

TEST_F(FrameTest, EachPathOpensAWindowAndAPathWithBlanksIsTakenWhole) {
  const std::string blank = dir_.Write("my charts/a b.s4k", testsupport::ReadAll(Sample("simple_sample.s4k")));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = Sample("none.xyz"), .title = "警告"});
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), blank, Sample("none.xyz")}));
  EXPECT_EQ(g_OpenCount, 2);
  ASSERT_TRUE(WinAt(1) && WinAt(2));
  EXPECT_EQ(WinAt(1)->windowTitle().toStdString(), "nexal_sample.nxl - " + ScriptTitle(g_Docs[1].ScriptNo));
  EXPECT_EQ(WinAt(2)->windowTitle().toStdString(), "a b.s4k - Simple Four");
  EXPECT_EQ(g_Docs[2].Folder, dir_.path() + "/my charts/");
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 1u);  // none.xyz's
}

TEST_F(FrameTest, PathsThatNoScriptTakesAreNamedInOneMessageAndGiveTheDefaultWindow) {
  const std::string song = dir_.Write("song.xyz", "#TITLE x\r\n"), readme = dir_.Write("README", "text");
  const std::string folder = Install() + "folder.d";
  std::filesystem::create_directory(folder);
  // A chart that fails to read says so on its own and is not listed again.
  const std::string broken = dir_.Write("broken.nxl", "#BPM 1" + std::string(400, '0') + "\r\n");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = broken, .title = "エラー"});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.text = "次のファイルは開けませんでした。\r\n\r\n" + song +
                                  "\r\n    拡張子「.xyz」を読むスクリプトがありません\r\n\r\n" + Install() +
                                  "gone.xyz\r\n    ファイルが見つかりません\r\n\r\n" + readme +
                                  "\r\n    拡張子がないため、読むスクリプトが決まりません"
                                  "\r\n\r\n" +
                                  folder + "\r\n    フォルダです",
                          .title = "警告",
                          .buttons = plat::MsgButtons::Ok,
                          .icon = plat::MsgIcon::Critical});
  ASSERT_TRUE(Start({song, Install() + "gone.xyz", broken, readme, folder}));
  desk_.Verify();
  EXPECT_EQ(g_OpenCount, 1);
  EXPECT_EQ(WinAt(1)->windowTitle().toStdString(), "新規 - " + ScriptTitle(g_DefaultScript));
  EXPECT_EQ(desk_.CountOf(CallKind::Beep), 0u);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 2u);
}

TEST_F(FrameTest, ABadScriptShowsItsMessageAndEndsWithSettingsWrittenAndScratchRemoved) {
  dir_.Write("broken.dfn", "#XYZ\r\nBroken\r\n#EXT BRK\r\n");
  dir_.Write("temp.tmp", "x");
  dir_.Write("ftemp.tmp", "y");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.title = "エラー", .icon = plat::MsgIcon::Critical});
  EXPECT_FALSE(Start());
  EXPECT_TRUE(Frame().Ended());
  EXPECT_TRUE(quit_);
  EXPECT_NE(Frame().ExitStatus(), 0);  // the start failed, and the exit status says so
  // The message says that the program ends and which file to mend or take away.
  EXPECT_EQ(desk_.Calls().at(0).text,
            "不正なスクリプトファイル broken.dfn が見つかりました\r\n\r\n"
            "プログラムを終了します。\r\n" +
                Install() + "broken.dfn を直すか取り除いてから起動し直してください。");
  EXPECT_EQ(g_OpenCount, 0);
  EXPECT_FALSE(dir_.Exists("temp.tmp"));
  EXPECT_FALSE(dir_.Exists("ftemp.tmp"));
  const std::string ini = dir_.Read("Mirkan.ini");
  EXPECT_NE(ini.find("[Visibility]"), std::string::npos);
  EXPECT_EQ(ini.find("[Default]"), std::string::npos);
}

TEST_F(FrameTest, ClosingTheFrameEndsTheProgramOnceEveryChartHasClosed) {
  ASSERT_TRUE(Start());
  dir_.Write("temp.tmp", "x");
  EXPECT_TRUE(Frame().close());
  EXPECT_TRUE(Frame().Ended());
  EXPECT_TRUE(quit_);
  EXPECT_EQ(Frame().ExitStatus(), 0);
  EXPECT_FALSE(Frame().Timer1()->isActive());
  EXPECT_FALSE(dir_.Exists("temp.tmp"));
  EXPECT_TRUE(dir_.Exists("Mirkan.ini"));
}

TEST_F(FrameTest, ExitAsksForEveryModifiedChartAndCancelKeepsTheProgram) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  g_Docs[1].Dirty = -1;
  g_Docs[2].Dirty = -1;
  desk_.ExpectMessageBox(plat::MsgAnswer::No, {.text = ModifiedQuestion("nexal_sample.nxl"),
                                               .title = "確認",
                                               .buttons = plat::MsgButtons::YesNoCancel});
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, {.text = ModifiedQuestion("simple_sample.s4k")});
  Frame().Menu_File_Exit_Click();
  Pump();
  EXPECT_FALSE(Frame().Ended());
  EXPECT_FALSE(quit_);
  EXPECT_EQ(WinAt(1), nullptr);
  ASSERT_NE(WinAt(2), nullptr);
  EXPECT_EQ(g_OpenCount, 1);
  desk_.Verify();
  desk_.ExpectMessageBox(plat::MsgAnswer::No);
  Frame().Menu("Menu_File_Exit")->trigger();
  EXPECT_TRUE(Frame().Ended());
  EXPECT_TRUE(quit_);
}

TEST_F(FrameTest, WithoutThePlaybackLibraryThePreviewSaysItCannotPlay) {
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Frame().Sound().Available());
  const std::string wav = dir_.Write("kick.wav", "RIFF");
  Frame().PreviewPlay(Install() + "missing.wav");  // no file: nothing at all
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "再生できません", .title = "エラー"});
  Frame().PreviewPlay(wav);
  Frame().PreviewStop();  // nothing was given to the library
  EXPECT_EQ(Frame().Playing(), 0);
}

TEST_F(FrameTest, TheWheelOverAChartScrollsTheCurrentWindow) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  ASSERT_NE(w, nullptr);
  QScrollBar* v = w->VScroll1();
  const int max = v->maximum();
  ASSERT_EQ(v->value(), max);  // measure 0 at the bottom
  auto turn = [&](int dy) {
    const QPointF at(10, 10);
    QWheelEvent e(at, w->Picture1()->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->Picture1(), &e);
  };
  turn(-120);  // toward the user: already at the end
  EXPECT_EQ(v->value(), max);
  turn(120);
  EXPECT_EQ(v->value(), max - 12);
  EXPECT_EQ(g_Docs[1].ScrollPos, 48);
  g_Wheel = 8;
  turn(120);
  EXPECT_EQ(v->value(), max - 60);
}

TEST_F(FrameTest, SettingsRestoreTheBarsAndTheWheelItem) {
  dir_.Write("Mirkan.ini", "[Visibility]\r\nStatusbar=False\r\nDefFrame=False\r\n[Etc]\r\nWheel=8\r\n");
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Frame().Menu("Menu_View_Status")->isChecked());
  EXPECT_FALSE(Frame().statusBar()->isVisible());
  EXPECT_FALSE(Frame().DefFrame1()->isVisibleTo(Frame().Palette()));
  EXPECT_TRUE(Frame().Menu("Menu_View_Scroll_Value_3")->isChecked());
  EXPECT_FALSE(Frame().Menu("Menu_View_Scroll_Value_2")->isChecked());
  Frame().Menu("Menu_View_Scroll_Value_1")->trigger();
  EXPECT_EQ(g_Wheel, 1);
  EXPECT_FALSE(Frame().Menu("Menu_View_Scroll_Value_3")->isChecked());
  Frame().close();
  const std::string ini = dir_.Read("Mirkan.ini");
  EXPECT_NE(ini.find("Wheel= 1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Statusbar=False"), std::string::npos);
}

// A saved place where a screen no longer is, or a size no screen holds, brings the frame up on
// the screen; a place on the screen stays as it was saved.
TEST_F(FrameTest, ASavedPlaceIsUsedOnlyAsFarAsAScreenShowsIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_GE(screen.width(), 500);
  ASSERT_GE(screen.height(), 400);
  auto twips = [](int px) { return std::to_string(px * 15); };
  const struct {
    const char* name;
    int left, top, width, height;
    const char* corner;  // where the frame ends up: "saved" (as saved), "top left", "bottom right" of the screen
  } cases[] = {
      {"on the screen", screen.x() + 100, screen.y() + 100, 400, 300, "saved"},
      {"where a second screen was", screen.right() + 1066, screen.bottom() + 1000, 400, 300, "bottom right"},
      {"far above and left", -66666, -66666, 400, 300, "top left"},
      {"larger than any screen", screen.x() + 10, screen.y() + 10, 66666666, 66666666, "top left"},
  };
  QSize kept;  // the frame's size for a saved 400 x 300 (its minimum width may be more)
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    dir_.Write("Mirkan.ini", "[Window]\r\nTop=" + twips(c.top) + "\r\nLeft=" + twips(c.left) +
                                 "\r\nWidth=" + twips(c.width) + "\r\nHeight=" + twips(c.height) + "\r\n");
    ASSERT_TRUE(Start());
    const QRect outer = Frame().frameGeometry();
    EXPECT_TRUE(screen.contains(outer)) << outer.x() << "," << outer.y() << " " << outer.width() << "x"
                                        << outer.height();
    const std::string corner = c.corner;
    if (corner == "saved") {
      EXPECT_EQ(Frame().geometry().topLeft(), QPoint(c.left, c.top));
      kept = outer.size();
    } else if (c.width == 400) {
      EXPECT_EQ(outer.size(), kept);
    }
    if (corner == "top left") {
      EXPECT_EQ(outer.topLeft(), screen.topLeft());
    } else if (corner == "bottom right") {
      EXPECT_EQ(outer.bottomRight(), screen.bottomRight());
    }
  }
}

}  // namespace

namespace {

TEST(SoundLibTest, AMissingOrIncompleteLibraryLeavesTheProgramSilent) {
  SoundLib s;
  EXPECT_FALSE(s.Open("/no/such/folder/libzq_tone2.so"));
  EXPECT_FALSE(s.Available());
  EXPECT_FALSE(s.Error().empty());
  EXPECT_EQ(s.Init(nullptr, 0, 0), 1);
  EXPECT_EQ(s.Load("/x.wav", 0), 1);
  EXPECT_EQ(s.Play(), 1);
  EXPECT_EQ(s.Stop(), 1);
  EXPECT_EQ(s.Stream(), 1);
  EXPECT_EQ(s.Term(), 0);
  EXPECT_FALSE(s.Open("libm.so.6"));  // a library without the nine functions
  EXPECT_FALSE(s.Available());
  EXPECT_NE(s.Error().find("DSLib_Init"), std::string::npos);
}

#ifdef MIRKAN_HAVE_ZQ_TONE2
TEST_F(FrameTest, ThePlaybackLibraryFromTheInstallFolderPlaysAPreview) {
  qputenv("SDL_AUDIODRIVER", "dummy");  // no sound card needed
  SoundLib probe;
  ASSERT_TRUE(probe.Open(std::string(MIRKAN_BIN_DIR) + "/libzq_tone2.so")) << probe.Error();
  EXPECT_EQ(probe.ChangeStreamSec(7), 20);
  probe.Close();
  mk::FrameOptions o;
  o.installDir = Install();
  o.soundLibrary = std::string(MIRKAN_BIN_DIR) + "/libzq_tone2.so";
  o.quit = [this] { quit_ = true; };
  frame_ = std::make_unique<mk::FormP>(o);
  ASSERT_TRUE(frame_->MDIForm_Load());
  // The device opens only after the frame's first paint; a preview asked for earlier waits for it.
  EXPECT_TRUE(frame_->Sound().Opening());
  // 100 samples of 8-bit mono PCM at 22050 Hz.
  std::string wav = "RIFF";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    wav.push_back(static_cast<char>(v));
    wav.push_back(static_cast<char>(v >> 8));
  };
  u32(36 + 100);
  wav += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(22050);
  u32(22050);
  u16(1);
  u16(8);
  wav += "data";
  u32(100);
  wav.append(100, static_cast<char>(0x80));
  const std::string file = dir_.Write("tone.wav", wav);
  frame_->PreviewPlay(file);
  EXPECT_FALSE(frame_->Sound().Opening());
  EXPECT_EQ(frame_->Sound().WaitOpen(), 0);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  EXPECT_EQ(frame_->Playing(), -1);
  frame_->PreviewStop();
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
}

TEST_F(FrameTest, TheSoundDeviceOpensAfterTheFirstPaintWithoutHoldingItUp) {
  qputenv("SDL_AUDIODRIVER", "dummy");
  mk::FrameOptions o;
  o.installDir = Install();
  o.soundLibrary = std::string(MIRKAN_BIN_DIR) + "/libzq_tone2.so";
  o.quit = [this] { quit_ = true; };
  frame_ = std::make_unique<mk::FormP>(o);
  ASSERT_TRUE(frame_->MDIForm_Load());
  EXPECT_TRUE(frame_->Sound().Opening());
  frame_->repaint();  // the first paint
  for (int i = 0; i < 200 && frame_->Sound().Opening(); ++i) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
  EXPECT_FALSE(frame_->Sound().Opening());
  EXPECT_EQ(frame_->Sound().WaitOpen(), 0);
  EXPECT_TRUE(frame_->Sound().Available());
}

// Standard error while fn runs.
std::string StderrOf(const std::function<void()>& fn) {
  std::fflush(stderr);
  char name[] = "/tmp/mirkan-stderr-XXXXXX";
  const int fd = mkstemp(name);
  const int saved = dup(2);
  dup2(fd, 2);
  fn();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buf[4096];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(fd);
  unlink(name);
  return text;
}

// Without a device the sound system's own error pages stay off standard error; one line says
// that there is no sound device. Where a sound card is present nothing is said at all.
TEST(SoundLibTest, NoSoundDeviceIsSaidInOneLine) {
  const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
  for (const char* d : {"alsa", "no-such-driver"}) {
    qputenv("SDL_AUDIODRIVER", d);
    int init = -2;
    const std::string err = StderrOf([&] {
      SoundLib s;
      s.OpenLater(std::string(MIRKAN_BIN_DIR) + "/libzq_tone2.so", nullptr, 5);
      init = s.WaitOpen();
      EXPECT_EQ(s.Play(), 1);  // nothing loaded
    });
    SCOPED_TRACE(d);
    if (init == 0) {
      EXPECT_EQ(err, "");
      continue;
    }
    EXPECT_EQ(init, 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("サウンドデバイスがありません"), std::string::npos) << err;
  }
  qputenv("SDL_AUDIODRIVER", driver);
}

// Term before the opening started opens nothing.
TEST(SoundLibTest, EndingBeforeTheOpeningStartedOpensNothing) {
  SoundLib s;
  s.OpenLater("/no/such/folder/libzq_tone2.so", nullptr, 5);
  EXPECT_TRUE(s.Opening());
  EXPECT_EQ(s.Term(), 0);
  EXPECT_FALSE(s.Opening());
  EXPECT_FALSE(s.Available());
  EXPECT_TRUE(s.Error().empty());  // never tried
}
#endif

}  // namespace
