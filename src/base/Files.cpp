#include "base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ruto {

QStringList caseVariants(const QString& dir, const QString& name) {
  QDir d(dir);
  QStringList found;
  for (const QString& e :
       d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
    if (e.compare(name, Qt::CaseInsensitive) == 0) found << e;
  // Byte order of the names as stored, whatever the locale; the exact name goes first.
  std::sort(found.begin(), found.end(), [&](const QString& a, const QString& b) {
    if ((a == name) != (b == name)) return a == name;
    return QFile::encodeName(a) < QFile::encodeName(b);
  });
  return found;
}

QString findFileNoCase(const QString& dir, const QString& name) {
  QDir d(dir);
  if (QFileInfo::exists(d.filePath(name))) return d.filePath(name);
  const QStringList found = caseVariants(dir, name);
  return found.isEmpty() ? QString() : d.filePath(found.first());
}

QString pathNoCase(const QString& dir, const QString& name) {
  const QString found = findFileNoCase(dir, name);
  return found.isEmpty() ? QDir(dir).filePath(name) : found;
}

bool fileExistsNoCase(const QString& dir, const QString& name) {
  return !findFileNoCase(dir, name).isEmpty();
}

bool renameNoReplace(const QString& from, const QString& to) {
  const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, f.constData(), AT_FDCWD, t.constData(),
                1u /*RENAME_NOREPLACE*/) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // File systems without RENAME_NOREPLACE: a hard link fails on an existing target.
  if (::link(f.constData(), t.constData()) != 0) return false;
  ::unlink(f.constData());
  return true;
}

bool copyFileNoReplace(const QString& from, const QString& to, int* errorCode) {
  auto fail = [&](int e) {
    if (errorCode) *errorCode = e;
    return false;
  };
  QFile src(from);
  if (!src.exists()) return fail(ENOENT);
  if (QFileInfo::exists(to)) return fail(EEXIST);
  if (!src.open(QIODevice::ReadOnly)) return fail(EACCES);
  QTemporaryFile tmp(QFileInfo(to).absolutePath() + QStringLiteral("/.copy-XXXXXX"));
  if (!tmp.open()) return fail(QFileInfo(QFileInfo(to).absolutePath()).exists() ? EACCES : ENOENT);
  char buf[1 << 16];
  for (;;) {
    const qint64 n = src.read(buf, sizeof buf);
    if (n < 0) return fail(EIO);
    if (n == 0) break;
    if (tmp.write(buf, n) != n) return fail(ENOSPC);
  }
  if (!tmp.flush() || ::fsync(tmp.handle()) != 0) return fail(ENOSPC);
  tmp.setPermissions(src.permissions() | QFileDevice::WriteOwner);
  if (!renameNoReplace(tmp.fileName(), to)) return fail(errno ? errno : EEXIST);
  tmp.setAutoRemove(false);
  return true;
}

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error) {
  QSaveFile file(path);
  const auto fail = [&](const QString& reason) {
    if (error) *error = reason;
    file.cancelWriting();
    return false;
  };
  if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
  // QSaveFile alone would commit a short file when the buffered data only fails to reach
  // the disk while it closes, so every step is checked before the commit.
  if (file.write(data) != data.size() || !file.flush()) return fail(file.errorString());
  if (::fsync(file.handle()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (!file.commit()) return fail(file.errorString());
  return true;
}

}  // namespace ruto
