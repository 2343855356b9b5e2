#include <gtest/gtest.h>
#include <QRegularExpression>

#include "app/AppTestSupport.h"
#include "app/Settings.h"
#include "app/TextCodec.h"

using namespace ruto;

// A 36-line settings text with the given 1-based lines set and the others blank.
static TAppSettings read(std::initializer_list<std::pair<int, QString>> lines) {
  QStringList l(36);
  for (const auto& [n, v] : lines) l[n - 1] = v;
  return ParseSettings(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(SettingsRead, LinesFollowTheirRules) {
  EXPECT_EQ(read({{1, "1500"}}).CalStandard, 4000);
  EXPECT_EQ(read({{1, "abc"}}).CalStandard, 4000);
  EXPECT_EQ(read({{1, "2000"}}).CalStandard, 2000);
  EXPECT_EQ(read({{2, "3999"}}).CalHigh, 3999);
  EXPECT_EQ(read({{2, "99999999999"}}).CalHigh, 4000);
  // Booleans are true only for exactly "1".
  EXPECT_FALSE(read({{6, " 1"}}).HighPotential);
  EXPECT_TRUE(read({{6, "1"}}).HighPotential);
  EXPECT_FALSE(read({{6, "True"}}).HighPotential);

  const TAppSettings s = read({{4, "x"}, {14, "y"}, {15, "1,5"}, {17, ""}});
  EXPECT_DOUBLE_EQ(s.MinResponse, 1.0);
  EXPECT_EQ(s.Reserved14, 2);
  EXPECT_DOUBLE_EQ(s.Reserved15, 0.0);
  EXPECT_EQ(s.PointPictureKind, 1);
  EXPECT_EQ(s.PrintOptions, "0111000000000000000");
  EXPECT_EQ(s.UserName1, "RUTO經絡能量分析儀");
  EXPECT_FALSE(s.Reserved12) << "blank line 12 reads False although its default is True";
  EXPECT_EQ(s.ExtProgEnabled, "000000") << "blank line 18: no launcher button";
  EXPECT_EQ(DefaultSettings().ExtProgEnabled, "111000") << "no file: the first three";
  EXPECT_FALSE(s.CalDate.isEmpty());
  // A short file reads its missing lines as blank ones.
  EXPECT_EQ(ParseSettings(QStringLiteral("2500\r\n3000\r\n")).ExtProgEnabled, "000000");
  // Texts keep their blanks; 20-character print options stay as they are.
  const TAppSettings kept = read({{3, "01110000000000000001"}, {7, "  名稱 "}, {19, " 說明"}});
  EXPECT_EQ(QStringList({kept.PrintOptions, kept.UserName1, kept.ExtProgHint[1]}),
            QStringList({"01110000000000000001", "  名稱 ", " 說明"}));
}

TEST(SettingsWrite, ThirtySixCrLfLinesThatRoundTrip) {
  TAppSettings s = DefaultSettings();
  s.MinResponse = 0.8;
  s.Reserved15 = 1.0;
  const QStringList l = FormatSettings(s).split(QStringLiteral("\r\n"));
  ASSERT_EQ(l.size(), 37);  // 36 lines and the empty rest after the last CR LF
  EXPECT_EQ(QStringList({l[0], l[3], l[5], l[11], l[14], l[17], l[30], l[36]}),
            QStringList({"4000", "0.8", "0", "1", "1", "111000", kMakerWebAddress, ""}));

  s.CalStandard = 3123;
  s.PrintOptions = QStringLiteral("10101010101010101010");
  s.MinResponse = 1.25;
  s.CalDate = QStringLiteral("2026/12/06");
  s.HighPotential = s.Reserved13 = s.Reserved16 = true;
  s.Reserved14 = -7;
  s.Reserved15 = 0.1 + 0.2;
  s.PointPictureKind = 3;
  s.ExtProgEnabled = QStringLiteral("101");
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgHint[i] = QStringLiteral("提示%1").arg(i);
    s.ExtProgPath[i] = QStringLiteral("/opt/p%1").arg(i);
    s.ExtProgParam[i] = QStringLiteral("參數 %1").arg(i);
  }
  s.UserName1 = QStringLiteral("一\r\n二");  // line breaks must not shift later lines
  const QString text = FormatSettings(s);
  EXPECT_EQ(text.count(QStringLiteral("\r\n")), 36);
  EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
  const TAppSettings b = ParseSettings(text);
  EXPECT_EQ(b.UserName1, "一  二");
  EXPECT_EQ(FormatSettings(b), text);
  EXPECT_DOUBLE_EQ(b.Reserved15, s.Reserved15);
}

class SettingsFile : public InstallFolderTest {};

TEST_F(SettingsFile, WritesAtomicallyReadsBackAndBig5AndLeavesAnUnreadableFileAlone) {
  Settings = DefaultSettings();
  Settings.CalStandard = 2222;
  ASSERT_TRUE(LoadSaveSettings(true));
  Settings = TAppSettings{};
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.CalStandard, 2222);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"DeRirAz.ini"});

  // A file from an earlier installation is in Big5.
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("台北診所");
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), encodeBig5(FormatSettings(s)).value()));
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.UserName1, "台北診所");

  ASSERT_TRUE(QFile::remove(path("DeRirAz.ini")));
  ASSERT_TRUE(QDir().mkdir(path("DeRirAz.ini")));  // a folder where the file should be
  QString error;
  EXPECT_FALSE(LoadSaveSettings(false, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Settings.UserName1, "台北診所") << "the settings in use are kept";
  EXPECT_TRUE(asked_.isEmpty()) << "the reader's caller reports";
}

TEST_F(SettingsFile, AFailedOrRefusedSaveKeepsTheFileAndSaysSoOnce) {
  const QString file = path("DeRirAz.ini");
  // A first start on a full disk leaves no file at all, rather than an empty one.
  Settings = DefaultSettings();
  QString error;
  {
    FileSizeLimit full(0);
    EXPECT_FALSE(LoadSaveSettings(true, &error));
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_EQ(asked_[0], "5:" + kSettingsNotSavedText + '\n' + file + '\n' + error);
  EXPECT_FALSE(error.isEmpty());

  // A save that fails halfway keeps the previous file byte for byte.
  asked_.clear();
  ASSERT_TRUE(LoadSaveSettings(true));
  const QByteArray before = content("DeRirAz.ini");
  Settings.UserName1 = QStringLiteral("新的名稱");
  {
    FileSizeLimit full(64);
    EXPECT_FALSE(LoadSaveSettings(true, &error));
  }
  EXPECT_EQ(content("DeRirAz.ini"), before);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"DeRirAz.ini"});
  EXPECT_EQ(asked_.size(), 1);
  EXPECT_EQ(Settings.UserName1, "新的名稱") << "the settings in use keep what was assigned";

  // After a failed read every save is refused, so defaults never replace unread settings;
  // a good read ends the refusal.
  asked_.clear();
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkdir(file));
  ASSERT_TRUE(ruto::test::writeFile(file + "/kept", "x"));
  EXPECT_FALSE(LoadSaveSettings(false));
  for (int save = 0; save < 2; ++save) EXPECT_FALSE(LoadSaveSettings(true, &error));
  EXPECT_EQ(asked_, QStringList(2, "5:" + kSettingsKeptText + '\n' + file));
  EXPECT_EQ(ruto::test::readFile(file + "/kept"), "x");
  ASSERT_TRUE(QDir(file).removeRecursively());
  ASSERT_TRUE(ruto::test::writeFile(file, before));
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_TRUE(LoadSaveSettings(true));
}
