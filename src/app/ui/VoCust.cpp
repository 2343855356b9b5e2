#include "app/ui/VoCust.h"

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
#include "app/ui/Vo2main.h"
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

TVoCust::FilePicker gPicker = &dialogPicker;

// An edit whose hint follows its text, so long texts can be read in full.
QLineEdit* edit(QWidget* parent, const QString& name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& t) { e->setToolTip(t); });
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

void TVoCust::SetFilePicker(FilePicker picker) { gPicker = picker ? picker : &dialogPicker; }

TVoCust::TVoCust(QWidget* parent) : QDialog(parent, kDialogFrameFlags) {
  setObjectName(QStringLiteral("VoCust"));
  setWindowTitle(QStringLiteral("用戶基本資料設定"));
  PlaceOnShow(this, WindowPlace::Owner);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  ToolButton2 = tool(bar, QStringLiteral("ToolButton2"), QStringLiteral("儲存資料"),
                     QStringLiteral("儲存用戶基本資料"));
  ToolButton3 = tool(bar, QStringLiteral("ToolButton3"), QStringLiteral("離  開"),
                     QStringLiteral("離開基本資料異動系統"));
  bar->addWidget(ToolButton2);
  bar->addWidget(ToolButton3);
  layout->addWidget(bar);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  layout->addWidget(PageControl1, 1);

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  auto* user = new QGridLayout(TabSheet1);
  const struct {
    const char* caption;
    QLineEdit** target;
    const char* name;
    const char* note;
  } lines[] = {
      {"用戶名稱1:", &Edit1, "Edit1", "(本資料將顯示在螢幕主畫面底部)"},
      {"用戶名稱2:", &Edit4, "Edit4", "(本資料將列印在報表抬頭的第一行)"},
      {"用戶資料1:", &Edit2, "Edit2", "(本資料將在列印報表時顯示在第二行)"},
      {"用戶資料2:", &Edit3, "Edit3", "(本資料將在列印報表時顯示在第三行)"},
  };
  int row = 0;
  for (const auto& l : lines) {
    user->addWidget(new QLabel(QString::fromUtf8(l.caption), TabSheet1), row, 0);
    *l.target = edit(TabSheet1, QString::fromLatin1(l.name));
    (*l.target)->setMinimumWidth(360);
    user->addWidget(*l.target, row, 1);
    user->addWidget(new QLabel(QString::fromUtf8(l.note), TabSheet1), row + 1, 1);
    row += 2;
  }
  user->setRowStretch(row, 1);
  const int userTab = PageControl1->addTab(TabSheet1, QStringLiteral("用戶資料"));
  PageControl1->setTabToolTip(userTab, QStringLiteral("用戶基本資料設定"));

  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  auto* slotGrid = new QGridLayout(TabSheet2);
  const QStringList titles = {QStringLiteral("說明"), QStringLiteral("執行功能程式"),
                              QStringLiteral("參數與檔案"), QStringLiteral("測試")};
  slotGrid->addWidget(new QLabel(titles[0], TabSheet2), 0, 1);
  slotGrid->addWidget(new QLabel(titles[1], TabSheet2), 0, 2);
  slotGrid->addWidget(new QLabel(titles[2], TabSheet2), 0, 4);
  slotGrid->addWidget(new QLabel(titles[3], TabSheet2), 0, 6);
  for (int i = 1; i <= 6; ++i) {
    CheckBox[i] = new QCheckBox(QStringLiteral("程式 %1").arg(i), TabSheet2);
    CheckBox[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i));
    HintEdit[i] = edit(TabSheet2, QStringLiteral("Edit%1").arg(4 + i));
    ProgEdit[i] = edit(TabSheet2, QStringLiteral("Edit%1").arg(10 + i));
    ParamEdit[i] = edit(TabSheet2, QStringLiteral("Edit%1").arg(16 + i));
    ProgEdit[i]->setMinimumWidth(200);
    ParamEdit[i]->setMinimumWidth(160);
    ProgBrowse[i] = tool(TabSheet2, QStringLiteral("SpeedButton%1").arg(i), QStringLiteral("..."),
                         QStringLiteral("設定執行程式或功能"));
    ParamBrowse[i] = tool(TabSheet2, QStringLiteral("SpeedButton%1").arg(12 + i),
                          QStringLiteral("..."), QStringLiteral("設定參數或外部檔案"));
    TestButton[i] = tool(TabSheet2, QStringLiteral("SpeedButton%1").arg(6 + i),
                         QStringLiteral("測試"), QStringLiteral("連結功能測試"));
    const QList<QWidget*> cells = {CheckBox[i],  HintEdit[i],    ProgEdit[i],  ProgBrowse[i],
                                   ParamEdit[i], ParamBrowse[i], TestButton[i]};
    for (int c = 0; c < cells.size(); ++c) slotGrid->addWidget(cells[c], i, c);
    connect(ProgBrowse[i], &QToolButton::clicked, this, [this, i] { BrowseProgram(i); });
    connect(ParamBrowse[i], &QToolButton::clicked, this, [this, i] { BrowseParameter(i); });
    connect(TestButton[i], &QToolButton::clicked, this, [this, i] { TestSlot(i); });
  }
  slotGrid->setRowStretch(7, 1);
  const int slotTab = PageControl1->addTab(TabSheet2, QStringLiteral("外掛功能"));
  PageControl1->setTabToolTip(slotTab, QStringLiteral("系統外掛執行程式設定"));

  connect(ToolButton2, &QToolButton::clicked, this, &TVoCust::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TVoCust::ToolButton3Click);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TVoCust::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TVoCust::FormShow() {
  PageControl1->setCurrentWidget(TabSheet1);
  Edit1->setText(Settings.UserName1);
  Edit4->setText(Settings.UserName2);
  Edit2->setText(Settings.UserData1);
  Edit3->setText(Settings.UserData2);
  for (int i = 1; i <= 6; ++i) {
    const QString& flags = Settings.ExtProgEnabled;
    CheckBox[i]->setChecked(i <= flags.size() && flags.at(i - 1) == QLatin1Char('1'));
    HintEdit[i]->setText(Settings.ExtProgHint[i]);
    ProgEdit[i]->setText(Settings.ExtProgPath[i]);
    ParamEdit[i]->setText(Settings.ExtProgParam[i]);
    for (QLineEdit* e : {HintEdit[i], ProgEdit[i], ParamEdit[i]}) {
      e->setToolTip(e->text());
      e->setCursorPosition(0);  // long texts show their beginning
    }
  }
}

void TVoCust::ToolButton2Click() {
  TAppSettings s = Settings;
  s.UserName1 = Edit1->text();
  s.UserName2 = Edit4->text();
  s.UserData1 = Edit2->text();
  s.UserData2 = Edit3->text();
  s.ExtProgEnabled.clear();
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgEnabled += CheckBox[i]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    s.ExtProgHint[i] = ruto::Trim(HintEdit[i]->text());
    s.ExtProgPath[i] = ruto::Trim(ProgEdit[i]->text());
    s.ExtProgParam[i] = ruto::Trim(ParamEdit[i]->text());
  }
  const TAppSettings before = Settings;
  Settings = s;
  if (!LoadSaveSettings(true)) {  // reports the failure itself
    // Nothing is half saved: the file and the settings in use stay as they were.
    Settings = before;
    return;
  }
  if (VoForm) VoForm->SetStatusText(Settings.UserName1);
  accept();
}

void TVoCust::ToolButton3Click() { reject(); }

void TVoCust::BrowseProgram(int slot) {
  const QString file = gPicker(this, kProgramFilter);
  if (!file.isEmpty()) ProgEdit[slot]->setText(file);
}

void TVoCust::BrowseParameter(int slot) {
  const QString file = gPicker(this, kParameterFilter);
  if (!file.isEmpty()) ParamEdit[slot]->setText(file);
}

void TVoCust::TestSlot(int slot) {
  const QString prog = ruto::Trim(ProgEdit[slot]->text());
  const QString param = ruto::Trim(ParamEdit[slot]->text());
  if (!LaunchExternal(prog, param))
    AskUser(MsgKind::WarningOk, kLaunchFailedText + (prog.isEmpty() ? param : prog));
}

}  // namespace ruto
