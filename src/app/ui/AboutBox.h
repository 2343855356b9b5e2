#pragma once
// The about box: product and version texts and the meter's serial number, hardware version
// and measurement counter.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ruto {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QLabel* StaticText6;   // serial number
  QLabel* StaticText17;  // hardware version
  QLabel* StaticText14;  // measurement counter
  QLabel* StaticText10;  // the maker's web address
  QPushButton* BitBtn1;  // 確  定

  void FormShow();
  void BitBtn1Click();
  void StaticText10Click();

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
};

// "[ " + the counter with thousands separators, at least 8 wide + " ]".
QString MeasureCounterText(long long counter);

}  // namespace ruto
