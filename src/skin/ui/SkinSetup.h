#pragma once
// Setting the skinning layer up for the program: the manager, the reporter of load
// failures, and the program's own skin package.

#include <QByteArray>
#include <QString>
#include <functional>

namespace ruto {

// Makes the skin manager and routes skin load failures to reporter. Qt's standard dialogs
// then open as ordinary (non-native) windows, so they can be skinned.
void InstallSkinManager(std::function<void(const QString&)> reporter);

// The program's own skin package as stored (size and LZH stream).
QByteArray OwnSkinPackage();

}  // namespace ruto
