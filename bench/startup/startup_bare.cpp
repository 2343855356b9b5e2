// The reference: a Qt program that shows an empty main window and ends once it is shown.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.showMaximized();
  QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}
