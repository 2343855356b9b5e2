#pragma once
// The program's one printer: every "列印設定" sets it up and every report prints on it, so a
// choice made in one window holds for the next job anywhere.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;
class QTemporaryFile;
class QWidget;

namespace ruto {

// Created on first use, lives until the program ends.
QPrinter& SharedPrinter();

// False while the printer has nowhere to print: the system's printer with none known, or a
// file with no name (how a machine without printers starts). Callers report the job as not
// started instead of starting it.
bool SharedPrinterCanStart();

// A complete document for a printer of the print system.
struct PrintSubmission {
  QString File;     // the PDF, removed once the submission returns
  QString Printer;  // the print system's name of the printer
  QString Title;
  QStringList Options;  // `lp` options from the set-up: copies, sides, colour, pages, paper
};

// How documents reach the print system: `lp` unless replaced. `Printer`, when not empty,
// stands for the printer chosen in the set-up (a machine without a print system offers none).
struct PrintSpooler {
  QString Printer;
  std::function<bool(const PrintSubmission&)> Submit;
};
// Replaces the spooler; an empty one restores `lp` and the set-up's printer.
void SetPrintSpooler(PrintSpooler spooler);

// The set-up ("列印設定") on a copy of the shared printer: the dialog changes its printer as
// soon as a queue is picked, so only an accepted set-up is taken over. True when accepted.
bool SetUpSharedPrinter(QWidget* parent);
// What the set-up dialog chooses, from one printer onto another.
void CopyPrinterSetup(const QPrinter& from, QPrinter& to);

// Before a job writes the set-up's PDF file: an earlier report in it is replaced only when the
// user agrees (a file just chosen in the set-up was agreed to there, for one report). False
// when the user keeps the file; the job is then not started.
bool ConfirmReportFile();
QString ReplaceReportFileText(const QString& file);

// One document on the shared printer. A PDF file chosen in the set-up is drawn beside it and
// takes its place only once complete: a stopped job leaves an earlier file as it was. For a
// printer the pages go into a private temporary PDF
// that the print system receives only once the document is complete: a stopped job prints
// nothing (a job handed to the print system cannot be taken back).
class PrinterOutput {
 public:
  PrinterOutput();
  ~PrinterOutput();
  PrinterOutput(const PrinterOutput&) = delete;
  PrinterOutput& operator=(const PrinterOutput&) = delete;

  // Null when the private file cannot be made.
  QPagedPaintDevice* device() const { return device_; }
  // Names the document (an empty title clears the printer's name; the document keeps its own).
  void setTitle(const QString& title);
  // After the drawing has ended: a complete document goes to its printer (a refusal is told
  // the user, false); a stopped one is dropped. Only the first call counts.
  bool close(bool completed);

 private:
  QPrinter& printer_;
  QString file_;                     // the PDF file chosen in the set-up, or empty
  QString spoolTo_;                  // the print system's printer, or empty
  std::unique_ptr<QSaveFile> save_;  // the set-up's file until complete
  std::unique_ptr<QTemporaryFile> spool_;
  std::unique_ptr<QPdfWriter> writer_;
  QPagedPaintDevice* device_ = nullptr;
  QString title_;
  bool closed_ = false;
};

// Text shown when the print system refuses a finished document.
QString PrintNotDeliveredText();
// Text shown when a finished report cannot take the place of the set-up's file.
QString ReportFileNotWrittenText(const QString& file);

}  // namespace ruto
