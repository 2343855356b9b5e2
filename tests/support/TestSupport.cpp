#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace ruto::test {

QString outputDir() {
  const QString dir = QStringLiteral(RUTO_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  return dir;
}

QString savePng(const QImage& image, const QString& name) {
  const QString path = outputDir() + QLatin1Char('/') + name + QStringLiteral(".png");
  image.save(path, "PNG");
  return path;
}

QString sourcePath(const QString& relative) {
  return QStringLiteral(RUTO_SOURCE_DIR) + QLatin1Char('/') + relative;
}

QString generatedPath(const QString& relative) {
  return QStringLiteral(RUTO_GENERATED_DIR) + QLatin1Char('/') + relative;
}

QString pdfText(const QString& pdf, const QStringList& options) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), QStringList(options) << pdf << QStringLiteral("-"));
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString radicalsIn(const QString& text) {
  QString out;
  for (const QChar c : text)
    if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF) out += c;
  return out;
}

bool writeFile(const QString& path, const QByteArray& data) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(data) == data.size();
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace ruto::test
