#pragma once
// Where the program's files live. Fixed for the program; tests point it at a temporary folder.

#include <QString>

namespace ruto {

// The install folder, always ending in "/".
QString InstallDir();
void SetInstallDir(const QString& dir);
// InstallDir() plus the existing spelling of `name` (names match case-insensitively),
// or plus `name` as given when no such file exists.
QString InstallPath(const QString& name);
bool InstallFileExists(const QString& name);

}  // namespace ruto
