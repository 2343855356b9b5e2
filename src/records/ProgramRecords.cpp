#include "records/ProgramRecords.h"

#include <QFile>
#include <QImage>
#include <QSqlError>

#include "app/AskUser.h"
#include "app/CommandApproval.h"
#include "app/DatabaseGuard.h"
#include "app/UnchangedColumns.h"
#include "base/Numbers.h"
#include "base/Text.h"

namespace ruto {

namespace {

QString text(const RecordSet& set, int row, const QString& column) {
  const QVariant v = set.value(row, column);
  return v.isNull() ? QString() : v.toString();
}

QVariantMap programValues(const TProgramFields& f) {
  QVariantMap m{
      {QStringLiteral("ProName"), f.ProName},
      {QStringLiteral("ProData"), f.ProData},
      {QStringLiteral("ProPict"),
       f.ProPict.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(f.ProPict)},
      {QStringLiteral("ProScal"), f.ProScal ? 1 : 0},
      {QStringLiteral("ProFN"), f.ProFN}};
  for (int n = 0; n < 4; ++n) {
    const QString s = QString::number(n + 1);
    m.insert(QStringLiteral("ProScrp") + s, f.ProScrp[n]);
    m.insert(QStringLiteral("ProPrg") + s, f.ProPrg[n]);
    m.insert(QStringLiteral("ProParm") + s, f.ProParm[n]);
  }
  return m;
}

bool failed(QString* error, const QString& message, const QString& reason) {
  if (error) *error = WriteFailureText(message, reason);
  return false;
}

// The operator saving the program in the editor approves the commands it shows.
bool approveCommands(const RecordSet& programs, const TProgramFields& fields, QString* error) {
  for (int n = 0; n < 4; ++n)
    if (!ApproveCommand(programs.database().connectionName(), fields.ProPrg[n], fields.ProParm[n],
                        error))
      return false;
  return true;
}

}  // namespace

TProgramFields ProgramFieldsOf(const RecordSet& programs, int row) {
  TProgramFields f;
  if (row < 0 || row >= programs.rowCount()) return f;
  f.ProNo = text(programs, row, QStringLiteral("ProNo"));
  f.ProName = text(programs, row, QStringLiteral("ProName"));
  f.ProData = text(programs, row, QStringLiteral("ProData"));
  f.ProPict = programs.value(row, QStringLiteral("ProPict")).toByteArray();
  f.ProScal = programs.value(row, QStringLiteral("ProScal")).toBool();
  f.ProFN = text(programs, row, QStringLiteral("ProFN"));
  for (int n = 0; n < 4; ++n) {
    const QString s = QString::number(n + 1);
    f.ProScrp[n] = text(programs, row, QStringLiteral("ProScrp") + s);
    f.ProPrg[n] = text(programs, row, QStringLiteral("ProPrg") + s);
    f.ProParm[n] = text(programs, row, QStringLiteral("ProParm") + s);
  }
  return f;
}

int FindProgramNumber(const RecordSet& programs, const QString& number) {
  const QString wanted = ruto::Trim(number);
  for (int row = 0; row < programs.rowCount(); ++row)
    if (ruto::Trim(text(programs, row, QStringLiteral("ProNo")))
            .compare(wanted, Qt::CaseInsensitive) == 0)
      return row;
  return -1;
}

qint64 AddProgram(RecordSet& programs, const TProgramFields& fields, QString* error) {
  QVariantMap values = programValues(fields);
  values.insert(QStringLiteral("ProNo"), fields.ProNo);
  values.insert(QStringLiteral("PrtFG"), 0);
  Transaction transaction(programs.database().connectionName());
  if (!transaction.active()) {
    failed(error, kProgramSaveFailedText, transaction.error());
    return 0;
  }
  const qint64 key = programs.insert(values);
  if (!key) {
    failed(error, kProgramSaveFailedText, programs.lastError());
    return 0;
  }
  QString reason;
  if (approveCommands(programs, fields, &reason) && transaction.commit(&reason)) return key;
  failed(error, kProgramSaveFailedText, reason);
  transaction.rollback();
  // The set was read again with the row that is now taken back.
  programs.refresh();
  return 0;
}

bool UpdateProgram(RecordSet& programs, qint64 key, const TProgramFields& fields, QString* error) {
  QVariantMap values = programValues(fields);
  DropUnchangedColumns(values, programs, programs.rowOfKey(key));
  Transaction transaction(programs.database().connectionName());
  if (!transaction.active()) return failed(error, kProgramSaveFailedText, transaction.error());
  // Saving approves the commands shown, changed or not.
  if (!values.isEmpty() && !programs.update(key, values))
    return failed(error, kProgramSaveFailedText, programs.lastError());
  QString reason;
  if (approveCommands(programs, fields, &reason) && transaction.commit(&reason)) return true;
  transaction.rollback();
  programs.refresh();
  return failed(error, kProgramSaveFailedText, reason);
}

bool SaveConditionEdit(RecordSet& programs, RecordSet& conditions, const TConditionEdit& edit,
                       QString* error) {
  Transaction transaction(programs.database().connectionName());
  if (!transaction.active()) return failed(error, kConditionSaveFailedText, transaction.error());
  QVariantMap row = edit.row;
  if (edit.rowKey != 0) DropUnchangedColumns(row, conditions, conditions.rowOfKey(edit.rowKey));
  if (edit.rowKey == 0) {
    // A new row always belongs to the program it was added under.
    row.insert(QStringLiteral("ProNo"), edit.programNo);
    row.insert(QStringLiteral("PrtFG"), 0);
    if (!conditions.insert(row))
      return failed(error, kConditionSaveFailedText, conditions.lastError());
  } else if (!row.isEmpty() && !conditions.update(edit.rowKey, row)) {
    return failed(error, kConditionSaveFailedText, conditions.lastError());
  }
  QVariantMap program;
  if (edit.ProData) program.insert(QStringLiteral("ProData"), *edit.ProData);
  if (edit.ProPict)
    program.insert(QStringLiteral("ProPict"), edit.ProPict->isEmpty()
                                                  ? QVariant(QMetaType::fromType<QByteArray>())
                                                  : QVariant(*edit.ProPict));
  if (edit.ProScal) program.insert(QStringLiteral("ProScal"), *edit.ProScal ? 1 : 0);
  if (edit.programKey && !program.isEmpty() && !programs.update(edit.programKey, program))
    return failed(error, kConditionSaveFailedText, programs.lastError());
  QString reason;
  if (!transaction.commit(&reason)) return failed(error, kConditionSaveFailedText, reason);
  return true;
}

bool DeleteProgram(RecordSet& programs, RecordSet& conditions, QString* error) {
  const int row = programs.position();
  if (row < 0) return failed(error, kProgramDeleteFailedText, QStringLiteral("no program"));
  const qint64 key = programs.keyAt(row);
  const QString number = text(programs, row, QStringLiteral("ProNo"));
  Transaction transaction(programs.database().connectionName());
  if (!transaction.active()) return failed(error, kProgramDeleteFailedText, transaction.error());
  // The rows first, as the links are kept by the program and not by the database.
  if (conditions.removeWhere(QStringLiteral("ProNo"), number) < 0)
    return failed(error, kProgramDeleteFailedText, conditions.lastError());
  if (!programs.remove(key)) return failed(error, kProgramDeleteFailedText, programs.lastError());
  QString reason;
  if (!transaction.commit(&reason)) return failed(error, kProgramDeleteFailedText, reason);
  return true;
}

QString ProgramDescriptionText(const QStringList& lines) {
  return lines.join(QStringLiteral("\r\n"));
}

QString ProgramCountText(int programs, int conditions) {
  return Format(QStringLiteral("%6.0d"), {static_cast<long long>(programs)}) +
         QStringLiteral("  -  [ ") +
         Format(QStringLiteral("%6.0d"), {static_cast<long long>(conditions)}).trimmed() +
         QStringLiteral(" ]");
}

QByteArray ReadProgramPicture(const QString& path) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  QImage check;
  if (bytes.isEmpty() || !check.loadFromData(bytes)) {
    AskUser(MsgKind::WarningOk, QStringLiteral("無法讀取圖片檔案：") + path);
    return {};
  }
  return bytes;
}

}  // namespace ruto
