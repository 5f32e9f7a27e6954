#include "framework/gui/forms.h"
#include "framework/gui/menus.h"

#include "framework/core/formreader.h"
#include "framework/core/typinfo.h"

#include <objbase.h>

#include <algorithm>

TApplication *Application = nullptr;
TScreen *Screen = nullptr;

namespace {

bool ShiftDown(int key) {
  return GetKeyState(key) < 0;
}

struct ThreadWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM data) {
  auto *list = reinterpret_cast<ThreadWindows *>(data);
  if (window != list->except && IsWindowVisible(window) && IsWindowEnabled(window))
    list->windows.push_back(window);
  return TRUE;
}

// Disables the thread's visible top-level windows other than except; answers them.
std::vector<HWND> DisableTaskWindows(HWND except) {
  ThreadWindows list{except, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&list));
  for (HWND w : list.windows)
    EnableWindow(w, FALSE);
  return list.windows;
}

void EnableTaskWindows(const std::vector<HWND> &windows) {
  for (HWND w : windows)
    if (IsWindow(w))
      EnableWindow(w, TRUE);
}

bool IsDescendantOf(const TControl *control, const TControl *ancestor) {
  for (const TControl *c = control; c != nullptr; c = c->Parent())
    if (c == ancestor)
      return true;
  return false;
}

} // namespace

void HandleWindowException() {
  if (Application != nullptr)
    Application->HandleException(Application);
}

// ================================================================== TCustomForm

TCustomForm::TCustomForm(TComponent *owner) : TWinControl(owner) {
  SetVisibleField(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBoundsFields(0, 0, 320, 240);
  if (Screen != nullptr)
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleWindowException();
    }
  }
  if (Screen != nullptr)
    Screen->RemoveForm(this);
  // The window goes while the object is still a whole form, so the messages of its
  // destruction (activation moving elsewhere) find everything in place.
  DestroyHandle();
}

void TCustomForm::ReadForm(const std::string &text) {
  TFormReader::ReadComponent(text, this);
  if (OnCreate)
    OnCreate(this);
}

void TCustomForm::ReadFormResource(const std::string &name) {
  const std::string resName = name.empty() ? ClassName() : name;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, resName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (res == nullptr)
    throw EComponentError("no form data resource " + resName);
  HGLOBAL data = LoadResource(module, res);
  const void *bytes = data != nullptr ? LockResource(data) : nullptr;
  if (bytes == nullptr)
    throw EComponentError("cannot load the form data resource " + resName);
  ReadForm(std::string(static_cast<const char *>(bytes), SizeofResource(module, res)));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_)
    return;
  borderStyle_ = value;
  ApplyPendingClientSize();
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_)
    return;
  borderIcons_ = value;
  ApplyPendingClientSize();
  RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu *menu) {
  if (menu == menu_)
    return;
  if (menu_ != nullptr) {
    menu_->Window = nullptr;
    menu_->RemoveFreeNotification(this);
  }
  menu_ = menu;
  if (menu_ != nullptr) {
    menu_->FreeNotification(this);
    if (HandleAllocated())
      menu_->Window = Handle();
  }
  if (HandleAllocated()) {
    RECT client = ClientRect();
    ::SetMenu(Handle(), menu_ != nullptr ? menu_->Handle() : nullptr);
    // The client area keeps its size; the window grows or shrinks by the bar.
    SetClientWidth(client.right);
    SetClientHeight(client.bottom);
  } else {
    ApplyPendingClientSize();
  }
  Perform(CM_MENUCHANGED, 0, 0);
}

void TCustomForm::Notification(TComponent *component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == menu_) {
    if (HandleAllocated())
      ::SetMenu(Handle(), nullptr);
    menu_ = nullptr;
  }
}

bool TCustomForm::MenuMessage(TMessage &m) {
  if (menu_ == nullptr)
    return false;
  switch (m.Msg) {
  case WM_COMMAND:
    // Menu commands come with notification code 0 and no control.
    if (HIWORD(m.WParam) != 0 || m.LParam != 0 || !menu_->DispatchCommand(LOWORD(m.WParam)))
      return false;
    break;
  case WM_MEASUREITEM:
    if (!menu_->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT *>(m.LParam)))
      return false;
    break;
  case WM_DRAWITEM:
    if (!menu_->DrawItem(reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam)))
      return false;
    break;
  default:
    return false;
  }
  m.Result = m.Msg == WM_COMMAND ? 0 : TRUE;
  return true;
}

DWORD TCustomForm::WindowStyle() const {
  DWORD style = WS_CLIPCHILDREN;
  if (Parent() != nullptr)
    style |= WS_CHILD | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
  case TFormBorderStyle::bsNone:
    style |= Parent() != nullptr ? 0 : WS_POPUP;
    break;
  case TFormBorderStyle::bsSingle:
  case TFormBorderStyle::bsToolWindow:
    style |= WS_CAPTION | WS_BORDER;
    break;
  case TFormBorderStyle::bsSizeable:
  case TFormBorderStyle::bsSizeToolWin:
    style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case TFormBorderStyle::bsDialog:
    style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu) != 0) {
    style |= WS_SYSMENU;
    // Dialogs and tool windows have no minimise or maximise box.
    if (borderStyle_ != TFormBorderStyle::bsDialog &&
        borderStyle_ != TFormBorderStyle::bsToolWindow &&
        borderStyle_ != TFormBorderStyle::bsSizeToolWin) {
      if ((borderIcons_ & biMinimize) != 0)
        style |= WS_MINIMIZEBOX;
      if ((borderIcons_ & biMaximize) != 0)
        style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TCustomForm::WindowExStyle() const {
  DWORD ex = 0;
  switch (borderStyle_) {
  case TFormBorderStyle::bsDialog:
    ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    if ((borderIcons_ & biHelp) != 0)
      ex |= WS_EX_CONTEXTHELP;
    break;
  case TFormBorderStyle::bsToolWindow:
  case TFormBorderStyle::bsSizeToolWin:
    ex |= WS_EX_TOOLWINDOW;
    break;
  default:
    break;
  }
  if (Parent() == nullptr && Application != nullptr &&
      (Application->MainForm() == this || Application->MainForm() == nullptr) &&
      formStyle_ != TFormStyle::fsMDIChild)
    ex |= WS_EX_APPWINDOW;
  if (formStyle_ == TFormStyle::fsStayOnTop && Parent() == nullptr)
    ex |= WS_EX_TOPMOST;
  return ex;
}

void TCustomForm::ApplyPendingClientSize() {
  if (HandleAllocated() || (clientWidth_ < 0 && clientHeight_ < 0))
    return;
  RECT r{0, 0, std::max(clientWidth_, 0), std::max(clientHeight_, 0)};
  AdjustWindowRectEx(&r, WindowStyle(), menu_ != nullptr && Parent() == nullptr, WindowExStyle());
  SetBoundsFields(Left(), Top(), clientWidth_ >= 0 ? r.right - r.left : Width(),
                  clientHeight_ >= 0 ? r.bottom - r.top : Height());
}

void TCustomForm::SetClientWidth(int value) {
  if (HandleAllocated()) {
    TWinControl::SetClientWidth(value);
    return;
  }
  clientWidth_ = value;
  ApplyPendingClientSize();
}

void TCustomForm::SetClientHeight(int value) {
  if (HandleAllocated()) {
    TWinControl::SetClientHeight(value);
    return;
  }
  clientHeight_ = value;
  ApplyPendingClientSize();
}

RECT TCustomForm::ClientRect() const {
  if (!HandleAllocated() && (clientWidth_ >= 0 || clientHeight_ >= 0)) {
    RECT r = TWinControl::ClientRect();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WindowStyle(), menu_ != nullptr, WindowExStyle());
    r.right = clientWidth_ >= 0 ? clientWidth_ : Width() - (frame.right - frame.left);
    r.bottom = clientHeight_ >= 0 ? clientHeight_ : Height() - (frame.bottom - frame.top);
    return r;
  }
  return TWinControl::ClientRect();
}

void TCustomForm::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  ApplyPendingClientSize();
  p.Style = WindowStyle();
  if (!Enabled())
    p.Style |= WS_DISABLED;
  p.ExStyle = WindowExStyle();
  p.Width = Width();
  p.Height = Height();
  p.X = Left();
  p.Y = Top();
  if (Parent() != nullptr) {
    if (Visible())
      p.Style |= WS_VISIBLE;
    return;
  }
  if (formStyle_ == TFormStyle::fsMDIChild) {
    MDIChildParams(p);
    return;
  }
  p.Menu = menu_ != nullptr ? menu_->Handle() : nullptr;
  p.WndParent = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr &&
      Application->MainForm() != this && Application->MainForm()->HandleAllocated())
    p.WndParent = Application->MainForm()->Handle();

  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const TCustomForm *relative = nullptr;
  switch (position_) {
  case TPosition::poDefault:
    p.X = p.Y = p.Width = p.Height = CW_USEDEFAULT;
    break;
  case TPosition::poDefaultPosOnly:
    p.X = p.Y = CW_USEDEFAULT;
    break;
  case TPosition::poDefaultSizeOnly:
    p.Width = p.Height = CW_USEDEFAULT;
    break;
  case TPosition::poDesktopCenter:
    area = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    break;
  case TPosition::poMainFormCenter:
    relative = Application != nullptr ? Application->MainForm() : nullptr;
    break;
  case TPosition::poOwnerFormCenter:
    relative = dynamic_cast<const TCustomForm *>(Owner());
    break;
  default:
    break;
  }
  if (relative != nullptr && relative != this && relative->HandleAllocated())
    area = relative->BoundsRect();
  if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter ||
      position_ == TPosition::poMainFormCenter || position_ == TPosition::poOwnerFormCenter) {
    p.X = area.left + (area.right - area.left - p.Width) / 2;
    p.Y = area.top + (area.bottom - area.top - p.Height) / 2;
    if (position_ != TPosition::poDesktopCenter) {
      p.X = std::max(p.X, 0);
      p.Y = std::max(p.Y, 0);
    }
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (formStyle_ == TFormStyle::fsMDIForm)
    CreateMDIClient();
  FixClientSize();
}

void TCustomForm::FixClientSize() {
  // The system may lay the frame out differently from AdjustWindowRectEx (a menu bar that
  // wraps): size the window once more from what the client area really is.
  if (clientWidth_ < 0 && clientHeight_ < 0)
    return;
  RECT client;
  GetClientRect(Handle(), &client);
  int dw = clientWidth_ >= 0 ? clientWidth_ - client.right : 0;
  int dh = clientHeight_ >= 0 ? clientHeight_ - client.bottom : 0;
  clientWidth_ = clientHeight_ = -1;
  if (dw != 0 || dh != 0)
    SetBounds(Left(), Top(), Width() + dw, Height() + dh);
}

void TCustomForm::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  if (menu_ != nullptr)
    menu_->Window = Handle();
  // Top-level forms show the program's icon (the icon resource MAINICON, when it has one) in
  // their caption and the task bar.
  if (Parent() == nullptr) {
    HINSTANCE program = GetModuleHandleA(nullptr);
    const auto load = [program](int metricX, int metricY) {
      return LoadImageA(program, "MAINICON", IMAGE_ICON, GetSystemMetrics(metricX),
                        GetSystemMetrics(metricY), LR_SHARED);
    };
    if (HANDLE bigIcon = load(SM_CXICON, SM_CYICON))
      SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (HANDLE smallIcon = load(SM_CXSMICON, SM_CYSMICON))
      SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  }
  if (activeControl_ == nullptr)
    activeControl_ = FindNextControl(nullptr, true, true);
}

void TCustomForm::DestroyHandleStart() {
  // The window would destroy the bar with itself; the menu keeps it.
  if (menu_ != nullptr) {
    ::SetMenu(Handle(), nullptr);
    menu_->Window = nullptr;
  }
  if (Screen != nullptr && Screen->ActiveForm() == this)
    Screen->SetActiveForm(nullptr);
}

void TCustomForm::SetVisible(bool value) {
  if (Parent() != nullptr) {
    TWinControl::SetVisible(value);
    return;
  }
  if (value == Visible() && (!value || Showing()))
    return;
  SetVisibleField(value);
  if (value) {
    HWND window = Handle();
    ShowWindow(window, SW_SHOW);
    if (formStyle_ == TFormStyle::fsMDIChild)
      SendToClient(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window));
    if (OnShow)
      OnShow(this);
  } else if (HandleAllocated()) {
    if (OnHide)
      OnHide(this);
    ShowWindow(Handle(), SW_HIDE);
  }
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

bool TCustomForm::Showing() const {
  if (Parent() != nullptr)
    return TWinControl::Showing();
  return HandleAllocated() && IsWindowVisible(const_cast<TCustomForm *>(this)->Handle());
}

void TCustomForm::ShowForm() {
  SetVisible(true);
  SetForegroundWindow(Handle());
  BringWindowToTop(Handle());
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (Application == nullptr)
    throw EInvalidOperation("a modal form needs the application object");
  if (GetCapture() != nullptr)
    ReleaseCapture();
  HWND previous = GetActiveWindow();
  HWND window = Handle();
  std::vector<HWND> disabled = DisableTaskWindows(window);
  modal_ = true;
  modalResult_ = mrNone;
  TModalResult result = mrNone;
  try {
    ShowForm();
    result = RunModalLoop();
  } catch (...) {
    modal_ = false;
    EnableTaskWindows(disabled);
    if (TObject::IsLive(this) && HandleAllocated())
      SetVisible(false);
    throw;
  }
  modal_ = false;
  // Enabled again before the form hides, so that activation returns to them.
  EnableTaskWindows(disabled);
  if (previous != nullptr && IsWindow(previous))
    SetActiveWindow(previous);
  SetVisible(false);
  return result;
}

TModalResult TCustomForm::RunModalLoop() {
  for (;;) {
    Application->HandleMessage();
    if (Application->Terminated() && modalResult_ == mrNone)
      modalResult_ = mrCancel;
    if (modalResult_ == mrNone)
      continue;
    // The form may refuse or change the end of its loop, as Close does.
    if (!CloseQuery()) {
      modalResult_ = mrNone;
      continue;
    }
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
      OnClose(this, action);
    if (action == TCloseAction::caNone && !Application->Terminated()) {
      modalResult_ = mrNone;
      continue;
    }
    return modalResult_;
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery)
    OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery())
    return;
  const bool isMain = Application != nullptr && Application->MainForm() == this;
  // An MDI child cannot usefully hide inside its main form: it goes.
  TCloseAction action =
      isMain || formStyle_ == TFormStyle::fsMDIChild ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose)
    OnClose(this, action);
  if (action == TCloseAction::caNone)
    return;
  if (isMain) {
    Application->Terminate();
    return;
  }
  switch (action) {
  case TCloseAction::caHide:
    SetVisible(false);
    break;
  case TCloseAction::caMinimize:
    ShowWindow(Handle(), SW_MINIMIZE);
    break;
  case TCloseAction::caFree:
    Release();
    break;
  default:
    break;
  }
}

void TCustomForm::Release() {
  if (released_)
    return;
  released_ = true;
  PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::SetActiveControl(TWinControl *control) {
  if (control != nullptr && control->ParentForm() != this)
    throw EInvalidOperation("the control is not on this form");
  FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl *control) {
  if (control == nullptr) {
    activeControl_ = nullptr;
    return;
  }
  if (HandleAllocated() && IsWindowVisible(Handle()) && control->CanFocus()) {
    ::SetFocus(control->Handle()); // WM_SETFOCUS records it
    if (GetFocus() == control->Handle() || control->Focused())
      return;
  }
  SetFocusedControl(control);
}

void TCustomForm::SetFocusedControl(TWinControl *control) {
  if (control == activeControl_)
    return;
  TWinControl *old = activeControl_;
  activeControl_ = control;
  if (old != nullptr && TObject::IsLive(old))
    old->Perform(CM_EXIT, 0, 0);
  if (control != nullptr)
    control->Perform(CM_ENTER, 0, 0);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoving(TControl *control) {
  if (activeControl_ != nullptr && IsDescendantOf(activeControl_, control))
    activeControl_ = nullptr;
}

void TCustomForm::SetWindowFocus() {
  TWinControl *target = activeControl_;
  if (target == nullptr || !TObject::IsLive(target) || !target->CanFocus())
    target = FindNextControl(nullptr, true, true);
  if (target != nullptr && target->CanFocus())
    ::SetFocus(target->Handle());
}

void TCustomForm::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_CLOSE:
    WMClose(m);
    return;
  case WM_ACTIVATE:
    WMActivate(m);
    return;
  case WM_SETFOCUS:
    WMSetFocus(m);
    return;
  case CM_DIALOGKEY:
    CMDialogKey(m);
    return;
  case CM_DIALOGCHAR:
    CMDialogChar(m);
    return;
  case CM_FOCUSCHANGED:
    CMFocusChanged(m);
    return;
  case CM_RELEASE:
    delete this;
    return;
  case WM_COMMAND:
  case WM_MEASUREITEM:
  case WM_DRAWITEM:
    if (MenuMessage(m))
      return;
    break;
  default:
    break;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::WMClose(TMessage &m) {
  Close();
  m.Result = 0;
}

void TCustomForm::WMActivate(TMessage &m) {
  DefaultHandler(m);
  const bool activating = LOWORD(m.WParam) != WA_INACTIVE;
  active_ = activating;
  if (activating) {
    if (Screen != nullptr)
      Screen->SetActiveForm(this);
    if (HIWORD(m.WParam) == 0) // not minimised
      SetWindowFocus();
    if (OnActivate)
      OnActivate(this);
  } else if (OnDeactivate) {
    OnDeactivate(this);
  }
  m.Result = 0;
}

void TCustomForm::WMSetFocus(TMessage &m) {
  DefaultHandler(m);
  SetWindowFocus();
}

void TCustomForm::CMDialogKey(TMessage &m) {
  const bool modifiers = ShiftDown(VK_CONTROL) || ShiftDown(VK_MENU);
  if (m.WParam == VK_TAB && !modifiers) {
    SelectNext(activeControl_, !ShiftDown(VK_SHIFT), true);
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(m);
}

void TCustomForm::CMDialogChar(TMessage &m) {
  TWinControl::CMDialogChar(m);
}

void TCustomForm::CMFocusChanged(TMessage &m) {
  // Every control hears which one has the focus now (buttons move the default frame).
  std::vector<TWinControl *> pending{this};
  while (!pending.empty()) {
    TWinControl *parent = pending.back();
    pending.pop_back();
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl *c = parent->Controls(i);
      c->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
      if (auto *wc = dynamic_cast<TWinControl *>(c))
        pending.push_back(wc);
    }
  }
  m.Result = 0;
}

// ================================================================== TScreen

TScreen::TScreen(TComponent *owner) : TComponent(owner), menuFont_(std::make_unique<TFont>()) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    menuFont_->AssignLogFont(metrics.lfMenuFont);
  if (Screen == nullptr)
    Screen = this;
}

TScreen::~TScreen() {
  if (Screen == this)
    Screen = nullptr;
}

TCustomForm *TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount())
    throw EComponentError("form index out of range (" + std::to_string(index) + ")");
  return forms_[static_cast<size_t>(index)];
}

void TScreen::AddForm(TCustomForm *form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end())
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm *form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form)
    activeForm_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm *form) {
  activeForm_ = form;
}

// ================================================================== TApplication

TApplication::TApplication(TComponent *owner) : TComponent(owner) {
  RegisterControlClasses();
  if (Application == nullptr)
    Application = this;
  if (Screen == nullptr)
    new TScreen(this);
}

TApplication::~TApplication() {
  // Forms first: they may hold COM objects, and they must not outlive the screen.
  mainForm_ = nullptr;
  for (int i = ComponentCount() - 1; i >= 0; --i)
    if (i < ComponentCount() && dynamic_cast<TCustomForm *>(Components(i)) != nullptr)
      delete Components(i);
  DestroyComponents();
  if (Application == this)
    Application = nullptr;
  if (comInitialized_)
    CoUninitialize();
}

void TApplication::Initialize() {
  if (comInitialized_)
    return;
  HRESULT hr = CoInitialize(nullptr);
  comInitialized_ = SUCCEEDED(hr);
}

HWND TApplication::Handle() const {
  return mainForm_ != nullptr && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
}

void TApplication::Notification(TComponent *component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == mainForm_) {
    mainForm_ = nullptr;
    Terminate();
  }
}

void TApplication::Run() {
  if (mainForm_ != nullptr)
    mainForm_->ShowForm();
  while (!terminated_)
    HandleMessage();
}

void TApplication::Terminate() {
  if (!terminated_)
    PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG &msg) {
  switch (msg.message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_CHAR:
  case WM_SYSCHAR:
    break;
  default:
    return false;
  }
  TWinControl *control = TWinControl::FindControl(msg.hwnd);
  return control != nullptr && control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  try {
    handled = IsKeyMsg(msg) || IsMDIMsg(msg);
  } catch (...) {
    HandleException(this);
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage())
    WaitMessage();
}

void TApplication::HandleException(TObject *sender) {
  if (!std::current_exception())
    return;
  try {
    throw;
  } catch (const Exception &e) {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (...) {
    Exception empty("");
    if (OnException)
      OnException(sender, empty);
    else
      ShowException(empty);
  }
}

void TApplication::ShowException(const Exception &e) {
  MessageBox(e.Message(), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string &text, const std::string &caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr)
    owner = Handle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

// ================================================================== registration

void RegisterForms() {
  static const TEnumInfo borderInfo{
      "TFormBorderStyle",
      {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  static const TEnumInfo iconsInfo{"TBorderIcon",
                                   {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  static const TEnumInfo formStyleInfo{"TFormStyle",
                                       {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
  static const TEnumInfo positionInfo{"TPosition",
                                      {"poDesigned", "poDefault", "poDefaultPosOnly",
                                       "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                       "poMainFormCenter", "poOwnerFormCenter"}};
  using F = TCustomForm;
  RegisterClass<TCustomForm, TWinControl>(
      "TCustomForm",
      {
          Published::Enumeration("BorderStyle", borderInfo, &F::BorderStyle, &F::SetBorderStyle),
          Published::Set("BorderIcons", iconsInfo, &F::BorderIcons, &F::SetBorderIcons),
          Published::Enumeration("Position", positionInfo, &F::Position, &F::SetPosition),
          Published::Enumeration("FormStyle", formStyleInfo, &F::FormStyle, &F::SetFormStyle),
          Published::Integer("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth),
          Published::Integer("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight),
          Published::Boolean("AutoScroll", &F::AutoScroll, &F::SetAutoScroll),
          Published::Object("Menu", &F::Menu, &F::SetMenu),
          Published::Integer("PixelsPerInch", &F::pixelsPerInch_),
          Published::Integer("TextHeight", &F::textHeight_),
          Published::Boolean("Scaled", &F::scaled_),
          Published::Boolean("OldCreateOrder", &F::oldCreateOrder_),
          Published::Event("OnCreate", &F::OnCreate),
          Published::Event("OnDestroy", &F::OnDestroy),
          Published::Event("OnShow", &F::OnShow),
          Published::Event("OnHide", &F::OnHide),
          Published::Event("OnActivate", &F::OnActivate),
          Published::Event("OnDeactivate", &F::OnDeactivate),
          Published::Event("OnClose", &F::OnClose),
          Published::Event("OnCloseQuery", &F::OnCloseQuery),
      });
  RegisterClass<TForm, TCustomForm>("TForm", {});
}
