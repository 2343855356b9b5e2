#include "app/Settings.h"

#include <QDate>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include "app/AskUser.h"
#include "app/InstallDir.h"
#include "app/TextCodec.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "base/Text.h"

namespace ruto {

namespace {

bool isBlank(const QString& s) { return ruto::Trim(s).isEmpty(); }

int readInt(const QString& line, int def) {
  bool ok = false;
  const long long v = line.trimmed().toLongLong(&ok, 10);
  if (!ok || v < INT_MIN || v > INT_MAX) return def;
  return static_cast<int>(v);
}

int readCalibration(const QString& line) {
  const int v = readInt(line, 4000);
  return v < 2000 ? 4000 : v;
}

double readDouble(const QString& line, double def) { return ruto::StrToFloatDef(line, def); }

bool readBool(const QString& line) { return line == QLatin1String("1"); }

QString orDefault(const QString& line, const QString& def) { return isBlank(line) ? def : line; }

QString todayText() { return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")); }

QString oneLine(QString s) {
  for (QChar& c : s)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return s;
}

}  // namespace

TAppSettings DefaultSettings() {
  TAppSettings s;
  s.CalStandard = 4000;
  s.CalHigh = 4000;
  s.PrintOptions = QStringLiteral("0111000000000000000");
  s.MinResponse = 1.0;
  s.CalDate = todayText();
  s.HighPotential = false;
  s.UserName1 = QStringLiteral("RUTO經絡能量分析儀");
  s.UserName2 = QStringLiteral("RUTO 經絡能量分析儀分析報表");
  s.UserData1 = QStringLiteral("澤凡事業有限公司");
  s.UserData2 = QStringLiteral("中西醫科學研究中心");
  s.Reserved11 = QStringLiteral("11000");
  s.Reserved12 = true;
  s.Reserved13 = false;
  s.Reserved14 = 2;
  s.Reserved15 = 0.0;
  s.Reserved16 = false;
  s.PointPictureKind = 1;
  s.ExtProgEnabled = QStringLiteral("111000");
  s.ExtProgHint = {QString(),
                   QStringLiteral("連結澤凡事業有限公司全球資訊網"),
                   QStringLiteral("啟動影音播放功能"),
                   QStringLiteral("文件編輯功能"),
                   QString(),
                   QString(),
                   QString()};
  s.ExtProgPath = {QString(),
                   QString(),
                   QStringLiteral("wmplayer.exe"),
                   QStringLiteral("winword.exe"),
                   QString(),
                   QString(),
                   QString()};
  s.ExtProgParam = {QString(), kMakerWebAddress, QString(), QString(),
                    QString(), QString(),        QString()};
  return s;
}

TAppSettings ParseSettings(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& l : lines)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  // A final line end does not start a 37th line.
  if (!lines.isEmpty() && lines.last().isEmpty() && text.endsWith(QLatin1Char('\n')))
    lines.removeLast();
  auto line = [&](int n) { return n <= lines.size() ? lines.at(n - 1) : QString(); };

  const TAppSettings d = DefaultSettings();
  TAppSettings s;
  s.CalStandard = readCalibration(line(1));
  s.CalHigh = readCalibration(line(2));
  s.PrintOptions = orDefault(line(3), d.PrintOptions);
  s.MinResponse = readDouble(line(4), 1.0);
  s.CalDate = orDefault(line(5), d.CalDate);
  s.HighPotential = readBool(line(6));
  s.UserName1 = orDefault(line(7), d.UserName1);
  s.UserName2 = orDefault(line(8), d.UserName2);
  s.UserData1 = orDefault(line(9), d.UserData1);
  s.UserData2 = orDefault(line(10), d.UserData2);
  s.Reserved11 = orDefault(line(11), d.Reserved11);
  s.Reserved12 = readBool(line(12));
  s.Reserved13 = readBool(line(13));
  s.Reserved14 = readInt(line(14), 2);
  s.Reserved15 = readDouble(line(15), 0.0);
  s.Reserved16 = readBool(line(16));
  s.PointPictureKind = readInt(line(17), 1);
  s.ExtProgEnabled = orDefault(line(18), QStringLiteral("000000"));
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgHint[i] = line(18 + i);
    s.ExtProgPath[i] = line(24 + i);
    s.ExtProgParam[i] = line(30 + i);
  }
  return s;
}

QString FormatSettings(const TAppSettings& s) {
  QStringList l;
  auto b = [](bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); };
  l << QString::number(s.CalStandard) << QString::number(s.CalHigh) << oneLine(s.PrintOptions)
    << ruto::FloatToStr(s.MinResponse) << oneLine(s.CalDate) << b(s.HighPotential)
    << oneLine(s.UserName1) << oneLine(s.UserName2) << oneLine(s.UserData1) << oneLine(s.UserData2)
    << oneLine(s.Reserved11) << b(s.Reserved12) << b(s.Reserved13) << QString::number(s.Reserved14)
    << ruto::FloatToStr(s.Reserved15) << b(s.Reserved16) << QString::number(s.PointPictureKind)
    << oneLine(s.ExtProgEnabled);
  for (int i = 1; i <= 6; ++i) l << oneLine(s.ExtProgHint[i]);
  for (int i = 1; i <= 6; ++i) l << oneLine(s.ExtProgPath[i]);
  for (int i = 1; i <= 6; ++i) l << oneLine(s.ExtProgParam[i]);
  return l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

namespace {
// The settings file whose read failed in this run: it holds settings we could not read, and
// the defaults in memory must not replace them.
QString gUnreadFile;
}  // namespace

bool LoadSaveSettings(bool write, QString* error) {
  const QString path = InstallPath(kSettingsFileName);
  if (write) {
    const bool refused = path == gUnreadFile;
    QString reason;
    if (!refused && ruto::saveFileAtomically(path, FormatSettings(Settings).toUtf8(), &reason))
      return true;
    if (error) *error = refused ? kSettingsKeptText : reason;
    AskUser(MsgKind::WarningOk, refused ? kSettingsKeptText + QLatin1Char('\n') + path
                                        : kSettingsNotSavedText + QLatin1Char('\n') + path +
                                              QLatin1Char('\n') + reason);
    return false;
  }
  QFile f(path);
  // 36 short lines: anything much bigger is no settings file of ours, and reading it whole
  // could exhaust the memory.
  const QByteArray bytes =
      f.open(QIODevice::ReadOnly) ? f.read(kSettingsMaxBytes + 1) : QByteArray();
  const bool tooBig = bytes.size() > kSettingsMaxBytes;
  if (f.error() != QFileDevice::NoError || tooBig) {
    gUnreadFile = path;
    if (error) *error = tooBig ? kSettingsTooBigText : f.errorString();
    return false;
  }
  gUnreadFile.clear();
  // Files we write are UTF-8; files from earlier installations are Big5.
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = decodeBig5(bytes);
  Settings = ParseSettings(text);
  return true;
}

}  // namespace ruto
