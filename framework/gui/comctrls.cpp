// Up-down buttons and date-time pickers.
#include "framework/gui/comctrls.h"

#include "framework/gui/imglist.h"
#include "framework/gui/menus.h"
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The classes of the common controls exist once their library has been asked for them.
void InitClasses(DWORD classes) {
  INITCOMMONCONTROLSEX init{sizeof(init), classes};
  InitCommonControlsEx(&init);
}

// A canvas on the DC of one paint, let go when the scope ends.
struct CanvasOnPaint {
  TCanvas &canvas;
  CanvasOnPaint(TCanvas &c, HDC dc) : canvas(c) { canvas.SetHandle(dc); }
  ~CanvasOnPaint() { canvas.SetHandle(nullptr); }
  CanvasOnPaint(const CanvasOnPaint &) = delete;
  CanvasOnPaint &operator=(const CanvasOnPaint &) = delete;
};

} // namespace

// ================================================================== TUpDown

TUpDown::TUpDown(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams &p) {
  InitClasses(ICC_UPDOWN_CLASS);
  TWinControl::CreateParams(p);
  p.SystemClassName = UPDOWN_CLASSA;
  p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS;
  if (orientation_ == TUDOrientation::udHorizontal)
    p.Style |= UDS_HORZ;
}

void TUpDown::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
  if (associate_ != nullptr)
    SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
}

void TUpDown::SetMin(int value) {
  min_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(int value) {
  max_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TUpDown::Position() {
  if (HandleAllocated())
    position_ = static_cast<int>(SendMessageA(Handle(), UDM_GETPOS32, 0, 0));
  return position_;
}

void TUpDown::SetPosition(int value) {
  position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (HandleAllocated())
    SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::SetOrientation(TUDOrientation value) {
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

void TUpDown::SetAssociate(TWinControl *value) {
  associate_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(value != nullptr ? value->Handle() : nullptr), 0);
}

void TUpDown::WndProc(TMessage &m) {
  if (m.Msg == CN_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(m.LParam);
    if (header->code == UDN_DELTAPOS && OnChanging)
      OnChanging(this);
    m.Result = 0;
    return;
  }
  if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
    Position();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ================================================================== TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 186, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TDateTimePicker::CreateParams(TCreateParams &p) {
  InitClasses(ICC_DATE_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = DATETIMEPICK_CLASSA;
  if (kind_ == TDateTimeKind::dtkTime)
    p.Style |= DTS_TIMEFORMAT;
  else if (dateMode_ == TDTDateMode::dmUpDown)
    p.Style |= DTS_UPDOWN;
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
  if (value == kind_)
    return;
  kind_ = value;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
  if (value == dateMode_)
    return;
  dateMode_ = value;
  RecreateWnd();
}

SYSTEMTIME TDateTimePicker::DateTime() {
  SYSTEMTIME t{};
  SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME &value) {
  SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

bool TDateTimePicker::DroppedDown() {
  if (!HandleAllocated())
    return false;
  // Some systems keep the calendar window while it is closed: it is down when it shows.
  auto calendar = reinterpret_cast<HWND>(SendMessageA(Handle(), DTM_GETMONTHCAL, 0, 0));
  return calendar != nullptr && IsWindowVisible(calendar);
}

void TDateTimePicker::WndProc(TMessage &m) {
  if (m.Msg == CN_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(m.LParam);
    if (header->code == DTN_DATETIMECHANGE && OnChange)
      OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ================================================================== TToolButton

TToolButton::TToolButton(TComponent *owner) : TComponent(owner) {}

TToolButton::~TToolButton() {
  if (toolBar_ != nullptr)
    toolBar_->RemoveButton(this);
}

int TToolButton::Index() const {
  if (toolBar_ == nullptr)
    return -1;
  const auto &all = toolBar_->buttons_;
  return static_cast<int>(std::find(all.begin(), all.end(), this) - all.begin());
}

RECT TToolButton::BoundsRect() const {
  RECT r{0, 0, 0, 0};
  if (toolBar_ != nullptr && toolBar_->HandleAllocated())
    SendMessageA(toolBar_->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(Index()),
                 reinterpret_cast<LPARAM>(&r));
  return r;
}

void TToolButton::Click() {
  if (OnClick)
    OnClick(this);
}

void TToolButton::SetParentComponent(TComponent *parent) {
  if (auto *bar = dynamic_cast<TToolBar *>(parent))
    bar->AddButton(this);
  else
    TComponent::SetParentComponent(parent);
}

TComponent *TToolButton::GetParentComponent() const {
  return toolBar_ != nullptr ? toolBar_ : TComponent::GetParentComponent();
}

// ================================================================== TToolBar

TToolBar::TToolBar(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 150, 29);
}

TToolBar::~TToolBar() {
  for (TToolButton *button : buttons_)
    button->toolBar_ = nullptr;
}

void TToolBar::CreateParams(TCreateParams &p) {
  InitClasses(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = TOOLBARCLASSNAMEA;
  // Placed by its bounds like any control; the form, not the tool bar, decides where it goes.
  p.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
  if (flat_)
    p.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
}

void TToolBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RebuildButtons();
}

void TToolBar::SetFlat(bool value) {
  if (value == flat_)
    return;
  flat_ = value;
  RecreateWnd();
}

TToolButton *TToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw EComponentError("tool button index out of range");
  return buttons_[static_cast<size_t>(index)];
}

void TToolBar::AddButton(TToolButton *button) {
  if (button == nullptr || button->toolBar_ == this)
    return;
  if (button->toolBar_ != nullptr)
    button->toolBar_->RemoveButton(button);
  button->toolBar_ = this;
  button->command_ = ++nextCommand_;
  buttons_.push_back(button);
  RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton *button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
  button->toolBar_ = nullptr;
  button->command_ = 0;
  RebuildButtons();
}

TToolButton *TToolBar::FindButton(UINT command) const {
  for (TToolButton *button : buttons_)
    if (button->command_ == command)
      return button;
  return nullptr;
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated())
    return;
  HWND bar = Handle();
  while (SendMessageA(bar, TB_DELETEBUTTON, 0, 0) != 0) {
  }
  SendMessageA(bar, TB_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(Images != nullptr ? Images->Handle() : nullptr));
  for (TToolButton *button : buttons_) {
    TBBUTTON b{};
    b.iBitmap = button->Style == TToolButtonStyle::tbsSeparator ? 6 : button->ImageIndex;
    b.idCommand = static_cast<int>(button->command_);
    b.fsState = static_cast<BYTE>((button->Enabled ? TBSTATE_ENABLED : 0) |
                                  (button->Down ? TBSTATE_CHECKED : 0));
    switch (button->Style) {
    case TToolButtonStyle::tbsCheck:
      b.fsStyle = BTNS_CHECK;
      break;
    case TToolButtonStyle::tbsDropDown:
      b.fsStyle = BTNS_DROPDOWN;
      break;
    case TToolButtonStyle::tbsSeparator:
      b.fsStyle = BTNS_SEP;
      break;
    default:
      b.fsStyle = BTNS_BUTTON;
    }
    b.iString = button->Caption.empty() ? -1 : reinterpret_cast<INT_PTR>(button->Caption.c_str());
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
  }
}

void TToolBar::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    if (TToolButton *button = FindButton(LOWORD(m.WParam))) {
      if (button->Style == TToolButtonStyle::tbsCheck)
        button->Down = SendMessageA(Handle(), TB_ISBUTTONCHECKED, button->command_, 0) != 0;
      if (button->Enabled)
        button->Click();
      m.Result = 0;
      return;
    }
  } else if (m.Msg == CN_NOTIFY) {
    auto *header = reinterpret_cast<NMHDR *>(m.LParam);
    if (header->code == NM_CUSTOMDRAW) {
      m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW *>(m.LParam));
      return;
    }
  }
  TWinControl::WndProc(m);
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW &draw) {
  NMCUSTOMDRAW &cd = draw.nmcd;
  try {
    if (cd.dwDrawStage == CDDS_PREPAINT) {
      if (OnCustomDraw) {
        // The whole bar's rectangle: the paint's clipping keeps the drawing to what is due.
        CanvasOnPaint on(canvas_, cd.hdc);
        bool defaultDraw = true;
        OnCustomDraw(this, ClientRect(), defaultDraw);
        if (!defaultDraw)
          return CDRF_SKIPDEFAULT;
      }
      return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    }
    if (cd.dwDrawStage == CDDS_ITEMPREPAINT && OnCustomDrawButton) {
      TToolButton *button = FindButton(static_cast<UINT>(cd.dwItemSpec));
      if (button == nullptr)
        return CDRF_DODEFAULT;
      const UINT s = cd.uItemState;
      TCustomDrawState state = 0;
      const std::pair<UINT, TCustomDrawState> map[] = {{CDIS_SELECTED, cdsSelected},
                                                       {CDIS_GRAYED, cdsGrayed},
                                                       {CDIS_DISABLED, cdsDisabled},
                                                       {CDIS_CHECKED, cdsChecked},
                                                       {CDIS_FOCUS, cdsFocused},
                                                       {CDIS_DEFAULT, cdsDefault},
                                                       {CDIS_HOT, cdsHot},
                                                       {CDIS_MARKED, cdsMarked},
                                                       {CDIS_INDETERMINATE, cdsIndeterminate}};
      for (const auto &[flag, bit] : map)
        if ((s & flag) != 0)
          state = static_cast<TCustomDrawState>(state | bit);
      CanvasOnPaint on(canvas_, cd.hdc);
      canvas_.Font().SetColor(static_cast<TColor>(draw.clrText));
      CustomDrawFlags = 0;
      bool defaultDraw = true;
      OnCustomDrawButton(this, button, state, defaultDraw);
      if (!defaultDraw)
        return CDRF_SKIPDEFAULT;
      draw.clrText = ColorToRGB(canvas_.Font().Color());
      return CDRF_DODEFAULT | CustomDrawFlags;
    }
  } catch (...) {
    // A handler's failure leaves the tool bar to draw itself.
  }
  return CDRF_DODEFAULT;
}

// ================================================================== registration

void RegisterComCtrls() {
  static const TEnumInfo orientationInfo{"TUDOrientation", {"udVertical", "udHorizontal"}};
  static const TEnumInfo kindInfo{"TDateTimeKind", {"dtkDate", "dtkTime"}};
  static const TEnumInfo modeInfo{"TDTDateMode", {"dmComboBox", "dmUpDown"}};
  using U = TUpDown;
  RegisterClass<TUpDown, TWinControl>(
      "TUpDown", {
                     Published::Integer("Min", &U::Min, &U::SetMin),
                     Published::Integer("Max", &U::Max, &U::SetMax),
                     Published::Enumeration("Orientation", orientationInfo, &U::Orientation,
                                            &U::SetOrientation),
                 });
  using D = TDateTimePicker;
  RegisterClass<TDateTimePicker, TWinControl>(
      "TDateTimePicker",
      {
          Published::Enumeration("Kind", kindInfo, &D::Kind, &D::SetKind),
          Published::Enumeration("DateMode", modeInfo, &D::DateMode, &D::SetDateMode),
      });
  static const TEnumInfo buttonStyleInfo{"TToolButtonStyle",
                                         {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator"}};
  using B = TToolButton;
  RegisterClass<TToolButton, TComponent>(
      "TToolButton", {
                         Published::String("Caption", &B::Caption),
                         Published::Integer("ImageIndex", &B::ImageIndex),
                         Published::Enumeration("Style", buttonStyleInfo, &B::Style),
                         Published::Boolean("Enabled", &B::Enabled),
                         Published::Boolean("Down", &B::Down),
                         Published::Object("DropdownMenu", &B::DropdownMenu),
                         Published::Object("MenuItem", &B::MenuItem),
                         Published::Event("OnClick", &B::OnClick),
                     });
  using T = TToolBar;
  RegisterClass<TToolBar, TWinControl>(
      "TToolBar", {
                      Published::Object("Images", &T::Images),
                      Published::Boolean("Flat", &T::Flat, &T::SetFlat),
                      Published::Event("OnCustomDraw", &T::OnCustomDraw),
                      Published::Event("OnCustomDrawButton", &T::OnCustomDrawButton),
                  });
}
