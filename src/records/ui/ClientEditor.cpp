#include "records/ui/ClientEditor.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/SharedRecords.h"
#include "app/TransferColumns.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ClientRecords.h"

namespace ruto {

namespace {

bool isEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ClientEditor::ClientEditor(RecordSet* clients, QWidget* parent)
    : QDialog(parent), clients_(clients), newMode_(ViewState.ClientNewMode) {
  setObjectName(QStringLiteral("ClientEditor"));
  setWindowTitle(QStringLiteral("受測者資料異動"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  ToolButton2 = addToolButton(toolBar, QStringLiteral("ToolButton2"), QStringLiteral("儲存資料"),
                              QStringLiteral("儲存受測者資料"));
  ToolButton3 = addToolButton(toolBar, QStringLiteral("ToolButton3"), QStringLiteral("離  開"),
                              QStringLiteral("離開數據儲存系統"));
  root->addWidget(toolBar);

  auto* form = new QGridLayout;
  form->setContentsMargins(10, 6, 10, 6);
  root->addLayout(form, 1);
  // Name and address are held shorter than their columns; the rest take the column's width.
  const auto width = [](const char* column) {
    return TransferColumnWidth(QStringLiteral("VOCUST"), QLatin1String(column));
  };
  const int limits[8] = {0,  width("EMAIL"), width("CUSTNO"), 20,
                         50, width("TEL"),   width("TEL2"),   width("TEL3")};
  for (int i = 1; i <= 7; ++i) {
    Edit[i] = new QLineEdit(this);
    Edit[i]->setObjectName(QStringLiteral("Edit%1").arg(i));
    Edit[i]->setMaxLength(limits[i]);
    Edit[i]->installEventFilter(this);
  }
  StaticText3 = new QLabel(this);
  StaticText3->setObjectName(QStringLiteral("StaticText3"));

  RadioButton3 = new QRadioButton(QStringLiteral("男  性"), this);
  RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
  RadioButton4 = new QRadioButton(QStringLiteral("女  性"), this);
  RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
  auto* sexBox = new QGroupBox(QStringLiteral("性別"), this);
  auto* sexLayout = new QHBoxLayout(sexBox);
  sexLayout->addWidget(RadioButton3);
  sexLayout->addWidget(RadioButton4);
  RadioButton3->installEventFilter(this);
  RadioButton4->installEventFilter(this);

  CheckBox1 = new QCheckBox(QStringLiteral("生日:"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  DateTimePicker1 = new QDateEdit(this);
  DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
  DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  DateTimePicker1->setCalendarPopup(true);
  DateTimePicker1->installEventFilter(this);

  int row = 0;
  form->addWidget(new QLabel(QStringLiteral("編號:"), this), row, 0);
  form->addWidget(Edit[2], row, 1);
  form->addWidget(StaticText3, row, 2, 1, 2);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("姓名:"), this), row, 0);
  form->addWidget(Edit[3], row, 1);
  form->addWidget(sexBox, row, 2, 2, 2);
  ++row;
  form->addWidget(CheckBox1, row, 0);
  form->addWidget(DateTimePicker1, row, 1);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("電話:"), this), row, 0);
  form->addWidget(Edit[5], row, 1);
  form->addWidget(new QLabel(QStringLiteral("行動:"), this), row, 2);
  form->addWidget(Edit[6], row, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("傳真:"), this), row, 0);
  form->addWidget(Edit[7], row, 1);
  form->addWidget(new QLabel(QStringLiteral("E-Mail:"), this), row, 2);
  form->addWidget(Edit[1], row, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("地址:"), this), row, 0);
  form->addWidget(Edit[4], row, 1, 1, 3);
  ++row;
  form->addWidget(new QLabel(QStringLiteral("備註欄"), this), row, 0, 1, 4);
  ++row;
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  DBMemo1 = new QPlainTextEdit(this);
  DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
  form->addWidget(Memo1, row, 0, 1, 4);
  form->addWidget(DBMemo1, row, 0, 1, 4);
  Memo1->setFixedHeight(90);
  DBMemo1->setFixedHeight(90);
  form->setRowStretch(row, 1);
  form->setColumnMinimumWidth(1, 180);
  form->setColumnMinimumWidth(3, 180);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);

  // Tab order follows the form: number, name, sex, birthday, phones, mail, address.
  setTabOrder(Edit[2], Edit[3]);
  setTabOrder(Edit[3], RadioButton3);
  setTabOrder(RadioButton3, RadioButton4);
  setTabOrder(RadioButton4, CheckBox1);
  setTabOrder(CheckBox1, DateTimePicker1);
  setTabOrder(DateTimePicker1, Edit[5]);
  setTabOrder(Edit[5], Edit[6]);
  setTabOrder(Edit[6], Edit[7]);
  setTabOrder(Edit[7], Edit[1]);
  setTabOrder(Edit[1], Edit[4]);

  connect(ToolButton2, &QToolButton::clicked, this, &ClientEditor::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &ClientEditor::ToolButton3Click);
  connect(Edit[2], &QLineEdit::textChanged, this, &ClientEditor::Edit2Change);
  connect(CheckBox1, &QCheckBox::toggled, this, &ClientEditor::CheckBox1Click);
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
    Memo1->clear();
    Memo1->show();
    DBMemo1->hide();
    DBMemo1->setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("受測者資料新增"));
    StaticText3->setText(QStringLiteral("(請務必輸入)"));
    Edit[2]->setEnabled(true);
    StatusBar1->showMessage(QStringLiteral(
        "新增受測者資料，編號及性別部分務必輸入，其他部分則不限定。確認後請將資料儲存。"));
    for (int i = 1; i <= 7; ++i) Edit[i]->clear();
    Edit2Change();
    (CurrentClient.Sex ? RadioButton3 : RadioButton4)->setChecked(true);
    InitialDate = QDate::currentDate();
    DateTimePicker1->setDate(InitialDate);
    CheckBox1->setChecked(false);
    DateTimePicker1->setEnabled(false);
    Edit[2]->setFocus();
    return;
  }
  const int row = clients_->position();
  key_ = clients_->keyAt(row);
  DBMemo1->setPlainText(
      MemoLines(clients_->value(row, QStringLiteral("MEMO")).toString()).join(u'\n'));
  DBMemo1->show();
  Memo1->hide();
  Memo1->setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QStringLiteral("受測者資料修改"));
  StaticText3->setText(QStringLiteral("(編號資料不得修改)"));
  Edit[2]->setEnabled(false);
  StatusBar1->showMessage(QStringLiteral("修改受測者基本資料，確認後請將資料儲存。"));
  const double birth = clients_->value(row, QStringLiteral("DBIRTH")).toDouble();
  if (birth <= 4000.0) {
    InitialDate = QDate::currentDate();
    DateTimePicker1->setDate(InitialDate);
    CheckBox1->setChecked(false);
    DateTimePicker1->setEnabled(false);
  } else {
    DateTimePicker1->setDate(fromOleDate(birth).date());
    CheckBox1->setChecked(true);
    DateTimePicker1->setEnabled(true);
  }
  static const char* columns[8] = {nullptr, "EMAIL", "CUSTNO", "NAME",
                                   "ADDR",  "TEL",   "TEL2",   "TEL3"};
  for (int i = 1; i <= 7; ++i)
    Edit[i]->setText(clients_->value(row, QString::fromLatin1(columns[i])).toString());
  (clients_->value(row, QStringLiteral("SEX")).toBool() ? RadioButton3 : RadioButton4)
      ->setChecked(true);
  ToolButton2->setEnabled(true);
  Edit[3]->setFocus();
}

void ClientEditor::ToolButton2Click() {
  ClientForm form;
  form.Edit1 = Edit[1]->text();
  form.Edit2 = Edit[2]->text();
  form.Edit3 = Edit[3]->text();
  form.Edit4 = Edit[4]->text();
  form.Edit5 = Edit[5]->text();
  form.Edit6 = Edit[6]->text();
  form.Edit7 = Edit[7]->text();
  form.Male = RadioButton3->isChecked();
  form.HasBirthday = CheckBox1->isChecked();
  form.Birthday = toOleDate(DateTimePicker1->date());
  QString error;
  if (newMode_) {
    form.Memo = MemoText(Memo1->toPlainText().split(QLatin1Char('\n')));
    if (Memo1->toPlainText().isEmpty()) form.Memo.clear();
    QString name;
    switch (SaveNewClient(*clients_, form, &name, &error)) {
      case ClientSaveResult::Duplicate:
        SendSignal(SignalKind::Question);
        AskUser(MsgKind::WarningOk, DuplicateClientText(name));
        Edit[2]->setFocus();
        return;
      case ClientSaveResult::Failed:
        AskUser(MsgKind::WarningOk, error);
        return;
      case ClientSaveResult::Saved:
        break;
    }
  } else {
    form.Memo = DBMemo1->toPlainText().isEmpty()
                    ? QString()
                    : MemoText(DBMemo1->toPlainText().split(QLatin1Char('\n')));
    if (!SaveModifiedClient(*clients_, key_, form, &error)) {
      AskUser(MsgKind::WarningOk, error);
      return;
    }
  }
  saved_ = true;
  accept();
}

void ClientEditor::ToolButton3Click() { reject(); }

void ClientEditor::done(int result) {
  // Whatever closes the editor, only a save reports a new client.
  ViewState.ClientNewMode = newMode_ && saved_;
  QDialog::done(result);
}

void ClientEditor::Edit2Change() {
  if (newMode_) ToolButton2->setEnabled(!Trim(Edit[2]->text()).isEmpty());
}

void ClientEditor::CheckBox1Click() { DateTimePicker1->setEnabled(CheckBox1->isChecked()); }

bool ClientEditor::eventFilter(QObject* watched, QEvent* event) {
  if (!isEnter(event)) return QDialog::eventFilter(watched, event);
  if (watched == Edit[3]) {
    CheckBox1->setChecked(true);
    DateTimePicker1->setFocus();
    return true;
  }
  if (watched == DateTimePicker1 && DateTimePicker1->date() == InitialDate) {
    CheckBox1->setChecked(false);
    DateTimePicker1->setEnabled(false);
  }
  focusNextChild();
  return true;
}

}  // namespace ruto
