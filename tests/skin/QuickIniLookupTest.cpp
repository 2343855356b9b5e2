#include "skin/QuickIni.h"

#include <gtest/gtest.h>
#include <QBuffer>

#include "QuickIniText.h"

using namespace ruto;

namespace {

using ruto::test::iniFromText;

}  // namespace

// Only the first section of a name is read, keys a later one adds included; a reload
// forgets the previous definition's keys.
TEST(QuickIniLookup, FirstSectionOfANameAndFirstLineOfAKeyDecide) {
  TQuickIni ini = iniFromText(
      "[Title]\nFont=10\nfont=20\n=no key\njust words\nEmpty=\n"
      "[Other]\nFont=30\n"
      "[TITLE]\nFont=40\nExtra=only here\n"
      "[Ünïcode]\nKey=folded\n");
  const char* const cases[][3] = {{"title", "FONT", "10"},      {"Other", "font", "30"},
                                  {"Title", "extra", "-"},      {"Title", "", "no key"},
                                  {"Title", "empty", "-"},      {"Title", "just words", "-"},
                                  {"ÜNÏCODE", "key", "folded"}, {"Title]", "font", "-"}};
  for (const auto& [section, key, want] : cases) {
    QString value;
    ini.ReadString(QString::fromUtf8(section), QString::fromUtf8(key), value, "-");
    EXPECT_EQ(value, QString::fromUtf8(want)) << section << "/" << key;
  }
  EXPECT_EQ(ini.ReadInteger("Title", "Font", 0), 10);

  QBuffer next;
  next.setData("[Other]\nSize=5\n");
  next.open(QIODevice::ReadOnly);
  ini.LoadFromStream(&next);
  EXPECT_EQ(ini.ReadInteger("Title", "Font", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Other", "Font", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Other", "Size", -1), 5);
}
