#pragma once
// Reading a generator tool's authored JSON source, with a reason fit for its error line.

#include <QFile>
#include <QJsonDocument>
#include <QString>

// The document in `path`; a null one, with the reason in `error`, when it cannot be read or
// parsed.
inline QJsonDocument readJsonSource(const QString& path, QString* error) {
  QFile source(path);
  if (!source.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("cannot read ") + path;
    return {};
  }
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(source.readAll(), &parseError);
  if (doc.isNull()) *error = path + QStringLiteral(": ") + parseError.errorString();
  return doc;
}
