#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include "app/AppTestSupport.h"
#include "app/DatabaseGuard.h"
#include "app/Databases.h"
#include "app/RecordSet.h"
#include "app/Settings.h"
#include "app/StartupFiles.h"
#include "base/Files.h"
#include "support/SqliteHolder.h"

using namespace ruto;

class StartupFiles : public InstallFolderTest {
 protected:
  // Every file of the folder as "name=content", a copy of the template showing as "T".
  QString folder() const {
    const QByteArray tmpl = ruto::test::readFile(ruto::test::generatedPath("VoSpa.mdb"));
    QStringList out;
    for (const QString& name : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
      out << name + '=' + (content(name) == tmpl ? QByteArray("T") : content(name));
    std::sort(out.begin(), out.end());
    return out.join(' ');
  }
};

TEST_F(StartupFiles, FileStepsSwapUpdateAndCreateMainWithoutReplacingAnything) {
  const std::pair<const char*, const char*> cases[] = {
      // Files before and after as "name=content", "T" for a copy of the template.
      // No template: nothing is touched.
      {"ruto430.mdb=update ruto4.mdb=main", "ruto4.mdb=main ruto430.mdb=update"},
      // The update replaces the main database, which becomes the old one.
      {"VoSpa.mdb=T ruto430.mdb=update ruto4.mdb=main",
       "VoSpa.mdb=T ruto.mdb=main ruto4.mdb=update"},
      // An update without a main database is dropped; the main one is made from the template.
      {"VoSpa.mdb=T ruto430.mdb=update", "VoSpa.mdb=T ruto4.mdb=T"},
      // A leftover update beside an old database is deleted.
      {"VoSpa.mdb=T ruto430.mdb=update ruto.mdb=old", "VoSpa.mdb=T ruto.mdb=old ruto4.mdb=T"},
      // The swap never overwrites an old database still to migrate.
      {"VoSpa.mdb=T ruto430.mdb=update ruto4.mdb=main ruto.mdb=old",
       "VoSpa.mdb=T ruto.mdb=old ruto4.mdb=main ruto430.mdb=update"},
      // Names match whatever their case.
      {"VOSPA.MDB=T RUTO4.MDB=main", "RUTO4.MDB=main VOSPA.MDB=T"}};
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
      ASSERT_TRUE(QFile::remove(path(f)));
    for (const QString& f : QString(before).split(' ')) {
      const QString name = f.section('=', 0, 0), data = f.section('=', 1);
      if (data == "T")
        putTemplate(name);
      else
        putMarker(name, data.toUtf8());
    }
    const TStartupFiles r = PrepareDatabaseFiles();
    EXPECT_EQ(r.TemplateMissing, !QString(before).contains("=T"));
    EXPECT_EQ(r.CaseNotice, "");
    EXPECT_EQ(folder(), after);  // also: no temporary file is left behind
  }
  // A template copy that fails (a full disk) leaves neither a main database nor a
  // temporary file; opening then fails with the database message.
  ASSERT_TRUE(QFile::remove(path("VOSPA.MDB")));
  ASSERT_TRUE(QFile::remove(path("RUTO4.MDB")));
  putTemplate();
  {
    FileSizeLimit full(4096);
    PrepareDatabaseFiles();
  }
  EXPECT_EQ(folder(), "VoSpa.mdb=T");
}

TEST_F(StartupFiles, NamesDifferingInCaseUseTheExactOrFirstAndAreReported) {
  putTemplate();
  putMarker("Ruto4.mdb", "b");
  putMarker("RUTO4.MDB", "a");
  TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_EQ(InstallPath(kMainDatabase), path("RUTO4.MDB")) << "first in byte order";
  EXPECT_EQ(r.CaseNotice,
            kCaseVariantsText + '\n' + InstallDir() + "\n使用 RUTO4.MDB，略過 Ruto4.mdb");

  for (const char* name : {"ruto4.mdb", "deRIRaz.ini", "DeRirAz.ini", "DERIRAZ.INI"})
    putMarker(name, "");
  r = PrepareDatabaseFiles();
  EXPECT_EQ(InstallPath(kMainDatabase), path("ruto4.mdb")) << "the exact name wins";
  EXPECT_EQ(r.CaseNotice, kCaseVariantsText + '\n' + InstallDir() +
                              "\n使用 ruto4.mdb，略過 RUTO4.MDB、Ruto4.mdb"
                              "\n使用 DeRirAz.ini，略過 DERIRAZ.INI、deRIRaz.ini");
}

TEST_F(StartupFiles, OpenFailuresGiveTheirMessageAndLeaveTheFilesAlone) {
  putTemplate();
  putTemplate(QStringLiteral("ruto4.mdb"));
  QString message;
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kDatabaseOpenText + '\n' + path("rutoTW.mdb"));
  EXPECT_FALSE(has("rutoTW.mdb")) << "never created by opening";
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection)) << "both are closed again";

  putReference();
  QByteArray jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  putMarker("ruto4.mdb", jet);
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kJetDatabaseText + '\n' + path("ruto4.mdb"));
  EXPECT_EQ(content("ruto4.mdb"), jet);
  EXPECT_FALSE(QSqlDatabase::contains(kReferenceConnection));
  EXPECT_EQ(TemplateMissingMessage(), kTemplateMissingText + '\n' + path("VoSpa.mdb"));

  // A main database of the earlier schema opens rebuilt, its rows kept.
  ASSERT_TRUE(QFile::remove(path("ruto4.mdb")));
  ASSERT_TRUE(dbtest::makeDatabase(
      path("ruto4.mdb"), {"CREATE TABLE VOCUST (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CUSTNO "
                          "TEXT NOT NULL COLLATE NOCASE UNIQUE, NAME TEXT, SEX INTEGER)",
                          "CREATE TABLE VODATA (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CUSTNO "
                          "TEXT REFERENCES VOCUST (CUSTNO) ON DELETE CASCADE, VOVOTA INTEGER)",
                          "CREATE TABLE VOPRO (ProNo TEXT)", "CREATE TABLE VOPRDT (ProNo TEXT)",
                          "INSERT INTO VOCUST (CUSTNO) VALUES ('A')",
                          "INSERT INTO VODATA (MKEY, CUSTNO) VALUES (5, 'gone')"}));
  ASSERT_TRUE(OpenStartupDatabases(&message)) << message.toStdString();
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT MKEY, CUSTNO, VOVOTA, VO1 FROM VODATA"),
            "5|gone|0|<null>");
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT CUSTNO, SEX, PrtFG FROM VOCUST"), "A|0|0");
  CloseStartupDatabases();
}

TEST_F(StartupFiles, CreatedFilesAreTheOwnersAloneAndExistingOnesKeepTheirMode) {
  using ruto::test::fileMode;
  for (mode_t mask : {022, 077}) {
    SCOPED_TRACE(mask);
    ruto::test::UmaskScope umask(mask);
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
      ASSERT_TRUE(QFile::remove(path(f)));
    putTemplate();
    ASSERT_EQ(::chmod(QFile::encodeName(path("VoSpa.mdb")).constData(), 0644), 0);
    PrepareDatabaseFiles();
    Settings = DefaultSettings();
    ASSERT_TRUE(LoadSaveSettings(true));
    EXPECT_EQ(fileMode(path("ruto4.mdb")), 0600u);
    EXPECT_EQ(fileMode(path("DeRirAz.ini")), 0600u);
    ASSERT_EQ(::chmod(QFile::encodeName(path("ruto4.mdb")).constData(), 0640), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("DeRirAz.ini")).constData(), 0644), 0);
    PrepareDatabaseFiles();
    ASSERT_TRUE(LoadSaveSettings(true));
    EXPECT_EQ(fileMode(path("ruto4.mdb")), 0640u);
    EXPECT_EQ(fileMode(path("DeRirAz.ini")), 0644u);
  }
}

TEST_F(StartupFiles, WorkFoldersOfKilledRunsGoAtStartAndLiveOnesStay) {
  QTemporaryDir temp;
  const QByteArray savedTmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(temp.path()));
  QProcess child;
  child.start(QStringLiteral("sleep"), {QStringLiteral("60")});
  ASSERT_TRUE(child.waitForStarted());
  const QString dead = WorkFolderPrefix(child.processId());
  child.kill();
  child.waitForFinished();
  ASSERT_FALSE(dead.isEmpty());
  const QString own = WorkFolderPrefix(QCoreApplication::applicationPid());
  QTemporaryDir live(WorkFolderTemplate());
  ASSERT_TRUE(live.path().startsWith(temp.path() + '/' + own));
  ASSERT_TRUE(ruto::test::writeFile(live.filePath("VoTran.mdb"), "live"));
  // Left by the killed run; our pid with another start time is another process too.
  const QString ownPid = "ruto-work-" + QString::number(QCoreApplication::applicationPid());
  for (const QString& name : {dead + "Ab12Cd", ownPid + "-1-Ab12Cd"})
    ASSERT_TRUE(ruto::test::writeFile(temp.filePath(name + "/ruto.mdb"), "client data"));
  // A link under a work folder's name is nobody's work folder; an unrelated folder stays.
  ASSERT_TRUE(ruto::test::writeFile(temp.filePath("kept/file"), "x"));
  ASSERT_TRUE(QFile::link(temp.filePath("kept"), temp.filePath(dead + "Link00")));
  PrepareDatabaseFiles();
  qputenv("TMPDIR", savedTmp);
  QStringList want{"kept", QFileInfo(live.path()).fileName(), dead + "Link00"};
  want.sort();
  EXPECT_EQ(QDir(temp.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name),
            want);
  EXPECT_EQ(ruto::test::readFile(temp.filePath("kept/file")), "x");
  EXPECT_EQ(ruto::test::readFile(live.filePath("VoTran.mdb")), "live");
}

TEST_F(StartupFiles, DamagedMainDatabaseIsReportedOnceAndNeverWritten) {
  putInstallation();
  const QString main = path("ruto4.mdb");
  ASSERT_TRUE(dbtest::makeDatabase(
      main, {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
             "INSERT INTO VODATA (CUSTNO, MEMO1) SELECT 'C' || i, hex(randomblob(200)) FROM n"}));
  // One page in the middle of the tests' rows overwritten.
  QByteArray bytes = content("ruto4.mdb");
  const int pageSize = (static_cast<uchar>(bytes[16]) << 8) | static_cast<uchar>(bytes[17]);
  const qsizetype page = bytes.size() / pageSize / 2;
  bytes.replace(page * pageSize, pageSize, QByteArray(pageSize, 'x'));
  putMarker("ruto4.mdb", bytes);

  QString message;
  ASSERT_TRUE(OpenStartupDatabases(&message)) << "the window is not held up";
  RecordSet clients(kMainConnection, "VOCUST");
  EXPECT_EQ(clients.insert({{"CUSTNO", "A"}}), 0);
  EXPECT_TRUE(clients.lastError().startsWith(kDatabaseDamagedText + '\n' + main + '\n'))
      << clients.lastError().toStdString();
  for (int i = 0; i < 500 && asked_.isEmpty(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  QCoreApplication::processEvents();
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_TRUE(asked_[0].startsWith("6:" + kDatabaseDamagedText + '\n' + main + '\n'));
  CloseStartupDatabases();
  EXPECT_EQ(content("ruto4.mdb"), bytes);

  // A broken first page (the table list) already stops the opening, with the same text.
  bytes.replace(100, 200, QByteArray(200, 'x'));
  putMarker("ruto4.mdb", bytes);
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kDatabaseDamagedText + '\n' + main);
  EXPECT_EQ(content("ruto4.mdb"), bytes);
}

TEST_F(StartupFiles, MainDatabaseHeldByAnotherProgramIsNamedWithRetryOrQuit) {
  putInstallation();
  ruto::test::SqliteHolder holder(path("ruto4.mdb"), "BEGIN EXCLUSIVE;\n.print held\n");
  ASSERT_TRUE(holder.ok());
  const QString question = QString("3:%1\n%2\n使用中的程式：sqlite3 (PID %3)\n%4")
                               .arg(kDatabaseInUseText, path("ruto4.mdb"))
                               .arg(holder.pid())
                               .arg(kDatabaseInUseRetryText);
  answer_ = false;
  QString message = "unset";
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, "") << "quitting needs no second message";
  EXPECT_EQ(asked_, QStringList{question});

  // "是" after the other program has let go opens the file.
  SetAskUserResponder([&](MsgKind, const QString&) { return holder.release(); });
  EXPECT_TRUE(OpenStartupDatabases(&message)) << message.toStdString();
  CloseStartupDatabases();
}
