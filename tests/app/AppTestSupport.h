#pragma once
// Helpers of the app tests: SQL helpers, fresh copies of the built template database, and a
// temporary install folder with AskUser answered by the test.

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtSql>

#include "app/AskUser.h"
#include "app/Database.h"
#include "app/InstallDir.h"
#include "support/TestSupport.h"

using namespace ruto;  // the app tests read the program's names unqualified

namespace dbtest {

// Copies VoSpa.mdb to `dir`/`name` and returns the path (empty on failure).
inline QString freshCopy(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  if (!QFile::copy(ruto::test::generatedPath(QStringLiteral("VoSpa.mdb")), path)) return {};
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  return path;
}

// Runs one statement with bound values and returns its first row (empty when there is none);
// `ok` tells whether it ran, the error is printed when not.
inline QVariantList row(const QString& c, const QString& sql, const QVariantList& values = {},
                        bool* ok = nullptr) {
  QSqlQuery q(QSqlDatabase::database(c, false));
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  const bool done = q.exec();
  if (!done) qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
  if (ok) *ok = done;
  QVariantList out;
  if (done && q.next())
    for (int i = 0; i < q.record().count(); ++i) out << q.value(i);
  return out;
}
inline bool exec(const QString& c, const QString& sql, const QVariantList& values = {}) {
  bool ok = false;
  row(c, sql, values, &ok);
  return ok;
}
inline QVariant scalar(const QString& c, const QString& sql) { return row(c, sql).value(0); }
// The first row as texts joined by '|' ("<null>" for null), for comparing whole rows at once.
inline QString firstRow(const QString& c, const QString& sql) {
  QStringList out;
  for (const QVariant& v : row(c, sql))
    out << (v.isNull() ? QStringLiteral("<null>") : v.toString());
  return out.join('|');
}

// Makes an SQLite file from statements, for databases shaped unlike the template.
inline bool makeDatabase(const QString& path, const QStringList& statements) {
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "maker");
    db.setDatabaseName(path);
    ok = db.open();
    for (const QString& s : statements) ok = ok && exec("maker", s);
  }
  QSqlDatabase::removeDatabase("maker");
  return ok;
}

// Opens fresh copies of the template under connection names and closes them afterwards.
class Fixture : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const QString& c : opened_) CloseDatabase(c);
  }
  QString open(const QString& connection, const QString& name) {
    opened_ << connection;
    const QString path = freshCopy(dir, name);
    EXPECT_EQ(OpenDatabase(connection, path, kMainTables), DbOpenResult::Ok);
    return path;
  }
  QTemporaryDir dir;
  QStringList opened_;
};

}  // namespace dbtest

using ruto::test::fields;
using ruto::test::FileSizeLimit;

// The text a label or tooltip shows for `text`: Qt reads it as markup when it looks like it.
inline QString shownText(const QString& text, Qt::TextFormat format = Qt::AutoText) {
  if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
    return text;
  QTextDocument doc;
  doc.setHtml(text);
  return doc.toPlainText();
}

// A temporary install folder with the built template and a small reference database.
class InstallFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetInstallDir(dir_.path());
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      asked_ << QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(text);
      return answer_;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    SetInstallDir(QStringLiteral(RUTO_INSTALL_DIR));
  }

  QString path(const QString& name) const { return dir_.filePath(name); }
  bool has(const QString& name) const { return QFile::exists(path(name)); }
  QByteArray content(const QString& name) const { return ruto::test::readFile(path(name)); }
  void putTemplate(const QString& name = QStringLiteral("VoSpa.mdb")) {
    ASSERT_FALSE(dbtest::freshCopy(dir_, name).isEmpty());
  }
  // A file whose content tells which one it is (the file steps only move and copy).
  void putMarker(const QString& name, const QByteArray& data) {
    ASSERT_TRUE(ruto::test::writeFile(path(name), data));
  }
  void putReference() {
    ASSERT_TRUE(dbtest::makeDatabase(
        path(QStringLiteral("rutoTW.mdb")),
        {QStringLiteral("CREATE TABLE VOMTDB (MKEY INTEGER PRIMARY KEY, DtMA1 TEXT)")}));
  }
  // The usual good installation: template, main database, reference database.
  void putInstallation() {
    putTemplate();
    putTemplate(QStringLiteral("ruto4.mdb"));
    putReference();
  }

  QTemporaryDir dir_;
  QStringList asked_;
  bool answer_ = true;
};
