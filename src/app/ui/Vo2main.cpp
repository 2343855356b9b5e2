#include "app/ui/Vo2main.h"

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
#include "app/ui/VoMsag.h"
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

TVoForm::TVoForm(QWidget* parent) : TVoForm(nullptr, parent) {}

TVoForm::TVoForm(ruto::THidDeviceController* controller, QWidget* parent) : QMainWindow(parent) {
  HidCtl = controller ? controller : new ruto::THidDeviceController(this);
  if (!HidCtl->parent()) HidCtl->setParent(this);
  // Device data is bound from the window's creation on.
  deviceHandlers_ = new ruto::MeterDeviceHandlers(HidCtl, this);
  setObjectName(QStringLiteral("VoForm"));
  SkinData1 = new ruto::TSkinData(this);
  SkinData1->SkinControls = ruto::skinControls(
      {ruto::xcMainMenu, ruto::xcPopupMenu, ruto::xcControlbar, ruto::xcCombo, ruto::xcCheckBox,
       ruto::xcRadioButton, ruto::xcProgress, ruto::xcScrollbar, ruto::xcEdit, ruto::xcButton,
       ruto::xcBitBtn, ruto::xcSpeedButton, ruto::xcPanel, ruto::xcGroupBox, ruto::xcStatusBar,
       ruto::xcTab, ruto::xcSystemMenu});
  SkinData1->SkinStream = ruto::OwnSkinPackage();
  SkinData1->SetActive(true);
  // The skin reaches the windows only where the program set the manager up.
  if (ruto::TSkinManage* manager = ruto::ExistingSkinManager()) manager->AddSkinData(SkinData1);
  SkinData1->Loaded();
  setWindowTitle(kMainCaption);
  buildMenu();
  buildToolBar();
  buildCentral();
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  setStatusBar(StatusBar1);
  // The user name from the settings may be of any length: shown elided, it never widens
  // the window.
  StatusText = new ElidedLabel(StatusBar1);
  StatusText->setObjectName(QStringLiteral("StatusText"));
  StatusBar1->addWidget(StatusText, 1);
  FormCreate();
}

TVoForm::~TVoForm() {
  if (VoForm == this) VoForm = nullptr;
}

void TVoForm::buildMenu() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  setMenuBar(MainMenu1);
  gq1 = makeAction(this, "gq1", QStringLiteral("經絡測量"), QStringLiteral("經絡能量測量"));
  g1 = makeAction(this, "g1", QStringLiteral("經絡解說"), QStringLiteral("各經絡相關資料圖例解說"));
  tw1Menu = new QMenu(QStringLiteral("系統支援"), this);
  tw1Menu->setObjectName(QStringLiteral("tw1"));
  tw1Menu->setToolTipsVisible(true);
  w2 = makeAction(this, "w2", QStringLiteral("專家療程設定"), QStringLiteral("自訂專家療程系統"));
  w1 = makeAction(this, "w1", QStringLiteral("用戶資料設定"), QStringLiteral("用戶連結與資料設定"));
  N1 = makeAction(this, "N1", QStringLiteral("數位校準系統"), QStringLiteral("自動數位校準系統"));
  N5 =
      makeAction(this, "N5", QStringLiteral("檔案匯入/匯出"), QStringLiteral("客戶及檢測資料處理"));
  t1 = makeAction(this, "t1", QStringLiteral("離開系統"), QStringLiteral("退出R.U.T.O.系統執行"));
  i1 = makeAction(this, "i1", QStringLiteral("關於版本"), QString());
  tw1Menu->addAction(w2);
  tw1Menu->addAction(w1);
  tw1Menu->addAction(N1);
  N3 = tw1Menu->addSeparator();
  N3->setObjectName(QStringLiteral("N3"));
  tw1Menu->addAction(N5);
  N4 = tw1Menu->addSeparator();
  N4->setObjectName(QStringLiteral("N4"));
  tw1Menu->addAction(t1);
  MainMenu1->addAction(gq1);
  MainMenu1->addAction(g1);
  tw1 = MainMenu1->addMenu(tw1Menu);
  tw1->setObjectName(QStringLiteral("tw1"));
  tw1->setToolTip(QStringLiteral("系統支援與服務"));
  MainMenu1->addAction(i1);

  connect(gq1, &QAction::triggered, this, &TVoForm::ToolButton1Click);
  connect(g1, &QAction::triggered, this, &TVoForm::ToolButton4Click);
  connect(w2, &QAction::triggered, this, &TVoForm::ToolButton5Click);
  connect(N1, &QAction::triggered, this, &TVoForm::ToolButton7Click);
  connect(N5, &QAction::triggered, this, &TVoForm::ToolButton8Click);
  connect(w1, &QAction::triggered, this, &TVoForm::w1Click);
  connect(i1, &QAction::triggered, this, &TVoForm::i1Click);
  connect(t1, &QAction::triggered, this, &TVoForm::ToolButton9Click);
}

void TVoForm::buildToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::TopToolBarArea, ToolBar1);
  auto button = [&](const char* name, const QString& caption, const QString& hint) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(72, 40);
    return b;
  };
  ToolButton1 = button("ToolButton1", QStringLiteral("經絡測量"), QStringLiteral("經絡能量測量"));
  ToolButton4 =
      button("ToolButton4", QStringLiteral("經絡解說"), QStringLiteral("各經絡相關資料圖例解說"));
  ToolButton5 =
      button("ToolButton5", QStringLiteral("專家療程"), QStringLiteral("自訂專家療程系統"));
  ToolButton7 =
      button("ToolButton7", QStringLiteral("數位校準"), QStringLiteral("儀器自動數位校準系統"));
  ToolButton8 = button("ToolButton8", QStringLiteral("檔案處理"), QStringLiteral("資料匯入及匯出"));
  for (QToolButton* b : {ToolButton1, ToolButton4, ToolButton5, ToolButton7, ToolButton8})
    ToolBar1->addWidget(b);
  ToolBar1->addSeparator();
  static const char* const kLauncherNames[] = {"ToolButton11", "ToolButton12", "ToolButton13",
                                               "ToolButton14", "ToolButton15", "ToolButton16"};
  static const char* const kLauncherCaptions[] = {"功能1",  "功能 2", "功能 3",
                                                  "功能 4", "功能 5", "功能 6"};
  for (int slot = 1; slot <= 6; ++slot) {
    QToolButton* b =
        button(kLauncherNames[slot - 1], QString::fromUtf8(kLauncherCaptions[slot - 1]), QString());
    LauncherButtons[slot] = b;
    launcherActions_[slot] = ToolBar1->addWidget(b);
    launcherActions_[slot]->setVisible(false);
    connect(b, &QToolButton::clicked, this, [this, slot] { LauncherClick(slot); });
  }
  ToolBar1->addSeparator();
  ToolButton9 =
      button("ToolButton9", QStringLiteral("離開系統"), QStringLiteral("退出R.U.T.O.系統執行"));
  ToolBar1->addWidget(ToolButton9);

  connect(ToolButton1, &QToolButton::clicked, this, &TVoForm::ToolButton1Click);
  connect(ToolButton4, &QToolButton::clicked, this, &TVoForm::ToolButton4Click);
  connect(ToolButton5, &QToolButton::clicked, this, &TVoForm::ToolButton5Click);
  connect(ToolButton7, &QToolButton::clicked, this, &TVoForm::ToolButton7Click);
  connect(ToolButton8, &QToolButton::clicked, this, &TVoForm::ToolButton8Click);
  connect(ToolButton9, &QToolButton::clicked, this, &TVoForm::ToolButton9Click);
}

void TVoForm::buildCentral() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("MainPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->addStretch(1);
  StaticText1 = new QLabel(kVersionText, central);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setAlignment(Qt::AlignRight);
  StaticText3 = new QLabel(kMakerWebAddress, central);
  StaticText3->setObjectName(QStringLiteral("StaticText3"));
  StaticText3->setAlignment(Qt::AlignRight);
  StaticText3->setCursor(Qt::PointingHandCursor);
  StaticText3->installEventFilter(this);
  layout->addWidget(StaticText1);
  layout->addWidget(StaticText3);
  setCentralWidget(central);
}

void TVoForm::EnableMainToolbar(bool enable) {
  for (QToolButton* b :
       {ToolButton1, ToolButton4, ToolButton5, ToolButton7, ToolButton8, ToolButton9})
    b->setEnabled(enable);
  for (int slot = 1; slot <= 6; ++slot) LauncherButtons[slot]->setEnabled(enable);
}

void TVoForm::SetStatusText(const QString& text) { StatusText->setText(BlankControls(text)); }

void TVoForm::FormCreate() {
  deviceHandlers_->FormCreate();
  EnableMainToolbar(false);
  for (QAction* a : {gq1, g1, tw1, i1}) a->setVisible(false);
  CurrentTest.Memo1.clear();

  const TStartupFiles files = PrepareDatabaseFiles();
  if (files.TemplateMissing) {
    StartupFailed = true;
    AskUser(MsgKind::ImportantOk, TemplateMissingMessage());
    return;
  }
  if (!files.CaseNotice.isEmpty()) AskUser(MsgKind::WarningOk, files.CaseNotice);
  QString dbMessage;
  if (!OpenStartupDatabases(&dbMessage)) {
    StartupFailed = true;
    if (!dbMessage.isEmpty()) AskUser(MsgKind::ImportantOk, dbMessage);
    return;
  }

  FirstActivation = true;
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
  SetStatusText(Settings.UserName1);

  ViewState.AnalysisPage = 0;
  ClearCurrentClient();
  CurrentTest.VoDate = 0;

  InitCompFactors();
  ViewState.ClientSortKey = 1;
  CurrentTest.LivePointCount = 0;
}

void TVoForm::ApplyLauncherButtons() {
  for (int slot = 1; slot <= 6; ++slot) {
    const QString& flags = Settings.ExtProgEnabled;
    const bool visible = slot > flags.size() || flags.at(slot - 1) != QLatin1Char('0');
    launcherActions_[slot]->setVisible(visible);
    // A hint of any length stays a tooltip of reasonable width.
    const QFontMetrics fm = LauncherButtons[slot]->fontMetrics();
    LauncherButtons[slot]->setToolTip(fm.elidedText(BlankControls(Settings.ExtProgHint[slot]),
                                                    Qt::ElideRight, fm.averageCharWidth() * 60));
  }
  // The restored window keeps every button in view: none hides behind the toolbar's arrow.
  ToolBar1->setMinimumWidth(0);
  ToolBar1->setMinimumWidth(ToolBar1->sizeHint().width());
}

bool TVoForm::LauncherVisible(int slot) const {
  return slot >= 1 && slot <= 6 && launcherActions_[slot]->isVisible();
}

void TVoForm::FormShow() {
  if (!InstallFileExists(kTemplateDatabase)) {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  ApplyLauncherButtons();
}

void TVoForm::FormActivate() {
  if (!FirstActivation) return;
  FirstActivation = false;
  OpenWindow(WindowOpeners().startupStatus, nullptr);
  EnableMainToolbar(true);
  for (QAction* a : {gq1, g1, tw1, i1}) a->setVisible(true);
  StartupDone = true;
}

void TVoForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    FormShow();
    // The first activation runs the status screen; queued so the window is on screen first,
    // and independent of whether the platform reports an activation at all.
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) FormActivate();
    });
  }
}

bool TVoForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && shownOnce_ && FirstActivation) FormActivate();
  return QMainWindow::event(e);
}

bool TVoForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == StaticText3 && e->type() == QEvent::MouseButtonRelease) {
    StaticText3Click();
    return true;
  }
  return QMainWindow::eventFilter(watched, e);
}

void TVoForm::closeEvent(QCloseEvent* e) {
  if (!StartupDone) {
    // A close requested while start-up still runs ends the program without asking.
    CloseStartupDatabases();
    e->accept();
    return;
  }
  SendSignal(SignalKind::Warning);
  if (AskUser(MsgKind::WarningYesNo, kExitQuestion)) {
    ruto::StopMeter();
    CloseStartupDatabases();
    EnableMainToolbar(true);
    e->accept();
  } else {
    EnableMainToolbar(true);
    e->ignore();
  }
}

void TVoForm::openModal(const std::function<void(QWidget*)>& opener) {
  EnableMainToolbar(false);
  OpenWindow(opener, this);
  EnableMainToolbar(true);
}

void TVoForm::ToolButton1Click() { openModal(WindowOpeners().measurement); }
void TVoForm::ToolButton4Click() { openModal(WindowOpeners().meridianReference); }
void TVoForm::ToolButton5Click() { openModal(WindowOpeners().programList); }
void TVoForm::ToolButton7Click() { openModal(WindowOpeners().calibration); }
void TVoForm::ToolButton8Click() { openModal(WindowOpeners().transfer); }

void TVoForm::w1Click() {
  openModal(WindowOpeners().userData);
  ApplyLauncherButtons();
}

void TVoForm::i1Click() { openModal(WindowOpeners().aboutBox); }

void TVoForm::ToolButton9Click() {
  EnableMainToolbar(false);
  close();
}

void TVoForm::LauncherClick(int slot) {
  EnableMainToolbar(false);
  LaunchExternalOrReport(Settings.ExtProgPath[slot], Settings.ExtProgParam[slot]);
  EnableMainToolbar(true);
}

void TVoForm::StaticText3Click() { LaunchExternalOrReport(kMakerWebAddress, QString()); }

}  // namespace ruto
