#pragma once
// The commands of expert programs that this installation's operator has approved. A run
// button starts a program's command only once approved: saving it in the program editor
// approves it; a command that came in any other way (an imported or migrated program) is
// shown to the operator first, and a "是" is remembered before the command starts.

#include <QByteArray>
#include <QString>

namespace ruto {

// Table of the main database holding the SHA-256 of every approved command.
inline const QString kApprovedTable = QStringLiteral("APPROVED");

// The question before an unapproved command runs (kind 3), naming the exact command.
QString CommandQuestionText(const QString& prog, const QString& param);

// Whether the command (program and parameter, trimmed as they are started) was approved in
// the main database of `connection`. An empty command has nothing to approve.
bool CommandApproved(const QString& connection, const QString& prog, const QString& param);

// Records the approval of the command, in a write transaction (inside the caller's when there
// is one): refused, with the reason, on a damaged file or one another program holds.
bool ApproveCommand(const QString& connection, const QString& prog, const QString& param,
                    QString* error = nullptr);

// A run button: an approved command starts (LaunchExternal); any other asks first and starts
// only on "是" once the approval is recorded. When it cannot be recorded the command does not
// run: kApprovalFailedText with the reason below. True when something was started.
inline const QString kApprovalFailedText =
    QStringLiteral("執行程式的確認無法存入資料庫，程式沒有執行。");
bool LaunchProgramCommand(const QString& connection, const QString& prog, const QString& param);

}  // namespace ruto
