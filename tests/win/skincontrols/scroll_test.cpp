// Scroll bars and headers: the overlays lie over the real scroll bars, paint the skin's parts,
// and real input through them scrolls exactly as through the system's scroll bars.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/listview.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass_scroll.h"

#include <commctrl.h>

namespace skincontrols {
namespace {

// The visible overlay windows among the children of parent.
std::vector<HWND> Overlays(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetTopWindow(parent); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::string(name) == "TWScrollbar" && IsWindowVisible(child))
      found.push_back(child);
  }
  return found;
}

RECT VerticalBar(HWND window) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(window, OBJID_VSCROLL, &info);
  return info.rcScrollBar;
}

int Position(HWND window) {
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window, SB_VERT, &si);
  return si.nPos;
}

// One mouse event; a position is absolute on the screen.
struct Event {
  DWORD flags;
  POINT at{-1, -1};
  int wheel = 0;
};

// The events in one batch: the system's scroll tracking, which starts at the press and runs
// until the release, finds the rest of the batch already queued.
void Send(std::initializer_list<Event> events) {
  const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
  std::vector<INPUT> inputs;
  for (const Event &e : events) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = e.flags;
    in.mi.mouseData = static_cast<DWORD>(e.wheel);
    if (e.at.x >= 0) {
      in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      in.mi.dx = MulDiv(e.at.x, 65535, w);
      in.mi.dy = MulDiv(e.at.y, 65535, h);
    }
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  ControlTest::Pump(150);
}

// Lets the left button go 700 ms from now (from another thread: this one is held in the
// system's tracking loop meanwhile).
DWORD WINAPI ReleaseLater(void *) {
  Sleep(700);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof(up));
  return 0;
}

void Click(POINT at) {
  Send({{MOUSEEVENTF_LEFTDOWN, at}, {MOUSEEVENTF_LEFTUP, at}});
}

// What a window shows at a point while the left button is held down on a scroll bar: the
// system's tracking loop dispatches this thread's timers, so a timer samples the picture and
// then lets the button go.
struct HeldSample {
  HWND window;
  POINT at;
  COLORREF colour = CLR_INVALID;
} held{};

void CALLBACK SampleThenRelease(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  held.colour = ControlTest::At(held.window, held.at.x, held.at.y);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof(up));
}

COLORREF WhileHeld(POINT press, HWND window, POINT sample) {
  held = {window, sample};
  SetTimer(nullptr, 0, 250, SampleThenRelease);
  Send({{MOUSEEVENTF_LEFTDOWN, press}});
  ControlTest::Pump(100);
  return held.colour;
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

// True when this thread's messages run out (false after thousands: something keeps making
// new ones, a paint loop for one).
bool QueueDrains() {
  MSG msg;
  for (int i = 0; i < 5000; ++i) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return false;
}

// A header follows a held button with the ordinary messages: press, look, let go away from the
// header, so that no column is clicked.
COLORREF WhileHeldHeader(HWND header, POINT at) {
  Send({{MOUSEEVENTF_LEFTDOWN, ScreenPoint(header, at.x, at.y)}});
  const COLORREF colour = ControlTest::At(header, at.x, at.y);
  Send({{0, ScreenPoint(header, at.x, 150)}, {MOUSEEVENTF_LEFTUP, ScreenPoint(header, at.x, 150)}});
  return colour;
}

TMemo *ThousandLines(TForm *form) {
  auto *memo = Place<TMemo>(form, 10, 10, 220, 150);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->SetWordWrap(false);
  std::string text;
  for (int i = 1; i <= 1000; ++i)
    text += "line " + std::to_string(i) + "\r\n";
  memo->SetText(text);
  return memo;
}

TEST_F(ControlTest, OverlayLiesOverTheScrollBarAndPaintsItsParts) {
  TForm *form = NewForm();
  TMemo *memo = ThousandLines(form);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(memo->Handle()));
  const std::vector<HWND> overlays = Overlays(form->Handle());
  ASSERT_EQ(overlays.size(), 1u) << "one overlay: the memo has no horizontal scroll bar";
  RECT overlay, bar = VerticalBar(memo->Handle());
  GetWindowRect(overlays[0], &overlay);
  EXPECT_TRUE(EqualRect(&overlay, &bar)) << "exactly over the scroll bar";

  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  std::unique_ptr<TBitmap> shot = Snap(overlays[0]);
  EXPECT_EQ(skintest::Pixel(*shot, w / 2, arrow / 2), ScrollColour(ArrowImage(2, 0))) << "up arrow";
  EXPECT_EQ(skintest::Pixel(*shot, w / 2, h - arrow / 2), ScrollColour(ArrowImage(3, 0)))
      << "down arrow";
  EXPECT_EQ(skintest::Pixel(*shot, 1, arrow + 1), kThumb[0]) << "the thumb at the top";
  EXPECT_EQ(skintest::Pixel(*shot, 1, h - arrow - 2), kTrack[0]) << "the track";

  // The mouse over the down arrow makes it hot; held down, it is pressed, and so is the thumb.
  SendMessageA(overlays[0], WM_MOUSEMOVE, 0, MAKELPARAM(w / 2, h - arrow / 2));
  Pump(30);
  EXPECT_EQ(At(overlays[0], w / 2, h - arrow / 2), ScrollColour(ArrowImage(3, 2)));
  const POINT downArrow{w / 2, h - arrow / 2};
  EXPECT_EQ(WhileHeld(ScreenPoint(overlays[0], downArrow.x, downArrow.y), overlays[0], downArrow),
            ScrollColour(ArrowImage(3, 1)))
      << "held down arrow";
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info);
  const POINT thumbEdge{1, info.xyThumbTop + 1};
  EXPECT_EQ(WhileHeld(ScreenPoint(overlays[0], w / 2, info.xyThumbTop + 2), overlays[0], thumbEdge),
            kThumb[1])
      << "held thumb";
  Pump(50);
  EXPECT_EQ(At(overlays[0], thumbEdge.x, thumbEdge.y), kThumb[2]) << "let go, the thumb is hot";
}

// A memo whose lines fit keeps its scroll bar, disabled.
TEST_F(ControlTest, DisabledScrollBarShowsItsTrackAndNoThumb) {
  TForm *form = NewForm();
  auto *memo = Place<TMemo>(form, 10, 10, 220, 150);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->SetText("one line");
  ShowSkinned(form);
  const std::vector<HWND> overlays = Overlays(form->Handle());
  ASSERT_EQ(overlays.size(), 1u);
  const RECT bar = VerticalBar(memo->Handle());
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  std::unique_ptr<TBitmap> shot = Snap(overlays[0]);
  EXPECT_EQ(skintest::Pixel(*shot, 1, arrow + 1), kTrack[2]) << "disabled track, no thumb";
  EXPECT_EQ(skintest::Pixel(*shot, w / 2, h / 2), kTrack[2]) << "no grip";
  EXPECT_EQ(skintest::Pixel(*shot, w / 2, arrow / 2), ScrollColour(ArrowImage(2, 0)));
}

// A scroll-bar control: one overlay over the whole control, the skin's picture stretched to its
// thickness, the thumb where the position is, and presses scrolling as on the system's control.
TEST_F(ControlTest, ScrollBarControlIsCoveredAndScrollsAsTheSystemOne) {
  constexpr int kWidth = 24, kHeight = 170;
  auto make = [this](bool skinned) {
    SkinManager->Enabled = skinned;
    ParkMouse();
    TForm *form = NewForm();
    auto *bar = Place<TScrollBar>(form, 300, 20, kWidth, kHeight);
    bar->SetKind(TScrollBarKind::sbVertical); // turns the control: give it its size again
    bar->SetBounds(300, 20, kWidth, kHeight);
    bar->SetParams(0, 0, 100);
    bar->SetPageSize(20); // a thumb longer than its grip
    bar->SetLargeChange(10);
    Show(form, skinned);
    return bar;
  };
  auto operate = [](TScrollBar *bar) {
    RECT r;
    GetWindowRect(bar->Handle(), &r);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), x = (r.left + r.right) / 2;
    std::vector<int> positions;
    for (int i = 0; i < 3; ++i)
      Click({x, r.bottom - arrow / 2});
    positions.push_back(GetScrollPos(bar->Handle(), SB_CTL));
    Click({x, r.bottom - arrow - 4});
    positions.push_back(GetScrollPos(bar->Handle(), SB_CTL));
    Click({x, r.top + arrow / 2});
    positions.push_back(GetScrollPos(bar->Handle(), SB_CTL));
    return positions;
  };

  TScrollBar *plainBar = make(false);
  const std::vector<int> plain = operate(plainBar);
  plainBar->ParentForm()->Hide();
  TScrollBar *bar = make(true);
  ASSERT_TRUE(IsSkinned(bar->Handle()));
  const std::vector<HWND> overlays = Overlays(bar->ParentForm()->Handle());
  ASSERT_EQ(overlays.size(), 1u);
  RECT overlay, control;
  GetWindowRect(overlays[0], &overlay);
  GetWindowRect(bar->Handle(), &control);
  EXPECT_TRUE(EqualRect(&overlay, &control)) << "the overlay covers the control";
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  std::unique_ptr<TBitmap> shot = Snap(overlays[0]);
  for (int x : {0, kWidth / 2, kWidth - 1})
    EXPECT_EQ(skintest::Pixel(*shot, x, arrow / 2), ScrollColour(ArrowImage(2, 0)))
        << "the up arrow across the control's whole thickness, x " << x;
  EXPECT_EQ(skintest::Pixel(*shot, 1, arrow + 1), kThumb[0]) << "the thumb at the top";
  bar->SetPosition(100);
  Pump(50);
  shot = Snap(overlays[0]);
  EXPECT_EQ(skintest::Pixel(*shot, 1, arrow + 1), kTrack[0]) << "the thumb has left the top";
  EXPECT_EQ(skintest::Pixel(*shot, 1, kHeight - arrow - 2), kThumb[0]) << "...for the bottom";
  bar->SetPosition(0);
  Pump(50);

  const std::vector<int> skinned = operate(bar);
  EXPECT_EQ(plain, (std::vector<int>{3, 13, 12})) << "three lines, a page, a line back";
  EXPECT_EQ(skinned, plain);
}

TEST_F(ControlTest, RealInputScrollsAsTheSystemScrollBarDoes) {
  auto run = [this](bool skinned) {
    SkinManager->Enabled = skinned;
    TForm *form = NewForm();
    TMemo *memo = ThousandLines(form);
    HWND m = memo->Handle();
    Show(form, skinned);
    EXPECT_EQ(IsSkinned(m), skinned);
    const RECT bar = VerticalBar(m);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), x = (bar.left + bar.right) / 2;
    std::vector<int> positions;
    // Three clicks on the down arrow.
    for (int i = 0; i < 3; ++i)
      Click({x, bar.bottom - arrow / 2});
    positions.push_back(Position(m));
    // A click in the track below the thumb: a page down.
    Click({x, bar.bottom - arrow - 4});
    positions.push_back(Position(m));
    // Two notches of the wheel up, over the memo.
    RECT r;
    GetWindowRect(m, &r);
    const POINT inside{r.left + 40, r.top + 40};
    Send({{MOUSEEVENTF_WHEEL, inside, WHEEL_DELTA}});
    Send({{MOUSEEVENTF_WHEEL, inside, WHEEL_DELTA}});
    positions.push_back(Position(m));
    // The thumb dragged to the end.
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(m, OBJID_VSCROLL, &info);
    const int grip = bar.top + (info.xyThumbTop + info.xyThumbBottom) / 2;
    Send({{MOUSEEVENTF_LEFTDOWN, {x, grip}},
          {0, {x, grip + 20}},
          {0, {x, (grip + bar.bottom) / 2}},
          {0, {x, bar.bottom + 20}},
          {MOUSEEVENTF_LEFTUP, {x, bar.bottom + 20}}});
    positions.push_back(Position(m));
    // The up arrow held: the system repeats the line steps until the release, which a thread
    // sends a while after the press.
    const int before = Position(m);
    HANDLE release = CreateThread(nullptr, 0, ReleaseLater, nullptr, 0, nullptr);
    Send({{MOUSEEVENTF_LEFTDOWN, {x, bar.top + arrow / 2}}});
    WaitForSingleObject(release, 3000);
    CloseHandle(release);
    Pump(150);
    EXPECT_LT(Position(m), before - 2) << "held up arrow, skinned " << skinned;
    form->Hide();
    Pump(50);
    return positions;
  };
  const std::vector<int> plain = run(false);
  const std::vector<int> skinned = run(true);
  ASSERT_EQ(plain.size(), 4u);
  EXPECT_EQ(plain[0], 3) << "three line steps";
  EXPECT_GT(plain[1], plain[0] + 1) << "a page";
  EXPECT_LT(plain[2], plain[1]) << "the wheel scrolls back";
  EXPECT_GT(plain[3], 900) << "the thumb dragged to the end";
  EXPECT_EQ(skinned, plain);
}

TEST_F(ControlTest, ListBoxScrollBarComesWithOverflowAndGoesWhenCleared) {
  TForm *form = NewForm();
  auto *list = Place<TListBox>(form, 10, 10, 150, 80);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(list->Handle()));
  EXPECT_TRUE(Overlays(form->Handle()).empty()) << "no scroll bar while the items fit";
  int added = 0;
  while (Overlays(form->Handle()).empty() && added < 30) {
    list->Items()->Add("item " + std::to_string(++added));
    Pump(20);
  }
  EXPECT_LT(added, 30) << "the overlay never came";
  EXPECT_GT(added, 3) << "it came before the list overflowed";
  list->Clear();
  Pump(50);
  EXPECT_TRUE(Overlays(form->Handle()).empty()) << "the overlay stayed after clearing";
}

// A list view of a foreign window, turned to its report view once skinned (as a file dialog's
// "Details" does).
TEST_F(ControlTest, ListViewHeaderTracksTheMouse) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  HWND window = CreateWindowExA(0, "#32770", "List", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND view = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_LIST, 10, 10, 300,
                              200, window, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    char text[] = "Column";
    column.pszText = text;
    SendMessageA(view, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&column));
  }
  for (int i = 0; i < 60; ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    char text[] = "row";
    item.pszText = text;
    SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  ASSERT_TRUE(PumpUntil([view] { return IsSkinned(view); }));
  SetWindowLongPtrA(view, GWL_STYLE,
                    (GetWindowLongPtrA(view, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(PumpUntil([header] { return IsSkinned(header); }));
  Pump(50);
  EXPECT_EQ(Overlays(window).size(), 1u) << "the rows overflow: a skinned scroll bar";
  EXPECT_EQ(At(header, 50, 3), kHeader[0]);
  EXPECT_EQ(At(header, 150, 3), kHeader[0]);
  EXPECT_EQ(At(header, 250, 3), kHeader[0]) << "beyond the last column";
  SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
  Pump(30);
  EXPECT_EQ(At(header, 150, 3), kHeader[1]) << "the column under the mouse is hot";
  EXPECT_EQ(At(header, 50, 3), kHeader[0]);
  SendMessageA(header, WM_MOUSELEAVE, 0, 0);
  Pump(30);
  EXPECT_EQ(At(header, 150, 3), kHeader[0]);

  // Columns wider than the view: a second scroll bar, and the window comes to rest.
  SendMessageA(view, LVM_SETCOLUMNWIDTH, 1, 400);
  EXPECT_TRUE(QueueDrains()) << "the overlays and the list keep repainting each other";
  EXPECT_EQ(Overlays(window).size(), 2u);
  DestroyWindow(window);
}

// A list view in report view: its rows, its scroll bar and a header whose column clicks sort as
// on the unskinned list, with the pressed column shown while the button is down.
TEST_F(ControlTest, ListViewHeaderPressesAndSortsAsTheUnskinnedOne) {
  auto run = [this](bool skinned) {
    SkinManager->Enabled = skinned;
    TForm *form = NewForm();
    auto *list = Place<TListView>(form, 10, 10, 300, 200);
    list->SetViewStyle(TViewStyle::vsReport);
    list->AddColumn("Name", 120);
    list->AddColumn("Size", 80);
    for (int i = 0; i < 40; ++i)
      list->AddItem({"file" + std::to_string((i * 7) % 40), std::to_string((i * 13) % 17)});
    int lastColumn = -1;
    bool ascending = true;
    list->OnColumnClick = [&](TCustomListView *sender, int column) {
      ascending = column == lastColumn ? !ascending : true;
      lastColumn = column;
      sender->SortByColumn(column, ascending);
    };
    Show(form, skinned);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(IsSkinned(list->Handle()), skinned);
    EXPECT_EQ(IsSkinned(header), skinned);
    EXPECT_EQ(Overlays(form->Handle()).size(), skinned ? 1u : 0u) << "the rows overflow";
    if (skinned) {
      // Held down on the first column: pressed; the second stays normal.
      EXPECT_EQ(WhileHeldHeader(header, {60, 8}), kHeader[2]) << "pressed column";
      EXPECT_EQ(At(header, 160, 3), kHeader[0]);
    }
    // Clicks: Size, Size again (descending), Name.
    std::vector<std::string> orders;
    for (int x : {160, 160, 60}) {
      Pump(static_cast<int>(GetDoubleClickTime()) + 50); // clicks, not a double click
      const POINT at = ScreenPoint(header, x, 8);
      Send({{MOUSEEVENTF_LEFTDOWN, at}, {MOUSEEVENTF_LEFTUP, at}});
      std::string order;
      for (int row = 0; row < 5; ++row) {
        char text[32] = {};
        ListView_GetItemText(list->Handle(), row, 0, text, sizeof text);
        order += std::string(text) + " ";
      }
      orders.push_back(order);
    }
    form->Hide();
    Pump(50);
    return orders;
  };
  const std::vector<std::string> plain = run(false);
  const std::vector<std::string> skinned = run(true);
  ASSERT_EQ(plain.size(), 3u);
  EXPECT_NE(plain[0], plain[1]) << "a second click reverses the order";
  EXPECT_EQ(plain[2], "file0 file1 file10 file11 file12 ");
  EXPECT_EQ(skinned, plain);
}

TEST_F(ControlTest, ListViewWithoutColumnHeadersGetsNoHeaderPainter) {
  TForm *form = NewForm();
  auto *list = Place<TListView>(form, 10, 10, 300, 200);
  list->SetViewStyle(TViewStyle::vsReport);
  list->SetShowColumnHeaders(false);
  list->AddColumn("Name", 120);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(list->Handle()));
  HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
  if (header != nullptr) {
    EXPECT_FALSE(IsSkinned(header));
  }
}

} // namespace
} // namespace skincontrols
