// A desktop for tests: every dialog must be announced beforehand with its answer.
//
//   testsupport::ScopedDesktop desk;                       // installed until the end of scope
//   desk.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認", .buttons = plat::MsgButtons::YesNo});
//   desk.ExpectSaveFile(testsupport::Chosen("/tmp/a.nxl", 2));
//   RunTheCodeUnderTest();
//   EXPECT_EQ(desk.Calls().size(), 2u);
//
// Dialogs (message box, input box, open and save dialogs) are answered from one queue in the
// order they were expected. A dialog that was not expected, or one of another kind than the
// next expectation, fails the test (ADD_FAILURE) and is answered as cancelled. A dialog whose
// details differ from what the expectation names fails the test but still gets the scripted
// answer. Expectations left over when the scope ends (or at Verify) fail the test too.
// Beep, the wait cursor, opening documents and starting programs are no dialogs: they are only
// recorded (and answer with the results set by SetActionResult).
#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/desktop.h"

namespace testsupport {

// What an expected message box must look like; fields left empty are not checked. (Every field
// has a default initializer, so designated initializers naming only some stay warning-free.)
struct MsgMatch {
  std::optional<std::string> text{};          // the whole text
  std::optional<std::string> textContains{};  // a part of the text
  std::optional<std::string> title{};
  std::optional<plat::MsgButtons> buttons{};
  std::optional<plat::MsgIcon> icon{};
};

struct InputMatch {
  std::optional<std::string> prompt{};
  std::optional<std::string> promptContains{};
  std::optional<std::string> title{};
  std::optional<std::string> defaultText{};
};

struct FileMatch {
  std::optional<std::string> title{};
  std::optional<std::string> filter{};
  std::optional<int> filterIndex{};
  std::optional<std::string> initialDir{};
  std::optional<std::string> initialName{};
};

// Answers for the file dialogs: a chosen path (its file title derived) or a cancel.
plat::FileDialogResult Chosen(const std::string& path, int filterIndex = 1);
plat::FileDialogResult Cancelled();

enum class CallKind {
  MessageBox,
  InputBox,
  OpenFile,
  SaveFile,
  Beep,
  WaitCursor,
  OpenDocument,
  FileProperties,
  StartProgram
};
const char* CallKindName(CallKind k);

// One recorded call with its arguments (only the fields of its kind are set).
struct DesktopCall {
  CallKind kind = CallKind::MessageBox;
  std::string text;   // message text, input prompt
  std::string title;  // message, input and file dialog title
  plat::MsgButtons buttons = plat::MsgButtons::Ok;
  plat::MsgIcon icon = plat::MsgIcon::None;
  std::string defaultText;
  plat::FileDialogRequest request;
  bool on = false;   // wait cursor
  std::string path;  // document, properties, program
  std::vector<std::string> args;
  bool expected = true;  // false when the call failed the test as unexpected
};

class ScriptedDesktop : public plat::Desktop {
 public:
  ~ScriptedDesktop() override = default;

  void ExpectMessageBox(plat::MsgAnswer answer, MsgMatch match = {});
  // answer nullopt: the user cancels.
  void ExpectInputBox(std::optional<std::string> answer, InputMatch match = {});
  void ExpectOpenFile(plat::FileDialogResult answer, FileMatch match = {});
  void ExpectSaveFile(plat::FileDialogResult answer, FileMatch match = {});

  // Results of OpenDocument, ShowFileProperties and StartProgram (true unless set).
  void SetActionResult(CallKind kind, bool result);

  // Fails the test for every expected dialog that did not come, then forgets them.
  void Verify();
  size_t PendingExpectations() const { return queue_.size(); }

  const std::vector<DesktopCall>& Calls() const { return calls_; }
  std::vector<DesktopCall> CallsOf(CallKind kind) const;
  size_t CountOf(CallKind kind) const { return CallsOf(kind).size(); }
  bool WaitCursorOn() const { return waitCursor_; }
  void ClearCalls() { calls_.clear(); }

  // plat::Desktop
  plat::MsgAnswer MessageBox(const std::string& text, const std::string& title, plat::MsgButtons buttons,
                             plat::MsgIcon icon) override;
  plat::InputResult InputBox(const std::string& prompt, const std::string& title,
                             const std::string& defaultText) override;
  plat::FileDialogResult OpenFileDialog(const plat::FileDialogRequest& req) override;
  plat::FileDialogResult SaveFileDialog(const plat::FileDialogRequest& req) override;
  void Beep() override;
  void SetWaitCursor(bool on) override;
  bool OpenDocument(const std::string& path) override;
  bool ShowFileProperties(const std::string& path) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;

 private:
  struct Expectation {
    CallKind kind = CallKind::MessageBox;
    MsgMatch msg{};
    InputMatch input{};
    FileMatch file{};
    plat::MsgAnswer msgAnswer = plat::MsgAnswer::Ok;
    std::optional<std::string> inputAnswer{};
    plat::FileDialogResult fileAnswer{};
  };
  // The next expectation when it is of this kind; otherwise fails the test and gives nothing.
  std::optional<Expectation> Take(CallKind kind, const DesktopCall& call);
  plat::FileDialogResult FileDialog(CallKind kind, const plat::FileDialogRequest& req);

  std::deque<Expectation> queue_;
  std::vector<DesktopCall> calls_;
  bool waitCursor_ = false;
  bool openDocumentResult_ = true;
  bool filePropertiesResult_ = true;
  bool startProgramResult_ = true;
};

// A scripted desktop installed with plat::SetDesktop for the life of the object; at the end it
// verifies that every expected dialog came and puts the previous desktop back.
class ScopedDesktop : public ScriptedDesktop {
 public:
  ScopedDesktop();
  ~ScopedDesktop() override;
  ScopedDesktop(const ScopedDesktop&) = delete;
  ScopedDesktop& operator=(const ScopedDesktop&) = delete;

 private:
  plat::Desktop* previous_;
};

// Text form of a call, for failure messages ("MessageBox(title="確認", text="…", …)").
std::string Describe(const DesktopCall& call);

}  // namespace testsupport
