#pragma once
// ProgramList, the expert-program list: programs and their condition rows, every condition of a
// row as check boxes, the program's description, picture and run buttons.

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
  void DBGrid1ColEnter();
  void DBGrid2ColEnter();
  void ShowConditionControls();
  void BuildConditionStrings();
  void RefreshProgramPanel();
  void UpdateCountLabel();
  void ToolButton1Click();   // new program
  void ToolButton2Click();   // modify program
  void ToolButton3Click();   // delete program
  void ToolButton4Click();   // new condition
  void ToolButton5Click();   // modify condition
  void ToolButton6Click();   // delete condition
  void ToolButton8Click();   // exit
  void ToolButton10Click();  // cancel
  void ToolButton11Click();  // confirm
  void BitBtn1Click();
  void BitBtn2Click();
  void CheckBox43Click();
  void CheckBox66Click();
  void CheckBox67Click();
  void CheckBox68Click();
  void CheckBox69Click();
  void UpDown1Click();
  void UpDown2Click();
  void UpDown3Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();

  // Working state.
  QString ConditionDigits;
  QString GroupFlags;
  QString LastProgramNo;
  bool BrowseMode = true;
  bool ProgramListActive = true;

  RecordSet ADOTable1;  // VOPRO, by number
  RecordSet ADOTable2;  // VOPRDT of the current program

  // The picture file dialog; tests replace it. Returns the chosen path or empty.
  std::function<QString(QWidget*)> choosePicture;
  // Runs the program editor; tests replace it to act inside it.
  std::function<void(ProgramList&)> runEditor;

  RecordGrid* DBGrid1 = nullptr;
  RecordGrid* DBGrid2 = nullptr;
  std::array<QToolButton*, 12> ToolButton{};
  std::array<QCheckBox*, 70> CheckBox{};
  std::array<QGroupBox*, 6> GroupBox{};
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* DBEdit1 = nullptr;      // ProAGL
  QLineEdit* DBEdit2 = nullptr;      // ProAGH
  QLineEdit* DBEdit3 = nullptr;      // ProSubN
  QLineEdit* DBEdit4 = nullptr;      // ProNote
  QLineEdit* DBEdit5 = nullptr;      // ProEng
  QCheckBox* DBCheckBox1 = nullptr;  // ProFlg
  QLabel* DBText1 = nullptr;
  QLabel* DBText2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TUpDown* UpDown2 = nullptr;
  TUpDown* UpDown3 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QPlainTextEdit* DBMemo1 = nullptr;
  QLabel* DBImage1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  std::array<QToolButton*, 5> SpeedButton{};
  QLabel* StaticText4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;

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
  void runButton(int n);
  int conditionCount() const { return ADOTable2.rowCount(); }

  QByteArray editPict_;  // the picture while a row is edited
  qint64 editRowKey_ = 0;
};

}  // namespace ruto
