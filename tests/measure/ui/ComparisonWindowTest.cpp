#include <gtest/gtest.h>
#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include "UiChecks.h"
#include "app/AskUser.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/PrintAbortBox.h"
#include "app/ui/SharedPrinter.h"
#include "measure/ui/ComparisonWindow.h"
#include "records/RecordsFixture.h"
#include "records/ui/ClientBrowser.h"
#include "records/ui/RecordsWindows.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

using namespace ruto::test;

class ComparisonWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCompFactors();
    CurrentClient = {"A01", "王小明", true, 0, {}, {}, {}, {}, {}};
    CurrentTest = {};
    for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 50;
    RecomputeCompValues(CurrentTest);
    CompareTest = {};
    CompareTest.CurveCount = 2;  // from an earlier visit
    ViewState = {};
    SetAskUserResponder([this](MsgKind, const QString& text) {
      asked << text;
      return true;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    SetPrintSpooler({});
    WindowOpeners() = TWindowOpeners{};
  }
  QStringList asked;
};

TEST_F(ComparisonWindowTest, StartsWithOneCurveAndLoadsTheSecond) {
  ComparisonWindow w;
  w.show();
  EXPECT_EQ(CompareTest.CurveCount, 1);
  EXPECT_EQ(w.Block[1][2]->text(), "50.00");
  EXPECT_EQ(w.Block[1][3]->text(), "標準電位");
  EXPECT_EQ(w.Block[2][0]->text(), "");
  EXPECT_FALSE(w.compareBandButton->isEnabled());
  EXPECT_TRUE(w.hideBandButton->isChecked());
  QImage chart = w.chartBox->grab().toImage();
  EXPECT_GT(countColor(chart, 0x0000FF), 24 * 20);  // red squares of curve 1
  EXPECT_EQ(countColor(chart, 0xFFFF00), 0);

  WindowOpeners().clientBrowser = [](QWidget*) {
    EXPECT_FALSE(ViewState.BrowseForCurrent);
    CompareTest.CustNo = "B02";
    CompareTest.Name = "林美";
    CompareTest.Mean = 30;
    CompareTest.VoVota = true;
    CompareTest.Values.fill(30);
    ViewState.TestLoaded = true;
  };
  w.loadButton->click();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.compareBandButton->isEnabled());
  EXPECT_EQ(CompareTest.CurveCount, 2);
  EXPECT_EQ(w.Block[2][1]->text(), "林美");
  EXPECT_EQ(w.Block[2][3]->text(), "高電位");
  w.compareBandButton->click();
  EXPECT_EQ(w.Data().Band, BandSource::Compare);
  EXPECT_FALSE(w.hideBandButton->isChecked());
  chart = w.chartBox->grab().toImage();
  EXPECT_GT(countColor(chart, 0xFFFF00), 24 * 20);
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("comparison-window"));
}

// The comparison through the real client browser, over a main database.
class ComparisonBrowserTest : public MainDatabaseTest {
 protected:
  void SetUp() override {
    MainDatabaseTest::SetUp();
    registerRecordsWindows();
  }
  void TearDown() override {
    WindowOpeners() = TWindowOpeners{};
    MainDatabaseTest::TearDown();
  }
};

// However the browser is left without a load, nothing is loaded: no second curve, also after a
// test loaded in an earlier visit.
TEST_F(ComparisonBrowserTest, ABrowserLeftWithoutALoadGivesNoSecondCurve) {
  RecordSet(kMainConnection, "VOCUST").insert({{"CUSTNO", "A01"}, {"NAME", "甲"}, {"SEX", 1}});
  CurrentClient.CustNo = "A01";  // a client without tests
  const std::pair<const char*, std::function<void(ClientBrowser*)>> ways[] = {
      {"Esc (it stays), then the frame",
       [](ClientBrowser* b) {
         QTest::keyClick(b, Qt::Key_Escape);
         EXPECT_TRUE(b->isVisible());
         b->close();
       }},
      {"frame", [](ClientBrowser* b) { b->close(); }},
      {"load from a client without tests", [](ClientBrowser* b) { b->loadSelectedTest(); }},
  };
  for (const auto& [how, leave] : ways) {
    SCOPED_TRACE(how);
    ViewState.TestLoaded = true;  // an earlier visit's load
    CompareTest.Name = "earlier";
    CompareTest.Values.fill(30);
    ComparisonWindow w;
    w.show();
    bool browsed = false;
    QTimer::singleShot(0, [&, leave = leave] {
      auto* browser = qobject_cast<ClientBrowser*>(QApplication::activeModalWidget());
      browsed = browser != nullptr;
      if (browser) leave(browser);
    });
    w.loadButton->click();
    EXPECT_TRUE(browsed);
    EXPECT_FALSE(ViewState.TestLoaded) << "nothing loaded";
    EXPECT_EQ(CompareTest.CurveCount, 1);
    EXPECT_TRUE(w.Block[2][1]->text().isEmpty()) << "no second name";
    EXPECT_FALSE(w.compareBandButton->isEnabled()) << "no band to compare";
    EXPECT_EQ(countColor(w.chartBox->grab().toImage(), 0xFFFF00), 0) << "no aqua squares";
  }
}

// On a printer of the print system the page reaches it only once complete; a job stopped from
// the abort box hands it nothing and leaves room for the next, and a refused document is told.
TEST_F(ComparisonWindowTest, AStoppedJobHandsThePrintSystemNothing) {
  QStringList texts;
  bool accept = true;
  SetPrintSpooler({"Queue 1", [&](const PrintSubmission& s) {
                     texts << ruto::test::pdfText(s.File);
                     return accept;
                   }});
  ComparisonWindow w;
  w.show();
  auto print = [&](bool stop) {
    w.printButton->click();
    auto* box = w.findChild<PrintAbortBox*>();
    ASSERT_NE(box, nullptr);
    QApplication::processEvents();  // the title lines are drawn
    if (stop) box->abortButton->click();
    // Hidden and gone with its job.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.findChild<PrintAbortBox*>(); }, 2000));
  };
  print(true);
  EXPECT_TRUE(texts.isEmpty());
  print(false);
  ASSERT_EQ(texts.size(), 1);
  // The title and the chart, drawn last.
  EXPECT_TRUE(texts[0].contains("能量比對分析報表")) << texts[0].toStdString();
  EXPECT_TRUE(texts[0].contains("大腸經")) << texts[0].toStdString();
  EXPECT_TRUE(asked.isEmpty());
  accept = false;
  print(false);
  EXPECT_EQ(asked, QStringList{PrintNotDeliveredText()});
}

// The abort box stands over the job while it prints; stopped before its first step, the job
// takes the box with it, leaves no file, and a new job may start.
TEST_F(ComparisonWindowTest, TheAbortBoxStopsTheJob) {
  QPrinter& printer = SharedPrinter();
  const QString pdf = ruto::test::outputDir() + QStringLiteral("/comparison-aborted.pdf");
  QFile::remove(pdf);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  ComparisonWindow w;
  w.show();
  w.printButton->click();
  auto* box = w.findChild<PrintAbortBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->printingLabel->text(), "分析資料列印中....");
  box->abortButton->click();  // before the first step runs
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.findChild<PrintAbortBox*>(); }, 2000));
  EXPECT_FALSE(QFile::exists(pdf));
  w.printButton->click();
  EXPECT_NE(w.findChild<PrintAbortBox*>(), nullptr);
  // The new job is let finish before the printer is given back.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.findChild<PrintAbortBox*>(); }, 10000));
  EXPECT_TRUE(asked.isEmpty());
  printer.setOutputFileName(QString());
}

TEST_F(ComparisonWindowTest, AJobThatCannotStartIsReported) {
  QPrinter& printer = SharedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
  ComparisonWindow w;
  w.show();
  w.printButton->click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("無法開始列印"));
  printer.setOutputFileName(QString());
}

}  // namespace
