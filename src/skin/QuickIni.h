#pragma once
// Read-only reader of the skin definition, the ini-style text entry of a skin package.
// Lookups by section (letter case ignored) and key (compared lower-cased); values come back
// trimmed with their case kept. Nothing here raises: whatever is missing reads as the
// caller's default.

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

class QIODevice;

namespace ruto {

class TQuickIni {
 public:
  // Rebuilds the index from the stream's current position to its end; a missing stream
  // does nothing.
  void LoadFromStream(QIODevice* stream);

  // Value := the first value of key in section, or def when there is none or it is empty.
  void ReadString(const QString& section, const QString& key, QString& value,
                  const QString& def) const;
  // Decimal with an optional sign, or hexadecimal after "$" or "0x"; def otherwise.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  // Section names without brackets, trimmed, in file order.
  void ReadSections(QStringList& list) const;

  static QString KeyOf(const QString& line);
  static QString ValueOf(const QString& line, const QString& key);
  static bool IsSection(const QString& line);
  // Index in Lines() of the header "[" + name + "]", -1 when absent.
  int FindSection(const QString& name) const;

  // Kept lines: trimmed, without blank lines and comment lines.
  const QStringList& Lines() const { return lines_; }

 private:
  QStringList lines_;
  QList<QPair<QString, int>> sections_;  // header line and its index in lines_
  // A definition is read by some thousand lookups at every start: each section that
  // lookups can reach (the first of its name) keeps its keys' first values by key.
  QHash<QString, int> sectionIndex_;  // case-folded header -> index in sectionKeys_
  std::vector<QHash<QString, QString>> sectionKeys_;
};

}  // namespace ruto
