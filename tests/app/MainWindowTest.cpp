#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include "app/Databases.h"

#include "InstallFolderFixture.h"
#include "app/Application.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/StartupFiles.h"
#include "app/Vo2main.h"
#include "app/WindowOpeners.h"
#include "device/HidDeviceController.h"
#include "device/MeterCommands.h"
#include "device/SimulatedMeter.h"

class MainWindow : public InstallFolderTest {
 protected:
  void TearDown() override {
    WindowOpeners() = TWindowOpeners{};
    DestroyMainWindows();
    CloseStartupDatabases();
    InstallFolderTest::TearDown();
  }
  // Creates the window and runs its show and first activation as the program does.
  TVoForm* start() {
    if (!CreateMainWindows()) return nullptr;
    VoForm->show();
    QCoreApplication::processEvents();
    VoForm->FormActivate();
    return VoForm;
  }
  static QStringList toolbarOrder(TVoForm* f) {
    QStringList names;
    for (QAction* a : f->ToolBar1->actions()) {
      QWidget* w = f->ToolBar1->widgetForAction(a);
      names << (a->isSeparator() ? QStringLiteral("|") : w ? w->objectName() : QString());
    }
    return names;
  }
};

TEST_F(MainWindow, FreshInstallationCreatesMainDatabaseAndSettings) {
  putTemplate();
  putReference();
  TVoForm* f = start();
  ASSERT_NE(f, nullptr) << asked_.join('\n').toStdString();
  EXPECT_TRUE(asked_.isEmpty());
  EXPECT_TRUE(has("Ruto4.mdb"));
  const QByteArray ini = content("DeRirAz.ini");
  EXPECT_EQ(ini.count("\r\n"), 36);
  EXPECT_EQ(f->windowTitle(), "Zelvan R.U.T.O. Vo-100 經絡能量分析儀");
  EXPECT_EQ(f->StatusText->text(), "RUTO經絡能量分析儀");
  EXPECT_DOUBLE_EQ(CompFactor[7], 1.0);
  EXPECT_DOUBLE_EQ(CompFactor[12], 1.1388);
  EXPECT_DOUBLE_EQ(CompensatedValue(13, 50.0), 50.0);
  EXPECT_DOUBLE_EQ(CompensatedValue(24, 100.0), 113.88);
  EXPECT_EQ(f->StaticText1->text(), "R.U.T.O. Vo-100 Version 5.07");
  QCoreApplication::processEvents();
  EXPECT_TRUE(f->MainMenu1->isVisible());
  EXPECT_GT(f->MainMenu1->height(), 10);
  ruto::test::savePng(f->grab().toImage(), QStringLiteral("main-window"));
}

TEST_F(MainWindow, ToolbarAndMenusInTheirOrderWithHints) {
  putInstallation();
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(toolbarOrder(f),
            (QStringList{"ToolButton1", "ToolButton4", "ToolButton5", "ToolButton7", "ToolButton8",
                         "|", "ToolButton11", "ToolButton12", "ToolButton13", "ToolButton14",
                         "ToolButton15", "ToolButton16", "|", "ToolButton9"}));
  EXPECT_EQ(f->ToolButton1->text(), "經絡測量");
  EXPECT_EQ(f->ToolButton1->toolTip(), "經絡能量測量");
  EXPECT_EQ(f->ToolButton7->toolTip(), "儀器自動數位校準系統");
  EXPECT_EQ(f->ToolButton9->toolTip(), "退出R.U.T.O.系統執行");
  EXPECT_EQ(f->LauncherButtons[1]->text(), "功能1");
  EXPECT_EQ(f->LauncherButtons[2]->text(), "功能 2");
  QStringList top;
  for (QAction* a : f->MainMenu1->actions()) top << a->text();
  EXPECT_EQ(top, (QStringList{"經絡測量", "經絡解說", "系統支援", "關於版本"}));
  QStringList sub;
  for (QAction* a : f->tw1Menu->actions())
    sub << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(sub, (QStringList{"專家療程設定", "用戶資料設定", "數位校準系統", "-", "檔案匯入/匯出",
                              "-", "離開系統"}));
  EXPECT_EQ(f->N1->toolTip(), "自動數位校準系統");
  EXPECT_EQ(f->tw1->toolTip(), "系統支援與服務");
}

TEST_F(MainWindow, ToolbarAndMenusStayOffUntilFirstActivation) {
  putInstallation();
  ASSERT_TRUE(CreateMainWindows());
  EXPECT_FALSE(VoForm->ToolButton1->isEnabled());
  EXPECT_FALSE(VoForm->gq1->isVisible());
  EXPECT_TRUE(VoForm->FirstActivation);
  bool statusShown = false;
  WindowOpeners().startupStatus = [&](QWidget*) {
    statusShown = true;
    EXPECT_FALSE(VoForm->ToolButton9->isEnabled());
  };
  VoForm->show();
  QCoreApplication::processEvents();
  VoForm->FormActivate();
  EXPECT_TRUE(statusShown);
  EXPECT_TRUE(VoForm->ToolButton1->isEnabled());
  EXPECT_TRUE(VoForm->LauncherButtons[6]->isEnabled());
  EXPECT_TRUE(VoForm->gq1->isVisible() && VoForm->tw1->isVisible() && VoForm->i1->isVisible());
}

TEST_F(MainWindow, LauncherVisibilityFollowsSettings) {
  putInstallation();
  TAppSettings s = DefaultSettings();
  s.ExtProgEnabled = QStringLiteral("101");
  s.ExtProgHint[3] = QStringLiteral("第三個");
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), FormatSettings(s).toUtf8()));
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  const bool expected[] = {false, true, false, true, true, true, true};
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(f->LauncherVisible(slot), expected[slot]) << slot;
  EXPECT_EQ(f->LauncherButtons[3]->toolTip(), "第三個");
}

TEST_F(MainWindow, OpeningAWindowDisablesTheToolbarMeanwhile) {
  putInstallation();
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  bool enabledInside = true;
  WindowOpeners().meridianReference = [&](QWidget*) {
    enabledInside = f->ToolButton4->isEnabled();
  };
  f->g1->trigger();
  EXPECT_FALSE(enabledInside);
  EXPECT_TRUE(f->ToolButton4->isEnabled());
  int userData = 0;
  WindowOpeners().userData = [&](QWidget*) {
    ++userData;
    Settings.ExtProgEnabled = QStringLiteral("000000");
  };
  f->w1->trigger();
  EXPECT_EQ(userData, 1);
  EXPECT_FALSE(f->LauncherVisible(1));
}

TEST_F(MainWindow, CloseAsksAndNoKeepsTheWindowOpen) {
  putInstallation();
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  answer_ = false;
  f->ToolButton9->click();
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->ToolButton1->isEnabled());
  ASSERT_FALSE(asked_.isEmpty());
  EXPECT_EQ(asked_.last(), "2:您確定要結束本系統嗎?");
  answer_ = true;
  EXPECT_TRUE(f->close());
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection));
}

TEST_F(MainWindow, CloseDuringStartupDoesNotAsk) {
  putInstallation();
  ASSERT_TRUE(CreateMainWindows());
  EXPECT_TRUE(VoForm->close());
  EXPECT_TRUE(asked_.isEmpty());
}

TEST_F(MainWindow, MissingTemplateShowsOneMessageAndStops) {
  putTemplate(QStringLiteral("ruto4.mdb"));
  putReference();
  EXPECT_FALSE(CreateMainWindows());
  EXPECT_EQ(asked_, QStringList{"6:" + kTemplateMissingText});
  EXPECT_FALSE(has("DeRirAz.ini"));
}

TEST_F(MainWindow, UnopenableDatabaseShowsOneMessageAndWritesNothing) {
  putTemplate();
  putMarker("ruto4.mdb", "not a database");
  putReference();
  EXPECT_FALSE(CreateMainWindows());
  EXPECT_EQ(asked_, QStringList{"6:" + kDatabaseOpenText});
  EXPECT_FALSE(has("DeRirAz.ini"));
  EXPECT_EQ(content("ruto4.mdb"), "not a database");
}

TEST_F(MainWindow, UnreadableSettingsAreReportedAndLeftAlone) {
  putInstallation();
  ASSERT_TRUE(QDir().mkdir(path("DeRirAz.ini")));
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_TRUE(asked_[0].startsWith("5:" + kSettingsUnreadableText));
  EXPECT_EQ(Settings.CalStandard, 4000);
  EXPECT_DOUBLE_EQ(CompFactor[1], 0.8541);
  EXPECT_TRUE(QFileInfo(path("DeRirAz.ini")).isDir());
}

TEST_F(MainWindow, ExistingSettingsAreRead) {
  putInstallation();
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("測試診所");
  s.CalHigh = 3500;
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), FormatSettings(s).toUtf8()));
  TVoForm* f = start();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Settings.CalHigh, 3500);
  EXPECT_EQ(f->StatusText->text(), "測試診所");
}


class MainWindowWithMeter : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    putInstallation();
    backend_ = std::make_shared<ruto::SimulatedMeterBackend>();
    meter_ = backend_->AddMeter();
    VoForm = new TVoForm(new ruto::THidDeviceController(backend_, nullptr), nullptr);
    ASSERT_FALSE(VoForm->StartupFailed);
    VoForm->show();
    QCoreApplication::processEvents();
    VoForm->FormActivate();
    meter_->ClearLog();
  }
  QStringList commands() const {
    QStringList c;
    for (const QByteArray& b : meter_->Commands()) c << QString::fromLatin1(b);
    return c;
  }
  std::shared_ptr<ruto::SimulatedMeterBackend> backend_;
  std::shared_ptr<ruto::SimulatedMeter> meter_;
};

TEST_F(MainWindowWithMeter, MeterIsClaimedAtCreation) {
  ASSERT_NE(ruto::MeterState.Device, nullptr);
  meter_->SetReading(0x4D2);
  EXPECT_EQ(ruto::ReadMeterValue(), 0x4D2);
}

TEST_F(MainWindowWithMeter, ExitSignalsAsksAndStopsTheMeterOnYes) {
  answer_ = false;
  EXPECT_FALSE(VoForm->close());
  const QStringList afterNo = commands();
  ASSERT_FALSE(afterNo.isEmpty());
  EXPECT_TRUE(afterNo.first().startsWith('S'));
  EXPECT_FALSE(afterNo.contains("X000000"));
  meter_->ClearLog();
  answer_ = true;
  EXPECT_TRUE(VoForm->close());
  EXPECT_EQ(commands().last(), "X000000");
}
