#include "editing/clipboard.h"

#include <gtest/gtest.h>

#include "chartfmt/chartwrite.h"
#include "cmd_fixture.h"
#include "editing/movesel.h"
#include "editing/selection.h"

namespace mk {
namespace {

using cmdtest::At;
using cmdtest::MakeDoc;
using cmdtest::Put;
using cmdtest::RecordingHost;
using cmdtest::Select;
using cmdtest::Selected;

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearClipboard(); }
  void TearDown() override { ClearClipboard(); }
  // The two objects of the copy example: lane 3 measure 2 tick 96, lane 5 measure 3 tick 0.
  static DocData TwoSelected() {
    DocData d = MakeDoc(8, 9);
    Select(d, {{3, 2, 96, 11, 0}, {5, 3, 0, 12, -1}});
    return d;
  }
};

TEST_F(ClipboardTest, CopyStoresTheBlockRelativeToItsOriginAndLeavesTheChartAlone) {
  DocData d = TwoSelected();
  d.Fmt.WNum = 2;
  d.Fmt.BNum = 3;
  d.Dirty = 0;
  const DocData before = d;
  ASSERT_TRUE(EditCopy(d));
  EXPECT_EQ(g_ClipCount, 2);
  EXPECT_EQ(g_ClipLane, 3);
  EXPECT_EQ(g_ClipTick, 96);  // origin position 480
  EXPECT_EQ(g_ClipMode, 2);
  EXPECT_EQ(g_ClipBMode, 3);
  ASSERT_EQ(g_Clip.size(), 3u);
  EXPECT_EQ(g_Clip[1], (ClipEntry{0, 0, 11, 0, kSelTableWav}));
  EXPECT_EQ(g_Clip[2], (ClipEntry{2, 96, 12, -1, kSelTableWav}));
  EXPECT_EQ(d.Sel, before.Sel);
  EXPECT_EQ(d.SelCount, 2);
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(d.UndoOn, 0);

  // A second copy replaces the whole block; an empty selection leaves it.
  Select(d, {{7, 0, 0, 5, 0}});
  ASSERT_TRUE(EditCopy(d));
  EXPECT_EQ(g_ClipCount, 1);
  EXPECT_EQ(g_Clip.size(), 2u);
  EXPECT_EQ(g_ClipLane, 7);
  Select(d, {});
  EXPECT_FALSE(EditCopy(d));
  EXPECT_EQ(g_ClipCount, 1);
  EXPECT_EQ(g_Clip[1].Value, 5);
}

TEST_F(ClipboardTest, CopyOriginNeverPassesTheLastLaneOrTheLastTick) {
  // Entries dragged past the right edge and past the end: the origin is the chart's corner.
  DocData d = MakeDoc(8, 4);  // last tick 4 * 192 + 191 = 959
  Select(d, {{10, 6, 0, 1, 0}, {12, 7, 10, 2, 0}});
  ASSERT_TRUE(EditCopy(d));
  EXPECT_EQ(g_ClipLane, 8);
  EXPECT_EQ(g_ClipTick, 191);
  EXPECT_EQ(g_Clip[1], (ClipEntry{2, 6 * 192 - 959, 1, 0}));
  EXPECT_EQ(g_Clip[2], (ClipEntry{4, 7 * 192 + 10 - 959, 2, 0}));
}

TEST_F(ClipboardTest, PasteLandsTheOldSelectionAndPlacesTheBlock) {
  struct Case {
    const char* name;
    PasteAt where;
    int16_t curLane, curMes, curStep, gridDiv;
    int32_t scrollPos;
    std::vector<SelEntry> expect;
  } cases[] = {
      {"context menu at lane 1, measure 4, grid 16, step 2",
       PasteAt::Pointer,
       1,
       4,
       2,
       16,
       0,
       {{1, 4, 24, 11, 0}, {3, 4, 120, 12, -1}}},
      {"context menu, grid 5: steps of 38 ticks",
       PasteAt::Pointer,
       2,
       0,
       3,
       5,
       0,
       {{2, 0, 114, 11, 0}, {4, 1, 18, 12, -1}}},
      {"Edit menu, scroll position 400", PasteAt::Scroll, 0, 0, 0, 16, 400, {{3, 3, 96, 11, 0}, {5, 4, 0, 12, -1}}},
      {"Edit menu, scroll position exactly 384",
       PasteAt::Scroll,
       0,
       0,
       0,
       16,
       384,
       {{3, 2, 96, 11, 0}, {5, 3, 0, 12, -1}}},
      {"Edit menu, scroll position 0", PasteAt::Scroll, 0, 0, 0, 16, 0, {{3, 0, 96, 11, 0}, {5, 1, 0, 12, -1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocData src = TwoSelected();
    ASSERT_TRUE(EditCopy(src));
    DocData d = MakeDoc(8, 9);
    Select(d, {{6, 1, 48, 40, 0}});  // the old selection lands in the grid first
    d.CurLane = c.curLane;
    d.CurMes = c.curMes;
    d.CurStep = c.curStep;
    d.GridDiv = c.gridDiv;
    d.ScrollPos = c.scrollPos;
    RecordingHost host(d);
    ASSERT_TRUE(EditPaste(d, host, c.where));
    EXPECT_EQ(host.log, "backup desel draw ");
    EXPECT_EQ(Selected(d), c.expect);
    EXPECT_EQ(At(d, 6, 1, 48), 40);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_EQ(d.UndoOn, -1);
    // Undo: the old selection floats again and the grid holds none of it.
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(Selected(d), (std::vector<SelEntry>{{6, 1, 48, 40, 0}}));
    EXPECT_EQ(At(d, 6, 1, 48), 0);
  }
}

TEST_F(ClipboardTest, PastingTwiceLandsTheFirstBlockBeforeTheSecondFloats) {
  DocData src = TwoSelected();
  ASSERT_TRUE(EditCopy(src));
  DocData d = MakeDoc(8, 9);
  d.ScrollPos = 0;
  RecordingHost host(d);
  ASSERT_TRUE(EditPaste(d, host, PasteAt::Scroll));
  ASSERT_TRUE(EditPaste(d, host, PasteAt::Scroll));
  EXPECT_EQ(At(d, 3, 0, 96), 11);
  EXPECT_EQ(At(d, 5, 1, 0, true), 12);
  EXPECT_EQ(d.SelCount, 2);  // the second block floats over the first
  EXPECT_EQ(Selected(d)[0], (SelEntry{3, 0, 96, 11, 0}));
}

TEST_F(ClipboardTest, APasteKeepsWhatTheDropLeavesFloating) {
  // Lane 4 has no back channel; measure 5 lies past the limit of 3.
  const struct Case {
    const char* name;
    SelEntry floating;
  } cases[] = {
      {"a back object on a lane without a back channel", {4, 2, 0, 15, -1}},
      {"an object past the measure limit, left by an earlier paste", {2, 5, 48, 16, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocData src = TwoSelected();
    ASSERT_TRUE(EditCopy(src));
    DocData d = MakeDoc(8, 2);
    d.Lane[4].BackChannel = "__";
    Select(d, {{1, 0, 0, 3, 0}, c.floating});
    d.CurLane = 1;
    d.CurMes = 1;
    d.CurStep = 0;
    RecordingHost host(d, 3);
    ASSERT_TRUE(EditPaste(d, host, PasteAt::Pointer));
    EXPECT_EQ(At(d, 1, 0, 0), 3);
    EXPECT_EQ(Selected(d), (std::vector<SelEntry>{c.floating, {1, 1, 0, 11, 0}, {3, 1, 96, 12, -1}}));
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(Selected(d), (std::vector<SelEntry>{{1, 0, 0, 3, 0}, c.floating}));
  }
}

TEST_F(ClipboardTest, DeleteAndCutEmptyTheSelectionAndUndoBringsItBack) {
  for (bool cut : {false, true}) {
    SCOPED_TRACE(cut ? "cut" : "delete");
    ClearClipboard();
    DocData d = TwoSelected();
    const std::vector<SelEntry> sel = Selected(d);
    RecordingHost host(d);
    ASSERT_TRUE(cut ? EditCut(d, host) : EditDelete(d, host));
    EXPECT_EQ(host.log, "backup draw ");
    EXPECT_EQ(d.SelCount, 0);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_EQ(g_ClipCount, cut ? 2 : 0);
    ASSERT_TRUE(Undo(d));
    EXPECT_EQ(Selected(d), sel);
    for (const SelEntry& s : sel) EXPECT_EQ(At(d, s.Lane, s.Mes, s.Tick, s.Back != 0), 0);  // still floating
  }
}

TEST_F(ClipboardTest, CommandsWithNothingToWorkOnDoNothing) {
  DocData d = MakeDoc(8, 9);
  RecordingHost host(d);
  EXPECT_FALSE(EditCut(d, host));
  EXPECT_FALSE(EditDelete(d, host));
  EXPECT_FALSE(EditPaste(d, host, PasteAt::Pointer));  // empty clipboard
  // A block copied in another numbering mode (WAV or BGA) is not pasted.
  DocData src = TwoSelected();
  src.Fmt.WNum = 3;
  ASSERT_TRUE(EditCopy(src));
  EXPECT_FALSE(EditPaste(d, host, PasteAt::Scroll));
  src.Fmt.WNum = 1;
  src.Fmt.BNum = 2;
  ASSERT_TRUE(EditCopy(src));
  EXPECT_FALSE(ClipPasteable(d));
  EXPECT_FALSE(EditPaste(d, host, PasteAt::Scroll));
  EXPECT_EQ(host.log, "");
  EXPECT_EQ(d.UndoOn, 0);
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(ClipboardTest, ABlockPastedPastTheRightEdgeOrTheEndFloatsOnAfterTheDropUntilDraggedBack) {
  DocData wide = MakeDoc(12, 9);
  Select(wide, {{1, 0, 0, 7, 0}, {4, 0, 0, 8, 0}, {1, 3, 0, 9, 0}});
  ASSERT_TRUE(EditCopy(wide));
  DocData d = MakeDoc(4, 1);
  d.CurLane = 3;
  d.CurMes = 1;
  d.CurStep = 0;
  RecordingHost host(d, 3);
  ASSERT_TRUE(EditPaste(d, host, PasteAt::Pointer));
  EXPECT_EQ(Selected(d), (std::vector<SelEntry>{{3, 1, 0, 7, 0}, {6, 1, 0, 8, 0, kSelTableWav}, {3, 4, 0, 9, 0}}));
  const DropResult r = ObjDeSel(d, 3);
  // Off the lanes and past the measure limit: both float on, and the note and the save say so.
  EXPECT_EQ(r.kept, 2);
  EXPECT_EQ(r.keptFault, StoreFault::NoLane);
  EXPECT_EQ(KeptFloatingText(r), "2個のオブジェを選択のまま残しました（保存できない位置です：レーンの外です）");
  EXPECT_EQ(Selected(d), (std::vector<SelEntry>{{6, 1, 0, 8, 0, kSelTableWav}, {3, 4, 0, 9, 0}}));
  EXPECT_EQ(At(d, 3, 1, 0), 7);
  EXPECT_EQ(d.MesCount, 3);  // grown as far as the limit lets it
  EXPECT_EQ(UnstorableSelected(d, 3), 2);
  std::string why;
  ASSERT_FALSE(CheckNothingFloating(d, why));
  EXPECT_NE(why.find("　小節 1　レーン 6\r\n　小節 4　レーン 3"), std::string::npos) << why;

  // Taking the landed object into the selection and dragging it two lanes left and a measure
  // back carries the rest of the block with it: everything lands.
  ObjSelect(d, 3, 1, 0, 3, 1, 0, true);
  ASSERT_EQ(d.SelCount, 3);
  MoveSelection(d, 3, 1, 0, 1, 0, 0);
  EXPECT_EQ(UnstorableSelected(d, 3), 0);
  EXPECT_EQ(ObjDeSel(d, 3).kept, 0);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.MesCount, 3);
  EXPECT_EQ(At(d, 1, 0, 0), 7);
  EXPECT_EQ(At(d, 4, 0, 0), 8);
  EXPECT_EQ(At(d, 1, 3, 0), 9);
  EXPECT_EQ(At(d, 3, 1, 0), 0);
}

}  // namespace
}  // namespace mk
