// Nothing on screen that the file will not hold: the storability predicate against the writer
// and reader themselves, the editing paths that used to leave objects the save dropped or
// changed, and random edit sequences whose chart always saves and reads back as shown.
#include <gtest/gtest.h>

#include <random>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/storable.h"
#include "chartgen.h"
#include "cmd_fixture.h"
#include "convert/convertchart.h"
#include "edit_fixture.h"
#include "editing/batchedit.h"
#include "editing/clipboard.h"
#include "editing/measures.h"
#include "gesture_fakes.h"

namespace {

using mk::SelEntry;

const std::string kScripts = std::string(MIRKAN_SOURCE_DIR) + "/scripts/";

mk::DocData FreshChart(const std::string& script) {
  mk::DocData d;
  std::string info;
  EXPECT_TRUE(mk::ReadScript(kScripts + script, d, info).ok) << script;
  d.Sel.resize(1);
  return d;
}

using edittest::ReadBack;

std::string Entries(const mk::DocData& d) {
  std::string s;
  for (int i = 1; i <= d.SelCount; ++i) {
    const SelEntry& e = d.Sel[i];
    s += "(" + std::to_string(e.Lane) + "," + std::to_string(e.Mes) + "," + std::to_string(e.Tick) + "," +
         std::to_string(e.Value) + (e.Back ? ",back)" : ")");
  }
  return s;
}

// ---------------------------------------------------------------------------------------------
// The predicate says exactly what the writer and reader carry: on random scripts, every lane
// and layer gets a row of values at their own ticks, and each comes back on its tick alone
// exactly when the predicate says it can be stored.

TEST(CanStoreObject, AgreesWithWhatASaveReadsBack) {
  static const int kValues[] = {1,    35,    255,   256,   300,   575,   576,   1295,
                                1296, 10000, 10001, 10255, 10256, 11295, 11296, 32767};
  int storable = 0, refused = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    chartgen::SeededChoices ch(seed);
    const std::vector<std::string> script = chartgen::RandomScript(ch, false);
    mk::DocData base;
    std::string info;
    if (!mk::ReadScriptLines(script, "gen.dfn", base, info).ok) continue;
    mk::ResizeMeasures(base, 0);
    for (int lane = 0; lane <= base.LaneCount; ++lane) {
      for (bool back : {false, true}) {
        mk::DocData d = base;
        mk::MesData& cell = d.Obj[lane].Mes.Write(0);
        for (size_t i = 0; i < std::size(kValues); ++i)
          (back ? cell.BackObj : cell.Obj)[i * 12] = static_cast<int16_t>(kValues[i]);
        mk::RecalcLaneResolution(d, lane, lane, 0, 0);
        const mk::DocData r = ReadBack(d, script, "");
        for (size_t i = 0; i < std::size(kValues); ++i) {
          const int t = static_cast<int>(i * 12);
          int found = 0;
          for (int l = 0; l <= r.LaneCount; ++l)
            found += (r.Obj[l].Mes[0].Obj[t] != 0) + (r.Obj[l].Mes[0].BackObj[t] != 0);
          const int16_t got = back ? r.Obj[lane].Mes[0].BackObj[t] : r.Obj[lane].Mes[0].Obj[t];
          const bool kept = found == 1 && got == kValues[i];
          const bool said = mk::CanStoreObject(base, lane, back, kValues[i]);
          EXPECT_EQ(said, kept) << "seed " << seed << " lane " << lane << (back ? " back " : " front ") << kValues[i];
          (said ? storable : refused)++;
        }
      }
    }
  }
  EXPECT_GT(storable, 1000);
  EXPECT_GT(refused, 1000);
}

// ---------------------------------------------------------------------------------------------
// The reproductions.

struct World : seltest::FakeWorld {
  explicit World(const std::string& script, int maxMeasure = 499) {
    doc = FreshChart(script);
    doc.MesCount = 3;
    mk::ResizeMeasures(doc, doc.MesCount);
    doc.ScrlUp = 0;
    doc.Zoom = 1;
    doc.GridDiv = 16;
    doc.ScrollPos = 0;
    settings.MaxMeasure = maxMeasure;
    selectMode = false;
  }
  std::string LastNote() const { return notes.empty() ? std::string() : notes.back(); }
};

int LaneNamed(const mk::DocData& d, const std::string& name) {
  for (int l = 1; l <= d.LaneCount; ++l)
    if (d.Lane[l].Name == name) return l;
  ADD_FAILURE() << name;
  return 1;
}

// The pointer's preview shows a placement only where the click would make one: a code the lane
// cannot write is never shown as some other code.
TEST(Placement, ANumberTheLaneCannotWriteIsNotPlacedNorPreviewedAndTheStatusBarSaysWhy) {
  struct Case {
    const char* script;
    const char* lane;
    int curDef;
    int shift;
    bool placed;
  };
  const Case cases[] = {
      {"tapline.dfn", "Left 1", 510, 0, false},  // BGA 510 on a lane coded in base 16
      {"tapline.dfn", "Left 1", 255, 0, true},
      {"tapline.dfn", "Left 1", 510, mk::kCtrl, false},  // its back layer is coded alike
      {"nexal.dfn", "Layer", 1295, mk::kAlt, false},     // WAV 1295 on a picture lane
      {"nexal.dfn", "Layer", 255, mk::kAlt, true},
      {"nexal.dfn", "Key1", 1295, 0, true},
      {"nexal.dfn", "PadC", 1295, mk::kAlt, true},  // open object on the group's first lane
      {"tapline.dfn", "Left 1", 575, mk::kShift, false},
      {"tapline.dfn", "Left 1", 5, mk::kCtrl + mk::kAlt, false},  // no placement with these keys
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.script) + " " + c.lane + " " + std::to_string(c.curDef));
    World w(c.script);
    const int lane = LaneNamed(w.doc, c.lane);
    w.doc.CurDef = static_cast<int16_t>(c.curDef);
    w.Move(c.shift, lane, 1, 48);
    ASSERT_EQ(w.previews.size(), c.placed ? 1u : 0u);
    if (c.placed) {
      EXPECT_EQ(w.previews[0].Value, c.curDef);
    }
    w.Click(mk::MouseButton::Left, c.shift, lane, 1, 48);
    const auto objects = seltest::GridObjects(w.doc);
    EXPECT_EQ(objects.size(), c.placed ? 1u : 0u);
    EXPECT_EQ(w.doc.UndoOn != 0, c.placed);  // a refused click takes no undo step
    if (!c.placed && c.shift != mk::kCtrl + mk::kAlt) {
      EXPECT_EQ(w.LastNote().rfind("番号 " + std::to_string(c.curDef) + " は置けません（", 0), 0u) << w.LastNote();
    }
    EXPECT_EQ(chartgen::ChartDifference(w.doc, ReadBack(w.doc, {}, c.script)), "");
  }
}

// With Alt on any lane of a lane group the click writes an open object on the group's first
// lane: the preview is drawn there, not under the pointer.
TEST(Placement, AnOpenObjectIsPreviewedOnTheGroupsFirstLaneWhereTheClickWritesIt) {
  struct Case {
    const char* lane;
    int shift;
    const char* writesTo;
  };
  const Case cases[] = {
      {"PadL", mk::kAlt, "PadL"}, {"PadC", mk::kAlt, "PadL"}, {"PadR", mk::kAlt + mk::kShift, "PadL"},
      {"PadR", 0, "PadR"},  // without Alt an ordinary object under the pointer
      {"Key1", mk::kAlt, "Key1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lane) + " shift " + std::to_string(c.shift));
    World w("nexal.dfn");
    const int lane = LaneNamed(w.doc, c.lane), to = LaneNamed(w.doc, c.writesTo);
    w.doc.CurDef = 12;
    w.Move(c.shift, lane, 1, 48);
    ASSERT_EQ(w.previews.size(), 1u);
    const mk::PlacementPreview p = w.previews[0];
    EXPECT_EQ(p.Lane, to);
    EXPECT_EQ(p.X, w.doc.CurX + (to - lane) * mk::kLanePixels);
    EXPECT_EQ(p.Value, 12);
    w.Click(mk::MouseButton::Left, c.shift, lane, 1, 48);
    const auto objects = seltest::GridObjects(w.doc);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].Lane, to);
  }
}

TEST(Placement, ATempoWithoutATempoChannelIsNotAskedNorPreviewed) {
  World w("nexal.dfn");
  w.Move(0, 0, 0, 0);
  EXPECT_EQ(w.previews.size(), 1u);
  w.previews.clear();
  w.doc.Keys.Tmpc.clear();
  w.Move(0, 0, 0, 0);
  EXPECT_TRUE(w.previews.empty());
  w.answers.push_back("120");
  w.Click(mk::MouseButton::Left, 0, 0, 0, 0);
  EXPECT_TRUE(w.prompts.empty());
  EXPECT_TRUE(seltest::GridObjects(w.doc).empty());
  EXPECT_FALSE(w.LastNote().empty());
}

// Under a limit of 1, a chart of measures 0-3 takes clicks in every measure it holds like any
// other; a chart of measures 0-1 previews and places nothing past them.
TEST(Placement, PastTheMeasureLimitNothingIsPreviewedOrPlaced) {
  World held("nexal.dfn", 1);
  const int lane = LaneNamed(held.doc, "Key1");
  held.Move(0, lane, 2, 0);
  EXPECT_EQ(held.previews.size(), 1u);
  held.Click(mk::MouseButton::Left, 0, lane, 2, 0);
  EXPECT_EQ(seltest::GridObjects(held.doc).size(), 1u);

  World w("nexal.dfn", 1);
  w.doc.MesCount = 1;
  mk::ResizeMeasures(w.doc, w.doc.MesCount);
  w.Move(0, lane, 1, 0);
  EXPECT_EQ(w.previews.size(), 1u);
  w.previews.clear();
  w.Move(0, lane, 2, 0);
  EXPECT_TRUE(w.previews.empty());
  w.Click(mk::MouseButton::Left, 0, lane, 2, 0);
  EXPECT_TRUE(seltest::GridObjects(w.doc).empty());
  EXPECT_EQ(w.LastNote(), "最大小節数を超えるため置けません");
}

// A drop leaves floating what the grid cannot hold where it is, says so, and the save refuses
// while anything floats; what lands reads back as it lies.
TEST(Drop, EntriesTheFileCannotHoldStayFloating) {
  struct Case {
    const char* name;
    const char* script;
    SelEntry entry;  // lane -1 below: the named lane
    const char* lane;
    bool lands;
  };
  const Case cases[] = {
      {"back object on the tempo lane", "tapline.dfn", {0, 1, 0, 5, -1}, nullptr, false},
      {"back object on a lane without a back channel", "tapline.dfn", {-1, 1, 0, 5, -1}, "Picture", false},
      {"front of a group lane without a channel of its own", "dual.dfn", {-1, 1, 0, 5, 0}, "L-2", true},
      {"number past a base-16 lane", "nexal.dfn", {-1, 1, 0, 300, 0}, "BGA", false},
      {"number within it", "nexal.dfn", {-1, 1, 0, 255, 0}, "BGA", true},
      {"open object off the group's first lane lands ordinary", "nexal.dfn", {-1, 1, 0, 10005, 0}, "PadC", true},
      {"open object on the group's first lane", "nexal.dfn", {-1, 1, 0, 10005, 0}, "PadL", true},
      {"open object past the numbering", "tapline.dfn", {-1, 1, 0, 10300, 0}, "Left 1", false},
      {"past the measure limit", "nexal.dfn", {-1, 9, 0, 5, 0}, "Key1", false},
      {"left of the first lane", "nexal.dfn", {-1, 1, 0, 5, 0}, nullptr, false},
      {"right of the last lane", "nexal.dfn", {300, 1, 0, 5, 0}, nullptr, false},
      {"before measure 0", "nexal.dfn", {-1, -1, 0, 5, 0}, "Key1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = FreshChart(c.script);
    d.MesCount = 3;
    mk::ResizeMeasures(d, 3);
    SelEntry e = c.entry;
    if (c.lane) e.Lane = static_cast<int16_t>(LaneNamed(d, c.lane));
    cmdtest::Select(d, {e, {static_cast<int16_t>(e.Lane == 1 ? 2 : 1), 0, 0, 7, 0}});
    const mk::DropResult r = mk::ObjDeSel(d, 5);
    std::string why;
    EXPECT_EQ(r.kept, c.lands ? 0 : 1);
    EXPECT_EQ(d.SelCount, r.kept);
    EXPECT_EQ(mk::CheckNothingFloating(d, why), c.lands);
    EXPECT_EQ(mk::KeptFloatingText(r).empty(), c.lands);
    EXPECT_EQ(seltest::GridObjects(d).size(), c.lands ? 2u : 1u);  // the other entry always lands
    // Nothing grows the chart for an entry it cannot hold anywhere; one past the end grows it
    // as far as the limit.
    EXPECT_EQ(d.MesCount, c.entry.Mes == 9 ? 5 : 3);
    EXPECT_EQ(chartgen::ChartDifference(d, ReadBack(d, {}, c.script)), "");
    if (!c.lands) {
      EXPECT_EQ(d.Sel[1], e);  // kept as it was, ready to be moved on
    }
  }
}

TEST(Drop, ABackObjectDraggedOntoTheTempoLaneFloatsUntilDraggedBack) {
  World w("tapline.dfn");
  w.selectMode = true;
  const int left1 = LaneNamed(w.doc, "Left 1");
  seltest::Put(w.doc, left1, 0, 0, 5, true);
  w.Press(mk::MouseButton::Left, 0, left1, 0, 4);  // lifts it
  ASSERT_EQ(w.doc.SelCount, 1);
  w.Move(0, 0, 0, 4);
  w.Release(mk::MouseButton::Left, 0, 0, 0, 4);
  EXPECT_NE(w.LastNote().find("1個"), std::string::npos) << w.LastNote();
  w.Press(mk::MouseButton::Left, 0, 3, 2, 0);  // a press elsewhere drops the selection
  EXPECT_EQ(w.doc.SelCount, 1);
  EXPECT_EQ(w.doc.Sel[1], (SelEntry{0, 0, 0, 5, -1, mk::kSelTableWav}));  // still a sound off its lane
  w.Release(mk::MouseButton::Left, 0, 3, 2, 0);
  std::string why;
  EXPECT_FALSE(mk::CheckNothingFloating(w.doc, why));
  // Dragged back onto a lane with a back channel it lands.
  mk::MoveSelection(w.doc, 0, 0, 0, left1, 0, 0);
  mk::ObjDeSel(w.doc, 499);
  EXPECT_EQ(w.doc.SelCount, 0);
  EXPECT_EQ(seltest::Back(w.doc, left1, 0, 0), 5);
}

TEST(Paste, ABlockOntoLanesThatCannotHoldItFloats) {
  mk::ClearClipboard();
  mk::DocData src = FreshChart("tapline.dfn");
  src.MesCount = 3;
  mk::ResizeMeasures(src, 3);
  const int left1 = LaneNamed(src, "Left 1");
  cmdtest::Select(src, {{static_cast<int16_t>(left1), 0, 0, 5, -1}, {static_cast<int16_t>(left1), 0, 96, 6, 0}});
  ASSERT_TRUE(mk::EditCopy(src));
  mk::DocData d = src;
  cmdtest::Select(d, {});
  d.CurLane = static_cast<int16_t>(LaneNamed(d, "Picture"));  // its back channel is "__"
  d.CurMes = 1;
  d.CurStep = 0;
  cmdtest::RecordingHost host(d, 499);
  ASSERT_TRUE(mk::EditPaste(d, host, mk::PasteAt::Pointer));
  const mk::DropResult r = mk::ObjDeSel(d, 499);
  EXPECT_EQ(r.kept, 1);
  EXPECT_EQ(Entries(d), "(" + std::to_string(d.CurLane) + ",1,0,5,back)");
  EXPECT_EQ(chartgen::ChartDifference(d, ReadBack(d, {}, "tapline.dfn")), "");
  mk::ClearClipboard();
}

TEST(BatchEdit, ValuesAreBoundedByEachEntrysLaneAndWhatCannotBeStoredStays) {
  struct FixedDraw : mk::RandomSource {
    std::vector<std::pair<int, int>> asked;
    int Draw(int lo, int hi) override {
      asked.emplace_back(lo, hi);
      return hi;
    }
  };
  mk::DocData d = FreshChart("nexal.dfn");  // sounds up to ZZ, pictures up to FF
  d.MesCount = 3;
  mk::ResizeMeasures(d, 3);
  const int16_t key1 = static_cast<int16_t>(LaneNamed(d, "Key1"));
  const int16_t bga = static_cast<int16_t>(LaneNamed(d, "BGA"));
  const int16_t pedal = static_cast<int16_t>(LaneNamed(d, "Pedal"));
  const std::vector<SelEntry> sel = {{key1, 0, 0, 5, 0}, {bga, 0, 0, 5, 0}, {bga, 0, 48, 9, 0}};
  FixedDraw random;
  {
    SCOPED_TRACE("constant ZZ");
    cmdtest::Select(d, sel);
    EXPECT_EQ(mk::BatchEdit(d, {.numOp = mk::kOpConstant, .numLo = 1295}, random), 2);
    EXPECT_EQ(d.Sel[1].Value, 1295);
    EXPECT_EQ(d.Sel[2].Value, 5);
    EXPECT_EQ(d.Sel[3].Value, 9);
  }
  {
    SCOPED_TRACE("random 10..ZZ");
    cmdtest::Select(d, sel);
    EXPECT_EQ(mk::BatchEdit(d, {.numOp = mk::kOpRandom, .numLo = 10, .numHi = 1295}, random), 0);
    EXPECT_EQ(random.asked, (std::vector<std::pair<int, int>>{{10, 1295}, {10, 255}, {10, 255}}));
    EXPECT_EQ(d.Sel[2].Value, 255);
  }
  {
    SCOPED_TRACE("random from above FF leaves the picture lane as it is");
    cmdtest::Select(d, sel);
    EXPECT_EQ(mk::BatchEdit(d, {.numOp = mk::kOpRandom, .numLo = 300, .numHi = 400}, random), 2);
    EXPECT_EQ(d.Sel[1].Value, 400);
    EXPECT_EQ(d.Sel[2].Value, 5);
  }
  {
    SCOPED_TRACE("front to back with a lane shift");
    // Key1 moves onto Key2, which has a back channel; Pedal onto BGA, which has none.
    cmdtest::Select(d, {{key1, 0, 0, 5, 0}, {pedal, 0, 0, 7, 0}});
    ASSERT_EQ(bga, pedal + 1);
    const int32_t n = mk::BatchEdit(d, {.laneOp = mk::kOpAdd, .laneLo = 1, .frontTo = mk::kKindBack}, random);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(d.Sel[1], (SelEntry{static_cast<int16_t>(key1 + 1), 0, 0, 5, -1}));
    EXPECT_EQ(d.Sel[2], (SelEntry{pedal, 0, 0, 7, 0}));  // unchanged
    EXPECT_FALSE(mk::BatchUnchangedText(n).empty());
  }
  mk::ObjDeSel(d, 499);
  EXPECT_EQ(chartgen::ChartDifference(d, ReadBack(d, {}, "nexal.dfn")), "");
}

TEST(Conversion, OpenObjectsOffAGroupsFirstLaneAndTempoPastFFAreNotCarriedAsTheyWere) {
  {
    SCOPED_TRACE("nexal to dual, default lane map");
    mk::DocData src = edittest::LoadShipped({"nexal.dfn", "nexal_sample.nxl"});
    const int padL = LaneNamed(src, "PadL");  // the group's first lane; lane 6 of dual is a second lane
    seltest::Put(src, padL, 0, 96, 10000 + 1);
    mk::DocData dst = FreshChart("dual.dfn");
    mk::ResizeMeasures(dst, 0);
    mk::ConvertChartCopy(src, dst, mk::LaneMapDefaults(src, dst).map, 499);
    EXPECT_EQ(seltest::Front(dst, padL, 0, 96), 1);  // lands ordinary, as a drop lands it
    EXPECT_EQ(chartgen::ChartDifference(dst, ReadBack(dst, {}, "dual.dfn")), "");
  }
  {
    SCOPED_TRACE("dual to nexal, a sound lane onto the tempo lane");
    mk::DocData src = edittest::LoadShipped({"dual.dfn", "dual_sample.scd"});
    const int free = LaneNamed(src, "Free");
    seltest::Put(src, free, 0, 144, 300);
    seltest::Put(src, free, 0, 48, 200);
    mk::DocData dst = FreshChart("nexal.dfn");
    mk::ResizeMeasures(dst, 0);
    std::vector<int16_t> map = mk::LaneMapDefaults(src, dst).map;
    map[0] = -1;
    map[free] = 0;
    const mk::ConvertResult r = mk::ConvertChartCopy(src, dst, map, 499);
    EXPECT_EQ(seltest::Front(dst, 0, 0, 144), 0);
    EXPECT_EQ(seltest::Front(dst, 0, 0, 48), 200);
    EXPECT_GT(r.leftOut, 0);
    EXPECT_EQ(chartgen::ChartDifference(dst, ReadBack(dst, {}, "nexal.dfn")), "");
  }
}

// ---------------------------------------------------------------------------------------------
// Random edit sequences: whatever the steps, the grid saves and reads back exactly, and what
// floats is only what the grid cannot hold (the save refuses while it does).

class EditSequence {
 public:
  EditSequence(const edittest::ShippedPair& pair, uint32_t seed) : script_(pair.script), rng_(seed) {
    w_.doc = edittest::LoadShipped(pair);
    w_.doc.ScrlUp = 0;
    w_.doc.Zoom = 1;
    w_.doc.GridDiv = 16;
    w_.doc.ScrollPos = 0;
    w_.settings.MaxMeasure = std::max<int>(w_.doc.MesCount, 6) + 2;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Step() {
    mk::DocData& d = w_.doc;
    const int lanes = d.LaneCount;
    static const int kNumbers[] = {0, 1, 5, 35, 255, 256, 300, 575, 1000, 1295};
    const int mesMax = w_.settings.MaxMeasure;
    switch (Pick(0, 9)) {
      case 0:
      case 1: {  // a click in draw mode
        w_.selectMode = false;
        d.CurDef = static_cast<int16_t>(kNumbers[Pick(0, 9)]);
        if (Pick(0, 3) == 0) d.Lane[Pick(1, lanes)].Hdr = static_cast<int16_t>(kNumbers[Pick(0, 9)]);
        w_.answers.push_back(std::to_string(Pick(1, 255)));
        static const int kShifts[] = {0, 1, 2, 3, 4, 5};
        w_.Click(mk::MouseButton::Left, kShifts[Pick(0, 5)], Pick(0, lanes), Pick(0, mesMax + 1), Pick(0, 15) * 12);
        w_.answers.clear();
        break;
      }
      case 2:  // an erase
        w_.selectMode = false;
        w_.Click(mk::MouseButton::Right, 0, Pick(0, lanes), Pick(0, d.MesCount), Pick(0, 15) * 12);
        break;
      case 3:
      case 4: {  // lift a rectangle and drag it, or copy-drag it
        mk::ObjBackup(d);
        const int l1 = Pick(0, lanes), m1 = Pick(0, d.MesCount);
        mk::ObjSelect(d, l1, m1, 0, std::min(lanes, l1 + Pick(0, 3)), std::min<int>(d.MesCount, m1 + Pick(0, 2)), 15);
        if (Pick(0, 2) == 0) mk::ObjDeSel(d, mesMax, true);
        mk::MoveSelection(d, 0, 0, 0, Pick(-3, 3), Pick(-1, 4), Pick(0, 15));
        if (Pick(0, 1) == 0) w_.ObjDeSel(false);
        break;
      }
      case 5: {  // copy (or, once many entries float, cut) and paste at the pointer or from the menu
        cmdtest::RecordingHost host(d, mesMax);
        // A paste keeps what floats: copying all of it each time would double it.
        if (d.SelCount > 64)
          mk::EditCut(d, host);
        else if (d.SelCount > 0)
          mk::EditCopy(d);
        d.CurLane = static_cast<int16_t>(Pick(0, lanes + 1));
        d.CurMes = static_cast<int16_t>(Pick(0, mesMax + 1));
        d.CurStep = static_cast<int16_t>(Pick(0, 15));
        d.ScrollPos = Pick(0, d.MesCount) * 192;
        mk::EditPaste(d, host, Pick(0, 1) ? mk::PasteAt::Pointer : mk::PasteAt::Scroll);
        break;
      }
      case 6: {  // batch edit
        mk::BatchParams p;
        p.numOp = Pick(1, 4);
        p.numLo = kNumbers[Pick(1, 9)];
        p.numHi = std::max(p.numLo, kNumbers[Pick(1, 9)]);
        p.laneOp = Pick(1, 4);
        p.laneLo = Pick(0, lanes);
        p.laneHi = Pick(p.laneLo, lanes);
        if (p.laneOp == mk::kOpAdd || p.laneOp == mk::kOpSubtract) p.laneLo = Pick(0, 3);
        p.frontTo = Pick(1, 3);
        p.backTo = Pick(1, 3);
        p.openTo = Pick(1, 3);
        if (mk::CheckBatch(p) != mk::BatchRefusal::None) break;
        mk::ObjBackup(d);
        struct R : mk::RandomSource {
          std::mt19937* g;
          int Draw(int lo, int hi) override { return std::uniform_int_distribution<int>(lo, hi)(*g); }
        } r;
        r.g = &rng_;
        mk::BatchEdit(d, p, r);
        break;
      }
      case 7: mk::Undo(d); break;
      case 8: {  // measure insert or delete
        d.CurMes = static_cast<int16_t>(Pick(0, d.MesCount));
        cmdtest::RecordingHost host(d, mesMax);
        if (Pick(0, 1))
          mk::MesInsert(d, host, mesMax);
        else
          mk::MesDelete(d, host);
        break;
      }
      default: w_.ObjDeSel(false); break;
    }
  }

  // What the save does: drop the selection, then write unless something still floats.
  void CheckSave(int step) {
    mk::DocData d = w_.doc;
    mk::ObjDeSel(d, w_.settings.MaxMeasure);
    std::string why;
    if (d.SelCount > 0) {
      ++refusals_;
      EXPECT_FALSE(mk::CheckNothingFloating(d, why));
      EXPECT_EQ(mk::UnstorableSelected(d, w_.settings.MaxMeasure), d.SelCount) << "step " << step << Entries(d);
    }
    const std::string diff = chartgen::ChartDifference(d, ReadBack(d, {}, script_));
    ASSERT_EQ(diff, "") << script_ << " step " << step;
  }

  int refusals() const { return refusals_; }

 private:
  std::string script_;
  std::mt19937 rng_;
  World w_{"simple.dfn"};
  int refusals_ = 0;
};

TEST(EditSequences, EverySavedChartReadsBackAsTheWindowHoldsIt) {
  int refusals = 0;
  for (const edittest::ShippedPair& pair : edittest::ShippedPairs()) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(pair.script + " seed " + std::to_string(seed));
      EditSequence s(pair, seed);
      for (int step = 0; step < 250; ++step) {
        s.Step();
        s.CheckSave(step);
        if (testing::Test::HasFatalFailure()) return;
      }
      refusals += s.refusals();
    }
  }
  EXPECT_GT(refusals, 0);  // the sequences do reach entries the grid cannot hold
}

}  // namespace
