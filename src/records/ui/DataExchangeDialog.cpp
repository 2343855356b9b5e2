#include "records/ui/DataExchangeDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/RecordSet.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "records/Transfer.h"
#include "records/ui/RecordGrid.h"
#include "widgets/GradientBar.h"

namespace ruto {

namespace {

const QString kExportStatus =
    QStringLiteral("本功能會將系統工作目錄下的檔案資料，匯出到您所指定的磁碟或目錄中。");
const QString kImportStatus =
    QStringLiteral("本功能會將您所指定的磁碟或目錄中檔案資料，匯入到系統工作目錄中。");

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text) {
  auto* c = new QCheckBox(text, parent);
  c->setObjectName(name);
  return c;
}

QString countText(int n) {
  return u'[' + Format(QStringLiteral("%6.0d"), {static_cast<long long>(n)}) + u']';
}

QTreeView* directoryTree(QWidget* parent, const QString& name, QFileSystemModel* model) {
  auto* tree = new QTreeView(parent);
  tree->setObjectName(name);
  tree->setModel(model);
  for (int c = 1; c < model->columnCount(); ++c) tree->hideColumn(c);
  tree->setHeaderHidden(true);
  tree->setMinimumSize(220, 150);
  return tree;
}

}  // namespace

DataExchangeDialog::DataExchangeDialog(QWidget* parent, TransferFiles* files)
    : FormShowOnce(parent),
      programs_(new RecordSet(kMainConnection, QStringLiteral("VOPRO"))),
      clients_(new RecordSet(kMainConnection, QStringLiteral("VOCUST"))),
      files_(files) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("DataExchangeDialog"));
  setWindowTitle(QStringLiteral("檔案匯入/匯出作業"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  programs_->setSort(QStringLiteral("ProNo ASC"));
  clients_->setSort(QStringLiteral("CustNo ASC"));

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  exportButton = addToolButton(toolBar, QStringLiteral("exportButton"), QStringLiteral("資料匯出"),
                               QStringLiteral("開始將選取的資料匯出至外部檔案"));
  importButton = addToolButton(toolBar, QStringLiteral("importButton"), QStringLiteral("匯入資料"),
                               QStringLiteral("開始將外部檔案資料匯入至系統中"));
  exitButton = addToolButton(toolBar, QStringLiteral("exitButton"), QStringLiteral("離  開"),
                             QStringLiteral("離開數據儲存系統"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 6, 6, 6);
  root->addLayout(body);
  pages = new QTabWidget(this);
  pages->setObjectName(QStringLiteral("pages"));
  exportPage = buildExportPage();
  importPage = buildImportPage();
  pages->addTab(exportPage, QStringLiteral("匯出"));
  pages->addTab(importPage, QStringLiteral("匯入"));
  body->addWidget(pages);

  auto* progress = new QGridLayout;
  progress->addWidget(new QLabel(QStringLiteral("完成比例:"), this), 0, 0);
  progressBar = new TGradientBar(this);
  progressBar->setObjectName(QStringLiteral("progressBar"));
  progressBar->setStyle(gsHorizontal);
  progressBar->setStartColor(0xFFFFFF);
  progressBar->setEndColor(0x00FF00);
  progressBar->setMaxValue(2000);
  progressBar->setShowPercent(true);
  progressBar->setMinimumHeight(22);
  progress->addWidget(progressBar, 0, 1);
  progress->addWidget(new QLabel(QStringLiteral("系統工作目錄:"), this), 1, 0);
  progress->addWidget(new QLabel(InstallDir(), this), 1, 1);
  progress->setColumnStretch(1, 1);
  body->addLayout(progress);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);

  connect(exportButton, &QToolButton::clicked, this, [this] { runExport(); });
  connect(importButton, &QToolButton::clicked, this, [this] { runImport(); });
  connect(exitButton, &QToolButton::clicked, this, [this] { leave(); });
  connect(pages, &QTabWidget::currentChanged, this, [this] { switchPage(); });
  connect(exportProgramsBox, &QCheckBox::clicked, this, [this] { toggleProgramExport(); });
  connect(exportRecordsBox, &QCheckBox::clicked, this, [this] { toggleRecordExport(); });
  connect(importProgramsBox, &QCheckBox::clicked, this, [this] { toggleProgramImport(); });
  connect(importRecordsBox, &QCheckBox::clicked, this, [this] { toggleRecordImport(); });
  connect(importFolderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { showImportFolder(); });
}

DataExchangeDialog::~DataExchangeDialog() {
  delete programs_;
  delete clients_;
}

QWidget* DataExchangeDialog::buildExportPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("exportPage"));
  auto* layout = new QGridLayout(page);

  auto* source = new QGroupBox(QStringLiteral("匯出的來源資料"), page);
  auto* sl = new QGridLayout(source);
  exportProgramsBox =
      checkBox(source, QStringLiteral("exportProgramsBox"), QStringLiteral("專家療程資料"));
  exportRecordsBox =
      checkBox(source, QStringLiteral("exportRecordsBox"), QStringLiteral("病歷檢測資料"));
  programCount = new QLabel(source);
  programCount->setObjectName(QStringLiteral("programCount"));
  clientCount = new QLabel(source);
  clientCount->setObjectName(QStringLiteral("clientCount"));
  programGrid = new RecordGrid(
      programs_,
      {{QStringLiteral("ProNo"), QStringLiteral("編號"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("ProName"),
        QStringLiteral("療程名稱"),
        160,
        Qt::AlignLeft | Qt::AlignVCenter,
        {}}},
      source);
  programGrid->setObjectName(QStringLiteral("programGrid"));
  clientGrid = new RecordGrid(
      clients_,
      {{QStringLiteral("CUSTNO"), QStringLiteral("編號"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("NAME"), QStringLiteral("姓名"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("ADDR"), QStringLiteral("地址"), 180, Qt::AlignLeft | Qt::AlignVCenter, {}}},
      source);
  clientGrid->setObjectName(QStringLiteral("clientGrid"));
  for (RecordGrid* g : {programGrid, clientGrid}) g->setMinimumSize(260, 160);
  // The page keeps its shape while a list is hidden.
  for (QWidget* w : {static_cast<QWidget*>(programGrid), static_cast<QWidget*>(clientGrid),
                     static_cast<QWidget*>(programCount), static_cast<QWidget*>(clientCount)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  sl->addWidget(exportProgramsBox, 0, 0);
  sl->addWidget(programCount, 0, 1, Qt::AlignRight);
  sl->addWidget(programGrid, 1, 0, 1, 2);
  sl->addWidget(exportRecordsBox, 2, 0);
  sl->addWidget(clientCount, 2, 1, Qt::AlignRight);
  sl->addWidget(clientGrid, 3, 0, 1, 2);
  layout->addWidget(source, 0, 0, 2, 1);

  layout->addWidget(new QLabel(QStringLiteral("匯出目的地:"), page), 0, 1);
  auto* target = new QGroupBox(QStringLiteral("匯出到下列路徑"), page);
  auto* tl = new QVBoxLayout(target);
  buildFolderPicker(target, QStringLiteral("export"), exportFolders_, exportFolderTree,
                    exportDriveBox);
  tl->addWidget(exportDriveBox);
  tl->addWidget(exportFolderTree, 1);
  tl->addWidget(new QLabel(QStringLiteral("檔案名稱： VoTran.mdb"), target));
  layout->addWidget(target, 1, 1);
  layout->setRowStretch(1, 1);
  return page;
}

QWidget* DataExchangeDialog::buildImportPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("importPage"));
  auto* layout = new QGridLayout(page);

  auto* options = new QGroupBox(QStringLiteral("匯入的資料選項"), page);
  auto* ol = new QVBoxLayout(options);
  importProgramsBox =
      checkBox(options, QStringLiteral("importProgramsBox"), QStringLiteral("專家療程資料"));
  importRecordsBox =
      checkBox(options, QStringLiteral("importRecordsBox"), QStringLiteral("病歷檢測資料"));
  ol->addWidget(importProgramsBox);
  ol->addWidget(importRecordsBox);
  auto* mode = new QGroupBox(QStringLiteral("匯入方式"), page);
  auto* ml = new QVBoxLayout(mode);
  appendButton = new QRadioButton(QStringLiteral("附加至資料中"), mode);
  appendButton->setObjectName(QStringLiteral("appendButton"));
  replaceButton = new QRadioButton(QStringLiteral("取代原有資料"), mode);
  replaceButton->setObjectName(QStringLiteral("replaceButton"));
  appendButton->setChecked(true);
  ml->addWidget(appendButton);
  ml->addWidget(replaceButton);
  auto* left = new QVBoxLayout;
  left->addWidget(options);
  left->addWidget(mode);
  left->addStretch(1);
  layout->addLayout(left, 0, 0, 2, 1);

  layout->addWidget(new QLabel(QStringLiteral("由此處匯入:"), page), 0, 1);
  auto* source = new QGroupBox(QStringLiteral("由下列路徑匯入"), page);
  auto* sl = new QVBoxLayout(source);
  buildFolderPicker(source, QStringLiteral("import"), importFolders_, importFolderTree,
                    importDriveBox);
  importFileList = new QListWidget(source);
  importFileList->setObjectName(QStringLiteral("importFileList"));
  importFileList->setMaximumHeight(60);
  sl->addWidget(importDriveBox);
  sl->addWidget(importFolderTree, 1);
  sl->addWidget(importFileList);
  layout->addWidget(source, 1, 1);
  layout->setRowStretch(1, 1);
  layout->setColumnStretch(1, 1);
  return page;
}

void DataExchangeDialog::buildFolderPicker(QWidget* parent, const QString& use,
                                           QFileSystemModel*& model, QTreeView*& tree,
                                           QComboBox*& drives) {
  model = new QFileSystemModel(this);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  tree = directoryTree(parent, use + QStringLiteral("FolderTree"), model);
  drives = driveCombo(tree, model);
  drives->setObjectName(use + QStringLiteral("DriveBox"));
}

QComboBox* DataExchangeDialog::driveCombo(QTreeView* tree, QFileSystemModel* model) {
  auto* combo = new QComboBox(tree->parentWidget());
  fillDrives(combo);
  connect(combo, &QComboBox::activated, this, [this, combo, tree, model] {
    const QString rootPath = combo->currentData().toString();
    model->setRootPath(rootPath);
    tree->setRootIndex(model->index(rootPath));
    tree->setCurrentIndex(model->index(rootPath));
    if (tree == importFolderTree) showImportFolder();
  });
  return combo;
}

// The mounted volumes stand for the drives; "/" always comes first.
void DataExchangeDialog::fillDrives(QComboBox* combo) {
  QStringList roots{QStringLiteral("/")};
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString r = v.rootPath();
    if (r.startsWith(QStringLiteral("/proc")) || r.startsWith(QStringLiteral("/sys")) ||
        r.startsWith(QStringLiteral("/dev")) || r.startsWith(QStringLiteral("/run")))
      continue;
    if (!roots.contains(r)) roots << r;
  }
  combo->clear();
  for (const QString& r : roots) combo->addItem(r, r);
}

QString DataExchangeDialog::directory(int list) const {
  const QTreeView* tree = list == 1 ? exportFolderTree : importFolderTree;
  const QFileSystemModel* model = list == 1 ? exportFolders_ : importFolders_;
  const QModelIndex i = tree->currentIndex();
  return i.isValid() ? model->filePath(i) : model->rootPath();
}

void DataExchangeDialog::setDirectory(int list, const QString& path) {
  QTreeView* tree = list == 1 ? exportFolderTree : importFolderTree;
  QFileSystemModel* model = list == 1 ? exportFolders_ : importFolders_;
  QComboBox* combo = list == 1 ? exportDriveBox : importDriveBox;
  const QString rootPath = QStorageInfo(path).isValid() ? QStorageInfo(path).rootPath() : "/";
  const int at = combo->findData(rootPath);
  combo->setCurrentIndex(at >= 0 ? at : 0);
  const QString shownRoot = combo->currentData().toString();
  model->setRootPath(shownRoot);
  tree->setRootIndex(model->index(shownRoot));
  const QModelIndex index = model->index(path);
  tree->setCurrentIndex(index);
  tree->scrollTo(index);
  tree->expand(index);
  if (list == 2) fillFileList();
}

void DataExchangeDialog::FormShow() {
  programs_->open();
  clients_->open();
  programGrid->reload();
  clientGrid->reload();
  programGrid->hide();
  clientGrid->hide();
  programCount->hide();
  clientCount->hide();
  updateCounts();
  setDirectory(1, QStringLiteral("/"));
  setDirectory(2, QStringLiteral("/"));
  pages->setCurrentWidget(exportPage);
  exportButtonRule();
  importButton->setEnabled(false);
  statusBar->showMessage(kExportStatus);
}

void DataExchangeDialog::FormClose() {
  setDirectory(1, InstallDir());
  setDirectory(2, InstallDir());
  programs_->close();
  clients_->close();
}

void DataExchangeDialog::updateCounts() {
  programCount->setText(countText(programs_->rowCount()));
  clientCount->setText(countText(clients_->rowCount()));
}

void DataExchangeDialog::exportButtonRule() {
  importButton->setEnabled(false);
  exportButton->setEnabled(exportProgramsBox->isChecked() || exportRecordsBox->isChecked());
}

void DataExchangeDialog::importButtonRule(bool withFileList) {
  exportButton->setEnabled(false);
  importButton->setEnabled((importProgramsBox->isChecked() || importRecordsBox->isChecked()) &&
                           (!withFileList || importFileList->count() > 0));
}

// The folder's files named "VoTran.mdb" in any letter case.
void DataExchangeDialog::fillFileList() {
  importFileList->clear();
  const QDir dir(directory(2));
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
    if (name.compare(kTransferFileName, Qt::CaseInsensitive) == 0) importFileList->addItem(name);
}

void DataExchangeDialog::switchPage() {
  const bool exporting = pages->currentWidget() == exportPage;
  statusBar->showMessage(exporting ? kExportStatus : kImportStatus);
  programs_->refresh();
  clients_->refresh();
  programGrid->reload();
  clientGrid->reload();
  updateCounts();
  if (exporting)
    exportButtonRule();
  else
    importButtonRule(false);
}

void DataExchangeDialog::toggleProgramExport() {
  exportButtonRule();
  programGrid->setVisible(exportProgramsBox->isChecked());
  programCount->setVisible(exportProgramsBox->isChecked());
}

void DataExchangeDialog::toggleRecordExport() {
  exportButtonRule();
  clientGrid->setVisible(exportRecordsBox->isChecked());
  clientCount->setVisible(exportRecordsBox->isChecked());
}

void DataExchangeDialog::toggleProgramImport() { importButtonRule(true); }
void DataExchangeDialog::toggleRecordImport() { importButtonRule(true); }

void DataExchangeDialog::showImportFolder() {
  fillFileList();
  importButtonRule(true);
}

void DataExchangeDialog::stepBar() {
  const int before = progressBar->Position();
  progressBar->setPosition(before + 5);
  // The run holds the main thread; the bar is painted at once when it moved.
  if (progressBar->Position() != before && progressBar->isVisible()) progressBar->repaint();
}

void DataExchangeDialog::runTransfer(const std::function<void(TransferRun&)>& work) {
  if (running_) return;
  running_ = true;
  exitButton->setEnabled(false);
  TransferRun run(kMainConnection, files_);
  run.onStep = [this] { stepBar(); };
  run.onFull = [this] { progressBar->setPosition(progressBar->MaxValue()); };
  work(run);
  exitButton->setEnabled(true);
  progressBar->setPosition(0);
  running_ = false;
}

void DataExchangeDialog::runExport() {
  runTransfer([this](TransferRun& run) {
    run.exportTo({ruto::Trim(directory(1)), exportProgramsBox->isChecked(),
                  exportRecordsBox->isChecked(), false});
  });
}

void DataExchangeDialog::runImport() {
  runTransfer([this](TransferRun& run) {
    run.importFrom({ruto::Trim(directory(2)), importProgramsBox->isChecked(),
                    importRecordsBox->isChecked(), replaceButton->isChecked()});
    programs_->refresh();
    clients_->refresh();
    programGrid->reload();
    clientGrid->reload();
    updateCounts();
  });
}

void DataExchangeDialog::leave() { close(); }

void DataExchangeDialog::reject() {
  if (running_) return;
  QDialog::reject();
}

void DataExchangeDialog::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  FormClose();
  QDialog::closeEvent(event);
}

}  // namespace ruto
