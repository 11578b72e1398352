// The chart window's plain parts: reset, publishing, layout, caption and scroll arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "chartfmt/globals.h"
#include "chartfmt/scriptread.h"
#include "chartview/form1_calc.h"
#include "chartview/form1_publish.h"
#include "chartview/form1_reset.h"
#include "chartview/formglobals.h"
#include "frame/settings.h"
#include "recording_panels.h"
#include "temp_dir.h"

using namespace mk;
using testsupport::RecordingPanels;

namespace {

DocData ShippedScript(const std::string& file, std::string* info = nullptr) {
  DocData d;
  std::string help;
  const ScriptReadResult r = ReadScript(std::string(MIRKAN_SOURCE_DIR) + "/scripts/" + file, d, help);
  EXPECT_TRUE(r.ok) << file << ": " << r.message.text;
  if (info) *info = help;
  return d;
}

class FormLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    ClearClipboard();
    g_Filling = 0;
    g_CurWin = 0;
  }
};

TEST_F(FormLogicTest, ResetDocumentEmptiesTheRecordAndKeepsScriptAndPosition) {
  DocData d = ShippedScript("nexal.dfn");
  ResizeMeasures(d, 5);
  d.MesCount = 5;
  d.ScriptNo = 2;
  d.ScrollPos = 384;
  d.CurMes = 3;
  d.Title = "t";
  d.Dirty = -1;
  d.UndoOn = -1;
  d.Sel.resize(4);
  d.SelCount = 3;
  d.DefTab = 2;
  d.BgaPreview = -1;
  d.Level = {1, 2, 3};
  d.Zoom = 4;
  d.ScrlUp = 0;
  d.FreeText = "#X\r\n";
  const ScrFormat fmt = d.Fmt;
  ResetDocument(d);
  EXPECT_EQ(d.MesCount, 0);
  EXPECT_EQ(d.LaneCount, 0);
  EXPECT_EQ(d.Zoom, 1.0);
  EXPECT_EQ(d.ScrlUp, -1);
  EXPECT_EQ(d.GridDiv, 16);
  EXPECT_EQ(d.CurDef, 1);
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(d.UndoOn, 0);
  EXPECT_EQ(d.DefTab, 0);
  EXPECT_EQ(d.BgaPreview, 0);
  EXPECT_EQ(d.Level, (std::array<int16_t, 3>{0, 0, 0}));
  EXPECT_TRUE(d.Title.empty() && d.FreeText.empty() && d.FileName.empty() && d.Folder.empty());
  EXPECT_TRUE(d.Obj.empty() && d.Lane.empty() && d.Wav.empty() && d.Bga.empty() && d.Sel.empty());
  EXPECT_EQ(d.Obj.capacity(), 0u);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.ScriptNo, 2);
  EXPECT_EQ(d.ScrollPos, 384);
  EXPECT_EQ(d.CurMes, 3);
  EXPECT_EQ(d.Fmt.WNum, fmt.WNum);
  EXPECT_EQ(d.Keys.Title, "TITLE");
}

TEST_F(FormLogicTest, ClearFramePanelsPutsEveryPerChartControlIntoTheNoChartState) {
  RecordingPanels p;
  p.menu[FrameMenu::Menu_Edit_Copy] = true;
  p.panel["Info"] = "3個のオブジェを選択";
  ClearFramePanels(p);
  for (FrameMenu m :
       {FrameMenu::Menu_Help_Info, FrameMenu::Menu_View_Parts, FrameMenu::Menu_Play_PlayAll,
        FrameMenu::Menu_Play_PlayHere, FrameMenu::Menu_Play_Stop, FrameMenu::Menu_Edit_Undo, FrameMenu::Menu_File_Save,
        FrameMenu::Menu_File_SaveAs, FrameMenu::Menu_File_Close, FrameMenu::Menu_File_Wiz, FrameMenu::Menu_Edit_Find,
        FrameMenu::Menu_Edit_WAVCmp, FrameMenu::Menu_Edit_SelectAll, FrameMenu::Menu_View_Data}) {
    ASSERT_TRUE(p.menu.count(m)) << static_cast<int>(m);
    EXPECT_FALSE(p.menu[m]) << static_cast<int>(m);
  }
  // The selection items and the "Info" panel are not the reset's.
  EXPECT_TRUE(p.menu[FrameMenu::Menu_Edit_Copy]);
  EXPECT_FALSE(p.menu.count(FrameMenu::Menu_Edit_Paste));
  EXPECT_EQ(p.panel["Info"], "3個のオブジェを選択");
  for (auto& [t, s] : p.tool) EXPECT_TRUE(s.mixed && !s.enabled);
  EXPECT_EQ(p.tool.size(), 5u);
  EXPECT_FALSE(p.defToolbarEnabled);
  for (DefTool t : kDefTools) {
    EXPECT_TRUE(p.defTool[t].mixed);
    EXPECT_TRUE(p.defTool[t].enabled);  // their own enabled state stays
  }
  EXPECT_FALSE(p.tabEnabled);
  EXPECT_TRUE(p.rows[DefList::Grid1].empty());
  EXPECT_FALSE(p.listEnabled[DefList::Grid1]);
  EXPECT_FALSE(p.listEnabled[DefList::Grid2]);
  EXPECT_FALSE(p.listVisible.count(DefList::Grid1));
  for (HeaderText f : {HeaderText::Text1, HeaderText::Text2, HeaderText::Text3, HeaderText::Text4, HeaderText::Text5,
                       HeaderText::Text6}) {
    EXPECT_EQ(p.text[f], "");
    EXPECT_FALSE(p.textEnabled[f]);
    EXPECT_FALSE(p.editableLook[f]);
  }
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(p.sliderMax[k], 1);
    EXPECT_FALSE(p.sliderEnabled[k]);
    EXPECT_EQ(p.sliderPos[k], -1);  // the position is left alone
  }
  EXPECT_EQ(p.fileButton[3], std::make_pair(std::string("None"), false));
  EXPECT_EQ(p.fileButton[4], std::make_pair(std::string("None"), false));
  EXPECT_EQ(p.mesLabel, "最大小節数： 0");
  EXPECT_FALSE(p.mesLabelEnabled);
  EXPECT_EQ(p.levelCaption[1], "難度1：");
  EXPECT_EQ(p.levelCaption[3], "難度3：");
  EXPECT_EQ(p.panel["Level1"], "難度1：-");
  EXPECT_EQ(p.panel["Level2"], "難度2：-");
  EXPECT_EQ(p.panel["Level3"], "難度3：-");
  EXPECT_FALSE(p.panelEnabled["Level2"]);
  EXPECT_EQ(p.bgaTab, "----");
  EXPECT_EQ(p.bgaClosed, 1);
  for (int16_t f : p.fillingSeen) EXPECT_EQ(f, -1);
  EXPECT_EQ(g_Filling, 0);
}

TEST_F(FormLogicTest, PublishFillsListsFieldsSlidersAndLabelsForChartsOfDifferentScripts) {
  struct Case {
    const char* script;
    size_t wavRows, bgaRows;
    const char* lastWav;
    bool artist, levels;
    const char* level1Caption;
  } cases[] = {
      {"nexal.dfn", 1295, 256, "ZZ", true, true, "LIGHT："},
      {"simple.dfn", 255, 256, "FF", false, false, "難度1："},
      {"dual.dfn", 575, 1296, "FZ", true, true, "初級："},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::string info;
    DocData d = ShippedScript(c.script, &info);
    d.Title = "春の曲";
    d.Artist = "someone";
    d.Bpm = 145.5;
    d.MesCount = 9;
    d.Level = {3, 4, 5};
    RecordingPanels p;
    PublishChart(d, 4, info, p);
    EXPECT_EQ(g_CurWin, 4);
    ASSERT_EQ(p.rows[DefList::Grid1].size(), c.wavRows);
    EXPECT_EQ(p.rows[DefList::Grid1].front().code, "01");
    EXPECT_EQ(p.rows[DefList::Grid1].back().code, c.lastWav);
    ASSERT_EQ(p.rows[DefList::Grid2].size(), c.bgaRows);
    EXPECT_EQ(p.rows[DefList::Grid2].front().code, "00");
    EXPECT_EQ(p.text[HeaderText::Text1], "春の曲");
    EXPECT_TRUE(p.textEnabled[HeaderText::Text1]);
    EXPECT_EQ(p.text[HeaderText::Text2], c.artist ? "someone" : "");
    EXPECT_EQ(p.textEnabled[HeaderText::Text2], c.artist);
    EXPECT_EQ(p.editableLook[HeaderText::Text2], c.artist);
    EXPECT_EQ(p.text[HeaderText::Text3], "145.5");
    EXPECT_EQ(p.sliderEnabled[0], c.levels);
    EXPECT_EQ(p.sliderPos[0], c.levels ? 3 : 0);
    EXPECT_EQ(p.sliderMax[0], c.levels ? d.Fmt.Lv[0] : 1);
    EXPECT_EQ(p.levelCaption[1], c.level1Caption);
    EXPECT_EQ(p.mesLabel, "最大小節数： 9");
    EXPECT_TRUE(p.mesLabelEnabled);
    EXPECT_EQ(p.menu[FrameMenu::Menu_Help_Info], !info.empty());
    EXPECT_TRUE(p.menu[FrameMenu::Menu_File_Close]);
    EXPECT_TRUE(p.menu[FrameMenu::Menu_View_Data]);
    EXPECT_FALSE(p.menu[FrameMenu::Menu_Edit_Undo]);
    EXPECT_FALSE(p.menu[FrameMenu::Menu_Edit_Copy]);
    EXPECT_EQ(p.panel["Info"], "");
    EXPECT_FALSE(p.tool[FrameTool::TB1_Save].mixed);
    EXPECT_TRUE(p.tool[FrameTool::TB1_PlayAll].mixed);  // no player in the install folder
    EXPECT_FALSE(p.menu[FrameMenu::Menu_Play_PlayAll]);
    EXPECT_EQ(p.tab, 1);
    EXPECT_TRUE(p.listVisible[DefList::Grid1]);
    EXPECT_FALSE(p.listVisible[DefList::Grid2]);
    EXPECT_EQ(p.selectedRow[DefList::Grid1], 1);
    EXPECT_EQ(p.playTooltip, "プレビューを再生");
    EXPECT_EQ(p.bgaTab, d.Keys.Bga.empty() ? "----" : "BGA");
    EXPECT_FALSE(p.waitCursor);
    EXPECT_EQ(g_Filling, 0);
  }
}

TEST_F(FormLogicTest, PublishNamesLevelsAndSelectionAndSpacesTicksByRange) {
  DocData d = ShippedScript("tapline.dfn");
  d.Fmt.Lv = {20, 21, 0};
  d.Level = {7, 12, 0};
  d.SelCount = 3;
  d.UndoOn = -1;
  RecordingPanels p;
  PublishChart(d, 1, "", p);
  EXPECT_EQ(p.sliderTick[0], 1);
  EXPECT_EQ(p.sliderTick[1], 10);
  EXPECT_EQ(p.levelCaption[1], "Single：");
  EXPECT_EQ(p.panel["Level1"], "Single：7");
  EXPECT_EQ(p.panel["Level2"], "Double：12");
  EXPECT_TRUE(p.panelEnabled["Level2"]);
  EXPECT_EQ(p.panel["Level3"], "難度3：-");
  EXPECT_FALSE(p.panelEnabled["Level3"]);
  EXPECT_EQ(p.panel["Info"], "3個のオブジェを選択");
  for (FrameMenu m : {FrameMenu::Menu_Edit_Copy, FrameMenu::Menu_Edit_Cut, FrameMenu::Menu_Edit_Delete,
                      FrameMenu::EditM_Copy, FrameMenu::EditM_Cut, FrameMenu::EditM_Delete, FrameMenu::Menu_Edit_Undo})
    EXPECT_TRUE(p.menu[m]);
  EXPECT_FALSE(p.menu[FrameMenu::Menu_Help_Info]);
}

TEST_F(FormLogicTest, PublishShowsTheListOfTheChartsTab) {
  DocData d = ShippedScript("nexal.dfn");
  d.CurDef = 5;
  {
    d.DefTab = 1;
    RecordingPanels p;
    PublishChart(d, 1, "", p);
    EXPECT_EQ(p.tab, 2);
    EXPECT_TRUE(p.listVisible[DefList::Grid2]);
    EXPECT_FALSE(p.listVisible[DefList::Grid1]);
    EXPECT_EQ(p.selectedRow[DefList::Grid2], 6);  // number 5 is the sixth row
    EXPECT_TRUE(p.defTool[DefTool::TB2_Stop].mixed && !p.defTool[DefTool::TB2_Stop].enabled);
    EXPECT_TRUE(p.defTool[DefTool::TB2_Prev].mixed);
    EXPECT_FALSE(p.defTool[DefTool::TB2_Up].mixed);
    EXPECT_EQ(p.playTooltip, "BGAを表示");
    EXPECT_EQ(p.bgaClosed, 0);
  }
  for (int16_t tab : {2, 7}) {  // an unknown tab counts as the free-statement tab
    d.DefTab = tab;
    d.FreeText = "#MEMO x\r\n";
    RecordingPanels p;
    PublishChart(d, 1, "", p);
    EXPECT_EQ(p.tab, 3);
    EXPECT_TRUE(p.freeTextVisible);
    EXPECT_TRUE(p.textEnabled[HeaderText::Text6]);
    EXPECT_EQ(p.text[HeaderText::Text6], "#MEMO x\r\n");
    EXPECT_FALSE(p.listVisible[DefList::Grid1] || p.listVisible[DefList::Grid2]);
    EXPECT_FALSE(p.defTool[DefTool::TB2_Play].mixed);
    EXPECT_TRUE(p.defTool[DefTool::TB2_Up].mixed && !p.defTool[DefTool::TB2_Up].enabled);
    EXPECT_EQ(p.playTooltip, "命令文を譜面に反映");
    EXPECT_EQ(p.bgaClosed, 1);
  }
}

TEST_F(FormLogicTest, PublishCopesWithAnUnsizedRecordAndShowsTheBgaPreview) {
  DocData d;  // no script read: numbering mode 0, no tables
  d.BgaPreview = -1;
  d.DefTab = 1;
  d.CurDef = 900;
  RecordingPanels p;
  PublishChart(d, 2, "", p);
  EXPECT_TRUE(p.rows[DefList::Grid1].empty());
  EXPECT_TRUE(p.rows[DefList::Grid2].empty());
  EXPECT_EQ(p.bgaShown, 1);
  EXPECT_EQ(g_Filling, 0);
  EXPECT_FALSE(p.waitCursor);
}

TEST_F(FormLogicTest, PlayerIsAvailableOnlyAsAFileInTheInstallFolder) {
  testsupport::TempDir dir;
  DocData d = ShippedScript("nexal.dfn");
  const std::string install = dir.path() + "/";
  EXPECT_FALSE(PlayerAvailable(d, install));
  dir.Write(d.Fmt.Viewer + "/x", "");  // a folder of that name is no player
  EXPECT_FALSE(PlayerAvailable(d, install));
  d.Fmt.Viewer = "player.bin";
  dir.Write("player.bin", "");
  EXPECT_TRUE(PlayerAvailable(d, install));
  d.Fmt.Viewer.clear();
  EXPECT_FALSE(PlayerAvailable(d, install));
}

TEST_F(FormLogicTest, PasteOnlyIntoAChartOfTheClipboardsNumberingModes) {
  struct Case {
    int16_t count, clipMode, clipBMode, chartMode, chartBMode;
    bool paste;
  } cases[] = {{0, 1, 1, 1, 1, false}, {3, 1, 1, 1, 1, true},
               {3, 3, 1, 3, 1, true},  {3, 3, 1, 1, 1, false},  // numbers up to 1295 cannot go into a chart of 255
               {3, 1, 1, 3, 1, false}, {3, 1, 3, 1, 1, false},  // nor BGA numbers
               {3, 1, 1, 1, 3, false}};
  for (const Case& c : cases) {
    DocData d;
    d.Fmt.WNum = c.chartMode;
    d.Fmt.BNum = c.chartBMode;
    g_ClipCount = c.count;
    g_ClipMode = c.clipMode;
    g_ClipBMode = c.clipBMode;
    EXPECT_EQ(ClipPasteable(d), c.paste) << c.count << " " << c.clipMode << " " << c.chartMode;
    RecordingPanels p;
    PublishChart(d, 1, "", p);
    EXPECT_EQ(p.menu[FrameMenu::Menu_Edit_Paste], c.paste);
    EXPECT_EQ(p.menu[FrameMenu::EditM_Paste], c.paste);
  }
}

TEST_F(FormLogicTest, LayoutFollowsTheToolbarHeight) {
  const Form1Layout a = ComputeForm1Layout(24, 736, 520);
  EXPECT_EQ(a.frame1Top, 24);
  EXPECT_EQ(a.canvasTop, 49);
  EXPECT_EQ(a.canvasWidth, 719);
  EXPECT_EQ(a.canvasHeight, 454);
  EXPECT_EQ(a.stripWidth, 719);
  EXPECT_EQ(a.hscrollTop, 503);
  EXPECT_EQ(a.hscrollWidth, 719);
  EXPECT_EQ(a.frame1Width, 719);
  EXPECT_EQ(a.vscrollLeft, 719);
  EXPECT_EQ(a.command1Top, 24);
  EXPECT_EQ(a.vscrollTop, 41);
  EXPECT_EQ(a.vscrollHeight, 445);
  EXPECT_EQ(a.command2Top, 486);
  EXPECT_EQ(a.check1Top, 503);
  const Form1Layout b = ComputeForm1Layout(0, 736, 520);
  EXPECT_EQ(b.frame1Top, 0);
  EXPECT_EQ(b.command1Top, 0);
  EXPECT_EQ(b.canvasTop, 25);
  EXPECT_EQ(b.canvasHeight, 478);
  EXPECT_EQ(b.check1Top, 503);
  EXPECT_EQ(Form1MinOuterHeight(24), 138);
  EXPECT_EQ(Form1MinOuterHeight(0), 114);
}

TEST_F(FormLogicTest, CaptionAndCloseQuestion) {
  DocData d;
  EXPECT_EQ(CaptionText(d, "Nexal"), "新規 - Nexal");
  d.Dirty = -1;
  EXPECT_EQ(CaptionText(d, "Nexal"), "新規* - Nexal");
  d.FileName = "song.nxl";
  d.Folder = "/charts/";
  EXPECT_EQ(CaptionText(d, "Nexal"), "song.nxl* - Nexal");
  EXPECT_EQ(ModifiedQuestion(""), "ファイル [新規] は変更されています\r\n保存しますか？");
  EXPECT_EQ(ModifiedQuestion("a.nxl"), "ファイル [a.nxl] は変更されています\r\n保存しますか？");
}

TEST_F(FormLogicTest, ScrollArithmetic) {
  EXPECT_EQ(VScrollMaxFor(10), 480);
  EXPECT_EQ(VScrollPageStep(), 48);
  EXPECT_EQ(ScrollPosFor(480, 480, true), 0);
  EXPECT_EQ(ScrollPosFor(432, 480, true), 192);
  EXPECT_EQ(ScrollPosFor(48, 480, false), 192);
  g_Wheel = 2;
  EXPECT_EQ(WheelStep(), 12);
  g_Wheel = 8;
  EXPECT_EQ(WheelStep(), 48);
  HScrollRange r = ScrChgRange(16, 521);
  EXPECT_FALSE(r.enabled);
  EXPECT_EQ(r.maximum, 0);
  r = ScrChgRange(16, 400);
  EXPECT_TRUE(r.enabled);
  EXPECT_EQ(r.maximum, 22);
  EXPECT_EQ(r.pageStep, 80);
}

TEST_F(FormLogicTest, MeasureChangeResizesLanesAndKeepsTheViewFromTheBottom) {
  DocData d = ShippedScript("simple.dfn");
  MesChangeScroll s;
  ASSERT_TRUE(ApplyMesChange(d, 10, 0, 0, s));
  EXPECT_EQ(d.MesCount, 10);
  for (const LaneMes& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), 11u);
  EXPECT_EQ(s.maximum, 480);
  EXPECT_EQ(s.value, 480);
  ASSERT_TRUE(ApplyMesChange(d, 1, 480, 432, s));
  EXPECT_EQ(s.maximum, 528);  // the value keeps its distance from the maximum
  EXPECT_EQ(s.value, 480);
  d.ScrlUp = 0;
  ASSERT_TRUE(ApplyMesChange(d, -1, 528, 100, s));
  EXPECT_EQ(s.value, 100);
  EXPECT_FALSE(ApplyMesChange(d, -11, 480, 0, s));
  EXPECT_FALSE(ApplyMesChange(d, g_MaxMeasure, 480, 0, s));
  EXPECT_EQ(d.MesCount, 10);
  EXPECT_EQ(MesLabelText(9), "最大小節数： 9");
}

}  // namespace
