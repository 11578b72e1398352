#include "editing/measures.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>

#include "cmd_fixture.h"
#include "scripted_desktop.h"

namespace mk {
namespace {

using cmdtest::At;
using cmdtest::MakeDoc;
using cmdtest::Put;
using cmdtest::RecordingHost;
using cmdtest::Select;

// Measures 0..5 of lanes 0..3, each measure marked by its number: a tempo value and a length
// factor on lane 0, front objects on lanes 1 and 3, a back object on lane 2.
DocData Marked() {
  DocData d = MakeDoc(3, 5);
  for (int m = 0; m <= 5; ++m) {
    Put(d, 0, m, 0, static_cast<int16_t>(100 + m));
    d.Obj[0].Mes.Write(m).Length = 0.25 * (m + 1);
    Put(d, 1, m, 48, static_cast<int16_t>(10 + m));
    Put(d, 2, m, 96, static_cast<int16_t>(20 + m), true);
    Put(d, 3, m, 0, static_cast<int16_t>(10030 + m));
  }
  return d;
}

// The mark of the measure found at m, or -1 for an empty measure of normal length, -2 for anything
// else.
int MarkAt(const DocData& d, int m) {
  const int t = At(d, 0, m, 0);
  if (t == 0) {
    for (int l = 0; l <= d.LaneCount; ++l)
      if (!(d.Obj[l].Mes[m] == MesList::Empty())) return -2;
    return -1;
  }
  const int k = t - 100;
  const bool whole = d.Obj[0].Mes[m].Length == 0.25 * (k + 1) && At(d, 1, m, 48) == 10 + k &&
                     At(d, 2, m, 96, true) == 20 + k && At(d, 3, m, 0) == 10030 + k;
  return whole ? k : -2;
}

std::vector<int> Marks(const DocData& d) {
  std::vector<int> v;
  for (int m = 0; m <= d.MesCount; ++m) v.push_back(MarkAt(d, m));
  return v;
}

TEST(MesInsertDelete, MovesWholeMeasuresInEveryLaneAndUndoRestoresTheCount) {
  struct Case {
    const char* name;
    bool insert;
    int16_t at;
    std::vector<int> marks;
  } cases[] = {
      {"insert at 2", true, 2, {0, 1, -1, 2, 3, 4, 5}},
      {"insert at the first measure", true, 0, {-1, 0, 1, 2, 3, 4, 5}},
      {"insert at the last measure", true, 5, {0, 1, 2, 3, 4, -1, 5}},
      {"delete at 2", false, 2, {0, 1, 3, 4, 5}},
      {"delete the first measure", false, 0, {1, 2, 3, 4, 5}},
      {"delete the last measure", false, 5, {0, 1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocData d = Marked();
    d.CurMes = c.at;
    RecordingHost host(d);
    ASSERT_TRUE(c.insert ? MesInsert(d, host, 499) : MesDelete(d, host));
    EXPECT_EQ(host.log, "backup desel count draw ");
    EXPECT_EQ(Marks(d), c.marks);
    EXPECT_EQ(d.MesCount + 1, static_cast<int>(c.marks.size()));
    for (const LaneMes& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), c.marks.size());
    EXPECT_EQ(d.Dirty, -1);
    // The moved measures are the snapshot's cells, not copies of them.
    const int from = c.insert ? c.at + 1 : c.at;
    if (from <= d.MesCount) {
      EXPECT_TRUE(&d.Obj[1].Mes[from] == &d.UndoObj[1].Mes[c.insert ? from - 1 : from + 1]);
    }
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(d.MesCount, 5);
    EXPECT_EQ(Marks(d), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  }
}

TEST(MesInsertDelete, ASingleMeasureIsKeptWithTheEarlierUndoAndMark) {
  DocData d = MakeDoc(2, 0);
  Put(d, 1, 0, 0, 5);
  d.CurMes = 0;
  RecordingHost host(d);
  ObjBackup(d);  // an earlier edit
  Put(d, 2, 0, 0, 6);
  d.Dirty = 0;  // as if saved since
  ASSERT_TRUE(MesDelete(d, host));
  EXPECT_EQ(host.log, "desel draw ");
  EXPECT_EQ(d.MesCount, 0);
  EXPECT_EQ(At(d, 1, 0, 0), 5);
  EXPECT_EQ(d.Dirty, 0);
  ASSERT_TRUE(Undo(d));  // still the earlier edit's level
  EXPECT_EQ(At(d, 2, 0, 0), 0);

  // A floating entry past the end grows the chart as it lands: then a measure goes, undoably.
  DocData g = MakeDoc(2, 0);
  Select(g, {{1, 2, 0, 7, 0}});
  g.CurMes = 0;
  RecordingHost gh(g);
  ASSERT_TRUE(MesDelete(g, gh, 499));
  EXPECT_EQ(gh.log, "backup desel count draw ");
  EXPECT_EQ(g.MesCount, 1);
  EXPECT_EQ(At(g, 1, 1, 0), 7);
  EXPECT_EQ(g.Dirty, -1);
}

TEST(MesInsertDelete, TheSelectionLandsFirstAndMovesWithItsMeasure) {
  for (bool insert : {true, false}) {
    SCOPED_TRACE(insert ? "insert" : "delete");
    DocData d = Marked();
    Select(d, {{1, 4, 24, 77, 0}, {2, 1, 0, 78, -1}});
    d.CurMes = 2;
    RecordingHost host(d);
    ASSERT_TRUE(insert ? MesInsert(d, host, 499) : MesDelete(d, host));
    EXPECT_EQ(d.SelCount, 0);
    EXPECT_EQ(At(d, 1, insert ? 5 : 3, 24), 77);
    EXPECT_EQ(At(d, 2, 1, 0, true), 78);
  }
}

TEST(MesInsertDelete, InsertAtTheMeasureLimitIsRefused) {
  struct Case {
    const char* name;
    int mesCount, maxMeasure;
    std::vector<SelEntry> sel;
    bool done;
  } cases[] = {
      {"one below the limit", 4, 5, {}, true},
      {"at the limit", 5, 5, {}, false},
      {"read past the limit", 7, 5, {}, false},
      {"the selection would grow the chart to the limit", 3, 5, {{1, 5, 0, 9, 0}}, false},
      {"the selection reaches past the limit", 3, 5, {{1, 9, 0, 9, 0}}, false},
      {"a selection off the lanes grows nothing", 3, 5, {{7, 9, 0, 9, 0}}, true},
      {"nor does one the drop leaves floating", 3, 5, {{2, 5, 0, 9, -1}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocData d = MakeDoc(3, c.mesCount);
    d.Lane[2].BackChannel = "__";  // a lane without a back channel
    Put(d, 1, c.mesCount, 0, 42);
    Select(d, c.sel);
    d.CurMes = 1;
    const DocData before = d;
    RecordingHost host(d, c.maxMeasure);
    EXPECT_EQ(MesInsert(d, host, c.maxMeasure), c.done);
    if (!c.done) {
      EXPECT_EQ(host.log, "");
      EXPECT_EQ(d.Obj, before.Obj);
      EXPECT_EQ(d.MesCount, before.MesCount);
      EXPECT_EQ(d.SelCount, before.SelCount);
      EXPECT_EQ(d.UndoOn, 0);
      EXPECT_EQ(d.Dirty, 0);
    } else {
      EXPECT_EQ(At(d, 1, c.mesCount + 1, 0), 42);  // the last measure moved, not lost
      // What could not land (off the lanes, or on a layer without a line) floats on where it was.
      EXPECT_EQ(cmdtest::Selected(d), c.sel);
    }
  }
}

TEST(MesInsertDelete, APointerOutsideTheChartDoesNothing) {
  for (int16_t m : {int16_t{-1}, int16_t{6}}) {
    DocData d = Marked();
    d.CurMes = m;
    RecordingHost host(d);
    EXPECT_FALSE(MesInsert(d, host, 499));
    EXPECT_FALSE(MesDelete(d, host));
    EXPECT_FALSE(MesLength(d, host));
    EXPECT_EQ(host.log, "");
  }
}

TEST(MesLength, AnswersToStoredFactors) {
  struct Case {
    std::optional<std::string> answer;  // nullopt: cancelled
    std::optional<double> stored;       // nullopt: nothing stored
  } cases[] = {
      {"0.5", 0.5},
      {"0.3334", static_cast<float>(0.333)},
      {"  1.25e0", 1.25},
      {"2", 2.0},
      {"0", 0.0},
      {"abc", 0.0},  // no leading number reads 0, the normal length
      {"0.0004", 0.0},
      {"", std::nullopt},
      {std::nullopt, std::nullopt},
      {"-0.5", std::nullopt},
      {"1e38", static_cast<float>(1e38)},
      {"1e39", std::nullopt},  // beyond single precision
      {"1e400", std::nullopt},
      {"0.75", std::nullopt},  // the factor the measure has: no change
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer ? "\"" + *c.answer + "\"" : "cancel");
    testsupport::ScopedDesktop desk;
    DocData d = MakeDoc(3, 9);
    d.Obj[0].Mes.Write(7).Length = 0.75;
    d.Obj[1].Mes.Write(7).Length = 0.5;
    d.CurMes = 7;
    desk.ExpectInputBox(c.answer,
                        {.prompt = "7小節の倍率を入力してください", .title = "小節の短縮化", .defaultText = "0.750"});
    RecordingHost host(d);
    EXPECT_EQ(MesLength(d, host), c.stored.has_value());
    // The snapshot follows the answer, and only one that changes the measure takes it.
    EXPECT_EQ(host.log, c.stored ? "backup draw " : "");
    EXPECT_EQ(d.Obj[0].Mes[7].Length, c.stored.value_or(0.75));
    EXPECT_EQ(d.Obj[1].Mes[7].Length, 0.5);  // only lane 0 holds the factor
    EXPECT_EQ(d.UndoOn, c.stored ? -1 : 0);
    EXPECT_EQ(d.Dirty, c.stored ? -1 : 0);
  }
}

TEST(MesLength, TheDefaultTextHasThreeDecimals) {
  EXPECT_EQ(LengthText(0), "0.000");
  EXPECT_EQ(LengthText(0.75), "0.750");
  EXPECT_EQ(LengthText(static_cast<float>(0.333)), "0.333");
  EXPECT_EQ(LengthText(12.5), "12.500");
  // A normal length on an otherwise empty measure shares the empty record again.
  testsupport::ScopedDesktop desk;
  DocData d = MakeDoc(1, 3);
  d.Obj[0].Mes.Write(2).Length = 0.5;
  d.CurMes = 2;
  desk.ExpectInputBox("0", {.prompt = "2小節の倍率を入力してください", .defaultText = "0.500"});
  RecordingHost host(d);
  ASSERT_TRUE(MesLength(d, host));
  EXPECT_FALSE(d.Obj[0].Mes.Stored(2));
}

// Insert and Erase move cell references: a list copied before (an undo level) keeps its cells,
// and the result equals the same operations on plain measures.
TEST(MesListShift, MatchesPlainMeasuresAndLeavesCopiesAlone) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200; ++round) {
    const size_t n = 1 + rng() % 150;
    MesList list(n);
    std::vector<MesData> plain(n);
    for (int k = 0; k < 20; ++k) {
      const size_t m = rng() % n;
      const int16_t v = static_cast<int16_t>(1 + rng() % 900);
      list.Write(m).Obj[rng() % 192] = v;
      plain[m] = list[m];
    }
    const MesList copy = list;
    const std::vector<MesData> copyPlain = plain;
    for (int k = 0; k < 6; ++k) {
      if (rng() % 2 == 0 || plain.size() < 2) {
        const size_t m = rng() % (plain.size() + 1);
        list.Insert(m);
        plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(m), MesData{});
      } else {
        const size_t m = rng() % plain.size();
        list.Erase(m);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(m));
      }
    }
    ASSERT_EQ(list.size(), plain.size());
    for (size_t m = 0; m < plain.size(); ++m) ASSERT_EQ(list[m], plain[m]) << "round " << round << " measure " << m;
    size_t stored = 0;
    for (const MesData& c : plain) stored += c == MesData{} ? 0 : 1;
    EXPECT_EQ(list.StoredCells(), stored);  // no empty cell left behind
    ASSERT_EQ(copy.size(), copyPlain.size());
    for (size_t m = 0; m < copyPlain.size(); ++m) ASSERT_EQ(copy[m], copyPlain[m]);
  }
}

}  // namespace
}  // namespace mk
