// Window reset (ClearThisWin): the parts that are plain functions of the record and the frame.
#include "chartview/form1_reset.h"

#include "chartview/formglobals.h"

namespace mk {

void ResetDocument(DocData& doc) {
  // Every field takes its initial value and every table is released, except what the reset keeps.
  DocData fresh;
  fresh.ScriptNo = doc.ScriptNo;
  fresh.MaxPart = doc.MaxPart;
  fresh.ScrollPos = doc.ScrollPos;
  fresh.ObjReadCount = doc.ObjReadCount;
  fresh.CurMes = doc.CurMes;
  fresh.CurStep = doc.CurStep;
  fresh.CurLane = doc.CurLane;
  fresh.CurY = doc.CurY;
  fresh.CurX = doc.CurX;
  fresh.CurTick = doc.CurTick;
  fresh.Fmt = std::move(doc.Fmt);
  fresh.Keys = std::move(doc.Keys);
  fresh.PKeys = std::move(doc.PKeys);
  doc = std::move(fresh);
}

void ClearFramePanels(FramePanels& frame) {
  for (FrameMenu m :
       {FrameMenu::Menu_Help_Info, FrameMenu::Menu_View_Parts, FrameMenu::Menu_Play_PlayAll,
        FrameMenu::Menu_Play_PlayHere, FrameMenu::Menu_Play_Stop, FrameMenu::Menu_Edit_Undo, FrameMenu::Menu_File_Save,
        FrameMenu::Menu_File_SaveAs, FrameMenu::Menu_File_Close, FrameMenu::Menu_File_Wiz, FrameMenu::Menu_Edit_Find,
        FrameMenu::Menu_Edit_WAVCmp, FrameMenu::Menu_Edit_SelectAll, FrameMenu::Menu_View_Data})
    frame.SetMenuEnabled(m, false);
  for (FrameTool t : {FrameTool::TB1_Save, FrameTool::TB1_PlayAll, FrameTool::TB1_PlayHere, FrameTool::TB1_PlayStop,
                      FrameTool::TB1_Find})
    frame.SetToolAvailable(t, false);

  frame.SetTabEnabled(false);
  frame.ClearList(DefList::Grid1);
  frame.SetListEnabled(DefList::Grid1, false);
  frame.ClearList(DefList::Grid2);
  frame.SetListEnabled(DefList::Grid2, false);
  frame.SetDefToolbarEnabled(false);
  for (DefTool t : kDefTools) frame.SetDefToolMixed(t, true);

  g_Filling = -1;
  for (HeaderText f : {HeaderText::Text6, HeaderText::Text1, HeaderText::Text2, HeaderText::Text5, HeaderText::Text3,
                       HeaderText::Text4}) {
    frame.SetHeaderText(f, "");
    frame.SetHeaderEnabled(f, false);
    frame.SetHeaderEditableLook(f, false);
  }
  for (int k = 0; k < 3; ++k) {
    frame.SetSliderMax(k, 1);
    frame.SetSliderEnabled(k, false);
  }
  frame.SetFileButton(3, "None", false);
  frame.SetFileButton(4, "None", false);
  frame.SetMesLabel("最大小節数： 0", false);
  for (int k = 1; k <= 3; ++k) frame.SetLevelCaption(k, "難度" + std::to_string(k) + "：");
  for (int k = 1; k <= 3; ++k) frame.SetPanelText("Level" + std::to_string(k), "難度" + std::to_string(k) + "：-");
  for (int k = 1; k <= 3; ++k) frame.SetPanelEnabled("Level" + std::to_string(k), false);
  frame.SetBgaTabCaption("----");
  g_Filling = 0;

  frame.CloseBgaWin();
}

}  // namespace mk
