#include "app/CommandApproval.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "app/AskUser.h"
#include "app/LaunchExternal.h"
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
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(QStringLiteral("INSERT OR REPLACE INTO APPROVED (Sha256, ApprovedAt) VALUES (?, ?)"));
  q.addBindValue(digest(prog, param));
  q.addBindValue(ruto::oleNow());
  if (q.exec()) return true;
  if (error) *error = kApprovedTable + QStringLiteral(": ") + q.lastError().text();
  return false;
}

bool LaunchProgramCommand(const QString& connection, const QString& prog, const QString& param) {
  if (!CommandApproved(connection, prog, param)) {
    if (!AskUser(MsgKind::ImportantYesNo, CommandQuestionText(prog, param))) return false;
    // The operator said yes to this run: a failure to remember it only means asking again.
    ApproveCommand(connection, prog, param);
  }
  return LaunchExternal(prog, param);
}

}  // namespace ruto
