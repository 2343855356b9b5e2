#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>

#include "InstallFolderFixture.h"
#include "app/Settings.h"
#include "app/TextCodec.h"

namespace {

QString fileWith(std::initializer_list<std::pair<int, QString>> lines) {
  QStringList l;
  for (int i = 0; i < 36; ++i) l << QString();
  for (const auto& [n, v] : lines) l[n - 1] = v;
  return l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace

TEST(SettingsRead, CalibrationReadings) {
  EXPECT_EQ(ParseSettings(fileWith({{1, "1500"}})).CalStandard, 4000);
  EXPECT_EQ(ParseSettings(fileWith({{1, "abc"}})).CalStandard, 4000);
  EXPECT_EQ(ParseSettings(fileWith({{1, "2000"}})).CalStandard, 2000);
  EXPECT_EQ(ParseSettings(fileWith({{2, "3999"}})).CalHigh, 3999);
  EXPECT_EQ(ParseSettings(fileWith({{2, "99999999999"}})).CalHigh, 4000);
}

TEST(SettingsRead, BooleansAreTrueOnlyForExactlyOne) {
  EXPECT_FALSE(ParseSettings(fileWith({{6, " 1"}})).HighPotential);
  EXPECT_TRUE(ParseSettings(fileWith({{6, "1"}})).HighPotential);
  EXPECT_FALSE(ParseSettings(fileWith({{6, "True"}})).HighPotential);
  // Blank line 12 reads False although its default is True.
  EXPECT_FALSE(ParseSettings(fileWith({})).Reserved12);
}

TEST(SettingsRead, BlankAndUnconvertibleLinesTakeTheirRules) {
  const TAppSettings s = ParseSettings(fileWith({{4, "x"}, {14, "y"}, {15, "1,5"}, {17, ""}}));
  EXPECT_DOUBLE_EQ(s.MinResponse, 1.0);
  EXPECT_EQ(s.Reserved14, 2);
  EXPECT_DOUBLE_EQ(s.Reserved15, 0.0);
  EXPECT_EQ(s.PointPictureKind, 1);
  EXPECT_EQ(s.PrintOptions, "0111000000000000000");
  EXPECT_EQ(s.UserName1, "RUTO經絡能量分析儀");
  EXPECT_EQ(s.ExtProgEnabled, "000000");  // blank line 18: no launcher button
  EXPECT_EQ(DefaultSettings().ExtProgEnabled, "111000");
  EXPECT_FALSE(s.CalDate.isEmpty());
  EXPECT_TRUE(s.ExtProgHint[1].isEmpty());  // lines 19-36 are taken as they stand
}

TEST(SettingsRead, ShortFileReadsMissingLinesAsEmpty) {
  const TAppSettings s = ParseSettings(QStringLiteral("2500\r\n3000\r\n"));
  EXPECT_EQ(s.CalStandard, 2500);
  EXPECT_EQ(s.CalHigh, 3000);
  EXPECT_EQ(s.Reserved14, 2);
  EXPECT_FALSE(s.Reserved12);
  EXPECT_EQ(s.ExtProgEnabled, "000000");
  EXPECT_TRUE(s.ExtProgParam[6].isEmpty());
}

TEST(SettingsRead, LinesKeepTheirBlanksAndTwentyCharacterPrintOptions) {
  const TAppSettings s =
      ParseSettings(fileWith({{3, "01110000000000000001"}, {7, "  名稱 "}, {19, " 說明"}}));
  EXPECT_EQ(s.PrintOptions, "01110000000000000001");
  EXPECT_EQ(s.UserName1, "  名稱 ");
  EXPECT_EQ(s.ExtProgHint[1], " 說明");
}

TEST(SettingsWrite, ThirtySixCrLfLinesInFixedFormats) {
  TAppSettings s = DefaultSettings();
  s.MinResponse = 0.8;
  s.Reserved15 = 1.0;
  const QString text = FormatSettings(s);
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 37);  // 36 lines and the empty rest after the last CR LF
  EXPECT_TRUE(lines.last().isEmpty());
  EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
  EXPECT_EQ(lines[0], "4000");
  EXPECT_EQ(lines[3], "0.8");
  EXPECT_EQ(lines[5], "0");
  EXPECT_EQ(lines[11], "1");
  EXPECT_EQ(lines[14], "1");
  EXPECT_EQ(lines[17], "111000");
  EXPECT_EQ(lines[25], "wmplayer.exe");
  EXPECT_EQ(lines[30], kMakerWebAddress);
}

TEST(SettingsWrite, LineBreaksInsideAStringCannotShiftLaterLines) {
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("一\r\n二");
  s.ExtProgPath[6] = QStringLiteral("/usr/bin/x");
  const TAppSettings back = ParseSettings(FormatSettings(s));
  EXPECT_EQ(back.UserName1, "一  二");
  EXPECT_EQ(back.ExtProgPath[6], "/usr/bin/x");
}

TEST(SettingsWrite, RoundTripKeepsEveryField) {
  TAppSettings s = DefaultSettings();
  s.CalStandard = 3123;
  s.CalHigh = 2001;
  s.PrintOptions = QStringLiteral("10101010101010101010");
  s.MinResponse = 1.25;
  s.CalDate = QStringLiteral("2026/12/06");
  s.HighPotential = true;
  s.Reserved13 = true;
  s.Reserved14 = -7;
  s.Reserved15 = 0.1 + 0.2;
  s.Reserved16 = true;
  s.PointPictureKind = 3;
  s.ExtProgEnabled = QStringLiteral("101");
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgHint[i] = QStringLiteral("提示%1").arg(i);
    s.ExtProgPath[i] = QStringLiteral("/opt/p%1").arg(i);
    s.ExtProgParam[i] = QStringLiteral("參數 %1").arg(i);
  }
  const TAppSettings b = ParseSettings(FormatSettings(s));
  EXPECT_EQ(FormatSettings(b), FormatSettings(s));
  EXPECT_DOUBLE_EQ(b.Reserved15, s.Reserved15);
  EXPECT_TRUE(b.HighPotential && b.Reserved13 && b.Reserved16);
}

class SettingsFile : public InstallFolderTest {};

TEST_F(SettingsFile, WritesAtomicallyAndReadsBack) {
  Settings = DefaultSettings();
  Settings.CalStandard = 2222;
  ASSERT_TRUE(LoadSaveSettings(true));
  Settings = TAppSettings{};
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.CalStandard, 2222);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"DeRirAz.ini"});
}

TEST_F(SettingsFile, ReadsBig5FileOfTheOriginalInstallation) {
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("台北診所");
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), encodeBig5(FormatSettings(s)).value()));
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.UserName1, "台北診所");
}

TEST_F(SettingsFile, UnreadableFileKeepsSettingsAndReportsIt) {
  Settings = DefaultSettings();
  Settings.CalStandard = 3333;
  ASSERT_TRUE(QDir().mkdir(path("DeRirAz.ini")));  // a folder where the file should be
  QString error;
  EXPECT_FALSE(LoadSaveSettings(false, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Settings.CalStandard, 3333);
  EXPECT_FALSE(LoadSaveSettings(true, &error));
}
