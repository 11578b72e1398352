// The yardstick of the start-up benchmark: an empty Qt main window with an MDI area, ended at its
// first paint.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "platform/qtui/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setCentralWidget(new QMdiArea(&w));
  w.resize(800, 600);
  plat::ExitAtFirstPaint(&w);
  w.show();
  return app.exec();
}
