#include "app/ui/SharedPrinter.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>

#include "app/AskUser.h"

namespace ruto {

namespace {

bool submitWithLp(const PrintSubmission& s) {
  // No shell: the names go to `lp` as they are.
  QProcess lp;
  lp.start(QStringLiteral("lp"),
           QStringList{QStringLiteral("-d"), s.Printer, QStringLiteral("-t"), s.Title} << s.Options
                                                                                       << s.File);
  // `lp` has sent the document to the scheduler when it returns.
  return lp.waitForFinished(60000) && lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0;
}

PrintSpooler& spooler() {
  static PrintSpooler s;
  return s;
}

// The set-up's choices that the print system applies to a document.
QStringList lpOptions(const QPrinter& printer) {
  QStringList out;
  if (printer.copyCount() > 1) {
    out << QStringLiteral("-n") << QString::number(printer.copyCount());
    if (printer.collateCopies()) out << QStringLiteral("-o") << QStringLiteral("collate=true");
  }
  switch (printer.duplex()) {
    case QPrinter::DuplexNone:
      break;
    case QPrinter::DuplexShortSide:
      out << QStringLiteral("-o") << QStringLiteral("sides=two-sided-short-edge");
      break;
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide:
      out << QStringLiteral("-o") << QStringLiteral("sides=two-sided-long-edge");
      break;
  }
  if (printer.colorMode() == QPrinter::GrayScale)
    out << QStringLiteral("-o") << QStringLiteral("print-color-mode=monochrome");
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
    out << QStringLiteral("-P")
        << QStringLiteral("%1-%2")
               .arg(printer.fromPage())
               .arg(std::max(printer.fromPage(), printer.toPage()));
  // The pages are drawn for the set-up's paper: without it the queue's default paper applies
  // and an A4 page comes out shrunk on Letter. The names are the print system's (A4, Letter,
  // Custom.<width>x<height><unit>).
  const QPageLayout layout = printer.pageLayout();
  if (!layout.pageSize().key().isEmpty())
    out << QStringLiteral("-o") << QStringLiteral("media=") + layout.pageSize().key();
  out << QStringLiteral("-o")
      << (layout.orientation() == QPageLayout::Landscape
              ? QStringLiteral("orientation-requested=4")
              : QStringLiteral("orientation-requested=3"));
  return out;
}

}  // namespace

QPrinter& SharedPrinter() {
  // Never destroyed: a printer torn down after the application object can crash in the print
  // system's plugins at exit.
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

bool SharedPrinterCanStart() {
  if (!spooler().Printer.isEmpty()) return true;
  const QPrinter& printer = SharedPrinter();
  return printer.outputFormat() == QPrinter::PdfFormat ? !printer.outputFileName().isEmpty()
                                                       : !printer.printerName().isEmpty();
}

void SetPrintSpooler(PrintSpooler s) { spooler() = std::move(s); }

QString PrintNotDeliveredText() {
  return QStringLiteral(
      "報表無法送至印表機，請確認印表機已連接並在 [列印設定] 中選擇可用的印表機。");
}

PrinterOutput::PrinterOutput() : printer_(SharedPrinter()) {
  spoolTo_ = spooler().Printer;
  if (spoolTo_.isEmpty() && printer_.outputFormat() == QPrinter::NativeFormat)
    spoolTo_ = printer_.printerName();
  if (spoolTo_.isEmpty()) {
    file_ = printer_.outputFileName();
    device_ = &printer_;
    return;
  }
  // Readable by this user only, and gone once handed over or dropped.
  spool_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/ruto-XXXXXX.pdf"));
  if (!spool_->open()) return;
  writer_ = std::make_unique<QPdfWriter>(spool_.get());
  writer_->setResolution(printer_.resolution());
  writer_->setPageLayout(printer_.pageLayout());
  device_ = writer_.get();
}

PrinterOutput::~PrinterOutput() = default;

void PrinterOutput::setTitle(const QString& title) {
  printer_.setDocName(title);
  if (title.isEmpty()) return;
  title_ = title;
  if (writer_) writer_->setTitle(title);
}

bool PrinterOutput::close(bool completed) {
  if (closed_) return true;
  closed_ = true;
  if (!spool_) {
    if (!completed && !file_.isEmpty()) QFile::remove(file_);
    return true;
  }
  bool delivered = true;
  if (completed) {
    spool_->flush();
    const PrintSubmission submission{spool_->fileName(), spoolTo_, title_, lpOptions(printer_)};
    const auto& submit = spooler().Submit;
    delivered = submit ? submit(submission) : submitWithLp(submission);
  }
  spool_->remove();
  if (!delivered) AskUser(MsgKind::WarningOk, PrintNotDeliveredText());
  return delivered;
}

}  // namespace ruto
