#include "records/ui/ClientBrowser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/WindowKeys.h"
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
    : OpenerDialog(parent),
      clients(kMainConnection, QStringLiteral("VOCUST")),
      tests(kMainConnection, QStringLiteral("VODATA")) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ClientBrowser"));
  setWindowTitle(QStringLiteral("經絡能量資料讀取"));
  PlaceOnShow(this, WindowPlace::Owner);
  resize(960, 640);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  const auto button = [this, toolBar](const char* name, const char* text, const char* hint,
                                      void (ClientBrowser::*handler)()) {
    return addToolButton(toolBar, this, name, text, hint, handler);
  };
  loadButton =
      button("loadButton", "載入資料", "載入能量數據資料", &ClientBrowser::loadSelectedTest);
  editClientButton =
      button("editClientButton", "客戶修改", "修改受測者資料", &ClientBrowser::editClient);
  deleteClientButton =
      button("deleteClientButton", "客戶刪除", "刪除受測者資料", &ClientBrowser::deleteClient);
  editTestButton = button("editTestButton", "修改資料", "修改能量資料", &ClientBrowser::editTest);
  deleteTestButton =
      button("deleteTestButton", "刪除資料", "刪除能量數據資料", &ClientBrowser::deleteTest);
  toolBar->addSeparator();
  exitButton = button("exitButton", "離  開", "離開經絡能量讀取", &ClientBrowser::leave);
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 0, 6, 0);
  root->addLayout(body, 1);
  clientList = new ClientList(&clients, ClientList::Titles::Browser, this);
  clientGrid = clientList->clientGrid;
  clientMemo = readOnlyMemo(QStringLiteral("clientMemo"), this);
  clientMemo->setFixedWidth(220);
  clientMemo->setAccessibleName(QStringLiteral("備註欄"));
  auto* top = new QHBoxLayout;
  top->addWidget(clientList, 1);
  top->addWidget(clientMemo);
  body->addLayout(top, 3);

  testGrid = new RecordGrid(&tests, testColumns(), this);
  testGrid->setObjectName(QStringLiteral("testGrid"));
  testGrid->setAccessibleName(QStringLiteral("能量數據資料"));
  testMemo = readOnlyMemo(QStringLiteral("testMemo"), this);
  testMemo->setFixedWidth(220);
  testMemo->setAccessibleName(QStringLiteral("症狀描述與處置"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(testGrid, 1);
  bottom->addWidget(testMemo);
  body->addLayout(bottom, 2);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);

  connect(clientGrid, &RecordGrid::entered, this, &ClientBrowser::disableClientDelete);
  connect(clientGrid, &RecordGrid::colEnter, this, &ClientBrowser::activateClientList);
  connect(clientGrid, &RecordGrid::gridDoubleClicked, this, &ClientBrowser::editClientInPlace);
  connect(clientGrid, &RecordGrid::rowChanged, this, &ClientBrowser::clientRowChanged);
  connect(testGrid, &RecordGrid::entered, this, &ClientBrowser::disableTestDelete);
  connect(testGrid, &RecordGrid::colEnter, this, &ClientBrowser::activateTestList);
  connect(testGrid, &RecordGrid::gridDoubleClicked, this, &ClientBrowser::loadSelectedTest);
  connect(testGrid, &RecordGrid::rowChanged, this, &ClientBrowser::testRowChanged);
  connect(clientList->searchEdit, &QLineEdit::textChanged, this, &ClientBrowser::searchClients);
  connect(clientList->sortColumnBox, &QComboBox::activated, this, &ClientBrowser::changeSortColumn);
  connect(clientList->sortDirectionBox, &QComboBox::activated, this,
          &ClientBrowser::changeSortDirection);
}

void ClientBrowser::showEvent(QShowEvent* event) {
  OpenerDialog::showEvent(event);
  // A window coming back from the minimised state is no new show.
  if (!event->spontaneous()) FormShow();
}

void ClientBrowser::FormShow() {
  for (QToolButton* b :
       {loadButton, editClientButton, deleteClientButton, editTestButton, deleteTestButton})
    b->setEnabled(false);
  sortField_ = ClientSortField(ViewState.ClientSortKey);
  clientList->showSortKey(ViewState.ClientSortKey);
  // Read on the first show only: back from a child window, the command that hid the browser
  // reads the list once itself before it returns to its row.
  if (!clients.isOpen()) clients.open();
  {
    const QSignalBlocker block(clientList->searchEdit);
    clientList->searchEdit->clear();
  }
  // The current client by its whole number: a prefix could land on "A010" for "A01".
  clients.locate(QStringLiteral("CUSTNO"), CurrentClient.CustNo, LocateOption::CaseInsensitive);
  clientGrid->reload();
  clientGrid->setFocus();
}

void ClientBrowser::clientRowChanged() {
  LinkTestsOf(tests, clients.field(QStringLiteral("CUSTNO")).toString());
  if (clients.isEmpty()) tests.setLink(QStringLiteral("MKEY"), 0);
  tests.isOpen() ? tests.refresh() : tests.open();
  tests.first();
  testGrid->reload();
  clientMemo->setVisible(false);
  clientMemo->setPlainText(MemoLines(clients.field(QStringLiteral("MEMO")).toString()).join(u'\n'));
  clientMemo->setVisible(true);
  updateCount();
}

void ClientBrowser::testRowChanged() {
  testMemo->setVisible(false);
  testMemo->setPlainText(MemoLines(tests.field(QStringLiteral("MEMO1")).toString()).join(u'\n'));
  testMemo->setVisible(true);
}

void ClientBrowser::updateCount() {
  clientList->setCountText(RecordCountText(clients.rowCount(), tests.rowCount()));
}

void ClientBrowser::disableClientDelete() { deleteClientButton->setEnabled(false); }

void ClientBrowser::activateClientList() {
  loadButton->setEnabled(false);
  editClientButton->setEnabled(!clients.isEmpty());
  deleteClientButton->setEnabled(true);
  editTestButton->setEnabled(false);
  deleteTestButton->setEnabled(false);
  clientListActive_ = true;
  testListActive_ = false;
}

void ClientBrowser::disableTestDelete() { deleteTestButton->setEnabled(false); }

void ClientBrowser::activateTestList() {
  const bool hasTest = !tests.isEmpty();
  loadButton->setEnabled(hasTest);
  editClientButton->setEnabled(false);
  deleteClientButton->setEnabled(false);
  editTestButton->setEnabled(hasTest);
  deleteTestButton->setEnabled(hasTest);
  clientListActive_ = false;
  testListActive_ = true;
}

void ClientBrowser::searchClients() {
  searchText_ = Trim(clientList->searchEdit->text());
  if (clients.locate(BrowserSearchColumn(ViewState.ClientSortKey), searchText_,
                     LocateOption::CaseInsensitive | LocateOption::PartialKey))
    clientGrid->showCurrent();
}

void ClientBrowser::changeSortColumn() { sortChanged(true); }
void ClientBrowser::changeSortDirection() { sortChanged(false); }

void ClientBrowser::sortChanged(bool fromColumnBox) {
  for (QToolButton* b : {editClientButton, deleteClientButton, editTestButton, deleteTestButton})
    b->setEnabled(false);
  clientList->sortByBoxes(sortField_, fromColumnBox);
}

void ClientBrowser::loadSelectedTest() {
  if (ViewState.BrowseForCurrent) {
    if (tests.isEmpty()) {
      accept();
      return;
    }
    LoadCurrentTest(clients, tests);
  } else {
    LoadCompareTest(clients, tests);
  }
  accept();
}

void ClientBrowser::runHidden(std::function<void()> child, std::function<void()> after) {
  const qint64 mark = clients.bookmark();
  runChildHidden(std::move(child), [this, mark, after = std::move(after)] {
    clients.refresh();
    clients.gotoBookmark(mark);
    clientGrid->reload();
    if (after) after();
  });
}

void ClientBrowser::editClient() {
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  runHidden(
      [this] {
        ClientEditor editor(&clients, this);
        editor.exec();
      },
      [this] { clientGrid->setFocus(); });
}

void ClientBrowser::editClientInPlace() {
  if (clients.isEmpty()) return;
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  {
    ClientEditor editor(&clients, nullptr);
    editor.exec();
  }
  clientGrid->reload();
  clientGrid->setFocus();
}

void ClientBrowser::deleteClient() {
  SendSignal(SignalKind::Question);
  if (clientListActive_ && !clients.isEmpty()) {
    clientGrid->setFocus();
    if (AskUser(MsgKind::WarningYesNo,
                QStringLiteral("確定要刪除本受測者的所有資料嗎? (包括所有檢測資料)"))) {
      QString error;
      if (!DeleteCurrentClient(clients, tests, &error)) AskUser(MsgKind::WarningOk, error);
      clientGrid->reload();
    }
  }
  updateCount();
}

void ClientBrowser::editTest() {
  if (tests.isEmpty()) return;
  ViewState.ClientNewMode = false;
  ViewState.EntryNewMode = false;
  const qint64 test = tests.bookmark();
  runHidden(
      [this, test] {
        OpenWindow(WindowOpeners().manualEntry, this, static_cast<std::int32_t>(test));
      },
      [this, test] {
        tests.gotoBookmark(test);
        testGrid->showCurrent();
        testGrid->setFocus();
      });
}

void ClientBrowser::deleteTest() {
  SendSignal(SignalKind::Question);
  if (testListActive_ && !tests.isEmpty()) {
    testGrid->setFocus();
    if (AskUser(MsgKind::WarningYesNo, QStringLiteral("確定要刪除這筆經絡能量數據嗎?"))) {
      QString error;
      if (!DeleteCurrentTest(tests, &error)) AskUser(MsgKind::WarningOk, error);
      testGrid->reload();
      if (tests.isEmpty()) activateTestList();
    }
  }
  updateCount();
}

void ClientBrowser::leave() {
  ViewState.TestLoaded = false;
  reject();
}

}  // namespace ruto
