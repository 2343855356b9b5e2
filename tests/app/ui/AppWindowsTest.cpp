#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/WindowOpeners.h"
#include "app/ui/AboutBox.h"
#include "app/ui/AppWindows.h"
#include "app/ui/StartupStatusScreen.h"
#include "app/ui/UserDataDialog.h"
#include "device/MeterFixture.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"

using namespace ruto;

namespace {

// Runs the screen to its end on virtual time, as its timer would.
void runToEnd(StartupStatusScreen& w, VirtualClock& clock) {
  w.show();
  w.startRun();
  for (int guard = 0; !w.run.Finished && guard < 1000; ++guard) {
    clock.advance(10);
    w.runPass();
  }
  ASSERT_TRUE(w.run.Finished);
}

template <typename... L>
std::string texts(const L*... labels) {
  return fields(labels->text()...);
}

}  // namespace

class StartupStatusScreenTest : public ruto::test::MeterFixture {};

// Without a meter red lamps and "None!", with one green lamps and its values; the screen
// closes itself after "Done.".
TEST_F(StartupStatusScreenTest, LampsValuesAndTheClose) {
  for (const bool withMeter : {false, true}) {
    SCOPED_TRACE(withMeter);
    if (withMeter) {
      SimulatedMeterConfig config;
      config.SerialNumber = "ZV<b>7</b>";
      config.VersionNumber = 0x0200;
      start(config);
    }
    StartupStatusScreen w;
    EXPECT_EQ(w.size(), QSize(kStatusWidth, kStatusHeight));
    w.show();
    w.startRun();
    // Neither Escape nor a close request ends the run before its stop command.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&w, &escape);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    runToEnd(w, virtualClock);
    ruto::test::savePng(w.grab().toImage(), withMeter ? "status-screen-meter" : "status-screen");
    EXPECT_EQ(texts(w.modelLabel, w.serialLabel, w.hardwareLabel),
              withMeter ? "Vo-100 Tw|ZV<b>7</b>|VO100 HW 2.1" : "None!|None!|None!");
    EXPECT_EQ(shownText(w.serialLabel->text(), w.serialLabel->textFormat()), w.run.SerialText);
    // Every lamp lit in the run's colour, and painted in it on screen, none in the other.
    const TColor lit = withMeter ? kLampGreen : kLampRed;
    const TColor other = withMeter ? kLampRed : kLampGreen;
    const QImage screen = w.grab().toImage();
    for (int i = 1; i <= 7; ++i) {
      EXPECT_EQ(w.usbLamps[i]->TrueColor(), lit) << i;
      EXPECT_TRUE(w.usbLamps[i]->Value()) << i;
      const QRect lamp(w.usbLamps[i]->mapTo(&w, QPoint(0, 0)), w.usbLamps[i]->size());
      EXPECT_GT(ruto::test::countColor(screen, lit, lamp), 10) << "lamp " << i << " painted lit";
      EXPECT_EQ(ruto::test::countColor(screen, other, lamp), 0)
          << "lamp " << i << " in the other colour";
    }
    EXPECT_EQ(w.statusBar->currentMessage(), "Done.");
    EXPECT_EQ(w.progressBar->Position(), 1300);
    QCoreApplication::processEvents();  // the posted close
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.busyLamp->Blink());
  }
}

// An old database in the install folder is migrated by the screen after "Done.".
TEST_F(StartupStatusScreenTest, MigratesTheOldDatabase) {
  QTemporaryDir install;
  SetInstallDir(install.path());
  for (const char* name : {"ruto4.mdb", "ruto.mdb"})
    ASSERT_FALSE(dbtest::freshCopy(install, name).isEmpty());
  ASSERT_TRUE(dbtest::makeDatabase(install.filePath("ruto.mdb"),
                                   {"INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('A1', '舊客戶')"}));
  ASSERT_EQ(OpenDatabase(kMainConnection, install.filePath("ruto4.mdb"), kMainTables),
            DbOpenResult::Ok);
  StartupStatusScreen w;
  runToEnd(w, virtualClock);
  EXPECT_TRUE(QFile::exists(install.filePath("ruto_BAK.mdb")));
  EXPECT_FALSE(QFile::exists(install.filePath("ruto.mdb")));
  EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT NAME FROM VOCUST"), "舊客戶");
  EXPECT_EQ(w.progressBar->Position(), 1300);
  CloseDatabase(kMainConnection);
  SetInstallDir(QStringLiteral(RUTO_INSTALL_DIR));
}

class UserDataDialogTest : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    Settings = DefaultSettings();
    Settings.ExtProgEnabled = "1x1000";
    Settings.UserName1 = "診所";
    for (int i = 1; i <= 6; ++i) Settings.ExtProgPath[i] = QStringLiteral("/opt/p%1").arg(i);
    ASSERT_TRUE(LoadSaveSettings(true));
    started.clear();
    SetExternalStarter([](const QString& program, const QString& param, bool) {
      started << program + "|" + param;
    });
  }
  void TearDown() override {
    SetExternalStarter(nullptr);
    UserDataDialog::setFilePicker(nullptr);
    InstallFolderTest::TearDown();
  }
  static inline QStringList started;
};

TEST_F(UserDataDialogTest, ShowsTheSettingsAndSavesWhatTheDialogHolds) {
  Settings.ExtProgParam[1] = "x --title=<b>Report</b>\n 2";
  UserDataDialog w;
  w.show();
  QString ticks;
  for (int i = 1; i <= 6; ++i) ticks += w.enabledBoxes[i]->isChecked() ? 'T' : 'F';
  EXPECT_EQ(ticks, "TFTFFF");
  EXPECT_EQ(w.pages->currentWidget(), w.userPage);
  EXPECT_EQ(w.focusWidget(), w.userName1Edit);
  EXPECT_EQ(w.programEdits[2]->toolTip(), "/opt/p2");
  EXPECT_EQ(shownText(w.parameterEdits[1]->toolTip()), "x --title=<b>Report</b>\n 2");
  w.hintEdits[4]->setText("新說明");
  EXPECT_EQ(w.hintEdits[4]->toolTip(), "新說明");
  w.hintEdits[5]->setText("SN<b>12</b>");
  EXPECT_EQ(shownText(w.hintEdits[5]->toolTip()), "SN<b>12</b>");
  ruto::test::savePng(w.grab().toImage(), "user-data-dialog");

  w.userName1Edit->setText("  王醫師  ");
  QTest::keyClick(w.userName1Edit, Qt::Key_Escape);  // no cancel: what was typed stays
  EXPECT_TRUE(w.isVisible());
  for (int i = 1; i <= 6; ++i) w.enabledBoxes[i]->setChecked(i == 1 || i == 3);
  w.programEdits[3]->setText("  /usr/bin/true \t");
  w.parameterEdits[3]->setText(" --x ");
  w.saveSettings();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  Settings = DefaultSettings();
  ASSERT_TRUE(LoadSaveSettings(false));  // what was written is what is read back
  EXPECT_EQ(fields(Settings.ExtProgEnabled, Settings.UserName1, Settings.ExtProgPath[3],
                   Settings.ExtProgParam[3], Settings.ExtProgHint[4]),
            "101000|  王醫師  |/usr/bin/true|--x|新說明");
  EXPECT_TRUE(started.isEmpty());
}

// Test starts the unsaved texts, or says once that nothing started; browse replaces an edit
// only when a file is picked; leave keeps the file as it was.
TEST_F(UserDataDialogTest, TestBrowseAndLeave) {
  const QByteArray before = content(kSettingsFileName);
  UserDataDialog w;
  w.show();
  w.programEdits[2]->setText("  /bin/echo ");
  w.parameterEdits[2]->setText(" 你好 ");
  w.testButtons[2]->click();
  w.programEdits[1]->setText(" E:/nowhere/prog.exe ");
  w.testButtons[1]->click();
  EXPECT_EQ(started, QStringList({"/bin/echo|你好"}));
  EXPECT_EQ(asked_, QStringList({"5:無法啟動外部程式：E:/nowhere/prog.exe"}));

  static QString picked;
  UserDataDialog::setFilePicker([](QWidget*, const QString&) { return picked; });
  picked = "/usr/bin/env";
  w.programBrowseButtons[5]->click();
  picked.clear();
  w.parameterBrowseButtons[2]->click();
  EXPECT_EQ(w.programEdits[5]->text(), "/usr/bin/env");
  EXPECT_EQ(w.parameterEdits[2]->text(), " 你好 ");

  w.enabledBoxes[2]->setChecked(true);
  w.leave();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(content(kSettingsFileName), before);
  EXPECT_EQ(Settings.ExtProgEnabled, "1x1000");
}

// A save the disk refuses: one message (the settings' own), the dialog stays open and the
// settings in use stay as they were.
TEST_F(UserDataDialogTest, FailedSaveReportsOnceAndKeepsTheSettings) {
  ASSERT_TRUE(QFile::remove(path(kSettingsFileName)));
  ASSERT_TRUE(QDir().mkdir(path(kSettingsFileName)));
  UserDataDialog w;
  w.show();
  w.userName1Edit->setText("新名稱");
  w.saveSettings();
  EXPECT_EQ(asked_.size(), 1) << asked_.join('\n').toStdString();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(Settings.UserName1, "診所");
}

class AboutBoxTest : public ruto::test::MeterFixture {};

// Serial number, hardware version and the counter with thousands separators in at least
// eight characters; without a meter "None!", nothing and 0.
TEST_F(AboutBoxTest, MeterValues) {
  // The counter (-1: no meter), the texts.
  const std::pair<int, const char*> cases[] = {{-1, "None!||[        0 ]"},
                                               {42, "ZV10000001|VO100 HW 2.1|[       42 ]"},
                                               {999, "ZV10000001|VO100 HW 2.1|[      999 ]"},
                                               {1234567, "ZV10000001|VO100 HW 2.1|[ 1,234,567 ]"}};
  for (const auto& [counter, expected] : cases) {
    if (counter >= 0 && !meter) start();
    if (meter)
      for (int reg = 6; reg <= 8; ++reg)
        meter->setRegister(reg, (counter >> (8 * (8 - reg))) & 0xFF);
    MeterState.SerialNo = meter ? "ZV10000001" : "None!";
    AboutBox w;
    w.show();
    EXPECT_EQ(texts(w.serialLabel, w.hardwareLabel, w.counterLabel), expected);
    ruto::test::savePng(w.grab().toImage(), QStringLiteral("about-box-%1").arg(counter));
    if (meter) {
      EXPECT_EQ(meter->registerValue(8), counter & 0xFF) << "the counter is only read";
    }
  }
  MeterState.SerialNo = "SN<b>12</b>";  // shown as the meter gives it
  AboutBox w;
  w.show();
  EXPECT_EQ(shownText(w.serialLabel->text(), w.serialLabel->textFormat()), "SN<b>12</b>");
}

TEST(AppWindowsTest, RegisterTheirOpeners) {
  WindowOpeners() = TWindowOpeners{};
  registerAppWindows();
  EXPECT_TRUE(WindowOpeners().startupStatus != nullptr);
  EXPECT_TRUE(WindowOpeners().userData != nullptr);
  EXPECT_TRUE(WindowOpeners().aboutBox != nullptr);
  WindowOpeners() = TWindowOpeners{};
}
