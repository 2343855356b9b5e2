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
  // The text of cell (`col`, 1) and the column selected.
  static QString shown(ManualEntryDialog& w, int col) {
    return w.valueGrid->Cells(col, 1) + " @" + QString::number(w.valueGrid->Col());
  }
  static QPoint selected(ManualEntryDialog& w) { return {w.valueGrid->Col(), w.valueGrid->Row()}; }
  QStringList asked;
};

TEST_F(ManualEntryDialogTest, TypingNormalisesMovesAndSaves) {
  ManualEntryDialog w(0);
  w.show();
  EXPECT_EQ(fields(w.windowTitle(), cell(w, 1), cell(w, 13), shown(w, 1)),
            "經絡能量數據新增輸入|1.0|13.0|1.0 @1");
  EXPECT_TRUE(w.dateCheck->isChecked() && w.clearButton->isEnabled());

  type(w.valueGrid, "2a5x0\r");  // letters never reach the cell
  EXPECT_EQ(shown(w, 1), "200.0 @2");
  type(w.valueGrid, "0.05\r");  // emptied, and the selection stays
  EXPECT_EQ(shown(w, 2), " @2");
  type(w.valueGrid, "1-2\r");
  EXPECT_EQ(shown(w, 2), "1-2 @2");
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

  w.dateCheck->setChecked(false);
  w.saveButton->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  // Points 1, 2, 7 (only passed through), 18 (cell (12, 1)); no date, no stored row.
  const TCurrentTest& t = CurrentTest;
  EXPECT_EQ(numbers(t.Values[1], t.Values[2], t.Values[7], t.Values[18], t.VoDate, t.MKey),
            "200 7 7 9 0 0");
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
  EXPECT_EQ(w.windowTitle() + w.noteEdit->toPlainText(), "經絡能量數據修改舊");
  // Undated: pickers off until ticked; the high range.
  EXPECT_EQ(
      bits({w.dateCheck->isChecked(), w.datePicker->isEnabled(), w.highRangeButton->isChecked()}),
      "001");
  type(w.valueGrid, "66\r");
  w.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT VO1, VO2, VODATE, VOVOTA FROM VODATA"),
            "66|5|0|1");
  EXPECT_EQ(CurrentTest.Values, before);
  EXPECT_EQ(CurrentTest.MKey, 3);
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
  // Cell 5 emptied, clear disabled, the standard range, nothing stored before save.
  EXPECT_EQ(bits({cell(w, 5).isEmpty(), w.clearButton->isEnabled(),
                  w.standardRangeButton->isChecked(), CurrentTest.Values[5] == 5}),
            "1011");
}

}  // namespace
