#pragma once
// The ground of the records tests: a fresh main database with the shared records reset, and
// AskUser answered by the test and external programs only recorded.

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/RecordSet.h"
#include "app/SharedRecords.h"
#include "records/ClientRecords.h"

class MainDatabaseTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kMainConnection, QStringLiteral("ruto4.mdb"));
    InitCompFactors();
    CurrentClient = {};
    CurrentTest = {};
    CompareTest = {};
    ViewState = {};
    ChosenClient = {};
    ChosenBookmark = 0;
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      asked << QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(text);
      return answer;
    });
    started.clear();
    SetExternalStarter([](const QString& program, const QString& param, bool) {
      started << program + u'|' + param;
    });
  }
  void TearDown() override {
    SetExternalStarter(nullptr);
    SetAskUserResponder(nullptr);
    dbtest::Fixture::TearDown();
  }
  qint64 addClient(const QString& no, const QString& name, bool male = false) {
    return RecordSet(kMainConnection, QStringLiteral("VOCUST"))
        .insert({{"CUSTNO", no}, {"NAME", name}, {"SEX", male}});
  }
  // A test whose point p holds base + step * p.
  qint64 addTest(const QString& no, double base, double date = 45000.25, double step = 1) {
    QVariantMap row{{"CUSTNO", no}, {"VODATE", date}, {"VOVOTA", 1}, {"MEMO1", "a\r\nb\r\n"}};
    for (int p = 1; p <= 24; ++p) row.insert(QStringLiteral("VO%1").arg(p), base + step * p);
    return RecordSet(kMainConnection, QStringLiteral("VODATA")).insert(row);
  }
  // Rows in `table` of the main database.
  int rowsIn(const QString& table) {
    return dbtest::scalar(kMainConnection, "SELECT COUNT(*) FROM " + table).toInt();
  }
  QStringList asked;
  bool answer = true;
  static inline QStringList started;  // "program|parameter" of each start
};
