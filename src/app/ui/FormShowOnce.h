#pragma once
// A window whose FormShow runs once, on its first show, after the window's own show handling
// (a dialog placing itself over its owner) has run.

#include <QShowEvent>

namespace ruto {

template <class Base>
class FormShowOnce : public Base {
 public:
  using Base::Base;

  virtual void FormShow() = 0;

 protected:
  void showEvent(QShowEvent* event) override {
    Base::showEvent(event);
    if (!shown_) {
      shown_ = true;
      FormShow();
    }
  }

 private:
  bool shown_ = false;
};

}  // namespace ruto
