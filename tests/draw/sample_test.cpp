// The shipped scripts and their sample charts, read and drawn without a window.
#include <gtest/gtest.h>

#include <string>

#include "canvas_reference.h"
#include "chartfmt/chartread.h"
#include "chartfmt/scriptread.h"
#include "chartview/canvasdraw.h"
#include "chartview/laneheader.h"
#include "chartview/sprites.h"
#include "drawfixture.h"

using namespace drawtest;

TEST(ShippedSamples, ReadAndDrawnLikeThePiecewiseRepaint) {
  const std::string dir = std::string(MIRKAN_SOURCE_DIR) + "/scripts/";
  const struct {
    const char* script;
    const char* sample;
  } pairs[] = {{"nexal.dfn", "nexal_sample.nxl"},
               {"tapline.dfn", "tapline_sample.tpl"},
               {"dual.dfn", "dual_sample.scd"},
               {"simple.dfn", "simple_sample.s4k"}};
  for (const auto& p : pairs) {
    mk::DocData doc;
    std::string info;
    ASSERT_TRUE(mk::ReadScript(dir + p.script, doc, info).ok) << p.script;
    doc.Sel.resize(1);
    ASSERT_TRUE(mk::ReadChartFile(doc, std::string(MIRKAN_SOURCE_DIR) + "/samples/" + p.sample, p.sample, false).ok)
        << p.sample;
    ASSERT_GT(doc.LaneCount, 0) << p.script;
    const mk::SpriteSheets sheets = MakeSheets(doc);

    for (int up : {-1, 0}) {
      doc.ScrlUp = static_cast<int16_t>(up);
      mk::ViewState view;  // the window's design size
      plat::Picture canvas;
      ASSERT_TRUE(mk::ObjDraw(doc, view, sheets, canvas, nullptr, true));
      EXPECT_EQ(FirstDifference(canvas, ReferenceObjDraw(doc, view, sheets)), "") << p.sample << " " << up;

      // The sample's objects show: without them the picture is different.
      mk::DocData empty = doc;
      for (mk::LaneMes& lane : empty.Obj)
        for (size_t m = 0; m < lane.Mes.size(); ++m) lane.Mes.Clear(m);
      plat::Picture bare;
      mk::ObjDraw(empty, view, sheets, bare, nullptr, true);
      EXPECT_NE(FirstDifference(canvas, bare), "") << p.sample;
    }

    mk::ViewState view;
    plat::Picture strip(view.CanvasWidth, view.StripHeight);
    EXPECT_TRUE(mk::HeadDraw2(doc, view, sheets, strip));
    EXPECT_EQ(strip.Pixel(0, 5), kWhite) << p.script;  // left edge of lane 0
  }
}
