// Up-down buttons and date-time pickers.
#include "framework/gui/comctrls.h"

#include "framework/core/typinfo.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The classes of the common controls exist once their library has been asked for them.
void InitClasses(DWORD classes) {
  INITCOMMONCONTROLSEX init{sizeof(init), classes};
  InitCommonControlsEx(&init);
}

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
}
