// The shipped scripts read their own sample charts: header, definitions, groups, stacks,
// picture lanes and free text come out where each script puts them.
#include <gtest/gtest.h>

#include <functional>

#include "chartfmt/chartread.h"
#include "chartfmt/scriptread.h"

namespace {

using mk::DocData;

struct SampleCase {
  const char* script;
  const char* sample;
  int16_t mesCount;
  std::string freeText;
  std::function<void(const DocData&)> check;
};

int16_t At(const DocData& d, int lane, int mes, int tick, bool back = false) {
  const mk::MesData& c = d.Obj.at(lane).Mes.at(mes);
  return back ? c.BackObj[tick] : c.Obj[tick];
}

TEST(ReaderScripts, EveryShippedScriptReadsItsSample) {
  const std::vector<SampleCase> cases = {
      {"nexal.dfn", "nexal_sample.nxl", 4, "#COMMENT 試験用の譜面です\r\n",
       [](const DocData& d) {
         EXPECT_EQ(d.Title, "春の試験曲");
         EXPECT_EQ(d.Level, (std::array<int16_t, 3>{3, 7, 11}));
         EXPECT_EQ(d.Wav[1], (mk::DefEntry{"kick.wav", "バスドラム"}));
         EXPECT_EQ(d.Wav[1295].File, "crash.wav");
         EXPECT_EQ(d.Bga[1].Comment, "タイトル画像");
         EXPECT_EQ(d.Obj[0].Mes[3].Length, 0.75);
         EXPECT_EQ(At(d, 0, 4, 128), 0xA0);
         EXPECT_EQ(At(d, 8, 1, 96), 2);     // pad digit 1: third lane
         EXPECT_EQ(At(d, 9, 1, 96), 3);     // PDW: the pedal
         EXPECT_EQ(At(d, 6, 2, 0), 10004);  // digit 0: open object
         EXPECT_EQ(At(d, 7, 2, 96), 5);     // digit 6: first and second lanes
         EXPECT_EQ(At(d, 5, 2, 0), 1295);
         EXPECT_EQ(At(d, 11, 3, 96, true), 1);
         EXPECT_EQ(At(d, 12, 2, 0), 4);  // stacked BGM: the placeholder keeps lane 13 empty
         EXPECT_EQ(At(d, 13, 2, 0), 0);
         EXPECT_EQ(At(d, 14, 2, 0), 6);
         EXPECT_EQ(At(d, 13, 1, 96), 6);
       }},
      {"dual.dfn", "dual_sample.scd", 3, "",
       [](const DocData& d) {
         EXPECT_EQ(d.Obj[0].Mes[2].Length, 0.5);
         EXPECT_EQ(At(d, 0, 0, 0), 0x96);
         EXPECT_EQ(At(d, 1, 1, 0), 1);
         EXPECT_EQ(At(d, 2, 1, 0), 1);
         EXPECT_EQ(At(d, 3, 1, 96), 2);
         EXPECT_EQ(At(d, 4, 1, 0), 36);     // "L-4": kept symbol, base-36 mode 2
         EXPECT_EQ(At(d, 7, 2, 0), 575);    // "FZ"
         EXPECT_EQ(At(d, 8, 2, 96), 2);     // GRW
         EXPECT_EQ(At(d, 10, 3, 0), 1295);  // picture lane, BGA mode 3
         EXPECT_EQ(At(d, 11, 1, 0), 1);
         EXPECT_EQ(At(d, 12, 1, 96), 2);
       }},
      {"tapline.dfn", "tapline_sample.tpl", 3, "",
       [](const DocData& d) {
         EXPECT_EQ(d.Title, "Twin Test");
         EXPECT_EQ(d.Obj[0].Mes[2].Length, 1.5);
         EXPECT_EQ(At(d, 1, 0, 144), 1);
         EXPECT_EQ(At(d, 1, 0, 96, true), 2);
         EXPECT_EQ(At(d, 5, 2, 128), 1);
       }},
      {"simple.dfn", "simple_sample.s4k", 3, "",
       [](const DocData& d) {
         EXPECT_EQ(d.Title, "Four Lanes");
         EXPECT_EQ(At(d, 0, 0, 0), 0x78);
         EXPECT_EQ(At(d, 4, 1, 144), 2);
       }},
  };
  const std::string root = std::string(MIRKAN_SOURCE_DIR) + "/scripts/";
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(c.sample);
    DocData d;
    std::string info;
    ASSERT_TRUE(mk::ReadScript(root + c.script, d, info).ok);
    // As a window prepares it: three measures before the chart is read.
    d.MesCount = 3;
    for (mk::LaneMes& lane : d.Obj) lane.Mes.resize(4);
    const mk::ChartReadResult r =
        mk::ReadChartFile(d, std::string(MIRKAN_SOURCE_DIR) + "/samples/" + c.sample, c.sample, false);
    ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
    EXPECT_EQ(d.MesCount, c.mesCount);
    EXPECT_EQ(d.FreeText, c.freeText);
    EXPECT_GT(d.ObjReadCount, 0);
    c.check(d);
  }
}

}  // namespace
