#include <gtest/gtest.h>
#include <QStringList>

#include "app/LaunchExternal.h"

using namespace ruto;

TEST(LaunchExternal, StartsProgramsOpensAddressesAndSkipsMissingDrives) {
  const struct {
    const char *program, *param;
    QStringList expected;
  } cases[] = {
      // Trimmed and started directly.
      {" /bin/true\t", " 參數 ", {"/bin/true|參數|prog"}},
      // An empty program opens the parameter by itself; nothing at all starts nothing.
      {"", "http://www.zelvan.com.tw/", {"http://www.zelvan.com.tw/||open"}},
      {"", "", {}},
      // A web address as the program is opened, not executed.
      {"http://www.zelvan.com.tw/", "", {"http://www.zelvan.com.tw/||open"}},
      // A drive-letter program that exists nowhere starts nothing; such a parameter goes on.
      {"C:\\Program Files\\x.exe", "a", {}},
      {"/bin/true", "D:\\doc.txt", {"/bin/true|D:\\doc.txt|prog"}},
  };
  static QStringList started;
  SetExternalStarter([](const QString& program, const QString& param, bool isProgram) {
    started << QStringLiteral("%1|%2|%3").arg(program, param, isProgram ? "prog" : "open");
  });
  for (const auto& c : cases) {
    started.clear();
    LaunchExternal(QString::fromUtf8(c.program), QString::fromUtf8(c.param));
    EXPECT_EQ(started, c.expected) << c.program << " / " << c.param;
  }
  SetExternalStarter(nullptr);
}
