#include "skin/QuickIni.h"

#include <gtest/gtest.h>
#include <QBuffer>

using namespace ruto;

namespace {

TQuickIni load(const QByteArray& text) {
  QByteArray bytes = text;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TQuickIni ini;
  ini.LoadFromStream(&buffer);
  return ini;
}

QString read(const TQuickIni& ini, const char* section, const char* key) {
  QString value;
  ini.ReadString(QString::fromLatin1(section), QString::fromLatin1(key), value,
                 QStringLiteral("<def>"));
  return value;
}

const QByteArray kDefinition =
    "Orphan=before any section\r\n"
    "; a comment line\r\n"
    "[Form]\r\n"
    "  Caption = Ruto Skin ; the title\r\n"
    "\r\n"
    "EMPTY=\n"
    "empty=later value\n"
    "Width=12\r"
    "width=99\r\n"
    "no equals sign here\r\n"
    "  ;indented comment\r\n"
    "[ Spaced ]\r\n"
    "Key=spaced\r\n"
    "[Numbers]\r\n"
    "hex1=0x1F\r\n"
    "hex2=$1F\r\n"
    "hex3=0X1f\r\n"
    "neg=-42\r\n"
    "plus=+7\r\n"
    "bare=0x\r\n"
    "bad=12a\r\n"
    "big=99999999999\r\n"
    "full=$FFFFFFFF\r\n"
    "[form]\r\n"
    "Caption=second form section\r\n";

}  // namespace

TEST(QuickIni, LinesAndSectionsAsKept) {
  const TQuickIni ini = load(kDefinition);
  // Blank and comment lines are dropped, the others trimmed.
  EXPECT_EQ(ini.Lines().first(), "Orphan=before any section");
  EXPECT_EQ(ini.Lines().at(1), "[Form]");
  EXPECT_EQ(ini.Lines().at(2), "Caption = Ruto Skin ; the title");
  EXPECT_FALSE(ini.Lines().contains(QStringLiteral(";indented comment")));
  EXPECT_TRUE(ini.Lines().contains(QStringLiteral("no equals sign here")));

  QStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, QStringList({"Form", "Spaced", "Numbers", "form"}));
  EXPECT_EQ(ini.FindSection(QStringLiteral("FORM")), 1);
  EXPECT_EQ(ini.FindSection(QStringLiteral("Spaced")), -1);
  EXPECT_EQ(ini.FindSection(QStringLiteral(" Spaced ")), 8);
}

TEST(QuickIni, StringLookups) {
  const TQuickIni ini = load(kDefinition);
  // Section case ignored, key case ignored both ways, value trimmed with its note kept.
  EXPECT_EQ(read(ini, "form", "CAPTION"), "Ruto Skin ; the title");
  // The first line of a key decides, even when its value is empty.
  EXPECT_EQ(read(ini, "Form", "empty"), "<def>");
  EXPECT_EQ(read(ini, "Form", "width"), "12");
  // A lone CR ends a line as well.
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Width"), 0), 12);
  EXPECT_EQ(read(ini, "Form", "no equals sign here"), "<def>");
  EXPECT_EQ(read(ini, "Form", "Key"), "<def>");  // stops at the next section
  EXPECT_EQ(read(ini, " Spaced ", "key"), "spaced");
  EXPECT_EQ(read(ini, "Spaced", "key"), "<def>");
  EXPECT_EQ(read(ini, "Missing", "key"), "<def>");
  // Nothing before the first header is ever found.
  EXPECT_EQ(read(ini, "", "orphan"), "<def>");

  TQuickIni kept = load(kDefinition);
  kept.LoadFromStream(nullptr);  // a missing stream changes nothing
  EXPECT_EQ(read(kept, "Form", "width"), "12");
}

TEST(QuickIni, IntegerLookups) {
  const TQuickIni ini = load(kDefinition);
  auto num = [&](const char* key) {
    return ini.ReadInteger(QStringLiteral("Numbers"), QString::fromLatin1(key), -1000);
  };
  EXPECT_EQ(num("hex1"), 31);
  EXPECT_EQ(num("hex2"), 31);
  EXPECT_EQ(num("hex3"), 31);
  EXPECT_EQ(num("neg"), -42);
  EXPECT_EQ(num("plus"), 7);
  EXPECT_EQ(num("bare"), -1000);
  EXPECT_EQ(num("bad"), -1000);
  EXPECT_EQ(num("big"), -1000);
  EXPECT_EQ(num("full"), -1);
  EXPECT_EQ(num("missing"), -1000);
}
