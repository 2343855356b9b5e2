#pragma once
// The text of a memo edit as the user sees it: its lines with every character kept (no-break
// spaces and line separators included), which the plain-text reading would turn into blanks
// and line breaks.

#include <QStringList>

class QPlainTextEdit;

namespace ruto {

// The lines of `memo`; none for an empty memo.
QStringList TypedMemoLines(const QPlainTextEdit* memo);

}  // namespace ruto
