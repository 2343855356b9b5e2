#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include "base/Canvas.h"
#include "base/Fonts.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

// Characters whose Japanese shapes differ from the Traditional Chinese ones.
const QString kHan = QStringLiteral("說骨直");

QImage render(QFont font, const QString& name) {
  font.setPixelSize(48);
  QImage image(170, 64, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(font);
  p.drawText(QRect(0, 0, image.width(), image.height()), Qt::AlignCenter, kHan);
  p.end();
  ruto::test::savePng(image, "font-" + name);
  return image;
}

}  // namespace

TEST(ProgramFont, HanTextTakesTheTraditionalChineseShapesOnScreenAndOnPaper) {
  if (!QFontDatabase::hasFamily("Noto Sans CJK TC") ||
      !QFontDatabase::hasFamily("Noto Sans CJK JP"))
    GTEST_SKIP() << "the set-up's CJK fonts are not installed";
  EXPECT_EQ(ProgramFontFamilies().value(0), "Noto Sans CJK TC");
  const QImage tc = render(QFont("Noto Sans CJK TC"), "tc");
  const QImage jp = render(QFont("Noto Sans CJK JP"), "jp");
  ASSERT_NE(tc, jp) << "the faces must differ for the test to mean anything";

  // The windows' font, the same with a Latin face first, and a report font named after a
  // face of the other platform.
  // 36 points are 48 pixels at 96 dpi.
  const std::pair<QFont, const char*> fonts[] = {
      {WithProgramFamilies(QFont()), "program"},
      {WithProgramFamilies(QFont(), "DejaVu Sans"), "latin-first"},
      {toQFont(TFont{.Name = "細明體", .Size = 36}, 96), "report"}};
  for (const auto& [font, name] : fonts) {
    const QImage image = render(font, name);
    EXPECT_EQ(image, tc) << name;
    EXPECT_NE(image, jp) << name;
  }
}
