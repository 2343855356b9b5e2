#pragma once
// The main window: start-up preparation of files, databases and settings, navigation to
// every feature, the launcher buttons, and the close question.

#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
namespace ruto {
class THidDeviceController;
class MeterDeviceHandlers;
class TSkinData;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  // Tests pass a controller over the simulated meter; the program uses the hidraw one.
  MainWindow(ruto::THidDeviceController* controller, QWidget* parent);
  ~MainWindow() override;

  // Menu items.
  QMenuBar* mainMenu;
  QAction* measureAction;
  QAction* referenceAction;
  QMenu* supportMenu;
  QAction* supportMenuAction;
  QAction* programsAction;
  QAction* userDataAction;
  QAction* calibrationAction;
  QAction* transferSeparator;
  QAction* transferAction;
  QAction* exitSeparator;
  QAction* exitAction;
  QAction* aboutAction;

  // Tool bar and its buttons.
  QToolBar* toolBar;
  QToolButton* measureButton;
  QToolButton* referenceButton;
  QToolButton* programsButton;
  QToolButton* calibrationButton;
  QToolButton* transferButton;
  QToolButton* exitButton;
  std::array<QToolButton*, 7> launcherButtons{};  // slots 1..6; entry 0 unused
  QStatusBar* mainStatusBar;
  QLabel* statusText;  // the status bar's simple text (kept apart from passing hints)
  QLabel* versionLabel;
  QLabel* webAddressLabel;
  ruto::THidDeviceController* deviceController = nullptr;
  // The program's skin, loaded with the window; it switches skinning on for every window.
  ruto::TSkinData* skinData = nullptr;

  // Set when start-up could not prepare the files or open the databases; the program
  // then ends without showing the window.
  bool startupFailed = false;
  // True from the end of the database steps until the first activation has run.
  bool firstActivationPending = false;
  // Start-up (including the status screen) has finished; closing asks from then on.
  bool startupDone = false;

  void enableToolbar(bool enable);
  void setStatusText(const QString& text);
  // Launcher buttons from Settings: visibility and hints.
  void applyLauncherSettings();
  bool launcherVisible(int slot) const;

  void prepareStartup();
  void prepareOnShow();
  void runFirstActivation();

  // Navigation handlers.
  void openMeasurement();
  void openMeridianReference();
  void openProgramList();
  void openCalibration();
  void openTransfer();
  void exitProgram();
  void runLauncher(int slot);
  void openUserData();
  void openAbout();
  void openMakerWebsite();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildMenu();
  void buildToolBar();
  void buildCentral();
  void openModal(const std::function<void(QWidget*)>& opener);
  // Runs one of the window's commands, unless a window (or question) of this one is open:
  // then every command does nothing, also one pressed past the modal window, as an assistive
  // tool can; a second window on top would work on the same records as the first.
  void runCommand(const std::function<void()>& command);
  class OpenWindowScope;
  int openWindows_ = 0;   // windows and questions of this window now open
  bool exiting_ = false;  // the exit command is closing the window
  std::array<QAction*, 7> launcherActions_{};
  ruto::MeterDeviceHandlers* deviceHandlers_ = nullptr;
  bool shownOnce_ = false;
};

inline MainWindow* TheMainWindow = nullptr;

inline const QString kMainCaption = QStringLiteral("Zelvan R.U.T.O. Vo-100 經絡能量分析儀");
inline const QString kApplicationTitle = QStringLiteral("Zelvan Vo-100");
inline const QString kVersionText = QStringLiteral("R.U.T.O. Vo-100 Version 5.07");
inline const QString kExitQuestion = QStringLiteral("您確定要結束本系統嗎?");

}  // namespace ruto
