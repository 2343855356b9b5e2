#include "app/ui/UserDataDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/ui/DialogFrame.h"
#include "app/ui/MainWindow.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Text.h"

namespace ruto {

namespace {

const QString kProgramFilter = QStringLiteral(
    "All (*.exe *.com *.bat *.sh);;Executable File (*.exe);;Command File (*.com);;"
    "Batch File (*.bat);;All Files (*)");
const QString kParameterFilter = QStringLiteral("All Files (*)");

QString dialogPicker(QWidget* parent, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QString(), QStringLiteral("/"), filter, nullptr,
                                      QFileDialog::DontUseNativeDialog);
}

UserDataDialog::FilePicker gPicker = &dialogPicker;

// An edit whose hint follows its text, so long texts can be read in full.
QLineEdit* edit(QWidget* parent, const QString& name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  QObject::connect(e, &QLineEdit::textChanged, e,
                   [e](const QString& t) { e->setToolTip(PlainToolTip(t)); });
  return e;
}

QToolButton* tool(QWidget* parent, const QString& name, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  return b;
}

}  // namespace

void UserDataDialog::setFilePicker(FilePicker picker) { gPicker = picker ? picker : &dialogPicker; }

UserDataDialog::UserDataDialog(QWidget* parent) : QDialog(parent, kDialogFrameFlags) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("UserDataDialog"));
  setWindowTitle(QStringLiteral("用戶基本資料設定"));
  PlaceOnShow(this, WindowPlace::Owner);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("toolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  saveButton = tool(bar, QStringLiteral("saveButton"), QStringLiteral("儲存資料"),
                    QStringLiteral("儲存用戶基本資料"));
  leaveButton = tool(bar, QStringLiteral("leaveButton"), QStringLiteral("離  開"),
                     QStringLiteral("離開基本資料異動系統"));
  bar->addWidget(saveButton);
  bar->addWidget(leaveButton);
  layout->addWidget(bar);

  pages = new QTabWidget(this);
  pages->setObjectName(QStringLiteral("pages"));
  layout->addWidget(pages, 1);

  userPage = new QWidget;
  userPage->setObjectName(QStringLiteral("userPage"));
  auto* user = new QGridLayout(userPage);
  const struct {
    const char* caption;
    QLineEdit** target;
    const char* name;
    const char* note;
  } lines[] = {
      {"用戶名稱1:", &userName1Edit, "userName1Edit", "(本資料將顯示在螢幕主畫面底部)"},
      {"用戶名稱2:", &userName2Edit, "userName2Edit", "(本資料將列印在報表抬頭的第一行)"},
      {"用戶資料1:", &userData1Edit, "userData1Edit", "(本資料將在列印報表時顯示在第二行)"},
      {"用戶資料2:", &userData2Edit, "userData2Edit", "(本資料將在列印報表時顯示在第三行)"},
  };
  int row = 0;
  for (const auto& l : lines) {
    user->addWidget(new QLabel(QString::fromUtf8(l.caption), userPage), row, 0);
    *l.target = edit(userPage, QString::fromLatin1(l.name));
    (*l.target)->setMinimumWidth(360);
    user->addWidget(*l.target, row, 1);
    user->addWidget(new QLabel(QString::fromUtf8(l.note), userPage), row + 1, 1);
    row += 2;
  }
  user->setRowStretch(row, 1);
  const int userTab = pages->addTab(userPage, QStringLiteral("用戶資料"));
  pages->setTabToolTip(userTab, QStringLiteral("用戶基本資料設定"));

  launcherPage = new QWidget;
  launcherPage->setObjectName(QStringLiteral("launcherPage"));
  auto* slotGrid = new QGridLayout(launcherPage);
  const QStringList titles = {QStringLiteral("說明"), QStringLiteral("執行功能程式"),
                              QStringLiteral("參數與檔案"), QStringLiteral("測試")};
  slotGrid->addWidget(new QLabel(titles[0], launcherPage), 0, 1);
  slotGrid->addWidget(new QLabel(titles[1], launcherPage), 0, 2);
  slotGrid->addWidget(new QLabel(titles[2], launcherPage), 0, 4);
  slotGrid->addWidget(new QLabel(titles[3], launcherPage), 0, 6);
  for (int i = 1; i <= 6; ++i) {
    enabledBoxes[i] = new QCheckBox(QStringLiteral("程式 %1").arg(i), launcherPage);
    enabledBoxes[i]->setObjectName(QStringLiteral("enabledBox%1").arg(i));
    hintEdits[i] = edit(launcherPage, QStringLiteral("hintEdit%1").arg(i));
    programEdits[i] = edit(launcherPage, QStringLiteral("programEdit%1").arg(i));
    parameterEdits[i] = edit(launcherPage, QStringLiteral("parameterEdit%1").arg(i));
    programEdits[i]->setMinimumWidth(200);
    parameterEdits[i]->setMinimumWidth(160);
    programBrowseButtons[i] = tool(launcherPage, QStringLiteral("programBrowseButton%1").arg(i),
                                   QStringLiteral("..."), QStringLiteral("設定執行程式或功能"));
    parameterBrowseButtons[i] = tool(launcherPage, QStringLiteral("parameterBrowseButton%1").arg(i),
                                     QStringLiteral("..."), QStringLiteral("設定參數或外部檔案"));
    testButtons[i] = tool(launcherPage, QStringLiteral("testButton%1").arg(i),
                          QStringLiteral("測試"), QStringLiteral("連結功能測試"));
    const QList<QWidget*> cells = {enabledBoxes[i],   hintEdits[i],
                                   programEdits[i],   programBrowseButtons[i],
                                   parameterEdits[i], parameterBrowseButtons[i],
                                   testButtons[i]};
    for (int c = 0; c < cells.size(); ++c) slotGrid->addWidget(cells[c], i, c);
    connect(programBrowseButtons[i], &QToolButton::clicked, this, [this, i] { browseProgram(i); });
    connect(parameterBrowseButtons[i], &QToolButton::clicked, this,
            [this, i] { browseParameter(i); });
    connect(testButtons[i], &QToolButton::clicked, this, [this, i] { testLauncher(i); });
  }
  slotGrid->setRowStretch(7, 1);
  const int slotTab = pages->addTab(launcherPage, QStringLiteral("外掛功能"));
  pages->setTabToolTip(slotTab, QStringLiteral("系統外掛執行程式設定"));

  connect(saveButton, &QToolButton::clicked, this, &UserDataDialog::saveSettings);
  connect(leaveButton, &QToolButton::clicked, this, &UserDataDialog::leave);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void UserDataDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) showSettings();
}

void UserDataDialog::showSettings() {
  pages->setCurrentWidget(userPage);
  userName1Edit->setFocus();  // where the user starts, not on the page tabs
  userName1Edit->setText(Settings.UserName1);
  userName2Edit->setText(Settings.UserName2);
  userData1Edit->setText(Settings.UserData1);
  userData2Edit->setText(Settings.UserData2);
  for (int i = 1; i <= 6; ++i) {
    const QString& flags = Settings.ExtProgEnabled;
    enabledBoxes[i]->setChecked(i <= flags.size() && flags.at(i - 1) == QLatin1Char('1'));
    hintEdits[i]->setText(Settings.ExtProgHint[i]);
    programEdits[i]->setText(Settings.ExtProgPath[i]);
    parameterEdits[i]->setText(Settings.ExtProgParam[i]);
    for (QLineEdit* e : {hintEdits[i], programEdits[i], parameterEdits[i]}) {
      e->setToolTip(PlainToolTip(e->text()));
      e->setCursorPosition(0);  // long texts show their beginning
    }
  }
}

void UserDataDialog::saveSettings() {
  TAppSettings s = Settings;
  s.UserName1 = userName1Edit->text();
  s.UserName2 = userName2Edit->text();
  s.UserData1 = userData1Edit->text();
  s.UserData2 = userData2Edit->text();
  s.ExtProgEnabled.clear();
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgEnabled += enabledBoxes[i]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    s.ExtProgHint[i] = ruto::Trim(hintEdits[i]->text());
    s.ExtProgPath[i] = ruto::Trim(programEdits[i]->text());
    s.ExtProgParam[i] = ruto::Trim(parameterEdits[i]->text());
  }
  const TAppSettings before = Settings;
  Settings = s;
  if (!LoadSaveSettings(true)) {  // reports the failure itself
    // Nothing is half saved: the file and the settings in use stay as they were.
    Settings = before;
    return;
  }
  if (TheMainWindow) TheMainWindow->setStatusText(Settings.UserName1);
  accept();
}

void UserDataDialog::leave() { reject(); }

void UserDataDialog::browseProgram(int slot) {
  const QString file = gPicker(this, kProgramFilter);
  if (!file.isEmpty()) programEdits[slot]->setText(file);
}

void UserDataDialog::browseParameter(int slot) {
  const QString file = gPicker(this, kParameterFilter);
  if (!file.isEmpty()) parameterEdits[slot]->setText(file);
}

void UserDataDialog::testLauncher(int slot) {
  const QString prog = ruto::Trim(programEdits[slot]->text());
  const QString param = ruto::Trim(parameterEdits[slot]->text());
  if (!LaunchExternal(prog, param))
    AskUser(MsgKind::WarningOk, kLaunchFailedText + (prog.isEmpty() ? param : prog));
}

}  // namespace ruto
