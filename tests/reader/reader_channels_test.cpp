// Channel lines: one table of channel data -> cells (lane, measure, tick, layer, value).
#include <gtest/gtest.h>

#include "chartfmt/chartread.h"
#include "reader_fixture.h"

namespace {

using mk::DocData;

struct Cell {
  int lane, mes, tick;
  bool back;
  int value;
  bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cell& c) {
  return os << "{lane " << c.lane << ", mes " << c.mes << ", tick " << c.tick << (c.back ? ", back" : ", front") << ", "
            << c.value << "}";
}

// Every non-zero slot of the grid, spare slot 192 included.
std::vector<Cell> Occupied(const DocData& d) {
  std::vector<Cell> out;
  for (int l = 0; l < static_cast<int>(d.Obj.size()); ++l)
    for (int m = 0; m < static_cast<int>(d.Obj[l].Mes.size()); ++m)
      for (int t = 0; t < mk::kCellSlots; ++t) {
        const mk::MesData& c = d.Obj[l].Mes[m];
        if (c.Obj[t]) out.push_back({l, m, t, false, c.Obj[t]});
        if (c.BackObj[t]) out.push_back({l, m, t, true, c.BackObj[t]});
      }
  return out;
}

std::vector<Cell> Front(int lane, int mes, std::initializer_list<std::pair<int, int>> ticks) {
  std::vector<Cell> out;
  for (auto [t, v] : ticks) out.push_back({lane, mes, t, false, v});
  return out;
}
std::vector<Cell> Back(int lane, int mes, std::initializer_list<std::pair<int, int>> ticks) {
  std::vector<Cell> out;
  for (auto [t, v] : ticks) out.push_back({lane, mes, t, true, v});
  return out;
}
std::vector<Cell> operator+(std::vector<Cell> a, const std::vector<Cell>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string Codes(const std::string& code, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += code;
  return s;
}

struct ChannelCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<Cell> cells;  // exactly the occupied slots afterwards, in grid order
  std::string freeText;
};

TEST(ReaderChannels, DataToTicksAndLayers) {
  std::vector<Cell> fill = Front(1, 1, {});
  for (int t = 0; t < 191; ++t) fill.push_back({1, 1, t, false, 1});
  fill.push_back({1, 1, 191, false, 2});

  const std::vector<ChannelCase> cases = {
      {"front rule rounds (5 codes)",
       {"#00111:0102030405"},
       Front(1, 1, {{0, 1}, {38, 2}, {77, 3}, {115, 4}, {154, 5}}),
       ""},
      {"back rule truncates (5 codes)",
       {"#00121:0102030405"},
       Back(1, 1, {{0, 1}, {38, 2}, {76, 3}, {114, 4}, {152, 5}}),
       ""},
      {"3 characters read as 2 codes, the last single", {"#00111:01Z"}, Front(1, 1, {{0, 1}, {128, 35}}), ""},
      {"blanks dropped, letters upper-cased", {"#00111: 01 02 0a"}, Front(1, 1, {{0, 1}, {64, 2}, {128, 10}}), ""},
      {"384 codes: the last rounds to the measure's end and lands on its last tick",
       {"#00111:" + Codes("01", 383) + "02"},
       fill,
       ""},
      {"back line of 200 codes: all on tick 0", {"#00121:" + Codes("02", 199) + "03"}, Back(1, 1, {{0, 3}}), ""},
      {"lines without data change nothing", {"#00111:", "#001TM:", "#00134:", "#0013W", "#001LN:"}, {}, ""},
      {"empty codes leave the cell", {"#00111:05", "#00111:0000"}, Front(1, 1, {{0, 5}}), ""},
      {"separator not accepted: first data character lost", {"#001 11:0101"}, Front(1, 1, {{0, 36}, {128, 1}}), ""},
      {"tempo is hexadecimal", {"#002TM:78FF"}, Front(0, 2, {{0, 0x78}, {96, 0xFF}}), ""},
      {"tempo code that is not hexadecimal clears", {"#002TM:1010", "#002TM:0G"}, Front(0, 2, {{96, 16}}), ""},
      {"group digit 4, 2, 1 and combinations",
       {"#00134:01", "#00132:0002", "#00137:00000003"},
       Front(5, 1, {{0, 1}, {144, 3}}) + Front(6, 1, {{96, 2}, {144, 3}}) + Front(7, 1, {{144, 3}}),
       ""},
      {"group digit 5 fills first and third lanes, back rule",
       {"#00135:0102030405"},
       Front(5, 1, {{0, 1}, {38, 2}, {76, 3}, {114, 4}, {152, 5}}) +
           Front(7, 1, {{0, 1}, {38, 2}, {76, 3}, {114, 4}, {152, 5}}),
       ""},
      {"group digit 0 is an open object on the first lane", {"#00130:0500"}, Front(5, 1, {{0, 10005}}), ""},
      {"W line fills the fourth lane, front rule",
       {"#0013W:0102030405"},
       Front(8, 1, {{0, 1}, {38, 2}, {77, 3}, {115, 4}, {154, 5}}),
       ""},
      {"group digits 8 and 9 are no group lines", {"#00138:01", "#00139:01"}, {}, "#00138:01\r\n#00139:01\r\n"},
      {"group lane back channel", {"#00128:0001"}, Back(8, 1, {{96, 1}}), ""},
      {"part 88 reads the BGA mode", {"#00104:0A1F"}, Front(9, 1, {{0, 10}, {96, 31}}), ""},
      {"part 99 lines stack",
       {"#00101:01", "#00101:02", "#00101:03"},
       Front(10, 1, {{0, 1}}) + Front(11, 1, {{0, 2}}) + Front(12, 1, {{0, 3}}),
       ""},
      {"an all-empty part 99 line takes its lane",
       {"#00101:01", "#00101:00", "#00101:03"},
       Front(10, 1, {{0, 1}}) + Front(12, 1, {{0, 3}}),
       ""},
      {"part 99 stacks per measure", {"#00101:01", "#00201:02"}, Front(10, 1, {{0, 1}}) + Front(10, 2, {{0, 2}}), ""},
      {"part 99 front and back counted apart",
       {"#001A1:05", "#00101:01", "#00101:02", "#001A1:06"},
       Front(10, 1, {{0, 1}}) + Back(10, 1, {{0, 5}}) + Front(11, 1, {{0, 2}}) + Back(11, 1, {{0, 6}}),
       ""},
  };
  for (const ChannelCase& c : cases) {
    SCOPED_TRACE(c.name);
    DocData d = readerfix::StandardScript().Build();
    const mk::ChartReadResult r = mk::ReadChartLines(d, c.lines, false);
    ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
    EXPECT_EQ(Occupied(d), c.cells);
    EXPECT_EQ(d.FreeText, c.freeText);
  }
}

// A stacked lane without a channel in one layer is passed by for that layer's lines; a line for
// which only such lanes remain overflows the stack.
TEST(ReaderChannels, StackedLinesPassByLanesWithoutTheirLayer) {
  readerfix::DocBuilder b;
  b.Lane("01", "A1", 99).Lane("01", "__", 99).Lane("__", "A1", 99).Lane("01", "A1", 99);
  DocData d = b.Build();
  const mk::ChartReadResult r =
      mk::ReadChartLines(d, {"#001A1:05", "#001A1:06", "#00101:01", "#00101:02", "#00101:03", "#001A1:07"}, false);
  ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
  EXPECT_EQ(Occupied(d), Front(1, 1, {{0, 1}}) + Back(1, 1, {{0, 5}}) + Front(2, 1, {{0, 2}}) + Back(3, 1, {{0, 6}}) +
                             Front(4, 1, {{0, 3}}) + Back(4, 1, {{0, 7}}));
  DocData full = b.Build();
  EXPECT_FALSE(mk::ReadChartLines(full, {"#00101:01", "#00101:02", "#00101:03", "#00101:04"}, false).ok);
}

// A script whose WAV numbering mode codes nothing (not 1 to 3) still keeps the tempo values its
// charts were saved with: empty slots are told by the base-16 value then.
TEST(ReaderChannels, TempoWithoutAWavNumberingMode) {
  for (int16_t mode : {0, 4}) {
    SCOPED_TRACE(mode);
    DocData d = readerfix::StandardScript().Modes(mode, 1).Build();
    ASSERT_TRUE(mk::ReadChartLines(d, {"#002TM:7800FF00"}, false).ok);
    EXPECT_EQ(Occupied(d), Front(0, 2, {{0, 0x78}, {96, 0xFF}}));
  }
}

TEST(ReaderChannels, MeasureLengthLines) {
  DocData d = readerfix::StandardScript().Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"#001LN:0.75", "#002LN0.75", "#003ln: 1.5e1 "}, false).ok);
  EXPECT_EQ(d.Obj[0].Mes[1].Length, 0.75);
  EXPECT_EQ(d.Obj[0].Mes[2].Length, 75);  // without separator: first character and "." lost
  EXPECT_EQ(d.Obj[0].Mes[3].Length, 15);
  EXPECT_EQ(d.Obj[0].Mes[0].Length, 0);
}

TEST(ReaderChannels, LaneChannelBeginningWithAGroupDigitReadsAsGroup) {
  readerfix::DocBuilder b = readerfix::StandardScript();
  b.Lane("32", "__", 100);  // "3" + "2" is the group's digit-2 line
  DocData d = b.Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"#00132:07"}, false).ok);
  EXPECT_EQ(d.Obj[6].Mes[1].Obj[0], 7);
  EXPECT_EQ(d.Obj[13].Mes[1].Obj[0], 0);
}

// Channel names of any length, in any letter case, beside short ones.
TEST(ReaderChannels, LongChannelNames) {
  readerfix::DocBuilder b = readerfix::StandardScript();
  b.Lane("LONGNAME1", "longback22", 100).Lane("OTHERNAME12", "__", 100);
  DocData d = b.Build();
  ASSERT_TRUE(
      mk::ReadChartLines(d, {"#001longname1:05", "#001LONGBACK22:06", "#001OtherName12:07", "#001LONGNAME:08"}, false)
          .ok);
  EXPECT_EQ(d.Obj[13].Mes[1].Obj[0], 5);
  EXPECT_EQ(d.Obj[13].Mes[1].BackObj[0], 6);
  EXPECT_EQ(d.Obj[14].Mes[1].Obj[0], 7);
  EXPECT_EQ(d.FreeText, "#001LONGNAME:08\r\n");
}

TEST(ReaderChannels, OtherCommandAndSeparatorSymbolsAndKeptSymbols) {
  readerfix::DocBuilder b = readerfix::StandardScript();
  b.Keys().SSymbol = {":", "="};
  b.Keys().OSymbol = {"", "-"};
  b.Lane("5-", "__", 100);
  DocData d = b.Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"%00111=02", "#0015-:03"}, false).ok);
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 2);
  EXPECT_EQ(d.Obj[13].Mes[1].Obj[0], 3);
}

}  // namespace

namespace {

// The slot counts a read leaves are those a recount of every cell gives, and a cell that a line
// left with nothing is the shared empty record again, whatever the lines wrote and whatever the
// grid held before the read (a stale count included).
TEST(ReaderChannels, EachLineSettlesTheSlotCountsOfItsCells) {
  std::string overlong = "#00211:";
  for (int i = 0; i < 250; ++i) overlong += i % 3 ? "00" : "0Z";
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {"lanes, back layers and a group over its lanes' own lines",
       {"#00111:0102", "#00121:00000300", "#00137:0A0B0C", "#00115:01", "#00116:000000000001", "#0013W:0102"}},
      {"an overlong line, an odd one and a lone code", {overlong, "#00312:01020", "#00313:1"}},
      {"a line of empty codes and a normal length", {"#00111:0000", "#001LN:0", "#00211:00", "#002LN:1"}},
      {"tempo values, one reading as no number", {"#001TM:0A0B", "#001TM:0Z00", "#002TM:00"}},
      {"stacked lanes and the group's digit-0 line", {"#00101:0101", "#00101:000002", "#00130:00000001"}},
  };
  for (const auto& [name, lines] : cases) {
    SCOPED_TRACE(name);
    for (const bool stale : {false, true}) {
      DocData d = readerfix::StandardScript().Build();
      if (stale) {  // cells already there, one of them counted wrongly
        d.Obj[1].Mes.Write(1).Obj[96] = 5;
        d.Obj[2].Mes.Write(3).BackObj[64] = 6;
        d.Obj[2].Mes.Write(3).Division = 1;
      }
      ASSERT_TRUE(mk::ReadChartLines(d, lines, false).ok);
      DocData recounted = d;
      mk::RecalcLaneResolution(recounted, 0, recounted.LaneCount, 0, recounted.MesCount);
      for (size_t l = 0; l < d.Obj.size(); ++l)
        for (size_t m = 0; m < d.Obj[l].Mes.size(); ++m) {
          const mk::MesData& cell = d.Obj[l].Mes[m];
          EXPECT_EQ(cell.Division, mk::CellDivision(cell)) << "lane " << l << " measure " << m;
          EXPECT_EQ(d.Obj[l].Mes.Stored(m), recounted.Obj[l].Mes.Stored(m)) << "lane " << l << " measure " << m;
        }
      EXPECT_EQ(d.Obj, recounted.Obj);
    }
  }
}

}  // namespace
