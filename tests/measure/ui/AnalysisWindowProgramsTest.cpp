// The expert-program page of the analysis window: matched programs of the main database, the
// shown program's description, picture and run buttons, and the supplied programs' list.

#include <gtest/gtest.h>

#include <QtWidgets>

#include "AnalysisDatabases.h"
#include "UiChecks.h"
#include "app/AppTestSupport.h"
#include "app/Database.h"
#include "app/LaunchExternal.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

QStringList gStarted;
QList<MsgKind> gAsked;
QStringList gAskedTexts;
void recordStart(const QString& program, const QString& param, bool) {
  gStarted << program + u'|' + param;
}

using namespace ruto::test;

class AnalysisWindowProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetInstallDir(dir_.path());
    const QString main = dir_.filePath("ruto4.mdb");
    ASSERT_TRUE(QFile::copy(generatedPath("VoSpa.mdb"), main));
    QFile::setPermissions(main, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::copy(generatedPath("rutoMTW.mdb"), dir_.filePath("rutoMTW.mdb")));
    ASSERT_EQ(OpenDatabase(kMainConnection, main, kMainTables), DbOpenResult::Ok);
    // Lung high on both sides: code 2 at position 6 fits.
    const QString row = "INSERT INTO VOPRDT (ProNo, ProCond, ProAnd, ProFlg) VALUES (?, ?, '', 0)";
    runStatement(
        kMainConnection,
        "INSERT INTO VOPRO (ProNo, ProName, ProData, ProPict, ProScal, ProFN, ProScrp2, ProPrg2, "
        "ProParm2) VALUES ('P1', 'A 肺熱', '清肺說明', ?, 0, '0100', '播放<b>音樂</b>', ' "
        "/usr/bin/x ', "
        "' y ')",
        {solidPng(QColor(200, 30, 30), {40, 30})});
    runStatement(
        kMainConnection,
        "INSERT INTO VOPRO (ProNo, ProName, ProData, ProScal, ProFN) VALUES ('P2', 'C 肺熱二', "
        "'第二個', 1, '1111')");
    runStatement(kMainConnection, "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P3', 'B 不合')");
    runStatement(kMainConnection, row, {"P1", "000002"});
    runStatement(kMainConnection, row, {"p2", "000003"});
    runStatement(kMainConnection, row, {"P3", "000001"});

    ASSERT_TRUE(openSqlite(kReferenceConnection, ":memory:"));
    makeReferenceTable(kReferenceConnection);

    Settings = DefaultSettings();
    ViewState = TViewState{};
    ViewState.AnalysisPage = 6;
    CurrentTest = TCurrentTest{};
    for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 50;
    CurrentTest.Values[1] = CurrentTest.Values[7] = 80;
    CurrentTest.CompValues = CurrentTest.Values;
    CurrentClient = TClientInfo{};
    gAsked.clear();
    SetAskUserResponder([](MsgKind kind, const QString& text) {
      gAsked << kind;
      gAskedTexts << text;
      return true;
    });
    gStarted.clear();
    SetExternalStarter(&recordStart);
  }
  void TearDown() override {
    SetExternalStarter(nullptr);
    SetAskUserResponder(nullptr);
    for (const QString& c : {kMainConnection, kReferenceConnection, kMultiMeridianConnection})
      CloseDatabase(c);
    SetInstallDir(RUTO_INSTALL_DIR);
  }
  QTemporaryDir dir_;
};

TEST_F(AnalysisWindowProgramsTest, PageShowsTheFirstMatchWithPictureAndRunButtons) {
  AnalysisWindow w;
  w.show();
  QCoreApplication::processEvents();
  // Each of the four run buttons enabled as `want` says ("1" enabled), one check a button.
  const auto expectRunButtons = [&w](const char* want) {
    for (int n = 0; n < 4; ++n)
      EXPECT_EQ(w.runButtons[n]->isEnabled(), want[n] == '1') << "run button " << n + 1;
  };
  ASSERT_EQ(w.programList->count(), 2);
  // In name order, the first shown.
  EXPECT_EQ(w.programList->item(0)->text(), "A 肺熱");
  EXPECT_EQ(w.programList->item(1)->text(), "C 肺熱二");
  EXPECT_EQ(w.programList->currentRow(), 0);
  EXPECT_EQ(w.programPane->toPlainText(), "清肺說明");
  EXPECT_EQ(w.programScaleLabel->text(), "Fit");
  EXPECT_EQ(shownText(w.runButtons[1]->toolTip()), "播放<b>音樂</b>\n/usr/bin/x y");
  // The picture visible, drawn and scaled to fit.
  EXPECT_TRUE(w.programPicture->isVisible());
  EXPECT_FALSE(w.programPicture->pixmap().isNull());
  EXPECT_TRUE(w.programPicture->hasScaledContents());
  expectRunButtons("0100");
  w.runCommand2();
  EXPECT_EQ(gStarted, QStringList{"/usr/bin/x|y"});
  // A command nobody approved here is asked about first; a yes is remembered.
  EXPECT_EQ(gAsked, QList<MsgKind>{MsgKind::ImportantYesNo});
  w.runCommand2();
  EXPECT_EQ(gAsked.size(), 1);
  EXPECT_EQ(gStarted.size(), 2);

  // The supplied programs are listed with none selected.
  EXPECT_EQ(w.multiMeridianList->currentRow(), -1);
  EXPECT_TRUE(w.multiMeridianList->selectedItems().isEmpty());

  w.resize(785, 556);
  savePng(w.grab().toImage(), "AnalysisWindowProgramsTest");

  w.programList->setCurrentRow(1);
  w.showExpertProgram();
  EXPECT_EQ(w.programPane->toPlainText(), "第二個");
  EXPECT_EQ(w.programScaleLabel->text(), "Scale");
  EXPECT_FALSE(w.programPicture->hasScaledContents());
  expectRunButtons("1111");
}

TEST_F(AnalysisWindowProgramsTest, NothingFitsHidesThePicture) {
  CurrentTest.Values[1] = CurrentTest.Values[7] = 50;  // every level 0
  CurrentTest.CompValues = CurrentTest.Values;
  AnalysisWindow w;
  w.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.programList->count(), 0);
  EXPECT_TRUE(w.programPane->toPlainText().isEmpty());
  EXPECT_FALSE(w.programPicture->isVisible());
}

// A program store that cannot be read is reported rather than looking like one where nothing
// fits: its condition rows lose the columns the matcher reads.
TEST_F(AnalysisWindowProgramsTest, AnUnreadableProgramStoreIsReported) {
  struct Case {
    const char* file;
    const char* message;
  };
  for (const Case& c : {Case{"ruto4.mdb", "無法讀取自訂專家療程資料"},
                        Case{"rutoMTW.mdb", "無法讀取多經絡分析資料庫 rutoMTW.mdb 的療程資料"}}) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(openSqlite("edit", dir_.filePath(c.file)));
    runStatement("edit", "ALTER TABLE VOPRDT RENAME TO VOPRDT_OLD");
    runStatement("edit", "CREATE TABLE VOPRDT (ProNo TEXT)");
    closeSqlite("edit");
    QStringList& asked = gAskedTexts;
    asked.clear();
    AnalysisWindow w;
    w.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(asked.size(), 1) << asked.join('|').toStdString();
    EXPECT_TRUE(asked[0].startsWith(QString::fromUtf8(c.message))) << asked[0].toStdString();
    EXPECT_TRUE(asked[0].contains("ProCond")) << "the database's own words follow";
    w.close();
    // The main store mended again, so that the next case finds only its own fault.
    if (QString::fromLatin1(c.file) == "ruto4.mdb") {
      runStatement(kMainConnection, "DROP TABLE VOPRDT");
      runStatement(kMainConnection, "ALTER TABLE VOPRDT_OLD RENAME TO VOPRDT");
    }
  }
}

}  // namespace
