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
  EXPECT_EQ(formatOleDateTime(46362.75) + " " + formatOleDate(4000.0),
            "2026/12/06 18:00:00 1910/12/13");
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(fromOleDate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
  EXPECT_DOUBLE_EQ(toOleDate(fromOleDate(-1.25)), -1.25);
  // A fraction that rounds up to a whole day moves to the next day.
  EXPECT_EQ(formatOleDateTime(1.0 - 1e-12), "1899/12/31 00:00:00");
  EXPECT_FALSE(fromOleDate(std::nan("")).isValid() || !formatOleDate(1e12).isEmpty());
  // The shown formats read back.
  double v = 0;
  EXPECT_TRUE(parseOleDate("2026/12/06", &v) && v == 46362.0) << v;
  EXPECT_TRUE(parseOleDate("2026-12-6 06:00", &v) && v == 46362.25) << v;
  EXPECT_FALSE(parseOleDate("2026/13/01", &v) || parseOleDate("", &v));
}

TEST(TextTrim, TrimsBlanksAndControlCharactersOnly) {
  // The ideographic blank is kept.
  EXPECT_EQ(QStringList(
                {Trim("\t 名稱 \r\n"), TrimLeft("  a "), TrimRight("  a "), Trim("\u3000a\u3000")}),
            QStringList({"名稱", "a ", "  a", "\u3000a\u3000"}));
}

TEST(Clock, VirtualClockMovesOnlyWhenTold) {
  VirtualClock v(500);
  {
    ScopedClock scope(&v);
    const std::int64_t before = TickCount();
    ruto::clock().sleepMs(350);
    EXPECT_EQ(std::tuple(before, TickCount()), std::tuple(500, 850));
  }
  EXPECT_NE(&ruto::clock(), &v);
}

TEST(Files, NamesMatchIgnoringCaseExactPreferred) {
  QTemporaryDir dir;
  ASSERT_TRUE(test::writeFile(dir.filePath("VoSpa.mdb"), "t"));
  EXPECT_EQ(
      std::tuple(fileExistsNoCase(dir.path(), "VOSPA.MDB"), findFileNoCase(dir.path(), "vospa.MDB"),
                 pathNoCase(dir.path(), "other.mdb")),
      std::tuple(true, dir.filePath("VoSpa.mdb"), dir.filePath("other.mdb")));

  // Renames and copies never replace.
  ASSERT_TRUE(test::writeFile(dir.filePath("a"), "A") && test::writeFile(dir.filePath("b"), "B"));
  EXPECT_TRUE(!renameNoReplace(dir.filePath("a"), dir.filePath("b")) &&
              renameNoReplace(dir.filePath("a"), dir.filePath("c")));
  int err = 0;
  for (const auto& [from, to, code] : {std::tuple("c", "b", EEXIST), {"missing", "d", ENOENT}})
    EXPECT_TRUE(!copyFileNoReplace(dir.filePath(from), dir.filePath(to), &err) && err == code)
        << to;
  EXPECT_TRUE(!copyFileNoReplace(dir.filePath("c"), dir.filePath("no/such/d"), &err) &&
              copyFileNoReplace(dir.filePath("c"), dir.filePath("d"), &err));
  // Nothing was replaced; "a" is gone.
  EXPECT_EQ(test::readFile(dir.filePath("b")) + test::readFile(dir.filePath("d")), "BA");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' '), "b c d VoSpa.mdb");
}
