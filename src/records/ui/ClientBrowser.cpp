#include "records/ui/ClientBrowser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ClientRecords.h"
#include "records/ClientSort.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/ClientList.h"

namespace ruto {

namespace {

QList<GridColumn> testColumns() {
  const Qt::Alignment centre = Qt::AlignCenter;
  QList<GridColumn> columns = {
      {QStringLiteral("STNO"), QStringLiteral("Index"), 50, Qt::AlignRight | Qt::AlignVCenter, {}},
      {QStringLiteral("VODATE_C"), QStringLiteral("測量日期"), 80, centre, {}},
      {QStringLiteral("VODATE_T"), QStringLiteral("測量時間"), 70, centre, {}},
      {QStringLiteral("VOVOTA_C"), QStringLiteral("測量方式"), 60, centre, {}},
  };
  static const char* names[6] = {"肺經", "心包經", "心  經", "小腸經", "三焦經", "大腸經"};
  static const char* footNames[6] = {"脾經", "肝  經", "腎  經", "膀胱經", "膽  經", "胃  經"};
  for (int p = 1; p <= 24; ++p) {
    const int i = (p - 1) % 6;
    const bool foot = p > 12;
    const bool first = i == 0;
    QString title = QString::fromUtf8(foot ? footNames[i] : names[i]);
    if (first)
      title = ((p - 1) / 6 % 2 == 0 ? QStringLiteral("左-") : QStringLiteral("右-")) + title;
    columns << GridColumn{QStringLiteral("VO%1").arg(p), title, 50, centre, PointValueText};
  }
  return columns;
}

QPlainTextEdit* readOnlyMemo(const QString& name, QWidget* parent) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  return memo;
}

}  // namespace

ClientBrowser::ClientBrowser(QWidget* parent)
    : FormShowOnce(parent),
      ADOTable1(kMainConnection, QStringLiteral("VOCUST")),
      ADOTable2(kMainConnection, QStringLiteral("VODATA")) {
  setObjectName(QStringLiteral("ClientBrowser"));
  setWindowTitle(QStringLiteral("經絡能量資料讀取"));
  PlaceOnShow(this, WindowPlace::Owner);
  resize(960, 640);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  ToolButton[1] =
      addToolButton(toolBar, 1, QStringLiteral("載入資料"), QStringLiteral("載入能量數據資料"));
  ToolButton[2] =
      addToolButton(toolBar, 2, QStringLiteral("客戶修改"), QStringLiteral("修改受測者資料"));
  ToolButton[3] =
      addToolButton(toolBar, 3, QStringLiteral("客戶刪除"), QStringLiteral("刪除受測者資料"));
  ToolButton[4] =
      addToolButton(toolBar, 4, QStringLiteral("修改資料"), QStringLiteral("修改能量資料"));
  ToolButton[5] =
      addToolButton(toolBar, 5, QStringLiteral("刪除資料"), QStringLiteral("刪除能量數據資料"));
  toolBar->addSeparator();
  ToolButton[6] =
      addToolButton(toolBar, 6, QStringLiteral("離  開"), QStringLiteral("離開經絡能量讀取"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 0, 6, 0);
  root->addLayout(body, 1);
  List =
      new ClientList(&ADOTable1, ClientList::Titles::Browser, QStringLiteral("StaticText3"), this);
  DBGrid1 = List->DBGrid1;
  DBMemo1 = readOnlyMemo(QStringLiteral("DBMemo1"), this);
  DBMemo1->setFixedWidth(220);
  DBMemo1->setAccessibleName(QStringLiteral("備註欄"));
  auto* top = new QHBoxLayout;
  top->addWidget(List, 1);
  top->addWidget(DBMemo1);
  body->addLayout(top, 3);

  DBGrid2 = new RecordGrid(&ADOTable2, testColumns(), this);
  DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
  DBGrid2->setAccessibleName(QStringLiteral("能量數據資料"));
  DBMemo2 = readOnlyMemo(QStringLiteral("DBMemo2"), this);
  DBMemo2->setFixedWidth(220);
  DBMemo2->setAccessibleName(QStringLiteral("症狀描述與處置"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(DBGrid2, 1);
  bottom->addWidget(DBMemo2);
  body->addLayout(bottom, 2);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);

  connect(DBGrid1, &RecordGrid::entered, this, &ClientBrowser::DBGrid1Enter);
  connect(DBGrid1, &RecordGrid::colEnter, this, &ClientBrowser::DBGrid1ColEnter);
  connect(DBGrid1, &RecordGrid::rowDoubleClicked, this, &ClientBrowser::DBGrid1DblClick);
  connect(DBGrid1, &RecordGrid::rowChanged, this, &ClientBrowser::clientRowChanged);
  connect(DBGrid2, &RecordGrid::entered, this, &ClientBrowser::DBGrid2Enter);
  connect(DBGrid2, &RecordGrid::colEnter, this, &ClientBrowser::DBGrid2ColEnter);
  connect(DBGrid2, &RecordGrid::rowDoubleClicked, this, &ClientBrowser::ToolButton1Click);
  connect(DBGrid2, &RecordGrid::rowChanged, this, &ClientBrowser::testRowChanged);
  connect(List->Edit1, &QLineEdit::textChanged, this, &ClientBrowser::Edit1Change);
  connect(List->ComboBox1, &QComboBox::activated, this, &ClientBrowser::ComboBox1Change);
  connect(List->ComboBox2, &QComboBox::activated, this, &ClientBrowser::ComboBox2Change);
  for (int i = 1; i <= 6; ++i) {
    static void (ClientBrowser::*const handlers[7])() = {nullptr,
                                                         &ClientBrowser::ToolButton1Click,
                                                         &ClientBrowser::ToolButton2Click,
                                                         &ClientBrowser::ToolButton3Click,
                                                         &ClientBrowser::ToolButton4Click,
                                                         &ClientBrowser::ToolButton5Click,
                                                         &ClientBrowser::ToolButton6Click};
    connect(ToolButton[i], &QToolButton::clicked, this, handlers[i]);
  }
}

void ClientBrowser::FormShow() {
  for (int i = 1; i <= 5; ++i) ToolButton[i]->setEnabled(false);
  SortField = ClientSortField(ViewState.ClientSortKey);
  List->showSortKey(ViewState.ClientSortKey);
  ADOTable1.open();
  {
    const QSignalBlocker block(List->Edit1);
    List->Edit1->clear();
  }
  // The current client by its whole number: a prefix could land on "A010" for "A01".
  ADOTable1.locate(QStringLiteral("CUSTNO"), CurrentClient.CustNo, LocateOption::CaseInsensitive);
  DBGrid1->reload();
  DBGrid1->setFocus();
}

void ClientBrowser::clientRowChanged() {
  LinkTestsOf(ADOTable2, ADOTable1.field(QStringLiteral("CUSTNO")).toString());
  if (ADOTable1.isEmpty()) ADOTable2.setLink(QStringLiteral("MKEY"), 0);
  ADOTable2.isOpen() ? ADOTable2.refresh() : ADOTable2.open();
  ADOTable2.first();
  DBGrid2->reload();
  DBMemo1->setVisible(false);
  DBMemo1->setPlainText(MemoLines(ADOTable1.field(QStringLiteral("MEMO")).toString()).join(u'\n'));
  DBMemo1->setVisible(true);
  updateCount();
}

void ClientBrowser::testRowChanged() {
  DBMemo2->setVisible(false);
  DBMemo2->setPlainText(MemoLines(ADOTable2.field(QStringLiteral("MEMO1")).toString()).join(u'\n'));
  DBMemo2->setVisible(true);
}

void ClientBrowser::updateCount() {
  List->setCountText(RecordCountText(ADOTable1.rowCount(), ADOTable2.rowCount()));
}

void ClientBrowser::DBGrid1Enter() { ToolButton[3]->setEnabled(false); }

void ClientBrowser::DBGrid1ColEnter() {
  ToolButton[1]->setEnabled(false);
  ToolButton[2]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[3]->setEnabled(true);
  ToolButton[4]->setEnabled(false);
  ToolButton[5]->setEnabled(false);
  ClientListActive = true;
  TestListActive = false;
}

void ClientBrowser::DBGrid2Enter() { ToolButton[5]->setEnabled(false); }

void ClientBrowser::DBGrid2ColEnter() {
  const bool hasTest = !ADOTable2.isEmpty();
  ToolButton[1]->setEnabled(hasTest);
  ToolButton[2]->setEnabled(false);
  ToolButton[3]->setEnabled(false);
  ToolButton[4]->setEnabled(hasTest);
  ToolButton[5]->setEnabled(hasTest);
  ClientListActive = false;
  TestListActive = true;
}

void ClientBrowser::Edit1Change() {
  SearchText = Trim(List->Edit1->text());
  if (ADOTable1.locate(BrowserSearchColumn(ViewState.ClientSortKey), SearchText,
                       LocateOption::CaseInsensitive | LocateOption::PartialKey))
    DBGrid1->showCurrent();
}

void ClientBrowser::ComboBox1Change() { sortChanged(true); }
void ClientBrowser::ComboBox2Change() { sortChanged(false); }

void ClientBrowser::sortChanged(bool fromColumnBox) {
  for (int i = 2; i <= 5; ++i) ToolButton[i]->setEnabled(false);
  List->sortByBoxes(SortField, fromColumnBox);
}

void ClientBrowser::ToolButton1Click() {
  if (ViewState.BrowseForCurrent) {
    if (ADOTable2.isEmpty()) {
      accept();
      return;
    }
    LoadCurrentTest(ADOTable1, ADOTable2);
  } else {
    LoadCompareTest(ADOTable1, ADOTable2);
  }
  accept();
}

void ClientBrowser::runHidden(std::function<void()> child, std::function<void()> after) {
  const qint64 mark = ADOTable1.bookmark();
  runChildHidden(std::move(child), [this, mark, after = std::move(after)] {
    ADOTable1.refresh();
    ADOTable1.gotoBookmark(mark);
    DBGrid1->reload();
    if (after) after();
  });
}

void ClientBrowser::ToolButton2Click() {
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  runHidden(
      [this] {
        ClientEditor editor(&ADOTable1, this);
        editor.exec();
      },
      [this] { DBGrid1->setFocus(); });
}

void ClientBrowser::DBGrid1DblClick() {
  if (ADOTable1.isEmpty()) return;
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  {
    ClientEditor editor(&ADOTable1, nullptr);
    editor.exec();
  }
  DBGrid1->reload();
  DBGrid1->setFocus();
}

void ClientBrowser::ToolButton3Click() {
  SendSignal(SignalKind::Question);
  if (ClientListActive && !ADOTable1.isEmpty()) {
    DBGrid1->setFocus();
    if (AskUser(MsgKind::WarningYesNo,
                QStringLiteral("確定要刪除本受測者的所有資料嗎? (包括所有檢測資料)"))) {
      QString error;
      if (!DeleteCurrentClient(ADOTable1, ADOTable2, &error)) AskUser(MsgKind::WarningOk, error);
      DBGrid1->reload();
    }
  }
  updateCount();
}

void ClientBrowser::ToolButton4Click() {
  if (ADOTable2.isEmpty()) return;
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  const qint64 test = ADOTable2.bookmark();
  runHidden(
      [this, test] {
        OpenWindow(WindowOpeners().manualEntry, this, static_cast<std::int32_t>(test));
      },
      [this, test] {
        ADOTable2.gotoBookmark(test);
        DBGrid2->showCurrent();
        DBGrid2->setFocus();
      });
}

void ClientBrowser::ToolButton5Click() {
  SendSignal(SignalKind::Question);
  if (TestListActive && !ADOTable2.isEmpty()) {
    DBGrid2->setFocus();
    if (AskUser(MsgKind::WarningYesNo, QStringLiteral("確定要刪除這筆經絡能量數據嗎?"))) {
      QString error;
      if (!DeleteCurrentTest(ADOTable2, &error)) AskUser(MsgKind::WarningOk, error);
      DBGrid2->reload();
      if (ADOTable2.isEmpty()) DBGrid2ColEnter();
    }
  }
  updateCount();
}

void ClientBrowser::ToolButton6Click() {
  ViewState.TestLoaded = false;
  reject();
}

}  // namespace ruto
