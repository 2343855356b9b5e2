#include <gtest/gtest.h>
#include <QtWidgets>

#include "MainWindowFixture.h"
#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/AbortBox.h"
#include "app/ui/Application.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/Vo2main.h"
#include "app/ui/VoMsag.h"

using namespace ruto;

class MainWindowLimits : public MainWindowFixture {
 protected:
  // Starts the program on an installation whose settings have `s`.
  TVoForm* startWith(const TAppSettings& s) {
    putInstallation();
    EXPECT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), FormatSettings(s).toUtf8()));
    return start();
  }
};

TEST_F(MainWindowLimits, AHugeUserNameStaysInTheStatusBarElided) {
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("診所\t名稱\x01") + QString(100 * 1024, QChar(u'寬'));
  s.ExtProgHint[1] = QString(100 * 1024, QChar(u'長'));
  TVoForm* f = startWith(s);
  ASSERT_NE(f, nullptr);
  const QRect screen(0, 0, 1280, 1024);
  EXPECT_LE(f->minimumSizeHint().width(), screen.width());
  EXPECT_LE(f->minimumSizeHint().height(), screen.height());
  f->setGeometry(screen);
  QCoreApplication::processEvents();
  EXPECT_LE(f->width(), screen.width());
  // The last toolbar button and the last menu can be reached.
  const QRect exit(f->ToolButton9->mapTo(f, QPoint()), f->ToolButton9->size());
  EXPECT_TRUE(f->rect().contains(exit)) << exit.x() << "," << exit.width();
  const QRect about = f->MainMenu1->actionGeometry(f->i1);
  EXPECT_TRUE(f->MainMenu1->rect().contains(about)) << about.x() << "," << about.width();
  EXPECT_LE(f->MainMenu1->width(), screen.width());

  // Control characters show as blanks; what does not fit ends in an ellipsis.
  EXPECT_TRUE(f->StatusText->text().startsWith(QStringLiteral("診所 名稱 寬")));
  const QString shown = static_cast<ElidedLabel*>(f->StatusText)->elidedText();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("診所 名稱 寬")) && shown.endsWith(QChar(0x2026)))
      << shown.left(20).toStdString();
  EXPECT_LE(f->LauncherButtons[1]->toolTip().size(), 200);
  ruto::test::savePng(f->grab().toImage(), QStringLiteral("main-window-long-name"));
}

TEST_F(MainWindowLimits, ALauncherThatCannotStartSaysWhat) {
  TAppSettings s = DefaultSettings();
  s.ExtProgPath[3] = QStringLiteral("winword.exe");  // the default slot of the other platform
  s.ExtProgPath[4] = QStringLiteral("/bin/true");
  TVoForm* f = startWith(s);
  ASSERT_NE(f, nullptr);
  f->LauncherClick(3);
  EXPECT_EQ(asked_, QStringList{"5:" + kExternalStartFailedText + "\nwinword.exe"});
  EXPECT_TRUE(f->ToolButton1->isEnabled()) << "the toolbar comes back after the message";
  asked_.clear();
  f->LauncherClick(4);
  EXPECT_TRUE(asked_.isEmpty());
}

TEST(DialogFrames, MessageBoxAndAbortBoxHaveNoMinimiseOrMaximise) {
  TVoMsag box;
  TAbortBox abortBox(nullptr);
  for (QWidget* w : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&abortBox)}) {
    const Qt::WindowFlags flags = w->windowFlags();
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "only the hints asked for";
    EXPECT_TRUE(flags & Qt::WindowTitleHint && flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::MSWindowsFixedSizeDialogHint);
  }
}
