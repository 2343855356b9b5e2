#pragma once
// A skin package: a 4-byte unpacked size and an LZH stream that unpacks to a header, a
// list of entry names, their sizes and the entries (bitmaps and one definition) back to
// back. TSkinReader unpacks one and hands out its entries by name.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ruto {

// Package codes the reader knows; they differ in the block skipped before the names.
inline constexpr std::uint32_t PackageCode20000 = 20000;
inline constexpr std::uint32_t PackageCode30000 = 30000;
inline constexpr std::uint32_t PackageCode40000 = 40000;

// A package that claims to unpack to more than this is refused before anything is
// allocated; the program's own skin is about half a megabyte.
inline constexpr std::uint32_t MaxUnpackedSkinSize = 64u * 1024u * 1024u;

// The size table of a package holds at most this many entries; the program's own skin has
// 35. A package listing more is refused.
inline constexpr int MaxSkinEntries = 1001;

class TSkinReader {
 public:
  // Unpacks and indexes the stored package in source. On any failure the reader keeps the
  // entries it had, returns false and puts the reason in *error: an unknown package code
  // gives "This is Older Skin File\rPlease update to new version !", a damaged package an
  // English text saying what is wrong.
  bool ReadSkinPackage(QByteArrayView source, QString* error = nullptr);

  // Dest := the bytes of the first entry named name (compared lower-cased); empty and
  // false when there is none.
  bool ExtractEntry(const QString& name, QByteArray& dest) const;

  // Dest := the bytes of the first entry whose name contains part (not lower-cased, so
  // give it in lower case) and foundName := that name; dest empty, foundName untouched and
  // false when there is none.
  bool ExtractEntryByPart(const QString& part, QByteArray& dest, QString& foundName) const;

  // The skin definition: the first entry whose name contains ".ini".
  bool ExtractDefinition(QByteArray& dest, QString* foundName = nullptr) const;

  // Unpacks a stored package (4-byte little-endian size, then the LZH stream) into dest,
  // exactly the announced number of bytes. False with a reason when the size is missing or
  // above MaxUnpackedSkinSize, or the stream ends before that many bytes are decoded.
  static bool UnpackPackage(QByteArrayView source, QByteArray& dest, QString* error = nullptr);

  const QStringList& Names() const { return names_; }
  int Count() const { return count_; }
  const std::vector<std::uint32_t>& Sizes() const { return sizes_; }
  std::uint32_t PackageCode() const { return packageCode_; }

 private:
  QByteArrayView EntryAt(int index) const;

  QStringList names_;  // lower-cased, in list order
  int count_ = 0;
  std::vector<std::uint32_t> sizes_;
  std::vector<std::uint64_t> offsets_;  // running sums of sizes_, checked against entries_
  std::uint32_t packageCode_ = 0;
  QByteArray entries_;
};

// Bytes of the bitmap that a definition value names: only the file-name part of the value
// counts (any folder is dropped), and only a name whose extension is exactly ".bmp" is
// looked up. Empty and false otherwise or when the package has no such entry.
bool LoadBitmapEntry(const TSkinReader& reader, const QString& value, QByteArray& dest);

}  // namespace ruto
