#include <gtest/gtest.h>
#include <QtWidgets>

#include "MainWindowFixture.h"
#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/Application.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "app/ui/PrintAbortBox.h"

using namespace ruto;

class MainWindowLimitsTest : public MainWindowFixture {
 protected:
  // Starts the program on an installation whose settings have `s`.
  MainWindow* startWith(const TAppSettings& s) {
    putInstallation();
    EXPECT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), FormatSettings(s).toUtf8()));
    return start();
  }
};

TEST_F(MainWindowLimitsTest, AHugeUserNameStaysInTheStatusBarElided) {
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("診所\t名稱\x01") + QString(100 * 1024, QChar(u'寬'));
  s.ExtProgHint[1] = QString(100 * 1024, QChar(u'長'));
  MainWindow* f = startWith(s);
  ASSERT_NE(f, nullptr);
  const QRect screen(0, 0, 1280, 1024);
  EXPECT_LE(f->minimumSizeHint().width(), screen.width());
  EXPECT_LE(f->minimumSizeHint().height(), screen.height());
  f->setGeometry(screen);
  QCoreApplication::processEvents();
  EXPECT_LE(f->width(), screen.width());
  // The last toolbar button and the last menu can be reached.
  const QRect exit(f->exitButton->mapTo(f, QPoint()), f->exitButton->size());
  EXPECT_TRUE(f->rect().contains(exit)) << exit.x() << "," << exit.width();
  const QRect about = f->mainMenu->actionGeometry(f->aboutAction);
  EXPECT_TRUE(f->mainMenu->rect().contains(about)) << about.x() << "," << about.width();
  EXPECT_LE(f->mainMenu->width(), screen.width());

  // Control characters show as blanks; what does not fit ends in an ellipsis.
  EXPECT_TRUE(f->statusText->text().startsWith(QStringLiteral("診所 名稱 寬")));
  const QString shown = static_cast<ElidedLabel*>(f->statusText)->elidedText();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("診所 名稱 寬"))) << shown.left(20).toStdString();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.right(20).toStdString();
  EXPECT_LE(f->launcherButtons[1]->toolTip().size(), 200);
  ruto::test::savePng(f->grab().toImage(), QStringLiteral("main-window-long-name"));
}

TEST_F(MainWindowLimitsTest, ALauncherThatCannotStartSaysWhat) {
  TAppSettings s = DefaultSettings();
  s.ExtProgPath[3] = QStringLiteral("winword.exe");  // the default slot of the other platform
  s.ExtProgPath[4] = QStringLiteral("/bin/true");
  MainWindow* f = startWith(s);
  ASSERT_NE(f, nullptr);
  f->runLauncher(3);
  EXPECT_EQ(asked_, QStringList{"5:" + kExternalStartFailedText + "\nwinword.exe"});
  EXPECT_TRUE(f->measureButton->isEnabled()) << "the toolbar comes back after the message";
  asked_.clear();
  f->runLauncher(4);
  EXPECT_TRUE(asked_.isEmpty());
}

TEST(DialogFrames, MessageBoxAndAbortBoxHaveNoMinimiseOrMaximise) {
  MessageBox box;
  PrintAbortBox abortBox(nullptr);
  for (QWidget* w : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&abortBox)}) {
    const Qt::WindowFlags flags = w->windowFlags();
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "only the hints asked for";
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::MSWindowsFixedSizeDialogHint);
  }
}
