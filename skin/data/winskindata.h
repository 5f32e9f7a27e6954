// The skin object model and the skin data component.
//
// A skin package (one INI text and the bitmaps it names) is read once per load into the elements
// below; every painter draws from them and never reads the package itself. TSkinData holds the
// packed skin, builds the model, carries the published options that decide what is skinned and
// drives the process-wide manager (winskindlg.h) through deferred actions.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/core/streams.h"
#include "framework/core/stringlist.h"
#include "framework/core/typinfo.h"
#include "framework/gui/bitmap.h"
#include "framework/gui/gdiobj.h"
#include "framework/gui/graphics.h"
#include "framework/gui/imglist.h"
#include "resources/builtin/builtin.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TControl;
class TCustomForm;
class TSkinStore;
class TSkinReader;
class TQuickIni;
class TSkinManage;

// ------------------------------------------------------------------------- skin elements

// One section of the skin INI: its image, nine-slice margins, frame count, flags and colours.
// Margins are widths, not coordinates: left = LeftWidth, top = TopHeight, right = RightWidth,
// bottom = BottomHeight.
class TDataSkinObject : public TObject {
public:
  TDataSkinObject();
  ~TDataSkinObject() override;
  TDataSkinObject(const TDataSkinObject &) = delete;
  TDataSkinObject &operator=(const TDataSkinObject &) = delete;

  RECT Margins{0, 0, 0, 0};
  TBitmap *Image;    // owned; FrameCount state images side by side
  int32_t Trans = 0; // 1: magenta pixels are transparent
  int32_t Tile = 0;  // 0: middle parts stretched, 1: tiled
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  int32_t NormalColour = 0, MouseOverColour = 0, PressedColour = 0; // -1: not given
  TColor NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;

  // The frame count to divide by: a skin may give 0 or a negative count, which is drawn as one
  // frame.
  int Frames() const { return FrameCount < 1 ? 1 : FrameCount; }
};

// Form borders, tabs, up-down buttons, the combo button and the progress bar: a second image.
class TDataSkinBorder : public TDataSkinObject {
public:
  TDataSkinBorder();
  ~TDataSkinBorder() override;
  TBitmap *Image2; // owned
};

// Caption text placement and colours.
class TDataSkinTitle : public TDataSkinObject {
public:
  int32_t TextAlignment = 0, TextBackground = 0, FontHeight = 0, TextBackLeft = 0,
          TextBackRight = 0;
  TColor ActiveTextColor = 0, InactiveTextColor = 0;
};

// Push buttons, check boxes and radio buttons.
class TDataSkinButton : public TDataSkinObject {
public:
  TDataSkinButton();
  ~TDataSkinButton() override;
  TBitmap *CheckImage; // owned
  TBitmap *RadioImage; // owned
  int32_t RadioFrameCount = 0, CheckFrameCount = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

// One caption (system) button.
class TDataSkinSysButton : public TDataSkinObject {
public:
  int32_t Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = 0, Visibility = 0,
          Visibility1 = 0;
};

// The group box caption.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
  int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// ------------------------------------------------------------------------- colour scheme

enum TShemeColor {
  csText,
  csTitleTextActive,
  csTitleTextNoActive,
  csButtonFace,
  csButtonText,
  csButtonHilight,
  csButtonlight,
  csButtonShadow,
  csButtonDkshadow,
  csSelectText,
  csSelectBg,
  csHilightText,
  csHilight,
  csMenuBar,
  csMenuBarText,
  csMenuText,
  csMenubg,
  csCaption,
  csScrollbar,
  csTextDisable
};
using TShemeColors = std::array<TColor, 20>;

// Indexes of TSkinData::Borders. (The caption painter numbers them 1 to 4 in this order.)
enum TSkinBorder { sbLeft, sbRight, sbTop, sbBottom };

// ------------------------------------------------------------------------- enumerations

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
using TSkinControlTypes = uint32_t; // bit n for ordinal n

enum TSkinOption {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoMDIChildBorder,
  xoMenuBG
};
using TSkinOptions = uint16_t;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

enum TWinContainer {
  xccForm,
  xccFrame,
  xccToolbar,
  xccCoolbar,
  xccControlbar,
  xccPanel,
  xccScrollBox,
  xccGroupBox,
  xccTabSheet,
  xccPageScroller
};
using TWinContainers = uint16_t;

// Set membership for the bit sets above.
template <class S, class E> constexpr bool InSet(S set, E value) {
  return ((set >> static_cast<unsigned>(value)) & 1u) != 0;
}
template <class S, class E> constexpr S SetOf(S set, E value) {
  return static_cast<S>(set | (S{1} << static_cast<unsigned>(value)));
}
template <class S, class E> constexpr S SetWithout(S set, E value) {
  return static_cast<S>(set & ~(S{1} << static_cast<unsigned>(value)));
}

const TEnumInfo &SkinControlTypeInfo();
const TEnumInfo &SkinOptionInfo();
const TEnumInfo &SkinFormTypeInfo();

// Every kind except xcMenuItem and xcFastReport.
constexpr TSkinControlTypes DefaultSkinControls = 0x1FFFFB;
// xoPreview and xoToolbarBK.
constexpr TSkinOptions DefaultSkinOptions = 0x0048;
constexpr TWinContainers AllWinContainers = 0x03FF;

// ------------------------------------------------------------------------- events

// Asked before a window is skinned: aName is its class name.
using TOnFormSkin = TDelegate<void(TObject *Sender, const std::string &aName, bool &DoSkin)>;
// Asked when a control is attached: the handler may hand back its own skinning object.
using TOnSkinControl =
    TDelegate<void(TComponent *Sender, class TSkinData *SkinData, TControl *Form, TControl *Control,
                   const std::string &ControlClass, TComponent *&SkinnedControl)>;

// ------------------------------------------------------------------------- TSkinData

class TSkinData : public TComponent {
public:
  static constexpr const char *VersionText = "3.99.03.03";
  // Set before any form data is read, the program starts with the system's own look: skin
  // data components keep the skin bytes they read but load no skin, so nothing is skinned.
  static inline bool StartUnskinned = false;

  explicit TSkinData(TComponent *owner);
  ~TSkinData() override;

  // --- published properties (in their stored order)
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls = DefaultSkinControls;
  TSkinOptions Options = DefaultSkinOptions;
  TStringList *Skin3rd() const { return skin3rd_; }
  // Copies the given list.
  void SetSkin3rd(TStringList *value);
  const std::string &SkinFile() const { return skinFile_; }
  void SetSkinFile(std::string value) { LoadFromFile(value); }
  // "(none)" at run time; writing is ignored.
  std::string SkinStore() const;
  void SetSkinStore(std::string) {}
  TSkinFormType SkinFormtype = sfMainform;
  std::string Version() const { return VersionText; }
  void SetVersion(std::string) {}
  bool MenuUpdate = true;
  bool MenuMerge = false;
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // --- unpublished state
  TWinContainers Containers = AllWinContainers;
  bool MainMenuUpdate = true;
  bool NoSkin = true;
  TMemoryStream *SkinBuffer = nullptr; // the packed skin, exactly as it came

  // --- the object model (nil: the skin has no such section)
  TDataSkinBorder *Borders[4]{};     // always present
  TDataSkinTitle *Title = nullptr;   // always present
  TDataSkinButton *Button = nullptr; // always present
  std::vector<TDataSkinSysButton *> SysButtons;
  TDataSkinObject *MenuBar = nullptr;
  TDataSkinBorder *Progress = nullptr;
  TDataSkinObject *ProgressChunk = nullptr;
  TDataSkinObject *GroupBoxEdge = nullptr;
  TDataSkinBoxLabel *GroupBox = nullptr;
  TDataSkinBorder *Tab = nullptr;
  TDataSkinObject *StatusBarEdges = nullptr;
  TDataSkinObject *TabPane = nullptr;
  TDataSkinObject *ToolBars = nullptr;
  TDataSkinBorder *ComboButton = nullptr;
  TDataSkinObject *SunkEdge = nullptr;
  TDataSkinObject *ExtraImages = nullptr;
  TDataSkinObject *Headerbar = nullptr;
  TDataSkinObject *MenuItem = nullptr;
  TDataSkinObject *MenuBackground = nullptr;
  TDataSkinObject *Scrollbar = nullptr;
  TDataSkinObject *HorzScroll = nullptr;
  TDataSkinObject *VertScroll = nullptr;
  TDataSkinObject *HorzScrollThumb = nullptr;
  TDataSkinObject *VertScrollThumb = nullptr;
  TDataSkinObject *ThumbHorz = nullptr;
  TDataSkinObject *ThumbVert = nullptr;
  TDataSkinObject *ThumbLeft = nullptr;
  TDataSkinObject *ThumbRight = nullptr;
  TDataSkinObject *ThumbUp = nullptr;
  TDataSkinObject *ThumbDown = nullptr;
  TDataSkinBorder *UpDownHorz = nullptr;
  TDataSkinBorder *UpDownVert = nullptr;
  TDataSkinObject *Track = nullptr;
  TDataSkinObject *TrackVert = nullptr;
  TDataSkinObject *ComboArrow = nullptr; // derived; present after the first load
  TDataSkinObject *Toolbar = nullptr;    // derived; present after the first load

  // --- other values kept for painters
  TShemeColors Colors{};
  std::string SkinName;
  std::vector<TColor> PreColors;
  std::array<TColor, 10> CustomColors{};
  GdiBrush FaceBrush;               // solid brush of csButtonFace, made again per load
  TBitmap *AppIcon = nullptr;       // owned
  TFont *CaptionFont = nullptr;     // owned
  TImageList *MenuImages = nullptr; // owned: the four caption-button glyphs
  int32_t MaxWidth = 0, MaxHeight = 0;
  // The name of the unpacked INI, kept for reference only.
  std::string IniName;

  // --- loading
  // True when the skin was taken. A file or stream that is not a readable skin changes
  // nothing: the skin in use (or none) stays.
  bool LoadFromFile(const std::string &fileName);
  bool LoadFromStream(TStream &stream);
  void LoadFromCollection(TSkinStore *store, int index);
  // True when the package could be opened (and the model was read).
  bool LoadSkin();
  void Loaded() override;
  bool ReadBinaryProperty(const std::string &name, TStream &stream) override;
  void ReadData(TStream &stream);
  void WriteData(TStream &stream);

  // --- requests to the manager
  void UpdateSkin();
  void Install();
  void Uninstall();
  void SkinForm(HWND window);
  void ChangeForm(TCustomForm *form);
  void EnableSkin(bool value);
  int InstallThread(DWORD threadId);
  void UnInstallThread(DWORD threadId);
  void UpdateMenu(TCustomForm *form);
  void UpdateMainMenu(bool value);
  void UpdateSkinControl(TCustomForm *form, TControl *control);
  void AddNestForm(TControl *host, TCustomForm *form);
  void DeleteGraphicControl(TCustomForm *form, TControl *control);

  // --- services
  void DoFormSkin(HWND window, const std::string &className, bool &DoSkin);
  void DoSkinChanged();
  // Sets an enumeration property of obj by the name of its value; anything else is ignored.
  void ChangeProperty(TObject *obj, const std::string &propName, const std::string &valueName);
  void GetAppIcon();
  void CreateCaptionFont();
  bool GetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO &info);

  // --- the model readers (run by LoadSkin on the open package)
  void LoadFromIni(const std::string &iniName);
  void ReadObject(TDataSkinObject *&element, const std::string &section);
  void ReadObject2(TDataSkinBorder *&element, const std::string &section,
                   const std::string &imageKey2);
  void ReadProgress(TDataSkinBorder *&element, const std::string &section);
  void ReadBoxLabel(TDataSkinBoxLabel *&element, const std::string &section);
  void ReadMenuBar(TDataSkinObject *&element, const std::string &section);
  void ReadTitle(TDataSkinTitle *title, const std::string &section);
  void ReadBord();
  void ReadButton();
  void ReadSysButton();
  void CreateMdibtn(int first);
  void ReadColor();
  void ReadTrack(TDataSkinObject *&element, const std::string &resourceName);
  void ReadRGB(const std::string &section, const std::string &prefix, TColor &color);
  void Readbmp(TBitmap *bitmap, const std::string &value);
  TColor GetColor(const std::string &text, TColor defaultColor) const;
  bool GetPrecolor(TColor &color, int index) const;
  TColor GetCaptionColor();

  // --- post-processing
  void SetFrame();
  void ReBuildCombobox();
  void ReBuildComboxArrow();
  void RebuildToolbar();

private:
  // Loads the packed skin bytes, or keeps the skin in use when they are not one.
  bool TakeSkin(TMemoryStream &bytes);
  // LoadSkin's work, telling a package that could not be opened (the model untouched) from
  // one whose reading failed half-way (the model partly rewritten).
  enum class PackageRead { Read, NotOpened, Broken };
  PackageRead ReadPackage();
  bool Designing() const { return (ComponentState() & csDesigning) != 0; }
  // The manager, created (and this component listed) when there is none.
  TSkinManage *Manager();
  void FreeModel();
  void ReadElementKeys(TDataSkinObject &element, const std::string &section, bool withColours,
                       int tileFold);

  bool active_ = false;
  std::string skinFile_;
  TStringList *skin3rd_ = nullptr;

  // Open only while a package is read.
  TSkinReader *reader_ = nullptr;
  TQuickIni *ini_ = nullptr;
  TMemoryStream *FileBuffer = nullptr;
  TStringList *sections_ = nullptr;
};

// ------------------------------------------------------------------------- free functions

// Colour text such as "255 128 0" or "255,128,0": red, green, blue.
TColor strcolor(const std::string &text);
constexpr TColor RGBToColor(uint8_t red, uint8_t green, uint8_t blue) {
  return red + green * 256u + blue * 65536u;
}
// dest takes source's size and pixel format, then source is drawn at (0, 0).
void CopyBMP(TBitmap *source, TBitmap *dest);
// The package member an image value names: its last path component, when that ends exactly in
// ".bmp"; "" when the value names no bitmap (the image is then empty).
std::string SkinImageMember(const std::string &value);
// Loads a bitmap resource of module into bitmap; false (bitmap untouched) when there is none.
bool LoadBitmapResource(TBitmap &bitmap, HMODULE module, const char *name);

// The built-in bitmap names.
constexpr const char *TrackResource = builtin::kTrack;
constexpr const char *TrackVertResource = builtin::kTrackVert;
constexpr const char *CaptionGlyphResource = builtin::kCaptionGlyphs;

// The default class mapping of Skin3rd (116 lines ClassName=kind).
const std::vector<std::string> &DefaultSkin3rd();

// Asks the system (when it offers mouse tracking) for a mouse-leave notice for window.
void DoTrackMouse(HWND window);
// Narrow text of DefaultUserCodePage to wide text and back.
std::wstring StrToWideStr(const std::string &text);
std::string WideStringToStringEx(const std::wstring &text);
int Tnt_DrawTextW(HDC dc, const std::wstring &text, RECT &rect, UINT format);
// The rectangle to draw a text in that was measured with DT_CALCRECT: wider on the side(s) its
// alignment leaves free. Glyphs may reach past the measured width (under Wine their advances
// add up to more than the extent), and a word break at the exact width can push the last
// letters to a line of their own.
RECT MeasuredTextRoom(RECT measured, UINT format);
// The framework control that owns window, or null.
TControl *FindControlx(HWND window);
// Creates this module's manager in library mode, attached to host.
TSkinManage *SkinDll(TSkinManage *host);

// System functions looked up in user32.dll when the unit starts; any may be null.
using TGetScrollBarInfoProc = BOOL(WINAPI *)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEventProc = BOOL(WINAPI *)(LPTRACKMOUSEEVENT);
using TGetComboBoxInfoProc = BOOL(WINAPI *)(HWND, PCOMBOBOXINFO);
using TDisableProcessWindowsGhostingProc = void(WINAPI *)();
extern TGetScrollBarInfoProc pGetScrollBarInfo;
extern TTrackMouseEventProc pTrackMouseEvent;
extern TGetComboBoxInfoProc pGetComboBoxInfo;
extern TDisableProcessWindowsGhostingProc pDisableProcessWindowsGhosting;

// Registers TSkinData (and TComponent before it) with the class registry.
void RegisterSkinDataClasses();
