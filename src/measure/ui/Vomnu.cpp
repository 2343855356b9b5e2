#include "measure/ui/Vomnu.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "measure/PointTables.h"
#include "measure/ui/ValueGrid.h"
#include "widgets/SortingGrid.h"

namespace ruto {

TVomnu::TVomnu(int mkey, QWidget* parent) : FormShowOnce(parent), mkey_(mkey), newMode_(mkey == 0) {
  setObjectName(QStringLiteral("Vomnu"));
  setWindowTitle(QStringLiteral("經絡能量數據輸入"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  ToolButton1 =
      addToolButton(toolBar, 1, QStringLiteral("儲存數據"), QStringLiteral("儲存能量數據"));
  ToolButton2 =
      addToolButton(toolBar, 2, QStringLiteral("清  除"), QStringLiteral("清除表中數據資料"));
  toolBar->addSeparator();
  ToolButton3 = addToolButton(toolBar, 3, QStringLiteral("離  開"), QStringLiteral("離開本系統"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(10, 4, 10, 4);
  root->addLayout(body, 1);
  StaticText1 = new QLabel(this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  QFont titleFont = StaticText1->font();
  titleFont.setPointSize(titleFont.pointSize() + 4);
  titleFont.setBold(true);
  StaticText1->setFont(titleFont);
  StaticText1->setText(newMode_ ? QStringLiteral("經絡能量新增輸入值")
                                : QStringLiteral("經絡能量修改值"));
  auto* titles = new QHBoxLayout;
  titles->addWidget(StaticText1);
  titles->addStretch(1);
  titles->addWidget(new QLabel(QStringLiteral("Meridian Energy Values"), this));
  body->addLayout(titles);
  auto* limbs = new QHBoxLayout;
  limbs->addSpacing(60);
  limbs->addWidget(new QLabel(QStringLiteral("手部"), this), 1, Qt::AlignHCenter);
  limbs->addWidget(new QLabel(QStringLiteral("足部"), this), 1, Qt::AlignHCenter);
  body->addLayout(limbs);

  StringGrid1 = newValueGrid(this);
  StaticText1->setBuddy(StringGrid1);
  StringGrid1->setOptions(StringGrid1->Options() | goEditing);
  for (int c = 1; c <= 12; ++c) StringGrid1->setCell(c, 0, MeridianHeading(c));
  StringGrid1->setCell(0, 1, SideHeading(1));
  StringGrid1->setCell(0, 2, SideHeading(2));
  body->addWidget(StringGrid1, 0, Qt::AlignHCenter);

  StringGrid1->OnKeyPress = [](QChar& key) {
    if (!EntryKeyAccepted(key)) key = QChar();
  };
  StringGrid1->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) { onKeyDown(key); };
  StringGrid1->OnSelectCell = [this](int, int, bool& canSelect) {
    if (!warning_) canSelect = NormalizeCurrentCell();
  };
  StringGrid1->OnExit = [this] {
    if (!warning_) NormalizeAllCells();
  };

  auto* settings = new QHBoxLayout;
  auto* range = new QGroupBox(QStringLiteral("測量電位設定"), this);
  auto* rangeLayout = new QVBoxLayout(range);
  RadioButton1 = new QRadioButton(QStringLiteral("高電位測量"), range);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2 = new QRadioButton(QStringLiteral("標準電位測量"), range);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  rangeLayout->addWidget(RadioButton1);
  rangeLayout->addWidget(RadioButton2);
  settings->addWidget(range);

  auto* dates = new QGridLayout;
  CheckBox1 = new QCheckBox(QStringLiteral("測量日期時間"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  DateTimePicker1 = new QDateEdit(this);
  DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
  DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  DateTimePicker1->setCalendarPopup(true);
  // The skinned drop button is wider than the plain one: room enough that the date never
  // runs under it.
  DateTimePicker1->setMinimumWidth(DateTimePicker1->sizeHint().width() + 12);
  DateTimePicker2 = new QTimeEdit(this);
  DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
  DateTimePicker2->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  dates->addWidget(CheckBox1, 0, 0, 1, 2);
  dates->addWidget(new QLabel(QStringLiteral("測量日期:"), this), 1, 0);
  dates->addWidget(DateTimePicker1, 1, 1);
  dates->addWidget(new QLabel(QStringLiteral("測量時間:"), this), 2, 0);
  dates->addWidget(DateTimePicker2, 2, 1);
  settings->addLayout(dates);

  auto* memoBox = new QGroupBox(QStringLiteral("症狀描述與處置"), this);
  auto* memoLayout = new QVBoxLayout(memoBox);
  Memo1 = new QPlainTextEdit(memoBox);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  memoLayout->addWidget(Memo1);
  settings->addWidget(memoBox, 1);
  body->addLayout(settings, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);
  resize(777, 507);

  connect(ToolButton1, &QToolButton::clicked, this, &TVomnu::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TVomnu::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TVomnu::ToolButton3Click);
  connect(CheckBox1, &QCheckBox::toggled, this, &TVomnu::CheckBox1Click);
}

void TVomnu::fillGrid(const TPointValues& values) {
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    StringGrid1->setCell(cell.col, cell.row, EntryValueText(values[p]));
  }
}

void TVomnu::setPickersNow() {
  const QDateTime now = QDateTime::currentDateTime();
  DateTimePicker1->setDate(now.date());
  DateTimePicker2->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

void TVomnu::FormShow() {
  ToolButton2->setEnabled(false);
  EntryValues entry;
  if (newMode_) {
    setWindowTitle(QStringLiteral("經絡能量數據新增輸入"));
    StaticText1->setText(QStringLiteral("經絡能量新增輸入值"));
    StatusBar1->showMessage(QStringLiteral(
        "新增一筆經絡能量資料。請輸入 0.1 - 200.0 的數值，不在這個範圍內將視為無效的輸入值。"));
    entry.Values = CurrentTest.Values;
    entry.VoDate = CurrentTest.VoDate;
    entry.HighRange = CurrentTest.VoVota;
    entry.Memo = CurrentTest.Memo1;
  } else {
    setWindowTitle(QStringLiteral("經絡能量數據修改"));
    StaticText1->setText(QStringLiteral("經絡能量修改值"));
    StatusBar1->showMessage(QStringLiteral(
        "修改原有資料。請輸入 0.1 - 200.0 的數值，不在這個範圍內將視為無效的輸入值。"));
    if (!ReadStoredEntry(kMainConnection, mkey_, &entry)) {
      AskUser(MsgKind::WarningOk, QStringLiteral("找不到這筆經絡能量數據，可能已被刪除。"));
      QTimer::singleShot(0, this, &QDialog::reject);
      return;
    }
  }
  Memo1->setPlainText(entry.Memo.join(u'\n'));
  fillGrid(entry.Values);
  StringGrid1->setFocus();
  StringGrid1->MoveTo(1, 1);
  (entry.HighRange ? RadioButton1 : RadioButton2)->setChecked(true);
  if (entry.VoDate < 4000.0) {
    CheckBox1->setChecked(newMode_);
    CheckBox1Click();
    setPickersNow();
  } else {
    CheckBox1->setChecked(true);
    CheckBox1Click();
    const QDateTime dt = fromOleDate(entry.VoDate);
    DateTimePicker1->setDate(dt.date());
    DateTimePicker2->setTime(dt.time());
  }
  bool any = false;
  for (int p = 1; p <= 24; ++p) any |= entry.Values[p] != 0;
  ToolButton2->setEnabled(any);
}

bool TVomnu::normalizeCell(int col, int row) {
  if (CellPoint(col, row) == 0) return true;
  const QString text = StringGrid1->Cells(col, row);
  const auto normal = NormalizeEntryCell(text);
  if (!normal) {
    warning_ = true;
    AskUser(MsgKind::WarningOk, EntryCellErrorText(text));
    warning_ = false;
    return false;
  }
  StringGrid1->setCell(col, row, *normal);
  if (!normal->isEmpty()) ToolButton2->setEnabled(true);
  return true;
}

bool TVomnu::NormalizeCurrentCell() {
  // What is typed in the cell editor counts as the cell's text.
  StringGrid1->setEditorMode(false);
  return normalizeCell(StringGrid1->Col(), StringGrid1->Row());
}

bool TVomnu::NormalizeAllCells() {
  StringGrid1->setEditorMode(false);
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    if (!normalizeCell(cell.col, cell.row)) return false;
  }
  return true;
}

void TVomnu::onKeyDown(int& key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      key = 0;
      if (!NormalizeCurrentCell()) return;
      if (StringGrid1->Cells(StringGrid1->Col(), StringGrid1->Row()).isEmpty()) return;
      const EntryCell next = NextEntryCell({StringGrid1->Col(), StringGrid1->Row()});
      StringGrid1->MoveTo(next.col, next.row);
      return;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!NormalizeCurrentCell()) key = 0;
      return;
    default:
      return;
  }
}

void TVomnu::CheckBox1Click() {
  DateTimePicker1->setEnabled(CheckBox1->isChecked());
  DateTimePicker2->setEnabled(CheckBox1->isChecked());
}

void TVomnu::ToolButton1Click() {
  StringGrid1->setEditorMode(false);
  EntryValues entry;
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    const QString text = StringGrid1->Cells(cell.col, cell.row);
    const auto value = EntryCellValue(text);
    if (!value) {
      StringGrid1->MoveTo(cell.col, cell.row);
      AskUser(MsgKind::WarningOk, EntryCellErrorText(text));
      return;
    }
    entry.Values[p] = *value;
  }
  entry.HighRange = RadioButton1->isChecked();
  if (CheckBox1->isChecked()) {
    const QTime t = DateTimePicker2->time();
    entry.VoDate =
        toOleDate(QDateTime(DateTimePicker1->date(), QTime(t.hour(), t.minute(), t.second())));
  }
  const QString memo = Memo1->toPlainText();
  entry.Memo = memo.isEmpty() ? QStringList() : memo.split(u'\n');
  if (newMode_) {
    SaveEntryToCurrentTest(entry);
  } else {
    QString error;
    if (!SaveEntryToStoredRow(kMainConnection, mkey_, entry, &error)) {
      AskUser(MsgKind::WarningOk, error);
      return;
    }
  }
  accept();
}

void TVomnu::ToolButton2Click() {
  if (!AskUser(MsgKind::QuestionYesNo, QStringLiteral("確定要清除視窗表格中的經絡能量數據嗎?")))
    return;
  fillGrid(TPointValues{});
  StringGrid1->MoveTo(1, 1);
  ToolButton2->setEnabled(false);
  StringGrid1->setFocus();
  RadioButton2->setChecked(true);
  CheckBox1->setChecked(true);
  CheckBox1Click();
  setPickersNow();
}

void TVomnu::ToolButton3Click() { reject(); }

}  // namespace ruto
