// The edges of a chart's measures: what the "+" and "-" buttons ask before a cut, a click in a
// measure that a chart holds past the measure limit, a floating entry past the end dragged back,
// and the save's refusal saying how many entries float and where.
#include <gtest/gtest.h>

#include <functional>

#include "chartfmt/chartwrite.h"
#include "cmd_fixture.h"
#include "gesture_fakes.h"

namespace {

using mk::MouseButton;
using mk::SelEntry;
using seltest::Front;
using seltest::Put;

TEST(MesCut, TakesWhatTheCutMeasuresShow) {
  struct Case {
    const char* name;
    std::function<void(mk::DocData&)> setup;
    int newCount;
    bool takes;
  };
  const Case cases[] = {
      {"empty measures", [](mk::DocData&) {}, 5, false},
      {"a front object in the last measure", [](mk::DocData& d) { Put(d, 1, 9, 0, 5); }, 8, true},
      {"the same measure kept", [](mk::DocData& d) { Put(d, 1, 9, 0, 5); }, 9, false},
      {"an object just below the cut", [](mk::DocData& d) { Put(d, 1, 5, 191, 5); }, 5, false},
      {"a back object", [](mk::DocData& d) { Put(d, 2, 7, 12, 5, true); }, 6, true},
      {"a tempo value", [](mk::DocData& d) { Put(d, 0, 9, 0, 120); }, 0, true},
      {"a length factor alone", [](mk::DocData& d) { d.Obj[0].Mes.Write(9).Length = 1.5; }, 8, true},
      {"a floating entry in a cut measure",
       [](mk::DocData& d) {
         cmdtest::Select(d, {{1, 9, 0, 5, 0}});
       },
       8, true},
      {"a floating entry already past the end",
       [](mk::DocData& d) {
         cmdtest::Select(d, {{1, 12, 0, 5, 0}});
       },
       8, false},
      {"floating entries off the lanes",
       [](mk::DocData& d) {
         cmdtest::Select(d, {{-1, 9, 0, 5, 0}, {5, 9, 0, 5, 0}});
       },
       8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = seltest::MakeDoc(4, 9);
    c.setup(d);
    EXPECT_EQ(mk::MesCutTakesSomething(d, c.newCount), c.takes);
  }
}

// The shipped sample's case: objects and a length of their own in measure 2 of a ten-measure
// chart, cut down one measure at a time.
TEST(MesButton, AConfirmedCutIsOneUndoStepAndACancelledOneKeepsEverything) {
  mk::DocData d = seltest::MakeDoc(4, 9);
  Put(d, 1, 2, 0, 42);
  d.Obj[0].Mes.Write(2).Length = 1.5;
  const mk::DocData original = d;
  cmdtest::RecordingHost host(d, 499);
  int asked = 0;
  bool answer = false;
  const auto ask = [&] {
    ++asked;
    return answer;
  };
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(mk::MesButtonChange(d, host, -1, 499, ask));
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_EQ(asked, 0);  // empty measures go without a question and change nothing a save writes
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(host.log.find("backup"), std::string::npos);

  EXPECT_FALSE(mk::MesButtonChange(d, host, -1, 499, ask));  // Cancel
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_EQ(Front(d, 1, 2, 0), 42);
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(d.UndoOn, 0);

  answer = true;
  host.log.clear();
  EXPECT_TRUE(mk::MesButtonChange(d, host, -1, 499, ask));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(host.log, "backup count draw ");
  EXPECT_EQ(d.MesCount, 1);
  EXPECT_EQ(d.Dirty, -1);
  ASSERT_TRUE(mk::Undo(d));
  EXPECT_EQ(d.MesCount, 2);
  EXPECT_EQ(Front(d, 1, 2, 0), 42);
  EXPECT_EQ(d.Obj[0].Mes[2].Length, 1.5);
  EXPECT_EQ(d.Dirty, 0);

  // Shift: eight measures at once. Below measure 0 is refused without a question; growth and
  // the cut of the empty measures it added ask nothing; a cut reaching measure 2 asks once.
  EXPECT_FALSE(mk::MesButtonChange(d, host, -8, 499, ask));
  EXPECT_TRUE(mk::MesButtonChange(d, host, 8, 499, ask));
  EXPECT_TRUE(mk::MesButtonChange(d, host, 8, 499, ask));
  EXPECT_TRUE(mk::MesButtonChange(d, host, -8, 499, ask));
  EXPECT_TRUE(mk::MesButtonChange(d, host, -1, 499, ask));
  EXPECT_EQ(d.MesCount, 9);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(mk::MesButtonChange(d, host, -8, 499, ask));
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(d.MesCount, 1);
  EXPECT_TRUE(mk::Undo(d));
  EXPECT_EQ(d.MesCount, 9);
  EXPECT_EQ(Front(d, 1, 2, 0), 42);
  EXPECT_FALSE(mk::MesButtonChange(d, host, 1, 9, ask));  // past the limit: refused as ever
  EXPECT_EQ(asked, 3);
}

TEST(MesButton, ACutKeepsTheFloatingEntriesOfTheMeasuresItCuts) {
  mk::DocData d = seltest::MakeDoc(4, 9);
  Put(d, 1, 9, 24, 7);
  mk::ObjSelect(d, 1, 9, 0, 1, 9, 191, true);  // lifted: the grid's measure 9 is empty now
  ASSERT_EQ(d.SelCount, 1);
  cmdtest::RecordingHost host(d, 499);
  bool asked = false;
  EXPECT_TRUE(mk::MesButtonChange(d, host, -1, 499, [&] { return asked = true; }));
  EXPECT_TRUE(asked);
  EXPECT_EQ(d.MesCount, 8);
  ASSERT_EQ(d.SelCount, 1);
  EXPECT_EQ(d.Sel[1], (SelEntry{1, 9, 24, 7, 0}));
  mk::ObjDeSel(d, 499);  // a drop grows the chart to hold it again
  EXPECT_EQ(d.MesCount, 9);
  EXPECT_EQ(Front(d, 1, 9, 24), 7);
}

// On a chart read with more measures than the limit, objects lifted in its last measure could
// land there; a cut below them would leave them floating where nothing can hold them: it asks.
TEST(MesButton, ACutUnderLiftedObjectsPastTheLimitAsks) {
  mk::DocData d = seltest::MakeDoc(4, 9);
  Put(d, 1, 9, 0, 5);
  mk::ObjSelect(d, 1, 9, 0, 1, 9, 191, true);
  ASSERT_EQ(mk::UnstorableSelected(d, 5), 0);
  cmdtest::RecordingHost host(d, 5);
  int asked = 0;
  EXPECT_FALSE(mk::MesButtonChange(d, host, -1, 5, [&] { return ++asked, false; }));
  EXPECT_EQ(d.MesCount, 9);
  EXPECT_TRUE(mk::MesButtonChange(d, host, -1, 5, [&] { return ++asked, true; }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(d.Dirty, -1);  // the save now refuses, and the close asks
  EXPECT_EQ(mk::UnstorableSelected(d, 5), 1);
  ASSERT_TRUE(mk::Undo(d));
  mk::ObjDeSel(d, 5);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(Front(d, 1, 9, 0), 5);
}

// A chart read with more measures than the limit: every measure it holds takes clicks; past
// both its measures and the limit a click is refused with the note.
TEST(DrawGesture, AChartPastTheLimitPlacesInEveryMeasureItHolds) {
  seltest::FakeWorld w;
  w.selectMode = false;
  w.settings.MaxMeasure = 5;
  ASSERT_EQ(w.doc.MesCount, 9);
  auto click = [&](int lane, int mes, int tick) {
    w.doc.ScrollPos = mes * 192;
    w.Click(MouseButton::Left, 0, lane, 0, tick);
  };
  click(1, 7, 24);
  EXPECT_EQ(Front(w.doc, 1, 7, 24), 1);
  EXPECT_EQ(w.doc.UndoOn, -1);
  w.answers.push_back("150");
  click(0, 9, 0);
  EXPECT_EQ(Front(w.doc, 0, 9, 0), 150);

  const mk::DocData before = w.doc;
  click(1, 10, 0);
  EXPECT_EQ(w.notes.back(), "最大小節数を超えるため置けません");
  w.answers.push_back("150");
  click(0, 10, 0);
  EXPECT_EQ(w.doc.MesCount, 9);
  EXPECT_EQ(w.doc.Obj, before.Obj);
  EXPECT_EQ(w.doc.UndoObj, before.UndoObj);  // no snapshot either
}

TEST(SelectGesture, AFloatingEntryPastTheEndIsDraggedBackAndLands) {
  seltest::FakeWorld w;
  w.settings.MaxMeasure = 9;
  Put(w.doc, 1, 9, 0, 7);
  mk::ObjSelect(w.doc, 1, 9, 0, 1, 9, 191, true);
  mk::MoveSelection(w.doc, 1, 9, 0, 1, 11, 0);  // dragged past the end and the limit
  mk::ObjDeSel(w.doc, w.settings.MaxMeasure);
  ASSERT_EQ(w.doc.SelCount, 1);  // it cannot land there
  ASSERT_EQ(w.doc.MesCount, 9);

  w.doc.ScrollPos = 11 * 192;
  w.Press(MouseButton::Left, 0, 2, 0, 0);  // an empty cell past the end starts nothing
  EXPECT_FALSE(w.gc.State().BandOn);
  w.Release(MouseButton::Left, 0, 2, 0, 0);
  w.Press(MouseButton::Left, 0, 1, 0, 0);  // the entry itself is taken
  EXPECT_TRUE(w.gc.State().DragOn);
  w.doc.ScrollPos = 8 * 192;  // the view scrolled back
  w.Move(0, 1, 0, 0);
  w.Release(MouseButton::Left, 0, 1, 0, 0);
  EXPECT_EQ(w.doc.Sel[1], (SelEntry{1, 8, 0, 7, 0}));
  w.Press(MouseButton::Left, 0, 3, 1, 0);  // a press elsewhere lands it
  EXPECT_EQ(w.doc.SelCount, 0);
  EXPECT_EQ(Front(w.doc, 1, 8, 0), 7);
  EXPECT_TRUE(mk::Undo(w.doc));  // the drag is one undo step: back past the end
  EXPECT_EQ(w.doc.Sel[1], (SelEntry{1, 11, 0, 7, 0}));
}

TEST(SaveRefusal, GivesTheCountAndTheVerdictThenWhere) {
  mk::DocData d = seltest::MakeDoc(4, 9);
  cmdtest::Select(d, {{3, 500, 0, 5, 0}, {1, 12, 0, 5, 0}, {3, 500, 12, 6, -1}, {0, 501, 0, 120, 0}});
  std::string why;
  EXPECT_FALSE(mk::CheckNothingFloating(d, why));
  EXPECT_EQ(why,
            "選択中のオブジェ 4 個は保存できない位置にあるため、保存しませんでした。移動するか削除してから保存して"
            "ください。\r\n位置：\r\n"
            "　小節 12　レーン 1 (L1)\r\n"
            "　小節 500　レーン 3 (L3)　2 個\r\n"
            "　小節 501　レーン 0 (BPM)");

  std::vector<SelEntry> many;
  for (int m = 0; m < 12; ++m) many.push_back({2, static_cast<int16_t>(600 + m), 0, 5, 0});
  cmdtest::Select(d, many);
  EXPECT_FALSE(mk::CheckNothingFloating(d, why));
  EXPECT_NE(why.find("選択中のオブジェ 12 個"), std::string::npos);
  EXPECT_NE(why.find("　小節 609　レーン 2 (L2)\r\n　ほか 2 か所"), std::string::npos) << why;
  EXPECT_EQ(why.find("小節 610"), std::string::npos);
  // Off the lanes or before measure 0: the lane is given by its number alone.
  cmdtest::Select(d, {{5, 2, 0, 5, 0}, {-1, -1, 0, 5, 0}});
  EXPECT_FALSE(mk::CheckNothingFloating(d, why));
  EXPECT_NE(why.find("位置：\r\n　小節 -1　レーン -1\r\n　小節 2　レーン 5"), std::string::npos) << why;
  d.SelCount = 0;
  EXPECT_TRUE(mk::CheckNothingFloating(d, why));
}

}  // namespace
