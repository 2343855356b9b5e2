#pragma once
// The databases the analysis window opens, built on SQLite in the tests: one statement at a
// time (a failed one fails the test), and a reference table whose texts name their column and
// key.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/TextCodec.h"
#include "measure/ReferenceTable.h"
#include "measure/ui/AnalysisWindow.h"

namespace ruto::test {

// Runs `sql` with `values` bound on `connection`; false, and a test failure, when it does not.
inline bool runStatement(const QString& connection, const QString& sql,
                         const QVariantList& values = {}) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  if (q.exec()) return true;
  ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
  return false;
}

inline bool openSqlite(const QString& connection, const QString& path) {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
  db.setDatabaseName(path);
  return db.open();
}

inline void closeSqlite(const QString& connection) {
  { QSqlDatabase::database(connection, false).close(); }
  QSqlDatabase::removeDatabase(connection);
}

// VOMTDB on `connection`; with a `prefix`, keys 1..17 whose texts read "<prefix><column>-<key>".
inline void makeReferenceTable(const QString& connection, const QString& prefix = {}) {
  QStringList columns = {"MKEY INTEGER PRIMARY KEY"};
  for (const TReferenceColumn& c : ReferenceTextColumns()) columns << QString(c.name) + " TEXT";
  runStatement(connection, "CREATE TABLE VOMTDB (" + columns.join(',') + ", DtGpM BLOB)");
  if (prefix.isNull()) return;
  for (int key = 1; key <= 17; ++key) {
    QVariantList values = {key};
    for (const TReferenceColumn& c : ReferenceTextColumns())
      values << *ScrambleText(QString("%1%2-%3").arg(prefix, c.name).arg(key));
    runStatement(connection,
                 "INSERT INTO VOMTDB VALUES (?" + QString(",?").repeated(21) + ", NULL)", values);
  }
}

// The analysis window over an install folder with the main database's VODATA and a reference
// table whose texts start with `prefix`, the default settings and the test below; the messages
// shown are kept as "<kind>:<text>".
class AnalysisWindowFixture : public ::testing::Test {
 protected:
  explicit AnalysisWindowFixture(QString prefix) : prefix_(std::move(prefix)) {}
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetInstallDir(dir_.path());
    ASSERT_TRUE(openSqlite(kMainConnection, dir_.filePath("ruto4.mdb")));
    runStatement(kMainConnection, "CREATE TABLE VODATA (MKEY INTEGER PRIMARY KEY, MEMO1 TEXT)");
    ASSERT_TRUE(openSqlite(kReferenceConnection, ":memory:"));
    makeReferenceTable(kReferenceConnection, prefix_);
    Settings = DefaultSettings();
    ViewState = TViewState{};
    // Lung both high, pericardium both low, heart both high, small intestine high and low: four
    // diagnosis and diet items, three prescriptions. Average 53.125.
    CurrentTest = TCurrentTest{};
    for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 50;
    for (int p : {1, 7, 3, 9, 4}) CurrentTest.Values[p] = 80;
    for (int p : {2, 8, 10}) CurrentTest.Values[p] = 25;
    CurrentTest.CompValues = CurrentTest.Values;
    CurrentTest.VoDate = 46000.5;
    CurrentTest.Memo1 = {"舊記錄"};
    CurrentTest.MKey = 7;
    CurrentClient = TClientInfo{};
    CurrentClient.CustNo = "A001";
    CurrentClient.Name = "王小明";
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      messages_ << QString("%1:%2").arg(int(kind)).arg(text);
      return true;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    for (const QString& c : {kMainConnection, kReferenceConnection, kMultiMeridianConnection})
      closeSqlite(c);
  }
  // A window shown as the program shows it, with the events of its opening handled.
  std::unique_ptr<AnalysisWindow> open(QWidget* parent = nullptr) {
    auto w = std::make_unique<AnalysisWindow>(parent);
    w->show();
    QCoreApplication::processEvents();
    return w;
  }

  QString prefix_;
  QTemporaryDir dir_;
  QStringList messages_;
};

}  // namespace ruto::test
