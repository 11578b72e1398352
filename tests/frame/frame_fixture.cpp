#include "frame_fixture.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <filesystem>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/formglobals.h"
#include "frame/settings.h"

namespace testsupport {

namespace fs = std::filesystem;

void FrameTest::SetUpTestSuite() {
  if (!QApplication::instance()) {
    static int argc = 1;
    static char name[] = "frame_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

void FrameTest::SetUp() {
  mk::ResetSettings();
  mk::ResetWindowTable();
  mk::g_ScriptTable = {mk::ScriptEntry{}};
  mk::g_ScriptCount = 0;
  mk::g_Wins.clear();
  mk::g_Ending = false;
  mk::g_Filling = mk::g_SkipActivate = mk::g_SaveCancel = mk::g_TextFocus = 0;
  mk::ClearClipboard();
  const fs::path src = fs::path(MIRKAN_SOURCE_DIR) / "scripts";
  for (const auto& e : fs::directory_iterator(src))
    if (e.path().extension() == ".dfn") fs::copy_file(e.path(), fs::path(dir_.path()) / e.path().filename());
  fs::copy(fs::path(MIRKAN_SOURCE_DIR) / "samples", fs::path(dir_.path()) / "samples", fs::copy_options::recursive);
}

void FrameTest::TearDown() {
  frame_.reset();
  Pump();
  mk::g_Wins.clear();
  mk::ResetWindowTable();
}

void FrameTest::Fresh() {
  TearDown();
  desk_.Verify();
  desk_.ClearCalls();
  quit_ = false;
  for (const auto& e : fs::directory_iterator(dir_.path())) fs::remove_all(e.path());
  SetUp();
}

bool FrameTest::Start(std::vector<std::string> args) {
  mk::FrameOptions o;
  o.installDir = Install();
  o.args = std::move(args);
  o.soundLibrary = Install() + "no-such-library.so";
  o.quit = [this] { quit_ = true; };
  frame_ = std::make_unique<mk::FormP>(o);
  const bool ok = frame_->MDIForm_Load();
  Pump();
  return ok;
}

void FrameTest::Pump() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

std::string FrameTest::Sample(const std::string& name) const { return dir_.path() + "/samples/" + name; }

std::string FrameTest::ScriptTitle(int script) const { return mk::g_ScriptTable.at(script).Title; }

mk::Form1* FrameTest::Open(const std::string& path) {
  EXPECT_EQ(frame_->QueryScriptOpen(path, -1), 1) << path;
  Pump();
  return mk::WinAt(mk::g_CurWin);
}

void FrameTest::Activate(mk::Form1* w) {
  frame_->MdiArea()->setActiveSubWindow(w);
  Pump();
}

}  // namespace testsupport
