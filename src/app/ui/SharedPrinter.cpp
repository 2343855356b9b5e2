#include "app/ui/SharedPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSaveFile>
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

// The file the last accepted set-up chose, until a report has been written into it.
QString& agreedFile() {
  static QString file;
  return file;
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

void CopyPrinterSetup(const QPrinter& from, QPrinter& to) {
  if (from.outputFormat() == QPrinter::NativeFormat) {
    to.setOutputFileName(QString());
    to.setPrinterName(from.printerName());
  } else {
    // An empty name alone would switch to the system's printer.
    to.setOutputFileName(from.outputFileName());
    to.setOutputFormat(QPrinter::PdfFormat);
  }
  to.setResolution(from.resolution());
  to.setPageLayout(from.pageLayout());
  to.setFullPage(from.fullPage());
  to.setCopyCount(from.copyCount());
  to.setCollateCopies(from.collateCopies());
  to.setDuplex(from.duplex());
  to.setColorMode(from.colorMode());
  to.setPageOrder(from.pageOrder());
  to.setPrintRange(from.printRange());
  if (from.fromPage() <= from.toPage()) to.setFromTo(from.fromPage(), from.toPage());
}

bool SetUpSharedPrinter(QWidget* parent) {
  QPrinter copy(QPrinter::HighResolution);
  CopyPrinterSetup(SharedPrinter(), copy);
  QPrintDialog dialog(&copy, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  if (dialog.exec() != QDialog::Accepted) return false;
  CopyPrinterSetup(copy, SharedPrinter());
  // The dialog asked before choosing an existing file.
  agreedFile() = copy.outputFormat() == QPrinter::PdfFormat ? copy.outputFileName() : QString();
  return true;
}

QString ReplaceReportFileText(const QString& file) {
  return QStringLiteral("報表檔案 %1 已經存在，要以這份報表取代它嗎?").arg(file);
}

bool ConfirmReportFile() {
  const QPrinter& printer = SharedPrinter();
  if (!spooler().Printer.isEmpty() || printer.outputFormat() != QPrinter::PdfFormat) return true;
  const QString file = printer.outputFileName();
  if (file.isEmpty() || file == agreedFile() || !QFileInfo::exists(file)) return true;
  return AskUser(MsgKind::QuestionYesNo, ReplaceReportFileText(file));
}

QString ReportFileNotWrittenText(const QString& file) {
  return QStringLiteral("報表無法寫入檔案 %1，原有的檔案保持原狀。").arg(file);
}

QString PrintNotDeliveredText() {
  return QStringLiteral(
      "報表無法送至印表機，請確認印表機已連接並在 [列印設定] 中選擇可用的印表機。");
}

PrinterOutput::PrinterOutput() : printer_(SharedPrinter()) {
  spoolTo_ = spooler().Printer;
  if (spoolTo_.isEmpty() && printer_.outputFormat() == QPrinter::NativeFormat)
    spoolTo_ = printer_.printerName();
  QIODevice* out = nullptr;
  if (spoolTo_.isEmpty()) {
    file_ = printer_.outputFileName();
    save_ = std::make_unique<QSaveFile>(file_);
    if (file_.isEmpty() || !save_->open(QIODevice::WriteOnly)) return;
    out = save_.get();
  } else {
    // Readable by this user only, and gone once handed over or dropped.
    spool_ =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/ruto-XXXXXX.pdf"));
    if (!spool_->open()) return;
    out = spool_.get();
  }
  writer_ = std::make_unique<QPdfWriter>(out);
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
  if (save_) {
    writer_.reset();
    // Not committed, the drawing is dropped and an earlier file stays.
    if (!completed || !save_->isOpen()) return true;
    if (save_->commit()) {
      agreedFile().clear();
      return true;
    }
    AskUser(MsgKind::WarningOk, ReportFileNotWrittenText(file_));
    return false;
  }
  if (!spool_) return true;
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
