// SetThisWin: the frame's per-chart controls rebuilt from one window's record.
#include "chartview/form1_publish.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "chartfmt/utils.h"
#include "chartview/canvasdraw.h"
#include "chartview/formglobals.h"

namespace mk {

namespace {

std::vector<DefRow> Rows(const std::vector<DefEntry>& table, int16_t mode, int first) {
  std::vector<DefRow> rows;
  const int n = DefNumMax(mode);
  if (n <= 0) return rows;
  rows.reserve(n + 1 - first);
  for (int i = first; i <= n; ++i) {
    DefRow r;
    r.code = DefNumToText(static_cast<int16_t>(i), mode);
    if (i < static_cast<int>(table.size())) {
      r.file = ShownValueOf(table[i].File).text;
      r.comment = ShownValueOf(table[i].Comment).text;
    }
    rows.push_back(std::move(r));
  }
  return rows;
}

// Filled field: text, enabled, editable look; otherwise empty, disabled, button face.
void Field(FramePanels& frame, HeaderText f, bool filled, const std::string& text) {
  frame.SetHeaderText(f, filled ? text : std::string());
  frame.SetHeaderEnabled(f, filled);
  frame.SetHeaderEditableLook(f, filled);
}

}  // namespace

std::vector<DefRow> WavRows(const DocData& doc) { return Rows(doc.Wav, doc.Fmt.WNum, 1); }
std::vector<DefRow> BgaRows(const DocData& doc) { return Rows(doc.Bga, doc.Fmt.BNum, 0); }

std::string PlayerProgram(const ScrFormat& fmt, const std::string& installDir) {
  std::string viewer = fmt.Viewer;
  std::replace(viewer.begin(), viewer.end(), '\\', '/');
  return installDir + viewer;
}

bool PlayerAvailable(const DocData& doc, const std::string& installDir) {
  if (doc.Fmt.Viewer.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(PlayerProgram(doc.Fmt, installDir)), ec);
}

void ApplyDefTabView(const DocData& doc, FramePanels& frame) {
  frame.SetDefToolbarEnabled(true);
  for (DefTool t : kDefTools) frame.SetDefToolAvailable(t, true);

  const int tab = doc.DefTab >= 0 && doc.DefTab <= 2 ? doc.DefTab : 2;
  frame.SelectTab(tab + 1);
  frame.SetTabEnabled(true);
  if (tab == 0) {
    frame.SetListVisible(DefList::Grid1, true);
    frame.SetListEnabled(DefList::Grid1, true);
    frame.SetListVisible(DefList::Grid2, false);
    frame.SetListEnabled(DefList::Grid2, false);
    frame.SetFreeTextVisible(false);
    frame.SetHeaderEnabled(HeaderText::Text6, false);
    frame.SelectListRow(DefList::Grid1, doc.CurDef);
    frame.SetDefPlayTooltip("プレビューを再生");
    frame.CloseBgaWin();
  } else if (tab == 1) {
    frame.SetListVisible(DefList::Grid1, false);
    frame.SetListEnabled(DefList::Grid1, false);
    frame.SetListVisible(DefList::Grid2, true);
    frame.SetListEnabled(DefList::Grid2, true);
    frame.SetFreeTextVisible(false);
    frame.SetHeaderEnabled(HeaderText::Text6, false);
    frame.SetDefToolAvailable(DefTool::TB2_Stop, false);
    frame.SetDefToolAvailable(DefTool::TB2_Prev, false);
    frame.SetDefPlayTooltip("BGAを表示");
    frame.SelectListRow(DefList::Grid2, doc.CurDef + 1);
  } else {
    frame.SetListVisible(DefList::Grid1, false);
    frame.SetListEnabled(DefList::Grid1, false);
    frame.SetListVisible(DefList::Grid2, false);
    frame.SetListEnabled(DefList::Grid2, false);
    frame.SetFreeTextVisible(true);
    frame.SetHeaderEnabled(HeaderText::Text6, true);
    for (DefTool t : kDefTools) frame.SetDefToolAvailable(t, false);
    frame.SetDefToolAvailable(DefTool::TB2_Play, true);
    frame.SetDefPlayTooltip("命令文を譜面に反映");
    frame.CloseBgaWin();
  }
}

void PublishChart(const DocData& doc, int16_t window, const std::string& scriptInfo, FramePanels& frame) {
  g_CurWin = window;
  frame.SetWaitCursor(true);

  frame.ClearList(DefList::Grid1);
  frame.AppendListRows(DefList::Grid1, WavRows(doc));
  frame.ClearList(DefList::Grid2);
  frame.AppendListRows(DefList::Grid2, BgaRows(doc));

  ApplyDefTabView(doc, frame);

  frame.SetMenuEnabled(FrameMenu::Menu_Help_Info, !scriptInfo.empty());
  frame.SetMenuEnabled(FrameMenu::Menu_View_Parts, true);

  const bool player = PlayerAvailable(doc, g_InstallDir);
  for (FrameMenu m : {FrameMenu::Menu_Play_PlayAll, FrameMenu::Menu_Play_PlayHere, FrameMenu::Menu_Play_Stop})
    frame.SetMenuEnabled(m, player);
  for (FrameTool t : {FrameTool::TB1_PlayAll, FrameTool::TB1_PlayHere, FrameTool::TB1_PlayStop})
    frame.SetToolAvailable(t, player);
  frame.SetToolAvailable(FrameTool::TB1_Save, true);
  frame.SetToolAvailable(FrameTool::TB1_Find, true);

  frame.SetMenuEnabled(FrameMenu::Menu_Edit_Undo, doc.UndoOn != 0);
  for (FrameMenu m :
       {FrameMenu::Menu_File_Save, FrameMenu::Menu_File_SaveAs, FrameMenu::Menu_File_Wiz, FrameMenu::Menu_File_Close,
        FrameMenu::Menu_Edit_Find, FrameMenu::Menu_Edit_WAVCmp, FrameMenu::Menu_Edit_SelectAll,
        FrameMenu::Menu_View_Data, FrameMenu::Menu_Edit_Mode, FrameMenu::Menu_Edit_WAVDel, FrameMenu::EditM_MesInsert,
        FrameMenu::EditM_MesDelete, FrameMenu::EditM_MesChange, FrameMenu::EditM_Sel})
    frame.SetMenuEnabled(m, true);

  const bool sel = doc.SelCount >= 1;
  for (FrameMenu m : {FrameMenu::Menu_Edit_Copy, FrameMenu::Menu_Edit_Cut, FrameMenu::Menu_Edit_Delete,
                      FrameMenu::EditM_Copy, FrameMenu::EditM_Cut, FrameMenu::EditM_Delete})
    frame.SetMenuEnabled(m, sel);
  const bool paste = ClipPasteable(doc);
  frame.SetMenuEnabled(FrameMenu::Menu_Edit_Paste, paste);
  frame.SetMenuEnabled(FrameMenu::EditM_Paste, paste);

  g_Filling = -1;
  frame.SetHeaderText(HeaderText::Text6, doc.FreeText);
  frame.SetHeaderEnabled(HeaderText::Text6, true);
  frame.SetHeaderEditableLook(HeaderText::Text6, true);

  const ScrKeys& keys = doc.Keys;
  Field(frame, HeaderText::Text1, !keys.Title.empty(), doc.Title);
  Field(frame, HeaderText::Text2, !keys.Artist.empty(), doc.Artist);
  Field(frame, HeaderText::Text5, !keys.Genre.empty(), doc.Genre);
  Field(frame, HeaderText::Text3, !keys.Bpm.empty(), FormatNumberShort(doc.Bpm));
  Field(frame, HeaderText::Text4, !keys.BaseBpm.empty(), FormatNumberShort(doc.BaseBpm));

  for (int k = 0; k < 3; ++k) {
    if (!keys.Level[k].empty()) {
      frame.SetSliderMax(k, doc.Fmt.Lv[k]);
      frame.SetSliderPosition(k, doc.Level[k]);
      frame.SetSliderEnabled(k, true);
      frame.SetSliderTickSpacing(k, doc.Fmt.Lv[k] <= 20 ? 1 : 10);
    } else {
      frame.SetSliderEnabled(k, false);
      frame.SetSliderMax(k, 1);
      frame.SetSliderPosition(k, 0);
      frame.SetSliderTickSpacing(k, 1);
    }
  }

  if (!keys.Wall.empty())
    frame.SetFileButton(3, doc.Wall.empty() ? "None" : doc.Wall, true);
  else
    frame.SetFileButton(3, "None", false);
  if (!keys.Pre.empty())
    frame.SetFileButton(4, doc.Pre.empty() ? "None" : doc.Pre, true);
  else
    frame.SetFileButton(4, "None", false);

  frame.SetMesLabel("最大小節数： " + std::to_string(doc.MesCount), true);

  for (int k = 1; k <= 3; ++k) {
    const std::string key = "Level" + std::to_string(k);
    const std::string& name = doc.Fmt.Lvn[k - 1];
    if (!name.empty()) {
      frame.SetLevelCaption(k, name + "：");
      frame.SetPanelText(key, name + "：" + std::to_string(doc.Level[k - 1]));
      frame.SetPanelEnabled(key, true);
    } else {
      frame.SetLevelCaption(k, "難度" + std::to_string(k) + "：");
      frame.SetPanelText(key, "難度" + std::to_string(k) + "：-");
      frame.SetPanelEnabled(key, false);
    }
  }

  frame.SetPanelText("Info", SelectionInfoText(doc.SelCount));
  frame.SetPanelText("Note", "");
  frame.SetBgaTabCaption(keys.Bga.empty() ? "----" : "BGA");

  g_Filling = 0;
  frame.SetWaitCursor(false);

  if (doc.BgaPreview != 0) frame.ShowBgaWin();
}

}  // namespace mk
