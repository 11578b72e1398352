// The conversion wizard through the frame, offscreen (pages worked as they open).
#include <QFontInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <functional>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "convert/convertchart.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "frame/wizard1.h"
#include "frame/wizard2.h"
#include "frame_fixture.h"

namespace {

namespace fs = std::filesystem;
using testsupport::MsgMatch;

class WizardTest : public testsupport::FrameTest {
 protected:
  // Each page, as it opens, is handed to the next of these.
  void Pages(std::vector<std::function<void(QDialog*)>> acts) {
    pages_ = std::deque<std::function<void(QDialog*)>>(acts.begin(), acts.end());
    frame_->SetDialogHook([this](QDialog* dlg) {
      if (pages_.empty()) {
        ADD_FAILURE() << "unexpected page " << dlg->objectName().toStdString();
        QTimer::singleShot(0, dlg, [dlg] { dlg->reject(); });
        return;
      }
      auto act = pages_.front();
      pages_.pop_front();
      QTimer::singleShot(0, dlg, [dlg, act] { act(dlg); });
    });
  }
  static void Click(QDialog* dlg, int button) {
    if (auto* p = qobject_cast<mk::Wizard1*>(dlg))
      p->Command(button)->click();
    else if (auto* q = qobject_cast<mk::Wizard2*>(dlg))
      q->Command(button)->click();
    else
      ADD_FAILURE() << "not a wizard page";
  }
  static std::function<void(QDialog*)> Button(int k) {
    return [k](QDialog* d) { Click(d, k); };
  }
  // Page 1: choose the script with this file extension, then Next.
  static std::function<void(QDialog*)> Choose(const std::string& ext) {
    return [ext](QDialog* d) {
      auto* p = qobject_cast<mk::Wizard1*>(d);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(p->List1()->currentRow(), mk::g_DefaultScript - 1);
      p->List1()->setCurrentRow(mk::CandidateScripts(ext).at(0) - 1);
      p->Command(2)->click();
    };
  }
  std::deque<std::function<void(QDialog*)>> pages_;
};

TEST_F(WizardTest, CancelOrTheCloseBoxOnPageOneOpensNothing) {
  ASSERT_TRUE(Start());
  ASSERT_NE(Open(Sample("simple_sample.s4k")), nullptr);
  const int16_t open = mk::g_OpenCount;
  Pages({Button(3), [](QDialog* d) { d->close(); }});
  frame_->Menu("Menu_File_Wiz")->trigger();
  EXPECT_EQ(mk::g_WizState, -1);
  frame_->ConvertChart();
  EXPECT_EQ(mk::g_WizState, -1);
  EXPECT_EQ(mk::g_OpenCount, open);
  EXPECT_TRUE(pages_.empty());
}

TEST_F(WizardTest, BackThenNextTakesTheSameSlotAndCancelOrCloseUnloadsTheTarget) {
  ASSERT_TRUE(Start());
  ASSERT_NE(Open(Sample("simple_sample.s4k")), nullptr);
  const int16_t open = mk::g_OpenCount;
  std::vector<int16_t> targets;
  auto note = [&targets](int k) {
    return [&targets, k](QDialog* d) {
      targets.push_back(mk::g_WizDst);
      EXPECT_EQ(mk::g_WizState, -99);
      EXPECT_NE(mk::WinAt(mk::g_WizDst), nullptr);
      if (k == 0)
        d->close();
      else
        Click(d, k);
    };
  };
  Pages({Choose("nxl"), note(1), Choose("nxl"), note(3), Choose("tpl"), note(0)});
  frame_->ConvertChart();
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0], targets[1]);
  EXPECT_EQ(mk::g_OpenCount, open);
  EXPECT_EQ(mk::g_WizState, 0);
  frame_->ConvertChart();  // the close box on page 2 cancels as well
  Pump();
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(mk::WinAt(targets[2]), nullptr);
  EXPECT_EQ(mk::g_OpenCount, open);
  EXPECT_EQ(mk::g_WizState, 0);
}

TEST_F(WizardTest, PageTwoRowsAndPicks) {
  ASSERT_TRUE(Start());
  ASSERT_NE(Open(Sample("nexal_sample.nxl")), nullptr);  // 15 lanes into the 4 of the simple script
  std::vector<QString> rows, list;
  std::vector<int16_t> mapSeen;
  Pages({Choose("s4k"), [&](QDialog* d) {
           auto* p = qobject_cast<mk::Wizard2*>(d);
           ASSERT_NE(p, nullptr);
           for (int i = 0; i < p->ListView1()->topLevelItemCount(); ++i)
             rows.push_back(p->ListView1()->topLevelItem(i)->text(0) + "|" + p->ListView1()->topLevelItem(i)->text(1));
           for (int i = 0; i < p->List1()->count(); ++i) list.push_back(p->List1()->item(i)->text());
           // A pick before any row click changes row 1 (the tempo lane).
           p->List1()->setCurrentRow(3);
           EXPECT_EQ(p->ListView1()->topLevelItem(0)->text(1), "2:S");
           // The drop entry writes its own text, without the colon.
           p->ListView1_ItemClick(3);
           EXPECT_EQ(p->List1()->currentRow(), 3);
           p->List1()->setCurrentRow(0);
           EXPECT_EQ(p->ListView1()->topLevelItem(2)->text(1), "-削除");
           mapSeen = mk::g_WizLaneMap;
           p->Command(3)->click();
         }});
  frame_->ConvertChart();
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[0], "00:BPM|0:BPM");
  EXPECT_EQ(rows[1], "01:1|1:A");
  EXPECT_EQ(rows[4], "04:4|4:F");
  EXPECT_EQ(rows[5], "05:5|-:削除");  // the target has 4 lanes: one digit
  EXPECT_EQ(rows[15], "15:M4|-:削除");
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[0], "-削除");
  EXPECT_EQ(list[1], "0:BPM");
  EXPECT_EQ(list[5], "4:F");
  const std::vector<int16_t> want = {2, 1, -1, 3, 4, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  EXPECT_EQ(mapSeen, want);
}

// Both pages by keyboard only: page 1's script list, page 2's lane table and target list, Enter
// for Next. Moving down the lane table brings the target list along, and a pick changes the row the
// table shows, never the tempo lane's.
TEST_F(WizardTest, BothPagesFollowTheirListsByKeyboard) {
  ASSERT_TRUE(Start());
  mk::Form1* src = Open(Sample("nexal_sample.nxl"));
  ASSERT_NE(src, nullptr);
  const int target = mk::CandidateScripts("tpl").at(0);
  std::vector<int16_t> mapSeen;
  Pages({[target](QDialog* d) {
           auto* p = qobject_cast<mk::Wizard1*>(d);
           ASSERT_NE(p, nullptr);
           QTest::keyClick(p->List1(), Qt::Key_Home);
           for (int k = 1; k < target; ++k) QTest::keyClick(p->List1(), Qt::Key_Down);
           EXPECT_EQ(mk::g_WizScript, target);
           QTest::keyClick(p->List1(), Qt::Key_Return);
         },
         [&](QDialog* d) {
           auto* p = qobject_cast<mk::Wizard2*>(d);
           ASSERT_NE(p, nullptr);
           for (QWidget* w : {static_cast<QWidget*>(p->ListView1()), static_cast<QWidget*>(p->List1())}) {
             const QFontInfo info(w->font());
             EXPECT_TRUE(info.family() == "ＭＳ ゴシック" || info.family() == "IPAGothic");
             EXPECT_EQ(info.pointSize(), 9);
           }
           const std::vector<int16_t> defaults = mk::g_WizLaneMap;
           const QString tempoRow = p->ListView1()->topLevelItem(0)->text(1);
           for (int k = 0; k < 5; ++k) QTest::keyClick(p->ListView1(), Qt::Key_Down);
           EXPECT_TRUE(p->ListView1()->currentItem()->text(0).startsWith("05:"));
           EXPECT_EQ(p->List1()->currentRow(), defaults[5] + 1);  // following, not picking
           EXPECT_EQ(mk::g_WizLaneMap, defaults);
           QTest::keyClick(p->List1(), Qt::Key_Home);  // "-削除"
           EXPECT_EQ(p->ListView1()->topLevelItem(5)->text(1), p->List1()->item(0)->text());
           EXPECT_EQ(p->ListView1()->topLevelItem(0)->text(1), tempoRow);
           QTest::keyClick(p->ListView1(), Qt::Key_Home);
           EXPECT_EQ(p->List1()->currentRow(), 1);
           mapSeen = mk::g_WizLaneMap;
           QTest::keyClick(p->ListView1(), Qt::Key_Return);
         }});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.textContains = "変換元のWAV定義を詰めます。", .title = "警告"});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.textContains = "変換先のレーンに置けないオブジェ"});
  frame_->Menu("Menu_File_Wiz")->trigger();
  desk_.Verify();
  Pump();
  ASSERT_GE(mapSeen.size(), 6u);
  EXPECT_EQ(mapSeen[0], 0);
  EXPECT_EQ(mapSeen[5], -1);
  const mk::DocData& a = src->Doc();
  const mk::DocData& b = mk::g_Docs[mk::g_WizDst];
  ASSERT_NE(mk::WinAt(mk::g_WizDst), nullptr);
  int tempo = 0;
  for (int m = 0; m <= a.MesCount; ++m)
    for (int t = 0; t < 192; ++t)
      if (a.Obj[0].Mes[m].Obj[t] > 0) {
        ++tempo;
        EXPECT_EQ(b.Obj[0].Mes[m].Obj[t], a.Obj[0].Mes[m].Obj[t]) << "measure " << m << " tick " << t;
      }
  EXPECT_GT(tempo, 0);
}

TEST_F(WizardTest, TheLastFreeSlotWorksAndTheLimitWarns) {
  ASSERT_TRUE(Start());
  mk::g_MaxWindows = 2;
  mk::SizeWindowTable(mk::g_MaxWindows);
  ASSERT_EQ(mk::g_OpenCount, 1);
  Pages({Choose("nxl"), Button(2)});
  frame_->ConvertChart();
  EXPECT_EQ(mk::g_OpenCount, 2);
  EXPECT_NE(mk::WinAt(2), nullptr);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "2個以上のウインドウを開くことはできません",
                                                       .title = "警告",
                                                       .icon = plat::MsgIcon::Critical});
  frame_->ConvertChart();
  EXPECT_EQ(mk::g_OpenCount, 2);
}

// What an object refers to: the WAV file for an object of a WAV lane of the source, the number
// otherwise (values are carried as they are, whatever the target lane's kind).
std::string Meaning(const mk::DocData& d, bool wavLane, int16_t v) {
  const int n = v > mk::kOpenObjectBase ? v - mk::kOpenObjectBase : v;
  if (!wavLane) return std::to_string(n);
  return n < static_cast<int>(d.Wav.size()) ? d.Wav[n].File : "?";
}

TEST_F(WizardTest, ConvertASampleSaveItAndReadItBack) {
  ASSERT_TRUE(Start());
  mk::Form1* src = Open(Sample("nexal_sample.nxl"));
  ASSERT_NE(src, nullptr);
  const int16_t s = src->WinNo();
  std::string error;
  ASSERT_TRUE(mk::WriteChartFile(Install() + "before.nxl", src->Doc(), 0, error)) << error;
  Pages({Choose("tpl"), Button(2)});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.textContains = "変換元のWAV定義を詰めます。", .title = "警告"});
  // The pedal's back-layer objects have no back channel on the picture lane they map to; the
  // target has two levels.
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "変換先が持てない次のものは変換しませんでした：\r\n\r\n"
                                                               "変換先のレーンに置けないオブジェ 1 個\r\nEXPERT：11"});
  frame_->Menu("Menu_File_Wiz")->trigger();
  desk_.Verify();
  Pump();
  const int16_t d = mk::g_WizDst;
  ASSERT_NE(mk::WinAt(d), nullptr);
  EXPECT_EQ(mk::g_CurWin, d);
  EXPECT_EQ(mk::g_Docs[d].Dirty, -1);
  EXPECT_EQ(mk::g_Docs[d].FileName, "");
  // The source is as it was.
  ASSERT_TRUE(mk::WriteChartFile(Install() + "after.nxl", mk::g_Docs[s], 0, error)) << error;
  EXPECT_EQ(testsupport::ReadAll(Install() + "before.nxl"), testsupport::ReadAll(Install() + "after.nxl"));
  EXPECT_EQ(mk::g_Docs[s].Dirty, 0);

  const std::string out = Install() + "converted.tpl";
  desk_.ExpectSaveFile(testsupport::Chosen(out));
  frame_->QuerySaveAs();
  ASSERT_TRUE(fs::exists(out));
  EXPECT_EQ(mk::g_Docs[d].Dirty, 0);
  mk::Form1* back = Open(out);
  ASSERT_NE(back, nullptr);
  const mk::DocData& a = mk::g_Docs[s];
  const mk::DocData& b = back->Doc();
  EXPECT_EQ(b.Title, a.Title);
  EXPECT_EQ(b.MesCount, a.MesCount);
  int carried = 0;
  for (int lane = 0; lane <= 9; ++lane)
    for (int m = 0; m <= a.MesCount; ++m) {
      if (lane == 0) {
        EXPECT_EQ(b.Obj[0].Mes[m].Length, a.Obj[0].Mes[m].Length) << m;
      }
      for (int t = 0; t < 192; ++t)
        for (int layer = 0; layer < 2; ++layer) {
          const int16_t va = (layer ? a.Obj[lane].Mes[m].BackObj : a.Obj[lane].Mes[m].Obj)[t];
          const int16_t vb = (layer ? b.Obj[lane].Mes[m].BackObj : b.Obj[lane].Mes[m].Obj)[t];
          if (va <= 0) continue;
          if (layer == 1 && (lane == 0 || b.Lane[lane].BackChannel == "__")) continue;
          ++carried;
          const bool wavLane = lane != 0 && a.Lane[lane].Part != mk::kPartBga;
          EXPECT_EQ(Meaning(b, wavLane, vb), Meaning(a, wavLane, va))
              << "lane " << lane << " measure " << m << " tick " << t;
        }
    }
  EXPECT_GT(carried, 10);
}

// The converted chart exists in no file: its caption is marked, and closing it, reading another
// chart into its window or quitting asks first. What the target cannot hold is named.
TEST_F(WizardTest, TheConvertedChartAsksBeforeItIsClosedReusedOrQuit) {
  ASSERT_TRUE(Start());
  ASSERT_NE(Open(Sample("dual_sample.scd")), nullptr);
  Pages({Choose("nxl"), Button(2)});
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         MsgMatch{.textContains = "\r\nBGA定義 1 個：ZZ「last.jpg」", .title = "警告"});
  frame_->ConvertChart();
  Pump();
  desk_.Verify();
  const int16_t d = mk::g_WizDst;
  mk::Form1* w = mk::WinAt(d);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString().rfind("新規* - ", 0), 0u) << w->windowTitle().toStdString();

  const std::string question = mk::ModifiedQuestion("");
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, MsgMatch{.text = question, .title = "確認"});
  EXPECT_FALSE(w->close());
  // A chart dropped on it, into this window: the same question first.
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, MsgMatch{.title = "確認"});
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, MsgMatch{.text = question});
  EXPECT_EQ(frame_->QueryScriptOpen(Sample("simple_sample.s4k"), d), 0);
  Pump();
  desk_.Verify();
  ASSERT_EQ(mk::WinAt(d), w);
  EXPECT_EQ(mk::g_Docs[d].FileName, "");
  EXPECT_EQ(mk::g_Docs[d].Dirty, -1);

  // Quitting asks for it alone (the source is as it was read).
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, MsgMatch{.text = question});
  frame_->Menu_File_Exit_Click();
  Pump();
  desk_.Verify();
  EXPECT_EQ(mk::WinAt(d), w);
  EXPECT_FALSE(quit_);
  desk_.ExpectMessageBox(plat::MsgAnswer::No, MsgMatch{.text = question});
  frame_->Menu_File_Exit_Click();
  Pump();
  EXPECT_TRUE(quit_);
}

}  // namespace
