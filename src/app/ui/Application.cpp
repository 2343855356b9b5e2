#include "app/ui/Application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>
#include <exception>

#include "app/ui/ControlNames.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "app/ui/PrintAbortBox.h"
#include "app/ui/ViewAccessibles.h"
#include "base/Fonts.h"
#include "skin/SkinBitmaps.h"
#include "skin/ui/SkinSetup.h"

namespace ruto {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
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
  InstallViewAccessibleTeardown();
  InstallSkinManager([](const QString& text) { AskUser(MsgKind::ImportantOk, text); });
  setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIcon())));
}

bool Application::notify(QObject* receiver, QEvent* event) {
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
  TheMainWindow = new MainWindow();
  if (TheMainWindow->startupFailed) {
    DestroyMainWindows();
    return false;
  }
  ThePrintAbortBox = new PrintAbortBox(TheMainWindow);
  return true;
}

void DestroyMainWindows() {
  delete ThePrintAbortBox;
  ThePrintAbortBox = nullptr;
  delete TheMainWindow;
  TheMainWindow = nullptr;
}

}  // namespace ruto
