// Saves screen pictures of the splash, the About window and the rare second picture, as a
// virtual X server shows them: splash.png, about.png and splash_second.png in the given folder.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "frame/frmsplash.h"
#include "frame/settings.h"

namespace {

bool Shoot(int16_t mode, bool second, const QString& file) {
  mk::g_SplashMode = mode;
  mk::FrmSplash::SetDraw([second] { return second ? 0.0 : 0.5; });
  mk::FrmSplash s;
  s.move(40, 40);
  s.show();
  s.raise();
  const auto end = QDateTime::currentMSecsSinceEpoch() + 400;
  while (QDateTime::currentMSecsSinceEpoch() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  const QRect r = s.frameGeometry();
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  s.hide();
  const bool ok = !shot.isNull() && shot.save(file, "PNG");
  std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: splash_shot <output folder>\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  mk::ResetSettings();
  mk::g_InstallDir = MIRKAN_BIN_DIR "/";
  const mk::ScriptMessage msg = mk::LoadScriptList(mk::g_InstallDir, mk::g_DefExt);
  if (msg.fatal) {
    std::fprintf(stderr, "scripts: %s\n", msg.text.c_str());
    return 1;
  }
  bool ok = Shoot(-1, false, out + "/splash.png");
  ok = Shoot(0, false, out + "/about.png") && ok;
  ok = Shoot(-1, true, out + "/splash_second.png") && ok;
  return ok ? 0 : 1;
}
