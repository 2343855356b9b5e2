// Commands of expert programs run only once this installation's operator approved them.

#include "app/AppTestSupport.h"
#include "app/CommandApproval.h"
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
