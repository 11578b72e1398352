// Reading whole files: names, measure counts, counts, slot counts, scratch reads, line ends,
// the frame-side wrapper, the limits and every failure.
#include <gtest/gtest.h>

#include "chartfmt/chartio.h"
#include "chartfmt/chartread.h"
#include "chartfmt/chartread_internal.h"
#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "reader_fixture.h"
#include "temp_dir.h"

namespace {

using mk::ChartReadResult;
using mk::DocData;

TEST(ReaderFile, NamesCountsAndSlotCounts) {
  testsupport::TempDir dir;
  const std::string path = dir.Write("song one.cht",
                                     std::string("#TITLE t\r\n"
                                                 "#012TM:78\r\n"        // 1 counted
                                                 "#00111:01000200\r\n"  // 2 counted
                                                 "#00121:00000003\r\n"  // back: not counted
                                                 "#00237:01\r\n"        // group digit: not counted
                                                 "#0013W:0001\r\n"      // W: 1 counted
                                                 "#00311:") +
                                         std::string(382, '0') + "01\r\n");
  DocData d = readerfix::StandardScript().Build(10);
  d.ObjReadCount = 99;
  const ChartReadResult r = mk::ReadChartFile(d, path, "song one.cht", false);
  ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
  EXPECT_EQ(d.Folder, dir.path() + "/");
  EXPECT_EQ(d.FileName, "song one.cht");
  EXPECT_EQ(d.FilePath, path);
  EXPECT_EQ(d.MesCount, 12);
  for (const auto& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), 13u);
  EXPECT_EQ(d.ObjReadCount, 5);
  EXPECT_EQ(d.Obj[0].Mes[12].Division, 1);
  EXPECT_EQ(d.Obj[1].Mes[1].Division, 4);  // front 0 and 96, back 144
  EXPECT_EQ(d.Obj[5].Mes[2].Division, 1);
  EXPECT_EQ(d.Obj[8].Mes[1].Division, 2);
  EXPECT_EQ(d.Obj[1].Mes[3].Division, 192);  // tick 191 of 192 slots
  EXPECT_EQ(d.Obj[2].Mes[1].Division, 0);
}

TEST(ReaderFile, DefaultMeasureCountIsKeptWhenTheChartIsShorter) {
  DocData d = readerfix::StandardScript().Build(10);
  ASSERT_TRUE(mk::ReadChartLines(d, {"#00311:01"}, false).ok);
  EXPECT_EQ(d.MesCount, 10);
  for (const auto& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), 11u);
}

TEST(ReaderFile, ScratchReadAddsToTheOpenChart) {
  DocData d = readerfix::StandardScript().Build(3);
  d.Folder = "/charts/";
  d.FileName = "a.cht";
  d.Title = "old";
  d.Artist = "kept";
  d.ObjReadCount = 5;
  d.FreeText = "stale\r\n";
  d.Obj[1].Mes.Write(1).Obj[0] = 7;
  d.Obj[10].Mes.Write(1).Obj[0] = 9;  // first stacked lane already holds an object
  const ChartReadResult r =
      mk::ReadChartText(d, "#TITLE new\r\nunknown line\r\n;comment\r\n#00111:0002\r\n#00111:00\r\n#00101:04\r\n",
                        mk::ChartCoding::Utf8, true);
  ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
  EXPECT_EQ(d.Title, "new");
  EXPECT_EQ(d.Artist, "kept");
  EXPECT_EQ(d.FreeText, "unknown line\r\n");
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 7);  // an empty slot never clears
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[96], 2);
  EXPECT_EQ(d.Obj[10].Mes[1].Obj[0], 9);
  EXPECT_EQ(d.Obj[11].Mes[1].Obj[0], 4);
  EXPECT_EQ(d.ObjReadCount, 7);
  EXPECT_EQ(d.Folder, "/charts/");
  EXPECT_EQ(d.FileName, "a.cht");
}

TEST(ReaderFile, LfCrAndCrLfLineEndsReadAlike) {
  const std::string lines[] = {"#TITLE x", "free", "#00111:01", "#00211:0203", "#001LN:0.5", ""};
  std::vector<DocData> docs;
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    std::string text;
    for (const std::string& l : lines) text += l + eol;
    text += "#00311:05";  // last line without a line end
    DocData d = readerfix::StandardScript().Build();
    ASSERT_TRUE(mk::ReadChartText(d, text, mk::ChartCoding::Ansi, false).ok);
    docs.push_back(std::move(d));
  }
  for (const DocData& d : docs) {
    EXPECT_EQ(d.Title, "x");
    EXPECT_EQ(d.FreeText, "free\r\n");
    EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 1);
    EXPECT_EQ(d.Obj[1].Mes[2].Obj[96], 3);
    EXPECT_EQ(d.Obj[1].Mes[3].Obj[0], 5);
    EXPECT_EQ(d.Obj[0].Mes[1].Length, 0.5);
    EXPECT_EQ(d.ObjReadCount, 4);
  }
}

TEST(ReaderMends, HeadAndFootTextsAreNotKeptAsFreeText) {
  DocData d = readerfix::StandardScript().HeadFoot("NEXAL FILE 2", "END OF FILE").Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"NEXAL FILE 2", "mine", "END OF FILE", "END OF FILE 2"}, false).ok);
  EXPECT_EQ(d.FreeText, "mine\r\nEND OF FILE 2\r\n");
}

TEST(ReaderMends, EchoLineWithoutCommandSymbolIsNotKeptAsFreeText) {
  readerfix::DocBuilder b = readerfix::StandardScript();
  b.Keys().Echo = {"", "PLAYER READY"};
  DocData d = b.Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"player ready", "other"}, false).ok);
  EXPECT_EQ(d.FreeText, "other\r\n");
}

TEST(ReaderMends, GroupLinesUseTheWavModeEvenWhenLaneOneIsAPictureLane) {
  readerfix::DocBuilder b;
  b.Lane("04", "__", 88).Lane("15", "__", 88).Lane("16", "__", 88).Lane("__", "__", 88).Group("G", 1, "3");
  DocData d = b.Modes(3, 1).Build();
  ASSERT_TRUE(mk::ReadChartLines(d, {"#00134:1F", "#0013W:1F", "#00104:001F"}, false).ok);
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 51);  // base 36, as the writer codes group lines
  EXPECT_EQ(d.Obj[4].Mes[1].Obj[0], 51);
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[96], 31);  // the lane's own line: BGA mode (base 16)
}

TEST(ReaderMends, VeryLongLinesRead) {
  DocData d = readerfix::StandardScript().Build();
  std::string free(100000, 'x');
  std::string codes = "#00111:" + std::string(2 * 40000 - 2, '0') + "01";  // 40000 codes
  ASSERT_TRUE(mk::ReadChartLines(d, {free, codes}, false).ok);
  EXPECT_EQ(d.FreeText, free + "\r\n");
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[191], 1);  // the last code on the last tick, which a save writes
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[192], 0);
}

TEST(ReaderMends, LargeChartsReadAndOversizedOnesFailClearly) {
  readerfix::DocBuilder b;
  for (int l = 1; l <= 128; ++l) b.Lane("L" + std::to_string(l % 10) + std::string(1, 'A' + l / 10));
  DocData d = b.Build(0);
  std::string text;
  for (int m = 1; m <= 999; ++m)
    text += "#" +
            std::string(m < 10    ? "00"
                        : m < 100 ? "0"
                                  : "") +
            std::to_string(m) + d.Lane[1 + m % 128].Channel + ":01\r\n";
  const ChartReadResult r = mk::ReadChartText(d, text, mk::ChartCoding::Ansi, false);
  ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
  EXPECT_EQ(d.MesCount, 999);
  EXPECT_EQ(d.Obj[128].Mes.size(), 1000u);
  EXPECT_EQ(d.ObjReadCount, 999);

  // Measures without objects cost no cell.
  int64_t stored = 0;
  for (const mk::LaneMes& lane : d.Obj) stored += static_cast<int64_t>(lane.Mes.StoredCells());
  EXPECT_EQ(stored, 999);

  // A long chart with few objects opens: its size is what its objects need.
  DocData big = b.Ml(5).Build(0);
  const ChartReadResult f = mk::ReadChartLines(big, {"#00001L1A:01", "#30000L1A:01"}, false);
  ASSERT_TRUE(f.ok) << mk::ChartReadMessage(f);
  EXPECT_EQ(big.MesCount, 30000);
  EXPECT_EQ(big.Obj[128].Mes.size(), 30001u);
  EXPECT_EQ(big.Obj[1].Mes[30000].Obj[0], 1);

  // A measure number past what the count can hold fails with the line and a reason.
  DocData far = b.Ml(5).Build(0);
  const ChartReadResult g = mk::ReadChartLines(far, {"#00001L1A:01", "#40000L1A:01"}, false);
  ASSERT_FALSE(g.ok);
  EXPECT_EQ(g.line, 2);
  EXPECT_EQ(far.MesCount, 1);
}

TEST(ReaderMends, ChartsNeedingTooManyCellsFailClearly) {
  readerfix::DocBuilder b;
  for (int l = 1; l <= 128; ++l) b.Lane("L" + std::to_string(l % 10) + std::string(1, 'A' + l / 10));
  DocData d = b.Ml(5).Build(0);
  // A grid already one cell short of the bound (as lines before would have filled it).
  const int measures = mk::kMaxChartCells / 128;
  mk::ResizeMeasures(d, static_cast<int16_t>(measures));
  d.MesCount = static_cast<int16_t>(measures);
  for (int l = 1; l <= 128; ++l)
    for (int m = 0; m < measures; ++m) d.Obj[l].Mes.Write(m).Obj[0] = 1;
  d.Obj[1].Mes.Clear(0);
  // A line into a cell already held costs nothing; the last free cell is taken; one more fails.
  const ChartReadResult r = mk::ReadChartLines(d, {"#00005L1A:02", "#00000L1A:03", "#02048L2A:04"}, false);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.line, 3);
  EXPECT_NE(r.reason.find("多すぎます"), std::string::npos) << r.reason;
}

struct FailCase {
  const char* name;
  std::vector<std::string> lines;
  int16_t wnum;
  int16_t ml;
  int line;
};

TEST(ReaderErrors, EachFailureNamesItsLineAndReason) {
  const std::vector<FailCase> cases = {
      {"WAV code beyond a mode-2 table", {"#TITLE ok", "#WAVG0 x.wav"}, 2, 3, 2},
      {"WAV comment code beyond the table", {";WAV~~ c"}, 3, 3, 1},
      {"BGA code that is not base 16 beyond mode 1", {"", "#BMP1 x.bmp", "#BMPZZ y"}, 3, 3, 0},
      {"level beyond 16 bits", {"#PLAYLEVEL 40000"}, 3, 3, 1},
      {"BPM too large for a number", {"#BPM 1E999"}, 3, 3, 1},
      {"measure length too large", {"#001LN:9E999"}, 3, 3, 1},
      {"measure field beyond 16 bits", {"#0000111:01", "#4000011:01"}, 3, 5, 2},
      {"part 99 stack overflows the last lane", {"#00101:01", "#00101:01", "#00101:01", "#00101:01"}, 3, 3, 4},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.name);
    DocData d = readerfix::StandardScript().Modes(c.wnum, 1).Ml(c.ml).Build();
    const ChartReadResult r = mk::ReadChartLines(d, c.lines, false);
    if (c.line == 0) {  // mode 1 reads "ZZ" as no number at all: entry 0, no failure
      EXPECT_TRUE(r.ok);
      EXPECT_EQ(d.Bga[0].File, "y");
      continue;
    }
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.line, c.line);
    EXPECT_FALSE(r.reason.empty());
    for (const auto& lane : d.Obj)  // what was read stays a consistent grid
      for (const mk::MesData& cell : lane.Mes) EXPECT_EQ(cell.Division, mk::CellDivision(cell));
    EXPECT_EQ(mk::ChartReadMessage(r).rfind(std::to_string(c.line) + "行目: ", 0), 0u);
  }
}

TEST(ReaderErrors, MissingFileFailsWithoutALine) {
  DocData d = readerfix::StandardScript().Build();
  const ChartReadResult r = mk::ReadChartFile(d, "/nonexistent/x.cht", "x.cht", false);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.line, 0);
  EXPECT_NE(r.reason.find("/nonexistent/x.cht"), std::string::npos);
  EXPECT_EQ(d.FileName, "");
}

// The frame and the chart window as the wrapper sees them.
class RecordingHost : public mk::ChartReadHost {
 public:
  std::vector<std::string> calls;
  void SetThisWin(int16_t w) override { calls.push_back("SetThisWin " + std::to_string(w)); }
  void MesChange(int16_t w, int16_t delta) override {
    calls.push_back("Mes_Change " + std::to_string(w) + " " + std::to_string(delta));
  }
  void SetCaption(int16_t w, const std::string& c) override {
    calls.push_back("caption " + std::to_string(w) + " " + c);
  }
  std::string ScriptTitle(int16_t s) override { return "Script" + std::to_string(s); }
  void AddRecentFile(const std::string& path, int16_t script) override {
    calls.push_back("recent " + path + " " + std::to_string(script));
  }
};

class ReaderWrapper : public ::testing::Test {
 protected:
  void SetUp() override {
    mk::ResetWindowTable();
    mk::SizeWindowTable(3);
    mk::g_Docs[2] = readerfix::StandardScript().Build();
    mk::g_Docs[2].ScriptNo = 4;
    previous_ = mk::SetChartReadHost(&host_);
  }
  void TearDown() override {
    mk::SetChartReadHost(previous_);
    mk::ResetWindowTable();
  }
  RecordingHost host_;
  mk::ChartReadHost* previous_ = nullptr;
  testsupport::TempDir dir_;
};

TEST_F(ReaderWrapper, ReadsTheFileThenRunsTheWindowSteps) {
  const std::string path = dir_.Write("a.cht", "#TITLE x\r\n#00511:01\r\n");
  ASSERT_TRUE(mk::ChartRead(path, "a.cht", 2, 7, 0).ok);
  EXPECT_EQ(mk::g_Docs[2].Title, "x");
  EXPECT_EQ(mk::g_Docs[2].MesCount, 5);
  EXPECT_EQ(mk::g_Docs[2].FileName, "a.cht");
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"SetThisWin 2", "Mes_Change 2 0", "caption 2 a.cht - Script4",
                                                   "recent " + path + " 7"}));
}

TEST_F(ReaderWrapper, EmptyFileStillPublishesTheWindow) {
  const std::string path = dir_.Write("e.cht", "");
  ASSERT_TRUE(mk::ChartRead(path, "e.cht", 2, 1, 0).ok);
  EXPECT_EQ(mk::g_Docs[2].MesCount, 3);
  EXPECT_EQ(host_.calls.size(), 4u);
}

TEST_F(ReaderWrapper, FailedReadLeavesTheWindowUntouched) {
  mk::g_Docs[2].FreeText = "mine\r\n";
  mk::g_Docs[2].Title = "before";
  const std::string path = dir_.Write("bad.cht", "#TITLE half\r\n#00911:01\r\n#WAVZZZ\r\n#PLAYLEVEL 99999\r\n");
  const ChartReadResult r = mk::ChartRead(path, "bad.cht", 2, 1, 0);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.line, 4);
  EXPECT_EQ(mk::g_Docs[2].Title, "before");
  EXPECT_EQ(mk::g_Docs[2].FreeText, "mine\r\n");
  EXPECT_EQ(mk::g_Docs[2].MesCount, 3);
  EXPECT_EQ(mk::g_Docs[2].FileName, "");
  EXPECT_TRUE(host_.calls.empty());

  // The free-statement tab's read is all or nothing too, and never runs the window steps.
  EXPECT_FALSE(mk::ChartReadStatements(2, "#TITLE half\n#PLAYLEVEL 99999").ok);
  EXPECT_EQ(mk::g_Docs[2].Title, "before");
  ASSERT_TRUE(mk::ChartReadStatements(2, "#TITLE whole\nkept").ok);
  EXPECT_EQ(mk::g_Docs[2].Title, "whole");
  EXPECT_EQ(mk::g_Docs[2].FreeText, "kept\r\n");
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_FALSE(mk::ChartRead(path, "bad.cht", 9, 1, 0).ok);  // no such window
}

}  // namespace
