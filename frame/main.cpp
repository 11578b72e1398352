// Mirkan: the chart editor. Each command-line argument is the path of a chart to open.
#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <string_view>

#include "chartview/form1.h"
#include "chartview/icons.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "frame/formp.h"
#include "platform/gfx/picture.h"
#include "platform/qtui/first_paint.h"
#include "platform/qtui/qt_desktop.h"

namespace {

void SendMouse(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButton button) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
  QApplication::sendEvent(to, &e);
}

// For the screenshot: a gesture left in progress on the active chart's canvas. "band": a rubber
// band dragged in select mode; "preview": the pointer over a lane in draw mode.
void ShowGesture(mk::FormP& frame, const std::string& gesture) {
  mk::Form1* w = frame.ActiveChart();
  if (!w) return;
  QWidget* canvas = w->Picture1();
  if (gesture == "band") {
    frame.Tool("TB1_ModeSelect")->click();
    SendMouse(canvas, QEvent::MouseButtonPress, {50, 60}, Qt::LeftButton);
    SendMouse(canvas, QEvent::MouseMove, {140, 180}, Qt::LeftButton);
  } else if (gesture == "preview") {
    frame.Tool("TB1_ModeDraw")->click();
    SendMouse(canvas, QEvent::MouseMove, {80, 120}, Qt::NoButton);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(mk::WithDeferredBarIcons(QStyleFactory::create(QApplication::style()->name())));
  // Until the frame is first drawn, the raster engine's large fills run on one helper thread
  // instead of starting one per processor, which costs more than the first screen's few fills.
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  plat::LoadToolkitTranslations();
  QApplication::setWindowIcon(mk::ApplicationIcon());
  app.setFont(QFont(QString::fromStdString(plat::MapFontFamily("ＭＳ Ｐゴシック")), 9));

  mk::FrameOptions options;
  options.installDir = QCoreApplication::applicationDirPath().toStdString() + "/";
  for (int i = 1; i < argc; ++i) options.args.emplace_back(argv[i]);
  options.quit = [] { QCoreApplication::exit(0); };
  options.splash = true;

  mk::FormP frame(options);
  plat::RunAfterFirstPaint(&frame,
                           [] { QThreadPool::globalInstance()->setMaxThreadCount(QThread::idealThreadCount()); });
  plat::QtDesktop desktop(&frame);
  plat::Desktop* previous = plat::SetDesktop(&desktop);

  // MIRKAN_SCREENSHOT=<file.png>: once started, save a picture of the frame there and end.
  // With MIRKAN_SCREENSHOT_PALETTE=float the edit palette floats first and the picture is of the
  // whole screen, so that it shows the tool window beside the frame. MIRKAN_SCREENSHOT_GESTURE
  // ("band" or "preview") shows a gesture on the canvas first.
  if (const char* shot = std::getenv("MIRKAN_SCREENSHOT"); shot && *shot) {
    const QString path = QString::fromLocal8Bit(shot);
    const char* palette = std::getenv("MIRKAN_SCREENSHOT_PALETTE");
    const bool floating = palette && std::string_view(palette) == "float";
    if (floating) QTimer::singleShot(700, &frame, [&frame] { frame.FloatPalette(); });
    if (const char* g = std::getenv("MIRKAN_SCREENSHOT_GESTURE"); g && *g) {
      const std::string gesture = g;
      QTimer::singleShot(1000, &frame, [&frame, gesture] { ShowGesture(frame, gesture); });
    }
    QTimer::singleShot(1500, &frame, [&frame, path, floating] {
      QScreen* screen = frame.screen();
      const QPixmap picture = floating && screen ? screen->grabWindow(0) : frame.grab();
      const bool ok = picture.save(path, "PNG");
      frame.All_End();
      if (!ok) QCoreApplication::exit(1);
    });
  }

  // MIRKAN_FIRST_PAINT_EXIT=1: end as soon as the frame has been painted once (start-up timing).
  if (const char* v = std::getenv("MIRKAN_FIRST_PAINT_EXIT"); v && *v && *v != '0') plat::ExitAtFirstPaint(&frame);

  int rc = frame.MDIForm_Load() ? app.exec() : 0;
  if (rc == 0) rc = frame.ExitStatus();
  plat::SetDesktop(previous);
  return rc;
}
