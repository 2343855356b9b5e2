// The shared printer's hand-over to the print system: what the set-up chose travels with the
// finished document.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include "app/ui/SharedPrinter.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

// The first page's size in points, as the print system reads it from the PDF.
QString pdfPageSize(const QString& pdf) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  info.waitForFinished(60000);
  const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
                     .match(QString::fromUtf8(info.readAllStandardOutput()));
  if (!m.hasMatch()) return {};
  return QStringLiteral("%1x%2")
      .arg(qRound(m.captured(1).toDouble()))
      .arg(qRound(m.captured(2).toDouble()));
}

// The paper and orientation of the set-up reach the print system with the document drawn for
// them: a queue whose default paper is another one would otherwise print it shrunk.
TEST(SharedPrinterTest, ThePaperAndOrientationOfTheSetUpGoWithTheDocument) {
  QPrinter& printer = SharedPrinter();
  const QPageLayout saved = printer.pageLayout();
  printer.setCopyCount(1);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setColorMode(QPrinter::Color);
  printer.setPrintRange(QPrinter::AllPages);
  const struct {
    QPageSize::PageSizeId size;
    QPageLayout::Orientation orientation;
    const char* handed;  // options, then the PDF's page in points
  } cases[] = {
      {QPageSize::A4, QPageLayout::Portrait, "-o media=A4 -o orientation-requested=3|595x842"},
      {QPageSize::Letter, QPageLayout::Portrait,
       "-o media=Letter -o orientation-requested=3|612x792"},
      {QPageSize::A4, QPageLayout::Landscape, "-o media=A4 -o orientation-requested=4|842x595"},
      {QPageSize::Letter, QPageLayout::Landscape,
       "-o media=Letter -o orientation-requested=4|792x612"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handed);
    QString handed;  // one line per document handed over
    SetPrintSpooler({QStringLiteral("Queue 1"), [&](const PrintSubmission& s) {
                       handed += s.Options.join(u' ') + u'|' + pdfPageSize(s.File) + u'\n';
                       return true;
                     }});
    ASSERT_TRUE(printer.setPageSize(QPageSize(c.size)));
    ASSERT_TRUE(printer.setPageOrientation(c.orientation));
    PrinterOutput output;
    ASSERT_NE(output.device(), nullptr);
    {
      QPainter painter(output.device());
      painter.drawText(100, 100, QStringLiteral("能量"));
    }
    EXPECT_TRUE(output.close(true));
    EXPECT_EQ(handed.toStdString(), std::string(c.handed) + '\n');
  }
  SetPrintSpooler({});
  printer.setPageLayout(saved);
}

// The set-up works on a copy: the dialog changes its printer as soon as a queue is picked, and
// only an accepted set-up is taken over.
TEST(SharedPrinterTest, ACancelledSetUpChangesNothing) {
  QPrinter& printer = SharedPrinter();
  const QString before = test::outputDir() + "/before.pdf",
                chosen = test::outputDir() + "/chosen.pdf";
  printer.setOutputFileName(before);
  printer.setCopyCount(1);
  for (bool accept : {false, true}) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->printer()->setCopyCount(3);  // as a picked queue does at once
      dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(chosen);
      accept ? dialog->accept() : dialog->reject();
    });
    EXPECT_EQ(SetUpSharedPrinter(nullptr), accept);
    EXPECT_EQ(printer.copyCount(), 1) << accept;
    EXPECT_EQ(printer.outputFileName(), accept ? chosen : before);
  }
  printer.setOutputFileName(QString());
}

}  // namespace
