#include "app/ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/InstallDir.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/MessageBox.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "device/MeterDeviceHandlers.h"
#include "skin/SkinData.h"
#include "skin/ui/SkinManager.h"
#include "skin/ui/SkinSetup.h"

namespace ruto {

namespace {

QAction* makeAction(QObject* parent, const char* name, const QString& text, const QString& hint) {
  auto* a = new QAction(text, parent);
  a->setObjectName(QString::fromLatin1(name));
  a->setToolTip(hint);
  return a;
}

}  // namespace

// Counts a window (or question) of the main window as open while it lives: the toolbar is
// off from the outermost one's start to its end.
class MainWindow::OpenWindowScope {
 public:
  explicit OpenWindowScope(MainWindow* window) : window_(window) {
    if (window_->openWindows_++ == 0) window_->enableToolbar(false);
  }
  ~OpenWindowScope() {
    if (--window_->openWindows_ == 0) window_->enableToolbar(true);
  }
  OpenWindowScope(const OpenWindowScope&) = delete;
  OpenWindowScope& operator=(const OpenWindowScope&) = delete;

 private:
  MainWindow* window_;
};

MainWindow::MainWindow(QWidget* parent) : MainWindow(nullptr, parent) {}

MainWindow::MainWindow(ruto::THidDeviceController* controller, QWidget* parent)
    : QMainWindow(parent) {
  FollowPlatformKeys(this);
  deviceController = controller ? controller : new ruto::THidDeviceController(this);
  if (!deviceController->parent()) deviceController->setParent(this);
  // Device data is bound from the window's creation on.
  deviceHandlers_ = new ruto::MeterDeviceHandlers(deviceController, this);
  setObjectName(QStringLiteral("MainWindow"));
  skinData = new ruto::TSkinData(this);
  skinData->SkinControls = ruto::skinControls(
      {ruto::xcMainMenu, ruto::xcPopupMenu, ruto::xcControlbar, ruto::xcCombo, ruto::xcCheckBox,
       ruto::xcRadioButton, ruto::xcProgress, ruto::xcScrollbar, ruto::xcEdit, ruto::xcButton,
       ruto::xcBitBtn, ruto::xcSpeedButton, ruto::xcPanel, ruto::xcGroupBox, ruto::xcStatusBar,
       ruto::xcTab, ruto::xcSystemMenu});
  skinData->SkinStream = ruto::OwnSkinPackage();
  skinData->SetActive(true);
  // The skin reaches the windows only where the program set the manager up.
  if (ruto::TSkinManage* manager = ruto::ExistingSkinManager()) manager->AddSkinData(skinData);
  skinData->Loaded();
  setWindowTitle(kMainCaption);
  buildMenu();
  buildToolBar();
  buildCentral();
  mainStatusBar = new QStatusBar(this);
  mainStatusBar->setObjectName(QStringLiteral("mainStatusBar"));
  setStatusBar(mainStatusBar);
  // The user name from the settings may be of any length: shown elided, it never widens
  // the window.
  statusText = new ElidedLabel(mainStatusBar);
  statusText->setObjectName(QStringLiteral("statusText"));
  mainStatusBar->addWidget(statusText, 1);
  prepareStartup();
}

MainWindow::~MainWindow() {
  if (TheMainWindow == this) TheMainWindow = nullptr;
}

void MainWindow::buildMenu() {
  mainMenu = new QMenuBar(this);
  mainMenu->setObjectName(QStringLiteral("mainMenu"));
  setMenuBar(mainMenu);
  measureAction =
      makeAction(this, "measureAction", QStringLiteral("經絡測量"), QStringLiteral("經絡能量測量"));
  referenceAction = makeAction(this, "referenceAction", QStringLiteral("經絡解說"),
                               QStringLiteral("各經絡相關資料圖例解說"));
  supportMenu = new QMenu(QStringLiteral("系統支援"), this);
  supportMenu->setObjectName(QStringLiteral("supportMenu"));
  supportMenu->setToolTipsVisible(true);
  programsAction = makeAction(this, "programsAction", QStringLiteral("專家療程設定"),
                              QStringLiteral("自訂專家療程系統"));
  userDataAction = makeAction(this, "userDataAction", QStringLiteral("用戶資料設定"),
                              QStringLiteral("用戶連結與資料設定"));
  calibrationAction = makeAction(this, "calibrationAction", QStringLiteral("數位校準系統"),
                                 QStringLiteral("自動數位校準系統"));
  transferAction = makeAction(this, "transferAction", QStringLiteral("檔案匯入/匯出"),
                              QStringLiteral("客戶及檢測資料處理"));
  exitAction = makeAction(this, "exitAction", QStringLiteral("離開系統"),
                          QStringLiteral("退出R.U.T.O.系統執行"));
  aboutAction = makeAction(this, "aboutAction", QStringLiteral("關於版本"), QString());
  supportMenu->addAction(programsAction);
  supportMenu->addAction(userDataAction);
  supportMenu->addAction(calibrationAction);
  transferSeparator = supportMenu->addSeparator();
  transferSeparator->setObjectName(QStringLiteral("transferSeparator"));
  supportMenu->addAction(transferAction);
  exitSeparator = supportMenu->addSeparator();
  exitSeparator->setObjectName(QStringLiteral("exitSeparator"));
  supportMenu->addAction(exitAction);
  mainMenu->addAction(measureAction);
  mainMenu->addAction(referenceAction);
  supportMenuAction = mainMenu->addMenu(supportMenu);
  supportMenuAction->setObjectName(QStringLiteral("supportMenuAction"));
  supportMenuAction->setToolTip(QStringLiteral("系統支援與服務"));
  mainMenu->addAction(aboutAction);

  connect(measureAction, &QAction::triggered, this, &MainWindow::openMeasurement);
  connect(referenceAction, &QAction::triggered, this, &MainWindow::openMeridianReference);
  connect(programsAction, &QAction::triggered, this, &MainWindow::openProgramList);
  connect(calibrationAction, &QAction::triggered, this, &MainWindow::openCalibration);
  connect(transferAction, &QAction::triggered, this, &MainWindow::openTransfer);
  connect(userDataAction, &QAction::triggered, this, &MainWindow::openUserData);
  connect(aboutAction, &QAction::triggered, this, &MainWindow::openAbout);
  connect(exitAction, &QAction::triggered, this, &MainWindow::exitProgram);
}

void MainWindow::buildToolBar() {
  toolBar = new QToolBar(this);
  toolBar->setObjectName(QStringLiteral("toolBar"));
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  // A right click on the bar offers nothing: the window's own menu of bars would let the user
  // hide it with no way back.
  toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::TopToolBarArea, toolBar);
  auto button = [&](const char* name, const QString& caption, const QString& hint) {
    auto* b = new QToolButton(toolBar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(72, 40);
    return b;
  };
  measureButton =
      button("measureButton", QStringLiteral("經絡測量"), QStringLiteral("經絡能量測量"));
  referenceButton = button("referenceButton", QStringLiteral("經絡解說"),
                           QStringLiteral("各經絡相關資料圖例解說"));
  programsButton =
      button("programsButton", QStringLiteral("專家療程"), QStringLiteral("自訂專家療程系統"));
  calibrationButton = button("calibrationButton", QStringLiteral("數位校準"),
                             QStringLiteral("儀器自動數位校準系統"));
  transferButton =
      button("transferButton", QStringLiteral("檔案處理"), QStringLiteral("資料匯入及匯出"));
  for (QToolButton* b :
       {measureButton, referenceButton, programsButton, calibrationButton, transferButton})
    toolBar->addWidget(b);
  toolBar->addSeparator();
  static const char* const kLauncherNames[] = {"launcherButton1", "launcherButton2",
                                               "launcherButton3", "launcherButton4",
                                               "launcherButton5", "launcherButton6"};
  static const char* const kLauncherCaptions[] = {"功能1",  "功能 2", "功能 3",
                                                  "功能 4", "功能 5", "功能 6"};
  for (int slot = 1; slot <= 6; ++slot) {
    QToolButton* b =
        button(kLauncherNames[slot - 1], QString::fromUtf8(kLauncherCaptions[slot - 1]), QString());
    launcherButtons[slot] = b;
    launcherActions_[slot] = toolBar->addWidget(b);
    launcherActions_[slot]->setVisible(false);
    connect(b, &QToolButton::clicked, this, [this, slot] { runLauncher(slot); });
  }
  toolBar->addSeparator();
  exitButton =
      button("exitButton", QStringLiteral("離開系統"), QStringLiteral("退出R.U.T.O.系統執行"));
  toolBar->addWidget(exitButton);

  connect(measureButton, &QToolButton::clicked, this, &MainWindow::openMeasurement);
  connect(referenceButton, &QToolButton::clicked, this, &MainWindow::openMeridianReference);
  connect(programsButton, &QToolButton::clicked, this, &MainWindow::openProgramList);
  connect(calibrationButton, &QToolButton::clicked, this, &MainWindow::openCalibration);
  connect(transferButton, &QToolButton::clicked, this, &MainWindow::openTransfer);
  connect(exitButton, &QToolButton::clicked, this, &MainWindow::exitProgram);
}

void MainWindow::buildCentral() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("MainPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->addStretch(1);
  versionLabel = new QLabel(kVersionText, central);
  versionLabel->setObjectName(QStringLiteral("versionLabel"));
  versionLabel->setAlignment(Qt::AlignRight);
  webAddressLabel = new QLabel(kMakerWebAddress, central);
  webAddressLabel->setObjectName(QStringLiteral("webAddressLabel"));
  webAddressLabel->setAlignment(Qt::AlignRight);
  webAddressLabel->setCursor(Qt::PointingHandCursor);
  webAddressLabel->installEventFilter(this);
  layout->addWidget(versionLabel);
  layout->addWidget(webAddressLabel);
  setCentralWidget(central);
}

void MainWindow::enableToolbar(bool enable) {
  for (QToolButton* b : {measureButton, referenceButton, programsButton, calibrationButton,
                         transferButton, exitButton})
    b->setEnabled(enable);
  for (int slot = 1; slot <= 6; ++slot) launcherButtons[slot]->setEnabled(enable);
}

void MainWindow::setStatusText(const QString& text) { statusText->setText(BlankControls(text)); }

void MainWindow::prepareStartup() {
  deviceHandlers_->claimMeter();
  enableToolbar(false);
  for (QAction* a : {measureAction, referenceAction, supportMenuAction, aboutAction})
    a->setVisible(false);
  CurrentTest.Memo1.clear();

  const TStartupFiles files = PrepareDatabaseFiles();
  if (files.TemplateMissing) {
    startupFailed = true;
    AskUser(MsgKind::ImportantOk, TemplateMissingMessage());
    return;
  }
  if (!files.CaseNotice.isEmpty()) AskUser(MsgKind::WarningOk, files.CaseNotice);
  QString dbMessage;
  if (!OpenStartupDatabases(&dbMessage)) {
    startupFailed = true;
    if (!dbMessage.isEmpty()) AskUser(MsgKind::ImportantOk, dbMessage);
    return;
  }

  firstActivationPending = true;
  ViewState.ClientSortKey = 1;
  ViewState.ChartKind = ChartType::Bar;
  CurrentTest.MKey = 0;

  if (InstallFileExists(kSettingsFileName)) {
    QString error;
    if (!LoadSaveSettings(false, &error)) {
      // Go on with the defaults in memory; the file stays as it is for the operator to mend.
      Settings = DefaultSettings();
      AskUser(MsgKind::WarningOk, kSettingsUnreadableText + QLatin1Char('\n') +
                                      InstallPath(kSettingsFileName) + QLatin1Char('\n') + error);
    }
  } else {
    Settings = DefaultSettings();
    LoadSaveSettings(true);  // a failed write has told the user; the defaults stay in use
  }
  setStatusText(Settings.UserName1);

  ViewState.AnalysisPage = 0;
  ClearCurrentClient();
  CurrentTest.VoDate = 0;

  InitCompFactors();
  ViewState.ClientSortKey = 1;
  CurrentTest.LivePointCount = 0;
}

void MainWindow::applyLauncherSettings() {
  for (int slot = 1; slot <= 6; ++slot) {
    const QString& flags = Settings.ExtProgEnabled;
    const bool visible = slot > flags.size() || flags.at(slot - 1) != QLatin1Char('0');
    launcherActions_[slot]->setVisible(visible);
    // A hint of any length stays a tooltip of reasonable width.
    const QFontMetrics fm = launcherButtons[slot]->fontMetrics();
    launcherButtons[slot]->setToolTip(PlainToolTip(fm.elidedText(
        BlankControls(Settings.ExtProgHint[slot]), Qt::ElideRight, fm.averageCharWidth() * 60)));
  }
  // The restored window keeps every button in view: none hides behind the toolbar's arrow.
  toolBar->setMinimumWidth(0);
  toolBar->setMinimumWidth(toolBar->sizeHint().width());
}

bool MainWindow::launcherVisible(int slot) const {
  return slot >= 1 && slot <= 6 && launcherActions_[slot]->isVisible();
}

void MainWindow::prepareOnShow() {
  if (!InstallFileExists(kTemplateDatabase)) {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  applyLauncherSettings();
}

void MainWindow::runFirstActivation() {
  if (!firstActivationPending) return;
  firstActivationPending = false;
  {
    const OpenWindowScope open(this);
    OpenWindow(WindowOpeners().startupStatus, nullptr);
  }
  for (QAction* a : {measureAction, referenceAction, supportMenuAction, aboutAction})
    a->setVisible(true);
  startupDone = true;
}

void MainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    prepareOnShow();
    // The first activation runs the status screen; queued so the window is on screen first,
    // and independent of whether the platform reports an activation at all.
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) runFirstActivation();
    });
  }
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && shownOnce_ && firstActivationPending)
    runFirstActivation();
  return QMainWindow::event(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == webAddressLabel && IsClickRelease(webAddressLabel, e)) {
    openMakerWebsite();
    return true;
  }
  return QMainWindow::eventFilter(watched, e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  // With a window of this one open (the start-up status screen too) only the exit command
  // itself closes: the window and its databases stay under it.
  if (openWindows_ > (exiting_ ? 1 : 0)) {
    e->ignore();
    return;
  }
  if (!startupDone) {
    // A close requested while start-up still runs ends the program without asking.
    CloseStartupDatabases();
    e->accept();
    return;
  }
  SendSignal(SignalKind::Warning);
  bool yes = false;
  {
    const OpenWindowScope question(this);
    yes = AskUser(MsgKind::WarningYesNo, kExitQuestion);
  }
  if (yes) {
    ruto::StopMeter();
    CloseStartupDatabases();
    e->accept();
  } else {
    e->ignore();
  }
}

void MainWindow::runCommand(const std::function<void()>& command) {
  if (openWindows_ > 0) return;
  const OpenWindowScope open(this);
  command();
}

void MainWindow::openModal(const std::function<void(QWidget*)>& opener) {
  runCommand([this, &opener] { OpenWindow(opener, this); });
}

void MainWindow::openMeasurement() { openModal(WindowOpeners().measurement); }
void MainWindow::openMeridianReference() { openModal(WindowOpeners().meridianReference); }
void MainWindow::openProgramList() { openModal(WindowOpeners().programList); }
void MainWindow::openCalibration() { openModal(WindowOpeners().calibration); }
void MainWindow::openTransfer() { openModal(WindowOpeners().transfer); }

void MainWindow::openUserData() {
  runCommand([this] {
    OpenWindow(WindowOpeners().userData, this);
    applyLauncherSettings();
  });
}

void MainWindow::openAbout() { openModal(WindowOpeners().aboutBox); }

void MainWindow::exitProgram() {
  runCommand([this] {
    exiting_ = true;
    close();
    exiting_ = false;
  });
}

void MainWindow::runLauncher(int slot) {
  runCommand(
      [slot] { LaunchExternalOrReport(Settings.ExtProgPath[slot], Settings.ExtProgParam[slot]); });
}

void MainWindow::openMakerWebsite() { LaunchExternalOrReport(kMakerWebAddress, QString()); }

}  // namespace ruto
