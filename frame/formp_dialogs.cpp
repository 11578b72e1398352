// The frame's search, batch edit and note count commands: each shows its dialog modally for
// the current chart window and redraws the window afterwards.
#include <QAction>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "frame/datainfo.h"
#include "frame/findwin.h"
#include "frame/formp.h"
#include "frame/replacewin.h"

namespace mk {

void FormP::ConnectDialogCommands() {
  connect(Menu("Menu_Edit_Find"), &QAction::triggered, this, [this] { Menu_Edit_Find_Click(); });
  connect(Menu("EditM_Replace"), &QAction::triggered, this, [this] { EditM_Replace_Click(); });
  connect(Menu("Menu_View_Data"), &QAction::triggered, this, [this] { Menu_View_Data_Click(); });
  connect(Menu("Menu_File_Wiz"), &QAction::triggered, this, [this] { Menu_File_Wiz_Click(); });
}

void FormP::Menu_Edit_Find_Click() {
  Form1* w = WinAt(g_CurWin);
  if (!w) return;
  FindWin dlg(w, this);
  if (dialogHook_) dialogHook_(&dlg);
  dlg.exec();
  if (WinAt(g_CurWin) == w) w->ObjDraw();
}

void FormP::EditM_Replace_Click() {
  Form1* w = WinAt(g_CurWin);
  if (!w) return;
  ReplaceWin dlg(w, randomFactory_ ? randomFactory_() : nullptr, this);
  if (dialogHook_) dialogHook_(&dlg);
  dlg.exec();
  if (WinAt(g_CurWin) == w) w->ObjDraw();
}

void FormP::Menu_View_Data_Click() {
  Form1* w = WinAt(g_CurWin);
  if (!w) return;
  DataInfo dlg(w->Doc(), this);
  if (dialogHook_) dialogHook_(&dlg);
  dlg.exec();
}

}  // namespace mk
