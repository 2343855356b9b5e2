#include <gtest/gtest.h>
#include <QStringList>

#include "app/AppTestSupport.h"
#include "app/LaunchExternal.h"

using namespace ruto;

TEST(LaunchExternal, StartsProgramsOpensAddressesAndSkipsMissingDrives) {
  const std::tuple<const char*, const char*, QStringList> cases[] = {
      // Trimmed and started directly.
      {" /bin/true\t", " 參數 ", {"/bin/true|參數|prog"}},
      // An empty program opens the parameter by itself; nothing at all starts nothing.
      {"", "http://www.zelvan.com.tw/", {"http://www.zelvan.com.tw/||open"}},
      {"", "", {}},
      // A web address as the program is opened, not executed.
      {"http://www.zelvan.com.tw/", "", {"http://www.zelvan.com.tw/||open"}},
      // A drive-letter program that exists nowhere starts nothing; such a parameter goes on.
      {"C:\\Program Files\\x.exe", "a", {}},
      {"/bin/true", "D:\\doc.txt", {"/bin/true|D:\\doc.txt|prog"}}};
  static QStringList started;
  SetExternalStarter([](const QString& program, const QString& param, bool isProgram) {
    started << QStringLiteral("%1|%2|%3").arg(program, param, isProgram ? "prog" : "open");
  });
  for (const auto& [program, param, expected] : cases) {
    started.clear();
    EXPECT_EQ(LaunchExternal(QString::fromUtf8(program), QString::fromUtf8(param)),
              !expected.isEmpty());
    EXPECT_EQ(started, expected) << program << " / " << param;
  }
  SetExternalStarter(nullptr);
}

TEST(LaunchExternal, AParameterNamingAFileIsOneArgumentAnyOtherIsSplit) {
  QTemporaryDir dir;
  const QString file = dir.filePath("my report.txt");
  ASSERT_TRUE(ruto::test::writeFile(file, "x"));
  EXPECT_EQ(ExternalArguments(file), QStringList{file});
  EXPECT_EQ(ExternalArguments("-a \"two words\" b"), QStringList({"-a", "two words", "b"}));
  EXPECT_EQ(ExternalArguments(dir.filePath("missing file.txt")),
            QStringList({dir.filePath("missing"), "file.txt"}));
  EXPECT_EQ(ExternalArguments(""), QStringList());
}

class LaunchReport : public InstallFolderTest {};

TEST_F(LaunchReport, WhatCannotBeStartedIsNamedInOneMessage) {
  // Nothing of these exists, so the real starter starts nothing.
  for (const auto& [program, param] :
       {std::pair(" winword.exe ", "a.doc"), {"E:\\Media\\wmplayer.exe", ""}, {"", ""}})
    EXPECT_FALSE(LaunchExternalOrReport(program, param)) << program;
  EXPECT_EQ(asked_,
            QStringList({"5:" + kExternalStartFailedText + "\nwinword.exe",
                         "5:" + kExternalStartFailedText + "\nE:\\Media\\wmplayer.exe",
                         "5:" + kExternalStartFailedText + '\n' + kExternalNothingSetText}));
}
