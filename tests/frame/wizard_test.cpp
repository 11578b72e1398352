// The conversion wizard through the frame, offscreen (pages worked as they open), and the copy of
// one chart record into another.
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <functional>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/formglobals.h"
#include "frame/convertchart.h"
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
    if (auto* p = qobject_cast<mk::Wizard1*>(dlg)) p->Command(button)->click();
    else if (auto* q = qobject_cast<mk::Wizard2*>(dlg)) q->Command(button)->click();
    else ADD_FAILURE() << "not a wizard page";
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
      if (k == 0) d->close();
      else Click(d, k);
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
                                                       .title = "警告", .icon = plat::MsgIcon::Critical});
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
  // The pedal's back-layer objects have no back channel on the picture lane they map to.
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, MsgMatch{.text = "変換先のレーンに置けないオブジェ 1 個は変換しませんでした"});
  frame_->Menu("Menu_File_Wiz")->trigger();
  desk_.Verify();
  Pump();
  const int16_t d = mk::g_WizDst;
  ASSERT_NE(mk::WinAt(d), nullptr);
  EXPECT_EQ(mk::g_CurWin, d);
  EXPECT_EQ(mk::g_Docs[d].Dirty, 0);
  EXPECT_EQ(mk::g_Docs[d].FileName, "");
  // The source is as it was.
  ASSERT_TRUE(mk::WriteChartFile(Install() + "after.nxl", mk::g_Docs[s], 0, error)) << error;
  EXPECT_EQ(testsupport::ReadAll(Install() + "before.nxl"), testsupport::ReadAll(Install() + "after.nxl"));
  EXPECT_EQ(mk::g_Docs[s].Dirty, 0);

  const std::string out = Install() + "converted.tpl";
  desk_.ExpectSaveFile(testsupport::Chosen(out));
  frame_->QuerySaveAs();
  ASSERT_TRUE(fs::exists(out));
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
          EXPECT_EQ(Meaning(b, wavLane, vb), Meaning(a, wavLane, va)) << "lane " << lane << " measure " << m << " tick " << t;
        }
    }
  EXPECT_GT(carried, 10);
}

// Two records on hand-made scripts for the copy itself.
mk::DocData Record(int lanes, int mesCount, int16_t wnum, int16_t bnum, int bgaLane = 0) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(lanes);
  d.MesCount = static_cast<int16_t>(mesCount);
  d.Lane.assign(lanes + 1, mk::LaneInfo{});
  for (int i = 1; i <= lanes; ++i) {
    d.Lane[i].Label = "L" + std::to_string(i);
    d.Lane[i].BackChannel = "B";
    d.Lane[i].Part = static_cast<int16_t>(i == bgaLane ? mk::kPartBga : 1);
  }
  d.Fmt.WNum = wnum;
  d.Fmt.BNum = bnum;
  d.Keys.Tmpc = "T0";  // tempo values are saved
  d.Wav.assign(mk::DefNumMax(wnum) > 0 ? mk::DefNumMax(wnum) + 1 : 0, mk::DefEntry{});
  d.Bga.assign(mk::DefNumMax(bnum) > 0 ? mk::DefNumMax(bnum) + 1 : 0, mk::DefEntry{});
  d.Obj.assign(lanes + 1, mk::LaneMes{});
  for (auto& l : d.Obj) l.Mes.resize(mesCount + 1);
  d.Sel.assign(1, mk::SelEntry{});
  return d;
}

void Put(mk::DocData& d, int lane, int mes, int tick, int v, bool back = false) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(v);
  mk::RecalcLaneResolution(d, lane, lane, mes, mes);
}

TEST(ConvertChartCopy, LanesLengthsAndTicks) {
  mk::DocData src = Record(4, 20, 1, 1);
  Put(src, 0, 2, 0, 120);
  src.Obj[0].Mes.Write(3).Length = 0.75;
  src.Obj[2].Mes.Write(5).Length = 0.5;  // a length on a lane mapped to the tempo lane below
  Put(src, 1, 1, 0, 7);
  Put(src, 1, 1, 48, 8, true);
  Put(src, 2, 4, 96, 9);
  Put(src, 3, 6, 0, 10);      // lane 3 dropped
  Put(src, 4, 20, 24, 11);    // the last measure
  src.Obj[1].Mes.Write(7).Obj[192] = 12;  // the spare slot is not carried
  mk::DocData dst = Record(3, 10, 1, 1);
  const std::vector<int16_t> map = {0, 1, 3, -1, 3};
  const mk::ConvertResult r = mk::ConvertChartCopy(src, dst, map, 15);
  EXPECT_EQ(r.leftOut, 0);
  EXPECT_FALSE(r.compacted);
  EXPECT_EQ(dst.MesCount, 20);  // past the measure limit: the target still holds every measure
  for (const mk::LaneMes& l : dst.Obj) EXPECT_EQ(l.Mes.size(), 21u);
  EXPECT_EQ(dst.Obj[0].Mes[2].Obj[0], 120);
  EXPECT_EQ(dst.Obj[0].Mes[3].Length, 0.75);
  EXPECT_EQ(dst.Obj[1].Mes[1].Obj[0], 7);
  EXPECT_EQ(dst.Obj[1].Mes[1].BackObj[48], 8);
  EXPECT_EQ(dst.Obj[3].Mes[4].Obj[96], 9);
  EXPECT_EQ(dst.Obj[3].Mes[20].Obj[24], 11);
  EXPECT_EQ(dst.Obj[3].Mes[6].Obj[0], 0);  // source lane 3 is dropped
  EXPECT_EQ(dst.Obj[3].Mes[5].Length, 0);  // lane 4 came after lane 2: its length 0 holds
  EXPECT_EQ(dst.Obj[1].Mes[7].Obj[192], 0);
  EXPECT_EQ(dst.Obj[2].Mes.StoredCells(), 0u);  // no source lane maps to target lane 2
  for (int m = 0; m <= 20; ++m) EXPECT_EQ(dst.Obj[2].Mes[m].Length, 0);
  EXPECT_EQ(dst.Obj[1].Mes[1].Division, 4);
  EXPECT_EQ(dst.Dirty, 0);
}

TEST(ConvertChartCopy, NumberingModes) {
  struct Case {
    int16_t srcW, dstW, srcB, dstB;
    bool compacted;
    int wavCarried, bgaCarried;
  } cases[] = {
      {1, 1, 1, 1, false, 255, 256},
      {1, 3, 3, 1, false, 255, 256},
      {3, 1, 3, 3, true, 255, 1296},  // BGA definitions up to the smaller table: here both hold 1295
      {2, 3, 1, 3, false, 575, 256},
      {1, 7, 1, 9, true, 0, 0},       // a mode without a table gives no slots
  };
  for (const Case& c : cases) {
    mk::DocData src = Record(2, 1, c.srcW, c.srcB, 2);
    for (size_t n = 1; n < src.Wav.size(); ++n) src.Wav[n].File = "w" + std::to_string(n);
    for (size_t n = 0; n < src.Bga.size(); ++n) src.Bga[n].File = "b" + std::to_string(n);
    mk::DocData dst = Record(2, 1, c.dstW, c.dstB, 2);
    mk::DocData before = src;
    const mk::ConvertResult r = mk::ConvertChartCopy(src, dst, {0, 1, 2}, 499);
    EXPECT_EQ(r.compacted, c.compacted);
    int wav = 0, bga = 0;
    for (const mk::DefEntry& e : dst.Wav) wav += !e.File.empty();
    for (const mk::DefEntry& e : dst.Bga) bga += !e.File.empty();
    EXPECT_EQ(wav, c.wavCarried) << c.srcW << "->" << c.dstW;
    EXPECT_EQ(bga, c.bgaCarried) << c.srcB << "->" << c.dstB;
    EXPECT_EQ(src.Wav, before.Wav);
  }
}

TEST(ConvertChartCopy, CompactsACopyAndLeavesOutWhatTheTargetCannotHold) {
  mk::DocData src = Record(3, 2, 3, 3, 3);
  src.Wav[1].File = "a.wav";
  src.Wav[300].File = "b.wav";
  for (int n = 400; n < 700; ++n) src.Wav[n].File = "c" + std::to_string(n) + ".wav";
  Put(src, 1, 0, 0, 300);
  Put(src, 1, 0, 96, 10300);     // open object of number 300
  Put(src, 1, 1, 0, 699);        // compacted to 302: above 255
  Put(src, 2, 0, 48, 1, true);
  Put(src, 3, 0, 0, 200);        // a BGA lane: kept
  Put(src, 3, 0, 24, 1000);      // above the target's BGA table: left out
  src.Sel.push_back({2, 1, 0, 300, 0});  // floating: carried as well
  src.SelCount = 1;
  const mk::DocData before = src;
  mk::DocData dst = Record(3, 2, 1, 1, 3);
  const mk::ConvertResult r = mk::ConvertChartCopy(src, dst, {0, 1, 2, 3}, 499);
  EXPECT_TRUE(r.compacted);
  EXPECT_EQ(r.leftOut, 2);  // 699 compacted to 302, and the BGA number 1000
  EXPECT_EQ(dst.Wav[2].File, "b.wav");
  EXPECT_EQ(dst.Obj[1].Mes[0].Obj[0], 2);
  EXPECT_EQ(dst.Obj[1].Mes[0].Obj[96], 2);  // the target has no group: it lands ordinary
  EXPECT_EQ(dst.Obj[1].Mes[1].Obj[0], 0);
  EXPECT_EQ(dst.Obj[2].Mes[0].BackObj[48], 1);
  EXPECT_EQ(dst.Obj[2].Mes[1].Obj[0], 2);
  EXPECT_EQ(dst.Obj[3].Mes[0].Obj[0], 200);
  EXPECT_EQ(dst.Obj[3].Mes[0].Obj[24], 0);
  // The source record is untouched: table, grid and selection.
  EXPECT_EQ(src.Wav, before.Wav);
  EXPECT_EQ(src.Obj, before.Obj);
  EXPECT_EQ(src.Sel, before.Sel);
}

}  // namespace
