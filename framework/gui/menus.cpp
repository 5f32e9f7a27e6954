#include "framework/gui/menus.h"
#include "framework/gui/controls.h"
#include "framework/gui/gdiobj.h"
#include "framework/gui/imglist.h"
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// Layout of the default owner drawing, in pixels.
constexpr int kGlyphLeft = 2;    // item edge to glyph column
constexpr int kGlyphGap = 6;     // glyph column to caption
constexpr int kRightPad = 8;     // shortcut (or caption) to the item's right edge
constexpr int kShortCutGap = 16; // least room between caption and shortcut
constexpr int kSeparatorHeight = 8;
constexpr int kDefaultGlyph = 16; // glyph column without an image list

// Destroys a system menu, with its submenus, unless it was released.
class MenuHolder {
public:
  explicit MenuHolder(HMENU menu = nullptr) : menu_(menu) {}
  ~MenuHolder() { Reset(); }
  MenuHolder(const MenuHolder &) = delete;
  MenuHolder &operator=(const MenuHolder &) = delete;
  HMENU Get() const { return menu_; }
  HMENU Release() { return std::exchange(menu_, nullptr); }
  void Reset(HMENU menu = nullptr) {
    if (menu_ != nullptr)
      DestroyMenu(menu_);
    menu_ = menu;
  }

private:
  HMENU menu_;
};

// The font the system draws menus in.
void AssignMenuFont(TFont &font) {
  NONCLIENTMETRICSA metrics{};
  // Newer systems know a longer structure than older ones accept: try the full size, then the
  // size without the fields that follow the message font.
  for (UINT size :
       {static_cast<UINT>(sizeof metrics),
        static_cast<UINT>(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA))}) {
    metrics.cbSize = size;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, size, &metrics, 0)) {
      font.AssignLogFont(metrics.lfMenuFont);
      return;
    }
  }
}

// A tick centred in box, two pixels thick.
void DrawCheckMark(TCanvas &canvas, const RECT &box, TColor color) {
  canvas.Pen().SetStyle(TPenStyle::psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(color);
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  for (int i = 0; i < 2; ++i) {
    const POINT tick[3] = {{cx - 3, cy - 1 + i}, {cx - 1, cy + 1 + i}, {cx + 4, cy - 4 + i}};
    canvas.Polyline(tick);
  }
}

} // namespace

// ================================================================== TMenuItem

TMenuItem::TMenuItem(TComponent *owner) : TComponent(owner) {
  RegisterMenus();
}

TMenuItem::~TMenuItem() {
  Clear();
  if (parent_ != nullptr)
    parent_->Detach(this);
}

void TMenuItem::Add(TMenuItem *item) {
  if (item == nullptr)
    throw EMenuError("no menu item to add");
  if (item->menu_ != nullptr)
    throw EMenuError("the root item of a popup menu cannot be added to another item");
  for (const TMenuItem *p = this; p != nullptr; p = p->parent_)
    if (p == item)
      throw EMenuError("a menu item cannot be added to itself or to one of its own items");
  InsertComponent(item); // raises for a duplicate name before anything has changed
  if (item->parent_ != nullptr)
    item->parent_->Detach(item);
  item->parent_ = this;
  items_.push_back(item);
}

void TMenuItem::Detach(TMenuItem *item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
}

void TMenuItem::Clear() {
  // Each child takes itself out of the list as it goes.
  while (!items_.empty())
    delete items_.back();
}

TMenuItem *TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EMenuError("menu item index out of range");
  return items_[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem *item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu *TMenuItem::GetParentMenu() const {
  const TMenuItem *top = this;
  while (top->parent_ != nullptr)
    top = top->parent_;
  return top->menu_;
}

void TMenuItem::Click() {
  if (OnClick)
    OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent *parent) {
  if (auto *menu = dynamic_cast<TMenu *>(parent)) {
    if (menu->Items() != nullptr)
      menu->Items()->Add(this);
  } else if (auto *item = dynamic_cast<TMenuItem *>(parent)) {
    item->Add(this);
  } else {
    TComponent::SetParentComponent(parent);
  }
}

std::vector<TMenuItem *> TMenuItem::VisibleItems() const {
  std::vector<TMenuItem *> visible;
  for (TMenuItem *item : items_)
    if (item->Visible)
      visible.push_back(item);
  return visible;
}

TComponent *TMenuItem::GetParentComponent() const {
  if (parent_ != nullptr && parent_->menu_ != nullptr)
    return parent_->menu_;
  return parent_;
}

SIZE TMenuItem::GlyphSize() const {
  const TMenu *menu = GetParentMenu();
  if (menu != nullptr && menu->Images != nullptr)
    return {std::max(menu->Images->Width(), 0), std::max(menu->Images->Height(), 0)};
  return {kDefaultGlyph, kDefaultGlyph};
}

void TMenuItem::MeasureItem(TCanvas *canvas, int &width, int &height) {
  DefaultMeasureItem(canvas, width, height);
  if (OnMeasureItem)
    OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas *canvas, RECT rect, bool selected) {
  if (OnDrawItem)
    OnDrawItem(this, canvas, rect, selected);
  else
    DefaultDrawItem(canvas, rect, selected);
}

void TMenuItem::DefaultMeasureItem(TCanvas *canvas, int &width, int &height) {
  if (IsLine()) {
    width = kGlyphLeft + kRightPad;
    height = kSeparatorHeight;
    return;
  }
  const SIZE glyph = GlyphSize();
  RECT text{0, 0, 0, 0};
  // A blank stands in for an empty caption, so the item keeps a line's height.
  canvas->DrawText(Caption.empty() ? std::string(" ") : Caption, text, DT_CALCRECT | DT_SINGLELINE);
  width = kGlyphLeft + glyph.cx + kGlyphGap + text.right + kRightPad;
  if (!ShortCutText.empty())
    width += kShortCutGap + canvas->TextWidth(ShortCutText);
  height = std::max<int>(text.bottom + 6, glyph.cy + 4);
}

void TMenuItem::DefaultDrawItem(TCanvas *canvas, RECT rect, bool selected) {
  const bool highlighted = selected && !IsLine();
  canvas->Brush().SetStyle(TBrushStyle::bsSolid);
  canvas->Brush().SetColor(highlighted ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TColor textColor = !Enabled ? clGrayText : highlighted ? clHighlightText : clMenuText;

  const SIZE glyph = GlyphSize();
  const int glyphTop = rect.top + (rect.bottom - rect.top - glyph.cy) / 2;
  const RECT box{rect.left + kGlyphLeft, glyphTop, rect.left + kGlyphLeft + glyph.cx,
                 glyphTop + glyph.cy};
  const TMenu *menu = GetParentMenu();
  TImageList *images = menu != nullptr ? menu->Images : nullptr;
  if (images != nullptr && ImageIndex >= 0 && ImageIndex < images->Count()) {
    if (Checked) {
      RECT frame = box;
      InflateRect(&frame, 1, 1);
      DrawEdge(canvas->Handle(), &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    images->Draw(*canvas, box.left, box.top, ImageIndex, Enabled);
  } else if (Checked) {
    DrawCheckMark(*canvas, box, textColor);
  }

  canvas->Brush().SetStyle(TBrushStyle::bsClear);
  canvas->Font().SetColor(textColor);
  if (Default)
    canvas->Font().SetStyle(static_cast<TFontStyles>(canvas->Font().Style() | fsBold));
  RECT text{box.right + kGlyphGap, rect.top, rect.right - kRightPad, rect.bottom};
  canvas->DrawText(Caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!ShortCutText.empty())
    canvas->DrawText(ShortCutText, text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

// ================================================================== TMenu

TMenu::TMenu(TComponent *owner) : TComponent(owner), items_(nullptr) {
  RegisterMenus();
  items_ = new TMenuItem(this);
  items_->menu_ = this;
}

TMenu::~TMenu() = default; // the items go with the owned components

void TMenu::Notification(TComponent *component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == items_)
    items_ = nullptr;
}

void TMenu::ResetBuild(TMenuItem *item, bool commands) {
  item->handle_ = nullptr;
  if (commands)
    item->command_ = 0;
  for (TMenuItem *child : item->items_)
    ResetBuild(child, commands);
}

HMENU TMenu::BuildMenu(TMenuItem *parent, UINT &nextCommand, bool bar, int depth) {
  MenuHolder menu(bar ? CreateMenu() : CreatePopupMenu());
  if (menu.Get() == nullptr)
    throw EMenuError("cannot create a menu");
  const bool ownerDraw = OwnerDraw && depth >= minOwnerDrawDepth_;
  UINT position = 0;
  for (TMenuItem *item : parent->VisibleItems()) {
    item->command_ = ++nextCommand;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.fType = ownerDraw ? MFT_OWNERDRAW : MFT_STRING;
    if (RightToLeft)
      info.fType |= MFT_RIGHTORDER;
    info.fState = (item->Enabled ? 0 : MFS_GRAYED) | (item->Checked ? MFS_CHECKED : 0) |
                  (item->Default ? MFS_DEFAULT : 0);
    info.wID = item->command_;
    // WM_MEASUREITEM and WM_DRAWITEM find the item by this, also for submenu items.
    info.dwItemData = item->command_;
    std::string text;
    MenuHolder submenu;
    if (item->IsLine()) {
      info.fType |= MFT_SEPARATOR;
    } else {
      text = item->Caption;
      if (!item->ShortCutText.empty())
        text += '\t' + item->ShortCutText;
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
      if (!item->items_.empty()) {
        submenu.Reset(BuildMenu(item, nextCommand, false, depth + 1));
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu.Get();
      }
    }
    if (!InsertMenuItemA(menu.Get(), position, TRUE, &info))
      throw EMenuError("cannot add an item to a menu");
    submenu.Release(); // destroyed with its parent menu from now on
    ++position;
  }
  parent->handle_ = menu.Get();
  return menu.Release();
}

TMenuItem *TMenu::FindItem(UINT command) const {
  if (command == 0 || items_ == nullptr)
    return nullptr;
  std::vector<TMenuItem *> pending{items_};
  while (!pending.empty()) {
    TMenuItem *item = pending.back();
    pending.pop_back();
    if (item->command_ == command)
      return item;
    pending.insert(pending.end(), item->items_.begin(), item->items_.end());
  }
  return nullptr;
}

bool TMenu::MeasureItemMessage(MEASUREITEMSTRUCT *measure) {
  TMenuItem *item = measure != nullptr && measure->CtlType == ODT_MENU
                        ? FindItem(static_cast<UINT>(measure->itemData))
                        : nullptr;
  if (item == nullptr)
    return false;
  int width = 0, height = 0;
  {
    GdiWindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.Get());
    AssignMenuFont(canvas.Font());
    item->MeasureItem(&canvas, width, height);
  }
  measure->itemWidth = static_cast<UINT>(std::max(width, 0));
  measure->itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DrawItemMessage(DRAWITEMSTRUCT *draw) {
  TMenuItem *item = draw != nullptr && draw->CtlType == ODT_MENU
                        ? FindItem(static_cast<UINT>(draw->itemData))
                        : nullptr;
  if (item == nullptr)
    return false;
  // The system draws the rest of the menu with this DC: hand it back as it came.
  struct SavedDC {
    HDC dc;
    int state;
    ~SavedDC() { RestoreDC(dc, state); }
  } saved{draw->hDC, SaveDC(draw->hDC)};
  TCanvas canvas;
  canvas.SetHandle(draw->hDC);
  AssignMenuFont(canvas.Font());
  item->DrawItem(&canvas, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
  return true;
}

// ================================================================== TPopupMenu

TPopupMenu::TPopupMenu(TComponent *owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  *alive_ = false;
  // Freed by one of its own handlers while tracked: end the menu; Popup cleans up after it.
  if (handle_ != nullptr)
    EndMenu();
  DeallocateHWnd(window_);
}

void TPopupMenu::Popup(int x, int y) {
  if (handle_ != nullptr)
    return;
  const std::shared_ptr<bool> alive = alive_;
  if (OnPopup) {
    OnPopup(this);
    if (!*alive)
      return;
  }
  if (Items() == nullptr)
    return;
  if (window_ == nullptr)
    window_ = AllocateHWnd(TWndMethod(this, &TPopupMenu::WndProc));

  ResetBuild(Items(), true);
  UINT nextCommand = 0;
  MenuHolder menu(BuildMenu(Items(), nextCommand, false));
  if (GetMenuItemCount(menu.Get()) <= 0) {
    ResetBuild(Items(), false);
    return;
  }
  handle_ = menu.Get();
  const UINT align = RightToLeft ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN;
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), align | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0,
                     window_, nullptr));
  if (!*alive)
    return; // freed while tracked; the holder still destroys the menu
  handle_ = nullptr;
  if (Items() != nullptr)
    ResetBuild(Items(), false);
  menu.Reset();

  // Last: the handler may free this menu.
  TMenuItem *chosen = FindItem(command);
  if (chosen != nullptr && chosen->Enabled)
    chosen->Click();
}

void TPopupMenu::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MEASUREITEM:
    if (MeasureItemMessage(reinterpret_cast<MEASUREITEMSTRUCT *>(m.LParam))) {
      m.Result = TRUE;
      return;
    }
    break;
  case WM_DRAWITEM:
    if (DrawItemMessage(reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam))) {
      m.Result = TRUE;
      return;
    }
    break;
  default:
    break;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

// ================================================================== TMainMenu

TMainMenu::TMainMenu(TComponent *owner) : TMenu(owner) {
  minOwnerDrawDepth_ = 2; // the bar's own items are drawn by the bar
}

TMainMenu::~TMainMenu() {
  if (handle_ != nullptr) {
    // A window must not keep showing (and later destroy) a menu that is gone.
    if (Window != nullptr && IsWindow(Window) && GetMenu(Window) == handle_)
      ::SetMenu(Window, nullptr);
    DestroyMenu(handle_);
  }
}

HMENU TMainMenu::Handle() const {
  if (handle_ == nullptr)
    const_cast<TMainMenu *>(this)->Rebuild(); // built on first use, like the window of a control
  return handle_;
}

void TMainMenu::Rebuild() {
  if (Items() == nullptr)
    return;
  ResetBuild(Items(), true);
  UINT nextCommand = 0;
  MenuHolder fresh(BuildMenu(Items(), nextCommand, true));
  MenuHolder old(std::exchange(handle_, fresh.Release()));
  if (old.Get() == nullptr || Window == nullptr || !IsWindow(Window))
    return;
  // The window shows the new bar; one that showed none (a skinned bar took it off) gets it as
  // well, and hears of the change to take it again.
  const HMENU shown = GetMenu(Window);
  if (shown == old.Get() || shown == nullptr)
    ::SetMenu(Window, handle_);
  SendMessageA(Window, CM_MENUCHANGED, 0, 0);
}

void TMainMenu::ApplyOwnerDraw() {
  if (handle_ != nullptr && Items() != nullptr)
    ApplyOwnerDraw(Items(), 1);
}

void TMainMenu::ApplyOwnerDraw(TMenuItem *parent, int depth) {
  if (parent->Handle() == nullptr)
    return;
  UINT position = 0;
  for (TMenuItem *item : parent->VisibleItems()) {
    if (depth >= minOwnerDrawDepth_) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      if (GetMenuItemInfoA(parent->Handle(), position, TRUE, &info)) {
        info.fType = OwnerDraw ? info.fType | MFT_OWNERDRAW : info.fType & ~MFT_OWNERDRAW;
        SetMenuItemInfoA(parent->Handle(), position, TRUE, &info);
      }
    }
    ApplyOwnerDraw(item, depth + 1);
    ++position;
  }
}

bool TMainMenu::DispatchCommand(UINT command) {
  TMenuItem *item = FindItem(command);
  if (item == nullptr)
    return false;
  if (item->Enabled)
    item->Click();
  return true;
}

// ================================================================== registration

void RegisterMenus() {
  static bool registered = false;
  if (registered)
    return;
  registered = true;
  using M = TMenuItem;
  RegisterClass<TMenuItem, TComponent>("TMenuItem",
                                       {
                                           Published::String("Caption", &M::Caption),
                                           Published::String("ShortCutText", &M::ShortCutText),
                                           Published::Integer("ImageIndex", &M::ImageIndex),
                                           Published::Boolean("Enabled", &M::Enabled),
                                           Published::Boolean("Checked", &M::Checked),
                                           Published::Boolean("Visible", &M::Visible),
                                           Published::Boolean("Default", &M::Default),
                                           Published::Event("OnClick", &M::OnClick),
                                           Published::Event("OnDrawItem", &M::OnDrawItem),
                                           Published::Event("OnMeasureItem", &M::OnMeasureItem),
                                       });
  using N = TMenu;
  RegisterClass<TMenu, TComponent>("TMenu", {
                                                Published::Object("Images", &N::Images),
                                                Published::Boolean("OwnerDraw", &N::OwnerDraw),
                                                Published::Boolean("RightToLeft", &N::RightToLeft),
                                            });
  using P = TPopupMenu;
  RegisterClass<TPopupMenu, TMenu>("TPopupMenu", {Published::Event("OnPopup", &P::OnPopup)});
  RegisterClass<TMainMenu, TMenu>("TMainMenu", {});
}
