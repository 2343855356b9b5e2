#include "skin/QuickIni.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <utility>

using namespace ruto;

namespace {

// The definition text loaded into ini (a fresh one unless given).
TQuickIni iniFromText(const QByteArray& text, TQuickIni ini = {}) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  ini.LoadFromStream(&buffer);
  return ini;
}

// Lines end in CR LF, LF or a lone CR ("Width=12", so "width" reads 12).
const QByteArray kDefinition =
    "Orphan=before any section\r\n; a comment line\r\n"
    "[Form]\r\n  Caption = Ruto Skin ; the title\r\n\r\n"
    "EMPTY=\nempty=later value\nWidth=12\rwidth=99\r\n=no key\r\n"
    "no equals sign here\r\n  ;indented comment\r\n"
    "[ Spaced ]\r\nKey=spaced\r\n"
    "[Numbers]\r\nhex1=0x1F\r\nhex2=$1F\r\nhex3=0X1f\r\nneg=-42\r\nplus=+7\r\n"
    "bare=0x\r\nbad=12a\r\nbig=99999999999\r\nfull=$FFFFFFFF\r\n"
    "[form]\r\nCaption=second form section\r\nExtra=only here\r\n[Ünïcode]\r\nKey=folded\r\n";

}  // namespace

TEST(QuickIni, KeptLinesSectionsAndLookups) {
  const TQuickIni ini = iniFromText(kDefinition);
  // Blank and comment lines are dropped, the others trimmed.
  EXPECT_EQ(ini.Lines().mid(0, 3), QStringList({"Orphan=before any section", "[Form]",
                                                "Caption = Ruto Skin ; the title"}));
  EXPECT_FALSE(ini.Lines().contains(QStringLiteral(";indented comment")));
  EXPECT_TRUE(ini.Lines().contains(QStringLiteral("no equals sign here")));
  QStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, QStringList({"Form", "Spaced", "Numbers", "form", "Ünïcode"}));

  // Section case ignored, beyond ASCII too (only the first of two "Form" sections is read,
  // even for keys only the second has), key case ignored both ways, value trimmed with its
  // note kept. The first line of a key decides, even when its value is empty. A key stops
  // at the next section; nothing before the first header is found.
  const char* const strings[][3] = {{"form", "CAPTION", "Ruto Skin ; the title"},
                                    {"Form", "empty", "<def>"},
                                    {"Form", "width", "12"},
                                    {"Form", "no equals sign here", "<def>"},
                                    {"Form", "", "no key"},
                                    {"Form", "extra", "<def>"},
                                    {"Form]", "width", "<def>"},
                                    {"ÜNÏCODE", "key", "folded"},
                                    {"Form", "Key", "<def>"},
                                    {" Spaced ", "key", "spaced"},
                                    {"Spaced", "key", "<def>"},
                                    {"Missing", "key", "<def>"},
                                    {"", "orphan", "<def>"}};
  for (const auto& [section, key, want] : strings) {
    QString value;
    ini.ReadString(section, key, value, "<def>");
    EXPECT_EQ(value, want) << section << "/" << key;
  }

  const std::pair<const char*, int> numbers[] = {
      {"hex1", 31},    {"hex2", 31},   {"hex3", 31},   {"neg", -42}, {"plus", 7},
      {"bare", -1000}, {"bad", -1000}, {"big", -1000}, {"full", -1}, {"missing", -1000}};
  for (const auto& [key, want] : numbers)
    EXPECT_EQ(ini.ReadInteger("Numbers", key, -1000), want) << key;

  TQuickIni kept = iniFromText(kDefinition);
  kept.LoadFromStream(nullptr);  // a missing stream changes nothing
  EXPECT_EQ(kept.ReadInteger("Form", "width", 0), 12);
  // A reload forgets the previous definition's keys.
  kept = iniFromText("[Other]\nSize=5\n", kept);
  EXPECT_EQ(kept.ReadInteger("Form", "width", -1), -1);
  EXPECT_EQ(kept.ReadInteger("Other", "Size", -1), 5);
}

// The lookups above are of one definition; a reload forgets the previous one, also a section
// both hold and its keys.
TEST(QuickIni, AReloadForgetsEvenASectionBothDefinitionsHold) {
  TQuickIni ini = iniFromText("[Title]\nFont=10\n[Other]\nFont=30\n");
  EXPECT_EQ(ini.ReadInteger("Other", "Font", -1), 30);
  QBuffer next;
  next.setData("[Other]\nSize=5\n");
  next.open(QIODevice::ReadOnly);
  ini.LoadFromStream(&next);
  EXPECT_EQ(ini.ReadInteger("Title", "Font", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Other", "Font", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Other", "Size", -1), 5);
}
