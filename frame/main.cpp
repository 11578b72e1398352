#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow frame;
  frame.setWindowTitle(QStringLiteral("Mirkan"));
  frame.setCentralWidget(new QMdiArea(&frame));
  frame.resize(680, 564);
  frame.show();
  return app.exec();
}
