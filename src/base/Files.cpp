#include "base/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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
  // Copies hold client data: the owner's alone, whatever the source's mode.
  tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
  const bool existed = QFileInfo::exists(path);
  if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
  // A file we create is the owner's alone; one that exists keeps its mode (QSaveFile's).
  if (!existed && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
    return fail(file.errorString());
  // QSaveFile alone would commit a short file when the buffered data only fails to reach
  // the disk while it closes, so every step is checked before the commit.
  if (file.write(data) != data.size() || !file.flush()) return fail(file.errorString());
  if (::fsync(file.handle()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (!file.commit()) return fail(file.errorString());
  return true;
}

namespace {

const QString kWorkFolderStem = QStringLiteral("ruto-work-");

// The start time of process `pid` in clock ticks since boot, or empty when it is gone. Only
// the pid and its start time together name one process: pids are reused.
QByteArray processStart(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray line = stat.readAll();
  // The command name in parentheses may hold blanks; the fields after it are plain.
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
  return fields.size() > 19 ? fields.at(19) : QByteArray();
}

}  // namespace

QString OwnedNamePrefix(const QString& stem, qint64 pid) {
  const QByteArray start = processStart(pid);
  if (start.isEmpty()) return {};
  return stem + QString::number(pid) + u'-' + QString::fromLatin1(start) + u'-';
}

namespace {

// This process's prefix under `stem`; the bare stem without a process table to name it by.
QString ownPrefix(const QString& stem) {
  const QString prefix = OwnedNamePrefix(stem, QCoreApplication::applicationPid());
  return prefix.isEmpty() ? stem : prefix;
}

}  // namespace

QString NewOwnedName(const QString& stem) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString name = ownPrefix(stem);
  for (int i = 0; i < 6; ++i)
    name += QLatin1Char(
        kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kLetters) - 1)]);
  return name;
}

void RemoveStaleOwnedEntries(const QString& dir, const QString& stem, OwnedEntry kind) {
  // Without a way to see the processes, every entry might be a live one.
  if (processStart(QCoreApplication::applicationPid()).isEmpty()) return;
  const QDir folder(dir);
  // Another spelling is somebody else's file.
  for (const QString& name :
       folder.entryList({stem + u'*'}, QDir::AllEntries | QDir::Hidden | QDir::System |
                                           QDir::NoDotAndDotDot | QDir::CaseSensitive)) {
    const QStringList parts = name.mid(stem.size()).split(u'-');
    // Only names exactly as they are made ("+12" or "012" is no number of ours).
    const auto number = [&](int i, qint64* value) {
      bool ok = false;
      *value = parts.value(i).toLongLong(&ok);
      return ok && parts.at(i) == QString::number(*value);
    };
    qint64 pid = 0, start = 0;
    if (parts.size() != 3 || !number(0, &pid) || !number(1, &start) || parts.at(2).isEmpty())
      continue;
    const QString live = OwnedNamePrefix(stem, pid);
    if (!live.isEmpty() && name.startsWith(live)) continue;
    // A link or another user's entry in a shared folder is not ours, whatever its name.
    struct stat st {};
    const QByteArray path = QFile::encodeName(folder.filePath(name));
    if (::lstat(path.constData(), &st) != 0 || st.st_uid != ::getuid()) continue;
    if (kind == OwnedEntry::Folder && S_ISDIR(st.st_mode))
      QDir(folder.filePath(name)).removeRecursively();
    else if (kind == OwnedEntry::File && S_ISREG(st.st_mode))
      ::unlink(path.constData());
  }
}

QString WorkFolderPrefix(qint64 pid) { return OwnedNamePrefix(kWorkFolderStem, pid); }

QString WorkFolderTemplate() {
  return QDir::tempPath() + u'/' + ownPrefix(kWorkFolderStem) + QStringLiteral("XXXXXX");
}

void RemoveStaleWorkFolders() {
  RemoveStaleOwnedEntries(QDir::tempPath(), kWorkFolderStem, OwnedEntry::Folder);
}

}  // namespace ruto
