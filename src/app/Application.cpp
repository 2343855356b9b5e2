#include "app/Application.h"

#include <exception>

#include "app/AbortBox.h"
#include "app/Vo2main.h"
#include "app/VoMsag.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(kApplicationTitle);
  setApplicationDisplayName(kApplicationTitle);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    AskUser(6, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    AskUser(6, QStringLiteral("發生未預期的錯誤。"));
  }
  return false;
}

bool CreateMainWindows() {
  VoForm = new TVoForm();
  if (VoForm->StartupFailed) {
    DestroyMainWindows();
    return false;
  }
  AbortBox = new TAbortBox(VoForm);
  return true;
}

void DestroyMainWindows() {
  delete AbortBox;
  AbortBox = nullptr;
  delete VoForm;
  VoForm = nullptr;
}
