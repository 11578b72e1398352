#include "qt_desktop.h"

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <thread>

namespace plat {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

// The process has ended: gone, or a zombie that nobody has reaped yet.
bool ProcessEnded(qint64 pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(in, text)) return true;
  const size_t close = text.rfind(')');
  return close == std::string::npos || close + 2 >= text.size() || text[close + 2] == 'Z' || text[close + 2] == 'X';
}

// Waits up to waitMs for a process that is not our child (a detached start) to end.
void AwaitEnd(qint64 pid, int waitMs) {
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
  if (fd >= 0) {
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, waitMs) < 0 && errno == EINTR) {
    }
    close(fd);
    return;
  }
  if (errno == ESRCH) return;
  // No process handles here: look at the process now and then.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (!ProcessEnded(pid) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

struct ButtonSpec {
  QMessageBox::StandardButton button;
  MsgAnswer answer;
};

std::vector<ButtonSpec> ButtonsOf(MsgButtons b) {
  using SB = QMessageBox::StandardButton;
  switch (b) {
    case MsgButtons::Ok: return {{SB::Ok, MsgAnswer::Ok}};
    case MsgButtons::OkCancel: return {{SB::Ok, MsgAnswer::Ok}, {SB::Cancel, MsgAnswer::Cancel}};
    case MsgButtons::AbortRetryIgnore:
      return {{SB::Abort, MsgAnswer::Abort}, {SB::Retry, MsgAnswer::Retry}, {SB::Ignore, MsgAnswer::Ignore}};
    case MsgButtons::YesNoCancel:
      return {{SB::Yes, MsgAnswer::Yes}, {SB::No, MsgAnswer::No}, {SB::Cancel, MsgAnswer::Cancel}};
    case MsgButtons::YesNo: return {{SB::Yes, MsgAnswer::Yes}, {SB::No, MsgAnswer::No}};
    case MsgButtons::RetryCancel: return {{SB::Retry, MsgAnswer::Retry}, {SB::Cancel, MsgAnswer::Cancel}};
  }
  return {{SB::Ok, MsgAnswer::Ok}};
}

QMessageBox::Icon IconOf(MsgIcon i) {
  switch (i) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Japanese labels for the buttons, as the rest of the program's texts.
QString LabelOf(QMessageBox::StandardButton b) {
  switch (b) {
    case QMessageBox::Ok: return QStringLiteral("OK");
    case QMessageBox::Cancel: return QStringLiteral("キャンセル");
    case QMessageBox::Abort: return QStringLiteral("中止(&A)");
    case QMessageBox::Retry: return QStringLiteral("再試行(&R)");
    case QMessageBox::Ignore: return QStringLiteral("無視(&I)");
    case QMessageBox::Yes: return QStringLiteral("はい(&Y)");
    case QMessageBox::No: return QStringLiteral("いいえ(&N)");
    default: return QString();
  }
}

}  // namespace

QtDesktop::~QtDesktop() {
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

QWidget* QtDesktop::Parent() const {
  QWidget* w = QApplication::activeWindow();
  return w ? w : fallbackParent_;
}

MsgAnswer QtDesktop::MessageBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(Parent());
  box.setWindowTitle(Q(title));
  box.setText(Q(text));
  box.setTextFormat(Qt::PlainText);
  box.setIcon(IconOf(icon));
  std::vector<ButtonSpec> specs = ButtonsOf(buttons);
  QPushButton* first = nullptr;
  for (const ButtonSpec& s : specs) {
    QPushButton* b = box.addButton(s.button);
    b->setText(LabelOf(s.button));
    if (!first) first = b;
  }
  box.setDefaultButton(first);  // the first button is the default one, as the classic box
  // Escape and the close box cancel where the set has a cancelling button; Ok alone closes as Ok.
  for (const ButtonSpec& s : specs)
    if (s.answer == MsgAnswer::Cancel) box.setEscapeButton(s.button);
  if (buttons == MsgButtons::Ok) box.setEscapeButton(QMessageBox::Ok);
  // A wait cursor must not hide the arrow over a question.
  bool waiting = waitCursor_;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  for (const ButtonSpec& s : specs)
    if (clicked && box.standardButton(clicked) == s.button) return s.answer;
  // Closed without a button (no escape button in the set): the cancelling answer of the set.
  switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    default: return MsgAnswer::Cancel;
  }
}

InputResult QtDesktop::InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
  QInputDialog dlg(Parent());
  dlg.setWindowTitle(Q(title));
  dlg.setLabelText(Q(prompt));
  dlg.setInputMode(QInputDialog::TextInput);
  dlg.setTextValue(Q(defaultText));
  dlg.setOkButtonText(QStringLiteral("OK"));
  dlg.setCancelButtonText(QStringLiteral("キャンセル"));
  InputResult r;
  bool waiting = waitCursor_;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  int rc = dlg.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  if (rc == QDialog::Accepted) {
    r.cancelled = false;
    r.text = S(dlg.textValue());
  }
  return r;
}

FileDialogResult QtDesktop::FileDialog(const FileDialogRequest& req, bool save) {
  QFileDialog dlg(Parent(), Q(req.title));
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setOption(QFileDialog::HideNameFilterDetails, true);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save || !req.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite, !req.overwritePrompt);
  QStringList filters = QtNameFilters(req.filter);
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    int idx = req.filterIndex;
    if (idx < 1 || idx > filters.size()) idx = 1;
    dlg.selectNameFilter(filters[idx - 1]);
  }
  if (!req.initialDir.empty() && QFileInfo(Q(req.initialDir)).isDir()) dlg.setDirectory(Q(req.initialDir));
  if (!req.initialName.empty()) dlg.selectFile(Q(req.initialName));
  FileDialogResult r;
  r.filterIndex = req.filterIndex;
  bool waiting = waitCursor_;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  int rc = dlg.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  if (rc != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return r;
  QString path = QDir::cleanPath(dlg.selectedFiles().first());
  r.cancelled = false;
  r.path = S(path);
  r.fileTitle = S(QFileInfo(path).fileName());
  int chosen = QtFilterIndex(filters, dlg.selectedNameFilter());
  if (chosen >= 0) r.filterIndex = chosen + 1;
  return r;
}

FileDialogResult QtDesktop::OpenFileDialog(const FileDialogRequest& req) { return FileDialog(req, false); }

FileDialogResult QtDesktop::SaveFileDialog(const FileDialogRequest& req) { return FileDialog(req, true); }

void QtDesktop::Beep() { QApplication::beep(); }

void QtDesktop::SetWaitCursor(bool on) {
  if (on == waitCursor_) return;  // one override at most, so on/off pairs always balance
  waitCursor_ = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool QtDesktop::OpenDocument(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

bool QtDesktop::ShowFileProperties(const std::string& path) {
  QFileInfo fi(Q(path));
  if (!fi.exists()) return false;
  QLocale loc(QLocale::Japanese, QLocale::Japan);
  QString kind = fi.isDir() ? QStringLiteral("フォルダー") : QStringLiteral("ファイル");
  QString text = QStringLiteral("名前: %1\n場所: %2\n種類: %3\n").arg(fi.fileName(), fi.absolutePath(), kind);
  if (!fi.isDir()) text += QStringLiteral("サイズ: %1 バイト\n").arg(loc.toString(static_cast<qlonglong>(fi.size())));
  text += QStringLiteral("更新日時: %1\n").arg(fi.lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
  text += QStringLiteral("読み取り専用: %1").arg(fi.isWritable() ? QStringLiteral("いいえ") : QStringLiteral("はい"));
  QMessageBox box(QMessageBox::Information, fi.fileName() + QStringLiteral("のプロパティ"), text, QMessageBox::Ok,
                  Parent());
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return true;
}

bool QtDesktop::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  return StartProgramAndWait(program, args, 0);
}

// The wait blocks the window for at most waitMs; the caller keeps that short.
bool QtDesktop::StartProgramAndWait(const std::string& program, const std::vector<std::string>& args, int waitMs) {
  QStringList list;
  for (const std::string& a : args) list << Q(a);
  qint64 pid = 0;
  if (!QProcess::startDetached(Q(program), list, QString(), &pid)) return false;
  if (pid > 0 && waitMs > 0) AwaitEnd(pid, waitMs);
  return true;
}

}  // namespace plat
