// Export and import of the transfer file on real database files.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <cstring>

#include "app/AppTestSupport.h"
#include "app/CommandApproval.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "base/Files.h"
#include "records/Transfer.h"

namespace {

const QString kMain = QStringLiteral("main");

// Fails the n-th copy or the rename with a chosen errno.
class FailingFiles : public TransferFiles {
 public:
  int failCopy = 0;  // 1-based index of the copy that fails, 0 none
  int copyErrno = 0;
  int renameErrno = 0;
  int copies = 0;
  FailingFiles(int copy, int copyErr, int renameErr)
      : failCopy(copy), copyErrno(copyErr), renameErrno(renameErr) {}
  int copyFile(const QString& from, const QString& to) override {
    if (++copies == failCopy) return copyErrno;
    return TransferFiles::copyFile(from, to);
  }
  int replaceFile(const QString& from, const QString& to) override {
    return renameErrno ? renameErrno : TransferFiles::replaceFile(from, to);
  }
};

class TransferTest : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    putTemplate();
    mainPath_ = dbtest::freshCopy(dir_, QStringLiteral("ruto4.mdb"));
    ASSERT_EQ(OpenDatabase(kMain, mainPath_, kMainTables), DbOpenResult::Ok);
    ASSERT_TRUE(QDir().mkpath(folder()));
  }
  void TearDown() override {
    CloseDatabase(kMain);
    InstallFolderTest::TearDown();
  }
  QString folder() const { return dir_.filePath(QStringLiteral("disk")); }
  QString transferFile() const { return folder() + QStringLiteral("/VoTran.mdb"); }

  bool exec(const QString& sql, const QVariantList& v = {}) { return dbtest::exec(kMain, sql, v); }
  QString row(const QString& sql) { return dbtest::firstRow(kMain, sql); }
  // Rows of `table`, with an optional WHERE clause after its name.
  int count(const QString& table) {
    return dbtest::scalar(kMain, QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
  }
  void addProgram(const QString& no, const QString& name, const QByteArray& pict = {}) {
    ASSERT_TRUE(
        exec("INSERT INTO VOPRO (ProNo, ProName, ProData, ProPict, ProScal, ProFN, "
             "ProPrg1, PrtFG) VALUES (?, ?, '說明', ?, 1, '1010', '/bin/true', 0)",
             {no, name, pict}));
    ASSERT_TRUE(
        exec("INSERT INTO VOPRDT (ProNo, ProSubN, ProCond, ProAnd, ProEng, ProAGL, "
             "ProAGH, ProFlg, PrtFG) VALUES (?, '條件', '1', '0', 27.5, 10, 60, 1, 0)",
             {no}));
  }
  void addClient(const QString& no, const QString& name, int tests = 1) {
    ASSERT_TRUE(
        exec("INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, PrtFG) VALUES (?, ?, 1, "
             "22000.0, 0)",
             {no, name}));
    for (int i = 0; i < tests; ++i)
      ASSERT_TRUE(
          exec("INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1, VO1, VO24, PrtFG) "
               "VALUES (?, ?, 0, '頭痛', 12.5, 40, 0)",
               {no, 45000.5 + i}));
  }
  TTransferOutcome exportNow(bool programs, bool records, TransferFiles* files = nullptr,
                             const QString& to = {}) {
    TransferRun run(kMain, files);
    return run.exportTo({to.isEmpty() ? folder() : to, programs, records, false});
  }
  TTransferOutcome importNow(bool programs, bool records, bool replace = false,
                             const QString& from = {}) {
    TransferRun run(kMain);
    return run.importFrom({from.isEmpty() ? folder() : from, programs, records, replace});
  }
  QString lastAsked() const { return asked_.isEmpty() ? QString() : asked_.last(); }

  QString mainPath_;
};

TEST_F(TransferTest, FourTablesRoundTripIntoAnotherInstallation) {
  const QByteArray picture("\x89PNG\x00\x00\x01\x02", 8);
  addProgram("P01", "舒眠", picture);
  addClient("C01", "王小明", 2);
  int steps = 0;
  TransferRun run(kMain);
  run.onStep = [&] { ++steps; };
  const TTransferOutcome out = run.exportTo({folder(), true, true, false});
  ASSERT_TRUE(out.ok) << qPrintable(out.message);
  EXPECT_EQ(lastAsked(), "6:資料匯出成功 !!");
  EXPECT_GT(steps, 10);
  // No work copy anywhere: neither in the install folder nor beside the destination.
  EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"VoTran.mdb"});
  EXPECT_FALSE(has("VoTran.mdb"));

  // A second installation receives everything.
  const QString source = ruto::test::readFile(transferFile()).toHex();
  CloseDatabase(kMain);
  QFile::remove(mainPath_);
  mainPath_ = dbtest::freshCopy(dir_, QStringLiteral("ruto4.mdb"));
  ASSERT_EQ(OpenDatabase(kMain, mainPath_, kMainTables), DbOpenResult::Ok);
  const TTransferOutcome in = importNow(true, true);
  ASSERT_TRUE(in.ok) << qPrintable(in.message);
  EXPECT_EQ(lastAsked(), "6:資料匯入成功，資料已經附加 !!");
  EXPECT_EQ(
      row("SELECT ProNo, ProName, ProData, hex(ProPict), ProScal, ProFN, ProPrg1 FROM VOPRO"),
      "P01|舒眠|說明|" + QString::fromLatin1(picture.toHex().toUpper()) + "|1|1010|/bin/true");
  EXPECT_EQ(row("SELECT ProNo, ProCond, ProEng, ProAGL, ProAGH, ProFlg FROM VOPRDT"),
            "P01|1|27.5|10|60|1");
  EXPECT_EQ(row("SELECT CUSTNO, NAME, SEX, DBIRTH FROM VOCUST"), "C01|王小明|1|22000");
  EXPECT_EQ(count("VODATA"), 2);
  EXPECT_EQ(row("SELECT CUSTNO, VODATE, MEMO1, VO1 FROM VODATA ORDER BY VODATE"),
            "C01|45000.5|頭痛|12.5");
  EXPECT_EQ(ruto::test::readFile(transferFile()).toHex(), source);  // the source survives
}

TEST_F(TransferTest, FailedImportSaysSoWithTheReasonBelow) {
  addClient("C01", "王小明");
  ASSERT_TRUE(exportNow(false, true).ok);
  ASSERT_TRUE(
      exec("CREATE TRIGGER refuse BEFORE INSERT ON VODATA BEGIN "
           "SELECT RAISE(ABORT, 'disk says no'); END"));
  const TTransferOutcome in = importNow(false, true, true);
  EXPECT_FALSE(in.ok);
  EXPECT_TRUE(
      in.message.startsWith("資料匯入錯誤 !! 系統資料未變更。 請排除問題後重新匯入資料。\n"))
      << in.message.toStdString();
  EXPECT_TRUE(in.message.section('\n', 1).contains("disk says no")) << in.message.toStdString();
  EXPECT_EQ(count("VOCUST"), 1);
}

TEST_F(TransferTest, RecordsOnlyExportLeavesProgramsEmptyAndImportSaysSo) {
  addProgram("P01", "舒眠");
  addClient("C01", "王小明");
  ASSERT_TRUE(exportNow(false, true).ok);
  ASSERT_TRUE(exec("DELETE FROM VOCUST"));
  const TTransferOutcome in = importNow(true, false, true);  // replace programs
  ASSERT_TRUE(in.ok);
  ASSERT_GE(asked_.size(), 2);
  EXPECT_EQ(asked_[asked_.size() - 2], "5:來源的 [專家療程] 資料是空的，將跳過匯入動作。");
  EXPECT_EQ(count("VOPRO"), 1) << "an empty group deletes nothing";
  EXPECT_EQ(lastAsked(), "6:資料匯入成功，原有的資料已被取代 !!");
}

TEST_F(TransferTest, AppendTwiceAddsNothingAndClashingNumbersMove) {
  addProgram("P01", "舒眠");
  addClient("C01", "王小明", 2);
  ASSERT_TRUE(exportNow(true, true).ok);
  // The same rows again: merged, nothing added, and the message says so.
  TTransferOutcome in = importNow(true, true);
  ASSERT_TRUE(in.ok);
  EXPECT_EQ(count("VOCUST"), 1);
  EXPECT_EQ(count("VODATA"), 2);
  EXPECT_EQ(count("VOPRDT"), 1);
  EXPECT_TRUE(lastAsked().contains("沒有新增任何資料")) << qPrintable(lastAsked());

  // Here the numbers belong to other people: the imported ones move to "-2" with their rows.
  ASSERT_TRUE(exec("UPDATE VOCUST SET NAME = '李四'"));
  ASSERT_TRUE(exec("UPDATE VOPRO SET ProName = '他名'"));
  in = importNow(true, true);
  ASSERT_TRUE(in.ok);
  EXPECT_EQ(dbtest::scalar(kMain, "SELECT NAME FROM VOCUST WHERE CUSTNO = 'C01-2'"), "王小明");
  EXPECT_EQ(count("VODATA WHERE CUSTNO = 'C01-2'"), 2);
  EXPECT_EQ(count("VOPRDT WHERE ProNo = 'P01-2'"), 1);
  EXPECT_TRUE(lastAsked().contains("P01 → P01-2")) << qPrintable(lastAsked());
  EXPECT_TRUE(lastAsked().contains("C01 → C01-2")) << qPrintable(lastAsked());
  // A third time finds them where the second put them.
  in = importNow(true, true);
  EXPECT_EQ(count("VOCUST"), 2);
  EXPECT_EQ(count("VODATA"), 4);
  EXPECT_TRUE(lastAsked().contains("沒有新增任何資料")) << qPrintable(lastAsked());
  // Renamed numbers are shortened to fit.
  EXPECT_EQ(RenamedKey("ABCDEFGHIJKLMNO", 2, 15), "ABCDEFGHIJKLM-2");
  EXPECT_EQ(RenamedKey("P1", 10, 12), "P1-10");
  EXPECT_EQ(RenamedKey("ABCDEFGHIJKL", 10, 12), "ABCDEFGHI-10");
}

TEST_F(TransferTest, ReplaceDeletesTheTickedGroupOnly) {
  addProgram("P01", "舒眠");
  addClient("C01", "王小明");
  ASSERT_TRUE(exportNow(true, true).ok);
  addClient("C02", "林大華");
  addProgram("P02", "安神");
  CurrentTest.MKey = dbtest::scalar(kMain, "SELECT MAX(MKEY) FROM VODATA").toInt();
  ASSERT_TRUE(importNow(false, true).ok);  // appended: nothing deleted
  EXPECT_GT(CurrentTest.MKey, 0);
  ASSERT_TRUE(importNow(false, true, true).ok);
  EXPECT_EQ(CurrentTest.MKey, 0) << "its row was replaced";
  EXPECT_EQ(count("VOCUST"), 1);
  EXPECT_EQ(count("VODATA"), 1);
  EXPECT_EQ(count("VOPRO"), 2) << "programs were not ticked";
}

TEST_F(TransferTest, HostileFilesChangeNothing) {
  addProgram("P01", "舒眠");
  addClient("C01", "王小明");
  ASSERT_TRUE(exportNow(true, true).ok);
  const QByteArray good = ruto::test::readFile(transferFile());
  const QByteArray mainBefore = ruto::test::readFile(mainPath_);
  QByteArray jet(200, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  const auto variant = [&](const QStringList& statements) {
    EXPECT_TRUE(ruto::test::writeFile(transferFile(), good));
    EXPECT_TRUE(dbtest::makeDatabase(transferFile(), statements));
    return ruto::test::readFile(transferFile());
  };
  // A client C09 whose name is the SQL expression `name`.
  const auto named = [&](const char* name) {
    return variant({QString("INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('C09', %1)").arg(name)});
  };
  const std::tuple<const char*, QByteArray, const char*> cases[] = {
      // what, file, message
      {"text", "just some text\n", "不是本系統的資料庫檔案"},
      {"jet", jet, "Access (Jet)"},
      {"truncated", good.left(good.size() / 2), "匯入檔案無法使用"},
      {"view", variant({"DROP TABLE VOCUST", "CREATE VIEW VOCUST AS SELECT * FROM VODATA"}),
       "缺少資料表 VOCUST"},
      {"column", variant({"DROP INDEX VoProB", "ALTER TABLE VOPRO DROP COLUMN ProName"}),
       "缺少欄位 ProName"},
      {"empty key", variant({"INSERT INTO VOCUST (CUSTNO) VALUES ('  ')"}), "編號空白"},
      {"long key", variant({"INSERT INTO VOPRO (ProNo) VALUES ('1234567890123')"}), "12 個字元"},
      {"bad value",
       variant({"INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('C09', 'x')",
                "INSERT INTO VODATA (CUSTNO, VO5) VALUES ('C09', 'abc')"}),
       "資料格式不符"},
      // Every text is checked against its column and for being text at all.
      {"long name", named("printf('%51s', 'x')"),
       "資料表 VOCUST 第 2 筆資料的欄位 NAME 超過 50 個字元"},
      {"long address",
       variant({"INSERT INTO VOCUST (CUSTNO, ADDR) VALUES ('C09', "
                "replace(printf('%101s', ''), ' ', '址'))"}),
       "資料表 VOCUST 第 2 筆資料的欄位 ADDR 超過 100 個字元"},
      {"long remark",
       variant({"INSERT INTO VOPRDT (ProNo, ProNote) VALUES ('P01', printf('%51s', 'x'))"}),
       "資料表 VOPRDT 第 2 筆資料的欄位 ProNote 超過 50 個字元"},
      {"10 MiB name", named("replace(hex(zeroblob(5242880)), '0', 'x')"),
       "欄位 NAME 超過 50 個字元"},
      {"bytes in a name", named("CAST(x'41C0AF' AS TEXT)"),
       "資料表 VOCUST 第 2 筆資料的欄位 NAME 不是有效的文字"},
      {"cut character in a memo",
       variant({"INSERT INTO VODATA (CUSTNO, MEMO1) VALUES ('C01', CAST(x'E4B8' AS TEXT))"}),
       "資料表 VODATA 第 2 筆資料的欄位 MEMO1 不是有效的文字"},
      {"bytes as a name", named("x'EDA080'"), "欄位 NAME 不是有效的文字"},
  };
  for (const auto& [what, file, says] : cases) {
    ASSERT_TRUE(ruto::test::writeFile(transferFile(), file)) << what;
    const TTransferOutcome in = importNow(true, true, true);  // replace: deletes come first
    EXPECT_FALSE(in.ok) << what;
    EXPECT_TRUE(lastAsked().startsWith("5:")) << what;
    EXPECT_TRUE(lastAsked().contains(says)) << what << ": " << qPrintable(lastAsked());
    EXPECT_EQ(ruto::test::readFile(transferFile()), file) << what;  // source untouched
    const QByteArray mainAfter = ruto::test::readFile(mainPath_);
    EXPECT_EQ(mainAfter.size(), mainBefore.size()) << what;
    for (qsizetype i = 0; i < qMin(mainAfter.size(), mainBefore.size()); ++i)
      if (mainAfter[i] != mainBefore[i]) {
        ADD_FAILURE() << what << ": main database differs at byte " << i;
        break;
      }
    EXPECT_EQ(count("VOCUST"), 1) << what;
  }
}

// The system's reason for an errno value, in the language the test runs in.
QString reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

TEST_F(TransferTest, CopyFailuresGiveTheirTextsAndKeepTheEarlierFile) {
  addClient("C01", "王小明");
  ASSERT_TRUE(ruto::test::writeFile(transferFile(), "earlier"));
  // The failing copy (2 = the one into the destination) and its errno, the rename's errno.
  const std::tuple<int, int, int, const char*> cases[] = {
      {2, ENOSPC, 0, "5:磁碟容量不足 !! 請排除問題後重新匯出資料。"},
      {0, 0, EROFS, "5:磁碟片防寫 !! 請排除問題後重新匯出資料。"},
      {2, EISDIR, 0, "5:資料匯出錯誤 !! ErrorCode[21] %1， 請排除問題後重新匯出資料。"},
      {2, ETIMEDOUT, 0, "5:資料匯出錯誤 !! ErrorCode[110] %1， 請排除問題後重新匯出資料。"},
      {2, ENOMEDIUM, 0, "5:磁碟機尚未準備妥當，或沒有磁片 !! 請排除問題後重新匯出資料。"},
  };
  for (const auto& [copy, copyErrno, renameErrno, text] : cases) {
    FailingFiles files(copy, copyErrno, renameErrno);
    EXPECT_FALSE(exportNow(false, true, &files).ok);
    EXPECT_EQ(lastAsked(), QString(text).replace("%1", reason(copyErrno)));
    EXPECT_EQ(ruto::test::readFile(transferFile()), "earlier");
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"VoTran.mdb"});
  }
  // Import from a folder without the file.
  QDir().mkpath(folder() + "/empty");
  EXPECT_FALSE(importNow(true, true, false, folder() + "/empty").ok);
  EXPECT_EQ(lastAsked(), "5:來源的檔案資料不存在 !! 請排除問題後重新匯入資料。");
  // A folder in the file's place is no missing disk either way.
  QDir().mkpath(folder() + "/dir/VoTran.mdb");
  EXPECT_FALSE(importNow(true, true, false, folder() + "/dir").ok);
  EXPECT_EQ(lastAsked(),
            "5:資料匯入錯誤 !! ErrorCode[21] " + reason(EISDIR) + "， 請排除問題後重新匯入資料。");
  EXPECT_FALSE(exportNow(false, true, nullptr, folder() + "/dir").ok);
  EXPECT_EQ(lastAsked(),
            "5:資料匯出錯誤 !! ErrorCode[21] " + reason(EISDIR) + "， 請排除問題後重新匯出資料。");
}

TEST_F(TransferTest, ExportReplacesAReadOnlyFileAndFindsItsNameInAnyCase) {
  addClient("C01", "王小明");
  const QString upper = folder() + "/VOTRAN.MDB";
  ASSERT_TRUE(ruto::test::writeFile(upper, "old"));
  ASSERT_TRUE(QFile::setPermissions(upper, QFile::ReadOwner));
  ASSERT_TRUE(exportNow(false, true).ok);
  EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"VOTRAN.MDB"});
  EXPECT_TRUE(ruto::test::readFile(upper).startsWith("SQLite format 3"));
  // The install folder as the destination loses nothing.
  const QByteArray templ = content("VoSpa.mdb");
  ASSERT_TRUE(exportNow(false, true, nullptr, dir_.path()).ok);
  EXPECT_EQ(content("VoSpa.mdb"), templ);
  EXPECT_TRUE(has("VoTran.mdb"));
  ASSERT_TRUE(importNow(false, true, false, dir_.path()).ok);
  EXPECT_TRUE(has("VoTran.mdb"));
}

TEST_F(TransferTest, TheTransferFileIsTheOwnersAloneAndAReplacedOneKeepsItsMode) {
  addClient("C01", "王小明");
  for (mode_t mask : {022, 077}) {
    SCOPED_TRACE(mask);
    ruto::test::UmaskScope umask(mask);
    QFile::remove(transferFile());
    ASSERT_TRUE(exportNow(false, true).ok);
    EXPECT_EQ(ruto::test::fileMode(transferFile()), 0600u);
    ASSERT_EQ(::chmod(QFile::encodeName(transferFile()).constData(), 0644), 0);
    ASSERT_TRUE(exportNow(false, true).ok);
    EXPECT_EQ(ruto::test::fileMode(transferFile()), 0644u);
  }
}

TEST(TransferErrors, CodesAndTexts) {
  const std::pair<int, int> codes[] = {{ENOENT, 2},   {EACCES, 5},    {EPERM, 5}, {EROFS, 19},
                                       {ENODEV, 21},  {ENXIO, 21},    {EIO, 30},  {ENOSPC, 112},
                                       {EDQUOT, 112}, {ETIMEDOUT, 0}, {EISDIR, 0}};
  for (auto [err, code] : codes) EXPECT_EQ(TransferErrorCode(err), code) << err;
  EXPECT_EQ(TransferErrorText(31, false),
            "無法讀取指定裝置，或磁碟格式化錯誤 !! 請排除問題後重新匯入資料。");
  EXPECT_EQ(TransferErrorText(7, false),
            "資料匯入錯誤 !! ErrorCode[7]， 請排除問題後重新匯入資料。");
}

TEST_F(TransferTest, OrphanTestsArriveAsTheyAreAndOnlyOnce) {
  addClient("C01", "王小明");
  ASSERT_TRUE(exec("INSERT INTO VODATA (CUSTNO, VODATE, VO1) VALUES ('X9', 45001, 33.5)"));
  ASSERT_TRUE(exportNow(false, true).ok);
  ASSERT_TRUE(exec("DELETE FROM VODATA WHERE CUSTNO = 'X9'"));
  TTransferOutcome in = importNow(false, true);
  ASSERT_TRUE(in.ok) << qPrintable(in.message);
  EXPECT_EQ(in.records.detailsAdded, 1);
  EXPECT_EQ(row("SELECT CUSTNO, VO1 FROM VODATA WHERE CUSTNO = 'X9'"), "X9|33.5");
  EXPECT_EQ(count("VODATA"), 2);
  in = importNow(false, true);
  EXPECT_TRUE(in.ok) << qPrintable(in.message);
  EXPECT_EQ(in.records.detailsAdded, 0);
  EXPECT_EQ(row("SELECT CUSTNO, VO1 FROM VODATA WHERE CUSTNO = 'X9'"), "X9|33.5");
  EXPECT_EQ(count("VODATA"), 2);
}

TEST_F(TransferTest, ATextTooLongForAnOptionalRunEndsOnlyThatRun) {
  addProgram("P01", "舒眠");
  ASSERT_TRUE(exportNow(true, false).ok);
  ASSERT_TRUE(dbtest::makeDatabase(
      transferFile(), {"UPDATE VOPRO SET ProScrp1 = 'a', ProScrp2 = printf('%151s', 'b'), "
                       "ProParm4 = 'c', PrtFG = 1"}));
  ASSERT_TRUE(exec("DELETE FROM VOPRO"));
  ASSERT_TRUE(importNow(true, false).ok) << qPrintable(lastAsked());
  EXPECT_EQ(row("SELECT ProFN, ProScrp1, ProScrp2, ProPrg1, ProParm4, PrtFG FROM VOPRO"),
            "1010|a|<null>|<null>|<null>|1");
}

}  // namespace

TEST_F(TransferTest, AnImportedCommandRunsOnlyOnceTheOperatorApprovedIt) {
  const QString ran = dir_.filePath("ran");
  ASSERT_TRUE(
      exec("INSERT INTO VOPRO (ProNo, ProFN, ProPrg1, ProParm1) VALUES "
           "('P01', '1000', '/usr/bin/touch', ?)",
           {ran}));
  ASSERT_TRUE(exportNow(true, false).ok);
  ASSERT_TRUE(exec("DELETE FROM VOPRO"));
  ASSERT_TRUE(importNow(true, false).ok);
  const QString prog = dbtest::scalar(kMain, "SELECT ProPrg1 FROM VOPRO").toString();
  ASSERT_EQ(prog, "/usr/bin/touch");

  asked_.clear();
  answer_ = false;
  EXPECT_FALSE(LaunchProgramCommand(kMain, prog, ran));
  EXPECT_EQ(asked_.size(), 1);
  EXPECT_EQ(lastAsked(), "3:" + CommandQuestionText(prog, ran));
  QThread::msleep(300);
  EXPECT_FALSE(QFile::exists(ran));

  answer_ = true;
  EXPECT_TRUE(LaunchProgramCommand(kMain, prog, ran));
  EXPECT_EQ(asked_.size(), 2) << "asked each time";
  EXPECT_EQ(lastAsked(), "3:" + CommandQuestionText(prog, ran));
  QElapsedTimer timer;
  timer.start();
  while (!QFile::exists(ran) && timer.elapsed() < 10000) QThread::msleep(20);
  EXPECT_TRUE(QFile::exists(ran));
}

// A copy that a killed export left beside the transfer file goes when the next import or export
// looks at that folder; a live run's copy, the transfer file and anything not ours stay.
TEST_F(TransferTest, CopiesThatKilledExportsLeftGoWhenTheFolderIsNextUsed) {
  addClient("C01", "王小明");
  ASSERT_TRUE(exportNow(false, true).ok);
  const QByteArray earlier = ruto::test::readFile(transferFile());
  const QString stem = ".VoTran.mdb.";
  QProcess child;
  child.start("sleep", {"60"});
  ASSERT_TRUE(child.waitForStarted());
  const QString dead = OwnedNamePrefix(stem, child.processId());
  child.kill();
  child.waitForFinished();
  const QString live = OwnedNamePrefix(stem, QCoreApplication::applicationPid());
  ASSERT_FALSE(dead.isEmpty());
  ASSERT_FALSE(live.isEmpty());
  // Our pid with another start time is another process too.
  const QString ownPidOtherStart =
      stem + QString::number(QCoreApplication::applicationPid()) + "-1-";
  ASSERT_TRUE(ruto::test::writeFile(dir_.filePath("kept"), "x"));
  const auto disk = [&](const QString& name) { return folder() + '/' + name; };
  // An import reads the file; an export stopped at its rename keeps it.
  for (const bool exporting : {false, true}) {
    SCOPED_TRACE(exporting);
    for (const QString& name : {dead + "Ab12Cd", ownPidOtherStart + "Ab12Cd", dead + "Other0"})
      ASSERT_TRUE(ruto::test::writeFile(disk(name), "client data"));
    ASSERT_TRUE(ruto::test::writeFile(disk(live + "Xy34Zw"), "live"));
    QFile::link(dir_.filePath("kept"), disk(dead + "Link00"));
    QDir().mkpath(disk(dead + "Dir000"));
    // Another user's file, where the test may hand one over.
    const bool othersFile =
        ::chown(QFile::encodeName(disk(dead + "Other0")).constData(), 65534, 65534) == 0;
    // The export's own copy is named for this process, then its rename fails.
    struct RenameFails : TransferFiles {
      QString copy;
      int replaceFile(const QString& from, const QString&) override {
        copy = from;
        return EROFS;
      }
    } renameFails;
    if (exporting) {
      EXPECT_FALSE(exportNow(false, true, &renameFails).ok);
      EXPECT_TRUE(renameFails.copy.startsWith(disk(live))) << qPrintable(renameFails.copy);
    } else {
      EXPECT_TRUE(importNow(false, true).ok) << qPrintable(lastAsked());
    }
    QStringList want{"VoTran.mdb", live + "Xy34Zw", dead + "Link00", dead + "Dir000"};
    if (othersFile) want << dead + "Other0";
    want.sort();
    QStringList got = QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    got.sort();
    EXPECT_EQ(got.join(" | "), want.join(" | "));
    EXPECT_EQ(ruto::test::readFile(transferFile()), earlier) << "the old VoTran.mdb is untouched";
    EXPECT_EQ(ruto::test::readFile(disk(live + "Xy34Zw")), "live") << "a live copy stays";
    EXPECT_EQ(ruto::test::readFile(dir_.filePath("kept")), "x") << "a link's target stays";
    QFile::remove(disk(dead + "Other0"));
  }
}
