// Draws the display controls in their states into one folder of PNG files: gradient bars,
// a sheet of every lamp shape, bar gauges and measurement grids.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "widgets/BarMeter.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"
#include "widgets/SortingGrid.h"

using namespace ruto;

namespace {

QDir outDir;
int failures = 0;

void save(const QImage& img, const QString& name) {
  const QString path = outDir.filePath(name + QStringLiteral(".png"));
  if (img.save(path, "PNG")) {
    std::printf("%s\n", qPrintable(path));
  } else {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ++failures;
  }
}

void gradientBars() {
  TGradientBar bar;
  for (int p : {0, 37, 100}) {
    bar.setPosition(p);
    save(bar.renderImage(), QString("gradient-horizontal-%1").arg(p));
  }
  bar.setBevelStyle(bsRaised);
  bar.resize(200, 24);
  bar.setBevelWidth(3);
  bar.setPosition(64);
  save(bar.renderImage(), "gradient-raised");
  TGradientBar v;
  v.setStyle(gsVertical);
  v.resize(16, 140);
  v.setPosition(80);
  save(v.renderImage(), "gradient-vertical-narrow");
  v.resize(48, 140);
  save(v.renderImage(), "gradient-vertical-wide");
}

void lampSheet() {
  // All shapes, framed and unframed, lit and unlit, four times enlarged.
  QImage sheet(6 * 28 * 4, 4 * 28 * 4, QImage::Format_RGB32);
  sheet.fill(toQRgb(clBtnFace));
  QPainter p(&sheet);
  const TLEDStyle styles[] = {LEDSmall,   LEDLarge,    LEDSqSmall,
                              LEDSqLarge, LEDVertical, LEDHorizontal};
  for (int i = 0; i < 6; ++i) {
    for (int row = 0; row < 4; ++row) {
      TLedLamp lamp;
      lamp.setBlink(false);
      lamp.setLEDStyle(styles[i]);
      lamp.setBordered(row < 2);
      lamp.setTrueColor(clRed);
      lamp.setBorderColor(clWhite);
      lamp.setValue(row % 2 == 0);
      const QImage img = lamp.renderImage();
      p.drawImage(QRect(i * 112 + 8, row * 112 + 8, img.width() * 4, img.height() * 4), img);
    }
  }
  p.end();
  save(sheet, "lamps");
}

void barMeters() {
  TBarMeter m;
  m.setCaption("標準檔");
  m.setSignalUnit("uA");
  m.setValueMax(200);
  m.setIncrement(25);
  m.setValue(120);
  save(m.renderImage(), "barmeter");
  m.setDigits(1);
  m.setValue(200);
  m.setShowIncrements(false);
  save(m.renderImage(), "barmeter-full");
}

void grids() {
  TSortingGrid g;
  g.setColCount(13);
  g.setRowCount(3);
  g.setDefaultColWidth(48);
  g.setAlignmentHorz(taCenter);
  g.setAlignmentVert(taMiddle);
  g.setBevelStyle(cbRaised);
  g.resize(13 * 49 + 2, 3 * 25 + 2);
  g.show();
  const QStringList heads = QString(",肺,心包,心,小腸,三焦,大腸,脾,肝,腎,膀胱,膽,胃").split(',');
  for (int c = 0; c < 13; ++c) g.setCell(c, 0, heads[c]);
  g.setCell(0, 1, "左  側");
  g.setCell(0, 2, "右  側");
  for (int c = 1; c < 13; ++c) {
    g.setCell(c, 1, QString::number(40 + c * 3.5, 'f', 1));
    g.setCell(c, 2, QString::number(70 - c * 2.25, 'f', 1));
  }
  save(g.renderImage(), "grid-measurement");
  g.setEnabled(false);
  save(g.renderImage(), "grid-measurement-disabled");
  g.setBevelStyle(cbLowered);
  g.setAlignmentHorz(taRightJustify);
  g.setCurrent(4, 2);
  save(g.renderImage(), "grid-lowered-right");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "cannot make %s\n", qPrintable(dir));
    return 1;
  }
  outDir = QDir(dir);
  gradientBars();
  lampSheet();
  barMeters();
  grids();
  return failures == 0 ? 0 : 1;
}
