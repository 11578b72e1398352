// The desktop interface: filter parsing, the missing-desktop guard and the scripted test desktop.
#include "platform/core/desktop.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "scripted_desktop.h"

namespace {

using plat::MsgAnswer;
using plat::MsgButtons;
using plat::MsgIcon;
using testsupport::CallKind;
using testsupport::ScopedDesktop;

TEST(Desktop, ParseFilterTable) {
  const struct {
    const char* filter;
    std::vector<plat::FilterEntry> want;
  } cases[] = {
      {"画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|", {{"画像ファイル(*.bmp;*.jpg)", {"*.bmp", "*.jpg"}}}},
      {"A|*.nxl|B|*.tpl;*.tpx|All|*.*", {{"A", {"*.nxl"}}, {"B", {"*.tpl", "*.tpx"}}, {"All", {"*.*"}}}},
      {"A|*.a|A|*.a|", {{"A", {"*.a"}}, {"A", {"*.a"}}}},  // repeated entries keep their places
      {"Empty||B|*.b", {{"Empty", {}}, {"B", {"*.b"}}}},   // an empty list holds its place
      {"A| *.a ; ;*.b", {{"A", {"*.a", "*.b"}}}},
      {"Lone", {{"Lone", {}}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    auto got = plat::ParseFilter(c.filter);
    ASSERT_EQ(got.size(), c.want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].description, c.want[i].description);
      EXPECT_EQ(got[i].patterns, c.want[i].patterns);
    }
  }
}

TEST(Desktop, NoDesktopInstalledFailsLoudly) {
  plat::Desktop* prev = plat::SetDesktop(nullptr);
  EXPECT_THROW(plat::TheDesktop().MessageBox("x", "エラー", MsgButtons::Ok, MsgIcon::Critical), std::logic_error);
  EXPECT_THROW(plat::TheDesktop().Beep(), std::logic_error);
  plat::SetDesktop(prev);
}

TEST(ScriptedDesktop, AnswersExpectedDialogsInOrderAndRecords) {
  ScopedDesktop desk;
  EXPECT_EQ(&plat::TheDesktop(), &desk);
  desk.ExpectMessageBox(MsgAnswer::Yes, {.textContains = "保存", .title = "確認", .buttons = MsgButtons::YesNoCancel});
  desk.ExpectInputBox("12", {.title = "小節数"});
  desk.ExpectInputBox(std::nullopt);
  desk.ExpectSaveFile(testsupport::Chosen("/tmp/songs/a.nxl", 2), {.filterIndex = 1});
  desk.ExpectOpenFile(testsupport::Cancelled());
  desk.SetActionResult(CallKind::StartProgram, false);

  plat::Desktop& d = plat::TheDesktop();
  EXPECT_EQ(d.MessageBox("変更を保存しますか?", "確認", MsgButtons::YesNoCancel, MsgIcon::Question), MsgAnswer::Yes);
  d.SetWaitCursor(true);
  auto in = d.InputBox("小節数を入力", "小節数", "10");
  EXPECT_FALSE(in.cancelled);
  EXPECT_EQ(in.text, "12");
  EXPECT_TRUE(d.InputBox("p", "t", "").cancelled);
  d.Beep();
  plat::FileDialogRequest req;
  req.filter = "A|*.nxl|";
  auto saved = d.SaveFileDialog(req);
  EXPECT_FALSE(saved.cancelled);
  EXPECT_EQ(saved.path, "/tmp/songs/a.nxl");
  EXPECT_EQ(saved.fileTitle, "a.nxl");
  EXPECT_EQ(saved.filterIndex, 2);
  EXPECT_TRUE(d.OpenFileDialog(req).cancelled);
  EXPECT_FALSE(d.StartProgram("/usr/bin/player", {"-play", "temp.tmp"}));
  EXPECT_TRUE(d.OpenDocument("/x/help.html"));
  d.SetWaitCursor(false);

  EXPECT_EQ(desk.PendingExpectations(), 0u);
  EXPECT_EQ(desk.Calls().size(), 10u);
  EXPECT_EQ(desk.CountOf(CallKind::InputBox), 2u);
  EXPECT_EQ(desk.CountOf(CallKind::Beep), 1u);
  EXPECT_FALSE(desk.WaitCursorOn());
  auto started = desk.CallsOf(CallKind::StartProgram);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].args, (std::vector<std::string>{"-play", "temp.tmp"}));
}

TEST(ScriptedDesktop, UnexpectedDialogFailsTheTest) {
  ScopedDesktop desk;
  MsgAnswer answer = MsgAnswer::Ok;
  EXPECT_NONFATAL_FAILURE(answer = plat::TheDesktop().MessageBox("ファイルが見つかりません", "エラー",
                                                                 MsgButtons::YesNo, MsgIcon::Critical),
                          "unexpected desktop call MessageBox");
  EXPECT_EQ(answer, MsgAnswer::No);  // answered as cancelled
  plat::InputResult in;
  in.cancelled = false;
  EXPECT_NONFATAL_FAILURE(in = plat::TheDesktop().InputBox("p", "t", "d"), "unexpected desktop call");
  EXPECT_TRUE(in.cancelled);
  EXPECT_NONFATAL_FAILURE(plat::TheDesktop().OpenFileDialog({}), "OpenFileDialog");
  EXPECT_FALSE(desk.Calls()[0].expected);
}

TEST(ScriptedDesktop, DialogOfAnotherKindThanExpectedFails) {
  ScopedDesktop desk;
  desk.ExpectInputBox("x");
  EXPECT_NONFATAL_FAILURE(plat::TheDesktop().MessageBox("m", "t", MsgButtons::Ok, MsgIcon::None),
                          "while InputBox was expected next");
  EXPECT_EQ(plat::TheDesktop().InputBox("p", "t", "").text, "x");  // the expectation stays
}

TEST(ScriptedDesktop, DetailsThatDifferFailButStillAnswer) {
  ScopedDesktop desk;
  desk.ExpectMessageBox(MsgAnswer::Retry, {.title = "警告", .icon = MsgIcon::Exclamation});
  MsgAnswer a = MsgAnswer::Ok;
  EXPECT_NONFATAL_FAILURE(a = plat::TheDesktop().MessageBox("m", "エラー", MsgButtons::RetryCancel,
                                                            MsgIcon::Exclamation),
                          "title differs");
  EXPECT_EQ(a, MsgAnswer::Retry);
  desk.ExpectSaveFile(testsupport::Cancelled(), {.filter = "A|*.a|"});
  plat::FileDialogRequest req;
  req.filter = "B|*.b|";
  EXPECT_NONFATAL_FAILURE(plat::TheDesktop().SaveFileDialog(req), "filter differs");
}

TEST(ScriptedDesktop, LeftOverExpectationsFailAtTheEnd) {
  plat::Desktop* before = &plat::TheDesktop();
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedDesktop desk;
        desk.ExpectMessageBox(MsgAnswer::Ok);
      },
      "expected desktop call MessageBox did not come");
  EXPECT_EQ(&plat::TheDesktop(), before);  // the previous desktop is back
}

TEST(ScriptedDesktop, ScopesNest) {
  ScopedDesktop outer;
  {
    ScopedDesktop inner;
    inner.ExpectInputBox("in");
    EXPECT_EQ(plat::TheDesktop().InputBox("", "", "").text, "in");
  }
  outer.ExpectInputBox("out");
  EXPECT_EQ(plat::TheDesktop().InputBox("", "", "").text, "out");
  EXPECT_EQ(outer.Calls().size(), 1u);
}

}  // namespace
