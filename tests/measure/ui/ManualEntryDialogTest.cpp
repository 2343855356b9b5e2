#include <gtest/gtest.h>
#include <QTest>
#include <QtWidgets>

#include "UiChecks.h"
#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/RecordSet.h"
#include "app/SharedRecords.h"
#include "measure/ManualEntry.h"
#include "measure/PointTables.h"
#include "measure/ui/ManualEntryDialog.h"
#include "widgets/SortingGrid.h"

namespace {

using namespace ruto::test;

// Keys as the user types them: to the cell editor once it is open, else to the grid.
void type(TSortingGrid* grid, const QString& keys) {
  for (QChar c : keys) {
    QWidget* target = grid->EditorMode() ? static_cast<QWidget*>(grid->InplaceEditor()) : grid;
    QTest::keyClick(target, c.toLatin1());
  }
}

class ManualEntryDialogTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kMainConnection, QStringLiteral("ruto4.mdb"));
    InitCompFactors();
    CurrentTest = {};
    for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = p;
    CurrentTest.VoDate = 45000.5;
    CurrentTest.MKey = 3;
    SetAskUserResponder([this](MsgKind, const QString& text) {
      asked << text;
      return true;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    dbtest::Fixture::TearDown();
  }
  QString cell(ManualEntryDialog& w, int point) {
    const GridCell c = PointCell(point);
    return w.valueGrid->Cells(c.col, c.row);
  }
  static void click(ManualEntryDialog& w, int col, int row) {
    const TRect r = w.valueGrid->CellRect(col, row);
    const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QTest::mouseClick(w.valueGrid->viewport(), Qt::LeftButton, {}, at);
  }
  static QPoint selected(ManualEntryDialog& w) { return {w.valueGrid->Col(), w.valueGrid->Row()}; }
  QStringList asked;
};

TEST_F(ManualEntryDialogTest, TypingNormalisesMovesAndSaves) {
  ManualEntryDialog w(0);
  w.show();
  EXPECT_EQ(w.windowTitle(), "經絡能量數據新增輸入");
  EXPECT_EQ(cell(w, 1), "1.0");
  EXPECT_EQ(cell(w, 13), "13.0");
  EXPECT_EQ(w.valueGrid->Col(), 1);
  EXPECT_TRUE(w.dateCheck->isChecked());
  EXPECT_TRUE(w.clearButton->isEnabled());

  type(w.valueGrid, "2a5x0\r");  // letters never reach the cell
  EXPECT_EQ(w.valueGrid->Cells(1, 1), "200.0");
  EXPECT_EQ(w.valueGrid->Col(), 2) << "Enter moves on";
  type(w.valueGrid, "0.05\r");  // emptied, and the selection stays
  EXPECT_EQ(w.valueGrid->Cells(2, 1), "");
  EXPECT_EQ(w.valueGrid->Col(), 2);
  type(w.valueGrid, "1-2");
  {  // another window activated mid-entry: no exit, no warning, editor and focus kept
    QApplication::setActiveWindow(&w);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&w);
  }
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(w.focusWidget(), w.valueGrid->InplaceEditor());
  type(w.valueGrid, "\r");
  EXPECT_EQ(w.valueGrid->Cells(2, 1), "1-2");
  EXPECT_EQ(w.valueGrid->Col(), 2);
  ASSERT_EQ(asked.size(), 1);
  w.saveEntry();  // nothing is written while a cell holds no number
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(CurrentTest.Values[1], 1);
  type(w.valueGrid, "\b\b\b7\r");

  w.valueGrid->MoveTo(12, 1);
  type(w.valueGrid, "9\r");
  EXPECT_EQ(selected(w), QPoint(1, 2));
  w.valueGrid->MoveTo(12, 2);
  type(w.valueGrid, "8\r");
  EXPECT_EQ(selected(w), QPoint(12, 2));
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("manual-entry"));

  w.noteEdit->setFocus();
  QTest::keyClick(w.noteEdit, Qt::Key_Tab);  // moves on, stores no TAB
  EXPECT_FALSE(w.noteEdit->hasFocus());
  w.dateCheck->setChecked(false);
  w.saveButton->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  const TCurrentTest& t = CurrentTest;
  EXPECT_EQ(t.Values[1], 200);
  EXPECT_EQ(t.Values[2], 7);
  EXPECT_EQ(t.Values[7], 7) << "only passed through";
  EXPECT_EQ(t.Values[18], 9) << "cell (12, 1)";
  EXPECT_EQ(t.VoDate, 0) << "no date";
  EXPECT_EQ(t.MKey, 0) << "no stored row";
  EXPECT_TRUE(t.Memo1.isEmpty());
  EXPECT_DOUBLE_EQ(CurrentTest.CompValues[1], 200 * 0.8541);
}

TEST_F(ManualEntryDialogTest, ModifyModeWritesOnlyTheStoredRow) {
  RecordSet(kMainConnection, "VOCUST").insert({{"CUSTNO", "A"}});
  QVariantMap row{{"CUSTNO", "A"}, {"VODATE", 0.0}, {"VOVOTA", 1}, {"MEMO1", "舊\r\n"}};
  for (int p = 1; p <= 24; ++p) row.insert(QStringLiteral("VO%1").arg(p), 5.0);
  const int key = static_cast<int>(RecordSet(kMainConnection, "VODATA").insert(row));
  const TPointValues before = CurrentTest.Values;
  ManualEntryDialog w(key);
  w.show();
  EXPECT_EQ(w.windowTitle(), "經絡能量數據修改");
  EXPECT_EQ(w.noteEdit->toPlainText(), "舊");
  // Undated: pickers off until ticked; the high range.
  EXPECT_FALSE(w.dateCheck->isChecked());
  EXPECT_FALSE(w.datePicker->isEnabled());
  EXPECT_TRUE(w.highRangeButton->isChecked());
  w.datePicker->setDate(QDate(1905, 3, 4));  // a day the table would read as undated
  EXPECT_EQ(w.datePicker->date(), QDate(1910, 12, 14));
  w.datePicker->calendarWidget()->setCurrentPage(1982, 2);
  EXPECT_EQ(
      w.datePicker->calendarWidget()->findChild<QToolButton*>("qt_calendar_monthbutton")->text(),
      "2月");
  type(w.valueGrid, "66\r");
  w.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT VO1, VO2, VODATE, VOVOTA FROM VODATA"),
            "66|5|0|1");
  EXPECT_EQ(CurrentTest.Values, before);
  EXPECT_EQ(CurrentTest.MKey, 3);
}

// Shown and saved untouched, a test keeps every stored digit, its date and (in new mode) its
// key; an edited cell is stored as typed.
TEST_F(ManualEntryDialogTest, AnUntouchedSaveKeepsTheStoredValues) {
  CurrentTest.Values.fill(21.4567);
  CurrentTest.VoDate = 45000.123456;
  ManualEntryDialog entry(0);
  entry.show();
  click(entry, 2, 1);  // a visited cell is normalised: still untouched
  entry.saveButton->click();
  EXPECT_EQ(CurrentTest.Values[2], 21.4567);
  EXPECT_EQ(CurrentTest.VoDate, 45000.123456);
  EXPECT_EQ(CurrentTest.MKey, 3) << "still the stored test: the note goes to its row";

  RecordSet(kMainConnection, "VOCUST").insert({{"CUSTNO", "A"}});
  const int key = static_cast<int>(
      RecordSet(kMainConnection, "VODATA")
          .insert({{"CUSTNO", "A"}, {"VODATE", 45000.123456}, {"VO1", 21.4567}, {"VO2", 21.4567}}));
  ManualEntryDialog modify(key);
  modify.show();
  type(modify.valueGrid, "7\r");
  modify.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT VO1, VO2, VODATE FROM VODATA"),
            "7|21.4567|45000.123456");
}

// A click normalises the cell it leaves current ("0.0" is emptied); on the current cell it
// leaves the editor open.
TEST_F(ManualEntryDialogTest, AClickNormalisesTheCurrentCell) {
  CurrentTest.Values[7] = 0.04;  // cell (1, 2)
  ManualEntryDialog w(0);
  w.show();
  EXPECT_EQ(w.valueGrid->Cells(1, 2), "0.0");
  click(w, 1, 2);
  EXPECT_EQ(w.valueGrid->Cells(1, 2), "");
  click(w, 2, 2);
  click(w, 2, 2);
  EXPECT_EQ(w.valueGrid->Cells(2, 2), "  8.0");
  EXPECT_TRUE(w.valueGrid->EditorMode());
}

TEST_F(ManualEntryDialogTest, SaveThatFailsSaysSoWithTheReasonBelow) {
  RecordSet(kMainConnection, "VOCUST").insert({{"CUSTNO", "A"}});
  const int key = static_cast<int>(
      RecordSet(kMainConnection, "VODATA").insert({{"CUSTNO", "A"}, {"VO1", 5.0}}));
  ASSERT_TRUE(dbtest::exec(kMainConnection, "PRAGMA query_only = ON"));
  ManualEntryDialog w(key);
  w.show();
  type(w.valueGrid, "66\r");
  w.saveButton->click();
  ASSERT_FALSE(asked.isEmpty());
  EXPECT_EQ(asked.last().section('\n', 0, 0), kEntrySaveFailedText);
  EXPECT_TRUE(asked.last().section('\n', 1).contains("readonly")) << asked.last().toStdString();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT VO1 FROM VODATA"), "5");
}

TEST_F(ManualEntryDialogTest, ClearEmptiesGridAfterQuestion) {
  ManualEntryDialog w(0);
  w.show();
  w.clearButton->click();
  EXPECT_EQ(asked.last(), "確定要清除視窗表格中的經絡能量數據嗎?");
  EXPECT_TRUE(cell(w, 5).isEmpty());
  EXPECT_FALSE(w.clearButton->isEnabled());
  EXPECT_TRUE(w.standardRangeButton->isChecked());
  EXPECT_EQ(CurrentTest.Values[5], 5) << "nothing stored before save";
}

}  // namespace
