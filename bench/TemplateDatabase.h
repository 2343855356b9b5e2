#pragma once
// The built template main database, for the benches that fill a copy of it.

#include <QFile>
#include <QString>

inline const QString kTemplateDatabase = QStringLiteral(RUTO_GENERATED_DIR "/VoSpa.mdb");

// A fresh writable copy of the template at `path`, replacing what stood there.
inline bool copyTemplateDatabase(const QString& path) {
  QFile::remove(path);
  return QFile::copy(kTemplateDatabase, path) &&
         QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
