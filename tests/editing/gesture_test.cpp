// The canvas and strip gestures driven through the controller with fake services.
#include <gtest/gtest.h>

#include "gesture_fakes.h"

namespace {

using mk::MouseButton;
using mk::SelEntry;
using seltest::Back;
using seltest::E;
using seltest::Entries;
using seltest::FakeWorld;
using seltest::Front;
using seltest::Put;
constexpr MouseButton L = MouseButton::Left, R = MouseButton::Right, M = MouseButton::Middle;
constexpr int kShift = mk::kShift, kCtrl = mk::kCtrl, kAlt = mk::kAlt;

// ---- select mode ------------------------------------------------------------------------------

TEST(SelectGesture, BandSelectsWhatItCoversAndCtrlAloneKeepsTheSelection) {
  struct Case {
    const char* name;
    int shift;
    bool keeps;
  } cases[] = {{"plain", 0, false}, {"Ctrl alone", kCtrl, true}, {"Ctrl+Shift", kCtrl + kShift, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    Put(w.doc, 1, 0, 0, 3);
    Put(w.doc, 2, 0, 24, 4);
    Put(w.doc, 3, 0, 48, 5, true);
    Put(w.doc, 4, 0, 24, 6);
    mk::ObjSelect(w.doc, 1, 0, 0, 1, 0, 0, true);
    w.Press(L, c.shift, 2, 0, 60);
    EXPECT_TRUE(w.gc.State().BandOn);
    EXPECT_TRUE(w.bands.empty());  // the press draws nothing
    w.Move(0, 3, 0, 29);
    ASSERT_EQ(w.bands.size(), 1u);
    EXPECT_EQ(w.bands.back(), (std::vector<int>{60, 60, 119, 36}));
    w.Release(L, 0, 3, 0, 29);
    EXPECT_FALSE(w.gc.State().BandOn);
    EXPECT_FALSE(w.overlayShown);
    std::vector<SelEntry> want = {E(2, 0, 24, 4), E(3, 0, 48, 5, -1)};
    if (c.keeps) want.insert(want.begin(), E(1, 0, 0, 3));
    EXPECT_EQ(Entries(w.doc), want);
    EXPECT_EQ(Front(w.doc, 1, 0, 0), c.keeps ? 0 : 3);
    EXPECT_EQ(Front(w.doc, 4, 0, 24), 6);
    EXPECT_EQ(w.doc.UndoOn, 0);  // a band takes no snapshot
  }
}

TEST(SelectGesture, BandReleasedRightOfTheLastLaneReachesTheLastLane) {
  FakeWorld w;
  Put(w.doc, 7, 0, 0, 3);
  Put(w.doc, 8, 1, 0, 4);
  w.Press(L, 0, 6, 0, 0);
  w.gc.CanvasMove(0, 320, 250);        // right of lane 8, inside the canvas
  w.gc.CanvasRelease(L, 0, 700, 250);  // and beyond the canvas
  EXPECT_EQ(Entries(w.doc), (std::vector<SelEntry>{E(7, 0, 0, 3), E(8, 1, 0, 4)}));
  EXPECT_FALSE(w.AnyTimer());
}

TEST(SelectGesture, PressesThatStartNothingOnlySetTheButtonFlag) {
  struct Case {
    const char* name;
    MouseButton button;
    double x, y;
  } cases[] = {{"right of the lanes", L, 290, 10},
               {"past the last measure", L, 35, 192 + 10},
               {"right press past the last measure", R, 35, 192 + 10},
               {"middle button", M, 35, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    mk::Mes_Change(w.doc, -9, 499);  // measure 0 only
    Put(w.doc, 1, 0, 10, 3);
    w.gc.CanvasPress(c.button, 0, c.x, c.y);
    EXPECT_TRUE(w.gc.State().BtnDown);
    EXPECT_FALSE(w.gc.State().BandOn || w.gc.State().DragOn);
    EXPECT_EQ(w.popups, 0);
    EXPECT_EQ(w.doc.UndoOn, 0);
  }
}

TEST(SelectGesture, RightPressShowsTheMenuWhichTakesTheRelease) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  w.Press(L, 0, 2, 0, 24);  // a drag runs: the menu takes the left release too
  w.Press(R, 0, 2, 0, 10);
  EXPECT_EQ(w.popups, 1);
  EXPECT_FALSE(w.gc.State().BtnDown);
  EXPECT_FALSE(w.gc.State().DragOn);
  w.Move(0, 5, 1, 0);
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});
}

TEST(SelectGesture, DragMovesTheSelectionAndAClickStillTakesASnapshot) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  Put(w.doc, 2, 0, 48, 5);
  w.Click(L, 0, 2, 0, 26);  // within the hit test's reach behind the pointer
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});
  EXPECT_EQ(w.doc.UndoOn, -1);
  EXPECT_EQ(w.doc.Dirty, -1);
  // Another plain press drops the first and drags the second.
  w.Press(L, 0, 2, 0, 48);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);
  w.Move(0, 3, 0, 60);
  w.Move(0, 4, 1, 72);
  w.Release(L, 0, 4, 1, 72);
  EXPECT_FALSE(w.gc.State().DragOn);
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(4, 1, 72, 5)});
  EXPECT_EQ(Front(w.doc, 2, 0, 48), 0);
}

TEST(SelectGesture, CtrlPressAddsOrLeavesACopyBehind) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  Put(w.doc, 2, 0, 48, 5);
  w.Click(L, 0, 2, 0, 24);
  w.Click(L, kCtrl, 2, 0, 48);  // Ctrl on an unselected object adds it
  EXPECT_EQ(w.doc.SelCount, 2);
  // Ctrl on a selected object: the selection is written into the grid and dragged on.
  w.Press(L, kCtrl, 2, 0, 24);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);
  EXPECT_EQ(w.doc.SelCount, 2);
  EXPECT_FALSE(w.gc.State().SelKeep);
  w.Move(0, 3, 0, 24);
  w.Release(L, 0, 3, 0, 24);
  mk::ObjDeSel(w.doc, 499);
  for (int lane : {2, 3}) {
    EXPECT_EQ(Front(w.doc, lane, 0, 24), 4);
    EXPECT_EQ(Front(w.doc, lane, 0, 48), 5);
  }
}

TEST(SelectGesture, ArrowKeysHoldTheLaneOrThePosition) {
  struct Case {
    const char* name;
    bool up, down, left, right;
    SelEntry after;
  } cases[] = {
      {"no key", false, false, false, false, E(4, 1, 48, 4)},
      {"Up holds the lane", true, false, false, false, E(2, 1, 48, 4)},
      {"Down holds the lane", false, true, false, false, E(2, 1, 48, 4)},
      {"Left holds the position", false, false, true, false, E(4, 0, 24, 4)},
      {"Up wins over Right", true, false, false, true, E(2, 1, 48, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    Put(w.doc, 2, 0, 24, 4);
    w.Press(L, 0, 2, 0, 24);
    w.keys[0] = c.up, w.keys[1] = c.down, w.keys[2] = c.left, w.keys[3] = c.right;
    w.Move(0, 4, 1, 48);
    EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{c.after});
  }
}

TEST(ArrowKeyLatch, APressBetweenQueriesCountsOnce) {
  mk::ArrowKeyLatch k;
  EXPECT_FALSE(k.ArrowDown(mk::Arrow::Up));
  k.KeyPressed(mk::Arrow::Up);
  k.KeyReleased(mk::Arrow::Up);
  EXPECT_TRUE(k.ArrowDown(mk::Arrow::Up));
  EXPECT_FALSE(k.ArrowDown(mk::Arrow::Up));
  k.KeyPressed(mk::Arrow::Left);
  EXPECT_TRUE(k.ArrowDown(mk::Arrow::Left));
  EXPECT_TRUE(k.ArrowDown(mk::Arrow::Left));  // still held
  EXPECT_FALSE(k.ArrowDown(mk::Arrow::Right));
}

TEST(SelectGesture, OffTheLanesTheAutoScrollRunsAndTheReleaseStopsIt) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  w.Press(L, 0, 2, 0, 24);
  const int draws = w.draws;
  w.gc.CanvasMove(0, 700, 24);  // 100 px right of the canvas
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});
  EXPECT_EQ(w.draws, draws + 1);
  EXPECT_TRUE(w.timers[0].running);
  EXPECT_EQ(w.timers[0].interval, 40);
  w.gc.XTimerTick();
  EXPECT_EQ(w.h.Value, 3);
  w.gc.CanvasRelease(L, 0, 700, 24);
  EXPECT_FALSE(w.AnyTimer());
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});  // still floating
}

TEST(SelectGesture, TimersMoveTheBandCornerWithTheView) {
  FakeWorld w;
  w.doc.Zoom = 3;
  w.Press(L, 0, 2, 0, 60);  // zoom 3: y 60 is tick 20, step 1, box at y 36
  const int bandY = w.gc.State().BandY;
  w.gc.CanvasMove(0, 65, -79);
  EXPECT_TRUE(w.timers[1].running);
  EXPECT_EQ(w.timers[1].interval, 50 - 79 / 7);
  w.gc.YTimerTick();
  EXPECT_EQ(w.v.Value, 98);
  EXPECT_EQ(w.gc.State().BandY, bandY + 24);
  w.v.Value = 0;
  w.gc.YTimerTick();  // at the bar's end nothing moves
  EXPECT_EQ(w.gc.State().BandY, bandY + 24);
  w.gc.GestureLost();
  EXPECT_FALSE(w.AnyTimer());
}

// ---- draw mode: erase drag --------------------------------------------------------------------

TEST(DrawGesture, RightPressStartsAnEraseDragUnlessShiftAlone) {
  struct Case {
    int shift;
    double x;
    bool erase;
  } cases[] = {{0, 35, true}, {kCtrl, 35, true}, {kAlt, 35, true}, {kShift, 35, false}, {0, 290, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.shift) + " at " + std::to_string(c.x));
    FakeWorld w;
    w.selectMode = false;
    w.gc.CanvasPress(R, c.shift, c.x, 10);
    EXPECT_EQ(w.gc.State().EraseOn, c.erase);
    EXPECT_EQ(w.doc.UndoOn, c.erase ? -1 : 0);
  }
}

TEST(DrawGesture, EraseDragErasesOnGridTicksAndGroupOpenObjects) {
  FakeWorld w;
  w.selectMode = false;
  seltest::AddGroup(w.doc, 4);
  Put(w.doc, 2, 0, 24, 4);
  Put(w.doc, 2, 0, 24, 8, true);
  Put(w.doc, 2, 0, 30, 7);  // off the grid of 16
  Put(w.doc, 4, 0, 0, 10005);
  Put(w.doc, 4, 0, 12, 3);
  Put(w.doc, 0, 1, 0, 150);
  w.Press(R, 0, 2, 0, 30);
  w.Move(0, 2, 0, 30);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 0);
  EXPECT_EQ(Back(w.doc, 2, 0, 24), 0);
  EXPECT_EQ(Front(w.doc, 2, 0, 30), 7);
  w.Move(0, 6, 0, 0);  // lane 6 is in the group: its open object goes
  EXPECT_EQ(Front(w.doc, 4, 0, 0), 0);
  w.Move(0, 5, 0, 12);  // an ordinary object of the first lane stays
  EXPECT_EQ(Front(w.doc, 4, 0, 12), 3);
  w.Move(0, 0, 1, 0);  // the tempo lane too
  EXPECT_EQ(Front(w.doc, 0, 1, 0), 0);
  w.Release(R, 0, 0, 1, 0);
  EXPECT_FALSE(w.gc.State().EraseOn);
  EXPECT_EQ(w.doc.UndoOn, -1);
  mk::Undo(w.doc);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);
  EXPECT_EQ(Front(w.doc, 4, 0, 0), 10005);
}

TEST(DrawGesture, AnEraseThatErasedNothingHandsBackItsSnapshot) {
  FakeWorld w;
  w.selectMode = false;
  w.Click(L, 0, 1, 0, 0);  // an earlier edit
  ASSERT_EQ(Front(w.doc, 1, 0, 0), 1);
  w.Press(R, 0, 2, 1, 0);
  w.Move(0, 3, 1, 0);
  w.Release(R, 0, 3, 1, 0);
  EXPECT_EQ(w.doc.UndoOn, -1);
  mk::Undo(w.doc);  // undoes the earlier edit, not the empty erase
  EXPECT_EQ(Front(w.doc, 1, 0, 0), 0);

  // An object under the release point is erased there and the snapshot stays.
  FakeWorld v;
  v.selectMode = false;
  Put(v.doc, 2, 0, 24, 4);
  v.Click(R, 0, 2, 0, 24);
  EXPECT_EQ(Front(v.doc, 2, 0, 24), 0);
  mk::Undo(v.doc);
  EXPECT_EQ(Front(v.doc, 2, 0, 24), 4);

  // Released off the lanes: nothing is erased there and later moves erase nothing.
  FakeWorld u;
  u.selectMode = false;
  Put(u.doc, 2, 0, 24, 4);
  u.Press(R, 0, 2, 1, 0);
  u.gc.CanvasRelease(R, 0, 290, 24);
  u.Move(0, 2, 0, 24);
  EXPECT_EQ(Front(u.doc, 2, 0, 24), 4);
  EXPECT_EQ(u.doc.UndoOn, 0);
}

// ---- draw mode: placements --------------------------------------------------------------------

TEST(DrawGesture, PlacementByModifiers) {
  struct Case {
    const char* name;
    int shift, lane;
    int front, back;  // the cell afterwards (it held front 0, back 7)
    bool snapshot;
  } cases[] = {
      {"plain: the lane header value", 0, 2, 5, 7, true},
      {"Shift: the current number", kShift, 2, 12, 7, true},
      {"Ctrl: back layer, second header value", kCtrl, 2, 0, 9, true},
      {"Ctrl+Shift: back layer, current number", kCtrl + kShift, 2, 0, 12, true},
      {"Ctrl on a lane without back channel", kCtrl, 1, 5, 7, true},
      {"Ctrl+Shift on a lane without back channel", kCtrl + kShift, 1, 12, 7, true},
      {"Alt outside a group: back emptied", kAlt, 2, 5, 0, true},
      {"Alt+Shift outside a group", kAlt + kShift, 2, 12, 0, true},
      {"Ctrl+Alt: nothing", kCtrl + kAlt, 2, 0, 7, false},
      {"Ctrl+Alt+Shift: nothing", kCtrl + kAlt + kShift, 2, 0, 7, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    w.selectMode = false;
    w.doc.CurDef = 12;
    for (int l : {1, 2}) w.doc.Lane[l].Hdr = 5, w.doc.Lane[l].Hdr2 = 9;
    Put(w.doc, c.lane, 0, 24, 7, true);
    w.Click(L, c.shift, c.lane, 0, 30);  // the click tick is the grid line above: 24
    EXPECT_EQ(Front(w.doc, c.lane, 0, 24), c.front);
    EXPECT_EQ(Back(w.doc, c.lane, 0, 24), c.back);
    EXPECT_EQ(w.doc.UndoOn, c.snapshot ? -1 : 0);
    EXPECT_EQ(w.doc.Dirty, c.snapshot ? -1 : 0);
  }
}

TEST(DrawGesture, OpenObjectsStandForTheirGroup) {
  FakeWorld w;
  w.selectMode = false;
  w.doc.CurDef = 12;
  seltest::AddGroup(w.doc, 4);
  Put(w.doc, 4, 0, 0, 3, true);
  Put(w.doc, 5, 0, 0, 2);
  Put(w.doc, 6, 0, 0, 8, true);
  w.Click(L, kAlt, 5, 0, 0);
  EXPECT_EQ(Front(w.doc, 4, 0, 0), 10012);
  for (int l : {4, 5, 6}) EXPECT_EQ(Back(w.doc, l, 0, 0), 0) << l;
  EXPECT_EQ(Front(w.doc, 5, 0, 0), 0);
  EXPECT_EQ(w.doc.Obj[4].Mes[0].Division, 1);
  EXPECT_EQ(w.doc.Obj[5].Mes[0].Division, 0);
  // A plain click on another lane of the group removes the open object at its tick only.
  w.Click(L, kAlt, 4, 0, 48);
  w.Click(L, 0, 6, 0, 0);
  EXPECT_EQ(Front(w.doc, 4, 0, 0), 0);
  EXPECT_EQ(Front(w.doc, 6, 0, 0), 12);
  EXPECT_EQ(Front(w.doc, 4, 0, 48), 10012);
  // Number 0 would be written as 10000: nothing is placed, no snapshot taken.
  w.doc.CurDef = 0;
  mk::DocData before = w.doc;
  w.Click(L, kAlt, 5, 0, 96);
  EXPECT_TRUE(w.doc.Obj == before.Obj);
  EXPECT_TRUE(w.doc.UndoObj == before.UndoObj);
}

TEST(DrawGesture, AGroupAtTheRightEdgeWritesOnlyItsLanes) {
  FakeWorld w;
  w.selectMode = false;
  seltest::AddGroup(w.doc, 7);  // lanes 7, 8 and a missing lane 9
  Put(w.doc, 8, 0, 0, 4);
  w.Click(L, kAlt, 8, 0, 0);
  EXPECT_EQ(Front(w.doc, 7, 0, 0), 10001);
  EXPECT_EQ(Front(w.doc, 8, 0, 0), 0);
}

TEST(DrawGesture, AClickPastTheLastMeasureGrowsTheChartWithinTheLimit) {
  FakeWorld w;
  w.selectMode = false;
  w.doc.ScrollPos = 192 * 11;
  w.gc.CanvasPress(L, 0, 35, 192 + 24);
  w.gc.CanvasRelease(L, 0, 35, 192 + 24);
  EXPECT_EQ(w.doc.MesCount, 12);
  EXPECT_EQ(Front(w.doc, 1, 12, 24), 1);

  FakeWorld v;
  v.selectMode = false;
  v.settings.MaxMeasure = 11;
  v.doc.ScrollPos = 192 * 11;
  v.gc.CanvasPress(L, 0, 35, 192 + 24);
  v.gc.CanvasRelease(L, 0, 35, 192 + 24);
  EXPECT_EQ(v.doc.MesCount, 9);
  EXPECT_EQ(v.doc.UndoOn, 0);
  EXPECT_EQ(v.doc.Dirty, 0);
}

// At a zoom where the grid steps do not fit the measure's pixels evenly, the last pixels of a
// measure still place on its last tick, which a save writes, never past it.
TEST(DrawGesture, AClickAtAMeasuresEndPlacesOnItsLastTick) {
  FakeWorld w;
  w.selectMode = false;
  w.doc.Zoom = 1.25;    // 240 pixels a measure
  w.doc.GridDiv = 192;  // a step a tick, some 1.25 pixels each
  w.gc.CanvasPress(L, 0, FakeWorld::X(1), 239);
  w.gc.CanvasRelease(L, 0, FakeWorld::X(1), 239);
  EXPECT_EQ(Front(w.doc, 1, 0, 191), 1);
  EXPECT_EQ(Front(w.doc, 1, 0, 192), 0);
}

TEST(DrawGesture, TempoEntryStoresWholeValuesOneTo255) {
  struct Case {
    std::optional<std::string> answer;
    int shift;
    int stored;  // 0: nothing
  } cases[] = {{"120.5", 0, 120}, {"254.5", 0, 254}, {"255", 0, 255},      {"255.5", 0, 0},       {"0.5", 0, 0},
               {"abc", 0, 0},     {"", 0, 0},        {std::nullopt, 0, 0}, {" 1 00", kCtrl, 100}, {"100", kAlt, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancel)") + " shift " + std::to_string(c.shift));
    FakeWorld w;
    w.selectMode = false;
    w.answers.push_back(c.answer);
    w.Click(L, c.shift, 0, 1, 50);
    ASSERT_EQ(w.prompts.size(), 1u);
    EXPECT_EQ(Front(w.doc, 0, 1, 48), c.stored);
    EXPECT_EQ(w.doc.UndoOn, c.stored ? -1 : 0);
  }
  // The value the cell holds already changes nothing: no undo step, no mark.
  FakeWorld w;
  w.selectMode = false;
  Put(w.doc, 0, 1, 48, 120);
  w.answers.push_back("120");
  w.Click(L, 0, 0, 1, 50);
  EXPECT_EQ(w.doc.UndoOn, 0);
  EXPECT_EQ(w.doc.Dirty, 0);
}

TEST(DrawGesture, TempoPromptShowsTheBaseBpm) {
  for (auto [bpm, text] : {std::pair{0.0, "0"}, {120.5, "120.5"}, {0.5, ".5"}, {-0.25, "-.25"}})
    EXPECT_EQ(mk::GestureController::TempoPromptText(bpm),
              std::string("BPMを入力してください\r\n(この値にBASEBPM[") + text + "]が加算されます)");
}

TEST(DrawGesture, ShiftRightClickPicksTheNumber) {
  struct Case {
    const char* name;
    int lane, mes;
    int pickedDef;  // 0: unchanged
  } cases[] = {
      {"group open object", 5, 0, 23},
      {"back alone", 2, 0, 7},
      {"front before back", 3, 0, 3},
      {"tempo lane", 0, 0, 0},
      {"empty cell", 7, 0, 0},
      {"past the last measure", 2, 1, 0},
      {"a number past the WAV list", 1, 0, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    w.selectMode = false;
    mk::Mes_Change(w.doc, -9, 499);  // measure 0 only
    seltest::AddGroup(w.doc, 4);
    Put(w.doc, 4, 0, 24, 10023);
    Put(w.doc, 2, 0, 24, 7, true);
    Put(w.doc, 3, 0, 24, 3);
    Put(w.doc, 3, 0, 24, 7, true);
    Put(w.doc, 0, 0, 24, 120);
    Put(w.doc, 1, 0, 24, 300);
    w.Click(R, kShift, c.lane, c.mes, 24);
    EXPECT_EQ(w.doc.CurDef, c.pickedDef ? c.pickedDef : 1);
    EXPECT_EQ(w.rows, c.pickedDef ? std::vector<int>{c.pickedDef} : std::vector<int>{});
    EXPECT_EQ(w.doc.UndoOn, 0);
    EXPECT_EQ(w.doc.Dirty, 0);
    EXPECT_EQ(Front(w.doc, 3, 0, 24), 3);  // nothing erased
  }
}

TEST(DrawGesture, PreviewShowsTheCellAndLayerALeftClickWouldWrite) {
  struct Case {
    const char* name;
    int shift, lane;
    mk::PlacementPreview p;
  } cases[] = {
      {"front with the header value", 0, 2, {61, 24, 2, false, true, 5}},
      {"Shift shows the current number", kShift, 2, {61, 24, 2, false, true, 12}},
      {"Ctrl: back layer", kCtrl, 2, {61, 24, 2, true, true, 9}},
      {"Ctrl without back channel", kCtrl, 1, {31, 24, 1, false, true, 5}},
      {"tempo lane: no label", kCtrl, 0, {1, 24, 0, false, false, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    w.selectMode = false;
    w.doc.CurDef = 12;
    for (int l : {1, 2}) w.doc.Lane[l].Hdr = 5, w.doc.Lane[l].Hdr2 = 9;
    w.Move(c.shift, c.lane, 0, 30);
    ASSERT_EQ(w.previews.size(), 1u);
    EXPECT_EQ(w.previews[0], c.p);
  }
  FakeWorld off;
  off.selectMode = false;
  off.gc.CanvasMove(0, 290, 10);
  EXPECT_TRUE(off.previews.empty());
}

// ---- lane header strip ------------------------------------------------------------------------

TEST(StripGesture, ClicksSetHeaderValuesOrSelectLanes) {
  struct Case {
    const char* name;
    bool selectMode;
    MouseButton button;
    int shift;
    double x;
    int hscroll;
    int hdr3, hdr2of4, hdr4;  // afterwards (before: 0, 0, 0)
  } cases[] = {
      {"draw left: current number", false, L, 0, 95, 0, 12, 0, 0},
      {"draw Shift+left: the same", false, L, kShift, 95, 0, 12, 0, 0},
      {"draw Ctrl+left, no back channel", false, L, kCtrl, 95, 0, 12, 0, 0},
      {"draw Ctrl+left, back channel", false, L, kCtrl, 125, 0, 0, 12, 0},
      {"draw left, scrolled 12 units", false, L, 0, 60, 12, 0, 0, 12},
      {"draw left on the tempo lane", false, L, 0, 5, 0, 0, 0, 0},
      {"draw left right of the lanes", false, L, 0, 280, 0, 0, 0, 0},
      {"draw left of the first lane", false, L, 0, -40, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld w;
    w.selectMode = c.selectMode;
    w.doc.CurDef = 12;
    w.h.Value = c.hscroll;
    w.gc.StripRelease(c.button, c.shift, c.x);  // without a press: nothing
    EXPECT_EQ(w.doc.Lane[3].Hdr, 0);
    w.gc.StripPress();
    w.gc.StripRelease(c.button, c.shift, c.x);
    EXPECT_EQ(w.doc.Lane[3].Hdr, c.hdr3);
    EXPECT_EQ(w.doc.Lane[4].Hdr2, c.hdr2of4);
    EXPECT_EQ(w.doc.Lane[4].Hdr, c.hdr4);
    EXPECT_EQ(w.headDraws, c.hdr3 || c.hdr2of4 || c.hdr4 ? 1 : 0);
    // A right click clears what a left click set.
    w.gc.StripPress();
    w.gc.StripRelease(R, c.shift, c.x);
    EXPECT_EQ(w.doc.Lane[3].Hdr + w.doc.Lane[4].Hdr + w.doc.Lane[4].Hdr2, 0);
  }
}

TEST(StripGesture, SelectModeLeftTakesTheLaneRightDropsEverything) {
  FakeWorld w;
  w.doc.Lane[5].BackChannel = "55";  // so that lane 5 can hold the back object
  Put(w.doc, 2, 0, 0, 3);
  Put(w.doc, 5, 1, 0, 4);
  Put(w.doc, 5, 9, 96, 5, true);
  mk::ObjSelect(w.doc, 2, 0, 0, 2, 0, 0, true);
  w.gc.StripPress();
  w.gc.StripRelease(L, 0, 155);
  EXPECT_EQ(Entries(w.doc), (std::vector<SelEntry>{E(2, 0, 0, 3), E(5, 1, 0, 4), E(5, 9, 96, 5, -1)}));
  EXPECT_EQ(w.doc.UndoOn, 0);
  // Off the lanes on either side only the right click acts: it drops the selection.
  for (double x : {-40.0, 280.0}) {
    w.gc.StripPress();
    w.gc.StripRelease(L, 0, x);
    EXPECT_EQ(w.doc.SelCount, 3);
  }
  w.gc.StripPress();
  w.gc.StripRelease(R, 0, -40);
  EXPECT_EQ(w.doc.SelCount, 0);
  EXPECT_EQ(Front(w.doc, 5, 1, 0), 4);
  EXPECT_EQ(Back(w.doc, 5, 9, 96), 5);
}

// ---- lost releases ----------------------------------------------------------------------------

// A press whose release a box or another window took, then moves with no button held: the
// gesture ends where the pointer last was and nothing moves or is erased any more. A click
// elsewhere lands the selection where the gesture left it, and Undo gives back the chart as it
// was before the press.
TEST(LostRelease, MovesWithNoButtonHeldEndTheGestureWhereItWas) {
  const SelEntry a = E(2, 0, 24, 4), b = E(3, 0, 24, 5), c = E(5, 1, 0, 6);
  struct Pos {
    int lane, mes, tick;
  };
  struct Case {
    const char* name;
    bool select;
    MouseButton button;
    Pos press;
    std::optional<Pos> heldMove;  // before the release is lost
    std::vector<SelEntry> sel, grid;
    bool snapshot;  // the gesture keeps an undo step
  } cases[] = {
      {"drag", true, L, {2, 0, 24}, Pos{4, 0, 24}, {E(4, 0, 24, 4)}, {b, c}, true},
      {"drag lost at its press", true, L, {2, 0, 24}, std::nullopt, {a}, {b, c}, true},
      {"band", true, L, {2, 0, 60}, Pos{3, 0, 30}, {a, b}, {c}, false},
      {"erase drag", false, R, {2, 1, 0}, Pos{3, 0, 24}, {}, {a, c}, true},
      {"erase drag that erased nothing", false, R, {2, 1, 0}, std::nullopt, {}, {a, b, c}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    FakeWorld w;
    for (const SelEntry& e : {a, b, c}) Put(w.doc, e.Lane, e.Mes, e.Tick, e.Value);
    const std::vector<SelEntry> before = seltest::GridObjects(w.doc);
    w.selectMode = k.select;
    w.held = static_cast<int>(k.button);
    w.Press(k.button, 0, k.press.lane, k.press.mes, k.press.tick);
    if (k.heldMove) w.Move(0, k.heldMove->lane, k.heldMove->mes, k.heldMove->tick);
    w.held = 0;  // the release went elsewhere
    w.Move(0, 2, 0, 24);
    w.Move(0, 3, 0, 24);
    w.Move(0, 5, 1, 0);
    const mk::GestureState& st = w.gc.State();
    EXPECT_FALSE(st.BtnDown || st.BandOn || st.DragOn || st.EraseOn);
    EXPECT_EQ(Entries(w.doc), k.sel);
    EXPECT_EQ(seltest::GridObjects(w.doc), k.grid);
    EXPECT_FALSE(w.AnyTimer());
    EXPECT_EQ(w.doc.UndoOn, k.snapshot ? -1 : 0);
    w.selectMode = true;
    w.held = 1;
    w.Click(L, 0, 7, 1, 0);  // elsewhere: the selection lands where it is
    if (w.doc.UndoOn != 0) mk::Undo(w.doc);
    EXPECT_EQ(seltest::GridObjects(w.doc), before);
  }
}

TEST(LostRelease, APressOfTheSameButtonEndsWhatItStarted) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  w.held = 1;
  w.Press(L, 0, 2, 0, 24);  // a drag whose release is lost
  w.Press(L, 0, 6, 2, 0);   // the next left press: an empty cell
  EXPECT_FALSE(w.gc.State().DragOn);
  EXPECT_TRUE(w.gc.State().BandOn);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);  // the press dropped the selection where it was
}

// A box that opens inside the press (the window loses its activation) ends the drag the press
// starts once the press is done: later moves, even with the button held again, move nothing.
TEST(LostRelease, ABoxDuringThePressEndsItsGesture) {
  FakeWorld w;
  Put(w.doc, 2, 0, 24, 4);
  w.onSelect = [&w] { w.gc.GestureLost(); };
  w.Press(L, 0, 2, 0, 24);
  EXPECT_FALSE(w.gc.State().DragOn);
  EXPECT_FALSE(w.gc.State().BtnDown);
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});
  w.Move(0, 4, 1, 0);
  EXPECT_EQ(Entries(w.doc), std::vector<SelEntry>{E(2, 0, 24, 4)});
  mk::Undo(w.doc);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);
  EXPECT_EQ(w.doc.SelCount, 0);
}

// The tempo box opens at a left release while the right button may still hold an erase drag:
// the drag ends first (handing back its empty snapshot), so the box's answer is one undo step and
// the lost right release leaves nothing erasing.
TEST(LostRelease, TheTempoBoxEndsAnEraseDragFirst) {
  FakeWorld w;
  w.selectMode = false;
  Put(w.doc, 2, 0, 24, 4);
  w.Press(R, 0, 2, 1, 0);
  bool erasingAtTheBox = true;
  w.onPrompt = [&] { erasingAtTheBox = w.gc.State().EraseOn; };
  w.answers.push_back("150");
  w.Click(L, 0, 0, 0, 0);
  EXPECT_FALSE(erasingAtTheBox);
  EXPECT_EQ(Front(w.doc, 0, 0, 0), 150);
  w.held = 2;  // the right button still down, its release to come or not
  w.Move(0, 2, 0, 24);
  EXPECT_EQ(Front(w.doc, 2, 0, 24), 4);
  mk::Undo(w.doc);
  EXPECT_EQ(Front(w.doc, 0, 0, 0), 0);
}

}  // namespace
