#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Files.h"
#include "base/Text.h"
#include "support/TestSupport.h"

using namespace ruto;

TEST(OleDate, DayNumbersAndTimeOfDay) {
  EXPECT_DOUBLE_EQ(toOleDate(QDate(1899, 12, 30)), 0.0);
  EXPECT_DOUBLE_EQ(toOleDate(QDate(1900, 1, 1)), 2.0);
  EXPECT_DOUBLE_EQ(toOleDate(QDateTime(QDate(2026, 12, 6), QTime(18, 0))), 46362.75);
  EXPECT_EQ(formatOleDateTime(46362.75), "2026/12/06 18:00:00");
  EXPECT_EQ(formatOleDate(4000.0), "1910/12/13");
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(fromOleDate(-1.25).time(), QTime(6, 0));
  EXPECT_EQ(fromOleDate(-1.25).date(), QDate(1899, 12, 29));
  EXPECT_DOUBLE_EQ(toOleDate(fromOleDate(-1.25)), -1.25);
  // A fraction that rounds up to a whole day moves to the next day.
  EXPECT_EQ(formatOleDateTime(1.0 - 1e-12), "1899/12/31 00:00:00");
  EXPECT_FALSE(fromOleDate(std::nan("")).isValid());
  EXPECT_TRUE(formatOleDate(1e12).isEmpty());
}

TEST(OleDate, ParsesTheShownFormats) {
  double v = 0;
  ASSERT_TRUE(parseOleDate("2026/12/06", &v));
  EXPECT_DOUBLE_EQ(v, 46362.0);
  ASSERT_TRUE(parseOleDate("2026-12-6 06:00", &v));
  EXPECT_DOUBLE_EQ(v, 46362.25);
  EXPECT_FALSE(parseOleDate("2026/13/01", &v));
  EXPECT_FALSE(parseOleDate("", &v));
}

TEST(TextTrim, TrimsBlanksAndControlCharactersOnly) {
  EXPECT_EQ(Trim(QStringLiteral("\t 名稱 \r\n")), "名稱");
  EXPECT_EQ(TrimLeft(QStringLiteral("  a ")), "a ");
  EXPECT_EQ(TrimRight(QStringLiteral("  a ")), "  a");
  EXPECT_EQ(Trim(QStringLiteral("\u3000a\u3000")), "\u3000a\u3000");  // ideographic blank kept
}

TEST(Clock, VirtualClockMovesOnlyWhenTold) {
  VirtualClock v(500);
  {
    ScopedClock scope(&v);
    EXPECT_EQ(TickCount(), 500);
    ruto::clock().sleepMs(350);
    EXPECT_EQ(TickCount(), 850);
  }
  EXPECT_NE(&ruto::clock(), &v);
}

TEST(Files, NamesMatchIgnoringCaseExactPreferred) {
  QTemporaryDir dir;
  ASSERT_TRUE(test::writeFile(dir.filePath("VoSpa.mdb"), "t"));
  EXPECT_EQ(findFileNoCase(dir.path(), "vospa.MDB"), dir.filePath("VoSpa.mdb"));
  EXPECT_TRUE(fileExistsNoCase(dir.path(), "VOSPA.MDB"));
  EXPECT_EQ(pathNoCase(dir.path(), "other.mdb"), dir.filePath("other.mdb"));
}

TEST(Files, RenameAndCopyNeverReplace) {
  QTemporaryDir dir;
  ASSERT_TRUE(test::writeFile(dir.filePath("a"), "A"));
  ASSERT_TRUE(test::writeFile(dir.filePath("b"), "B"));
  EXPECT_FALSE(renameNoReplace(dir.filePath("a"), dir.filePath("b")));
  EXPECT_EQ(test::readFile(dir.filePath("b")), "B");
  EXPECT_TRUE(renameNoReplace(dir.filePath("a"), dir.filePath("c")));
  EXPECT_FALSE(QFile::exists(dir.filePath("a")));
  int err = 0;
  EXPECT_FALSE(copyFileNoReplace(dir.filePath("c"), dir.filePath("b"), &err));
  EXPECT_EQ(err, EEXIST);
  EXPECT_FALSE(copyFileNoReplace(dir.filePath("missing"), dir.filePath("d"), &err));
  EXPECT_EQ(err, ENOENT);
  EXPECT_FALSE(copyFileNoReplace(dir.filePath("c"), dir.filePath("no/such/d"), &err));
  EXPECT_TRUE(copyFileNoReplace(dir.filePath("c"), dir.filePath("d"), &err));
  EXPECT_EQ(test::readFile(dir.filePath("d")), "A");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"b", "c", "d"}));
}
