// Helpers of the script tests: reading a script given as text, and a chart window that records
// the steps the script reader asks of it.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chartfmt/docdata.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/scriptwin.h"

namespace scripttest {

// Lines of a text separated by "\n" (UTF-8, as the reader gets them after decoding); like a
// file, a final "\n" gives no extra empty line.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    out.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return out;
}

struct Read {
  mk::DocData doc;
  std::string info;
  mk::ScriptReadResult result;
};

// Reads "#DFN", a title and the given text as script "test.dfn" into a fresh record.
inline Read ReadBody(const std::string& body) {
  Read r;
  r.result = mk::ReadScriptLines(Lines("#DFN\nTest\n#EXT TST\n" + body), "test.dfn", r.doc, r.info);
  return r;
}

// A message box as the frame would show it: exact text, title, icon and whether it ends the
// program.
inline void ExpectMessage(const mk::ScriptMessage& m, const std::string& text, bool fatal,
                          const std::string& title = "エラー") {
  EXPECT_EQ(m.text, text);
  EXPECT_EQ(m.title, title);
  EXPECT_EQ(m.icon, plat::MsgIcon::Critical);
  EXPECT_EQ(m.fatal, fatal);
}

class RecordingWindow : public mk::ScriptWindowSteps {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> wavRows, bgaRows;
  std::string caption;

  void SetScrollDirection() override { calls.push_back("SetScrollDirection"); }
  void AppendWavRows(const std::vector<std::string>& codes) override {
    calls.push_back("AppendWavRows");
    wavRows.insert(wavRows.end(), codes.begin(), codes.end());
  }
  void AppendBgaRows(const std::vector<std::string>& codes) override {
    calls.push_back("AppendBgaRows");
    bgaRows.insert(bgaRows.end(), codes.begin(), codes.end());
  }
  void ObjMake() override { calls.push_back("ObjMake"); }
  void Scr_Chg() override { calls.push_back("Scr_Chg"); }
  void SetCaption(const std::string& c) override {
    calls.push_back("SetCaption");
    caption = c;
  }
  void HeadDraw() override { calls.push_back("HeadDraw"); }
  void HeadDraw2() override { calls.push_back("HeadDraw2"); }
  void ObjDraw() override { calls.push_back("ObjDraw"); }
};

}  // namespace scripttest
