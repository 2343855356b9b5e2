#pragma once
// The analysis window of the test in work: body state, the charts, meridian pairs, diagnosis,
// prescription and diet lists with their reference texts, expert programs, the treatment note
// and the print choices, on nine pages. Opening computes the shared Analysis; closing keeps the
// page, the print choices and the note.
//
// The expert-program page and the multi-meridian list are filled by AnalysisWindowPrograms.cpp:
// matchExpertPrograms() fills programList and multiMeridianList and shows the first program on
// programList's page (programPane, programPicture, programScaleLabel, runButtons);
// showExpertProgram and the run buttons runCommand1..runCommand4 belong there too.

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

enum class ChartType : int;
class TChartView;
class TGradientBar;
class TSortingGrid;
class AnalysisWindow;

// "列  印" hands the window to the printed report, which reads its print choices and texts.
// Unset, the button does nothing.
using TAnalysisReportPrinter = std::function<void(AnalysisWindow& window)>;
TAnalysisReportPrinter& AnalysisReportPrinter();

class AnalysisWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AnalysisWindow(QWidget* parent = nullptr);
  ~AnalysisWindow() override;

  // ---- handlers ----
  void FormShow();
  void FormClose();
  void showChosenPage();
  void showBarChart();
  void showCurveChart();
  void showGeneratingChart();
  void showControllingChart();
  void showRadarChart();
  void showRyodorakuChart();
  void showAutonomicChart();
  // A print choice that only adds to the one above it is open only while that one is ticked.
  void followDiagnosisOption();
  void followRemedyOption();
  void exitWindow();
  void printReport();   // "列  印"
  void setUpPrinter();  // "列印設定"
  void markNoteChanged();

  void showDiagnosisItem();
  void showDietItem();
  void showPrescriptionItem();
  void showMultiMeridianProgram();
  // The multi-meridian program's remedy texts and care texts.
  void showAcupuncture();
  void showHerbalRemedy();
  void showMassageRemedy();
  void showNutrients();
  void showTaboos();
  void showMedicinalDiet();
  void showHerbalTea();
  void showCareMassage();
  // Select-all ("全選") and append ("貼上") buttons of the four text pages.
  void selectAllProgram();
  void selectAllDiet();
  void selectAllPrescription();
  void selectAllDiagnosis();
  void appendProgram();
  void appendDiet();
  void appendPrescription();
  void appendDiagnosis();

  // ---- expert programs (AnalysisWindowPrograms.cpp) ----
  void matchExpertPrograms();
  void showExpertProgram();
  void runCommand1();
  void runCommand2();
  void runCommand3();
  void runCommand4();

  // Whatever AnalysisWindowPrograms.cpp keeps between its handlers (the shown program's row and so
  // on); created there, so this window needs to know nothing of it.
  struct TProgramState;
  std::shared_ptr<TProgramState> programState;

  // The status bar's page text (panel 0) and disclaimer (panel 1).
  QString statusText(int panel) const;
  // The multi-meridian database, opened when the window opened; invalid when it could not be
  // (the user has been told once).
  const QSqlDatabase& multiMeridianPrograms() const { return multiMeridian_; }

  // ---- controls (numbered ones by their number; entry 0 unused) ----
  QTabWidget* pageTabs = nullptr;
  std::array<QWidget*, 9> pages{};  // in tab order
  QStatusBar* statusBar = nullptr;
  QPushButton *exitButton = nullptr, *printButton = nullptr, *printSetupButton = nullptr;
  // The summary page: client and test, one row per body state (energy, stress, muscles and
  // bones, metabolism, autonomic nerves) and one per element (metal, wood, water, fire, earth).
  QLabel *clientNoLabel = nullptr, *clientNameLabel = nullptr, *telLabel = nullptr,
         *sexLabel = nullptr, *birthLabel = nullptr, *ageLabel = nullptr, *testDateLabel = nullptr,
         *testTimeLabel = nullptr, *rangeLabel = nullptr;
  struct SummaryRow {
    QLabel* detail = nullptr;  // none for the body energy
    QLabel* value = nullptr;
    QLabel* range = nullptr;
    QLabel* verdict = nullptr;
    TGradientBar* bar = nullptr;
  };
  std::array<SummaryRow, 5> summaryRows{};
  struct ElementRow {
    QLabel* mean = nullptr;
    QLabel* deviation = nullptr;
    TGradientBar* bar = nullptr;
  };
  std::array<ElementRow, 5> elementRows{};
  // The pair page, one row per interior-exterior pair from lung and large intestine on.
  struct PairRow {
    QLabel* meanA = nullptr;
    QLabel* meanB = nullptr;
    QLabel* difference = nullptr;
    QLabel* state = nullptr;
    TGradientBar* bar = nullptr;
  };
  std::array<PairRow, 6> pairRows{};
  QLabel* chartTitle = nullptr;
  QLabel* programScaleLabel = nullptr;  // "Scale" or "Fit" under the program's picture
  TSortingGrid* valueGrid = nullptr;

  TChartView* chartView = nullptr;
  QToolBar* chartBar = nullptr;   // charts
  QToolBar* remedyBar = nullptr;  // remedy texts
  QToolBar* careBar = nullptr;    // care texts
  QToolButton *barChartButton = nullptr, *curveChartButton = nullptr,
              *ryodorakuChartButton = nullptr, *generatingChartButton = nullptr,
              *controllingChartButton = nullptr, *autonomicChartButton = nullptr,
              *radarChartButton = nullptr;
  // The multi-meridian program's remedy texts 1..3 and care texts 1..5.
  std::array<QToolButton*, 3> remedyButtons{};
  std::array<QToolButton*, 5> careButtons{};

  QListWidget* diagnosisList = nullptr;      // diagnosis items
  QListWidget* dietList = nullptr;           // diet items
  QListWidget* programList = nullptr;        // matched expert programs
  QListWidget* multiMeridianList = nullptr;  // multi-meridian programs
  QListWidget* prescriptionList = nullptr;   // prescription items
  QWidget* multiListPanel = nullptr;         // multiMeridianList with its caption, over the pages
  // The text panes of the diagnosis, prescription and diet pages, and the note.
  QPlainTextEdit *diagnosisPane = nullptr, *ryodorakuPane = nullptr, *prescriptionPane = nullptr,
                 *dietPane = nullptr, *notePane = nullptr;
  // Hidden: the printed report wraps long texts in them.
  QPlainTextEdit *plainWrapPane = nullptr, *levelWrapPane = nullptr;
  QPlainTextEdit* programPane = nullptr;      // program description
  QPlainTextEdit* programWrapPane = nullptr;  // hidden, for the report
  QLabel* programPicture = nullptr;
  // "全選" and "貼上" of the program, diet, prescription and diagnosis panes.
  QToolButton *selectAllProgramButton = nullptr, *selectAllDietButton = nullptr,
              *selectAllPrescriptionButton = nullptr, *selectAllDiagnosisButton = nullptr;
  QPushButton *appendProgramButton = nullptr, *appendDietButton = nullptr,
              *appendPrescriptionButton = nullptr, *appendDiagnosisButton = nullptr;
  std::array<QToolButton*, 4> runButtons{};  // the shown program's commands 1..4

  QGroupBox* printGroup = nullptr;
  // The print choices, by their place in PrintOptionSlots(): check boxes by Control, radio pairs
  // by Control ("1") and OtherRadio ("0"); the unused places stay empty.
  std::array<QCheckBox*, 18> printChecks{};
  std::array<QRadioButton*, 13> printRadios{};

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
  void showChart(ChartType kind);
  void syncList(QListWidget* list, int row);
  void showAnalysisSummary();
  void fillLists();
  void setTextButtonsEnabled(bool on);
  void selectFirstItems();
  void setPane(QPlainTextEdit* pane, const QStringList& lines);
  void afterItemShown();
  void showRemedy(int column);
  void showCare(int column);
  void updateAppendButtons();
  void selectAll(QPlainTextEdit* pane);
  void appendSelection(QPlainTextEdit* pane);
  void applyPrintOptions(const QString& flags);
  QString printOptionsFromControls() const;
  void saveNote();

  QLabel* statusPanel0_ = nullptr;
  QLabel* statusPanel1_ = nullptr;
  TReferenceTable referenceTable_;
  QSqlDatabase multiMeridian_;  // invalid when the database could not be opened
  TMultiMeridianTexts shownProgram_;
  bool noteChanged_ = false;
  bool listSync_ = true;
  bool fromMultiList_ = false;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace ruto
