#include "records/ui/StoreTestDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ClientRecords.h"
#include "records/ClientSort.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/ClientList.h"

namespace ruto {

namespace {

const QString kAskStore = QStringLiteral("您要將檢測資料存於這個受測者資料中嗎？");

}  // namespace

StoreTestDialog::StoreTestDialog(QWidget* parent)
    : FormShowOnce(parent), ADOTable1(kMainConnection, QStringLiteral("VOCUST")) {
  setObjectName(QStringLiteral("StoreTestDialog"));
  setWindowTitle(QStringLiteral("經絡能量資料儲存"));
  PlaceOnShow(this, WindowPlace::Owner);
  resize(900, 600);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  ToolButton1 =
      addToolButton(toolBar, 1, QStringLiteral("新增受測者"), QStringLiteral("新增一筆受測者資料"));
  ToolButton2 =
      addToolButton(toolBar, 2, QStringLiteral("儲存數據"), QStringLiteral("儲存已檢測的能量數據"));
  toolBar->addSeparator();
  ToolButton3 =
      addToolButton(toolBar, 3, QStringLiteral("離  開"), QStringLiteral("離開數據儲存系統"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 0, 6, 0);
  root->addLayout(body, 1);

  auto* panel = new QGroupBox(QStringLiteral("受測者資料"), this);
  auto* panelLayout = new QGridLayout(panel);
  panelLayout->addWidget(new QLabel(QStringLiteral("儲存至下列受測者中"), panel), 0, 0, 1, 6);
  static const struct {
    int n;
    const char* caption;
    int row, column;
  } fields[] = {{1, "編號:", 1, 0}, {2, "姓名:", 1, 2},   {7, "性別:", 1, 4},
                {3, "生日:", 2, 0}, {5, "年齡:", 2, 2},   {4, "電話:", 2, 4},
                {9, "行動:", 3, 0}, {8, "E-Mail:", 3, 2}, {6, "地址:", 4, 0}};
  for (const auto& f : fields) {
    auto* value = new QLabel(panel);
    value->setObjectName(QStringLiteral("StaticText%1").arg(f.n));
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(150);
    StaticText[f.n] = value;
    panelLayout->addWidget(new QLabel(QString::fromUtf8(f.caption), panel), f.row, f.column);
    panelLayout->addWidget(value, f.row, f.column + 1, 1, f.n == 6 ? 5 : 1);
  }
  body->addWidget(panel);

  List =
      new ClientList(&ADOTable1, ClientList::Titles::Store, QStringLiteral("StaticText15"), this);
  DBGrid1 = List->DBGrid1;
  body->addWidget(List, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);

  connect(DBGrid1, &RecordGrid::colEnter, this, &StoreTestDialog::DBGrid1ColEnter);
  connect(DBGrid1, &RecordGrid::rowDoubleClicked, this, &StoreTestDialog::DBGrid1DblClick);
  connect(DBGrid1, &RecordGrid::rowChanged, this, &StoreTestDialog::updateCount);
  connect(List->Edit1, &QLineEdit::textChanged, this, &StoreTestDialog::Edit1Change);
  connect(List->ComboBox1, &QComboBox::activated, this, &StoreTestDialog::ComboBox1Change);
  connect(List->ComboBox2, &QComboBox::activated, this, &StoreTestDialog::ComboBox2Change);
  connect(ToolButton1, &QToolButton::clicked, this, &StoreTestDialog::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &StoreTestDialog::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &StoreTestDialog::ToolButton3Click);
}

void StoreTestDialog::FormShow() {
  ToolButton2->setEnabled(!Trim(CurrentClient.CustNo).isEmpty());
  SortField = ClientSortField(ViewState.ClientSortKey);
  List->showSortKey(ViewState.ClientSortKey);
  ADOTable1.open();
  StatusBar1->showMessage(
      QStringLiteral("請至查詢視窗點選受測者資料，或新增一筆受測者基本資料以供儲存。"));
  {
    const QSignalBlocker block(List->Edit1);
    List->Edit1->clear();
  }
  const bool found = !CurrentClient.CustNo.isEmpty() &&
                     ADOTable1.locate(QStringLiteral("CUSTNO"), CurrentClient.CustNo,
                                      LocateOption::CaseInsensitive);
  DBGrid1->reload();
  if (found) {
    DBGrid1->setFocus();
    ToolButton2->setEnabled(true);
    ChosenClient = CurrentClient;
    ChosenBookmark = ADOTable1.bookmark();
    ShowChosenClient();
  } else {
    List->Edit1->setFocus();
    ToolButton2->setEnabled(false);
    // Nothing unseen may stay chosen: a later store would file the test under it.
    ChosenClient = TClientInfo{};
    ChosenClient.Sex = CurrentClient.Sex;
    ChosenBookmark = 0;
    ShowChosenClient();
  }
  updateCount();
}

void StoreTestDialog::ShowChosenClient() {
  const TClientInfo& c = ChosenClient;
  const bool hasBirthday = c.DBirth > 4000.0;
  StaticText[1]->setText(c.CustNo);
  StaticText[2]->setText(c.Name);
  StaticText[3]->setText(hasBirthday ? formatOleDate(c.DBirth) : QString());
  StaticText[4]->setText(c.Tel);
  StaticText[5]->setText(hasBirthday ? ClientAgeText(c.DBirth, QDate::currentDate()) : QString());
  StaticText[6]->setText(c.Addr);
  StaticText[8]->setText(c.EMail);
  StaticText[9]->setText(c.Tel2);
  StaticText[7]->setText(c.Sex ? QStringLiteral("男性") : QStringLiteral("女性"));
}

void StoreTestDialog::ChooseRow() {
  if (ADOTable1.isEmpty()) return;
  ChosenBookmark = ADOTable1.bookmark();
  ToolButton2->setEnabled(true);
  ChosenClient = ClientAt(ADOTable1, ADOTable1.position());
  ShowChosenClient();
}

void StoreTestDialog::updateCount() {
  List->setCountText(RecordCountText(ADOTable1.rowCount(), StoredTestCount(kMainConnection)));
}

void StoreTestDialog::DBGrid1ColEnter() { ChooseRow(); }

void StoreTestDialog::DBGrid1DblClick() {
  if (!AskUser(MsgKind::QuestionYesNo, kAskStore)) return;
  ChooseRow();
  StoreCurrentTest();
}

bool StoreTestDialog::StoreCurrentTest() {
  QString error;
  if (ruto::StoreCurrentTest(kMainConnection, ChosenClient, &error) == 0) {
    AskUser(MsgKind::WarningOk, error);
    return false;
  }
  accept();
  return true;
}

void StoreTestDialog::Edit1Change() {
  SearchText = Trim(List->Edit1->text());
  if (ADOTable1.locate(StoreSearchColumn(ViewState.ClientSortKey), SearchText,
                       LocateOption::CaseInsensitive | LocateOption::PartialKey))
    DBGrid1->showCurrent();
}

void StoreTestDialog::ComboBox1Change() { sortChanged(true); }
void StoreTestDialog::ComboBox2Change() { sortChanged(false); }

void StoreTestDialog::sortChanged(bool fromColumnBox) {
  List->sortByBoxes(SortField, fromColumnBox);
}

void StoreTestDialog::ToolButton1Click() {
  ViewState.ClientNewMode = true;
  {
    ClientEditor editor(&ADOTable1, this);
    editor.exec();
  }
  DBGrid1->reload();
  if (ViewState.ClientNewMode) {
    ChooseRow();
    SendSignal(SignalKind::Question);
    if (AskUser(MsgKind::QuestionYesNo, kAskStore)) StoreCurrentTest();
    return;
  }
  ADOTable1.gotoBookmark(ChosenBookmark);
  DBGrid1->showCurrent();
  if (Trim(ChosenClient.CustNo).isEmpty()) {
    ToolButton2->setEnabled(false);
    List->Edit1->setFocus();
  } else {
    ToolButton2->setEnabled(true);
    DBGrid1->setFocus();
  }
}

void StoreTestDialog::ToolButton2Click() { StoreCurrentTest(); }

void StoreTestDialog::ToolButton3Click() {
  ChosenClient.CustNo = QStringLiteral(" ");
  reject();
}

}  // namespace ruto
