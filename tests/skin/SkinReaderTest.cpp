#include "skin/SkinReader.h"

#include "lzh/SkinPackage.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include "support/TestSupport.h"

using namespace ruto;

namespace {

const QString kOlderSkin =
    QStringLiteral("This is Older Skin File\rPlease update to new version !");

QByteArray le32(std::uint32_t v) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(v, b.data());
  return b;
}

// An unpacked package written field by field, for layouts the packer does not make.
QByteArray unpacked(std::uint32_t code, const QByteArray& names, const QList<std::uint32_t>& sizes,
                    const QByteArray& entries, std::uint32_t nameLength) {
  QByteArray out = le32(code) + le32(nameLength) + le32(0) + le32(0) + names;
  for (auto s : sizes) out += le32(s);
  return out + entries;
}

QByteArray unpacked(std::uint32_t code, const QByteArray& names, const QList<std::uint32_t>& sizes,
                    const QByteArray& entries) {
  return unpacked(code, names, sizes, entries, static_cast<std::uint32_t>(names.size()));
}

QList<SkinPackageEntry> sampleEntries() {
  return {{QStringLiteral("Skin.INI"), "[Form]\r\nCaption=1\r\n"},
          {QStringLiteral("Menu.BMP"), "BM-menu"},
          {QStringLiteral("arrows.bmp"), "BM-arrows-first"},
          {QStringLiteral("empty.bmp"), QByteArray()},
          {QStringLiteral("ARROWS.bmp"), "BM-arrows-second"}};
}

}  // namespace

TEST(SkinPackage, EntriesAreFoundByLowerCasedNameFirstMatchFirst) {
  TSkinReader reader;
  QString error;
  ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(sampleEntries()), &error))
      << qPrintable(error);
  // The last name ends with CR LF like every other: no extra empty entry.
  EXPECT_EQ(reader.Count(), 5);
  EXPECT_EQ(reader.Names(),
            QStringList({"skin.ini", "menu.bmp", "arrows.bmp", "empty.bmp", "arrows.bmp"}));

  QByteArray dest = "stale";
  EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("MENU.bmp"), dest));
  EXPECT_EQ(dest, "BM-menu");
  EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("Arrows.Bmp"), dest));
  EXPECT_EQ(dest, "BM-arrows-first");
  EXPECT_FALSE(reader.ExtractEntry(QStringLiteral("missing.bmp"), dest));
  EXPECT_TRUE(dest.isEmpty());

  // By part: a substring, not lower-cased by the lookup.
  QString found = QStringLiteral("unchanged");
  EXPECT_TRUE(reader.ExtractEntryByPart(QStringLiteral("rrows"), dest, found));
  EXPECT_EQ(found, "arrows.bmp");
  EXPECT_EQ(dest, "BM-arrows-first");
  found = QStringLiteral("unchanged");
  EXPECT_FALSE(reader.ExtractEntryByPart(QStringLiteral("MENU"), dest, found));
  EXPECT_TRUE(dest.isEmpty());
  EXPECT_EQ(found, "unchanged");
}

TEST(SkinPackage, DefinitionIsTheEntryEndingInIni) {
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(
      {{QStringLiteral("notes.ini.txt"), "notes"}, {QStringLiteral("Rove.INI"), "[Form]"}})));
  QByteArray dest;
  QString found;
  ASSERT_TRUE(reader.ExtractDefinition(dest, &found));
  EXPECT_EQ(found, "rove.ini");
  EXPECT_EQ(dest, "[Form]");

  ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage({{QStringLiteral("a.bmp"), "BM"}})));
  EXPECT_FALSE(reader.ExtractDefinition(dest, &found));
  EXPECT_TRUE(dest.isEmpty());
}

TEST(SkinPackage, BitmapValuesUseTheFileNamePartAndExactlyDotBmp) {
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(sampleEntries())));
  QByteArray dest;
  EXPECT_TRUE(LoadBitmapEntry(reader, QStringLiteral("C:\\skins\\rove\\Menu.bmp"), dest));
  EXPECT_EQ(dest, "BM-menu");
  EXPECT_TRUE(LoadBitmapEntry(reader, QStringLiteral("skins/arrows.bmp"), dest));
  EXPECT_EQ(dest, "BM-arrows-first");
  EXPECT_TRUE(LoadBitmapEntry(reader, QStringLiteral("menu.bmp"), dest));

  // The extension is compared with its case; other extensions, no extension, a missing or
  // an empty entry load nothing.
  for (const char* value :
       {"C:\\skins\\menu.BMP", "menu.Bmp", "skin.ini", "menu", "gone.bmp", "empty.bmp", ""}) {
    EXPECT_FALSE(LoadBitmapEntry(reader, QString::fromLatin1(value), dest)) << value;
    EXPECT_TRUE(dest.isEmpty()) << value;
  }
}

TEST(SkinPackage, LayoutsOfTheThreeCodesAndNameSeparators) {
  for (std::uint32_t code : {20000u, 30000u, 40000u}) {
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(sampleEntries(), code))) << code;
    QByteArray dest;
    EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("empty.bmp"), dest));
    EXPECT_TRUE(dest.isEmpty());
    EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("arrows.bmp"), dest));
    EXPECT_EQ(dest, "BM-arrows-first") << code;
  }

  // Lone LF and lone CR separate names too; a list without a final line end keeps its
  // last name; a blank line in the middle is an entry of its own.
  TSkinReader reader;
  const QByteArray names = "a.bmp\nb.bmp\r\rc.bmp";
  ASSERT_TRUE(reader.ReadSkinPackage(PackStored(unpacked(20000, names, {1, 2, 0, 3}, "abbccc"))));
  EXPECT_EQ(reader.Names(), QStringList({"a.bmp", "b.bmp", "", "c.bmp"}));
  QByteArray dest;
  EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("c.bmp"), dest));
  EXPECT_EQ(dest, "ccc");

  // The size table holds up to 1001 entries.
  ASSERT_TRUE(reader.ReadSkinPackage(PackStored(
      unpacked(20000, QByteArray("a\r\n").repeated(1001), QList<std::uint32_t>(1001, 0), ""))));
  EXPECT_EQ(reader.Count(), 1001);

  // Bytes after the last entry are allowed and ignored.
  ASSERT_TRUE(reader.ReadSkinPackage(PackStored(unpacked(20000, "x.bmp\r\n", {2}, "xxTAIL"))));
  EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("x.bmp"), dest));
  EXPECT_EQ(dest, "xx");
}

TEST(SkinPackage, DamagedOrUnknownPackagesAreRefusedAndThePreviousSkinStays) {
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(sampleEntries())));

  const QByteArray good = BuildSkinPackage(sampleEntries());
  QByteArray over64MiB = le32(64u * 1024 * 1024 + 1) + good.mid(4);
  const struct {
    const char* what;
    QByteArray package;
    QString reason;
  } cases[] = {
      {"no size", QByteArray("\x10\x00", 2), QStringLiteral("no unpacked size")},
      {"above 64 MiB", over64MiB, QStringLiteral("more than the limit of 64 MiB")},
      {"stream cut short", good.left(good.size() - 3), QStringLiteral("ends early")},
      {"size beyond the stream", le32(good.size() * 4) + good.mid(4), QStringLiteral("ends early")},
      {"short header", PackStored(QByteArray("\x20\x4e\0\0\x05\0\0\0\0\0", 10)),
       QStringLiteral("header")},
      {"skipped block missing", PackStored(unpacked(30000, "a.bmp", {}, "", 0)),
       QStringLiteral("header")},
      {"unknown code", PackStored(unpacked(10000, "a.bmp\r\n", {1}, "a")), kOlderSkin},
      {"name list too long", PackStored(unpacked(20000, "a.bmp\r\n", {1}, "a", 0x7FFFFFFF)),
       QStringLiteral("name list")},
      {"size table missing", PackStored(unpacked(20000, "a.bmp\r\nb.bmp\r\n", {}, "")),
       QStringLiteral("size table")},
      {"entries too long", PackStored(unpacked(20000, "a.bmp\r\n", {5}, "abcd")),
       QStringLiteral("entries")},
      {"more than 1001 names",
       PackStored(unpacked(20000, QByteArray("a\r\n").repeated(1002), {}, "")),
       QStringLiteral("1001")},
      {"sizes that wrap around",
       PackStored(unpacked(20000, "a.bmp\r\nb.bmp\r\n", {0xFFFFFFFF, 2}, "abc")),
       QStringLiteral("entries")},
  };
  for (const auto& c : cases) {
    QString error;
    EXPECT_FALSE(reader.ReadSkinPackage(c.package, &error)) << c.what;
    EXPECT_TRUE(error.contains(c.reason)) << c.what << ": " << qPrintable(error);
    QByteArray dest;
    EXPECT_TRUE(reader.ExtractEntry(QStringLiteral("menu.bmp"), dest)) << c.what;
    EXPECT_EQ(dest, "BM-menu") << c.what;
    EXPECT_EQ(reader.Count(), 5);
  }
}

TEST(SkinPacker, BuildsAPackageFromADefinitionAndBitmaps) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ini = dir.filePath(QStringLiteral("Rove.ini"));
  const QString bmp = dir.filePath(QStringLiteral("sub/FrameTop.bmp"));
  ASSERT_TRUE(test::writeFile(ini, "[Form]\r\nCaption=1\r\n"));
  ASSERT_TRUE(test::writeFile(bmp, QByteArray(3000, 'B')));
  const QString out = dir.filePath(QStringLiteral("skin.pkg"));

  QProcess pack;
  pack.start(QStringLiteral(SKINPACK_PATH), {out, ini, bmp});
  ASSERT_TRUE(pack.waitForFinished(30000));
  ASSERT_EQ(pack.exitCode(), 0) << pack.readAllStandardError().constData();

  TSkinReader reader;
  QString error;
  ASSERT_TRUE(reader.ReadSkinPackage(test::readFile(out), &error)) << qPrintable(error);
  EXPECT_EQ(reader.Names(), QStringList({"rove.ini", "frametop.bmp"}));
  QByteArray dest;
  EXPECT_TRUE(reader.ExtractDefinition(dest));
  EXPECT_EQ(dest, "[Form]\r\nCaption=1\r\n");

  // A definition that is not an .ini or a second .ini is refused: the reader could not
  // tell which entry is the definition.
  for (const QStringList& args : {QStringList{out, bmp}, QStringList{out, ini, ini}}) {
    QProcess bad;
    bad.start(QStringLiteral(SKINPACK_PATH), args);
    ASSERT_TRUE(bad.waitForFinished(30000));
    EXPECT_NE(bad.exitCode(), 0);
  }
}
