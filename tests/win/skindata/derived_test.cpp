// The images derived after a skin is read, checked by their pixels.
#include "skin_fixture.h"

#include "skin/form/winskinform_draw.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace skintest;

namespace {

const uint32_t kSunk[4] = {0x101010, 0x202020, 0x303030, 0x404040};
const uint32_t kButton[4] = {0x0000C0, 0x00C000, 0xC00000, 0xC0C000};
const uint32_t kExtra[5] = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005};

COLORREF Ref(uint32_t colour) {
  return RGB(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

SkinPackage ComboSkin(bool withSunkEdge, bool withButton) {
  SkinPackage p;
  p.ini = "[Colours]\nButtonFace=1 2 3\n";
  if (withSunkEdge) {
    p.ini += "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\n"
             "BottomHeight=2\n";
    p.Add("sunk.bmp", Frames(20, 21, {kSunk[0], kSunk[1], kSunk[2], kSunk[3]}));
  }
  if (withButton) {
    p.ini += "[ComboButton]\nImage=cb.bmp\n[ExtraImages]\nImage=extra.bmp\nTrans=1\n";
    // Each button frame has one magenta pixel in its top-left corner.
    p.Add("cb.bmp", Bmp24(4 * 17, 21, [](int x, int y) -> uint32_t {
            return x % 17 == 0 && y == 0 ? kMagenta : kButton[x / 17];
          }));
    p.Add("extra.bmp", Frames(4, 4, {kExtra[0], kExtra[1], kExtra[2], kExtra[3], kExtra[4]}));
  }
  return p;
}

} // namespace

TEST(SkinDerived, ComboBoxPictureIsComposedPerStateAndMirroredIntoSunkEdge) {
  auto d = LoadData(ComboSkin(true, true));
  ASSERT_NE(d->ComboButton, nullptr);
  ASSERT_NE(d->SunkEdge, nullptr);
  const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
  TBitmap &combo = *d->ComboButton->Image;
  ASSERT_EQ(combo.Width(), 200);
  ASSERT_EQ(combo.Height(), 21);
  EXPECT_EQ(d->ComboButton->Style, 2);
  EXPECT_EQ(d->ComboButton->Margins.left, 2);
  EXPECT_EQ(d->ComboButton->Margins.top, 2);
  EXPECT_EQ(d->ComboButton->Margins.right, b + 2);
  EXPECT_EQ(d->ComboButton->Margins.bottom, 2);

  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("state " + std::to_string(i + 1));
    const int x0 = 50 * i;
    EXPECT_EQ(Pixel(combo, x0, 0), Ref(kSunk[i]));                 // sunk edge corner
    EXPECT_EQ(Pixel(combo, x0 + 10, 10), Ref(kMagenta));           // edit area left open
    EXPECT_EQ(Pixel(combo, x0 + 50 - b + 1, 18), Ref(kButton[i])); // drop-down button
    EXPECT_EQ(Pixel(combo, x0 + 50 - b, 0), Ref(kSunk[i]));        // its magenta let through
    const int cx = x0 + 50 - b + (b - 4) / 2;                      // glyph centred in the button
    EXPECT_EQ(Pixel(combo, cx + 1, 9), Ref(kExtra[i]));
  }
  TBitmap &sunk = *d->SunkEdge->Image;
  ASSERT_EQ(sunk.Width(), 200);
  for (int x : {0, 7, 31, 100, 199})
    for (int y : {0, 10, 20})
      EXPECT_EQ(Pixel(sunk, x, y), Pixel(combo, 199 - x, y)) << x << "," << y;
  EXPECT_EQ(d->SunkEdge->Margins.left, b + 2);
  EXPECT_EQ(d->SunkEdge->Margins.right, 2);

  // The arrow strip: 17 x 17 cut from the right end of each state.
  TBitmap &arrow = *d->ComboArrow->Image;
  EXPECT_EQ(d->ComboArrow->Name, "ComboxArrow");
  EXPECT_EQ(d->ComboArrow->FrameCount, 4);
  ASSERT_EQ(arrow.Width(), 68);
  ASSERT_EQ(arrow.Height(), 17);
  for (int i = 0; i < 4; ++i)
    for (int x : {0, 16})
      for (int y : {0, 16})
        EXPECT_EQ(Pixel(arrow, 17 * i + x, y), Pixel(combo, 50 * (i + 1) - 19 + x, 2 + y));
}

TEST(SkinDerived, ComboArrowWithoutOneOfTheTwoElements) {
  auto onlySunk = LoadData(ComboSkin(true, false));
  ASSERT_NE(onlySunk->ComboArrow, nullptr);
  EXPECT_TRUE(onlySunk->ComboArrow->Image->Empty());
  EXPECT_EQ(onlySunk->SunkEdge->Image->Width(), 80); // keeps its own picture
  EXPECT_EQ(onlySunk->SunkEdge->Margins.left, 2);

  auto onlyButton = LoadData(ComboSkin(false, true));
  TBitmap &arrow = *onlyButton->ComboArrow->Image;
  EXPECT_EQ(onlyButton->ComboArrow->FrameCount, 4);
  ASSERT_EQ(arrow.Width(), 68);
  EXPECT_EQ(Pixel(arrow, 17, 0), RGB(1, 2, 3)); // magenta became the button face
  EXPECT_EQ(Pixel(arrow, 18, 0), Ref(kButton[1]));
  // The combo button itself keeps its image, and a mirrored copy as its second image.
  EXPECT_EQ(Pixel(*onlyButton->ComboButton->Image, 17, 0), Ref(kMagenta));
  EXPECT_EQ(Pixel(*onlyButton->ComboButton->Image2, 67 - 18, 5), Ref(kButton[1]));
}

TEST(SkinDerived, CaptionColourAndToolbarGradient) {
  // The top border: two frames stacked, rows 0-2 of each frame light grey, the rest dark.
  SkinPackage p;
  p.ini = "[Personality]\nTop=top.bmp\nTopFrame=2\n[Colours]\nButtonFace=0 0 0\n";
  p.Add("top.bmp",
        Bmp24(30, 12, [](int, int y) -> uint32_t { return y % 6 < 3 ? 0xC8C8C8 : 0x202020; }));
  auto d = LoadData(p);
  EXPECT_EQ(d->Colors[csCaption], 0xC8C8C8u);
  // Grey caption (saturation 0): to = 15 % grey + 85 % caption = 189; from = 15 % black +
  // 85 % white = 217.
  TBitmap &bar = *d->Toolbar->Image;
  EXPECT_EQ(d->Toolbar->Name, "Toolbar");
  EXPECT_EQ(d->Toolbar->FrameCount, 1);
  ASSERT_EQ(bar.Width(), 10);
  ASSERT_EQ(bar.Height(), 40);
  EXPECT_EQ(Pixel(bar, 5, 0), RGB(217, 217, 217));
  EXPECT_LE(std::abs(GetRValue(Pixel(bar, 5, 39)) - 189), 1);
  EXPECT_GT(GetRValue(Pixel(bar, 5, 10)), GetRValue(Pixel(bar, 5, 30)));
  // The face brush is made from the face colour.
  LOGBRUSH lb{};
  ASSERT_TRUE(d->FaceBrush);
  GetObject(d->FaceBrush.Get(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(0, 0, 0));
}

TEST(SkinDerived, FrameCountsOfZeroOrBelowReadAsOneFrame) {
  struct Case {
    const char *frame;
    COLORREF caption;
  } cases[] = {{"2", RGB(200, 200, 200)},
               {"1", RGB(32, 32, 32)},
               {"0", RGB(32, 32, 32)},
               {"-3", RGB(32, 32, 32)}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.frame);
    SkinPackage p;
    p.ini = std::string("[Personality]\nTop=top.bmp\nTopFrame=") + c.frame +
            "\n[SunkEdge]\nImage=s.bmp\n[ComboButton]\nImage=s.bmp\n";
    p.Add("top.bmp",
          Bmp24(30, 6, [](int, int y) -> uint32_t { return y < 2 ? 0xC8C8C8 : 0x202020; }));
    p.Add("s.bmp", Solid(2, 21, 0x404040)); // narrower than its four frames
    auto d = LoadData(p);
    ASSERT_FALSE(d->NoSkin);
    EXPECT_EQ(d->Colors[csCaption], static_cast<TColor>(c.caption));
    EXPECT_EQ(d->Borders[sbTop]->Frames(), std::max(1, std::atoi(c.frame)));
    EXPECT_EQ(d->ComboButton->Image->Width(), 200);
  }
}

TEST(SkinDerived, TrackElementsFallBackToTheBuiltInChannels) {
  SkinPackage p;
  p.ini = "[TRACKVERT]\nImage=tv.bmp\nFrame=3\n";
  p.Add("tv.bmp", Solid(4, 9, 0x123456));
  auto d = LoadData(p);
  ASSERT_NE(d->TrackVert, nullptr);
  EXPECT_EQ(d->TrackVert->FrameCount, 3);
  EXPECT_EQ(d->TrackVert->Name, "TRACKVERT");
  ASSERT_NE(d->Track, nullptr);
  EXPECT_EQ(d->Track->Name, "TRACK");
  EXPECT_EQ(d->Track->FrameCount, 1);
  EXPECT_EQ(d->Track->Tile, 0);
  EXPECT_EQ(d->Track->Margins.left, 3);
  EXPECT_EQ(d->Track->Margins.bottom, 3);
#ifdef KESTROVA_HAVE_BUILTIN_RESOURCES
  TBitmap &track = *d->Track->Image;
  ASSERT_EQ(track.Width(), 16);
  ASSERT_EQ(track.Height(), 4);
  const COLORREF S = RGB(192, 192, 192), G = RGB(128, 128, 128), W = RGB(255, 255, 255);
  EXPECT_EQ(Pixel(track, 0, 0), S);
  EXPECT_EQ(Pixel(track, 2, 0), G);
  EXPECT_EQ(Pixel(track, 15, 0), W);
  EXPECT_EQ(Pixel(track, 0, 2), G);
  EXPECT_EQ(d->MenuImages->Count(), 4);
#endif
}

// ------------------------------------------------------------------------- composed in memory

namespace {

// The package a skin file holds, opened for reading its INI and members.
struct OpenPackage {
  TSkinReader reader;
  TQuickIni ini;

  explicit OpenPackage(const std::vector<uint8_t> &skinFile) {
    TMemoryStream stream;
    Fill(stream, skinFile);
    if (!reader.Loadfromstream(stream))
      throw Exception("the skin file does not open");
    TMemoryStream text;
    std::string name;
    reader.readIni(".ini", text, name);
    text.SetPosition(0);
    ini.LoadFromStream(&text);
  }
  std::unique_ptr<TBitmap> Image(const std::string &section) {
    auto image = std::make_unique<TBitmap>();
    TMemoryStream bytes;
    reader.readfile(SkinImageMember(ini.ReadString(section, "Image", "")), bytes);
    if (bytes.Size() > 0)
      image->LoadFromStream(bytes);
    return image;
  }
  RECT Margins(const std::string &section) {
    return RECT{ini.ReadInteger(section, "LeftWidth", 0), ini.ReadInteger(section, "TopHeight", 0),
                ini.ReadInteger(section, "RightWidth", 0),
                ini.ReadInteger(section, "BottomHeight", 0)};
  }
};

std::vector<uint8_t> ReadFileBytes(const std::string &name) {
  TMemoryStream stream;
  stream.LoadFromFile(name);
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

// The combo box strip as the drawing primitives compose it on a device context: one cell reused
// for every state, transparent pieces drawn with masks.
void ComposeWithPrimitives(OpenPackage &p, int sunkTrans, TBitmap &strip) {
  const auto sunk = p.Image("SunkEdge"), button = p.Image("ComboButton"),
             extra = p.Image("ExtraImages");
  const bool withExtra = !p.ini.ReadString("ExtraImages", "Image", "").empty();
  const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
  strip.SetPixelFormat(TPixelFormat::pf24bit);
  strip.SetSize(200, 21);
  TBitmap cell(50, 21, TPixelFormat::pf24bit);
  HDC dc = cell.Canvas().Handle();
  const RECT whole{0, 0, 50, 21}, buttonRect{50 - b, 0, 50, 21}, edit{2, 2, 49 - b, 18};
  GdiBrush magenta(CreateSolidBrush(kMagenta));
  FillRect(dc, &whole, magenta.Get());
  for (int i = 1; i <= 4; ++i) {
    DrawRect2(dc, whole, *sunk, p.Margins("SunkEdge"), i, 4, sunkTrans == 1, false, false);
    DrawRect2(dc, buttonRect, *button, p.Margins("ComboButton"), i, 4, true, false, false);
    if (withExtra)
      DrawRect3(dc, buttonRect, *extra, i, 5, true);
    FillRect(dc, &edit, magenta.Get());
    BitBlt(strip.Canvas().Handle(), 50 * (i - 1), 0, 50, 21, dc, 0, 0, SRCCOPY);
  }
  GdiFlush();
}

// Every byte of every pixel, mirrored left to right when asked.
void ExpectSamePixels(TBitmap &actual, TBitmap &expected, bool mirrored = false) {
  ASSERT_EQ(actual.Width(), expected.Width());
  ASSERT_EQ(actual.Height(), expected.Height());
  ASSERT_EQ(actual.BitsPerPixel(), 24);
  ASSERT_EQ(expected.BitsPerPixel(), 24);
  int differences = 0;
  for (int y = 0; y < actual.Height(); ++y) {
    const auto *a = static_cast<const uint8_t *>(actual.ScanLine(y));
    const auto *e = static_cast<const uint8_t *>(expected.ScanLine(y));
    for (int x = 0; x < actual.Width(); ++x) {
      const int ex = mirrored ? actual.Width() - 1 - x : x;
      if (std::memcmp(a + 3 * x, e + 3 * ex, 3) != 0 && ++differences <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(differences, 0);
}

SkinPackage EdgeCaseComboSkin(int sunkTrans) {
  // The sunk edge has magenta in every state (the state before shows through when Trans is 1;
  // drawn as it is when not); the button strip is stretched from frames narrower than the
  // button; the glyphs are wider and taller than the button, so they overflow into the edit
  // area and are cut at the cell's edges.
  SkinPackage p;
  p.ini = "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=3\nTopHeight=2\nRightWidth=4\nBottomHeight=3\n"
          "Trans=" +
          std::to_string(sunkTrans) +
          "\n[ComboButton]\nImage=cb.bmp\nLeftWidth=2\nRightWidth=1\n"
          "[ExtraImages]\nImage=extra.bmp\n";
  p.Add("sunk.bmp", Bmp24(4 * 23, 19, [](int x, int y) -> uint32_t {
          return (x + y) % 5 == 0 ? kMagenta : 0x010203 * static_cast<uint32_t>(x / 23 + 1) + y;
        }));
  p.Add("cb.bmp", Bmp24(3 * 15, 22, [](int x, int y) -> uint32_t {
          return (x * y) % 7 == 0 ? kMagenta : 0x203040 + static_cast<uint32_t>(x);
        }));
  p.Add("extra.bmp", Bmp24(5 * 25, 23, [](int x, int y) -> uint32_t {
          return y % 3 == 0 ? kMagenta : 0x400000 + static_cast<uint32_t>(x * 256 + y);
        }));
  return p;
}

} // namespace

TEST(SkinDerived, ComposedImagesEqualWhatTheDrawingPrimitivesComposeByteForByte) {
  struct Case {
    const char *name;
    std::vector<uint8_t> skinFile;
    int sunkTrans;
  };
  std::vector<Case> cases = {
      {"transparent sunk edge, short strips", EdgeCaseComboSkin(1).Pack(), 1},
      {"opaque sunk edge, short strips", EdgeCaseComboSkin(0).Pack(), 0}};
#ifdef KESTROVA_DEFAULT_SKIN
  cases.push_back({"the default skin", ReadFileBytes(KESTROVA_DEFAULT_SKIN), -1});
#endif
  for (Case &c : cases) {
    SCOPED_TRACE(c.name);
    OpenPackage p(c.skinFile);
    if (c.sunkTrans < 0)
      c.sunkTrans = p.ini.ReadInteger("SunkEdge", "Trans", 0);
    auto d = LoadData(c.skinFile);
    ASSERT_FALSE(d->NoSkin);
    ASSERT_NE(d->SunkEdge, nullptr);
    ASSERT_NE(d->ComboButton, nullptr);

    TBitmap strip;
    ComposeWithPrimitives(p, c.sunkTrans, strip);
    ExpectSamePixels(*d->ComboButton->Image, strip);
    ExpectSamePixels(*d->SunkEdge->Image, strip, true);

    // The arrow strip: 17 x 17 from the right end of each state, black where that lies outside.
    TBitmap arrow(68, 17, TPixelFormat::pf24bit);
    for (int i = 1; i <= 4; ++i)
      BitBlt(arrow.Canvas().Handle(), 17 * (i - 1), 0, 17, 17, strip.Canvas().Handle(), i * 50 - 19,
             2, SRCCOPY);
    GdiFlush();
    ExpectSamePixels(*d->ComboArrow->Image, arrow);

    // The combo button's second image: its own picture mirrored.
    ExpectSamePixels(*d->ComboButton->Image2, *p.Image("ComboButton"), true);
  }
}

TEST(SkinDerived, MdiButtonsAreCutFromTheirStripByteForByte) {
  SkinPackage p;
  p.ini = "[MDICONTROLS]\nImage=mdi.bmp\n";
  p.Add("mdi.bmp", Bmp24(12 * 7 + 5, 6, [](int x, int y) -> uint32_t {
          return 0x010101 * static_cast<uint32_t>(x) + static_cast<uint32_t>(y) * 0x100000;
        }));
  auto d = LoadData(p);
  OpenPackage open(p.Pack());
  const auto strip = open.Image("MDICONTROLS");
  ASSERT_EQ(d->SysButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TBitmap expected(28, 6, TPixelFormat::pf24bit);
    BitBlt(expected.Canvas().Handle(), 0, 0, 28, 6, strip->Canvas().Handle(), 28 * i, 0, SRCCOPY);
    GdiFlush();
    ExpectSamePixels(*d->SysButtons[static_cast<size_t>(i)]->Image, expected);
  }
}
