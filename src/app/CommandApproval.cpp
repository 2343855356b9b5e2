#include "app/CommandApproval.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "app/AskUser.h"
#include "app/DatabaseGuard.h"
#include "app/LaunchExternal.h"
#include "app/RecordSet.h"
#include "base/DateTime.h"
#include "base/Text.h"

namespace ruto {

namespace {

// The program's length leads, so no split of one text between program and parameter
// gives another command's digest.
QString digest(const QString& prog, const QString& param) {
  const QByteArray p = ruto::Trim(prog).toUtf8();
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(QByteArray::number(p.size()) + ':' + p);
  hash.addData(ruto::Trim(param).toUtf8());
  return QString::fromLatin1(hash.result().toHex());
}

bool emptyCommand(const QString& prog, const QString& param) {
  return ruto::Trim(prog).isEmpty() && ruto::Trim(param).isEmpty();
}

}  // namespace

QString CommandQuestionText(const QString& prog, const QString& param) {
  const QString p = ruto::Trim(param);
  return QStringLiteral(
             "這個療程的執行程式尚未在本系統確認過（可能來自匯入或轉換的資料）。"
             "您確定要執行下列程式嗎 ?\n程式：") +
         ruto::Trim(prog) + QStringLiteral("\n參數：") +
         (p.isEmpty() ? QStringLiteral("（無）") : p);
}

bool CommandApproved(const QString& connection, const QString& prog, const QString& param) {
  if (emptyCommand(prog, param)) return true;
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(QStringLiteral("SELECT 1 FROM APPROVED WHERE Sha256 = ?"));
  q.addBindValue(digest(prog, param));
  return q.exec() && q.next();
}

bool ApproveCommand(const QString& connection, const QString& prog, const QString& param,
                    QString* error) {
  if (emptyCommand(prog, param)) return true;
  // Like every write, it waits for the file's start-up check and leaves a damaged file alone.
  Transaction transaction(connection);
  QString reason = transaction.error();
  if (transaction.active()) {
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO APPROVED (Sha256, ApprovedAt) VALUES (?, ?)"));
    q.addBindValue(digest(prog, param));
    q.addBindValue(ruto::oleNow());
    const bool written = q.exec();
    if (!written) reason = kApprovedTable + QStringLiteral(": ") + q.lastError().text();
    q.finish();
    if (written && transaction.commit(&reason)) return true;
  }
  if (error) *error = reason;
  return false;
}

bool LaunchProgramCommand(const QString& connection, const QString& prog, const QString& param) {
  if (!CommandApproved(connection, prog, param)) {
    if (!AskUser(MsgKind::ImportantYesNo, CommandQuestionText(prog, param))) return false;
    // A command runs only once its approval is kept, so that nothing starts from a file that
    // cannot be written (damaged, or held by another program).
    QString error;
    if (!ApproveCommand(connection, prog, param, &error)) {
      AskUser(MsgKind::WarningOk, WriteFailureText(kApprovalFailedText, error));
      return false;
    }
  }
  return LaunchExternal(prog, param);
}

}  // namespace ruto
