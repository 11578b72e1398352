// Everything that asks the user or talks to the desktop goes through one interface, so that
// the program uses real dialogs and tests script the answers.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace plat {

enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// File dialogs take the classic filter text "Description|*.a;*.b|Description|*.c" and a
// 1-based filter index; they give back the chosen path, its file title and the filter index.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  int filterIndex = 1;
  std::string initialDir;
  std::string initialName;
  bool mustExist = false;       // open dialogs: only existing files are accepted
  bool overwritePrompt = true;  // save dialogs
};
struct FileDialogResult {
  bool cancelled = true;
  std::string path;       // full path
  std::string fileTitle;  // file name without folder
  int filterIndex = 1;
};

struct InputResult {
  bool cancelled = true;
  std::string text;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) = 0;
  virtual InputResult InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) = 0;
  virtual FileDialogResult OpenFileDialog(const FileDialogRequest& req) = 0;
  virtual FileDialogResult SaveFileDialog(const FileDialogRequest& req) = 0;
  virtual void Beep() = 0;
  virtual void SetWaitCursor(bool on) = 0;
  // Opens a document with the desktop's default handler (help file, properties).
  virtual bool OpenDocument(const std::string& path) = 0;
  virtual bool ShowFileProperties(const std::string& path) = 0;
  // Starts a program with an argument list, without waiting for it.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& args) = 0;
  // Starts a program like StartProgram, then waits up to waitMs milliseconds for it to end; one
  // that takes longer is left running. For a command whose work a following start relies on.
  virtual bool StartProgramAndWait(const std::string& program, const std::vector<std::string>& args, int /*waitMs*/) {
    return StartProgram(program, args);
  }
};

// The desktop the program talks to. Until one is installed every call fails loudly by throwing
// std::logic_error (a message box with no desktop is a programming error, never a silent default).
Desktop& TheDesktop();
// Installs d (not owned) and returns the previous one.
Desktop* SetDesktop(Desktop* d);

// One filter entry of a classic filter text.
struct FilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // "*.nxl" ...; may be empty
};
// Parses "Desc|pat;pat|Desc|pat" keeping every entry in place (titles may repeat, an empty
// pattern list still holds its place), so that a 1-based filter index stays valid.
std::vector<FilterEntry> ParseFilter(const std::string& filter);

}  // namespace plat
