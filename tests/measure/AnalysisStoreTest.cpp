// What the analysis window keeps and reads outside itself: the print choices' twenty
// characters and the supplied multi-meridian programs, opened read-only and found by name.

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "app/Databases.h"
#include "app/InstallDir.h"
#include "measure/MultiMeridianTexts.h"
#include "measure/PrintOptions.h"

using namespace ruto;

namespace {

TEST(PrintOptions, OnlyAOneCountsAndTwentyAreWritten) {
  const std::tuple<QString, QString> cases[] = {
      {"", "00000000000000000000"},
      {"0111000000000000000", "01110000000000000000"},       // 19: the 20th reads as not set
      {"11111111111111111111", "11111111001111111111"},      // 9 and 10 always "0"
      {"1 1Y1-1", "10101010000000000000"},                   // anything but "1" is not set
      {"000000000000000000011111", "00000000000000000001"},  // beyond 20 is ignored
  };
  for (const auto& [stored, written] : cases)
    EXPECT_EQ(FormatPrintOptions(ParsePrintOptions(stored)), written) << stored.toStdString();

  // Every position but 9 and 10 has one control.
  QSet<int> positions, checkBoxes, radios;
  for (const TPrintOptionSlot& s : PrintOptionSlots()) {
    EXPECT_FALSE(positions.contains(s.Position)) << s.Position;
    positions.insert(s.Position);
    if (s.Radio) {
      EXPECT_FALSE(radios.contains(s.Control)) << s.Control;
      EXPECT_FALSE(radios.contains(s.OtherRadio)) << s.OtherRadio;
      radios << s.Control << s.OtherRadio;
    } else {
      EXPECT_FALSE(checkBoxes.contains(s.Control)) << s.Control;
      checkBoxes.insert(s.Control);
    }
  }
  EXPECT_FALSE(positions.contains(9));
  EXPECT_FALSE(positions.contains(10));
  EXPECT_EQ(positions.size(), 18);
  EXPECT_EQ(checkBoxes.size(), 15);
  EXPECT_EQ(radios, (QSet<int>{1, 2, 5, 6, 7, 12}));
  EXPECT_EQ(PrintOptionSlots()[17].Position, 20);
  EXPECT_EQ(PrintOptionSlots()[17].Control, 17);
}

class MultiMeridian : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetInstallDir(dir_.path());
  }
  void TearDown() override {
    { QSqlDatabase::database(kMultiMeridianConnection, false).close(); }
    QSqlDatabase::removeDatabase(kMultiMeridianConnection);
  }
  void make(const QStringList& statements) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
      db.setDatabaseName(dir_.filePath("rutoMTW.mdb"));
      ASSERT_TRUE(db.open());
      for (const QString& s : statements) ASSERT_TRUE(QSqlQuery(db).exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase("maker");
  }
  QTemporaryDir dir_;
};

const QString kProgramTable =
    "CREATE TABLE VOPRO (MKEY INTEGER PRIMARY KEY, ProNo TEXT, ProName TEXT, ProData TEXT, "
    "ProMed1 TEXT, ProMed2 TEXT, ProMed3 TEXT, ProHel1 TEXT, ProHel2 TEXT, ProHel3 TEXT, "
    "ProHel4 TEXT, ProHel5 TEXT)";

TEST_F(MultiMeridian, FoundByTrimmedNameIgnoringCaseFirstInNameOrder) {
  make({kProgramTable, "CREATE TABLE VOPRDT (ProNo TEXT)",
        "INSERT INTO VOPRO VALUES (1, 'P1', 'Liver Qi', 'first', 'm1', 'm2', 'm3', 'h1', 'h2', "
        "'h3', 'h4', 'h5')",
        "INSERT INTO VOPRO VALUES (2, 'P2', 'liver qi', 'second', '', '', '', '', '', '', '', '')",
        "INSERT INTO VOPRO VALUES (3, 'P3', 'Kidney', 'third', '', '', '', '', '', '', '', '')"});
  QString error;
  const QSqlDatabase db = MultiMeridianDatabase(&error);
  ASSERT_TRUE(db.isOpen()) << error.toStdString();
  const TMultiMeridianTexts t = LocateMultiMeridianProgram(db, "  LIVER QI ");
  EXPECT_TRUE(t.Found);
  EXPECT_EQ(t.ProData, "first") << "'Liver Qi' sorts before 'liver qi'";
  EXPECT_EQ(t.ProMed[3], "m3");
  EXPECT_EQ(t.ProHel[5], "h5");
  EXPECT_FALSE(LocateMultiMeridianProgram(db, "Heart").Found);
  EXPECT_FALSE(LocateMultiMeridianProgram(db, "'; DROP TABLE VOPRO; --").Found);

  // Read only: the supplied programs are never written, and a second call reuses the connection.
  EXPECT_FALSE(QSqlQuery(db).exec("DELETE FROM VOPRO"));
  EXPECT_TRUE(MultiMeridianDatabase().isOpen());
  EXPECT_EQ(LocateMultiMeridianProgram(db, "kidney").ProData, "third");
}

TEST_F(MultiMeridian, UnusableFilesAreNamedAndLeaveNoConnection) {
  const std::tuple<const char*, std::function<void()>> cases[] = {
      {"missing", [] {}},
      {"not a database",
       [this] {
         QFile f(dir_.filePath("rutoMTW.mdb"));
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write("this is no database at all, only text");
       }},
      {"no program table", [this] { make({"CREATE TABLE VOPRDT (ProNo TEXT)"}); }}};
  for (const auto& [what, prepare] : cases) {
    SCOPED_TRACE(what);
    QFile::remove(dir_.filePath("rutoMTW.mdb"));
    prepare();
    QString error;
    EXPECT_FALSE(MultiMeridianDatabase(&error).isValid());
    EXPECT_TRUE(error.contains("rutoMTW.mdb")) << error.toStdString();
    EXPECT_FALSE(QSqlDatabase::contains(kMultiMeridianConnection));
    EXPECT_FALSE(LocateMultiMeridianProgram(QSqlDatabase(), "x").Found);
  }
}

TEST_F(MultiMeridian, AProgramTableWithoutTheTextColumnsFindsNothing) {
  make({"CREATE TABLE VOPRO (ProNo TEXT, ProName TEXT)", "CREATE TABLE VOPRDT (ProNo TEXT)",
        "INSERT INTO VOPRO VALUES ('P1', 'A')"});
  const QSqlDatabase db = MultiMeridianDatabase();
  ASSERT_TRUE(db.isOpen());
  EXPECT_FALSE(LocateMultiMeridianProgram(db, "A").Found);
}

}  // namespace
