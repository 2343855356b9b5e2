#pragma once
// The manual-entry window's cell rules and saves, apart from the window.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "app/SharedRecords.h"

namespace ruto {

// Text a typed cell becomes: trimmed, empty counted as 0, 0.09 or less empty, else at most
// 200 with one decimal right-aligned in five characters ("  5.0"). Empty optional when the
// text is no number ("1-2", ".", "-"); the cell then stays as typed.
std::optional<QString> NormalizeEntryCell(const QString& text);
// The message shown for a cell that is no number.
QString EntryCellErrorText(const QString& text);
// Only digits, "-", "." and the editing keys reach a cell.
bool EntryKeyAccepted(QChar c);

// Value a cell stores: empty 0, negative 0, above 200 200; empty optional when no number.
std::optional<double> EntryCellValue(const QString& text);
// Text a value is shown with when the window opens: "%3.1f", empty for 0.
QString EntryValueText(double value);
// Value a cell saves when the window opened it with `opened`: that value to the last digit
// while the cell still shows it (normalised or not), else what the cell holds now. Showing a
// test and saving it untouched thus changes no stored value. Empty optional when no number.
std::optional<double> EntrySavedValue(const QString& text, double opened);

// What the window saves.
struct EntryValues {
  TPointValues Values{};
  bool HighRange = false;
  double VoDate = 0;  // 0 = undated
  QStringList Memo;
};

// New mode: the values become the test in work, compensated as well. Whenever values, date
// or range differ from what the test held, it is no longer the stored row it came from.
void SaveEntryToCurrentTest(const EntryValues& entry);
// Modify mode: rewrites the stored VODATA row `mkey` only. A failure gives
// kEntrySaveFailedText with the reason on the next line.
inline const QString kEntrySaveFailedText =
    QStringLiteral("經絡能量數據無法儲存，資料庫中的資料保持原狀。");
bool SaveEntryToStoredRow(const QString& connection, int mkey, const EntryValues& entry,
                          QString* error = nullptr);
// The stored row `mkey` as the window opens it; false when there is none.
bool ReadStoredEntry(const QString& connection, int mkey, EntryValues* entry);

// Next cell after Enter in the 12 x 2 value cells: right, from (12, 1) to (1, 2), and
// staying at (12, 2).
struct EntryCell {
  int col = 1;
  int row = 1;
  bool operator==(const EntryCell&) const = default;
};
EntryCell NextEntryCell(EntryCell cell);

}  // namespace ruto
