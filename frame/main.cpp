// Mirkan: the chart editor. Each command-line argument is the path of a chart to open.
#include <QApplication>
#include <QFont>
#include <QTimer>
#include <cstdlib>

#include "frame/formp.h"
#include "platform/gfx/picture.h"
#include "platform/qtui/qt_desktop.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setFont(QFont(QString::fromStdString(plat::MapFontFamily("ＭＳ Ｐゴシック")), 9));

  mk::FrameOptions options;
  options.installDir = QCoreApplication::applicationDirPath().toStdString() + "/";
  for (int i = 1; i < argc; ++i) options.args.emplace_back(argv[i]);
  options.quit = [] { QCoreApplication::exit(0); };

  mk::FormP frame(options);
  plat::QtDesktop desktop(&frame);
  plat::Desktop* previous = plat::SetDesktop(&desktop);

  // MIRKAN_SCREENSHOT=<file.png>: once started, save a picture of the frame there and end.
  if (const char* shot = std::getenv("MIRKAN_SCREENSHOT"); shot && *shot) {
    const QString path = QString::fromLocal8Bit(shot);
    QTimer::singleShot(1500, &frame, [&frame, path] {
      const bool ok = frame.grab().save(path, "PNG");
      frame.All_End();
      if (!ok) QCoreApplication::exit(1);
    });
  }

  int rc = 0;
  if (frame.MDIForm_Load()) rc = app.exec();
  plat::SetDesktop(previous);
  return rc;
}
