// A FramePanels that keeps the last state written to every control, for tests of the reset and
// of the publishing without a frame window.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chartview/formglobals.h"
#include "chartview/framepanels.h"

namespace testsupport {

struct ToolState {
  bool mixed = false;
  bool enabled = true;
};

class RecordingPanels : public mk::FramePanels {
 public:
  std::map<mk::FrameMenu, bool> menu;
  std::map<mk::FrameTool, ToolState> tool;
  std::map<mk::DefTool, ToolState> defTool;
  bool defToolbarEnabled = true;
  std::string playTooltip;
  bool tabEnabled = true;
  int tab = 0;
  std::string bgaTab;
  std::map<mk::DefList, std::vector<mk::DefRow>> rows;
  std::map<mk::DefList, bool> listEnabled, listVisible;
  std::map<mk::DefList, int> selectedRow;
  std::map<mk::HeaderText, std::string> text;
  std::map<mk::HeaderText, bool> textEnabled, editableLook;
  bool freeTextVisible = false;
  int sliderMax[3] = {-1, -1, -1}, sliderPos[3] = {-1, -1, -1}, sliderTick[3] = {-1, -1, -1};
  bool sliderEnabled[3] = {true, true, true};
  std::map<int, std::pair<std::string, bool>> fileButton;
  std::string mesLabel;
  bool mesLabelEnabled = true;
  std::map<int, std::string> levelCaption;
  std::map<std::string, std::string> panel;
  std::map<std::string, bool> panelEnabled;
  int bgaClosed = 0, bgaShown = 0;
  bool waitCursor = false;
  // g_Filling seen while each header text was written.
  std::vector<int16_t> fillingSeen;

  void SetMenuEnabled(mk::FrameMenu i, bool e) override { menu[i] = e; }
  void SetToolAvailable(mk::FrameTool b, bool a) override { tool[b] = ToolState{!a, a}; }
  void SetDefToolbarEnabled(bool e) override { defToolbarEnabled = e; }
  void SetDefToolMixed(mk::DefTool b, bool m) override { defTool[b].mixed = m; }
  void SetDefToolAvailable(mk::DefTool b, bool a) override { defTool[b] = ToolState{!a, a}; }
  void SetDefPlayTooltip(const std::string& t) override { playTooltip = t; }
  void SetTabEnabled(bool e) override { tabEnabled = e; }
  void SelectTab(int p) override { tab = p; }
  void SetBgaTabCaption(const std::string& c) override { bgaTab = c; }
  void ClearList(mk::DefList l) override { rows[l].clear(); }
  void AppendListRows(mk::DefList l, const std::vector<mk::DefRow>& r) override {
    rows[l].insert(rows[l].end(), r.begin(), r.end());
  }
  void SetListEnabled(mk::DefList l, bool e) override { listEnabled[l] = e; }
  void SetListVisible(mk::DefList l, bool v) override { listVisible[l] = v; }
  void SelectListRow(mk::DefList l, int p) override { selectedRow[l] = p; }
  void SetHeaderText(mk::HeaderText f, const std::string& t) override {
    text[f] = t;
    fillingSeen.push_back(mk::g_Filling);
  }
  void SetHeaderEnabled(mk::HeaderText f, bool e) override { textEnabled[f] = e; }
  void SetHeaderEditableLook(mk::HeaderText f, bool e) override { editableLook[f] = e; }
  void SetFreeTextVisible(bool v) override { freeTextVisible = v; }
  void SetSliderMax(int k, int m) override { sliderMax[k] = m; }
  void SetSliderPosition(int k, int p) override { sliderPos[k] = p; }
  void SetSliderEnabled(int k, bool e) override { sliderEnabled[k] = e; }
  void SetSliderTickSpacing(int k, int s) override { sliderTick[k] = s; }
  void SetFileButton(int k, const std::string& c, bool e) override { fileButton[k] = {c, e}; }
  void SetMesLabel(const std::string& c, bool e) override {
    mesLabel = c;
    mesLabelEnabled = e;
  }
  void SetLevelCaption(int k, const std::string& c) override { levelCaption[k] = c; }
  void SetPanelText(const std::string& k, const std::string& t) override { panel[k] = t; }
  void SetPanelEnabled(const std::string& k, bool e) override { panelEnabled[k] = e; }
  void CloseBgaWin() override { ++bgaClosed; }
  void ShowBgaWin() override { ++bgaShown; }
  void SetWaitCursor(bool on) override { waitCursor = on; }
};

}  // namespace testsupport
