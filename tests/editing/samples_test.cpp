// Every shipped sample chart: lifting all of it into the selection and dropping it again, also
// after a drag there and back, writes the same chart text.
#include <gtest/gtest.h>

#include <filesystem>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/scriptread.h"
#include "editing/dropsel.h"
#include "editing/movesel.h"
#include "editing/selection.h"

namespace fs = std::filesystem;

namespace {

struct Sample {
  const char* script;
  const char* chart;
};
const Sample kSamples[] = {
    {"nexal.dfn", "nexal_sample.nxl"},
    {"dual.dfn", "dual_sample.scd"},
    {"tapline.dfn", "tapline_sample.tpl"},
    {"simple.dfn", "simple_sample.s4k"},
};

mk::DocData ReadSample(const Sample& s) {
  const fs::path dir = fs::path(MIRKAN_SOURCE_DIR) / "scripts";
  mk::DocData d;
  std::string info;
  EXPECT_TRUE(mk::ReadScript((dir / s.script).string(), d, info).ok);
  d.Sel.resize(1);
  d.MesCount = 10;  // as a new window starts
  mk::ResizeMeasures(d, d.MesCount);
  const mk::ChartReadResult r =
      mk::ReadChartFile(d, (fs::path(MIRKAN_SOURCE_DIR) / "samples" / s.chart).string(), s.chart, false);
  EXPECT_TRUE(r.ok) << mk::ChartReadMessage(r);
  return d;
}

TEST(SelectionSamples, LiftAndDropWriteTheSameChart) {
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(s.chart);
    mk::DocData d = ReadSample(s);
    const std::string before = mk::ChartText(d, 0);
    const auto grid = d.Obj;

    mk::ObjSelect(d, 0, 0, 0, d.LaneCount, d.MesCount, 191);
    EXPECT_GT(d.SelCount, 0);
    mk::ObjDeSel(d, 999);
    EXPECT_EQ(d.SelCount, 0);
    EXPECT_EQ(mk::ChartText(d, 0), before);
    EXPECT_TRUE(d.Obj == grid);

    // There and back by lanes and grid steps, on a coarse grid, before landing.
    d.GridDiv = 4;
    mk::ObjSelect(d, 0, 0, 0, d.LaneCount, d.MesCount, 191);
    mk::MoveSelection(d, 1, 0, 0, 3, 2, 3);
    mk::MoveSelection(d, 3, 2, 3, 0, 0, 1);
    mk::MoveSelection(d, 0, 0, 1, 1, 0, 0);
    mk::ObjDeSel(d, 999);
    EXPECT_EQ(mk::ChartText(d, 0), before);
  }
}

}  // namespace
