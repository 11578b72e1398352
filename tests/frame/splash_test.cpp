// The splash at start-up and the About window: roles, closing rules, the script list and the
// rare second picture.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "chartfmt/scriptreg.h"
#include "frame/frmsplash.h"
#include "frame/settings.h"
#include "frame/splashart.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace {

FrmSplash* ShownSplash() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* s = qobject_cast<FrmSplash*>(w); s && s->isVisible()) return s;
  return nullptr;
}

void Key(QWidget* to, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(to, &press);
}

void Click(QWidget* on) {
  const QPointF at(3, 3);
  QMouseEvent press(QEvent::MouseButtonPress, at, on->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(on, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, on->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(on, &release);
}

// Runs fn on the modal window shown by the next blocking call, as soon as it is up.
void WhenShown(std::function<void(FrmSplash&)> fn, int afterMs = 0) {
  QTimer::singleShot(afterMs, qApp, [fn] {
    if (FrmSplash* s = ShownSplash())
      fn(*s);
    else
      ADD_FAILURE() << "no splash window is shown";
  });
}

class SplashTest : public FrameTest {
 protected:
  bool StartWithSplash() {
    FrameOptions o;
    o.installDir = Install();
    o.soundLibrary = Install() + "no-such-library.so";
    o.quit = [this] { quit_ = true; };
    o.splash = true;
    frame_ = std::make_unique<FormP>(o);
    const bool ok = frame_->MDIForm_Load();
    Pump();
    return ok;
  }
  void TearDown() override {
    FrmSplash::SetDraw(nullptr);
    FrameTest::TearDown();
  }
};

TEST_F(SplashTest, NoSplashWhenTheSettingIsZeroOrBelow) {
  for (const char* value : {"0", "-5", "0.4"}) {
    dir_.Write("Mirkan.ini", std::string("[Default]\r\nSplash=") + value + "\r\n");
    bool seen = false;
    QTimer::singleShot(0, qApp, [&seen] { seen = ShownSplash() != nullptr; });
    ASSERT_TRUE(StartWithSplash()) << value;
    EXPECT_FALSE(seen) << value;
    EXPECT_EQ(g_SplashMode, 0);
    frame_.reset();
    Pump();
  }
}

TEST_F(SplashTest, TheSplashStaysItsTimeWhileIgnoringClicksAndKeys) {
  int16_t modeDuring = 0;
  bool stillUp = false;
  WhenShown(
      [&](FrmSplash& s) {
        modeDuring = g_SplashMode;
        EXPECT_TRUE(s.SplashRole());
        EXPECT_EQ(s.height(), 166);
        EXPECT_EQ(s.Image1()->height(), 166);
        EXPECT_EQ(s.Label2()->y(), 136);
        EXPECT_FALSE(s.List1()->isVisible());
        EXPECT_EQ(s.Label1()->text(), "Version.0.24");
        EXPECT_EQ(s.Timer1()->interval(), 1200);
        for (QWidget* w :
             {static_cast<QWidget*>(s.Image1()), static_cast<QWidget*>(s.Label1()), static_cast<QWidget*>(s.Label2())})
          Click(w);
        Key(&s, Qt::Key_Escape, QStringLiteral("\x1b"));
        Key(&s, Qt::Key_Return, QStringLiteral("\r"));
        Key(&s, Qt::Key_A, QStringLiteral("a"));
        s.close();
        QMetaObject::invokeMethod(&s, "reject");
      },
      100);
  QTimer::singleShot(900, qApp, [&] { stillUp = ShownSplash() != nullptr; });
  QElapsedTimer t;
  t.start();
  ASSERT_TRUE(StartWithSplash());
  const qint64 took = t.elapsed();
  EXPECT_EQ(modeDuring, -1);
  EXPECT_TRUE(stillUp);
  EXPECT_GE(took, 1200);
  EXPECT_EQ(ShownSplash(), nullptr);
  EXPECT_EQ(g_SplashMode, 0);
  ASSERT_NE(WinAt(1), nullptr) << "start-up went on after the splash";
}

TEST_F(SplashTest, TheAboutWindowListsEachScriptOnceEveryTimeAndClosesOnAClickOrAKey) {
  ASSERT_TRUE(Start());
  ASSERT_GE(g_ScriptCount, 2);
  std::vector<QString> titles;
  for (int i = 1; i <= g_ScriptCount; ++i) titles.push_back(QString::fromStdString(g_ScriptTable[i].Title));
  const std::function<void(FrmSplash&)> close[] = {
      [](FrmSplash& s) { Key(s.List1(), Qt::Key_Space, QStringLiteral(" ")); },  // the window sees it first
      [](FrmSplash& s) { Click(s.Label2()); },
      [](FrmSplash& s) { Key(&s, Qt::Key_Escape, QStringLiteral("\x1b")); },
  };
  for (const auto& closer : close) {
    bool checked = false;
    WhenShown([&](FrmSplash& s) {
      EXPECT_FALSE(s.SplashRole());
      EXPECT_EQ(s.height(), 222);
      EXPECT_EQ(s.Label2()->y(), 192);
      EXPECT_FALSE(s.Timer1()->isActive());
      EXPECT_TRUE(s.List1()->isVisible());
      EXPECT_EQ(s.List1()->toolTip(), "インストールされているスクリプト一覧");
      std::vector<QString> listed;
      for (int i = 0; i < s.List1()->count(); ++i) listed.push_back(s.List1()->item(i)->text());
      EXPECT_EQ(listed, titles);
      Click(s.List1()->viewport());  // the list keeps it open
      Key(s.List1(), Qt::Key_Down, QString());
      EXPECT_TRUE(s.isVisible());
      checked = true;
      closer(s);
    });
    Frame().Menu("Menu_Help_About")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(ShownSplash(), nullptr);
  }
}

TEST_F(SplashTest, AForcedDrawShowsTheSecondPictureAndEachShowingDrawsAgain) {
  g_SplashMode = 0;
  const struct {
    double draw;
    bool second;
  } cases[] = {{0.0, true}, {0.000999, true}, {0.001, false}, {0.5, false}, {0.999999, false}};
  for (const auto& c : cases) {
    FrmSplash::SetDraw([&c] { return c.draw; });
    FrmSplash s;
    EXPECT_EQ(s.Image2()->isVisibleTo(&s), c.second) << c.draw;
    EXPECT_EQ(s.Image1()->isVisibleTo(&s), !c.second) << c.draw;
    const QLabel* shown = c.second ? s.Image2() : s.Image1();
    EXPECT_EQ(shown->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              SplashPicture(c.second).convertToFormat(QImage::Format_RGB32))
        << c.draw;
  }
  // Both pictures: 440 x 220, different titles, the same plain lower part for the labels.
  const QImage first = SplashPicture(false), second = SplashPicture(true);
  ASSERT_EQ(first.size(), QSize(440, 220));
  ASSERT_EQ(second.size(), QSize(440, 220));
  EXPECT_NE(first, second);
  for (int y = kSplashArtPlainTop; y < 210; y += 7)
    for (int x = 0; x < 440; x += 11) {
      ASSERT_EQ(first.pixel(x, y), kSplashArtPlain) << x << "," << y;
      ASSERT_EQ(second.pixel(x, y), kSplashArtPlain) << x << "," << y;
    }
}

}  // namespace
