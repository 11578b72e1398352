#include "scripted_desktop.h"

#include <gtest/gtest.h>

#include <sstream>

namespace testsupport {

plat::FileDialogResult Chosen(const std::string& path, int filterIndex) {
  plat::FileDialogResult r;
  r.cancelled = false;
  r.path = path;
  size_t slash = path.rfind('/');
  r.fileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
  r.filterIndex = filterIndex;
  return r;
}

plat::FileDialogResult Cancelled() { return plat::FileDialogResult{}; }

const char* CallKindName(CallKind k) {
  switch (k) {
    case CallKind::MessageBox: return "MessageBox";
    case CallKind::InputBox: return "InputBox";
    case CallKind::OpenFile: return "OpenFileDialog";
    case CallKind::SaveFile: return "SaveFileDialog";
    case CallKind::Beep: return "Beep";
    case CallKind::WaitCursor: return "SetWaitCursor";
    case CallKind::OpenDocument: return "OpenDocument";
    case CallKind::FileProperties: return "ShowFileProperties";
    case CallKind::StartProgram: return "StartProgram";
  }
  return "?";
}

std::string Describe(const DesktopCall& c) {
  std::ostringstream s;
  s << CallKindName(c.kind) << "(";
  switch (c.kind) {
    case CallKind::MessageBox:
      s << "title=\"" << c.title << "\", text=\"" << c.text << "\", buttons=" << static_cast<int>(c.buttons)
        << ", icon=" << static_cast<int>(c.icon);
      break;
    case CallKind::InputBox:
      s << "title=\"" << c.title << "\", prompt=\"" << c.text << "\", default=\"" << c.defaultText << "\"";
      break;
    case CallKind::OpenFile:
    case CallKind::SaveFile:
      s << "title=\"" << c.request.title << "\", filter=\"" << c.request.filter << "\", index=" << c.request.filterIndex
        << ", dir=\"" << c.request.initialDir << "\", name=\"" << c.request.initialName << "\"";
      break;
    case CallKind::Beep: break;
    case CallKind::WaitCursor: s << (c.on ? "on" : "off"); break;
    case CallKind::OpenDocument:
    case CallKind::FileProperties: s << "\"" << c.path << "\""; break;
    case CallKind::StartProgram:
      s << "\"" << c.path << "\"";
      for (const std::string& a : c.args) s << ", \"" << a << "\"";
      break;
  }
  s << ")";
  return s.str();
}

namespace {

template <typename T>
void CheckField(const char* what, const std::optional<T>& want, const T& got, const DesktopCall& call) {
  if (want && !(*want == got))
    ADD_FAILURE() << "desktop call " << Describe(call) << ": " << what << " differs from the expected";
}

void CheckContains(const char* what, const std::optional<std::string>& part, const std::string& got,
                   const DesktopCall& call) {
  if (part && got.find(*part) == std::string::npos)
    ADD_FAILURE() << "desktop call " << Describe(call) << ": " << what << " lacks \"" << *part << "\"";
}

// The answer an unexpected message box gets: the cancelling button of its set.
plat::MsgAnswer CancelAnswer(plat::MsgButtons b) {
  switch (b) {
    case plat::MsgButtons::Ok: return plat::MsgAnswer::Ok;
    case plat::MsgButtons::YesNo: return plat::MsgAnswer::No;
    case plat::MsgButtons::AbortRetryIgnore: return plat::MsgAnswer::Abort;
    default: return plat::MsgAnswer::Cancel;
  }
}

}  // namespace

void ScriptedDesktop::ExpectMessageBox(plat::MsgAnswer answer, MsgMatch match) {
  queue_.push_back({.kind = CallKind::MessageBox, .msg = std::move(match), .msgAnswer = answer});
}

void ScriptedDesktop::ExpectInputBox(std::optional<std::string> answer, InputMatch match) {
  queue_.push_back({.kind = CallKind::InputBox, .input = std::move(match), .inputAnswer = std::move(answer)});
}

void ScriptedDesktop::ExpectOpenFile(plat::FileDialogResult answer, FileMatch match) {
  queue_.push_back({.kind = CallKind::OpenFile, .file = std::move(match), .fileAnswer = std::move(answer)});
}

void ScriptedDesktop::ExpectSaveFile(plat::FileDialogResult answer, FileMatch match) {
  queue_.push_back({.kind = CallKind::SaveFile, .file = std::move(match), .fileAnswer = std::move(answer)});
}

void ScriptedDesktop::SetActionResult(CallKind kind, bool result) {
  switch (kind) {
    case CallKind::OpenDocument: openDocumentResult_ = result; break;
    case CallKind::FileProperties: filePropertiesResult_ = result; break;
    case CallKind::StartProgram: startProgramResult_ = result; break;
    default: ADD_FAILURE() << "SetActionResult: " << CallKindName(kind) << " has no result";
  }
}

void ScriptedDesktop::Verify() {
  for (const Expectation& e : queue_)
    ADD_FAILURE() << "expected desktop call " << CallKindName(e.kind) << " did not come";
  queue_.clear();
}

std::vector<DesktopCall> ScriptedDesktop::CallsOf(CallKind kind) const {
  std::vector<DesktopCall> out;
  for (const DesktopCall& c : calls_)
    if (c.kind == kind) out.push_back(c);
  return out;
}

std::optional<ScriptedDesktop::Expectation> ScriptedDesktop::Take(CallKind kind, const DesktopCall& call) {
  if (queue_.empty()) {
    ADD_FAILURE() << "unexpected desktop call " << Describe(call);
    calls_.back().expected = false;
    return std::nullopt;
  }
  if (queue_.front().kind != kind) {
    ADD_FAILURE() << "unexpected desktop call " << Describe(call) << " while " << CallKindName(queue_.front().kind)
                  << " was expected next";
    calls_.back().expected = false;
    return std::nullopt;
  }
  Expectation e = std::move(queue_.front());
  queue_.pop_front();
  return e;
}

plat::MsgAnswer ScriptedDesktop::MessageBox(const std::string& text, const std::string& title, plat::MsgButtons buttons,
                                            plat::MsgIcon icon) {
  DesktopCall c;
  c.kind = CallKind::MessageBox;
  c.text = text;
  c.title = title;
  c.buttons = buttons;
  c.icon = icon;
  calls_.push_back(c);
  auto e = Take(CallKind::MessageBox, c);
  if (!e) return CancelAnswer(buttons);
  CheckField("text", e->msg.text, text, c);
  CheckContains("text", e->msg.textContains, text, c);
  CheckField("title", e->msg.title, title, c);
  CheckField("buttons", e->msg.buttons, buttons, c);
  CheckField("icon", e->msg.icon, icon, c);
  return e->msgAnswer;
}

plat::InputResult ScriptedDesktop::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
  DesktopCall c;
  c.kind = CallKind::InputBox;
  c.text = prompt;
  c.title = title;
  c.defaultText = defaultText;
  calls_.push_back(c);
  auto e = Take(CallKind::InputBox, c);
  plat::InputResult r;
  if (!e) return r;
  CheckField("prompt", e->input.prompt, prompt, c);
  CheckContains("prompt", e->input.promptContains, prompt, c);
  CheckField("title", e->input.title, title, c);
  CheckField("default text", e->input.defaultText, defaultText, c);
  if (e->inputAnswer) {
    r.cancelled = false;
    r.text = *e->inputAnswer;
  }
  return r;
}

plat::FileDialogResult ScriptedDesktop::FileDialog(CallKind kind, const plat::FileDialogRequest& req) {
  DesktopCall c;
  c.kind = kind;
  c.title = req.title;
  c.request = req;
  calls_.push_back(c);
  auto e = Take(kind, c);
  if (!e) return Cancelled();
  CheckField("title", e->file.title, req.title, c);
  CheckField("filter", e->file.filter, req.filter, c);
  CheckField("filter index", e->file.filterIndex, req.filterIndex, c);
  CheckField("initial folder", e->file.initialDir, req.initialDir, c);
  CheckField("initial name", e->file.initialName, req.initialName, c);
  return e->fileAnswer;
}

plat::FileDialogResult ScriptedDesktop::OpenFileDialog(const plat::FileDialogRequest& req) {
  return FileDialog(CallKind::OpenFile, req);
}

plat::FileDialogResult ScriptedDesktop::SaveFileDialog(const plat::FileDialogRequest& req) {
  return FileDialog(CallKind::SaveFile, req);
}

void ScriptedDesktop::Beep() {
  DesktopCall c;
  c.kind = CallKind::Beep;
  calls_.push_back(c);
}

void ScriptedDesktop::SetWaitCursor(bool on) {
  DesktopCall c;
  c.kind = CallKind::WaitCursor;
  c.on = on;
  calls_.push_back(c);
  waitCursor_ = on;
}

bool ScriptedDesktop::OpenDocument(const std::string& path) {
  DesktopCall c;
  c.kind = CallKind::OpenDocument;
  c.path = path;
  calls_.push_back(c);
  return openDocumentResult_;
}

bool ScriptedDesktop::ShowFileProperties(const std::string& path) {
  DesktopCall c;
  c.kind = CallKind::FileProperties;
  c.path = path;
  calls_.push_back(c);
  return filePropertiesResult_;
}

bool ScriptedDesktop::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  DesktopCall c;
  c.kind = CallKind::StartProgram;
  c.path = program;
  c.args = args;
  calls_.push_back(c);
  return startProgramResult_;
}

ScopedDesktop::ScopedDesktop() : previous_(plat::SetDesktop(this)) {}

ScopedDesktop::~ScopedDesktop() {
  Verify();
  plat::SetDesktop(previous_);
}

}  // namespace testsupport
