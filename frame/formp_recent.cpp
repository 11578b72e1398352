// File > Open and the recent-file entries of the File menu.
#include <QMdiArea>
#include <QMenu>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/formglobals.h"
#include "frame/chartprobe.h"
#include "frame/formp.h"
#include "frame/queryopen.h"
#include "frame/recent.h"
#include "platform/core/desktop.h"

namespace mk {

namespace {

std::string Entry(const std::vector<std::string>& list, int i) {
  return i >= 0 && i < static_cast<int>(list.size()) ? list[i] : std::string();
}

}  // namespace

bool FormP::CheckChartReadable(const std::string& path, const std::string& title, int16_t script,
                               ChartReadAhead& ahead) {
  SetWaitCursor(true);
  const ScriptMessage fault = TryChartRead(path, title, script, &ahead);
  SetWaitCursor(false);
  if (fault.empty()) return true;
  plat::TheDesktop().MessageBox(fault.text, fault.title, plat::MsgButtons::Ok, fault.icon);
  return false;
}

int16_t FormP::OpenChart(ChartReadAhead&& ahead, int16_t script, OpenTarget target, int16_t current) {
  SetWaitCursor(true);
  g_NewScript = script;
  int16_t win = 0;
  if (target == OpenTarget::NewWindow) {
    if (Form1* w = NewWindowStep()) win = w->WinNo();
  } else if (ReuseStep(current)) {
    win = current;
  }
  if (win == 0) {
    SetWaitCursor(false);
    return 0;
  }
  return ReadIntoWindow(std::move(ahead), win);
}

void FormP::Menu_File_Open_Click() {
  if (ended_ || !CheckWindowLimit()) return;
  plat::FileDialogRequest req;
  req.filter = g_OpenFilter;
  req.filterIndex = g_DefaultScript;
  // The folder of the chart read or saved last, without a name: the name the definition and
  // header file choices left in the shared dialog is theirs, and so is the folder they start in.
  req.initialDir = LastChartFolder(g_RecentFiles);
  req.mustExist = true;
  const plat::FileDialogResult r = plat::TheDesktop().OpenFileDialog(req);
  if (r.cancelled) return;
  const std::string path = ChartPathCanonical(r.path);
  if (ShowOpenWindow(path)) return;
  // The file type only settles what the extension leaves open: a chart is never read as another
  // script's, which its next save would write over it.
  const ScriptChoice c = ChooseScript(path, static_cast<int16_t>(r.filterIndex), 0);
  if (c.skipped || c.script == 0) return;
  ChartReadAhead ahead;
  if (!CheckChartReadable(path, FileTitle(path), c.script, ahead)) return;

  Form1* cur = WinAt(g_CurWin);
  const bool untitled = cur && cur->windowTitle().startsWith(QStringLiteral("新規"));
  const OpenTarget target = FileOpenTarget(cur != nullptr, g_FirstOpen, untitled, cur && g_Docs[g_CurWin].Dirty != 0);
  // A modified chart is only replaced after the save question.
  if (target == OpenTarget::Current && !AskSaveBeforeReuse(g_CurWin)) return;

  OpenChart(std::move(ahead), c.script, target, g_CurWin);
}

void FormP::Menu_File_Recent_Click(int16_t index) {
  const int e = index - 1;
  if (ended_ || e < 0 || e >= static_cast<int>(g_RecentFiles.size()) || g_RecentFiles[e].empty()) return;
  const std::string path = ChartPathCanonical(g_RecentFiles[e]);  // reading reorders the list
  if (ShowOpenWindow(path) || !CheckWindowLimit()) return;
  // The script the entry was read or saved with; where that is gone or the entry (from an older
  // settings file) names it only by a title that several scripts share, the file's extension.
  int16_t script = RecentEntryScript(Entry(g_RecentScriptFiles, e), Entry(g_RecentScripts, e));
  if (script == 0) {
    const ScriptChoice c = ChooseScript(path, 0, 0);
    if (c.skipped || c.script == 0) return;
    script = c.script;
  }
  ChartReadAhead ahead;
  if (!CheckChartReadable(path, FileTitle(path), script, ahead)) return;

  Form1* cur = WinAt(g_CurWin);
  const OpenTarget target = RecentOpenTarget(g_OpenCount, cur != nullptr, cur && g_Docs[g_CurWin].Dirty != 0);
  OpenChart(std::move(ahead), script, target, g_CurWin);
}

void FormP::AddRecentFile(const std::string& path, int16_t script) {
  if (path.empty()) return;
  const std::string title =
      script >= 1 && script < static_cast<int>(g_ScriptTable.size()) ? g_ScriptTable[script].Title : std::string();
  AddRecentEntry(g_RecentFiles, g_RecentScripts, g_RecentScriptFiles, ChartPathCanonical(path), title,
                 ScriptFileName(g_ScriptTable, script));
  RefreshRecentMenu();
}

void FormP::BuildRecentMenu() {
  CanonicalRecentList(g_RecentFiles, g_RecentScripts, g_RecentScriptFiles);
  if (g_RecentFiles.empty() || g_RecentFiles[0].empty()) return;
  RefreshRecentMenu();
}

// Separator shown; one item per entry up to the first empty one, created on first need,
// enabled only for a file that exists with an installed script.
void FormP::RefreshRecentMenu() {
  menus_["Menu_File_Recent_0"]->setVisible(true);
  for (int i = 0; i < static_cast<int>(g_RecentFiles.size()) && i <= g_RecentNum; ++i) {
    const std::string& path = g_RecentFiles[i];
    if (path.empty()) break;
    const int item = i + 1;
    if (item >= static_cast<int>(recentItems_.size())) {
      auto* a = new QAction(fileMenu_);
      const std::string name = "Menu_File_Recent_" + std::to_string(item);
      a->setObjectName(QString::fromStdString(name));
      fileMenu_->insertAction(recentEnd_, a);
      connect(a, &QAction::triggered, this, [this, item] { Menu_File_Recent_Click(static_cast<int16_t>(item)); });
      menus_[name] = a;
      recentItems_.push_back(a);
    }
    QAction* a = recentItems_[item];
    a->setText(QString::fromStdString(RecentCaption(i, path)));
    a->setVisible(true);
    a->setEnabled(RecentEntryUsable(path, Entry(g_RecentScriptFiles, i), Entry(g_RecentScripts, i)));
  }
}

}  // namespace mk
