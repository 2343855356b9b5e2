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
  static const std::array<std::pair<int, const char*>, 8> captions = {{{1, "表裡屬性:"},
                                                                       {2, "表裡經絡:"},
                                                                       {3, "天干屬性:"},
                                                                       {8, "五行屬性:"},
                                                                       {4, "子午流注:"},
                                                                       {5, "測 定 點:"},
                                                                       {6, "抑 制 點:"},
                                                                       {7, "興 奮 點:"}}};
  auto* attributes = new QGridLayout;
  for (size_t i = 0; i < captions.size(); ++i) {
    const auto [n, caption] = captions[i];
    auto* value = new QLabel(this);
    value->setObjectName(QStringLiteral("StaticText%1").arg(n));
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(180);
    StaticText[n] = value;
    const int row = int(i) / 2, column = int(i) % 2 * 2;
    attributes->addWidget(new QLabel(QString::fromUtf8(caption), this), row, column);
    attributes->addWidget(value, row, column + 1);
  }
  attributes->setColumnStretch(1, 1);
  attributes->setColumnStretch(3, 1);
  right->addLayout(attributes);

  for (int i = 1; i <= 9; ++i) Memo[i] = newMemo(QStringLiteral("Memo%1").arg(i), this);

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
      {memoPage({Memo[1], Memo[2], Memo[3]}), "經絡資料", "單經絡分析參考資料"},
      {memoPage({Memo[9], Memo[8]}), "良導絡資料", "良導絡辯證參考資料"},
      {memoPage({Memo[6], Memo[7]}), "醫方資料", "經絡醫方與針灸參考資料"},
      {memoPage({Memo[4], Memo[5]}), "養生資料", "養生食療總表參考"},
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

void ReferenceBrowser::setMemo(int index, const QStringList& lines) {
  QPlainTextEdit* memo = Memo[index];
  memo->clear();
  memo->setVisible(false);
  memo->setPlainText(lines.join(QLatin1Char('\n')));
  memo->setVisible(true);
}

void ReferenceBrowser::ShowRow(int key) {
  const TReferenceRow row = referenceTable_.Row(key);
  const QString* labelTexts[9] = {nullptr,     &row.DtEA1,  &row.DtEA2,  &row.DtEA3, &row.DtEA5,
                                  &row.DtPot1, &row.DtPot2, &row.DtPot3, &row.DtEA4};
  for (int n = 1; n <= 8; ++n) StaticText[n]->setText(*labelTexts[n]);

  setMemo(1, {row.DtMA1});
  setMemo(2, {row.DtMH1});
  setMemo(3, {row.DtML1});
  setMemo(9, {row.DtML5});
  setMemo(8, {row.DtMH5});
  setMemo(4, {row.DtMA3, QString(), row.DtMH4});
  setMemo(5, {row.DtML4});
  setMemo(6, {row.DtMH3, QString(), row.DtMH2});
  setMemo(7, {row.DtML3, QString(), row.DtML2});

  QPixmap figure;
  if (!row.DtGpM.isEmpty()) figure.loadFromData(row.DtGpM);
  figureImage->setPixmap(figure);
}

}  // namespace ruto
