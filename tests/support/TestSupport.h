#pragma once
// Helpers shared by the tests of every folder.

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "base/Colors.h"

namespace ruto::test {

// Folder where tests leave PNG and PDF files for people to look at.
QString outputDir();
// Saves `image` as <outputDir>/<name>.png and returns the path.
QString savePng(const QImage& image, const QString& name);
// Path of a file in the source tree.
QString sourcePath(const QString& relative);
// Path of a build-time generated file (databases, packages).
QString generatedPath(const QString& relative);
// Writes `data` to `path`, creating folders; false on failure.
bool writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);
// The $BBGGRR colour of one pixel, for comparing rendered images with the program's colours.
inline TColor at(const QImage& img, int x, int y) { return fromQColor(QColor(img.pixel(x, y))); }

}  // namespace ruto::test
