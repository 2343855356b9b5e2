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
  EXPECT_EQ(std::tuple(read({{1, "1500"}}).CalStandard, read({{1, "abc"}}).CalStandard,
                       read({{1, "2000"}}).CalStandard, read({{2, "3999"}}).CalHigh,
                       read({{2, "99999999999"}}).CalHigh),
            std::tuple(4000, 4000, 2000, 3999, 4000));
  // Booleans are true only for exactly "1".
  EXPECT_EQ(std::tuple(read({{6, " 1"}}).HighPotential, read({{6, "1"}}).HighPotential,
                       read({{6, "True"}}).HighPotential),
            std::tuple(false, true, false));

  const TAppSettings s = read({{4, "x"}, {14, "y"}, {15, "1,5"}, {17, ""}});
  EXPECT_EQ(std::tuple(s.MinResponse, s.Reserved14, s.Reserved15, s.PointPictureKind,
                       s.PrintOptions, s.UserName1),
            std::tuple(1.0, 2, 0.0, 1, "0111000000000000000", "RUTO經絡能量分析儀"));
  // Blank line 12 reads False although its default is True; blank line 18 gives no launcher
  // button, no file the first three; a short file reads its missing lines as blank ones.
  EXPECT_EQ(std::tuple(s.Reserved12, s.ExtProgEnabled, DefaultSettings().ExtProgEnabled,
                       s.CalDate.isEmpty(), ParseSettings("2500\r\n3000\r\n").ExtProgEnabled),
            std::tuple(false, "000000", "111000", false, "000000"));
  // Texts keep their blanks; 20-character print options stay as they are.
  const TAppSettings kept = read({{3, "01110000000000000001"}, {7, "  名稱 "}, {19, " 說明"}});
  EXPECT_EQ(QStringList({kept.PrintOptions, kept.UserName1, kept.ExtProgHint[1]}),
            QStringList({"01110000000000000001", "  名稱 ", " 說明"}));
}

TEST(SettingsWrite, ThirtySixCrLfLinesThatRoundTrip) {
  TAppSettings s = DefaultSettings();
  s.MinResponse = 0.8, s.Reserved15 = 1.0;
  const QStringList l = FormatSettings(s).split(QStringLiteral("\r\n"));
  ASSERT_EQ(l.size(), 37);  // 36 lines and the empty rest after the last CR LF
  EXPECT_EQ(QStringList({l[0], l[3], l[5], l[11], l[14], l[17], l[30], l[36]}),
            QStringList({"4000", "0.8", "0", "1", "1", "111000", kMakerWebAddress, ""}));

  s.CalStandard = 3123, s.PrintOptions = "10101010101010101010", s.MinResponse = 1.25;
  s.CalDate = "2026/12/06", s.HighPotential = s.Reserved13 = s.Reserved16 = true;
  s.Reserved14 = -7, s.Reserved15 = 0.1 + 0.2, s.PointPictureKind = 3, s.ExtProgEnabled = "101";
  for (int i = 1; i <= 6; ++i) {
    s.ExtProgHint[i] = QStringLiteral("提示%1").arg(i);
    s.ExtProgPath[i] = QStringLiteral("/opt/p%1").arg(i);
    s.ExtProgParam[i] = QStringLiteral("參數 %1").arg(i);
  }
  s.UserName1 = QStringLiteral("一\r\n二");  // line breaks must not shift later lines
  const QString text = FormatSettings(s);
  EXPECT_EQ(std::pair(text.count("\r\n"), text.contains(QRegularExpression("[^\r]\n"))),
            std::pair(qsizetype(36), false));
  const TAppSettings b = ParseSettings(text);
  EXPECT_EQ(std::tuple(b.UserName1, FormatSettings(b), b.Reserved15),
            std::tuple("一  二", text, s.Reserved15));
}

class SettingsFile : public InstallFolderTest {};

TEST_F(SettingsFile, WritesAtomicallyReadsBackAndBig5AndLeavesAnUnreadableFileAlone) {
  Settings = DefaultSettings();
  Settings.CalStandard = 2222;
  ASSERT_TRUE(LoadSaveSettings(true));
  Settings = TAppSettings{};
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(
      std::pair(Settings.CalStandard, QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden)),
      std::pair(2222, QStringList{"DeRirAz.ini"}));

  // A file from an earlier installation is in Big5.
  TAppSettings s = DefaultSettings();
  s.UserName1 = QStringLiteral("台北診所");
  ASSERT_TRUE(ruto::test::writeFile(path("DeRirAz.ini"), encodeBig5(FormatSettings(s)).value()));
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_EQ(Settings.UserName1, "台北診所");

  // A folder where the file should be.
  ASSERT_TRUE(QFile::remove(path("DeRirAz.ini")) && QDir().mkdir(path("DeRirAz.ini")));
  QString error;
  EXPECT_FALSE(LoadSaveSettings(false, &error));
  // Settings in use are kept; the reader's caller reports.
  EXPECT_EQ(std::tuple(error.isEmpty(), Settings.UserName1, asked_.size()),
            std::tuple(false, "台北診所", 0));
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
  EXPECT_EQ(
      std::tuple(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), error.isEmpty(), asked_),
      std::tuple(QStringList(), false,
                 QStringList{"5:" + kSettingsNotSavedText + '\n' + file + '\n' + error}));

  // A save that fails halfway keeps the previous file byte for byte.
  asked_.clear();
  ASSERT_TRUE(LoadSaveSettings(true));
  const QByteArray before = content("DeRirAz.ini");
  Settings.UserName1 = QStringLiteral("新的名稱");
  {
    FileSizeLimit full(64);
    EXPECT_FALSE(LoadSaveSettings(true, &error));
  }
  // The settings in use keep what was assigned.
  EXPECT_EQ(
      std::tuple(content("DeRirAz.ini"), QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
                 asked_.size(), Settings.UserName1),
      std::tuple(before, QStringList{"DeRirAz.ini"}, 1, "新的名稱"));

  // After a failed read every save is refused, so defaults never replace unread settings;
  // a good read ends the refusal.
  asked_.clear();
  ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file));
  ASSERT_TRUE(ruto::test::writeFile(file + "/kept", "x"));
  EXPECT_FALSE(LoadSaveSettings(false));
  for (int save = 0; save < 2; ++save) EXPECT_FALSE(LoadSaveSettings(true, &error));
  EXPECT_EQ(std::pair(asked_, ruto::test::readFile(file + "/kept")),
            std::pair(QStringList(2, "5:" + kSettingsKeptText + '\n' + file), QByteArray("x")));
  ASSERT_TRUE(QDir(file).removeRecursively() && ruto::test::writeFile(file, before));
  ASSERT_TRUE(LoadSaveSettings(false));
  EXPECT_TRUE(LoadSaveSettings(true));
}
