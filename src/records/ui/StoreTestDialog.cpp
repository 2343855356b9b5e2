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
#include "app/ui/WindowKeys.h"
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
    : FormShowOnce(parent), clients(kMainConnection, QStringLiteral("VOCUST")) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("StoreTestDialog"));
  setWindowTitle(QStringLiteral("經絡能量資料儲存"));
  PlaceOnShow(this, WindowPlace::Owner);
  resize(900, 600);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  addClientButton = addToolButton(toolBar, this, "addClientButton", "新增受測者",
                                  "新增一筆受測者資料", &StoreTestDialog::addClient);
  saveButton = addToolButton(toolBar, this, "saveButton", "儲存數據", "儲存已檢測的能量數據",
                             &StoreTestDialog::save);
  toolBar->addSeparator();
  exitButton = addToolButton(toolBar, this, "exitButton", "離  開", "離開數據儲存系統",
                             &StoreTestDialog::leave);
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(6, 0, 6, 0);
  root->addLayout(body, 1);

  auto* panel = new QGroupBox(QStringLiteral("受測者資料"), this);
  auto* panelLayout = new QGridLayout(panel);
  panelLayout->addWidget(new QLabel(QStringLiteral("儲存至下列受測者中"), panel), 0, 0, 1, 6);
  static const struct {
    QLabel* StoreTestDialog::*label;
    const char* name;
    const char* caption;
    int row, column, span;
  } fields[] = {{&StoreTestDialog::custNoText, "custNoText", "編號:", 1, 0, 1},
                {&StoreTestDialog::nameText, "nameText", "姓名:", 1, 2, 1},
                {&StoreTestDialog::sexText, "sexText", "性別:", 1, 4, 1},
                {&StoreTestDialog::birthdayText, "birthdayText", "生日:", 2, 0, 1},
                {&StoreTestDialog::ageText, "ageText", "年齡:", 2, 2, 1},
                {&StoreTestDialog::telText, "telText", "電話:", 2, 4, 1},
                {&StoreTestDialog::mobileText, "mobileText", "行動:", 3, 0, 1},
                {&StoreTestDialog::emailText, "emailText", "E-Mail:", 3, 2, 1},
                {&StoreTestDialog::addrText, "addrText", "地址:", 4, 0, 5}};
  for (const auto& f : fields) {
    auto* value = new QLabel(panel);
    value->setObjectName(QLatin1String(f.name));
    value->setTextFormat(Qt::PlainText);  // the client's data as typed
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(150);
    this->*f.label = value;
    panelLayout->addWidget(new QLabel(QString::fromUtf8(f.caption), panel), f.row, f.column);
    panelLayout->addWidget(value, f.row, f.column + 1, 1, f.span);
  }
  body->addWidget(panel);

  clientList = new ClientList(&clients, ClientList::Titles::Store, this);
  clientGrid = clientList->clientGrid;
  body->addWidget(clientList, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);

  connect(clientGrid, &RecordGrid::colEnter, this, &StoreTestDialog::chooseClickedClient);
  connect(clientGrid, &RecordGrid::rowDoubleClicked, this,
          &StoreTestDialog::saveUnderClickedClient);
  connect(clientGrid, &RecordGrid::rowChanged, this, &StoreTestDialog::updateCount);
  connect(clientList->searchEdit, &QLineEdit::textChanged, this, &StoreTestDialog::searchClients);
  connect(clientList->sortColumnBox, &QComboBox::activated, this,
          &StoreTestDialog::changeSortColumn);
  connect(clientList->sortDirectionBox, &QComboBox::activated, this,
          &StoreTestDialog::changeSortDirection);
}

void StoreTestDialog::FormShow() {
  saveButton->setEnabled(!Trim(CurrentClient.CustNo).isEmpty());
  sortField_ = ClientSortField(ViewState.ClientSortKey);
  clientList->showSortKey(ViewState.ClientSortKey);
  clients.open();
  statusBar->showMessage(
      QStringLiteral("請至查詢視窗點選受測者資料，或新增一筆受測者基本資料以供儲存。"));
  {
    const QSignalBlocker block(clientList->searchEdit);
    clientList->searchEdit->clear();
  }
  const bool found =
      !CurrentClient.CustNo.isEmpty() &&
      clients.locate(QStringLiteral("CUSTNO"), CurrentClient.CustNo, LocateOption::CaseInsensitive);
  clientGrid->reload();
  if (found) {
    clientGrid->setFocus();
    saveButton->setEnabled(true);
    ChosenClient = CurrentClient;
    ChosenBookmark = clients.bookmark();
    showChosenClient();
  } else {
    clientList->searchEdit->setFocus();
    saveButton->setEnabled(false);
    // Nothing unseen may stay chosen: a later store would file the test under it.
    ChosenClient = TClientInfo{};
    ChosenClient.Sex = CurrentClient.Sex;
    ChosenBookmark = 0;
    showChosenClient();
  }
  updateCount();
}

void StoreTestDialog::showChosenClient() {
  const TClientInfo& c = ChosenClient;
  const bool hasBirthday = c.DBirth > 4000.0;
  custNoText->setText(c.CustNo);
  nameText->setText(c.Name);
  birthdayText->setText(hasBirthday ? formatOleDate(c.DBirth) : QString());
  telText->setText(c.Tel);
  ageText->setText(hasBirthday ? ClientAgeText(c.DBirth, QDate::currentDate()) : QString());
  addrText->setText(c.Addr);
  emailText->setText(c.EMail);
  mobileText->setText(c.Tel2);
  sexText->setText(c.Sex ? QStringLiteral("男性") : QStringLiteral("女性"));
}

void StoreTestDialog::chooseCurrentClient() {
  if (clients.isEmpty()) return;
  ChosenBookmark = clients.bookmark();
  saveButton->setEnabled(true);
  ChosenClient = ClientAt(clients, clients.position());
  showChosenClient();
}

void StoreTestDialog::updateCount() {
  clientList->setCountText(RecordCountText(clients.rowCount(), StoredTestCount(kMainConnection)));
}

void StoreTestDialog::chooseClickedClient() { chooseCurrentClient(); }

void StoreTestDialog::saveUnderClickedClient() {
  if (!AskUser(MsgKind::QuestionYesNo, kAskStore)) return;
  chooseCurrentClient();
  storeCurrentTest();
}

bool StoreTestDialog::storeCurrentTest() {
  QString error;
  if (ruto::StoreCurrentTest(kMainConnection, ChosenClient, &error) == 0) {
    AskUser(MsgKind::WarningOk, error);
    return false;
  }
  accept();
  return true;
}

void StoreTestDialog::searchClients() {
  searchText_ = Trim(clientList->searchEdit->text());
  if (clients.locate(StoreSearchColumn(ViewState.ClientSortKey), searchText_,
                     LocateOption::CaseInsensitive | LocateOption::PartialKey))
    clientGrid->showCurrent();
}

void StoreTestDialog::changeSortColumn() { sortChanged(true); }
void StoreTestDialog::changeSortDirection() { sortChanged(false); }

void StoreTestDialog::sortChanged(bool fromColumnBox) {
  clientList->sortByBoxes(sortField_, fromColumnBox);
}

void StoreTestDialog::addClient() {
  ViewState.ClientNewMode = true;
  {
    ClientEditor editor(&clients, this);
    editor.exec();
  }
  clientGrid->reload();
  if (ViewState.ClientNewMode) {
    chooseCurrentClient();
    SendSignal(SignalKind::Question);
    if (AskUser(MsgKind::QuestionYesNo, kAskStore)) storeCurrentTest();
    return;
  }
  clients.gotoBookmark(ChosenBookmark);
  clientGrid->showCurrent();
  if (Trim(ChosenClient.CustNo).isEmpty()) {
    saveButton->setEnabled(false);
    clientList->searchEdit->setFocus();
  } else {
    saveButton->setEnabled(true);
    clientGrid->setFocus();
  }
}

void StoreTestDialog::save() { storeCurrentTest(); }

void StoreTestDialog::leave() {
  ChosenClient.CustNo = QStringLiteral(" ");
  reject();
}

}  // namespace ruto
