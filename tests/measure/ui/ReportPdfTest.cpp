// The printed analysis report as a PDF file: pages counted against a recording with the same
// fonts, texts read back with pdftotext, pages rasterised with pdftoppm; and "列  印" of the
// analysis window on the shared printer set to a PDF file, with its abort box.

#include <gtest/gtest.h>

#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include "AnalysisDatabases.h"
#include "UiChecks.h"
#include "app/ui/PrintAbortBox.h"
#include "app/ui/SharedPrinter.h"
#include "measure/Report.h"
#include "measure/ui/AnalysisReport.h"
#include "measure/ui/ReportPrint.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

QString tool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& path) {
  const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(tool("pdfinfo", {path}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

TReportInput fullInput(bool colour, bool conductance) {
  TReportInput in;
  for (int p = 1; p <= 24; ++p) in.Test.Values[p] = 30 + (p * 13 % 23);
  in.Test.CompValues = in.Test.Values;
  in.Test.VoDate = 46000.5;
  ComputeMeridianStatistics(in.Analysis, in.Test.CompValues);
  ComputeSummaryLevels(in.Analysis, true);
  for (int p = 1; p <= 24; ++p)
    in.Analysis.PointLevel[p] = ClassifyDeviation(in.Analysis, in.Analysis.Deviation[p]);
  in.Client =
      TClientInfo{"R24A0815", "林長民", true, 30000.0, "台北市信義路", "02-1234", {}, {}, {}};
  in.UserData1 = "仁愛診所";
  in.UserData2 = "台北市";
  in.Today = QDate(2026, 12, 7);
  for (int s : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 20}) in.Options[s] = true;
  in.Options[19] = conductance;
  in.Options[17] = colour;
  QString paragraph;
  for (int i = 0; i < 6; ++i) paragraph += "經絡氣血運行不暢時，宜調和陰陽並注意作息。";
  for (int key = 1; key <= 17; ++key) {
    in.Reference[key].Found = true;
    for (const TReferenceColumn& c : ReferenceTextColumns())
      in.Reference[key].*(c.member) = paragraph + "\r\n" + paragraph;
  }
  in.DiagnosisItems = {"身體能量", "肺經", "心經"};
  in.Analysis.ExplainCodes = {13, 1, 3};
  in.DietItems = {"肺經"};
  in.Analysis.DietCodes[0] = 1;
  in.PrescriptionItems = {"肺經"};
  in.Analysis.RemedyCodes[0] = 1;
  in.Programs = {{"減重療程", "每日清晨步行三十分鐘。\nWalk thirty minutes each morning."}};
  in.Note = "頭痛三天，已針灸合谷。\n\n第二次複診。";
  return in;
}

struct PdfOut {
  QString path;
  int recordedPages = 0;
  int conductancePage = 0;
};

PdfOut printPdf(const QString& name, const TReportInput& in) {
  PdfOut out;
  out.path = test::outputDir() + "/report-" + name + ".pdf";
  QFile::remove(out.path);
  QPdfWriter writer(out.path);
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  {
    TPagedDeviceTarget target(&writer, [&writer](const QString& t) { writer.setTitle(t); });
    TReport report(target, in);
    EXPECT_TRUE(report.Begin());
    report.RunAll();
    EXPECT_TRUE(report.Finished());
  }
  // The same report recorded with the PDF's own font metrics.
  TRecordingTarget rec(600, writer.width(), writer.height());
  rec.Recording.MeasureWidth = [&writer](const TFont& f, const QString& s) {
    return QFontMetrics(toQFont(f, 600, true), &writer).horizontalAdvance(s);
  };
  rec.Recording.MeasureHeight = [&writer](const TFont& f, const QString&) {
    return QFontMetrics(toQFont(f, 600, true), &writer).height();
  };
  TReport recorded(rec, in);
  recorded.Begin();
  recorded.RunAll();
  out.recordedPages = rec.Pages;
  int page = 1;
  for (const auto& e : rec.Recording.Entries) {
    if (e.Op == "NewPage") ++page;
    if (e.Op == "TextOut" && e.Text == "良導絡分析圖") out.conductancePage = page;
  }
  return out;
}

// The pages of `pdf` as images, in place of those of an earlier run.
std::vector<QImage> rasterise(const QString& pdf, const QString& name) {
  QDir dir(test::outputDir());
  const QStringList files = {"report-" + name + "-*.png"};
  for (const QString& old : dir.entryList(files)) QFile::remove(dir.filePath(old));
  tool("pdftoppm", {"-r", "60", "-png", pdf, dir.filePath("report-" + name)});
  std::vector<QImage> pages;
  for (const QString& f : dir.entryList(files, QDir::Files, QDir::Name))
    pages.emplace_back(dir.filePath(f));
  return pages;
}

TEST(ReportPdf, ColourAndMonochromeReportsReadBack) {
  const struct {
    const char* name;
    bool colour, conductance;
  } cases[] = {{"colour", true, true}, {"mono", false, true}, {"mono-plain", false, false}};
  for (const auto& c : cases) {
    const PdfOut out = printPdf(c.name, fullInput(c.colour, c.conductance));
    EXPECT_GT(out.recordedPages, 2) << c.name;
    EXPECT_EQ(pdfPages(out.path), out.recordedPages) << c.name;

    // The text layer is the text drawn: letters with digits, and ideographs whose glyphs the
    // radical blocks share (比 頁 大 長 民). Runs of blanks read as one.
    const QString text = test::pdfText(out.path);
    for (const QString& expected :
         QStringList{"R.U.T.O.經絡能量分析儀分析報表", "編號: R24A0815", "姓名: 林長民",
                     "Zelvan RUTO Version: 5", "大腸經", "精神狀態比值:", "經絡虛實分析圖-長條",
                     "測量方式:", "[ 1 ]", "專家療程建議", "平衡，"})
      EXPECT_TRUE(text.contains(expected)) << c.name << " " << expected.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("第\\s*2\\s*頁"))) << c.name;
    EXPECT_EQ(test::radicalsIn(text), QString()) << c.name;

    const std::vector<QImage> pages = rasterise(out.path, c.name);
    ASSERT_EQ(static_cast<int>(pages.size()), out.recordedPages) << c.name;
    // Monochrome pages have no colour (clearly away from grey) but for the conductance
    // chart's; colour ones some red.
    const auto isColoured = [](QColor q) {
      return std::max({q.red(), q.green(), q.blue()}) - std::min({q.red(), q.green(), q.blue()}) >
             80;
    };
    const auto isRed = [](QColor q) { return q.red() > 200 && q.green() < 90 && q.blue() < 90; };
    int red = 0;
    for (int page = 1; page <= out.recordedPages; ++page) {
      const QImage& image = pages[size_t(page - 1)];
      red += test::countPixels(image, isRed);
      if (!c.colour) {  // monochrome: colour only on the conductance chart's page
        EXPECT_EQ(test::countPixels(image, isColoured) > 0,
                  c.conductance && page == out.conductancePage)
            << c.name << " page " << page;
      }
    }
    if (c.colour) {
      EXPECT_GT(red, 200) << c.name;
    }
  }
}

TEST(ReportPdf, AbortedPdfLeavesNoFile) {
  const QString path = test::outputDir() + "/report-aborted.pdf";
  QFile::remove(path);
  QPdfWriter writer(path);
  writer.setResolution(300);
  TPagedDeviceTarget target(&writer, {}, {}, path);
  TReport report(target, fullInput(true, true));
  ASSERT_TRUE(report.Begin());
  for (int i = 0; i < 5; ++i) report.Step();
  report.Abort();
  EXPECT_FALSE(report.Step());
  EXPECT_FALSE(QFile::exists(path));
}

// ---- the analysis window's print button ----

class AnalysisReportTest : public test::AnalysisWindowFixture {
 protected:
  AnalysisReportTest() : AnalysisWindowFixture("參考") {}
  void SetUp() override {
    AnalysisWindowFixture::SetUp();
    // A job that an earlier test left running on the shared printer is let finish first.
    ASSERT_TRUE(QTest::qWaitFor([] { return SharedPrinter().printerState() != QPrinter::Active; }));
    AnalysisReportPrinter() = PrintAnalysisReport;
    // A file per test: the tests of this window run side by side in separate processes.
    path_ = test::outputDir() + "/report-window-" +
            testing::UnitTest::GetInstance()->current_test_info()->name() + ".pdf";
    QFile::remove(path_);
    SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    SharedPrinter().setOutputFileName(path_);
  }
  void TearDown() override {
    SetPrintSpooler({});
    AnalysisReportPrinter() = nullptr;
    AnalysisWindowFixture::TearDown();
  }
  std::unique_ptr<AnalysisWindow> open() {
    auto w = AnalysisWindowFixture::open();
    for (QCheckBox* box : w->printChecks)
      if (box) box->setChecked(true);
    w->printRadios[1]->setChecked(true);
    return w;
  }
  // Runs the event loop until the print button is usable again.
  static bool waitIdle(AnalysisWindow& w) {
    return QTest::qWaitFor([&w] { return w.printButton->isEnabled(); }, 60000);
  }

  QString path_;
};

TEST_F(AnalysisReportTest, PrintButtonPrintsToTheChosenPdf) {
  PrintAnalysisReport(*open());  // a window gone before its job ran leaves nothing
  auto w = open();
  w->printButton->click();
  EXPECT_FALSE(w->printButton->isEnabled());
  const PrintAbortBox* box = w->findChild<PrintAbortBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  ASSERT_TRUE(waitIdle(*w));
  EXPECT_GE(pdfPages(path_), 2);
  EXPECT_EQ(ViewState.ReportFontSize, 10);
  const QString text = test::pdfText(path_);
  for (const char* expected : {"王小明", "[ 1 ]", "參考DtMA"})
    EXPECT_TRUE(text.contains(expected)) << expected << text.left(400).toStdString();
  EXPECT_TRUE(messages_.filter(PrintNotStartedText()).isEmpty());
}

TEST_F(AnalysisReportTest, ClosingTheWindowDropsTheJob) {
  auto w = open();
  w->printButton->click();
  w->close();
  QCoreApplication::processEvents();
  w.reset();
  QCoreApplication::processEvents();
  EXPECT_FALSE(QFile::exists(path_));
}

// On a printer of the print system the report reaches it only once complete: a stopped job
// hands it nothing, and leaves no file behind.
TEST_F(AnalysisReportTest, AStoppedJobHandsThePrintSystemNothing) {
  QList<PrintSubmission> handed;
  int pages = 0;
  SetPrintSpooler({"Queue 1", [&](const PrintSubmission& s) {
                     handed << s;
                     pages = pdfPages(s.File);
                     return true;
                   }});
  SharedPrinter().setCopyCount(2);  // the set-up's choices go with the document
  auto w = open();
  w->printButton->click();
  ASSERT_TRUE(waitIdle(*w));
  SharedPrinter().setCopyCount(1);
  ASSERT_EQ(handed.size(), 1);
  EXPECT_EQ(handed[0].Printer, "Queue 1");
  EXPECT_EQ(handed[0].Options.mid(0, 2), (QStringList{"-n", "2"})) << "two copies";
  EXPECT_EQ(handed[0].Title, TReport::DocumentName());
  EXPECT_GE(pages, 2);
  EXPECT_FALSE(QFile::exists(handed[0].File)) << "the handed file is cleaned up";
  EXPECT_FALSE(QFile::exists(path_));

  w->printButton->click();
  for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();  // some pages drawn
  w->findChild<PrintAbortBox*>()->abortButton->click();
  ASSERT_TRUE(waitIdle(*w));
  EXPECT_EQ(handed.size(), 1);
  EXPECT_TRUE(messages_.filter(PrintNotDeliveredText()).isEmpty());
}

// With nowhere to print a job is reported as not started and the printer stays free:
// a file chosen in the set-up afterwards takes, and the next job prints to it.
TEST_F(AnalysisReportTest, NoPrinterLeavesThePrinterFreeForTheSetUp) {
  // How the printer starts on a machine without printers: a file without a name.
  SharedPrinter().setOutputFileName(QString());
  ASSERT_EQ(SharedPrinter().outputFormat(), QPrinter::PdfFormat);
  auto w = open();
  w->printButton->click();
  EXPECT_EQ(messages_.filter("5:" + PrintNotStartedText()).size(), 1);
  EXPECT_TRUE(w->printButton->isEnabled());
  EXPECT_NE(SharedPrinter().printerState(), QPrinter::Active);
  SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
  // A file of its own: other tests of this window print to path_ at the same time.
  const QString pdf = dir_.filePath("chosen.pdf");
  SharedPrinter().setOutputFileName(pdf);
  EXPECT_EQ(SharedPrinter().outputFileName(), pdf);
  w->printButton->click();
  ASSERT_TRUE(waitIdle(*w));
  EXPECT_GE(pdfPages(pdf), 1);
  EXPECT_EQ(messages_.filter(PrintNotStartedText()).size(), 1)
      << messages_.join('\n').toStdString();
}

TEST_F(AnalysisReportTest, AJobThatCannotStartIsReported) {
  SharedPrinter().setOutputFileName(dir_.filePath("missing/folder/report.pdf"));
  auto w = open();
  w->printButton->click();
  EXPECT_EQ(messages_.filter("5:" + PrintNotStartedText()).size(), 1);
  EXPECT_TRUE(w->printButton->isEnabled());
  EXPECT_EQ(w->findChild<PrintAbortBox*>(), nullptr);
  EXPECT_FALSE(QFile::exists(dir_.filePath("missing/folder/report.pdf")));
  EXPECT_TRUE(SharedPrinter().docName().isEmpty());
}

}  // namespace
