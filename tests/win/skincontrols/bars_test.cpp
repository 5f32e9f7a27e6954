// Progress, track and status bars, tool bars, size grips and plain windows: the skin's pictures
// where the control's state puts them, read back from the screen, and real input through the
// skinned controls doing what it does without the skin.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass_bars.h"
#include "skin/form/winskinform_draw.h"

#include <commctrl.h>

namespace skincontrols {
namespace {

using skintest::Frames;
using skintest::Solid;

constexpr COLORREF kEmpty = RGB(200, 220, 240), kFull = RGB(40, 160, 80);
constexpr COLORREF kChannel = RGB(90, 60, 30), kChannelVert = RGB(30, 60, 90);
// Thumb frames 1 to 5; the painter shows frame 2 in every state.
constexpr COLORREF kThumbFrames[] = {RGB(255, 0, 0), RGB(20, 90, 200), RGB(0, 255, 0),
                                     RGB(255, 255, 0), RGB(0, 255, 255)};
constexpr COLORREF kThumbVertFrames[] = {RGB(255, 0, 0), RGB(200, 90, 20), RGB(0, 255, 0),
                                         RGB(255, 255, 0), RGB(0, 255, 255)};
// Status-bar panel frames: lowered, raised, flat; and the panel text.
constexpr COLORREF kEdge[] = {RGB(210, 200, 230), RGB(230, 240, 200), RGB(245, 225, 215)};
constexpr COLORREF kPanelText = RGB(200, 0, 0);

skintest::SkinPackage BarSkin() {
  skintest::SkinPackage p = ControlSkin();
  p.ini += "[Progress]\nBitmap=progress.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\n"
           "BottomHeight=2\nTrans=0\n"
           "[Track]\nImage=channel.bmp\nFrame=1\nLeftWidth=2\nRightWidth=2\n"
           "[TRACKVERT]\nImage=trackvert.bmp\nFrame=1\nTopHeight=2\nBottomHeight=2\n"
           "[Trackbar.ThumbHorz]\nImage=thumbh.bmp\nTrans=1\n"
           "[Trackbar.ThumbVert]\nImage=thumbv.bmp\nTrans=1\n"
           "[StatusBarEdges]\nImage=edges.bmp\nLeftWidth=1\nTopHeight=1\nRightWidth=1\n"
           "BottomHeight=1\nNormalColour2=200 0 0\n";
  auto colours = [](const COLORREF *c, size_t n) { return std::vector<uint32_t>(c, c + n); };
  p.Add("progress.bmp", Frames(10, 10, {kEmpty, kFull}))
      .Add("channel.bmp", Solid(12, 4, kChannel))
      .Add("trackvert.bmp", Solid(4, 12, kChannelVert))
      .Add("thumbh.bmp", Frames(11, 21, colours(kThumbFrames, 5)))
      .Add("thumbv.bmp", Frames(21, 11, colours(kThumbVertFrames, 5)))
      .Add("edges.bmp", Frames(8, 8, colours(kEdge, 3)));
  return p;
}

RECT ThumbRect(HWND bar) {
  RECT t{};
  SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}

// Pixels of colour c in r of the window's picture.
int Count(HWND window, const RECT &r, const std::function<bool(COLORREF)> &match) {
  std::unique_ptr<TBitmap> shot = ControlTest::Snap(window);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      n += match(skintest::Pixel(*shot, x, y)) ? 1 : 0;
  return n;
}

INPUT MouseAt(POINT p, DWORD flags) {
  const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in.mi.dx = MulDiv(p.x, 65535, w);
  in.mi.dy = MulDiv(p.y, 65535, h);
  return in;
}

// Mouse events at absolute screen positions, in one batch: the track bar's own tracking runs
// from the press to the release and finds the rest already queued.
void Drag(POINT from, POINT to) {
  const POINT mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
  INPUT inputs[] = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN), MouseAt(mid, 0),
                    MouseAt(to, 0), MouseAt(to, MOUSEEVENTF_LEFTUP)};
  SendInput(5, inputs, sizeof(INPUT));
  ControlTest::Pump(200);
}

// The rest of a drag, from another thread: the system's sizing loop, which starts at the press
// and takes the cursor's position then as its start, holds the test's thread until the release.
POINT dragTarget;
DWORD WINAPI FinishDragLater(void *) {
  Sleep(300);
  INPUT moves[] = {MouseAt(dragTarget, 0)};
  SendInput(1, moves, sizeof(INPUT));
  Sleep(200);
  INPUT up[] = {MouseAt(dragTarget, MOUSEEVENTF_LEFTUP)};
  SendInput(1, up, sizeof(INPUT));
  return 0;
}

void DragThroughSizingLoop(POINT from, POINT to) {
  dragTarget = to;
  HANDLE finisher = CreateThread(nullptr, 0, FinishDragLater, nullptr, 0, nullptr);
  INPUT press[] = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN)};
  SendInput(2, press, sizeof(INPUT));
  ControlTest::Pump(800);
  WaitForSingleObject(finisher, INFINITE);
  CloseHandle(finisher);
  ControlTest::Pump(100);
}

POINT ScreenCentre(HWND window, const RECT &r) {
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(window, &p);
  return p;
}

// ------------------------------------------------------------------ progress bars

TEST_F(ControlTest, ProgressBarFillsToItsPositionOfTheUpperLimit) {
  UseSkin(BarSkin());
  TForm *form = NewForm(400, 320);
  auto *across = Place<TProgressBar>(form, 10, 10, 200, 20);
  auto *up = Place<TProgressBar>(form, 250, 10, 20, 200);
  up->SetOrientation(TProgressBarOrientation::pbVertical);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(across->Handle()));
  ASSERT_TRUE(IsSkinned(up->Handle()));
  // Samples along the bar: distance from the start (left, or bottom), and the expected frame.
  const struct {
    const char *why;
    int min, max, position;
    std::vector<std::pair<int, COLORREF>> along;
  } cases[] = {
      {"position 0", 0, 100, 0, {{5, kEmpty}, {100, kEmpty}, {195, kEmpty}}},
      {"half", 0, 100, 50, {{5, kFull}, {95, kFull}, {105, kEmpty}, {195, kEmpty}}},
      {"full", 0, 100, 100, {{5, kFull}, {195, kFull}}},
      {"upper limit 0", 0, 0, 0, {{5, kEmpty}, {195, kEmpty}}},
      // 75 of 100 fills three quarters, not half of the range 50..100.
      {"range above 0", 50, 100, 75, {{145, kFull}, {155, kEmpty}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.why);
    for (TProgressBar *bar : {across, up}) {
      bar->SetMin(c.min);
      bar->SetMax(c.max);
      bar->SetPosition(c.position);
      bar->Update();
    }
    Pump(30);
    for (const auto &[at, colour] : c.along) {
      EXPECT_EQ(At(across->Handle(), at, 10), colour) << "across at " << at;
      EXPECT_EQ(At(up->Handle(), 10, 199 - at), colour) << "up at " << at;
    }
  }
}

TEST_F(ControlTest, ChunkedProgressBarFillsWithWholeChunksInsideItsFrame) {
  constexpr COLORREF kChunk = RGB(230, 120, 20);
  skintest::SkinPackage skin = ControlSkin();
  skin.ini += "[Progress]\nBitmap=bar.bmp\nStyle=1\nLeftWidth=2\nTopHeight=2\nRightWidth=2\n"
              "BottomHeight=2\nTrans=0\n"
              "[Progress.Chunk]\nImage=chunk.bmp\nFrame=1\nTile=1\nTrans=0\n";
  skin.Add("bar.bmp", Solid(10, 10, kEmpty)).Add("chunk.bmp", Solid(6, 8, kChunk));
  UseSkin(skin);
  TForm *form = NewForm();
  auto *bar = Place<TProgressBar>(form, 10, 10, 200, 20);
  ShowSkinned(form);
  const struct {
    int position;
    std::vector<std::pair<POINT, COLORREF>> samples;
  } cases[] = {
      {0, {{{10, 10}, kEmpty}, {{100, 10}, kEmpty}}},
      // The chunks start two pixels in and sit in the middle of the bar's height.
      {50,
       {{{1, 10}, kEmpty},
        {{3, 10}, kChunk},
        {{90, 10}, kChunk},
        {{90, 4}, kEmpty},
        {{150, 10}, kEmpty}}},
      {100, {{{190, 10}, kChunk}, {{198, 10}, kEmpty}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.position);
    bar->SetPosition(c.position);
    bar->Update();
    Pump(30);
    for (const auto &[at, colour] : c.samples)
      EXPECT_EQ(At(bar->Handle(), at.x, at.y), colour) << at.x << "," << at.y;
  }
}

TEST_F(ControlTest, ProgressBarWithoutItsPicturePaintsItself) {
  TForm *form = NewForm();
  auto *bar = Place<TProgressBar>(form, 10, 10, 200, 20);
  bar->SetPosition(50);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(bar->Handle()));
  ASSERT_EQ(Data().Progress, nullptr);
  // The system's bar: its own fill colour, not the face the skin would start from.
  EXPECT_NE(At(bar->Handle(), 20, 10), At(bar->Handle(), 180, 10));
}

// ------------------------------------------------------------------ track bars

TEST_F(ControlTest, TrackBarThumbFollowsItsPositionOverTheSkinnedChannel) {
  UseSkin(BarSkin());
  TForm *form = NewForm(400, 320);
  auto *across = Place<TTrackBar>(form, 10, 10, 200, 45);
  auto *up = Place<TTrackBar>(form, 250, 10, 45, 200);
  up->SetOrientation(TTrackBarOrientation::trVertical);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(across->Handle()));
  const struct {
    TTrackBar *bar;
    COLORREF thumb, channel;
  } bars[] = {{across, kThumbFrames[1], kChannel}, {up, kThumbVertFrames[1], kChannelVert}};
  for (const auto &b : bars) {
    HWND h = b.bar->Handle();
    const bool vertical = b.bar == up;
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    RECT before{};
    for (int position : {0, 5, 10}) {
      SCOPED_TRACE(position);
      b.bar->SetPosition(position);
      b.bar->Update();
      Pump(30);
      const RECT t = ThumbRect(h);
      EXPECT_EQ(At(h, (t.left + t.right) / 2, (t.top + t.bottom) / 2), b.thumb);
      if (position > 0) {
        EXPECT_GT(vertical ? t.top : t.left, vertical ? before.top : before.left);
      }
      before = t;
      // The channel beyond the thumb.
      const RECT c = TrackChannel(h, vertical);
      const POINT free = position == 10 ? POINT{vertical ? (c.left + c.right) / 2 : c.left + 4,
                                                vertical ? c.top + 4 : (c.top + c.bottom) / 2}
                                        : POINT{vertical ? (c.left + c.right) / 2 : c.right - 4,
                                                vertical ? c.bottom - 4 : (c.top + c.bottom) / 2};
      EXPECT_EQ(At(h, free.x, free.y), b.channel);
    }
  }
  // The tick marks are still the control's: dark pixels under the horizontal channel.
  const RECT c = TrackChannel(across->Handle(), false);
  const RECT ticks{c.left, ThumbRect(across->Handle()).bottom, c.right, across->Height()};
  EXPECT_GT(Count(across->Handle(), ticks, [](COLORREF p) { return GetRValue(p) < 100; }), 5);
}

TEST_F(ControlTest, TrackBarDraggedByRealInputEndsWhereTheUnskinnedOneDoes) {
  UseSkin(BarSkin());
  TForm *form = NewForm(400, 320);
  auto *skinned = Place<TTrackBar>(form, 10, 10, 200, 45);
  auto *plain = Place<TTrackBar>(form, 10, 100, 200, 45);
  plain->SetTag(Data().DisableTag);
  int changes = 0;
  struct Counter {
    int *n;
    void Changed(TObject *) { ++*n; }
  } counter{&changes};
  skinned->OnChange = TNotifyEvent(&counter, &Counter::Changed);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(skinned->Handle()));
  ASSERT_FALSE(IsSkinned(plain->Handle()));
  for (int distance : {60, 23, -40}) {
    SCOPED_TRACE(distance);
    int ends[2];
    TTrackBar *bars[] = {skinned, plain};
    for (int i = 0; i < 2; ++i) {
      HWND h = bars[i]->Handle();
      const POINT from = ScreenCentre(h, ThumbRect(h));
      Drag(from, {from.x + distance, from.y});
      ends[i] = bars[i]->Position();
    }
    EXPECT_EQ(ends[0], ends[1]);
  }
  EXPECT_GT(skinned->Position(), 0);
  EXPECT_GT(changes, 0) << "the control still tells its owner";
}

// ------------------------------------------------------------------ status bars

TEST_F(ControlTest, StatusBarPanelsShowTheirBevelFramesAndTexts) {
  UseSkin(BarSkin());
  TForm *form = NewForm(400, 200);
  auto *bar = Place<TStatusBar>(form, 0, 0, 0, 0);
  const struct {
    TStatusPanelBevel bevel;
    const char *text;
    COLORREF frame;
  } panels[] = {{TStatusPanelBevel::pbLowered, "Lowered", kEdge[0]},
                {TStatusPanelBevel::pbRaised, "", kEdge[1]},
                {TStatusPanelBevel::pbNone, "Flat", kEdge[2]}};
  for (const auto &p : panels) {
    TStatusPanel *panel = bar->Panels()->Add();
    panel->SetWidth(110);
    panel->SetBevel(p.bevel);
    panel->SetText(p.text);
  }
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(bar->Handle()));
  HWND h = bar->Handle();
  auto red = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 60; };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    RECT r{};
    SendMessageA(h, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(At(h, r.right - 6, r.top + 2), panels[i].frame);
    const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (*panels[i].text != '\0')
      EXPECT_GT(Count(h, inner, red), 5) << "the text in the skin's text colour";
    else
      EXPECT_EQ(Count(h, inner, red), 0);
  }
}

TEST_F(ControlTest, StatusBarWithoutPanelsShowsItsSimpleTextInOneLoweredPanel) {
  UseSkin(BarSkin());
  TForm *form = NewForm(400, 200);
  auto *bar = Place<TStatusBar>(form, 0, 0, 0, 0);
  bar->SetSimpleText("Ready");
  bar->SetSizeGrip(false);
  ShowSkinned(form);
  HWND h = bar->Handle();
  RECT r{};
  GetClientRect(h, &r);
  EXPECT_EQ(At(h, r.right - 3, r.top + 2), kEdge[0]);
  EXPECT_EQ(At(h, r.right / 2, r.top + 2), kEdge[0]);
  auto red = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 60; };
  EXPECT_GT(Count(h, {0, 0, 80, r.bottom}, red), 5);
}

TEST_F(ControlTest, StatusBarSizeGripIsSkinnedAndStillSizesTheWindow) {
  UseSkin(BarSkin());
  TForm *form = NewForm(360, 240);
  auto *bar = Place<TStatusBar>(form, 0, 0, 0, 0);
  bar->Panels()->Add()->SetText("Grip");
  ShowSkinned(form);
  HWND h = bar->Handle();
  RECT r{};
  GetClientRect(h, &r);
  // The grip picture (frame 5 of the extra images, black) ends a pixel inside the corner.
  EXPECT_EQ(At(h, r.right - 3, r.bottom - 3), RGB(0, 0, 0));
  EXPECT_NE(At(h, r.right - 30, r.bottom - 3), RGB(0, 0, 0));

  RECT before{};
  GetWindowRect(form->Handle(), &before);
  POINT grip{r.right - 4, r.bottom - 4};
  ClientToScreen(h, &grip);
  DragThroughSizingLoop(grip, {grip.x + 40, grip.y + 30});
  RECT after{};
  GetWindowRect(form->Handle(), &after);
  EXPECT_EQ(after.right - before.right, 40);
  EXPECT_EQ(after.bottom - before.bottom, 30);
  EXPECT_EQ(after.left, before.left);
}

// ------------------------------------------------------------------ tool bars, grips, plain

TEST_F(ControlTest, CoolBarBandsTakeTheSkinsFace) {
  TForm *form = NewForm(400, 200);
  auto *bar = Place<TCoolBar>(form, 0, 0, 380, 40);
  TCoolBand *band = bar->Bands()->Add();
  band->SetText("Band");
  band->SetColor(RGB(255, 0, 0));
  Place<TButton>(form, 10, 100, 75, 25, "OK");
  ShowSkinned(form);
  EXPECT_EQ(band->Color(), Data().Colors[csButtonFace]);
  REBARBANDINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_COLORS;
  ASSERT_TRUE(SendMessageA(bar->Handle(), RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.clrBack, ColorToRGB(Data().Colors[csButtonFace]));
}

TEST_F(ControlTest, ToolBarBackgroundIsTheSkinsGradientTopToBottom) {
  TForm *form = NewForm(400, 200);
  Place<TButton>(form, 10, 100, 75, 25, "OK");
  ShowSkinned(form);
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  HWND tool =
      CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                      WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, 0,
                      0, 300, 40, form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(tool, nullptr);
  TWinSkinForm *skin = FindWinSkinForm(form->Handle());
  auto *object = new TSkinToolbar(nullptr);
  object->Inithwnd(tool, &Data(), &skin->ControlCanvas, skin);
  InvalidateRect(tool, nullptr, TRUE);
  UpdateWindow(tool);
  Pump(30);
  TBitmap &gradient = *Data().Toolbar->Image;
  auto close = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 8 && std::abs(GetBValue(a) - GetBValue(b)) <= 8;
  };
  const COLORREF top = skintest::Pixel(gradient, 5, 1), bottom = skintest::Pixel(gradient, 5, 38);
  ASSERT_FALSE(close(top, bottom)) << "the gradient runs from light to the caption's shade";
  EXPECT_TRUE(close(At(tool, 250, 1), top));
  EXPECT_TRUE(close(At(tool, 250, 38), bottom));
  EXPECT_TRUE(IsSkinned(tool));
  DestroyWindow(tool);
}

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

TEST_F(ControlTest, SizeBoxAndPlainWindowsAreFilledWithTheFace) {
  TForm *form = NewForm(400, 200);
  Place<TButton>(form, 10, 100, 75, 25, "OK");
  ShowSkinned(form);
  TWinSkinForm *skin = FindWinSkinForm(form->Handle());
  // A plain window whose class paints red, and a size box (no tab stop) as foreign dialogs have.
  static GdiBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = red.Get();
  wc.lpszClassName = "BarsTestPlain";
  RegisterClassA(&wc);
  HWND plain = CreateWindowExA(0, "BarsTestPlain", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 40,
                               form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND sizer =
      CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEGRIP, 100,
                      10, 20, 20, form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(plain);
  UpdateWindow(sizer);
  Pump(30);
  ASSERT_EQ(At(plain, 30, 20), RGB(255, 0, 0));
  const auto faceOnly = [](COLORREF c) { return c == kFace; };

  (new TSkinTransObj(nullptr))->Inithwnd(plain, &Data(), &skin->ControlCanvas, skin);
  skin->AddControlh(sizer);
  ASSERT_NE(dynamic_cast<TSkinSizer *>(skin->Lookupcontrol(sizer)), nullptr);
  UpdateWindow(plain);
  UpdateWindow(sizer);
  Pump(30);
  EXPECT_EQ(At(plain, 30, 20), kFace);
  EXPECT_EQ(Count(sizer, {0, 0, 20, 20}, faceOnly), 400);
  DestroyWindow(plain);
  DestroyWindow(sizer);
}

} // namespace
} // namespace skincontrols
