// Random gesture sequences on a small chart in which releases go astray (a box, the chart menu or
// another window takes them) and the commands that ask are answered Cancel, empty or refused.
// Properties: a move with no button held, and a lost activation, change nothing a save writes;
// once a gesture of one press that changed the chart ends without its release, Undo gives back
// the chart as it was before that press; a cancelled or refused answer leaves the grid, the
// selection, the undo levels and the modified mark exactly as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cmd_fixture.h"
#include "editing/measures.h"
#include "gesture_fakes.h"
#include "scripted_desktop.h"

namespace {

using mk::MouseButton;

// What a save writes of the grid: the selection landed on a copy.
std::vector<mk::LaneMes> Landed(const mk::DocData& d, int maxMeasure) {
  mk::DocData c = d;
  mk::ObjDeSel(c, maxMeasure);
  return c.Obj;
}

// Everything an answer must leave alone.
struct Kept {
  std::vector<mk::LaneMes> grid, undo, undo2;
  std::vector<mk::SelEntry> sel;
  int32_t selCount;
  int16_t mesCount, undoOn, undoDirty, dirty;
  bool operator==(const Kept&) const = default;
};
Kept KeptOf(const mk::DocData& d) {
  return {d.Obj, d.UndoObj, d.UndoObj2, d.Sel, d.SelCount, d.MesCount, d.UndoOn, d.UndoDirty, d.Dirty};
}

class LostSequence {
 public:
  explicit LostSequence(uint32_t seed) : rng_(seed) {
    for (int i = 0; i < 40; ++i) {
      const int lane = Pick(1, 8);
      seltest::Put(w_.doc, lane, Pick(0, 1), 12 * Pick(0, 15), Pick(1, 30), lane % 2 == 0 && Pick(0, 3) == 0);
    }
    w_.settings.MaxMeasure = 20;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Step() {
    const bool idle = held_ == 0 && !Busy();
    switch (Pick(0, 9)) {
      case 0:
      case 1: Press(); break;
      case 2:
      case 3:
      case 4: Move(held_); break;
      case 5: Release(); break;
      case 6:  // the user lets go while a box is up: the release never comes
        held_ = 0;
        break;
      case 7: {  // the window loses its activation
        const std::vector<mk::LaneMes> before = Landed(w_.doc, Max());
        const bool ending = Busy();
        w_.gc.GestureLost();
        held_ = 0;
        EXPECT_FALSE(Busy());
        EXPECT_EQ(Landed(w_.doc, Max()), before) << "a lost activation changed the chart";
        if (ending) CheckUndoGivesBackThePress();
        break;
      }
      case 8:
        if (idle) Ask();
        break;
      default:
        if (idle && Pick(0, 3) == 0) mk::Undo(w_.doc);
        break;
    }
  }

 private:
  int Max() const { return w_.settings.MaxMeasure; }
  bool Busy() const {
    const mk::GestureState& s = w_.gc.State();
    return s.BandOn || s.DragOn || s.EraseOn;
  }

  void Press() {
    const MouseButton b = Pick(0, 2) ? MouseButton::Left : MouseButton::Right;
    if (held_ & static_cast<int>(b)) return;  // already down
    if (held_ == 0) {
      atPress_ = Landed(w_.doc, Max());
      presses_ = 0;
      w_.selectMode = Pick(0, 1) == 0;
    }
    ++presses_;
    held_ |= static_cast<int>(b);
    w_.held = held_;
    const int popups = w_.popups;
    // Half the presses on an object of the grid, so that drags and erase drags change the chart.
    const std::vector<mk::SelEntry> objects = seltest::GridObjects(w_.doc);
    mk::SelEntry at{static_cast<int16_t>(Pick(1, 8)), static_cast<int16_t>(Pick(0, 1)),
                    static_cast<int16_t>(Pick(0, 191))};
    if (!objects.empty() && Pick(0, 1)) at = objects[Pick(0, static_cast<int>(objects.size()) - 1)];
    w_.Press(b, Pick(0, 3) == 0 ? mk::kCtrl : 0, at.Lane, std::min<int>(at.Mes, 1), at.Tick);
    if (w_.popups != popups) held_ = 0;  // the chart menu took every release
  }

  void Release() {
    const MouseButton b = held_ & static_cast<int>(MouseButton::Left) ? MouseButton::Left : MouseButton::Right;
    if (!(held_ & static_cast<int>(b))) return;
    held_ &= ~static_cast<int>(b);
    w_.held = held_;
    w_.Release(b, 0, Pick(1, 8), Pick(0, 1), Pick(0, 191));
  }

  void Move(int held) {
    w_.held = held;
    const std::vector<mk::LaneMes> before = Landed(w_.doc, Max());
    const bool ending = held == 0 && Busy();
    w_.Move(0, Pick(0, 8), Pick(0, 1), Pick(0, 191));
    if (held != 0) return;
    EXPECT_FALSE(Busy());
    EXPECT_EQ(Landed(w_.doc, Max()), before) << "a move with no button held changed the chart";
    if (ending) CheckUndoGivesBackThePress();
  }

  // A gesture of a single press that changed the chart and ended without its release: Undo
  // takes the chart back to what it was before the press.
  void CheckUndoGivesBackThePress() {
    if (presses_ != 1 || Landed(w_.doc, Max()) == atPress_) return;
    mk::DocData undone = w_.doc;
    ASSERT_TRUE(mk::Undo(undone));
    EXPECT_EQ(Landed(undone, Max()), atPress_) << "Undo does not give back the chart before the press";
    ++checkedUndos_;
  }

  // A command that asks, answered so that it must change nothing.
  void Ask() {
    mk::DocData& d = w_.doc;
    const Kept before = KeptOf(d);
    switch (Pick(0, 2)) {
      case 0: {  // the measure length: Cancel, empty, negative, or the factor it has
        testsupport::ScopedDesktop desk;
        d.CurMes = static_cast<int16_t>(Pick(0, d.MesCount));
        const std::optional<std::string> answers[] = {std::nullopt, "", "-2",
                                                      mk::LengthText(d.Obj[0].Mes[d.CurMes].Length)};
        desk.ExpectInputBox(answers[Pick(0, 3)]);
        cmdtest::RecordingHost host(d, Max());
        EXPECT_FALSE(mk::MesLength(d, host));
        break;
      }
      case 1: {  // the tempo entry: Cancel or a value out of range
        const std::optional<std::string> answers[] = {std::nullopt, "0", "256", "x"};
        w_.answers.push_back(answers[Pick(0, 3)]);
        w_.selectMode = false;
        w_.held = 0;
        w_.Click(MouseButton::Left, 0, 0, Pick(0, 1), Pick(0, 191));
        w_.answers.clear();
        break;
      }
      default: {  // "-" over measures that hold something, the question answered Cancel
        if (d.MesCount == 0 || !mk::MesCutTakesSomething(d, 0)) return;
        cmdtest::RecordingHost host(d, Max());
        EXPECT_FALSE(mk::MesButtonChange(d, host, -d.MesCount, Max(), [] { return false; }));
        break;
      }
    }
    EXPECT_TRUE(KeptOf(d) == before) << "a cancelled or refused answer changed the chart or its undo";
    ++asked_;
  }

 public:
  int checkedUndos_ = 0, asked_ = 0;

 private:
  std::mt19937 rng_;
  seltest::FakeWorld w_;
  int held_ = 0;     // the buttons the user holds
  int presses_ = 0;  // presses since no button was held
  std::vector<mk::LaneMes> atPress_;
};

TEST(LostReleaseSequences, NothingMovesWithoutAButtonAndCancelledAnswersChangeNothing) {
  int undos = 0, asked = 0;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    LostSequence s(seed);
    for (int step = 0; step < 400 && !testing::Test::HasFailure(); ++step) s.Step();
    undos += s.checkedUndos_;
    asked += s.asked_;
  }
  // The sequences do reach gestures that changed the chart before their release was lost.
  EXPECT_GT(undos, 5);
  EXPECT_GT(asked, 20);
}

}  // namespace
