#include "framework/gui/controls.h"

#include "framework/core/stringlist.h"
#include "framework/core/typinfo.h"
#include "framework/gui/buttons.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/dialogs.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/listview.h"
#include "framework/gui/menus.h"
#include "framework/gui/stdctrls.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <map>

namespace {

// The window property that leads from a window to its control.
constexpr char kControlProp[] = "KestrovaControl";
constexpr char kUtilProp[] = "KestrovaMethod";
constexpr char kUtilClass[] = "TPUtilWindow";

// The control whose window CreateWindowExA is making on this thread: its first messages
// (WM_GETMINMAXINFO, WM_NCCREATE) arrive before the property can be set.
thread_local TWinControl *creatingControl = nullptr;

// The system procedure behind each window class we registered, by class name.
std::map<std::string, WNDPROC> &ClassProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}

WNDPROC ClassProcOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  auto it = ClassProcs().find(name);
  return it != ClassProcs().end() ? it->second : DefWindowProcA;
}

HINSTANCE ModuleInstance() {
  return GetModuleHandleA(nullptr);
}

WORD NextControlId() {
  static WORD id = 100;
  if (++id == 0xFFFF)
    id = 100;
  return id;
}

bool IsArrowKey(WPARAM key) {
  return key >= VK_LEFT && key <= VK_DOWN;
}

} // namespace

HCURSOR CursorHandle(TCursor cursor) {
  LPCSTR id = IDC_ARROW;
  switch (cursor) {
  case crCross:
    id = IDC_CROSS;
    break;
  case crIBeam:
    id = IDC_IBEAM;
    break;
  case crSizeNESW:
    id = IDC_SIZENESW;
    break;
  case crSizeNS:
    id = IDC_SIZENS;
    break;
  case crSizeNWSE:
    id = IDC_SIZENWSE;
    break;
  case crSizeWE:
    id = IDC_SIZEWE;
    break;
  case crUpArrow:
    id = IDC_UPARROW;
    break;
  case crHourGlass:
    id = IDC_WAIT;
    break;
  case crNo:
    id = IDC_NO;
    break;
  case crAppStart:
    id = IDC_APPSTARTING;
    break;
  case crHelp:
    id = IDC_HELP;
    break;
  case crHandPoint:
    id = IDC_HAND;
    break;
  case crSizeAll:
    id = IDC_SIZEALL;
    break;
  case crNone:
    return nullptr;
  default:
    break;
  }
  return LoadCursorA(nullptr, id);
}

// ================================================================== TControl

TControl::TControl(TComponent *owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  RegisterControlClasses();
  WindowProc = TWndMethod(this, &TControl::WndProc);
  font_->SetOnChange(TNotifyEvent(this, &TControl::FontChange));
}

TControl::~TControl() {
  if (parent_ != nullptr)
    parent_->RemoveControl(this);
}

intptr_t TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m;
  m.Msg = msg;
  m.WParam = wParam;
  m.LParam = lParam;
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CM_MOUSEENTER:
    CMMouseEnter(m);
    return;
  case CM_MOUSELEAVE:
    CMMouseLeave(m);
    return;
  case CM_PARENTCOLORCHANGED:
    ParentColorChanged();
    return;
  case CM_PARENTFONTCHANGED:
    ParentFontChanged();
    return;
  default:
    break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage &m) {
  if (m.Msg == WM_GETTEXTLENGTH)
    m.Result = static_cast<intptr_t>(text_.size());
}

void TControl::CMMouseEnter(TMessage &) {
  mouseInControl_ = true;
  if (OnMouseEnter)
    OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage &) {
  mouseInControl_ = false;
  if (OnMouseLeave)
    OnMouseLeave(this);
}

void TControl::WMLButtonDown(TMessage &) {
  controlState_ |= csLButtonDown;
}

void TControl::WMLButtonUp(TMessage &m) {
  if ((controlState_ & csLButtonDown) == 0)
    return;
  controlState_ &= ~csLButtonDown;
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_)
    Click();
}

void TControl::SetParent(TWinControl *parent) {
  if (parent == parent_)
    return;
  if (parent == this)
    throw EComponentError("a control cannot be its own parent");
  if (parent_ != nullptr)
    parent_->RemoveControl(this);
  if (parent != nullptr) {
    parent->InsertControl(this);
    ParentFontChanged();
    ParentColorChanged();
  }
}

void TControl::SetParentComponent(TComponent *parent) {
  if (auto *wc = dynamic_cast<TWinControl *>(parent))
    SetParent(wc);
}

TComponent *TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_)
    return;
  Invalidate();
  SetBoundsFields(left, top, std::max(width, 0), std::max(height, 0));
  Invalidate();
  BoundsChanged();
}

RECT TControl::ClientRect() const {
  return {0, 0, width_, height_};
}

void TControl::SetClientWidth(int value) {
  SetWidth(value + width_ - ClientWidth());
}
void TControl::SetClientHeight(int value) {
  SetHeight(value + height_ - ClientHeight());
}

POINT TControl::ClientOrigin() {
  POINT p{left_, top_};
  if (parent_ != nullptr) {
    POINT o = parent_->ClientOrigin();
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

POINT TControl::ClientToScreen(POINT point) {
  if (auto *wc = dynamic_cast<TWinControl *>(this)) {
    ::ClientToScreen(wc->Handle(), &point);
    return point;
  }
  if (parent_ == nullptr)
    return point;
  return parent_->ClientToScreen({point.x + left_, point.y + top_});
}

POINT TControl::ScreenToClient(POINT point) {
  if (auto *wc = dynamic_cast<TWinControl *>(this)) {
    ::ScreenToClient(wc->Handle(), &point);
    return point;
  }
  if (parent_ == nullptr)
    return point;
  POINT p = parent_->ScreenToClient(point);
  return {p.x - left_, p.y - top_};
}

void TControl::SetVisible(bool value) {
  if (value == visible_)
    return;
  if (!value)
    Invalidate();
  visible_ = value;
  if (value)
    Invalidate();
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

bool TControl::Showing() const {
  return visible_ && parent_ != nullptr && parent_->Showing();
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_)
    return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
  Invalidate();
}

std::string TControl::Text() const {
  return text_;
}

void TControl::SetText(const std::string &text) {
  if (text == Text())
    return;
  SetTextBuffer(text);
  Perform(CM_TEXTCHANGED, 0, 0);
  TextChanged();
}

void TControl::SetTextBuffer(const std::string &text) {
  text_ = text;
  Invalidate();
}

void TControl::SetColor(TColor value) {
  parentColor_ = false;
  if (value == color_)
    return;
  color_ = value;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value)
    ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || parent_ == nullptr || parent_->color_ == color_)
    return;
  color_ = parent_->color_;
  ColorChanged();
}

void TControl::ColorChanged() {
  Perform(CM_COLORCHANGED, 0, 0);
  Invalidate();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value)
    ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || parent_ == nullptr)
    return;
  updatingFromParent_ = true;
  try {
    font_->Assign(*parent_->font_);
  } catch (...) {
    updatingFromParent_ = false;
    throw;
  }
  updatingFromParent_ = false;
}

void TControl::FontChange(TObject *) {
  if (!updatingFromParent_)
    parentFont_ = false;
  FontChanged();
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED, 0, 0);
  Invalidate();
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_)
    return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::Invalidate() {
  if (parent_ != nullptr && parent_->HandleAllocated() && visible_) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, TRUE);
  }
}

void TControl::Update() {
  if (parent_ != nullptr)
    parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_ == nullptr)
    return;
  auto &list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto *wc = dynamic_cast<TWinControl *>(this); wc && wc->HandleAllocated())
    SetWindowPos(wc->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Click() {
  if (onClick_)
    onClick_(this);
}

TCustomForm *TControl::ParentForm() const {
  for (const TControl *c = this; c != nullptr; c = c->parent_)
    if (auto *form = dynamic_cast<const TCustomForm *>(c))
      return const_cast<TCustomForm *>(form);
  return nullptr;
}

// ================================================================== TWinControl

TWinControl::TWinControl(TComponent *owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  SetComponentState(ComponentState() | csDestroying);
  // Children go first, the last one first, as their windows still have a parent to sit on.
  while (!controls_.empty()) {
    TControl *child = controls_.back();
    RemoveControl(child);
    delete child;
  }
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (handle_ == nullptr) {
    if (Parent() != nullptr)
      Parent()->HandleNeeded(); // makes ours too, with the other children
    if (handle_ == nullptr) {
      CreateWnd();
      CreateHandleDone();
    }
  }
  return handle_;
}

TWinControl *TWinControl::FromHandle(HWND window) {
  if (window == nullptr)
    return nullptr;
  auto *c = static_cast<TWinControl *>(GetPropA(window, kControlProp));
  if (c == nullptr && creatingControl != nullptr &&
      GetClassLongPtrA(window, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(&StdWndProc)) {
    // Asked about (by a creation hook) before its first message: the window being made.
    c = creatingControl;
    creatingControl = nullptr;
    c->AttachHandle(window);
  }
  return TObject::IsLive(c) ? c : nullptr;
}

TWinControl *TWinControl::FindControl(HWND window) {
  for (HWND w = window; w != nullptr; w = GetParent(w)) {
    if (TWinControl *c = FromHandle(w))
      return c;
    if ((GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) == 0)
      break;
  }
  return nullptr;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *control = static_cast<TWinControl *>(GetPropA(window, kControlProp));
  if (control == nullptr && creatingControl != nullptr) {
    control = creatingControl;
    creatingControl = nullptr;
    control->AttachHandle(window);
  }
  if (control == nullptr)
    return CallWindowProcA(ClassProcOf(window), window, msg, wParam, lParam);
  TMessage m;
  m.Msg = msg;
  m.WParam = wParam;
  m.LParam = lParam;
  // A copy: a handler may free the control (a form that releases itself).
  const TWndMethod proc = control->WindowProc;
  try {
    proc(m);
  } catch (...) {
    HandleWindowException();
  }
  return m.Result;
}

void TWinControl::AttachHandle(HWND window) {
  handle_ = window;
  SetPropA(window, kControlProp, this);
}

void TWinControl::DetachHandle() {
  if (handle_ == nullptr)
    return;
  RemovePropA(handle_, kControlProp);
  handle_ = nullptr;
  trackingMouse_ = false;
  mouseControl_ = nullptr;
  captureControl_ = nullptr;
}

void TWinControl::CreateParams(TCreateParams &p) {
  p.Caption = StoredText();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible())
    p.Style |= WS_VISIBLE;
  if (!Enabled())
    p.Style |= WS_DISABLED;
  if (tabStop_)
    p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  if (Parent() != nullptr)
    p.WndParent = Parent()->Handle();
  p.Menu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(NextControlId()));
  p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (p.WndParent == nullptr && (p.Style & WS_CHILD) != 0)
    throw EComponentError("control " + Name() + " has no parent window");

  auto &procs = ClassProcs();
  auto it = procs.find(p.WinClassName);
  if (it == procs.end()) {
    WNDCLASSA wc{};
    WNDPROC original = DefWindowProcA;
    if (!p.SystemClassName.empty()) {
      // A superclass: the system class's styles, extra bytes and cursor, our procedure.
      if (!GetClassInfoA(nullptr, p.SystemClassName.c_str(), &wc))
        throw EComponentError("no system window class " + p.SystemClassName);
      original = wc.lpfnWndProc;
      wc.style &= ~CS_GLOBALCLASS;
    } else {
      wc.style = p.ClassStyle;
      wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      wc.hbrBackground = p.Background;
    }
    wc.lpfnWndProc = &TWinControl::StdWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = p.WinClassName.c_str();
    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EComponentError("cannot register the window class " + p.WinClassName);
    it = procs.emplace(p.WinClassName, original).first;
  }
  defWndProc_ = it->second;

  SetControlState(ControlState() | csCreating);
  creatingControl = this;
  HWND window = nullptr;
  try {
    window = CreateWindowHandle(p);
  } catch (...) {
    creatingControl = nullptr;
    SetControlState(ControlState() & ~csCreating);
    throw;
  }
  creatingControl = nullptr;
  SetControlState(ControlState() & ~csCreating);
  if (window == nullptr) {
    DetachHandle();
    throw EComponentError("cannot create the window of " + Name() + " (" + p.WinClassName + ")");
  }
  if (handle_ != window)
    AttachHandle(window);
  UpdateBounds();
}

HWND TWinControl::CreateWindowHandle(const TCreateParams &p) {
  return CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                         p.Width, p.Height, p.WndParent, p.Menu, ModuleInstance(), nullptr);
}

void TWinControl::CreateHandleDone() {
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
  for (TWinControl *child : tabList_)
    if (!child->HandleAllocated())
      child->Handle();
}

void TWinControl::DestroyWnd() {
  if (handle_ != nullptr)
    DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr)
    return;
  SetControlState(ControlState() | csDestroyingHandle);
  DestroyHandleStart();
  DestroyWnd();
  DetachHandle(); // in case WM_NCDESTROY never reached us
  SetControlState(ControlState() & ~csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
  if (handle_ != nullptr)
    Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage &) {
  if (handle_ == nullptr)
    return;
  bool showing = Showing();
  // Children's windows die with ours; they make new ones with the new window.
  DestroyHandle();
  if (showing || Parent() != nullptr)
    HandleNeeded();
}

TControl *TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EComponentError("control index out of range (" + std::to_string(index) + ")");
  return controls_[static_cast<size_t>(index)];
}

TControl *TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl *c = *it;
    if (dynamic_cast<TWinControl *>(c) != nullptr || !c->Visible() ||
        (!c->Enabled() && !allowDisabled))
      continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, point))
      return c;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl *control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto *wc = dynamic_cast<TWinControl *>(control)) {
    tabList_.push_back(wc);
    if (HandleAllocated() && !wc->HandleAllocated() && wc->Visible())
      wc->HandleNeeded();
  } else {
    control->Invalidate();
  }
}

void TWinControl::RemoveControl(TControl *control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end())
    return;
  if (dynamic_cast<TWinControl *>(control) == nullptr)
    control->Invalidate();
  controls_.erase(it);
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  if (mouseControl_ == control)
    mouseControl_ = nullptr;
  if (captureControl_ == control)
    captureControl_ = nullptr;
  control->parent_ = nullptr;
  if (auto *wc = dynamic_cast<TWinControl *>(control);
      wc && wc->HandleAllocated() && !wc->IsDestroying())
    wc->DestroyHandle(); // its window cannot stay on our window
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr)
    return -1;
  const auto &list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  requestedTabOrder_ = value;
  if (Parent() == nullptr)
    return;
  auto &list = Parent()->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  size_t pos =
      std::clamp<size_t>(value < 0 ? list.size() : static_cast<size_t>(value), 0, list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), this);
  if (!IsLoading())
    requestedTabOrder_ = -1;
}

void TWinControl::SortTabListByRequests() {
  // Form data gives every control its final position while siblings are still missing; once
  // all of them exist the requested positions are applied together.
  std::vector<std::pair<int, TWinControl *>> keyed;
  for (size_t i = 0; i < tabList_.size(); ++i) {
    TWinControl *c = tabList_[i];
    keyed.emplace_back(c->requestedTabOrder_ >= 0 ? c->requestedTabOrder_ : static_cast<int>(i), c);
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) {
    tabList_[i] = keyed[i].second;
    keyed[i].second->requestedTabOrder_ = -1;
  }
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_)
    return;
  tabStop_ = value;
  if (handle_ != nullptr) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

std::vector<TWinControl *> TWinControl::TabList() const {
  return tabList_;
}

namespace {

void CollectTabOrder(const TWinControl *parent, std::vector<TWinControl *> &out) {
  for (TWinControl *c : parent->TabList()) {
    out.push_back(c);
    CollectTabOrder(c, out);
  }
}

} // namespace

TWinControl *TWinControl::FindNextControl(TWinControl *current, bool forward,
                                          bool checkTabStop) const {
  std::vector<TWinControl *> list;
  CollectTabOrder(this, list);
  if (list.empty())
    return nullptr;
  const int n = static_cast<int>(list.size());
  int start = -1;
  if (auto it = std::find(list.begin(), list.end(), current); it != list.end())
    start = static_cast<int>(it - list.begin());
  if (start < 0)
    start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    int i = ((forward ? start + step : start - step) % n + n) % n;
    TWinControl *c = list[static_cast<size_t>(i)];
    if (c != current && c->CanFocus() && (!checkTabStop || c->TabStop()))
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl *current, bool forward, bool checkTabStop) {
  if (TWinControl *next = FindNextControl(current, forward, checkTabStop))
    next->SetFocus();
}

bool TWinControl::Focused() {
  if (handle_ == nullptr)
    return false;
  HWND focus = GetFocus();
  return focus == handle_ || (focus != nullptr && IsChild(handle_, focus));
}

bool TWinControl::CanFocus() {
  for (TControl *c = this; c != nullptr; c = c->Parent())
    if (!c->Visible() || !c->Enabled())
      return false;
  return ParentForm() != nullptr || Parent() == nullptr;
}

void TWinControl::SetFocus() {
  if (TCustomForm *form = ParentForm(); form != nullptr && form != this)
    form->FocusControl(this);
  else
    ::SetFocus(Handle());
}

TBrush &TWinControl::Brush() {
  if (!brush_) {
    brush_ = std::make_unique<TBrush>();
    brush_->SetColor(Color());
  }
  return *brush_;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (handle_ == nullptr) {
    TControl::SetBounds(left, top, width, height);
    return;
  }
  SetBoundsFields(left, top, std::max(width, 0), std::max(height, 0));
  SetWindowPos(handle_, nullptr, left, top, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateBounds();
  BoundsChanged();
}

void TWinControl::UpdateBounds() {
  if (handle_ == nullptr)
    return;
  RECT r;
  GetWindowRect(handle_, &r);
  if ((GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) != 0) {
    HWND parent = GetParent(handle_);
    if (parent != nullptr)
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
  }
  SetBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

RECT TWinControl::ClientRect() const {
  if (handle_ == nullptr)
    return TControl::ClientRect();
  RECT r{};
  GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetVisible(bool value) {
  if (value == Visible())
    return;
  TControl::SetVisible(value);
  if (Parent() != nullptr) {
    if (handle_ != nullptr)
      ShowWindow(handle_, value ? SW_SHOWNA : SW_HIDE);
    else if (value && Parent()->HandleAllocated())
      HandleNeeded();
  }
}

bool TWinControl::Showing() const {
  if (handle_ != nullptr)
    return IsWindowVisible(handle_) != FALSE;
  return Visible() && Parent() != nullptr && Parent()->Showing();
}

void TWinControl::SetEnabled(bool value) {
  if (value == Enabled())
    return;
  if (handle_ != nullptr)
    EnableWindow(handle_, value ? TRUE : FALSE);
  TControl::SetEnabled(value);
}

std::string TWinControl::Text() const {
  if (handle_ == nullptr)
    return StoredText();
  int n = GetWindowTextLengthA(handle_);
  std::string s(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  int got = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(got, 0)));
  return s;
}

void TWinControl::SetTextBuffer(const std::string &text) {
  TControl::SetTextBuffer(text);
  if (handle_ != nullptr)
    SetWindowTextA(handle_, text.c_str());
}

void TWinControl::TextChanged() {}

void TWinControl::FontChanged() {
  if (handle_ != nullptr)
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  TControl::FontChanged();
  TMessage m;
  m.Msg = CM_PARENTFONTCHANGED;
  for (TControl *c : std::vector<TControl *>(controls_))
    c->Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TWinControl::ColorChanged() {
  if (brush_)
    brush_->SetColor(Color());
  TControl::ColorChanged();
  for (TControl *c : std::vector<TControl *>(controls_))
    c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TWinControl::Invalidate() {
  if (handle_ != nullptr)
    InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_ != nullptr)
    UpdateWindow(handle_);
}

void TWinControl::DefaultHandler(TMessage &m) {
  if (m.Msg >= CN_BASE && m.Msg < CN_BASE + WM_USER) {
    // A notification reflected to us that no handler took.
    if (m.Msg >= CN_CTLCOLORMSGBOX && m.Msg <= CN_CTLCOLORSTATIC)
      ControlColors(m);
    else
      m.Result = 0;
    return;
  }
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE) {
    m.Result = 0; // framework messages mean nothing to the system class
    return;
  }
  if (handle_ != nullptr)
    m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::ControlColors(TMessage &m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  m.Result = reinterpret_cast<intptr_t>(Brush().Handle());
}

void TWinControl::Broadcast(TMessage &m) {
  for (TControl *c : std::vector<TControl *>(controls_)) {
    if (!TObject::IsLive(c))
      continue;
    c->WindowProc(m);
    if (m.Result != 0)
      return;
  }
}

void TWinControl::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return;
  case WM_ERASEBKGND:
    WMEraseBkgnd(m);
    return;
  case WM_WINDOWPOSCHANGED:
    WMWindowPosChanged(m);
    return;
  case WM_SETFOCUS:
    WMSetFocus(m);
    return;
  case WM_KILLFOCUS:
    WMKillFocus(m);
    return;
  case WM_MOUSEMOVE:
    WMMouseMove(m);
    return;
  case WM_MOUSELEAVE:
    WMMouseLeave(m);
    return;
  case WM_SETCURSOR:
    WMSetCursor(m);
    return;
  case WM_NCDESTROY:
    WMNCDestroy(m);
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
    if (ForwardMouseToGraphic(m))
      return;
    break;
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (ReflectToChild(m))
      return;
    break;
  case CN_KEYDOWN:
  case CN_SYSKEYDOWN:
    CNKeyDown(m);
    return;
  case CN_CHAR:
  case CN_SYSCHAR:
    CNChar(m);
    return;
  case CM_DIALOGKEY:
    CMDialogKey(m);
    return;
  case CM_DIALOGCHAR:
    CMDialogChar(m);
    return;
  case CM_RECREATEWND:
    CMRecreateWnd(m);
    return;
  default:
    break;
  }
  TControl::WndProc(m);
}

bool TWinControl::ReflectToChild(TMessage &m) {
  HWND child = nullptr;
  switch (m.Msg) {
  case WM_NOTIFY:
    if (m.LParam != 0)
      child = reinterpret_cast<NMHDR *>(m.LParam)->hwndFrom;
    break;
  case WM_DRAWITEM:
    if (m.WParam != 0 && m.LParam != 0)
      child = reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam)->hwndItem;
    break;
  case WM_MEASUREITEM:
    if (m.WParam != 0 && handle_ != nullptr)
      child = GetDlgItem(handle_, static_cast<int>(m.WParam));
    break;
  default:
    child = reinterpret_cast<HWND>(m.LParam);
    break;
  }
  if (child == nullptr || child == handle_)
    return false;
  // The edit inside a combo box reports for the combo box.
  TWinControl *target = m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC
                            ? FindControl(child)
                            : FromHandle(child);
  if (target == nullptr || target == this)
    return false;
  m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::WMPaint(TMessage &m) {
  if (!PaintsItself()) {
    DefaultHandler(m);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const bool own = dc == nullptr;
  if (own)
    dc = BeginPaint(handle_, &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc);
  } catch (...) {
    if (own)
      EndPaint(handle_, &ps);
    throw;
  }
  if (own)
    EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl *first) {
  bool started = first == nullptr;
  for (TControl *c : std::vector<TControl *>(controls_)) {
    if (!started) {
      started = c == first;
      if (!started)
        continue;
    }
    if (dynamic_cast<TWinControl *>(c) != nullptr || !c->Visible())
      continue;
    RECT bounds = c->BoundsRect();
    if (!RectVisible(dc, &bounds))
      continue;
    int saved = SaveDC(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + bounds.left, org.y + bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMEraseBkgnd(TMessage &m) {
  if (!PaintsItself()) {
    DefaultHandler(m);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  RECT r = ClientRect();
  FillRect(dc, &r, Brush().Handle());
  m.Result = 1;
}

void TWinControl::WMWindowPosChanged(TMessage &m) {
  DefaultHandler(m);
  UpdateBounds();
}

void TWinControl::WMSetFocus(TMessage &m) {
  DefaultHandler(m);
  if (TCustomForm *form = ParentForm(); form != nullptr && form != this)
    form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage &m) {
  DefaultHandler(m);
}

void TWinControl::SetMouseControl(TControl *control) {
  if (control == mouseControl_)
    return;
  TControl *old = mouseControl_;
  mouseControl_ = control;
  if (old != nullptr && TObject::IsLive(old))
    old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (control != nullptr)
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

void TWinControl::WMMouseMove(TMessage &m) {
  if (!trackingMouse_ && handle_ != nullptr) {
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
    trackingMouse_ = TrackMouseEvent(&tme) != FALSE;
    if (!MouseInControl())
      Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
  }
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  SetMouseControl(ControlAtPos(p));
  if (captureControl_ != nullptr && TObject::IsLive(captureControl_))
    captureControl_->Perform(
        WM_MOUSEMOVE, m.WParam,
        MAKELPARAM(p.x - captureControl_->Left(), p.y - captureControl_->Top()));
  DefaultHandler(m);
}

void TWinControl::WMMouseLeave(TMessage &m) {
  trackingMouse_ = false;
  SetMouseControl(nullptr);
  if (MouseInControl())
    Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
  DefaultHandler(m);
}

void TWinControl::WMSetCursor(TMessage &m) {
  if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TCursor cursor = Cursor();
    if (TControl *c = ControlAtPos(p, true); c != nullptr && c->Cursor() != crDefault)
      cursor = c->Cursor();
    if (cursor != crDefault) {
      ::SetCursor(CursorHandle(cursor));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

bool TWinControl::ForwardMouseToGraphic(TMessage &m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl *target = captureControl_ != nullptr ? captureControl_ : ControlAtPos(p);
  if (target == nullptr || !TObject::IsLive(target))
    return false;
  LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    captureControl_ = target;
    SetCapture(handle_);
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    captureControl_ = nullptr;
    if (GetCapture() == handle_)
      ReleaseCapture();
    break;
  default:
    break;
  }
  m.Result = target->Perform(m.Msg, m.WParam, local);
  return true;
}

void TWinControl::WMNCDestroy(TMessage &m) {
  DefaultHandler(m);
  DetachHandle();
}

bool TWinControl::WantsSpecialKey(WPARAM key) {
  if (Perform(CM_WANTSPECIALKEY, key, 0) != 0)
    return true;
  UINT mask = DLGC_WANTALLKEYS;
  if (key == VK_TAB)
    mask = DLGC_WANTTAB;
  else if (IsArrowKey(key))
    mask = DLGC_WANTARROWS;
  return (Perform(WM_GETDLGCODE, 0, 0) & mask) != 0;
}

void TWinControl::CNKeyDown(TMessage &m) {
  m.Result = 0;
  const WPARAM key = m.WParam;
  const bool special =
      key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_CANCEL || IsArrowKey(key);
  if (!special || WantsSpecialKey(key))
    return;
  if (TCustomForm *form = ParentForm())
    if (form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
      m.Result = 1;
}

void TWinControl::CNChar(TMessage &m) {
  m.Result = 0;
  // Alt+letter, or a plain letter where the focused control takes no characters (a button),
  // looks for a control with that accelerator.
  if (m.Msg == CN_CHAR && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) != 0)
    return;
  if (m.WParam == VK_SPACE || m.WParam < 0x20)
    return;
  if (TCustomForm *form = ParentForm())
    if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
      m.Result = 1;
}

void TWinControl::CMDialogKey(TMessage &m) {
  Broadcast(m);
}
void TWinControl::CMDialogChar(TMessage &m) {
  Broadcast(m);
}

// ================================================================== graphic and custom controls

TGraphicControl::TGraphicControl(TComponent *owner)
    : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return;
  case WM_LBUTTONDOWN:
    WMLButtonDown(m);
    return;
  case WM_LBUTTONUP:
    WMLButtonUp(m);
    return;
  case WM_LBUTTONDBLCLK:
    if (OnDblClick)
      OnDblClick(this);
    return;
  default:
    break;
  }
  TControl::WndProc(m);
}

void TGraphicControl::WMPaint(TMessage &m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (dc == nullptr)
    return;
  canvas_->SetHandle(dc);
  try {
    canvas_->Font().Assign(*Font());
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

TCustomControl::TCustomControl(TComponent *owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_->SetHandle(dc);
  try {
    canvas_->Font().Assign(*Font());
    canvas_->Brush().SetColor(Color());
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

// ================================================================== utility windows

namespace {

LRESULT CALLBACK UtilWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *method = static_cast<TWndMethod *>(GetPropA(window, kUtilProp));
  if (method == nullptr || !method->Assigned())
    return DefWindowProcA(window, msg, wParam, lParam);
  TMessage m;
  m.Msg = msg;
  m.WParam = wParam;
  m.LParam = lParam;
  try {
    (*method)(m);
  } catch (...) {
    HandleWindowException();
  }
  return m.Result;
}

} // namespace

HWND AllocateHWnd(const TWndMethod &method) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kUtilClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered)
    throw EComponentError("cannot register the utility window class");
  HWND window = CreateWindowExA(0, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ModuleInstance(), nullptr);
  if (window == nullptr)
    throw EComponentError("cannot create a utility window");
  SetPropA(window, kUtilProp, new TWndMethod(method));
  return window;
}

void DeallocateHWnd(HWND window) {
  if (window == nullptr)
    return;
  delete static_cast<TWndMethod *>(RemovePropA(window, kUtilProp));
  DestroyWindow(window);
}

// ================================================================== registration

namespace {

const TEnumInfo &FontStylesInfo() {
  static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

void RegisterGraphicsNames() {
  RegisterClass<TFont>(
      "TFont", {
                   Published::String("Name", &TFont::Name, &TFont::SetName),
                   Published::Integer("Height", &TFont::Height, &TFont::SetHeight),
                   Published::Integer("Size", &TFont::Size, &TFont::SetSize),
                   Published::Integer("Color", &TFont::Color, &TFont::SetColor),
                   Published::Set("Style", FontStylesInfo(), &TFont::Style, &TFont::SetStyle),
                   Published::Integer("Charset", &TFont::Charset, &TFont::SetCharset),
               });
  RegisterIntegerConstants({
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clNone", clNone},
      {"clDefault", clDefault},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clHotLight", clHotLight},
      {"clGradientActiveCaption", clGradientActiveCaption},
      {"clGradientInactiveCaption", clGradientInactiveCaption},
      {"clMenuHighlight", clMenuHighlight},
      {"clMenuBar", clMenuBar},
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
      {"OEM_CHARSET", OEM_CHARSET},
      {"crDefault", crDefault},
      {"crNone", crNone},
      {"crArrow", crArrow},
      {"crCross", crCross},
      {"crIBeam", crIBeam},
      {"crSizeNESW", crSizeNESW},
      {"crSizeNS", crSizeNS},
      {"crSizeNWSE", crSizeNWSE},
      {"crSizeWE", crSizeWE},
      {"crUpArrow", crUpArrow},
      {"crHourGlass", crHourGlass},
      {"crNo", crNo},
      {"crAppStart", crAppStart},
      {"crHelp", crHelp},
      {"crHandPoint", crHandPoint},
      {"crSizeAll", crSizeAll},
      {"mrNone", mrNone},
      {"mrOk", mrOk},
      {"mrCancel", mrCancel},
      {"mrAbort", mrAbort},
      {"mrRetry", mrRetry},
      {"mrIgnore", mrIgnore},
      {"mrYes", mrYes},
      {"mrNo", mrNo},
      {"mrAll", mrAll},
      {"mrNoToAll", mrNoToAll},
      {"mrYesToAll", mrYesToAll},
  });
}

} // namespace

void RegisterControlClasses() {
  static bool registered = false;
  if (registered)
    return;
  registered = true;
  RegisterGraphicsNames();
  using C = TControl;
  RegisterClass<TControl, TComponent>(
      "TControl", {
                      Published::Integer("Left", &C::Left, &C::SetLeft),
                      Published::Integer("Top", &C::Top, &C::SetTop),
                      Published::Integer("Width", &C::Width, &C::SetWidth),
                      Published::Integer("Height", &C::Height, &C::SetHeight),
                      Published::String("Caption", &C::Caption, &C::SetCaption),
                      Published::String("Text", &C::Text, &C::SetText),
                      Published::Boolean("Enabled", &C::Enabled, &C::SetEnabled),
                      Published::Boolean("Visible", &C::Visible, &C::SetVisible),
                      Published::Integer("Color", &C::Color, &C::SetColor),
                      Published::Boolean("ParentColor", &C::ParentColor, &C::SetParentColor),
                      Published::Object("Font", &C::Font),
                      Published::Boolean("ParentFont", &C::ParentFont, &C::SetParentFont),
                      Published::Integer("Cursor", &C::Cursor, &C::SetCursor),
                      Published::Event("OnClick", &C::OnClick, &C::SetOnClick),
                      Published::Event("OnDblClick", &C::OnDblClick),
                      Published::Event("OnMouseEnter", &C::OnMouseEnter),
                      Published::Event("OnMouseLeave", &C::OnMouseLeave),
                  });
  using W = TWinControl;
  RegisterClass<TWinControl, TControl>(
      "TWinControl", {
                         Published::Integer("TabOrder", &W::TabOrder, &W::SetTabOrder),
                         Published::Boolean("TabStop", &W::TabStop, &W::SetTabStop),
                         Published::String("ImeName", &W::ImeName, &W::SetImeName),
                     });
  RegisterClass<TGraphicControl, TControl>("TGraphicControl", {});
  RegisterClass<TCustomControl, TWinControl>("TCustomControl", {});
  RegisterStdControls();
  RegisterButtons();
  RegisterExtControls();
  RegisterComCtrls();
  RegisterListViews();
  RegisterDialogs();
  RegisterMenus();
  RegisterForms();
}
