// Object sections: group sections (digit lines, fourth lane, back layers) and part sections.
#include <gtest/gtest.h>

#include <array>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartgen.h"
#include "writer_fixture.h"

using wtest::AddGroup;
using wtest::MakeDoc;
using wtest::Put;
using wtest::SectionLines;
using Strings = std::vector<std::string>;

namespace {

// Lanes 1..4 form group "Keys" (channel 1, player channel P1); lane 5 follows in the same part.
mk::DocData GroupDoc(const std::string& fourthChannel = "A4", int16_t mesCount = 1) {
  mk::DocData d =
      MakeDoc({{"A1", "B1", 2}, {"A2", "B2", 2}, {"A3", "__", 2}, {fourthChannel, "B4", 2, "", "PB4"}, {"A5", "B5", 2}},
              mesCount, 2, 1);
  AddGroup(d, "Keys", 1, "1", "P1");
  return d;
}

Strings Group(const mk::DocData& d, int16_t scratch = 0) {
  return SectionLines(mk::ChartText(d, scratch), ";Keys(Part 2)");
}

TEST(ChartGroups, WorkedExample) {
  mk::DocData d = GroupDoc();
  Put(d, 1, 0, 0, 1);
  Put(d, 3, 0, 96, 2);
  EXPECT_EQ(Group(d), (Strings{";Keys(Part 2)", "#00011:0002", "#00014:0100"}));
}

// One value per tick is written as before; distinct values and open objects each get a digit.
TEST(ChartGroups, DigitsOfCombinedLanes) {
  struct Case {
    const char* name;
    int16_t g, g1, g2;  // front values of the three combined lanes at tick 0
    Strings lines;
  };
  const Case cases[] = {
      {"same value on first two lanes", 5, 5, 0, {"#00016:05"}},
      {"same value on all three", 9, 9, 9, {"#00017:09"}},
      {"first and third", 5, 0, 5, {"#00015:05"}},
      {"two values keep both", 5, 7, 0, {"#00012:07", "#00014:05"}},
      {"three values", 1, 2, 3, {"#00011:03", "#00012:02", "#00014:01"}},
      {"value shared by outer lanes", 5, 7, 5, {"#00012:07", "#00015:05"}},
      {"lone open object on a middle lane", 0, 10005, 0, {"#00010:05"}},
      {"open first, ordinary second", 10005, 7, 0, {"#00010:05", "#00012:07"}},
      {"ordinary first, open second", 7, 10005, 0, {"#00010:05", "#00014:07"}},
      {"same open value twice", 10005, 10005, 0, {"#00010:05"}},
      {"two open values, first lane's last", 10005, 10009, 0, {"#00010:09", "#00010:05"}},
  };
  for (const Case& c : cases) {
    mk::DocData d = GroupDoc();
    Put(d, 1, 0, 0, c.g);
    Put(d, 2, 0, 0, c.g1);
    Put(d, 3, 0, 0, c.g2);
    Strings expected = {";Keys(Part 2)"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(Group(d), expected) << c.name;
  }
}

TEST(ChartGroups, OpenObjectLinesAlignToTheLast) {
  mk::DocData d = GroupDoc();
  Put(d, 1, 0, 0, 10001);
  Put(d, 2, 0, 0, 10002);
  Put(d, 2, 0, 96, 10003);  // alone at its tick: in the last digit-0 line
  Put(d, 3, 0, 96, 4);
  EXPECT_EQ(Group(d), (Strings{";Keys(Part 2)", "#00010:0200", "#00010:0103", "#00011:0004"}));
}

TEST(ChartGroups, SlotCountIsCommonMultipleIncludingBackLayers) {
  mk::DocData d = GroupDoc();
  Put(d, 1, 0, 0, 1);
  Put(d, 2, 0, 64, 2);
  Put(d, 3, 0, 48, 3, /*back=*/true);  // lane 3 has no back channel: only refines the grid
  EXPECT_EQ(Group(d), (Strings{";Keys(Part 2)", "#00012:000000000200000000000000", "#00014:010000000000000000000000"}));
}

TEST(ChartGroups, FourthLaneAndBackLayers) {
  mk::DocData d = GroupDoc();
  Put(d, 4, 0, 96, 6);
  Put(d, 4, 1, 48, 7, /*back=*/true);  // only back objects: an all-"00" front line
  Put(d, 1, 1, 0, 8, /*back=*/true);
  Put(d, 4, 0, 0, 10011);  // an open object outside the combined lanes: its number
  EXPECT_EQ(Group(d), (Strings{";Keys(Part 2)", "#000A4:0B06", "#001A4:00000000", "#001B1:08", "#001B4:00070000"}));

  mk::DocData w = GroupDoc("__");
  Put(w, 4, 0, 0, 3);
  Put(w, 2, 0, 0, 10020, /*back=*/true);
  EXPECT_EQ(Group(w), (Strings{";Keys(Part 2)", "#0001W:03", "#000B2:0K"}));
}

TEST(ChartGroups, ScratchChannels) {
  mk::DocData d = GroupDoc();
  d.Lane[4].PChannel = "__";  // printed as it stands: the chart channel decides the line
  Put(d, 1, 0, 0, 1);
  Put(d, 4, 0, 0, 2);
  Put(d, 4, 0, 0, 3, /*back=*/true);
  EXPECT_EQ(Group(d, -1), (Strings{";Keys(Part 2)", "#000P14:01", "#000__:02", "#000PB4:03"}));
  mk::DocData w = GroupDoc("__");
  Put(w, 4, 0, 0, 2);
  EXPECT_EQ(Group(w, -1), (Strings{";Keys(Part 2)", "#000P1W:02"}));
}

TEST(ChartGroups, EmptyGroupAndNegativePart) {
  mk::DocData d = GroupDoc();
  for (int l = 1; l <= 5; ++l) d.Lane[l].Part = -3;
  const std::string text = mk::ChartText(d, 0);
  EXPECT_NE(text.find("\r\n;Keys(Part-3)\r\n\r\n\r\n"), std::string::npos);
}

TEST(ChartParts, RunsAndSkippedRuns) {
  // The run of lanes 1..5 starts the group: lane 5, beyond the group, gets a part section.
  mk::DocData d = GroupDoc();
  Put(d, 5, 1, 0, 12);
  Put(d, 5, 1, 0, 13, /*back=*/true);
  Put(d, 1, 0, 0, 1);
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(SectionLines(text, ";Part 2"), (Strings{";Part 2", "#001A5:0C", "#001B5:0D"}));
  EXPECT_EQ(text.find("A1:"), std::string::npos);  // group lanes are not written twice

  // A run that does not start at the group's first lane gets its section, without the group's
  // lanes: a lane is never written twice.
  mk::DocData e = MakeDoc({{"X", "__", 2}, {"A1", "__", 2}, {"A2", "__", 2}, {"A3", "__", 2}, {"A4", "__", 2}}, 0);
  AddGroup(e, "G", 2, "1");
  Put(e, 2, 0, 0, 1);
  Put(e, 1, 0, 0, 2);
  EXPECT_EQ(SectionLines(mk::ChartText(e, 0), ";Part 2"), (Strings{";Part 2", "#000X:02"}));
  EXPECT_EQ(SectionLines(mk::ChartText(e, 0), ";G(Part 2)"), (Strings{";G(Part 2)", "#00014:01"}));

  // Without groups every run gets its section, in lane order.
  mk::DocData f = MakeDoc({{"11", "__", 1}, {"12", "__", 1}, {"21", "31", 2}}, 0);
  Put(f, 2, 0, 0, 1);
  Put(f, 3, 0, 0, 2);
  EXPECT_EQ(wtest::Lines(mk::ChartText(f, 0)), (Strings{";Created by Tovel Ver.0.24", "", ";Header", "", "", ";Part 1",
                                                        "#00012:01", "", "", ";Part 2", "#00021:02", "", ""}));
}

TEST(ChartParts, BgaPartUsesBgaNumbering) {
  // Part 88 inside a group keeps the WAV numbering; a run of part 88 uses the BGA numbering.
  mk::DocData d =
      MakeDoc({{"A1", "__", 88}, {"A2", "__", 88}, {"A3", "__", 88}, {"A4", "__", 88}, {"04", "07", 88}}, 0, 1, 3);
  AddGroup(d, "G", 1, "1");
  Put(d, 1, 0, 0, 100);
  Put(d, 5, 0, 0, 100);
  Put(d, 5, 0, 0, 10100, /*back=*/true);
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(SectionLines(text, ";G(Part 88)"), (Strings{";G(Part 88)", "#00014:64"}));
  EXPECT_EQ(SectionLines(text, ";Part 88"), (Strings{";Part 88", "#00004:2S", "#00007:2S"}));
}

TEST(ChartParts, StackedLanesGetPlaceholders) {
  mk::DocData d = MakeDoc(
      {{"11", "__", 1}, {"01", "__", 99}, {"01", "__", 99}, {"01", "__", 99}, {"01", "51", 99}, {"__", "__", 99}}, 5);
  d.Lane[2].BackChannel = "__";
  Put(d, 2, 4, 0, 1);
  Put(d, 4, 4, 96, 2);
  Put(d, 2, 2, 0, 3);
  Put(d, 5, 3, 0, 4, /*back=*/true);  // back only: back line, no front placeholder
  Put(d, 6, 1, 0, 9);                 // no channel at all: no line, but still the stack's end
  const Strings expected = {";Part 99",  "#00101:00", "#00101:00", "#00101:00",  "#00101:00",
                            "#00151:00", "#00201:03", "#00301:00", "#00301:00",  "#00301:00",
                            "#00351:04", "#00401:01", "#00401:00", "#00401:0002"};
  EXPECT_EQ(SectionLines(mk::ChartText(d, 0), ";Part 99"), expected);
}

// Stacked lanes with both layers: the reader counts front and back lines apart, so each layer
// needs a line on every lane up to its last occupied one.
TEST(ChartParts, StackedLanesWithBothLayersReadBack) {
  struct Case {
    const char* name;
    int16_t front[3], back[3];  // tick-0 values of lanes 1..3 in measure 0
    Strings lines;
  };
  const Case cases[] = {
      {"back on the first lane, front on the last",
       {0, 0, 6},
       {5, 0, 0},
       {"#00051:05", "#00001:00", "#00001:00", "#00051:00", "#00001:06"}},
      {"front on the first lane, back on the last",
       {5, 0, 0},
       {0, 0, 6},
       {"#00001:05", "#00051:00", "#00001:00", "#00051:00", "#00051:06"}},
      {"front on the first, back on the second", {1, 0, 0}, {0, 2, 0}, {"#00001:01", "#00051:00", "#00051:02"}},
      {"both layers everywhere",
       {1, 3, 5},
       {2, 4, 6},
       {"#00001:01", "#00051:02", "#00001:03", "#00051:04", "#00001:05", "#00051:06"}},
      {"only back lines, with a gap", {0, 0, 0}, {7, 0, 8}, {"#00051:07", "#00001:00", "#00051:00", "#00051:08"}},
      {"front on the last lane only",
       {0, 0, 9},
       {0, 0, 0},
       {"#00001:00", "#00051:00", "#00001:00", "#00051:00", "#00001:09"}},
      {"back line beside front lines",
       {1, 0, 3},
       {0, 2, 0},
       {"#00001:01", "#00051:00", "#00051:02", "#00001:00", "#00001:03"}},
  };
  for (const Case& c : cases) {
    const std::vector<wtest::LaneSpec> lanes = {{"01", "51", 99}, {"01", "51", 99}, {"01", "51", 99}};
    mk::DocData d = MakeDoc(lanes, 0);
    for (int l = 1; l <= 3; ++l) {
      Put(d, l, 0, 0, c.front[l - 1]);
      Put(d, l, 0, 0, c.back[l - 1], /*back=*/true);
    }
    const std::string text = mk::ChartText(d, 0);
    Strings expected = {";Part 99"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(SectionLines(text, ";Part 99"), expected) << c.name;

    mk::DocData back = MakeDoc(lanes, 0);
    ASSERT_TRUE(mk::ReadChartText(back, text, mk::ChartCoding::Utf8, false).ok) << c.name;
    for (int l = 1; l <= 3; ++l) {
      EXPECT_EQ(back.Obj[l].Mes[0].Obj, d.Obj[l].Mes[0].Obj) << c.name << " lane " << l;
      EXPECT_EQ(back.Obj[l].Mes[0].BackObj, d.Obj[l].Mes[0].BackObj) << c.name << " lane " << l;
    }
  }
}

// A stacked lane without a channel in one layer gets no line there, not even a placeholder: the
// lines of that layer's channel must pass it by on reading and reach the lanes that have it.
TEST(ChartParts, StackedLaneWithoutAChannelInOneLayerIsPassedBy) {
  struct Case {
    const char* name;
    std::vector<wtest::LaneSpec> lanes;
    int16_t front[3], back[3];  // tick-0 values of lanes 1..3 in measure 0
  };
  const Case cases[] = {
      {"middle lane without a back channel",
       {{"01", "51", 99}, {"01", "__", 99}, {"01", "51", 99}},
       {1, 2, 3},
       {4, 0, 6}},
      {"middle lane without a back channel, back lines only",
       {{"01", "51", 99}, {"01", "__", 99}, {"01", "51", 99}},
       {0, 0, 0},
       {4, 0, 6}},
      {"middle lane without a front channel",
       {{"01", "51", 99}, {"__", "51", 99}, {"01", "51", 99}},
       {1, 0, 3},
       {4, 5, 6}},
      {"middle lane without a front channel, front lines only",
       {{"01", "51", 99}, {"__", "51", 99}, {"01", "51", 99}},
       {1, 0, 3},
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(c.lanes, 0);
    for (int l = 1; l <= 3; ++l) {
      Put(d, l, 0, 0, c.front[l - 1]);
      Put(d, l, 0, 0, c.back[l - 1], /*back=*/true);
    }
    const std::string text = mk::ChartText(d, 0);
    mk::DocData back = MakeDoc(c.lanes, 0);
    const mk::ChartReadResult r = mk::ReadChartText(back, text, mk::ChartCoding::Utf8, false);
    ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
    for (int l = 1; l <= 3; ++l) {
      EXPECT_EQ(back.Obj[l].Mes[0].Obj, d.Obj[l].Mes[0].Obj) << "lane " << l;
      EXPECT_EQ(back.Obj[l].Mes[0].BackObj, d.Obj[l].Mes[0].BackObj) << "lane " << l;
    }
  }
}

TEST(ChartParts, ScratchUsesPlayerChannels) {
  mk::DocData d = MakeDoc({{"11", "51", 1, "16", "__"}}, 0);
  Put(d, 1, 0, 0, 1);
  Put(d, 1, 0, 0, 2, /*back=*/true);
  EXPECT_EQ(SectionLines(mk::ChartText(d, -1), ";Part 1"), (Strings{";Part 1", "#00016:01"}));
  EXPECT_EQ(SectionLines(mk::ChartText(d, 0), ";Part 1"), (Strings{";Part 1", "#00011:01", "#00051:02"}));
}

}  // namespace

namespace {

// Slot counts are taken from the cells themselves: a stale count loses nothing.
TEST(ChartParts, StaleSlotCountsDoNotDropObjects) {
  mk::DocData d = MakeDoc({{"11", "__", 1}}, 1);
  d.Obj[1].Mes.Write(1).Obj[48] = 4;  // Division left at 0
  d.Obj[0].Mes.Write(1).Obj[0] = 200;
  d.Keys.Tmpc = "03";
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(SectionLines(text, ";Part 1"), (Strings{";Part 1", "#00111:00040000"}));
  EXPECT_EQ(SectionLines(text, ";BPM"), (Strings{";BPM", "#00103:C8"}));
}

}  // namespace

namespace {

// The layouts whose charts changed on every save: each is written so that it reads back as it
// was, and writing what was read gives the same text.
TEST(ChartGroups, LayoutsThatUsedToChangeOnEverySaveReadBack) {
  struct Case {
    const char* name;
    std::vector<wtest::LaneSpec> lanes;
    int16_t wnum, bnum, group;
    std::vector<std::array<int, 5>> objects;  // lane, measure, tick, value, back
    const char* section;                      // a section title, and lines it must hold
    Strings lines;
  };
  const Case cases[] = {
      // The fourth lane's own line and the back lines of a group over BGA lanes are coded as
      // their lanes are read: base 16 here, not in the group's base 36.
      {"group over BGA lanes",
       {{"__", "B1", 88}, {"__", "B2", 88}, {"__", "B3", 88}, {"C4", "B4", 88}},
       3,
       1,
       1,
       {{4, 0, 0, 255, 0}, {1, 0, 0, 200, 1}, {2, 0, 96, 17, 0}, {4, 1, 0, 36, 1}},
       ";G(Part 88)",
       {";G(Part 88)", "#00012:000H", "#000C4:FF", "#000B1:C8", "#001C4:00", "#001B4:24"}},
      // A fourth lane that starts a stack is written once, in the stack's section, where a
      // placeholder keeps its place when only a later stacked lane holds objects.
      {"fourth lane starting a stack",
       {{"__", "__", 1}, {"__", "__", 1}, {"__", "__", 1}, {"S", "T", 99}, {"S", "T", 99}, {"S", "T", 99}},
       1,
       1,
       1,
       {{5, 0, 0, 5, 0}, {4, 1, 0, 6, 0}, {6, 1, 0, 7, 1}, {1, 1, 0, 8, 0}},
       ";Part 99",
       {";Part 99", "#000S:00", "#000T:00", "#000S:05", "#001S:06", "#001T:00", "#001S:00", "#001T:00", "#001T:07"}},
      // A group inside a longer run of its part: the run's section leaves the group's lanes to
      // the group, so its open object stays open.
      {"group inside a longer run, open object",
       {{"A0", "__", 2}, {"A1", "__", 2}, {"A2", "__", 2}, {"A3", "__", 2}, {"A4", "__", 2}, {"A5", "__", 2}},
       1,
       1,
       2,
       {{2, 0, 0, 10005, 0}, {3, 0, 96, 6, 0}, {6, 0, 0, 9, 0}, {1, 0, 0, 3, 0}},
       ";Part 2",
       {";Part 2", "#000A0:03", "#000A5:09"}},
      // Stacked combined lanes: the group's lines carry their fronts; an empty one gets a
      // placeholder of its own channel so that the stack's later lines pass it.
      {"group over a stack sharing its channel",
       {{"S", "__", 99}, {"S", "__", 99}, {"S", "__", 99}, {"S", "__", 99}, {"S", "__", 99}},
       2,
       2,
       1,
       {{2, 0, 0, 5, 0}, {5, 0, 0, 6, 0}, {1, 1, 0, 10007, 0}},
       ";Part 99",
       {";Part 99", "#000S:00", "#000S:00", "#000S:00", "#000S:06"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(c.lanes, 1, c.wnum, c.bnum);
    AddGroup(d, "G", c.group, "1");
    const mk::DocData blank = d;
    for (const auto& o : c.objects) Put(d, o[0], o[1], o[2], static_cast<int16_t>(o[3]), o[4] != 0);
    const std::string text = mk::ChartText(d, 0);
    EXPECT_EQ(SectionLines(text, c.section), c.lines);
    mk::DocData back = blank;
    const mk::ChartReadResult r = mk::ReadChartText(back, text, mk::ChartCoding::Utf8, false);
    ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
    EXPECT_EQ(chartgen::ChartDifference(d, back), "");
    EXPECT_EQ(back.FreeText, "");
    EXPECT_EQ(mk::ChartText(back, 0), text);
  }
}

}  // namespace

namespace {

TEST(ChartParts, SlotsOfALine) {
  // One lane in hex numbering: where each tick lands in its line, and what is left out.
  struct Put1 {
    int tick;
    int16_t value;
  };
  const struct {
    const char* name;
    std::vector<Put1> puts;
    const char* line;  // nullptr: no line
  } cases[] = {
      {"halves", {{0, 1}, {96, 2}}, "#00011:0102"},
      {"thirds", {{0, 1}, {64, 2}, {128, 3}}, "#00011:010203"},
      {"a sixth alone", {{32, 1}}, "#00011:000100000000"},
      {"every tick", {{0, 1}, {1, 2}, {191, 3}}, nullptr},  // checked below by length
      {"a value past the code table, mid-line", {{0, 5}, {96, 4660}}, "#00011:0534"},
      {"a negative value is an empty slot", {{0, -3}, {96, 3}}, "#00011:0003"},
      {"a negative value between slots is left out", {{0, 1}, {32, -1}, {96, 2}}, "#00011:0102"},
      {"only a negative value: no line", {{0, -3}}, nullptr},
      {"an open object writes its number", {{48, 10005}}, "#00011:00050000"},
  };
  for (const auto& c : cases) {
    mk::DocData d = MakeDoc({{"11", "__", 1}}, 0);
    for (const Put1& p : c.puts) Put(d, 1, 0, p.tick, p.value);
    const Strings section = SectionLines(mk::ChartText(d, 0), ";Part 1");
    if (std::string(c.name) == "every tick") {
      ASSERT_EQ(section.size(), 2u) << c.name;
      const std::string& l = section[1];
      ASSERT_EQ(l.size(), std::string("#00011:").size() + 2 * 192) << c.name;
      EXPECT_EQ(l.substr(7, 4), "0102") << c.name;
      EXPECT_EQ(l.substr(l.size() - 2), "03") << c.name;
      EXPECT_EQ(l.substr(11, 2 * 189), std::string(2 * 189, '0')) << c.name;
    } else if (c.line) {
      EXPECT_EQ(section, (Strings{";Part 1", c.line})) << c.name;
    } else {
      EXPECT_TRUE(section.empty() || section == Strings{";Part 1"}) << c.name;
    }
  }
}

// A value that base 36 cannot write in two characters (read from a code such as "_A" where
// the script lists "_" as a symbol) is left out of its slot; the other objects of the line keep
// their ticks.
TEST(ChartParts, AValueWithoutACodeKeepsTheLineInStep) {
  mk::DocData d = MakeDoc({{"X1", "__", 1}, {"A1", "__", 2}, {"A2", "__", 2}, {"A3", "__", 2}, {"A4", "__", 2}}, 0, 3);
  AddGroup(d, "G", 2, "1");
  d.Keys.OSymbol = {"", "_"};
  ASSERT_TRUE(mk::ReadChartLines(d, {"#000X1:_A01", "#00014:_A01"}, false).ok);
  for (int lane : {1, 2}) {
    ASSERT_EQ(d.Obj[lane].Mes[0].Obj[0], 1450) << lane;
    ASSERT_EQ(d.Obj[lane].Mes[0].Obj[96], 1) << lane;
  }
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(SectionLines(text, ";Part 1"), (Strings{";Part 1", "#000X1:0001"}));
  EXPECT_EQ(SectionLines(text, ";G(Part 2)"), (Strings{";G(Part 2)", "#00014:0001"}));
}

}  // namespace
