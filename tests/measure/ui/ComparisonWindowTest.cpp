#include <gtest/gtest.h>
#include <QPrinter>
#include <QtWidgets>

#include "app/AskUser.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/AbortBox.h"
#include "app/ui/SharedPrinter.h"
#include "measure/ui/VoCmp.h"
#include "records/RecordsFixture.h"
#include "records/ui/RecordsWindows.h"
#include "records/ui/Vored.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

int count(const QImage& img, TColor color) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += ruto::test::at(img, x, y) == color;
  return n;
}

class ComparisonWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCompFactors();
    CurrentClient = {};
    CurrentClient.CustNo = "A01";
    CurrentClient.Name = "王小明";
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
  TVoCmp w;
  w.show();
  EXPECT_EQ(CompareTest.CurveCount, 1);
  EXPECT_EQ(w.Block[1][2]->text(), "50.00");
  EXPECT_EQ(w.Block[1][3]->text(), "標準電位");
  EXPECT_EQ(w.Block[2][0]->text(), "");
  EXPECT_FALSE(w.ToolButton7->isEnabled());
  EXPECT_TRUE(w.ToolButton8->isChecked());
  QImage chart = w.PaintBox1->grab().toImage();
  EXPECT_GT(count(chart, 0x0000FF), 24 * 20);  // red squares of curve 1
  EXPECT_EQ(count(chart, 0xFFFF00), 0);

  WindowOpeners().clientBrowser = [](QWidget*) {
    EXPECT_FALSE(ViewState.BrowseForCurrent);
    CompareTest.CustNo = "B02";
    CompareTest.Name = "林美";
    CompareTest.Mean = 30;
    CompareTest.VoVota = true;
    CompareTest.Values.fill(30);
    ViewState.TestLoaded = true;
  };
  w.ToolButton4->click();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(CompareTest.CurveCount, 2);
  EXPECT_EQ(w.Block[2][1]->text(), "林美");
  EXPECT_EQ(w.Block[2][3]->text(), "高電位");
  EXPECT_TRUE(w.ToolButton7->isEnabled());
  w.ToolButton7->click();
  EXPECT_EQ(w.Data().Band, BandSource::Compare);
  EXPECT_FALSE(w.ToolButton8->isChecked());
  chart = w.PaintBox1->grab().toImage();
  EXPECT_GT(count(chart, 0xFFFF00), 24 * 20);
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
  const std::pair<const char*, std::function<void(TVoread*)>> ways[] = {
      {"Esc",
       [](TVoread* b) {
         QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(b, &esc);
       }},
      {"frame", [](TVoread* b) { b->close(); }},
      {"load from a client without tests", [](TVoread* b) { b->ToolButton1Click(); }},
  };
  for (const auto& [how, leave] : ways) {
    SCOPED_TRACE(how);
    ViewState.TestLoaded = true;  // an earlier visit's load
    CompareTest.Name = "earlier";
    CompareTest.Values.fill(30);
    TVoCmp w;
    w.show();
    bool browsed = false;
    QTimer::singleShot(0, [&, leave = leave] {
      auto* browser = qobject_cast<TVoread*>(QApplication::activeModalWidget());
      browsed = browser != nullptr;
      if (browser) leave(browser);
    });
    w.ToolButton4->click();
    EXPECT_TRUE(browsed);
    EXPECT_FALSE(ViewState.TestLoaded);
    EXPECT_EQ(CompareTest.CurveCount, 1);
    EXPECT_EQ(w.Block[2][1]->text(), "");
    EXPECT_FALSE(w.ToolButton7->isEnabled());
    EXPECT_EQ(count(w.PaintBox1->grab().toImage(), 0xFFFF00), 0);  // no aqua squares
  }
}

TEST_F(ComparisonWindowTest, PrintsToTheSharedPrinter) {
  QPrinter& printer = SharedPrinter();
  const QString pdf = ruto::test::outputDir() + QStringLiteral("/comparison-window.pdf");
  QFile::remove(pdf);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  TVoCmp w;
  w.show();
  w.ToolButton1->click();
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 10000 && QApplication::topLevelWidgets().size() > 0 &&
         !QFileInfo(pdf).size())
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_GT(QFileInfo(pdf).size(), 1000);
  EXPECT_TRUE(asked.isEmpty());
  printer.setOutputFileName(QString());
}

TEST_F(ComparisonWindowTest, TheAbortBoxStopsTheJob) {
  QPrinter& printer = SharedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(ruto::test::outputDir() + QStringLiteral("/comparison-aborted.pdf"));
  TVoCmp w;
  w.show();
  w.ToolButton1->click();
  auto* box = w.findChild<TAbortBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->Label1->text(), "分析資料列印中....");
  box->Button1->click();  // before the first step runs
  for (int i = 0; i < 50 && w.findChild<TAbortBox*>(); ++i)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(w.findChild<TAbortBox*>(), nullptr);  // hidden and gone with its job
  w.ToolButton1->click();                         // a new job may start again
  EXPECT_NE(w.findChild<TAbortBox*>(), nullptr);
  printer.setOutputFileName(QString());
}

// On a printer of the print system the page reaches it only once complete; a stopped job
// hands it nothing, and a refused document is told.
TEST_F(ComparisonWindowTest, AStoppedJobHandsThePrintSystemNothing) {
  QStringList texts;
  bool accept = true;
  SetPrintSpooler({"Queue 1", [&](const PrintSubmission& s) {
                     texts << ruto::test::pdfText(s.File);
                     return accept;
                   }});
  TVoCmp w;
  w.show();
  auto print = [&](bool stop) {
    w.ToolButton1->click();
    auto* box = w.findChild<TAbortBox*>();
    ASSERT_NE(box, nullptr);
    QApplication::processEvents();  // the title lines are drawn
    if (stop) box->Button1->click();
    for (int i = 0; i < 100 && w.findChild<TAbortBox*>(); ++i)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
  };
  print(true);
  EXPECT_TRUE(texts.isEmpty());
  print(false);
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains("能量比對分析報表"));
  EXPECT_TRUE(texts[0].contains("大腸經"));  // the chart, drawn last
  EXPECT_TRUE(asked.isEmpty());
  accept = false;
  print(false);
  EXPECT_EQ(asked, QStringList{PrintNotDeliveredText()});
}

TEST_F(ComparisonWindowTest, AJobThatCannotStartIsReported) {
  QPrinter& printer = SharedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
  TVoCmp w;
  w.show();
  w.ToolButton1->click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("無法開始列印"));
  printer.setOutputFileName(QString());
}

}  // namespace
