#include "skin/SkinReader.h"

#include "lzh/SkinPackage.h"

#include <gtest/gtest.h>
#include <QtEndian>
#include <optional>
#include <tuple>

using namespace ruto;

namespace {

QByteArray le32(std::uint32_t v) {
  const quint32 le = qToLittleEndian<quint32>(v);
  return QByteArray(reinterpret_cast<const char*>(&le), 4);
}

// A stored package whose unpacked form is written field by field, for layouts the packer
// does not make. The name-list length is that of names unless given.
QByteArray stored(std::uint32_t code, const QByteArray& names, const QList<std::uint32_t>& sizes,
                  const QByteArray& entries, qint64 nameLength = -1) {
  QByteArray out =
      le32(code) + le32(nameLength < 0 ? names.size() : nameLength) + le32(0) + le32(0) + names;
  for (auto s : sizes) out += le32(s);
  return PackStored(out + entries);
}

// What a lookup gave: the bytes, or nothing when it failed (and then left dest empty).
std::optional<QByteArray> got(bool found, const QByteArray& dest) {
  if (!found) {
    EXPECT_TRUE(dest.isEmpty()) << "a failed lookup leaves dest empty";
  }
  return found ? std::optional(dest) : std::nullopt;
}

// A name that only contains ".ini", a definition, and two entries of the same name.
const QList<SkinPackageEntry> kSample = {
    {"notes.ini.txt", "notes"}, {"Skin.INI", "[Form]\r\nCaption=1\r\n"},
    {"Menu.BMP", "BM-menu"},    {"arrows.bmp", "BM-arrows-first"},
    {"empty.bmp", ""},          {"ARROWS.bmp", "BM-arrows-second"}};

}  // namespace

TEST(SkinPackage, EntriesAreFoundByLowerCasedNameFirstMatchFirstInEveryLayout) {
  for (std::uint32_t code : {20000u, 30000u, 40000u}) {
    SCOPED_TRACE(code);
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkinPackage(BuildSkinPackage(kSample, code)));
    // The last name ends with CR LF like every other: no extra empty entry.
    EXPECT_EQ(reader.Names(), QStringList({"notes.ini.txt", "skin.ini", "menu.bmp", "arrows.bmp",
                                           "empty.bmp", "arrows.bmp"}));
    QByteArray dest;
    QString found;
    // The definition is the first name containing ".ini", wherever it stands in the name.
    EXPECT_EQ(got(reader.ExtractDefinition(dest, &found), dest), "notes");
    EXPECT_EQ(found, "notes.ini.txt");
    // By part: a substring, not lower-cased by the lookup; a miss leaves the name alone.
    EXPECT_EQ(got(reader.ExtractEntryByPart("rrows", dest, found), dest), "BM-arrows-first");
    EXPECT_EQ(found, "arrows.bmp");
    EXPECT_EQ(got(reader.ExtractEntryByPart("MENU", dest, found), dest), std::nullopt);
    EXPECT_EQ(found, "arrows.bmp");

    // Each value looked up as an entry name and as a bitmap value, for which only the
    // file-name part counts and only an extension of exactly ".bmp".
    using Bytes = std::optional<QByteArray>;
    const std::tuple<const char*, Bytes, Bytes> lookups[] = {
        {"MENU.bmp", "BM-menu", "BM-menu"},
        {"menu.Bmp", "BM-menu", {}},
        {"Arrows.Bmp", "BM-arrows-first", {}},
        {"empty.bmp", "", {}},
        {"skin.ini", "[Form]\r\nCaption=1\r\n", {}},
        {"menu", {}, {}},
        {"missing.bmp", {}, {}},
        {"", {}, {}},
        {"C:\\skins\\rove\\Menu.bmp", {}, "BM-menu"},
        {"skins/arrows.bmp", {}, "BM-arrows-first"},
        {"C:\\skins\\menu.BMP", {}, {}}};
    for (const auto& [value, entry, bitmap] : lookups) {
      SCOPED_TRACE(value);
      dest = "stale";
      EXPECT_EQ(got(reader.ExtractEntry(value, dest), dest), entry);
      dest = "stale";
      EXPECT_EQ(got(LoadBitmapEntry(reader, value, dest), dest), bitmap);
    }
  }
}

TEST(SkinPackage, NameSeparatorsSizeTableAndTrailingBytes) {
  // Lone LF and lone CR separate names too; a list without a final line end keeps its
  // last name; a blank line in the middle is an entry of its own.
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(stored(20000, "a\nb.bmp\r\rc.bmp", {1, 2, 0, 3}, "abbccc")));
  EXPECT_EQ(reader.Names(), QStringList({"a", "b.bmp", "", "c.bmp"}));
  QByteArray dest;
  EXPECT_EQ(got(reader.ExtractEntry("c.bmp", dest), dest), "ccc");
  EXPECT_EQ(got(reader.ExtractDefinition(dest), dest), std::nullopt);

  // The size table holds up to 1001 entries.
  ASSERT_TRUE(reader.ReadSkinPackage(
      stored(20000, QByteArray("a\r\n").repeated(1001), QList<std::uint32_t>(1001, 0), "")));
  EXPECT_EQ(reader.Count(), 1001);

  // Bytes after the last entry are allowed and ignored.
  ASSERT_TRUE(reader.ReadSkinPackage(stored(20000, "x.bmp\r\n", {2}, "xxTAIL")));
  EXPECT_EQ(got(reader.ExtractEntry("x.bmp", dest), dest), "xx");
}

TEST(SkinPackage, DamagedOrUnknownPackagesAreRefusedAndThePreviousSkinStays) {
  const QByteArray good = BuildSkinPackage(kSample);
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(good));
  const std::tuple<const char*, QByteArray, const char*> cases[] = {
      {"no size", QByteArray("\x10\x00", 2), "no unpacked size"},
      {"above 64 MiB", le32(64u * 1024 * 1024 + 1) + good.mid(4), "more than the limit of 64 MiB"},
      {"stream cut short", good.chopped(3), "ends early"},
      {"size beyond the stream", le32(good.size() * 4) + good.mid(4), "ends early"},
      {"short header", PackStored(QByteArray("\x20\x4e\0\0\x05\0\0\0\0\0", 10)), "header"},
      {"skipped block missing", stored(30000, "a.bmp", {}, "", 0), "header"},
      {"unknown code", stored(10000, "a.bmp\r\n", {1}, "a"),
       "This is Older Skin File\rPlease update to new version !"},
      {"name list too long", stored(20000, "a.bmp\r\n", {1}, "a", 0x7FFFFFFF), "name list"},
      {"size table missing", stored(20000, "a.bmp\r\nb.bmp\r\n", {}, ""), "size table"},
      {"entries too long", stored(20000, "a.bmp\r\n", {5}, "abcd"), "entries"},
      {"more than 1001 names", stored(20000, QByteArray("a\r\n").repeated(1002), {}, ""), "1001"},
      {"sizes that wrap around", stored(20000, "a.bmp\r\nb.bmp\r\n", {0xFFFFFFFF, 2}, "abc"),
       "entries"}};
  for (const auto& [what, package, reason] : cases) {
    SCOPED_TRACE(what);
    QString error;
    EXPECT_FALSE(reader.ReadSkinPackage(package, &error));
    EXPECT_TRUE(error.contains(QLatin1String(reason))) << qPrintable(error);
    QByteArray dest;
    EXPECT_EQ(got(reader.ExtractEntry("menu.bmp", dest), dest), "BM-menu");
    EXPECT_EQ(reader.Count(), 6);
  }
}
