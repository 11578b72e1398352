// The lane block, the part rule, help blocks, and the tables a script reading sizes.
#include <gtest/gtest.h>

#include "chartfmt/scriptread.h"
#include "chartfmt/scriptreg.h"
#include "script_helpers.h"

using mk::LaneInfo;
using mk::Rgb;
using scripttest::ReadBody;

namespace {

TEST(ScriptLanes, FieldsEightToTen) {
  struct Case {
    const char* line;
    const char* pch;
    const char* pbch;
  } cases[] = {
      {"A,a,11,21,000000,000000,000000,1", "11", "21"},
      {"A,a,11,21,000000,000000,000000,1,", "11", "21"},  // empty 9th field
      {"A,a,11,21,000000,000000,000000,1,P1", "P1", "21"},
      {"A,a,11,21,000000,000000,000000,1,,P2", "11", "P2"},  // 10 fields, 9th empty
      {"A,a,11,21,000000,000000,000000,1,P1,P2", "P1", "P2"},
      {"A,a,11,21,000000,000000,000000,1,P1,P2,X,Y", "P1", "P2"},  // fields after the 10th dropped
      {"A,a,11,21,000000,000000,000000,1, P1,\"P,2\"", "P1", "P,2"},
  };
  for (const Case& c : cases) {
    auto r = ReadBody(std::string("#LANE\n") + c.line + "\n#EOL\n");
    ASSERT_TRUE(r.result.ok) << c.line << ": " << r.result.message.text;
    ASSERT_EQ(r.doc.LaneCount, 1) << c.line;
    EXPECT_EQ(r.doc.Lane[1].PChannel, c.pch) << c.line;
    EXPECT_EQ(r.doc.Lane[1].PBackChannel, c.pbch) << c.line;
  }
}

// A quoted comma belongs to its field: it neither adds a field nor shifts the fields of the
// next lane line (the fields are counted after they are parsed, not from the raw commas).
TEST(ScriptLanes, QuotedFieldsKeepTheirCommas) {
  auto r = ReadBody(
      "#LANE\n"
      "\"Key, left\",\"1,L\",11,21,FF8000,00ff80,8,1\n"
      "  B , b,12,22,000000,000000,000000,2\n"
      "#EOL\n");
  ASSERT_TRUE(r.result.ok) << r.result.message.text;
  ASSERT_EQ(r.doc.LaneCount, 2);
  const LaneInfo& a = r.doc.Lane[1];
  EXPECT_EQ(a.Name, "Key, left");
  EXPECT_EQ(a.Label, "1,L");
  EXPECT_EQ(a.Channel, "11");
  EXPECT_EQ(a.BackChannel, "21");
  EXPECT_EQ(a.PChannel, "11");  // 9 raw commas, but only 8 fields
  EXPECT_EQ(a.PBackChannel, "21");
  EXPECT_EQ(a.Color1, (Rgb{255, 128, 0}));
  EXPECT_EQ(a.Color2, (Rgb{0, 255, 128}));
  EXPECT_EQ(a.Color3, (Rgb{8, 0, 0}));
  EXPECT_EQ(a.Part, 1);
  EXPECT_EQ(a.Hdr, 0);
  EXPECT_EQ(a.Hdr2, 0);
  const LaneInfo& b = r.doc.Lane[2];
  EXPECT_EQ(b.Name, "B ");  // leading blanks are skipped, trailing ones kept
  EXPECT_EQ(b.Label, "b");
  EXPECT_EQ(b.Part, 2);
}

TEST(ScriptLanes, Colours) {
  struct Case {
    const char* field;
    Rgb want;
  } cases[] = {
      {"102030", {16, 32, 48}},    {"ffFFff", {255, 255, 255}}, {"1G2H3I", {1, 2, 3}},
      {"G12345", {0, 0x23, 0x45}}, {"F", {15, 0, 0}},           {"", {0, 0, 0}},
      {"0A0B0C0D", {10, 11, 12}},
  };
  for (const Case& c : cases) {
    auto r = ReadBody(std::string("#LANE\nA,a,1,2,") + c.field + ",0,0,1\n#EOL\n");
    ASSERT_TRUE(r.result.ok) << c.field;
    EXPECT_EQ(r.doc.Lane[1].Color1, c.want) << c.field;
  }
}

TEST(ScriptLanes, PartRule) {
  struct Case {
    std::vector<int> parts;
    bool ok;
    int maxPart, partCount;
  } cases[] = {
      {{1, 1, 2, 2, 88}, true, 88, 3}, {{0, 0, 1}, true, 1, 1}, {{0, 0}, true, 0, 0},
      {{1, 2, 88, 99}, true, 99, 4},   {{2, 1}, false, 0, 0},   {{-1}, false, 0, 0},
      {{1, 99, 88}, false, 0, 0},
  };
  for (const Case& c : cases) {
    std::string body = "#LANE\n";
    for (size_t i = 0; i < c.parts.size(); ++i)
      body += "L,l,C" + std::to_string(i) + ",__,0,0,0," + std::to_string(c.parts[i]) + "\n";
    auto r = ReadBody(body);
    ASSERT_EQ(r.result.ok, c.ok) << body;
    if (c.ok) {
      EXPECT_EQ(r.doc.MaxPart, c.maxPart) << body;
      EXPECT_EQ(r.doc.PartCount, c.partCount) << body;
      EXPECT_EQ(r.doc.LaneCount, static_cast<int>(c.parts.size()));
    } else {
      scripttest::ExpectMessage(r.result.message, "不正なパートNoを検出しました", true);
    }
  }
}

TEST(ScriptLanes, BlockEnds) {
  // "#EOL" ends the block only in upper case; "#lane" opens it in any case.
  auto r = ReadBody("#lane\nA,a,1,2,0,0,0,1\n#EOL\n#TITLE after\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.LaneCount, 1);
  EXPECT_EQ(r.doc.Keys.Title, "after");
  // Without "#EOL" the block ends with the file.
  r = ReadBody("#LANE\nA,a,1,2,0,0,0,1\nB,b,3,4,0,0,0,1");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.LaneCount, 2);
  // Inside the block a directive is a lane line like any other.
  r = ReadBody("#LANE\n#TITLE,a,1,2,0,0,0,1\n#EOL\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.doc.Lane[1].Name, "#TITLE");
  EXPECT_EQ(r.doc.Keys.Title, "");
  // Lane tables: entry 0 stays empty, the grid has lanes 0..LaneCount without measures.
  EXPECT_EQ(r.doc.Lane.size(), 2u);
  EXPECT_EQ(r.doc.Lane[0], LaneInfo{});
  ASSERT_EQ(r.doc.Obj.size(), 2u);
  EXPECT_TRUE(r.doc.Obj[1].Mes.empty());
}

TEST(ScriptHelp, BlocksCollectTheirLines) {
  auto r = ReadBody("#HELP\nfirst\n\n  indented\n#eoh\n#TITLE t\n#help\nsecond 二つ目\n#EOH\n");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.info, "first\r\n\r\n  indented\r\nsecond 二つ目\r\n");
  EXPECT_EQ(r.doc.Keys.Title, "t");
  // Directives inside a help block are text; an unclosed block ends with the file.
  r = ReadBody("#HELP\n#TITLE inside\n#EOL");
  ASSERT_TRUE(r.result.ok);
  EXPECT_EQ(r.info, "#TITLE inside\r\n#EOL\r\n");
  EXPECT_EQ(r.doc.Keys.Title, "");
  // "#HELP " with a blank is no block.
  r = ReadBody("#HELP \ntext\n");
  EXPECT_EQ(r.info, "");
}

TEST(ScriptTables, DefinitionTablesFollowTheNumberingModes) {
  struct Case {
    int wnum, bnum;
    size_t wavSize, bgaSize;
  } cases[] = {
      {1, 1, 256, 256},
      {2, 3, 576, 1296},
      {3, 2, 1296, 576},
      {0, 4, 0, 0},  // another mode: no table, charts of the script hold no such definitions
  };
  for (const Case& c : cases) {
    auto r = ReadBody("#WNUM " + std::to_string(c.wnum) + "\n#BNUM " + std::to_string(c.bnum) + "\n");
    ASSERT_TRUE(r.result.ok);
    EXPECT_EQ(r.doc.Wav.size(), c.wavSize) << c.wnum;
    EXPECT_EQ(r.doc.Bga.size(), c.bgaSize) << c.bnum;
  }
}

}  // namespace
