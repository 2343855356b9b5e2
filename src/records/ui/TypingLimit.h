#pragma once
// The one way the record windows bind typing in a limited edit: a stored text is shown and
// saved whole however long it is, typing and pasting never go past the limit, undo and redo
// bring back exactly what was there, and a character outside the BMP fits whole or not at all.

#include <QSet>
#include <QString>
#include <QValidator>
#include <optional>

class QLineEdit;

namespace ruto {

class TypingLimit : public QValidator {
 public:
  // Binds typing into `edit` to `limit` UTF-16 units (the unit the columns' widths count).
  static void bind(QLineEdit* edit, int limit);
  // Shows a stored text in a bound edit, whole, even past its limit.
  static void showWhole(QLineEdit* edit, const QString& text);

  TypingLimit(int limit, QLineEdit* edit);
  State validate(QString& input, int& pos) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What of a change too long for the limit fits: the units of the held text it replaces and
  // the part of the new text that takes their place.
  struct Fitted {
    qsizetype front = 0;
    qsizetype removed = 0;
    QString inserted;
  };

  // Makes the fitted change held for the user's input, if any.
  void makeFitted();

  int limit_;
  QLineEdit* edit_;
  mutable QString held_;  // the edit's text before the change validated
  // Every text the edit held since the stored one was shown: undo and redo go back to one of
  // them, and none is cut.
  mutable QSet<QString> history_;
  // While the edit takes the user's typing, pasting, composing or dropping, a change too long
  // for the limit is refused whole and made again, fitted, as the user's own edit: undo then
  // takes it back like any other. (A text the validator cuts is set anew, which drops the
  // edit's undo steps, the stored text's among them.)
  bool userInput_ = false;
  mutable std::optional<Fitted> fitted_;
};

}  // namespace ruto
