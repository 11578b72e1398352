// Random edit sequences on random charts: whenever the chart would write other bytes than it
// last saved, it carries the modified mark; and a definition move never changes which file an
// object names, wherever the object lies (grid, floating selection on or off the lanes, undo
// levels).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"
#include "chartgen.h"
#include "deftables/defmove.h"
#include "deftables/wavtable.h"
#include "editing/dropsel.h"
#include "editing/movesel.h"
#include "editing/selection.h"
#include "editing/undo.h"

using namespace mk;

namespace {

constexpr int kMax = 999;

// What a save would write: the selection lands first, as the writer's ObjDeSel does.
std::string SavedBytes(const DocData& d) {
  DocData c = d;
  ObjDeSel(c, kMax);
  return ChartBytes(c, 0);
}

const std::string& FileOf(const DocData& d, int16_t table, int v) {
  static const std::string none;
  if (v > kOpenObjectBase) v -= kOpenObjectBase;
  const std::vector<DefEntry>& t = table == kSelTableBga ? d.Bga : d.Wav;
  return v >= 0 && v < static_cast<int>(t.size()) ? t[v].File : none;
}

// Every object of one generation, with the file its number names (tempo values by value).
using View = std::multimap<std::tuple<int, int, int, int>, std::string>;
View FilesOf(const DocData& d, const std::vector<LaneMes>& grid, const std::vector<SelEntry>& sel, int32_t count) {
  View v;
  for (int l = 0; l < static_cast<int>(grid.size()); ++l) {
    const int16_t table = LaneTable(d, l);
    for (size_t m = 0; m < grid[l].Mes.size(); ++m) {
      const MesData& c = grid[l].Mes[m];
      for (int layer = 0; layer < 2; ++layer)
        for (const CellLayer::Entry& e : (layer ? c.BackObj : c.Obj).Entries())
          v.emplace(std::make_tuple(l, static_cast<int>(m), e.Tick, layer),
                    table == kSelTableNone
                        ? std::to_string(e.Value)
                        : FileOf(d, table, e.Value) + "/" + std::to_string(e.Value > kOpenObjectBase));
    }
  }
  for (int32_t i = 1; i <= count && i < static_cast<int32_t>(sel.size()); ++i) {
    const SelEntry& e = sel[i];
    const int16_t table = SelEntryTable(d, e);
    v.emplace(std::make_tuple(1000 + e.Lane, e.Mes, e.Tick, e.Back != 0),
              table == kSelTableNone ? std::to_string(e.Value)
                                     : FileOf(d, table, e.Value) + "/" + std::to_string(e.Value > kOpenObjectBase));
  }
  return v;
}

struct Generations {
  View live, level1, level2;
  bool operator==(const Generations&) const = default;
};
Generations AllFiles(const DocData& d) {
  return {FilesOf(d, d.Obj, d.Sel, d.SelCount), FilesOf(d, d.UndoObj, d.UndoSel, d.UndoSelCount),
          FilesOf(d, d.UndoObj2, d.UndoSel2, d.UndoSelCount2)};
}

TEST(ModifiedProperty, RandomEditsKeepTheMarkTrueAndMovesKeepFiles) {
  int charts = 0, steps = 0, differing = 0, moves = 0, offLaneMoves = 0;
  for (uint32_t seed = 1; charts < 40 && seed < 400; ++seed) {
    chartgen::SeededChoices ch(seed);
    const std::vector<std::string> script = chartgen::RandomScript(ch, false);
    DocData d;
    std::string info;
    if (!ReadScriptLines(script, "gen.dfn", d, info).ok || d.LaneCount < 1) continue;
    chartgen::FillChart(d, ch);
    d.Sel.assign(1, SelEntry{});
    ++charts;
    std::string saved = SavedBytes(d);  // as read from its file
    d.Dirty = 0;
    for (int step = 0; step < 60; ++step, ++steps) {
      const int what = ch.Between(0, 9);
      const int lanes = d.LaneCount;
      const auto wavLast = static_cast<int>(d.Wav.size()) - 1, bgaLast = static_cast<int>(d.Bga.size()) - 1;
      SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << what);
      switch (what) {
        case 0: {  // a placement as the canvas makes it
          ObjBackup(d);
          const int l = ch.Between(1, lanes), m = ch.Between(0, d.MesCount), t = ch.Between(0, 191);
          const int last = LaneTable(d, l) == kSelTableBga ? bgaLast : wavLast;
          if (last >= 1) {
            MesData& c = d.Obj[l].Mes.Write(m);
            c.Obj[t] = static_cast<int16_t>(ch.Between(1, last));
            RecalcLaneResolution(d, l, l, m, m);
          }
          break;
        }
        case 1: {  // select a block and drag it, maybe off the lanes
          ObjDeSel(d, kMax);
          ObjBackup(d);
          const int l = ch.Between(0, lanes), m = ch.Between(0, d.MesCount);
          if (ch.OneIn(2))
            ObjSelect(d, 0, 0, 0, lanes, d.MesCount, 191, true);
          else
            ObjSelect(d, l, m, 0, std::min(lanes, l + 2), m, 191, true);
          MoveSelection(d, 0, 0, 0, ch.Between(-lanes - 1, lanes + 1), 0, 0);
          if (ch.OneIn(4)) ObjDeSel(d, kMax);
          break;
        }
        case 2:
        case 3: {  // a definition move of either table, the frame marking the chart
          const DefMove mv = ch.Pick({DefMove::WAVUp, DefMove::WAVDown, DefMove::BGAUp, DefMove::BGADown});
          const bool bga = mv == DefMove::BGAUp || mv == DefMove::BGADown;
          const int last = bga ? bgaLast : wavLast;
          if (last < 2) break;
          d.CurDef = static_cast<int16_t>(ch.Between(1, last));
          const Generations before = AllFiles(d);
          for (int i = 1; i <= d.SelCount; ++i)
            if (LaneTable(d, d.Sel[i].Lane) == kSelTableNone) {
              ++offLaneMoves;
              break;
            }
          if (MoveDefinition(d, mv)) {
            MarkChangedBeyondUndo(d);
            ++moves;
            EXPECT_TRUE(AllFiles(d) == before);
          }
          break;
        }
        case 4:
          WAVCompact(d, kMax);
          MarkChangedBeyondUndo(d);  // the menu command marks the chart whatever changed
          break;
        case 5:
          WAVDelUnused(d, kMax);
          MarkChangedBeyondUndo(d);
          break;
        case 6:
        case 7: Undo(d); break;
        case 8:  // a save: the writer lands the selection, then the flag is cleared
          ObjDeSel(d, kMax);
          saved = ChartBytes(d, 0);
          MarkSaved(d);
          break;
        case 9:  // a header edit, or an erase drag that erased nothing
          if (ch.OneIn(2)) {
            d.Title += "x";
            MarkChangedBeyondUndo(d);
          } else {
            ObjBackup(d);
            DropLastBackup(d);
          }
          break;
      }
      const bool differs = SavedBytes(d) != saved;
      differing += differs;
      if (differs) {
        ASSERT_EQ(d.Dirty, -1) << "the chart differs from its file without the mark";
      }
    }
  }
  EXPECT_GE(charts, 20);
  EXPECT_GT(differing, steps / 10);
  EXPECT_GT(moves, 100);
  EXPECT_GT(offLaneMoves, 5) << "moves with entries off the lanes were reached";
}

}  // namespace
