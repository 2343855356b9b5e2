#pragma once
// A temporary install folder with the built template and a small reference database, and
// AskUser answered by the test.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include "app/InstallDir.h"
#include "app/VoMsag.h"
#include "support/TestSupport.h"

class InstallFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetInstallDir(dir_.path());
    asked_.clear();
    SetAskUserResponder([this](int kind, const QString& text) {
      asked_ << QStringLiteral("%1:%2").arg(kind).arg(text);
      return answer_;
    });
  }
  void TearDown() override {
    SetAskUserResponder(nullptr);
    SetInstallDir(QStringLiteral(RUTO_INSTALL_DIR));
  }

  QString path(const QString& name) const { return dir_.filePath(name); }
  bool has(const QString& name) const { return QFile::exists(path(name)); }

  void putTemplate(const QString& name = QStringLiteral("VoSpa.mdb")) {
    ASSERT_TRUE(QFile::copy(ruto::test::generatedPath(QStringLiteral("VoSpa.mdb")), path(name)));
    QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner);
  }
  // A file whose content tells which one it is (the file steps only move and copy).
  void putMarker(const QString& name, const QByteArray& content) {
    ASSERT_TRUE(ruto::test::writeFile(path(name), content));
  }
  QByteArray content(const QString& name) const { return ruto::test::readFile(path(name)); }

  void putReference(const QString& name = QStringLiteral("rutoTW.mdb")) {
    const QString conn = QStringLiteral("fixture-ref");
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
      db.setDatabaseName(path(name));
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      ASSERT_TRUE(
          q.exec(QStringLiteral("CREATE TABLE VOMTDB (MKEY INTEGER PRIMARY KEY, DtMA1 TEXT)")));
      db.close();
    }
    QSqlDatabase::removeDatabase(conn);
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
