#include "measure/ui/MeasureWindows.h"

#include <QSqlDatabase>

#include "app/Databases.h"
#include "app/WindowOpeners.h"
#include "measure/ui/Voadv.h"

namespace ruto {

void registerMeasureWindows() {
  WindowOpeners().meridianReference = [](QWidget* parent) {
    TVoadv window(QSqlDatabase::database(kReferenceConnection, false), parent);
    window.exec();
  };
}

}  // namespace ruto
