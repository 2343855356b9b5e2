#include "measure/MeasureWindows.h"

#include <QSqlDatabase>

#include "app/Databases.h"
#include "app/WindowOpeners.h"
#include "measure/Voadv.h"

void registerMeasureWindows() {
  WindowOpeners().meridianReference = [](QWidget* parent) {
    TVoadv window(QSqlDatabase::database(kReferenceConnection, false), parent);
    window.exec();
  };
}
