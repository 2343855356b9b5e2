#include <gtest/gtest.h>
#include <QtWidgets>

#include "MainWindowFixture.h"
#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/AboutBox.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "device/HidDeviceController.h"
#include "device/MeterCommands.h"
#include "device/SimulatedMeter.h"

using namespace ruto;

class MainWindowTest : public MainWindowFixture {
 protected:
  // Texts of actions ("-" for a separator) or, given a toolbar, names of its widgets.
  static QString names(const QList<QAction*>& actions, QToolBar* bar = nullptr) {
    QStringList out;
    for (QAction* a : actions)
      out << (a->isSeparator() ? QStringLiteral("-")
              : bar            ? bar->widgetForAction(a)->objectName()
                               : a->text());
    return out.join(' ');
  }
};

TEST_F(MainWindowTest, FreshInstallationToolbarMenusWindowsAndTheCloseQuestion) {
  putTemplate();
  putReference();
  ASSERT_TRUE(CreateMainWindows()) << asked_.join('\n').toStdString();
  MainWindow* f = TheMainWindow;
  // Toolbar and menus stay off until the first activation has shown the start-up status.
  EXPECT_FALSE(f->measureButton->isEnabled());
  EXPECT_FALSE(f->measureAction->isVisible());
  bool statusShown = false;
  WindowOpeners().startupStatus = [&](QWidget*) {
    statusShown = true;
    EXPECT_FALSE(f->exitButton->isEnabled());
  };
  start(false);
  EXPECT_TRUE(statusShown);
  EXPECT_TRUE(f->measureButton->isEnabled());
  EXPECT_TRUE(f->launcherButtons[6]->isEnabled());
  EXPECT_TRUE(f->measureAction->isVisible());
  EXPECT_TRUE(f->supportMenuAction->isVisible());
  EXPECT_TRUE(f->aboutAction->isVisible());
  EXPECT_TRUE(has("ruto4.mdb")) << "made under the name its connection uses";
  EXPECT_EQ(content("DeRirAz.ini").count("\r\n"), 36);
  EXPECT_EQ(f->statusText->text(), "RUTO經絡能量分析儀");
  EXPECT_DOUBLE_EQ(CompensatedValue(13, 50.0), 50.0);
  EXPECT_DOUBLE_EQ(CompensatedValue(24, 100.0), 113.88);
  EXPECT_EQ(names(f->toolBar->actions(), f->toolBar),
            "measureButton referenceButton programsButton calibrationButton transferButton - "
            "launcherButton1 "
            "launcherButton2 launcherButton3 launcherButton4 launcherButton5 launcherButton6 - "
            "exitButton");
  EXPECT_EQ(QStringList({f->measureButton->text(), f->measureButton->toolTip(),
                         f->calibrationButton->toolTip(), f->exitButton->toolTip(),
                         f->launcherButtons[1]->text(), f->launcherButtons[2]->text(),
                         f->calibrationAction->toolTip(), f->supportMenuAction->toolTip()})
                .join('|'),
            "經絡測量|經絡能量測量|儀器自動數位校準系統|退出R.U.T.O.系統執行|功能1|功能 2|"
            "自動數位校準系統|系統支援與服務");
  EXPECT_EQ(names(f->mainMenu->actions()), "經絡測量 經絡解說 系統支援 關於版本");
  EXPECT_EQ(names(f->supportMenu->actions()),
            "專家療程設定 用戶資料設定 數位校準系統 - 檔案匯入/匯出 - 離開系統");
  QCoreApplication::processEvents();  // lays the menu bar out
  EXPECT_TRUE(f->mainMenu->isVisible());
  EXPECT_GT(f->mainMenu->height(), 10);
  ruto::test::savePng(f->grab().toImage(), QStringLiteral("main-window"));

  bool enabledInside = true;
  WindowOpeners().meridianReference = [&](QWidget*) {
    enabledInside = f->referenceButton->isEnabled();
  };
  f->referenceAction->trigger();
  EXPECT_FALSE(enabledInside);
  EXPECT_TRUE(f->referenceButton->isEnabled());
  WindowOpeners().userData = [&](QWidget*) { Settings.ExtProgEnabled = QStringLiteral("000000"); };
  f->userDataAction->trigger();
  EXPECT_FALSE(f->launcherVisible(1)) << "the launchers follow the settings after a window";

  answer_ = false;
  f->exitButton->click();
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->measureButton->isEnabled());
  EXPECT_EQ(asked_, QStringList{"2:您確定要結束本系統嗎?"});
  answer_ = true;
  EXPECT_TRUE(f->close());
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection));
}

TEST_F(MainWindowTest, ExistingSettingsAreReadAndDecideTheLaunchers) {
  putInstallation();
  TAppSettings s = DefaultSettings();
  s.ExtProgEnabled = QStringLiteral("101");
  s.ExtProgHint[3] = QStringLiteral("第三個");
  s.ExtProgHint[4] = QStringLiteral("x --title=<b>Report</b>");
  s.UserName1 = QStringLiteral("測試診所");
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), FormatSettings(s).toUtf8()));
  MainWindow* f = start();
  ASSERT_NE(f, nullptr);
  const bool expected[] = {false, true, false, true, true, true, true};
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(f->launcherVisible(slot), expected[slot]) << slot;
  EXPECT_EQ(f->launcherButtons[3]->toolTip(), "第三個");
  EXPECT_EQ(shownText(f->launcherButtons[4]->toolTip()), "x --title=<b>Report</b>");
  EXPECT_EQ(f->statusText->text(), "測試診所");
  // At its smallest the window still shows every toolbar button, the exit button included.
  f->showNormal();
  f->resize(f->minimumSizeHint());
  QCoreApplication::processEvents();
  const auto* more = f->toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
  if (more) {
    EXPECT_FALSE(more->isVisible()) << "no extension button for hidden ones";
  }
  EXPECT_TRUE(f->exitButton->isVisible());
  EXPECT_LE(f->exitButton->mapTo(f, QPoint(f->exitButton->width(), 0)).x(), f->width());
  // A right click on the toolbar, on a button or beside them, offers no menu to hide it.
  for (QWidget* at : {static_cast<QWidget*>(f->toolBar), static_cast<QWidget*>(f->exitButton)}) {
    bool offered = false;
    QTimer::singleShot(0, f, [&offered] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        offered = true;
        popup->close();
      }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), at->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(at, &click);
    QCoreApplication::processEvents();
    EXPECT_FALSE(offered) << at->objectName().toStdString();
  }
}

// The web-address labels open the maker's address on a left click only: not on a right or a
// middle one, nor on a press on the label released elsewhere.
TEST_F(MainWindowTest, WebAddressLabelsOpenOnALeftClick) {
  putInstallation();
  MainWindow* f = start();
  ASSERT_NE(f, nullptr);
  AboutBox about;
  about.show();
  static QStringList opened;
  SetExternalStarter([](const QString& program, const QString&, bool) { opened << program; });
  for (QLabel* label : {f->webAddressLabel, about.webAddressLabel}) {
    opened.clear();
    const QPointF in(2, 2), out(2, label->height() + 5);
    const std::pair<Qt::MouseButton, QPointF> releases[] = {
        {Qt::RightButton, in}, {Qt::MiddleButton, in}, {Qt::LeftButton, out}, {Qt::LeftButton, in}};
    for (const auto& [button, at] : releases) {
      QMouseEvent press(QEvent::MouseButtonPress, in, label->mapToGlobal(in), button, button,
                        Qt::NoModifier);
      QApplication::sendEvent(label, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), button,
                          Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(label, &release);
    }
    EXPECT_EQ(opened, QStringList{kMakerWebAddress}) << label->window()->objectName().toStdString();
  }
  SetExternalStarter(nullptr);
}

TEST_F(MainWindowTest, FatalStartupShowsOneMessageAndWritesNothing) {
  putTemplate(QStringLiteral("ruto4.mdb"));
  putReference();
  // One message and no close question.
  EXPECT_FALSE(CreateMainWindows());  // no template
  EXPECT_EQ(asked_, QStringList{"6:" + kTemplateMissingText + '\n' + path("Vospa.mdb")});
  DestroyMainWindows();
  asked_.clear();
  putTemplate();
  putMarker("ruto4.mdb", "not a database");
  EXPECT_FALSE(CreateMainWindows());
  EXPECT_EQ(asked_, QStringList{"6:" + kDatabaseOpenText + '\n' + path("ruto4.mdb")});
  EXPECT_EQ(content("ruto4.mdb"), "not a database");
  EXPECT_FALSE(has("DeRirAz.ini"));
}

TEST_F(MainWindowTest, CloseBeforeStartupHasFinishedDoesNotAsk) {
  putInstallation();
  ASSERT_TRUE(CreateMainWindows());
  EXPECT_TRUE(TheMainWindow->close());
  EXPECT_TRUE(asked_.isEmpty());
}

TEST_F(MainWindowTest, UnreadableSettingsAreReportedAndLeftAlone) {
  putInstallation();
  ASSERT_TRUE(QDir().mkdir(path("DeRirAz.ini")));
  ASSERT_NE(start(), nullptr);
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_TRUE(asked_[0].startsWith("5:" + kSettingsUnreadableText));
  EXPECT_EQ(Settings.CalStandard, 4000);
  // A window saving settings later is refused with one message; the file stays.
  EXPECT_FALSE(LoadSaveSettings(true));
  EXPECT_EQ(asked_.size(), 2);
  EXPECT_TRUE(asked_.last().startsWith("5:" + kSettingsKeptText));
  EXPECT_TRUE(QFileInfo(path("DeRirAz.ini")).isDir());
}

TEST_F(MainWindowTest, AnOversizedSettingsFileIsRefusedUnread) {
  putInstallation();
  // Valid settings lines up front, then 2 MiB: read whole, it would be taken as settings.
  const QByteArray big = "2500\r\n" + QByteArray(2 << 20, 'x');
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), big));
  ASSERT_NE(start(), nullptr);
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_TRUE(asked_[0].startsWith("5:" + kSettingsUnreadableText));
  EXPECT_TRUE(asked_[0].endsWith(kSettingsTooBigText));
  EXPECT_EQ(Settings.CalStandard, 4000);
  EXPECT_FALSE(LoadSaveSettings(true));
  EXPECT_EQ(content("DeRirAz.ini"), big);
}

TEST_F(MainWindowTest, ClaimsTheMeterAtCreationSignalsOnExitAndStopsItOnYes) {
  putInstallation();
  auto backend = std::make_shared<ruto::SimulatedMeterBackend>();
  auto meter = backend->addMeter();
  TheMainWindow = new MainWindow(new ruto::THidDeviceController(backend, nullptr), nullptr);
  ASSERT_FALSE(TheMainWindow->startupFailed);
  EXPECT_NE(ruto::MeterState.Device, nullptr) << "claimed at creation";
  start(false);
  const auto commands = [&] {
    QStringList c;
    for (const QByteArray& b : meter->commands()) c << QString::fromLatin1(b);
    meter->clearLog();
    return c.join(' ');
  };
  commands();
  answer_ = false;
  EXPECT_FALSE(TheMainWindow->close());
  const QString afterNo = commands();
  EXPECT_TRUE(afterNo.startsWith('S')) << afterNo.toStdString();
  EXPECT_FALSE(afterNo.contains("X000000")) << afterNo.toStdString();
  answer_ = true;
  EXPECT_TRUE(TheMainWindow->close());
  EXPECT_TRUE(commands().endsWith("X000000"));
}

// While a window (or the exit question) of the main window is open, its commands do nothing,
// however they are pressed (an assistive tool reaches them past the modal window); the toolbar
// comes back only when that window closes.
TEST_F(MainWindowTest, CommandsDoNothingWhileOneOfItsWindowsIsOpen) {
  putInstallation();
  ASSERT_TRUE(CreateMainWindows());
  MainWindow* f = TheMainWindow;
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"measure menu", [f] { f->measureAction->trigger(); }},
      {"reference menu", [f] { f->referenceAction->trigger(); }},
      {"programs menu", [f] { f->programsAction->trigger(); }},
      {"user data menu", [f] { f->userDataAction->trigger(); }},
      {"calibration menu", [f] { f->calibrationAction->trigger(); }},
      {"transfer menu", [f] { f->transferAction->trigger(); }},
      {"about menu", [f] { f->aboutAction->trigger(); }},
      {"exit menu", [f] { f->exitAction->trigger(); }},
      {"measure button", [f] { Q_EMIT f->measureButton->clicked(); }},
      {"transfer button", [f] { Q_EMIT f->transferButton->clicked(); }},
      {"launcher 1", [f] { Q_EMIT f->launcherButtons[1]->clicked(); }},
      {"exit button", [f] { Q_EMIT f->exitButton->clicked(); }},
      {"window frame", [f] { f->close(); }},
  };
  QStringList opened;
  bool pressing = false;
  const auto pressAll = [&] {
    if (std::exchange(pressing, true)) return;  // a command that did run: no endless nesting
    for (const auto& [name, press] : commands) {
      press();
      EXPECT_FALSE(f->measureButton->isEnabled()) << name;
    }
    pressing = false;
  };
  const auto opener = [&](const char* name) {
    return [&opened, &pressAll, name](QWidget*) {
      opened << name;
      pressAll();
    };
  };
  TWindowOpeners& o = WindowOpeners();
  o.startupStatus = opener("status");
  o.measurement = opener("measurement");
  o.meridianReference = opener("reference");
  o.programList = opener("programs");
  o.userData = opener("user data");
  o.calibration = opener("calibration");
  o.transfer = opener("transfer");
  o.aboutBox = opener("about");
  answer_ = false;  // a question that does come is answered "否"
  const std::pair<const char*, std::function<void()>> outer[] = {
      {"status", [this] { start(false); }},
      {"measurement", [f] { f->measureAction->trigger(); }},
  };
  for (const auto& [name, open] : outer) {
    SCOPED_TRACE(name);
    opened.clear();
    open();
    EXPECT_EQ(opened, QStringList{name});
    EXPECT_TRUE(asked_.isEmpty()) << asked_.join('\n').toStdString();
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(f->measureButton->isEnabled());
  }
  // The exit question is a window of its own.
  opened.clear();
  SetAskUserResponder([&](MsgKind, const QString& text) {
    asked_ << text;
    pressAll();
    return false;
  });
  f->exitButton->click();
  EXPECT_EQ(asked_, QStringList{kExitQuestion});
  EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->measureButton->isEnabled());
}
