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
  ToolButton1 = addToolButton(toolBar, QStringLiteral("ToolButton1"), QStringLiteral("資料匯出"),
                              QStringLiteral("開始將選取的資料匯出至外部檔案"));
  ToolButton2 = addToolButton(toolBar, QStringLiteral("ToolButton2"), QStringLiteral("匯入資料"),
                              QStringLiteral("開始將外部檔案資料匯入至系統中"));
  ToolButton3 = addToolButton(toolBar, QStringLiteral("ToolButton3"), QStringLiteral("離  開"),
                              QStringLiteral("離開數據儲存系統"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 6, 6, 6);
  root->addLayout(body);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheet1 = buildExportPage();
  TabSheet2 = buildImportPage();
  PageControl1->addTab(TabSheet1, QStringLiteral("匯出"));
  PageControl1->addTab(TabSheet2, QStringLiteral("匯入"));
  body->addWidget(PageControl1);

  auto* progress = new QGridLayout;
  progress->addWidget(new QLabel(QStringLiteral("完成比例:"), this), 0, 0);
  GradientBar1 = new TGradientBar(this);
  GradientBar1->setObjectName(QStringLiteral("GradientBar1"));
  GradientBar1->setStyle(gsHorizontal);
  GradientBar1->setStartColor(0xFFFFFF);
  GradientBar1->setEndColor(0x00FF00);
  GradientBar1->setMaxValue(2000);
  GradientBar1->setShowPercent(true);
  GradientBar1->setMinimumHeight(22);
  progress->addWidget(GradientBar1, 0, 1);
  progress->addWidget(new QLabel(QStringLiteral("系統工作目錄:"), this), 1, 0);
  progress->addWidget(new QLabel(InstallDir(), this), 1, 1);
  progress->setColumnStretch(1, 1);
  body->addLayout(progress);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);

  connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
  connect(ToolButton2, &QToolButton::clicked, this, [this] { ToolButton2Click(); });
  connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
  connect(CheckBox3, &QCheckBox::clicked, this, [this] { CheckBox3Click(); });
  connect(CheckBox4, &QCheckBox::clicked, this, [this] { CheckBox4Click(); });
  connect(DirectoryListBox2->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { DirectoryListBox2Change(); });
}

DataExchangeDialog::~DataExchangeDialog() {
  delete programs_;
  delete clients_;
}

QWidget* DataExchangeDialog::buildExportPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheet1"));
  auto* layout = new QGridLayout(page);

  auto* source = new QGroupBox(QStringLiteral("匯出的來源資料"), page);
  auto* sl = new QGridLayout(source);
  CheckBox1 = checkBox(source, QStringLiteral("CheckBox1"), QStringLiteral("專家療程資料"));
  CheckBox2 = checkBox(source, QStringLiteral("CheckBox2"), QStringLiteral("病歷檢測資料"));
  StaticText8 = new QLabel(source);
  StaticText8->setObjectName(QStringLiteral("StaticText8"));
  StaticText9 = new QLabel(source);
  StaticText9->setObjectName(QStringLiteral("StaticText9"));
  DBGrid1 = new RecordGrid(
      programs_,
      {{QStringLiteral("ProNo"), QStringLiteral("編號"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("ProName"),
        QStringLiteral("療程名稱"),
        160,
        Qt::AlignLeft | Qt::AlignVCenter,
        {}}},
      source);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  DBGrid2 = new RecordGrid(
      clients_,
      {{QStringLiteral("CUSTNO"), QStringLiteral("編號"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("NAME"), QStringLiteral("姓名"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
       {QStringLiteral("ADDR"), QStringLiteral("地址"), 180, Qt::AlignLeft | Qt::AlignVCenter, {}}},
      source);
  DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
  for (RecordGrid* g : {DBGrid1, DBGrid2}) g->setMinimumSize(260, 160);
  // The page keeps its shape while a list is hidden.
  for (QWidget* w : {static_cast<QWidget*>(DBGrid1), static_cast<QWidget*>(DBGrid2),
                     static_cast<QWidget*>(StaticText8), static_cast<QWidget*>(StaticText9)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  sl->addWidget(CheckBox1, 0, 0);
  sl->addWidget(StaticText8, 0, 1, Qt::AlignRight);
  sl->addWidget(DBGrid1, 1, 0, 1, 2);
  sl->addWidget(CheckBox2, 2, 0);
  sl->addWidget(StaticText9, 2, 1, Qt::AlignRight);
  sl->addWidget(DBGrid2, 3, 0, 1, 2);
  layout->addWidget(source, 0, 0, 2, 1);

  layout->addWidget(new QLabel(QStringLiteral("匯出目的地:"), page), 0, 1);
  auto* target = new QGroupBox(QStringLiteral("匯出到下列路徑"), page);
  auto* tl = new QVBoxLayout(target);
  buildFolderPicker(target, 1, dirModel1_, DirectoryListBox1, DriveComboBox1);
  tl->addWidget(DriveComboBox1);
  tl->addWidget(DirectoryListBox1, 1);
  tl->addWidget(new QLabel(QStringLiteral("檔案名稱： VoTran.mdb"), target));
  layout->addWidget(target, 1, 1);
  layout->setRowStretch(1, 1);
  return page;
}

QWidget* DataExchangeDialog::buildImportPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheet2"));
  auto* layout = new QGridLayout(page);

  auto* options = new QGroupBox(QStringLiteral("匯入的資料選項"), page);
  auto* ol = new QVBoxLayout(options);
  CheckBox3 = checkBox(options, QStringLiteral("CheckBox3"), QStringLiteral("專家療程資料"));
  CheckBox4 = checkBox(options, QStringLiteral("CheckBox4"), QStringLiteral("病歷檢測資料"));
  ol->addWidget(CheckBox3);
  ol->addWidget(CheckBox4);
  auto* mode = new QGroupBox(QStringLiteral("匯入方式"), page);
  auto* ml = new QVBoxLayout(mode);
  RadioButton1 = new QRadioButton(QStringLiteral("附加至資料中"), mode);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2 = new QRadioButton(QStringLiteral("取代原有資料"), mode);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton1->setChecked(true);
  ml->addWidget(RadioButton1);
  ml->addWidget(RadioButton2);
  auto* left = new QVBoxLayout;
  left->addWidget(options);
  left->addWidget(mode);
  left->addStretch(1);
  layout->addLayout(left, 0, 0, 2, 1);

  layout->addWidget(new QLabel(QStringLiteral("由此處匯入:"), page), 0, 1);
  auto* source = new QGroupBox(QStringLiteral("由下列路徑匯入"), page);
  auto* sl = new QVBoxLayout(source);
  buildFolderPicker(source, 2, dirModel2_, DirectoryListBox2, DriveComboBox2);
  FileListBox1 = new QListWidget(source);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  FileListBox1->setMaximumHeight(60);
  sl->addWidget(DriveComboBox2);
  sl->addWidget(DirectoryListBox2, 1);
  sl->addWidget(FileListBox1);
  layout->addWidget(source, 1, 1);
  layout->setRowStretch(1, 1);
  layout->setColumnStretch(1, 1);
  return page;
}

void DataExchangeDialog::buildFolderPicker(QWidget* parent, int n, QFileSystemModel*& model,
                                           QTreeView*& tree, QComboBox*& drives) {
  model = new QFileSystemModel(this);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  tree = directoryTree(parent, QStringLiteral("DirectoryListBox%1").arg(n), model);
  drives = driveCombo(tree, model);
  drives->setObjectName(QStringLiteral("DriveComboBox%1").arg(n));
}

QComboBox* DataExchangeDialog::driveCombo(QTreeView* tree, QFileSystemModel* model) {
  auto* combo = new QComboBox(tree->parentWidget());
  fillDrives(combo);
  connect(combo, &QComboBox::activated, this, [this, combo, tree, model] {
    const QString rootPath = combo->currentData().toString();
    model->setRootPath(rootPath);
    tree->setRootIndex(model->index(rootPath));
    tree->setCurrentIndex(model->index(rootPath));
    if (tree == DirectoryListBox2) DirectoryListBox2Change();
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
  const QTreeView* tree = list == 1 ? DirectoryListBox1 : DirectoryListBox2;
  const QFileSystemModel* model = list == 1 ? dirModel1_ : dirModel2_;
  const QModelIndex i = tree->currentIndex();
  return i.isValid() ? model->filePath(i) : model->rootPath();
}

void DataExchangeDialog::setDirectory(int list, const QString& path) {
  QTreeView* tree = list == 1 ? DirectoryListBox1 : DirectoryListBox2;
  QFileSystemModel* model = list == 1 ? dirModel1_ : dirModel2_;
  QComboBox* combo = list == 1 ? DriveComboBox1 : DriveComboBox2;
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
  DBGrid1->reload();
  DBGrid2->reload();
  DBGrid1->hide();
  DBGrid2->hide();
  StaticText8->hide();
  StaticText9->hide();
  updateCounts();
  setDirectory(1, QStringLiteral("/"));
  setDirectory(2, QStringLiteral("/"));
  PageControl1->setCurrentWidget(TabSheet1);
  exportButtonRule();
  ToolButton2->setEnabled(false);
  StatusBar1->showMessage(kExportStatus);
}

void DataExchangeDialog::FormClose() {
  setDirectory(1, InstallDir());
  setDirectory(2, InstallDir());
  programs_->close();
  clients_->close();
}

void DataExchangeDialog::updateCounts() {
  StaticText8->setText(countText(programs_->rowCount()));
  StaticText9->setText(countText(clients_->rowCount()));
}

void DataExchangeDialog::exportButtonRule() {
  ToolButton2->setEnabled(false);
  ToolButton1->setEnabled(CheckBox1->isChecked() || CheckBox2->isChecked());
}

void DataExchangeDialog::importButtonRule(bool withFileList) {
  ToolButton1->setEnabled(false);
  ToolButton2->setEnabled((CheckBox3->isChecked() || CheckBox4->isChecked()) &&
                          (!withFileList || FileListBox1->count() > 0));
}

// The folder's files named "VoTran.mdb" in any letter case.
void DataExchangeDialog::fillFileList() {
  FileListBox1->clear();
  const QDir dir(directory(2));
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
    if (name.compare(kTransferFileName, Qt::CaseInsensitive) == 0) FileListBox1->addItem(name);
}

void DataExchangeDialog::PageControl1Change() {
  const bool exporting = PageControl1->currentWidget() == TabSheet1;
  StatusBar1->showMessage(exporting ? kExportStatus : kImportStatus);
  programs_->refresh();
  clients_->refresh();
  DBGrid1->reload();
  DBGrid2->reload();
  updateCounts();
  if (exporting)
    exportButtonRule();
  else
    importButtonRule(false);
}

void DataExchangeDialog::CheckBox1Click() {
  exportButtonRule();
  DBGrid1->setVisible(CheckBox1->isChecked());
  StaticText8->setVisible(CheckBox1->isChecked());
}

void DataExchangeDialog::CheckBox2Click() {
  exportButtonRule();
  DBGrid2->setVisible(CheckBox2->isChecked());
  StaticText9->setVisible(CheckBox2->isChecked());
}

void DataExchangeDialog::CheckBox3Click() { importButtonRule(true); }
void DataExchangeDialog::CheckBox4Click() { importButtonRule(true); }

void DataExchangeDialog::DirectoryListBox2Change() {
  fillFileList();
  importButtonRule(true);
}

void DataExchangeDialog::stepBar() {
  const int before = GradientBar1->Position();
  GradientBar1->setPosition(before + 5);
  // The run holds the main thread; the bar is painted at once when it moved.
  if (GradientBar1->Position() != before && GradientBar1->isVisible()) GradientBar1->repaint();
}

void DataExchangeDialog::runTransfer(const std::function<void(TransferRun&)>& work) {
  if (running_) return;
  running_ = true;
  ToolButton3->setEnabled(false);
  TransferRun run(kMainConnection, files_);
  run.onStep = [this] { stepBar(); };
  run.onFull = [this] { GradientBar1->setPosition(GradientBar1->MaxValue()); };
  work(run);
  ToolButton3->setEnabled(true);
  GradientBar1->setPosition(0);
  running_ = false;
}

void DataExchangeDialog::ToolButton1Click() {
  runTransfer([this](TransferRun& run) {
    run.exportTo({ruto::Trim(directory(1)), CheckBox1->isChecked(), CheckBox2->isChecked(), false});
  });
}

void DataExchangeDialog::ToolButton2Click() {
  runTransfer([this](TransferRun& run) {
    run.importFrom({ruto::Trim(directory(2)), CheckBox3->isChecked(), CheckBox4->isChecked(),
                    RadioButton2->isChecked()});
    programs_->refresh();
    clients_->refresh();
    DBGrid1->reload();
    DBGrid2->reload();
    updateCounts();
  });
}

void DataExchangeDialog::ToolButton3Click() { close(); }

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
