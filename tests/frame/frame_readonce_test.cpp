// Opening a chart interprets its file once: the window takes the record read before a window was
// given to it, unless the file or the script changed in between.
#include <fcntl.h>
#include <sys/stat.h>
#include <QAbstractItemModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QString>
#include <QTreeWidget>
#include <cstring>
#include <filesystem>

#include "chartfmt/chartio.h"
#include "chartfmt/globals.h"
#include "chartview/formglobals.h"
#include "frame/chartprobe.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::Chosen;
using testsupport::FrameTest;

namespace {

int16_t Nexal() { return CandidateScripts("NXL").at(0); }

// Every field of two records, the grid cell by cell.
void ExpectSameRecord(const DocData& a, const DocData& b) {
  ASSERT_EQ(a.Obj.size(), b.Obj.size());
  for (size_t l = 0; l < a.Obj.size(); ++l) {
    ASSERT_EQ(a.Obj[l].Mes.size(), b.Obj[l].Mes.size()) << "lane " << l;
    for (size_t m = 0; m < a.Obj[l].Mes.size(); ++m) {
      const MesData &x = a.Obj[l].Mes[m], &y = b.Obj[l].Mes[m];
      EXPECT_TRUE(x.Obj == y.Obj && x.BackObj == y.BackObj && x.Length == y.Length && x.Division == y.Division)
          << "lane " << l << " measure " << m;
    }
  }
  EXPECT_TRUE(a.Lane == b.Lane && a.Wav == b.Wav && a.Bga == b.Bga && a.Fmt == b.Fmt && a.Keys == b.Keys &&
              a.PKeys == b.PKeys && a.Sel == b.Sel);
  EXPECT_TRUE(a.Title == b.Title && a.Artist == b.Artist && a.Genre == b.Genre && a.Wall == b.Wall && a.Pre == b.Pre &&
              a.Folder == b.Folder && a.FileName == b.FileName && a.FreeText == b.FreeText &&
              a.CanvasWallFile == b.CanvasWallFile);
  EXPECT_TRUE(a.Bpm == b.Bpm && a.BaseBpm == b.BaseBpm && a.Level == b.Level && a.Zoom == b.Zoom);
  const auto numbers = [](const DocData& d) {
    return std::vector<int64_t>{d.LaneCount,    d.MaxPart,
                                d.PartCount,    d.MesCount,
                                d.ScrlUp,       d.ScriptNo,
                                d.ScrollPos,    d.GridDiv,
                                d.ObjReadCount, d.CurDef,
                                d.Dirty,        d.CurMes,
                                d.CurStep,      d.CurLane,
                                d.CurY,         d.CurX,
                                d.CurTick,      d.UndoOn,
                                d.SelCount,     d.CanvasWallMode,
                                d.CanvasWallOn, d.DefTab,
                                d.BgaPreview,   d.UndoSelCount,
                                d.UndoDirty,    static_cast<int64_t>(d.UndoObj.size())};
  };
  EXPECT_EQ(numbers(a), numbers(b));
}

TEST_F(FrameTest, EveryWayOfOpeningAChartInterpretsItsFileOnce) {
  const std::string nexal = Sample("nexal_sample.nxl"), dual = Sample("dual_sample.scd");
  // A file open in a window is not opened again: each way opens a file of its own.
  const std::string nexal2 = Install() + "nexal_b.nxl", dual2 = Install() + "dual_b.scd";
  std::filesystem::copy_file(nexal, nexal2);
  std::filesystem::copy_file(dual, dual2);
  uint64_t before = ChartFilesRead();
  ASSERT_TRUE(Start({nexal}));
  EXPECT_EQ(ChartFilesRead() - before, 1u) << "command line";
  ASSERT_EQ(g_Docs[1].FileName, "nexal_sample.nxl");

  const auto once = [&](const char* how, const std::function<void()>& open, int16_t win, const std::string& name) {
    const uint64_t n = ChartFilesRead();
    open();
    Pump();
    EXPECT_EQ(ChartFilesRead() - n, 1u) << how;
    ASSERT_NE(WinAt(win), nullptr) << how;
    EXPECT_EQ(g_Docs[win].FileName, name) << how;
    EXPECT_EQ(g_CurWin, win) << how;
    desk_.Verify();
  };
  once(
      "drop on the frame", [&] { Frame().MDIForm_OLEDragDrop({QString::fromStdString(dual)}); }, 2, "dual_sample.scd");
  desk_.ExpectOpenFile(Chosen(nexal2, Nexal()));
  once(
      "File > Open", [&] { Frame().Menu_File_Open_Click(); }, 3, "nexal_b.nxl");
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認"});  // into the window dropped on
  once(
      "drop on a canvas", [&] { Frame().QueryScriptOpen(dual2, 1); }, 1, "dual_b.scd");
  ASSERT_EQ(g_RecentFiles[3], nexal);  // no longer open: window 1 holds another chart now
  once(
      "recent entry", [&] { Frame().Menu_File_Recent_Click(4); }, 4, "nexal_sample.nxl");
}

// The record the window takes is the one a read of the file into the window gives, the window's
// own state (view, selection) included.
TEST_F(FrameTest, TheRecordTakenIsTheOneAReadIntoTheWindowGives) {
  ASSERT_TRUE(Start());
  for (const char* name : {"nexal_sample.nxl", "dual_sample.scd", "tapline_sample.tpl", "simple_sample.s4k"}) {
    Form1* w = Open(Sample(name));
    ASSERT_NE(w, nullptr) << name;
    const DocData taken = w->Doc();
    ASSERT_EQ(taken.FileName, name);
    const uint64_t n = ChartFilesRead();
    ASSERT_TRUE(w->RefleshScr()) << name;  // the window as it stands before a read
    ASSERT_TRUE(ChartRead(Sample(name), name, w->WinNo(), taken.ScriptNo, 0)) << name;
    EXPECT_EQ(ChartFilesRead() - n, 1u);
    SCOPED_TRACE(name);
    ExpectSameRecord(taken, w->Doc());
  }
}

// The file is saved over between the try and the window's read (the save question of a modified
// chart that File > Open replaces): the window gets what the file holds now.
TEST_F(FrameTest, AChartSavedOverBeforeTheWindowTakesItIsReadAgain) {
  const std::string nexal = Sample("nexal_sample.nxl"), other = Install() + "other.nxl";
  std::filesystem::copy_file(nexal, other);
  ASSERT_TRUE(Start({nexal}));
  g_FirstOpen = 0;  // File > Open replaces the current chart
  g_Docs[1].Title = "saved over";
  Frame().SetDirty();
  desk_.ExpectOpenFile(Chosen(other, Nexal()));
  desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認"});
  desk_.ExpectSaveFile(Chosen(other, 1));
  const uint64_t n = ChartFilesRead();
  Frame().Menu_File_Open_Click();
  Pump();
  desk_.Verify();
  EXPECT_EQ(ChartFilesRead() - n, 2u);  // tried, then read again
  ASSERT_NE(WinAt(1), nullptr);
  EXPECT_EQ(g_Docs[1].Title, "saved over");
  EXPECT_EQ(g_Docs[1].Dirty, 0);
  EXPECT_EQ(g_OpenCount, 1);
}

// A read ahead the window cannot take as it is: the file read again with what the window holds.
TEST_F(FrameTest, AReadAheadThatNoLongerFitsTheWindowIsReadAgain) {
  const std::string nexal = Sample("nexal_sample.nxl");
  ASSERT_TRUE(Start({nexal}));
  const DocData before = g_Docs[1];
  const auto again = [&](const char* how, const std::function<void(ChartReadAhead&)>& spoil) {
    ChartReadAhead ahead;
    ASSERT_TRUE(TryChartRead(nexal, "nexal_sample.nxl", Nexal(), &ahead).empty());
    spoil(ahead);
    ASSERT_TRUE(WinAt(1)->RefleshScr());
    const uint64_t n = ChartFilesRead();
    EXPECT_TRUE(ChartRead(std::move(ahead), 1, Nexal())) << how;
    EXPECT_EQ(ChartFilesRead() - n, 1u) << how;
    SCOPED_TRACE(how);
    ExpectSameRecord(before, g_Docs[1]);
  };
  again("the script's keywords changed", [](ChartReadAhead& a) {
    a.doc.Keys.Title = "NAME";
    a.doc.Title = "wrong";
  });
  again("the script's lanes changed", [](ChartReadAhead& a) { a.doc.Lane[1].Channel = "Z1"; });
  again("another measure count", [](ChartReadAhead& a) { ++a.mesBefore; });
  again("the bytes differ", [](ChartReadAhead& a) {
    ++a.stamp.mtimeNs;  // as the stamp of a read of other bytes
    a.stamp.hash ^= 1;
    a.doc.Title = "other";
  });
  again("the read ahead failed", [](ChartReadAhead& a) { a.ok = false; });

  // The file now fails to read: the window keeps its record and the caller reports it.
  ChartReadAhead ahead;
  ASSERT_TRUE(TryChartRead(nexal, "nexal_sample.nxl", Nexal(), &ahead).empty());
  dir_.Write("samples/nexal_sample.nxl", "#BPM 1e999\r\n");
  g_Docs[1].Title = "kept";
  const ChartReadResult r = ChartRead(std::move(ahead), 1, Nexal());
  EXPECT_FALSE(r);
  EXPECT_EQ(r.line, 1);
  EXPECT_EQ(g_Docs[1].Title, "kept");
}

// Another program writes the chart again in place, as many bytes, so soon after the read ahead
// that the file's modification time stays the same: the window still reads what it holds now.
TEST_F(FrameTest, AChartRewrittenWithinItsModificationTimeIsReadAgain) {
  ASSERT_TRUE(Start());
  const std::string chart = dir_.Write("fresh.nxl", "#TITLE first\r\n");
  ChartReadAhead ahead;
  ASSERT_TRUE(TryChartRead(chart, "fresh.nxl", Nexal(), &ahead).empty());
  ASSERT_EQ(ahead.doc.Title, "first");
  ASSERT_TRUE(testsupport::WriteAll(chart, "#TITLE other\r\n"));
  const timespec same[2] = {{static_cast<time_t>(ahead.stamp.mtimeNs / 1000000000),
                             static_cast<long>(ahead.stamp.mtimeNs % 1000000000)},
                            {static_cast<time_t>(ahead.stamp.mtimeNs / 1000000000),
                             static_cast<long>(ahead.stamp.mtimeNs % 1000000000)}};
  ASSERT_EQ(::utimensat(AT_FDCWD, chart.c_str(), same, 0), 0);
  ASSERT_TRUE(WinAt(1)->RefleshScr());
  const uint64_t n = ChartFilesRead();
  ASSERT_TRUE(ChartRead(std::move(ahead), 1, Nexal()));
  EXPECT_EQ(ChartFilesRead() - n, 1u);
  EXPECT_EQ(g_Docs[1].Title, "other");
}

// What the frame shows of the current chart: the WAV list and the title field.
std::vector<std::string> Shown(FormP& f) {
  std::vector<std::string> out;
  QTreeWidget* list = f.List(DefList::Grid1);
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    out.push_back(list->topLevelItem(i)->text(0).toStdString() + "=" + list->topLevelItem(i)->text(1).toStdString());
  out.push_back(f.Field(HeaderText::Text1)->text().toStdString());
  return out;
}

// The read publishes the new chart; its window's activation does not fill the frame once more,
// and the frame shows what publishing that chart shows. Activations later publish as before.
TEST_F(FrameTest, AnOpenedChartIsPublishedOnceAndActivationsStillPublish) {
  ASSERT_TRUE(Start({Sample("dual_sample.scd")}));
  int fills = 0;
  QObject::connect(Frame().List(DefList::Grid1)->model(), &QAbstractItemModel::rowsInserted, [&] { ++fills; });
  const struct {
    const char* how;
    std::function<void()> open;
    int16_t win;
  } cases[] = {
      {"drop on the frame", [&] { Frame().MDIForm_OLEDragDrop({QString::fromStdString(Sample("nexal_sample.nxl"))}); },
       2},
      {"drop on a window in the back",
       [&] {
         std::filesystem::copy_file(Sample("nexal_sample.nxl"), Install() + "other.nxl");
         desk_.ExpectMessageBox(plat::MsgAnswer::Yes, {.title = "確認"});
         Frame().QueryScriptOpen(Install() + "other.nxl", 1);
       },
       1},
  };
  for (const auto& c : cases) {
    fills = 0;
    c.open();
    Pump();
    desk_.Verify();
    EXPECT_EQ(fills, 2) << c.how;  // the script's empty rows as the window loads, then the chart's
    ASSERT_EQ(g_CurWin, c.win) << c.how;
    ASSERT_EQ(Frame().MdiArea()->activeSubWindow(), WinAt(c.win)) << c.how;
    const std::vector<std::string> shown = Shown(Frame());
    EXPECT_EQ(shown.back(), g_Docs[c.win].Title) << c.how;
    WinAt(c.win)->SetThisWin();
    EXPECT_EQ(Shown(Frame()), shown) << c.how;
  }
  g_Docs[2].Title = "other";
  fills = 0;
  Activate(WinAt(2));
  EXPECT_EQ(g_CurWin, 2);
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(Frame().Field(HeaderText::Text1)->text().toStdString(), "other");
  Activate(WinAt(1));
  EXPECT_EQ(g_CurWin, 1);
  EXPECT_EQ(fills, 2);
}

}  // namespace
