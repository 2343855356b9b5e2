#pragma once
// The expert-program list: programs and their condition rows, every condition of a row as check
// boxes, the program's description, picture and run buttons.

#include <QDialog>
#include <array>
#include <functional>

#include "app/ProgramConditions.h"
#include "app/RecordSet.h"
#include "app/ui/FormShowOnce.h"
#include "app/ui/OpenerDialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolButton;

namespace ruto {

class RecordGrid;

// Two small arrow buttons stepping a position between a minimum and a maximum.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  TUpDown(int minimum, int maximum, QWidget* parent = nullptr);
  int Position() const { return position_; }
  void setPosition(int p);
  int Max() const { return max_; }
  // One step as a click on an arrow does (+1 or -1); emits clicked.
  void stepBy(int delta);
 Q_SIGNALS:
  void clicked();

 private:
  int min_, max_, position_;
};

class ProgramList : public FormShowOnce<OpenerDialog> {
  Q_OBJECT

 public:
  explicit ProgramList(QWidget* parent = nullptr);
  ~ProgramList() override;

  void FormShow() override;
  void FormClose();
  void activateProgramList();
  void activateConditionList();
  void showConditionControls();
  void buildConditionStrings();
  void refreshProgramPanel();
  void updateCountLabel();
  void newProgram();
  void editProgram();
  void deleteProgram();
  void newCondition();
  void editCondition();
  void deleteCondition();
  void leave();
  void cancelEdit();
  void confirmEdit();
  void pickPicture();
  void clearPicture();
  void toggleRange();
  void toggleActualSize();
  void toggleAgeFrom();
  void toggleAgeTo();
  void toggleSexCondition();
  void stepEnergy();
  void stepAgeFrom();
  void stepAgeTo();

  // Working state.
  QString conditionDigits;
  QString groupFlags;
  QString lastProgramNo;
  bool browseMode = true;
  bool programListActive = true;

  RecordSet programs;       // VOPRO, by number
  RecordSet conditionRows;  // VOPRDT of the current program

  // The picture file dialog; tests replace it. Returns the chosen path or empty.
  std::function<QString(QWidget*)> choosePicture;
  // Runs the program editor; tests replace it to act inside it.
  std::function<void(ProgramList&)> runEditor;

  RecordGrid* programGrid = nullptr;
  RecordGrid* conditionGrid = nullptr;
  QToolButton* newProgramButton = nullptr;
  QToolButton* editProgramButton = nullptr;
  QToolButton* deleteProgramButton = nullptr;
  QToolButton* newConditionButton = nullptr;
  QToolButton* editConditionButton = nullptr;
  QToolButton* deleteConditionButton = nullptr;
  QToolButton* confirmButton = nullptr;
  QToolButton* cancelButton = nullptr;
  QToolButton* exitButton = nullptr;
  // The boxes of one position of the condition strings: its first and second state (no second
  // for some) and its group flag.
  struct ConditionBoxes {
    QCheckBox* first = nullptr;
    QCheckBox* second = nullptr;
    QCheckBox* group = nullptr;
  };
  std::array<ConditionBoxes, 23> positionBoxes;  // positions 1..22
  QCheckBox* rangeBox = nullptr;
  QCheckBox* ageFromBox = nullptr;
  QCheckBox* ageToBox = nullptr;
  QCheckBox* sexConditionBox = nullptr;
  QCheckBox* actualSizeBox = nullptr;
  QGroupBox* programGroup = nullptr;
  QGroupBox* bodyMindGroup = nullptr;
  QGroupBox* meridianGroup = nullptr;
  QGroupBox* elementGroup = nullptr;
  QGroupBox* ageSexGroup = nullptr;
  QComboBox* rangeCompareBox = nullptr;
  QLineEdit* ageFromEdit = nullptr;        // ProAGL
  QLineEdit* ageToEdit = nullptr;          // ProAGH
  QLineEdit* conditionNameEdit = nullptr;  // ProSubN
  QLineEdit* conditionNoteEdit = nullptr;  // ProNote
  QLineEdit* energyEdit = nullptr;         // ProEng
  QCheckBox* requiredBox = nullptr;        // ProFlg
  QLabel* programNoText = nullptr;
  QLabel* programNameText = nullptr;
  TUpDown* energySpin = nullptr;
  TUpDown* ageFromSpin = nullptr;
  TUpDown* ageToSpin = nullptr;
  QRadioButton* maleButton = nullptr;
  QRadioButton* femaleButton = nullptr;
  QPlainTextEdit* descriptionEdit = nullptr;
  QLabel* programPicture = nullptr;
  QPushButton* changePictureButton = nullptr;
  QPushButton* clearPictureButton = nullptr;
  std::array<QToolButton*, 5> runButtons{};  // 1..4
  QLabel* countLabel = nullptr;
  QStatusBar* statusBar = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildConditionGroups(QWidget* host);
  // The condition controls from the current row, or all off for a row being added.
  void showConditions(bool blank);
  void programChanged();
  void showProgramFields();
  void showPicture(const QByteArray& bytes);
  void setEditing(bool editing);
  void browseToolbar();
  void openEditor(bool newMode);
  void setListColours();
  void runProgram(int n);
  int conditionCount() const { return conditionRows.rowCount(); }

  QByteArray editPict_;  // the picture while a row is edited
  bool pictureChanged_ = false;
  QStringList shownDescription_;         // the description's lines as shown
  std::array<QString, 3> shownNumbers_;  // ProEng, ProAGL, ProAGH as shown
  qint64 editRowKey_ = 0;
};

}  // namespace ruto
