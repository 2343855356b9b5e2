#pragma once
// The one way the record windows bind typing in a limited edit: a stored text is shown and
// saved whole however long it is, typing and pasting never go past the limit, undo and redo
// bring back exactly what was there, and a character outside the BMP fits whole or not at all.

#include <QSet>
#include <QString>
#include <QValidator>

class QLineEdit;

namespace ruto {

class TypingLimit : public QValidator {
 public:
  // Binds typing into `edit` to `limit` UTF-16 units (the unit the columns' widths count).
  static void bind(QLineEdit* edit, int limit);
  // Shows a stored text in a bound edit, whole, even past its limit.
  static void showWhole(QLineEdit* edit, const QString& text);

  TypingLimit(int limit, QObject* parent);
  State validate(QString& input, int& pos) const override;

 private:
  int limit_;
  mutable QString held_;  // the edit's text before the change validated
  // Every text the edit held since the stored one was shown: undo and redo go back to one of
  // them, and none is cut.
  mutable QSet<QString> history_;
};

}  // namespace ruto
