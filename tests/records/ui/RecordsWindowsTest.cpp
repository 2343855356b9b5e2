#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTest>
#include <QtWidgets>
#include <optional>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/SqliteAccess.h"
#include "app/WindowOpeners.h"
#include "base/DateTime.h"
#include "records/ClientRecords.h"
#include "records/ClientSort.h"
#include "records/RecordsFixture.h"
#include "records/ui/ClientBrowser.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/ClientList.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/ProgramList.h"
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

// Runs `action` on the modal window of kind W as soon as it is shown on top: a window that
// has just been closed may still be on top when the timer first fires. Nothing runs once
// `context` is gone.
template <class W>
void whenModal(QObject* context, std::function<void(W*)> action, int tries = 500) {
  QTimer::singleShot(0, context, [context, action, tries] {
    auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
    if (w && w->isVisible())
      action(w);
    else if (tries > 0)
      whenModal<W>(context, action, tries - 1);
    else
      ADD_FAILURE() << "no " << W::staticMetaObject.className() << " came on top";
  });
}

// Counts the reads of VOCUST's rows on the main connection while it lives.
struct ClientTableReads {
  ClientTableReads() { sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &traced, this); }
  ~ClientTableReads() { sqlite3_trace_v2(db, 0, nullptr, nullptr); }
  static int traced(unsigned, void* self, void*, void* sql) {
    const QString text = QString::fromUtf8(static_cast<const char*>(sql));
    if (text.startsWith(R"(SELECT ")") && text.endsWith(R"( FROM "VOCUST")"))
      ++static_cast<ClientTableReads*>(self)->count;
    return 0;
  }
  sqlite3* db = SqliteHandle(QSqlDatabase::database(kMainConnection));
  int count = 0;
};

// The browser's toolbar buttons, 1 for enabled, else 0.
QString buttons(ClientBrowser& w) {
  QString s;
  for (QToolButton* b : {w.loadButton, w.editClientButton, w.deleteClientButton, w.editTestButton,
                         w.deleteTestButton})
    s += b->isEnabled() ? '1' : '0';
  return s;
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
  EXPECT_EQ(buttons(w), "00000");
  EXPECT_EQ(w.clients.field("CUSTNO").toString(), "B02");  // whole number, any case
  EXPECT_EQ(w.clientList->countLabel->text(), "     2  -  [ 0 ]");

  click(w.clientGrid, 0);
  EXPECT_EQ(buttons(w), "01100");
  EXPECT_EQ(w.clients.field("CUSTNO").toString(), "A01");
  EXPECT_EQ(w.clientList->countLabel->text(), "     2  -  [ 2 ]");
  focusIn(w.clientGrid, Qt::ActiveWindowFocusReason);  // activation is no "Enter"
  EXPECT_EQ(buttons(w), "01100");
  focusIn(w.clientGrid, Qt::TabFocusReason);
  EXPECT_EQ(buttons(w), "01000");

  click(w.testGrid, 1);
  EXPECT_EQ(buttons(w), "10011");
  focusIn(w.testGrid, Qt::TabFocusReason);
  EXPECT_EQ(buttons(w), "10010");
  EXPECT_EQ(w.testMemo->toPlainText(), "a\nb");
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("records-browser"));

  w.loadButton->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_EQ(CurrentClient.CustNo, "A01");
  EXPECT_DOUBLE_EQ(CurrentTest.Values[1], 21);
}

// 客戶修改 and 修改資料 hide the browser for their window; shown again, it runs its show steps
// once more and then returns to the client it left (not to the current client), focusing the
// list the command came from. The client table is read once for the return.
TEST_F(RecordsWindowsTest, BrowserShownAgainAfterEachChildWindow) {
  addClient("A01", "甲");
  addClient("B02", "乙");
  addTest("A01", 10);
  const qint64 test = addTest("B02", 20);
  CurrentClient.CustNo = "A01";
  ViewState.BrowseForCurrent = true;
  std::int32_t entryKey = 0;
  std::optional<ClientTableReads> reads;  // from the child's end
  WindowOpeners().manualEntry = [&](QWidget*, std::int32_t mkey) {
    entryKey = mkey;
    reads.emplace();
  };
  for (const bool onTest : {false, true}) {
    SCOPED_TRACE(onTest ? "修改資料" : "客戶修改");
    ClientBrowser w;
    const ruto::test::ModelCheck check(w.clientGrid->model());  // through the show steps again
    bool backOnTop = false;
    whenModal<ClientBrowser>(&w, [&](ClientBrowser*) {
      w.clientList->searchEdit->setText("b");
      click(w.clientGrid, w.clients.position());
      if (onTest)
        click(w.testGrid, 0);
      else
        whenModal<ClientEditor>(&w, [&](ClientEditor* editor) {
          EXPECT_FALSE(w.isVisible());
          editor->telEdit->setText("555");
          editor->saveButton->click();
          reads.emplace();
        });
      whenModal<ClientBrowser>(&w, [&](ClientBrowser*) {
        backOnTop = true;
        EXPECT_EQ(buttons(w), "00000");
        EXPECT_EQ(w.clientList->searchEdit->text(), "");
        EXPECT_EQ(w.clients.field("CUSTNO").toString(), "B02");
        EXPECT_EQ(w.clientList->countLabel->text(), "     2  -  [ 1 ]");
        EXPECT_EQ(w.focusWidget(), onTest ? static_cast<QWidget*>(w.testGrid) : w.clientGrid);
        EXPECT_EQ(reads ? reads->count : -1, 1);
        reads.reset();
        w.exitButton->click();
      });
      (onTest ? w.editTestButton : w.editClientButton)->click();
    });
    w.exec();
    EXPECT_TRUE(backOnTop);
    if (onTest) {
      EXPECT_EQ(entryKey, test);
      EXPECT_EQ(w.tests.bookmark(), test);
    } else {
      EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT TEL FROM VOCUST WHERE CUSTNO = 'B02'"),
                "555");
    }
  }
  WindowOpeners().manualEntry = {};
}

// A double click edits the client over the browser, which stays as it was: no show steps run.
TEST_F(RecordsWindowsTest, BrowserDoubleClickEditsTheClientInPlace) {
  addClient("A01", "甲");
  addClient("B02", "乙");
  ViewState.BrowseForCurrent = true;
  ClientBrowser w;
  bool backOnTop = false;
  whenModal<ClientBrowser>(&w, [&](ClientBrowser*) {
    w.clientList->searchEdit->setText("b");
    whenModal<ClientEditor>(&w, [&](ClientEditor* editor) {
      EXPECT_TRUE(w.isVisible());
      editor->nameEdit->setText("丙");
      editor->saveButton->click();
      whenModal<ClientBrowser>(&w, [&](ClientBrowser*) {
        backOnTop = true;
        EXPECT_EQ(buttons(w), "01100");
        EXPECT_EQ(w.clientList->searchEdit->text(), "b");
        EXPECT_EQ(w.clients.field("NAME").toString(), "丙");
        EXPECT_EQ(w.focusWidget(), w.clientGrid);
        w.exitButton->click();
      });
    });
    const QRect cell = w.clientGrid->visualRect(w.clientGrid->model()->index(1, 1));
    QTest::mouseDClick(w.clientGrid->viewport(), Qt::LeftButton, {}, cell.center());
  });
  w.exec();
  EXPECT_TRUE(backOnTop);
}

// A delete takes the highlighted row: a click off the rows, a Ctrl+click on the highlighted
// row or Ctrl+Space leave the current row highlighted.
TEST_F(RecordsWindowsTest, BrowserKeepsTheCurrentRowHighlighted) {
  addClient("A1", "甲");
  addClient("A2", "乙");
  const std::pair<const char*, std::function<void(RecordGrid*)>> ways[] = {
      {"click under the rows",
       [](RecordGrid* g) {
         QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                           QPoint(5, g->viewport()->height() - 5));
       }},
      {"Ctrl+click",
       [](RecordGrid* g) {
         QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ControlModifier,
                           g->visualRect(g->model()->index(1, 1)).center());
       }},
      {"Ctrl+Space", [](RecordGrid* g) { QTest::keyClick(g, Qt::Key_Space, Qt::ControlModifier); }},
  };
  for (const auto& [way, act] : ways) {
    SCOPED_TRACE(way);
    ClientBrowser w;
    w.show();
    click(w.clientGrid, 1);
    act(w.clientGrid);
    EXPECT_TRUE(w.clientGrid->selectionModel()->isRowSelected(1, {}));
    EXPECT_EQ(w.clientGrid->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(w.clients.field("CUSTNO").toString(), "A2");
  }
}

// The test list's double click loads wherever it lands, titles and row marks included: on an
// empty list the browser closes without loading.
TEST_F(RecordsWindowsTest, BrowserDoubleClickOnAnEmptyTestListCloses) {
  addClient("A1", "甲");
  ViewState.BrowseForCurrent = true;
  CurrentClient.CustNo = "A1";
  for (const int place : {0, 1, 2}) {
    SCOPED_TRACE(place);
    ClientBrowser w;
    w.show();
    QWidget* target[] = {w.testGrid->viewport(), w.testGrid->horizontalHeader()->viewport(),
                         w.testGrid->verticalHeader()->viewport()};
    QTest::mouseDClick(target[place], Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentTest.MKey, 0);
  }
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
  EXPECT_EQ(ViewState.ClientSortKey, -1);
  EXPECT_EQ(w.clients.position(), 0);  // C03 first, still current
  EXPECT_EQ(w.clients.field("CUSTNO").toString(), "C03");

  w.clients.locate("CUSTNO", "A02");
  w.clientGrid->showCurrent();
  click(w.testGrid, 0);
  answer = false;
  w.deleteTestButton->click();
  EXPECT_EQ(rowsIn("VODATA"), 1);
  EXPECT_EQ(CurrentTest.MKey, test);
  answer = true;
  w.deleteTestButton->click();
  EXPECT_EQ(rowsIn("VODATA"), 0);
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_EQ(rowsIn("VOCUST"), 3);
  EXPECT_EQ(asked.last(), "2:確定要刪除這筆經絡能量數據嗎?");

  click(w.clientGrid, w.clients.position());
  w.deleteClientButton->click();
  EXPECT_EQ(rowsIn("VOCUST"), 2);
  EXPECT_EQ(rowsIn("VODATA"), 0);
  EXPECT_EQ(w.clientList->countLabel->text().left(6), "     2");
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
    EXPECT_FALSE(w.saveButton->isEnabled());
    EXPECT_EQ(ChosenClient.CustNo, "");
    EXPECT_EQ(w.sexText->text(), "女性");
    EXPECT_EQ(w.custNoText->text(), "");

    answer = false;
    w.saveUnderClickedClient();
    EXPECT_EQ(rowsIn("VODATA"), 0);
    EXPECT_EQ(CurrentClient.CustNo, "GONE");
    answer = true;
    w.saveUnderClickedClient();
    EXPECT_EQ(rowsIn("VODATA"), 1);
    EXPECT_EQ(CurrentClient.CustNo, "A01");
    EXPECT_EQ(rowsIn("VOCUST"), 1);
    EXPECT_EQ(asked.last(), "1:您要將檢測資料存於這個受測者資料中嗎？");
  }
  // A01 is now the current client: the window opens with it chosen and stores at once.
  StoreTestDialog w;
  w.show();
  EXPECT_TRUE(w.saveButton->isEnabled());
  EXPECT_EQ(w.custNoText->text(), "A01");
  EXPECT_EQ(w.sexText->text(), "男性");
  ruto::test::savePng(w.grab().toImage(), QStringLiteral("records-store"));
  // However narrow the window, the count label keeps the room its widest text needs.
  w.resize(1, 1);
  QLabel* label = w.clientList->countLabel;
  label->setText(RecordCountText(999999, 999999));
  w.layout()->activate();
  EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()));
  EXPECT_LE(label->mapTo(&w, QPoint(label->width(), 0)).x(), w.width());
  w.saveButton->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 2);
  EXPECT_GT(CurrentTest.MKey, 0);
}

TEST_F(RecordsWindowsTest, StoreAddsClientThenNoKeepsItChosen) {
  StoreTestDialog w;
  w.show();
  onNextEditor([](ClientEditor* editor) {
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "受測者資料新增");
    EXPECT_FALSE(editor->saveButton->isEnabled());
    editor->custNoEdit->setText(" N9 ");
    editor->nameEdit->setText("新人");
    ruto::test::savePng(editor->grab().toImage(), QStringLiteral("records-editor-new"));
    editor->saveButton->click();
  });
  answer = false;
  w.addClient();
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 0);
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.saveButton->isEnabled());
  EXPECT_EQ(ChosenClient.CustNo, "N9");
  EXPECT_EQ(w.nameText->text(), "新人");

  // A cancelled editor returns to the chosen client.
  onNextEditor([](ClientEditor* editor) { editor->exitButton->click(); });
  w.addClient();
  EXPECT_FALSE(ViewState.ClientNewMode);
  EXPECT_TRUE(w.saveButton->isEnabled());
  w.saveButton->click();
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 1);
}

TEST_F(RecordsWindowsTest, EditorEnterChainDuplicateAndModifyMode) {
  addClient("AB", "甲");
  ASSERT_TRUE(dbtest::exec(kMainConnection, "UPDATE VOCUST SET MEMO = ?", {"abc\nx"}));
  RecordSet clients(kMainConnection, "VOCUST");
  ASSERT_TRUE(clients.open());
  ViewState.ClientNewMode = true;
  {
    ClientEditor e(&clients);
    e.show();
    e.custNoEdit->setFocus();
    // Enter walks on and ticks the birthday; on the untouched date it clears it again.
    pressEnter(e.custNoEdit);
    EXPECT_FALSE(e.birthdayBox->isChecked());
    EXPECT_FALSE(e.birthdayEdit->isEnabled());
    pressEnter(e.nameEdit);
    EXPECT_TRUE(e.birthdayBox->isChecked());
    EXPECT_TRUE(e.birthdayEdit->isEnabled());
    pressEnter(e.birthdayEdit);  // date untouched: no birthday
    EXPECT_FALSE(e.birthdayBox->isChecked());
    EXPECT_FALSE(e.birthdayEdit->isEnabled());
    e.custNoEdit->setText("ab");
    e.save();
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(asked.last(),
              "5:您所輸入的受測者編號已經與姓名為 [ 甲 ] 重覆!!請重新指定另一個編號。");
    e.close();  // by the frame after a refusal
    EXPECT_FALSE(ViewState.ClientNewMode);
    EXPECT_EQ(rowsIn("VOCUST"), 1);
  }
  // Modify mode shows the row, keeps the number and stores the name as typed.
  ClientEditor e(&clients);
  e.show();
  EXPECT_EQ(e.windowTitle(), "受測者資料修改");
  EXPECT_FALSE(e.custNoEdit->isEnabled());
  EXPECT_EQ(e.nameEdit->text(), "甲");
  EXPECT_FALSE(e.birthdayBox->isChecked());
  e.nameEdit->setText("乙 ");
  e.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT CUSTNO, NAME FROM VOCUST"), "AB|乙 ");
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_FALSE(ViewState.ClientNewMode);
  // The memo is rewritten only when it was edited, and then with CR LF line ends.
  const auto memo = [] { return dbtest::scalar(kMainConnection, "SELECT MEMO FROM VOCUST"); };
  EXPECT_EQ(memo(), "abc\nx") << "not edited";
  // Types "y" at the memo's end and saves.
  const auto appendToMemo = [&clients] {
    ClientEditor edited(&clients);
    edited.show();
    edited.memoEdit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edited.memoEdit, "y");
    edited.saveButton->click();
  };
  appendToMemo();
  EXPECT_EQ(memo(), "abc\r\nxy\r\n");
  // An edited memo keeps its no-break spaces and line separators.
  ASSERT_TRUE(
      dbtest::exec(kMainConnection, "UPDATE VOCUST SET MEMO = ?", {"血壓\u00A0120\u2028x\r\n"}));
  ASSERT_TRUE(clients.refresh());
  appendToMemo();
  EXPECT_EQ(memo(), "血壓\u00A0120\u2028xy\r\n");
}

// Import and migration bring names of up to 50 and addresses of up to 100 characters, more
// than one may type: such a text is shown and saved whole, and typing only shortens it until
// it is below the limit.
TEST_F(RecordsWindowsTest, EditorKeepsStoredTextsLongerThanItsTypingLimits) {
  const QString name = QString(50, u'名');
  const QString addr = QString(100, u'址');
  addClient("L1", name);
  ASSERT_TRUE(dbtest::exec(kMainConnection, "UPDATE VOCUST SET ADDR = ?", {addr}));
  addClient("S2", "");
  RecordSet clients(kMainConnection, "VOCUST");
  ASSERT_TRUE(clients.open());
  {
    ClientEditor e(&clients);
    e.show();
    EXPECT_EQ(e.nameEdit->text(), name);
    EXPECT_EQ(e.addrEdit->text(), addr);
    QTest::keyClick(e.nameEdit, Qt::Key_End);
    QTest::keyClick(e.nameEdit, Qt::Key_A);
    EXPECT_EQ(e.nameEdit->text(), name) << "no longer than stored";
    e.telEdit->setText("02-1234");
    e.saveButton->click();
  }
  const auto stored = [](const char* column) {
    return dbtest::scalar(kMainConnection,
                          QStringLiteral("SELECT %1 FROM VOCUST WHERE CUSTNO = 'L1'").arg(column))
        .toString();
  };
  EXPECT_EQ(stored("NAME"), name);
  EXPECT_EQ(stored("ADDR"), addr);
  EXPECT_EQ(stored("TEL"), "02-1234");
  // Shortened, it takes typing only once it is below the limit, and only up to it; a selection
  // typed over while nothing fits is only removed.
  {
    ClientEditor e(&clients);
    e.show();
    e.nameEdit->setSelection(0, 5);
    QTest::keyClick(e.nameEdit, Qt::Key_X);
    EXPECT_EQ(e.nameEdit->text(), QString(45, u'名'));
    QTest::keyClick(e.nameEdit, Qt::Key_End);
    for (int i = 0; i < 25; ++i) QTest::keyClick(e.nameEdit, Qt::Key_Backspace);
    QTest::keyClicks(e.nameEdit, "ab");
    EXPECT_EQ(e.nameEdit->text(), QString(20, u'名'));
    QTest::keyClick(e.nameEdit, Qt::Key_Backspace);
    QTest::keyClicks(e.nameEdit, "ab");
    EXPECT_EQ(e.nameEdit->text(), QString(19, u'名') + "a");
  }
  // A paste the limit cuts, or a key that only removes a selection, is undone like any edit.
  {
    ClientEditor e(&clients);
    e.show();
    QApplication::clipboard()->setText(QString(30, u'x'));
    e.nameEdit->selectAll();
    QTest::keySequence(e.nameEdit, QKeySequence::Paste);
    EXPECT_EQ(e.nameEdit->text(), QString(20, u'x'));
    QTest::keySequence(e.nameEdit, QKeySequence::Undo);
    EXPECT_EQ(e.nameEdit->text(), name);
    QTest::keySequence(e.nameEdit, QKeySequence::Redo);
    EXPECT_EQ(e.nameEdit->text(), QString(20, u'x'));
    QTest::keySequence(e.nameEdit, QKeySequence::Undo);
    // The same through the edit's menu, whose paste comes after the event that opened it.
    e.nameEdit->selectAll();
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(e.nameEdit, &menuEvent);
    QMenu* menu = e.nameEdit->findChildren<QMenu*>().last();
    const QString paste = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* a : menu->actions())
      if (a->text().endsWith(paste)) a->trigger();
    delete menu;
    EXPECT_EQ(e.nameEdit->text(), QString(20, u'x'));
    QTest::keySequence(e.nameEdit, QKeySequence::Undo);
    EXPECT_EQ(e.nameEdit->text(), name);
    e.nameEdit->setSelection(0, 5);
    QTest::keyClick(e.nameEdit, Qt::Key_X);
    EXPECT_EQ(e.nameEdit->text(), QString(45, u'名'));
    QTest::keySequence(e.nameEdit, QKeySequence::Undo);
    EXPECT_EQ(e.nameEdit->text(), name);
  }
  // Undo and redo bring back exactly what was there, and the limit binds after them.
  for (const bool whole : {true, false}) {
    SCOPED_TRACE(whole ? "whole name deleted" : "5 from each end");
    ClientEditor e(&clients);
    e.show();
    if (whole) {
      e.nameEdit->selectAll();
      QTest::keyClick(e.nameEdit, Qt::Key_Delete);
      QTest::keySequence(e.nameEdit, QKeySequence::Undo);
      EXPECT_EQ(e.nameEdit->text(), name);
      QTest::keySequence(e.nameEdit, QKeySequence::Redo);
      EXPECT_EQ(e.nameEdit->text(), "");
      QTest::keySequence(e.nameEdit, QKeySequence::Undo);
      e.saveButton->click();
      EXPECT_EQ(stored("NAME"), name);
      continue;
    }
    QTest::keyClick(e.nameEdit, Qt::Key_End);
    for (int i = 0; i < 5; ++i) QTest::keyClick(e.nameEdit, Qt::Key_Backspace);
    QTest::keyClick(e.nameEdit, Qt::Key_Home);
    for (int i = 0; i < 5; ++i) QTest::keyClick(e.nameEdit, Qt::Key_Delete);
    QTest::keySequence(e.nameEdit, QKeySequence::Undo);
    EXPECT_EQ(e.nameEdit->text(), QString(45, u'名'));
    QTest::keyClicks(e.nameEdit, "xyz");
    EXPECT_EQ(e.nameEdit->text(), QString(45, u'名'));
  }
  // A short stored name takes typing up to the limit only.
  ASSERT_TRUE(clients.locate("CUSTNO", "S2"));
  ClientEditor e(&clients);
  e.show();
  QTest::keyClicks(e.nameEdit, QString(25, u'x'));
  EXPECT_EQ(e.nameEdit->text().size(), 20);
}

// A character outside the BMP fits whole or is left out, pasted or composed, in every limited
// field of the client editor, the program list and the program editor.
TEST_F(RecordsWindowsTest, LimitedFieldsNeverSplitACharacterOutsideTheBmp) {
  RecordSet clients(kMainConnection, "VOCUST");
  ViewState.ClientNewMode = true;
  ClientEditor e(&clients);
  ProgramList list;
  ProgramEditor program(&list.programs, &list.lastProgramNo);
  const QString pair = QString::fromUcs4(U"\U00020000\U00020001");
  const std::pair<QLineEdit*, int> fields[] = {{e.custNoEdit, 15},
                                               {e.nameEdit, 20},
                                               {e.telEdit, 30},
                                               {e.mobileEdit, 30},
                                               {e.faxEdit, 30},
                                               {e.emailEdit, 50},
                                               {e.addrEdit, 50},
                                               {list.conditionNameEdit, 24},
                                               {list.conditionNoteEdit, 50},
                                               {program.numberEdit, 12},
                                               {program.nameEdit, 24}};
  for (const auto& [edit, limit] : fields) {
    for (const int room : {1, 2}) {
      for (const bool composed : {false, true}) {
        SCOPED_TRACE(edit->objectName().toStdString() + (composed ? " composed " : " pasted ") +
                     std::to_string(room));
        const QString before(limit - room, u'a');
        edit->setText(before);
        QInputMethodEvent commit;
        commit.setCommitString(pair);
        composed ? void(QApplication::sendEvent(edit, &commit)) : edit->insert(pair);
        EXPECT_EQ(edit->text(), room == 1 ? before : before + pair.left(2));
      }
    }
  }
}

// The picker offers no day the table takes for no birthday, and a birthday left on its day
// keeps its stored value, time of day included.
TEST_F(RecordsWindowsTest, EditorBirthdayStaysOneTheTableCanHold) {
  addClient("B1", "甲");
  ASSERT_TRUE(dbtest::exec(kMainConnection, "UPDATE VOCUST SET DBIRTH = 30000.75"));
  RecordSet clients(kMainConnection, "VOCUST");
  ASSERT_TRUE(clients.open());
  ClientEditor e(&clients);
  e.show();
  EXPECT_EQ(e.birthdayEdit->minimumDate(), QDate(1910, 12, 14));
  QCalendarWidget* calendar = e.birthdayEdit->calendarWidget();
  calendar->setCurrentPage(1982, 2);
  EXPECT_EQ(calendar->findChild<QToolButton*>("qt_calendar_monthbutton")->text(), "2月");
  e.birthdayEdit->setDate(QDate(1905, 3, 1));
  EXPECT_GT(toOleDate(e.birthdayEdit->date()), 4000.0);
  e.birthdayEdit->setDate(fromOleDate(30000.75).date());
  e.telEdit->setText("02-1234");
  e.saveButton->click();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT DBIRTH, TEL FROM VOCUST"),
            "30000.75|02-1234");
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
