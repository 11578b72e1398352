// Charts for the editing tests.
#include "edit_fixture.h"

#include <gtest/gtest.h>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"

namespace edittest {

const std::vector<ShippedPair>& ShippedPairs() {
  static const std::vector<ShippedPair> pairs = {{"nexal.dfn", "nexal_sample.nxl"},
                                                 {"tapline.dfn", "tapline_sample.tpl"},
                                                 {"dual.dfn", "dual_sample.scd"},
                                                 {"simple.dfn", "simple_sample.s4k"}};
  return pairs;
}

mk::DocData LoadShipped(const ShippedPair& p) {
  const std::string dir = std::string(MIRKAN_SOURCE_DIR) + "/scripts/";
  mk::DocData doc;
  std::string info;
  EXPECT_TRUE(mk::ReadScript(dir + p.script, doc, info).ok) << p.script;
  doc.Sel.resize(1);
  const mk::ChartReadResult r =
      mk::ReadChartFile(doc, std::string(MIRKAN_SOURCE_DIR) + "/samples/" + p.sample, p.sample, false);
  EXPECT_TRUE(r.ok) << p.sample << ": " << mk::ChartReadMessage(r);
  return doc;
}

mk::DocData SmallChart(int lanes, int mesCount) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(lanes);
  d.Lane.resize(lanes + 1);
  for (int l = 1; l <= lanes; ++l) {
    d.Lane[l].Name = "L" + std::to_string(l);
    d.Lane[l].Channel = std::to_string(10 + l);
    d.Lane[l].BackChannel = std::to_string(50 + l);
    d.Lane[l].Part = 1;
  }
  d.Fmt.WNum = d.Fmt.BNum = 1;
  d.Fmt.Ml = 3;
  d.Keys.Wav = "#WAV";
  d.Keys.Bpm = "#BPM";
  d.Keys.HSymbol = {"#"};
  d.Wav.resize(256);
  d.Bga.resize(256);
  d.Obj.resize(lanes + 1);
  d.MesCount = static_cast<int16_t>(mesCount);
  mk::ResizeMeasures(d, d.MesCount);
  d.Sel.resize(1);
  return d;
}

void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(value);
  mk::RecalcLaneResolution(d, lane, lane, mes, mes);
}

std::string Text(const mk::DocData& d) { return mk::ChartText(d, 0); }

mk::DocData ReadBack(const mk::DocData& d, const std::vector<std::string>& scriptLines, const std::string& scriptFile) {
  mk::DocData back;
  std::string info;
  if (scriptLines.empty())
    EXPECT_TRUE(mk::ReadScript(std::string(MIRKAN_SOURCE_DIR) + "/scripts/" + scriptFile, back, info).ok);
  else
    EXPECT_TRUE(mk::ReadScriptLines(scriptLines, "gen.dfn", back, info).ok);
  back.MesCount = d.MesCount;
  mk::ResizeMeasures(back, back.MesCount);
  const mk::ChartReadResult r = mk::ReadChartText(back, mk::ChartText(d, 0), mk::ChartCoding::Utf8, false);
  EXPECT_TRUE(r.ok) << r.reason;
  return back;
}

}  // namespace edittest
