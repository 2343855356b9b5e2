#include "skin/SkinData.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <utility>

#include "skin/BitmapFile.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"

namespace ruto {

namespace {

std::function<void(const QString&)>& reporter() {
  static std::function<void(const QString&)> r;
  return r;
}
std::function<void(TSkinData*, int, int)>& commandSink() {
  static std::function<void(TSkinData*, int, int)> s;
  return s;
}
std::function<void(TSkinData*, bool)>& singleWindowSink() {
  static std::function<void(TSkinData*, bool)> s;
  return s;
}
void report(const QString& text) {
  if (reporter()) reporter()(text);
}
void sendCommand(TSkinData* data, int command) {
  if (commandSink()) commandSink()(data, command, 250);
}

QString str(const TQuickIni& ini, const QString& section, const QString& key,
            const QString& def = QString()) {
  QString v;
  ini.ReadString(section, key, v, def);
  return v;
}
int num(const TQuickIni& ini, const QString& section, const QString& key, int def) {
  return ini.ReadInteger(section, key, def);
}

QImage loadImage(const TSkinReader& reader, const QString& value) {
  QByteArray bytes;
  if (value.isEmpty() || !LoadBitmapEntry(reader, value, bytes)) return {};
  return DecodeSkinBitmap(bytes);
}

// The band widths of an image object and how its middle is drawn.
void readEdges(const TQuickIni& ini, const QString& section, TDataSkinObject& o) {
  o.LeftWidth = num(ini, section, QStringLiteral("LeftWidth"), 0);
  o.RightWidth = num(ini, section, QStringLiteral("RightWidth"), 0);
  o.TopHeight = num(ini, section, QStringLiteral("TopHeight"), 0);
  o.BottomHeight = num(ini, section, QStringLiteral("BottomHeight"), 0);
  o.Trans = num(ini, section, QStringLiteral("Trans"), 0);
  o.Tile = num(ini, section, QStringLiteral("Tile"), 0);
  if (o.Tile > 1) o.Tile = 0;
}

// The common keys of an image object; frame read only where the caller asks. Second colours
// not given are the skin's button text.
void readCommon(const TQuickIni& ini, const TSkinReader& reader, const QString& section,
                TDataSkinObject& o, bool withFrame, TColor text) {
  o.Name = section;
  o.Bitmap = loadImage(reader, str(ini, section, QStringLiteral("Image")));
  o.Style = num(ini, section, QStringLiteral("Style"), 0);
  readEdges(ini, section, o);
  if (withFrame) o.Frame = num(ini, section, QStringLiteral("Frame"), 0);
  o.NormalColour = num(ini, section, QStringLiteral("NormalColour"), -1);
  o.MouseOverColour = num(ini, section, QStringLiteral("MouseOverColour"), -1);
  o.PressedColour = num(ini, section, QStringLiteral("PressedColour"), -1);
  o.NormalColour2 =
      static_cast<SkinColor>(ParseRGB(str(ini, section, QStringLiteral("NormalColour2")), text));
  o.MouseOverColour2 =
      static_cast<SkinColor>(ParseRGB(str(ini, section, QStringLiteral("MouseOverColour2")), text));
  o.PressedColour2 =
      static_cast<SkinColor>(ParseRGB(str(ini, section, QStringLiteral("PressedColour2")), text));
}

// Second colours of an object the definition does not read them for.
void takeButtonText(TDataSkinObject& o, TColor text) {
  o.NormalColour2 = o.MouseOverColour2 = o.PressedColour2 = static_cast<SkinColor>(text);
}

// What reading an object needs: the definition, the package and the skin's button text.
struct ObjectSource {
  const TQuickIni& ini;
  const TSkinReader& reader;
  TColor text;
};

template <class T = TDataSkinObject>
std::unique_ptr<T> readObject(const ObjectSource& src, const QString& section,
                              bool withFrame = true) {
  if (str(src.ini, section, QStringLiteral("Image")).isEmpty()) return nullptr;
  auto o = std::make_unique<T>();
  readCommon(src.ini, src.reader, section, *o, withFrame, src.text);
  return o;
}

std::unique_ptr<TDataSkinBorder> readObjectWithGlyph(const ObjectSource& src,
                                                     const QString& section, const QString& key) {
  auto o = readObject<TDataSkinBorder>(src, section, false);
  if (o && !key.isEmpty()) o->Bitmap2 = loadImage(src.reader, str(src.ini, section, key));
  return o;
}

void put(SkinContent& c, const QString& name, std::unique_ptr<TDataSkinObject> o) {
  if (o)
    c.Objects[name] = std::move(o);
  else
    c.Objects.erase(name);
}

TDataSkinObject* obj(SkinContent& c, const QString& name) {
  auto it = c.Objects.find(name);
  return it == c.Objects.end() ? nullptr : it->second.get();
}

void readBorders(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  const QString P = QStringLiteral("Personality");
  struct Side {
    const char* name;
    std::unique_ptr<TDataSkinObject>* slot;
    bool vertical;  // Left and Right: fixed heights at top and bottom
  };
  const Side sides[] = {{"Left", &c.LeftBorder, true},
                        {"Right", &c.RightBorder, true},
                        {"Top", &c.TopBorder, false},
                        {"Bottom", &c.BottomBorder, false}};
  for (const Side& s : sides) {
    const QString n = QString::fromLatin1(s.name);
    auto o = std::make_unique<TDataSkinObject>();
    o->Name = n;
    o->Bitmap = loadImage(reader, str(ini, P, n));
    const int a = num(ini, P, n + QStringLiteral("TopHeight"), 0);
    const int b = num(ini, P, n + QStringLiteral("BotHeight"), 0);
    if (s.vertical) {
      o->TopHeight = a;
      o->BottomHeight = b;
    } else {
      o->LeftWidth = a;
      o->RightWidth = b;
    }
    o->Frame = num(ini, P, n + QStringLiteral("Frame"), 1);
    o->Tile = std::min(num(ini, P, n + QStringLiteral("Stretch"), 1), 1);
    o->Trans = num(ini, P, n + QStringLiteral("Trans"), 1);
    *s.slot = std::move(o);
  }
}

void readColours(const TQuickIni& ini, SkinContent& c) {
  const QString S = QStringLiteral("Colours");
  SkinColours& k = c.Colours;
  auto rd = [&](const char* key, TColor def) {
    return ParseRGB(str(ini, S, QString::fromLatin1(key)), def);
  };
  k.WindowText = rd("WindowText", clWindowText);
  k.ButtonFace = rd("ButtonFace", clBtnFace);
  k.Scrollbar = rd("Scrollbar", ResolveColor(sysColor(COLOR_SCROLLBAR)));
  k.HilightText = rd("HilightText", clHighlightText);
  k.Hilight = rd("Hilight", clHighlight);
  k.Menubar = rd("Menubar", k.ButtonFace);
  k.Menu = rd("Menu", ResolveColor(sysColor(COLOR_MENU)));
  k.MenuText = rd("MenuText", ResolveColor(sysColor(COLOR_MENUTEXT)));
  k.ButtonText = rd("ButtonText", ResolveColor(sysColor(COLOR_BTNTEXT)));
  k.ButtonHilight = rd("ButtonHilight", clBtnHighlight);
  k.Buttonlight = rd("Buttonlight", clBtnHighlight);
  k.ButtonShadow = rd("ButtonShadow", clBtnShadow);
  k.ButtonDkShadow = rd("ButtonDkShadow", cl3DDkShadow);
  k.MenuBarText = rd("MenuBarText", ResolveColor(sysColor(COLOR_MENUTEXT)));
  k.TitleTextActive = rd("TitleTextActive", ResolveColor(sysColor(COLOR_CAPTIONTEXT)));
  k.TitleTextNoActive = rd("TitleTextNoActive", ResolveColor(sysColor(COLOR_INACTIVECAPTIONTEXT)));
  QStringList sections;
  ini.ReadSections(sections);
  c.ExtraColours.clear();
  for (const QString& s : sections) {
    const QString up = s.toUpper();
    if (up.startsWith(QLatin1String("COLOUR")) && up != QLatin1String("COLOURS"))
      c.ExtraColours.push_back(ParseRGB(str(ini, s, QStringLiteral("color")), clWindowText));
  }
  c.CustomColours.clear();
  for (int i = 0; i <= 9; ++i)
    c.CustomColours.push_back(ParseRGB(
        str(ini, QStringLiteral("Customcolors"), QStringLiteral("Color%1").arg(i)), clWhite));
}

void readSysButtons(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  c.SysButtons.clear();
  QStringList sections;
  ini.ReadSections(sections);
  for (const QString& s : sections) {
    const QString up = s.toUpper();
    if (!up.startsWith(QLatin1String("BUTTON")) || up == QLatin1String("BUTTONS") ||
        up == QLatin1String("BUTTON.RADIO") || up == QLatin1String("BUTTON.CHECKBOX") ||
        up == QLatin1String("BUTTON"))
      continue;
    const int action = num(ini, s, QStringLiteral("Action"), 0);
    const int visibility = num(ini, s, QStringLiteral("Visibility"), 0);
    if (action == -1 && visibility != 0) continue;
    auto b = std::make_unique<TDataSkinSysButton>();
    b->Name = up;
    b->Action = action;
    b->Align = num(ini, s, QStringLiteral("Align"), 0);
    b->Xcoord = num(ini, s, QStringLiteral("Xcoord"), 0);
    b->Ycoord = num(ini, s, QStringLiteral("Ycoord"), 0);
    b->Visibility = visibility;
    b->Visibility1 = num(ini, s, QStringLiteral("Visibility1"), action == -1 ? -1 : 0);
    b->CombineOp = num(ini, s, QStringLiteral("CombineOp"), -1);
    b->Frame = num(ini, s, QStringLiteral("frame"), 0);
    b->Bitmap = loadImage(reader, str(ini, s, QStringLiteral("ButtonImage")));
    if (b->Frame == 0) {
      b->Frame = 6;
      if (b->hasImage() && b->Bitmap.height() > 0)
        b->Frame = static_cast<double>(b->Bitmap.width()) / b->Bitmap.height() <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->Frame = 6;
      if (b->Action == 3 || b->Action == 11) b->Bitmap = QImage();
    }
    c.SysButtons.push_back(std::move(b));
  }
  // The MDI child controls: twelve equal columns, four per button.
  const QImage mdi =
      loadImage(reader, str(ini, QStringLiteral("MDICONTROLS"), QStringLiteral("Image")));
  if (mdi.isNull() || mdi.width() < 12) return;
  const int col = mdi.width() / 12;
  for (int i = 0; i < 3; ++i) {
    auto b = std::make_unique<TDataSkinSysButton>();
    b->Name = QStringLiteral("MDI%1").arg(i);
    b->Action = 7 + i;
    b->Align = 100;
    b->Visibility = b->Visibility1 = 100;
    b->Frame = 4;
    b->Xcoord = (3 - i) * (col + 4);
    b->Bitmap = mdi.copy(4 * i * col, 0, 4 * col, mdi.height());
    c.SysButtons.push_back(std::move(b));
  }
}

void readButtons(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  const QString S = QStringLiteral("Buttons");
  auto b = std::make_unique<TDataSkinButton>();
  b->Name = S;
  readEdges(ini, S, *b);
  b->Bitmap = loadImage(reader, str(ini, S, QStringLiteral("Bitmap")));
  b->CheckButton = loadImage(reader, str(ini, S, QStringLiteral("CheckButton")));
  b->RadioButton = loadImage(reader, str(ini, S, QStringLiteral("RadioButton")));
  b->NormalColour = num(ini, S, QStringLiteral("NormalColour"), -1);
  b->MouseOverColour = num(ini, S, QStringLiteral("MouseOverColour"), -1);
  b->PressedColour = num(ini, S, QStringLiteral("PressedColour"), -1);
  b->RadioButtonFrame = num(ini, S, QStringLiteral("RadioButtonFrame"), 0);
  b->CheckButtonFrame = num(ini, S, QStringLiteral("CheckButtonFrame"), 0);
  auto second = [&](const char* key, SkinColor& to, bool& given) {
    const QString v = str(ini, S, QString::fromLatin1(key));
    given = !v.isEmpty();
    to = static_cast<SkinColor>(ParseRGB(v, c.Colours.ButtonText));
  };
  second("NormalColour2", b->NormalColour2, b->NormalColour2Given);
  second("MouseOverColour2", b->MouseOverColour2, b->MouseOverColour2Given);
  second("PressedColour2", b->PressedColour2, b->PressedColour2Given);
  c.Buttons = std::move(b);
}

int readRGBKeys(const TQuickIni& ini, const QString& section, const QString& prefix) {
  const int r = num(ini, section, prefix + QStringLiteral("R"), -1);
  const int g = num(ini, section, prefix + QStringLiteral("G"), -1);
  const int b = num(ini, section, prefix + QStringLiteral("B"), -1);
  if (r < 0 || g < 0 || b < 0) return TDataSkinTitle::NotGiven;
  return static_cast<int>(RGB(std::min(r, 255), std::min(g, 255), std::min(b, 255)));
}

void readTitle(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  const QString P = QStringLiteral("Personality");
  auto t = std::make_unique<TDataSkinTitle>();
  t->Name = QStringLiteral("Title");
  t->Bitmap = loadImage(reader, str(ini, P, QStringLiteral("TextBack")));
  t->LeftWidth = num(ini, P, QStringLiteral("TextShift"), 0);
  t->TopHeight = num(ini, P, QStringLiteral("TextShiftVert"), 0);
  t->RightWidth = num(ini, P, QStringLiteral("TextRightClip"), 0);
  t->TextAlignment = num(ini, P, QStringLiteral("TextAlignment"), 0);
  t->Textbackground = num(ini, P, QStringLiteral("Textbackground"), 0);
  t->TXTBackleft = num(ini, P, QStringLiteral("TXTBackleft"), 0);
  t->TXTBackRight = num(ini, P, QStringLiteral("TXTBackRight"), 0);
  t->FontHeight = num(ini, QStringLiteral("Fonts"), QStringLiteral("FontHeight"), 14);
  t->ActiveText = readRGBKeys(ini, P, QStringLiteral("ActiveText"));
  t->InActiveText = readRGBKeys(ini, P, QStringLiteral("InActiveText"));
  c.Title = std::move(t);
}

void readProgressAndObjects(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  const ObjectSource src{ini, reader, c.Colours.ButtonText};
  // [Progress] names its image "Bitmap" instead of "Image".
  {
    const QString S = QStringLiteral("Progress");
    const QString image = str(ini, S, QStringLiteral("Bitmap"));
    if (!image.isEmpty()) {
      auto o = std::make_unique<TDataSkinObject>();
      o->Name = S;
      o->Bitmap = loadImage(reader, image);
      o->Style = num(ini, S, QStringLiteral("Style"), 0);
      readEdges(ini, S, *o);
      takeButtonText(*o, src.text);
      put(c, S, std::move(o));
    } else {
      put(c, S, nullptr);
    }
  }
  put(c, QStringLiteral("Progress.Chunk"), readObject(src, QStringLiteral("Progress.Chunk")));
  {
    const QString P = QStringLiteral("Personality");
    const QString image = str(ini, P, QStringLiteral("menuBar"));
    c.MenuBar.reset();
    if (!image.isEmpty()) {
      auto m = std::make_unique<TDataSkinObject>();
      m->Name = QStringLiteral("MenuBar");
      m->Bitmap = loadImage(reader, image);
      m->Tile = std::min(num(ini, P, QStringLiteral("TileMenu"), 1), 1);
      m->LeftWidth = num(ini, P, QStringLiteral("TileLeftMenu"), 1);
      m->RightWidth = num(ini, P, QStringLiteral("TileRightMenu"), 1);
      c.MenuBar = std::move(m);
    }
  }
  put(c, QStringLiteral("GroupBoxEdge"), readObject(src, QStringLiteral("GroupBoxEdge")));
  {
    const QString S = QStringLiteral("GroupBox");
    auto g = readObject<TDataSkinBoxLabel>(src, S, false);
    if (g) {
      g->BackgroundAlignment = num(ini, S, QStringLiteral("BackgroundAlignment"), 0);
      g->BackgroundLeftShift = num(ini, S, QStringLiteral("BackgroundLeftShift"), 0);
      g->BackgroundRightShift = num(ini, S, QStringLiteral("BackgroundRightShift"), 0);
    }
    put(c, S, std::move(g));
  }
  put(c, QStringLiteral("Tabs"),
      readObjectWithGlyph(src, QStringLiteral("Tabs"), QStringLiteral("Border")));
  put(c, QStringLiteral("StatusBarEdges"), readObject(src, QStringLiteral("StatusBarEdges")));
  {
    auto pane = readObject(src, QStringLiteral("Tab.Pane"));
    if (pane) {
      pane->LeftWidth = std::min(pane->LeftWidth, 4);
      pane->TopHeight = std::min(pane->TopHeight, 4);
      pane->RightWidth = std::min(pane->RightWidth, 4);
      pane->BottomHeight = std::min(pane->BottomHeight, 4);
    }
    put(c, QStringLiteral("Tab.Pane"), std::move(pane));
  }
  put(c, QStringLiteral("ToolBars"), readObject(src, QStringLiteral("ToolBars")));
  {
    auto combo = readObjectWithGlyph(src, QStringLiteral("ComboButton"), QString());
    if (combo && combo->hasImage()) combo->Bitmap2 = MirrorBitmap(combo->Bitmap);
    put(c, QStringLiteral("ComboButton"), std::move(combo));
  }
  put(c, QStringLiteral("SunkEdge"), readObject(src, QStringLiteral("SunkEdge")));
  for (const char* s : {"ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar",
                        "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
                        "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                        "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"}) {
    const QString n = QString::fromLatin1(s);
    put(c, n, readObject(src, n));
  }
  for (const char* s : {"UpDown.Horz", "UpDown.Vert"}) {
    const QString n = QString::fromLatin1(s);
    put(c, n, readObjectWithGlyph(src, n, QStringLiteral("GlyphImage")));
  }
  for (const char* s : {"Track", "TRACKVERT"}) {
    const QString n = QString::fromLatin1(s);
    auto t = readObject(src, n);
    if (!t) {
      t = std::make_unique<TDataSkinObject>();
      t->Name = n;
      t->Bitmap = TrackBitmap(n == QLatin1String("TRACKVERT"));
      t->LeftWidth = t->TopHeight = t->RightWidth = t->BottomHeight = 3;
      t->Tile = 0;
      t->Frame = 1;
      takeButtonText(*t, src.text);
    }
    put(c, n, std::move(t));
  }
}

void readScrollFrames(const TQuickIni& ini, SkinContent& c) {
  auto set = [&](const char* name, int frames) {
    if (auto* o = obj(c, QString::fromLatin1(name))) o->Frame = frames;
  };
  if (c.Buttons) {
    TDataSkinButton& b = *c.Buttons;
    b.Frame = 5;
    auto derive = [](const QImage& img) {
      if (img.isNull()) return 4;
      return std::max(img.width() / (img.height() < 16 ? 13 : 16), 4);
    };
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = derive(b.RadioButton);
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = derive(b.CheckButton);
  }
  if (c.Title) c.Title->Frame = 2;
  if (auto* p = obj(c, QStringLiteral("Progress"))) p->Frame = p->Style != 0 ? 1 : 2;
  if (c.MenuBar) c.MenuBar->Frame = 2;
  set("GroupBoxEdge", 2);
  set("Toolbar", 1);
  set("ToolBars", 5);
  set("Tabs", 5);
  set("Tab.Pane", 1);
  set("StatusBarEdges", 3);
  set("GroupBox", 1);
  set("ComboButton", 4);
  set("SunkEdge", 4);
  set("ExtraImages", 5);
  if (auto* h = obj(c, QStringLiteral("Headerbar")); h && h->Frame == 0) h->Frame = 5;
  set("MenuItem", 5);
  set("MenuBackground", 1);
  set("Scrollbar", 23);
  set("HorzScroll", 4);
  set("VertScroll", 4);
  set("UpDown.Horz", 8);
  set("UpDown.Vert", 8);
  for (const char* t : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                        "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
    set(t, 5);
  for (const char* t : {"HorzScrollThumb", "VertScrollThumb"})
    if (auto* o = obj(c, QString::fromLatin1(t)))
      o->Frame = num(ini, QString::fromLatin1(t), QStringLiteral("FrameCount"), 3);
}

}  // namespace

TSkinControlTypes skinControls(std::initializer_list<TSkinControlType> members) {
  TSkinControlTypes s;
  for (auto m : members) s.set(static_cast<size_t>(m));
  return s;
}

TSkinOptions skinOptions(std::initializer_list<TSkinOption> members) {
  TSkinOptions s;
  for (auto m : members) s.set(static_cast<size_t>(m));
  return s;
}

TColor ParseRGB(const QString& text, TColor def) {
  static const QRegularExpression digits(QStringLiteral("\\d+"));
  int channel[3];
  int n = 0;
  for (auto it = digits.globalMatch(text); it.hasNext() && n < 3;)
    channel[n++] = std::min(it.next().captured().left(6).toInt(), 255);
  if (n < 3) return def;
  return RGB(channel[0], channel[1], channel[2]);
}

QStringList DefaultSkin3rd() { return {QStringLiteral("QProgressBar=progress")}; }

void ReadSkinDefinition(const TQuickIni& ini, const TSkinReader& reader, SkinContent& c) {
  c.SkinName = str(ini, QStringLiteral("TitlebarSkin"), QStringLiteral("SkinName"));
  readBorders(ini, reader, c);
  readColours(ini, c);
  readSysButtons(ini, reader, c);
  readButtons(ini, reader, c);
  readTitle(ini, reader, c);
  readProgressAndObjects(ini, reader, c);
  readScrollFrames(ini, c);
  MakeComboFrame(c);
  MakeComboArrow(c);
  MakeToolbarBackground(c);
  c.CaptionColour = CaptionSampleColour(c);
}

void MakeComboFrame(SkinContent& c) {
  auto* sunk = obj(c, QStringLiteral("SunkEdge"));
  auto* combo = obj(c, QStringLiteral("ComboButton"));
  if (!sunk || !combo || !sunk->hasImage() || !combo->hasImage()) return;
  const int n = sunk->frames();
  const int sb = TSkinData::ScrollBarWidth;
  QImage strip(50 * n, 21, QImage::Format_RGB32);
  strip.fill(Qt::magenta);
  {
    QPainter p(&strip);
    for (int k = 1; k <= n; ++k) {
      const QRect cell((k - 1) * 50, 0, 50, 21);
      DrawSkinImage(p, cell, sunk->Bitmap, sunk->edges(), k, n, false, sunk->Tile == 1, false);
      const QRect button(cell.right() + 1 - (sb + 2), 0, sb + 2, 21);
      DrawSkinImage(p, button, combo->Bitmap, combo->edges(), k, combo->frames(), false,
                    combo->Tile == 1, false);
    }
  }
  const SkinEdges e = sunk->edges();
  combo->Bitmap = strip;
  combo->Style = 2;
  combo->TopHeight = e.top;
  combo->BottomHeight = e.bottom;
  combo->LeftWidth = 2;
  combo->RightWidth = sb + 4;
  sunk->Bitmap = MirrorBitmap(strip);
  sunk->LeftWidth = sb + 4;
  sunk->RightWidth = 2;
  combo->Frame = n;
  if (auto* b = dynamic_cast<TDataSkinBorder*>(combo)) b->Bitmap2 = MirrorBitmap(combo->Bitmap);
}

void MakeComboArrow(SkinContent& c) {
  auto* sunk = obj(c, QStringLiteral("SunkEdge"));
  auto* combo = obj(c, QStringLiteral("ComboButton"));
  if (!combo || !combo->hasImage()) return;
  auto arrow = std::make_unique<TDataSkinObject>();
  arrow->Name = QStringLiteral("ComboxArrow");
  if (sunk && combo->Style == 2) {
    const int n = sunk->frames();
    const int fw = combo->Bitmap.width() / n;
    QImage strip(17 * n, 17, QImage::Format_RGB32);
    strip.fill(Qt::magenta);
    QPainter p(&strip);
    for (int k = 0; k < n; ++k)
      p.drawImage(QPoint(k * 17, 0), combo->Bitmap, QRect(k * fw + fw - 19, 2, 17, 17));
    p.end();
    arrow->Bitmap = strip;
    arrow->Frame = n;
  } else {
    arrow->Bitmap = ReplaceMagenta(combo->Bitmap, static_cast<SkinColor>(c.Colours.ButtonFace));
    arrow->Frame = combo->Frame;
  }
  put(c, QStringLiteral("ComboxArrow"), std::move(arrow));
}

TColor CaptionSampleColour(const SkinContent& c) {
  if (c.TopBorder && c.TopBorder->hasImage()) {
    const QImage& img = c.TopBorder->Bitmap;
    const int y = (img.height() / c.TopBorder->frames()) / 3;
    return fromQColor(QColor(img.pixel(img.width() / 3, y)));
  }
  return c.Colours.ButtonFace;
}

void MakeToolbarBackground(SkinContent& c) {
  const TColor base = CaptionSampleColour(c);
  const TColor top = BlendColors(static_cast<SkinColor>(c.Colours.ButtonFace),
                                 static_cast<SkinColor>(clWhite), 150);
  TColor bottom = BlendColors(static_cast<SkinColor>(clGray), static_cast<SkinColor>(base), 150);
  const HueSat hs = ColorHueSat(static_cast<SkinColor>(base));
  if (hs.saturation > 110)
    bottom = BlendColors(static_cast<SkinColor>(base), static_cast<SkinColor>(clWhite),
                         (225 - hs.saturation) * 25 / 140 + 50);
  QImage img(10, 40, QImage::Format_RGB32);
  QPainter p(&img);
  FillGradient(p, img.rect(), static_cast<SkinColor>(top), true, static_cast<SkinColor>(bottom));
  p.end();
  auto* t = obj(c, QStringLiteral("Toolbar"));
  if (!t) {
    auto o = std::make_unique<TDataSkinObject>();
    o->Name = QStringLiteral("Toolbar");
    t = o.get();
    c.Objects[o->Name] = std::move(o);
  }
  t->Bitmap = img;
  t->Frame = 1;
}

// ---- TSkinData ----

TSkinData::TSkinData(QObject* owner) : QObject(owner), content_(std::make_unique<SkinContent>()) {
  SkinControls.set();
  SkinControls.reset(xcMenuItem);
  SkinControls.reset(xcFastReport);
  Options = skinOptions({xoPreview, xoToolbarBK});
  Skin3rd = DefaultSkin3rd();
  content_->Buttons = std::make_unique<TDataSkinButton>();
  content_->Buttons->Name = QStringLiteral("Buttons");
  for (auto [slot, name] :
       {std::pair{&content_->LeftBorder, "Left"}, std::pair{&content_->RightBorder, "Right"},
        std::pair{&content_->TopBorder, "Top"}, std::pair{&content_->BottomBorder, "Bottom"}}) {
    *slot = std::make_unique<TDataSkinObject>();
    (*slot)->Name = QString::fromLatin1(name);
  }
  content_->Title = std::make_unique<TDataSkinTitle>();
  content_->Title->Name = QStringLiteral("Title");
  MenuGlyphs = MenuGlyphsBitmap();
}

TSkinData::~TSkinData() = default;

void TSkinData::SetReporter(std::function<void(const QString&)> r) { reporter() = std::move(r); }
void TSkinData::SetCommandSink(std::function<void(TSkinData*, int, int)> s) {
  commandSink() = std::move(s);
}
void TSkinData::SetSingleWindowSink(std::function<void(TSkinData*, bool)> s) {
  singleWindowSink() = std::move(s);
}

const TDataSkinObject* TSkinData::object(const QString& section) const {
  auto it = content_->Objects.find(section);
  return it == content_->Objects.end() ? nullptr : it->second.get();
}

bool TSkinData::LoadSkin() { return loadSkin(false); }

bool TSkinData::loadSkin(bool reloadAsked) {
  // A package that is not recognised leaves no skin loaded; the objects of the previous one
  // stay for the windows that still paint with them.
  loaded_ = false;
  TSkinReader reader;
  QString error;
  if (SkinStream.isEmpty() || !reader.ReadSkinPackage(SkinStream, &error)) {
    report(error.isEmpty() ? QStringLiteral("No skin package") : error);
    return false;
  }
  QByteArray definition;
  if (!reader.ExtractDefinition(definition)) {
    report(QStringLiteral("The skin package has no definition"));
    return false;
  }
  QBuffer buffer(&definition);
  buffer.open(QIODevice::ReadOnly);
  TQuickIni ini;
  ini.LoadFromStream(&buffer);
  auto fresh = std::make_unique<SkinContent>();
  fresh->Buttons = std::make_unique<TDataSkinButton>();
  ReadSkinDefinition(ini, reader, *fresh);
  const std::unique_ptr<SkinContent> old = std::exchange(content_, std::move(fresh));
  loaded_ = true;
  Q_EMIT contentReplaced(reloadAsked);
  return true;
}

void TSkinData::SetSkinFile(const QString& path) {
  skinFile_ = path;
  QFile f(path);
  if (path.isEmpty() || !f.exists()) return;
  if (!f.open(QIODevice::ReadOnly)) {
    report(QStringLiteral("Cannot read the skin file %1").arg(path));
    return;
  }
  SkinStream = f.readAll();
  if (loadSkin(active_) && active_) sendCommand(this, 3);
}

void TSkinData::Loaded() {
  if (!SkinStream.isEmpty()) LoadSkin();
  const bool ok = loaded_;
  if (SkinFormtype == TSkinFormType::sfMainform) {
    if (active_) {
      if (!ok)
        active_ = false;
      else
        sendCommand(this, 1);
    }
    if (SkinControls.test(xcMainMenu))
      SkinControls.reset(xcMenuItem);
    else
      SkinControls.reset(xcSystemMenu);
    MakeSysMenuIcon(ApplicationIcon());
  } else if (singleWindowSink()) {
    // Single windows: the manager is not switched on for them, only the owner is skinned.
    singleWindowSink()(this, active_);
  }
}

void TSkinData::SetActive(bool on) {
  if (on == active_) return;
  active_ = on;
  if (SkinFormtype == TSkinFormType::sfMainform || SkinFormtype == TSkinFormType::sfOnlyThisForm) {
    if (!on)
      sendCommand(this, 2);
    else if (loaded_)
      sendCommand(this, 1);
  }
}

bool TSkinData::DoFormSkin(const QString& className) {
  bool doSkin = true;
  if (OnFormSkin) {
    OnFormSkin(className, doSkin);
    return doSkin;
  }
  if (className == QLatin1String("SysMonthCal32")) return false;
  if (SkinControls.test(xcFastReport) && className.startsWith(QLatin1String("Tfr"))) return false;
  return doSkin;
}

void TSkinData::MakeSysMenuIcon(const QImage& appIcon) {
  SysMenuIcon = QImage(SmallIconSize, SmallIconSize, QImage::Format_RGB32);
  SysMenuIcon.fill(Qt::magenta);
  if (appIcon.isNull()) return;
  // Scaled with its alpha, then keyed pixel by pixel: an anti-aliased edge blended onto the
  // key colour would come out pink, miss the exact key and stay as a ring around the icon.
  const QImage small =
      appIcon.convertToFormat(QImage::Format_ARGB32)
          .scaled(SmallIconSize, SmallIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  for (int y = 0; y < SmallIconSize; ++y)
    for (int x = 0; x < SmallIconSize; ++x) {
      const QRgb c = small.pixel(x, y);
      if (qAlpha(c) >= 128) SysMenuIcon.setPixel(x, y, qRgb(qRed(c), qGreen(c), qBlue(c)));
    }
}

}  // namespace ruto
