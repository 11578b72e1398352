// The Play menu on the real frame: test play through a fake player that records how it was
// started, its failures, and the object-sound switch.
#include <QAction>
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "chartfmt/chartwrite.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/mixedbutton.h"
#include "frame/settings.h"
#include "frame_fixture.h"
#include "platform/qtui/qt_desktop.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// Appends one line per start to calls.log beside itself: each argument in brackets.
constexpr const char* kFakePlayer =
    "#!/bin/sh\n"
    "line=''\n"
    "for a in \"$@\"; do line=\"$line[$a]\"; done\n"
    "printf '%s\\n' \"$line\" >> \"$(dirname \"$0\")/calls.log\"\n";

std::string WritePlayer(const std::string& install) {
  const std::string path = install + "nxview.sh";  // the shipped Nexal script's player
  testsupport::WriteAll(path, kFakePlayer);
  fs::permissions(path, fs::perms::owner_all);
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) out.push_back(text.substr(at, nl - at));
  return out;
}

// The log's lines once it has n of them (the player runs on its own, so this waits a little).
std::vector<std::string> AwaitLines(const std::string& log, size_t n) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::vector<std::string> lines;
  while ((lines = Lines(testsupport::ReadAll(log))).size() < n && std::chrono::steady_clock::now() < end)
    QThread::msleep(20);
  std::sort(lines.begin(), lines.end());  // two starts at once may land in either order
  return lines;
}

Args ArgsOf(const testsupport::DesktopCall& c) { return c.args; }

int16_t ScriptNumber(const std::string& file) {
  for (int i = 1; i <= g_ScriptCount; ++i)
    if (fs::path(g_ScriptTable[i].Path).filename() == file) return static_cast<int16_t>(i);
  return 0;
}

TEST_F(FrameTest, PlayAllAndPlayHereStartThePlayerOnTheScratchChartAndStopStartsItOnce) {
  const std::string program = WritePlayer(Install());
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  ASSERT_NE(w, nullptr);
  for (const char* m : {"Menu_Play_PlayAll", "Menu_Play_PlayHere", "Menu_Play_Stop"})
    EXPECT_TRUE(Frame().Menu(m)->isEnabled()) << m;
  const std::string scratch = ScratchFilePath("temp.tmp");
  EXPECT_EQ(fs::path(scratch).parent_path(), fs::canonical(dir_.path()));

  Frame().Menu("Menu_Play_PlayAll")->trigger();
  auto starts = desk_.CallsOf(CallKind::StartProgram);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].path, program);
  EXPECT_EQ(ArgsOf(starts[0]), (Args{"-load", scratch}));
  EXPECT_EQ(starts[1].path, program);
  EXPECT_EQ(ArgsOf(starts[1]), (Args{"-play"}));
  const std::string text = testsupport::ReadAll(scratch);
  EXPECT_NE(text.find("#STARTBPM "), std::string::npos) << "the player's own keywords";
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);

  const struct {
    int32_t pos;
    const char* arg;
  } here[] = {{0, "-measure0"}, {191, "-measure0"}, {192, "-measure1"}, {192 * 7 + 100, "-measure7"}};
  for (const auto& h : here) {
    desk_.ClearCalls();
    g_Docs[1].ScrollPos = h.pos;
    Frame().Menu("Menu_Play_PlayHere")->trigger();
    starts = desk_.CallsOf(CallKind::StartProgram);
    ASSERT_EQ(starts.size(), 2u) << h.pos;
    EXPECT_EQ(ArgsOf(starts[0]), (Args{"-load", scratch}));
    EXPECT_EQ(ArgsOf(starts[1]), (Args{h.arg})) << h.pos;
  }

  desk_.ClearCalls();
  fs::remove(scratch);
  Frame().Menu("Menu_Play_Stop")->trigger();
  starts = desk_.CallsOf(CallKind::StartProgram);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(ArgsOf(starts[0]), (Args{"-stop"}));
  EXPECT_FALSE(fs::exists(scratch)) << "stop writes nothing";

  // The toolbar buttons run the same commands.
  desk_.ClearCalls();
  Frame().Tool("TB1_PlayAll")->click();
  Frame().Tool("TB1_PlayHere")->click();
  Frame().Tool("TB1_PlayStop")->click();
  starts = desk_.CallsOf(CallKind::StartProgram);
  ASSERT_EQ(starts.size(), 5u);
  EXPECT_EQ(ArgsOf(starts[1]), (Args{"-play"}));
  EXPECT_EQ(ArgsOf(starts[3]), (Args{"-measure7"}));
  EXPECT_EQ(ArgsOf(starts[4]), (Args{"-stop"}));

  // Closing the program removes the scratch chart.
  Frame().close();
  EXPECT_FALSE(fs::exists(scratch));
}

TEST_F(FrameTest, TestPlayOfAnUntitledChartDropsItsSelectionAndKeepsItModified) {
  WritePlayer(Install());
  ASSERT_TRUE(Start());
  const int16_t nexal = ScriptNumber("nexal.dfn");
  ASSERT_GT(nexal, 0);
  Frame().Menu_File_New_N_Click(nexal);
  Pump();
  Form1* w = WinAt(g_CurWin);
  ASSERT_NE(w, nullptr);
  DocData& d = g_Docs[g_CurWin];
  ASSERT_TRUE(Frame().Menu("Menu_Play_PlayAll")->isEnabled());
  d.Sel.assign(2, SelEntry{});
  d.Sel[1] = SelEntry{1, 0, 0, 1, 0};  // sound 01 on Key1 at the start of measure 0
  d.SelCount = 1;
  d.Dirty = -1;
  w->CheckDirty();
  const QString caption = w->windowTitle();

  Frame().Menu("Menu_Play_PlayAll")->trigger();
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_EQ(w->windowTitle(), caption);
  EXPECT_TRUE(d.FileName.empty());
  EXPECT_EQ(desk_.CountOf(CallKind::StartProgram), 2u);
  const std::string text = testsupport::ReadAll(ScratchFilePath("temp.tmp"));
  EXPECT_NE(text.find("#000N1:01"), std::string::npos) << text;  // the object, in the player's channel
}

TEST_F(FrameTest, APlayerThatCannotStartOrAScratchChartThatCannotBeWrittenIsReported) {
  const std::string program = WritePlayer(Install());
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));

  // The player does not start: one message naming it, and no second start.
  desk_.SetActionResult(CallKind::StartProgram, false);
  for (const char* m : {"Menu_Play_PlayAll", "Menu_Play_PlayHere", "Menu_Play_Stop"}) {
    desk_.ClearCalls();
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                           {.textContains = program, .title = "エラー", .icon = plat::MsgIcon::Critical});
    Frame().Menu(m)->trigger();
    desk_.Verify();
    EXPECT_EQ(desk_.CountOf(CallKind::StartProgram), 1u) << m;
  }
  desk_.SetActionResult(CallKind::StartProgram, true);

  // The scratch chart cannot be written (a folder stands in its place): said, and no player.
  const std::string scratch = ScratchFilePath("temp.tmp");
  fs::remove(scratch);
  fs::create_directory(scratch);
  for (const char* m : {"Menu_Play_PlayAll", "Menu_Play_PlayHere"}) {
    desk_.ClearCalls();
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "temp.tmp", .title = "エラー"});
    Frame().Menu(m)->trigger();
    desk_.Verify();
    EXPECT_EQ(desk_.CountOf(CallKind::StartProgram), 0u) << m;
  }
  fs::remove(scratch);

  // A script whose player is not in the install folder offers no test play.
  fs::remove(program);
  WinAt(1)->SetThisWin();
  for (const char* m : {"Menu_Play_PlayAll", "Menu_Play_PlayHere", "Menu_Play_Stop"})
    EXPECT_FALSE(Frame().Menu(m)->isEnabled()) << m;
  EXPECT_FALSE(Frame().Tool("TB1_PlayAll")->isEnabled());
}

// The scripted desktop that starts programs for real, as the program's own desktop does, and
// notes how long each start waits for its program to end.
class StartingDesktop : public testsupport::ScopedDesktop {
 public:
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override {
    return StartProgramAndWait(program, args, 0);
  }
  bool StartProgramAndWait(const std::string& program, const std::vector<std::string>& args, int waitMs) override {
    ScriptedDesktop::StartProgram(program, args);
    waits.push_back(waitMs);
    return real_.StartProgramAndWait(program, args, waitMs);
  }
  std::vector<int> waits;

 private:
  plat::QtDesktop real_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(FrameTest, TheFakePlayerIsStartedWithItsArgumentsAlsoFromAnInstallFolderWithBlanks) {
  const std::string install = dir_.path() + "/my \"install\" folder/";
  fs::create_directories(install + "samples");
  for (const auto& e : fs::directory_iterator(dir_.path()))
    if (e.path().extension() == ".dfn") fs::copy_file(e.path(), install + e.path().filename().string());
  fs::copy_file(Sample("nexal_sample.nxl"), install + "samples/nexal sample.nxl");
  const std::string program = WritePlayer(install);
  const std::string log = install + "calls.log";

  StartingDesktop desk;
  FrameOptions o;
  o.installDir = install;
  o.args = {install + "samples/nexal sample.nxl"};
  o.soundLibrary = install + "no-such-library.so";
  o.quit = [this] { quit_ = true; };
  frame_ = std::make_unique<FormP>(o);
  ASSERT_TRUE(frame_->MDIForm_Load());
  Pump();
  ASSERT_NE(WinAt(1), nullptr);
  const std::string scratch = ScratchFilePath("temp.tmp");
  EXPECT_EQ(scratch, fs::canonical(install).string() + "/temp.tmp");

  frame_->Menu("Menu_Play_PlayAll")->trigger();
  EXPECT_EQ(AwaitLines(log, 2), (std::vector<std::string>{"[-load][" + scratch + "]", "[-play]"}));
  fs::remove(log);
  g_Docs[1].ScrollPos = 192 * 3;
  frame_->Menu("Menu_Play_PlayHere")->trigger();
  EXPECT_EQ(AwaitLines(log, 2), (std::vector<std::string>{"[-load][" + scratch + "]", "[-measure3]"}));
  fs::remove(log);
  frame_->Menu("Menu_Play_Stop")->trigger();
  EXPECT_EQ(AwaitLines(log, 1), (std::vector<std::string>{"[-stop]"}));
  EXPECT_EQ(desk.CountOf(CallKind::MessageBox), 0u);

  // A player that is there but cannot run: the message names it.
  fs::remove(log);
  fs::permissions(program, fs::perms::owner_read | fs::perms::owner_write);
  desk.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = program, .title = "エラー"});
  frame_->Menu("Menu_Play_PlayAll")->trigger();
  desk.Verify();
  EXPECT_EQ(desk.CountOf(CallKind::StartProgram), 1u + 5u);
  QThread::msleep(200);
  EXPECT_FALSE(fs::exists(log));
  frame_->close();
  frame_.reset();
}

// The lines of a log as they stand once it has n of them, in the order they were written.
std::string AwaitLog(const std::string& log, size_t n) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string text = testsupport::ReadAll(log);
  while (Lines(text).size() < n && std::chrono::steady_clock::now() < end) {
    QThread::msleep(20);
    text = testsupport::ReadAll(log);
  }
  return text;
}

// The play command is started only once the load command has ended (within a bound), so that
// the play finds the chart handed over.
TEST_F(FrameTest, ThePlayCommandStartsOnceTheLoadCommandHasEnded) {
  const std::string program = Install() + "nxview.sh";
  testsupport::WriteAll(
      program,
      "#!/bin/sh\n"
      "log=\"$(dirname \"$0\")/calls.log\"\n"
      "case \"$1\" in -load) sleep 0.2; echo load >> \"$log\" ;; *) echo \"$1\" >> \"$log\" ;; esac\n");
  fs::permissions(program, fs::perms::owner_all);
  const std::string log = Install() + "calls.log";
  StartingDesktop desk;
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Frame().Menu("Menu_Play_PlayAll")->trigger();
  EXPECT_EQ(AwaitLog(log, 2), "load\n-play\n");
  g_Docs[1].ScrollPos = 192 * 2;
  Frame().Menu("Menu_Play_PlayHere")->trigger();
  EXPECT_EQ(AwaitLog(log, 4), "load\n-play\nload\n-measure2\n");
  Frame().Menu("Menu_Play_Stop")->trigger();
  EXPECT_EQ(AwaitLog(log, 5), "load\n-play\nload\n-measure2\n-stop\n");
  EXPECT_EQ(desk.waits, (std::vector<int>{desk.waits[0], 0, desk.waits[0], 0, 0}));
  EXPECT_GT(desk.waits[0], 0);
  EXPECT_EQ(desk.CountOf(CallKind::MessageBox), 0u);
}

// The shipped wrapper between the program and the user's player: Play all, Play from here and
// Stop reach the player with the chart and the measure.
TEST_F(FrameTest, PlayAllPlayHereAndStopReachTheUsersPlayerThroughTheShippedWrapper) {
  fs::remove(Install() + "nxview.sh");
  fs::copy_file(std::string(MIRKAN_BIN_DIR) + "/nxview.sh", Install() + "nxview.sh");
  const std::string player = dir_.Write("the player.sh",
                                        "#!/bin/sh\n"
                                        "at=\"$(dirname \"$0\")\"\n"
                                        "trap 'echo stopped >> \"$at/stops.log\"; exit 0' TERM\n"
                                        "echo \"[$1][$2]\" >> \"$at/starts.log\"\n"
                                        "while :; do sleep 0.05; done\n");
  fs::permissions(player, fs::perms::owner_all);
  fs::create_directory(dir_.Path("run"));
  fs::permissions(dir_.Path("run"), fs::perms::owner_all);
  ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.Path("run"));
  ScopedEnv chosen("MIRKAN_PLAYER", "\"" + player + "\" {measure} {chart}");
  StartingDesktop desk;
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  const std::string scratch = ScratchFilePath("temp.tmp");
  const std::string starts = dir_.Path("starts.log"), stops = dir_.Path("stops.log");

  Frame().Menu("Menu_Play_PlayAll")->trigger();
  EXPECT_EQ(AwaitLog(starts, 1), "[0][" + scratch + "]\n");
  g_Docs[1].ScrollPos = 192 * 3 + 5;
  Frame().Menu("Menu_Play_PlayHere")->trigger();
  EXPECT_EQ(AwaitLog(starts, 2), "[0][" + scratch + "]\n[3][" + scratch + "]\n");
  EXPECT_EQ(AwaitLog(stops, 1), "stopped\n") << "the play before it stopped";
  Frame().Menu("Menu_Play_Stop")->trigger();
  EXPECT_EQ(AwaitLog(stops, 2), "stopped\nstopped\n");
  const auto calls = desk.CallsOf(CallKind::StartProgram);
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(ArgsOf(calls[0]), (Args{"-load", scratch}));
  EXPECT_EQ(ArgsOf(calls[1]), (Args{"-play"}));
  EXPECT_EQ(ArgsOf(calls[3]), (Args{"-measure3"}));
  EXPECT_EQ(ArgsOf(calls[4]), (Args{"-stop"}));
  EXPECT_EQ(desk.CountOf(CallKind::MessageBox), 0u);
  EXPECT_EQ(AwaitLog(starts, 2), "[0][" + scratch + "]\n[3][" + scratch + "]\n") << "nothing else was played";
}

TEST_F(FrameTest, TheObjectSoundSwitchTurnsWithItsCheckMarkAndIsSavedAtExit) {
  ASSERT_TRUE(Start());
  QAction* po = Frame().Menu("Menu_Play_PlayObj");
  ASSERT_FALSE(po->isChecked());
  ASSERT_EQ(g_PlayObj, 0);
  po->trigger();
  EXPECT_TRUE(po->isChecked());
  EXPECT_EQ(g_PlayObj, -1);
  po->trigger();
  EXPECT_FALSE(po->isChecked());
  EXPECT_EQ(g_PlayObj, 0);
  po->trigger();
  // Stop before any preview: nothing happens.
  Frame().PreviewStop();
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  Frame().close();
  EXPECT_NE(dir_.Read("Mirkan.ini").find("PlayObj=True"), std::string::npos);
}

}  // namespace
