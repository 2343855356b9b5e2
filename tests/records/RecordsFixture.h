#pragma once
// The ground of the client and test record tests: a fresh main database with the shared
// records reset.

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/SharedRecords.h"

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
