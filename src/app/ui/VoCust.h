#pragma once
// The user-data dialog: the report and status-bar lines and the six launcher slots.

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QTabWidget;
class QToolButton;
class QWidget;

namespace ruto {

class TVoCust : public QDialog {
  Q_OBJECT
 public:
  explicit TVoCust(QWidget* parent = nullptr);

  QToolButton* ToolButton2;  // 儲存資料
  QToolButton* ToolButton3;  // 離  開
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QLineEdit* Edit1;  // 用戶名稱1
  QLineEdit* Edit4;  // 用戶名稱2
  QLineEdit* Edit2;  // 用戶資料1
  QLineEdit* Edit3;  // 用戶資料2
  // Slots 1..6; entry 0 unused.
  std::array<QCheckBox*, 7> CheckBox{};
  std::array<QLineEdit*, 7> HintEdit{};       // Edit5..Edit10
  std::array<QLineEdit*, 7> ProgEdit{};       // Edit11..Edit16
  std::array<QLineEdit*, 7> ParamEdit{};      // Edit17..Edit22
  std::array<QToolButton*, 7> ProgBrowse{};   // SpeedButton1..6
  std::array<QToolButton*, 7> ParamBrowse{};  // SpeedButton13..18
  std::array<QToolButton*, 7> TestButton{};   // SpeedButton7..12

  void FormShow();
  void ToolButton2Click();
  void ToolButton3Click();
  void BrowseProgram(int slot);
  void BrowseParameter(int slot);
  void TestSlot(int slot);

  // Tests pick the file a browse dialog would return.
  using FilePicker = QString (*)(QWidget* parent, const QString& filter);
  static void SetFilePicker(FilePicker picker);

 protected:
  void showEvent(QShowEvent* e) override;
};

inline const QString kLaunchFailedText = QStringLiteral("無法啟動外部程式：");

}  // namespace ruto
