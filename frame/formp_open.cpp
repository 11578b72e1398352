// The window table and the ways a chart gets into a window: new windows, reuse, opening a file
// by its extension; saving and the modified mark; the frame's toolbar and File commands.
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <optional>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "editing/undo.h"
#include "frame/cascade.h"
#include "frame/fieldwarn.h"
#include "frame/formp.h"
#include "frame/frmscrsel.h"
#include "frame/queryopen.h"
#include "frame/recent.h"
#include "platform/core/desktop.h"
#include "platform/core/filestamp.h"

namespace mk {

bool FormP::CheckWindowLimit() {
  if (g_OpenCount < g_MaxWindows && FirstFreeSlot() != 0) return true;
  plat::TheDesktop().MessageBox(WindowLimitText(), "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
  return false;
}

Form1* FormP::NewWindowStep() {
  const int16_t slot = FirstFreeSlot();
  if (slot == 0) return nullptr;
  g_OpenCount = static_cast<int16_t>(g_OpenCount + 1);
  g_NewSlot = slot;
  // The window opened last, that a new one is cascaded from.
  std::optional<QPoint> previous;
  const QList<QMdiSubWindow*> open = mdi_->subWindowList(QMdiArea::CreationOrder);
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if ((*it)->isVisible() && !(*it)->isMinimized() && !(*it)->isMaximized()) {
      previous = (*it)->pos();
      break;
    }
  auto* w = new Form1(this);
  mdi_->addSubWindow(w);
  w->SetDesignSize();
  // Placed in the cascade before it is shown; a window larger than what the chart area has
  // right of and below that place starts at that size.
  const QSize area = mdi_->viewport()->size();
  const int step = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w) +
                   w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, w);
  const QPoint at = NextCascadePosition(previous, step, area);
  w->move(at);
  if (area.width() > 0 && area.height() > 0)
    w->resize(std::min(w->width(), area.width() - at.x()), std::min(w->height(), area.height() - at.y()));
  g_Wins[slot] = w;
  if (!w->Form_Load()) {
    w->CloseWithoutQuestion();
    return nullptr;
  }
  if (w->x() < 0 || w->y() < 0) w->move(std::max(0, w->x()), std::max(0, w->y()));
  return w;
}

bool FormP::ReuseStep(int16_t win) {
  Form1* w = WinAt(win);
  if (!w) return false;
  g_NewSlot = win;
  if (w->RefleshScr()) return true;
  w->CloseWithoutQuestion();
  return false;
}

ScriptChoice FormP::ShowScriptChoice(const std::string& path, const std::vector<int16_t>& candidates, int16_t win) {
  if (chooser_) return chooser_(path, candidates, win);
  FrmScrSel dlg(this);
  dlg.GetData(path, candidates, win);
  dlg.exec();
  ScriptChoice c;
  int16_t skipped = 0;
  dlg.SendData(c.script, skipped);
  c.skipped = skipped != 0;
  c.newWindow = dlg.NewWindowTicked();
  return c;
}

ScriptChoice FormP::ChooseScript(const std::string& path, int16_t preferred, int16_t win) {
  const ScriptByExtension pick = ChooseScriptByExtension(path, preferred);
  if (pick.candidates.empty()) {
    ScriptChoice c;
    c.skipped = false;
    c.script = pick.script;
    return c;
  }
  ScriptChoice c = ShowScriptChoice(path, pick.candidates, win);
  c.asked = true;
  return c;
}

int16_t FormP::QueryScriptOpen(const std::string& given, int16_t win) {
  if (ended_) return 0;
  const std::string path = ChartPathCanonical(given);
  if (ShowOpenWindow(path)) return 1;
  if (win != -1 && !WinAt(win)) win = -1;  // the window has closed in the meantime
  const std::string title = FileTitle(path);
  const ScriptChoice c = ChooseScript(path, 0, win);
  if (c.skipped) return 0;
  if (c.script == 0) return -1;

  const int16_t script = c.script;
  bool newWindow = true;
  if (!c.asked) {
    if (win != -1) {
      const plat::MsgAnswer a =
          plat::TheDesktop().MessageBox("ドロップされたウインドウに読み込みますか？\r\n(いいえ で新規に開く)", "確認",
                                        plat::MsgButtons::YesNoCancel, plat::MsgIcon::None);
      if (a == plat::MsgAnswer::Cancel) return 0;
      newWindow = a == plat::MsgAnswer::No;
    }
  } else {
    newWindow = win == -1 || c.newWindow;
  }
  if (win != -1 && !newWindow && !WinAt(win)) newWindow = true;
  ChartReadAhead ahead;
  if (!CheckWindowLimit() || !CheckChartReadable(path, title, script, ahead)) return 0;

  if (!newWindow && !AskSaveBeforeReuse(win)) return 0;
  return OpenChart(std::move(ahead), script, newWindow ? OpenTarget::NewWindow : OpenTarget::Current, win);
}

bool FormP::ShowOpenWindow(const std::string& path) {
  // One file in two windows would let the window saved last undo the other's save unasked.
  Form1* w = WinAt(WindowOfFile(path));
  if (!w) return false;
  if (w->isMinimized()) w->showNormal();
  if (mdi_->activeSubWindow() != w) mdi_->setActiveSubWindow(w);
  return true;
}

bool FormP::ConfirmChangedOnDisk(DocData& d, const std::string& path) {
  if (plat::CheckFileStamp(path, d.Stamp) != plat::FileCheck::Changed) return true;
  return plat::TheDesktop().MessageBox(ChangedOnDiskQuestion(path), "確認", plat::MsgButtons::OkCancel,
                                       plat::MsgIcon::Exclamation) == plat::MsgAnswer::Ok;
}

bool FormP::AskSaveBeforeReuse(int16_t win) {
  Form1* w = WinAt(win);
  if (!w) return false;
  w->ObjDeSel();
  const DocData& d = g_Docs[win];
  if (d.Dirty == 0) return true;
  const plat::MsgAnswer a = plat::TheDesktop().MessageBox(ModifiedQuestion(d.FileName), "確認",
                                                          plat::MsgButtons::YesNoCancel, plat::MsgIcon::None);
  if (a == plat::MsgAnswer::Cancel) return false;
  if (a == plat::MsgAnswer::Yes) {
    QuerySave(win);
    if (g_SaveCancel != 0) {
      g_SaveCancel = 0;
      return false;
    }
  }
  return true;
}

// Gives window target the chart read ahead. Should the file have changed since (a save in
// between, another program) it is read again; should that fail, it is reported and the window
// closed.
int16_t FormP::ReadIntoWindow(ChartReadAhead&& ahead, int16_t target) {
  const std::string path = ahead.path;
  const ChartReadResult r = ChartRead(std::move(ahead), target, g_NewScript);
  SetWaitCursor(false);
  if (r) {
    // The window read into is the one the frame shows (a drop may aim at a window in the back).
    if (Form1* w = WinAt(target)) {
      if (mdi_->activeSubWindow() != w) mdi_->setActiveSubWindow(w);
      // The read has published it as the current chart: its pending activation would only fill
      // the frame's lists and fields once more.
      if (g_SkipActivate == 0 && g_CurWin == target && mdi_->activeSubWindow() == w) lastActivated_ = w;
    }
    return 1;
  }
  plat::TheDesktop().MessageBox(path + "\r\n" + ChartReadMessage(r), "エラー", plat::MsgButtons::Ok,
                                plat::MsgIcon::Critical);
  if (Form1* w = WinAt(target)) w->CloseWithoutQuestion();
  return 0;
}

void FormP::QuerySave(int16_t win) {
  const int16_t w = win == -1 ? g_CurWin : win;
  Form1* form = WinAt(w);
  if (!form) return;
  DocData& d = g_Docs[w];
  const int16_t s = d.ScriptNo;
  plat::FileDialogRequest req;
  if (s >= 1 && s < static_cast<int>(g_ScriptTable.size()))
    req.filter = FilterPair(g_ScriptTable[s].Title, g_ScriptTable[s].Exts);
  req.filterIndex = 1;
  req.overwritePrompt = true;
  // A chart whose definition files were chosen from another folder than its own is told so
  // first: the names the save writes are found only beside the chart.
  if (!DefinitionsBesideChart(d) &&
      plat::TheDesktop().MessageBox(DefinitionFolderNote(d.FilePath, d.Folder), "確認", plat::MsgButtons::OkCancel,
                                    plat::MsgIcon::Exclamation) != plat::MsgAnswer::Ok) {
    g_SaveCancel = -1;
    return;
  }
  // The chart's name in the definitions' folder (its own folder unless a definition or header
  // file came from another); an untitled chart starts without a name in the folder of the chart
  // read or saved last. The name the definition and header file choices left in the shared
  // dialog is theirs.
  req.initialDir = d.FilePath.empty() ? LastChartFolder(g_RecentFiles)
                   : d.Folder.empty() ? FileFolder(d.FilePath)
                                      : d.Folder;
  req.initialName = d.FileName;
  const plat::FileDialogResult r = plat::TheDesktop().SaveFileDialog(req);
  if (r.cancelled) {
    g_SaveCancel = -1;
    return;
  }
  const std::string path = ChartPathCanonical(r.path);
  // The dialog itself asked before replacing another file; a chart's own file that changed on
  // disk is asked about here.
  if (!d.FilePath.empty() && plat::SameFile(path, d.FilePath) && !ConfirmChangedOnDisk(d, path)) {
    g_SaveCancel = -1;
    return;
  }
  WarnBeforeSave(w);
  std::string error;
  if (!ChartWrite(path, FileTitle(path), w, s, 0, &error)) {
    // Not written: the chart stays modified and whoever asked for the save does not go on.
    plat::TheDesktop().MessageBox(path + "\r\n" + error, "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    g_SaveCancel = -1;
    return;
  }
  g_SaveCancel = 0;
  MarkSaved(d);
  ShowAsSaved(w);
  form->CheckDirty();
}

void FormP::QuerySaveAs() {
  const int16_t w = g_CurWin;
  Form1* form = WinAt(w);
  if (!form) return;
  DocData& d = g_Docs[w];
  // Only the chart's own file is written without the dialog, and only while the definitions'
  // names it holds are found beside it.
  const std::string path = d.FilePath;
  if (path.empty() || !QFile::exists(QString::fromStdString(path)) || !DefinitionsBesideChart(d)) {
    QuerySave(-1);
    return;
  }
  if (!ConfirmChangedOnDisk(d, path)) return;  // nothing written: the chart keeps its mark
  WarnBeforeSave(w);
  std::string error;
  if (!ChartWrite(path, FileTitle(path), w, d.ScriptNo, 0, &error)) {
    plat::TheDesktop().MessageBox(path + "\r\n" + error, "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    return;
  }
  MarkSaved(d);
  ShowAsSaved(w);
  form->CheckDirty();
}

void FormP::SetDirty() {
  Form1* form = WinAt(g_CurWin);
  if (!form) return;
  // Every caller changes what Undo does not take back; the grid's own edits mark the chart
  // through ObjBackup instead.
  MarkChangedBeyondUndo(g_Docs[g_CurWin]);
  form->CheckDirty();
}

// Chart reader and writer hosts.
void FormP::SetThisWin(int16_t window) {
  if (Form1* w = WinAt(window)) w->SetThisWin();
}
void FormP::MesChange(int16_t window, int16_t delta) {
  if (Form1* w = WinAt(window)) w->Mes_Change(delta);
}
void FormP::SetCaption(int16_t window, const std::string& caption) {
  if (Form1* w = WinAt(window)) w->SetCaption(caption);
}
void FormP::ObjDeSel(int16_t window) {
  Form1* w = WinAt(window);
  if (!w || w->Doc().SelCount < 1) return;
  w->ObjDeSel();
  w->ObjDraw();  // the window shows what the writer then writes (and what still floats)
}

// File and toolbar commands.
void FormP::Menu_File_New_N_Click(int16_t index) {
  if (!CheckWindowLimit()) return;
  g_NewScript = index;
  NewWindowStep();
}

void FormP::Menu_Edit_Undo_Click() {
  if (Form1* w = WinAt(g_CurWin)) w->Undo();
}

void FormP::Menu_File_Close_Click() {
  if (Form1* w = WinAt(g_CurWin)) w->close();
}

void FormP::Toolbar1_ButtonClick(const std::string& key) {
  if (key == "TB1_New") {
    Menu_File_New_N_Click(g_DefaultScript);
  } else if (key == "TB1_Open") {
    Menu_File_Open_Click();
  } else if (key == "TB1_Save") {
    QuerySaveAs();
  } else if (key == "TB1_PlayAll") {
    Menu_Play_PlayAll_Click();
  } else if (key == "TB1_PlayHere") {
    Menu_Play_PlayHere_Click();
  } else if (key == "TB1_PlayStop") {
    Menu_Play_Stop_Click();
  } else if (key == "TB1_ModeSelect" || key == "TB1_ModeDraw") {
    if (Form1* w = WinAt(g_CurWin)) {
      w->ObjDeSel();
      w->ObjDraw();
    }
  } else if (key == "TB1_Find") {
    Menu_Edit_Find_Click();
  }
}

void FormP::Toolbar1_ButtonMenuClick(int index) { Menu_File_New_N_Click(static_cast<int16_t>(index)); }

}  // namespace mk
