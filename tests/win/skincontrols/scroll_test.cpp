// Scroll bars and headers: the overlays lie over the real scroll bars, paint the skin's parts,
// and real input through them scrolls exactly as through the system's scroll bars.
#include "tests/win/skincontrols/controls_fixture.h"

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

  // The mouse over the down arrow makes it hot.
  SendMessageA(overlays[0], WM_MOUSEMOVE, 0, MAKELPARAM(w / 2, h - arrow / 2));
  Pump(30);
  EXPECT_EQ(At(overlays[0], w / 2, h - arrow / 2), ScrollColour(ArrowImage(3, 2)));
}

TEST_F(ControlTest, RealInputScrollsAsTheSystemScrollBarDoes) {
  auto run = [this](bool skinned) {
    SkinManager->Enabled = skinned;
    TForm *form = NewForm();
    TMemo *memo = ThousandLines(form);
    HWND m = memo->Handle();
    if (skinned) {
      ShowSkinned(form);
    } else {
      form->Show();
      SetForegroundWindow(form->Handle());
      Pump(300);
    }
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

TEST_F(ControlTest, ListViewHeaderTracksTheMouse) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  HWND window = CreateWindowExA(0, "#32770", "List", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND view = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300,
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
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(PumpUntil([header] { return IsSkinned(header); }));
  Pump(50);
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
  DestroyWindow(window);
}

} // namespace
} // namespace skincontrols
