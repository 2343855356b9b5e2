#pragma once
// File helpers with the original platform's habits: names match case-insensitively and a
// rename never replaces an existing file.

#include <QString>

namespace ruto {

// Path of the entry of `dir` whose name equals `name` ignoring case; the exact name is
// preferred. Empty when there is none.
QString findFileNoCase(const QString& dir, const QString& name);
// `dir` + the existing spelling of `name`, or `dir` + `name` when none exists.
QString pathNoCase(const QString& dir, const QString& name);
bool fileExistsNoCase(const QString& dir, const QString& name);

// Renames without replacing: fails when `to` exists (atomically, via link/unlink or
// renameat2 where the file system allows).
bool renameNoReplace(const QString& from, const QString& to);

// Copies to a temporary name beside `to` and renames it into place without replacing;
// nothing is left behind on failure. `errorCode` gets an errno value on failure.
bool copyFileNoReplace(const QString& from, const QString& to, int* errorCode = nullptr);

}  // namespace ruto
