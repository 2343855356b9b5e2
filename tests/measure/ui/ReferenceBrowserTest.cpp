// The reference table and its browser: decoded texts by key, missing rows and undecodable texts,
// which column lands in which label and memo, and the database the build makes from the
// authored sources, read back and rendered.

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QtWidgets>

#include "AnalysisDatabases.h"
#include "UiChecks.h"
#include "app/TextCodec.h"
#include "measure/ui/ReferenceBrowser.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

// One SQLite connection per test: the database the build makes, or a VOMTDB of the test's own.
class ReferenceBrowserTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetAskUserResponder(nullptr);
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("refdb");
  }
  bool openBuilt() {
    return open(ruto::test::generatedPath("rutoTW.mdb"), "QSQLITE_OPEN_READONLY");
  }
  bool openFake() {  // empty, in memory
    if (!open(":memory:")) return false;
    ruto::test::makeReferenceTable("refdb");
    return true;
  }
  bool open(const QString& path, const QString& options = {}) {
    db_ = QSqlDatabase::addDatabase("QSQLITE", "refdb");
    db_.setDatabaseName(path);
    db_.setConnectOptions(options);
    return db_.open();
  }
  // Inserts row `key` with the stored (scrambled) value of each text column given by `stored`.
  bool insertRow(int key, auto stored, const QByteArray& figure = {}) {
    QSqlQuery q(db_);  // MKEY, the 21 text columns in table order, DtGpM
    q.prepare("INSERT INTO VOMTDB VALUES (?" + QString(",?").repeated(22) + ")");
    q.addBindValue(key);
    for (const TReferenceColumn& c : ReferenceTextColumns()) q.addBindValue(stored(c.name));
    q.addBindValue(figure);
    return q.exec();
  }
  QSqlDatabase db_;
};

TEST_F(ReferenceBrowserTest, UndecodableTextsAndMissingRowsAreEmpty) {
  ASSERT_TRUE(openFake());
  // Decoding of every column by key is seen through the browser below.
  ASSERT_TRUE(insertRow(4, [](const char* c) -> QString {
    if (c == QString("DtMA1")) return "5AZZ10";                             // not hexadecimal
    if (c == QString("DtMA2")) return *ScrambleBytes(QByteArray("\xA4 "));  // not Big5
    if (c == QString("DtMA3")) return *ScrambleText("肝");
    return {};
  }));
  TReferenceTable table(db_);
  EXPECT_FALSE(table.Row(4).Found);  // not open yet
  ASSERT_TRUE(table.Open());
  const TReferenceRow bad = table.Row(4), missing = table.Row(5);
  EXPECT_TRUE(bad.Found);
  EXPECT_FALSE(missing.Found);
  EXPECT_EQ(bad.DtMA1, "") << "not hexadecimal";
  EXPECT_EQ(bad.DtMA2, "") << "not Big5";
  EXPECT_EQ(bad.DtEA1, "") << "empty";
  EXPECT_EQ(bad.DtMA3, "肝");
  for (const TReferenceColumn& c : ReferenceTextColumns()) EXPECT_EQ(missing.*(c.member), "");

  QSqlQuery(db_).exec("DROP TABLE VOMTDB");
  EXPECT_FALSE(TReferenceTable(db_).Open());
  EXPECT_FALSE(TReferenceTable(QSqlDatabase()).Open());
}

// A damaged text is told once an opening of the browser, with its place and reason; the rest
// of its row shows. So is a row that cannot be read, whose texts stay empty.
TEST_F(ReferenceBrowserTest, DamagedTextIsToldOnceAnOpeningAndShowsEmpty) {
  ASSERT_TRUE(openFake());
  const auto damaged = [](const char* column) {
    return [column](const char* c) -> QString {
      if (c == QString(column)) return "5AZZ10";
      if (c == QString("DtMA3")) return *ScrambleText("肝");
      return {};
    };
  };
  ASSERT_TRUE(insertRow(1, damaged("")));
  ASSERT_TRUE(insertRow(4, damaged("DtEA1")));
  ASSERT_TRUE(insertRow(5, damaged("DtMH1")));
  QStringList messages;
  SetAskUserResponder([&messages](MsgKind kind, const QString& text) {
    messages << QString("%1:%2").arg(int(kind)).arg(text);
    return true;
  });
  const QString told =
      "5:" + kReferenceUnreadableText + "\nVOMTDB MKEY %1 %2: 'ZZ' is not a valid integer value";
  {
    ReferenceBrowser w(db_);
    w.show();
    EXPECT_TRUE(messages.isEmpty());
    w.meridianList->setCurrentRow(3);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], told.arg(4).arg("DtEA1"));
    EXPECT_EQ(w.interiorExteriorLabel->text(), "");
    EXPECT_EQ(w.highDietPane->toPlainText(), "肝\n\n");
    w.showChosenMeridian();
    w.meridianList->setCurrentRow(4);
    EXPECT_EQ(messages.size(), 1) << "once an opening";
  }
  ReferenceBrowser again(db_);
  again.show();
  again.meridianList->setCurrentRow(4);
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[1], told.arg(5).arg("DtMH1"));

  // A column gone since the opening: the row's query fails, told with the database's reason,
  // and the texts stay empty.
  ReferenceBrowser opened(db_);
  opened.show();
  ASSERT_TRUE(QSqlQuery(db_).exec("ALTER TABLE VOMTDB DROP COLUMN DtMH4"));
  opened.meridianList->setCurrentRow(3);
  ASSERT_EQ(messages.size(), 3);
  EXPECT_EQ(messages[2].section('\n', 0, 0), "5:" + kReferenceUnreadableText);
  EXPECT_TRUE(messages[2].section('\n', 1).startsWith("VOMTDB MKEY 4: no such column: DtMH4"))
      << messages[2].toStdString();
  EXPECT_EQ(opened.highDietPane->toPlainText(), "\n\n");
}

std::vector<QPlainTextEdit*> panes(const ReferenceBrowser& w) {
  return {w.generalPane,   w.highDiagnosisPane, w.lowDiagnosisPane,
          w.highDietPane,  w.lowDietPane,       w.highRemedyPane,
          w.lowRemedyPane, w.highRyodorakuPane, w.lowRyodorakuPane};
}

// The eight labels, then the nine panes, separated by '|'.
QString shown(const ReferenceBrowser& w) {
  QStringList texts;
  for (const QLabel* l :
       {w.interiorExteriorLabel, w.pairedMeridianLabel, w.stemLabel, w.hourLabel,
        w.measuringPointLabel, w.inhibitingPointLabel, w.excitingPointLabel, w.elementLabel})
    texts << l->text();
  for (const QPlainTextEdit* pane : panes(w)) texts << pane->toPlainText();
  return texts.join('|');
}

const QString kShownRow =
    "DtEA1-%1|DtEA2-%1|DtEA3-%1|DtEA5-%1|DtPot1-%1|DtPot2-%1|DtPot3-%1|DtEA4-%1|"
    "DtMA1-%1|DtMH1-%1|DtML1-%1|DtMA3-%1\n\nDtMH4-%1|DtML4-%1|DtMH3-%1\n\nDtMH2-%1|"
    "DtML3-%1\n\nDtML2-%1|DtMH5-%1|DtML5-%1";

TEST_F(ReferenceBrowserTest, BrowserShowsTheChosenMeridianInItsLabelsAndMemos) {
  ASSERT_TRUE(openFake());
  // Keys 1..4 only; every text names its column and key.
  for (int key = 1; key <= 4; ++key)
    ASSERT_TRUE(insertRow(
        key, [key](const char* c) { return *ScrambleText(QString("%1-%2").arg(c).arg(key)); },
        ruto::test::solidPng(key == 2 ? Qt::red : Qt::blue, {40, 60})));
  ReferenceBrowser w(db_);
  w.show();
  ASSERT_EQ(w.meridianList->count(), 12);
  EXPECT_EQ(w.meridianList->currentRow(), 0);
  EXPECT_EQ(shown(w), kShownRow.arg(1));
  for (const QPlainTextEdit* pane : panes(w))
    EXPECT_TRUE(pane->isReadOnly()) << qPrintable(pane->objectName());

  // The figure of the chosen meridian fills the picture; choosing it again shows it once.
  w.meridianList->setCurrentRow(1);
  w.showChosenMeridian();
  EXPECT_EQ(shown(w), kShownRow.arg(2));
  const QImage figure = w.figureImage->grab().toImage();
  EXPECT_EQ(figure.pixelColor(figure.width() / 2, figure.height() / 2), QColor(Qt::red));
  w.showChosenMeridian();
  EXPECT_EQ(shown(w), kShownRow.arg(2));

  // Moving the selection, as the arrow keys do, shows the new entry.
  w.meridianList->setCurrentRow(3);
  EXPECT_EQ(shown(w), kShownRow.arg(4));

  // A meridian without a row shows nothing of the previous one, and the panes stay visible.
  w.meridianList->setCurrentRow(6);
  w.showChosenMeridian();
  EXPECT_EQ(shown(w).remove('\n'), QString(16, '|'));
  EXPECT_TRUE(w.figureImage->pixmap().isNull());
  w.pageTabs->setCurrentIndex(1);
  for (const QPlainTextEdit* pane : {w.generalPane, w.highDiagnosisPane, w.lowDiagnosisPane})
    EXPECT_TRUE(pane->isVisible()) << qPrintable(pane->objectName());

  w.exitButton->click();
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ReferenceBrowserTest, BuiltDatabaseHoldsTheTextsItsReadersNeedForEveryKey) {
  ASSERT_TRUE(openBuilt());
  TReferenceTable table(db_);
  ASSERT_TRUE(table.Open());
  QSqlQuery q("SELECT COUNT(*) FROM VOMTDB", db_);
  ASSERT_TRUE(q.next());
  EXPECT_EQ(q.value(0).toInt(), kReferenceKeyCount);
  for (int key = 1; key <= kReferenceKeyCount; ++key) {
    const TReferenceRow row = table.Row(key);
    ASSERT_TRUE(row.Found) << key;
    // Meridians need every text and a figure; the analysis shows the general, normal, high and
    // low texts of the body states.
    for (const TReferenceColumn& c : ReferenceTextColumns()) {
      const bool needed =
          key <= 12 || QStringList({"DtMA1", "DtMA2", "DtMH1", "DtML1"}).contains(c.name);
      if (needed) {
        EXPECT_FALSE((row.*(c.member)).isEmpty()) << "key " << key << " " << c.name;
      }
    }
    if (key <= 12) {
      EXPECT_FALSE(QImage::fromData(row.DtGpM).isNull()) << key;
    }
  }
}

using ruto::test::countPixels;

TEST_F(ReferenceBrowserTest, BrowserRendersTheBuiltDatabase) {
  ASSERT_TRUE(openBuilt());
  ReferenceBrowser w(db_);
  w.show();
  w.meridianList->setCurrentRow(7);  // liver, a wood meridian drawn in green
  w.showChosenMeridian();
  EXPECT_EQ(w.elementLabel->text(), "木");
  EXPECT_FALSE(w.highDiagnosisPane->toPlainText().isEmpty());

  const QImage figure = w.figureImage->grab().toImage();
  const int green = countPixels(
      figure, [](QColor c) { return c.green() > 110 && c.red() < 80 && c.blue() < 110; });
  const int skin = countPixels(figure, [](QColor c) {
    return c.red() > 240 && c.green() > 220 && c.green() < 245 && c.blue() < 225;
  });
  EXPECT_GT(green, 200) << "meridian course";
  EXPECT_GT(skin, figure.width() * figure.height() / 10) << "body outline";
  ruto::test::savePng(w.grab().toImage(), "meridian_reference_figure");

  w.pageTabs->setCurrentIndex(1);
  ruto::test::savePng(w.grab().toImage(), "meridian_reference_texts");
  const QImage memo = w.generalPane->grab().toImage();
  EXPECT_GT(countPixels(memo, [](QColor c) { return c.lightness() < 100; }), 100)
      << "text drawn in the memo";
}

}  // namespace
