#include <gtest/gtest.h>
#include <QEventLoop>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include "app/SharedRecords.h"
#include "measure/Comparison.h"
#include "measure/PrintJob.h"
#include "measure/ui/UiChecks.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

ComparisonData sample(double value1, double value2, int curves) {
  ComparisonData d;
  d.Curve1.fill(value1);
  d.Curve2.fill(value2);
  d.CurveCount = curves;
  d.Block1 = {"R24A0815", "林長民", 50, false, 45000.5};
  d.Block2 = {"B02", "林美", 30, true, 44000.25};
  d.UserData1 = "仁心診所";
  d.UserData2 = "台北市中山路一段";
  d.PrintedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));
  return d;
}

QVector<RecordingCanvas::Entry> linesOf(const RecordingCanvas& c, TColor color, TPenStyle style) {
  QVector<RecordingCanvas::Entry> out;
  for (const auto& e : c.of("Line"))
    if (e.Pen.Color == color && e.Pen.Style == style) out << e;
  return out;
}

TEST(ComparisonChartTest, GeometryAt630By330) {
  RecordingCanvas c;
  ComparisonData d = sample(42.705, 10, 2);
  DrawComparisonChart(c, 630, 330, d);
  const auto columns = linesOf(c, clGray, TPenStyle::psDash);
  ASSERT_EQ(columns.size(), 12);
  for (int i = 1; i <= 12; ++i) {
    EXPECT_EQ(columns[i - 1].Points[0], QPoint(50 * i + 30, 16)) << i;
    EXPECT_EQ(columns[i - 1].Pen.Width, i == 6 ? 2 : 1) << i;
  }
  const auto curve1 = linesOf(c, 0xFF0000, TPenStyle::psDash);
  ASSERT_EQ(curve1.size(), 1 + 23);  // legend, then 23 joins
  for (int n = 1; n <= 23; ++n) EXPECT_EQ(curve1[n].Points[1], QPoint(25 * n + 42, 229)) << n;
  QVector<TRect> red;
  for (const auto& e : c.of("FillRect"))
    if (e.Brush.Color == 0x0000FF) red << e.Rect;
  bool legend = false;
  for (const auto& e : c.of("TextOut")) legend |= e.Text == " 1:" && e.Points[0] == QPoint(257, 2);
  // With one curve there is nothing to compare.
  RecordingCanvas one;
  DrawComparisonChart(one, 630, 330, sample(20, 20, 1));
  EXPECT_EQ(curve1[0].Points[0], QPoint(257 + 20, 10));
  EXPECT_EQ(red.size(), 1 + 24);  // the legend's square, then one per point
  EXPECT_EQ(red.value(0), (TRect{257 + 38, 6, 257 + 46, 15}));
  EXPECT_EQ(red.value(1), (TRect{39, 226, 45, 232}));
  EXPECT_TRUE(legend) << "the first curve's legend text";
  EXPECT_EQ(linesOf(c, 0x808000, TPenStyle::psDot).size(), 24);
  EXPECT_EQ(linesOf(one, 0x808000, TPenStyle::psDot).size(), 0);
}

TEST(ComparisonChartTest, BandLevelsAndPlace) {
  const BandLevels b = ComparisonBand(10);
  EXPECT_EQ(test::numbers(b.RedHigh - 10, b.OliveHigh - 10, b.OliveLow - 10, b.RedLow - 10),
            "13.9125 7.61875 -6.95625 -13.25");

  ComparisonData d = sample(10, 10, 2);
  d.Band = BandSource::Current;  // mean 50: red top at 71
  RecordingCanvas c;
  DrawComparisonBand(c, 630, 330, d);
  const auto red = linesOf(c, 0x0000FF, TPenStyle::psDot);
  ASSERT_EQ(red.size(), 2);
  d.Band = BandSource::Hidden;
  RecordingCanvas none;
  DrawComparisonBand(none, 630, 330, d);
  EXPECT_EQ(red[0].Points[0], QPoint(30, 182));
  EXPECT_EQ(red[0].Points[1].x(), 630);
  EXPECT_EQ(linesOf(c, 0x008080, TPenStyle::psDot).size(), 2);
  EXPECT_TRUE(none.Entries.isEmpty()) << "a hidden band draws nothing";
}

QString runTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Text of a PDF with runs of blanks as one (the PDF keeps positions, not blanks).
QString pdfText(const QString& pdf) {
  return ruto::test::pdfText(pdf, {"-raw"}).replace(QRegularExpression(" +"), " ");
}

TEST(ComparisonPrintTest, PageOnA600DpiPdf) {
  const QString pdf = ruto::test::outputDir() + QStringLiteral("/comparison-report.pdf");
  QFile::remove(pdf);
  {
    QPdfWriter writer(pdf);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(ComparisonJobTitle());
    PrintJob job(&writer);
    ASSERT_TRUE(job.begin());
    EXPECT_EQ(job.mm(1), 24);
    EXPECT_EQ(job.mm(30), 709);
    EXPECT_EQ(job.page().Width, 4800) << "A4 is wider than 8 inches at 600 dpi";
    ComparisonData d = sample(60, 40, 2);
    d.Band = BandSource::Compare;
    AddComparisonPage(job, d);
    EXPECT_TRUE(job.runAll());
  }
  const QString text = pdfText(pdf);
  for (const char* s : {"R.U.T.O. 能量比對分析報表", "仁心診所", "台北市中山路一段", "1. 原始資料",
                        "體能: 50.00", "編號: R24A0815", "姓名: 林長民", "大腸經", "2. 比對資料",
                        "林美", "高電位", "列印時間: 2026/12/07, 09:30:00"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
  EXPECT_EQ(ruto::test::radicalsIn(text), QString());
  EXPECT_TRUE(runTool("pdfinfo", {pdf}).contains(ComparisonJobTitle()));

  const QString png = ruto::test::outputDir() + QStringLiteral("/comparison-report");
  runTool("pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, png});
  const QImage page(png + ".png");
  ASSERT_FALSE(page.isNull());
  // The red squares of curve 1, and the aqua ones.
  const int red = test::countPixels(
      page, [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
  const int aqua = test::countPixels(
      page, [](const QColor& c) { return c.red() < 60 && c.green() > 200 && c.blue() > 200; });
  EXPECT_GT(red, 24 * 4);
  EXPECT_GT(aqua, 24 * 4);
}

TEST(ComparisonPrintTest, BlockTwoOnlyWithSecondCurve) {
  const QString pdf = ruto::test::outputDir() + QStringLiteral("/comparison-one-curve.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(300);
    PrintJob job(&writer);
    ASSERT_TRUE(job.begin());
    AddComparisonPage(job, sample(60, 40, 1));
    job.runAll();
  }
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("2. 比對資料"));
  EXPECT_FALSE(text.contains("林美"));
}

TEST(PrintJobTest, AbortStopsTheRemainingSteps) {
  const QString pdf = ruto::test::outputDir() + QStringLiteral("/aborted.pdf");
  QPdfWriter writer(pdf);
  PrintJob job(&writer);
  ASSERT_TRUE(job.begin());
  int ran = 0;
  job.addStep([&](Canvas&, PrintJob& j) {
    ++ran;
    j.abort();
  });
  job.addStep([&](Canvas&, PrintJob&) { ++ran; });
  bool completed = true;
  QEventLoop loop;
  QObject::connect(&job, &PrintJob::finished, &loop, [&](bool done) {
    completed = done;
    loop.quit();
  });
  job.start();
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(completed);
  EXPECT_FALSE(job.running());
}

TEST(PrintJobTest, PageMillimetresAndWidth) {
  const PrintPage page{300, 2400, 3500};
  EXPECT_EQ(page.mm(25.4), 300);
  EXPECT_EQ(page.mm(1), 12);    // 11.81
  EXPECT_EQ(page.mm(10), 118);  // 118.11
}

}  // namespace
