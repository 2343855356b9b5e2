#pragma once
// The manual-entry window: types or corrects the 24 values, range, date and note of the test
// in work (new mode) or of one stored test (modify mode).

#include <QDate>
#include <QDialog>
#include <QTime>

#include "app/ui/FormShowOnce.h"
#include "measure/ManualEntry.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QStatusBar;
class QTimeEdit;
class QToolButton;

namespace ruto {

class TSortingGrid;

class ManualEntryDialog : public FormShowOnce<QDialog> {
  Q_OBJECT
 public:
  // `mkey` 0 edits the test in work; another key the stored VODATA row with that key.
  explicit ManualEntryDialog(int mkey, QWidget* parent = nullptr);

  void FormShow() override;
  void saveEntry();
  void clearValues();
  void exitWindow();
  void followDateChoice();
  // Normalises the current cell; false (with a message) when it holds no number.
  bool NormalizeCurrentCell();
  // Normalises all 24 cells; false at the first that holds no number.
  bool NormalizeAllCells();

  TSortingGrid* valueGrid;
  QLabel* titleLabel;
  QRadioButton* highRangeButton;
  QRadioButton* standardRangeButton;
  QCheckBox* dateCheck;
  QDateEdit* datePicker;
  QTimeEdit* timePicker;
  QPlainTextEdit* noteEdit;
  QToolButton* saveButton;
  QToolButton* clearButton;
  QToolButton* exitButton;
  QStatusBar* statusBar;

 private:
  bool normalizeCell(int col, int row);
  void normalizeClickedCell();
  void fillGrid(const TPointValues& values);
  void setPickersNow();
  void onKeyDown(int& key);

  // The date the pickers show is the opened test's own: unchanged, it saves that value.
  bool showsOpenedDate() const;

  int mkey_;
  bool newMode_;
  EntryValues opened_;       // what the window opened with: untouched values save as they were
  bool dateOpened_ = false;  // the pickers and the box show the opened date, not a proposal
  bool checkOpened_ = false;
  QDate dateShown_;
  QTime timeShown_;
  bool warning_ = false;  // a message is up: focus moves it causes are no user moves
};

}  // namespace ruto
