#pragma once
// Another program holding a database file: the sqlite3 command-line program, fed a script on
// its standard input. A script marks the moment it holds its lock with ".print held".

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace ruto::test {

class SqliteHolder {
 public:
  // Starts sqlite3 on `path` with `script` and waits until it prints "held".
  SqliteHolder(const QString& path, const QString& script) {
    process_.start(QStringLiteral("sqlite3"), {path});
    ok_ = process_.waitForStarted(5000);
    send(script);
    ok_ = ok_ && waitFor("held");
  }
  // Closing its input ends sqlite3, rolling back what it still holds.
  ~SqliteHolder() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000)) process_.kill();
    process_.waitForFinished();
  }
  SqliteHolder(const SqliteHolder&) = delete;
  SqliteHolder& operator=(const SqliteHolder&) = delete;

  bool ok() const { return ok_; }
  qint64 pid() const { return process_.processId(); }
  // Ends the held transaction and waits until it has.
  bool release() {
    send(QStringLiteral("COMMIT;\n.print released\n"));
    return waitFor("released");
  }

 private:
  void send(const QString& text) {
    process_.write(text.toUtf8());
    process_.waitForBytesWritten(5000);
  }
  bool waitFor(const QByteArray& word) {
    while (!output_.contains(word)) {
      if (!process_.waitForReadyRead(10000)) return false;
      output_ += process_.readAllStandardOutput();
    }
    output_.clear();
    return true;
  }

  QProcess process_;
  QByteArray output_;
  bool ok_ = false;
};

}  // namespace ruto::test
