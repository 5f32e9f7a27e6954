// Reading the skin object model from the open package: LoadFromIni and its readers.
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"

namespace {

const char *const kPersonality = "Personality";

// Frees what the slot holds and puts a new element of its type there.
template <class E> E *Recreate(E *&slot) {
  if (TObject::IsLive(slot))
    delete slot;
  slot = nullptr;
  slot = new E;
  return slot;
}

template <class E> void Release(E *&slot) {
  if (TObject::IsLive(slot))
    delete slot;
  slot = nullptr;
}

bool IsLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

// The last path component of an image value. A trail byte of a GBK character may be 0x5C, so
// the scan steps over double-byte characters instead of searching for the last backslash.
std::string FileNameOf(const std::string &value) {
  size_t start = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const auto c = static_cast<unsigned char>(value[i]);
    if (IsLeadByte(c) && i + 1 < value.size())
      ++i;
    else if (c == '\\' || c == '/' || c == ':')
      start = i + 1;
  }
  return value.substr(start);
}

std::string ExtensionOf(const std::string &name) {
  size_t dot = std::string::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size())
      ++i;
    else if (c == '.')
      dot = i;
  }
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

int32_t FoldTile(int32_t tile, int32_t above1) {
  return tile > 1 ? above1 : tile;
}

} // namespace

std::string SkinImageMember(const std::string &value) {
  const std::string name = FileNameOf(value);
  return ExtensionOf(name) == ".bmp" ? name : std::string();
}

// ------------------------------------------------------------------------- LoadFromIni

void TSkinData::LoadFromIni(const std::string &iniName) {
  IniName = iniName;
  TStringList sections;
  sections_ = &sections;
  struct Clear {
    TStringList *&list;
    ~Clear() { list = nullptr; }
  } clear{sections_};
  ini_->ReadSections(sections);

  SkinName = ini_->ReadString("TitlebarSkin", "SkinName", "");
  ReadBord();
  ReadColor();
  ReadSysButton();
  ReadButton();
  ReadTitle(Title, kPersonality);
  ReadProgress(Progress, "Progress");
  ReadObject(ProgressChunk, "Progress.Chunk");
  ReadMenuBar(MenuBar, kPersonality);

  ReadObject(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabel(GroupBox, "GroupBox");
  ReadObject2(Tab, "Tabs", "Border");
  ReadObject(StatusBarEdges, "StatusBarEdges");
  ReadObject(TabPane, "Tab.Pane");
  if (TabPane != nullptr) {
    for (LONG *m : {&TabPane->Margins.left, &TabPane->Margins.top, &TabPane->Margins.right,
                    &TabPane->Margins.bottom})
      if (*m > 4)
        *m = 4;
  }

  ReadObject(ToolBars, "ToolBars");
  ReadObject2(ComboButton, "ComboButton", "****");
  ReadObject(SunkEdge, "SunkEdge");
  if (ComboButton != nullptr && !ComboButton->Image->Empty()) {
    ComboButton->Image2->Assign(*ComboButton->Image);
    ComboButton->Image2->SetPixelFormat(TPixelFormat::pf24bit);
    SpiegelnHorizontal(ComboButton->Image2);
  }

  ReadObject(ExtraImages, "ExtraImages");
  ReadObject(Headerbar, "Headerbar");
  ReadObject(MenuItem, "MenuItem");
  ReadObject(MenuBackground, "MenuBackground");
  ReadObject(Scrollbar, "Scrollbar");
  ReadObject(HorzScroll, "HorzScroll");
  ReadObject(VertScroll, "VertScroll");
  ReadObject(HorzScrollThumb, "HorzScrollThumb");
  ReadObject(VertScrollThumb, "VertScrollThumb");
  ReadObject(ThumbHorz, "Trackbar.ThumbHorz");
  ReadObject(ThumbVert, "Trackbar.ThumbVert");
  ReadObject(ThumbLeft, "Trackbar.ThumbLeft");
  ReadObject(ThumbRight, "Trackbar.ThumbRight");
  ReadObject(ThumbUp, "Trackbar.ThumbUp");
  ReadObject(ThumbDown, "Trackbar.ThumbDown");

  ReadObject2(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadObject2(UpDownVert, "UpDown.Vert", "GlyphImage");

  ReadObject(Track, "Track");
  ReadObject(TrackVert, "TRACKVERT");
  if (Track == nullptr)
    ReadTrack(Track, TrackResource);
  if (TrackVert == nullptr)
    ReadTrack(TrackVert, TrackVertResource);

  SetFrame();
  ReBuildCombobox();
  ReBuildComboxArrow();
  RebuildToolbar();

  Colors[csCaption] = GetCaptionColor();
  FaceBrush.Reset();
  FaceBrush.Reset(CreateSolidBrush(ColorToRGB(Colors[csButtonFace])));
  NoSkin = false;
}

// ------------------------------------------------------------------------- generic readers

void TSkinData::ReadElementKeys(TDataSkinObject &e, const std::string &section, bool withColours,
                                int tileFold) {
  e.Name = section;
  e.Style = ini_->ReadInteger(section, "Style", 0);
  e.Margins.left = ini_->ReadInteger(section, "LeftWidth", 0);
  e.Margins.top = ini_->ReadInteger(section, "TopHeight", 0);
  e.Margins.right = ini_->ReadInteger(section, "RightWidth", 0);
  e.Margins.bottom = ini_->ReadInteger(section, "BottomHeight", 0);
  e.Trans = ini_->ReadInteger(section, "Trans", 0);
  e.Tile = FoldTile(ini_->ReadInteger(section, "Tile", 0), tileFold);
  if (!withColours)
    return;
  e.NormalColour = ini_->ReadInteger(section, "NormalColour", -1);
  e.MouseOverColour = ini_->ReadInteger(section, "MouseOverColour", -1);
  e.PressedColour = ini_->ReadInteger(section, "PressedColour", -1);
  e.NormalColour2 = GetColor(ini_->ReadString(section, "NormalColour2", ""), Colors[csButtonText]);
  e.MouseOverColour2 =
      GetColor(ini_->ReadString(section, "MouseOverColour2", ""), Colors[csButtonText]);
  e.PressedColour2 =
      GetColor(ini_->ReadString(section, "PressedColour2", ""), Colors[csButtonText]);
}

void TSkinData::ReadObject(TDataSkinObject *&element, const std::string &section) {
  Release(element);
  const std::string image = ini_->ReadString(section, "Image", "");
  if (image.empty())
    return;
  TDataSkinObject *e = Recreate(element);
  Readbmp(e->Image, image);
  ReadElementKeys(*e, section, true, 0);
  e->FrameCount = ini_->ReadInteger(section, "Frame", 0);
}

void TSkinData::ReadObject2(TDataSkinBorder *&element, const std::string &section,
                            const std::string &imageKey2) {
  Release(element);
  const std::string image = ini_->ReadString(section, "Image", "");
  if (image.empty())
    return;
  TDataSkinBorder *e = Recreate(element);
  Readbmp(e->Image, image);
  ReadElementKeys(*e, section, true, 0);
  const std::string image2 = ini_->ReadString(section, imageKey2, "");
  if (!image2.empty())
    Readbmp(e->Image2, image2);
}

void TSkinData::ReadBoxLabel(TDataSkinBoxLabel *&element, const std::string &section) {
  Release(element);
  const std::string image = ini_->ReadString(section, "Image", "");
  if (image.empty())
    return;
  TDataSkinBoxLabel *e = Recreate(element);
  Readbmp(e->Image, image);
  ReadElementKeys(*e, section, true, 0);
  e->BackgroundAlignment = ini_->ReadInteger(section, "BackgroundAlignment", 0);
  e->BackgroundLeftShift = ini_->ReadInteger(section, "BackgroundLeftShift", 0);
  e->BackgroundRightShift = ini_->ReadInteger(section, "BackgroundRightShift", 0);
}

void TSkinData::ReadProgress(TDataSkinBorder *&element, const std::string &section) {
  Release(element);
  const std::string image = ini_->ReadString(section, "Bitmap", "");
  if (image.empty())
    return;
  TDataSkinBorder *e = Recreate(element);
  Readbmp(e->Image, image);
  ReadElementKeys(*e, section, false, 1);
}

void TSkinData::ReadMenuBar(TDataSkinObject *&element, const std::string &section) {
  Release(element);
  const std::string image = ini_->ReadString(section, "menuBar", "");
  if (image.empty())
    return;
  TDataSkinObject *e = Recreate(element);
  e->Name = section;
  Readbmp(e->Image, image);
  e->Margins.top = 0;
  e->Margins.bottom = 0;
  e->Tile = FoldTile(ini_->ReadInteger(section, "TileMenu", 1), 1);
  e->Margins.left = ini_->ReadInteger(section, "TileLeftMenu", 1);
  e->Margins.right = ini_->ReadInteger(section, "TileRightMenu", 1);
}

// ------------------------------------------------------------------------- fixed elements

void TSkinData::ReadTitle(TDataSkinTitle *title, const std::string &section) {
  Readbmp(title->Image, ini_->ReadString(section, "TextBack", ""));
  title->Margins.left = ini_->ReadInteger(section, "TextShift", 0);
  title->Margins.top = ini_->ReadInteger(section, "TextShiftVert", 0);
  title->Margins.right = ini_->ReadInteger(section, "TextRightClip", 0);
  title->Margins.bottom = 0;
  title->TextAlignment = ini_->ReadInteger(section, "TextAlignment", 0);
  title->TextBackground = ini_->ReadInteger(section, "Textbackground", 0);
  title->FontHeight = ini_->ReadInteger("Fonts", "FontHeight", 14);
  title->TextBackLeft = ini_->ReadInteger(section, "TXTBackleft", 0);
  title->TextBackRight = ini_->ReadInteger(section, "TXTBackRight", 0);
  title->ActiveTextColor = clNone;
  title->InactiveTextColor = clNone;
  ReadRGB(section, "ActiveText", title->ActiveTextColor);
  ReadRGB(section, "InActiveText", title->InactiveTextColor);
}

void TSkinData::ReadRGB(const std::string &section, const std::string &prefix, TColor &color) {
  const int32_t r = ini_->ReadInteger(section, prefix + "R", -1);
  const int32_t g = ini_->ReadInteger(section, prefix + "G", -1);
  const int32_t b = ini_->ReadInteger(section, prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0)
    color = RGBToColor(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
}

void TSkinData::ReadBord() {
  static const char *const names[4] = {"Left", "Right", "Top", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    TDataSkinBorder &b = *Borders[i];
    const std::string n = names[i];
    const int32_t head = ini_->ReadInteger(kPersonality, n + "TopHeight", 0);
    const int32_t tail = ini_->ReadInteger(kPersonality, n + "BotHeight", 0);
    if (i == sbLeft || i == sbRight)
      b.Margins = RECT{0, head, 0, tail};
    else
      b.Margins = RECT{head, 0, tail, 0};
    b.FrameCount = ini_->ReadInteger(kPersonality, n + "Frame", 1);
    b.Tile = ini_->ReadInteger(kPersonality, n + "Stretch", 1);
    b.Trans = ini_->ReadInteger(kPersonality, n + "Trans", 1);
    Readbmp(b.Image, ini_->ReadString(kPersonality, n, ""));
    b.Tile = FoldTile(b.Tile, 1);
  }
}

void TSkinData::ReadButton() {
  const char *const s = "Buttons";
  TDataSkinButton &b = *Button;
  b.Margins.left = ini_->ReadInteger(s, "LeftWidth", 0);
  b.Margins.right = ini_->ReadInteger(s, "RightWidth", 0);
  b.Margins.top = ini_->ReadInteger(s, "TopHeight", 0);
  b.Margins.bottom = ini_->ReadInteger(s, "BottomHeight", 0);
  b.Trans = ini_->ReadInteger(s, "Trans", 0);
  Readbmp(b.Image, ini_->ReadString(s, "Bitmap", ""));
  b.Tile = ini_->ReadInteger(s, "Tile", 0);
  if (b.Tile > 1)
    b.Tile = 0;
  Readbmp(b.CheckImage, ini_->ReadString(s, "CheckButton", ""));
  Readbmp(b.RadioImage, ini_->ReadString(s, "RadioButton", ""));
  b.NormalColour = ini_->ReadInteger(s, "NormalColour", -1);
  b.MouseOverColour = ini_->ReadInteger(s, "MouseOverColour", -1);
  b.PressedColour = ini_->ReadInteger(s, "PressedColour", -1);
  b.RadioFrameCount = ini_->ReadInteger(s, "RadioButtonFrame", 0);
  b.CheckFrameCount = ini_->ReadInteger(s, "CheckButtonFrame", 0);
  const std::string normal2 = ini_->ReadString(s, "NormalColour2", "");
  const std::string over2 = ini_->ReadString(s, "MouseOverColour2", "");
  const std::string pressed2 = ini_->ReadString(s, "PressedColour2", "");
  b.HasNormalColour2 = !normal2.empty();
  b.HasMouseOverColour2 = !over2.empty();
  b.HasPressedColour2 = !pressed2.empty();
  b.NormalColour2 = GetColor(normal2, Colors[csButtonText]);
  b.MouseOverColour2 = GetColor(over2, Colors[csButtonText]);
  b.PressedColour2 = GetColor(pressed2, Colors[csButtonText]);
}

void TSkinData::ReadSysButton() {
  for (TDataSkinSysButton *&b : SysButtons)
    Release(b);
  SysButtons.clear();

  TStringList names;
  ini_->ReadSections(names);
  for (int i = names.Count() - 1; i >= 0; --i) {
    const std::string section = names.Get(i);
    const std::string upper = AnsiUpperCase(section);
    bool keep = false;
    if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" ||
        upper == "BUTTON")
      keep = false;
    else if (upper.rfind("BUTTON", 0) == 0)
      keep = !(ini_->ReadInteger(section, "Action", 0) == -1 &&
               ini_->ReadInteger(section, "Visibility", -1) != 0);
    if (keep)
      names.Put(i, upper);
    else
      names.Delete(i);
  }

  const int n = names.Count();
  SysButtons.assign(static_cast<size_t>(n) + 3, nullptr);
  for (int i = 0; i < n; ++i) {
    const std::string section = names.Get(i);
    auto *b = new TDataSkinSysButton;
    SysButtons[static_cast<size_t>(i)] = b;
    b->Name = section;
    b->Action = ini_->ReadInteger(section, "Action", 0);
    b->Align = ini_->ReadInteger(section, "Align", 0);
    b->Xcoord = ini_->ReadInteger(section, "Xcoord", 0);
    b->Ycoord = ini_->ReadInteger(section, "Ycoord", 0);
    b->Visibility = ini_->ReadInteger(section, "Visibility", 0);
    b->Visibility1 = ini_->ReadInteger(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = ini_->ReadInteger(section, "CombineOp", -1);
    b->FrameCount = ini_->ReadInteger(section, "frame", 0);
    Readbmp(b->Image, ini_->ReadString(section, "ButtonImage", ""));
    if (b->FrameCount == 0) {
      b->FrameCount = 6;
      if (!b->Image->Empty())
        b->FrameCount = static_cast<double>(b->Image->Width()) / b->Image->Height() <= 3.8 ? 3 : 6;
      if (b->Action < 0)
        b->FrameCount = 6;
      if (b->Action == 3 || b->Action == 11)
        b->Image->Clear();
    }
  }
  // The MDI child buttons (restore, minimize, close of a maximised child) have no section.
  for (int i = 0; i < 3; ++i) {
    auto *b = new TDataSkinSysButton;
    SysButtons[static_cast<size_t>(n + i)] = b;
    b->Action = 7 + i;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->FrameCount = 4;
  }
  CreateMdibtn(n);
}

void TSkinData::CreateMdibtn(int first) {
  TBitmap strip;
  Readbmp(&strip, ini_->ReadString("MDICONTROLS", "Image", ""));
  if (strip.Empty() || first < 0 || static_cast<size_t>(first) + 3 > SysButtons.size())
    return;
  const int w = strip.Width() / 12;
  const int h = strip.Height();
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton *b = SysButtons[static_cast<size_t>(first + i)];
    b->Image->SetPixelFormat(TPixelFormat::pf24bit);
    b->Image->SetSize(4 * w, h);
    CopyPixels(*b->Image, 0, 0, strip, 4 * w * i, 0, 4 * w, h, RECT{0, 0, 4 * w, h}, false);
    b->Xcoord = (w + 4) * (3 - i);
  }
}

void TSkinData::ReadColor() {
  struct Slot {
    TShemeColor slot;
    const char *key;
    TColor fallback;
  };
  static const Slot slots[] = {
      {csText, "WindowText", clWindowText},
      {csTitleTextActive, "TitleTextActive", clCaptionText},
      {csTitleTextNoActive, "TitleTextNoActive", clInactiveCaptionText},
      {csButtonFace, "ButtonFace", clBtnFace},
      {csButtonText, "ButtonText", clBtnText},
      {csButtonHilight, "ButtonHilight", clBtnHighlight},
      {csButtonlight, "Buttonlight", clBtnHighlight},
      {csButtonShadow, "ButtonShadow", clBtnShadow},
      {csButtonDkshadow, "ButtonDkShadow", cl3DDkShadow},
      {csHilightText, "HilightText", clHighlightText},
      {csHilight, "Hilight", clHighlight},
  };
  const char *const s = "Colours";
  for (const Slot &e : slots)
    Colors[e.slot] = GetColor(ini_->ReadString(s, e.key, ""), e.fallback);
  Colors[csMenuBar] = GetColor(ini_->ReadString(s, "Menubar", ""), Colors[csButtonFace]);
  Colors[csMenuBarText] = GetColor(ini_->ReadString(s, "MenuBarText", ""), clMenuText);
  Colors[csMenuText] = GetColor(ini_->ReadString(s, "MenuText", ""), clMenuText);
  Colors[csMenubg] = GetColor(ini_->ReadString(s, "Menu", ""), clMenu);
  Colors[csScrollbar] = GetColor(ini_->ReadString(s, "Scrollbar", ""), clScrollBar);

  PreColors.clear();
  if (sections_ != nullptr)
    for (int i = 0; i < sections_->Count(); ++i) {
      const std::string section = sections_->Get(i);
      const std::string upper = AnsiUpperCase(section);
      if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
        PreColors.push_back(GetColor(ini_->ReadString(section, "color", ""), clWindowText));
    }
  for (int i = 0; i < 10; ++i)
    CustomColors[static_cast<size_t>(i)] =
        GetColor(ini_->ReadString("Customcolors", "Color" + std::to_string(i), ""), clWhite);
}

void TSkinData::ReadTrack(TDataSkinObject *&element, const std::string &resourceName) {
  TDataSkinObject *e = Recreate(element);
  e->Name = resourceName;
  if (!LoadBitmapResource(*e->Image, myinstance, resourceName.c_str()))
    e->Image->Clear();
  e->Margins = RECT{3, 3, 3, 3};
  e->Tile = 0;
  e->FrameCount = 1;
}

void TSkinData::Readbmp(TBitmap *bitmap, const std::string &value) {
  if (bitmap == nullptr)
    return;
  const std::string name = SkinImageMember(value);
  if (name.empty() || reader_ == nullptr || FileBuffer == nullptr) {
    bitmap->Clear();
    return;
  }
  reader_->readfile(name, *FileBuffer);
  if (FileBuffer->Size() == 0) {
    bitmap->Clear();
    return;
  }
  // A member that is not a readable bitmap is treated like a missing one: painters test for an
  // empty image, while an exception here would abort the whole load.
  try {
    FileBuffer->SetPosition(0);
    bitmap->LoadFromStream(*FileBuffer);
  } catch (const Exception &) {
    bitmap->Clear();
  }
}

TColor TSkinData::GetColor(const std::string &text, TColor defaultColor) const {
  return text.empty() ? defaultColor : strcolor(text);
}

bool TSkinData::GetPrecolor(TColor &color, int index) const {
  if (index < 0 || index >= static_cast<int>(PreColors.size()))
    return false;
  color = PreColors[static_cast<size_t>(index)];
  return true;
}
