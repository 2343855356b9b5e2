// The second reference: a bare main window dressed like the program's, with the same Chinese
// menu, toolbar, labels and status bar in the program's font, ending once it is shown. The
// gap to it is what the program adds beyond the text and fonts any such window pays.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setFont(ruto::WithProgramFamilies(QApplication::font()));
  QMainWindow w;
  w.setWindowTitle(QStringLiteral("Zelvan R.U.T.O. Vo-100 經絡能量分析儀"));
  QMenuBar* menu = w.menuBar();
  menu->addAction(QStringLiteral("經絡測量"));
  menu->addAction(QStringLiteral("經絡解說"));
  QMenu* support = menu->addMenu(QStringLiteral("系統支援"));
  for (const char* item :
       {"專家療程設定", "用戶資料設定", "數位校準系統", "-", "檔案匯入/匯出", "-", "離開系統"}) {
    if (item[0] == '-')
      support->addSeparator();
    else
      support->addAction(QString::fromUtf8(item));
  }
  menu->addAction(QStringLiteral("關於版本"));
  QToolBar* bar = w.addToolBar(QString());
  bar->setMovable(false);
  for (const char* caption : {"經絡測量", "經絡解說", "專家療程", "數位校準", "檔案處理", "-",
                              "功能1", "功能 2", "功能 3", "-", "離開系統"}) {
    if (caption[0] == '-') {
      bar->addSeparator();
      continue;
    }
    auto* b = new QToolButton(bar);
    b->setText(QString::fromUtf8(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(72, 40);
    bar->addWidget(b);
  }
  auto* central = new QWidget(&w);
  auto* layout = new QVBoxLayout(central);
  layout->addStretch(1);
  for (const char* text : {"R.U.T.O. Vo-100 Version 5.07", "http://www.zelvan.com.tw/"}) {
    auto* label = new QLabel(QString::fromUtf8(text), central);
    label->setAlignment(Qt::AlignRight);
    layout->addWidget(label);
  }
  w.setCentralWidget(central);
  w.statusBar()->addWidget(new QLabel(QStringLiteral("RUTO經絡能量分析儀")), 1);
  w.showMaximized();
  QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}
