// Random edit sequences at the edges of the chart's measures, on the shipped charts with a
// measure limit above their last measure or below it (a chart read with more measures than the
// limit): "-" and "+" with and without Shift, the question answered either way, clicks past the
// end and past the limit, drags beyond the end and back, pastes, drops, Undo and saves. After
// every step a save is either refused, leaving the file as it was, while something floats that
// cannot land, or writes exactly what the window holds; whenever the chart differs from the
// bytes last saved it carries the modified mark; and a cut that asked nothing changed nothing a
// save writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "chartfmt/chartwrite.h"
#include "chartgen.h"
#include "cmd_fixture.h"
#include "edit_fixture.h"
#include "editing/clipboard.h"
#include "gesture_fakes.h"
#include "temp_dir.h"

namespace {

using mk::MouseButton;

// A paste keeps what floats past the limit and adds the block after it, so copying a floating
// selection and pasting it past the limit again doubles it; unbounded, the selection reaches
// millions of entries within a sequence and every step costs its size. Larger selections are
// still pasted (the clipboard keeps the last block copied), just not copied again.
constexpr int kCopyLimit = 500;

// What a save would write now: the selection lands on a copy first, as the writer's drop does;
// false when something would still float.
bool SaveWouldWrite(const mk::DocData& d, int maxMeasure, std::string* bytes) {
  mk::DocData c = d;
  mk::ObjDeSel(c, maxMeasure);
  *bytes = mk::ChartBytes(c, 0);
  return c.SelCount == 0;
}

class EdgeSequence {
 public:
  EdgeSequence(const edittest::ShippedPair& pair, uint32_t seed, const std::string& file)
      : script_(pair.script), rng_(seed), file_(file) {
    w_.doc = edittest::LoadShipped(pair);
    w_.doc.ScrlUp = 0;
    w_.doc.Zoom = 1;
    w_.doc.GridDiv = 16;
    w_.doc.ScrollPos = 0;
    const int last = w_.doc.MesCount;
    limit_ = seed % 2 ? last + 3 : std::max(1, last - 2);
    w_.settings.MaxMeasure = limit_;
    std::string error;
    EXPECT_TRUE(mk::WriteChartFile(file_, w_.doc, 0, error)) << error;
    saved_ = testsupport::ReadAll(file_);
    w_.doc.Dirty = 0;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // The pointer over (lane, tick) of measure mes, the view scrolled to show it at the top.
  void Aim(int lane, int mes) {
    w_.h.Value = std::max(0, (lane * 30 - 300) / 5);
    w_.doc.ScrollPos = mes * 192;
  }
  double X(int lane) const { return lane * 30 + 5 - w_.h.Value * 5; }

  void Click(MouseButton b, int shift, int lane, int mes, int tick) {
    Aim(lane, mes);
    w_.gc.CanvasPress(b, shift, X(lane), tick);
    w_.gc.CanvasRelease(b, shift, X(lane), tick);
  }

  // A select-mode press at (lane, mes, tick), a move to (lane2, mes2, step2) and the release.
  void Drag(int shift, int lane, int mes, int tick, int lane2, int mes2, int step2) {
    w_.selectMode = true;
    Aim(lane, mes);
    w_.gc.CanvasPress(MouseButton::Left, shift, X(lane), tick);
    Aim(lane2, mes2);
    w_.gc.CanvasMove(0, X(lane2), step2 * 12);
    w_.gc.CanvasRelease(MouseButton::Left, 0, X(lane2), step2 * 12);
  }

  // Some object of the grid or the selection, as (lane, mes, tick); false when there is none.
  bool SomeObject(int* lane, int* mes, int* tick) {
    const mk::DocData& d = w_.doc;
    if (d.SelCount > 0 && Pick(0, 1)) {
      const mk::SelEntry& e = d.Sel[Pick(1, d.SelCount)];
      if (e.Lane < 0 || e.Lane > d.LaneCount || e.Mes < 0) return false;
      *lane = e.Lane, *mes = e.Mes, *tick = e.Tick;
      return true;
    }
    for (int tries = 0; tries < 40; ++tries) {
      const int l = Pick(0, d.LaneCount), m = Pick(0, d.MesCount);
      const mk::MesData& c = d.Obj[l].Mes[m];
      for (const mk::CellLayer* layer : {&c.Obj, &c.BackObj})
        for (const mk::CellLayer::Entry& e : layer->Entries())
          if (e.Tick < 192 && e.Value <= mk::kOpenObjectBase) {
            *lane = l, *mes = m, *tick = e.Tick;
            return true;
          }
    }
    return false;
  }

  void Step() {
    mk::DocData& d = w_.doc;
    const int lanes = d.LaneCount;
    const int reach = std::max<int>(d.MesCount, limit_) + 2;
    switch (Pick(0, 11)) {
      case 0:
      case 1: {  // a draw-mode click anywhere up to past the end and the limit
        w_.selectMode = false;
        d.CurDef = static_cast<int16_t>(Pick(1, 30));
        w_.answers.push_back(std::to_string(Pick(1, 255)));
        const int m = Pick(0, 1) ? Pick(std::max(0, d.MesCount - 2), reach) : Pick(0, reach);
        Click(MouseButton::Left, Pick(0, 1) * mk::kCtrl, Pick(0, lanes), m, Pick(0, 15) * 12);
        w_.answers.clear();
        break;
      }
      case 2:
      case 3: {  // drag an object or a floating entry, often past the end, or back
        int lane = 0, mes = 0, tick = 0;
        if (!SomeObject(&lane, &mes, &tick)) break;
        Drag(Pick(0, 3) == 0 ? mk::kCtrl : 0, lane, mes, tick, Pick(0, lanes), Pick(0, reach), Pick(0, 15));
        break;
      }
      case 4: {  // a band that lifts a block, left floating in place, often among the last measures
        w_.selectMode = true;
        const int m = Pick(0, 1) ? Pick(std::max(0, d.MesCount - 2), d.MesCount) : Pick(0, d.MesCount);
        Aim(0, m);
        w_.gc.CanvasPress(MouseButton::Left, 0, X(0) + 30 * Pick(0, lanes), 0);
        w_.gc.CanvasMove(0, X(0) + 30 * Pick(0, lanes), 191);
        w_.gc.CanvasRelease(MouseButton::Left, 0, X(0) + 30 * Pick(0, lanes), 191);
        break;
      }
      case 5:
      case 6: {  // "-" or Shift+"-", the question answered either way
        const int delta = Pick(0, 2) == 0 ? -8 : -1;
        const bool answer = Pick(0, 1);
        bool asked = false;
        const mk::DocData before = d;
        std::string bytesBefore, bytesAfter;
        const bool wroteBefore = SaveWouldWrite(d, limit_, &bytesBefore);
        cmdtest::RecordingHost host(d, limit_);
        mk::MesButtonChange(d, host, delta, limit_, [&] {
          asked = true;
          return answer;
        });
        ++cuts_;
        if (asked) ++questions_;
        if (asked && !answer) {
          EXPECT_EQ(d.MesCount, before.MesCount);
          EXPECT_EQ(d.Obj, before.Obj);
          EXPECT_EQ(d.Sel, before.Sel);
          EXPECT_EQ(d.Dirty, before.Dirty);
        } else if (!asked) {
          EXPECT_EQ(SaveWouldWrite(d, limit_, &bytesAfter), wroteBefore);
          EXPECT_EQ(bytesAfter, bytesBefore) << "a cut without a question changed what a save writes";
        }
        break;
      }
      case 7: {  // "+" or Shift+"+"
        cmdtest::RecordingHost host(d, limit_);
        mk::MesButtonChange(d, host, Pick(0, 1) ? 8 : 1, limit_, [] { return true; });
        break;
      }
      case 8: mk::Undo(d); break;
      case 9: {  // copy and paste at the pointer, possibly past the end
        if (d.SelCount > 0 && d.SelCount <= kCopyLimit) mk::EditCopy(d);
        d.CurLane = static_cast<int16_t>(Pick(0, lanes));
        d.CurMes = static_cast<int16_t>(Pick(0, reach));
        d.CurStep = static_cast<int16_t>(Pick(0, 15));
        cmdtest::RecordingHost host(d, limit_);
        mk::EditPaste(d, host, mk::PasteAt::Pointer);
        break;
      }
      case 10: w_.ObjDeSel(false); break;
      case 11: Save(); break;
    }
  }

  // The save: the selection lands in the window, then the writer refuses or writes.
  void Save() {
    mk::DocData& d = w_.doc;
    mk::ObjDeSel(d, limit_);
    std::string error;
    if (!mk::WriteChartFile(file_, d, 0, error)) {
      ++refusals_;
      EXPECT_GT(d.SelCount, 0) << error;
      EXPECT_EQ(error.find("選択中のオブジェ " + std::to_string(d.SelCount) + " 個"), 0u) << error;
      // The places are listed from the earliest measure on.
      const auto first = std::min_element(d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount,
                                          [](const mk::SelEntry& a, const mk::SelEntry& b) { return a.Mes < b.Mes; });
      EXPECT_NE(error.find("　小節 " + std::to_string(first->Mes)), std::string::npos) << error;
      EXPECT_EQ(testsupport::ReadAll(file_), saved_) << "a refused save touched the file";
      return;
    }
    ++saves_;
    saved_ = testsupport::ReadAll(file_);
    EXPECT_EQ(saved_, mk::ChartBytes(d, 0));
    EXPECT_EQ(chartgen::ChartDifference(d, edittest::ReadBack(d, {}, script_)), "");
    mk::MarkSaved(d);
  }

  // Whenever the chart differs from the file, it carries the mark.
  void Check() {
    std::string bytes;
    const bool writes = SaveWouldWrite(w_.doc, limit_, &bytes);
    if (!writes || bytes != saved_) {
      ASSERT_EQ(w_.doc.Dirty, -1) << (writes ? "the chart differs from its file" : "something floats")
                                  << " without the mark";
    }
  }

  int questions_ = 0, cuts_ = 0, refusals_ = 0, saves_ = 0;

 private:
  std::string script_;
  std::mt19937 rng_;
  std::string file_;
  std::string saved_;
  int limit_ = 0;
  seltest::FakeWorld w_;
};

TEST(MeasureEdgeSequences, SavesAreRefusedOrFaithfulAndTheMarkIsTrue) {
  testsupport::TempDir dir;
  int questions = 0, cuts = 0, refusals = 0, saves = 0;
  for (const edittest::ShippedPair& pair : edittest::ShippedPairs()) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
      SCOPED_TRACE(pair.script + " seed " + std::to_string(seed));
      EdgeSequence s(pair, seed, dir.Path("chart"));
      for (int step = 0; step < 200; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        s.Step();
        s.Check();
        if (testing::Test::HasFatalFailure() || testing::Test::HasNonfatalFailure()) return;
      }
      questions += s.questions_;
      cuts += s.cuts_;
      refusals += s.refusals_;
      saves += s.saves_;
    }
  }
  // The sequences reach every kind of step that matters.
  EXPECT_GT(questions, 20);
  EXPECT_GT(cuts, questions);
  EXPECT_GT(refusals, 5);
  EXPECT_GT(saves, 20);
}

}  // namespace
