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
  // One row per launcher slot 1..6 (the slot numbers of the settings); entry 0 unused. Object
  // names carry the slot number: "hintEdit3".
  std::array<QCheckBox*, 7> enabledBoxes{};
  std::array<QLineEdit*, 7> hintEdits{};
  std::array<QLineEdit*, 7> programEdits{};
  std::array<QLineEdit*, 7> parameterEdits{};
  std::array<QToolButton*, 7> programBrowseButtons{};
  std::array<QToolButton*, 7> parameterBrowseButtons{};
  std::array<QToolButton*, 7> testButtons{};

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
