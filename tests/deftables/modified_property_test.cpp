// Random edit sequences on random charts: whenever the chart would write other bytes than it
// last saved, it carries the modified mark; a save is refused exactly while something floats that
// the grid cannot hold, and otherwise writes what the window shows; a definition move never
// changes which file an object names, wherever the object lies (grid, floating selection on or
// off the lanes, undo levels); and paste, measure insert and delete, release and compaction keep
// every object the drop leaves floating.
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
#include "editing/clipboard.h"
#include "editing/dropsel.h"
#include "editing/measures.h"
#include "editing/movesel.h"
#include "editing/selection.h"
#include "editing/undo.h"
#include "temp_dir.h"

using namespace mk;

namespace {

// The chart as a save sees it: the selection landed, as the writer's ObjDeSel does.
DocData Landed(const DocData& d, int maxMes) {
  DocData c = d;
  ObjDeSel(c, maxMes);
  return c;
}

// What a save would write.
std::string SavedBytes(const DocData& d, int maxMes) { return ChartBytes(Landed(d, maxMes), 0); }

// The objects the window shows on the lanes, by lane, measure, tick and layer: the grid, and over
// it the floating entries on the lanes as a drop writes them (later entries win).
using Shown = std::map<std::tuple<int, int, int, int>, int16_t>;
Shown ShownObjects(const DocData& d) {
  Shown v;
  for (int l = 0; l < static_cast<int>(d.Obj.size()); ++l)
    for (size_t m = 0; m < d.Obj[l].Mes.size(); ++m)
      for (int layer = 0; layer < 2; ++layer)
        for (const CellLayer::Entry& e : (layer ? d.Obj[l].Mes[m].BackObj : d.Obj[l].Mes[m].Obj).Entries())
          v[{l, static_cast<int>(m), e.Tick, layer}] = e.Value;
  for (int32_t i = 1; i <= d.SelCount; ++i) {
    const SelEntry& e = d.Sel[i];
    if (e.Lane < 0 || e.Lane > d.LaneCount || e.Mes < 0) continue;
    v[{e.Lane, e.Mes, e.Tick, e.Back != 0}] = e.Back ? e.Value : LandedFrontValue(d, e.Lane, e.Value);
  }
  return v;
}

// The grid's objects with their measures moved; those to(m) makes negative are left out.
Shown GridMoved(const DocData& d, int (*to)(int m, int at), int at) {
  DocData g = d;
  g.SelCount = 0;
  Shown out;
  for (const auto& [k, v] : ShownObjects(g)) {
    const int m = to(std::get<1>(k), at);
    if (m >= 0) out[{std::get<0>(k), m, std::get<2>(k), std::get<3>(k)}] = v;
  }
  return out;
}

std::vector<SelEntry> Floating(const DocData& d) { return {d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount}; }

// The window's steps for the edit commands.
class Host : public EditHost {
 public:
  Host(DocData& d, int maxMes) : d_(d), max_(maxMes) {}
  void ObjBackup() override { mk::ObjBackup(d_); }
  void ObjDeSel() override { mk::ObjDeSel(d_, max_); }
  void MesCountChanged() override {}
  void ObjDraw() override {}

 private:
  DocData& d_;
  int max_;
};

const std::string& FileOf(const DocData& d, int16_t table, int v) {
  static const std::string none;
  if (v > kOpenObjectBase) v -= kOpenObjectBase;
  const std::vector<DefEntry>& t = table == kSelTableBga ? d.Bga : d.Wav;
  return v >= 0 && v < static_cast<int>(t.size()) ? t[v].File : none;
}

// "W:file/open" or "B:file/open" for a definition number, the value for a tempo value.
std::string Named(const DocData& d, int16_t table, int16_t v) {
  if (table == kSelTableNone) return std::to_string(v);
  return (table == kSelTableBga ? "B:" : "W:") + FileOf(d, table, v) + "/" + std::to_string(v > kOpenObjectBase);
}

// Every object of one generation, with its table and the file its number names (tempo values by
// value).
using View = std::multimap<std::tuple<int, int, int, int>, std::string>;
View FilesOf(const DocData& d, const std::vector<LaneMes>& grid, const std::vector<SelEntry>& sel, int32_t count) {
  View v;
  for (int l = 0; l < static_cast<int>(grid.size()); ++l) {
    const int16_t table = LaneTable(d, l);
    for (size_t m = 0; m < grid[l].Mes.size(); ++m) {
      const MesData& c = grid[l].Mes[m];
      for (int layer = 0; layer < 2; ++layer)
        for (const CellLayer::Entry& e : (layer ? c.BackObj : c.Obj).Entries())
          v.emplace(std::make_tuple(l, static_cast<int>(m), e.Tick, layer), Named(d, table, e.Value));
    }
  }
  for (int32_t i = 1; i <= count && i < static_cast<int32_t>(sel.size()); ++i) {
    const SelEntry& e = sel[i];
    v.emplace(std::make_tuple(1000 + e.Lane, e.Mes, e.Tick, e.Back != 0), Named(d, SelEntryTable(d, e), e.Value));
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

// The measure a grid object goes to when measure at is inserted, or deleted (-1: gone with it).
int AfterInsert(int m, int at) { return m >= at ? m + 1 : m; }
int AfterDelete(int m, int at) { return m == at ? -1 : m > at ? m - 1 : m; }
int Unmoved(int m, int) { return m; }

TEST(ModifiedProperty, RandomEditsKeepTheMarkTrueTheSaveHonestAndEveryObject) {
  int charts = 0, steps = 0, differing = 0, moves = 0, offLaneMoves = 0, refusedSaves = 0;
  int floatingPastes = 0, floatingReleases = 0, floatingCompactions = 0, inserts = 0, refusedInserts = 0,
      floatingMeasureEdits = 0;
  testsupport::TempDir dir;
  const std::string file = dir.Path("chart.txt");
  ClearClipboard();
  for (uint32_t seed = 1; charts < 40 && seed < 400; ++seed) {
    chartgen::SeededChoices ch(seed);
    const std::vector<std::string> script = chartgen::RandomScript(ch, false);
    DocData d;
    std::string info;
    if (!ReadScriptLines(script, "gen.dfn", d, info).ok || d.LaneCount < 1) continue;
    chartgen::FillChart(d, ch);
    d.Sel.assign(1, SelEntry{});
    ++charts;
    // The measure limit a little past the chart, within the digits of the script's measure field,
    // so that drops and inserts meet it.
    const int maxMes = std::min(d.MesCount + ch.Between(0, 3), d.Fmt.Ml >= 2 ? 99 : 9);
    std::string saved = SavedBytes(d, maxMes);  // as read from its file
    ASSERT_TRUE(testsupport::WriteAll(file, saved));
    d.Dirty = 0;
    Host host(d, maxMes);
    for (int step = 0; step < 60; ++step, ++steps) {
      const int what = ch.Between(0, 12);
      const int lanes = d.LaneCount;
      const auto wavLast = static_cast<int>(d.Wav.size()) - 1, bgaLast = static_cast<int>(d.Bga.size()) - 1;
      SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << what);
      const DocData landed = Landed(d, maxMes);  // the chart before the step, its selection landed
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
        case 1: {  // select a block and drag it, maybe off the lanes, to a layer without a channel
                   // or past the measure limit
          ObjDeSel(d, maxMes);
          ObjBackup(d);
          const int l = ch.Between(0, lanes), m = ch.Between(0, d.MesCount);
          if (ch.OneIn(2))
            ObjSelect(d, 0, 0, 0, lanes, d.MesCount, 191, true);
          else
            ObjSelect(d, l, m, 0, std::min(lanes, l + 2), m, 191, true);
          MoveSelection(d, 0, 0, 0, ch.Between(-lanes - 1, lanes + 1), ch.OneIn(3) ? ch.Between(-1, 3) : 0, 0);
          if (ch.OneIn(4)) ObjDeSel(d, maxMes);
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
        case 4: {  // compaction: every object keeps its file, but those of a number without one
          floatingCompactions += landed.SelCount > 0;
          View expect = FilesOf(landed, landed.Obj, landed.Sel, landed.SelCount);
          std::erase_if(expect, [](const auto& kv) { return kv.second.rfind("W:/", 0) == 0; });
          WAVCompact(d, maxMes);
          MarkChangedBeyondUndo(d);  // the menu command marks the chart whatever changed
          EXPECT_TRUE(FilesOf(d, d.Obj, d.Sel, d.SelCount) == expect);
          break;
        }
        case 5:  // release: no object loses its file
          floatingReleases += landed.SelCount > 0;
          WAVDelUnused(d, maxMes);
          MarkChangedBeyondUndo(d);
          EXPECT_TRUE(FilesOf(d, d.Obj, d.Sel, d.SelCount) == FilesOf(landed, landed.Obj, landed.Sel, landed.SelCount));
          break;
        case 6:
        case 7: Undo(d); break;
        case 8: {  // a save: the writer lands the selection, then writes, or refuses while something floats
          ObjDeSel(d, maxMes);
          std::string error;
          const bool written = WriteChartFile(file, d, 0, error);
          EXPECT_EQ(written, d.SelCount == 0) << error;
          if (written) {
            saved = ChartBytes(d, 0);
            MarkSaved(d);
          } else {
            ++refusedSaves;
            EXPECT_FALSE(error.empty());
          }
          EXPECT_EQ(testsupport::ReadAll(file), saved) << "the file holds the last save, whole";
          break;
        }
        case 9:  // a header edit, or an erase drag that erased nothing
          if (ch.OneIn(2)) {
            d.Title += "x";
            MarkChangedBeyondUndo(d);
          } else {
            ObjBackup(d);
            DropLastBackup(d);
          }
          break;
        case 10: {  // copy what floats (or keep the last block), paste at the pointer or the scroll position
          if (d.SelCount > 0 && ch.OneIn(2)) EditCopy(d);
          d.CurLane = static_cast<int16_t>(ch.Between(0, lanes));
          d.CurMes = static_cast<int16_t>(ch.Between(0, d.MesCount));
          d.GridDiv = 16;
          d.CurStep = static_cast<int16_t>(ch.Between(0, 15));
          d.ScrollPos = ch.Between(0, d.MesCount * 192 + 191);
          if (!EditPaste(d, host, ch.OneIn(2) ? PasteAt::Pointer : PasteAt::Scroll)) break;
          floatingPastes += landed.SelCount > 0;
          // What the drop kept floats on, before the block.
          EXPECT_EQ(d.Obj, landed.Obj);
          ASSERT_EQ(d.SelCount, landed.SelCount + g_ClipCount);
          EXPECT_TRUE(std::equal(landed.Sel.begin() + 1, landed.Sel.begin() + 1 + landed.SelCount, d.Sel.begin() + 1));
          break;
        }
        case 11:
        case 12: {  // measure insert or delete under the pointer
          const bool insert = what == 11;
          d.CurMes = static_cast<int16_t>(ch.Between(0, d.MesCount));
          const int at = d.CurMes;
          const DocData before = d;
          if (!(insert ? MesInsert(d, host, maxMes) : MesDelete(d, host))) {
            ASSERT_TRUE(insert);
            ++refusedInserts;
            EXPECT_GE(landed.MesCount, maxMes) << "refused although nothing would be pushed out";
            EXPECT_EQ(d.Obj, before.Obj);
            EXPECT_EQ(Floating(d), Floating(before));
            EXPECT_EQ(d.UndoOn, before.UndoOn);
            break;
          }
          inserts += insert;
          floatingMeasureEdits += landed.SelCount > 0;
          // The grid's measures move (a chart of one measure keeps it); what floats stays as it was.
          int (*const to)(int, int) = insert ? AfterInsert : landed.MesCount > 0 ? AfterDelete : Unmoved;
          EXPECT_TRUE(GridMoved(d, Unmoved, 0) == GridMoved(landed, to, at));
          EXPECT_EQ(Floating(d), Floating(landed));
          break;
        }
      }
      // A save now is refused exactly while something floats that the grid cannot hold, and
      // otherwise writes what the window shows.
      const DocData now = Landed(d, maxMes);
      std::string error;
      if (!CheckNothingFloating(now, error)) {
        EXPECT_GT(now.SelCount, 0);
        EXPECT_FALSE(error.empty());
      } else {
        EXPECT_TRUE(ShownObjects(now) == ShownObjects(d)) << "the file would not hold what the window shows";
      }
      const bool differs = ChartBytes(now, 0) != saved;
      differing += differs;
      if (differs) {
        ASSERT_EQ(d.Dirty, -1) << "the chart differs from its file without the mark";
      }
    }
  }
  ClearClipboard();
  EXPECT_GE(charts, 20);
  EXPECT_GT(differing, steps / 10);
  EXPECT_GT(moves, 100);
  EXPECT_GT(offLaneMoves, 5) << "moves with entries off the lanes were reached";
  // The paths over a floating selection were reached.
  EXPECT_GT(refusedSaves, 5);
  EXPECT_GT(floatingPastes, 5);
  EXPECT_GT(floatingReleases, 5);
  EXPECT_GT(floatingCompactions, 5);
  EXPECT_GT(floatingMeasureEdits, 5);
  EXPECT_GT(inserts, 20);
  EXPECT_GT(refusedInserts, 5);
}

}  // namespace
