#pragma once
// One skin: the package, the image objects and colours read from its definition, the
// objects derived from them, and the switches that say what is skinned.

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <bitset>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "skin/SkinBitmaps.h"
#include "skin/SkinDraw.h"

class QWidget;

namespace ruto {

class TQuickIni;
class TSkinReader;
enum class ControlKind;

enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport
};
using TSkinControlTypes = std::bitset<22>;

enum TSkinOption {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoMDIChildBorder,
  xoMenuBG,
  xoFormScrollbar
};
using TSkinOptions = std::bitset<10>;

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

TSkinControlTypes skinControls(std::initializer_list<TSkinControlType> members);
TSkinOptions skinOptions(std::initializer_list<TSkinOption> members);

// Base of every skin image object: a nine-part image of Frame equal frames side by side.
struct TDataSkinObject {
  virtual ~TDataSkinObject() = default;
  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  QImage Bitmap;  // RGB32; null when the definition names none
  int Trans = 0;
  int Tile = 0;  // 0 stretch the middle parts, 1 tile them
  QString Name;
  int Frame = 1;
  int Style = 0;
  SkinColor NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
  SkinColor NormalColour2 = sysColor(COLOR_BTNTEXT), MouseOverColour2 = sysColor(COLOR_BTNTEXT),
            PressedColour2 = sysColor(COLOR_BTNTEXT);

  SkinEdges edges() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
  bool hasImage() const { return !Bitmap.isNull(); }
  // Frames never count below one, so no painter divides by zero.
  int frames() const { return Frame < 1 ? 1 : Frame; }
};

// An object with a second image: a glyph, or a mirrored copy.
struct TDataSkinBorder : TDataSkinObject {
  QImage Bitmap2;
};

struct TDataSkinButton : TDataSkinObject {
  QImage CheckButton, RadioButton;
  int RadioButtonFrame = 0, CheckButtonFrame = 0;
  bool NormalColour2Given = false, MouseOverColour2Given = false, PressedColour2Given = false;
};

// Caption text settings; TextShift, TextShiftVert and TextRightClip live in the edge fields
// (LeftWidth, TopHeight, RightWidth).
struct TDataSkinTitle : TDataSkinObject {
  static constexpr int NotGiven = 0x1FFFFFFF;
  int TextAlignment = 0, Textbackground = 0, FontHeight = 14, TXTBackleft = 0, TXTBackRight = 0;
  int ActiveText = NotGiven, InActiveText = NotGiven;
  int TextShift() const { return LeftWidth; }
  int TextShiftVert() const { return TopHeight; }
  int TextRightClip() const { return RightWidth; }
};

struct TDataSkinSysButton : TDataSkinObject {
  int Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1, Visibility = 0,
      Visibility1 = 0;
};

struct TDataSkinBoxLabel : TDataSkinObject {
  int BackgroundAlignment = 0, BackgroundLeftShift = 0, BackgroundRightShift = 0;
};

struct SkinColours {
  TColor WindowText = clWindowText, ButtonFace = clBtnFace, Scrollbar = clSilver,
         HilightText = clHighlightText, Hilight = clHighlight, Menubar = clBtnFace,
         Menu = clBtnFace, MenuText = clWindowText, ButtonText = clWindowText,
         ButtonHilight = clBtnHighlight, Buttonlight = clBtnHighlight, ButtonShadow = clBtnShadow,
         ButtonDkShadow = cl3DDkShadow, MenuBarText = clWindowText, TitleTextActive = clWhite,
         TitleTextNoActive = clSilver;
};

// Everything a definition yields. A load builds a new one and swaps it in only when the
// package was read, so a failed load keeps the previous skin.
struct SkinContent {
  QString SkinName;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinObject> LeftBorder, RightBorder, TopBorder, BottomBorder;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinObject> MenuBar;
  // Objects named by their section: Progress, Tabs, MenuItem, MenuBackground, Track, ...
  std::map<QString, std::unique_ptr<TDataSkinObject>> Objects;
  SkinColours Colours;
  std::vector<TColor> ExtraColours;
  std::vector<TColor> CustomColours;
  TColor CaptionColour = clBtnFace;
};

class TSkinData : public QObject {
  Q_OBJECT
 public:
  explicit TSkinData(QObject* owner = nullptr);
  ~TSkinData() override;

  // Published switches.
  bool Active() const { return active_; }
  void SetActive(bool on);
  int DisableTag = 99;
  TSkinControlTypes SkinControls;
  TSkinOptions Options;
  QStringList Skin3rd;
  TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
  bool MenuUpdate = true;
  bool MenuMerge = false;
  QString Version() const { return QStringLiteral("1.0.0"); }
  QString SkinFile() const { return skinFile_; }
  void SetSkinFile(const QString& path);
  // Application's veto: (class name, doSkin).
  std::function<void(const QString&, bool&)> OnFormSkin;
  // The application's own skin for a control of a window being skinned: (window, control,
  // upper-cased class name, skin). A kind other than none replaces the mapping's choice.
  std::function<void(QWidget* form, QWidget* control, const QString& controlClass,
                     ControlKind& skinned)>
      OnSkinControl;
  // Around skinning one window: (window, class name).
  std::function<void(QWidget*form, const QString&className)> OnBeforeSkinForm, OnAfterSkinForm;

  // The stored package (4-byte unpacked size and LZH stream).
  QByteArray SkinStream;
  // Reads SkinStream into the skin objects; false when the package is not recognised: then
  // no skin counts as loaded, though the previous objects stay. Failures go to the reporter.
  bool LoadSkin();
  // The window was loaded: gates fixed, the manager told, the skin switched on.
  void Loaded();
  bool SkinLoaded() const { return loaded_; }

  // Default decision for a window's class name (SysMonthCal32, Tfr... with xcFastReport).
  bool DoFormSkin(const QString& className);

  // Skin objects; any may be absent (null).
  const SkinContent& content() const { return *content_; }
  const TDataSkinTitle* Title() const { return content_->Title.get(); }
  const TDataSkinButton* Buttons() const { return content_->Buttons.get(); }
  const TDataSkinObject* LeftBorder() const { return content_->LeftBorder.get(); }
  const TDataSkinObject* RightBorder() const { return content_->RightBorder.get(); }
  const TDataSkinObject* TopBorder() const { return content_->TopBorder.get(); }
  const TDataSkinObject* BottomBorder() const { return content_->BottomBorder.get(); }
  const TDataSkinObject* MenuBar() const { return content_->MenuBar.get(); }
  const std::vector<std::unique_ptr<TDataSkinSysButton>>& SysButtons() const {
    return content_->SysButtons;
  }
  const TDataSkinObject* object(const QString& section) const;
  const SkinColours& Colours() const { return content_->Colours; }
  TColor CaptionColour() const { return content_->CaptionColour; }
  QString SkinName() const { return content_->SkinName; }
  QImage MenuGlyphs;   // 16x16 glyphs, white = transparent
  QImage SysMenuIcon;  // small icon on magenta
  void MakeSysMenuIcon(const QImage& appIcon);

  // Where load failures are told (the program shows them; tests collect them).
  static void SetReporter(std::function<void(const QString&)> reporter);
  // Where Active changes and loads send manager commands (1 on, 2 off, 3 reload).
  static void SetCommandSink(std::function<void(TSkinData*, int command, int delayMs)> sink);
  // Where a skin data of single windows (any type but sfMainform) tells the manager it is
  // loaded, and whether its owner is to be skinned at once.
  static void SetSingleWindowSink(std::function<void(TSkinData*, bool skinOwner)> sink);

  // Metrics of the program's frame scheme.
  static constexpr int ScrollBarWidth = 17, MenuHeight = 20, CaptionHeight = 19, SmallIconSize = 16;

 Q_SIGNALS:
  void skinChanged();
  // A load replaced the skin objects; the old ones are still there while this is emitted and
  // go right after, so whoever points into them lets go here. reloadAsked: a reload command
  // follows the load.
  void contentReplaced(bool reloadAsked);

 public:
  void DoSkinChanged() { Q_EMIT skinChanged(); }

 private:
  bool loadSkin(bool reloadAsked);

  std::unique_ptr<SkinContent> content_;
  bool active_ = false;
  bool loaded_ = false;
  bool loading_ = false;
  QString skinFile_;
};

// Reads the whole definition into content, in the reading order the painters rely on.
void ReadSkinDefinition(const TQuickIni& ini, const TSkinReader& reader, SkinContent& content);
// The combo strip and the arrow strip built from SunkEdge and ComboButton.
void MakeComboFrame(SkinContent& content);
void MakeComboArrow(SkinContent& content);
void MakeToolbarBackground(SkinContent& content);
TColor CaptionSampleColour(const SkinContent& content);
// "r,g,b" with any non-digits between; def when fewer than three numbers are given.
TColor ParseRGB(const QString& text, TColor def);
// Further control classes mapped to skin kinds (class name=kind): the progress bar.
QStringList DefaultSkin3rd();

}  // namespace ruto
