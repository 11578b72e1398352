// The frame's edit commands: the Edit menu and the chart context menu EditM on the active chart
// window (clipboard, measures, the selection commands, the WAV table, the mode switch), and the
// focus rule that keeps the Edit menu's Cut, Copy and Delete off the chart while the user types in
// the edit palette.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabBar>
#include <QTreeWidget>

#include <optional>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/form1_edithost.h"
#include "chartview/formglobals.h"
#include "chartview/mixedbutton.h"
#include "deftables/wavtable.h"
#include "editing/clipboard.h"
#include "editing/measures.h"
#include "editing/selcmds.h"
#include "frame/formp.h"
#include "frame/settings.h"

namespace mk {

namespace {

// The chart window the commands act on: the current one, nullptr while none is open.
Form1* EditTarget() { return WinAt(g_CurWin); }

// Adds the command's rectangle to the window's floating selection and redraws.
void SelectScope(SelScope scope) {
  Form1* w = EditTarget();
  if (!w) return;
  const std::optional<SelRect> r = SelectionRect(w->Doc(), scope);
  if (!r) return;
  const auto v = [](int x) { return static_cast<int16_t>(x); };
  w->ObjSelect(v(r->x1), v(r->m1), v(r->s1), v(r->x2), v(r->m2), v(r->s2));
  w->ObjDraw();
}

}  // namespace

void FormP::ConnectEditCommands() {
  const std::pair<const char*, void (FormP::*)()> items[] = {
      {"Menu_Edit_Cut", &FormP::Menu_Edit_Cut_Click},
      {"Menu_Edit_Copy", &FormP::Menu_Edit_Copy_Click},
      {"Menu_Edit_Paste", &FormP::Menu_Edit_Paste_Click},
      {"Menu_Edit_Delete", &FormP::Menu_Edit_Delete_Click},
      {"Menu_Edit_Mode", &FormP::Menu_Edit_Mode_Click},
      {"EditM_Cut", &FormP::EditM_Cut_Click},
      {"EditM_Copy", &FormP::EditM_Copy_Click},
      {"EditM_Paste", &FormP::EditM_Paste_Click},
      {"EditM_Delete", &FormP::EditM_Delete_Click},
      {"EditM_MesInsert", &FormP::EditM_MesInsert_Click},
      {"EditM_MesDelete", &FormP::EditM_MesDelete_Click},
      {"EditM_MesChange", &FormP::EditM_MesChange_Click},
      {"EditM_SelectMes", &FormP::EditM_SelectMes_Click},
      {"EditM_SelectLane", &FormP::EditM_SelectLane_Click},
      {"EditM_SelectPart", &FormP::EditM_SelectPart_Click},
      {"EditM_SelectAll", &FormP::EditM_SelectAll_Click},
      {"Menu_Edit_SelectAll", &FormP::Menu_Edit_SelectAll_Click},
      {"Menu_Edit_WAVCmp", &FormP::Menu_Edit_WAVCmp_Click},
      {"Menu_Edit_WAVDel", &FormP::Menu_Edit_WAVDel_Click},
  };
  for (auto [name, fn] : items) connect(menus_.at(name), &QAction::triggered, this, [this, fn = fn] { (this->*fn)(); });
  // The header text boxes and the free-statement box take the standard text keys (Ctrl+A, C, X,
  // V and Z, Del) as their own: those shortcuts of the Edit menu act on the chart only while no
  // text field has the keyboard.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { TextFocusChanged(now); });
}

void FormP::TextFocusChanged(QWidget* now) {
  const QWidget* palette[] = {texts_[0], texts_[1], texts_[2],   texts_[3],   texts_[4],   text6_,
                              grid1_,    grid2_,    sliders_[0], sliders_[1], sliders_[2], tab1_};
  bool typing = false;
  for (const QWidget* w : palette) typing = typing || (now && w && (now == w || w->isAncestorOf(now)));
  g_TextFocus = typing ? -1 : 0;
}

void FormP::EnablePaste() {
  SetMenuEnabled(FrameMenu::Menu_Edit_Paste, true);
  SetMenuEnabled(FrameMenu::EditM_Paste, true);
}

void FormP::EditM_Copy_Click() {
  Form1* w = EditTarget();
  if (w && EditCopy(w->Doc())) EnablePaste();
}

void FormP::EditM_Cut_Click() {
  Form1* w = EditTarget();
  if (!w) return;
  WindowEditHost host(*w);
  if (EditCut(w->Doc(), host)) EnablePaste();
}

void FormP::EditM_Delete_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    EditDelete(w->Doc(), host);
  }
}

void FormP::EditM_Paste_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    EditPaste(w->Doc(), host, PasteAt::Pointer);
  }
}

void FormP::Menu_Edit_Copy_Click() {
  if (g_TextFocus == 0) EditM_Copy_Click();
}
void FormP::Menu_Edit_Cut_Click() {
  if (g_TextFocus == 0) EditM_Cut_Click();
}
void FormP::Menu_Edit_Delete_Click() {
  if (g_TextFocus == 0) EditM_Delete_Click();
}

void FormP::Menu_Edit_Paste_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    EditPaste(w->Doc(), host, PasteAt::Scroll);
  }
}

void FormP::EditM_MesInsert_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    MesInsert(w->Doc(), host, g_MaxMeasure);
  }
}

void FormP::EditM_MesDelete_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    MesDelete(w->Doc(), host, g_MaxMeasure);
  }
}

void FormP::EditM_MesChange_Click() {
  if (Form1* w = EditTarget()) {
    WindowEditHost host(*w);
    MesLength(w->Doc(), host);
  }
}

void FormP::EditM_SelectMes_Click() { SelectScope(SelScope::Measure); }
void FormP::EditM_SelectLane_Click() { SelectScope(SelScope::Lane); }
void FormP::EditM_SelectPart_Click() { SelectScope(SelScope::Part); }
void FormP::EditM_SelectAll_Click() { SelectScope(SelScope::All); }
void FormP::Menu_Edit_SelectAll_Click() { EditM_SelectAll_Click(); }

// Both WAV commands land the floating selection through the window first (the drop may grow the
// chart, and the window's scroll range follows), then republish the chart, whose definition
// lists change.
void FormP::Menu_Edit_WAVCmp_Click() { WavTableCommand(&WAVCompact); }
void FormP::Menu_Edit_WAVDel_Click() { WavTableCommand(&WAVDelUnused); }

void FormP::WavTableCommand(bool (*command)(DocData&, int)) {
  Form1* w = EditTarget();
  if (!w) return;
  w->ObjDeSel();
  command(w->Doc(), g_MaxMeasure);
  w->SetThisWin();
  w->ObjDraw();
  SetDirty();
}

// Sets the other mode's button down without the buttons' own click handling: unlike a click on
// the toolbar, the floating selection stays as it is.
void FormP::Menu_Edit_Mode_Click() {
  Form1* w = EditTarget();
  if (!w) return;
  // Checking an action of the exclusive pair releases the other without triggering either.
  tools_.at(SelectMode() ? "TB1_ModeDraw" : "TB1_ModeSelect")->defaultAction()->setChecked(true);
  w->ObjDraw();
}

}  // namespace mk
