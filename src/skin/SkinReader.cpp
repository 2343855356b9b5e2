#include "skin/SkinReader.h"

#include "skin/LZH.h"

#include <QtEndian>
#include <span>

namespace ruto {

namespace {

std::uint32_t readLE32(const char* p) { return qFromLittleEndian<quint32>(p); }

bool fail(QString* error, const QString& why) {
  if (error) *error = why;
  return false;
}

QString damaged(const char* what) {
  return QStringLiteral("Skin package is damaged: %1").arg(QLatin1String(what));
}

// Lines as a string list reads them: CR, LF or CR LF end a line, and a line end at the
// very end adds no empty line. Stops (false) once there are more than maxLines.
bool splitLines(QByteArrayView text, qsizetype maxLines, QList<QByteArrayView>& lines) {
  lines.clear();
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.append(text.sliced(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
    if (lines.size() > maxLines) return false;
  }
  if (start < n) lines.append(text.sliced(start));
  return lines.size() <= maxLines;
}

}  // namespace

bool TSkinReader::UnpackPackage(QByteArrayView source, QByteArray& dest, QString* error) {
  dest.clear();
  if (source.size() < 4) return fail(error, damaged("it has no unpacked size"));
  const std::uint32_t size = readLE32(source.data());
  if (size > MaxUnpackedSkinSize)
    return fail(error, QStringLiteral("Skin package is damaged: it claims %1 unpacked bytes, "
                                      "more than the limit of 64 MiB")
                           .arg(size));
  QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
  const auto* in = reinterpret_cast<const std::uint8_t*>(source.data()) + 4;
  std::span<const std::uint8_t> input(in, static_cast<std::size_t>(source.size() - 4));
  std::span<std::uint8_t> output(reinterpret_cast<std::uint8_t*>(out.data()), size);
  QString why;
  if (!LzhDecode(input, output, &why)) {
    const bool noMemory = why.contains(QLatin1String("memory"));
    return fail(error, noMemory ? why : damaged("the compressed data ends early"));
  }
  dest = std::move(out);
  return true;
}

bool TSkinReader::ReadSkinPackage(QByteArrayView source, QString* error) {
  QByteArray data;
  if (!UnpackPackage(source, data, error)) return false;

  const std::uint64_t total = static_cast<std::uint64_t>(data.size());
  if (total < 16) return fail(error, damaged("the header is incomplete"));
  const std::uint32_t code = readLE32(data.constData());
  const std::uint32_t nameListLength = readLE32(data.constData() + 4);

  std::uint64_t pos = 16;
  switch (code) {
    case PackageCode20000:
      break;
    case PackageCode30000:
      pos += 256;
      break;
    case PackageCode40000:
      pos += 80;
      break;
    default:
      return fail(error, QStringLiteral("This is Older Skin File\rPlease update to new version !"));
  }
  if (pos > total) return fail(error, damaged("the header is incomplete"));

  if (nameListLength > total - pos) return fail(error, damaged("the name list runs past the data"));
  QList<QByteArrayView> lines;
  if (!splitLines(QByteArrayView(data).sliced(static_cast<qsizetype>(pos), nameListLength),
                  MaxSkinEntries, lines))
    return fail(error, damaged("it lists more than 1001 entries"));
  pos += nameListLength;
  QStringList names;
  for (QByteArrayView line : lines) names.append(QString::fromUtf8(line).toLower());
  const auto count = static_cast<std::uint64_t>(names.size());

  if (count * 4 > total - pos) return fail(error, damaged("the size table runs past the data"));
  std::vector<std::uint32_t> sizes(count);
  std::vector<std::uint64_t> offsets(count);
  std::uint64_t sum = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    sizes[i] = readLE32(data.constData() + pos + 4 * i);
    offsets[i] = sum;
    sum += sizes[i];
  }
  pos += count * 4;
  if (sum > total - pos) return fail(error, damaged("the entries run past the data"));

  names_ = std::move(names);
  count_ = static_cast<int>(count);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  packageCode_ = code;
  entries_ = data.sliced(static_cast<qsizetype>(pos));
  if (error) error->clear();
  return true;
}

QByteArrayView TSkinReader::EntryAt(int index) const {
  return QByteArrayView(entries_).sliced(static_cast<qsizetype>(offsets_[index]),
                                         static_cast<qsizetype>(sizes_[index]));
}

bool TSkinReader::ExtractEntry(const QString& name, QByteArray& dest) const {
  dest.clear();
  const QString wanted = name.toLower();
  for (int i = 0; i < count_; ++i) {
    if (names_.at(i) == wanted) {
      dest = EntryAt(i).toByteArray();
      return true;
    }
  }
  return false;
}

bool TSkinReader::ExtractEntryByPart(const QString& part, QByteArray& dest,
                                     QString& foundName) const {
  dest.clear();
  for (int i = 0; i < count_; ++i) {
    if (names_.at(i).contains(part)) {
      dest = EntryAt(i).toByteArray();
      foundName = names_.at(i);
      return true;
    }
  }
  return false;
}

bool TSkinReader::ExtractDefinition(QByteArray& dest, QString* foundName) const {
  dest.clear();
  for (int i = 0; i < count_; ++i) {
    if (names_.at(i).contains(QLatin1String(".ini"))) {
      dest = EntryAt(i).toByteArray();
      if (foundName) *foundName = names_.at(i);
      return true;
    }
  }
  return false;
}

bool LoadBitmapEntry(const TSkinReader& reader, const QString& value, QByteArray& dest) {
  dest.clear();
  // Definitions were written on a system whose folders end in "\" or a drive's ":".
  qsizetype cut = -1;
  for (qsizetype i = value.size() - 1; i >= 0; --i) {
    const QChar c = value.at(i);
    if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':')) {
      cut = i;
      break;
    }
  }
  const QString fileName = value.mid(cut + 1);
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || fileName.mid(dot) != QLatin1String(".bmp")) return false;
  return reader.ExtractEntry(fileName, dest) && !dest.isEmpty();
}

}  // namespace ruto
