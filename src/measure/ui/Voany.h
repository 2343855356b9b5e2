#pragma once
// The analysis window of the test in work: body state, the charts, meridian pairs, diagnosis,
// prescription and diet lists with their reference texts, expert programs, the treatment note
// and the print choices, on nine pages. Opening computes the shared Analysis; closing keeps the
// page, the print choices and the note.
//
// The expert-program page and the multi-meridian list are filled by VoanyPrograms.cpp:
// MatchExpertProgramsIntoList() fills ListBox3 and ListBox4 and shows the first program on
// ListBox3's page (DBMemo1, DBImage1, StaticText[120], SpeedButton[2..5]); ListBox3Click and
// the run buttons SpeedButton2Click..SpeedButton5Click belong there too.

#include <QDialog>
#include <QSqlDatabase>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "measure/MultiMeridianTexts.h"
#include "measure/ReferenceTable.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace ruto {

class TChartView;
class TGradientBar;
class TSortingGrid;
class TVoany;

// "列  印" hands the window to the printed report, which reads its print choices and texts.
// Unset, the button does nothing.
using TAnalysisReportPrinter = std::function<void(TVoany& window)>;
TAnalysisReportPrinter& AnalysisReportPrinter();

class TVoany : public QDialog {
  Q_OBJECT

 public:
  explicit TVoany(QWidget* parent = nullptr);
  ~TVoany() override;

  // ---- handlers ----
  void FormShow();
  void FormClose();
  void PageControl1Change();
  void ToolButton4Click();   // bar chart
  void ToolButton5Click();   // curve chart
  void ToolButton8Click();   // generating
  void ToolButton9Click();   // controlling
  void ToolButton15Click();  // radar
  void ToolButton16Click();  // conductance
  void ToolButton17Click();  // autonomic
  void CheckBox4Click();
  void CheckBox13Click();
  void BitBtn1Click();  // 離開
  void BitBtn2Click();  // 列印
  void BitBtn3Click();  // 列印設定
  void Memo4Change();

  void ListBox1Click();
  void ListBox2Click();
  void ListBox5Click();
  void ListBox4Click();
  // Multi-meridian text buttons: remedies (1..3) and care texts (10..14).
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton10Click();
  void ToolButton11Click();
  void ToolButton12Click();
  void ToolButton13Click();
  void ToolButton14Click();
  // Select-all ("全選") and append ("貼上") buttons of the four text pages.
  void SpeedButton1Click();
  void SpeedButton6Click();
  void SpeedButton7Click();
  void SpeedButton8Click();
  void BitBtn4Click();
  void BitBtn5Click();
  void BitBtn6Click();
  void BitBtn7Click();

  // ---- expert programs (VoanyPrograms.cpp) ----
  void MatchExpertProgramsIntoList();
  void ListBox3Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void SpeedButton5Click();

  // Whatever VoanyPrograms.cpp keeps between its handlers (the shown program's row and so on);
  // created there, so this window needs to know nothing of it.
  struct TProgramState;
  std::shared_ptr<TProgramState> ProgramState;

  // The status bar's page text (panel 0) and disclaimer (panel 1).
  QString StatusText(int panel) const;
  // The multi-meridian database, opened when the window opened; invalid when it could not be
  // (the user has been told once).
  const QSqlDatabase& MultiMeridianPrograms() const { return multiMeridian_; }

  // ---- controls (numbered ones by their number; entry 0 unused) ----
  QTabWidget* PageControl1 = nullptr;
  std::array<QWidget*, 10> TabSheet{};
  QStatusBar* StatusBar1 = nullptr;
  std::array<QPushButton*, 8> BitBtn{};
  std::array<QLabel*, 121> StaticText{};
  std::array<TGradientBar*, 17> GradientBar{};
  TSortingGrid* StringGrid1 = nullptr;

  TChartView* PaintBox1 = nullptr;
  QToolBar* ToolBar1 = nullptr;  // charts
  QToolBar* ToolBar2 = nullptr;  // remedy texts
  QToolBar* ToolBar3 = nullptr;  // care texts
  std::array<QToolButton*, 18> ToolButton{};

  QListWidget* ListBox1 = nullptr;    // diagnosis items
  QListWidget* ListBox2 = nullptr;    // diet items
  QListWidget* ListBox3 = nullptr;    // matched expert programs
  QListWidget* ListBox4 = nullptr;    // multi-meridian programs
  QListWidget* ListBox5 = nullptr;    // prescription items
  QWidget* MultiListPanel = nullptr;  // ListBox4 with its caption, over the pages
  // Memo1, 2, 5, 6 text panes, Memo4 the note, Memo3 and Memo7 hidden (the report wraps in them).
  std::array<QPlainTextEdit*, 8> Memo{};
  QPlainTextEdit* DBMemo1 = nullptr;  // program description
  QPlainTextEdit* DBMemo2 = nullptr;  // hidden, for the report
  QLabel* DBImage1 = nullptr;
  std::array<QToolButton*, 9> SpeedButton{};  // 1, 6..8 "全選"; 2..5 run buttons

  QGroupBox* PrintGroup = nullptr;
  std::array<QCheckBox*, 18> CheckBox{};
  std::array<QRadioButton*, 13> RadioButton{};

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void buildSummaryPage();
  void buildChartPage();
  void buildPairPage();
  void buildTextPages();
  void buildProgramPage();
  void buildNotePage();
  void buildPrintPage();

  void addTabPage(int index, QWidget* page);
  void openTables();
  void closeTables();
  void showPageState();
  void chartButton(int button);
  void syncList(QListWidget* list, int row);
  void showAnalysisSummary();
  void fillLists();
  void setTextButtonsEnabled(bool on);
  void selectFirstItems();
  void setPane(QPlainTextEdit* pane, const QStringList& lines);
  void afterItemShown();
  void showMultiColumn(int button);
  void updateAppendButtons();
  void selectAll(QPlainTextEdit* pane);
  void appendSelection(QPlainTextEdit* pane);
  void applyPrintOptions(const QString& flags);
  QString printOptionsFromControls() const;
  void saveNote();

  QLabel* statusPanel0_ = nullptr;
  QLabel* statusPanel1_ = nullptr;
  TReferenceTable ADOTable3;
  QSqlDatabase multiMeridian_;  // invalid when the database could not be opened
  TMultiMeridianTexts shownProgram_;
  bool noteChanged_ = false;
  bool listSync_ = true;
  bool fromMultiList_ = false;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace ruto
