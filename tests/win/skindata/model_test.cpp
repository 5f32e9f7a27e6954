// The skin object model as the readers fill it from a skin package.
#include "skin_fixture.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

// One skin that touches every generic reader, with keys chosen to show defaults and folding.
SkinPackage RichSkin() {
  SkinPackage p;
  p.ini = R"([TitlebarSkin]
SkinName=Test Skin
[Personality]
Top=top.bmp
TopFrame=2
TopTopHeight=82
TopBotHeight=98
TopStretch=0
Left=left.bmp
LeftTopHeight=33
LeftBotHeight=13
LeftStretch=5
LeftTrans=0
menuBar=menubar.bmp
TileMenu=3
TileLeftMenu=7
TextBack=title.bmp
TextShift=5
TextShiftVert=6
TextRightClip=7
TextAlignment=2
Textbackground=1
TXTBackleft=3
TXTBackRight=4
ActiveTextR=255
ActiveTextG=128
ActiveTextB=0
InActiveTextR=10
InActiveTextG=-1
InActiveTextB=10
[Fonts]
FontHeight=17
[Colours]
ButtonText=1 2 3
[Buttons]
Bitmap=button.bmp
LeftWidth=4
RightWidth=5
TopHeight=6
BottomHeight=7
Trans=1
Tile=2
CheckButton=check.bmp
NormalColour=11
PressedColour2=9 9 9
[Progress]
Bitmap=prog.bmp
Tile=2
Style=0
NormalColour=5
LeftWidth=3
[Progress.Chunk]
Image=chunk.bmp
Frame=3
[GroupBoxEdge]
Image=gbe.bmp
Tile=2
Trans=1
MouseOverColour=0x10
NormalColour2=9 8 7
[GroupBox]
Image=gb.bmp
BackgroundAlignment=1
BackgroundLeftShift=2
BackgroundRightShift=3
[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
Frame=9
Style=4
[Tab.Pane]
Image=pane.bmp
LeftWidth=6
TopHeight=2
RightWidth=9
BottomHeight=4
[StatusBarEdges]
Image=bad.bmp
[ToolBars]
Image=skins\Sub\TB.bmp
[Scrollbar]
Image=sb.bmp
Frame=10
[Headerbar]
Image=hb.bmp
Frame=0
[HorzScrollThumb]
Image=ht.bmp
FrameCount=7
[VertScrollThumb]
Image=vt.bmp
[Trackbar.ThumbUp]
Image=tu.bmp
[UpDown.Horz]
Image=udh.bmp
GlyphImage=glyph.bmp
[Track]
Image=track.bmp
Frame=2
)";
  p.Add("top.bmp", Solid(30, 6, 0x336699))
      .Add("left.bmp", Solid(4, 20, 0x112233))
      .Add("menubar.bmp", Solid(8, 4, 0x010203))
      .Add("title.bmp", Solid(9, 3, 0x0A0B0C))
      .Add("button.bmp", Solid(50, 10, 0x808080))
      .Add("check.bmp", Solid(160, 16, 0x808080))
      .Add("prog.bmp", Solid(10, 5, 0x00FF00))
      .Add("chunk.bmp", Solid(6, 5, 0x00FF00))
      .Add("gbe.bmp", Solid(8, 8, 0x777777))
      .Add("gb.bmp", Solid(8, 8, 0x777777))
      .Add("tabs.bmp", Solid(50, 10, 0x999999))
      .Add("tabborder.bmp", Solid(3, 7, 0x999999))
      .Add("pane.bmp", Solid(20, 20, 0xAAAAAA))
      .Add("bad.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'})
      .Add("tb.bmp", Solid(25, 5, 0x123456))
      .Add("sb.bmp", Solid(230, 10, 0x555555))
      .Add("hb.bmp", Solid(10, 10, 0x555555))
      .Add("ht.bmp", Solid(21, 7, 0x555555))
      .Add("vt.bmp", Solid(21, 7, 0x555555))
      .Add("tu.bmp", Solid(25, 5, 0x555555))
      .Add("udh.bmp", Solid(64, 8, 0x555555))
      .Add("glyph.bmp", Solid(5, 5, 0x555555))
      .Add("track.bmp", Solid(16, 4, 0x555555));
  return p;
}

struct ElementCase {
  const char *member;
  TDataSkinObject *(*get)(TSkinData &);
  const char *name;
  int frames, tile, trans, style;
  RECT margins;
  int imageWidth; // -1: empty image
};

#define MEMBER(m) #m, [](TSkinData & d) -> TDataSkinObject * { return d.m; }

const ElementCase kElements[] = {
    {MEMBER(Progress), "Progress", 2, 1, 0, 0, {3, 0, 0, 0}, 10},
    {MEMBER(ProgressChunk), "Progress.Chunk", 3, 0, 0, 0, {0, 0, 0, 0}, 6},
    {MEMBER(GroupBoxEdge), "GroupBoxEdge", 2, 0, 1, 0, {0, 0, 0, 0}, 8},
    {MEMBER(GroupBox), "GroupBox", 1, 0, 0, 0, {0, 0, 0, 0}, 8},
    {MEMBER(Tab), "Tabs", 5, 0, 0, 4, {0, 0, 0, 0}, 50},
    {MEMBER(TabPane), "Tab.Pane", 1, 0, 0, 0, {4, 2, 4, 4}, 20},
    {MEMBER(StatusBarEdges), "StatusBarEdges", 3, 0, 0, 0, {0, 0, 0, 0}, -1},
    {MEMBER(ToolBars), "ToolBars", 5, 0, 0, 0, {0, 0, 0, 0}, 25},
    {MEMBER(Scrollbar), "Scrollbar", 23, 0, 0, 0, {0, 0, 0, 0}, 230},
    {MEMBER(Headerbar), "Headerbar", 5, 0, 0, 0, {0, 0, 0, 0}, 10},
    {MEMBER(HorzScrollThumb), "HorzScrollThumb", 7, 0, 0, 0, {0, 0, 0, 0}, 21},
    {MEMBER(VertScrollThumb), "VertScrollThumb", 3, 0, 0, 0, {0, 0, 0, 0}, 21},
    {MEMBER(ThumbUp), "Trackbar.ThumbUp", 5, 0, 0, 0, {0, 0, 0, 0}, 25},
    {MEMBER(UpDownHorz), "UpDown.Horz", 8, 0, 0, 0, {0, 0, 0, 0}, 64},
    {MEMBER(Track), "Track", 2, 0, 0, 0, {0, 0, 0, 0}, 16},
    {MEMBER(MenuBar), "Personality", 2, 1, 0, 0, {7, 0, 1, 0}, 8},
};

bool SameRect(const RECT &a, const RECT &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(SkinModel, ElementReadersFillKeysDefaultsAndFrameCounts) {
  auto d = LoadData(RichSkin());
  ASSERT_FALSE(d->NoSkin);
  EXPECT_EQ(d->SkinName, "Test Skin");
  for (const ElementCase &c : kElements) {
    SCOPED_TRACE(c.member);
    TDataSkinObject *e = c.get(*d);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Name, c.name);
    EXPECT_EQ(e->FrameCount, c.frames);
    EXPECT_EQ(e->Tile, c.tile);
    EXPECT_EQ(e->Trans, c.trans);
    EXPECT_EQ(e->Style, c.style);
    EXPECT_TRUE(SameRect(e->Margins, c.margins)) << e->Margins.left << "," << e->Margins.top << ","
                                                 << e->Margins.right << "," << e->Margins.bottom;
    if (c.imageWidth < 0)
      EXPECT_TRUE(e->Image->Empty());
    else
      EXPECT_EQ(e->Image->Width(), c.imageWidth);
  }
  // Sections the skin does not have leave their members nil.
  for (TDataSkinObject *absent :
       {d->SunkEdge, d->MenuItem, d->MenuBackground, d->ExtraImages, d->HorzScroll, d->ThumbHorz,
        d->ThumbDown, static_cast<TDataSkinObject *>(d->ComboButton),
        static_cast<TDataSkinObject *>(d->UpDownVert)})
    EXPECT_EQ(absent, nullptr);

  // Colours: -1 when not given, the second set defaults to csButtonText; progress reads none.
  EXPECT_EQ(d->GroupBoxEdge->NormalColour, -1);
  EXPECT_EQ(d->GroupBoxEdge->MouseOverColour, 0x10);
  EXPECT_EQ(d->GroupBoxEdge->NormalColour2, 0x070809u);
  EXPECT_EQ(d->GroupBoxEdge->PressedColour2, 0x030201u);
  EXPECT_EQ(d->Progress->NormalColour, 0);
  EXPECT_EQ(d->Progress->NormalColour2, 0u);
  EXPECT_EQ(d->GroupBox->BackgroundAlignment, 1);
  EXPECT_EQ(d->GroupBox->BackgroundLeftShift, 2);
  EXPECT_EQ(d->GroupBox->BackgroundRightShift, 3);
  EXPECT_EQ(d->Tab->Image2->Width(), 3);
  EXPECT_EQ(d->UpDownHorz->Image2->Width(), 5);
  EXPECT_TRUE(d->Progress->Image2->Empty());
}

TEST(SkinModel, BordersTitleAndButtonAreRewrittenFieldByField) {
  auto d = LoadData(RichSkin());
  TDataSkinBorder &top = *d->Borders[sbTop];
  EXPECT_EQ(top.Name, "Top");
  EXPECT_EQ(top.FrameCount, 2);
  EXPECT_TRUE(SameRect(top.Margins, RECT{82, 0, 98, 0}));
  EXPECT_EQ(top.Tile, 0);
  EXPECT_EQ(top.Trans, 1);
  TDataSkinBorder &left = *d->Borders[sbLeft];
  EXPECT_TRUE(SameRect(left.Margins, RECT{0, 33, 0, 13}));
  EXPECT_EQ(left.Tile, 1); // LeftStretch 5 folds to 1
  EXPECT_EQ(left.Trans, 0);
  EXPECT_EQ(left.FrameCount, 1);
  TDataSkinBorder &right = *d->Borders[sbRight];
  EXPECT_TRUE(right.Image->Empty());
  EXPECT_EQ(right.FrameCount, 1);
  EXPECT_EQ(right.Trans, 1);

  TDataSkinTitle &t = *d->Title;
  EXPECT_EQ(t.FrameCount, 2);
  EXPECT_TRUE(SameRect(t.Margins, RECT{5, 6, 7, 0}));
  EXPECT_EQ(t.TextAlignment, 2);
  EXPECT_EQ(t.TextBackground, 1);
  EXPECT_EQ(t.FontHeight, 17);
  EXPECT_EQ(t.TextBackLeft, 3);
  EXPECT_EQ(t.TextBackRight, 4);
  EXPECT_EQ(t.ActiveTextColor, 0x0080FFu);
  EXPECT_EQ(t.InactiveTextColor, clNone); // one component negative: not given
  EXPECT_EQ(t.Image->Width(), 9);

  TDataSkinButton &b = *d->Button;
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_TRUE(SameRect(b.Margins, RECT{4, 6, 5, 7}));
  EXPECT_EQ(b.Tile, 0); // above 1 becomes 0 for buttons
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.NormalColour, 11);
  EXPECT_EQ(b.MouseOverColour, -1);
  EXPECT_FALSE(b.HasNormalColour2);
  EXPECT_TRUE(b.HasPressedColour2);
  EXPECT_EQ(b.PressedColour2, 0x090909u);
  EXPECT_EQ(b.NormalColour2, 0x030201u);
  EXPECT_EQ(b.CheckFrameCount, 10); // 160 x 16: 16-pixel frames
  EXPECT_EQ(b.RadioFrameCount, 4);  // no image: the minimum

  // A second skin without those sections: readers that create elements leave nil, the fixed
  // elements keep what no key of the new skin touches.
  d->Title->Trans = 42;
  SkinPackage bare;
  bare.ini = "[Personality]\nTopFrame=3\n";
  TMemoryStream s;
  Fill(s, bare.Pack());
  d->LoadFromStream(s);
  EXPECT_FALSE(d->NoSkin);
  EXPECT_EQ(d->Progress, nullptr);
  EXPECT_EQ(d->Tab, nullptr);
  EXPECT_EQ(d->MenuBar, nullptr);
  EXPECT_EQ(d->Title->Trans, 42);
  EXPECT_EQ(d->Borders[sbTop]->FrameCount, 3);
  EXPECT_TRUE(d->Borders[sbTop]->Image->Empty());
  EXPECT_TRUE(d->Button->CheckImage->Empty());
  ASSERT_NE(d->ComboArrow, nullptr);
  ASSERT_NE(d->Toolbar, nullptr);
}

TEST(SkinModel, ImageValuesNameMembersByTheirLastPathComponent) {
  struct Case {
    const char *value;
    bool loads;
  } cases[] = {
      {"img.bmp", true},
      {"sub\\img.bmp", true},
      {"C:\\a/b\\IMG.bmp", true},
      {"img.BMP", false},
      {"img.png", false},
      {"img", false},
      {"missing.bmp", false},
      {"bad.bmp", false},
      // 0x95 0x5C is one GBK character: its trail byte is not a folder separator.
      {"x\x95\x5Cimg.bmp", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.value);
    SkinPackage p;
    p.ini = std::string("[ToolBars]\nImage=") + c.value + "\n";
    p.Add("img.bmp", Solid(7, 3, 0x00FF00)).Add("bad.bmp", std::vector<uint8_t>(60, 'B'));
    auto d = LoadData(p);
    ASSERT_FALSE(d->NoSkin);
    ASSERT_NE(d->ToolBars, nullptr);
    EXPECT_EQ(d->ToolBars->Image->Width(), c.loads ? 7 : 0);
  }
}

TEST(SkinModel, CaptionButtonsAreFilteredFramedAndTheMdiStripIsCut) {
  SkinPackage p;
  p.ini = R"([Buttons]
[Button.Radio]
Action=1
[Button0]
Action=0
ButtonImage=b60.bmp
[Button1]
Action=1
ButtonImage=b130.bmp
Xcoord=17
[Button2]
Action=3
frame=
[Button3]
Action=-1
[Button4]
Action=-1
Visibility=0
[Button5]
Action=3
frame=3
ButtonImage=b60.bmp
[button6]
Action=11
ButtonImage=b60.bmp
[Other]
Action=1
[MDICONTROLS]
Image=mdi.bmp
)";
  p.Add("b60.bmp", Solid(60, 20, 0x111111))
      .Add("b130.bmp", Solid(130, 20, 0x222222))
      .Add("mdi.bmp", Bmp24(120, 14, [](int x, int) -> uint32_t {
             return x < 40 ? 0x0000FF : x < 80 ? 0x00FF00 : 0xFF0000;
           }));
  auto d = LoadData(p);
  ASSERT_EQ(d->SysButtons.size(), 9u);
  struct Expect {
    const char *name;
    int action, frames, width, visibility1;
  } expected[] = {
      {"BUTTON0", 0, 3, 60, 0},  {"BUTTON1", 1, 6, 130, 0}, {"BUTTON2", 3, 6, 0, 0},
      {"BUTTON4", -1, 6, 0, -1}, {"BUTTON5", 3, 3, 60, 0},  {"BUTTON6", 11, 3, 0, 0},
  };
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(expected[i].name);
    TDataSkinSysButton &b = *d->SysButtons[i];
    EXPECT_EQ(b.Name, expected[i].name);
    EXPECT_EQ(b.Action, expected[i].action);
    EXPECT_EQ(b.FrameCount, expected[i].frames);
    EXPECT_EQ(b.Image->Width(), expected[i].width);
    EXPECT_EQ(b.Visibility1, expected[i].visibility1);
    EXPECT_EQ(b.CombineOp, -1);
  }
  EXPECT_EQ(d->SysButtons[1]->Xcoord, 17);

  const COLORREF colours[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  const int xcoords[3] = {42, 28, 14};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TDataSkinSysButton &b = *d->SysButtons[6 + static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Xcoord, xcoords[i]);
    ASSERT_EQ(b.Image->Width(), 40);
    ASSERT_EQ(b.Image->Height(), 14);
    EXPECT_EQ(Pixel(*b.Image, 0, 0), colours[i]);
    EXPECT_EQ(Pixel(*b.Image, 39, 13), colours[i]);
  }
}

TEST(SkinModel, RadioAndCheckFrameCountsFollowTheImageSize) {
  struct Case {
    int w, h, frames;
  } cases[] = {{52, 13, 4}, {160, 16, 10}, {26, 13, 4}, {130, 13, 10}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    SkinPackage p;
    p.ini = "[Buttons]\nRadioButton=r.bmp\nCheckButton=r.bmp\n";
    p.Add("r.bmp", Solid(c.w, c.h, 0));
    auto d = LoadData(p);
    EXPECT_EQ(d->Button->RadioFrameCount, c.frames);
    EXPECT_EQ(d->Button->CheckFrameCount, c.frames);
  }
  SkinPackage given;
  given.ini = "[Buttons]\nRadioButton=r.bmp\nRadioButtonFrame=2\n";
  given.Add("r.bmp", Solid(160, 16, 0));
  EXPECT_EQ(LoadData(given)->Button->RadioFrameCount, 2);
}

TEST(SkinModel, ColourTextsGiveRedGreenBlue) {
  struct Case {
    const char *text;
    TColor colour;
  } cases[] = {
      {"255 128 0", 0x0080FF},
      {"255,128,0", 0x0080FF},
      {"255 0 0 7", 0x0000FF},
      {"10 20", 0x00000A},
      {"300 0 0", 0x00002C},
      {"  1 2 3  ", 0x030201},
      {"1 2 3x", 0x030201},
      {"a1b2c3", 0x030201},
      {"12", 0},
      {"red", 0},
      {"1,,2,,3", 0x030201},
      // 99999999999 mod 256 is 0xFF: a long number wraps instead of overflowing.   {"99999999999 0
      // 0", 0x0000FF},
  };
  for (const Case &c : cases)
    EXPECT_EQ(strcolor(c.text), c.colour) << '"' << c.text << '"';
  TSkinData d(nullptr);
  EXPECT_EQ(d.GetColor("", 0x80000008), 0x80000008u);
  EXPECT_EQ(d.GetColor("1 2 3", 0x80000008), 0x030201u);
  EXPECT_EQ(RGBToColor(1, 2, 3), 0x030201u);
}

TEST(SkinModel, SchemePreColorsAndCustomColorsFromTheirSections) {
  SkinPackage p;
  p.ini = R"([Colours]
ButtonFace=10 20 30
WindowText=
Hilight=255 0 0 7
MenuText=300 0 0
[Colour0]
color=1 1 1
[ColoursExtra]
color=2 2 2
[Colour1]
[Customcolors]
Color3=1 2 3
)";
  auto d = LoadData(p);
  const TShemeColors &c = d->Colors;
  EXPECT_EQ(c[csButtonFace], 0x1E140Au);
  EXPECT_EQ(c[csMenuBar], 0x1E140Au); // defaults to the face just read
  EXPECT_EQ(c[csText], 0x80000008u);
  EXPECT_EQ(c[csHilight], 0x0000FFu);
  EXPECT_EQ(c[csMenuText], 0x00002Cu);
  EXPECT_EQ(c[csButtonText], 0x80000012u);
  EXPECT_EQ(c[csButtonlight], 0x80000014u);
  EXPECT_EQ(c[csButtonDkshadow], 0x80000015u);
  EXPECT_EQ(c[csMenubg], 0x80000004u);
  EXPECT_EQ(c[csScrollbar], 0x80000000u);
  EXPECT_EQ(c[csSelectText], 0u);
  EXPECT_EQ(c[csCaption], 0x1E140Au); // no top border image: the face

  ASSERT_EQ(d->PreColors.size(), 3u);
  EXPECT_EQ(d->PreColors[0], 0x010101u);
  EXPECT_EQ(d->PreColors[1], 0x020202u);
  EXPECT_EQ(d->PreColors[2], 0x80000008u);
  TColor out = 7;
  EXPECT_TRUE(d->GetPrecolor(out, 2));
  EXPECT_EQ(out, 0x80000008u);
  EXPECT_FALSE(d->GetPrecolor(out, 3));
  EXPECT_FALSE(d->GetPrecolor(out, -1));
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(d->CustomColors[static_cast<size_t>(i)], i == 3 ? 0x030201u : 0xFFFFFFu) << i;
}
