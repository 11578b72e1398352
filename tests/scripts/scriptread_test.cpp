// The definition-script reader: directives, lists, groups, symbols, lanes, parts, help blocks,
// table sizes, and the faults a script can have.
#include <functional>

#include <gtest/gtest.h>

#include "chartfmt/scriptread.h"
#include "script_helpers.h"

using mk::DocData;
using scripttest::ReadBody;

namespace {

const char kLane[] = "#LANE\nA,a,11,21,000000,FFFFFF,808080,1\n#EOL\n";

struct TextCase {
  const char* line;
  std::function<std::string(const DocData&)> field;
  const char* want;
};

// Every text directive stores its value, untrimmed, into its own field; the match ignores case
// and needs the blank that ends the directive.
TEST(ScriptDirectives, TextValuesGoToTheirFields) {
  const TextCase cases[] = {
      {"#HEAD ;head", [](const DocData& d) { return d.Fmt.Head; }, ";head"},
      {"#FOOT ;foot ", [](const DocData& d) { return d.Fmt.Foot; }, ";foot "},
      {"#VIEWER player", [](const DocData& d) { return d.Fmt.Viewer; }, "player"},
      {"#VSTART -s", [](const DocData& d) { return d.Fmt.VStart; }, "-s"},
      {"#VPLAY x", [](const DocData& d) { return d.Fmt.VPlay + "|" + d.Fmt.VPlayH; }, "x|"},
      {"#VPLAYH x", [](const DocData& d) { return d.Fmt.VPlay + "|" + d.Fmt.VPlayH; }, "|x"},
      {"#VSTOP -q", [](const DocData& d) { return d.Fmt.VStop; }, "-q"},
      {"#TITLE T", [](const DocData& d) { return d.Keys.Title; }, "T"},
      {"#ARTIST A", [](const DocData& d) { return d.Keys.Artist; }, "A"},
      {"#GENRE G", [](const DocData& d) { return d.Keys.Genre; }, "G"},
      {"#bpm BPM", [](const DocData& d) { return d.Keys.Bpm; }, "BPM"},
      {"#BPM  BPM", [](const DocData& d) { return d.Keys.Bpm; }, " BPM"},
      {"#BPM", [](const DocData& d) { return d.Keys.Bpm; }, ""},
      {"#BPMX", [](const DocData& d) { return d.Keys.Bpm; }, ""},
      {"#BaseBpm BB", [](const DocData& d) { return d.Keys.BaseBpm; }, "BB"},
      {"#WAV WAV", [](const DocData& d) { return d.Keys.Wav; }, "WAV"},
      {"#BGA BMP", [](const DocData& d) { return d.Keys.Bga; }, "BMP"},
      {"#PRE P", [](const DocData& d) { return d.Keys.Pre; }, "P"},
      {"#WALL W", [](const DocData& d) { return d.Keys.Wall; }, "W"},
      {"#TMPC 03", [](const DocData& d) { return d.Keys.Tmpc; }, "03"},
      {"#MESC 02", [](const DocData& d) { return d.Keys.Mesc; }, "02"},
      {"#PATH PATH", [](const DocData& d) { return d.Keys.Path; }, "PATH"},
      {"#PBPM pb", [](const DocData& d) { return d.PKeys.Bpm; }, "pb"},
      {"#PBASEBPM pbb", [](const DocData& d) { return d.PKeys.BaseBpm; }, "pbb"},
      {"#PWAV pw", [](const DocData& d) { return d.PKeys.Wav; }, "pw"},
      {"#PBGA pg", [](const DocData& d) { return d.PKeys.Bga; }, "pg"},
      {"#PTMPC pt", [](const DocData& d) { return d.PKeys.Tmpc; }, "pt"},
      {"#PMESC pm", [](const DocData& d) { return d.PKeys.Mesc; }, "pm"},
      {"#LVN1 かんたん", [](const DocData& d) { return d.Fmt.Lvn[0]; }, "かんたん"},
      {"#lvn3xHard", [](const DocData& d) { return d.Fmt.Lvn[2]; }, "Hard"},
      {"#LVN2", [](const DocData& d) { return d.Fmt.Lvn[1]; }, ""},
      {"#LEVEL2 NORMAL", [](const DocData& d) { return d.Keys.Level[1]; }, "NORMAL"},
      {"#LEVEL3  X", [](const DocData& d) { return d.Keys.Level[2]; }, " X"},
      // The character after the level digit is skipped whatever it is, also a double-byte one.
      {"#LEVEL1あHARD", [](const DocData& d) { return d.Keys.Level[0]; }, "HARD"},
      {"  #TITLE T", [](const DocData& d) { return d.Keys.Title; }, ""},
      {"TITLE T", [](const DocData& d) { return d.Keys.Title; }, ""},
  };
  for (const TextCase& c : cases) {
    auto r = ReadBody(std::string(c.line) + "\n" + kLane);
    ASSERT_TRUE(r.result.ok) << c.line;
    EXPECT_EQ(c.field(r.doc), c.want) << c.line;
  }
}

struct NumberCase {
  const char* line;
  std::function<int(const DocData&)> field;
  int want;
};

TEST(ScriptDirectives, NumberValuesRoundHalfToEven) {
  const NumberCase cases[] = {
      {"#WNUM 2", [](const DocData& d) { return d.Fmt.WNum; }, 2},
      {"#BNUM 3", [](const DocData& d) { return d.Fmt.BNum; }, 3},
      {"#ML 4", [](const DocData& d) { return d.Fmt.Ml; }, 4},
      {"#ML 2.5", [](const DocData& d) { return d.Fmt.Ml; }, 2},
      {"#ML 3.5", [](const DocData& d) { return d.Fmt.Ml; }, 4},
      {"#ML   5 digits", [](const DocData& d) { return d.Fmt.Ml; }, 5},
      {"#ML x", [](const DocData& d) { return d.Fmt.Ml; }, 0},
      {"#BRIGHT 40", [](const DocData& d) { return d.Fmt.Bright; }, 40},
      {"#BLTYPE -2", [](const DocData& d) { return d.Fmt.BlType; }, -2},
      {"#BLTYPE 32767", [](const DocData& d) { return d.Fmt.BlType; }, 32767},
      {"#BLTYPE -32768", [](const DocData& d) { return d.Fmt.BlType; }, -32768},
      {"#SCRL 0", [](const DocData& d) { return d.ScrlUp; }, 0},
      {"#SCRL 0.4", [](const DocData& d) { return d.ScrlUp; }, -1},
      {"#SCRL 1", [](const DocData& d) { return d.ScrlUp; }, -1},
      {"#SCRL none", [](const DocData& d) { return d.ScrlUp; }, 0},
  };
  for (const NumberCase& c : cases) {
    auto r = ReadBody(std::string(c.line) + "\n" + kLane);
    ASSERT_TRUE(r.result.ok) << c.line;
    EXPECT_EQ(c.field(r.doc), c.want) << c.line;
  }
}

TEST(ScriptDirectives, ValuesBeforeAnyDirective) {
  DocData doc;
  doc.ScrlUp = 0;  // the reader leaves the scroll direction to the window reset
  std::string info = "old";
  auto res = mk::ReadScriptLines(scripttest::Lines("#DFN\nT\n#EXT A"), "t.dfn", doc, info);
  ASSERT_TRUE(res.ok);
  EXPECT_FALSE(res.scrollSet);
  EXPECT_EQ(doc.ScrlUp, 0);
  EXPECT_EQ(info, "");
  EXPECT_EQ(doc.Fmt.WNum, 1);
  EXPECT_EQ(doc.Fmt.BNum, 1);
  EXPECT_EQ(doc.Fmt.Ml, 3);
  EXPECT_EQ(doc.Fmt.Bright, 24);
  EXPECT_EQ(doc.Fmt.BlType, 0);
  EXPECT_EQ(doc.Fmt.BExt, (std::vector<std::string>{"@"}));
  EXPECT_EQ(doc.Fmt.GtCount, -1);
  EXPECT_TRUE(doc.Fmt.Gt.empty());
  EXPECT_EQ(doc.Keys.HSymbol, (std::vector<std::string>{"#"}));
  EXPECT_EQ(doc.Keys.SSymbol, (std::vector<std::string>{":"}));
  EXPECT_EQ(doc.Keys.OSymbol, (std::vector<std::string>{""}));
  EXPECT_EQ(doc.Keys.Echo, (std::vector<std::string>{""}));
  EXPECT_EQ(doc.Keys.EchoCount, 0);
  EXPECT_EQ(doc.Fmt.Ext, (std::vector<std::string>{"A"}));
  EXPECT_EQ(doc.LaneCount, 0);
  EXPECT_EQ(doc.Lane.size(), 1u);
  EXPECT_EQ(doc.Obj.size(), 1u);  // lane 0 only, no measures yet
  EXPECT_TRUE(doc.Obj[0].Mes.empty());
}

TEST(ScriptDirectives, ListsKeepTheirPiecesUnchanged) {
  auto r = ReadBody("#EXT nxl, Abc,,x\n#BEXT bmp,jpg\n#LV 10,20\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.Fmt.Ext, (std::vector<std::string>{"nxl", " Abc", "", "x"}));
  EXPECT_EQ(r.doc.Fmt.BExt, (std::vector<std::string>{"bmp", "jpg"}));
  EXPECT_EQ(r.doc.Fmt.Lv, (std::array<int16_t, 3>{10, 20, 0}));

  // The third level piece takes the rest of the line, which reads as its leading number.
  r = ReadBody("#LV 7,8,9\n#LV 1,2,3,4\n");
  EXPECT_EQ(r.doc.Fmt.Lv, (std::array<int16_t, 3>{1, 2, 3}));
  // Levels without a piece keep the value of an earlier line of the same script.
  r = ReadBody("#LV 7,8,9\n#LV 5\n");
  EXPECT_EQ(r.doc.Fmt.Lv, (std::array<int16_t, 3>{5, 8, 9}));
}

TEST(ScriptDirectives, RepeatedDirectivesLastWinsEchoAndGroupsAccumulate) {
  auto r = ReadBody(
      "#TITLE one\n#TITLE two\n#ECHO #A\n#ECHO  #B\n#WNUM 3\n#WNUM 2\n"
      "#GT G1,1,1A\n#GT G2,5,2A\n" +
      std::string(kLane) +
      "#LANE\nB,b,12,22,0,0,0,1\nC,c,13,23,0,0,0,1\n"
      "D,d,14,24,0,0,0,1\n#EOL\n#LANE\nE,e,15,25,0,0,0,1\nF,f,16,26,0,0,0,1\nG,g,17,27,0,0,0,1\nH,h,18,28,0,0,0,1\n#"
      "EOL\n");
  ASSERT_TRUE(r.result.ok) << r.result.message.text;
  EXPECT_EQ(r.doc.Keys.Title, "two");
  EXPECT_EQ(r.doc.Fmt.WNum, 2);
  EXPECT_EQ(r.doc.Keys.EchoCount, 2);
  EXPECT_EQ(r.doc.Keys.Echo, (std::vector<std::string>{"", "#A", " #B"}));
  EXPECT_EQ(r.doc.Fmt.GtCount, 1);
  ASSERT_EQ(r.doc.Fmt.Gt.size(), 2u);
  EXPECT_EQ(r.doc.Fmt.Gt[1].Name, "G2");
  // Three lane blocks add up.
  EXPECT_EQ(r.doc.LaneCount, 8);
}

TEST(ScriptDirectives, Groups) {
  std::string block = "#LANE\n";
  for (int i = 0; i < 8; ++i) block += "L,l,K" + std::to_string(i) + ",__,0,0,0,1\n";
  block += "#EOL\n";
  struct Case {
    const char* line;
    mk::GtEntry want;
  } cases[] = {
      {"#GT G1,5,1A", {"G1", 5, "1A", "1A"}},
      {"#GT G1,5,1A,1B,1C", {"G1", 5, "1A", "1B,1C"}},
      {"#gt Pads, 2 ,P,", {"Pads", 2, "P", ""}},
      // Pieces are split at every comma; quotes have no meaning here.
      {"#GT \"G,4\",C,X", {"\"G", 4, "C", "X"}},
  };
  for (const Case& c : cases) {
    auto r = ReadBody(std::string(c.line) + "\n" + block);
    ASSERT_TRUE(r.result.ok) << c.line << ": " << r.result.message.text;
    ASSERT_EQ(r.doc.Fmt.GtCount, 0) << c.line;
    EXPECT_EQ(r.doc.Fmt.Gt[0], c.want) << c.line;
  }
}

TEST(ScriptDirectives, Symbols) {
  auto r = ReadBody("#OSYMBOL -_\n#HSYMBOL #%\n#SSYMBOL :=＝\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.Keys.OSymbol, (std::vector<std::string>{"", "-", "_"}));
  EXPECT_EQ(r.doc.Keys.HSymbol, (std::vector<std::string>{"#", "%"}));
  EXPECT_EQ(r.doc.Keys.SSymbol, (std::vector<std::string>{":", "=", "＝"}));
  // A later line replaces the whole set; "#OSYMBOL " alone leaves only the empty entry 0.
  r = ReadBody("#HSYMBOL #%\n#HSYMBOL !\n#OSYMBOL -\n#OSYMBOL \n");
  EXPECT_EQ(r.doc.Keys.HSymbol, (std::vector<std::string>{"!"}));
  EXPECT_EQ(r.doc.Keys.OSymbol, (std::vector<std::string>{""}));
}

TEST(ScriptDirectives, PlayerKeywordsFallBackToChartKeywords) {
  auto r = ReadBody("#BPM BPM\n#BASEBPM BASE\n#WAV WAV\n#BGA BMP\n#TMPC 03\n#MESC 02\n#PWAV SOUND\n#PATH P\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.PKeys.Bpm, "BPM");
  EXPECT_EQ(r.doc.PKeys.BaseBpm, "BASE");
  EXPECT_EQ(r.doc.PKeys.Wav, "SOUND");
  EXPECT_EQ(r.doc.PKeys.Bga, "BMP");
  EXPECT_EQ(r.doc.PKeys.Tmpc, "03");
  EXPECT_EQ(r.doc.PKeys.Mesc, "02");
  EXPECT_EQ(r.doc.PKeys.Path, "");  // only the six player keywords are set
  // "#PBPM " with an empty value is the same as none.
  r = ReadBody("#PBPM \n#BPM BPM\n");
  EXPECT_EQ(r.doc.PKeys.Bpm, "BPM");
}

TEST(ScriptDirectives, CommentsAndUnknownLinesAreIgnored) {
  auto r = ReadBody("TITLE is not a directive\n#UNKNOWN x\n#\n\n;#TITLE no\n#TITLE yes\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.Keys.Title, "yes");
}

}  // namespace
