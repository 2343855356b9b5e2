#include "measure/ui/ReferenceBrowser.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ui/WindowKeys.h"
#include "app/ui/WindowPlacement.h"

namespace ruto {

namespace {

QPlainTextEdit* newMemo(const QString& name, QWidget* parent) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  return memo;
}

QWidget* memoPage(const std::initializer_list<QPlainTextEdit*>& memos) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  for (QPlainTextEdit* m : memos) layout->addWidget(m);
  return page;
}

}  // namespace

ReferenceBrowser::ReferenceBrowser(QSqlDatabase db, QWidget* parent)
    : FormShowOnce(parent), referenceTable_(std::move(db)) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ReferenceBrowser"));
  setWindowTitle(QStringLiteral("經絡圖示解說"));
  PlaceOnShow(this, WindowPlace::Owner);
  resize(820, 620);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(4);

  auto* toolBar = new QToolBar(this);
  exitButton = new QToolButton(toolBar);
  exitButton->setObjectName(QStringLiteral("exitButton"));
  exitButton->setText(QStringLiteral("  離  開  "));
  exitButton->setToolTip(QStringLiteral("離開本系統"));
  toolBar->addWidget(exitButton);
  connect(exitButton, &QToolButton::clicked, this, &ReferenceBrowser::exitWindow);
  root->addWidget(toolBar);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(6, 0, 6, 0);
  root->addLayout(body, 1);

  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(new QLabel(QStringLiteral("經絡名稱"), this));
  meridianList = new QListWidget(this);
  meridianList->setObjectName(QStringLiteral("meridianList"));
  meridianList->setFixedWidth(170);
  listColumn->addWidget(meridianList, 1);
  body->addLayout(listColumn);
  // Keyboard moves select as clicks do; clicking the chosen entry again shows it again.
  connect(meridianList, &QListWidget::currentRowChanged, this, [this] { showChosenMeridian(); });
  connect(meridianList, &QListWidget::itemClicked, this, [this] { showChosenMeridian(); });

  auto* right = new QVBoxLayout;
  body->addLayout(right, 1);

  // Attribute labels, two to a row, in the layout's order.
  const struct {
    QLabel** label;
    const char* name;
    const char* caption;
  } attributeLabels[] = {{&interiorExteriorLabel, "interiorExteriorLabel", "表裡屬性:"},
                         {&pairedMeridianLabel, "pairedMeridianLabel", "表裡經絡:"},
                         {&stemLabel, "stemLabel", "天干屬性:"},
                         {&elementLabel, "elementLabel", "五行屬性:"},
                         {&hourLabel, "hourLabel", "子午流注:"},
                         {&measuringPointLabel, "measuringPointLabel", "測 定 點:"},
                         {&inhibitingPointLabel, "inhibitingPointLabel", "抑 制 點:"},
                         {&excitingPointLabel, "excitingPointLabel", "興 奮 點:"}};
  auto* attributes = new QGridLayout;
  int i = 0;
  for (const auto& a : attributeLabels) {
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(a.name));
    value->setTextFormat(Qt::PlainText);  // the reference database's texts as stored
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(180);
    *a.label = value;
    const int row = i / 2, column = i % 2 * 2;
    ++i;
    attributes->addWidget(new QLabel(QString::fromUtf8(a.caption), this), row, column);
    attributes->addWidget(value, row, column + 1);
  }
  attributes->setColumnStretch(1, 1);
  attributes->setColumnStretch(3, 1);
  right->addLayout(attributes);

  const std::pair<QPlainTextEdit**, const char*> panes[] = {
      {&generalPane, "generalPane"},
      {&highDiagnosisPane, "highDiagnosisPane"},
      {&lowDiagnosisPane, "lowDiagnosisPane"},
      {&highRyodorakuPane, "highRyodorakuPane"},
      {&lowRyodorakuPane, "lowRyodorakuPane"},
      {&highRemedyPane, "highRemedyPane"},
      {&lowRemedyPane, "lowRemedyPane"},
      {&highDietPane, "highDietPane"},
      {&lowDietPane, "lowDietPane"}};
  for (const auto& [pane, name] : panes) *pane = newMemo(QString::fromLatin1(name), this);

  pageTabs = new QTabWidget(this);
  pageTabs->setObjectName(QStringLiteral("pageTabs"));
  auto* figurePage = new QWidget;
  auto* figureLayout = new QVBoxLayout(figurePage);
  figureImage = new QLabel(figurePage);
  figureImage->setObjectName(QStringLiteral("figureImage"));
  figureImage->setScaledContents(true);
  figureImage->setMinimumSize(1, 1);
  figureImage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  figureLayout->addWidget(figureImage);
  const struct {
    QWidget* page;
    const char* caption;
    const char* hint;
  } pages[] = {
      {figurePage, "經絡圖例", "經絡循行圖解"},
      {memoPage({generalPane, highDiagnosisPane, lowDiagnosisPane}), "經絡資料",
       "單經絡分析參考資料"},
      {memoPage({lowRyodorakuPane, highRyodorakuPane}), "良導絡資料", "良導絡辯證參考資料"},
      {memoPage({highRemedyPane, lowRemedyPane}), "醫方資料", "經絡醫方與針灸參考資料"},
      {memoPage({highDietPane, lowDietPane}), "養生資料", "養生食療總表參考"},
  };
  for (const auto& p : pages) {
    const int index = pageTabs->addTab(p.page, QString::fromUtf8(p.caption));
    pageTabs->setTabToolTip(index, QString::fromUtf8(p.hint));
  }
  right->addWidget(pageTabs, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);
}

void ReferenceBrowser::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

void ReferenceBrowser::done(int result) {
  FormClose();
  QDialog::done(result);
}

void ReferenceBrowser::FormShow() {
  referenceTable_.Open();
  pageTabs->setCurrentIndex(0);
  meridianList->clear();
  for (int key = 1; key <= 12; ++key) meridianList->addItem(MeridianListEntry(key));
  meridianList->setFocus();
  meridianList->setCurrentRow(0);
  statusBar->showMessage(QStringLiteral("請至 [經絡名稱] 欄中,點選需要查詢的經絡資料"));
  ShowRow(1);
}

void ReferenceBrowser::showChosenMeridian() {
  const int index = meridianList->currentRow();
  if (index >= 0) ShowRow(index + 1);
}

void ReferenceBrowser::FormClose() { referenceTable_.Close(); }

void ReferenceBrowser::exitWindow() { close(); }

void ReferenceBrowser::setPane(QPlainTextEdit* pane, const QStringList& lines) {
  pane->clear();
  pane->setVisible(false);
  pane->setPlainText(lines.join(QLatin1Char('\n')));
  pane->setVisible(true);
}

void ReferenceBrowser::ShowRow(int key) {
  const TReferenceRow row = referenceTable_.Row(key);
  interiorExteriorLabel->setText(row.DtEA1);
  pairedMeridianLabel->setText(row.DtEA2);
  stemLabel->setText(row.DtEA3);
  hourLabel->setText(row.DtEA5);
  measuringPointLabel->setText(row.DtPot1);
  inhibitingPointLabel->setText(row.DtPot2);
  excitingPointLabel->setText(row.DtPot3);
  elementLabel->setText(row.DtEA4);

  setPane(generalPane, {row.DtMA1});
  setPane(highDiagnosisPane, {row.DtMH1});
  setPane(lowDiagnosisPane, {row.DtML1});
  setPane(lowRyodorakuPane, {row.DtML5});
  setPane(highRyodorakuPane, {row.DtMH5});
  setPane(highDietPane, {row.DtMA3, QString(), row.DtMH4});
  setPane(lowDietPane, {row.DtML4});
  setPane(highRemedyPane, {row.DtMH3, QString(), row.DtMH2});
  setPane(lowRemedyPane, {row.DtML3, QString(), row.DtML2});

  QPixmap figure;
  if (!row.DtGpM.isEmpty()) figure.loadFromData(row.DtGpM);
  figureImage->setPixmap(figure);
}

}  // namespace ruto
