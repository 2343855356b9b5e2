#include <gtest/gtest.h>
#include <QStringList>

#include "app/LaunchExternal.h"

namespace {
QStringList started;
void record(const QString& program, const QString& param, bool isProgram) {
  started << QStringLiteral("%1|%2|%3").arg(program, param, isProgram ? "prog" : "open");
}
struct Recording {
  Recording() {
    started.clear();
    SetExternalStarter(&record);
  }
  ~Recording() { SetExternalStarter(nullptr); }
};
}  // namespace

TEST(LaunchExternal, ProgramWithParameterIsTrimmedAndStartedDirectly) {
  Recording r;
  LaunchExternal(QStringLiteral(" /bin/true\t"), QStringLiteral(" 參數 "));
  EXPECT_EQ(started, QStringList{"/bin/true|參數|prog"});
}

TEST(LaunchExternal, EmptyProgramOpensTheParameterByItself) {
  Recording r;
  LaunchExternal(QString(), QStringLiteral("http://www.zelvan.com.tw/"));
  LaunchExternal(QString(), QString());
  EXPECT_EQ(started, QStringList{"http://www.zelvan.com.tw/||open"});
}

TEST(LaunchExternal, WebAddressAsProgramIsOpenedNotExecuted) {
  Recording r;
  LaunchExternal(QStringLiteral("http://www.zelvan.com.tw/"), QString());
  EXPECT_EQ(started, QStringList{"http://www.zelvan.com.tw/||open"});
}

TEST(LaunchExternal, DriveLetterPathThatExistsNowhereStartsNothing) {
  Recording r;
  LaunchExternal(QStringLiteral("C:\\Program Files\\x.exe"), QStringLiteral("a"));
  EXPECT_TRUE(started.isEmpty());
  // A parameter with a drive letter that exists nowhere goes on as given.
  LaunchExternal(QStringLiteral("/bin/true"), QStringLiteral("D:\\doc.txt"));
  EXPECT_EQ(started, QStringList{"/bin/true|D:\\doc.txt|prog"});
}
