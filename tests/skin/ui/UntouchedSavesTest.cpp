// Every window that saves a stored row, saved untouched over rows with edge values: the
// database's rows (and the settings file) are then exactly as they were. It keeps the next
// window that rewrites what the user did not change from coming in.
#include <gtest/gtest.h>

#include <QtWidgets>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/Database.h"
#include "app/Databases.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/ui/UserDataDialog.h"
#include "measure/ui/ManualEntryDialog.h"
#include "records/ClientRecords.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/ProgramList.h"

namespace {

using namespace ruto;

// A text as long as its column (50 UTF-16 units) ending in a character outside the BMP, and one
// with a no-break space, a line separator, CR LF and a lone LF.
const QString kLong = QString(48, u'名') + QString::fromUcs4(U"\U00020000");
const QString kMixed = QStringLiteral("第一行\r\n血壓\u00A0120\u2028x\ny");

class UntouchedSavesTest : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    putInstallation();
    ASSERT_EQ(OpenDatabase(kMainConnection, path(QStringLiteral("ruto4.mdb")), kMainTables),
              DbOpenResult::Ok);
    CurrentTest = {};
    ViewState = {};
    for (const auto& [sql, values] : std::initializer_list<std::pair<const char*, QVariantList>>{
             {"INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, TEL3, EMAIL, "
              "BTYPE, HEIGHT, WEIGHT, MEMO, PrtFG) VALUES ('E1', ?, 1, 30000.75, ?, ?, '0912', "
              "'', ?, 'AB', 170.25, 21.4567, ?, 1)",
              {kLong, QStringLiteral("台北\u00A0路\u2028二段"), QStringLiteral("02\u00A01234"),
               QString::fromUcs4(U"\U00020001@x"), kMixed}},
             {"INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH) VALUES ('E2', 'early', 0, 4001)", {}},
             {"INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH) VALUES ('E3', 'late', 0, "
              "2958465.5)",
              {}},
             {"INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('E4', 'nulls')", {}},
             {"INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1, VO1, VO2, VO24) VALUES ('E1', "
              "45000.123456, 1, ?, 21.4567, 0.05, 199.99)",
              {kMixed}},
             {"INSERT INTO VOPRO (ProNo, ProName, ProData, ProPict, ProScal, ProFN, ProScrp1, "
              "ProPrg1, ProParm1) VALUES ('P01', ?, ?, x'0102', 1, '10100', ?, '/usr/bin/x', 'a "
              "b')",
              {QString(22, u'療') + QString::fromUcs4(U"\U00020000"), kMixed,
               QStringLiteral("放鬆\u00A0音樂")}},
             {"INSERT INTO VOPRDT (ProNo, ProSubN, ProNote, ProAnd, ProCond, ProEng, ProAGL, "
              "ProAGH, ProFlg, PrtFG) VALUES ('P01', ?, ?, '100000100000000000000000', "
              "'531210000000000000000032', 21.4567, 20, 60, 1, 0)",
              {QString(22, u'條') + QString::fromUcs4(U"\U00020000"),
               QStringLiteral("說明\u00A0一\u2028二")}}})
      ASSERT_TRUE(dbtest::exec(kMainConnection, QString::fromUtf8(sql), values)) << sql;
  }
  void TearDown() override {
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }

  // Every row of the four tables, each value with its stored type.
  static QString rows() {
    QString out;
    for (const QString& table : kMainTables) {
      QSqlQuery q(QSqlDatabase::database(kMainConnection));
      EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY MKEY").arg(table)));
      while (q.next()) {
        out += table;
        for (int i = 0; i < q.record().count(); ++i) {
          const QVariant v = q.value(i);
          out += u'|' + (v.isNull()                        ? QStringLiteral("null")
                         : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                         : v.typeId() == QMetaType::QByteArray
                             ? QString::fromLatin1(v.toByteArray().toHex())
                             : QString::fromLatin1(v.typeName()) + u':' + v.toString());
        }
        out += u'\n';
      }
    }
    return out;
  }

  // Runs each row's untouched save and compares the stored rows with the rows before.
  void expectUntouched(const std::vector<std::pair<const char*, std::function<void()>>>& saves) {
    for (const auto& [window, save] : saves) {
      SCOPED_TRACE(window);
      const QString before = rows();
      asked_.clear();
      save();
      EXPECT_EQ(asked_, QStringList());
      EXPECT_EQ(rows().toStdString(), before.toStdString());
    }
  }
};

TEST_F(UntouchedSavesTest, RecordWindowsLeaveTheStoredRowsAsTheyWere) {
  ProgramList list;
  expectUntouched({
      {"client editor",
       [] {
         for (const char* no : {"E1", "E2", "E3", "E4"}) {
           RecordSet clients(kMainConnection, QStringLiteral("VOCUST"));
           ASSERT_TRUE(clients.open());
           ASSERT_TRUE(clients.locate(QStringLiteral("CUSTNO"), QString::fromLatin1(no)));
           ViewState.ClientNewMode = false;
           ClientEditor editor(&clients);
           editor.show();
           editor.saveButton->click();
           EXPECT_EQ(editor.result(), QDialog::Accepted) << no;
         }
       }},
      {"condition edit",
       [&list] {
         list.show();
         list.activateConditionList();
         list.editCondition();
         list.confirmEdit();
         EXPECT_TRUE(list.browseMode);
       }},
      {"program editor",
       [&list] {
         ViewState.ProgramNewMode = false;
         ProgramEditor editor(&list.programs, &list.lastProgramNo, &list);
         editor.show();
         editor.save();
         EXPECT_EQ(editor.result(), QDialog::Accepted);
       }},
  });

  // The user-data dialog over settings with the same kinds of texts: the file is rewritten
  // byte for byte (the run-button flags in the six characters the dialog always writes).
  Settings.ExtProgEnabled = QStringLiteral("010000");
  Settings.UserName1 = kLong;
  Settings.UserData1 = QStringLiteral("電話\u00A002");
  Settings.ExtProgHint[1] = QString::fromUcs4(U"\U00020000\u00A0x");
  ASSERT_TRUE(LoadSaveSettings(true));
  const QByteArray file = content(kSettingsFileName);
  UserDataDialog dialog;
  dialog.show();
  dialog.saveSettings();
  EXPECT_EQ(content(kSettingsFileName), file);
}

// Manual entry over the stored test, in both modes: the stored row and the test in work stay
// as they were.
TEST_F(UntouchedSavesTest, ManualEntryLeavesTheStoredTestAsItWas) {
  const int key = dbtest::scalar(kMainConnection, "SELECT MKEY FROM VODATA").toInt();
  RecordSet clients(kMainConnection, QStringLiteral("VOCUST"));
  RecordSet tests(kMainConnection, QStringLiteral("VODATA"));
  ASSERT_TRUE(clients.open());
  ASSERT_TRUE(clients.locate(QStringLiteral("CUSTNO"), QStringLiteral("E1")));
  LinkTestsOf(tests, QStringLiteral("E1"));
  ASSERT_TRUE(tests.open());
  ASSERT_TRUE(LoadCurrentTest(clients, tests));
  const TCurrentTest loaded = CurrentTest;
  expectUntouched({
      {"manual entry, modify mode",
       [key] {
         ManualEntryDialog entry(key);
         entry.show();
         entry.saveEntry();
       }},
      {"manual entry, new mode",
       [&loaded] {
         ManualEntryDialog entry(0);
         entry.show();
         entry.saveEntry();
         EXPECT_EQ(CurrentTest.MKey, loaded.MKey);
         EXPECT_EQ(CurrentTest.Values, loaded.Values);
         EXPECT_EQ(CurrentTest.VoDate, loaded.VoDate);
         EXPECT_EQ(CurrentTest.Memo1, loaded.Memo1);
       }},
  });
  // Tests undated, dated early or late keep their dates too.
  for (const char* date : {"0", "1.25", "2958465.75"}) {
    ASSERT_TRUE(dbtest::exec(
        kMainConnection,
        QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('E2', %1, 0, 1.5)")
            .arg(QLatin1String(date))));
    const int test = dbtest::scalar(kMainConnection, "SELECT MAX(MKEY) FROM VODATA").toInt();
    expectUntouched({{date, [test] {
                        ManualEntryDialog entry(test);
                        entry.show();
                        entry.saveEntry();
                      }}});
  }
}

}  // namespace
