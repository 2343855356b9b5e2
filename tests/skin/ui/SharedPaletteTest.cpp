// The base style caches its pixmaps by the palette it is handed: two windows opened one after
// the other must hand it the same palettes, or the cache's bookkeeping grows with each window.
#include <gtest/gtest.h>

#include <QCommonStyle>
#include <QDialog>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOption>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ControlTestSkin.h"
#include "SkinUiSupport.h"
#include "skin/ui/SkinStyle.h"

namespace ruto {
namespace {

// A base style that notes the palette of every option it is asked to draw with.
class PaletteRecorder : public QCommonStyle {
 public:
  void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const override {
    seen.insert(opt->palette.cacheKey());
    QCommonStyle::drawPrimitive(pe, opt, p, w);
  }
  void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                   const QWidget* w) const override {
    seen.insert(opt->palette.cacheKey());
    QCommonStyle::drawControl(ce, opt, p, w);
  }
  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                          const QWidget* w) const override {
    seen.insert(opt->palette.cacheKey());
    QCommonStyle::drawComplexControl(cc, opt, p, w);
  }
  mutable QSet<qint64> seen;
};

class SkinPalettes : public test::SkinnedTest {
 protected:
  QByteArray stream() override { return test::buildControlTestSkin(); }
};

// A skinned window with a spin box, a tool button, a grid header and a slider, painted once.
QSet<qint64> paintWindow(PaletteRecorder& base) {
  base.seen.clear();
  QDialog d;
  auto* lay = new QVBoxLayout(&d);
  lay->addWidget(new QSpinBox);
  lay->addWidget(new QToolButton);
  auto* grid = new QTreeWidget;
  grid->setHeaderLabels({QStringLiteral("姓名"), QStringLiteral("日期")});
  lay->addWidget(grid);
  lay->addWidget(new QSlider(Qt::Horizontal));
  d.show();
  test::settle();
  d.grab();
  return base.seen;
}

TEST_F(SkinPalettes, SuccessiveWindowsHandTheBaseStyleTheSamePalettes) {
  skin->SkinControls.set();
  auto* style = qobject_cast<SkinStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr);
  auto* base = new PaletteRecorder;
  style->setBaseStyle(base);
  const QSet<qint64> first = paintWindow(*base);
  const QSet<qint64> second = paintWindow(*base);
  EXPECT_FALSE(first.isEmpty());
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace ruto
