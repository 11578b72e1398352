// The installed desktop, the stand-in used before one is installed, and the filter parser.
#include "desktop.h"

#include <stdexcept>

#include "ansitext.h"

namespace plat {

namespace {

// Before the program or a test installs a desktop, any use is a programming error: it is
// reported by an exception naming the call, never answered with a made-up default.
class NoDesktop final : public Desktop {
 public:
  [[noreturn]] static void Fail(const std::string& what) { throw std::logic_error("no desktop installed: " + what); }
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons, MsgIcon) override {
    Fail("MessageBox(\"" + title + "\", \"" + text + "\")");
  }
  InputResult InputBox(const std::string& prompt, const std::string&, const std::string&) override {
    Fail("InputBox(\"" + prompt + "\")");
  }
  FileDialogResult OpenFileDialog(const FileDialogRequest& req) override {
    Fail("OpenFileDialog(\"" + req.title + "\")");
  }
  FileDialogResult SaveFileDialog(const FileDialogRequest& req) override {
    Fail("SaveFileDialog(\"" + req.title + "\")");
  }
  void Beep() override { Fail("Beep"); }
  void SetWaitCursor(bool) override { Fail("SetWaitCursor"); }
  bool OpenDocument(const std::string& path) override { Fail("OpenDocument(" + path + ")"); }
  bool ShowFileProperties(const std::string& path) override { Fail("ShowFileProperties(" + path + ")"); }
  bool StartProgram(const std::string& program, const std::vector<std::string>&) override {
    Fail("StartProgram(" + program + ")");
  }
};

NoDesktop g_noDesktop;
Desktop* g_desktop = nullptr;

}  // namespace

Desktop& TheDesktop() { return g_desktop ? *g_desktop : g_noDesktop; }

Desktop* SetDesktop(Desktop* d) {
  Desktop* prev = g_desktop;
  g_desktop = d;
  return prev;
}

std::vector<FilterEntry> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = filter.find('|', start);
    if (bar == std::string::npos) {
      parts.push_back(filter.substr(start));
      break;
    }
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  // The classic filters end with "|"; the empty text after it is no entry.
  if (!parts.empty() && parts.back().empty() && parts.size() % 2 == 1) parts.pop_back();
  std::vector<FilterEntry> entries;
  for (size_t i = 0; i < parts.size(); i += 2) {
    FilterEntry e;
    e.description = parts[i];
    if (i + 1 < parts.size()) {
      const std::string& pats = parts[i + 1];
      size_t s = 0;
      for (;;) {
        size_t semi = pats.find(';', s);
        std::string p = Trim(pats.substr(s, semi == std::string::npos ? std::string::npos : semi - s));
        if (!p.empty()) e.patterns.push_back(p);
        if (semi == std::string::npos) break;
        s = semi + 1;
      }
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace plat
