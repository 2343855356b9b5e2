#include "records/ui/ClientEditor.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/AskUser.h"
#include "app/SharedRecords.h"
#include "app/TransferColumns.h"
#include "app/ui/TypedMemo.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ClientRecords.h"
#include "records/ui/TypingLimit.h"

namespace ruto {

namespace {

// The typed fields: member, object name, column and the length they take. Name and address
// are held shorter than their columns (limit); the rest take the column's width (0).
struct TypedField {
  QLineEdit* ClientEditor::*edit;
  const char* name;
  const char* column;
  int limit;
};

const std::array<TypedField, 7>& typedFields() {
  static const std::array<TypedField, 7> fields = {{
      {&ClientEditor::emailEdit, "emailEdit", "EMAIL", 0},
      {&ClientEditor::custNoEdit, "custNoEdit", "CUSTNO", 0},
      {&ClientEditor::nameEdit, "nameEdit", "NAME", 20},
      {&ClientEditor::addrEdit, "addrEdit", "ADDR", 50},
      {&ClientEditor::telEdit, "telEdit", "TEL", 0},
      {&ClientEditor::mobileEdit, "mobileEdit", "TEL2", 0},
      {&ClientEditor::faxEdit, "faxEdit", "TEL3", 0},
  }};
  return fields;
}

// How many characters may be typed into a field.
int typingLimit(const TypedField& f) {
  return f.limit ? f.limit : TransferColumnWidth(QStringLiteral("VOCUST"), QLatin1String(f.column));
}

// The memo as it is stored: its lines with CR LF line ends, an empty memo empty.
QString memoToStore(const QPlainTextEdit* memo) { return MemoText(TypedMemoLines(memo)); }

// DBIRTH of 4000.0 or less (1910-12-13) is no birthday: the picker offers only later days.
constexpr double kLastNoBirthday = 4000.0;

bool isEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ClientEditor::ClientEditor(RecordSet* clients, QWidget* parent)
    : QDialog(parent), clients_(clients), newMode_(ViewState.ClientNewMode) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ClientEditor"));
  setWindowTitle(QStringLiteral("受測者資料異動"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  saveButton = addToolButton(toolBar, QStringLiteral("saveButton"), QStringLiteral("儲存資料"),
                             QStringLiteral("儲存受測者資料"));
  exitButton = addToolButton(toolBar, QStringLiteral("exitButton"), QStringLiteral("離  開"),
                             QStringLiteral("離開數據儲存系統"));
  root->addWidget(toolBar);

  auto* form = new QGridLayout;
  form->setContentsMargins(10, 6, 10, 6);
  root->addLayout(form, 1);
  for (const TypedField& f : typedFields()) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(f.name));
    TypingLimit::bind(edit, typingLimit(f));
    edit->installEventFilter(this);
    this->*f.edit = edit;
  }
  custNoHint = new QLabel(this);
  custNoHint->setObjectName(QStringLiteral("custNoHint"));

  maleButton = new QRadioButton(QStringLiteral("男  性"), this);
  maleButton->setObjectName(QStringLiteral("maleButton"));
  femaleButton = new QRadioButton(QStringLiteral("女  性"), this);
  femaleButton->setObjectName(QStringLiteral("femaleButton"));
  auto* sexBox = new QGroupBox(QStringLiteral("性別"), this);
  auto* sexLayout = new QHBoxLayout(sexBox);
  sexLayout->addWidget(maleButton);
  sexLayout->addWidget(femaleButton);
  maleButton->installEventFilter(this);
  femaleButton->installEventFilter(this);

  birthdayBox = new QCheckBox(QStringLiteral("生日:"), this);
  birthdayBox->setObjectName(QStringLiteral("birthdayBox"));
  birthdayEdit = new QDateEdit(this);
  birthdayEdit->setObjectName(QStringLiteral("birthdayEdit"));
  birthdayEdit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  birthdayEdit->setCalendarPopup(true);
  // Its calendar names months and weekdays in the program's language, whatever the system's.
  birthdayEdit->setLocale(QLocale(QLocale::Chinese, QLocale::Taiwan));
  birthdayEdit->setMinimumDate(FirstDatedDay());
  birthdayEdit->installEventFilter(this);

  int row = 0;
  form->addWidget(new QLabel(QStringLiteral("編號:"), this), row, 0);
  form->addWidget(custNoEdit, row, 1);
  form->addWidget(custNoHint, row, 2, 1, 2);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("姓名:"), this), row, 0);
  form->addWidget(nameEdit, row, 1);
  form->addWidget(sexBox, row, 2, 2, 2);
  ++row;
  form->addWidget(birthdayBox, row, 0);
  form->addWidget(birthdayEdit, row, 1);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("電話:"), this), row, 0);
  form->addWidget(telEdit, row, 1);
  form->addWidget(new QLabel(QStringLiteral("行動:"), this), row, 2);
  form->addWidget(mobileEdit, row, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("傳真:"), this), row, 0);
  form->addWidget(faxEdit, row, 1);
  form->addWidget(new QLabel(QStringLiteral("E-Mail:"), this), row, 2);
  form->addWidget(emailEdit, row, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("地址:"), this), row, 0);
  form->addWidget(addrEdit, row, 1, 1, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("備註欄"), this), row, 0, 1, 4);
  ++row;
  newMemoEdit = new QPlainTextEdit(this);
  newMemoEdit->setObjectName(QStringLiteral("newMemoEdit"));
  memoEdit = new QPlainTextEdit(this);
  memoEdit->setObjectName(QStringLiteral("memoEdit"));
  form->addWidget(newMemoEdit, row, 0, 1, 4);
  form->addWidget(memoEdit, row, 0, 1, 4);
  newMemoEdit->setFixedHeight(90);
  memoEdit->setFixedHeight(90);
  form->setRowStretch(row, 1);
  form->setColumnMinimumWidth(1, 180);
  form->setColumnMinimumWidth(3, 180);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);

  // Tab order follows the form: number, name, sex, birthday, phones, mail, address.
  setTabOrder(custNoEdit, nameEdit);
  setTabOrder(nameEdit, maleButton);
  setTabOrder(maleButton, femaleButton);
  setTabOrder(femaleButton, birthdayBox);
  setTabOrder(birthdayBox, birthdayEdit);
  setTabOrder(birthdayEdit, telEdit);
  setTabOrder(telEdit, mobileEdit);
  setTabOrder(mobileEdit, faxEdit);
  setTabOrder(faxEdit, emailEdit);
  setTabOrder(emailEdit, addrEdit);

  connect(saveButton, &QToolButton::clicked, this, &ClientEditor::save);
  connect(exitButton, &QToolButton::clicked, this, &ClientEditor::leave);
  connect(custNoEdit, &QLineEdit::textChanged, this, &ClientEditor::updateSaveButton);
  connect(birthdayBox, &QCheckBox::toggled, this, &ClientEditor::toggleBirthday);
}

void ClientEditor::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

void ClientEditor::FormShow() {
  if (newMode_) {
    newMemoEdit->clear();
    newMemoEdit->show();
    memoEdit->hide();
    memoEdit->setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("受測者資料新增"));
    custNoHint->setText(QStringLiteral("(請務必輸入)"));
    custNoEdit->setEnabled(true);
    statusBar->showMessage(QStringLiteral(
        "新增受測者資料，編號及性別部分務必輸入，其他部分則不限定。確認後請將資料儲存。"));
    for (const TypedField& f : typedFields()) (this->*f.edit)->clear();
    updateSaveButton();
    (CurrentClient.Sex ? maleButton : femaleButton)->setChecked(true);
    initialDate_ = QDate::currentDate();
    birthdayEdit->setDate(initialDate_);
    birthdayBox->setChecked(false);
    birthdayEdit->setEnabled(false);
    custNoEdit->setFocus();
    return;
  }
  const int row = clients_->position();
  key_ = clients_->keyAt(row);
  memoEdit->setPlainText(
      MemoLines(clients_->value(row, QStringLiteral("MEMO")).toString()).join(u'\n'));
  memoEdit->document()->setModified(false);
  memoEdit->show();
  newMemoEdit->hide();
  newMemoEdit->setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QStringLiteral("受測者資料修改"));
  custNoHint->setText(QStringLiteral("(編號資料不得修改)"));
  custNoEdit->setEnabled(false);
  statusBar->showMessage(QStringLiteral("修改受測者基本資料，確認後請將資料儲存。"));
  const double birth = clients_->value(row, QStringLiteral("DBIRTH")).toDouble();
  storedBirth_ = birth;
  if (birth <= kLastNoBirthday) {
    initialDate_ = QDate::currentDate();
    birthdayEdit->setDate(initialDate_);
    birthdayBox->setChecked(false);
    birthdayEdit->setEnabled(false);
  } else {
    // A stored day the picker would not offer (late on 1910-12-13) is still shown as it is.
    const QDate stored = fromOleDate(birth).date();
    birthdayEdit->setMinimumDate(std::min(stored, FirstDatedDay()));
    birthdayEdit->setDate(stored);
    birthdayBox->setChecked(true);
    birthdayEdit->setEnabled(true);
  }
  // The limits bind typing only: import and migration store longer texts, which are shown
  // and saved whole and may be shortened.
  for (const TypedField& f : typedFields())
    TypingLimit::showWhole(this->*f.edit, clients_->value(row, QLatin1String(f.column)).toString());
  (clients_->value(row, QStringLiteral("SEX")).toBool() ? maleButton : femaleButton)
      ->setChecked(true);
  saveButton->setEnabled(true);
  nameEdit->setFocus();
}

void ClientEditor::save() {
  ClientForm form;
  form.EMail = emailEdit->text();
  form.CustNo = custNoEdit->text();
  form.Name = nameEdit->text();
  form.Addr = addrEdit->text();
  form.Tel = telEdit->text();
  form.Tel2 = mobileEdit->text();
  form.Tel3 = faxEdit->text();
  form.Male = maleButton->isChecked();
  form.HasBirthday = birthdayBox->isChecked();
  // A birthday left on its stored day keeps its stored value, time of day included.
  const bool storedDay =
      storedBirth_ > kLastNoBirthday && birthdayEdit->date() == fromOleDate(storedBirth_).date();
  form.Birthday = storedDay ? storedBirth_ : toOleDate(birthdayEdit->date());
  QString error;
  if (newMode_) {
    form.Memo = memoToStore(newMemoEdit);
    QString name;
    switch (SaveNewClient(*clients_, form, &name, &error)) {
      case ClientSaveResult::Duplicate:
        SendSignal(SignalKind::Question);
        AskUser(MsgKind::WarningOk, DuplicateClientText(name));
        custNoEdit->setFocus();
        return;
      case ClientSaveResult::Failed:
        AskUser(MsgKind::WarningOk, error);
        return;
      case ClientSaveResult::Saved:
        break;
    }
  } else {
    // A memo left as it was shown keeps its stored text, whatever its line ends.
    if (memoEdit->document()->isModified()) form.Memo = memoToStore(memoEdit);
    if (!SaveModifiedClient(*clients_, key_, form, &error)) {
      AskUser(MsgKind::WarningOk, error);
      return;
    }
  }
  saved_ = true;
  accept();
}

void ClientEditor::leave() { reject(); }

void ClientEditor::done(int result) {
  // Whatever closes the editor, only a save reports a new client.
  ViewState.ClientNewMode = newMode_ && saved_;
  QDialog::done(result);
}

void ClientEditor::updateSaveButton() {
  if (newMode_) saveButton->setEnabled(!Trim(custNoEdit->text()).isEmpty());
}

void ClientEditor::toggleBirthday() { birthdayEdit->setEnabled(birthdayBox->isChecked()); }

bool ClientEditor::eventFilter(QObject* watched, QEvent* event) {
  if (!isEnter(event)) return QDialog::eventFilter(watched, event);
  if (watched == nameEdit) {
    birthdayBox->setChecked(true);
    birthdayEdit->setFocus();
    return true;
  }
  if (watched == birthdayEdit && birthdayEdit->date() == initialDate_) {
    birthdayBox->setChecked(false);
    birthdayEdit->setEnabled(false);
  }
  focusNextChild();
  return true;
}

}  // namespace ruto
