#include "measure/ManualEntry.h"

#include <algorithm>

#include "app/DatabaseGuard.h"
#include "app/RecordSet.h"
#include "app/UnchangedColumns.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "base/Text.h"

namespace ruto {

namespace {

QString valueColumn(int point) { return QStringLiteral("VO%1").arg(point); }

// The lines of a stored note, whatever its line ends.
QStringList memoLines(QString memo) {
  memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (memo.endsWith(QLatin1Char('\n'))) memo.chop(1);
  return memo.isEmpty() ? QStringList() : memo.split(QLatin1Char('\n'));
}

}  // namespace

std::optional<QString> NormalizeEntryCell(const QString& text) {
  QString t = Trim(text);
  if (t.isEmpty()) t = QStringLiteral("0");
  bool ok = false;
  const double v = StrToFloatDef(t, 0, &ok);
  if (!ok) return std::nullopt;
  if (v <= 0.09) return QString();
  return Format(QStringLiteral("%5.1f"), {std::min(v, 200.0)});
}

QString EntryCellErrorText(const QString& text) {
  return QStringLiteral("'") + Trim(text) + QStringLiteral("' 不是有效的數值。");
}

bool EntryKeyAccepted(QChar c) {
  return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('\b') ||
         c == QLatin1Char('\r');
}

std::optional<double> EntryCellValue(const QString& text) {
  const QString t = Trim(text);
  if (t.isEmpty()) return 0.0;
  bool ok = false;
  const double v = StrToFloatDef(t, 0, &ok);
  if (!ok) return std::nullopt;
  return std::clamp(v, 0.0, 200.0);
}

QString EntryValueText(double value) {
  return value == 0 ? QString() : Format(QStringLiteral("%3.1f"), {value});
}

std::optional<double> EntrySavedValue(const QString& text, double opened) {
  if (NormalizeEntryCell(text) == NormalizeEntryCell(EntryValueText(opened))) return opened;
  return EntryCellValue(text);
}

void SaveEntryToCurrentTest(const EntryValues& entry) {
  // Entry 0 is no point: only the 24 values count.
  const bool changed =
      !std::equal(entry.Values.begin() + 1, entry.Values.end(), CurrentTest.Values.begin() + 1) ||
      entry.VoDate != CurrentTest.VoDate || entry.HighRange != CurrentTest.VoVota;
  CurrentTest.Values = entry.Values;
  CurrentTest.VoVota = entry.HighRange;
  CurrentTest.VoDate = entry.VoDate;
  RecomputeCompValues(CurrentTest);
  CurrentTest.Memo1 = entry.Memo;
  // A later treatment note must not overwrite a stored row that no longer matches.
  if (changed) CurrentTest.MKey = 0;
}

bool SaveEntryToStoredRow(const QString& connection, int mkey, const EntryValues& entry,
                          QString* error) {
  RecordSet tests(connection, QStringLiteral("VODATA"));
  tests.setLink(QStringLiteral("MKEY"), mkey);
  if (!tests.open()) {
    if (error) *error = WriteFailureText(kEntrySaveFailedText, tests.lastError());
    return false;
  }
  QVariantMap row;
  row.insert(QStringLiteral("VODATE"), entry.VoDate);
  row.insert(QStringLiteral("VOVOTA"), entry.HighRange ? 1 : 0);
  for (int p = 1; p <= 24; ++p) row.insert(valueColumn(p), entry.Values[p]);
  // What the user left as it was shown keeps its stored form: a null value stays null, and
  // the note keeps its own line ends unless its lines were changed.
  if (tests.isEmpty() || memoLines(tests.field(QStringLiteral("MEMO1")).toString()) != entry.Memo) {
    QString memo;
    for (const QString& line : entry.Memo) memo += line + QStringLiteral("\r\n");
    row.insert(QStringLiteral("MEMO1"), memo);
  }
  if (!tests.isEmpty()) DropUnchangedColumns(row, tests, 0);
  if (row.isEmpty() || tests.update(mkey, row)) return true;
  if (error) *error = WriteFailureText(kEntrySaveFailedText, tests.lastError());
  return false;
}

bool ReadStoredEntry(const QString& connection, int mkey, EntryValues* entry) {
  RecordSet tests(connection, QStringLiteral("VODATA"));
  tests.setLink(QStringLiteral("MKEY"), mkey);
  if (!tests.open() || tests.isEmpty()) return false;
  entry->VoDate = tests.field(QStringLiteral("VODATE")).toDouble();
  entry->HighRange = tests.field(QStringLiteral("VOVOTA")).toBool();
  entry->Memo = memoLines(tests.field(QStringLiteral("MEMO1")).toString());
  for (int p = 1; p <= 24; ++p) entry->Values[p] = tests.field(valueColumn(p)).toDouble();
  return true;
}

EntryCell NextEntryCell(EntryCell cell) {
  if (cell.col < 12) return {cell.col + 1, cell.row};
  if (cell.row == 1) return {1, 2};
  return cell;
}

}  // namespace ruto
