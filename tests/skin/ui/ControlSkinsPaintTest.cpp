// Details of the control painters on real widgets in a skinned dialog: captions with tabs,
// focus marks, disabled group boxes, and images drawn whole or see-through.
#include <gtest/gtest.h>

#include "SkinUiSupport.h"

namespace ruto {
namespace {

using namespace test;

constexpr int kButtons = 3, kCheck = 4, kProgress = 5, kCombo = 6, kComboTop = 7, kScroll = 8,
              kVScroll = 9;
const QColor kFace(212, 208, 200);
QColor coded(int id, int frame) { return QColor(frameColour(id, frame)); }

// Frame 1 of the progress image has a magenta block in its middle; each combo frame has
// its top four rows (its top edge) in a colour of their own.
QByteArray paintSkin() {
  const QByteArray sections(
      "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=4\nBottomHeight=4\n"
      "Trans=1\nCheckButton=check.bmp\nCheckButtonFrame=8\n[Progress]\nBitmap=progress.bmp\n"
      "Trans=0\n[ComboButton]\nImage=combo.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=4\n"
      "BottomHeight=4\n[Scrollbar]\nImage=scrollbar.bmp\n[VertScroll]\nImage=vscroll.bmp\n");
  QImage progress = codedStrip(kProgress, 2, 40, 16, false, false);
  for (int y = 5; y <= 10; ++y)
    for (int x = 15; x <= 24; ++x) progress.setPixel(x, y, 0xFFFF00FF);
  QImage combo = codedStrip(kCombo, 4, 17, 21, false, false);
  for (int k = 1; k <= 4; ++k)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 17; ++x) combo.setPixel((k - 1) * 17 + x, y, frameColour(kComboTop, k));
  const QList<SkinPackageEntry> images{
      {"buttons.bmp", bmp(codedStrip(kButtons, 5, 24, 22, false, true))},
      {"check.bmp", bmp(codedStrip(kCheck, 8, 13, 13, false, true))},
      {"progress.bmp", bmp(progress)},
      {"combo.bmp", bmp(combo)},
      {"scrollbar.bmp", bmp(codedStrip(kScroll, 23, 17, 17, false, false))},
      {"vscroll.bmp", bmp(codedStrip(kVScroll, 4, 17, 32, false, false))}};
  return buildTestSkin(sections, images);
}

// The smallest rectangle in `area` holding every pixel other than `background`.
QRect inkBox(const QImage& img, const QRect& area, QColor background) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (QColor(img.pixel(x, y)) != background) box |= QRect(x, y, 1, 1);
  return box;
}

class ControlSkinsPaint : public SkinnedTest {
 protected:
  QByteArray stream() override { return paintSkin(); }
  void SetUp() override {
    SkinnedTest::SetUp();
    skin->SkinControls.set();
  }
  // A skinned dialog holding ws one under the other, each at its fixed size.
  void host(std::initializer_list<QWidget*> ws) {
    dlg = std::make_unique<QDialog>();
    auto* lay = new QVBoxLayout(dlg.get());
    for (QWidget* w : ws) lay->addWidget(w);
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    settle();
  }
  std::unique_ptr<QDialog> dlg;
};

// A tab in a caption moves what follows to the next tab stop, far beyond one space.
TEST_F(ControlSkinsPaint, CaptionsExpandTabs) {
  const QString tabbed = QStringLiteral("甲\t乙"), spaced = QStringLiteral("甲 乙");
  auto sized = [](QWidget* w, int height, Qt::LayoutDirection direction = Qt::LeftToRight) {
    w->setFocusPolicy(Qt::NoFocus);
    w->setLayoutDirection(direction);
    w->setFixedSize(160, height);
    return w;
  };
  // Where each caption's ink lies: inside the button's face, beside the check box, and above
  // the group box's frame line.
  const int aboveLine = QFontMetrics(QApplication::font()).height() / 2 - 1;
  const struct {
    const char* what;
    QWidget* tabs;
    QWidget* spaces;
    QRect ink;
    QColor background;
  } cases[] = {{"button", sized(new QPushButton(tabbed), 24), sized(new QPushButton(spaced), 24),
                QRect(4, 4, 152, 16), coded(kButtons, 1)},
               {"check box", sized(new QCheckBox(tabbed), 21), sized(new QCheckBox(spaced), 21),
                QRect(15, 0, 145, 21), kFace},
               {"check box, text left", sized(new QCheckBox(tabbed), 21, Qt::RightToLeft),
                sized(new QCheckBox(spaced), 21, Qt::RightToLeft), QRect(0, 0, 145, 21), kFace},
               {"group box", sized(new QGroupBox(tabbed), 40), sized(new QGroupBox(spaced), 40),
                QRect(2, 0, 156, aboveLine), kFace}};
  host({cases[0].tabs, cases[0].spaces, cases[1].tabs, cases[1].spaces, cases[2].tabs,
        cases[2].spaces, cases[3].tabs, cases[3].spaces});
  for (const auto& c : cases) {
    const QRect tabs = inkBox(c.tabs->grab().toImage(), c.ink, c.background);
    const QRect spaces = inkBox(c.spaces->grab().toImage(), c.ink, c.background);
    ASSERT_FALSE(spaces.isEmpty()) << c.what;
    EXPECT_GT(tabs.width(), spaces.width() + 16) << c.what;
  }
}

// A focused button without a caption marks its focus on the empty caption's place at the
// face's middle, grown by 2.
TEST_F(ControlSkinsPaint, CaptionlessButtonShowsFocus) {
  auto* b = new QPushButton;
  b->setFixedSize(80, 24);
  host({b});
  // Focus marks show once the keyboard has moved the focus in the window.
  dlg->setAttribute(Qt::WA_KeyboardFocusChange);
  b->setFocus();
  ASSERT_TRUE(b->hasFocus());
  // The empty caption stands at (80 / 2, 24 / 2 - 1); grown by 2 it covers 38..41, 9..12.
  const QRect mark = inkBox(b->grab().toImage(), QRect(2, 2, 76, 20), coded(kButtons, 5));
  EXPECT_FALSE(mark.isEmpty());
  EXPECT_TRUE(QRect(38, 9, 4, 4).contains(mark))
      << mark.x() << "," << mark.y() << " " << mark.width() << "x" << mark.height();
}

TEST_F(ControlSkinsPaint, DisabledGroupBoxKeepsCaptionColour) {
  auto* g = new QGroupBox(QStringLiteral("群組"));
  g->setFixedSize(160, 40);
  host({g});
  const QImage enabled = g->grab().toImage();
  g->setEnabled(false);
  EXPECT_EQ(g->grab().toImage(), enabled);
}

TEST_F(ControlSkinsPaint, EmptyProgressBarShowsFaceThroughMagenta) {
  auto* bar = new QProgressBar;
  bar->setRange(0, 10);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setFixedSize(100, 16);
  host({bar});
  // The 40-pixel frame stretched to 100: its magenta block covers columns 37 to 62.
  const QImage img = bar->grab().toImage();
  EXPECT_EQ(QColor(img.pixel(50, 8)), kFace);
  EXPECT_EQ(QColor(img.pixel(10, 8)), coded(kProgress, 1));
}

// The button column takes the whole frame stretched to its height, its top edge too.
TEST_F(ControlSkinsPaint, ComboButtonFrameStretchedWhole) {
  auto* combo = new QComboBox;
  combo->addItem(QStringLiteral("一"));
  combo->setFocusPolicy(Qt::NoFocus);
  combo->setFixedSize(120, 42);
  host({combo});
  // The column runs from 120 - 17 - 2 over the full height: the frame's 4 top rows of 21
  // become 8.
  const QImage img = combo->grab().toImage();
  EXPECT_EQ(QColor(img.pixel(109, 6)), coded(kComboTop, 1));
  EXPECT_EQ(QColor(img.pixel(109, 9)), coded(kCombo, 1));
  EXPECT_EQ(QColor(img.pixel(109, 36)), coded(kCombo, 1));
}

// A scroll-bar control with nothing to scroll stays enabled with its thumb at the start; a
// window's scroll bar with nothing to scroll looks disabled.
TEST_F(ControlSkinsPaint, EmptyRangeScrollBars) {
  auto* control = new QScrollBar(Qt::Vertical);
  control->setRange(0, 0);
  control->setFixedSize(17, 200);
  auto* text = new QPlainTextEdit;
  text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text->setFixedSize(120, 200);
  host({control, text});
  QScrollBar* window = text->verticalScrollBar();
  ASSERT_EQ(window->maximum(), window->minimum());
  // The thumb is 8 long after the 17-pixel arrow; the grip stands centred on it.
  const std::tuple<const char*, QScrollBar*, QColor, QColor> cases[] = {
      {"control", control, coded(kScroll, 20), coded(kVScroll, 1)},
      {"window", window, coded(kVScroll, 3), coded(kVScroll, 3)}};
  for (const auto& [what, bar, atStart, inMiddle] : cases) {
    const QImage img = bar->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(8, 21)), atStart) << what;
    EXPECT_EQ(QColor(img.pixel(8, bar->height() / 2)), inMiddle) << what;
  }
}

}  // namespace
}  // namespace ruto
