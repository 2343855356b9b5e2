// ruto_pictures <folder>: writes the 72 point pictures (3 kinds x 24 points) as BMP files.

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "PointPicturePainter.h"
#include "app/SharedRecords.h"
#include "measure/PointTables.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ruto_pictures <folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  int written = 0;
  for (int kind = 1; kind <= 3; ++kind) {
    for (int point = 1; point <= ruto::kPointCount; ++point) {
      const QString path = QDir(folder).filePath(ruto::PointPictureName(point, kind));
      if (!ruto::PaintPointPicture(point, kind).save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
      }
      ++written;
    }
  }
  std::printf("%d point pictures in %s\n", written, argv[1]);
  return 0;
}
