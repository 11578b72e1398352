// The conversion wizard's driver: page 1, the target window, page 2, then the copy.
#include <QAction>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/formglobals.h"
#include "convert/convertchart.h"
#include "frame/formp.h"
#include "frame/settings.h"
#include "frame/wizard1.h"
#include "frame/wizard2.h"
#include "platform/core/desktop.h"

namespace mk {

void FormP::Menu_File_Wiz_Click() { ConvertChart(); }

void FormP::ConvertChart() {
  // The copy needs an open source chart: with none, there is nothing to convert.
  if (!WinAt(g_CurWin)) return;
  if (!CheckWindowLimit()) return;
  g_WizSrc = g_CurWin;
  g_WizState = 0;
  for (;;) {
    {
      Wizard1 page1(this);
      if (dialogHook_) dialogHook_(&page1);
      page1.exec();
    }
    if (g_WizState == -1) return;
    g_NewScript = g_WizScript;
    g_WizState = 0;
    Form1* target = NewWindowStep();  // its load ends with g_WizState 99
    if (!target) return;
    g_WizDst = target->WinNo();
    Form1* source = WinAt(g_WizSrc);
    if (!source) {  // cannot happen while the pages are modal; nothing to convert then
      target->CloseWithoutQuestion();
      return;
    }
    g_WizState = -99;
    {
      Wizard2 page2(source->Doc(), target->Doc(), this);
      if (dialogHook_) dialogHook_(&page2);
      page2.exec();
    }
    if (g_WizState == -1 || g_WizState == -2) {
      const bool back = g_WizState == -2;
      target->CloseWithoutQuestion();
      g_WizState = 0;
      if (back) continue;
      return;
    }
    ConvertChartCopy(g_WizSrc, g_WizDst, g_WizLaneMap);
    return;
  }
}

void FormP::ConvertChartCopy(int16_t s, int16_t d, const std::vector<int16_t>& laneMap) {
  Form1* source = WinAt(s);
  Form1* target = WinAt(d);
  if (!source || !target) return;
  SetWaitCursor(true);
  source->ObjDeSel();
  if (ConvertShrinksWav(source->Doc(), target->Doc()))
    plat::TheDesktop().MessageBox(
        "変換元と変換先のWAV定義数が違うため、\r\n変換元のWAV定義を詰めます。\r\nその際BGAオブジェは番号か狂うので注意"
        "して下さい。",
        "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
  const ConvertResult r = mk::ConvertChartCopy(source->Doc(), target->Doc(), laneMap, g_MaxMeasure);
  target->Mes_Change(0);
  target->ObjDraw();
  target->SetThisWin();
  target->CheckDirty();
  SetWaitCursor(false);
  const std::string leftOut = ConvertLeftOutMessage(r);
  if (!leftOut.empty()) plat::TheDesktop().MessageBox(leftOut, "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
}

}  // namespace mk
