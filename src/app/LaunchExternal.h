#pragma once
#include <QString>

namespace ruto {

// Opens a program with a parameter, or a document or web address by itself. Programs are
// started directly (never through a shell command line); documents and addresses go to the
// desktop's handler. Paths written with a drive letter that does not exist are tried on the
// drives C to Q, as configured on the original installation.
void LaunchExternal(const QString& prog, const QString& param);

// Replaces the starter (tests record what would be started). Null restores the real one.
using ExternalStarter = void (*)(const QString& program, const QString& param, bool isProgram);
void SetExternalStarter(ExternalStarter starter);

}  // namespace ruto
