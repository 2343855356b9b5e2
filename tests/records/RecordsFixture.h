#pragma once
// The ground of the client and test record tests: a fresh main database with the shared
// records reset.

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"

// Values as texts joined by '|' (numbers to twelve digits), for comparing many fields at once.
inline QString fieldText(double v) { return QString::number(v, 'g', 12); }
inline QString fieldText(const QVariant& v) { return v.toString(); }
template <typename... T>
QString fields(const T&... v) {
  return QStringList{fieldText(v)...}.join('|');
}

class MainDatabaseTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kMainConnection, QStringLiteral("ruto4.mdb"));
    InitCompFactors();
    CurrentClient = {};
    CurrentTest = {};
    CompareTest = {};
    ViewState = {};
  }
};
