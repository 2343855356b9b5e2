#pragma once
// Helpers shared by the tests of every folder.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <csignal>
#include <string>

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
// The text pdftotext reads from `pdf` (with `options`), as it comes: no normalisation.
QString pdfText(const QString& pdf, const QStringList& options = {});
// The characters of the CJK radical blocks (U+2E80-U+2FDF) in `text`: a PDF that reads back
// with them has mapped ideographs to the radicals sharing their glyphs.
QString radicalsIn(const QString& text);
// Writes `data` to `path`, creating folders; false on failure.
bool writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);
// While it lives, every file this process writes is cut off at `bytes` (writes beyond fail
// with EFBIG, as on a full disk); SIGXFSZ is ignored so that the write only fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

// While it lives, files are created under `mask`.
class UmaskScope {
 public:
  explicit UmaskScope(mode_t mask) : saved_(::umask(mask)) {}
  ~UmaskScope() { ::umask(saved_); }
  UmaskScope(const UmaskScope&) = delete;
  UmaskScope& operator=(const UmaskScope&) = delete;

 private:
  mode_t saved_;
};
// The permission bits of a file (0 when it is missing).
inline mode_t fileMode(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The $BBGGRR colour of one pixel, for comparing rendered images with the program's colours.
inline TColor at(const QImage& img, int x, int y) { return fromQColor(QColor(img.pixel(x, y))); }
// The bounds of the pixels of `img` inside `area` (all of it when null) darker than mid-grey,
// or lighter with `light`: where text was drawn. Null when there are none.
inline QRect inkBounds(const QImage& img, bool light = false, QRect area = {}) {
  if (area.isNull()) area = img.rect();
  QRect out;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((qGray(img.pixel(x, y)) > 128) == light) out |= QRect(x, y, 1, 1);
  return out;
}
// The pixels of `image` in `area` (the whole image when null) whose colour `match`es.
template <class Match>
int countPixels(const QImage& image, Match match, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += match(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

// The pixels of exactly the program's colour `c`.
inline int countColor(const QImage& image, TColor c, QRect area = {}) {
  return countPixels(
      image, [c](const QColor& q) { return fromQColor(q) == c; }, area);
}

// Expects every {x, y, colour} of `pixels` in `img`.
using Pixels = std::initializer_list<std::tuple<int, int, TColor>>;
inline void expectPixels(const QImage& img, Pixels pixels) {
  for (const auto& [x, y, want] : pixels) EXPECT_EQ(at(img, x, y), want) << "at " << x << "," << y;
}

// Values as texts joined by '|' (numbers to twelve digits), for comparing many
// fields at once.
inline QString fieldText(double v) { return QString::number(v, 'g', 12); }
inline QString fieldText(const QVariant& v) { return v.toString(); }
template <typename... T>
std::string fields(const T&... v) {
  return QStringList{fieldText(v)...}.join('|').toStdString();
}

}  // namespace ruto::test
