// Owner-drawn menu items: the items of drop-down, popup and system menus painted from the skin's
// MenuItem element over the popup window's background, with their glyph, check mark, caption
// and shortcut laid out here. Framework items get these handlers; native items (menu-bar
// drop-downs, foreign windows) are drawn through temporary framework items.
#define OEMRESOURCE
#include "skin/form/winskinform.h"

#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/imglist.h"
#include "framework/gui/menus.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskinmenu.h"
#include "skin/form/winskinform_draw.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kMenuItemFrames = 5;
constexpr int kFrameNormal = 1, kFrameSeparator = 2, kFrameSelected = 4;
constexpr int kDefaultGlyph = 16;
constexpr int kTextGap = 3;        // glyph box to caption
constexpr int kShortCutInset = 10; // shortcut's right edge inside the item
constexpr TColor kMagenta = 0xFF00FF;

int MenuItemLeftMargin(TSkinData *data) {
  return data != nullptr && TObject::IsLive(data) && data->MenuItem != nullptr
             ? static_cast<int>(data->MenuItem->Margins.left)
             : 0;
}

TImageList *ImagesOf(const TMenuItem *item) {
  const TMenu *menu = item->GetParentMenu();
  return menu != nullptr ? menu->Images : nullptr;
}

bool RightToLeftOf(const TMenuItem *item) {
  const TMenu *menu = item->GetParentMenu();
  return menu != nullptr && menu->RightToLeft;
}

// The system's check mark (black on white) in colour, transparent elsewhere.
void DrawSystemCheck(HDC dc, const RECT &box, COLORREF color) {
  GdiBitmap check(static_cast<HBITMAP>(
      LoadImageA(nullptr, MAKEINTRESOURCEA(OBM_CHECK), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP info{};
  if (!check || GetObjectA(check.Get(), sizeof info, &info) == 0)
    return;
  GdiMemoryDC source(CreateCompatibleDC(dc));
  GdiSelection selected(source.Get(), check.Get());
  const int x = (box.left + box.right - info.bmWidth) / 2;
  const int y = (box.top + box.bottom - info.bmHeight) / 2;
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCAND); // the mark in black
  SetTextColor(dc, color);
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCPAINT); // then coloured
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// A checker of button face and highlight, as behind a checked image.
void FillChecker(HDC dc, const RECT &box) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      SetPixelV(dc, x, y, ((x + y) & 1) != 0 ? face : light);
}

} // namespace

// ----------------------------------------------------------------- switching items over

void TWinSkinForm::InitMainMenu(bool on) {
  if (Form == nullptr)
    return;
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto *menu = dynamic_cast<TMainMenu *>(Form->Components(i));
    if (menu == nullptr || menu->Items() == nullptr)
      continue;
    menu->OwnerDraw = on;
    AssignMainMenuItems(menu->Items(), 1, on);
    menu->ApplyOwnerDraw();
  }
}

void TWinSkinForm::AssignMainMenuItems(TMenuItem *parent, int depth, bool on) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem *item = parent->Items(i);
    if (!on) {
      item->OnDrawItem = {};
      item->OnMeasureItem = {};
    } else if (depth >= 2 && !item->OnDrawItem) {
      item->OnDrawItem = TMenuDrawItemEvent(this, &TWinSkinForm::DrawMenuItem);
      item->OnMeasureItem = TMenuMeasureItemEvent(this, &TWinSkinForm::MeasureItem);
    }
    AssignMainMenuItems(item, depth + 1, on);
  }
}

void TWinSkinForm::InitPopMenu(TComponent *control, bool on) {
  if (control == nullptr || ClassName == "TwwRichEditForm")
    return;
  for (int i = 0; i < control->ComponentCount(); ++i) {
    TComponent *component = control->Components(i);
    if (auto *popup = dynamic_cast<TPopupMenu *>(component)) {
      if (!InSet(SkinData->SkinControls, xcPopupMenu) || popup->Tag() == SkinData->DisableTag)
        continue;
      popup->OwnerDraw = on;
      if (popup->Items() != nullptr)
        AssignPopupItems(popup->Items(), on);
    } else if (dynamic_cast<TCustomForm *>(component) != nullptr) {
      InitPopMenu(component, on); // an embedded form's own menus
    }
  }
}

void TWinSkinForm::AssignPopupItems(TMenuItem *parent, bool on) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem *item = parent->Items(i);
    if (on) {
      item->OnDrawItem = TMenuDrawItemEvent(this, &TWinSkinForm::DrawMenuItem);
      if (!item->OnMeasureItem)
        item->OnMeasureItem = TMenuMeasureItemEvent(this, &TWinSkinForm::MeasureItemPop);
    } else {
      item->OnDrawItem = {};
      item->OnMeasureItem = {};
    }
    AssignPopupItems(item, on);
  }
}

void TWinSkinForm::InitToolbarMenu(TMenuItem *parent, bool on) {
  if (parent == nullptr)
    return;
  if (!on) {
    GiveBackToolbarMenus();
    return;
  }
  const TMenuDrawItemEvent draw(this, &TWinSkinForm::DrawMenuItem);
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem *item = parent->Items(i);
    if (item->OnDrawItem != draw) {
      toolbarItems_.push_back({item, item->OnDrawItem, item->OnMeasureItem});
      item->OnDrawItem = draw;
      item->OnMeasureItem = TMenuMeasureItemEvent(this, &TWinSkinForm::MeasureItem);
    }
    InitToolbarMenu(item, on);
  }
}

void TWinSkinForm::GiveBackToolbarMenus() {
  const TMenuDrawItemEvent draw(this, &TWinSkinForm::DrawMenuItem);
  // A menu may belong to another form and outlive this object, or go first.
  for (const TakenMenuItem &taken : toolbarItems_)
    if (TObject::IsLive(taken.item) && taken.item->OnDrawItem == draw) {
      taken.item->OnDrawItem = taken.draw;
      taken.item->OnMeasureItem = taken.measure;
    }
  toolbarItems_.clear();
}

// ----------------------------------------------------------------- measuring

// Handlers of framework items: the item has measured itself already; this adds the room the
// skinned layout needs.
void TWinSkinForm::MeasureItem(TObject *sender, TCanvas *, int &width, int &) {
  auto *item = static_cast<TMenuItem *>(sender);
  width += MenuItemLeftMargin(SkinData) + 10;
  if (ImagesOf(item) == nullptr)
    width += 25;
}

void TWinSkinForm::MeasureItemPop(TObject *sender, TCanvas *, int &width, int &) {
  auto *item = static_cast<TMenuItem *>(sender);
  width += MenuItemLeftMargin(SkinData) + 12;
  if (ImagesOf(item) == nullptr)
    width += 23;
}

TMenuItem *TWinSkinForm::FormMenuItem(UINT command) const {
  TMainMenu *menu = Form != nullptr ? Form->Menu() : nullptr;
  return menu != nullptr ? menu->FindItem(command) : nullptr;
}

void TWinSkinForm::WMMEASUREITEM(TMessage &m) {
  auto *measure = reinterpret_cast<MEASUREITEMSTRUCT *>(m.LParam);
  if (measure == nullptr || measure->CtlType != ODT_MENU || MenuHandle == nullptr) {
    Default(m);
    return;
  }
  if (SkinManager != nullptr)
    SkinManager->PopupFlag = true;
  GdiWindowDC dc(Handle);
  TCanvas canvas;
  canvas.SetHandle(dc.Get());
  if (Screen != nullptr)
    canvas.Font().Assign(*Screen->MenuFont());
  if (TMenuItem *item = FormMenuItem(measure->itemID)) {
    int width = 0, height = 0;
    item->DefaultMeasureItem(&canvas, width, height);
    MeasureItem(item, &canvas, width, height);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = TRUE;
    return;
  }
  if (Form != nullptr && measure->itemID >= 1 && measure->itemID < 4096) {
    Default(m);
    return;
  }
  // Separators, system and window-list commands, and every item of a foreign window.
  std::string text =
      NativeItemText(OpenSubMenu != nullptr ? OpenSubMenu : MenuHandle, measure->itemID);
  RECT r{0, 0, 0, 0};
  if (!text.empty())
    canvas.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  measure->itemWidth = static_cast<UINT>(r.right + 26 + MenuItemLeftMargin(SkinData));
  const int system =
      measure->itemHeight > 0 ? static_cast<int>(measure->itemHeight) : GetSystemMetrics(SM_CYMENU);
  measure->itemHeight = static_cast<UINT>(text.empty() ? 8 : std::max<int>(system, r.bottom) + 4);
  m.Result = TRUE;
}

std::string TWinSkinForm::NativeItemText(HMENU menu, UINT command) {
  if (menu == nullptr || command == 0)
    return {};
  char text[256] = {};
  GetMenuStringA(menu, command, text, sizeof text - 1, MF_BYCOMMAND);
  return text;
}

// ----------------------------------------------------------------- drawing

void TWinSkinForm::DrawMenuItem(TObject *sender, TCanvas *canvas, RECT rect, bool selected) {
  auto *item = static_cast<TMenuItem *>(sender);
  const HMENU menu = item->Parent() != nullptr ? item->Parent()->Handle() : nullptr;
  DrawSkinnedItem(item, *canvas, rect, selected, menu);
}

void TWinSkinForm::DrawSkinnedItem(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected,
                                   HMENU menu) {
  if (SkinManager != nullptr) {
    SkinManager->PopupFlag = true;
    SkinManager->SetHMenu(menu);
  }
  if (SkinData == nullptr || SkinData->MenuItem == nullptr || SkinData->MenuItem->Image->Empty()) {
    DefaultMenuItem(item, canvas, rect, selected);
    return;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return;
  TBitmap composed(width, height);
  TCanvas &c = composed.Canvas();
  c.Font().Assign(canvas.Font());
  const RECT local{0, 0, width, height};
  MenuBackgroundUnder(menu, rect, c);
  TDataSkinObject &element = *SkinData->MenuItem;
  if (!item->IsLine()) {
    DrawRect2(c.Handle(), local, *element.Image, element.Margins,
              selected ? kFrameSelected : kFrameNormal, kMenuItemFrames, element.Trans == 1,
              element.Tile == 1, false);
    DrawItemText(item, c, local, selected);
  } else {
    DrawMenuCaption(c, local);
  }
  BitBlt(canvas.Handle(), rect.left, rect.top, width, height, c.Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::MenuBackgroundUnder(HMENU menu, const RECT &rect, TCanvas &canvas) {
  const RECT local{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  TWinSkinPopMenu *popup = SkinManager != nullptr ? SkinManager->FindMenuOf(menu) : nullptr;
  if (popup != nullptr && popup->ComposeBackground()) {
    // The item rectangle is in client coordinates; the background covers the whole window.
    const POINT offset = popup->ClientOffset();
    BitBlt(canvas.Handle(), 0, 0, local.right, local.bottom, popup->Background->Canvas().Handle(),
           rect.left + offset.x, rect.top + offset.y, SRCCOPY);
    return;
  }
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(SkinData->Colors[csMenubg]);
  canvas.FillRect(local);
}

void TWinSkinForm::DefaultMenuItem(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(SkinData->Colors[selected && !item->IsLine() ? csHilight : csMenubg]);
  canvas.FillRect(rect);
  DrawItemText(item, canvas, rect, selected);
}

void TWinSkinForm::DrawMenuCaption(TCanvas &canvas, const RECT &rect) {
  TDataSkinObject &element = *SkinData->MenuItem;
  TBitmap &image = *element.Image;
  const int frameWidth = image.Width() / kMenuItemFrames;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (frameWidth <= 0 || width <= 0 || height <= 0)
    return;
  // An item lower than the image shows the image's middle rows, where its line is.
  const int rows = std::min(height, image.Height());
  const int top = (image.Height() - rows) / 2;
  TBitmap slice(frameWidth, rows);
  BitBlt(slice.Canvas().Handle(), 0, 0, frameWidth, rows, image.Canvas().Handle(),
         frameWidth * (kFrameSeparator - 1), top, SRCCOPY);
  TBitmap line(width, height);
  line.Canvas().Brush().SetColor(kMagenta);
  line.Canvas().FillRect(RECT{0, 0, width, height});
  DrawRectH(line.Canvas().Handle(), RECT{0, 0, width, height}, slice,
            RECT{element.Margins.left, 0, element.Margins.right, 0}, 1, 1, 0, false);
  DrawTranmap(canvas.Handle(), rect, line, kMagenta);
}

void TWinSkinForm::DrawItemText(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected) {
  const bool rtl = RightToLeftOf(item);
  TImageList *images = ImagesOf(item);
  int glyph = images != nullptr ? images->Width() : kDefaultGlyph;
  if (item->Checked)
    glyph = std::max(glyph, kDefaultGlyph);
  const int inset = 1 + MenuItemLeftMargin(SkinData);
  const int glyphTop = rect.top + std::max<int>(1, (rect.bottom - rect.top - glyph) / 2);
  RECT box{rect.left + inset, glyphTop, rect.left + inset + glyph, glyphTop + glyph};
  if (rtl)
    box = RECT{rect.right - inset - glyph, glyphTop, rect.right - inset, glyphTop + glyph};

  if (!item->IsLine()) {
    const bool hasImage =
        images != nullptr && item->ImageIndex >= 0 && item->ImageIndex < images->Count();
    if (hasImage) {
      if (item->Checked) {
        FillChecker(canvas.Handle(), box);
        RECT edge = box;
        DrawEdge(canvas.Handle(), &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      const int y = box.top + (glyph - images->Height()) / 2;
      images->Draw(canvas, box.left + (glyph - images->Width()) / 2, y, item->ImageIndex,
                   item->Enabled);
    } else if (item->Checked) {
      DrawSystemCheck(canvas.Handle(), box, ColorToRGB(clBtnText));
    }
  }

  RECT text = rtl ? RECT{rect.left + 1, rect.top, box.left - kTextGap, rect.bottom}
                  : RECT{box.right + kTextGap, rect.top, rect.right - 1, rect.bottom};
  if (item->IsLine()) {
    DoDrawText(item, canvas, "-", text, 0, selected);
    return;
  }
  RECT measured = text;
  DoDrawText(item, canvas, item->Caption, measured, DT_CALCRECT | DT_SINGLELINE, selected);
  const int textHeight = measured.bottom - measured.top;
  text.top = rect.top + (rect.bottom - rect.top - textHeight) / 2;
  text.bottom = text.top + textHeight;
  const UINT align = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  DoDrawText(item, canvas, item->Caption, text, align | DT_SINGLELINE | DT_EXPANDTABS, selected);
  if (!item->ShortCutText.empty()) {
    RECT shortcut = rtl ? RECT{rect.left + kShortCutInset, text.top, rect.right, text.bottom}
                        : RECT{rect.left, text.top, rect.right - kShortCutInset, text.bottom};
    DoDrawText(item, canvas, item->ShortCutText, shortcut,
               (rtl ? DT_LEFT : DT_RIGHT) | DT_SINGLELINE | DT_NOPREFIX, selected);
  }
}

void TWinSkinForm::DoDrawText(TMenuItem *item, TCanvas &canvas, const std::string &text, RECT &rect,
                              UINT flags, bool selected) {
  if (item->IsLine() && (flags & DT_CALCRECT) == 0) {
    RECT line = rect;
    line.top += 4;
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TFont &font = canvas.Font();
  if (item->Default)
    font.SetStyle(static_cast<TFontStyles>(font.Style() | fsBold));
  TColor color;
  if (item->Enabled)
    color = SkinData->Colors[selected ? csHilightText : csMenuText];
  else if (SkinData->Colors[csButtonShadow] == SkinData->Colors[csMenuText])
    color = clGrayText;
  else
    color = SkinData->Colors[csButtonShadow];
  font.SetColor(color);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  const bool blank = text.empty() || text == "&";
  canvas.DrawText((flags & DT_CALCRECT) != 0 && blank ? std::string(" ") : text, rect, flags);
}

// ----------------------------------------------------------------- native items

std::unique_ptr<TMenuItem> TWinSkinForm::CreateMenuItem(HMENU menu, UINT command) {
  auto item = std::make_unique<TMenuItem>(nullptr);
  std::string text = NativeItemText(menu, command);
  const size_t tab = text.find('\t');
  if (tab != std::string::npos) {
    item->ShortCutText = text.substr(tab + 1);
    text.resize(tab);
  }
  item->Caption = text.empty() ? "-" : text;
  const UINT state = menu != nullptr ? GetMenuState(menu, command, MF_BYCOMMAND) : 0;
  if (state != static_cast<UINT>(-1)) {
    item->Enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
    item->Checked = (state & MF_CHECKED) != 0;
    item->Default = (state & MFS_DEFAULT) != 0;
  }
  return item;
}

void TWinSkinForm::WMDRAWITEM(TMessage &m) {
  auto *draw = reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam);
  if (draw == nullptr || draw->CtlType != ODT_MENU || MenuHandle == nullptr) {
    Default(m);
    return;
  }
  const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
  if (SkinManager != nullptr)
    SkinManager->SetHMenu(menu);
  TMenuItem *item = FormMenuItem(draw->itemID);
  if (item == nullptr && Form != nullptr && draw->itemID >= 1 && draw->itemID < 4096) {
    Default(m);
    return;
  }
  const int state = SaveDC(draw->hDC);
  TCanvas canvas;
  canvas.SetHandle(draw->hDC);
  if (Screen != nullptr)
    canvas.Font().Assign(*Screen->MenuFont());
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  if (item != nullptr) {
    DrawSkinnedItem(item, canvas, draw->rcItem, selected, menu);
  } else {
    // A native item: drawn as a framework item made from it; its separators as etched lines.
    std::unique_ptr<TMenuItem> native = CreateMenuItem(menu, draw->itemID);
    DrawHMenuItem2(native.get(), canvas, draw->rcItem, selected, menu);
  }
  canvas.SetHandle(nullptr);
  RestoreDC(draw->hDC, state);
  m.Result = TRUE;
}

void TWinSkinForm::DrawHMenuItem2(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected,
                                  HMENU menu) {
  if (!item->IsLine()) {
    DrawSkinnedItem(item, canvas, rect, selected, menu);
    return;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return;
  TBitmap composed(width, height);
  MenuBackgroundUnder(menu, rect, composed.Canvas());
  RECT local{0, 0, width, height};
  DrawItemText(item, composed.Canvas(), local, false);
  BitBlt(canvas.Handle(), rect.left, rect.top, width, height, composed.Canvas().Handle(), 0, 0,
         SRCCOPY);
}
