#pragma once
// The about box: product and version texts and the meter's serial number, hardware version
// and measurement counter.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ruto {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QLabel* serialLabel;
  QLabel* hardwareLabel;
  QLabel* counterLabel;
  QLabel* webAddressLabel;  // the maker's web address
  QPushButton* okButton;    // 確  定

  void showMeterValues();
  void confirm();
  void openMakerWebsite();

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
};

// "[ " + the counter with thousands separators, at least 8 wide + " ]".
QString MeasureCounterText(long long counter);

}  // namespace ruto
