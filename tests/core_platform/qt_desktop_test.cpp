// The Qt desktop driven headless: dialogs are answered by a timer that works the modal widget.
#include "platform/qtui/qt_desktop.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>

#include "temp_dir.h"

namespace {

class QtDesktopTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "platform_qt_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);  // lives for the whole test program
    }
  }
  // Runs act on the modal dialog as soon as it is shown; the test fails if none comes.
  static void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;  // deleted by itself once done
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries = 0]() mutable {
      QWidget* w = QApplication::activeModalWidget();
      if (!w && ++tries <= 500) return;
      timer->stop();
      timer->deleteLater();
      if (w)
        act(w);
      else
        ADD_FAILURE() << "no modal dialog appeared";
    });
    timer->start();
  }
  static void ClickButton(QWidget* w, const QString& label) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
      if (b->text() == label) {
        b->click();
        return;
      }
    ADD_FAILURE() << "no button " << label.toStdString();
  }
  plat::QtDesktop desk_;
};

TEST_F(QtDesktopTest, MessageBoxShowsJapaneseAndMapsTheAnswer) {
  QString seenTitle, seenText;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  int buttons = 0;
  WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    seenTitle = box->windowTitle();
    seenText = box->text();
    seenIcon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    ClickButton(w, QStringLiteral("いいえ(&N)"));
  });
  plat::MsgAnswer a =
      desk_.MessageBox("変更を保存しますか?", "確認", plat::MsgButtons::YesNoCancel, plat::MsgIcon::Question);
  EXPECT_EQ(a, plat::MsgAnswer::No);
  EXPECT_EQ(seenTitle, QStringLiteral("確認"));
  EXPECT_EQ(seenText, QStringLiteral("変更を保存しますか?"));
  EXPECT_EQ(seenIcon, QMessageBox::Question);
  EXPECT_EQ(buttons, 3);
}

TEST_F(QtDesktopTest, MessageBoxEscapeGivesTheCancellingAnswer) {
  const struct {
    plat::MsgButtons buttons;
    plat::MsgAnswer onEscape;
  } cases[] = {
      {plat::MsgButtons::OkCancel, plat::MsgAnswer::Cancel},
      {plat::MsgButtons::YesNoCancel, plat::MsgAnswer::Cancel},
      {plat::MsgButtons::Ok, plat::MsgAnswer::Ok},
      {plat::MsgButtons::RetryCancel, plat::MsgAnswer::Cancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons));
    WhenModal([](QWidget* w) { static_cast<QMessageBox*>(w)->reject(); });
    EXPECT_EQ(desk_.MessageBox("m", "t", c.buttons, plat::MsgIcon::None), c.onEscape);
  }
}

TEST_F(QtDesktopTest, InputBoxAcceptAndCancel) {
  QString seenDefault;
  WhenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    seenDefault = dlg->textValue();
    dlg->setTextValue(QStringLiteral("１２ 小節"));
    dlg->accept();
  });
  plat::InputResult r = desk_.InputBox("小節数", "入力", "10");
  EXPECT_EQ(seenDefault, QStringLiteral("10"));
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(r.text, "１２ 小節");

  WhenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_TRUE(desk_.InputBox("p", "t", "x").cancelled);
}

// With the toolkit's Japanese translations the standard dialogs speak the program's language.
TEST_F(QtDesktopTest, StandardDialogsAreInJapanese) {
  ASSERT_TRUE(plat::LoadToolkitTranslations()) << "qt6-translations-l10n is not installed";
  QStringList inputButtons, fileTexts;
  WhenModal([&](QWidget* w) {
    for (QPushButton* b : w->findChildren<QPushButton*>()) inputButtons << b->text();
    static_cast<QDialog*>(w)->reject();
  });
  desk_.InputBox("小節数", "入力", "10");
  EXPECT_TRUE(inputButtons.contains(QStringLiteral("キャンセル"))) << inputButtons.join('|').toStdString();

  WhenModal([&](QWidget* w) {
    for (QLabel* l : w->findChildren<QLabel*>()) fileTexts << l->text();
    for (QPushButton* b : w->findChildren<QPushButton*>()) fileTexts << b->text();
    static_cast<QDialog*>(w)->reject();
  });
  plat::FileDialogRequest req;
  req.title = "開く";
  req.filter = "すべてのファイル (*.*)|*.*";
  desk_.OpenFileDialog(req);
  const std::string all = fileTexts.join('|').toStdString();
  EXPECT_TRUE(fileTexts.contains(QStringLiteral("キャンセル"))) << all;
  EXPECT_FALSE(fileTexts.contains(QStringLiteral("Cancel"))) << all;
  EXPECT_FALSE(fileTexts.contains(QStringLiteral("File &name:"))) << all;
}

TEST_F(QtDesktopTest, SaveDialogKeepsTheFilterIndex) {
  testsupport::TempDir dir;
  plat::FileDialogRequest req;
  req.title = "名前を付けて保存";
  req.filter = "A形式|*.a|B形式|*.b;*.c|A形式|*.a|";
  req.filterIndex = 2;
  req.initialDir = dir.path();
  QStringList filters;
  QString selectedAtStart;
  WhenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    filters = dlg->nameFilters();
    selectedAtStart = dlg->selectedNameFilter();
    dlg->selectNameFilter(filters.value(2));  // the user picks the third entry
    dlg->selectFile(QString::fromStdString(dir.Path("曲.b")));
    static_cast<QDialog*>(dlg)->accept();  // (public through the base; runs the dialog's own)
  });
  plat::FileDialogResult r = desk_.SaveFileDialog(req);
  ASSERT_EQ(filters.size(), 3);
  EXPECT_EQ(plat::QtFilterIndex(filters, selectedAtStart), 1);
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(r.path, dir.Path("曲.b"));
  EXPECT_EQ(r.fileTitle, "曲.b");
  EXPECT_EQ(r.filterIndex, 3);  // the repeated entry is still told apart

  WhenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_TRUE(desk_.OpenFileDialog(req).cancelled);
}

TEST_F(QtDesktopTest, NameFiltersFromClassicFilter) {
  QStringList f =
      plat::QtNameFilters("画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|空||画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|");
  ASSERT_EQ(f.size(), 3);
  EXPECT_EQ(f[0], QStringLiteral("画像ファイル(*.bmp;*.jpg) (*.bmp *.jpg)"));
  EXPECT_EQ(f[1], QStringLiteral("空 (*)"));
  // The repeated entry differs from the first even in the shown form, and looks the same.
  EXPECT_NE(plat::QtFilterDescription(f[2]), plat::QtFilterDescription(f[0]));
  EXPECT_EQ(QString(plat::QtFilterDescription(f[2])).remove(QChar(0x200B)), plat::QtFilterDescription(f[0]));
  EXPECT_TRUE(f[2].endsWith(QStringLiteral("(*.bmp *.jpg)")));
  EXPECT_EQ(plat::QtFilterIndex(f, QStringLiteral("空")), 1);
  EXPECT_EQ(plat::QtFilterIndex(f, f[2]), 2);
  EXPECT_EQ(plat::QtFilterIndex(f, QStringLiteral("other")), -1);
}

TEST_F(QtDesktopTest, WaitCursorCallsBalance) {
  desk_.SetWaitCursor(true);
  desk_.SetWaitCursor(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  desk_.SetWaitCursor(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  desk_.SetWaitCursor(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtDesktopTest, FilePropertiesAndStartProgram) {
  testsupport::TempDir dir;
  EXPECT_FALSE(desk_.ShowFileProperties(dir.Path("none")));
  std::string f = dir.Write("譜面.nxl", "abc");
  QString shown;
  WhenModal([&](QWidget* w) {
    shown = static_cast<QMessageBox*>(w)->text();
    static_cast<QMessageBox*>(w)->accept();
  });
  EXPECT_TRUE(desk_.ShowFileProperties(f));
  EXPECT_TRUE(shown.contains(QStringLiteral("譜面.nxl")));
  EXPECT_TRUE(shown.contains(QStringLiteral("3 バイト")));

  std::string marker = dir.Path("started");
  ASSERT_TRUE(desk_.StartProgram("/bin/sh", {"-c", "echo ok > \"$0\"", marker}));
  for (int i = 0; i < 200 && !dir.Exists("started"); ++i) QThread::msleep(10);
  EXPECT_TRUE(dir.Exists("started"));
  EXPECT_FALSE(desk_.StartProgram(dir.Path("no-such-program"), {}));
}

// A start that waits: it returns once the program has ended, or after the wait with the program
// still running; a program that cannot start is said so at once.
TEST_F(QtDesktopTest, StartProgramAndWaitReturnsWhenTheProgramHasEndedOrTheWaitIsOver) {
  testsupport::TempDir dir;
  const std::string marker = dir.Path("done");
  ASSERT_TRUE(desk_.StartProgramAndWait("/bin/sh", {"-c", "sleep 0.2; echo ok > \"$0\"", marker}, 60000));
  EXPECT_EQ(dir.Read("done"), "ok\n") << "the program had ended";

  // One that runs on is left running once the wait is over.
  const std::string pidFile = dir.Path("pid");
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(desk_.StartProgramAndWait("/bin/sh", {"-c", "echo $$ > \"$0\"; exec sleep 600", pidFile}, 300));
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(300));
  std::string pid;
  for (int i = 0; i < 2000 && (pid = dir.Read("pid")).empty(); ++i) QThread::msleep(10);
  ASSERT_FALSE(pid.empty());
  EXPECT_EQ(kill(std::stoi(pid), SIGKILL), 0) << "still running";

  EXPECT_FALSE(desk_.StartProgramAndWait(dir.Path("no-such-program"), {}, 60000));
}

}  // namespace
