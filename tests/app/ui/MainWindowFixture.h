#pragma once
// The program's main window over a temporary install folder, taken down again after each test
// with the registry of window openers cleared.

#include <QCoreApplication>

#include "app/AppTestSupport.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"

class MainWindowFixture : public InstallFolderTest {
 protected:
  void TearDown() override {
    WindowOpeners() = TWindowOpeners{};
    DestroyMainWindows();
    CloseStartupDatabases();
    InstallFolderTest::TearDown();
  }
  // Shows the created window and runs its first activation as the program does.
  MainWindow* start(bool create = true) {
    if (create && !CreateMainWindows()) return nullptr;
    TheMainWindow->show();
    QCoreApplication::processEvents();
    TheMainWindow->runFirstActivation();
    return TheMainWindow;
  }
};
