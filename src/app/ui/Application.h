#pragma once
// The application object. An error escaping an event handler is shown through the program's
// message box and the program goes on: one failed action does not end the session, and
// nothing unwinds through Qt's event loop.

#include <QApplication>

namespace ruto {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Creates the main window and the print-abort box, as the program entry does. False when
// start-up failed and the program must end.
bool CreateMainWindows();
void DestroyMainWindows();

}  // namespace ruto
