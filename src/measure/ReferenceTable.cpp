#include "measure/ReferenceTable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "app/AskUser.h"
#include "app/TextCodec.h"

namespace ruto {

const std::array<TReferenceColumn, 21>& ReferenceTextColumns() {
  static const std::array<TReferenceColumn, 21> columns = {{
      {"DtEA1", &TReferenceRow::DtEA1},   {"DtEA2", &TReferenceRow::DtEA2},
      {"DtEA3", &TReferenceRow::DtEA3},   {"DtEA4", &TReferenceRow::DtEA4},
      {"DtEA5", &TReferenceRow::DtEA5},   {"DtPot1", &TReferenceRow::DtPot1},
      {"DtPot2", &TReferenceRow::DtPot2}, {"DtPot3", &TReferenceRow::DtPot3},
      {"DtMA1", &TReferenceRow::DtMA1},   {"DtMA2", &TReferenceRow::DtMA2},
      {"DtMA3", &TReferenceRow::DtMA3},   {"DtMH1", &TReferenceRow::DtMH1},
      {"DtMH2", &TReferenceRow::DtMH2},   {"DtMH3", &TReferenceRow::DtMH3},
      {"DtMH4", &TReferenceRow::DtMH4},   {"DtMH5", &TReferenceRow::DtMH5},
      {"DtML1", &TReferenceRow::DtML1},   {"DtML2", &TReferenceRow::DtML2},
      {"DtML3", &TReferenceRow::DtML3},   {"DtML4", &TReferenceRow::DtML4},
      {"DtML5", &TReferenceRow::DtML5},
  }};
  return columns;
}

QString MeridianListEntry(int key) {
  static const QStringList entries = {" 1. 手太陰 肺　經", " 2. 手厥陰 心包經", " 3. 手少陰 心　經",
                                      " 4. 手太陽 小腸經", " 5. 手少陽 三焦經", " 6. 手陽明 大腸經",
                                      " 7. 足太陰 脾　經", " 8. 足厥陰 肝　經", " 9. 足少陰 腎　經",
                                      "10.足太陽 膀胱經",  "11.足少陽 膽　經",  "12.足陽明 胃　經"};
  return key >= 1 && key <= 12 ? entries[key - 1] : QString();
}

namespace {

// The statement that reads one row: every text column and the figure.
QString rowStatement() {
  QStringList names;
  for (const TReferenceColumn& c : ReferenceTextColumns()) names << QString::fromLatin1(c.name);
  names << QStringLiteral("DtGpM");
  return QStringLiteral("SELECT %1 FROM VOMTDB WHERE MKEY = ?").arg(names.join(u','));
}

}  // namespace

bool TReferenceTable::Open() {
  reported_ = false;
  open_ = false;
  if (!db_.isOpen()) {
    const QString reason = db_.lastError().text();
    tell(QStringLiteral("VOMTDB: ") +
         (reason.trimmed().isEmpty() ? QStringLiteral("the database is not open") : reason));
    return false;
  }
  // A missing table or column is found before any row is read, so that no reader shows a
  // window of blanks without a word.
  QSqlQuery q(db_);
  if (!q.prepare(rowStatement())) {
    tell(QStringLiteral("VOMTDB: ") + q.lastError().text());
    return false;
  }
  open_ = true;
  return true;
}

void TReferenceTable::tell(const QString& failure) {
  if (reported_) return;
  reported_ = true;
  AskUser(MsgKind::WarningOk, kReferenceUnreadableText + QLatin1Char('\n') + failure);
}

TReferenceRow TReferenceTable::Row(int key) {
  TReferenceRow row;
  row.MKEY = key;
  if (!open_) return row;
  QString failure;  // the reason the row could not be read, or its first undecodable text
  {
    QSqlQuery q(db_);
    bool read = q.prepare(rowStatement());
    if (read) {
      q.addBindValue(key);
      read = q.exec();
    }
    // A damaged page, or a column gone since the opening, leaves the whole row empty; a key
    // without a row is no failure.
    if (read && !q.next()) read = !q.lastError().isValid();
    if (!read) {
      failure = QStringLiteral("VOMTDB MKEY %1: %2").arg(key).arg(q.lastError().text());
    } else if (q.isValid()) {
      row.Found = true;
      const auto& columns = ReferenceTextColumns();
      for (size_t i = 0; i < columns.size(); ++i) {
        bool ok = true;
        QString reason;
        row.*(columns[i].member) = UnscrambleText(q.value(int(i)).toString(), &ok, &reason);
        if (!ok && failure.isEmpty())
          failure = QStringLiteral("VOMTDB MKEY %1 %2: %3")
                        .arg(key)
                        .arg(QLatin1String(columns[i].name), reason);
      }
      row.DtGpM = q.value(int(columns.size())).toByteArray();
    }
  }
  // Told once an opening, not for every row a reader goes through; the query is done by now,
  // as the message waits for the user.
  if (!failure.isEmpty()) tell(failure);
  return row;
}

}  // namespace ruto
