#pragma once
// The program editor: number, name, description, picture and up to four run buttons of one
// expert program, new or changed.

#include <QByteArray>
#include <QDialog>
#include <array>
#include <functional>

#include "app/ui/FormShowOnce.h"
#include "records/ProgramRecords.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace ruto {

class RecordSet;

class ProgramEditor : public FormShowOnce<QDialog> {
  Q_OBJECT

 public:
  // Works on the current row of `programs` (VOPRO of the program list); a new program's
  // number is left in `lastProgramNo`.
  ProgramEditor(RecordSet* programs, QString* lastProgramNo, QWidget* parent = nullptr);

  void FormShow() override;
  void save();
  void leave();
  void updateSaveButton();
  void pickPicture();
  void clearPicture();
  void toggleActualSize();
  // Row n (1..4): choose the program, choose the parameter, test it.
  void chooseProgram(int n);
  void chooseParameter(int n);
  void testRow(int n);

  // File dialogs; tests replace them. Kinds: "program", "parameter", "picture".
  std::function<QString(QWidget* parent, const QString& kind)> chooseFile;

  QLineEdit* numberEdit = nullptr;  // ProNo
  QLineEdit* nameEdit = nullptr;    // ProName
  QPlainTextEdit* descriptionEdit = nullptr;
  QLabel* programPicture = nullptr;
  QPushButton* changePictureButton = nullptr;
  QPushButton* clearPictureButton = nullptr;
  QCheckBox* actualSizeBox = nullptr;  // ProScal
  // One run button of the program: whether it is on, its hint, the program and the parameter
  // it starts with their choosers, and a test start.
  struct RunRow {
    QCheckBox* enabled = nullptr;
    QLineEdit* hint = nullptr;
    QLineEdit* program = nullptr;
    QToolButton* pickProgram = nullptr;
    QLineEdit* parameter = nullptr;
    QToolButton* pickParameter = nullptr;
    QToolButton* test = nullptr;
  };
  std::array<RunRow, 4> runRows;  // run buttons 1..4
  QToolButton* saveButton = nullptr;
  QToolButton* exitButton = nullptr;

 private:
  void showPicture();

  RecordSet* programs_;
  QString* lastProgramNo_;
  QByteArray picture_;
  bool newMode_;
  TProgramFields stored_;  // the program as shown in modify mode
  QStringList shownDescription_;
};

}  // namespace ruto
