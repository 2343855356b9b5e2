#include "app/ui/TypedMemo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace ruto {

QStringList TypedMemoLines(const QPlainTextEdit* memo) {
  QStringList lines;
  for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  // An empty memo has one empty block but no lines.
  if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
  return lines;
}

}  // namespace ruto
