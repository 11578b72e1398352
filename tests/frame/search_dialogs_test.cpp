// The search, batch edit and note count dialogs on a real chart window, offscreen, with the
// scripted desktop answering their messages.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>

#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "editing/notecount.h"
#include "frame/datainfo.h"
#include "frame/findwin.h"
#include "frame/replacewin.h"
#include "frame_fixture.h"

namespace {

using testsupport::MsgMatch;

class SearchDialogTest : public testsupport::FrameTest {
 protected:
  // An open chart of script `sample` with an empty grid and selection.
  mk::Form1* OpenEmpty(const std::string& sample) {
    if (!frame_) {
      EXPECT_TRUE(Start());
    }
    mk::Form1* w = Open(Sample(sample));
    EXPECT_NE(w, nullptr);
    mk::DocData& d = w->Doc();
    for (mk::LaneMes& l : d.Obj) l.Mes.resize(0), l.Mes.resize(d.MesCount + 1);
    d.Sel.assign(1, mk::SelEntry{});
    d.SelCount = 0;
    return w;
  }
  static void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back = false) {
    mk::MesData& c = d.Obj[lane].Mes.Write(mes);
    (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(value);
    mk::RecalcLaneResolution(d, lane, lane, mes, mes);
  }
  // Runs act on the dialog once its modal loop runs.
  void WorkDialog(std::function<void(QDialog*)> act) {
    frame_->SetDialogHook([act](QDialog* dlg) { QTimer::singleShot(0, dlg, [dlg, act] { act(dlg); }); });
  }
  static void Type(QLineEdit* t, const char* text) {
    t->setText(QString::fromUtf8(text));
    emit t->editingFinished();
  }
};

class FixedRandom : public mk::RandomSource {
 public:
  explicit FixedRandom(std::deque<int> v) : v_(std::move(v)) {}
  int Draw(int lo, int) override {
    if (v_.empty()) return lo;
    const int x = v_.front();
    v_.pop_front();
    return x;
  }
 private:
  std::deque<int> v_;
};

TEST_F(SearchDialogTest, FindOneCodeOnTwoLanesThroughTheEditMenu) {
  mk::Form1* w = OpenEmpty("nexal_sample.nxl");
  mk::DocData& d = w->Doc();
  std::string codeText = "1A";
  const int16_t code = mk::DefTextToNum(codeText, d.Fmt.WNum);
  Put(d, 1, 0, 0, code);
  Put(d, 3, 2, 96, code);
  Put(d, 3, 2, 96, code, true);  // back layer: not ticked below
  Put(d, 2, 1, 0, code);         // lane 2: not ticked below
  Put(d, 1, 1, 48, code + 1);    // another code
  WorkDialog([](QDialog* dlg) {
    auto* f = qobject_cast<mk::FindWin*>(dlg);
    ASSERT_NE(f, nullptr);
    f->Command2()->click();  // None
    f->ListView1()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    f->ListView1()->topLevelItem(3)->setCheckState(0, Qt::Checked);
    f->Check(2)->click();
    Type(f->Text(3), "1a");
    Type(f->Text(4), "1A");
    EXPECT_EQ(f->Text(3)->text(), "1A");
    f->OKButton()->click();
  });
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "2個のオブジェを選択しました",
                                                       .title = "検索完了",
                                                       .buttons = plat::MsgButtons::Ok,
                                                       .icon = plat::MsgIcon::None});
  frame_->Menu("Menu_Edit_Find")->trigger();
  desk_.Verify();
  ASSERT_EQ(d.SelCount, 2);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{1, 0, 0, code, 0}));
  EXPECT_EQ(d.Sel[2], (mk::SelEntry{3, 2, 96, code, 0}));
  EXPECT_EQ(d.Obj[3].Mes[2].BackObj[96], code);
  EXPECT_EQ(d.Obj[2].Mes[1].Obj[0], code);
  EXPECT_EQ(frame_->Panel("Info")->text(), "2個のオブジェを選択");
  EXPECT_EQ(d.UndoOn, 0);  // the search takes no snapshot
}

TEST_F(SearchDialogTest, FindOpensWithTheChartsKindsAndRanges) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");  // no back channels, no lane groups
  {
    mk::FindWin f(w);
    EXPECT_EQ(f.ListView1()->topLevelItemCount(), 5);
    EXPECT_EQ(f.ListView1()->topLevelItem(0)->text(1), "BPM");
    EXPECT_EQ(f.ListView1()->topLevelItem(0)->text(0), "0");
    EXPECT_EQ(f.Text(2)->text().toInt(), w->Doc().MesCount);
    EXPECT_EQ(f.Text(4)->text(), "FF");
    EXPECT_TRUE(f.Option1(0)->isChecked());
    EXPECT_FALSE(f.Option1(1)->isEnabled());
    EXPECT_FALSE(f.Check(2)->isEnabled());
    EXPECT_FALSE(f.Check(2)->isChecked());
    EXPECT_FALSE(f.Check(3)->isEnabled());
    EXPECT_FALSE(f.Check(3)->isChecked());
    f.Check(1)->click();
    EXPECT_FALSE(f.OKButton()->isEnabled());
    f.Check(1)->click();
    EXPECT_TRUE(f.OKButton()->isEnabled());
    // A click anywhere on a row inverts its mark.
    QTreeWidgetItem* row = f.ListView1()->topLevelItem(2);
    emit f.ListView1()->itemClicked(row, 1);
    EXPECT_EQ(row->checkState(0), Qt::Unchecked);
    // Measures past the last one, negative, fractional.
    Type(f.Text(2), "999");
    EXPECT_EQ(f.Text(2)->text().toInt(), w->Doc().MesCount);
    Type(f.Text(1), "-4");
    EXPECT_EQ(f.Text(1)->text(), "0");
    Type(f.Text(1), "2.5");
    EXPECT_EQ(f.Text(1)->text(), "2");
  }
  mk::DocData& d = w->Doc();
  d.Sel.push_back({1, 0, 0, 5, 0});
  d.SelCount = 1;
  mk::FindWin f(w);
  EXPECT_TRUE(f.Option1(1)->isEnabled());
  EXPECT_TRUE(f.Option1(0)->isChecked());
}

TEST_F(SearchDialogTest, FindWarningsKeepTheDialogOpen) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  mk::FindWin f(w);
  Type(f.Text(1), "3");
  Type(f.Text(2), "1");
  Type(f.Text(3), "20");
  Type(f.Text(4), "10");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         MsgMatch{.text = "小節の値が不正です", .title = "警告", .icon = plat::MsgIcon::Critical});
  f.OKButton_Click();
  Type(f.Text(2), "5");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         MsgMatch{.text = "WAVの値が不正です", .title = "警告", .icon = plat::MsgIcon::Critical});
  f.OKButton_Click();
  desk_.Verify();
  EXPECT_EQ(f.result(), 0);
  EXPECT_EQ(f.Text(3)->text(), "20");
}

TEST_F(SearchDialogTest, NewSearchWithOnlyTheTempoRowSelectsNothing) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  mk::DocData& d = w->Doc();
  Put(d, 0, 0, 0, 120);
  Put(d, 1, 0, 0, 3);
  mk::FindWin f(w);
  f.Command2()->click();
  emit f.ListView1()->itemClicked(f.ListView1()->topLevelItem(0), 0);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "0個のオブジェを選択しました"});
  f.OKButton_Click();
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.Obj[0].Mes[0].Obj[0], 120);
}

TEST_F(SearchDialogTest, ReplaceOpensWithTheKindsTheScriptAllows) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  {
    mk::ReplaceWin r(w);
    for (int k : {10, 11, 12, 13, 14, 15, 16, 17}) EXPECT_FALSE(r.Option(k)->isEnabled()) << k;
    for (int k : {1, 2, 3, 4, 5, 6, 7, 8, 9}) EXPECT_TRUE(r.Option(k)->isEnabled()) << k;
    for (int k : {2, 5, 9, 13, 17}) EXPECT_TRUE(r.Option(k)->isChecked()) << k;  // disabled defaults stay
    EXPECT_EQ(r.Text(1)->text(), "00");
    EXPECT_FALSE(r.Text(2)->isEnabled());
    EXPECT_FALSE(r.Text(4)->isEnabled());
    r.Option(3)->click();
    EXPECT_TRUE(r.Text(2)->isEnabled());
    r.Option(1)->click();
    EXPECT_FALSE(r.Text(2)->isEnabled());
    Type(r.Text(3), "40");
    EXPECT_EQ(r.Text(3)->text(), "4");  // at most the last lane
  }
  mk::ReplaceWin r(OpenEmpty("nexal_sample.nxl"));
  for (int k = 1; k <= 17; ++k) EXPECT_TRUE(r.Option(k)->isEnabled()) << k;
}

TEST_F(SearchDialogTest, ReplaceRefusalsChangeNothing) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  mk::DocData& d = w->Doc();
  d.Sel.push_back({1, 0, 0, 5, 0});
  d.SelCount = 1;
  mk::ReplaceWin r(w);
  r.Option(1)->click();  // constant "00"
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "WAVの値が不正です", .title = "警告"});
  r.OKButton_Click();
  r.Option(2)->click();
  r.Option(6)->click();
  Type(r.Text(3), "3");
  Type(r.Text(4), "2");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "レーンの値が不正です", .title = "警告"});
  r.OKButton_Click();
  desk_.Verify();
  EXPECT_EQ(d.UndoOn, 0);
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{1, 0, 0, 5, 0}));
}

TEST_F(SearchDialogTest, BatchEditThroughTheChartMenuThenUndo) {
  mk::Form1* w = OpenEmpty("nexal_sample.nxl");
  mk::DocData& d = w->Doc();
  d.Sel.push_back({1, 0, 0, 5, 0});
  d.Sel.push_back({7, 1, 48, 10009, 0});
  d.SelCount = 2;
  const std::vector<mk::SelEntry> before = d.Sel;
  frame_->SetRandomFactory([] { return std::make_unique<FixedRandom>(std::deque<int>{40, 3, 41, 2}); });
  WorkDialog([](QDialog* dlg) {
    auto* r = qobject_cast<mk::ReplaceWin*>(dlg);
    ASSERT_NE(r, nullptr);
    r->Option(3)->click();
    Type(r->Text(1), "10");
    Type(r->Text(2), "zz");
    r->Option(6)->click();
    Type(r->Text(3), "1");
    Type(r->Text(4), "5");
    r->Option(15)->click();  // open objects become front objects
    r->OKButton()->click();
  });
  frame_->Menu("EditM_Replace")->setEnabled(true);
  frame_->Menu("EditM_Replace")->trigger();
  ASSERT_EQ(d.SelCount, 2);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{3, 0, 0, 40, 0}));
  EXPECT_EQ(d.Sel[2], (mk::SelEntry{2, 1, 48, 41, 0}));
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_TRUE(w->windowTitle().contains("*"));
  frame_->Menu_Edit_Undo_Click();
  EXPECT_EQ(d.Sel, before);
  EXPECT_EQ(d.SelCount, 2);
}

TEST_F(SearchDialogTest, BatchEditOnAnEmptySelectionStillTakesASnapshot) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  mk::ReplaceWin r(w);
  r.OKButton_Click();
  EXPECT_EQ(w->Doc().UndoOn, -1);
  EXPECT_EQ(w->Doc().Dirty, -1);
  EXPECT_EQ(r.result(), QDialog::Accepted);
}

TEST_F(SearchDialogTest, NoteCountTotals) {
  mk::Form1* w = OpenEmpty("nexal_sample.nxl");
  mk::DocData& d = w->Doc();
  for (int t : {0, 48, 96, 144}) Put(d, 1, 0, t, 5);
  for (int t : {0, 24, 72}) Put(d, 2, 1, t, 5);
  for (int t : {12, 36}) Put(d, 2, 2, t, 6, true);
  Put(d, 0, 0, 0, 120);
  d.Sel.push_back({2, 3, 0, 8, 0});  // floating: counted on lane 2
  d.SelCount = 1;
  const mk::DocData before = d;
  mk::DataInfo info(d);
  QTreeWidget* list = info.ListView1();
  EXPECT_EQ(list->topLevelItemCount(), d.LaneCount + 1);
  EXPECT_EQ(info.Label2()->text(), "0");
  list->topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(info.Label2()->text(), "4");
  list->topLevelItem(2)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(info.Label2()->text(), "10");
  info.Check(2)->click();
  EXPECT_EQ(info.Label2()->text(), "8");
  info.Check(1)->click();
  EXPECT_EQ(info.Label2()->text(), "0");
  info.Check(1)->click();
  info.Check(2)->click();
  info.Command1()->click();
  EXPECT_EQ(info.Label2()->text(), "11");
  info.Command1()->click();
  EXPECT_EQ(info.Label2()->text(), "11");
  list->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(info.Label2()->text(), "5");
  info.Command2()->click();
  EXPECT_EQ(info.Label2()->text(), "0");
  EXPECT_EQ(d.Sel, before.Sel);
  EXPECT_EQ(d.Obj, before.Obj);
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(SearchDialogTest, NoteCountThroughTheViewMenu) {
  mk::Form1* w = OpenEmpty("simple_sample.s4k");
  Put(w->Doc(), 0, 0, 0, 120);
  QString shown;
  WorkDialog([&shown](QDialog* dlg) {
    auto* info = qobject_cast<mk::DataInfo*>(dlg);
    ASSERT_NE(info, nullptr);
    info->Command1()->click();
    shown = info->Label2()->text();
    info->OKButton()->click();
  });
  frame_->Menu("Menu_View_Data")->trigger();
  EXPECT_EQ(shown, "1");
}

// The lane lists by keyboard: the keys move through the rows leaving the marks alone, Space inverts
// the current row's mark once (the search) or ticks it (the count).
TEST_F(SearchDialogTest, LaneListsByKeyboard) {
  mk::Form1* w = OpenEmpty("nexal_sample.nxl");
  mk::DocData& d = w->Doc();
  Put(d, 1, 0, 0, 5);
  Put(d, 2, 0, 0, 5);
  Put(d, 2, 1, 96, 6);
  WorkDialog([](QDialog* dlg) {
    auto* f = qobject_cast<mk::FindWin*>(dlg);
    ASSERT_NE(f, nullptr);
    QTreeWidget* list = f->ListView1();
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      EXPECT_EQ(list->topLevelItem(i)->checkState(0), Qt::Checked) << i;
    QTest::keyClick(list, Qt::Key_Space);  // lane 2
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Unchecked);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Space);  // lane 1, twice: marked again
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Unchecked);
    f->OKButton()->click();
  });
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "1個のオブジェを選択しました"});
  frame_->Menu("Menu_Edit_Find")->trigger();
  desk_.Verify();
  ASSERT_EQ(d.SelCount, 1);
  EXPECT_EQ(d.Sel[1].Lane, 1);
  w->ObjDeSel();

  mk::DataInfo info(d);
  const mk::NoteCounts counts = mk::CountNotes(d);
  QTreeWidget* list = info.ListView1();
  QTest::keyClick(list, Qt::Key_Home);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(info.Label2()->text(), "0");
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  EXPECT_EQ(info.Label2()->text(), QString::number(counts.front[2] + counts.back[2]));
  EXPECT_EQ(info.Label2()->text(), "2");
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(info.Label2()->text(), "0");
}

}  // namespace
