// Faulty scripts, a reused window record, and the chart window's side of a script reading.
#include <gtest/gtest.h>

#include "chartfmt/scriptread.h"
#include "chartfmt/scriptreg.h"
#include "platform/core/ansitext.h"
#include "script_helpers.h"
#include "temp_dir.h"

using scripttest::ReadBody;

namespace {

const char kLanes4[] = "#LANE\nA,a,11,__,0,0,0,1\nB,b,12,__,0,0,0,1\nC,c,13,__,0,0,0,1\nD,d,14,__,0,0,0,1\n#EOL\n";

// Faults the format leaves open end the program like the part fault: title "エラー", critical
// icon, the file name and the line in the text. The body starts at line 4 of the script.
TEST(ScriptFaults, FatalFaultsNameFileAndLine) {
  struct Case {
    std::string body;
    const char* text;
  } cases[] = {
      {"#WNUM 40000", "スクリプトファイル test.dfn の 4 行目の数値が範囲外です"},
      {"#TITLE t\n#ML -32769", "スクリプトファイル test.dfn の 5 行目の数値が範囲外です"},
      {"#BRIGHT 1e9", "スクリプトファイル test.dfn の 4 行目の数値が範囲外です"},
      {"#LV 1,99999", "スクリプトファイル test.dfn の 4 行目の数値が範囲外です"},
      {"#GT G,70000,C", "スクリプトファイル test.dfn の 4 行目の数値が範囲外です"},
      {"#LANE\nA,a,1,2,0,0,0,32768\n#EOL", "スクリプトファイル test.dfn の 5 行目の数値が範囲外です"},
      {"#LANE\nA,a,1,2,0,0,0\n#EOL", "スクリプトファイル test.dfn の 5 行目のレーン定義の項目が足りません"},
      {"#LANE\nA,a,1,2,0,0,0,1\n\n#EOL", "スクリプトファイル test.dfn の 6 行目のレーン定義の項目が足りません"},
      // "#eol" is not the end of the block but a lane line, and it has one field.
      {"#LANE\nA,a,1,2,0,0,0,1\n#eol", "スクリプトファイル test.dfn の 6 行目のレーン定義の項目が足りません"},
      // A quoted comma is no field separator.
      {"#LANE\nA,\"a,1\",2,0,0,0,1\n#EOL", "スクリプトファイル test.dfn の 5 行目のレーン定義の項目が足りません"},
      {"#GT G,1", "スクリプトファイル test.dfn の 4 行目の #GT 定義の項目が足りません"},
      {"#GT ", "スクリプトファイル test.dfn の 4 行目の #GT 定義の項目が足りません"},
      {"#GT G,2,C\n" + std::string(kLanes4),
       "スクリプトファイル test.dfn の 4 行目の #GT 定義が存在しないレーンを指しています"},
      {"#GT G,1,C\n#GT H,0,D\n" + std::string(kLanes4),
       "スクリプトファイル test.dfn の 5 行目の #GT 定義が存在しないレーンを指しています"},
      {"#GT G,1,C", "スクリプトファイル test.dfn の 4 行目の #GT 定義が存在しないレーンを指しています"},
  };
  for (const Case& c : cases) {
    auto r = ReadBody(c.body);
    ASSERT_FALSE(r.result.ok) << c.body;
    SCOPED_TRACE(c.body);
    scripttest::ExpectMessage(r.result.message, c.text, true);
  }
}

// Layouts whose chart lines would be read back into other lanes, layers or values are refused
// when the script is read, naming the lines that conflict; stacked lanes may share a channel.
TEST(ScriptFaults, LayoutsThatCannotReadBackAreRefused) {
  auto lanes = [](std::initializer_list<const char*> lines) {
    std::string b = "#LANE\n";
    for (const char* l : lines) b += std::string(l) + "\n";
    return b + "#EOL";
  };
  const std::string pre = "スクリプトファイル test.dfn の ";
  struct Case {
    std::string body;
    std::string text;  // empty: accepted
  } cases[] = {
      {lanes({"A,a,11,__,0,0,0,1", "B,b,11,__,0,0,0,1"}),
       pre + "6 行目と 5 行目のチャンネル名「11」の行は「11」の行として読まれるため読み戻せません"},
      {lanes({"A,a,1,__,0,0,0,1", "B,b,12,__,0,0,0,1"}),
       pre + "6 行目と 5 行目のチャンネル名「12」の行は「1」の行として読まれるため読み戻せません"},
      {lanes({"A,a,k1,K1,0,0,0,1"}),
       pre + "5 行目のチャンネル名「K1」の行は「k1」の行として読まれるため読み戻せません"},
      {"#TMPC 03\n" + lanes({"A,a,03,__,0,0,0,1"}),
       pre + "6 行目と 4 行目のチャンネル名「03」の行は「03」の行として読まれるため読み戻せません"},
      {"#GT G,1,P\n" + lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,__,__,0,0,0,1", "D,d,__,__,0,0,0,1",
                              "E,e,P1,__,0,0,0,1"}),
       pre + "10 行目と 4 行目のチャンネル名「P1」の行は「P1」の行として読まれるため読み戻せません"},
      {lanes({"A,a,K.1,__,0,0,0,1"}), pre + "5 行目のチャンネル名「K.1」は譜面の行に残らない文字「.」を含んでいます"},
      {lanes({"A,a,,__,0,0,0,1"}), pre + "5 行目のチャンネル名が空です"},
      {"#SSYMBOL :-\n#OSYMBOL -\n" + lanes({"A,a,K,__,0,0,0,1", "B,b,K-1,__,0,0,0,1"}),
       pre + "8 行目と 7 行目のチャンネル名「K-1」は区切り記号「-」の前が別のチャンネル名になるため読み戻せません"},
      {"#GT G,1,C\n#GT H,3,D\n" + lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,__,__,0,0,0,1",
                                         "D,d,__,__,0,0,0,1", "E,e,__,__,0,0,0,1", "F,f,__,__,0,0,0,1"}),
       pre + "5 行目と 4 行目の #GT 定義のレーンが重なっています"},
      {"#WNUM 1\n#BNUM 3\n#GT G,1,C\n" +
           lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,__,__,0,0,0,88", "D,d,__,__,0,0,0,88"}),
       pre + "6 行目と 10 行目の #GT 定義のレーンは BGA の番号を使いますが、グループの行の #WNUM "
             "の形式ではその番号を書けません"},
      {"#GT G,1,\n" + lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,__,__,0,0,0,1", "D,d,__,__,0,0,0,1"}),
       pre + "4 行目の #GT 定義のチャンネル名が空です"},
      {lanes({"A,a,S,__,0,0,0,99", "B,b,__,S,0,0,0,99"}),
       pre + "6 行目と 5 行目のチャンネル名「S」の行は「S」の行として読まれるため読み戻せません"},
      {lanes({"A,a,S,__,0,0,0,1", "B,b,S,__,0,0,0,99"}),
       pre + "6 行目と 5 行目のチャンネル名「S」の行は「S」の行として読まれるため読み戻せません"},
      // "-" is written "-:01", which "-" followed by the separator begins: the reader tries the
      // group lane's "-:" (never written itself) first.
      {"#SSYMBOL :-\n#OSYMBOL -\n#GT G,1,C\n" + lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,-:,__,0,0,0,1",
                                                       "D,d,__,__,0,0,0,1", "E,e,__,-,0,0,0,99"}),
       pre + "12 行目と 10 行目のチャンネル名「-」の行は「-:」の行として読まれるため読み戻せません"},
      // Accepted: a stack sharing its channels, a group's fourth lane starting a stack, a group of
      // BGA lanes whose numbers the WAV mode codes, modes 2 and 3 together, names a symbol keeps.
      {lanes({"A,a,S,T,0,0,0,99", "B,b,S,T,0,0,0,99", "C,c,s,t,0,0,0,99"}), ""},
      {"#GT G,1,C\n" + lanes({"A,a,__,__,0,0,0,1", "B,b,__,__,0,0,0,1", "C,c,__,__,0,0,0,1", "D,d,S,__,0,0,0,99",
                              "E,e,S,__,0,0,0,99"}),
       ""},
      {"#WNUM 2\n#BNUM 3\n#GT G,1,C\n" +
           lanes({"A,a,__,__,0,0,0,88", "B,b,__,__,0,0,0,88", "C,c,__,__,0,0,0,88", "D,d,__,__,0,0,0,88"}),
       ""},
      {"#OSYMBOL -\n" + lanes({"A,a,K-1,__,0,0,0,1", "B,b,K-2,K-3,0,0,0,1"}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    auto r = ReadBody(c.body);
    if (c.text.empty()) {
      EXPECT_TRUE(r.result.ok) << r.result.message.text;
    } else {
      ASSERT_FALSE(r.result.ok);
      scripttest::ExpectMessage(r.result.message, c.text, true);
    }
  }
}

// A lane block longer than the program can hold is refused at the first lane too many.
TEST(ScriptFaults, TooManyLanes) {
  auto laneBlock = [](int n) {
    std::string b = "#LANE\n";
    for (int i = 0; i < n; ++i) b += "L,l,C" + std::to_string(10000 + i) + ",__,0,0,0,1\n";
    return b + "#EOL";
  };
  auto ok = ReadBody(laneBlock(mk::kMaxScriptLanes));
  ASSERT_TRUE(ok.result.ok) << ok.result.message.text;
  EXPECT_EQ(ok.doc.LaneCount, mk::kMaxScriptLanes);
  auto r = ReadBody(laneBlock(mk::kMaxScriptLanes + 1));
  ASSERT_FALSE(r.result.ok);
  scripttest::ExpectMessage(r.result.message,
                            "スクリプトファイル test.dfn の " + std::to_string(mk::kMaxScriptLanes + 5) +
                                " 行目の定義が多すぎます",
                            true);
}

// Where leaving a line out keeps the reading consistent, the line is ignored like an unknown
// directive.
TEST(ScriptFaults, IgnoredLines) {
  auto r = ReadBody(
      "#LVN1 one\n#LVN4 four\n#LVN0 zero\n#LVN\n#LEVEL1 L1\n#LEVEL9 L9\n#LEVELS x\n"
      "#HSYMBOL %\n#HSYMBOL \n#SSYMBOL \n#BEXT \n");
  ASSERT_TRUE(r.result.ok) << r.result.message.text;
  EXPECT_EQ(r.doc.Fmt.Lvn, (std::array<std::string, 3>{"one", "", ""}));
  EXPECT_EQ(r.doc.Keys.Level, (std::array<std::string, 3>{"L1", "", ""}));
  EXPECT_EQ(r.doc.Keys.HSymbol, (std::vector<std::string>{"%"}));
  EXPECT_EQ(r.doc.Keys.SSymbol, (std::vector<std::string>{":"}));
  EXPECT_EQ(r.doc.Fmt.BExt, (std::vector<std::string>{"@"}));
}

// A window slot that read another script before starts every script field afresh: no chart
// test-plays with the player, levels or extensions of the script read earlier.
TEST(ScriptFaults, ReusedRecordKeepsNothingOfTheScriptBefore) {
  scripttest::Read first = ReadBody(
      "#VIEWER old.exe\n#VSTART s\n#VPLAY p\n#VPLAYH h\n#VSTOP q\n#LV 5,6,7\n#LVN1 a\n#LVN2 b\n"
      "#LVN3 c\n#GT G,1,C\n#ECHO #E\n#HELP\nold help\n#EOH\n#TITLE T\n" +
      std::string(kLanes4));
  ASSERT_TRUE(first.result.ok);
  mk::DocData doc = first.doc;
  std::string info = first.info;
  auto res =
      mk::ReadScriptLines(scripttest::Lines("#DFN\nsecond\n#LANE\nX,x,1,2,0,0,0,1\n#EOL"), "second.dfn", doc, info);
  ASSERT_TRUE(res.ok);
  mk::DocData fresh;
  EXPECT_EQ(doc.Fmt.Viewer, fresh.Fmt.Viewer);
  EXPECT_EQ(doc.Fmt.VStart, "");
  EXPECT_EQ(doc.Fmt.VPlay, "");
  EXPECT_EQ(doc.Fmt.VPlayH, "");
  EXPECT_EQ(doc.Fmt.VStop, "");
  EXPECT_EQ(doc.Fmt.Lv, fresh.Fmt.Lv);
  EXPECT_EQ(doc.Fmt.Lvn, fresh.Fmt.Lvn);
  EXPECT_TRUE(doc.Fmt.Ext.empty());
  EXPECT_TRUE(doc.Fmt.Gt.empty());
  EXPECT_EQ(doc.Fmt.GtCount, -1);
  EXPECT_EQ(doc.Keys.Title, "");
  EXPECT_EQ(doc.Keys.EchoCount, 0);
  EXPECT_EQ(info, "");
  EXPECT_EQ(doc.LaneCount, 1);
  EXPECT_EQ(doc.Lane.size(), 2u);
  EXPECT_EQ(doc.Lane[1].Name, "X");
}

class ScriptWindow : public ::testing::Test {
 protected:
  void TearDown() override { mk::ResetScriptList(); }
  // Registers one script file (CP932 on disk) as script 1.
  std::string Install(const std::string& name, const std::string& utf8, const std::string& title) {
    std::string path = dir_.Write(name, plat::EncodeAnsi(utf8));
    mk::g_ScriptTable = {mk::ScriptEntry{}, mk::ScriptEntry{path, title, "TST", "stale help"}};
    mk::g_ScriptCount = 1;
    return path;
  }
  testsupport::TempDir dir_;
};

TEST_F(ScriptWindow, StepsRunInOrderAfterTheRecordIsFilled) {
  Install("win.dfn",
          "#DFN\r\n窓\r\n#EXT TST\r\n#WNUM 2\r\n#SCRL 0\r\n#HELP\r\n説明\r\n#EOH\r\n#LANE\r\n"
          "A,a,1,2,0,0,0,1\r\n#EOL\r\n",
          "窓");
  mk::DocData doc;
  scripttest::RecordingWindow win;
  auto r = mk::ScrRead(1, doc, win);
  ASSERT_TRUE(r.ok) << r.message.text;
  EXPECT_EQ(win.calls, (std::vector<std::string>{"SetScrollDirection", "AppendWavRows", "AppendBgaRows", "ObjMake",
                                                 "Scr_Chg", "SetCaption", "HeadDraw", "HeadDraw2", "ObjDraw"}));
  EXPECT_EQ(doc.ScrlUp, 0);
  EXPECT_EQ(win.caption, "新規 - 窓");
  EXPECT_EQ(mk::g_ScriptTable[1].Info, "説明\r\n");
  // Rows of definitions 1..575 in mode 2 and 1..255 in mode 1.
  ASSERT_EQ(win.wavRows.size(), 575u);
  EXPECT_EQ(win.wavRows[0], "01");
  EXPECT_EQ(win.wavRows[35], "10");
  EXPECT_EQ(win.wavRows[574], "FZ");
  ASSERT_EQ(win.bgaRows.size(), 255u);
  EXPECT_EQ(win.bgaRows[9], "0A");
  EXPECT_EQ(win.bgaRows[254], "FF");
  EXPECT_EQ(doc.LaneCount, 1);
}

TEST_F(ScriptWindow, NoRowsForAnUnknownModeAndNoScrollStepWithoutScrl) {
  Install("m.dfn", "#DFN\nM\n#EXT TST\n#WNUM 5\n#BNUM 3\n", "M");
  mk::DocData doc;
  scripttest::RecordingWindow win;
  ASSERT_TRUE(mk::ScrRead(1, doc, win).ok);
  EXPECT_EQ(win.calls, (std::vector<std::string>{"AppendBgaRows", "ObjMake", "Scr_Chg", "SetCaption", "HeadDraw",
                                                 "HeadDraw2", "ObjDraw"}));
  EXPECT_EQ(win.bgaRows.size(), 1295u);
  EXPECT_EQ(win.bgaRows.back(), "ZZ");
  EXPECT_EQ(mk::g_ScriptTable[1].Info, "");  // the help of an earlier reading is gone
}

TEST_F(ScriptWindow, FaultyScriptRunsNoWindowStep) {
  Install("bad.dfn", "#DFN\nB\n#EXT TST\n#LANE\nA,a,1,2,0,0,0,2\nB,b,1,2,0,0,0,1\n#EOL\n", "B");
  mk::DocData doc;
  scripttest::RecordingWindow win;
  auto r = mk::ScrRead(1, doc, win);
  ASSERT_FALSE(r.ok);
  scripttest::ExpectMessage(r.message, "不正なパートNoを検出しました", true);
  EXPECT_TRUE(win.calls.empty());
}

// A script removed after start-up: an error naming the file, the window is not opened, and
// nothing else ends.
TEST_F(ScriptWindow, ScriptGoneAfterStartUp) {
  std::string path = Install("gone.dfn", "#DFN\nG\n#EXT TST\n", "G");
  ASSERT_EQ(std::remove(path.c_str()), 0);
  mk::DocData doc;
  doc.Title = "kept";
  doc.Fmt.Viewer = "kept";
  scripttest::RecordingWindow win;
  auto r = mk::ScrRead(1, doc, win);
  ASSERT_FALSE(r.ok);
  scripttest::ExpectMessage(r.message, "スクリプトファイル gone.dfn を開けません", false);
  EXPECT_TRUE(win.calls.empty());
  EXPECT_EQ(doc.Title, "kept");
  EXPECT_EQ(doc.Fmt.Viewer, "kept");

  for (int16_t n : {0, 2, -1}) {
    r = mk::ScrRead(n, doc, win);
    EXPECT_FALSE(r.ok) << n;
    EXPECT_FALSE(r.message.fatal) << n;
  }
  EXPECT_TRUE(win.calls.empty());
}

// Files are CP932; a lone CR ends a line like CR LF.
TEST_F(ScriptWindow, FileBytesAreDecoded) {
  std::string path = dir_.Write("cr.dfn", plat::EncodeAnsi("#DFN\rタイトル\r#EXT X\r#TITLE 曲名\r#HELP\r日本語\r#EOH"));
  mk::DocData doc;
  std::string info;
  auto r = mk::ReadScript(path, doc, info);
  ASSERT_TRUE(r.ok) << r.message.text;
  EXPECT_EQ(doc.Keys.Title, "曲名");
  EXPECT_EQ(info, "日本語\r\n");
}

}  // namespace
