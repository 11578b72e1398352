// Carrying one chart record into another script's record through the lane map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "chartfmt/docdata.h"
#include "convert/convertchart.h"
#include "tests/support/header_keys.h"

namespace {

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
  d.Keys.Wav = "W";    // and both tables
  d.Keys.Bga = "B";
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
  Put(src, 3, 6, 0, 10);                  // lane 3 dropped
  Put(src, 4, 20, 24, 11);                // the last measure
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
  // The converted chart is in no file: it is modified, and so is whatever Undo would give back.
  EXPECT_EQ(dst.Dirty, -1);
  EXPECT_EQ(dst.UndoDirty, -1);
  EXPECT_EQ(dst.UndoDirty2, -1);
  EXPECT_EQ(dst.FileName, "");
  EXPECT_EQ(mk::ConvertLeftOutMessage(r), "");
}

TEST(ConvertChartCopy, NumberingModes) {
  struct Case {
    int16_t srcW, dstW, srcB, dstB;
    bool compacted;
    int wavCarried, bgaCarried;
  } cases[] = {
      {1, 1, 1, 1, false, 255, 256}, {1, 3, 3, 1, false, 255, 256},
      {3, 1, 3, 3, true, 255, 1296},  // BGA definitions up to the smaller table: here both hold 1295
      {2, 3, 1, 3, false, 575, 256}, {1, 7, 1, 9, true, 0, 0},  // a mode without a table gives no slots
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
  Put(src, 1, 0, 96, 10300);  // open object of number 300
  Put(src, 1, 1, 0, 699);     // compacted to 302: above 255
  Put(src, 2, 0, 48, 1, true);
  Put(src, 3, 0, 0, 200);                // a BGA lane: kept
  Put(src, 3, 0, 24, 1000);              // above the target's BGA table: left out
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

TEST(ConvertChartCopy, DefinitionsAndHeaderValuesTheTargetCannotHoldAreNamed) {
  mk::DocData src = Record(2, 1, 3, 3, 2);
  testsupport::SetHeaderKeys(src.Keys);
  src.Fmt.Lvn = {"LIGHT", "STANDARD", "EXPERT"};
  src.Title = "t";
  src.Artist = "a";
  src.Genre = "Trance";
  src.Bpm = 150;
  src.BaseBpm = 0;  // nothing held: nothing to name
  src.Level = {3, 0, 11};
  src.Wall = "w.bmp";
  src.Wav[1].File = "a.wav";
  src.Wav[255].File = "b.wav";
  src.Bga[0].File = "first.jpg";
  src.Bga[255].File = "ff.jpg";
  src.Bga[256] = {"", "only a comment"};
  src.Bga[1295].File = "last.jpg";

  // A target with the smaller picture table, two levels, no genre and no wallpaper keyword.
  mk::DocData dst = Record(2, 1, 1, 1, 2);
  testsupport::SetHeaderKeys(dst.Keys);
  dst.Keys.Level[2].clear();
  dst.Keys.Genre.clear();
  dst.Keys.Wall.clear();
  mk::ConvertResult r = mk::ConvertChartCopy(src, dst, {0, 1, 2}, 499);
  EXPECT_EQ(dst.Title, "t");
  EXPECT_EQ(dst.Bpm, 150);
  EXPECT_EQ(dst.Level[0], 3);
  EXPECT_EQ(dst.Level[2], 0);
  EXPECT_EQ(dst.Genre, "");
  EXPECT_EQ(dst.Wav[1].File, "a.wav");
  EXPECT_EQ(dst.Wav[2].File, "b.wav");  // compacted: 1295 numbers into 255
  EXPECT_EQ(dst.Bga[255].File, "ff.jpg");
  EXPECT_TRUE(r.wavLeftOut.empty());
  EXPECT_EQ(r.bgaLeftOut, (std::vector<std::string>{"74", "ZZ「last.jpg」"}));
  EXPECT_EQ(r.headerLeftOut, (std::vector<std::string>{"ジャンル：「Trance」", "EXPERT：11", "壁紙：「w.bmp」"}));
  EXPECT_EQ(mk::ConvertLeftOutMessage(r),
            "変換先が持てない次のものは変換しませんでした：\r\n"
            "\r\nBGA定義 2 個：74、ZZ「last.jpg」"
            "\r\nジャンル：「Trance」\r\nEXPERT：11\r\n壁紙：「w.bmp」");

  // A target whose script writes no picture table at all, and more WAV definitions than its
  // table holds: each table's names stop at five, the rest counted.
  for (int n = 1; n <= 262; ++n) src.Wav[n].File = "s" + std::to_string(n) + ".wav";
  mk::DocData bare = Record(2, 1, 1, 1, 2);
  testsupport::SetHeaderKeys(bare.Keys);
  bare.Keys.Bga.clear();
  r = mk::ConvertChartCopy(src, bare, {0, 1, 2}, 499);
  r.leftOut = 2;
  EXPECT_EQ(r.wavLeftOut.size(), 7u);
  EXPECT_EQ(r.wavLeftOut.front(), "74「s256.wav」");
  EXPECT_EQ(r.bgaLeftOut.size(), 4u);
  for (const mk::DefEntry& e : bare.Bga) EXPECT_EQ(e, mk::DefEntry{});
  const std::string m = mk::ConvertLeftOutMessage(r);
  EXPECT_NE(m.find("\r\n変換先のレーンに置けないオブジェ 2 個\r\n"), std::string::npos) << m;
  EXPECT_NE(
      m.find("WAV定義 7 個：74「s256.wav」、75「s257.wav」、76「s258.wav」、77「s259.wav」、78「s260.wav」、ほか 2 個"),
      std::string::npos)
      << m;
  EXPECT_NE(m.find("BGA定義 4 個：00「first.jpg」、73「ff.jpg」、74、ZZ「last.jpg」"), std::string::npos) << m;

  // Objects alone keep the one sentence.
  mk::ConvertResult objects;
  objects.leftOut = 3;
  EXPECT_EQ(mk::ConvertLeftOutMessage(objects), "変換先のレーンに置けないオブジェ 3 個は変換しませんでした");
}

}  // namespace
