#pragma once
// Names of the program's database connections (Qt SQL connection names). The main window
// opens them at start-up; windows and tables reach them by name.

#include <QString>

namespace ruto {

inline const QString kMainConnection = QStringLiteral("mainDatabase");            // ruto4.mdb
inline const QString kReferenceConnection = QStringLiteral("referenceDatabase");  // rutoTW.mdb
inline const QString kMultiMeridianConnection =
    QStringLiteral("multiMeridianDatabase");  // rutoMTW.mdb

}  // namespace ruto
