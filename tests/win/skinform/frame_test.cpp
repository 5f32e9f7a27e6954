// The skinned frame on screen: border sizes, border and caption pixels in the active and the
// inactive state, the caption text, and what is drawn before activation.
#include "tests/win/skinform/skinform_fixture.h"

namespace skinform {
namespace {

// Some pixel of the rectangle has exactly this colour.
bool Shows(TBitmap &shot, RECT r, COLORREF colour) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (skintest::Pixel(shot, x, y) == colour)
        return true;
  return false;
}

TEST_F(SkinFormTest, ClientAreaSitsInsideTheSkinsBorders) {
  HWND w = NewWindow();
  RECT window{}, client{};
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  EXPECT_EQ(window.right - window.left - client.right, kLeftWidth + kRightWidth);
  EXPECT_EQ(window.bottom - window.top - client.bottom, kTopHeight + kBottomHeight);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.x - window.left, kLeftWidth);
  EXPECT_EQ(origin.y - window.top, kTopHeight);
  EXPECT_EQ(SendMessageA(w, CN_IsSkinned, 0, 0), 1);
  EXPECT_EQ(SendMessageA(w, CN_QuerySignature, 0, SkinSignature), SkinSignature);
}

TEST_F(SkinFormTest, BordersCaptionAndButtonsShowTheActiveOrInactiveFrame) {
  HWND w = NewWindow();
  struct Case {
    BOOL active;
    int frame; // 0 active, 1 inactive
    COLORREF button;
    COLORREF text;
  };
  for (const Case c :
       {Case{TRUE, 0, kButton[0], kActiveText}, Case{FALSE, 1, kButton[3], kInactiveText},
        Case{TRUE, 0, kButton[0], kActiveText}}) {
    SCOPED_TRACE(c.active ? "active" : "inactive");
    SendMessageA(w, WM_NCACTIVATE, c.active, 0);
    Pump(20);
    auto shot = Snap(w);
    const int W = shot->Width(), H = shot->Height();
    EXPECT_EQ(At(*shot, 1, H / 2), kLeft[c.frame]);
    EXPECT_EQ(At(*shot, W - 2, H / 2), kRight[c.frame]);
    EXPECT_EQ(At(*shot, W / 2, H - 1), kBottom[c.frame]);
    EXPECT_EQ(At(*shot, W / 2, 1), kTop[c.frame]);
    EXPECT_EQ(At(*shot, 1, 1), kLeft[c.frame]); // the side borders run up through the band
    const POINT close = ButtonCentre(w, kCloseX);
    EXPECT_EQ(At(*shot, close.x, close.y), c.button);
    // The caption text, in the skin's colour, between the text shift and the buttons.
    EXPECT_TRUE(Shows(*shot, RECT{30, 4, W - kCustomX, kTopHeight}, c.text));
  }
}

TEST_F(SkinFormTest, ANewWindowTextKeepsTheSkinnedCaption) {
  HWND w = NewWindow();
  SetWindowTextA(w, "A much longer caption than before");
  auto shot = Snap(w);
  EXPECT_EQ(At(*shot, shot->Width() / 2, 1), kTop[0]);
  EXPECT_EQ(At(*shot, 1, 1), kLeft[0]);
  const POINT close = ButtonCentre(w, kCloseX);
  EXPECT_EQ(At(*shot, close.x, close.y), kButton[0]);
}

TEST_F(SkinFormTest, AButtonThatFailsItsVisibilityTestIsNeitherDrawnNorHit) {
  HWND w = NewWindow();
  auto shot = Snap(w);
  const POINT restore = ButtonCentre(w, kRestoreX); // shown only when maximised
  EXPECT_EQ(At(*shot, restore.x, restore.y), kTop[0]);
  const POINT max = ButtonCentre(w, kMaxX);
  EXPECT_EQ(At(*shot, max.x, max.y), kButton[0]);

  // The mouse does not find it: no hot button there, and a release there does nothing.
  TWinSkinForm *form = FindWinSkinForm(w);
  EXPECT_EQ(form->FindBtn(restore), nullptr);
  EXPECT_NE(form->FindBtn(max), nullptr);
  NCMouse(w, WM_NCMOUSEMOVE, restore.x, restore.y);
  EXPECT_EQ(form->HotObject, nullptr);
  NCMouse(w, WM_NCLBUTTONUP, restore.x, restore.y);
  Pump(100);
  EXPECT_FALSE(IsZoomed(w));

  // Codes 1000 to 2000 ask the window.
  const POINT ask = ButtonCentre(w, kAskX);
  EXPECT_EQ(At(*shot, ask.x, ask.y), kTop[0]);
  EXPECT_EQ(askedCode, static_cast<WPARAM>(kAskVisibility));
  EXPECT_EQ(askedAction, 43);
  EXPECT_EQ(form->FindBtn(ask), nullptr);
  visibleAnswer = 1;
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  auto again = Snap(w);
  EXPECT_EQ(At(*again, ask.x, ask.y), kButton[0]);
  EXPECT_NE(form->FindBtn(ask), nullptr);
}

TEST_F(SkinFormTest, AWindowWithoutCaptionKeepsItsClientArea) {
  HWND w = NewWindow(WS_POPUP | WS_BORDER);
  TWinSkinForm *form = FindWinSkinForm(w);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->BorderStyle, sbsNone);
  RECT window{}, client{};
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  EXPECT_EQ(window.right - window.left - client.right, 2); // the system's one-pixel border
}

TEST_F(SkinFormTest, NonClientPaintBeforeActivationIsSwallowed) {
  HWND w = CreateWindowExA(0, "KestrovaSkinFormTestWindow", "Pending", WS_OVERLAPPEDWINDOW, 80, 80,
                           300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  windows_.push_back(w);
  ASSERT_TRUE(SkinManager->AddForm(w)); // CN_SkinActive is posted, not yet handled
  TWinSkinForm *form = FindWinSkinForm(w);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->SkinState, 0);
  EXPECT_EQ(SendMessageA(w, WM_NCPAINT, 1, 0), 0);
  EXPECT_FALSE(SkinManager->AddForm(w)) << "a window is skinned once";
  EXPECT_TRUE(PumpUntil([w] { return Skinned(w); }));
}

} // namespace
} // namespace skinform
