#include "measure/ui/AnalysisWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/AskUser.h"
#include "app/DatabaseGuard.h"
#include "app/Databases.h"
#include "app/RecordSet.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/ui/DialogFrame.h"
#include "app/ui/SharedPrinter.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "measure/Analysis.h"
#include "measure/AnalysisLists.h"
#include "measure/Charts.h"
#include "measure/PrintOptions.h"
#include "measure/ui/ChartView.h"
#include "skin/ui/ControlSkins.h"
#include "widgets/GradientBar.h"
#include "widgets/SortingGrid.h"

namespace ruto {

namespace {

constexpr int kPageCount = 9;
constexpr int kChartPage = 1;

const char* const kPageCaptions[kPageCount] = {"體能狀況", "分析圖表", "表裡對應",
                                               "經絡分析", "醫方資料", "養生建議",
                                               "專家療程", "處置記錄", "資料列印"};
const char* const kPageHints[kPageCount] = {"",
                                            "圖形分析功能",
                                            "表裡經絡能量對應分析",
                                            "經絡能量分析參考資料",
                                            "醫方及針灸建議及參考",
                                            "養生食療參考項目",
                                            "專家療程分析",
                                            "處置與相關建議記錄",
                                            "資料列印選項"};
const char* const kPageStatus[kPageCount] = {
    "【性別】會影響部份辨證,請留意其正確性。",
    "【平均體能】為基準中線的數據,每一受測者均不相同。",
    "表裡經絡能量對應，您可以藉此判斷陰臟陽腑間的氣血平衡度。",
    "請至【辨證項目】中點選需要詳細說明的單經絡辨證項目。",
    "請至【辨證項目】中點選需要詳細說明的醫方建議資料。",
    "請至【食療項目】中點選需要詳細說明的食療資料。",
    "請至【辨證項目】中點選需要詳細說明的專家療程資料。",
    "請將症狀與處置資料詳細紀錄.",
    "當您選擇【開始列印】,系統將會把您在[列印資料選項]中勾選的資料列印出來."};
const QString kDisclaimer =
    QStringLiteral("本功能所有資料僅供研究參考，身體不適仍應洽詢專業醫師。");

// The chart buttons, left to right.
struct ChartButton {
  QToolButton* AnalysisWindow::*button;
  const char* name;
  ChartType kind;
  const char* hint;
  void (AnalysisWindow::*handler)();
};
const ChartButton kChartButtons[] = {
    {&AnalysisWindow::barChartButton, "barChartButton", ChartType::Bar, "經絡虛實長條圖",
     &AnalysisWindow::showBarChart},
    {&AnalysisWindow::curveChartButton, "curveChartButton", ChartType::Curve, "經絡虛實曲線圖",
     &AnalysisWindow::showCurveChart},
    {&AnalysisWindow::ryodorakuChartButton, "ryodorakuChartButton", ChartType::Ryodoraku,
     "良導絡分析圖", &AnalysisWindow::showRyodorakuChart},
    {&AnalysisWindow::generatingChartButton, "generatingChartButton", ChartType::Generating,
     "五行相生分析圖", &AnalysisWindow::showGeneratingChart},
    {&AnalysisWindow::controllingChartButton, "controllingChartButton", ChartType::Controlling,
     "五行相剋分析圖", &AnalysisWindow::showControllingChart},
    {&AnalysisWindow::autonomicChartButton, "autonomicChartButton", ChartType::Autonomic,
     "自律神經分析圖", &AnalysisWindow::showAutonomicChart},
    {&AnalysisWindow::radarChartButton, "radarChartButton", ChartType::Radar, "經絡能量雷達圖",
     &AnalysisWindow::showRadarChart}};

// Small pictures of the seven charts for their buttons.
QIcon drawChartIcon(ChartType kind) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor green(0, 128, 0), yellow(220, 200, 0), red(220, 0, 0), navy(0, 0, 128);
  switch (kind) {
    case ChartType::Bar:
      p.fillRect(3, 12, 5, 9, green);
      p.fillRect(10, 5, 5, 7, yellow);
      p.fillRect(17, 12, 5, 6, red);
      p.setPen(QPen(Qt::black, 1.5));
      p.drawLine(2, 12, 22, 12);
      break;
    case ChartType::Curve:
      p.setPen(QPen(navy, 1.5, Qt::DotLine));
      p.drawPolyline(QPolygon({{4, 14}, {9, 6}, {14, 16}, {20, 9}}));
      for (const QPoint& pt : {QPoint(4, 14), QPoint(9, 6), QPoint(14, 16), QPoint(20, 9)})
        p.fillRect(pt.x() - 2, pt.y() - 2, 5, 5, pt.y() < 8 ? yellow : green);
      break;
    case ChartType::Ryodoraku:
      p.setPen(QPen(Qt::blue, 1));
      for (int x : {6, 12, 18}) p.drawLine(x, 3, x, 21);
      p.fillRect(2, 14, 5, 3, green);
      p.fillRect(8, 7, 5, 3, yellow);
      p.fillRect(14, 12, 5, 3, green);
      p.fillRect(19, 4, 4, 3, red);
      break;
    case ChartType::Generating:
    case ChartType::Controlling: {
      QPolygonF ring;
      for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        ring << QPointF(12 + 9 * std::cos(a), 12 + 9 * std::sin(a));
      }
      p.setPen(QPen(kind == ChartType::Generating ? green : red, 1.5));
      if (kind == ChartType::Generating)
        p.drawPolygon(ring);
      else
        p.drawPolygon(QPolygonF({ring[0], ring[2], ring[4], ring[1], ring[3]}));
      p.setBrush(kind == ChartType::Generating ? green : red);
      for (const QPointF& pt : ring) p.drawEllipse(pt, 2, 2);
      break;
    }
    case ChartType::Autonomic:
      p.setPen(QPen(Qt::black, 1.5));
      p.drawLine(2, 12, 22, 12);
      p.setPen(QPen(QColor(128, 0, 0), 1.5, Qt::DotLine));
      p.drawPolyline(QPolygon({{4, 8}, {10, 15}, {15, 10}, {20, 14}}));
      for (const QPoint& pt : {QPoint(4, 8), QPoint(10, 15), QPoint(15, 10), QPoint(20, 14)})
        p.fillRect(pt.x() - 2, pt.y() - 2, 4, 4, green);
      break;
    case ChartType::Radar:
      p.setPen(QPen(Qt::blue, 1.5));
      p.drawEllipse(QPointF(12, 12), 6, 6);
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(12, 2, 12, 22);
      p.drawLine(2, 12, 22, 12);
      break;
    default:
      break;
  }
  return QIcon(pixmap);
}

// Drawn once for the program: Qt caches an icon's pixmaps under the pixmap's own key, so
// pictures drawn anew for every analysis window would each take new cache entries.
QIcon chartIcon(ChartType kind) {
  static QHash<int, QIcon> drawn;
  QIcon& icon = drawn[static_cast<int>(kind)];
  if (icon.isNull()) icon = drawChartIcon(kind);
  return icon;
}

QLabel* caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QPlainTextEdit* newPane(const QString& name, QWidget* parent, bool readOnly = true) {
  auto* pane = new QPlainTextEdit(parent);
  pane->setObjectName(name);
  pane->setReadOnly(readOnly);
  return pane;
}

QString selectedLinesOf(const QPlainTextEdit* pane) {
  return pane->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

}  // namespace

TAnalysisReportPrinter& AnalysisReportPrinter() {
  static TAnalysisReportPrinter printer;
  return printer;
}

AnalysisWindow::AnalysisWindow(QWidget* parent)
    // A dialog frame rather than a tool window: the skin frames dialogs only, and a tool
    // window with a minimise box left the modal program with nothing to click.
    : QDialog(parent, kDialogFrameFlags), referenceTable_(QSqlDatabase()) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("AnalysisWindow"));
  setWindowTitle(QStringLiteral("資料分析"));
  PlaceOnShow(this, WindowPlace::Screen);
  setFixedSize(785, 556);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(2);

  pageTabs = new QTabWidget(this);
  pageTabs->setObjectName(QStringLiteral("pageTabs"));
  pageTabs->setToolTip(QStringLiteral("身體能量及相關分析資料"));
  for (size_t i = 0; i < pages.size(); ++i) {
    pages[i] = new QWidget;
    pages[i]->setObjectName(QStringLiteral("page%1").arg(i + 1));
  }

  // The multi-meridian list stands over the lower left of the pages, in the same grid cell,
  // shown only on the three text pages; those pages leave that corner free.
  multiListPanel = new QWidget(this);
  auto* multiLayout = new QVBoxLayout(multiListPanel);
  multiLayout->setContentsMargins(10, 0, 0, 8);
  multiLayout->setSpacing(2);
  multiLayout->addWidget(caption(QStringLiteral("多經絡分析"), multiListPanel));
  multiMeridianList = new QListWidget(multiListPanel);
  multiMeridianList->setObjectName(QStringLiteral("multiMeridianList"));
  multiMeridianList->setFixedSize(190, 150);
  multiLayout->addWidget(multiMeridianList);

  auto* pageArea = new QGridLayout;
  pageArea->setContentsMargins(0, 0, 0, 0);
  pageArea->addWidget(pageTabs, 0, 0);
  pageArea->addWidget(multiListPanel, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
  root->addLayout(pageArea, 1);

  buildSummaryPage();
  buildChartPage();
  buildPairPage();
  buildTextPages();
  buildProgramPage();
  buildNotePage();
  buildPrintPage();
  for (int i = 0; i < kPageCount; ++i) {
    const int index = pageTabs->addTab(pages[size_t(i)], QString::fromUtf8(kPageCaptions[i]));
    if (*kPageHints[i]) pageTabs->setTabToolTip(index, QString::fromUtf8(kPageHints[i]));
  }
  multiListPanel->raise();

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  statusPanel0_ = new QLabel(statusBar);
  statusPanel0_->setFixedWidth(440);
  statusPanel1_ = new QLabel(kDisclaimer, statusBar);
  statusPanel1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  statusBar->addWidget(statusPanel0_);
  statusBar->addWidget(statusPanel1_, 1);
  root->addWidget(statusBar);
  // The exit button stands in the free corner right of the page tabs.
  exitButton = new QPushButton(QStringLiteral("離  開"), this);
  MarkBitButton(exitButton);
  exitButton->setObjectName(QStringLiteral("exitButton"));
  pageTabs->setCornerWidget(exitButton, Qt::TopRightCorner);

  // Panes the printed report wraps long texts in; never shown.
  plainWrapPane = newPane(QStringLiteral("plainWrapPane"), this);
  levelWrapPane = newPane(QStringLiteral("levelWrapPane"), this);
  programWrapPane = newPane(QStringLiteral("programWrapPane"), this);
  for (QPlainTextEdit* hidden : {plainWrapPane, levelWrapPane, programWrapPane}) {
    hidden->setFixedWidth(600);
    hidden->hide();
  }

  connect(pageTabs, &QTabWidget::currentChanged, this, [this] { showChosenPage(); });
  connect(exitButton, &QPushButton::clicked, this, &AnalysisWindow::exitWindow);
  connect(printButton, &QPushButton::clicked, this, &AnalysisWindow::printReport);
  connect(printSetupButton, &QPushButton::clicked, this, &AnalysisWindow::setUpPrinter);
  connect(appendProgramButton, &QPushButton::clicked, this, &AnalysisWindow::appendProgram);
  connect(appendDietButton, &QPushButton::clicked, this, &AnalysisWindow::appendDiet);
  connect(appendPrescriptionButton, &QPushButton::clicked, this,
          &AnalysisWindow::appendPrescription);
  connect(appendDiagnosisButton, &QPushButton::clicked, this, &AnalysisWindow::appendDiagnosis);
  for (const ChartButton& b : kChartButtons)
    connect(this->*b.button, &QToolButton::clicked, this, b.handler);
  const std::pair<QToolButton*, void (AnalysisWindow::*)()> textHandlers[] = {
      {remedyButtons[0], &AnalysisWindow::showAcupuncture},
      {remedyButtons[1], &AnalysisWindow::showHerbalRemedy},
      {remedyButtons[2], &AnalysisWindow::showMassageRemedy},
      {careButtons[0], &AnalysisWindow::showNutrients},
      {careButtons[1], &AnalysisWindow::showTaboos},
      {careButtons[2], &AnalysisWindow::showMedicinalDiet},
      {careButtons[3], &AnalysisWindow::showHerbalTea},
      {careButtons[4], &AnalysisWindow::showCareMassage}};
  for (const auto& [button, handler] : textHandlers)
    connect(button, &QToolButton::clicked, this, handler);
  const std::pair<QToolButton*, void (AnalysisWindow::*)()> paneHandlers[] = {
      {selectAllProgramButton, &AnalysisWindow::selectAllProgram},
      {selectAllDietButton, &AnalysisWindow::selectAllDiet},
      {selectAllPrescriptionButton, &AnalysisWindow::selectAllPrescription},
      {selectAllDiagnosisButton, &AnalysisWindow::selectAllDiagnosis},
      {runButtons[0], &AnalysisWindow::runCommand1},
      {runButtons[1], &AnalysisWindow::runCommand2},
      {runButtons[2], &AnalysisWindow::runCommand3},
      {runButtons[3], &AnalysisWindow::runCommand4}};
  for (const auto& [button, handler] : paneHandlers)
    connect(button, &QToolButton::clicked, this, handler);

  // A list handler runs for a choice by mouse or keyboard; the window's own moves of a list
  // block its signals.
  const std::pair<QListWidget*, void (AnalysisWindow::*)()> listHandlers[] = {
      {diagnosisList, &AnalysisWindow::showDiagnosisItem},
      {dietList, &AnalysisWindow::showDietItem},
      {programList, &AnalysisWindow::showExpertProgram},
      {multiMeridianList, &AnalysisWindow::showMultiMeridianProgram},
      {prescriptionList, &AnalysisWindow::showPrescriptionItem}};
  for (const auto& [list, listHandler] : listHandlers)
    connect(list, &QListWidget::currentRowChanged, this, [this, handler = listHandler](int row) {
      if (row >= 0) (this->*handler)();
    });
  // A click on the program already chosen shows it afresh: its first remedy and care pages
  // come back after the buttons showed others.
  connect(multiMeridianList, &QListWidget::itemClicked, this,
          &AnalysisWindow::showMultiMeridianProgram);

  for (QPlainTextEdit* pane :
       {diagnosisPane, dietPane, prescriptionPane, ryodorakuPane, programPane}) {
    connect(pane, &QPlainTextEdit::selectionChanged, this, &AnalysisWindow::updateAppendButtons);
    connect(pane, &QPlainTextEdit::textChanged, this, &AnalysisWindow::updateAppendButtons);
  }
  connect(notePane, &QPlainTextEdit::textChanged, this, &AnalysisWindow::markNoteChanged);
  connect(printChecks[4], &QCheckBox::toggled, this, &AnalysisWindow::followDiagnosisOption);
  connect(printChecks[13], &QCheckBox::toggled, this, &AnalysisWindow::followRemedyOption);
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::buildSummaryPage() {
  QWidget* page = pages[0];
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  const auto label = [](QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);  // the client's data as typed
    return l;
  };
  const auto sunken = [&](QWidget* parent, const QString& name, int width) {
    QLabel* l = label(parent, name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(width);
    return l;
  };

  // Client block.
  auto* client = new QGridLayout;
  client->setHorizontalSpacing(6);
  const struct {
    const char* text;
    QLabel** label;
    const char* name;
    int row, column, width;
  } fields[] = {{"編號:", &clientNoLabel, "clientNoLabel", 0, 0, 90},
                {"姓名:", &clientNameLabel, "clientNameLabel", 0, 2, 110},
                {"電話:", &telLabel, "telLabel", 0, 4, 110},
                {"性別:", &sexLabel, "sexLabel", 0, 6, 60},
                {"生日:", &birthLabel, "birthLabel", 1, 0, 90},
                {"年齡:", &ageLabel, "ageLabel", 1, 2, 50},
                {"測量日期:", &testDateLabel, "testDateLabel", 1, 4, 90},
                {"測量時間:", &testTimeLabel, "testTimeLabel", 1, 6, 70},
                {"測量範圍:", &rangeLabel, "rangeLabel", 1, 8, 110}};
  for (const auto& f : fields) {
    *f.label = sunken(page, QString::fromLatin1(f.name), f.width);
    client->addWidget(caption(QString::fromUtf8(f.text), page), f.row, f.column);
    client->addWidget(*f.label, f.row, f.column + 1);
  }
  client->setColumnStretch(9, 1);
  layout->addLayout(client);

  valueGrid = new TSortingGrid(page);
  valueGrid->setObjectName(QStringLiteral("valueGrid"));
  valueGrid->setColCount(13);
  valueGrid->setRowCount(3);
  valueGrid->setFixedCols(1);
  valueGrid->setFixedRows(1);
  valueGrid->setDefaultColWidth(56);
  valueGrid->setDefaultRowHeight(20);
  valueGrid->setScrollBars(ssNone);
  valueGrid->setAlignmentHorz(taCenter);
  valueGrid->setFixedHeight(3 * 21 + 4);
  layout->addWidget(valueGrid);

  // The five body-state rows.
  auto* rows = new QGroupBox(QStringLiteral("身體能量狀態分析"), page);
  auto* grid = new QGridLayout(rows);
  grid->setVerticalSpacing(2);
  const struct {
    const char* name;
    bool detail;
    int barMax;
    const char* rangeText;
  } lines[] = {{"身體能量", false, 180, "(28 - 59)"},
               {"精神壓力", true, 20, "(0.88-1.15)"},
               {"肌肉骨骼", true, 20, "(0.8-1.1)"},
               {"新陳代謝", true, 20, "(0.8-1.1)"},
               {"自律神經", true, 40, "(1.0-1.5)"}};
  for (int r = 0; r < 5; ++r) {
    const auto& l = lines[r];
    SummaryRow& row = summaryRows[size_t(r)];
    const QString n = QString::number(r + 1);
    grid->addWidget(caption(QString::fromUtf8(l.name), rows), r, 0);
    if (l.detail) {
      row.detail = label(rows, "summaryDetail" + n);
      grid->addWidget(row.detail, r, 1);
    }
    row.value = sunken(rows, "summaryValue" + n, 50);
    grid->addWidget(row.value, r, 2);
    row.bar = new TGradientBar(rows);
    row.bar->setObjectName("summaryBar" + n);
    row.bar->setMaxValue(l.barMax);
    row.bar->setShowPercent(false);
    row.bar->setStartColor(clWhite);
    row.bar->setEndColor(clGreen);
    row.bar->setFixedSize(150, 14);
    grid->addWidget(row.bar, r, 3);
    row.range = label(rows, "summaryRange" + n);
    row.range->setText(QString::fromUtf8(l.rangeText));
    grid->addWidget(row.range, r, 4);
    row.verdict = label(rows, "summaryVerdict" + n);
    grid->addWidget(row.verdict, r, 5);
  }
  grid->setColumnStretch(5, 1);
  layout->addWidget(rows);

  // Five elements: metal, wood, water, fire, earth.
  auto* elements = new QGroupBox(QStringLiteral("五行能量"), page);
  auto* egrid = new QGridLayout(elements);
  egrid->setVerticalSpacing(2);
  const char* names[] = {"金", "木", "水", "火", "土"};
  for (int i = 0; i < 5; ++i) {
    egrid->addWidget(caption(QString::fromUtf8(names[i]), elements), 0, 3 * i, Qt::AlignRight);
    ElementRow& row = elementRows[size_t(i)];
    const QString n = QString::number(i + 1);
    row.mean = sunken(elements, "elementMean" + n, 44);
    egrid->addWidget(row.mean, 0, 3 * i + 1);
    row.deviation = label(elements, "elementDeviation" + n);
    egrid->addWidget(row.deviation, 0, 3 * i + 2);
    auto* bar = new TGradientBar(elements);
    bar->setObjectName("elementBar" + n);
    bar->setMaxValue(150);
    bar->setShowPercent(false);
    bar->setStartColor(clWhite);
    bar->setEndColor(clGreen);
    bar->setFixedHeight(12);
    row.bar = bar;
    egrid->addWidget(bar, 1, 3 * i, 1, 3);
  }
  layout->addWidget(elements);
  layout->addStretch(1);
}

void AnalysisWindow::buildChartPage() {
  QWidget* page = pages[1];
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  auto* top = new QHBoxLayout;
  chartBar = new QToolBar(page);
  chartBar->setObjectName(QStringLiteral("chartBar"));
  chartBar->setIconSize(QSize(24, 24));
  for (const ChartButton& b : kChartButtons) {
    auto* button = new QToolButton(chartBar);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setCheckable(true);
    button->setIcon(chartIcon(b.kind));
    button->setToolTip(QString::fromUtf8(b.hint));
    this->*b.button = button;
    // Assistive technology toggles a checkable button without clicking it: the chart follows
    // the button going down, and the current chart's button stays down.
    connect(button, &QToolButton::toggled, this, [this, b](bool down) {
      if (down)
        (this->*b.handler)();
      else if (ViewState.ChartKind == b.kind)
        (this->*b.button)->setChecked(true);
    });
    QAction* action = chartBar->addWidget(button);
    // The radar chart has no button the user can reach.
    if (b.kind == ChartType::Radar) action->setVisible(false);
  }
  top->addWidget(chartBar);
  chartTitle = new QLabel(page);
  chartTitle->setObjectName(QStringLiteral("chartTitle"));
  QFont titleFont = chartTitle->font();
  titleFont.setPointSize(titleFont.pointSize() + 3);
  titleFont.setBold(true);
  chartTitle->setFont(titleFont);
  setTextColor(chartTitle, clNavy);
  top->addWidget(chartTitle, 1, Qt::AlignCenter);
  layout->addLayout(top);
  chartView = new TChartView(page);
  QFont chartFont = chartView->font();
  chartFont.setPointSize(8);
  chartView->setFont(chartFont);
  layout->addWidget(chartView, 0, Qt::AlignHCenter);
  layout->addStretch(1);
}

void AnalysisWindow::buildPairPage() {
  QWidget* page = pages[2];
  auto* layout = new QVBoxLayout(page);
  auto* group = new QGroupBox(QStringLiteral("能量氣血對應表"), page);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(10);
  const char* headers[] = {"表裡經絡", "能量", "能量", "差異", "平衡狀態", "狀態"};
  for (int c = 0; c < 6; ++c) grid->addWidget(caption(QString::fromUtf8(headers[c]), group), 0, c);
  const char* pairs[] = {"肺經 - 大腸經", "心包經 - 三焦經", "心經 - 小腸經",
                         "脾經 - 胃經",   "肝經 - 膽經",     "腎經 - 膀胱經"};
  for (int i = 0; i < 6; ++i) {
    const int r = i + 1;
    grid->addWidget(caption(QString::fromUtf8(pairs[i]), group), r, 0);
    PairRow& row = pairRows[size_t(i)];
    const QString n = QString::number(r);
    const auto value = [&](const QString& name) {
      auto* l = new QLabel(group);
      l->setObjectName(name + n);
      l->setFrameShape(QFrame::Panel);
      l->setFrameShadow(QFrame::Sunken);
      l->setMinimumWidth(70);
      return l;
    };
    row.meanA = value(QStringLiteral("pairMeanA"));
    row.meanB = value(QStringLiteral("pairMeanB"));
    row.difference = value(QStringLiteral("pairDifference"));
    row.state = value(QStringLiteral("pairState"));
    grid->addWidget(row.meanA, r, 1);
    grid->addWidget(row.meanB, r, 2);
    grid->addWidget(row.difference, r, 3);
    row.bar = new TGradientBar(group);
    row.bar->setObjectName("pairBar" + n);
    row.bar->setMaxValue(100);
    row.bar->setShowPercent(false);
    row.bar->setStartColor(clWhite);
    row.bar->setEndColor(clGreen);
    row.bar->setFixedSize(220, 16);
    grid->addWidget(row.bar, r, 4);
    grid->addWidget(row.state, r, 5);
  }
  layout->addWidget(group);
  layout->addStretch(1);
}

void AnalysisWindow::buildTextPages() {
  const auto listColumn = [this](QWidget* page, const QString& title, QListWidget*& list,
                                 const QString& name) {
    auto* column = new QVBoxLayout;
    column->addWidget(caption(title, page));
    list = new QListWidget(page);
    list->setObjectName(name);
    list->setFixedWidth(190);
    column->addWidget(list, 1);
    // Room for the multi-meridian list, which stands over this corner.
    column->addSpacing(multiListPanel->sizeHint().height());
    return column;
  };
  const auto newButton = [](const QString& text, const QString& name, const QString& hint,
                            QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);  // select-all acts on the pane that has the focus
    return b;
  };
  const QString selectAllHint = QStringLiteral("將全部資料選取為剪貼的資料");
  const QString appendHint = QStringLiteral("將選取的資料貼入處置記錄");
  const auto buttonRow = [&](QToolButton*& selectAll, const QString& selectAllName,
                             QPushButton*& append, const QString& appendName, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    selectAll = newButton(QStringLiteral("全選"), selectAllName, selectAllHint, parent);
    append = new QPushButton(QStringLiteral("貼上"), parent);
    MarkBitButton(append);
    append->setObjectName(appendName);
    append->setToolTip(appendHint);
    append->setEnabled(false);
    row->addWidget(selectAll);
    row->addWidget(append);
    return row;
  };
  const auto textToolBar = [&](QWidget* parent, const QString& name, QToolButton** buttons,
                               const QString& buttonName,
                               std::initializer_list<const char*> texts) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    int n = 0;
    for (const char* text : texts) {
      QToolButton* b =
          newButton(QString::fromUtf8(text), buttonName + QString::number(n + 1), QString(), bar);
      b->setCheckable(true);
      bar->addWidget(b);
      buttons[n++] = b;
    }
    return bar;
  };

  // Diagnosis.
  {
    QWidget* page = pages[3];
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(listColumn(page, QStringLiteral("單經絡分析"), diagnosisList,
                                 QStringLiteral("diagnosisList")));
    auto* right = new QVBoxLayout;
    right->addWidget(caption(QStringLiteral("詳細說明"), page));
    diagnosisPane = newPane(QStringLiteral("diagnosisPane"), page);
    right->addWidget(diagnosisPane, 3);
    right->addWidget(caption(QStringLiteral("良導絡辨症"), page));
    ryodorakuPane = newPane(QStringLiteral("ryodorakuPane"), page);
    right->addWidget(ryodorakuPane, 2);
    right->addLayout(buttonRow(selectAllDiagnosisButton, QStringLiteral("selectAllDiagnosisButton"),
                               appendDiagnosisButton, QStringLiteral("appendDiagnosisButton"),
                               page));
    layout->addLayout(right, 1);
  }
  // Prescriptions.
  {
    QWidget* page = pages[4];
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(listColumn(page, QStringLiteral("單經絡分析"), prescriptionList,
                                 QStringLiteral("prescriptionList")));
    auto* right = new QVBoxLayout;
    remedyBar = textToolBar(page, QStringLiteral("remedyBar"), remedyButtons.data(),
                            QStringLiteral("remedyButton"), {"針  灸", "漢  方", "按  摩"});
    // Massage remedies are not offered.
    for (QAction* action : remedyBar->actions())
      if (remedyBar->widgetForAction(action) == remedyButtons[2]) action->setVisible(false);
    right->addWidget(remedyBar);
    right->addWidget(caption(QStringLiteral("詳細說明"), page));
    prescriptionPane = newPane(QStringLiteral("prescriptionPane"), page);
    right->addWidget(prescriptionPane, 1);
    right->addLayout(
        buttonRow(selectAllPrescriptionButton, QStringLiteral("selectAllPrescriptionButton"),
                  appendPrescriptionButton, QStringLiteral("appendPrescriptionButton"), page));
    layout->addLayout(right, 1);
  }
  // Diet.
  {
    QWidget* page = pages[5];
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(
        listColumn(page, QStringLiteral("單經絡分析"), dietList, QStringLiteral("dietList")));
    auto* right = new QVBoxLayout;
    careBar = textToolBar(page, QStringLiteral("careBar"), careButtons.data(),
                          QStringLiteral("careButton"),
                          {"營養素", "禁  忌", "藥  膳", "花草茶", "按  摩"});
    right->addWidget(careBar);
    right->addWidget(caption(QStringLiteral("食物療法表列"), page));
    dietPane = newPane(QStringLiteral("dietPane"), page);
    right->addWidget(dietPane, 1);
    right->addLayout(buttonRow(selectAllDietButton, QStringLiteral("selectAllDietButton"),
                               appendDietButton, QStringLiteral("appendDietButton"), page));
    layout->addLayout(right, 1);
  }
}

void AnalysisWindow::buildProgramPage() {
  QWidget* page = pages[6];
  auto* layout = new QHBoxLayout(page);
  auto* left = new QVBoxLayout;
  left->addWidget(caption(QStringLiteral("療程項目"), page));
  programList = new QListWidget(page);
  programList->setObjectName(QStringLiteral("programList"));
  programList->setFixedWidth(190);
  left->addWidget(programList, 1);
  layout->addLayout(left);

  auto* middle = new QVBoxLayout;
  middle->addWidget(caption(QStringLiteral("療程說明"), page));
  programPane = newPane(QStringLiteral("programPane"), page);
  middle->addWidget(programPane, 1);
  auto* row = new QHBoxLayout;
  for (size_t n = 0; n < runButtons.size(); ++n) {
    auto* button = new QToolButton(page);
    button->setObjectName(QStringLiteral("runButton%1").arg(n + 1));
    button->setText(QString::number(n + 1));
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    runButtons[n] = button;
  }
  row->addStretch(1);
  selectAllProgramButton = new QToolButton(page);
  selectAllProgramButton->setObjectName(QStringLiteral("selectAllProgramButton"));
  selectAllProgramButton->setText(QStringLiteral("全選"));
  selectAllProgramButton->setToolTip(QStringLiteral("將全部資料選取為剪貼的資料"));
  selectAllProgramButton->setFocusPolicy(Qt::NoFocus);
  row->addWidget(selectAllProgramButton);
  appendProgramButton = new QPushButton(QStringLiteral("貼上"), page);
  MarkBitButton(appendProgramButton);
  appendProgramButton->setObjectName(QStringLiteral("appendProgramButton"));
  appendProgramButton->setToolTip(QStringLiteral("將選取的資料貼入處置記錄"));
  appendProgramButton->setEnabled(false);
  row->addWidget(appendProgramButton);
  middle->addLayout(row);
  layout->addLayout(middle, 1);

  auto* right = new QVBoxLayout;
  programPicture = new QLabel(page);
  programPicture->setObjectName(QStringLiteral("programPicture"));
  programPicture->setFixedSize(240, 300);
  programPicture->setFrameShape(QFrame::Panel);
  programPicture->setFrameShadow(QFrame::Sunken);
  programPicture->setAlignment(Qt::AlignCenter);
  right->addWidget(programPicture);
  programScaleLabel = new QLabel(page);
  programScaleLabel->setObjectName(QStringLiteral("programScaleLabel"));
  right->addWidget(programScaleLabel);
  right->addStretch(1);
  layout->addLayout(right);
}

void AnalysisWindow::buildNotePage() {
  QWidget* page = pages[7];
  auto* layout = new QVBoxLayout(page);
  notePane = newPane(QStringLiteral("notePane"), page, false);
  layout->addWidget(notePane);
}

void AnalysisWindow::buildPrintPage() {
  QWidget* page = pages[8];
  auto* layout = new QHBoxLayout(page);
  for (int n = 1; n <= 17; ++n) {
    if (n == 8 || n == 9) continue;  // no such boxes
    printChecks[n] = new QCheckBox(this);
    printChecks[n]->setObjectName(QStringLiteral("printCheck%1").arg(n));
  }
  for (int n : {1, 2, 5, 6, 7, 12}) {
    printRadios[n] = new QRadioButton(this);
    printRadios[n]->setObjectName(QStringLiteral("printRadio%1").arg(n));
  }

  printGroup = new QGroupBox(QStringLiteral("列印資料選項"), page);
  auto* options = new QVBoxLayout(printGroup);
  const std::pair<int, const char*> boxes[] = {
      {1, "經絡測量數據資料"},   {3, "身體能量狀態分析"}, {4, "單經絡能量辨證"},
      {14, "良導絡辨證"},        {5, "養生食療建議"},     {6, "專家療程建議"},
      {13, "醫方建議-經絡配穴"}, {15, "單方/複方建議"},   {10, "處置記錄"}};
  for (const auto& [n, text] : boxes) {
    printChecks[n]->setParent(printGroup);
    printChecks[n]->setText(QString::fromUtf8(text));
    // The two boxes that only add to the box above them stand indented.
    if (n == 14 || n == 15) {
      auto* indented = new QHBoxLayout;
      indented->addSpacing(20);
      indented->addWidget(printChecks[n]);
      options->addLayout(indented);
    } else {
      options->addWidget(printChecks[n]);
    }
  }
  auto* charts = new QGroupBox(QStringLiteral("能量分析圖形"), printGroup);
  auto* chartBoxes = new QVBoxLayout(charts);
  const std::pair<int, const char*> chartOptions[] = {
      {7, "經絡虛實分析圖-曲線"}, {2, "經絡虛實分析圖-長條"}, {11, "經絡五行相生分析圖"},
      {12, "經絡五行相剋分析圖"}, {16, "良導絡分析圖"},       {17, "自律神經平衡圖"}};
  for (const auto& [n, text] : chartOptions) {
    printChecks[n]->setParent(charts);
    printChecks[n]->setText(QString::fromUtf8(text));
    chartBoxes->addWidget(printChecks[n]);
  }
  options->addWidget(charts);
  options->addStretch(1);
  layout->addWidget(printGroup, 1);

  auto* right = new QVBoxLayout;
  const struct {
    const char* title;
    int first, second;
    const char* firstText;
    const char* secondText;
  } radios[] = {{"資料列印型式", 1, 2, "詳細資料列印", "精簡資料列印"},
                {"列印模式", 5, 6, "彩色", "單色"},
                {"列印字形大小", 7, 12, "正常", "小型"}};
  for (const auto& r : radios) {
    auto* group = new QGroupBox(QString::fromUtf8(r.title), page);
    auto* g = new QVBoxLayout(group);
    printRadios[r.first]->setParent(group);
    printRadios[r.first]->setText(QString::fromUtf8(r.firstText));
    printRadios[r.second]->setParent(group);
    printRadios[r.second]->setText(QString::fromUtf8(r.secondText));
    g->addWidget(printRadios[r.first]);
    g->addWidget(printRadios[r.second]);
    right->addWidget(group);
  }
  right->addStretch(1);
  printButton = new QPushButton(QStringLiteral("列  印"), page);
  MarkBitButton(printButton);
  printButton->setObjectName(QStringLiteral("printButton"));
  printButton->setToolTip(QStringLiteral("開始資料列印"));
  printSetupButton = new QPushButton(QStringLiteral("列印設定"), page);
  MarkBitButton(printSetupButton);
  printSetupButton->setObjectName(QStringLiteral("printSetupButton"));
  printSetupButton->setToolTip(QStringLiteral("印表機與格式設定"));
  right->addWidget(printButton);
  right->addWidget(printSetupButton);
  layout->addLayout(right);
}

QString AnalysisWindow::statusText(int panel) const {
  return panel == 0 ? statusPanel0_->text() : statusPanel1_->text();
}

void AnalysisWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void AnalysisWindow::done(int result) {
  if (!closed_) {
    closed_ = true;
    FormClose();
  }
  QDialog::done(result);
}

// ---- opening and closing ----

void AnalysisWindow::FormShow() {
  {
    const QSignalBlocker quiet(notePane);
    notePane->setPlainText(CurrentTest.Memo1.join(QLatin1Char('\n')));
  }
  noteChanged_ = false;
  listSync_ = true;

  openTables();
  fromMultiList_ = false;

  const int page = ViewState.AnalysisPage;
  {
    const QSignalBlocker quiet(pageTabs);
    pageTabs->setCurrentIndex(page >= 0 && page < kPageCount ? page : 0);
  }
  showPageState();

  ComputeMeridianStatistics(Analysis, CurrentTest.CompValues);

  const ChartType kind = ViewState.ChartKind;
  if (IsChartKind(kind)) {
    for (const ChartButton& b : kChartButtons) (this->*b.button)->setChecked(b.kind == kind);
    chartTitle->setText(ChartTitle(kind));
    chartView->update();
  }

  showAnalysisSummary();
  fillLists();
  matchExpertPrograms();

  setTextButtonsEnabled(false);
  for (QPlainTextEdit* pane : {diagnosisPane, dietPane, prescriptionPane, ryodorakuPane})
    pane->clear();

  listSync_ = false;
  if (diagnosisList->count() > 0) {
    syncList(diagnosisList, 0);
    showDiagnosisItem();
  }
  if (dietList->count() > 0) {
    syncList(dietList, 0);
    showDietItem();
  }
  if (prescriptionList->count() > 0) {
    syncList(prescriptionList, 0);
    showPrescriptionItem();
  }
  listSync_ = true;

  applyPrintOptions(Settings.PrintOptions);
  followDiagnosisOption();
  followRemedyOption();
}

void AnalysisWindow::openTables() {
  referenceTable_ = TReferenceTable(QSqlDatabase::database(kReferenceConnection, false));
  referenceTable_.Open();
  QString error;
  multiMeridian_ = MultiMeridianDatabase(&error);
  if (!multiMeridian_.isValid())
    AskUser(MsgKind::WarningOk,
            QStringLiteral("無法開啟多經絡分析資料庫 %1,多經絡分析項目將不會列出。\n%2")
                .arg(kMultiMeridianDatabase, error));
}

void AnalysisWindow::closeTables() {
  referenceTable_.Close();
  multiMeridian_ = QSqlDatabase();
}

void AnalysisWindow::FormClose() {
  closeTables();
  ViewState.AnalysisPage = pageTabs->currentIndex();

  Settings.PrintOptions = printOptionsFromControls();
  // A failure is reported by the settings writer itself; closing goes on.
  LoadSaveSettings(true);

  if (noteChanged_) saveNote();

  if (QWidget* opener = parentWidget()) opener->show();
}

void AnalysisWindow::saveNote() {
  QStringList lines;
  for (QTextBlock b = notePane->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  // An empty memo has one empty block but no lines.
  if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
  CurrentTest.Memo1 = lines;
  if (CurrentTest.MKey <= 0) return;

  QString stored;
  for (const QString& line : lines) stored += line + QStringLiteral("\r\n");
  Transaction transaction(kMainConnection);
  QString error = transaction.error();
  if (transaction.active()) {
    QSqlQuery q(QSqlDatabase::database(kMainConnection, false));
    q.prepare(QStringLiteral("UPDATE VODATA SET MEMO1 = ? WHERE MKEY = ?"));
    q.addBindValue(stored);
    q.addBindValue(CurrentTest.MKey);
    if (!q.exec()) error = q.lastError().text();
    // The stored test may have been deleted meanwhile: the note then reaches no row, and the
    // test in work is stored no longer.
    const bool gone = error.isEmpty() && q.numRowsAffected() == 0;
    q.finish();
    if (gone) {
      CurrentTest.MKey = 0;
      error = QStringLiteral("資料庫中已沒有這筆檢測資料。");
    } else if (error.isEmpty() && transaction.commit(&error)) {
      return;
    }
  }
  AskUser(MsgKind::WarningOk, WriteFailureText(QStringLiteral("處置記錄無法存入資料庫。"), error));
}

// ---- pages and charts ----

void AnalysisWindow::showPageState() {
  const int page = pageTabs->currentIndex();
  QString text;
  if (page == kChartPage && IsChartKind(ViewState.ChartKind))
    text = ChartStatusText(ViewState.ChartKind);
  else if (page >= 0 && page < kPageCount)
    text = QString::fromUtf8(kPageStatus[page]);
  statusPanel0_->setText(text);
  multiListPanel->setVisible(page >= 3 && page <= 5);
  multiListPanel->raise();
}

void AnalysisWindow::showChosenPage() {
  showPageState();
  setTextButtonsEnabled(fromMultiList_);
}

void AnalysisWindow::showChart(ChartType kind) {
  if (ViewState.ChartKind != kind) {
    ViewState.ChartKind = kind;
    chartTitle->setText(ChartTitle(kind));
    statusPanel0_->setText(ChartStatusText(kind));
    chartView->update();
  }
  for (const ChartButton& b : kChartButtons) (this->*b.button)->setChecked(b.kind == kind);
}

void AnalysisWindow::showBarChart() { showChart(ChartType::Bar); }
void AnalysisWindow::showCurveChart() { showChart(ChartType::Curve); }
void AnalysisWindow::showGeneratingChart() { showChart(ChartType::Generating); }
void AnalysisWindow::showControllingChart() { showChart(ChartType::Controlling); }
void AnalysisWindow::showRadarChart() { showChart(ChartType::Radar); }
void AnalysisWindow::showRyodorakuChart() { showChart(ChartType::Ryodoraku); }
void AnalysisWindow::showAutonomicChart() { showChart(ChartType::Autonomic); }

// ---- summary and pair pages ----

void AnalysisWindow::showAnalysisSummary() {
  const TSummaryRatios ratios = ComputeSummaryLevels(Analysis, CurrentClient.Sex);

  for (int m = 1; m <= 12; ++m) valueGrid->setCell(m, 0, MeridianColumnCaption(m));
  for (int row = 1; row <= 2; ++row) valueGrid->setCell(0, row, SideRowCaption(row));
  for (int p = 1; p <= 24; ++p) {
    const TGridCell cell = GridCellOfPoint(p);
    valueGrid->setCell(cell.Column, cell.Row, GridValueText(CurrentTest.Values[p]));
  }

  const bool dated = CurrentTest.VoDate != 0;
  testDateLabel->setText(dated ? formatOleDate(CurrentTest.VoDate) : QString());
  testTimeLabel->setText(dated ? formatOleTime(CurrentTest.VoDate) : QString());

  clientNoLabel->setText(CurrentClient.CustNo);
  clientNameLabel->setText(CurrentClient.Name);
  telLabel->setText(CurrentClient.Tel);
  if (CurrentClient.DBirth >= 4000.0) {
    birthLabel->setText(formatOleDate(CurrentClient.DBirth));
    const QDateTime birth = fromOleDate(CurrentClient.DBirth);
    const int age = QDate::currentDate().year() - (birth.isValid() ? birth.date().year() : 0);
    ageLabel->setText(Format("%3d", {age}));
  } else {
    birthLabel->clear();
    ageLabel->clear();
  }

  rangeLabel->setText(RangeKindCaption(CurrentTest.VoVota));
  setTextColor(rangeLabel, RangeKindColor(CurrentTest.VoVota));
  sexLabel->setText(SexCaption(CurrentClient.Sex));
  setTextColor(sexLabel, SexColor(CurrentClient.Sex));
  summaryRows[0].range->setText(EnergyRangeCaption(CurrentClient.Sex));
  summaryRows[1].range->setText(StressRangeCaption(CurrentClient.Sex));

  const auto showBar = [](TGradientBar* bar, int position, TColor color) {
    bar->setEndColor(color);
    bar->setPosition(position);
  };
  const std::array<TSummaryRow, 5> rows = SummaryRows(Analysis, ratios);
  for (size_t i = 0; i < rows.size(); ++i) {
    const SummaryRow& row = summaryRows[i];
    if (row.detail) row.detail->setText(rows[i].Detail);
    row.value->setText(rows[i].Value);
    row.verdict->setText(rows[i].Verdict);
    showBar(row.bar, rows[i].BarPosition, rows[i].BarColor);
  }

  const std::array<TPairRow, 6> pairs = PairRows(Analysis);
  for (size_t i = 0; i < pairs.size(); ++i) {
    const PairRow& row = pairRows[i];
    row.difference->setText(pairs[i].DifferenceText);
    row.meanA->setText(pairs[i].MeanA);
    row.meanB->setText(pairs[i].MeanB);
    row.state->setText(pairs[i].State);
    showBar(row.bar, pairs[i].BarPosition, pairs[i].BarColor);
  }

  const std::array<TElementRow, 5> elements = ElementRows(Analysis);
  for (size_t i = 0; i < elements.size(); ++i) {
    const ElementRow& row = elementRows[i];
    row.mean->setText(elements[i].MeanText);
    row.deviation->setText(elements[i].DeviationText);
    showBar(row.bar, elements[i].BarPosition, elements[i].BarColor);
  }
}

// ---- item lists and reference texts ----

void AnalysisWindow::fillLists() {
  const TDiagnosisLists lists = FillDiagnosisLists(Analysis);
  const QSignalBlocker quiet1(diagnosisList), quiet2(dietList), quiet5(prescriptionList);
  diagnosisList->clear();
  diagnosisList->addItems(lists.Diagnosis);
  dietList->addItems(lists.Diet);
  prescriptionList->clear();
  prescriptionList->addItems(FillPrescriptionList(Analysis));
}

void AnalysisWindow::syncList(QListWidget* list, int row) {
  const QSignalBlocker quiet(list);
  if (row >= 0 && row < list->count()) {
    list->setCurrentRow(row);
  } else {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
}

void AnalysisWindow::setPane(QPlainTextEdit* pane, const QStringList& lines) {
  pane->setUpdatesEnabled(false);
  pane->clear();
  pane->setPlainText(lines.join(QLatin1Char('\n')));
  pane->setUpdatesEnabled(true);
}

void AnalysisWindow::setTextButtonsEnabled(bool on) {
  for (QToolButton* b : remedyButtons) b->setEnabled(on);
  for (QToolButton* b : careButtons) b->setEnabled(on);
}

void AnalysisWindow::afterItemShown() {
  fromMultiList_ = false;
  setTextButtonsEnabled(false);
  syncList(multiMeridianList, -1);
}

void AnalysisWindow::showDiagnosisItem() {
  const int index = diagnosisList->currentRow();
  if (index < 0) return;
  const int key = Analysis.ExplainCodes[index];
  const TDiagnosisTexts texts =
      DiagnosisTexts(Analysis, key, diagnosisList->item(index)->text(), referenceTable_.Row(key));
  setPane(diagnosisPane, texts.Detail);
  setPane(ryodorakuPane, texts.Ryodoraku);
  afterItemShown();
  if (listSync_ && index >= kBodyStateItemCount) {
    listSync_ = false;
    syncList(dietList, index - kBodyStateItemCount);
    if (dietList->currentRow() >= 0) showDietItem();
    syncList(prescriptionList, index - kBodyStateItemCount);
    if (prescriptionList->currentRow() >= 0)
      showPrescriptionItem();
    else
      prescriptionPane->clear();  // fewer prescriptions than diagnoses: nothing at this place
    listSync_ = true;
  }
}

void AnalysisWindow::showDietItem() {
  const int index = dietList->currentRow();
  if (index < 0) return;
  const int key = Analysis.DietCodes[index];
  setPane(dietPane, DietTexts(Analysis, key, referenceTable_.Row(key)));
  afterItemShown();
  if (listSync_) {
    listSync_ = false;
    syncList(prescriptionList, index);
    if (prescriptionList->currentRow() >= 0)
      showPrescriptionItem();
    else
      prescriptionPane->clear();
    syncList(diagnosisList, index + kBodyStateItemCount);
    if (diagnosisList->currentRow() >= 0) showDiagnosisItem();
    listSync_ = true;
  }
}

void AnalysisWindow::showPrescriptionItem() {
  const int index = prescriptionList->currentRow();
  if (index < 0) return;
  const int key = Analysis.RemedyCodes[index];
  setPane(prescriptionPane, PrescriptionTexts(Analysis, key, referenceTable_.Row(key)));
  afterItemShown();
  if (listSync_) {
    listSync_ = false;
    syncList(dietList, index);
    if (dietList->currentRow() >= 0) showDietItem();
    syncList(diagnosisList, index + kBodyStateItemCount);
    if (diagnosisList->currentRow() >= 0) showDiagnosisItem();
    listSync_ = true;
  }
}

void AnalysisWindow::showMultiMeridianProgram() {
  const int index = multiMeridianList->currentRow();
  if (index < 0) return;
  shownProgram_ =
      LocateMultiMeridianProgram(multiMeridian_, multiMeridianList->item(index)->text());
  setPane(diagnosisPane, {shownProgram_.ProData});
  setPane(prescriptionPane, {shownProgram_.ProMed[1]});
  setPane(dietPane, {shownProgram_.ProHel[1]});
  setPane(ryodorakuPane, {});
  for (QToolButton* b : remedyButtons) b->setChecked(b == remedyButtons[0]);
  for (QToolButton* b : careButtons) b->setChecked(b == careButtons[0]);
  for (QListWidget* list : {diagnosisList, dietList, prescriptionList}) syncList(list, -1);
  setTextButtonsEnabled(true);
  fromMultiList_ = true;
}

void AnalysisWindow::showRemedy(int column) {
  setPane(prescriptionPane, {shownProgram_.ProMed[column]});
  for (size_t n = 0; n < remedyButtons.size(); ++n)
    remedyButtons[n]->setChecked(int(n) + 1 == column);
}

void AnalysisWindow::showCare(int column) {
  setPane(dietPane, {shownProgram_.ProHel[column]});
  for (size_t n = 0; n < careButtons.size(); ++n) careButtons[n]->setChecked(int(n) + 1 == column);
}

void AnalysisWindow::showAcupuncture() { showRemedy(1); }
void AnalysisWindow::showHerbalRemedy() { showRemedy(2); }
void AnalysisWindow::showMassageRemedy() { showRemedy(3); }
void AnalysisWindow::showNutrients() { showCare(1); }
void AnalysisWindow::showTaboos() { showCare(2); }
void AnalysisWindow::showMedicinalDiet() { showCare(3); }
void AnalysisWindow::showHerbalTea() { showCare(4); }
void AnalysisWindow::showCareMassage() { showCare(5); }

// ---- select all and append to the note ----

void AnalysisWindow::updateAppendButtons() {
  const auto selected = [](const QPlainTextEdit* pane) {
    return pane->textCursor().hasSelection();
  };
  appendDiagnosisButton->setEnabled(selected(diagnosisPane) || selected(ryodorakuPane));
  appendPrescriptionButton->setEnabled(selected(prescriptionPane));
  appendDietButton->setEnabled(selected(dietPane));
  appendProgramButton->setEnabled(selected(programPane));
}

void AnalysisWindow::selectAll(QPlainTextEdit* pane) {
  pane->selectAll();
  updateAppendButtons();
}

void AnalysisWindow::appendSelection(QPlainTextEdit* pane) {
  QTextCursor source = pane->textCursor();
  if (!source.hasSelection()) return;
  const QString text = selectedLinesOf(pane);
  QTextCursor note(notePane->document());
  note.movePosition(QTextCursor::End);
  // An empty line, then the selection's lines.
  note.insertText(notePane->document()->isEmpty() ? QStringLiteral("\n") + text
                                                  : QStringLiteral("\n\n") + text);
  source.clearSelection();
  pane->setTextCursor(source);
}

void AnalysisWindow::selectAllProgram() { selectAll(programPane); }
void AnalysisWindow::selectAllDiet() { selectAll(dietPane); }
void AnalysisWindow::selectAllPrescription() { selectAll(prescriptionPane); }

void AnalysisWindow::selectAllDiagnosis() {
  if (diagnosisPane->hasFocus()) {
    selectAll(diagnosisPane);
  } else if (ryodorakuPane->hasFocus()) {
    selectAll(ryodorakuPane);
  } else {
    selectAll(diagnosisPane);
    selectAll(ryodorakuPane);
  }
}

void AnalysisWindow::appendProgram() {
  appendSelection(programPane);
  updateAppendButtons();
}

void AnalysisWindow::appendDiet() {
  appendSelection(dietPane);
  updateAppendButtons();
}

void AnalysisWindow::appendPrescription() {
  appendSelection(prescriptionPane);
  updateAppendButtons();
}

void AnalysisWindow::appendDiagnosis() {
  appendSelection(diagnosisPane);
  appendSelection(ryodorakuPane);
  updateAppendButtons();
}

void AnalysisWindow::markNoteChanged() { noteChanged_ = true; }

// ---- print page ----

void AnalysisWindow::applyPrintOptions(const QString& flags) {
  const TPrintOptionSet set = ParsePrintOptions(flags);
  for (const TPrintOptionSlot& slot : PrintOptionSlots()) {
    if (slot.Radio) {
      printRadios[set[slot.Position] ? slot.Control : slot.OtherRadio]->setChecked(true);
    } else {
      printChecks[slot.Control]->setChecked(set[slot.Position]);
    }
  }
}

QString AnalysisWindow::printOptionsFromControls() const {
  TPrintOptionSet set{};
  for (const TPrintOptionSlot& slot : PrintOptionSlots())
    set[slot.Position] = slot.Radio ? printRadios[slot.Control]->isChecked()
                                    : printChecks[slot.Control]->isChecked();
  return FormatPrintOptions(set);
}

void AnalysisWindow::followDiagnosisOption() {
  printChecks[14]->setEnabled(printChecks[4]->isChecked());
}
void AnalysisWindow::followRemedyOption() {
  printChecks[15]->setEnabled(printChecks[13]->isChecked());
}

void AnalysisWindow::exitWindow() { close(); }

void AnalysisWindow::printReport() {
  if (AnalysisReportPrinter()) AnalysisReportPrinter()(*this);
}

void AnalysisWindow::setUpPrinter() { SetUpSharedPrinter(this); }

}  // namespace ruto
