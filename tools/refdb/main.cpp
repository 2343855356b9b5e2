// Builds the reference database: reads the authored texts and figure outlines, encodes every
// text to Big5 and scrambles it, draws the figures, and writes table VOMTDB of rutoTW.mdb.
//   ruto_refdb <reference.json> <rutoTW.mdb>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>
#include <map>

#include "FigurePainter.h"
#include "JsonSource.h"
#include "app/TextCodec.h"

using namespace ruto;

namespace {

const QStringList kTextColumns = {"DtEA1",  "DtEA2", "DtEA3", "DtEA4", "DtEA5", "DtPot1", "DtPot2",
                                  "DtPot3", "DtMA1", "DtMA2", "DtMA3", "DtMH1", "DtMH2",  "DtMH3",
                                  "DtMH4",  "DtMH5", "DtML1", "DtML2", "DtML3", "DtML4",  "DtML5"};

const QStringList kMeridianTitles = {"手太陰肺經",   "手厥陰心包經", "手少陰心經", "手太陽小腸經",
                                     "手少陽三焦經", "手陽明大腸經", "足太陰脾經", "足厥陰肝經",
                                     "足少陰腎經",   "足太陽膀胱經", "足少陽膽經", "足陽明胃經"};

int fail(const QString& message) {
  std::fprintf(stderr, "ruto_refdb: %s\n", qPrintable(message));
  return 1;
}

// Course colour by the meridian's five-element phase.
QColor elementColor(const QString& phase) {
  if (phase.startsWith(QStringLiteral("木"))) return QColor(20, 140, 60);
  if (phase.startsWith(QStringLiteral("火"))) return QColor(215, 30, 30);
  if (phase.startsWith(QStringLiteral("土"))) return QColor(200, 140, 0);
  if (phase.startsWith(QStringLiteral("金"))) return QColor(110, 110, 130);
  return QColor(30, 80, 210);
}

QPointF pointOf(const QJsonArray& xy) { return {xy.at(0).toDouble(), xy.at(1).toDouble()}; }

QByteArray figureBytes(int key, const QJsonObject& row) {
  const QJsonObject fig = row.value("DtGpM").toObject();
  TFigureDrawing drawing;
  drawing.title = kMeridianTitles.value(key - 1);
  drawing.back = fig.value("view").toString() == QStringLiteral("back");
  drawing.color = elementColor(row.value("DtEA4").toString());
  for (const QJsonValue& v : fig.value("course").toArray()) drawing.course << pointOf(v.toArray());
  for (const QJsonValue& v : fig.value("points").toArray()) {
    const QJsonArray a = v.toArray();
    drawing.points.append({pointOf(a), a.at(2).toString()});
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  paintFigure(drawing).save(&buffer, "PNG");
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) return fail("usage: ruto_refdb <reference.json> <rutoTW.mdb>");
  const QString sourcePath = QString::fromLocal8Bit(argv[1]);
  const QString outPath = QString::fromLocal8Bit(argv[2]);
  QString readError;
  const QJsonDocument doc = readJsonSource(sourcePath, &readError);
  if (doc.isNull()) return fail(readError);

  std::map<int, QJsonObject> rows;
  for (const QJsonValue& v : doc.object().value("rows").toArray()) {
    const QJsonObject row = v.toObject();
    const int key = row.value("MKEY").toInt();
    if (key < 1 || key > 17 || rows.count(key))
      return fail(QString("bad or repeated MKEY %1").arg(key));
    rows[key] = row;
  }
  if (rows.size() != 17) return fail("every key 1..17 must be present");

  // Write beside the target and move it into place, so a failed run leaves no half database.
  const QString partPath = outPath + ".part";
  QFile::remove(partPath);
  int result = 0;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "refdb");
    db.setDatabaseName(partPath);
    if (!db.open()) return fail(db.lastError().text());
    QSqlQuery q(db);
    QStringList defs = {"MKEY INTEGER PRIMARY KEY"};
    for (const QString& c : kTextColumns) defs << c + " TEXT";
    defs << "DtGpM BLOB";
    if (!q.exec("CREATE TABLE VOMTDB (" + defs.join(", ") + ")")) return fail(q.lastError().text());

    QStringList marks(kTextColumns.size() + 2, "?");
    db.transaction();
    q.prepare("INSERT INTO VOMTDB (MKEY, " + kTextColumns.join(", ") + ", DtGpM) VALUES (" +
              marks.join(", ") + ")");
    for (const auto& [key, row] : rows) {
      q.addBindValue(key);
      for (qsizetype c = 0; c < kTextColumns.size(); ++c) {
        const QString text = row.value(kTextColumns[c]).toString();
        // Each text gets its own start value, as a stored database would have.
        const auto start = static_cast<unsigned char>(0x21 + (key * 37 + c * 11) % 200);
        const std::optional<QString> scrambled =
            text.isEmpty() ? std::optional<QString>(QString()) : ScrambleText(text, start);
        if (!scrambled) {
          result = fail(
              QString("MKEY %1 %2: text cannot be written in Big5").arg(key).arg(kTextColumns[c]));
          break;
        }
        q.addBindValue(*scrambled);
      }
      if (result) break;
      q.addBindValue(key <= 12 ? figureBytes(key, row) : QByteArray());
      if (!q.exec()) {
        result = fail(q.lastError().text());
        break;
      }
    }
    if (result == 0 && !db.commit()) result = fail(db.lastError().text());
    db.close();
  }
  QSqlDatabase::removeDatabase("refdb");
  if (result != 0) {
    QFile::remove(partPath);
    return result;
  }
  QFile::remove(outPath);
  if (!QFile::rename(partPath, outPath)) return fail("cannot write " + outPath);
  return 0;
}
