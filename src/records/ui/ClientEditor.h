#pragma once
// The client editor: adds a client to the caller's client list or changes the current one.

#include <QDateTime>
#include <QDialog>

#include "app/RecordSet.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStatusBar;
class QToolButton;

namespace ruto {

class ClientEditor : public QDialog {
  Q_OBJECT
 public:
  // New mode (ViewState.ClientNewMode) appends to `clients`; modify mode edits its current
  // row. The set stays the caller's.
  explicit ClientEditor(RecordSet* clients, QWidget* parent = nullptr);

  void FormShow();
  void save();
  void leave();
  void updateSaveButton();
  void toggleBirthday();

  QLineEdit* custNoEdit;
  QLineEdit* nameEdit;
  QLineEdit* telEdit;
  QLineEdit* mobileEdit;
  QLineEdit* faxEdit;
  QLineEdit* emailEdit;
  QLineEdit* addrEdit;
  QRadioButton* maleButton;
  QRadioButton* femaleButton;
  QCheckBox* birthdayBox;
  QDateEdit* birthdayEdit;
  QPlainTextEdit* newMemoEdit;
  QPlainTextEdit* memoEdit;
  QLabel* custNoHint;
  QToolButton* saveButton;
  QToolButton* exitButton;
  QStatusBar* statusBar;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  RecordSet* clients_;
  bool newMode_;
  qint64 key_ = 0;
  bool saved_ = false;
  bool shown_ = false;
  QDate initialDate_;
  double storedBirth_ = 0;  // DBIRTH of the row shown in modify mode
};

}  // namespace ruto
