// The commands that ask before they change the chart, answered with Cancel, an empty or refused
// answer, or one that changes nothing: the grid, the selection, the undo levels and the modified
// mark stay exactly as they were, so that Undo still takes back the edit before the question.
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>

#include "chartfmt/globals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "deftables/header.h"
#include "editing/gesture.h"
#include "editing/measures.h"
#include "editing/mescount.h"
#include "editing/undo.h"
#include "frame/replacewin.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;
using testsupport::InputMatch;
using testsupport::MsgMatch;

namespace {

class AskingTest : public FrameTest {
 protected:
  // A tempo entry: a draw-mode click on the tempo lane of a measure the view shows.
  void DrawMode(Form1*) { Frame().Tool("TB1_ModeDraw")->click(); }
  void TempoClick(Form1* w) {
    const double x = 15 - w->HScroll1()->value() * 5, y = w->Picture1()->height() / 2.0;
    w->Gestures().CanvasPress(MouseButton::Left, 0, x, y);
    w->Gestures().CanvasRelease(MouseButton::Left, 0, x, y);
  }
  // Runs act on the batch edit dialog once its modal loop runs, then opens it.
  void BatchEdit(std::function<void(ReplaceWin*)> act) {
    frame_->SetDialogHook([act](QDialog* dlg) {
      QMetaObject::invokeMethod(
          dlg, [dlg, act] { act(qobject_cast<ReplaceWin*>(dlg)); }, Qt::QueuedConnection);
    });
    Frame().EditM_Replace_Click();
    frame_->SetDialogHook(nullptr);
  }
};

struct Held {
  std::vector<LaneMes> grid, undo;
  std::vector<SelEntry> sel;
  int32_t selCount;
  int16_t mesCount, undoOn, undoDirty, dirty;
  bool operator==(const Held&) const = default;
};
Held HeldOf(const DocData& d) {
  return {d.Obj, d.UndoObj, d.Sel, d.SelCount, d.MesCount, d.UndoOn, d.UndoDirty, d.Dirty};
}

TEST_F(AskingTest, CancelOrARefusedAnswerLeavesTheChartItsUndoAndItsMarkAsTheyWere) {
  struct Case {
    const char* name;
    std::function<void(Form1*)> prepare;  // before the earlier edit
    std::function<void(Form1*)> ask;      // the command, its answers scripted
    bool floats = true;                   // a selection floats meanwhile (a delete lands it, measures or not)
  } cases[] = {
      {"length: Cancel", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox(std::nullopt, {.title = "小節の短縮化"});
         Frame().EditM_MesChange_Click();
       }},
      {"length: empty", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox("", {.title = "小節の短縮化"});
         Frame().EditM_MesChange_Click();
       }},
      {"length: negative", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox("-0.5", {.title = "小節の短縮化"});
         Frame().EditM_MesChange_Click();
       }},
      {"length: the factor it has", nullptr,
       [this](Form1* w) {
         desk_.ExpectInputBox(LengthText(w->Doc().Obj[0].Mes[1].Length), {.title = "小節の短縮化"});
         Frame().EditM_MesChange_Click();
       }},
      {"delete of the only measure", [](Form1* w) { w->Mes_Change(-w->Doc().MesCount); },
       [this](Form1* w) {
         w->Doc().CurMes = 0;
         Frame().EditM_MesDelete_Click();
       },
       false},
      {"insert at the measure limit", [](Form1* w) { g_MaxMeasure = w->Doc().MesCount; },
       [this](Form1*) { Frame().EditM_MesInsert_Click(); }},
      {"count: Cancel", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox(std::nullopt, {.title = "小節数変更"});
         Frame().Label10_DblClick();
       }},
      {"count: out of range", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox("-3", {.title = "小節数変更"});
         desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = kMesCountInvalid, .title = "エラー"});
         Frame().Label10_DblClick();
       }},
      {"count: the cut answered Cancel", nullptr,
       [this](Form1*) {
         desk_.ExpectInputBox("1", {.title = "小節数変更"});
         desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, {.text = kMesCountCutQuestion});
         Frame().Label10_DblClick();
       }},
      {"batch edit: Cancel", nullptr, [this](Form1*) { BatchEdit([](ReplaceWin* r) { r->reject(); }); }},
      {"batch edit: a refused number", nullptr,
       [this](Form1*) {
         desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = "WAVの値が不正です"});
         BatchEdit([](ReplaceWin* r) {
           r->Option(1)->click();  // a constant "00"
           r->OKButton()->click();
           r->reject();
         });
       }},
      {"tempo: Cancel", [this](Form1* w) { DrawMode(w); },
       [this](Form1* w) {
         desk_.ExpectInputBox(std::nullopt, {.title = "BPMの入力"});
         TempoClick(w);
       }},
      {"tempo: beyond 255", [this](Form1* w) { DrawMode(w); },
       [this](Form1* w) {
         desk_.ExpectInputBox("300", {.title = "BPMの入力"});
         TempoClick(w);
       }},
  };
  ASSERT_TRUE(Start());
  const int16_t limit = g_MaxMeasure;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Frame().Tool("TB1_ModeSelect")->click();
    Form1* w = Open(Sample("nexal_sample.nxl"));
    ASSERT_NE(w, nullptr);
    DocData& d = w->Doc();
    if (c.prepare) c.prepare(w);
    // The earlier edit: the first object of the grid deleted, then the chart saved.
    int lane = 1, mes = 0;
    while (lane <= d.LaneCount && d.Obj[lane].Mes[mes].Obj.Entries().empty())
      if (++mes > d.MesCount) mes = 0, ++lane;
    ASSERT_LE(lane, d.LaneCount);
    const int tick = d.Obj[lane].Mes[mes].Obj.Entries().front().Tick;
    const int16_t value = d.Obj[lane].Mes[mes].Obj[tick];
    w->ObjBackup();
    d.Obj[lane].Mes.Write(mes).Obj[tick] = 0;
    MarkSaved(d);
    w->CheckDirty();
    // A selection floats, except for the commands that land it before they change anything.
    if (c.floats) w->ObjSelect(2, 0, 0, 4, 1, 191);
    d.CurMes = std::min<int16_t>(1, d.MesCount);
    const Held before = HeldOf(d);

    c.ask(w);
    desk_.Verify();
    EXPECT_TRUE(HeldOf(d) == before);
    EXPECT_FALSE(w->windowTitle().contains('*'));
    w->ObjDeSel();
    Frame().Menu_Edit_Undo_Click();
    EXPECT_EQ(d.Obj[lane].Mes[mes].Obj[tick], value) << "Undo no longer takes back the earlier edit";
    g_MaxMeasure = limit;
    w->CloseWithoutQuestion();
    Pump();
  }
}

}  // namespace
