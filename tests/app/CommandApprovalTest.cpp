// Commands of expert programs run only once this installation's operator approved them.

#include "app/AppTestSupport.h"
#include "app/CommandApproval.h"
#include "app/DatabaseGuard.h"
#include "app/LaunchExternal.h"

namespace {

const QString kDb = QStringLiteral("ApprovalTest");
QStringList gStarted;

class CommandApproval : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kDb, "ruto4.mdb");
    gStarted.clear();
    SetExternalStarter([](const QString& program, const QString& param, bool) {
      gStarted << program + u'|' + param;
    });
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      asked << QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(text);
      return answer;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    SetExternalStarter(nullptr);
    dbtest::Fixture::TearDown();
  }
  QStringList asked;
  bool answer = false;
};

}  // namespace

TEST_F(CommandApproval, OnlyTheExactCommandApprovedRunsWithoutAsking) {
  EXPECT_FALSE(LaunchProgramCommand(kDb, "/usr/bin/x", "a b"));
  ASSERT_EQ(asked, QStringList{"3:" + CommandQuestionText("/usr/bin/x", "a b")});
  EXPECT_TRUE(asked[0].contains("程式：/usr/bin/x\n參數：a b"));
  EXPECT_TRUE(gStarted.isEmpty());

  answer = true;
  EXPECT_TRUE(LaunchProgramCommand(kDb, "/usr/bin/x", "a b"));
  answer = false;
  // Blanks around it do not change a command; any other program or parameter does, however
  // the same text is split between them.
  EXPECT_TRUE(LaunchProgramCommand(kDb, " /usr/bin/x ", " a b "));
  for (const auto& [program, param] :
       {std::pair("/usr/bin/x a", "b"), {"/usr/bin/x", "a  b"}, {"/usr/bin/y", "a b"}})
    EXPECT_FALSE(LaunchProgramCommand(kDb, program, param)) << program;
  EXPECT_EQ(gStarted, QStringList({"/usr/bin/x|a b", "/usr/bin/x|a b"}));
  EXPECT_EQ(asked.size(), 5);
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM APPROVED").toInt(), 1);
  // An empty command asks nothing and starts nothing.
  EXPECT_FALSE(LaunchProgramCommand(kDb, " ", ""));
  EXPECT_EQ(asked.size(), 5);
  EXPECT_EQ(gStarted.size(), 2) << "an empty command starts nothing";
}

// A "是" is a write like any other: it waits for the start-up check, and on a damaged file
// nothing is written and nothing starts; so on a file that refuses writes.
TEST_F(CommandApproval, ApprovalThatCannotBeKeptRunsNothing) {
  answer = true;
  const QString path = dir.filePath("damaged.mdb");
  ASSERT_TRUE(QFile::copy(ruto::test::generatedPath("VoSpa.mdb"), path));
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
  ASSERT_TRUE(dbtest::makeDatabase(
      path, {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
             "INSERT INTO VODATA (CUSTNO, MEMO1) SELECT 'C' || i, hex(randomblob(200)) FROM n"}));
  QByteArray bytes = ruto::test::readFile(path);
  const int pageSize = (static_cast<uchar>(bytes[16]) << 8) | static_cast<uchar>(bytes[17]);
  const qsizetype page = bytes.size() / pageSize / 2;  // among the tests' rows
  bytes.replace(page * pageSize, pageSize, QByteArray(pageSize, 'x'));
  ASSERT_TRUE(ruto::test::writeFile(path, bytes));
  const QString damaged = QStringLiteral("Damaged");
  ASSERT_EQ(OpenDatabase(damaged, path, kMainTables), DbOpenResult::Ok);
  StartDatabaseCheck(damaged, path);
  EXPECT_FALSE(LaunchProgramCommand(damaged, "/usr/bin/x", "a b"));
  // The check's own report comes through the event loop.
  for (int i = 0; i < 500 && asked.size() < 3; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  StopDatabaseCheck(damaged);
  CloseDatabase(damaged);
  EXPECT_EQ(gStarted, QStringList()) << "the command does not start";
  EXPECT_EQ(ruto::test::readFile(path), bytes) << "the damaged file is not written";
  ASSERT_EQ(asked.size(), 3) << asked.join('\n').toStdString();
  EXPECT_TRUE(asked[1].startsWith("5:" + kApprovalFailedText + '\n' + kDatabaseDamagedText + '\n' +
                                  path + '\n'))
      << asked[1].toStdString();
  EXPECT_TRUE(asked[2].startsWith("6:" + kDatabaseDamagedText));

  asked.clear();
  ASSERT_TRUE(dbtest::exec(kDb, "PRAGMA query_only = ON"));
  EXPECT_FALSE(LaunchProgramCommand(kDb, "/usr/bin/x", "a b"));
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[1].section('\n', 0, 0), "5:" + kApprovalFailedText);
  EXPECT_TRUE(asked[1].section('\n', 1).contains("readonly")) << asked[1].toStdString();
  EXPECT_TRUE(gStarted.isEmpty());
}
