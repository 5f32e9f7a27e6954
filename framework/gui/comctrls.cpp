// Up-down buttons and date-time pickers.
#include "framework/gui/comctrls.h"

#include "framework/gui/imglist.h"
#include "framework/gui/menus.h"
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"
#include "framework/gui/imglist.h"

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
  // The buddy first: setting the position writes it into the buddy's text.
  if (associate_ != nullptr)
    SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
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
  RegisterBarControls();
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

// ================================================================== bars and tabs

namespace {

template <class C> void SendIfMade(C &control, UINT msg, WPARAM w, LPARAM l) {
  if (control.HandleAllocated())
    SendMessageA(control.Handle(), msg, w, l);
}

// A read-only question to a control's window; 0 when it has none.
LRESULT Ask(const TWinControl &control, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  if (!control.HandleAllocated())
    return 0;
  // Handle() only answers the window that exists.
  return SendMessageA(const_cast<TWinControl &>(control).Handle(), msg, w, l);
}

} // namespace

// ------------------------------------------------------------------ TProgressBar

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 150, 17);
}

void TProgressBar::CreateParams(TCreateParams &p) {
  InitClasses(ICC_PROGRESS_CLASS);
  TWinControl::CreateParams(p);
  p.SystemClassName = PROGRESS_CLASSA;
  if (orientation_ == TProgressBarOrientation::pbVertical)
    p.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
  min_ = value;
  SendIfMade(*this, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int value) {
  max_ = value;
  SendIfMade(*this, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TProgressBar::Position() const {
  if (HandleAllocated())
    position_ = static_cast<int>(Ask(*this, PBM_GETPOS));
  return position_;
}

void TProgressBar::SetPosition(int value) {
  position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  SendIfMade(*this, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

// ------------------------------------------------------------------ TTrackBar

TTrackBar::TTrackBar(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 150, 45);
  SetTabStop(true);
  SetParentColor(true); // the control's background is its parent's
}

void TTrackBar::CreateParams(TCreateParams &p) {
  InitClasses(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = TRACKBAR_CLASSA;
  p.Style |= orientation_ == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ;
  p.Style |= tickStyle_ == TTickStyle::tsAuto ? TBS_AUTOTICKS : TBS_NOTICKS;
}

void TTrackBar::SendRange() {
  if (!HandleAllocated())
    return;
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, max_);
}

void TTrackBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  SendRange();
  SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetMin(int value) {
  min_ = value;
  SendRange();
}

void TTrackBar::SetMax(int value) {
  max_ = value;
  SendRange();
}

int TTrackBar::Position() const {
  if (HandleAllocated())
    position_ = static_cast<int>(Ask(*this, TBM_GETPOS));
  return position_;
}

void TTrackBar::SetPosition(int value) {
  position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  SendIfMade(*this, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetFrequency(int value) {
  frequency_ = std::max(value, 1);
  SendIfMade(*this, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
  if (value == tickStyle_)
    return;
  tickStyle_ = value;
  RecreateWnd();
}

void TTrackBar::WndProc(TMessage &m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    const int before = position_;
    if (Position() != before && OnChange)
      OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ------------------------------------------------------------------ status bars

TStatusPanel::TStatusPanel(TCollection *collection) : TCollectionItem(collection) {}

void TStatusPanel::Changed() {
  if (auto *panels = dynamic_cast<TStatusPanels *>(Collection()))
    panels->StatusBar()->UpdatePanels();
}

void TStatusPanel::SetText(const std::string &value) {
  text_ = value;
  Changed();
}

void TStatusPanel::SetWidth(int value) {
  width_ = std::max(value, 0);
  Changed();
}

void TStatusPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  bevel_ = value;
  Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  style_ = value;
  Changed();
}

void TStatusPanel::SetBiDiMode(TBiDiMode value) {
  biDiMode_ = value;
  Changed();
}

void TStatusPanel::Assign(const TCollectionItem &source) {
  if (const auto *panel = dynamic_cast<const TStatusPanel *>(&source)) {
    text_ = panel->text_;
    width_ = panel->width_;
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    biDiMode_ = panel->biDiMode_;
    Changed();
  }
}

TStatusPanels::TStatusPanels(TCustomStatusBar *bar)
    : TCollection([](TCollection *c) -> TCollectionItem * { return new TStatusPanel(c); }),
      bar_(bar) {}

TCustomStatusBar::TCustomStatusBar(TComponent *owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)),
      canvas_(std::make_unique<TCanvas>()) {
  SetBoundsFields(0, 0, 200, 19);
  SetColor(clBtnFace);
}

TCustomStatusBar::~TCustomStatusBar() {
  // The panels go before the window; they must not ask it to change any more.
  OnDrawPanel = nullptr;
}

void TCustomStatusBar::CreateParams(TCreateParams &p) {
  InitClasses(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = STATUSCLASSNAMEA;
  p.Style |= CCS_BOTTOM;
  if (sizeGrip_)
    p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  UpdatePanels();
}

void TCustomStatusBar::UpdatePanels() {
  if (!HandleAllocated() || panels_ == nullptr)
    return;
  HWND bar = Handle();
  const int count = panels_->Count();
  const bool simple = simplePanel_ || count == 0;
  SendMessageA(bar, SB_SIMPLE, simple, 0);
  if (simple) {
    SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
    return;
  }
  std::vector<int> rights(static_cast<size_t>(count));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    right += panels_->Items(i)->Width();
    rights[static_cast<size_t>(i)] = i == count - 1 ? -1 : right;
  }
  SendMessageA(bar, SB_SETPARTS, static_cast<WPARAM>(count),
               reinterpret_cast<LPARAM>(rights.data()));
  for (int i = 0; i < count; ++i) {
    const TStatusPanel *panel = panels_->Items(i);
    WPARAM how = static_cast<WPARAM>(i);
    if (panel->Bevel() == TStatusPanelBevel::pbNone)
      how |= SBT_NOBORDERS;
    else if (panel->Bevel() == TStatusPanelBevel::pbRaised)
      how |= SBT_POPOUT;
    if (panel->Style() == TStatusPanelStyle::psOwnerDraw)
      how |= SBT_OWNERDRAW;
    // The system centres what follows one tab and right-aligns what follows two.
    const std::string text = (panel->Alignment() == TAlignment::taCenter         ? "\t"
                              : panel->Alignment() == TAlignment::taRightJustify ? "\t\t"
                                                                                 : "") +
                             panel->Text();
    SendMessageA(bar, SB_SETTEXTA, how, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TCustomStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string &value) {
  simpleText_ = value;
  UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_)
    return;
  sizeGrip_ = value;
  RecreateWnd();
}

void TCustomStatusBar::SetBiDiMode(TBiDiMode value) {
  biDiMode_ = value;
  Invalidate();
}

void TCustomStatusBar::WndProc(TMessage &m) {
  if (m.Msg == CN_DRAWITEM) {
    const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(m.LParam);
    if (static_cast<int>(item->itemID) < panels_->Count())
      DrawPanel(item->hDC, panels_->Items(static_cast<int>(item->itemID)), item->rcItem);
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomStatusBar::DrawPanel(HDC dc, TStatusPanel *panel, const RECT &rect) {
  if (!OnDrawPanel)
    return;
  canvas_->SetHandle(dc);
  canvas_->Font().Assign(*Font());
  try {
    OnDrawPanel(this, panel, rect);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

// ------------------------------------------------------------------ tab controls

TCustomTabControl::TCustomTabControl(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 289, 193);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TCustomTabControl::CreateParams(TCreateParams &p) {
  InitClasses(ICC_TAB_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = WC_TABCONTROLA;
  p.Style |= WS_CLIPCHILDREN;
  switch (tabPosition_) {
  case TTabPosition::tpTop:
    break;
  case TTabPosition::tpBottom:
    p.Style |= TCS_BOTTOM;
    break;
  case TTabPosition::tpLeft:
    p.Style |= TCS_VERTICAL | TCS_MULTILINE;
    break;
  case TTabPosition::tpRight:
    p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
    break;
  }
  if (multiLine_)
    p.Style |= TCS_MULTILINE;
  if (style_ == TTabStyle::tsButtons)
    p.Style |= TCS_BUTTONS;
  else if (style_ == TTabStyle::tsFlatButtons)
    p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  if (images_ != nullptr)
    SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  LoadTabs();
  if (tabIndex_ >= 0)
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
  LayoutPages();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
  if (value == tabPosition_)
    return;
  tabPosition_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
  if (value == style_)
    return;
  style_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value) {
  if (value == multiLine_)
    return;
  multiLine_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TImageList *value) {
  images_ = value;
  SendIfMade(*this, TCM_SETIMAGELIST, 0,
             reinterpret_cast<LPARAM>(value != nullptr ? value->Handle() : nullptr));
}

int TCustomTabControl::TabIndex() const {
  if (HandleAllocated())
    tabIndex_ = static_cast<int>(Ask(*this, TCM_GETCURSEL));
  return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int value) {
  tabIndex_ = value;
  SendIfMade(*this, TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

RECT TCustomTabControl::DisplayRect() {
  RECT r{};
  GetClientRect(Handle(), &r);
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::Change() {
  if (OnChange)
    OnChange(this);
}

void TCustomTabControl::BoundsChanged() {
  if (HandleAllocated())
    LayoutPages();
}

void TCustomTabControl::InsertTab(int index, const std::string &text, int imageIndex) {
  if (!HandleAllocated())
    return;
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<char *>(text.c_str());
  item.iImage = imageIndex;
  SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::DeleteTab(int index) {
  SendIfMade(*this, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::SetTabText(int index, const std::string &text) {
  if (!HandleAllocated())
    return;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char *>(text.c_str());
  SendMessageA(Handle(), TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::WndProc(TMessage &m) {
  if (m.Msg == CN_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(m.LParam);
    m.Result = 0;
    if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      TabIndex();
      Change();
    }
    return;
  }
  TWinControl::WndProc(m);
  if (m.Msg == WM_SIZE)
    LayoutPages();
}

TTabControl::TTabControl(TComponent *owner) : TCustomTabControl(owner) {}

TTabControl::~TTabControl() = default;

int TTabControl::TabCount() const {
  return static_cast<int>(tabs_.size());
}

std::string TTabControl::Tab(int index) const {
  return tabs_.at(static_cast<size_t>(index));
}

void TTabControl::AddTab(const std::string &text) {
  tabs_.push_back(text);
  InsertTab(TabCount() - 1, text, -1);
}

void TTabControl::SetTabs(const std::vector<std::string> &texts) {
  tabs_ = texts;
  if (!HandleAllocated())
    return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  LoadTabs();
}

void TTabControl::LoadTabs() {
  for (int i = 0; i < TabCount(); ++i)
    InsertTab(i, tabs_[static_cast<size_t>(i)], -1);
}

// ------------------------------------------------------------------ page controls

TTabSheet::TTabSheet(TComponent *owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
  if (pageControl_ != nullptr && TObject::IsLive(pageControl_))
    pageControl_->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::SetPageControl(TPageControl *value) {
  if (value == pageControl_)
    return;
  if (pageControl_ != nullptr)
    pageControl_->RemovePage(this);
  pageControl_ = value;
  if (value != nullptr) {
    SetParent(value);
    value->InsertPage(this);
  }
}

void TTabSheet::SetParentComponent(TComponent *parent) {
  if (auto *pages = dynamic_cast<TPageControl *>(parent))
    SetPageControl(pages);
  else
    TWinControl::SetParentComponent(parent);
}

int TTabSheet::PageIndex() const {
  if (pageControl_ == nullptr)
    return -1;
  for (int i = 0; i < pageControl_->PageCount(); ++i)
    if (pageControl_->Pages(i) == this)
      return i;
  return -1;
}

void TTabSheet::SetImageIndex(int value) {
  imageIndex_ = value;
  if (pageControl_ != nullptr && pageControl_->HandleAllocated()) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = value;
    SendMessageA(pageControl_->Handle(), TCM_SETITEMA, static_cast<WPARAM>(PageIndex()),
                 reinterpret_cast<LPARAM>(&item));
  }
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (pageControl_ != nullptr)
    pageControl_->PageCaptionChanged(this);
}

TPageControl::TPageControl(TComponent *owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  // The pages are destroyed with the other children after this; they must not call back.
  for (TTabSheet *page : pages_)
    page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet *TPageControl::Pages(int index) const {
  return pages_.at(static_cast<size_t>(index));
}

int TPageControl::ActivePageIndex() const {
  return activePage_ != nullptr ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet *page) {
  if (page != nullptr && page->PageControl() != this)
    return;
  activePage_ = page;
  SetTabIndex(page != nullptr ? page->PageIndex() : -1);
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  LayoutPages();
  for (TTabSheet *page : pages_)
    if (page != activePage_)
      page->SetVisible(false);
  if (activePage_ != nullptr) {
    activePage_->SetVisible(true);
    activePage_->BringToFront();
  }
}

void TPageControl::InsertPage(TTabSheet *page) {
  pages_.push_back(page);
  InsertTab(PageCount() - 1, page->Caption(), page->ImageIndex());
  if (activePage_ == nullptr)
    SetActivePage(page);
  else
    LayoutPages();
}

void TPageControl::RemovePage(TTabSheet *page) {
  auto found = std::find(pages_.begin(), pages_.end(), page);
  if (found == pages_.end())
    return;
  const int index = static_cast<int>(found - pages_.begin());
  pages_.erase(found);
  page->pageControl_ = nullptr;
  DeleteTab(index);
  if (activePage_ == page)
    SetActivePageIndex(std::min(index, PageCount() - 1));
  else
    SetTabIndex(ActivePageIndex());
}

void TPageControl::PageCaptionChanged(TTabSheet *page) {
  SetTabText(page->PageIndex(), page->Caption());
}

void TPageControl::LoadTabs() {
  for (int i = 0; i < PageCount(); ++i)
    InsertTab(i, Pages(i)->Caption(), Pages(i)->ImageIndex());
  SetTabIndex(ActivePageIndex());
}

void TPageControl::Change() {
  const int index = TabIndex();
  activePage_ = index >= 0 && index < PageCount() ? Pages(index) : nullptr;
  ShowActivePage();
  TCustomTabControl::Change();
}

void TPageControl::LayoutPages() {
  if (!HandleAllocated())
    return;
  const RECT r = DisplayRect();
  for (TTabSheet *page : pages_)
    page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// ------------------------------------------------------------------ tab sets

TTabSet::TTabSet(TComponent *owner)
    : TCustomControl(owner), tabs_(std::make_unique<TStringList>()), scroller_(new TUpDown(this)) {
  SetBoundsFields(0, 0, 185, 21);
  SetColor(clBtnFace);
  scroller_->SetOrientation(TUDOrientation::udHorizontal);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
}

TTabSet::~TTabSet() = default;

void TTabSet::SetTabIndex(int value) {
  if (value < -1 || value >= tabs_->Count() || value == tabIndex_)
    return;
  tabIndex_ = value;
  Invalidate();
}

void TTabSet::SetFirstIndex(int value) {
  value = std::clamp(value, 0, std::max(tabs_->Count() - 1, 0));
  if (value == firstIndex_)
    return;
  firstIndex_ = value;
  Invalidate();
}

void TTabSet::SetStartMargin(int value) {
  startMargin_ = std::max(value, 0);
  Invalidate();
}

void TTabSet::SetEndMargin(int value) {
  endMargin_ = std::max(value, 0);
  Invalidate();
}

int TTabSet::TabWidth(int index) {
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  const std::string text = tabs_->Get(index);
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  return size.cx + 9;
}

std::vector<RECT> TTabSet::VisibleTabs() {
  constexpr int kScrollerWidth = 21;
  std::vector<RECT> rects;
  int total = startMargin_ + endMargin_;
  for (int i = 0; i < tabs_->Count(); ++i)
    total += TabWidth(i);
  const bool scroll = total > Width();
  if (scroll != scroller_->Visible() || scroll) {
    scroller_->SetBounds(Width() - kScrollerWidth, 0, kScrollerWidth, Height());
    scroller_->SetMax(std::max(tabs_->Count() - 1, 0));
    scroller_->SetPosition(firstIndex_);
    scroller_->SetVisible(scroll);
  }
  const int limit = Width() - endMargin_ - (scroll ? kScrollerWidth : 0);
  int x = startMargin_;
  for (int i = scroll ? firstIndex_ : 0; i < tabs_->Count(); ++i) {
    const int w = TabWidth(i);
    if (x + w > limit)
      break;
    rects.push_back({x, 0, x + w, Height()});
    x += w;
  }
  return rects;
}

void TTabSet::TabsChanged() {
  if (tabIndex_ >= tabs_->Count())
    tabIndex_ = tabs_->Count() - 1;
  firstIndex_ = std::clamp(firstIndex_, 0, std::max(tabs_->Count() - 1, 0));
  Invalidate();
}

void TTabSet::Paint() {
  TCanvas &c = Canvas();
  const RECT all = ClientRect();
  c.Brush().SetColor(Color());
  c.FillRect(all);
  c.Pen().SetColor(clBtnShadow);
  c.MoveTo(0, 0);
  c.LineTo(all.right, 0);
  const std::vector<RECT> rects = VisibleTabs();
  const int first = scroller_->Visible() ? firstIndex_ : 0;
  SetBkMode(c.Handle(), TRANSPARENT);
  for (size_t i = 0; i < rects.size(); ++i) {
    const int index = first + static_cast<int>(i);
    RECT r = rects[i];
    const bool selected = index == tabIndex_;
    if (!selected)
      InflateRect(&r, 0, -2), OffsetRect(&r, 0, -1);
    c.Brush().SetColor(selected ? clWindow : clBtnFace);
    c.Pen().SetColor(clBtnShadow);
    c.Rectangle(r);
    RECT text = r;
    c.DrawText(tabs_->Get(index), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TTabSet::BoundsChanged() {
  Invalidate();
}

void TTabSet::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_HSCROLL:
    // The scroller moved: its position is the first tab shown.
    if (scroller_->HandleAllocated() && reinterpret_cast<HWND>(m.LParam) == scroller_->Handle()) {
      SetFirstIndex(scroller_->Position());
      m.Result = 0;
      return;
    }
    break;
  case WM_LBUTTONDOWN: {
    const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    const std::vector<RECT> rects = VisibleTabs();
    const int first = scroller_->Visible() ? firstIndex_ : 0;
    for (size_t i = 0; i < rects.size(); ++i)
      if (PtInRect(&rects[i], p) && first + static_cast<int>(i) != tabIndex_) {
        SetTabIndex(first + static_cast<int>(i));
        if (OnChange)
          OnChange(this);
      }
    break;
  }
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

// ------------------------------------------------------------------ cool bars

TCoolBand::TCoolBand(TCollection *collection) : TCollectionItem(collection) {}

void TCoolBand::Changed() {
  if (auto *bands = dynamic_cast<TCoolBands *>(Collection()))
    bands->CoolBar()->UpdateBands();
}

void TCoolBand::SetControl(TWinControl *value) {
  control_ = value;
  if (auto *bands = dynamic_cast<TCoolBands *>(Collection()); bands != nullptr && value != nullptr)
    value->SetParent(bands->CoolBar());
  Changed();
}

void TCoolBand::SetText(const std::string &value) {
  text_ = value;
  Changed();
}

void TCoolBand::SetColor(TColor value) {
  color_ = value;
  Changed();
}

void TCoolBand::SetWidth(int value) {
  width_ = std::max(value, 0);
  Changed();
}

TCoolBands::TCoolBands(TCoolBar *bar)
    : TCollection([](TCollection *c) -> TCollectionItem * { return new TCoolBand(c); }), bar_(bar) {
}

TCoolBar::TCoolBar(TComponent *owner)
    : TWinControl(owner), bands_(std::make_unique<TCoolBands>(this)) {
  SetBoundsFields(0, 0, 150, 30);
  SetColor(clBtnFace);
}

TCoolBar::~TCoolBar() {
  // The bands' controls are children, destroyed after this; the bands must not touch them.
  bands_.reset();
}

void TCoolBar::CreateParams(TCreateParams &p) {
  InitClasses(ICC_COOL_CLASSES);
  TWinControl::CreateParams(p);
  p.SystemClassName = REBARCLASSNAMEA;
  p.Style |= WS_CLIPCHILDREN | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE | RBS_VARHEIGHT |
             RBS_BANDBORDERS;
}

void TCoolBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  UpdateBands();
}

void TCoolBar::UpdateBands() {
  if (!HandleAllocated() || bands_ == nullptr)
    return;
  HWND bar = Handle();
  for (auto n = SendMessageA(bar, RB_GETBANDCOUNT, 0, 0); n > 0; --n)
    SendMessageA(bar, RB_DELETEBAND, static_cast<WPARAM>(n - 1), 0);
  for (int i = 0; i < bands_->Count(); ++i) {
    TCoolBand *band = bands_->Items(i);
    REBARBANDINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_TEXT | RBBIM_SIZE;
    info.fStyle = RBBS_CHILDEDGE;
    info.clrFore = GetSysColor(COLOR_BTNTEXT);
    info.clrBack = ColorToRGB(band->Color());
    info.lpText = const_cast<char *>(band->Text().c_str());
    info.cx = static_cast<UINT>(band->Width());
    if (TWinControl *control = band->Control()) {
      info.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
      info.hwndChild = control->Handle();
      info.cxMinChild = 0;
      info.cyMinChild = static_cast<UINT>(control->Height());
    }
    SendMessageA(bar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
  }
}

// ------------------------------------------------------------------ registration

void RegisterBarControls() {
  static const TEnumInfo progressOrientation{"TProgressBarOrientation",
                                             {"pbHorizontal", "pbVertical"}};
  static const TEnumInfo trackOrientation{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};
  static const TEnumInfo tickStyle{"TTickStyle", {"tsNone", "tsAuto"}};
  static const TEnumInfo biDiMode{
      "TBiDiMode",
      {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
  static const TEnumInfo tabPosition{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};
  static const TEnumInfo tabStyle{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
  static const TEnumInfo panelStyle{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
  static const TEnumInfo panelBevel{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
  static const TEnumInfo alignment{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};

  using P = TProgressBar;
  RegisterClass<TProgressBar, TWinControl>(
      "TProgressBar", {
                          Published::Integer("Min", &P::Min, &P::SetMin),
                          Published::Integer("Max", &P::Max, &P::SetMax),
                          Published::Integer("Position", &P::Position, &P::SetPosition),
                          Published::Enumeration("Orientation", progressOrientation,
                                                 &P::Orientation, &P::SetOrientation),
                      });
  using T = TTrackBar;
  RegisterClass<TTrackBar, TWinControl>(
      "TTrackBar",
      {
          Published::Integer("Min", &T::Min, &T::SetMin),
          Published::Integer("Max", &T::Max, &T::SetMax),
          Published::Integer("Position", &T::Position, &T::SetPosition),
          Published::Integer("Frequency", &T::Frequency, &T::SetFrequency),
          Published::Enumeration("Orientation", trackOrientation, &T::Orientation,
                                 &T::SetOrientation),
          Published::Enumeration("TickStyle", tickStyle, &T::TickStyle, &T::SetTickStyle),
          Published::Event("OnChange", &T::OnChange),
      });
  using SP = TStatusPanel;
  RegisterClass<TStatusPanel>(
      "TStatusPanel",
      {
          Published::String("Text", &SP::Text, &SP::SetText),
          Published::Integer("Width", &SP::Width, &SP::SetWidth),
          Published::Enumeration("Alignment", alignment, &SP::Alignment, &SP::SetAlignment),
          Published::Enumeration("Bevel", panelBevel, &SP::Bevel, &SP::SetBevel),
          Published::Enumeration("Style", panelStyle, &SP::Style, &SP::SetStyle),
          Published::Enumeration("BiDiMode", biDiMode, &SP::BiDiMode, &SP::SetBiDiMode),
      });
  using S = TCustomStatusBar;
  RegisterClass<TCustomStatusBar, TWinControl>(
      "TCustomStatusBar",
      {
          Published::Boolean("SimplePanel", &S::SimplePanel, &S::SetSimplePanel),
          Published::String("SimpleText", &S::SimpleText, &S::SetSimpleText),
          Published::Boolean("SizeGrip", &S::SizeGrip, &S::SetSizeGrip),
          Published::Enumeration("BiDiMode", biDiMode, &S::BiDiMode, &S::SetBiDiMode),
          Published::Event("OnDrawPanel", &S::OnDrawPanel),
      });
  RegisterClass<TStatusBar, TCustomStatusBar>("TStatusBar", {});
  using C = TCustomTabControl;
  RegisterClass<TCustomTabControl, TWinControl>(
      "TCustomTabControl",
      {
          Published::Enumeration("TabPosition", tabPosition, &C::TabPosition, &C::SetTabPosition),
          Published::Enumeration("Style", tabStyle, &C::Style, &C::SetStyle),
          Published::Boolean("MultiLine", &C::MultiLine, &C::SetMultiLine),
          Published::Integer("TabIndex", &C::TabIndex, &C::SetTabIndex),
          Published::Event("OnChange", &C::OnChange),
      });
  RegisterClass<TTabControl, TCustomTabControl>("TTabControl", {});
  RegisterClass<TPageControl, TCustomTabControl>(
      "TPageControl", {Published::Integer("ActivePageIndex", &TPageControl::ActivePageIndex,
                                          &TPageControl::SetActivePageIndex)});
  RegisterClass<TTabSheet, TWinControl>(
      "TTabSheet",
      {Published::Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)});
  using TS = TTabSet;
  RegisterClass<TTabSet, TCustomControl>(
      "TTabSet", {
                     Published::Integer("TabIndex", &TS::TabIndex, &TS::SetTabIndex),
                     Published::Integer("FirstIndex", &TS::FirstIndex, &TS::SetFirstIndex),
                     Published::Integer("StartMargin", &TS::StartMargin, &TS::SetStartMargin),
                     Published::Integer("EndMargin", &TS::EndMargin, &TS::SetEndMargin),
                     Published::Event("OnChange", &TS::OnChange),
                 });
  using B = TCoolBand;
  RegisterClass<TCoolBand>("TCoolBand", {
                                            Published::String("Text", &B::Text, &B::SetText),
                                            Published::Integer("Color", &B::Color, &B::SetColor),
                                            Published::Integer("Width", &B::Width, &B::SetWidth),
                                        });
  RegisterClass<TCoolBar, TWinControl>("TCoolBar", {});
}
