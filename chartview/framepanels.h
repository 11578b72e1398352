// The frame's per-chart controls as the chart window sees them: menu items, main-toolbar
// buttons, the definition lists, the header fields, the level sliders and labels, the tab strip,
// the definition toolbar, the status-bar panels and the BGA preview window. The window reset
// (ClearThisWin) and the publishing of the current chart (SetThisWin) write them only through
// this interface; the frame implements it on its widgets and tests record the calls.
#pragma once
#include <string>
#include <vector>

namespace mk {

enum class FrameMenu {
  Menu_File_Save,
  Menu_File_SaveAs,
  Menu_File_Close,
  Menu_File_Wiz,
  Menu_Edit_Undo,
  Menu_Edit_Cut,
  Menu_Edit_Copy,
  Menu_Edit_Paste,
  Menu_Edit_Delete,
  Menu_Edit_Find,
  Menu_Edit_WAVCmp,
  Menu_Edit_SelectAll,
  Menu_Edit_Mode,
  Menu_Edit_WAVDel,
  Menu_View_Parts,
  Menu_View_Data,
  Menu_Play_PlayAll,
  Menu_Play_PlayHere,
  Menu_Play_Stop,
  Menu_Help_Info,
  EditM_Cut,
  EditM_Copy,
  EditM_Paste,
  EditM_Delete,
  EditM_Replace,
  EditM_MesInsert,
  EditM_MesDelete,
  EditM_MesChange,
  EditM_Sel,
};

// Main-toolbar buttons that need a chart.
enum class FrameTool { TB1_Save, TB1_PlayAll, TB1_PlayHere, TB1_PlayStop, TB1_Find };
// Definition toolbar (Toolbar2) buttons.
enum class DefTool { TB2_Play, TB2_Stop, TB2_Up, TB2_Down, TB2_Prev };
constexpr DefTool kDefTools[] = {DefTool::TB2_Play, DefTool::TB2_Stop, DefTool::TB2_Up, DefTool::TB2_Down,
                                 DefTool::TB2_Prev};
enum class DefList { Grid1, Grid2 };
// Header fields: Text1 title, Text2 artist, Text3 BPM, Text4 base BPM, Text5 genre, Text6 free
// statements.
enum class HeaderText { Text1, Text2, Text3, Text4, Text5, Text6 };

struct DefRow {
  std::string code;
  std::string file;
  std::string comment;
};

class FramePanels {
 public:
  virtual ~FramePanels() = default;

  virtual void SetMenuEnabled(FrameMenu item, bool enabled) = 0;
  // Available: mixed state off, then enabled. Greyed: mixed state on, then disabled.
  virtual void SetToolAvailable(FrameTool button, bool available) = 0;

  virtual void SetDefToolbarEnabled(bool enabled) = 0;
  virtual void SetDefToolMixed(DefTool button, bool mixed) = 0;  // the mixed state alone
  virtual void SetDefToolAvailable(DefTool button, bool available) = 0;
  virtual void SetDefPlayTooltip(const std::string& text) = 0;

  virtual void SetTabEnabled(bool enabled) = 0;
  virtual void SelectTab(int position) = 0;  // 1 WAV, 2 BGA, 3 free statements
  virtual void SetBgaTabCaption(const std::string& caption) = 0;

  virtual void ClearList(DefList list) = 0;
  virtual void AppendListRows(DefList list, const std::vector<DefRow>& rows) = 0;
  virtual void SetListEnabled(DefList list, bool enabled) = 0;
  virtual void SetListVisible(DefList list, bool visible) = 0;
  // Selects row position (1-based) and scrolls it into view; a position without a row selects
  // nothing.
  virtual void SelectListRow(DefList list, int position) = 0;

  virtual void SetHeaderText(HeaderText field, const std::string& text) = 0;
  virtual void SetHeaderEnabled(HeaderText field, bool enabled) = 0;
  // Editable look (the window-background colour) or the button-face colour.
  virtual void SetHeaderEditableLook(HeaderText field, bool editable) = 0;
  virtual void SetFreeTextVisible(bool visible) = 0;

  // Level slider k (0..2).
  virtual void SetSliderMax(int k, int max) = 0;
  virtual void SetSliderPosition(int k, int position) = 0;
  virtual void SetSliderEnabled(int k, bool enabled) = 0;
  virtual void SetSliderTickSpacing(int k, int spacing) = 0;

  // Command3 (wallpaper picture, k = 3) and Command4 (preview sound, k = 4).
  virtual void SetFileButton(int k, const std::string& caption, bool enabled) = 0;
  virtual void SetMesLabel(const std::string& caption, bool enabled) = 0;  // Label10
  virtual void SetLevelCaption(int k, const std::string& caption) = 0;     // Label4..6 for k 1..3

  // Status-bar panels by key ("Level1".."Level3", "Info", ...).
  virtual void SetPanelText(const std::string& key, const std::string& text) = 0;
  virtual void SetPanelEnabled(const std::string& key, bool enabled) = 0;

  // The BGA preview window: closing it (when open) clears the preview flag of the current
  // chart; showing it draws the current BGA definition.
  virtual void CloseBgaWin() = 0;
  virtual void ShowBgaWin() = 0;

  virtual void SetWaitCursor(bool on) = 0;
};

}  // namespace mk
