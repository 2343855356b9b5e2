#include "app/DatabaseGuard.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "app/AskUser.h"
#include "app/Database.h"

namespace ruto {

namespace {

enum class Verdict { Pending, Sound, Damaged, Busy };

struct Check {
  QString path;
  Verdict verdict = Verdict::Pending;
  QString detail;              // what quick_check or SQLite said about a damaged file
  sqlite3* running = nullptr;  // the worker's connection while it checks
  bool stop = false;
  std::thread worker;
};

// Stops a check; called with the registry's mutex held. The caller joins its worker.
void stopLocked(Check& check) {
  check.stop = true;
  if (check.running) sqlite3_interrupt(check.running);
}

// The checks by connection name. At exit a check still running is stopped and waited for
// before the lock and the condition it uses go away.
struct Registry {
  std::mutex mutex;
  std::condition_variable done;
  std::map<QString, std::shared_ptr<Check>> checks;
  ~Registry() {
    std::map<QString, std::shared_ptr<Check>> left;
    {
      std::lock_guard lock(mutex);
      left.swap(checks);
      for (auto& [name, check] : left) stopLocked(*check);
    }
    for (auto& [name, check] : left)
      if (check->worker.joinable()) check->worker.join();
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

// Runs quick_check on its own read-only connection. `check`, when given, may interrupt it.
Verdict quickCheck(const QString& path, QString* detail, Check* check) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (check) {
      std::lock_guard lock(registry().mutex);
      if (check->stop) rc = SQLITE_INTERRUPT;
      check->running = db;
    }
  }
  QStringList rows;
  if (rc == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (rows.size() < 3)
        rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
      rc = SQLITE_OK;
    }
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
    sqlite3_finalize(stmt);
  }
  const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
  if (check) {
    std::lock_guard lock(registry().mutex);
    check->running = nullptr;
  }
  sqlite3_close(db);
  switch (rc & 0xff) {
    case SQLITE_OK:
      if (rows == QStringList{QStringLiteral("ok")}) return Verdict::Sound;
      *detail = rows.join(u'\n');
      return Verdict::Damaged;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      *detail = message;
      return Verdict::Damaged;
    default:
      // Locked out, stopped, or unreadable for now: no verdict yet.
      *detail = message;
      return Verdict::Busy;
  }
}

QString damagedMessage(const Check& c) {
  return kDatabaseDamagedText + u'\n' + c.path + u'\n' + c.detail;
}

// Process ids in /proc/locks holding a lock on the inode `inode`, other than this process.
QList<qint64> lockHolders(quint64 inode) {
  QList<qint64> out;
  QFile locks(QStringLiteral("/proc/locks"));
  if (!locks.open(QIODevice::ReadOnly)) return out;
  for (const QByteArray& line : locks.readAll().split('\n')) {
    if (line.contains("->")) continue;  // a waiter, not a holder
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() < 6) continue;
    const qint64 pid = f[4].toLongLong();
    if (pid > 0 && pid != getpid() && f[5].split(':').value(2).toULongLong() == inode &&
        !out.contains(pid))
      out << pid;
  }
  return out;
}

bool hasOpen(qint64 pid, const QString& canonical) {
  QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
    if (fd.symLinkTarget() == canonical) return true;
  return false;
}

}  // namespace

QString WriteFailureText(const QString& message, const QString& reason) {
  return message + u'\n' + reason;
}

bool IsDatabaseBusy(const QSqlError& error) {
  return (error.nativeErrorCode().toInt() & 0xff) == SQLITE_BUSY;
}

bool IsDatabaseDamaged(const QSqlError& error) {
  const int code = error.nativeErrorCode().toInt() & 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

QString DatabaseHolder(const QString& path) {
  struct stat st {};
  const QString canonical = QFileInfo(path).canonicalFilePath();
  if (canonical.isEmpty() || stat(QFile::encodeName(canonical).constData(), &st) != 0) return {};
  // A lock's inode can match a file on another file system; the holder must have this one open.
  QList<qint64> pids;
  for (qint64 pid : lockHolders(st.st_ino))
    if (hasOpen(pid, canonical)) pids << pid;
  if (pids.isEmpty()) {
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& name : all) {
      bool number = false;
      const qint64 pid = name.toLongLong(&number);
      if (number && pid != getpid() && hasOpen(pid, canonical)) pids << pid;
    }
  }
  QStringList names;
  for (qint64 pid : pids) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
      names << QStringLiteral("%1 (PID %2)")
                   .arg(QString::fromLocal8Bit(comm.readAll().trimmed()))
                   .arg(pid);
  }
  return names.join(QStringLiteral("、"));
}

QString DatabaseInUseMessage(const QString& path) {
  const QString holder = DatabaseHolder(path);
  return kDatabaseInUseText + u'\n' + path +
         (holder.isEmpty() ? QString() : QStringLiteral("\n使用中的程式：") + holder);
}

void StartDatabaseCheck(const QString& connectionName, const QString& path) {
  StopDatabaseCheck(connectionName);
  auto check = std::make_shared<Check>();
  check->path = path;
  std::lock_guard lock(registry().mutex);
  registry().checks[connectionName] = check;
  check->worker = std::thread([check] {
    QString detail;
    const Verdict verdict = quickCheck(check->path, &detail, check.get());
    {
      std::lock_guard done(registry().mutex);
      check->verdict = verdict;
      check->detail = detail;
    }
    registry().done.notify_all();
    if (verdict == Verdict::Damaged && QCoreApplication::instance())
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [text = damagedMessage(*check)] { AskUser(MsgKind::ImportantOk, text); },
          Qt::QueuedConnection);
  });
}

void StopDatabaseCheck(const QString& connectionName) {
  std::shared_ptr<Check> check;
  {
    std::lock_guard lock(registry().mutex);
    const auto it = registry().checks.find(connectionName);
    if (it == registry().checks.end()) return;
    check = it->second;
    registry().checks.erase(it);
    stopLocked(*check);
  }
  if (check->worker.joinable()) check->worker.join();
}

bool WaitForWriteVerdict(const QString& connectionName, QString* error) {
  std::unique_lock lock(registry().mutex);
  const auto it = registry().checks.find(connectionName);
  if (it == registry().checks.end()) return true;
  const std::shared_ptr<Check> check = it->second;
  registry().done.wait(lock, [&] { return check->verdict != Verdict::Pending; });
  if (check->verdict == Verdict::Busy) {
    // The file was held while the worker looked; look again now that a write needs it.
    lock.unlock();
    QString detail;
    const Verdict verdict = quickCheck(check->path, &detail, nullptr);
    lock.lock();
    if (check->verdict == Verdict::Busy) {
      check->verdict = verdict;
      check->detail = detail;
    }
  }
  switch (check->verdict) {
    case Verdict::Sound:
      return true;
    case Verdict::Damaged:
      if (error) *error = damagedMessage(*check);
      return false;
    default:
      if (error) *error = DatabaseInUseMessage(check->path);
      return false;
  }
}

}  // namespace ruto
