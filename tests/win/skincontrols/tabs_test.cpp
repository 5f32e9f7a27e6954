// Tabs on every side drawn from the skin's tab strip, flipped and turned; scroll arrows that
// stay visible and scroll; close boxes that ask the form; button-like tabs and tab sets.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass_tab.h"

#include <commctrl.h>

namespace skincontrols {
namespace {

using skintest::Bmp24;
using skintest::Solid;

// Tab frames 1 to 5 (normal, selected, ...), each with an outer band of kTabEdge: its top three
// rows, where the tab points away from the page.
constexpr COLORREF kTab[] = {RGB(180, 200, 160), RGB(250, 250, 210), RGB(160, 160, 230),
                             RGB(140, 140, 140), RGB(230, 180, 180)};
constexpr COLORREF kTabEdge = RGB(20, 40, 160);
constexpr COLORREF kPane = RGB(120, 60, 120);
constexpr int kTabFrame = 20;

skintest::SkinPackage TabSkin() {
  skintest::SkinPackage p = ControlSkin();
  p.ini += "[Tabs]\nImage=tabs.bmp\nStyle=1\nLeftWidth=2\nTopHeight=3\nRightWidth=2\n"
           "BottomHeight=2\nTrans=0\n"
           "[Tab.Pane]\nImage=pane.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n";
  p.Add("tabs.bmp", Bmp24(kTabFrame * 5, kTabFrame,
                          [](int x, int y) { return y < 3 ? kTabEdge : kTab[x / kTabFrame]; }))
      .Add("pane.bmp", Solid(12, 12, kPane));
  return p;
}

RECT ItemRect(HWND tabs, int index) {
  RECT t{};
  SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&t));
  return t;
}

void ClickAt(HWND window, POINT p) {
  ClientToScreen(window, &p);
  const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in[3] = {};
  const DWORD flags[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[i].mi.dx = MulDiv(p.x, 65535, w);
    in[i].mi.dy = MulDiv(p.y, 65535, h);
  }
  SendInput(3, in, sizeof(INPUT));
  ControlTest::Pump(150);
}

TEST_F(ControlTest, PageControlTabsOnEverySideAreTheSkinsStripFlippedOrTurned) {
  UseSkin(TabSkin());
  TForm *form = NewForm(620, 440);
  struct Side {
    TTabPosition position;
    int x, y;
    TPageControl *pages = nullptr;
  } sides[] = {{TTabPosition::tpTop, 10, 10},
               {TTabPosition::tpBottom, 310, 10},
               {TTabPosition::tpLeft, 10, 210},
               {TTabPosition::tpRight, 310, 210}};
  for (Side &side : sides) {
    side.pages = Place<TPageControl>(form, side.x, side.y, 280, 180);
    side.pages->SetTabPosition(side.position);
    for (const char *caption : {"One", "Two", "Three"}) {
      auto *sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(side.pages);
    }
  }
  ShowSkinned(form);
  for (const Side &side : sides) {
    HWND h = side.pages->Handle();
    SCOPED_TRACE(static_cast<int>(side.position));
    ASSERT_TRUE(IsSkinned(h));
    ASSERT_TRUE(IsSkinned(side.pages->Pages(0)->Handle()));
    for (int i : {0, 1}) {
      SCOPED_TRACE(i);
      const RECT t = ItemRect(h, i);
      const int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
      // The selected tab is frame 2, the other frame 1 (beside the text, which runs along the
      // tab); its outer band faces away from the page.
      const bool upright =
          side.position == TTabPosition::tpLeft || side.position == TTabPosition::tpRight;
      const POINT body = upright ? POINT{cx, t.top + 4} : POINT{t.left + 4, cy};
      EXPECT_EQ(At(h, body.x, body.y), kTab[i == 0 ? 1 : 0]);
      POINT outer{};
      switch (side.position) {
      case TTabPosition::tpTop:
        outer = {cx, t.top + 2};
        break;
      case TTabPosition::tpBottom:
        outer = {cx, t.bottom - 3};
        break;
      case TTabPosition::tpLeft:
        outer = {t.left + 1, cy};
        break;
      case TTabPosition::tpRight:
        outer = {t.right - 3, cy};
        break;
      }
      EXPECT_EQ(At(h, outer.x, outer.y), kTabEdge);
    }
    // The page frame round the page, and the page in the face colour.
    const RECT d = side.pages->DisplayRect();
    EXPECT_EQ(At(h, d.left - 2, (d.top + d.bottom) / 2), kPane);
    EXPECT_EQ(At(h, (d.left + d.right) / 2, d.bottom + 1), kPane);
    EXPECT_EQ(At(side.pages->Pages(0)->Handle(), 20, 20), kFace);
  }
}

TEST_F(ControlTest, TabControlWithMoreTabsThanFitKeepsItsArrowsAndScrolls) {
  UseSkin(TabSkin());
  TForm *form = NewForm(400, 240);
  Place<TButton>(form, 10, 200, 75, 25, "OK");
  ShowSkinned(form);
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  HWND tabs =
      CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 220,
                      120, form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < 12; ++i) {
    std::string text = "Tab " + std::to_string(i);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  UpdateWindow(tabs);
  HWND arrows = FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_TRUE(IsWindowVisible(arrows));

  TWinSkinForm *skin = FindWinSkinForm(form->Handle());
  skin->AddControlh(tabs);
  ASSERT_NE(dynamic_cast<TSkinTab *>(skin->Lookupcontrol(tabs)), nullptr);
  EXPECT_TRUE(IsSkinned(arrows)) << "the arrows are skinned as an up-down";
  InvalidateRect(tabs, nullptr, TRUE);
  UpdateWindow(tabs);
  Pump(50);

  // The strip is skinned, and the arrows still show over it as they draw themselves.
  const RECT first = ItemRect(tabs, 0);
  EXPECT_EQ(At(tabs, (first.left + first.right) / 2, (first.top + first.bottom) / 2), kTab[1]);
  RECT a{};
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT *>(&a), 2);
  for (POINT p : {POINT{a.left + 4, a.top + 4}, POINT{a.right - 4, a.bottom - 4}})
    EXPECT_EQ(At(tabs, p.x, p.y), At(arrows, p.x - a.left, p.y - a.top));

  // The right arrow scrolls the tabs one to the left.
  ClickAt(tabs, {a.right - 4, (a.top + a.bottom) / 2});
  const RECT scrolled = ItemRect(tabs, 1);
  EXPECT_LE(scrolled.left, first.left + 2) << "tab 1 moved to where tab 0 was";
  EXPECT_EQ(At(tabs, (scrolled.left + scrolled.right) / 2, (scrolled.top + scrolled.bottom) / 2),
            kTab[0]);
  EXPECT_TRUE(IsWindowVisible(arrows));
  DestroyWindow(tabs);
}

// The form's answer to a close box: keep the page whose index is `keep`.
struct CloseHost {
  TWndMethod next;
  int keep = -1;
  std::vector<std::pair<HWND, int>> asked;
  void Proc(TMessage &m) {
    if (m.Msg == CN_TabClose) {
      asked.emplace_back(reinterpret_cast<HWND>(m.WParam), static_cast<int>(m.LParam));
      m.Result = static_cast<int>(m.LParam) == keep ? 1 : 0;
      return;
    }
    next(m);
  }
};

TEST_F(ControlTest, CloseBoxesFreeThePageUnlessTheFormRefuses) {
  UseSkin(TabSkin());
  TForm *form = NewForm(620, 260);
  TPageControl *top = Place<TPageControl>(form, 10, 10, 280, 180);
  TPageControl *bottom = Place<TPageControl>(form, 310, 10, 280, 180);
  bottom->SetTabPosition(TTabPosition::tpBottom);
  for (TPageControl *pages : {top, bottom}) {
    pages->SetTag(kCloseBoxTag);
    for (const char *caption : {"Alpha", "Beta", "Gamma"}) {
      auto *sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
    }
  }
  ShowSkinned(form);
  CloseHost host;
  host.next = form->WindowProc;
  form->WindowProc = TWndMethod(&host, &CloseHost::Proc);
  host.keep = 1;

  HWND h = top->Handle();
  auto box = [h](int index) {
    const RECT t = ItemRect(h, index);
    return POINT{t.right - 5, t.top + 6};
  };
  auto dark = [](COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60; };
  EXPECT_TRUE(dark(At(h, box(2).x - 3, box(2).y - 3))) << "the crossed box's corner";
  ClickAt(h, box(1)); // refused
  EXPECT_EQ(top->PageCount(), 3);
  ClickAt(h, box(2));
  ASSERT_EQ(top->PageCount(), 2);
  EXPECT_EQ(top->Pages(1)->Caption(), "Beta");
  ASSERT_EQ(host.asked.size(), 2u);
  EXPECT_EQ(host.asked[0], std::make_pair(h, 1));
  EXPECT_EQ(host.asked[1], std::make_pair(h, 2));

  // Tabs at the bottom have no boxes: the same spot only selects the tab.
  HWND b = bottom->Handle();
  const RECT t = ItemRect(b, 2);
  ClickAt(b, {t.right - 5, t.bottom - 6});
  EXPECT_EQ(bottom->PageCount(), 3);
  EXPECT_EQ(bottom->ActivePageIndex(), 2);
  EXPECT_EQ(host.asked.size(), 2u);
  form->WindowProc = host.next;
}

TEST_F(ControlTest, ButtonTabsAndTabSetsDrawTheirSelectedTabInTheSecondFrame) {
  UseSkin(TabSkin());
  TForm *form = NewForm(400, 260);
  TPageControl *buttons = Place<TPageControl>(form, 10, 10, 300, 120);
  buttons->SetStyle(TTabStyle::tsButtons);
  for (const char *caption : {"Left", "Right"}) {
    auto *sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(buttons);
  }
  TTabSet *set = Place<TTabSet>(form, 10, 160, 300, 24);
  for (const char *caption : {"First", "Second", "Third"})
    set->Tabs()->Add(caption);
  set->SetTabIndex(1);
  set->TabsChanged();
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(buttons->Handle()));
  ASSERT_TRUE(IsSkinned(set->Handle()));

  for (int i : {0, 1}) {
    SCOPED_TRACE(i);
    const RECT t = ItemRect(buttons->Handle(), i);
    EXPECT_EQ(At(buttons->Handle(), t.left + 3, (t.top + t.bottom) / 2), kButton[i == 0 ? 1 : 0]);
  }
  const std::vector<RECT> tabs = set->VisibleTabs();
  ASSERT_EQ(tabs.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    // Hanging tabs: the strip upside down, its outer band at the bottom.
    EXPECT_EQ(At(set->Handle(), tabs[i].left + 3, 4), kTab[i == 1 ? 1 : 0]);
    EXPECT_EQ(At(set->Handle(), tabs[i].left + 3, tabs[i].bottom - 2), kTabEdge);
  }
}

} // namespace
} // namespace skincontrols
