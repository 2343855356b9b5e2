#include "support/ModelCheck.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ruto::test {

namespace {

QtMessageHandler passOn = nullptr;

// The tester reports through its own logging category; those reports become test failures,
// everything else goes where it went before.
void failOnModelReport(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  const bool fromTester = context.category && std::strcmp(context.category, "qt.modeltest") == 0;
  if (fromTester && type != QtDebugMsg && type != QtInfoMsg) {
    ADD_FAILURE() << "item model: " << text.toStdString();
    return;
  }
  if (passOn) passOn(type, context, text);
}

}  // namespace

ModelCheck::ModelCheck(QAbstractItemModel* model) {
  previous_ = qInstallMessageHandler(failOnModelReport);
  passOn = previous_;
  tester_ = std::make_unique<QAbstractItemModelTester>(
      model, QAbstractItemModelTester::FailureReportingMode::Warning);
}

ModelCheck::~ModelCheck() {
  tester_.reset();
  qInstallMessageHandler(previous_);
  passOn = nullptr;
}

}  // namespace ruto::test
