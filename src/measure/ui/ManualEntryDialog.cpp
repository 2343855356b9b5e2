#include "measure/ui/ManualEntryDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
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
#include "app/ui/TypedMemo.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "measure/PointTables.h"
#include "measure/ui/ValueGrid.h"
#include "widgets/SortingGrid.h"

namespace ruto {

ManualEntryDialog::ManualEntryDialog(int mkey, QWidget* parent)
    : FormShowOnce(parent), mkey_(mkey), newMode_(mkey == 0) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ManualEntryDialog"));
  setWindowTitle(QStringLiteral("經絡能量數據輸入"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  saveButton = addToolButton(toolBar, QStringLiteral("saveButton"), QStringLiteral("儲存數據"),
                             QStringLiteral("儲存能量數據"));
  clearButton = addToolButton(toolBar, QStringLiteral("clearButton"), QStringLiteral("清  除"),
                              QStringLiteral("清除表中數據資料"));
  toolBar->addSeparator();
  exitButton = addToolButton(toolBar, QStringLiteral("exitButton"), QStringLiteral("離  開"),
                             QStringLiteral("離開本系統"));
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(10, 4, 10, 4);
  root->addLayout(body, 1);
  titleLabel = new QLabel(this);
  titleLabel->setObjectName(QStringLiteral("titleLabel"));
  QFont titleFont = titleLabel->font();
  titleFont.setPointSize(titleFont.pointSize() + 4);
  titleFont.setBold(true);
  titleLabel->setFont(titleFont);
  titleLabel->setText(newMode_ ? QStringLiteral("經絡能量新增輸入值")
                               : QStringLiteral("經絡能量修改值"));
  auto* titles = new QHBoxLayout;
  titles->addWidget(titleLabel);
  titles->addStretch(1);
  titles->addWidget(new QLabel(QStringLiteral("Meridian Energy Values"), this));
  body->addLayout(titles);
  auto* limbs = new QHBoxLayout;
  limbs->addSpacing(60);
  limbs->addWidget(new QLabel(QStringLiteral("手部"), this), 1, Qt::AlignHCenter);
  limbs->addWidget(new QLabel(QStringLiteral("足部"), this), 1, Qt::AlignHCenter);
  body->addLayout(limbs);

  valueGrid = newValueGrid(this);
  titleLabel->setBuddy(valueGrid);
  valueGrid->setOptions(valueGrid->Options() | goEditing);
  for (int c = 1; c <= 12; ++c) valueGrid->setCell(c, 0, MeridianHeading(c));
  valueGrid->setCell(0, 1, SideHeading(1));
  valueGrid->setCell(0, 2, SideHeading(2));
  body->addWidget(valueGrid, 0, Qt::AlignHCenter);

  valueGrid->OnKeyPress = [](QChar& key) {
    if (!EntryKeyAccepted(key)) key = QChar();
  };
  valueGrid->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) { onKeyDown(key); };
  valueGrid->OnSelectCell = [this](int, int, bool& canSelect) {
    if (!warning_) canSelect = NormalizeCurrentCell();
  };
  valueGrid->OnClick = [this] {
    if (!warning_) normalizeClickedCell();
  };
  valueGrid->OnExit = [this] {
    if (!warning_) NormalizeAllCells();
  };

  auto* settings = new QHBoxLayout;
  auto* range = new QGroupBox(QStringLiteral("測量電位設定"), this);
  auto* rangeLayout = new QVBoxLayout(range);
  highRangeButton = new QRadioButton(QStringLiteral("高電位測量"), range);
  highRangeButton->setObjectName(QStringLiteral("highRangeButton"));
  standardRangeButton = new QRadioButton(QStringLiteral("標準電位測量"), range);
  standardRangeButton->setObjectName(QStringLiteral("standardRangeButton"));
  rangeLayout->addWidget(highRangeButton);
  rangeLayout->addWidget(standardRangeButton);
  settings->addWidget(range);

  auto* dates = new QGridLayout;
  dateCheck = new QCheckBox(QStringLiteral("測量日期時間"), this);
  dateCheck->setObjectName(QStringLiteral("dateCheck"));
  datePicker = new QDateEdit(this);
  datePicker->setObjectName(QStringLiteral("datePicker"));
  datePicker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  datePicker->setCalendarPopup(true);
  // The calendar names months and weekdays in the program's language, whatever the system's.
  datePicker->setLocale(QLocale(QLocale::Chinese, QLocale::Taiwan));
  // An earlier date would be stored as a value the table reads as undated.
  datePicker->setMinimumDate(FirstDatedDay());
  // The skinned drop button is wider than the plain one: room enough that the date never
  // runs under it.
  datePicker->setMinimumWidth(datePicker->sizeHint().width() + 12);
  timePicker = new QTimeEdit(this);
  timePicker->setObjectName(QStringLiteral("timePicker"));
  timePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  dates->addWidget(dateCheck, 0, 0, 1, 2);
  dates->addWidget(new QLabel(QStringLiteral("測量日期:"), this), 1, 0);
  dates->addWidget(datePicker, 1, 1);
  dates->addWidget(new QLabel(QStringLiteral("測量時間:"), this), 2, 0);
  dates->addWidget(timePicker, 2, 1);
  settings->addLayout(dates);

  auto* memoBox = new QGroupBox(QStringLiteral("症狀描述與處置"), this);
  auto* memoLayout = new QVBoxLayout(memoBox);
  noteEdit = new QPlainTextEdit(memoBox);
  noteEdit->setObjectName(QStringLiteral("noteEdit"));
  memoLayout->addWidget(noteEdit);
  settings->addWidget(memoBox, 1);
  body->addLayout(settings, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);
  resize(777, 507);

  connect(saveButton, &QToolButton::clicked, this, &ManualEntryDialog::saveEntry);
  connect(clearButton, &QToolButton::clicked, this, &ManualEntryDialog::clearValues);
  connect(exitButton, &QToolButton::clicked, this, &ManualEntryDialog::exitWindow);
  connect(dateCheck, &QCheckBox::toggled, this, &ManualEntryDialog::followDateChoice);
}

void ManualEntryDialog::fillGrid(const TPointValues& values) {
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    valueGrid->setCell(cell.col, cell.row, EntryValueText(values[p]));
  }
}

void ManualEntryDialog::setPickersNow() {
  const QDateTime now = QDateTime::currentDateTime();
  datePicker->setDate(now.date());
  timePicker->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

void ManualEntryDialog::FormShow() {
  clearButton->setEnabled(false);
  EntryValues entry;
  if (newMode_) {
    setWindowTitle(QStringLiteral("經絡能量數據新增輸入"));
    titleLabel->setText(QStringLiteral("經絡能量新增輸入值"));
    statusBar->showMessage(QStringLiteral(
        "新增一筆經絡能量資料。請輸入 0.1 - 200.0 的數值，不在這個範圍內將視為無效的輸入值。"));
    entry.Values = CurrentTest.Values;
    entry.VoDate = CurrentTest.VoDate;
    entry.HighRange = CurrentTest.VoVota;
    entry.Memo = CurrentTest.Memo1;
  } else {
    setWindowTitle(QStringLiteral("經絡能量數據修改"));
    titleLabel->setText(QStringLiteral("經絡能量修改值"));
    statusBar->showMessage(QStringLiteral(
        "修改原有資料。請輸入 0.1 - 200.0 的數值，不在這個範圍內將視為無效的輸入值。"));
    if (!ReadStoredEntry(kMainConnection, mkey_, &entry)) {
      AskUser(MsgKind::WarningOk, QStringLiteral("找不到這筆經絡能量數據，可能已被刪除。"));
      QTimer::singleShot(0, this, &QDialog::reject);
      return;
    }
  }
  noteEdit->setPlainText(entry.Memo.join(u'\n'));
  fillGrid(entry.Values);
  valueGrid->setFocus();
  valueGrid->MoveTo(1, 1);
  (entry.HighRange ? highRangeButton : standardRangeButton)->setChecked(true);
  // An undated test opened in new mode is offered the present date: saved, it is dated.
  dateOpened_ = entry.VoDate >= 4000.0 || !newMode_;
  if (entry.VoDate < 4000.0) {
    dateCheck->setChecked(newMode_);
    followDateChoice();
    setPickersNow();
  } else {
    dateCheck->setChecked(true);
    followDateChoice();
    const QDateTime dt = fromOleDate(entry.VoDate);
    datePicker->setDate(dt.date());
    timePicker->setTime(dt.time());
  }
  checkOpened_ = dateCheck->isChecked();
  dateShown_ = datePicker->date();
  timeShown_ = timePicker->time();
  opened_ = entry;
  bool any = false;
  for (int p = 1; p <= 24; ++p) any |= entry.Values[p] != 0;
  clearButton->setEnabled(any);
}

bool ManualEntryDialog::normalizeCell(int col, int row) {
  if (CellPoint(col, row) == 0) return true;
  const QString text = valueGrid->Cells(col, row);
  const auto normal = NormalizeEntryCell(text);
  if (!normal) {
    warning_ = true;
    AskUser(MsgKind::WarningOk, EntryCellErrorText(text));
    warning_ = false;
    return false;
  }
  valueGrid->setCell(col, row, *normal);
  if (!normal->isEmpty()) clearButton->setEnabled(true);
  return true;
}

bool ManualEntryDialog::NormalizeCurrentCell() {
  // What is typed in the cell editor counts as the cell's text.
  valueGrid->setEditorMode(false);
  return normalizeCell(valueGrid->Col(), valueGrid->Row());
}

// A click leaves an open cell editor open (a click on the current cell opens it): the cell
// is normalised in place, and a changed text is selected again so that typing replaces it.
void ManualEntryDialog::normalizeClickedCell() {
  const int col = valueGrid->Col();
  const int row = valueGrid->Row();
  const QString before = valueGrid->Cells(col, row);
  if (normalizeCell(col, row) && valueGrid->EditorMode() && valueGrid->Cells(col, row) != before)
    valueGrid->InplaceEditor()->selectAll();
}

bool ManualEntryDialog::NormalizeAllCells() {
  valueGrid->setEditorMode(false);
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    if (!normalizeCell(cell.col, cell.row)) return false;
  }
  return true;
}

void ManualEntryDialog::onKeyDown(int& key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      key = 0;
      if (!NormalizeCurrentCell()) return;
      if (valueGrid->Cells(valueGrid->Col(), valueGrid->Row()).isEmpty()) return;
      const EntryCell next = NextEntryCell({valueGrid->Col(), valueGrid->Row()});
      valueGrid->MoveTo(next.col, next.row);
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

bool ManualEntryDialog::showsOpenedDate() const {
  if (!dateOpened_ || dateCheck->isChecked() != checkOpened_) return false;
  return !checkOpened_ || (datePicker->date() == dateShown_ && timePicker->time() == timeShown_);
}

void ManualEntryDialog::followDateChoice() {
  datePicker->setEnabled(dateCheck->isChecked());
  timePicker->setEnabled(dateCheck->isChecked());
}

void ManualEntryDialog::saveEntry() {
  valueGrid->setEditorMode(false);
  EntryValues entry;
  for (int p = 1; p <= 24; ++p) {
    const GridCell cell = PointCell(p);
    const QString text = valueGrid->Cells(cell.col, cell.row);
    const auto value = EntrySavedValue(text, opened_.Values[p]);
    if (!value) {
      valueGrid->MoveTo(cell.col, cell.row);
      AskUser(MsgKind::WarningOk, EntryCellErrorText(text));
      return;
    }
    entry.Values[p] = *value;
  }
  entry.HighRange = highRangeButton->isChecked();
  if (showsOpenedDate()) {
    entry.VoDate = opened_.VoDate;
  } else if (dateCheck->isChecked()) {
    const QTime t = timePicker->time();
    entry.VoDate =
        toOleDate(QDateTime(datePicker->date(), QTime(t.hour(), t.minute(), t.second())));
  }
  entry.Memo = TypedMemoLines(noteEdit);
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

void ManualEntryDialog::clearValues() {
  if (!AskUser(MsgKind::QuestionYesNo, QStringLiteral("確定要清除視窗表格中的經絡能量數據嗎?")))
    return;
  // What is saved from here on is what the window now shows.
  opened_.Values = TPointValues{};
  dateOpened_ = false;
  fillGrid(TPointValues{});
  valueGrid->MoveTo(1, 1);
  clearButton->setEnabled(false);
  valueGrid->setFocus();
  standardRangeButton->setChecked(true);
  dateCheck->setChecked(true);
  followDateChoice();
  setPickersNow();
}

void ManualEntryDialog::exitWindow() { reject(); }

}  // namespace ruto
