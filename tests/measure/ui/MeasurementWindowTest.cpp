// The measurement window offscreen: button rules, clearing, the client block, settings on
// close, child windows and the counter, the minimum response controls, and a run on the
// simulated meter rendered to PNG.

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "UiChecks.h"
#include "app/AskUser.h"
#include "app/InstallDir.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "measure/MeterRunFixture.h"
#include "measure/PointTables.h"
#include "measure/ui/MeasurementWindow.h"
#include "support/TestSupport.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"
#include "widgets/SortingGrid.h"

using namespace ruto;
using namespace ruto::test;

namespace {

class MeasurementWindowTest : public test::InstalledMeterFixture {
 protected:
  void SetUp() override {
    InstalledMeterFixture::SetUp();
    CurrentTest = TCurrentTest{};
    CurrentClient = TClientInfo{};
    ViewState = TViewState{};
    InitCompFactors();
    savedOpeners = WindowOpeners();
    WindowOpeners() = TWindowOpeners{};
    SetAskUserResponder([this](MsgKind, const QString& text) {
      questions << text;
      return answer;
    });
    startReading([this] { return reading; });
  }
  void TearDown() override {
    WindowOpeners() = savedOpeners;
    InstalledMeterFixture::TearDown();
  }

  // One pass of the window's run, then 10 ms of virtual time.
  void tick(MeasurementWindow& w) {
    w.measureTick();
    w.measureTimer->stop();
    virtualClock.advance(10);
  }
  void ticksUntil(MeasurementWindow& w, const std::function<bool()>& done, int limit = 2000) {
    for (int i = 0; i < limit && w.Run().running() && !(done && done()); ++i) tick(w);
  }

  TWindowOpeners savedOpeners;
  QStringList questions;
  bool answer = true;
  int reading = 0;
};

TEST_F(MeasurementWindowTest, FormShowEnablesButtonsByTheValuesHeld) {
  // Analysis and comparison need all 24 values, store and clear any; the range comes from the
  // setting without values, else from the test.
  const struct {
    int zeros;  // how many of the 24 values are 0
    bool analysis, store;
    const char *range, *cell12;
  } cases[] = {{0, true, true, "[ Hi ]", " 64"},
               {1, false, true, "[ Hi ]", " 64"},
               {24, false, false, "[Standard]", ""}};
  for (const auto& c : cases) {
    for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = p <= c.zeros ? 0 : 40 + p;
    CurrentTest.VoVota = true;
    MeasurementWindow w;
    w.show();
    SCOPED_TRACE(c.zeros);
    EXPECT_EQ(w.analysisButton->isEnabled(), c.analysis);
    EXPECT_EQ(w.comparisonButton->isEnabled(), c.analysis);
    EXPECT_EQ(w.storeButton->isEnabled(), c.store);
    EXPECT_EQ(w.clearButton->isEnabled(), c.store);
    EXPECT_TRUE(w.startButton->isEnabled());
    EXPECT_TRUE(w.readButton->isEnabled());
    EXPECT_FALSE(w.stopButton->isEnabled());
    EXPECT_FALSE(w.valueGrid->isEnabled());
    EXPECT_EQ(w.Run().HasValues, c.store);
    EXPECT_EQ(w.rangeLabel->text(), c.range) << c.zeros;
    EXPECT_EQ(w.valueGrid->Cells(12, 2), c.cell12) << c.zeros;
  }
}

// The 24 values of the test in work are read from the grid without looking at it: through
// the accessible table, each cell under its meridian and side headings.
TEST_F(MeasurementWindowTest, ValuesAreReadThroughTheAccessibleTable) {
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 20 + 3 * p;
  CurrentTest.VoVota = true;
  MeasurementWindow w;
  w.show();
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(w.valueGrid);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->text(QAccessible::Name), "經絡能量測定值");
  QAccessibleTableInterface* table = grid->tableInterface();
  ASSERT_NE(table, nullptr);
  for (int p = 1; p <= 24; ++p) {
    const GridCell at = PointCell(p);
    QAccessibleInterface* cell = table->cellAt(at.row, at.col);
    ASSERT_NE(cell, nullptr) << p;
    EXPECT_EQ(cell->text(QAccessible::Name), QString::number(20 + 3 * p)) << p;
    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
              MeridianHeading(at.col).trimmed())
        << p;
    EXPECT_EQ(table->rowDescription(at.row), SideHeading(at.row).trimmed()) << p;
  }
}

TEST_F(MeasurementWindowTest, ClientBlockAndBirthday) {
  CurrentClient = {"A01", "王小明", false, 0, {}, "02-1234", {}, {}, {}};
  const struct {
    double birth;
    bool shown;
  } cases[] = {{4000.0, true}, {3999.9, false}, {toOleDate(QDate(1980, 5, 1)), true}};
  for (const auto& c : cases) {
    CurrentClient.DBirth = c.birth;
    MeasurementWindow w;
    w.show();
    EXPECT_EQ(w.clientNoLabel->text(), "A01");
    EXPECT_EQ(w.clientNameLabel->text(), "王小明");
    EXPECT_EQ(w.telLabel->text(), "02-1234");
    EXPECT_TRUE(w.femaleButton->isChecked());
    EXPECT_EQ(w.birthLabel->text(), c.shown ? formatOleDate(c.birth) : "") << c.birth;
    const int years = QDate::currentDate().year() - fromOleDate(c.birth).date().year();
    EXPECT_EQ(w.ageLabel->text(), c.shown ? Format("%3d", {static_cast<long long>(years)}) : "");
  }
}

TEST_F(MeasurementWindowTest, ClearKeepsMobileFaxAndEmail) {
  CurrentClient = {"A01", "王", false, 30000, "台北", "02", "0912", "fax", "a@b.c"};
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 50;
  CurrentTest.MKey = 7;
  CurrentTest.LivePointCount = 3;
  CurrentTest.Memo1 = QStringList{"note"};
  ViewState.AnalysisPage = 4;
  MeasurementWindow w;
  w.show();
  answer = false;
  w.clearValues();
  EXPECT_EQ(CurrentTest.Values[1], 50.0) << "否 keeps everything";
  answer = true;
  w.clearValues();
  ASSERT_EQ(questions.size(), 2);
  EXPECT_TRUE(questions[0].startsWith("確定要清除視窗中的經絡能量數據嗎?\r\n (本功能"));
  const TClientInfo& k = CurrentClient;
  EXPECT_EQ(fields(k.CustNo, k.Name, k.Addr, k.Tel, k.Tel2, k.Tel3, k.EMail), "||||0912|fax|a@b.c")
      << "the client record: only the phone numbers and the mail stay";
  EXPECT_TRUE(k.Sex);
  EXPECT_EQ(k.DBirth, 0);
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_EQ(CurrentTest.LivePointCount, 0);
  EXPECT_TRUE(CurrentTest.Memo1.isEmpty());
  EXPECT_EQ(ViewState.AnalysisPage, 0);
  EXPECT_EQ(CurrentTest.Values[24], 0);
  EXPECT_FALSE(w.analysisButton->isEnabled());
  EXPECT_FALSE(w.storeButton->isEnabled());
  EXPECT_TRUE(w.startButton->isEnabled());
  EXPECT_TRUE(w.maleButton->isChecked());
  EXPECT_EQ(w.valueGrid->Cells(1, 1), "");
  EXPECT_EQ(w.clientNoLabel->text(), "");
}

// A stored test cleared for a run that the high-range check then refuses holds zeros: no
// analysis or comparison of them.
TEST_F(MeasurementWindowTest, ARefusedRunAfterClearingLeavesAnalysisOff) {
  CurrentTest.Values.fill(50);
  CurrentTest.MKey = 7;
  Settings.HighPotential = true;
  MeasurementWindow w;
  w.show();
  SetAskUserResponder([](MsgKind kind, const QString&) { return kind == MsgKind::QuestionYesNo; });
  w.startMeasurement();
  ASSERT_EQ(CurrentTest.Values[1], 0);
  EXPECT_FALSE(w.analysisButton->isEnabled());
  EXPECT_FALSE(w.comparisonButton->isEnabled());
}

TEST_F(MeasurementWindowTest, MinimumResponseControlsStayInStep) {
  const struct {
    double setting;
    int position;
    const char* edit;
  } cases[] = {
      {0.0, 1, "    0.1"}, {9.0, 50, "    5.0"}, {1.0, 10, "    1.0"}, {2.34, 23, "    2.3"}};
  for (const auto& c : cases) {
    Settings.MinResponse = c.setting;
    MeasurementWindow w;
    EXPECT_EQ(w.minResponseSpin->value(), c.position) << c.setting;
    EXPECT_EQ(w.minResponseSlider->value(), c.position) << c.setting;
    EXPECT_EQ(w.minResponseEdit->text(), c.edit) << c.setting;
    EXPECT_GE(Settings.MinResponse, 0.1) << c.setting;
    EXPECT_LE(Settings.MinResponse, 5.0) << c.setting;
  }
  MeasurementWindow w;
  w.minResponseSlider->setValue(20);
  EXPECT_EQ(w.minResponseSpin->value(), 20);
  EXPECT_EQ(w.minResponseEdit->text(), "    2.0");
  EXPECT_DOUBLE_EQ(Settings.MinResponse, 2.0);
  EXPECT_DOUBLE_EQ(w.Run().ContactThreshold, 40.0);
  w.minResponseSpin->setValue(5);
  EXPECT_EQ(w.minResponseSlider->value(), 5);
  EXPECT_DOUBLE_EQ(w.Run().ContactThreshold, 10.0);
}

TEST_F(MeasurementWindowTest, ClosingWritesTheSettingsAndIsRefusedDuringARun) {
  const QString file = QDir(dir.path()).filePath(kSettingsFileName);
  Settings.HighPotential = true;
  MeasurementWindow w;
  w.show();
  EXPECT_EQ(w.focusWidget(), w.highRangeButton) << "the range chosen, where the user starts";
  w.highRangeButton->setChecked(true);
  EXPECT_TRUE(Settings.HighPotential);
  EXPECT_EQ(w.rangeLabel->text(), "[ Hi ]");
  w.standardRangeButton->setChecked(true);
  ASSERT_TRUE(w.startButton->isEnabled());
  w.startMeasurement();
  ASSERT_TRUE(w.Run().running());
  QTest::keyClick(&w, Qt::Key_Escape);  // stops no run
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Run().StopRequested);
  w.close();  // the close box acts as the stop button
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.Run().StopRequested);
  EXPECT_FALSE(QFile::exists(file));
  tick(w);
  EXPECT_FALSE(w.Run().running());
  EXPECT_EQ(w.focusWidget(), w.standardRangeButton) << "not the slider the grid passed it to";
  w.close();
  EXPECT_FALSE(w.isVisible());
  ASSERT_TRUE(QFile::exists(file)) << "written even when nothing changed";
  EXPECT_FALSE(ParseSettings(QString::fromUtf8(test::readFile(file))).HighPotential);
}

TEST_F(MeasurementWindowTest, ChildWindowsHideTheWindowAndTheAnalysisAdvancesTheCounter) {
  const struct {
    int live;
    int counterAfter;
    int liveAfter;
  } cases[] = {{12, 0x000102, 0}, {11, 0x000101, 11}, {24, 0x000102, 0}};
  for (const auto& c : cases) {
    for (int r : {6, 7, 8}) meter->setRegister(r, r == 6 ? 0 : 1);  // counter 0x000101
    CurrentTest.LivePointCount = c.live;
    MeasurementWindow w;
    w.show();
    bool hiddenDuring = false;
    WindowOpeners().analysis = [&](QWidget*) { hiddenDuring = !w.isVisible(); };
    w.openAnalysis();
    EXPECT_TRUE(hiddenDuring) << c.live;
    EXPECT_TRUE(w.isVisible()) << c.live;
    EXPECT_EQ(
        (meter->registerValue(6) << 16) | (meter->registerValue(7) << 8) | meter->registerValue(8),
        c.counterAfter)
        << c.live;
    EXPECT_EQ(CurrentTest.LivePointCount, c.liveAfter);
  }
  // Manual entry for the test in work, then the range follows the test.
  MeasurementWindow w;
  w.show();
  std::int32_t entryKey = -1;
  WindowOpeners().manualEntry = [&](QWidget*, std::int32_t mkey) {
    entryKey = mkey;
    CurrentTest.Values[1] = 77;
    CurrentTest.VoVota = true;
  };
  w.openManualEntry();
  EXPECT_EQ(entryKey, 0);
  EXPECT_TRUE(ViewState.EntryNewMode);
  EXPECT_TRUE(w.highRangeButton->isChecked());
  EXPECT_TRUE(Settings.HighPotential);
  EXPECT_EQ(w.valueGrid->Cells(1, 1), " 77");
  // An unregistered hook does nothing at all.
  ViewState.BrowseForCurrent = false;
  w.openClientBrowser();
  EXPECT_FALSE(ViewState.BrowseForCurrent);
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MeasurementWindowTest, ChildWindowFromAModalRoundComesBackToTheSameWindow) {
  // The analysis window shows its opener again itself as it closes, as the children do.
  CurrentTest.LivePointCount = 12;
  meter->setRegister(8, 5);
  MeasurementWindow w;
  int opened = 0, rounds = 0;
  bool hiddenDuring = false;
  WindowOpeners().analysis = [&](QWidget* parent) {
    ++opened;
    hiddenDuring = !parent->isVisible();
    parent->show();
  };
  QTimer::singleShot(0, &w, [&] {
    ++rounds;
    w.openAnalysis();
    QTimer::singleShot(0, &w, [&] {
      ++rounds;
      EXPECT_TRUE(w.isVisible()) << "shown again";
      EXPECT_TRUE(w.testAttribute(Qt::WA_ShowModal)) << "modal again";
      EXPECT_EQ(meter->registerValue(8), 6) << "counter advanced once, after the child";
      w.close();
    });
  });
  w.exec();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(rounds, 2);
  EXPECT_EQ(CurrentTest.LivePointCount, 0);
  EXPECT_TRUE(hiddenDuring);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(MeasurementWindowTest, RunRendersTraceFiguresAndLamps) {
  // A picture for point 1 in kind 1; none in kind 2.
  ASSERT_TRUE(QDir(dir.path()).mkpath("Data"));
  QImage pic(60, 40, QImage::Format_RGB32);
  pic.fill(Qt::darkCyan);
  ASSERT_TRUE(pic.save(QDir(dir.path()).filePath("Data/PLh1.bmp"), "BMP"));
  Settings.PointPictureKind = 1;
  MeasurementWindow w;
  w.show();
  reading = 0;
  w.startMeasurement();
  w.measureTimer->stop();
  ASSERT_TRUE(w.Run().running());
  EXPECT_TRUE(w.tracePanel->isVisible());
  EXPECT_FALSE(w.clientGroup->isVisible());
  EXPECT_FALSE(w.pointPicture->pixmap().isNull());
  EXPECT_EQ(w.limbLabel->text(), "左  手");
  EXPECT_EQ(w.pointLabel->text(), "太淵 LU9");
  EXPECT_EQ(w.meridianEnglishLabel->text(), "Lung Meridian(LU)");
  EXPECT_EQ(w.statusBar->currentMessage(), "請至指定的代表測定點開始測量,或以滑鼠點選測量位置");

  // Re-aim by a click on the grid, and a picture kind without files.
  tick(w);
  w.valueGrid->setCurrent(3, 2);
  EXPECT_EQ(w.Run().CurrentPoint, 9);
  EXPECT_EQ(w.pointLabel->text(), "神門 HT7");
  w.drawingButton->click();
  EXPECT_EQ(Settings.PointPictureKind, 2);
  EXPECT_TRUE(w.pointPicture->pixmap().isNull()) << "GRh3.bmp is missing: the frame stays empty";

  reading = 1000;
  ticksUntil(w, [&] { return w.completionBar->Position() >= 1500; });
  ASSERT_EQ(w.Run().phase(), MeasureRun::Phase::Sampling);
  EXPECT_GT(countColor(w.traceLayer(), 0x0000FF), 50);
  EXPECT_EQ(w.completionLamp->TrueColor(), TColor(0x0000FF));
  EXPECT_TRUE(w.readingLamp->Value());
  const QImage mid = w.grab().toImage();
  test::savePng(mid, "measurement-mid-sampling");
  const QRect box(w.traceBox->mapTo(&w, QPoint(0, 0)), w.traceBox->size());
  EXPECT_GT(countColor(mid, 0x0000FF, box), 50) << "trace on screen";
  const QRect lamp(w.completionLamp->mapTo(&w, QPoint(0, 0)), w.completionLamp->size());
  EXPECT_GT(countColor(mid, 0x0000FF, lamp), 10) << "completion lamp red on screen";

  // The rest of the run: every point pressed and lifted.
  meter->setReadingSource(
      [&] { return w.Run().phase() == MeasureRun::Phase::AwaitLift ? 0 : 1000; });
  ticksUntil(w, {}, 24 * 400);
  ASSERT_FALSE(w.Run().running());
  EXPECT_EQ(w.valueGrid->Cells(3, 2), " 50");
  EXPECT_EQ(w.valueGrid->Cells(12, 2), " 50");
  EXPECT_EQ(w.valueGrid->Cells(1, 1), "") << "point 1 was re-aimed past";
  EXPECT_EQ(w.readingFigure->text(), "[  0.0]");
  EXPECT_FALSE(w.tracePanel->isVisible());
  EXPECT_TRUE(w.clientGroup->isVisible());
  EXPECT_FALSE(w.completionLamp->Value());
  EXPECT_FALSE(w.readingLamp->Value());
  EXPECT_TRUE(w.storeButton->isEnabled());
  EXPECT_FALSE(w.analysisButton->isEnabled()) << "points 1-8 were skipped";
  EXPECT_FALSE(w.testDateLabel->text().isEmpty()) << "a date";
  const QImage after = w.grab().toImage();
  test::savePng(after, "measurement-after-run");
  EXPECT_EQ(countColor(after, 0x0000FF, lamp), 0) << "completion lamp unlit on screen";
  EXPECT_EQ(meter->commands().back(), QByteArray("X000000"));
}

TEST_F(MeasurementWindowTest, EveryPointPictureIsInstalledAndShown) {
  SetInstallDir(test::generatedPath(QString()));
  MeasurementWindow w;
  w.show();
  w.startMeasurement();
  w.measureTimer->stop();
  for (int kind = 1; kind <= 3; ++kind) {
    Settings.PointPictureKind = kind;
    for (int point = 1; point <= 24; ++point) {
      w.Run().CurrentPoint = std::uint16_t(point);
      w.ShowPointPicture();
      const QImage shown = w.pointPicture->pixmap().toImage();
      ASSERT_FALSE(shown.isNull()) << PointPictureName(point, kind).toStdString();
      EXPECT_EQ(shown.size(), QSize(240, 200));
      // The marked point: some strong red in the picture.
      const auto red = [](QColor c) { return c.red() > 180 && c.green() < 60 && c.blue() < 60; };
      EXPECT_GT(countPixels(shown, red), 40) << point << "/" << kind;
    }
  }
  w.stopMeasurement();
  tick(w);
}

}  // namespace
