#pragma once
// The print-abort box: shown by the printing routines while a report goes to the printer.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ruto {

class PrintAbortBox : public QDialog {
  Q_OBJECT
 public:
  explicit PrintAbortBox(QWidget* parent = nullptr);
  QLabel* printingLabel;
  QPushButton* abortButton;
  // Set by "中斷列印"; the printing routine polls it between pages and clears it at start.
  bool abortRequested = false;

 protected:
  // The box stays up while its job runs, the job takes it down: the close box is "中斷列印".
  void closeEvent(QCloseEvent* event) override;
};

inline PrintAbortBox* ThePrintAbortBox = nullptr;

}  // namespace ruto
