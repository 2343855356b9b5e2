#pragma once
// The print-abort box: shown by the printing routines while a report goes to the printer.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ruto {

class TAbortBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAbortBox(QWidget* parent = nullptr);
  QLabel* Label1;
  QPushButton* Button1;
  // Set by "中斷列印"; the printing routine polls it between pages and clears it at start.
  bool Aborted = false;
};

inline TAbortBox* AbortBox = nullptr;

}  // namespace ruto
