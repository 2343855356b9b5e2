#include <gtest/gtest.h>
#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "records/ClientRecords.h"
#include "records/ClientSort.h"
#include "records/RecordsFixture.h"
#include "records/ui/ClientBrowser.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/ClientList.h"
#include "records/ui/RecordGrid.h"
#include "records/ui/StoreTestDialog.h"
#include "support/ModelCheck.h"

namespace {

void click(RecordGrid* grid, int row) {
  const QRect r = grid->visualRect(grid->model()->index(row, 1));
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, r.center(), grid->viewport()->mapToGlobal(r.center()), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &e);
  }
}

void focusIn(QWidget* w, Qt::FocusReason reason) {
  QFocusEvent e(QEvent::FocusIn, reason);
  QApplication::sendEvent(w, &e);
}

void pressEnter(QWidget* w) {
  QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(w, &e);
}

// Runs `action` on the editor the next store opens.
void onNextEditor(std::function<void(ClientEditor*)> action) {
  QTimer::singleShot(
      0, [action] { action(qobject_cast<ClientEditor*>(QApplication::activeModalWidget())); });
}

// The browser's buttons (enabled 1, else 0), then its current client and count label.
QString state(ClientBrowser& w) {
  QString s;
  for (QToolButton* b : {w.loadButton, w.editClientButton, w.deleteClientButton, w.editTestButton,
                         w.deleteTestButton})
    s += b->isEnabled() ? '1' : '0';
  return s + '|' + w.clients.field("CUSTNO").toString() + '|' + w.clientList->countLabel->text();
}

using RecordsWindowsTest = MainDatabaseTest;

TEST_F(RecordsWindowsTest, BrowserButtonsFollowFocusAndClicks) {
  addClient("A01", "甲");
  addClient("B02", "乙");
  addTest("A01", 10);
  addTest("A01", 20);
  CurrentClient.CustNo = "b02";
  ViewState.BrowseForCurrent = true;
  ClientBrowser w;
  w.show();
  EXPECT_EQ(state(w), "00000|B02|     2  -  [ 0 ]");  // whole number, any case

  click(w.clientGrid, 0);
  EXPECT_EQ(state(w), "01100|A01|     2  -  [ 2 ]");
  focusIn(w.clientGrid, Qt::ActiveWindowFocusReason);  // activation is no "Enter"
  EXPECT_EQ(state(w).left(5), "01100");
  focusIn(w.clientGrid, Qt::TabFocusReason);
  EXPECT_EQ(state(w).left(5), "01000");

  click(w.testGrid, 1);
  EXPECT_EQ(state(w).left(5), "10011");
  focusIn(w.testGrid, Qt::TabFocusReason);
  EXPECT_EQ(fields(state(w).left(5), w.testMemo->toPlainText()), "10010|a\nb");
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("records-browser"));

  w.loadButton->click();
  EXPECT_EQ(fields(w.result(), CurrentClient.CustNo, CurrentTest.Values[1]),
            fields(QDialog::Accepted, "A01", 21));
}

TEST_F(RecordsWindowsTest, BrowserSearchSortAndDeletes) {
  addClient("A01", "陳");
  addClient("A02", "林");
  addClient("C03", "王");
  const qint64 test = addTest("A02", 1);
  CurrentTest.MKey = static_cast<int>(test);
  ClientBrowser w;
  const ruto::test::ModelCheck check(w.clientGrid->model());  // through sort and delete
  w.show();
  for (const char* search : {"c", "x"}) {  // no match: the row stays
    w.clientList->searchEdit->setText(search);
    EXPECT_EQ(w.clients.field("CUSTNO").toString(), "C03") << search;
  }

  w.clientList->sortDirectionBox->setCurrentIndex(1);
  Q_EMIT w.clientList->sortDirectionBox->activated(1);
  // C03 first, still current.
  EXPECT_EQ(fields(ViewState.ClientSortKey, w.clients.position(), w.clients.field("CUSTNO")),
            "-1|0|C03");

  w.clients.locate("CUSTNO", "A02");
  w.clientGrid->showCurrent();
  click(w.testGrid, 0);
  for (const bool yes : {false, true}) {
    answer = yes;
    w.deleteTestButton->click();
    EXPECT_EQ(fields(counts(), CurrentTest.MKey), yes ? "3 0|0" : fields("3 1", test));
  }
  EXPECT_EQ(asked.last(), "2:確定要刪除這筆經絡能量數據嗎?");

  click(w.clientGrid, w.clients.position());
  w.deleteClientButton->click();
  EXPECT_EQ(fields(counts(), w.clientList->countLabel->text().left(6)), "2 0|     2");
  w.exitButton->click();
  EXPECT_FALSE(ViewState.TestLoaded);
}

// The store window chooses only a client it shows: an unknown current client leaves nothing
// chosen (not even an earlier choice) until a row is double-clicked and the store confirmed.
TEST_F(RecordsWindowsTest, StoreChoosesOnlyAClientItShows) {
  addClient("A01", "甲", true);
  ChosenClient.CustNo = "EARLIER";
  CurrentClient.CustNo = "GONE";
  CurrentClient.Sex = false;
  {
    StoreTestDialog w;
    w.show();
    EXPECT_EQ(fields(w.saveButton->isEnabled(), ChosenClient.CustNo, w.sexText->text(),
                     w.custNoText->text()),
              "0||女性|");
    for (const bool yes : {false, true}) {
      answer = yes;
      w.saveUnderClickedClient();
      EXPECT_EQ(fields(counts(), CurrentClient.CustNo), yes ? "1 1|A01" : "1 0|GONE");
    }
    EXPECT_EQ(asked.last(), "1:您要將檢測資料存於這個受測者資料中嗎？");
  }
  // A01 is now the current client: the window opens with it chosen and stores at once.
  StoreTestDialog w;
  w.show();
  EXPECT_EQ(fields(w.custNoText->text(), w.sexText->text()), "A01|男性");
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("records-store"));
  // However narrow the window, the count label keeps the room its widest text needs.
  w.resize(1, 1);
  QLabel* label = w.clientList->countLabel;
  label->setText(RecordCountText(999999, 999999));
  w.layout()->activate();
  EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()));
  EXPECT_LE(label->mapTo(&w, QPoint(label->width(), 0)).x(), w.width());
  w.saveButton->click();
  EXPECT_EQ(fields(w.result(), counts()), fields(QDialog::Accepted, "1 2"));
}

TEST_F(RecordsWindowsTest, StoreAddsClientThenNoKeepsItChosen) {
  StoreTestDialog w;
  w.show();
  onNextEditor([](ClientEditor* editor) {
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(fields(editor->windowTitle(), editor->saveButton->isEnabled()), "受測者資料新增|0");
    editor->custNoEdit->setText(" N9 ");
    editor->nameEdit->setText("新人");
    ruto::test::savePng(editor->grab().toImage(), QStringLiteral("records-editor-new"));
    editor->saveButton->click();
  });
  answer = false;
  w.addClient();
  EXPECT_EQ(fields(counts(), w.isVisible(), w.saveButton->isEnabled(), ChosenClient.CustNo,
                   w.nameText->text()),
            "1 0|1|1|N9|新人");

  // A cancelled editor returns to the chosen client.
  onNextEditor([](ClientEditor* editor) { editor->exitButton->click(); });
  w.addClient();
  EXPECT_EQ(fields(ViewState.ClientNewMode, w.saveButton->isEnabled()), "0|1");
  w.saveButton->click();
  EXPECT_EQ(counts(), "1 1");
}

TEST_F(RecordsWindowsTest, EditorEnterChainDuplicateAndModifyMode) {
  addClient("AB", "甲");
  RecordSet clients(kMainConnection, "VOCUST");
  ASSERT_TRUE(clients.open());
  ViewState.ClientNewMode = true;
  {
    ClientEditor e(&clients);
    e.show();
    e.custNoEdit->setFocus();
    // Enter walks on and ticks the birthday; on the untouched date it clears it again.
    for (const auto& [edit, ticked] : {std::pair<QWidget*, const char*>{e.custNoEdit, "0|0"},
                                       {e.nameEdit, "1|1"},
                                       {e.birthdayEdit, "0|0"}}) {
      pressEnter(edit);
      EXPECT_EQ(fields(e.birthdayBox->isChecked(), e.birthdayEdit->isEnabled()), ticked);
    }
    e.custNoEdit->setText("ab");
    e.save();
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(asked.last(),
              "5:您所輸入的受測者編號已經與姓名為 [ 甲 ] 重覆!!請重新指定另一個編號。");
    e.close();  // by the frame after a refusal
    EXPECT_FALSE(ViewState.ClientNewMode);
  }
  // Modify mode shows the row, keeps the number and stores the name as typed.
  ClientEditor e(&clients);
  e.show();
  EXPECT_EQ(fields(e.windowTitle(), e.custNoEdit->isEnabled(), e.nameEdit->text(),
                   e.birthdayBox->isChecked()),
            "受測者資料修改|0|甲|0");
  e.nameEdit->setText("乙 ");
  e.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT CUSTNO, NAME, COUNT(*) FROM VOCUST"),
            "AB|乙 |1");
}

TEST_F(RecordsWindowsTest, EditorSaveThatFailsSaysSoWithTheReasonBelow) {
  addClient("AB", "甲");
  RecordSet clients(kMainConnection, "VOCUST");
  ASSERT_TRUE(clients.open());
  ASSERT_TRUE(dbtest::exec(kMainConnection, "PRAGMA query_only = ON"));
  for (const bool newMode : {true, false}) {
    SCOPED_TRACE(newMode);
    ViewState.ClientNewMode = newMode;
    ClientEditor e(&clients);
    e.show();
    e.custNoEdit->setText("CD");
    e.nameEdit->setText("乙");
    e.saveButton->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(asked.last().section('\n', 0, 0), "5:" + kClientSaveFailedText);
    EXPECT_TRUE(asked.last().section('\n', 1).contains("readonly")) << asked.last().toStdString();
  }
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT CUSTNO, NAME, COUNT(*) FROM VOCUST"),
            "AB|甲|1");
}

TEST(PointValueTextTest, FormatsLikeHashPattern) {
  const std::pair<QVariant, const char*> cases[] = {
      {0.0, ""},     {5.0, "5"},      {12.34, "12.3"},  {0.5, ".5"},
      {-0.5, "-.5"}, {199.96, "200"}, {QVariant(), ""}, {42.25, "42.3"},
  };
  for (const auto& [v, text] : cases) EXPECT_EQ(PointValueText(v), QString::fromUtf8(text));
}

}  // namespace
