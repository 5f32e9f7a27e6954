// Bit buttons and speed buttons.
#include "framework/gui/buttons.h"

#include "framework/core/typinfo.h"
#include "framework/gui/gdiobj.h"

#include <windowsx.h>

#include <algorithm>

// ================================================================== TGlyphSettings

TGlyphSettings::TGlyphSettings() : glyph_(std::make_unique<TBitmap>()) {}

void TGlyphSettings::DrawContent(HDC dc, const RECT &r, const std::string &caption, int image,
                                 bool enabled, HFONT font) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  SIZE g{0, 0};
  if (!glyph_->Empty())
    g = {glyph_->Width() / numGlyphs_, glyph_->Height()};
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT t{0, 0, 0, 0};
  if (!caption.empty())
    DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &t,
              DT_CALCRECT | DT_SINGLELINE);
  const SIZE text{t.right, t.bottom};
  const bool across =
      layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
  const int room = across ? w : h;
  const int gMain = across ? g.cx : g.cy, tMain = across ? text.cx : text.cy;
  int spacing = (gMain == 0 || tMain == 0) ? 0 : spacing_;
  int margin = margin_;
  if (margin < 0)
    margin = (room - gMain - spacing - tMain) / 2;
  int gPos = margin, tPos = margin + gMain + spacing;
  if (layout_ == TButtonLayout::blGlyphRight || layout_ == TButtonLayout::blGlyphBottom) {
    gPos = room - margin - gMain;
    tPos = gPos - spacing - tMain;
  }
  POINT gAt = across ? POINT{gPos, (h - g.cy) / 2} : POINT{(w - g.cx) / 2, gPos};
  POINT tAt = across ? POINT{tPos, (h - text.cy) / 2} : POINT{(w - text.cx) / 2, tPos};
  if (g.cx > 0) {
    const int index = image <= numGlyphs_ ? image : 1;
    TBitmap frame(g.cx, g.cy);
    frame.Canvas().CopyRect({0, 0, g.cx, g.cy}, glyph_->Canvas(),
                            {(index - 1) * g.cx, 0, index * g.cx, g.cy});
    frame.SetTransparent(true);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Draw(r.left + gAt.x, r.top + gAt.y, frame);
    canvas.SetHandle(nullptr);
  }
  if (!caption.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT at{r.left + tAt.x, r.top + tAt.y, r.left + tAt.x + text.cx, r.top + tAt.y + text.cy};
    DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &at, DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

// ================================================================== TBitBtn

TBitBtn::TBitBtn(TComponent *owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams &p) {
  TButton::CreateParams(p);
  // The system draws no glyphs: the button draws itself (CN_DRAWITEM).
  p.Style = (p.Style & ~0x0Fu) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage &m) {
  if (m.Msg == CN_DRAWITEM) {
    CNDrawItem(m);
    return;
  }
  // An owner-drawn button would lose the double click as a second click.
  if (m.Msg == WM_LBUTTONDBLCLK)
    m.Msg = WM_LBUTTONDOWN;
  TButton::WndProc(m);
}

void TBitBtn::CNDrawItem(TMessage &m) {
  const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(m.LParam);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  RECT r = item.rcItem;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  RECT content = r;
  InflateRect(&content, -2, -2);
  if (pressed)
    OffsetRect(&content, 1, 1);
  DrawContent(item.hDC, content, Caption(),
              !enabled  ? 2
              : pressed ? 3
                        : 1,
              enabled, Font()->Handle());
  if ((item.itemState & ODS_FOCUS) != 0) {
    InflateRect(&r, -4, -4);
    DrawFocusRect(item.hDC, &r);
  }
  m.Result = 1;
}

// ================================================================== TSpeedButton

TSpeedButton::TSpeedButton(TComponent *owner) : TGraphicControl(owner) {
  SetBoundsFields(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (value == down_ || (groupIndex_ == 0 && value))
    return;
  down_ = value;
  if (down_ && Parent() != nullptr)
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto *other = dynamic_cast<TSpeedButton *>(Parent()->Controls(i));
      if (other != nullptr && other != this && other->groupIndex_ == groupIndex_)
        other->SetDown(false);
    }
  Invalidate();
}

void TSpeedButton::Click() {
  if (groupIndex_ != 0)
    SetDown(!down_ || !allowAllUp_ ? true : false);
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
    if (Enabled()) {
      pressed_ = true;
      Invalidate();
    }
    break;
  case WM_LBUTTONUP:
    pressed_ = false;
    Invalidate();
    break;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    if (flat_)
      Invalidate();
    break;
  default:
    break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  TCanvas &c = Canvas();
  HDC dc = c.Handle();
  RECT r = ClientRect();
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool sunk = pressed_ || down_;
  if (sunk)
    DrawEdge(dc, &r, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat_ || MouseInControl())
    DrawEdge(dc, &r, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  InflateRect(&r, -2, -2);
  if (sunk)
    OffsetRect(&r, 1, 1);
  const int image = !Enabled() ? 2 : down_ ? 4 : pressed_ ? 3 : 1;
  DrawContent(dc, r, Caption(), image, Enabled(), Font()->Handle());
}

// ================================================================== registration

void RegisterButtons() {
  static const TEnumInfo layoutInfo{"TButtonLayout",
                                    {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  using G = TGlyphSettings;
  auto glyphProperties = [] {
    return std::vector<TPropInfo>{
        Published::Object("Glyph", &G::Glyph),
        Published::Integer("NumGlyphs", &G::NumGlyphs, &G::SetNumGlyphs),
        Published::Enumeration("Layout", layoutInfo, &G::Layout, &G::SetLayout),
        Published::Integer("Margin", &G::Margin, &G::SetMargin),
        Published::Integer("Spacing", &G::Spacing, &G::SetSpacing),
    };
  };
  RegisterClass<TBitBtn, TButton>("TBitBtn", glyphProperties());
  using S = TSpeedButton;
  std::vector<TPropInfo> speed = glyphProperties();
  speed.push_back(Published::Boolean("Flat", &S::Flat, &S::SetFlat));
  speed.push_back(Published::Boolean("Down", &S::Down, &S::SetDown));
  speed.push_back(Published::Integer("GroupIndex", &S::GroupIndex, &S::SetGroupIndex));
  speed.push_back(Published::Boolean("AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp));
  RegisterClass<TSpeedButton, TGraphicControl>("TSpeedButton", std::move(speed));
}
