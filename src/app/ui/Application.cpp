#include "app/ui/Application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>
#include <exception>

#include "app/ui/AbortBox.h"
#include "app/ui/ControlNames.h"
#include "app/ui/Vo2main.h"
#include "app/ui/VoMsag.h"
#include "base/Fonts.h"
#include "skin/SkinBitmaps.h"
#include "skin/ui/SkinSetup.h"

namespace ruto {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: Qt would append it to every window title, and captions are the
  // windows' own.
  setApplicationName(kApplicationTitle);
  setFont(WithProgramFamilies(font()));
  // Qt's own dialogs (print set-up, file choice) speak the program's language, whatever the
  // system's locale.
  auto* qtTexts = new QTranslator(this);
  if (qtTexts->load(QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(qtTexts);
  InstallMessageBox();
  InstallControlNames();
  InstallSkinManager([](const QString& text) { AskUser(MsgKind::ImportantOk, text); });
  setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIcon())));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    AskUser(MsgKind::ImportantOk, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    AskUser(MsgKind::ImportantOk, QStringLiteral("發生未預期的錯誤。"));
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

}  // namespace ruto
