#pragma once
// Starting the external programs, documents and web addresses that the launcher buttons,
// the web labels and the expert programs' run buttons name.

#include <QString>
#include <QStringList>

namespace ruto {

// Opens a program with a parameter, or a document or web address by itself. Programs are
// started directly (never through a shell command line); documents and addresses go to the
// desktop's handler. Paths written with a drive letter that does not exist are tried on the
// drives C to Q, so settings copied from a machine whose programs sat on another drive still
// find them. True when something was started; nothing is shown either way.
bool LaunchExternal(const QString& prog, const QString& param);

// LaunchExternal, and when nothing could be started one message (kind 5) naming the program,
// or the document or address when there is no program. True when something was started.
bool LaunchExternalOrReport(const QString& prog, const QString& param);

inline const QString kExternalStartFailedText =
    QStringLiteral("無法啟動外部程式或開啟檔案、網址：");
inline const QString kExternalNothingSetText = QStringLiteral("（未設定）");

// The arguments a started program gets for `param`: none for an empty one, the whole text
// when it names an existing file (blanks in file names are common), else the text split
// like a command line (quotes group words).
QStringList ExternalArguments(const QString& param);

// Replaces the starter (tests record what would be started, and count it as started). Null
// restores the real one.
using ExternalStarter = void (*)(const QString& program, const QString& param, bool isProgram);
void SetExternalStarter(ExternalStarter starter);

}  // namespace ruto
