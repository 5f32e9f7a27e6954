// Popup menus shown for real: keys are posted to the menu window from a timer that fires inside
// the menu's own modal loop, so every test drives the system menu the way a user would.
#include "framework/core/formreader.h"
#include "framework/gui/bitmap.h"
#include "framework/gui/imglist.h"
#include "framework/gui/menus.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// ----------------------------------------------------------------- driving a tracked menu

BOOL CALLBACK FindVisibleMenu(HWND window, LPARAM out) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32768" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND *>(out) = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMenuWindow() {
  HWND found = nullptr;
  EnumWindows(FindVisibleMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

using Step = std::function<void(HWND menuWindow)>;

struct Driver {
  std::vector<Step> steps;
  size_t next = 0;
  int idleTicks = 0;
  bool menuSeen = false;
  bool forcedClose = false; // the steps left the menu open and the driver had to end it
};
Driver *driver = nullptr;

// One step per tick once the menu window is up. After the last step the menu must close by
// itself; if it does not within two seconds the driver ends it, so a failing test cannot hang.
void CALLBACK DriverTick(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = VisibleMenuWindow();
  if (menu != nullptr)
    driver->menuSeen = true;
  if (driver->next < driver->steps.size()) {
    if (menu != nullptr) {
      driver->steps[driver->next++](menu);
    } else if (++driver->idleTicks > 100) {
      KillTimer(nullptr, timer);
    }
    return;
  }
  if (menu != nullptr && ++driver->idleTicks > 100) {
    driver->forcedClose = true;
    KillTimer(nullptr, timer);
    EndMenu();
  }
}

// Shows the popup and runs the steps while it is tracked; returns what the driver saw.
Driver PopupWith(TPopupMenu &popup, std::vector<Step> steps) {
  Driver d;
  d.steps = std::move(steps);
  driver = &d;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, DriverTick);
  popup.Popup(120, 80);
  KillTimer(nullptr, timer);
  driver = nullptr;
  // Keys a closed menu did not take must not reach the next test.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  return d;
}

Step Key(WPARAM key) {
  return [key](HWND menu) { PostMessageA(menu, WM_KEYDOWN, key, 1); };
}

std::vector<Step> Keys(std::initializer_list<WPARAM> keys) {
  std::vector<Step> steps;
  for (WPARAM key : keys)
    steps.push_back(Key(key));
  return steps;
}

// ----------------------------------------------------------------- a menu to drive

// Records every click with what the world looked like at that moment.
struct Recorder {
  TPopupMenu *popup = nullptr;
  std::vector<std::string> clicked;
  bool clickedWhileMenuOpen = false;
  int popups = 0;

  void Clicked(TObject *sender) {
    clicked.push_back(static_cast<TMenuItem *>(sender)->Caption);
    if (VisibleMenuWindow() != nullptr || popup->Handle() != nullptr)
      clickedWhileMenuOpen = true;
  }
  void Popped(TObject *) { ++popups; }
};

TMenuItem *AddItem(TMenuItem *parent, const std::string &caption, Recorder &recorder) {
  auto *item = new TMenuItem(nullptr);
  item->Caption = caption;
  item->SetTag(7); // the same tag everywhere: commands must not come from it
  item->OnClick = TNotifyEvent(&recorder, &Recorder::Clicked);
  parent->Add(item);
  return item;
}

// &Open, Disabled, -, Checked (ALT+F4), [Hidden], Sub > S1, S2
struct SampleMenu {
  Recorder recorder;
  std::unique_ptr<TPopupMenu> popup = std::make_unique<TPopupMenu>(nullptr);
  TMenuItem *open, *disabled, *line, *checked, *hidden, *sub, *s1, *s2;

  SampleMenu() {
    recorder.popup = popup.get();
    popup->OnPopup = TNotifyEvent(&recorder, &Recorder::Popped);
    TMenuItem *root = popup->Items();
    open = AddItem(root, "&Open", recorder);
    disabled = AddItem(root, "Disabled", recorder);
    disabled->Enabled = false;
    line = AddItem(root, "-", recorder);
    checked = AddItem(root, "Checked", recorder);
    checked->Checked = true;
    checked->ShortCutText = "ALT+F4";
    hidden = AddItem(root, "Hidden", recorder);
    hidden->Visible = false;
    sub = AddItem(root, "Sub", recorder);
    s1 = AddItem(sub, "S1", recorder);
    s2 = AddItem(sub, "S2", recorder);
  }
};

// ----------------------------------------------------------------- tracking

TEST(PopupMenu, CancelledMenuReturnsWithoutAClickAndFreesItsMenu) {
  const std::vector<std::pair<const char *, Step>> cancels = {
      {"Escape", Key(VK_ESCAPE)},
      {"EndMenu", [](HWND) { EndMenu(); }},
      {"Escape after moving into a submenu",
       [](HWND menu) {
         for (WPARAM key : {VK_UP, VK_RIGHT, VK_ESCAPE, VK_ESCAPE})
           PostMessageA(menu, WM_KEYDOWN, key, 1);
       }},
  };
  for (const auto &[name, cancel] : cancels) {
    SCOPED_TRACE(name);
    SampleMenu m;
    HMENU tracked = nullptr;
    Driver d = PopupWith(*m.popup, {[&](HWND menu) {
      tracked = m.popup->Handle();
      cancel(menu);
    }});
    EXPECT_TRUE(d.menuSeen);
    EXPECT_FALSE(d.forcedClose);
    EXPECT_EQ(m.recorder.popups, 1);
    EXPECT_TRUE(m.recorder.clicked.empty());
    ASSERT_NE(tracked, nullptr);
    EXPECT_FALSE(IsMenu(tracked)) << "the system menu outlived the popup";
    EXPECT_EQ(m.popup->Handle(), nullptr);
    EXPECT_EQ(m.sub->Handle(), nullptr);
    EXPECT_EQ(VisibleMenuWindow(), nullptr);
  }
}

TEST(PopupMenu, ChosenItemAloneIsClickedAfterTheMenuClosed) {
  const struct {
    std::vector<WPARAM> keys;
    const char *expected;
  } cases[] = {
      {{VK_DOWN, VK_RETURN}, "&Open"},
      // The separator is stepped over.
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "Checked"},
      {{VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, "S2"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.expected);
    SampleMenu m;
    std::vector<Step> steps;
    for (WPARAM key : c.keys)
      steps.push_back(Key(key));
    Driver d = PopupWith(*m.popup, steps);
    EXPECT_TRUE(d.menuSeen);
    EXPECT_FALSE(d.forcedClose);
    EXPECT_EQ(m.recorder.clicked, std::vector<std::string>{c.expected});
    EXPECT_FALSE(m.recorder.clickedWhileMenuOpen);
  }
}

TEST(PopupMenu, DisabledItemsCannotBeChosen) {
  Recorder recorder;
  TPopupMenu popup(nullptr);
  recorder.popup = &popup;
  for (const char *caption : {"First", "-", "Second"})
    AddItem(popup.Items(), caption, recorder)->Enabled = false;
  Driver d = PopupWith(popup, Keys({VK_DOWN, VK_RETURN, VK_DOWN, VK_RETURN, VK_ESCAPE}));
  EXPECT_TRUE(d.menuSeen);
  EXPECT_FALSE(d.forcedClose);
  EXPECT_TRUE(recorder.clicked.empty());
}

TEST(PopupMenu, FreeingTheMenuWhileItIsShownEndsIt) {
  SampleMenu m;
  TPopupMenu &popup = *m.popup;
  Driver d = PopupWith(popup, {[&](HWND) { m.popup.reset(); }});
  EXPECT_TRUE(d.menuSeen);
  EXPECT_FALSE(d.forcedClose);
  EXPECT_EQ(VisibleMenuWindow(), nullptr);
}

TEST(PopupMenu, MenuWithNothingVisibleReturnsAtOnce) {
  Recorder recorder;
  TPopupMenu popup(nullptr);
  recorder.popup = &popup;
  popup.OnPopup = TNotifyEvent(&recorder, &Recorder::Popped);
  AddItem(popup.Items(), "Hidden", recorder)->Visible = false;
  Driver d = PopupWith(popup, {});
  EXPECT_EQ(recorder.popups, 1);
  EXPECT_FALSE(d.menuSeen);
  EXPECT_EQ(popup.Handle(), nullptr);
}

// ----------------------------------------------------------------- the menu that is built

struct BuiltItem {
  UINT type = 0, state = 0, id = 0;
  ULONG_PTR data = 0;
  HMENU submenu = nullptr;
  std::string text;
};

BuiltItem ReadItem(HMENU menu, UINT position) {
  char text[64] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text - 1;
  EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info)) << "position " << position;
  return {info.fType, info.fState, info.wID, info.dwItemData, info.hSubMenu, text};
}

TEST(PopupMenu, BuiltMenuMatchesTheItems) {
  for (bool ownerDraw : {false, true}) {
    SCOPED_TRACE(ownerDraw ? "owner-drawn" : "plain");
    SampleMenu m;
    m.popup->OwnerDraw = ownerDraw;
    std::vector<BuiltItem> top, below;
    int topCount = -1, subCount = -1;
    HMENU subHandle = nullptr;
    PopupWith(*m.popup, {[&](HWND) {
      HMENU menu = m.popup->Handle();
      topCount = GetMenuItemCount(menu);
      for (int i = 0; i < topCount; ++i)
        top.push_back(ReadItem(menu, i));
      subHandle = m.sub->Handle();
      subCount = GetMenuItemCount(subHandle);
      for (int i = 0; i < subCount; ++i)
        below.push_back(ReadItem(subHandle, i));
      EndMenu();
    }});
    // The hidden item is left out.
    ASSERT_EQ(topCount, 5);
    ASSERT_EQ(subCount, 2);
    const TMenuItem *expected[] = {m.open, m.disabled, m.line, m.checked, m.sub};
    std::set<UINT> ids;
    for (int i = 0; i < topCount; ++i) {
      const BuiltItem &b = top[i];
      const TMenuItem *item = expected[i];
      SCOPED_TRACE(item->Caption);
      EXPECT_EQ((b.type & MFT_SEPARATOR) != 0, item->IsLine());
      EXPECT_EQ((b.type & MFT_OWNERDRAW) != 0, ownerDraw);
      EXPECT_EQ((b.state & MFS_GRAYED) != 0, !item->Enabled);
      EXPECT_EQ((b.state & MFS_CHECKED) != 0, item->Checked);
      EXPECT_EQ(b.id, item->Command());
      EXPECT_EQ(b.data, item->Command());
      EXPECT_EQ(m.popup->FindItem(b.id), item);
      ids.insert(b.id);
    }
    EXPECT_EQ(top[0].text, "&Open");
    EXPECT_EQ(top[3].text, "Checked\tALT+F4");
    EXPECT_EQ(top[4].submenu, subHandle);
    EXPECT_EQ(top[0].submenu, nullptr);
    EXPECT_EQ(below[0].text, "S1");
    EXPECT_EQ(below[1].text, "S2");
    ids.insert(below[0].id);
    ids.insert(below[1].id);
    EXPECT_EQ(ids.size(), 7u) << "commands are not unique";
    EXPECT_EQ(ids.count(0), 0u);
    EXPECT_EQ(m.hidden->Command(), 0u);
    EXPECT_EQ(m.popup->FindItem(m.s2->Command()), m.s2);
  }
}

// ----------------------------------------------------------------- owner drawing

struct DrawLog {
  struct Call {
    TObject *sender;
    bool validDC;
    RECT rect;
    bool selected;
  };
  std::vector<Call> measured, drawn;
  int prefilledWidth = -1, prefilledHeight = -1;

  static bool ValidDC(TCanvas *canvas) {
    if (canvas == nullptr)
      return false;
    DWORD type = GetObjectType(canvas->Handle());
    return type == OBJ_DC || type == OBJ_MEMDC;
  }
  void Measure(TObject *sender, TCanvas *canvas, int &width, int &height) {
    measured.push_back({sender, ValidDC(canvas), {}, false});
    prefilledWidth = width;
    prefilledHeight = height;
    width = 150;
    height = 30;
  }
  void Draw(TObject *sender, TCanvas *canvas, RECT rect, bool selected) {
    drawn.push_back({sender, ValidDC(canvas), rect, selected});
    canvas->Brush().SetColor(selected ? clRed : clWhite);
    canvas->FillRect(rect);
  }
};

TEST(PopupMenu, OwnerDrawnItemsGoThroughTheirHandlers) {
  Recorder recorder;
  DrawLog log;
  TPopupMenu popup(nullptr);
  recorder.popup = &popup;
  popup.OwnerDraw = true;
  for (const char *caption : {"One", "Two"}) {
    TMenuItem *item = AddItem(popup.Items(), caption, recorder);
    item->OnMeasureItem = TMenuMeasureItemEvent(&log, &DrawLog::Measure);
    item->OnDrawItem = TMenuDrawItemEvent(&log, &DrawLog::Draw);
  }
  TMenuItem *one = popup.Items()->Items(0);
  RECT itemRect{};
  size_t drawnBeforeDown = 0;
  Driver d = PopupWith(popup, {[&](HWND menu) {
                                 GetMenuItemRect(nullptr, popup.Handle(), 0, &itemRect);
                                 drawnBeforeDown = log.drawn.size();
                                 PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
                               },
                               Key(VK_ESCAPE)});
  EXPECT_TRUE(d.menuSeen);
  EXPECT_FALSE(d.forcedClose);
  ASSERT_EQ(log.measured.size(), 2u);
  for (const auto &call : log.measured)
    EXPECT_TRUE(call.validDC);
  // The handler starts from the default size.
  EXPECT_GT(log.prefilledWidth, 0);
  EXPECT_GT(log.prefilledHeight, 0);
  // What the handler measured is what the system laid out.
  EXPECT_EQ(itemRect.bottom - itemRect.top, 30);

  ASSERT_GE(drawnBeforeDown, 2u) << "the items were not drawn when the menu appeared";
  for (const auto &call : log.drawn) {
    EXPECT_TRUE(call.validDC);
    EXPECT_EQ(call.rect.bottom - call.rect.top, 30);
  }
  bool oneDrawnSelected = false;
  for (size_t i = drawnBeforeDown; i < log.drawn.size(); ++i)
    oneDrawnSelected |= log.drawn[i].sender == one && log.drawn[i].selected;
  EXPECT_TRUE(oneDrawnSelected) << "the item selected with the keyboard was not redrawn selected";
  EXPECT_TRUE(recorder.clicked.empty());
}

// The default drawing, on a bitmap: which colours land where.
class DefaultDrawing : public ::testing::Test {
protected:
  static constexpr int kWidth = 220, kHeight = 24;

  void SetUp() override {
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect({0, 0, 16, 16});
    images.Add(red, nullptr);
    popup.Images = &images;
    item = new TMenuItem(nullptr);
    item->Caption = "Open file";
    popup.Items()->Add(item);
  }

  void Draw(bool selected) {
    bitmap.Canvas().Brush().SetColor(clFuchsia);
    bitmap.Canvas().FillRect({0, 0, kWidth, kHeight});
    item->DrawItem(&bitmap.Canvas(), {0, 0, kWidth, kHeight}, selected);
  }
  int Count(const RECT &r, TColor color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        n += bitmap.Canvas().Pixels(x, y) == ColorToRGB(color);
    return n;
  }

  TImageList images{16, 16};
  TPopupMenu popup{nullptr};
  TMenuItem *item = nullptr;
  TBitmap bitmap{kWidth, kHeight};
  const RECT glyph{2, 4, 18, 20};
  const RECT caption{24, 0, 120, kHeight};
  const RECT shortcut{150, 0, kWidth - 8, kHeight};
};

TEST_F(DefaultDrawing, CaptionColoursFollowTheState) {
  const struct {
    const char *name;
    bool enabled, selected;
    TColor background, text;
  } cases[] = {
      {"normal", true, false, clMenu, clMenuText},
      {"selected", true, true, clHighlight, clHighlightText},
      {"disabled", false, false, clMenu, clGrayText},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    item->Enabled = c.enabled;
    Draw(c.selected);
    EXPECT_EQ(Count({0, 0, kWidth, kHeight}, clFuchsia), 0) << "the item was not filled";
    EXPECT_EQ(bitmap.Canvas().Pixels(kWidth - 2, 1), ColorToRGB(c.background));
    EXPECT_GT(Count(caption, c.text), 10);
    EXPECT_EQ(Count(shortcut, c.text), 0);
  }
}

TEST_F(DefaultDrawing, GlyphShortcutAndSeparator) {
  Draw(false);
  EXPECT_EQ(Count(glyph, clMenuText), 0) << "an unchecked item without an image has no glyph";

  item->Checked = true;
  Draw(false);
  EXPECT_GT(Count(glyph, clMenuText), 5) << "no check mark";

  item->ImageIndex = 0;
  Draw(false);
  EXPECT_EQ(Count(glyph, clRed), 16 * 16) << "the image is not in the glyph box";

  item->ShortCutText = "ALT+F4";
  Draw(false);
  EXPECT_GT(Count(shortcut, clMenuText), 10) << "no shortcut at the right";

  item->Caption = "-";
  Draw(false);
  EXPECT_EQ(Count(caption, clMenuText), 0);
  EXPECT_GT(Count({0, kHeight / 2 - 1, kWidth, kHeight / 2 + 1}, clBtnShadow), kWidth / 2)
      << "no separator line across the item";
}

// ----------------------------------------------------------------- the item tree

TEST(MenuItem, AddMovesTheItemWithItsOwnership) {
  const int liveBefore = TObject::LiveCount();
  {
    TPopupMenu popup(nullptr);
    auto *a = new TMenuItem(&popup);
    auto *b = new TMenuItem(nullptr);
    auto *child = new TMenuItem(nullptr);
    popup.Items()->Add(a);
    popup.Items()->Add(b);
    a->Add(child);
    EXPECT_EQ(a->Owner(), popup.Items());
    EXPECT_EQ(child->Parent(), a);
    EXPECT_EQ(child->GetParentMenu(), &popup);

    b->Add(child); // from one parent to another
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(b->IndexOf(child), 0);
    EXPECT_EQ(child->Owner(), b);

    delete child; // leaves its parent's list
    EXPECT_EQ(b->Count(), 0);
    EXPECT_THROW(b->Items(0), EMenuError);
    EXPECT_EQ(popup.Items()->Items(1), b);
    b->Add(new TMenuItem(nullptr));
  }
  EXPECT_EQ(TObject::LiveCount(), liveBefore) << "items outlived their popup";
}

TEST(MenuItem, AddRejectsCycles) {
  TPopupMenu popup(nullptr);
  TPopupMenu other(nullptr);
  auto *a = new TMenuItem(nullptr);
  auto *b = new TMenuItem(nullptr);
  popup.Items()->Add(a);
  a->Add(b);
  const struct {
    const char *name;
    TMenuItem *parent, *item;
  } cases[] = {
      {"null", a, nullptr},
      {"itself", a, a},
      {"its parent", b, a},
      {"the root", b, popup.Items()},
      {"another popup's root", a, other.Items()},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(c.parent->Add(c.item), EMenuError);
  }
  EXPECT_EQ(popup.Items()->Count(), 1);
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(b->Count(), 0);
}

TEST(MenuItem, FormDataNestsItems) {
  RegisterMenus();
  std::unique_ptr<TComponent> root(TFormReader::CreateComponent(R"(object Popup1: TPopupMenu
  OwnerDraw = True
  object Restore1: TMenuItem
    Caption = ' Restore '
    ImageIndex = 0
  end
  object Line1: TMenuItem
    Caption = '-'
    Tag = 100
  end
  object More1: TMenuItem
    Caption = 'More'
    object Close1: TMenuItem
      Caption = ' Close '
      ShortCutText = 'ALT+F4'
      Enabled = False
    end
  end
end
)",
                                                                nullptr));
  auto *popup = dynamic_cast<TPopupMenu *>(root.get());
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->OwnerDraw);
  TMenuItem *items = popup->Items();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Items(0)->Caption, " Restore ");
  EXPECT_EQ(items->Items(0)->ImageIndex, 0);
  EXPECT_EQ(items->Items(1)->Tag(), 100);
  ASSERT_EQ(items->Items(2)->Count(), 1);
  TMenuItem *close = items->Items(2)->Items(0);
  EXPECT_EQ(close->ShortCutText, "ALT+F4");
  EXPECT_FALSE(close->Enabled);
  EXPECT_EQ(close->GetParentComponent(), items->Items(2));
  EXPECT_EQ(items->Items(0)->GetParentComponent(), popup);
  EXPECT_EQ(close->ClassName(), "TMenuItem");
}

} // namespace
