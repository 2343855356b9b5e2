#pragma once
// Runs Qt's item-model consistency checks over one of our models while a test changes it.

#include <QAbstractItemModelTester>
#include <memory>

namespace ruto::test {

// While it lives, QAbstractItemModelTester watches `model` (checks at once, then after every
// change the model announces) and each inconsistency it finds fails the running test.
// One per test at a time: it takes over Qt's message handler for its lifetime.
class ModelCheck {
 public:
  explicit ModelCheck(QAbstractItemModel* model);
  ~ModelCheck();
  ModelCheck(const ModelCheck&) = delete;
  ModelCheck& operator=(const ModelCheck&) = delete;

 private:
  QtMessageHandler previous_;
  std::unique_ptr<QAbstractItemModelTester> tester_;
};

}  // namespace ruto::test
