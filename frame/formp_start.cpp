// The frame's life: start-up, shutdown, the close paths, the wheel hook, window activation,
// drops on the frame, the frame's minimum size, the stream timer and the sound preview.
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>
#include <utility>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/form1_reset.h"
#include "chartview/formglobals.h"
#include "chartview/picturebox.h"
#include "frame/formp.h"
#include "frame/frmsplash.h"
#include "frame/queryopen.h"
#include "frame/unopened.h"
#include "platform/core/desktop.h"
#include "platform/qtui/first_paint.h"

namespace mk {

namespace {
// The wheel hook: an application-wide filter that hands every event to one function.
class EventHook : public QObject {
 public:
  EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> fn) : QObject(parent), fn_(std::move(fn)) {}
  bool eventFilter(QObject* watched, QEvent* e) override { return fn_(watched, e); }

 private:
  std::function<bool(QObject*, QEvent*)> fn_;
};
}  // namespace

bool FormP::MDIForm_Load() {
  loading_ = true;
  g_InstallDir = options_.installDir;
  if (g_InstallDir.empty() || g_InstallDir.back() != '/') g_InstallDir += '/';
  prevReadHost_ = SetChartReadHost(this);
  prevWriteHost_ = SetChartWriteHost(this);

  LoadSettings(*this);
  g_Wins.assign(static_cast<size_t>(g_MaxWindows) + 1, QPointer<Form1>());
  show();
  FitSavedPlacement();  // once shown, the frame's borders and least size are known
  g_SplashMode = -1;
  if (options_.splash && g_SplashOn == -1) {
    FrmSplash splash(this);
    splash.exec();  // start-up waits until its time is up
  }

  // Without the playback library the program runs silent; the preview commands say so. The
  // device opens beside the rest of start-up: a preview asked for before it is open waits for it.
  const std::string lib = options_.soundLibrary.empty() ? g_InstallDir + kSoundLibraryFile : options_.soundLibrary;
  sound_.OpenLater(lib, reinterpret_cast<void*>(winId()), 5);
  plat::RunAfterFirstPaint(this, [this] {
    if (!ended_) sound_.StartOpening();
  });
  if (g_Streaming != 0) timer1_->start();

  wheelHook_ = new EventHook(this, [this](QObject* w, QEvent* e) { return WheelHookProc(w, e); });
  qApp->installEventFilter(wheelHook_);

  g_Filling = 0;
  playing_ = 0;
  g_SaveCancel = 0;
  g_SkipActivate = 0;
  ClearClipboard();
  g_TextFocus = 0;
  std::fill(g_SlotUsed.begin(), g_SlotUsed.end(), int16_t{0});
  g_OpenCount = 0;
  Picture1_Resize();
  ClearFramePanels(*this);  // no chart yet

  const ScriptMessage msg = LoadScriptList(g_InstallDir, g_DefExt);
  if (!msg.empty()) {
    plat::TheDesktop().MessageBox(msg.fatal ? StartEndingText(msg) : msg.text, msg.title, plat::MsgButtons::Ok,
                                  msg.icon);
  }
  if (msg.fatal) {
    exitStatus_ = 1;  // a start that could not run is no success
    g_SplashMode = 0;
    All_End();
    return false;
  }
  BuildScriptItems();
  BuildRecentMenu();

  int opened = 0;
  std::vector<std::string> unread;  // no script reads them; a refused file has had its message
  const std::string cwd = QDir::currentPath().toStdString();
  for (const std::string& arg : options_.args) {
    if (ended_) return false;
    const std::string path = CommandLinePath(arg, cwd);
    const int16_t r = QueryScriptOpen(path, -1);
    if (r > 0) opened += r;
    if (r < 0) unread.push_back(path);
  }
  if (!unread.empty())
    plat::TheDesktop().MessageBox(UnopenedFilesMessage(unread), "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
  if (opened == 0 && !ended_) {
    g_NewScript = g_DefaultScript;
    g_CurWin = 1;
    NewWindowStep();
  }
  loading_ = false;
  g_SplashMode = 0;
  return !ended_;
}

void FormP::All_End() {
  if (ended_) return;
  timer1_->stop();
  sound_.Term();
  delete wheelHook_;  // the hook is taken off
  wheelHook_ = nullptr;
  for (const char* name : {"temp.tmp", "ftemp.tmp"}) {
    std::remove((g_InstallDir + name).c_str());
    const std::string other = ScratchFilePath(name);
    if (!other.empty()) std::remove(other.c_str());
  }
  SaveSettings(*this);
  ended_ = true;
  SetChartReadHost(prevReadHost_);
  SetChartWriteHost(prevWriteHost_);
  CloseBgaWin();
  g_Ending = true;  // every window closes without its own close handling
  mdi_->closeAllSubWindows();
  g_Ending = false;
  if (formTool_) formTool_->hide();
  hide();
  if (options_.quit)
    options_.quit();
  else
    QCoreApplication::exit(0);
}

// Closes every chart window through its own close handling; false when one refused.
bool FormP::CloseAllCharts() {
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    QPointer<QMdiSubWindow> p(w);
    if (!w->close() && p) return false;
  }
  return true;
}

void FormP::closeEvent(QCloseEvent* e) {
  if (ended_) {
    e->accept();
    return;
  }
  if (!CloseAllCharts()) {
    e->ignore();
    return;
  }
  e->accept();
  All_End();
}

// File > Exit takes the way of the close box: every modified chart is asked about first.
void FormP::Menu_File_Exit_Click() { close(); }

void FormP::OnSubWindowActivated(QMdiSubWindow* w) {
  if (!w || ended_) return;
  // Handled once the current event is done, so that a window that is still loading becomes
  // current only after its load.
  QPointer<Form1> f(qobject_cast<Form1*>(w));
  QTimer::singleShot(0, this, [this, f] {
    if (!f || ended_ || f == lastActivated_ || WinAt(f->WinNo()) != f) return;
    if (mdi_->activeSubWindow() != f) return;
    lastActivated_ = f;
    f->Form_Activate();
  });
}

void FormP::WindowClosed(int16_t win) {
  if (ended_) return;
  if (lastActivated_ && lastActivated_->WinNo() == win) lastActivated_ = nullptr;
  // Closing a window that was not the current one leaves the current chart published.
  if (win != g_CurWin)
    if (Form1* cur = WinAt(g_CurWin)) cur->SetThisWin();
  // With the last chart window gone the edit commands have nothing to act on.
  if (g_OpenCount == 0)
    for (FrameMenu m :
         {FrameMenu::Menu_Edit_Cut, FrameMenu::Menu_Edit_Copy, FrameMenu::Menu_Edit_Paste, FrameMenu::Menu_Edit_Delete,
          FrameMenu::Menu_Edit_Mode, FrameMenu::Menu_Edit_WAVDel, FrameMenu::EditM_Cut, FrameMenu::EditM_Copy,
          FrameMenu::EditM_Paste, FrameMenu::EditM_Delete, FrameMenu::EditM_Replace, FrameMenu::EditM_MesInsert,
          FrameMenu::EditM_MesDelete, FrameMenu::EditM_MesChange, FrameMenu::EditM_Sel})
      SetMenuEnabled(m, false);
}

Form1* FormP::ActiveChart() const {
  auto* f = qobject_cast<Form1*>(mdi_->activeSubWindow());
  if (f && WinAt(f->WinNo()) == f) return f;
  return WinAt(g_CurWin);
}

bool FormP::eventFilter(QObject* watched, QEvent* e) {
  if (watched == palette_ && e->type() == QEvent::Resize) Picture1_Resize();
  if (e->type() == QEvent::Resize && watched == Panel("Note")) FitStatusNote();
  if (watched == resizeBar_) ResizeBar_Mouse(e);
  if (watched == paletteTitle_) Label1_Mouse(e);
  if (watched == formTool_ && FormTool_Event(e)) return true;
  return QMainWindow::eventFilter(watched, e);
}

// Wheel turns over the chart area go to the current chart window (and no further).
bool FormP::WheelHookProc(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::Wheel || wheelBusy_ != 0) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || !(w == mdi_ || mdi_->isAncestorOf(w))) return false;
  wheelBusy_ = 1;
  const int dy = static_cast<QWheelEvent*>(e)->angleDelta().y();
  if (Form1* cur = WinAt(g_CurWin)) {
    if (dy < 0)
      cur->vbWheelMinus();
    else if (dy > 0)
      cur->vbWheelPlus();
  }
  wheelBusy_ = 0;
  return true;
}

void FormP::dragEnterEvent(QDragEnterEvent* e) {
  if (!DroppedFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void FormP::dropEvent(QDropEvent* e) {
  const QStringList files = DroppedFiles(e->mimeData());
  if (files.isEmpty()) return;
  e->acceptProposedAction();
  MDIForm_OLEDragDrop(files);
}

void FormP::MDIForm_OLEDragDrop(const QStringList& files) {
  int16_t last = 0;
  for (const QString& f : files) last = QueryScriptOpen(f.toStdString(), -1);
  if (!files.isEmpty() && last == -1) plat::TheDesktop().Beep();
}

void FormP::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  MDIForm_Resize();
}

void FormP::MDIForm_Resize() {
  if (isMinimized()) return;
  const int chrome = height() - (centralWidget() ? centralWidget()->height() : height());
  setMinimumSize(300, std::max(0, chrome) + 150);
  const int half = width() / 2;
  if (palette_->width() > half && half > 0) palette_->setFixedWidth(half);
}

void FormP::ErrorBox(const std::string& text) {
  if (holdErrors_)
    heldErrors_.push_back(text);
  else
    plat::TheDesktop().MessageBox(text, "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
}

void FormP::HoldErrorBoxes(bool hold) {
  holdErrors_ = hold;
  if (hold || heldErrors_.empty()) return;
  // Taken out first: a box ends the press of a canvas, which ends the hold once more.
  const std::vector<std::string> texts = std::exchange(heldErrors_, {});
  for (const std::string& t : texts) ErrorBox(t);
}

void FormP::PreviewPlay(const std::string& file) {
  if (!QFile::exists(QString::fromStdString(file))) return;
  if (!sound_.Available()) {
    ErrorBox("サウンドライブラリ " + std::string(kSoundLibraryFile) + " を読み込めなかったため、再生できません");
    return;
  }
  sound_.Load(file, g_Streaming != 0 ? 1 : 0);
  if (sound_.Play() != 0) ErrorBox("指定されたファイルは、パスが通っていない、あるいは再生できない形式です");
  playing_ = -1;
}

void FormP::PreviewStop() {
  if (playing_ == 0) return;
  if (sound_.Stop() != 0)
    plat::TheDesktop().MessageBox("演奏停止時に zq_tone.dll でエラーが発生しました", "エラー", plat::MsgButtons::Ok,
                                  plat::MsgIcon::Critical);
}

}  // namespace mk
