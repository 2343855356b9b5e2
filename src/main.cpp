#include "app/Application.h"
#include "app/Vo2main.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  if (!CreateMainWindows()) return 1;
  VoForm->showMaximized();
  const int rc = app.exec();
  DestroyMainWindows();
  return rc;
}
