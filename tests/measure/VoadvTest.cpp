// The meridian reference browser: which column lands in which label and memo, refilling, and a
// rendered look at the built reference database.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "FakeReference.h"
#include "app/TextCodec.h"
#include "measure/Voadv.h"
#include "support/TestSupport.h"

namespace {

QByteArray solidPng(QColor color) {
  QImage image(40, 60, QImage::Format_RGB32);
  image.fill(color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

int countPixels(const QImage& image, auto predicate) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += predicate(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

class VoadvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    db_ = ruto::test::makeReferenceDb("voadvtest", dir_.filePath("ref.mdb"));
    // Keys 1..4 only; every text names its column and key.
    for (int key = 1; key <= 4; ++key)
      ASSERT_TRUE(ruto::test::insertReferenceRow(
          db_, key,
          [key](const char* c) { return *ScrambleText(QString("%1-%2").arg(c).arg(key)); },
          solidPng(key == 2 ? Qt::red : Qt::blue)));
  }
  void TearDown() override {
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("voadvtest");
  }

  QTemporaryDir dir_;
  QSqlDatabase db_;
};

void expectRow(const TVoadv& w, int key) {
  const auto t = [key](const char* column) { return QString("%1-%2").arg(column).arg(key); };
  const char* labels[9] = {nullptr,  "DtEA1",  "DtEA2",  "DtEA3", "DtEA5",
                           "DtPot1", "DtPot2", "DtPot3", "DtEA4"};
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(w.StaticText[n]->text(), t(labels[n])) << "StaticText" << n;
  const QString memos[10] = {QString(),
                             t("DtMA1"),
                             t("DtMH1"),
                             t("DtML1"),
                             t("DtMA3") + "\n\n" + t("DtMH4"),
                             t("DtML4"),
                             t("DtMH3") + "\n\n" + t("DtMH2"),
                             t("DtML3") + "\n\n" + t("DtML2"),
                             t("DtMH5"),
                             t("DtML5")};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(w.Memo[n]->toPlainText(), memos[n]) << "Memo" << n << " key " << key;
    EXPECT_TRUE(w.Memo[n]->isReadOnly());
  }
}

TEST_F(VoadvTest, ShowsTheChosenMeridianInItsLabelsAndMemos) {
  TVoadv w(db_);
  w.show();
  EXPECT_EQ(w.windowTitle(), "經絡圖示解說");
  ASSERT_EQ(w.ListBox1->count(), 12);
  EXPECT_EQ(w.ListBox1->item(0)->text(), " 1. 手太陰 肺　經");
  EXPECT_EQ(w.ListBox1->item(9)->text(), "10.足太陽 膀胱經");
  EXPECT_EQ(w.ListBox1->currentRow(), 0);
  EXPECT_EQ(w.PageControl1->currentIndex(), 0);
  EXPECT_EQ(w.StatusBar1->currentMessage(), "請至 [經絡名稱] 欄中,點選需要查詢的經絡資料");
  expectRow(w, 1);

  // The figure of the chosen meridian fills the picture.
  w.ListBox1->setCurrentRow(1);
  w.ListBox1Click();
  expectRow(w, 2);
  const QImage figure = w.DBImage1->grab().toImage();
  ASSERT_FALSE(figure.isNull());
  EXPECT_EQ(figure.pixelColor(figure.width() / 2, figure.height() / 2), QColor(Qt::red));

  // Choosing it again shows the same texts once.
  w.ListBox1Click();
  expectRow(w, 2);

  // Moving the selection, as the arrow keys do, shows the new entry.
  w.ListBox1->setCurrentRow(3);
  expectRow(w, 4);

  // A meridian without a row shows nothing of the previous one, and the panes stay visible.
  w.ListBox1->setCurrentRow(6);
  w.ListBox1Click();
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(w.StaticText[n]->text(), "");
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(w.Memo[n]->toPlainText().trimmed(), "") << n;
  EXPECT_TRUE(w.DBImage1->pixmap().isNull());
  w.PageControl1->setCurrentIndex(1);
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(w.Memo[n]->isVisible()) << n;

  w.ToolButton2->click();
  EXPECT_FALSE(w.isVisible());
}

TEST(VoadvBuilt, RendersTheBuiltReferenceDatabase) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "voadvbuilt");
    db.setDatabaseName(ruto::test::generatedPath("rutoTW.mdb"));
    db.setConnectOptions("QSQLITE_OPEN_READONLY");
    ASSERT_TRUE(db.open());
    TVoadv w(db);
    w.show();
    w.ListBox1->setCurrentRow(7);  // liver, a wood meridian drawn in green
    w.ListBox1Click();
    EXPECT_EQ(w.StaticText[8]->text(), "木");
    EXPECT_FALSE(w.Memo[2]->toPlainText().isEmpty());

    const QImage figure = w.DBImage1->grab().toImage();
    const int green = countPixels(
        figure, [](QColor c) { return c.green() > 110 && c.red() < 80 && c.blue() < 110; });
    const int skin = countPixels(figure, [](QColor c) {
      return c.red() > 240 && c.green() > 220 && c.green() < 245 && c.blue() < 225;
    });
    EXPECT_GT(green, 200) << "meridian course";
    EXPECT_GT(skin, figure.width() * figure.height() / 10) << "body outline";
    ruto::test::savePng(w.grab().toImage(), "meridian_reference_figure");

    w.PageControl1->setCurrentIndex(1);
    const QImage texts = w.grab().toImage();
    ruto::test::savePng(texts, "meridian_reference_texts");
    const QImage memo = w.Memo[1]->grab().toImage();
    const int ink = countPixels(memo, [](QColor c) { return c.lightness() < 100; });
    EXPECT_GT(ink, 100) << "text drawn in the memo";
  }
  QSqlDatabase::removeDatabase("voadvbuilt");
}

}  // namespace
