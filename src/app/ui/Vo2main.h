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

class TVoForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TVoForm(QWidget* parent = nullptr);
  // Tests pass a controller over the simulated meter; the program uses the hidraw one.
  TVoForm(ruto::THidDeviceController* controller, QWidget* parent);
  ~TVoForm() override;

  // Menu items.
  QMenuBar* MainMenu1;
  QAction* gq1;
  QAction* g1;
  QMenu* tw1Menu;
  QAction* tw1;
  QAction* w2;
  QAction* w1;
  QAction* N1;
  QAction* N3;
  QAction* N5;
  QAction* N4;
  QAction* t1;
  QAction* i1;

  // Tool bar and its buttons.
  QToolBar* ToolBar1;
  QToolButton* ToolButton1;
  QToolButton* ToolButton4;
  QToolButton* ToolButton5;
  QToolButton* ToolButton7;
  QToolButton* ToolButton8;
  QToolButton* ToolButton9;
  std::array<QToolButton*, 7> LauncherButtons{};  // slots 1..6 = ToolButton11..16
  QStatusBar* StatusBar1;
  QLabel* StatusText;  // the status bar's simple text (kept apart from passing hints)
  QLabel* StaticText1;
  QLabel* StaticText3;
  ruto::THidDeviceController* HidCtl = nullptr;
  // The program's skin, loaded with the window; it switches skinning on for every window.
  ruto::TSkinData* SkinData1 = nullptr;

  // Set when start-up could not prepare the files or open the databases; the program
  // then ends without showing the window.
  bool StartupFailed = false;
  // True from the end of the database steps until the first activation has run.
  bool FirstActivation = false;
  // Start-up (including the status screen) has finished; closing asks from then on.
  bool StartupDone = false;

  void EnableMainToolbar(bool enable);
  void SetStatusText(const QString& text);
  // Launcher buttons from Settings: visibility and hints.
  void ApplyLauncherButtons();
  bool LauncherVisible(int slot) const;

  void FormCreate();
  void FormShow();
  void FormActivate();

  // Navigation handlers.
  void ToolButton1Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton7Click();
  void ToolButton8Click();
  void ToolButton9Click();
  void LauncherClick(int slot);
  void w1Click();
  void i1Click();
  void StaticText3Click();

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
  std::array<QAction*, 7> launcherActions_{};
  ruto::MeterDeviceHandlers* deviceHandlers_ = nullptr;
  bool shownOnce_ = false;
};

inline TVoForm* VoForm = nullptr;

inline const QString kMainCaption = QStringLiteral("Zelvan R.U.T.O. Vo-100 經絡能量分析儀");
inline const QString kApplicationTitle = QStringLiteral("Zelvan Vo-100");
inline const QString kVersionText = QStringLiteral("R.U.T.O. Vo-100 Version 5.07");
inline const QString kExitQuestion = QStringLiteral("您確定要結束本系統嗎?");

}  // namespace ruto
