// The second yardstick of the start-up benchmark: the empty main window with an MDI area, plus a
// menu bar with the program's six menu titles in its own font. Its first paint is the least that
// drawing any text costs: the system's font configuration, one face and its glyphs.
#include <QApplication>
#include <QFont>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>

#include "platform/gfx/picture.h"
#include "platform/qtui/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setFont(QFont(QString::fromStdString(plat::MapFontFamily("ＭＳ Ｐゴシック")), 9));
  QMainWindow w;
  w.setCentralWidget(new QMdiArea(&w));
  for (const char* title : {"ファイル(&F)", "編集(&E)", "表示(&V)", "再生(&P)", "ウインドウ(&W)", "ヘルプ(&H)"})
    w.menuBar()->addMenu(QString::fromUtf8(title));
  w.resize(800, 600);
  plat::ExitAtFirstPaint(&w);
  w.show();
  return app.exec();
}
