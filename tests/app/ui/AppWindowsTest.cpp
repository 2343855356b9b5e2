#include <gtest/gtest.h>

#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/WindowOpeners.h"
#include "app/ui/AboutBox.h"
#include "app/ui/AppWindows.h"
#include "app/ui/VoCust.h"
#include "app/ui/VoStatu.h"
#include "device/MeterFixture.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"

using namespace ruto;

namespace {

// Runs the screen to its end on virtual time, as its timer would.
void runToEnd(TVoStatu& w, VirtualClock& clock) {
  w.show();
  w.FormActivate();
  for (int guard = 0; !w.Run.Finished && guard < 1000; ++guard) {
    clock.advance(10);
    w.RunPass();
  }
  ASSERT_TRUE(w.Run.Finished);
}

std::string texts(std::initializer_list<const QLabel*> labels) {
  QStringList out;
  for (const QLabel* l : labels) out << l->text();
  return out.join('|').toStdString();
}

}  // namespace

class StatusScreen : public ruto::test::MeterFixture {};

// Without a meter red lamps and "None!", with one green lamps and its values; the screen
// closes itself after "Done.".
TEST_F(StatusScreen, LampsValuesAndTheClose) {
  for (const bool withMeter : {false, true}) {
    SCOPED_TRACE(withMeter);
    if (withMeter) {
      SimulatedMeterConfig config;
      config.SerialNumber = "ZV-7";
      config.VersionNumber = 0x0200;
      start(config);
    }
    TVoStatu w;
    EXPECT_EQ(w.size(), QSize(kStatusWidth, kStatusHeight));
    runToEnd(w, virtualClock);
    ruto::test::savePng(w.grab().toImage(), withMeter ? "status-screen-meter" : "status-screen");
    EXPECT_EQ(w.StatusBar1->currentMessage(), "Done.");
    EXPECT_EQ(texts({w.StaticText5, w.StaticText6, w.StaticText7}),
              withMeter ? "Vo-100 Tw|ZV-7|VO100 HW 2.1" : "None!|None!|None!");
    // Every lamp painted in the run's colour, none in the other.
    const TColor lit = withMeter ? kLampGreen : kLampRed, other = withMeter ? kLampRed : kLampGreen;
    for (int i = 1; i <= 7; ++i) {
      const QImage lamp = w.LedLamp[i]->grab().toImage();
      int litPixels = 0, otherPixels = 0;
      for (int y = 0; y < lamp.height(); ++y)
        for (int x = 0; x < lamp.width(); ++x) {
          litPixels += ruto::test::at(lamp, x, y) == lit;
          otherPixels += ruto::test::at(lamp, x, y) == other;
        }
      EXPECT_GT(litPixels, 10) << i;
      EXPECT_EQ(otherPixels, 0) << i;
    }
    EXPECT_EQ(w.GradientBar1->Position(), 1300);
    QCoreApplication::processEvents();  // the posted close
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.Lamp1->Blink());
  }
}

// An old database in the install folder is migrated by the screen after "Done.".
TEST_F(StatusScreen, MigratesTheOldDatabase) {
  QTemporaryDir install;
  SetInstallDir(install.path());
  for (const char* name : {"ruto4.mdb", "ruto.mdb"})
    ASSERT_FALSE(dbtest::freshCopy(install, name).isEmpty());
  ASSERT_EQ(OpenDatabase("old", install.filePath("ruto.mdb"), kMainTables), DbOpenResult::Ok);
  ASSERT_TRUE(dbtest::exec("old", "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('A1', '舊客戶')"));
  CloseDatabase("old");
  ASSERT_EQ(OpenDatabase(kMainConnection, install.filePath("ruto4.mdb"), kMainTables),
            DbOpenResult::Ok);
  TVoStatu w;
  runToEnd(w, virtualClock);
  EXPECT_TRUE(QFile::exists(install.filePath("ruto_BAK.mdb")));
  EXPECT_FALSE(QFile::exists(install.filePath("ruto.mdb")));
  EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT NAME FROM VOCUST"), "舊客戶");
  EXPECT_EQ(w.GradientBar1->Position(), 1300);
  CloseDatabase(kMainConnection);
  SetInstallDir(QStringLiteral(RUTO_INSTALL_DIR));
}

class UserData : public InstallFolderTest {
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
    TVoCust::SetFilePicker(nullptr);
    InstallFolderTest::TearDown();
  }
  static inline QStringList started;
};

TEST_F(UserData, ShowsTheSettingsAndSavesWhatTheDialogHolds) {
  TVoCust w;
  w.show();
  QString ticks;
  for (int i = 1; i <= 6; ++i) ticks += w.CheckBox[i]->isChecked() ? 'T' : 'F';
  EXPECT_EQ(ticks, "TFTFFF");
  EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet1);
  EXPECT_EQ(w.ProgEdit[2]->toolTip(), "/opt/p2");
  w.HintEdit[4]->setText("新說明");
  EXPECT_EQ(w.HintEdit[4]->toolTip(), "新說明");
  ruto::test::savePng(w.grab().toImage(), "user-data-dialog");

  w.Edit1->setText("  王醫師  ");
  for (int i = 1; i <= 6; ++i) w.CheckBox[i]->setChecked(i == 1 || i == 3);
  w.ProgEdit[3]->setText("  /usr/bin/true \t");
  w.ParamEdit[3]->setText(" --x ");
  w.ToolButton2Click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  Settings = DefaultSettings();
  ASSERT_TRUE(LoadSaveSettings(false));  // what was written is what is read back
  EXPECT_EQ(QStringList({Settings.ExtProgEnabled, Settings.UserName1, Settings.ExtProgPath[3],
                         Settings.ExtProgParam[3], Settings.ExtProgHint[4]})
                .join('|')
                .toStdString(),
            "101000|  王醫師  |/usr/bin/true|--x|新說明");
  EXPECT_TRUE(started.isEmpty());
}

// Test starts the unsaved texts, or says once that nothing started; browse replaces an edit
// only when a file is picked; leave keeps the file as it was.
TEST_F(UserData, TestBrowseAndLeave) {
  const QByteArray before = content(kSettingsFileName);
  TVoCust w;
  w.show();
  w.ProgEdit[2]->setText("  /bin/echo ");
  w.ParamEdit[2]->setText(" 你好 ");
  w.TestButton[2]->click();
  w.ProgEdit[1]->setText(" E:/nowhere/prog.exe ");
  w.TestButton[1]->click();
  EXPECT_EQ(started, QStringList({"/bin/echo|你好"}));
  EXPECT_EQ(asked_, QStringList({"5:無法啟動外部程式：E:/nowhere/prog.exe"}));

  static QString picked;
  TVoCust::SetFilePicker([](QWidget*, const QString&) { return picked; });
  picked = "/usr/bin/env";
  w.ProgBrowse[5]->click();
  picked.clear();
  w.ParamBrowse[2]->click();
  EXPECT_EQ(w.ProgEdit[5]->text(), "/usr/bin/env");
  EXPECT_EQ(w.ParamEdit[2]->text(), " 你好 ");

  w.CheckBox[2]->setChecked(true);
  w.ToolButton3Click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(content(kSettingsFileName), before);
  EXPECT_EQ(Settings.ExtProgEnabled, "1x1000");
}

// A save the disk refuses: one message (the settings' own), the dialog stays open and the
// settings in use stay as they were.
TEST_F(UserData, FailedSaveReportsOnceAndKeepsTheSettings) {
  ASSERT_TRUE(QFile::remove(path(kSettingsFileName)));
  ASSERT_TRUE(QDir().mkdir(path(kSettingsFileName)));
  TVoCust w;
  w.show();
  w.Edit1->setText("新名稱");
  w.ToolButton2Click();
  EXPECT_EQ(asked_.size(), 1) << asked_.join('\n').toStdString();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(Settings.UserName1, "診所");
}

class AboutBoxWindow : public ruto::test::MeterFixture {};

// Serial number, hardware version and the counter with thousands separators in at least
// eight characters; without a meter "None!", nothing and 0.
TEST_F(AboutBoxWindow, MeterValues) {
  const struct {
    int counter;  // -1: no meter
    const char* expected;
  } cases[] = {{-1, "None!||[        0 ]"},
               {42, "ZV10000001|VO100 HW 2.1|[       42 ]"},
               {1234567, "ZV10000001|VO100 HW 2.1|[ 1,234,567 ]"}};
  for (const auto& c : cases) {
    if (c.counter >= 0 && !meter) start();
    if (meter)
      for (int reg = 6; reg <= 8; ++reg)
        meter->setRegister(reg, (c.counter >> (8 * (8 - reg))) & 0xFF);
    MeterState.SerialNo = meter ? "ZV10000001" : "None!";
    TAboutBox w;
    w.show();
    EXPECT_EQ(texts({w.StaticText6, w.StaticText17, w.StaticText14}), c.expected);
    ruto::test::savePng(w.grab().toImage(), QStringLiteral("about-box-%1").arg(c.counter));
    if (meter) {
      EXPECT_EQ(meter->registerValue(8), c.counter & 0xFF);  // only read
    }
  }
  EXPECT_EQ(MeasureCounterText(999), "[      999 ]");
}

TEST(AppWindows, RegisterTheirOpeners) {
  WindowOpeners() = TWindowOpeners{};
  registerAppWindows();
  EXPECT_TRUE(WindowOpeners().startupStatus && WindowOpeners().userData &&
              WindowOpeners().aboutBox);
  WindowOpeners() = TWindowOpeners{};
}
