#pragma once
// The 36-line settings file "DeRirAz.ini": no sections, no keys, one value per line in a
// fixed order. Read once at start-up, rewritten whole on every save.

#include <QString>
#include <array>

namespace ruto {

struct TAppSettings {
  int CalStandard = 4000;
  int CalHigh = 4000;
  QString PrintOptions;  // PrintOptionFlags
  double MinResponse = 1.0;
  QString CalDate;
  bool HighPotential = false;
  QString UserName1;
  QString UserName2;
  QString UserData1;
  QString UserData2;
  QString Reserved11;
  bool Reserved12 = true;
  bool Reserved13 = false;
  int Reserved14 = 2;
  double Reserved15 = 0.0;
  bool Reserved16 = false;
  int PointPictureKind = 1;  // 1 photo, 2 image, 3 composite
  QString ExtProgEnabled;
  std::array<QString, 7> ExtProgHint;  // slots 1..6; entry 0 unused
  std::array<QString, 7> ExtProgPath;
  std::array<QString, 7> ExtProgParam;
};

inline TAppSettings Settings;

inline const QString kSettingsFileName = QStringLiteral("DeRirAz.ini");
// The maker's web address opened by the main window's label and launcher slot 1.
inline const QString kMakerWebAddress = QStringLiteral("http://www.zelvan.com.tw/");

// Every field at its default (CalDate today).
TAppSettings DefaultSettings();

// Parses the file's text (already decoded) by the read rules; missing lines read as empty.
TAppSettings ParseSettings(const QString& text);
// The file's text: 36 lines, each ended by CR LF. Line breaks inside a string become blanks
// so that the line order survives.
QString FormatSettings(const TAppSettings& s);

// Reads (write = false) the file in InstallDir() into Settings, or writes Settings to it
// (write = true). On failure Settings keeps what it held, the file is left byte for byte as
// it was, and false is returned with `error` set.
//
// Saving: a window that changes a setting assigns the field and calls
// LoadSaveSettings(true). A save is written to a temporary file and put in place only when
// every byte reached the disk. After a read that failed in this run, every save is refused,
// so that defaults never replace settings the program could not read. A failed or refused
// save shows one message (kind 5) naming the file, and the reason for a failed write; the
// caller shows nothing more. A read reports nothing: its caller does.
bool LoadSaveSettings(bool write, QString* error = nullptr);

// A bigger file is refused unread, as a file that cannot be read.
inline constexpr qint64 kSettingsMaxBytes = 1 << 20;
inline const QString kSettingsTooBigText = QStringLiteral("檔案超過 1 MB，不是本系統的設定檔");

inline const QString kSettingsNotSavedText =
    QStringLiteral("設定檔無法儲存，原來的設定檔保持不變：");
inline const QString kSettingsKeptText =
    QStringLiteral("設定檔在啟動時無法讀取，為免以預設值取代原來的設定，本次不儲存設定：");

}  // namespace ruto
