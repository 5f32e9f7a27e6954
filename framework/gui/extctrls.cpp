#include "framework/gui/extctrls.h"
#include "framework/core/typinfo.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

uint16_t U16(const uint8_t *p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The icon of an ICO file whose size is nearest the system's large icon (deeper colours win
// a tie). Every offset is checked against the data before it is used.
HICON IconFromIcoFile(const uint8_t *data, size_t size) {
  if (size < 6 || U16(data) != 0 || U16(data + 2) != 1)
    return nullptr;
  const size_t count = U16(data + 4);
  if (count == 0 || 6 + count * 16 > size)
    return nullptr;
  const int want = GetSystemMetrics(SM_CXICON);
  size_t best = count;
  int bestDistance = INT32_MAX, bestBits = -1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t *e = data + 6 + i * 16;
    int width = e[0] == 0 ? 256 : e[0];
    int bits = U16(e + 6);
    uint32_t bytes = U32(e + 8), offset = U32(e + 12);
    if (offset > size || bytes > size - offset || bytes < 40)
      continue;
    int distance = std::abs(width - want);
    if (distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
      best = i;
      bestDistance = distance;
      bestBits = bits;
    }
  }
  if (best == count)
    return nullptr;
  const uint8_t *e = data + 6 + best * 16;
  std::vector<uint8_t> image(data + U32(e + 12), data + U32(e + 12) + U32(e + 8));
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                  0, 0, LR_DEFAULTCOLOR);
}

} // namespace

// ================================================================== TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TIcon &TPicture::Icon() {
  if (!icon_) {
    icon_ = std::make_unique<TIcon>();
    bitmap_.reset();
  }
  return *icon_;
}

TBitmap &TPicture::Bitmap() {
  if (!bitmap_) {
    bitmap_ = std::make_unique<TBitmap>();
    icon_.reset();
  }
  return *bitmap_;
}

int TPicture::Width() const {
  return HasIcon() ? icon_->Width() : HasBitmap() ? bitmap_->Width() : 0;
}

int TPicture::Height() const {
  return HasIcon() ? icon_->Height() : HasBitmap() ? bitmap_->Height() : 0;
}

void TPicture::Clear() {
  icon_.reset();
  bitmap_.reset();
  Changed();
}

void TPicture::Changed() {
  if (OnChange)
    OnChange(this);
}

void TPicture::LoadFromMemory(const void *data, size_t size) {
  const auto *bytes = static_cast<const uint8_t *>(data);
  if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromMemory(data, size);
    icon_.reset();
    bitmap_ = std::move(bitmap);
  } else if (HICON icon = IconFromIcoFile(bytes, size)) {
    auto holder = std::make_unique<TIcon>();
    holder->SetHandle(icon);
    bitmap_.reset();
    icon_ = std::move(holder);
  } else {
    throw EInvalidGraphic("the picture is neither a bitmap nor an icon");
  }
  Changed();
}

void TPicture::LoadFromStream(TStream &stream) {
  int64_t left = stream.Size() - stream.Position();
  if (left <= 0 || left > (int64_t{1} << 28))
    throw EInvalidGraphic("no picture data");
  std::vector<uint8_t> data(static_cast<size_t>(left));
  stream.ReadBuffer(data.data(), static_cast<int32_t>(left));
  LoadFromMemory(data.data(), data.size());
}

// ================================================================== TImage

TImage::TImage(TComponent *owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetBoundsFields(0, 0, 105, 105);
  picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() = default;

void TImage::PictureChanged(TObject *) {
  if (autoSize_ && !picture_->Empty())
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  stretch_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  center_ = value;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  PictureChanged(this);
}

bool TImage::ReadBinaryProperty(const std::string &name, TStream &stream) {
  if (name != "Picture")
    return TGraphicControl::ReadBinaryProperty(name, stream);
  picture_->LoadFromStream(stream);
  return true;
}

RECT TImage::DestRect() const {
  int w = picture_->Width(), h = picture_->Height();
  if (stretch_)
    return {0, 0, Width(), Height()};
  if (center_)
    return {(Width() - w) / 2, (Height() - h) / 2, (Width() - w) / 2 + w, (Height() - h) / 2 + h};
  return {0, 0, w, h};
}

void TImage::Paint() {
  if (picture_->Empty())
    return;
  RECT dest = DestRect();
  TCanvas &c = Canvas();
  if (picture_->HasIcon()) {
    if (!transparent_) {
      c.Brush().SetStyle(TBrushStyle::bsSolid);
      c.Brush().SetColor(Parent() != nullptr ? Parent()->Color() : clBtnFace);
      c.FillRect(dest);
    }
    c.StretchDraw(dest, picture_->Icon());
    return;
  }
  TBitmap &bitmap = picture_->Bitmap();
  const bool wasTransparent = bitmap.Transparent();
  bitmap.SetTransparent(transparent_);
  c.StretchDraw(dest, bitmap);
  bitmap.SetTransparent(wasTransparent);
}

// ================================================================== panels

void Frame3D(HDC dc, RECT &rect, TColor topColor, TColor bottomColor, int width) {
  GdiPen top(CreatePen(PS_SOLID, 1, ColorToRGB(topColor)));
  GdiPen bottom(CreatePen(PS_SOLID, 1, ColorToRGB(bottomColor)));
  rect.right--;
  rect.bottom--;
  for (int i = 0; i < width; ++i) {
    {
      GdiSelection sel(dc, top.Get());
      POINT tl[3] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
      Polyline(dc, tl, 3);
    }
    {
      GdiSelection sel(dc, bottom.Get());
      POINT br[3] = {
          {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
      Polyline(dc, br, 3);
    }
    InflateRect(&rect, -1, -1);
  }
  rect.right++;
  rect.bottom++;
}

TCustomPanel::TCustomPanel(TComponent *owner) : TCustomControl(owner) {
  SetBoundsFields(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams &p) {
  TCustomControl::CreateParams(p);
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
  bevelWidth_ = std::max(value, 1);
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  borderWidth_ = std::max(value, 0);
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas &c = Canvas();
  HDC dc = c.Handle();
  RECT r = ClientRect();
  auto colors = [](TBevelCut cut, TColor &top, TColor &bottom) {
    top = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (bevelOuter_ != TBevelCut::bvNone) {
    colors(bevelOuter_, top, bottom);
    if (bevelOuter_ == TBevelCut::bvSpace)
      top = bottom = Color();
    Frame3D(dc, r, top, bottom, bevelWidth_);
  }
  Frame3D(dc, r, Color(), Color(), borderWidth_);
  if (bevelInner_ != TBevelCut::bvNone) {
    colors(bevelInner_, top, bottom);
    if (bevelInner_ == TBevelCut::bvSpace)
      top = bottom = Color();
    Frame3D(dc, r, top, bottom, bevelWidth_);
  }
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(r);
  const std::string text = Caption();
  if (!text.empty()) {
    c.Brush().SetStyle(TBrushStyle::bsClear);
    UINT align = alignment_ == TAlignment::taLeftJustify    ? DT_LEFT
                 : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                            : DT_CENTER;
    c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
  }
}

// ================================================================== TTimer

TTimer::TTimer(TComponent *owner) : TComponent(owner) {
  RegisterControlClasses();
  window_ = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
  DeallocateHWnd(window_);
}

void TTimer::UpdateTimer() {
  if (running_)
    KillTimer(window_, 1);
  running_ = false;
  if (enabled_ && interval_ != 0 && onTimer_ && !IsLoading())
    running_ = SetTimer(window_, 1, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_)
    return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_)
    return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent &handler) {
  onTimer_ = handler;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::WndProc(TMessage &m) {
  if (m.Msg == WM_TIMER) {
    if (enabled_ && onTimer_)
      onTimer_(this);
    m.Result = 0;
    return;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

// ================================================================== registration

// ================================================================== TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent *owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {}

TCustomRadioGroup::~TCustomRadioGroup() = default;

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  for (TRadioButton *button : buttons_)
    delete button;
  buttons_.clear();
  for (int i = 0; i < items_->Count(); ++i) {
    auto *button = new TRadioButton(this);
    button->SetCaption(items_->Get(i));
    button->SetParent(this);
    button->SetOnClick(TNotifyEvent(this, &TCustomRadioGroup::ButtonClick));
    buttons_.push_back(button);
  }
  ArrangeButtons();
  if (itemIndex_ >= 0 && itemIndex_ < ButtonCount())
    buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty())
    return;
  const int columns = std::max(1, columns_);
  const int rows = (ButtonCount() + columns - 1) / columns;
  const int top = 16, width = std::max(1, (Width() - 16) / columns);
  const int rowHeight = std::max(1, (Height() - top - 6) / rows);
  for (int i = 0; i < ButtonCount(); ++i) {
    const int column = i / rows, row = i % rows;
    buttons_[static_cast<size_t>(i)]->SetBounds(8 + column * width,
                                                top + row * rowHeight + (rowHeight - 17) / 2,
                                                width - 4, 17);
  }
}

void TCustomRadioGroup::SetItemIndex(int value) {
  if (value < -1 || value >= std::max(ButtonCount(), items_->Count()))
    value = -1;
  itemIndex_ = value;
  if (value >= 0 && value < ButtonCount())
    buttons_[static_cast<size_t>(value)]->SetChecked(true);
  else
    for (TRadioButton *button : buttons_)
      button->SetChecked(false);
}

void TCustomRadioGroup::SetColumns(int value) {
  columns_ = std::clamp(value, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClick(TObject *sender) {
  auto found = std::find(buttons_.begin(), buttons_.end(), sender);
  if (found == buttons_.end() || !(*found)->Checked())
    return;
  itemIndex_ = static_cast<int>(found - buttons_.begin());
  Click();
}

void RegisterExtControls() {
  static const TEnumInfo bevelInfo{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  static const TEnumInfo alignInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  using I = TImage;
  RegisterClass<TImage, TGraphicControl>(
      "TImage", {
                    Published::Boolean("Transparent", &I::Transparent, &I::SetTransparent),
                    Published::Boolean("Stretch", &I::Stretch, &I::SetStretch),
                    Published::Boolean("Center", &I::Center, &I::SetCenter),
                    Published::Boolean("AutoSize", &I::AutoSize, &I::SetAutoSize),
                });
  using P = TCustomPanel;
  RegisterClass<TCustomPanel, TCustomControl>(
      "TCustomPanel",
      {
          Published::Enumeration("BevelInner", bevelInfo, &P::BevelInner, &P::SetBevelInner),
          Published::Enumeration("BevelOuter", bevelInfo, &P::BevelOuter, &P::SetBevelOuter),
          Published::Integer("BevelWidth", &P::BevelWidth, &P::SetBevelWidth),
          Published::Integer("BorderWidth", &P::BorderWidth, &P::SetBorderWidth),
          Published::Enumeration("Alignment", alignInfo, &P::Alignment, &P::SetAlignment),
          Published::Boolean("Transparent", &P::Transparent, &P::SetTransparent),
      });
  RegisterClass<TPanel, TCustomPanel>("TPanel", {});
  using G = TCustomRadioGroup;
  RegisterClass<TCustomRadioGroup, TCustomGroupBox>(
      "TCustomRadioGroup", {
                               Published::Object("Items", &G::Items),
                               Published::Integer("ItemIndex", &G::ItemIndex, &G::SetItemIndex),
                               Published::Integer("Columns", &G::Columns, &G::SetColumns),
                           });
  RegisterClass<TRadioGroup, TCustomRadioGroup>("TRadioGroup", {});
  using T = TTimer;
  RegisterClass<TTimer, TComponent>(
      "TTimer", {
                    Published::Boolean("Enabled", &T::Enabled, &T::SetEnabled),
                    Published::Integer("Interval", &T::Interval, &T::SetInterval),
                    Published::Event("OnTimer", &T::OnTimer, &T::SetOnTimer),
                });
}
