#include <gtest/gtest.h>

#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/OldDatabaseMigration.h"
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

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// How many pixels of `image` have the colour `c`.
int pixelsOf(const QImage& image, TColor c) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += ruto::test::at(image, x, y) == c;
  return n;
}

}  // namespace

class StatusScreen : public ruto::test::MeterFixture {
 protected:
  // Runs the screen to its end on virtual time, as its timer would.
  void runToEnd(TVoStatu& w) {
    w.show();
    w.FormActivate();
    for (int guard = 0; !w.Run.Finished && guard < 1000; ++guard) {
      virtualClock.advance(10);
      w.RunPass();
    }
    ASSERT_TRUE(w.Run.Finished);
  }
  // Lit lamps of the colour `c`, counted by their painted pixels.
  static int lampsOf(TVoStatu& w, TColor c) {
    int n = 0;
    for (int i = 1; i <= 7; ++i) n += pixelsOf(w.LedLamp[i]->grab().toImage(), c) > 0;
    return n;
  }
};

TEST_F(StatusScreen, WithoutAMeterRedLampsNoneAndItClosesItself) {
  TVoStatu w;
  EXPECT_EQ(w.size(), QSize(kStatusWidth, kStatusHeight));
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  runToEnd(w);
  const QImage shot = w.grab().toImage();
  ruto::test::savePng(shot, "status-screen-no-meter");
  EXPECT_EQ(w.StatusBar1->currentMessage(), "Done.");
  EXPECT_EQ(QStringList({w.StaticText5->text(), w.StaticText6->text(), w.StaticText7->text()}),
            QStringList({"None!", "None!", "None!"}));
  EXPECT_EQ(lampsOf(w, kLampRed), 7);
  EXPECT_EQ(lampsOf(w, kLampGreen), 0);
  EXPECT_EQ(w.GradientBar1->Position(), 1300);
  // The close request was posted: it is handled with the next events.
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_FALSE(w.Lamp1->Blink());
}

TEST_F(StatusScreen, WithAMeterGreenLampsAndItsValues) {
  SimulatedMeterConfig config;
  config.SerialNumber = "ZV-7";
  config.VersionNumber = 0x0200;
  start(config);
  TVoStatu w;
  runToEnd(w);
  ruto::test::savePng(w.grab().toImage(), "status-screen-meter");
  EXPECT_EQ(QStringList({w.StaticText5->text(), w.StaticText6->text(), w.StaticText7->text()}),
            QStringList({"Vo-100 Tw", "ZV-7", "VO100 HW 2.1"}));
  EXPECT_EQ(lampsOf(w, kLampGreen), 7);
  EXPECT_FALSE(meter->On());
}

// An old database in the install folder is migrated by the screen after "Done.".
class StatusScreenMigration : public InstallFolderTest {
 protected:
  void TearDown() override {
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }
  VirtualClock clock_;
  ScopedClock scoped_{&clock_};
};

TEST_F(StatusScreenMigration, MigratesTheOldDatabase) {
  putTemplate("ruto4.mdb");
  putTemplate("ruto.mdb");
  {
    ASSERT_EQ(OpenDatabase("old", path("ruto.mdb"), kMainTables), DbOpenResult::Ok);
    ASSERT_TRUE(dbtest::exec("old", "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('A1', '舊客戶')"));
    CloseDatabase("old");
  }
  ASSERT_EQ(OpenDatabase(kMainConnection, path("ruto4.mdb"), kMainTables), DbOpenResult::Ok);
  TVoStatu w;
  w.show();
  w.FormActivate();
  for (int guard = 0; !w.Run.Finished && guard < 1000; ++guard) {
    clock_.advance(10);
    w.RunPass();
  }
  EXPECT_TRUE(has("ruto_BAK.mdb"));
  EXPECT_FALSE(has("ruto.mdb"));
  EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT NAME FROM VOCUST WHERE CUSTNO = 'A1'"),
            "舊客戶");
  EXPECT_EQ(w.GradientBar1->Position(), 1300);
  EXPECT_TRUE(asked_.isEmpty()) << asked_.join('\n').toStdString();
}

class UserData : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    Settings = DefaultSettings();
    Settings.ExtProgEnabled = "1x1000";
    Settings.UserName1 = "診所";
    for (int i = 1; i <= 6; ++i) {
      Settings.ExtProgHint[i] = QStringLiteral("說明%1").arg(i);
      Settings.ExtProgPath[i] = QStringLiteral("/opt/p%1").arg(i);
    }
    ASSERT_TRUE(LoadSaveSettings(true));
    started.clear();
    SetExternalStarter([](const QString& program, const QString& param, bool) {
      started << program + "|" + param;
    });
  }
  void TearDown() override {
    SetExternalStarter(nullptr);
    InstallFolderTest::TearDown();
  }
  static QString ticks(const TVoCust& w) {
    QString s;
    for (int i = 1; i <= 6; ++i) s += w.CheckBox[i]->isChecked() ? 'T' : 'F';
    return s;
  }
  static inline QStringList started;
};

TEST_F(UserData, ShowsTheSettingsAndSavesWhatTheDialogHolds) {
  TVoCust w;
  w.show();
  EXPECT_EQ(ticks(w), "TFTFFF");
  EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet1);
  EXPECT_EQ(w.Edit1->text(), "診所");
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
  EXPECT_EQ(Settings.ExtProgEnabled, "101000");
  EXPECT_EQ(Settings.UserName1, "  王醫師  ");
  EXPECT_EQ(Settings.ExtProgPath[3], "/usr/bin/true");
  EXPECT_EQ(Settings.ExtProgParam[3], "--x");
  EXPECT_EQ(Settings.ExtProgHint[4], "新說明");
  // What was written is what is read back.
  const TAppSettings saved = Settings;
  Settings = DefaultSettings();
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.ExtProgEnabled, "101000");
  EXPECT_EQ(Settings.ExtProgPath[3], saved.ExtProgPath[3]);
  EXPECT_TRUE(started.isEmpty());
}

TEST_F(UserData, LeaveKeepsTheFileAndTestStartsTheUnsavedTexts) {
  const QByteArray before = content(kSettingsFileName);
  TVoCust w;
  w.show();
  w.ProgEdit[2]->setText("  /bin/echo ");
  w.ParamEdit[2]->setText(" 你好 ");
  w.TestButton[2]->click();
  EXPECT_EQ(started, QStringList({"/bin/echo|你好"}));
  w.CheckBox[2]->setChecked(true);
  w.ToolButton3Click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(content(kSettingsFileName), before);
  EXPECT_EQ(Settings.ExtProgEnabled, "1x1000");
  EXPECT_EQ(Settings.ExtProgPath[2], "/opt/p2");
}

// A slot whose program is on no drive starts nothing, and the test button says so once.
TEST_F(UserData, TestButtonSaysWhenNothingStarted) {
  TVoCust w;
  w.show();
  w.ProgEdit[1]->setText(" E:/nowhere/prog.exe ");
  w.TestButton[1]->click();
  EXPECT_TRUE(started.isEmpty());
  EXPECT_EQ(asked_, QStringList({"5:無法啟動外部程式：E:/nowhere/prog.exe"}));
}

TEST_F(UserData, BrowseReplacesTheEditOnlyWhenAFileIsPicked) {
  TVoCust w;
  w.show();
  static QString picked;
  TVoCust::SetFilePicker([](QWidget*, const QString&) { return picked; });
  picked = "/usr/bin/env";
  w.ProgBrowse[5]->click();
  EXPECT_EQ(w.ProgEdit[5]->text(), "/usr/bin/env");
  picked.clear();
  w.ParamBrowse[5]->click();
  w.ProgBrowse[5]->click();
  EXPECT_EQ(w.ProgEdit[5]->text(), "/usr/bin/env");
  EXPECT_EQ(w.ParamEdit[5]->text(), "");
  TVoCust::SetFilePicker(nullptr);
}

TEST(AboutBoxCounter, ThousandsSeparatorsInAtLeastEightCharacters) {
  const std::pair<long long, const char*> cases[] = {
      {42, "[       42 ]"}, {1234567, "[ 1,234,567 ]"}, {0, "[        0 ]"}, {999, "[      999 ]"}};
  for (const auto& [counter, text] : cases) EXPECT_EQ(MeasureCounterText(counter), text);
}

class AboutBoxWindow : public ruto::test::MeterFixture {};

TEST_F(AboutBoxWindow, WithoutAMeter) {
  MeterState.SerialNo = "None!";
  TAboutBox w;
  w.show();
  EXPECT_EQ(QStringList({w.StaticText6->text(), w.StaticText17->text(), w.StaticText14->text()}),
            QStringList({"None!", "", "[        0 ]"}));
  ruto::test::savePng(w.grab().toImage(), "about-box-no-meter");
}

TEST_F(AboutBoxWindow, ReadsTheMetersCounter) {
  const std::pair<int, const char*> cases[] = {{42, "[       42 ]"}, {1234567, "[ 1,234,567 ]"}};
  start();
  for (const auto& [counter, text] : cases) {
    meter->SetRegister(6, (counter >> 16) & 0xFF);
    meter->SetRegister(7, (counter >> 8) & 0xFF);
    meter->SetRegister(8, counter & 0xFF);
    MeterState.SerialNo = "ZV10000001";
    TAboutBox w;
    w.show();
    EXPECT_EQ(w.StaticText14->text(), text);
    EXPECT_EQ(w.StaticText6->text(), "ZV10000001");
    EXPECT_EQ(w.StaticText17->text(), "VO100 HW 2.1");
    ruto::test::savePng(w.grab().toImage(), "about-box-meter");
    // The counter is only read.
    EXPECT_EQ(meter->Register(8), counter & 0xFF);
  }
}

TEST(AppWindows, RegisterTheirOpeners) {
  WindowOpeners() = TWindowOpeners{};
  registerAppWindows();
  EXPECT_TRUE(WindowOpeners().startupStatus && WindowOpeners().userData &&
              WindowOpeners().aboutBox);
  WindowOpeners() = TWindowOpeners{};
}
