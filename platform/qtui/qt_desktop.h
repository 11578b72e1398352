// plat::Desktop on Qt Widgets. Install it once the QApplication exists:
//   plat::QtDesktop desktop;  plat::SetDesktop(&desktop);
#pragma once
#include <QString>
#include <QStringList>

#include "platform/core/desktop.h"

class QWidget;

namespace plat {

class QtDesktop : public Desktop {
 public:
  // Dialogs are centred on the active window, or on this one when no window is active.
  explicit QtDesktop(QWidget* fallbackParent = nullptr) : fallbackParent_(fallbackParent) {}
  ~QtDesktop() override;

  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) override;
  InputResult InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
  FileDialogResult OpenFileDialog(const FileDialogRequest& req) override;
  FileDialogResult SaveFileDialog(const FileDialogRequest& req) override;
  void Beep() override;
  void SetWaitCursor(bool on) override;
  bool OpenDocument(const std::string& path) override;
  bool ShowFileProperties(const std::string& path) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool StartProgramAndWait(const std::string& program, const std::vector<std::string>& args, int waitMs) override;

 private:
  QWidget* Parent() const;
  FileDialogResult FileDialog(const FileDialogRequest& req, bool save);

  QWidget* fallbackParent_;
  bool waitCursor_ = false;
};

// Installs the toolkit's Japanese translations (Debian's qt6-translations-l10n) in the running
// application, so that its standard dialogs speak the program's language; false when they are
// not installed (the dialogs then stay in English).
bool LoadToolkitTranslations();

// Qt name filters for a classic filter text, one per entry in the same order, each unique
// ("Desc (*.a *.b)", the descriptions kept unique); an entry's index is its 0-based place.
QStringList QtNameFilters(const std::string& classicFilter);
// The description part of such a name filter, as the dialog shows it without the patterns.
QString QtFilterDescription(const QString& nameFilter);
// 0-based place of the dialog's selected filter (full or shown form) in nameFilters; -1 if none.
int QtFilterIndex(const QStringList& nameFilters, const QString& selected);

}  // namespace plat
