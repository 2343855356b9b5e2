#include "app/Application.h"
#include "app/Vo2main.h"
#include "measure/MeasureWindows.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  // Windows owned by other folders become reachable from the main window.
  registerMeasureWindows();
  if (!CreateMainWindows()) return 1;
  VoForm->showMaximized();
  const int rc = app.exec();
  DestroyMainWindows();
  return rc;
}
