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

class UserDataDialog : public QDialog {
  Q_OBJECT
 public:
  explicit UserDataDialog(QWidget* parent = nullptr);

  QToolButton* saveButton;   // 儲存資料
  QToolButton* leaveButton;  // 離  開
  QTabWidget* pages;
  QWidget* userPage;
  QWidget* launcherPage;
  QLineEdit* userName1Edit;  // 用戶名稱1
  QLineEdit* userName2Edit;  // 用戶名稱2
  QLineEdit* userData1Edit;  // 用戶資料1
  QLineEdit* userData2Edit;  // 用戶資料2
  // Slots 1..6; entry 0 unused.
  std::array<QCheckBox*, 7> enabledBoxes{};
  std::array<QLineEdit*, 7> hintEdits{};                 // Edit5..Edit10
  std::array<QLineEdit*, 7> programEdits{};              // Edit11..Edit16
  std::array<QLineEdit*, 7> parameterEdits{};            // Edit17..Edit22
  std::array<QToolButton*, 7> programBrowseButtons{};    // SpeedButton1..6
  std::array<QToolButton*, 7> parameterBrowseButtons{};  // SpeedButton13..18
  std::array<QToolButton*, 7> testButtons{};             // SpeedButton7..12

  void showSettings();
  void saveSettings();
  void leave();
  void browseProgram(int slot);
  void browseParameter(int slot);
  void testLauncher(int slot);

  // Tests pick the file a browse dialog would return.
  using FilePicker = QString (*)(QWidget* parent, const QString& filter);
  static void setFilePicker(FilePicker picker);

 protected:
  void showEvent(QShowEvent* e) override;
};

inline const QString kLaunchFailedText = QStringLiteral("無法啟動外部程式：");

}  // namespace ruto
