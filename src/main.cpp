#include "app/ui/AppWindows.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "measure/ui/MeasureWindows.h"
#include "records/ui/RecordsWindows.h"

using namespace ruto;

int main(int argc, char** argv) {
  Application app(argc, argv);
  // Windows owned by other folders become reachable from the main window.
  registerAppWindows();
  registerMeasureWindows();
  registerRecordsWindows();
  if (!CreateMainWindows()) return 1;
  TheMainWindow->showMaximized();
  const int rc = app.exec();
  DestroyMainWindows();
  return rc;
}
