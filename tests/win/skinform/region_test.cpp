// The window region: transparent (magenta) border pixels are cut out of the window, so that what
// lies behind shows and takes the clicks there; the region follows size and skin changes and
// nothing else.
#include "tests/win/skinform/skinform_fixture.h"

#include <string>

namespace skinform {
namespace {

constexpr COLORREF kBehind = RGB(0, 128, 128);
constexpr char kBackdropClass[] = "KestrovaRegionBackdrop";

LRESULT CALLBACK BackdropProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == CN_IsSkinned)
    return 1; // stays as it is
  return DefWindowProcA(window, msg, wParam, lParam);
}

// A plain window of one colour over the whole screen, behind everything the test shows.
HWND Backdrop() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = CreateSolidBrush(kBehind);
    wc.lpszClassName = kBackdropClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  HWND w = CreateWindowExA(WS_EX_NOACTIVATE, kBackdropClass, "", WS_POPUP, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
  return w;
}

COLORREF ScreenPixel(POINT p) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

bool OnScreen(POINT p) {
  return p.x >= 0 && p.y >= 0 && p.x < GetSystemMetrics(SM_CXSCREEN) &&
         p.y < GetSystemMetrics(SM_CYSCREEN);
}

int Builds(HWND w) {
  return FindWinSkinForm(w)->RegionBuilds;
}

class RegionTest : public SkinFormTest {
protected:
  skintest::SkinPackage Skin() const override { return CornerSkin(); }

  void SetUp() override {
    SkinFormTest::SetUp();
    backdrop_ = Backdrop();
    windows_.push_back(backdrop_);
  }

  // Whether the window point is part of the window: in its region, and (when on screen) showing
  // the window's own pixel and hit by the mouse there; otherwise showing and hitting what is
  // behind.
  void ExpectPart(HWND w, int x, int y, bool part, COLORREF own) {
    SCOPED_TRACE("window point (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, region), ERROR) << "the window has no region";
    EXPECT_EQ(PtInRegion(region, x, y) != FALSE, part);
    DeleteObject(region);
    const POINT p = ScreenPoint(w, x, y);
    if (!OnScreen(p))
      return;
    EXPECT_EQ(WindowFromPoint(p) == w, part) << "hit test";
    EXPECT_EQ(ScreenPixel(p), part ? own : kBehind) << "picture";
  }

  // The corners are cut exactly as the border pictures say; the pixels next to the cut stay.
  void ExpectCorners(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    const int W = r.right - r.left;
    struct Point {
      int x, y;
      bool part;
      COLORREF own;
    };
    const Point points[] = {
        {0, 0, false, 0},
        {3, 0, false, 0},
        {0, 3, false, 0},
        {2, 1, false, 0},
        {0, 4, true, kLeft[0]},
        {3, 1, true, kLeft[0]},
        {kLeftWidth, 0, true, kTop[0]}, // the top band is opaque
        {W - 1, 0, false, 0},
        {W - kRightWidth + 1, 0, false, 0},
        {W - 1, 3, false, 0},
        {W - 1, 4, true, kRight[0]},
        {W - kRightWidth, 0, true, kRight[0]},
        {W / 2, 10, true, kTop[0]},
    };
    for (const Point &p : points)
      ExpectPart(w, p.x, p.y, p.part, p.own);
  }

  HWND backdrop_ = nullptr;
  TMemoryStream stream_;
};

TEST_F(RegionTest, TransparentCornersAreCutThroughResizeMaximiseAndRestore) {
  HWND w = NewWindow();
  Pump(100);
  {
    SCOPED_TRACE("as shown");
    ExpectCorners(w);
  }
  SetWindowPos(w, nullptr, 0, 0, 460, 330, SWP_NOMOVE | SWP_NOZORDER);
  Pump(100);
  {
    SCOPED_TRACE("resized");
    ExpectCorners(w);
  }
  ShowWindow(w, SW_MAXIMIZE);
  Pump(100);
  {
    SCOPED_TRACE("maximised");
    RECT r{};
    GetWindowRect(w, &r);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.right, r.right - r.left) << "the region follows the maximised size";
    EXPECT_EQ(box.bottom, r.bottom - r.top);
    ExpectCorners(w);
  }
  ShowWindow(w, SW_RESTORE);
  Pump(100);
  {
    SCOPED_TRACE("restored");
    ExpectCorners(w);
  }
}

TEST_F(RegionTest, RegionIsRebuiltOnlyWhenTheSizeOrTheSkinChanges) {
  HWND w = NewWindow();
  EXPECT_EQ(Builds(w), 1) << "one region when skinned";

  // Painting, activation moving away and back, a frame change of the same size: no new region.
  for (int i = 0; i < 3; ++i)
    SendMessageA(w, WM_NCPAINT, 1, 0);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  HWND other = NewWindow();
  SetForegroundWindow(w);
  Pump(100);
  ASSERT_EQ(GetForegroundWindow(), w);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetWindowPos(w, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER); // a move
  Pump(50);
  EXPECT_EQ(Builds(w), 1) << "rebuilt without a size change";
  EXPECT_EQ(Builds(other), 1);

  // One region per size change.
  RECT r{};
  GetWindowRect(w, &r);
  for (int i = 1; i <= 5; ++i)
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 7 * i, r.bottom - r.top + 3 * i,
                 SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Builds(w), 6);
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 35, r.bottom - r.top + 15,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Builds(w), 6) << "the same size again";

  // A re-read skin makes one new region at the same size, which is still cut.
  TWinSkinForm *form = FindWinSkinForm(w);
  form->InitSkinData();
  form->SkinChange();
  EXPECT_EQ(Builds(w), 7);
  Pump(100);
  ExpectCorners(w);
}

TEST_F(RegionTest, OpaqueSkinAndUnskinningLeaveNoRegion) {
  HWND w = NewWindow();
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, probe), ERROR);

  // The same window under a skin whose borders are all opaque: the region goes.
  skintest::Fill(stream_, SolidSkin().Pack());
  data_->LoadFromStream(stream_);
  TWinSkinForm *form = FindWinSkinForm(w);
  form->InitSkinData();
  form->SkinChange();
  EXPECT_EQ(GetWindowRgn(w, probe), ERROR) << "opaque borders need no region";
  EXPECT_EQ(WindowFromPoint(ScreenPoint(w, 0, 0)), w);

  // Back to the cut corners, then unskinned: the window is whole again.
  skintest::Fill(stream_, CornerSkin().Pack());
  data_->LoadFromStream(stream_);
  form->InitSkinData();
  form->SkinChange();
  Pump(100);
  ExpectCorners(w);
  form->UnSubclass();
  delete form;
  Pump(50);
  EXPECT_EQ(GetWindowRgn(w, probe), ERROR) << "no region after unskinning";
  DeleteObject(probe);
}

TEST_F(SkinFormTest, OpaqueBordersGiveNoRegion) {
  HWND w = NewWindow();
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  const auto step = [&](const char *what) {
    SCOPED_TRACE(what);
    Pump(50);
    EXPECT_EQ(GetWindowRgn(w, probe), ERROR);
    EXPECT_EQ(FindWinSkinForm(w)->RegionBuilds, 0);
    EXPECT_FALSE(FindWinSkinForm(w)->HasRegion);
  };
  step("shown");
  SetWindowPos(w, nullptr, 0, 0, 500, 380, SWP_NOMOVE | SWP_NOZORDER);
  step("resized");
  ShowWindow(w, SW_MAXIMIZE);
  step("maximised");
  ShowWindow(w, SW_RESTORE);
  step("restored");
  DeleteObject(probe);
}

} // namespace
} // namespace skinform
