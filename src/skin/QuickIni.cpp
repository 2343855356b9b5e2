#include "skin/QuickIni.h"

#include "base/Text.h"

#include <QIODevice>
#include <limits>
#include <utility>

namespace ruto {

namespace {

int hexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

// Integer text as skin files write it: optional sign, then decimal digits or
// "$" and hexadecimal digits; hexadecimal covers the full 32 bits (as $FFFFFFFF = -1).
bool toInt(const QString& text, int& out) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
    negative = text.at(i) == QLatin1Char('-');
    ++i;
  }
  const bool hex = i < text.size() && text.at(i) == QLatin1Char('$');
  if (hex) ++i;
  if (i >= text.size()) return false;
  const int base = hex ? 16 : 10;
  const std::uint64_t limit =
      hex ? 0xFFFFFFFFull
          : static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
  std::uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const int d = hexDigit(text.at(i));
    if (d < 0 || d >= base) return false;
    v = v * base + static_cast<std::uint64_t>(d);
    if (v > limit) return false;
  }
  std::int64_t s =
      hex ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : static_cast<std::int64_t>(v);
  if (negative) s = -s;
  out = static_cast<int>(static_cast<std::int32_t>(s));
  return true;
}

}  // namespace

void TQuickIni::LoadFromStream(QIODevice* stream) {
  if (!stream) return;
  lines_.clear();
  sections_.clear();
  sectionIndex_.clear();
  sectionKeys_.clear();
  const QString text = QString::fromUtf8(stream->readAll());
  const qsizetype n = text.size();
  qsizetype start = 0;
  auto take = [&](qsizetype end) {
    const QString line = Trim(text.mid(start, end - start));
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) return;
    lines_.append(line);
    if (IsSection(line)) sections_.append({line, static_cast<int>(lines_.size() - 1)});
  };
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text.at(i);
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    take(i);
    if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  if (start < n) take(n);

  QHash<QString, QString>* keys = nullptr;  // of the section being read; null when shadowed
  for (const QString& line : std::as_const(lines_)) {
    if (IsSection(line)) {
      keys = nullptr;
      const QString folded = line.toCaseFolded();
      if (sectionIndex_.contains(folded)) continue;
      sectionIndex_.insert(folded, static_cast<int>(sectionKeys_.size()));
      keys = &sectionKeys_.emplace_back();
      continue;
    }
    if (!keys) continue;
    // As KeyOf and ValueOf read it, the line split once.
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString key = eq < 0 ? QString() : Trim(line.left(eq)).toLower();
    if (!keys->contains(key)) keys->insert(key, eq < 0 ? QString() : Trim(line.mid(eq + 1)));
  }
}

QString TQuickIni::KeyOf(const QString& line) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return {};
  return Trim(line.left(eq)).toLower();
}

QString TQuickIni::ValueOf(const QString& line, const QString& key) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0 || KeyOf(line) != key) return {};
  return Trim(line.mid(eq + 1));
}

bool TQuickIni::IsSection(const QString& line) {
  const QString t = Trim(line);
  return t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

int TQuickIni::FindSection(const QString& name) const {
  const QString header = QLatin1Char('[') + name + QLatin1Char(']');
  for (const auto& s : sections_)
    if (s.first.compare(header, Qt::CaseInsensitive) == 0) return s.second;
  return -1;
}

void TQuickIni::ReadString(const QString& section, const QString& key, QString& value,
                           const QString& def) const {
  value = def;
  const auto at =
      sectionIndex_.constFind((QLatin1Char('[') + section + QLatin1Char(']')).toCaseFolded());
  if (at == sectionIndex_.cend()) return;
  const QHash<QString, QString>& keys = sectionKeys_[static_cast<size_t>(*at)];
  const auto v = keys.constFind(key.toLower());
  if (v != keys.cend() && !v->isEmpty()) value = *v;
}

int TQuickIni::ReadInteger(const QString& section, const QString& key, int def) const {
  QString v;
  ReadString(section, key, v, QString());
  if (v.size() > 2 && v.at(0) == QLatin1Char('0') &&
      (v.at(1) == QLatin1Char('x') || v.at(1) == QLatin1Char('X')))
    v = QLatin1Char('$') + v.mid(2);
  int out = 0;
  return toInt(v, out) ? out : def;
}

void TQuickIni::ReadSections(QStringList& list) const {
  list.clear();
  for (const auto& s : sections_) list.append(Trim(s.first.mid(1, s.first.size() - 2)));
}

}  // namespace ruto
