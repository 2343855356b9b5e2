#pragma once
// Shared ground of the window censuses: every opener of the registry, a fixture with the
// program's windows over a fresh install folder, and a walk over the modal windows an opener
// shows.

#include <QApplication>
#include <QSet>
#include <QTimer>
#include <functional>

#include "SkinUiSupport.h"
#include "app/AppTestSupport.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/AppWindows.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MainWindowFixture.h"
#include "app/ui/MessageBox.h"
#include "measure/ui/MeasureWindows.h"
#include "records/ui/RecordsWindows.h"
#include "skin/ui/SkinManager.h"

namespace ruto::test {

// Every hook of the registry; a hook nobody registered opens nothing.
using Opener = NamedOpener;
inline const std::vector<Opener> kOpeners = EveryWindowOpener();

// Every window registered over the usual installation, with no skin manager to start with.
class WindowCensusTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    putInstallation();
    registerAppWindows();
    registerMeasureWindows();
    registerRecordsWindows();
    InstallMessageBox();
    delete ExistingSkinManager();
  }
  void TearDown() override {
    delete ExistingSkinManager();
    MainWindowFixture::TearDown();
  }

  // Switches the program's own skin on through the main window's skin data.
  void skinOn() {
    TSkinManage* m = SkinManager();
    m->AddSkinData(TheMainWindow->skinData);
    m->SetCommand(TheMainWindow->skinData, 1, 0);
    m->runPendingCommand();
    ASSERT_TRUE(m->Active());
    // The main window was activated before this manager existed: activate it again, as
    // the program's first activation does.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(TheMainWindow, &activate);
  }

  // Opens a window through its opener and hands every modal window it shows to `seen`
  // (named after the opener, then numbered), closing each afterwards. Returns how many were
  // shown, or -1 when nobody registered the opener.
  static int openEachModal(const Opener& o,
                           const std::function<void(QWidget*, const QString&)>& seen) {
    const QString base = QString::fromLatin1(o.name);
    QSet<QWidget*> handled;
    int count = 0;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || handled.contains(w)) return;
      handled.insert(w);
      settle();
      const QString name = count == 0 ? base : base + QString::number(count);
      ++count;
      seen(w, name);
      w->close();
      if (w->isVisible()) w->hide();
    });
    watcher.start();
    const bool registered = o.open(TheMainWindow);
    watcher.stop();
    return registered ? count : -1;
  }
};

}  // namespace ruto::test
