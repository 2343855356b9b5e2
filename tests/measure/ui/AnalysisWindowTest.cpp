// The analysis window on SQLite fixtures: pages and their status texts, the chart buttons,
// the lists following one another, the multi-meridian texts, a damaged reference text,
// appending to the note, the print choices and what closing keeps. Every page is rendered to a
// PNG.

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "AnalysisDatabases.h"
#include "UiChecks.h"
#include "measure/Charts.h"
#include "measure/Report.h"
#include "measure/ui/AnalysisReport.h"
#include "measure/ui/ChartView.h"
#include "support/TestSupport.h"
#include "widgets/SortingGrid.h"

using namespace ruto;

namespace {

std::vector<QToolButton*> chartButtons(const AnalysisWindow& w) {
  return {w.barChartButton,         w.curveChartButton, w.generatingChartButton,
          w.controllingChartButton, w.radarChartButton, w.ryodorakuChartButton,
          w.autonomicChartButton};
}
// How many chart buttons are down.
int down(const AnalysisWindow& w) {
  int n = 0;
  for (QToolButton* b : chartButtons(w)) n += b->isChecked() ? 1 : 0;
  return n;
}

using namespace ruto::test;

QVariant scalar(const QString& connection, const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

class AnalysisWindowTest : public AnalysisWindowFixture {
 protected:
  AnalysisWindowTest() : AnalysisWindowFixture("") {}
  void SetUp() override {
    AnalysisWindowFixture::SetUp();
    runStatement(kMainConnection, "INSERT INTO VODATA VALUES (7, 'stored')");
    // The program tables as far as the window reads them: empty in the main database, one
    // supplied program in the multi-meridian one.
    ASSERT_TRUE(openSqlite("maker", dir_.filePath("rutoMTW.mdb")));
    for (const QString& c : {kMainConnection, QString("maker")}) {
      runStatement(c,
                   "CREATE TABLE VOPRO (MKEY INTEGER PRIMARY KEY, ProNo TEXT, ProName TEXT, "
                   "ProData TEXT, ProMed1 TEXT, ProMed2 TEXT, ProMed3 TEXT, ProHel1 TEXT, "
                   "ProHel2 TEXT, ProHel3 TEXT, ProHel4 TEXT, ProHel5 TEXT)");
      runStatement(c,
                   "CREATE TABLE VOPRDT (MKEY INTEGER PRIMARY KEY, ProNo TEXT, ProCond TEXT, "
                   "ProAnd TEXT, ProFlg INTEGER, ProEng REAL, ProAGL REAL, ProAGH REAL)");
    }
    runStatement("maker",
                 "INSERT INTO VOPRO VALUES (NULL, 'M1', '氣血雙補', 'data', 'med1', "
                 "'med2', 'med3', 'hel1', 'hel2', 'hel3', 'hel4', 'hel5')");
    closeSqlite("maker");
  }
};

TEST_F(AnalysisWindowTest, PagesHintsAndStatusTexts) {
  ViewState.AnalysisPage = 6;
  auto w = open();
  EXPECT_EQ(w->windowTitle(), "資料分析");
  // Each page under its own caption, in the order the page table below relies on.
  ASSERT_EQ(w->pageTabs->count(), 9);
  const QStringList captions = {"體能狀況", "分析圖表", "表裡對應", "經絡分析", "醫方資料",
                                "養生建議", "專家療程", "處置記錄", "資料列印"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(w->pageTabs->tabText(i), captions[i]) << i;
  EXPECT_EQ(w->pageTabs->tabToolTip(0), "") << "the first page has no hint";
  EXPECT_EQ(w->pageTabs->tabToolTip(4), "醫方及針灸建議及參考");
  EXPECT_EQ(w->statusText(1), "本功能所有資料僅供研究參考，身體不適仍應洽詢專業醫師。");
  // The multi-meridian list is there on the three text pages only.
  const struct {
    int page;
    bool list;
    const char* status;
  } pages[] = {
      {6, false, "請至【辨證項目】中點選需要詳細說明的專家療程資料。"},
      {4, true, "請至【辨證項目】中點選需要詳細說明的醫方建議資料。"},
      {3, true, "請至【辨證項目】中點選需要詳細說明的單經絡辨證項目。"},
      {5, true, "請至【食療項目】中點選需要詳細說明的食療資料。"},
      {0, false, "【性別】會影響部份辨證,請留意其正確性。"},
      {1, false, "【平均體能】為基準中線的數據,每一受測者均不相同."},
      {8, false, "當您選擇【開始列印】,系統將會把您在[列印資料選項]中勾選的資料列印出來."}};
  for (const auto& p : pages) {
    w->pageTabs->setCurrentIndex(p.page);  // the page shown: a change of nothing
    EXPECT_EQ(w->pageTabs->currentIndex(), p.page);
    EXPECT_EQ(w->multiMeridianList->isVisible(), p.list) << p.page;
    EXPECT_EQ(w->statusText(0), QString::fromUtf8(p.status)) << p.page;
  }
  // On the chart page the chart's own text follows the kind.
  w->pageTabs->setCurrentIndex(1);
  w->autonomicChartButton->click();
  EXPECT_EQ(w->statusText(0), "本圖為比較身體三陰三陽氣血平衡狀態.");
  EXPECT_EQ(w->controllingChartButton->toolTip(), "五行相剋分析圖");
  EXPECT_FALSE(w->radarChartButton->isVisible());
  w->close();
  EXPECT_EQ(ViewState.AnalysisPage, 1);
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
  // A page outside the range opens the first.
  ViewState.AnalysisPage = 12;
  auto first = open();
  EXPECT_EQ(first->pageTabs->currentIndex(), 0);
  EXPECT_EQ(first->statusText(0), "【性別】會影響部份辨證,請留意其正確性。");
}

TEST_F(AnalysisWindowTest, SummaryAndPairPagesShowTheAnalysis) {
  auto w = open();
  EXPECT_DOUBLE_EQ(Analysis.Average, 53.125);
  // The summary, the client without a birthday, the test, points 1 and 8 and the heart's
  // heading in the grid.
  EXPECT_EQ(w->summaryRows[0].value->text(), "53.13");
  EXPECT_EQ(w->clientNoLabel->text(), "A001");
  EXPECT_EQ(w->sexLabel->text(), "男  性");
  EXPECT_EQ(w->birthLabel->text(), "");
  EXPECT_EQ(w->testDateLabel->text(), "2025/12/09");
  EXPECT_EQ(w->testTimeLabel->text(), "12:00:00");
  EXPECT_EQ(w->rangeLabel->text(), "標準電位 (正常)");
  EXPECT_EQ(w->valueGrid->Cells(1, 1), "80.0");
  EXPECT_EQ(w->valueGrid->Cells(2, 2), "25.0");
  EXPECT_EQ(w->valueGrid->Cells(3, 0), "心　經");
  // Lung and large intestine, heart and small intestine, pericardium and triple burner, kidney
  // and bladder; the metal element.
  EXPECT_EQ(w->pairRows[0].difference->text(), "# 30.0");
  EXPECT_EQ(w->pairRows[0].state->text(), "尚可");
  EXPECT_EQ(w->pairRows[2].difference->text(), "# 27.5");
  EXPECT_EQ(w->pairRows[1].difference->text(), "# 25.0");
  EXPECT_EQ(w->pairRows[5].difference->text(), "#  0.0");
  EXPECT_EQ(w->pairRows[5].state->text(), "正常");
  EXPECT_EQ(w->pairRows[0].meanA->text(), " 80.0");
  EXPECT_EQ(w->elementRows[0].mean->text(), "65.0");
}

// The print button hands the window to the report printer; the panes the report wraps its
// texts in stay out of sight.
TEST_F(AnalysisWindowTest, PrintButtonReachesTheReportAndWrapPanesStayHidden) {
  auto w = open();
  AnalysisWindow* printed = nullptr;
  AnalysisReportPrinter() = [&](AnalysisWindow& window) { printed = &window; };
  w->printButton->click();
  AnalysisReportPrinter() = nullptr;
  EXPECT_EQ(printed, w.get());
  EXPECT_EQ(w->printButton->text(), "列  印");
  EXPECT_EQ(w->printSetupButton->toolTip(), "印表機與格式設定");
  for (const QPlainTextEdit* pane : {w->plainWrapPane, w->levelWrapPane, w->programWrapPane})
    EXPECT_FALSE(pane->isVisible()) << pane->objectName().toStdString();
}

TEST_F(AnalysisWindowTest, CurrentChartButtonRepaintsNothing) {
  ViewState.AnalysisPage = 1;
  ViewState.ChartKind = ChartType::Bar;
  auto w = open();
  EXPECT_TRUE(w->barChartButton->isChecked());
  EXPECT_EQ(w->chartTitle->text(), "經絡虛實分析圖-長條");
  w->repaint();
  const int painted = w->chartView->paintCount();
  EXPECT_GT(painted, 0);
  w->barChartButton->click();
  QCoreApplication::processEvents();
  w->chartView->repaint(QRect());  // flushes nothing that was not asked for
  EXPECT_EQ(w->chartView->paintCount(), painted);
  EXPECT_TRUE(w->barChartButton->isChecked()) << "pressing it again keeps it down";

  // Another kind, as the table below presses it, with its caption and status text.
  w->controllingChartButton->click();
  w->repaint();
  EXPECT_GT(w->chartView->paintCount(), painted);
  EXPECT_EQ(w->chartTitle->text(), "經絡五行相剋分析圖");
  EXPECT_EQ(w->statusText(0), "本圖為比較身體十二經絡之五行相剋能量狀態.");
}

// A chart button changes the chart however it is pressed: a click, Space with the focus on it,
// or the press or toggle action of assistive technology; the current one stays down.
TEST_F(AnalysisWindowTest, ChartButtonsAnswerKeyboardAndAccessibleActions) {
  const auto space = [](QToolButton* b) {
    b->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  };
  const auto action = [](const QString& name) {
    return [name](QToolButton* b) {
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b);
      ASSERT_NE(iface, nullptr);
      ASSERT_NE(iface->actionInterface(), nullptr);
      iface->actionInterface()->doAction(name);
    };
  };
  const struct {
    const char* how;
    std::function<void(QToolButton*)> press;
  } ways[] = {{"click", [](QToolButton* b) { b->click(); }},
              {"space", space},
              {"press action", action(QAccessibleActionInterface::pressAction())},
              {"toggle action", action(QAccessibleActionInterface::toggleAction())}};
  ViewState.AnalysisPage = 1;
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    ViewState.ChartKind = ChartType::Bar;
    auto w = open();
    QApplication::setActiveWindow(w.get());
    for (const auto& [button, kind] : {std::pair{w->controllingChartButton, ChartType::Controlling},
                                       {w->controllingChartButton, ChartType::Controlling},
                                       {w->curveChartButton, ChartType::Curve}}) {
      way.press(button);
      // The press action clicks after a short delay.
      QTest::qWait(300);
      w->repaint();
      EXPECT_EQ(ViewState.ChartKind, kind) << button->objectName().toStdString();
      EXPECT_EQ(w->chartView->title(), ChartTitle(kind));
      EXPECT_TRUE(button->isChecked()) << button->objectName().toStdString();
      EXPECT_EQ(down(*w), 1);
    }
  }
}

// Qt caches an icon's pixmaps under the pixmap's key: a window opened again must bring the
// same chart pictures, not new ones that take new cache entries each time.
TEST_F(AnalysisWindowTest, ChartPicturesAreTheSameInEveryWindow) {
  QList<qint64> keys[2];
  for (QList<qint64>& round : keys) {
    const auto w = open();
    for (QToolButton* b : chartButtons(*w)) round << b->icon().cacheKey();
  }
  EXPECT_EQ(keys[0], keys[1]);
}

TEST_F(AnalysisWindowTest, PrintChoicesReadAndWrittenBack) {
  const struct {
    QString stored;
    QString written;
  } cases[] = {
      {"0111000000000000000", "01110000000000000000"},   // 19 characters of the old default
      {"11111111111111111111", "11111111001111111111"},  // 9 and 10 always "0"
      {"x1y", "01000000000000000000"},                   // only "1" counts
      {"", "00000000000000000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.toStdString());
    Settings.PrintOptions = c.stored;
    auto w = open();
    // Ticks 1-3, radios 2, 6, 7; 17 unticked, 14 disabled.
    if (c.stored.startsWith("0111")) {
      EXPECT_TRUE(w->printChecks[1]->isChecked());
      EXPECT_TRUE(w->printChecks[2]->isChecked());
      EXPECT_TRUE(w->printChecks[3]->isChecked());
      EXPECT_TRUE(w->printRadios[2]->isChecked());
      EXPECT_TRUE(w->printRadios[6]->isChecked());
      EXPECT_TRUE(w->printRadios[7]->isChecked());
      EXPECT_FALSE(w->printChecks[17]->isChecked());
      EXPECT_FALSE(w->printChecks[14]->isEnabled());
    }
    w->close();
    EXPECT_EQ(Settings.PrintOptions, c.written);
    EXPECT_TRUE(ruto::test::readFile(dir_.filePath("DeRirAz.ini")).contains(c.written.toUtf8()));
  }

  // Unticking the box above keeps the tick of the one that depends on it.
  Settings.PrintOptions = "00001000000000100000";
  auto w = open();
  EXPECT_TRUE(w->printChecks[14]->isEnabled());
  w->printChecks[4]->click();
  EXPECT_FALSE(w->printChecks[14]->isEnabled());
  EXPECT_TRUE(w->printChecks[14]->isChecked());
  w->printChecks[13]->click();
  EXPECT_TRUE(w->printChecks[15]->isEnabled());
  w->close();
  EXPECT_EQ(Settings.PrintOptions, "00000000000001100000");
}

TEST_F(AnalysisWindowTest, NoteIsSavedOnlyWhenChangedAndOnlyForAStoredTest) {
  const struct {
    int key;
    const char *typed, *stored;  // typed: nullptr leaves the note as it is
    QStringList memo;
  } cases[] = {{7, nullptr, "stored", {"舊記錄"}},
               {7, "頭痛\n針灸兩次", "頭痛\r\n針灸兩次\r\n", {"頭痛", "針灸兩次"}},
               {0, "未存檔", "頭痛\r\n針灸兩次\r\n", {"未存檔"}}};
  for (const auto& c : cases) {
    CurrentTest.MKey = c.key;
    auto w = open();
    EXPECT_EQ(w->notePane->toPlainText(), CurrentTest.Memo1.join('\n'));
    if (c.typed) w->notePane->setPlainText(c.typed);
    w->close();
    EXPECT_EQ(CurrentTest.Memo1, c.memo);
    EXPECT_EQ(scalar(kMainConnection, "SELECT MEMO1 FROM VODATA").toString(), c.stored);
  }
  EXPECT_TRUE(messages_.isEmpty());
}

// A stored test deleted while its note was typed: the note reaches no row, which is said, and
// the test in work is stored no longer.
TEST_F(AnalysisWindowTest, NoteOfATestDeletedMeanwhileSaysItReachedNoRow) {
  CurrentTest.MKey = 8;
  auto w = open();
  w->notePane->setPlainText("頭痛");
  w->close();
  EXPECT_EQ(messages_, QStringList{"5:處置記錄無法存入資料庫。\n資料庫中已沒有這筆檢測資料。"});
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_EQ(CurrentTest.Memo1, QStringList{"頭痛"});
}

TEST_F(AnalysisWindowTest, FailuresWhileClosingAreShownAndClosingCompletes) {
  QWidget measurement;
  runStatement(kMainConnection, "DROP TABLE VODATA");
  QDir(dir_.path()).mkdir("DeRirAz.ini");  // the settings file cannot be replaced
  auto w = open(&measurement);
  w->notePane->setPlainText("x");
  w->exitButton->click();
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(measurement.isVisible()) << "the measurement window comes back";
  ASSERT_EQ(messages_.size(), 2) << messages_.join('\n').toStdString();
  EXPECT_TRUE(messages_[0].startsWith("5:")) << messages_[0].toStdString();
  EXPECT_TRUE(messages_[1].startsWith("5:處置記錄無法存入資料庫")) << messages_[1].toStdString();
  EXPECT_EQ(CurrentTest.Memo1, QStringList{"x"});
}

TEST_F(AnalysisWindowTest, ListsFollowOneAnotherByPosition) {
  auto w = open();
  // The current rows of the diagnosis, diet and prescription lists, one check a list.
  const auto expectRows = [&w](int diagnosis, int diet, int prescription) {
    EXPECT_EQ(w->diagnosisList->currentRow(), diagnosis) << "diagnosis list";
    EXPECT_EQ(w->dietList->currentRow(), diet) << "diet list";
    EXPECT_EQ(w->prescriptionList->currentRow(), prescription) << "prescription list";
  };
  ASSERT_EQ(w->diagnosisList->count(), 9);
  ASSERT_EQ(w->dietList->count(), 4);
  ASSERT_EQ(w->prescriptionList->count(), 3);
  // Opening shows item 0 of each list without moving the others.
  EXPECT_EQ(w->diagnosisList->currentRow(), 0);
  EXPECT_EQ(w->diagnosisPane->toPlainText(), "DtMA1-13\n\nDtMA2-13");
  EXPECT_EQ(w->dietPane->toPlainText(), "DtMA3-1\n\nDtMH4-1");
  EXPECT_EQ(w->prescriptionPane->toPlainText(), "DtMH3-1\n\nDtMH2-1");

  w->diagnosisList->setCurrentRow(7);  // heart
  expectRows(7, 2, 2);
  EXPECT_EQ(w->prescriptionList->currentItem()->text(), "【心經異常】");
  EXPECT_EQ(w->ryodorakuPane->toPlainText(), "DtMH5-3");
  // Small intestine: no prescription at this place, no conductance text for opposite signs.
  w->diagnosisList->setCurrentRow(8);
  expectRows(8, 3, -1);
  EXPECT_TRUE(w->prescriptionList->selectedItems().isEmpty());
  EXPECT_EQ(w->prescriptionPane->toPlainText(), "");
  EXPECT_EQ(w->ryodorakuPane->toPlainText(), "") << "opposite signs";

  w->prescriptionList->setCurrentRow(1);  // pericardium
  expectRows(6, 1, 1);
  EXPECT_EQ(w->prescriptionPane->toPlainText(), "DtML3-2\n\nDtML2-2");
  w->diagnosisList->setCurrentRow(2);  // a body-state item moves nothing
  expectRows(2, 1, 1);
}

TEST_F(AnalysisWindowTest, AppendingFromBothDiagnosisPanesGivesTwoBlocks) {
  auto w = open();
  w->diagnosisList->setCurrentRow(5);  // lung, both high: both panes hold text
  EXPECT_FALSE(w->appendDiagnosisButton->isEnabled());
  w->selectAllDiagnosisButton->click();  // neither pane has the focus: both are selected
  EXPECT_TRUE(w->appendDiagnosisButton->isEnabled());
  const QString detail = w->diagnosisPane->toPlainText(),
                ryodoraku = w->ryodorakuPane->toPlainText();
  w->pageTabs->setCurrentIndex(3);  // its 貼上 shown
  const std::initializer_list<QWidget*> enterAt = {w->diagnosisPane, w->diagnosisList,
                                                   w->pageTabs->tabBar()};
  for (QWidget* at : enterAt) {
    at->setFocus();
    QTest::keyClick(at, Qt::Key_Return);
  }
  EXPECT_EQ(w->notePane->toPlainText(), "舊記錄") << "only a press of 貼上 pastes";
  w->appendDiagnosisButton->click();
  EXPECT_EQ(w->notePane->toPlainText(), "舊記錄\n\n" + detail + "\n\n" + ryodoraku);
  EXPECT_FALSE(w->appendDiagnosisButton->isEnabled());
  EXPECT_FALSE(w->diagnosisPane->textCursor().hasSelection());
  EXPECT_EQ(w->diagnosisPane->toPlainText(), detail) << "the source keeps its text";

  // Another page's pane, into a note emptied by the user.
  w->notePane->clear();
  w->selectAllDietButton->click();
  EXPECT_TRUE(w->appendDietButton->isEnabled());
  w->appendDietButton->click();
  EXPECT_EQ(w->notePane->toPlainText(), "\n" + w->dietPane->toPlainText());
  w->close();
  EXPECT_EQ(CurrentTest.Memo1.mid(0, 2), (QStringList{"", "DtMA3-1"})) << "appending is an edit";
}

// Every remedy and care button enabled or not, one check a button.
void expectTextButtons(const AnalysisWindow& w, bool enabled) {
  for (QToolButton* b : w.remedyButtons)
    EXPECT_EQ(b->isEnabled(), enabled) << qPrintable(b->text());
  for (QToolButton* b : w.careButtons) EXPECT_EQ(b->isEnabled(), enabled) << qPrintable(b->text());
}

TEST_F(AnalysisWindowTest, MultiMeridianTextsAndTheirButtons) {
  auto w = open();
  w->pageTabs->setCurrentIndex(5);
  expectTextButtons(*w, false);
  w->multiMeridianList->clear();
  w->multiMeridianList->addItem(" 氣血雙補 ");
  w->multiMeridianList->setCurrentRow(0);
  EXPECT_EQ(w->diagnosisPane->toPlainText(), "data");
  EXPECT_EQ(w->prescriptionPane->toPlainText(), "med1");
  EXPECT_EQ(w->dietPane->toPlainText(), "hel1");
  EXPECT_EQ(w->ryodorakuPane->toPlainText(), "");
  EXPECT_EQ(w->diagnosisList->currentRow(), -1);
  EXPECT_TRUE(w->remedyButtons[0]->isChecked());
  EXPECT_TRUE(w->careButtons[0]->isChecked());
  expectTextButtons(*w, true);

  w->careButtons[1]->click();
  w->remedyButtons[1]->click();
  EXPECT_EQ(w->dietPane->toPlainText(), "hel2");
  EXPECT_EQ(w->prescriptionPane->toPlainText(), "med2");
  EXPECT_FALSE(w->careButtons[0]->isChecked());
  EXPECT_TRUE(w->careButtons[1]->isChecked());
  const QRect chosen = w->multiMeridianList->visualItemRect(w->multiMeridianList->item(0));
  QTest::mouseClick(w->multiMeridianList->viewport(), Qt::LeftButton, {}, chosen.center());
  EXPECT_EQ(w->dietPane->toPlainText(), "hel1") << "a click on the chosen program shows it afresh";
  EXPECT_TRUE(w->careButtons[0]->isChecked());
  w->careButtons[1]->click();

  w->pageTabs->setCurrentIndex(3);
  {
    SCOPED_TRACE("pages keep the buttons while texts are shown");
    expectTextButtons(*w, true);
  }
  w->diagnosisList->setCurrentRow(6);
  EXPECT_EQ(w->multiMeridianList->currentRow(), -1);
  expectTextButtons(*w, false);
  w->pageTabs->setCurrentIndex(4);
  EXPECT_FALSE(w->remedyButtons[0]->isEnabled());
}

TEST_F(AnalysisWindowTest, MissingMultiMeridianDatabaseIsNamedOnceAndTheRestWorks) {
  closeSqlite(kMultiMeridianConnection);
  ASSERT_TRUE(QFile::remove(dir_.filePath("rutoMTW.mdb")));
  auto w = open();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("5:")) << messages_[0].toStdString();
  EXPECT_TRUE(messages_[0].contains("rutoMTW.mdb")) << messages_[0].toStdString();
  EXPECT_EQ(w->multiMeridianList->count(), 0);
  EXPECT_EQ(w->diagnosisList->count(), 9);
  w->multiMeridianList->addItem("氣血雙補");
  w->multiMeridianList->setCurrentRow(0);
  EXPECT_EQ(w->diagnosisPane->toPlainText(), "");
}

// A damaged reference text is told once when the window reads it and once when the report
// reads the table; the lists and the report go on with that text empty.
TEST_F(AnalysisWindowTest, DamagedReferenceTextIsToldOnceAReading) {
  runStatement(kReferenceConnection, "UPDATE VOMTDB SET DtMA1 = '5AZZ10' WHERE MKEY = 13");
  runStatement(kReferenceConnection, "UPDATE VOMTDB SET DtMA3 = '5AZZ10' WHERE MKEY = 1");
  const QString told =
      "5:" + kReferenceUnreadableText + "\nVOMTDB MKEY %1: 'ZZ' is not a valid integer value";
  auto w = open();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], told.arg("13 DtMA1"));
  EXPECT_EQ(w->diagnosisPane->toPlainText(), "\n\nDtMA2-13");
  EXPECT_EQ(w->dietPane->toPlainText(), "\n\nDtMH4-1");
  w->diagnosisList->setCurrentRow(5);  // lung, with its diet and prescription
  w->diagnosisList->setCurrentRow(0);
  EXPECT_EQ(messages_.size(), 1) << "once a window";

  const TReportInput in = ReportInputFromWindow(*w);
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_EQ(messages_[1], told.arg("1 DtMA3")) << "the first damaged row the report reads";
  ASSERT_EQ(in.Reference.size(), 17u);
  EXPECT_EQ(in.Reference.at(13).DtMA1, "");
  EXPECT_EQ(in.Reference.at(13).DtMA2, "DtMA2-13");
  EXPECT_EQ(in.Reference.at(1).DtMA3, "");

  // A table without a column the reader reads is told once a reading too, with the database's
  // reason, and no text of it is shown or printed.
  runStatement(kReferenceConnection, "ALTER TABLE VOMTDB DROP COLUMN DtML5");
  auto again = open();
  ASSERT_EQ(messages_.size(), 3);
  EXPECT_EQ(messages_[2].section('\n', 0, 0), "5:" + kReferenceUnreadableText);
  EXPECT_TRUE(messages_[2].section('\n', 1).startsWith("VOMTDB: no such column: DtML5"))
      << messages_[2].toStdString();
  EXPECT_EQ(again->diagnosisPane->toPlainText(), "\n\n");
  const TReportInput refused = ReportInputFromWindow(*again);
  ASSERT_EQ(messages_.size(), 4);
  EXPECT_EQ(messages_[3], messages_[2]);
  EXPECT_TRUE(refused.Reference.empty());
}

TEST_F(AnalysisWindowTest, EveryPageRenders) {
  ViewState.ChartKind = ChartType::Generating;
  auto w = open();
  for (int page = 0; page < 9; ++page) {
    w->pageTabs->setCurrentIndex(page);
    const QImage image = w->grab().toImage();
    ruto::test::savePng(image, QString("analysis-page-%1").arg(page));
    EXPECT_EQ(image.size(), QSize(785, 556));
    if (page == 1) {
      // Sovereign fire (heart, small intestine) stands 29 units high: a yellow triangle over
      // the second column of the generating chart.
      const QPoint origin = w->chartView->mapTo(w.get(), QPoint(0, 0));
      EXPECT_EQ(ruto::test::at(image, origin.x() + 227, origin.y() + 12), clYellow);
      EXPECT_EQ(ruto::test::at(image, origin.x() + 109, origin.y() + 12), clBtnFace);

      // Lung (point 1) 26.9 above the average: bar 1 from y 97 down to the centre line, hatched
      // red all the way up, as seen in the window, not only in the chart surface's own grab.
      w->barChartButton->click();
      const QImage bars = w->grab().toImage();
      ruto::test::savePng(bars, "analysis-page-1-bars");
      const QRect top(origin + QPoint(52, 98), QSize(26, 49));
      EXPECT_GT(countColor(bars, clRed, top), 20);
      EXPECT_GT(countColor(bars, clRed, top.translated(0, 49)), 20);
    }
  }
}

}  // namespace
