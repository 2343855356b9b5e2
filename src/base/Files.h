#pragma once
// File helpers: names match case-insensitively (files copied from earlier installations may
// differ in case) and a rename never replaces an existing file.

#include <QString>
#include <QStringList>

namespace ruto {

// Names of the entries of `dir` that equal `name` ignoring case: the one the program uses
// first (the exact name when present, else the first in byte order), then the others.
QStringList caseVariants(const QString& dir, const QString& name);
// Path of the entry of `dir` whose name equals `name` ignoring case: the first of
// caseVariants(). Empty when there is none.
QString findFileNoCase(const QString& dir, const QString& name);
// `dir` + the existing spelling of `name`, or `dir` + `name` when none exists.
QString pathNoCase(const QString& dir, const QString& name);
bool fileExistsNoCase(const QString& dir, const QString& name);

// Renames without replacing: fails when `to` exists (atomically, via link/unlink or
// renameat2 where the file system allows).
bool renameNoReplace(const QString& from, const QString& to);

// Copies to a temporary name beside `to` and renames it into place without replacing;
// nothing is left behind on failure. `errorCode` gets an errno value on failure. The copy
// is readable and writable by its owner only.
bool copyFileNoReplace(const QString& from, const QString& to, int* errorCode = nullptr);

// Writes `data` to a temporary file beside `path` and puts it in place of `path` only when
// every write, the flush and the sync to disk succeeded: a full disk never replaces a good
// file with a short one, and nothing is left behind. `error` gets the system's reason. A new
// file is readable and writable by its owner only; an existing one keeps its mode.
bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Files and folders of client data that a killed run would leave behind carry their owner in
// their name: a stem, the process id, the process's start time and a random part
// ("<stem><pid>-<start>-XXXXXX"). Only the id and the start time together name one process (ids
// are reused), so a later run can tell what a killed run left from what a live one still uses.

// The name prefix under `stem` of process `pid`, or empty when there is no such process.
QString OwnedNamePrefix(const QString& stem, qint64 pid);
// A new name under `stem` owned by this process. Without a process table to name it by, the
// name has no owner and is never taken for a left-over.
QString NewOwnedName(const QString& stem);
enum class OwnedEntry { Folder, File };
// Removes the entries of `dir` named under `stem` whose process is gone (an id taken by another
// process counts as gone): folders with their content, or plain files. Links, entries of the
// other kind and other users' entries are not ours to remove and stay.
void RemoveStaleOwnedEntries(const QString& dir, const QString& stem, OwnedEntry kind);

// Work on a private copy of client data (an import, a migration) happens in a folder made
// from this template (for QTemporaryDir) in the temporary folder, named as above.
QString WorkFolderTemplate();
// The name prefix of the work folders of process `pid`, or empty when there is no such
// process.
QString WorkFolderPrefix(qint64 pid);
// Removes the work folders in the temporary folder whose process is gone.
void RemoveStaleWorkFolders();

}  // namespace ruto
