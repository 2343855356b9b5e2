#include "base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

namespace ruto {

QString findFileNoCase(const QString& dir, const QString& name) {
  QDir d(dir);
  if (QFileInfo::exists(d.filePath(name))) return d.filePath(name);
  const QStringList entries =
      d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& e : entries)
    if (e.compare(name, Qt::CaseInsensitive) == 0) return d.filePath(e);
  return {};
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

}  // namespace ruto
