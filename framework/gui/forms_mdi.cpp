// The multiple-document interface of forms: an fsMDIForm holds the system's MDI client window,
// and every fsMDIChild form is made (WM_MDICREATE) and destroyed (WM_MDIDESTROY) through the
// client of its frame: the form that owns it when that is an fsMDIForm, otherwise the
// application's main form. Unhandled messages go to the MDI default procedures.
#include "framework/gui/forms.h"

namespace {

// Command identifiers of the client's window-list entries start here, out of the way of menus.
constexpr UINT kFirstChildId = 0xFF00;

} // namespace

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_)
    return;
  formStyle_ = value;
  RecreateWnd();
}

TCustomForm *TCustomForm::MDIFrame() const {
  if (auto *owner = dynamic_cast<TCustomForm *>(Owner());
      owner != nullptr && owner->FormStyle() == TFormStyle::fsMDIForm)
    return owner;
  return Application != nullptr ? Application->MainForm() : nullptr;
}

void TCustomForm::MDIChildParams(TCreateParams &p) const {
  TCustomForm *frame = MDIFrame();
  if (frame == nullptr || frame == this || frame->FormStyle() != TFormStyle::fsMDIForm)
    throw EInvalidOperation("an MDI child needs an MDI main form");
  frame->HandleNeeded();
  // The client takes every style given (MDIS_ALLCHILDSTYLES): the form's own frame and icons.
  p.Style = (p.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
  p.ExStyle |= WS_EX_MDICHILD;
  p.Menu = nullptr;
  p.WndParent = frame->ClientHandle();
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams &p) {
  if (formStyle_ != TFormStyle::fsMDIChild)
    return TWinControl::CreateWindowHandle(p);
  MDICREATESTRUCTA create{};
  create.szClass = p.WinClassName.c_str();
  create.szTitle = p.Caption.c_str();
  create.hOwner = GetModuleHandleA(nullptr);
  create.x = p.X;
  create.y = p.Y;
  create.cx = p.Width;
  create.cy = p.Height;
  create.style = p.Style;
  return reinterpret_cast<HWND>(
      SendMessageA(p.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT create{nullptr, kFirstChildId};
  RECT client{};
  GetClientRect(Handle(), &client);
  clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                      WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                                  0, 0, client.right, client.bottom, Handle(), nullptr,
                                  GetModuleHandleA(nullptr), &create);
  if (clientHandle_ == nullptr)
    throw EComponentError("cannot create the MDI client window of " + Name());
}

void TCustomForm::DestroyWnd() {
  if (formStyle_ == TFormStyle::fsMDIChild && HandleAllocated()) {
    // The client forgets the child (and gives the main form its menu and caption back).
    HWND client = GetParent(Handle());
    if (client != nullptr && IsWindow(client)) {
      SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
      return;
    }
  }
  TWinControl::DestroyWnd();
  clientHandle_ = nullptr;
}

void TCustomForm::DefaultHandler(TMessage &m) {
  if (m.Msg < CM_BASE && HandleAllocated()) {
    if (formStyle_ == TFormStyle::fsMDIForm && clientHandle_ != nullptr) {
      m.Result = DefFrameProcA(Handle(), clientHandle_, m.Msg, m.WParam, m.LParam);
      // The client fills the client area (the frame's own default leaves it be under Wine).
      if (m.Msg == WM_SIZE && m.WParam != SIZE_MINIMIZED)
        MoveWindow(clientHandle_, 0, 0, LOWORD(m.LParam), HIWORD(m.LParam), TRUE);
      return;
    }
    if (formStyle_ == TFormStyle::fsMDIChild) {
      m.Result = DefMDIChildProcA(Handle(), m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(m);
}

void TCustomForm::SendToClient(UINT msg, WPARAM wParam) const {
  HWND client = clientHandle_;
  if (formStyle_ == TFormStyle::fsMDIChild)
    if (TCustomForm *frame = MDIFrame())
      client = frame->ClientHandle();
  if (client != nullptr)
    SendMessageA(client, msg, wParam, 0);
}

TCustomForm *TCustomForm::ActiveMDIChild() const {
  if (clientHandle_ == nullptr)
    return nullptr;
  auto child = reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm *>(TWinControl::FromHandle(child));
}

std::vector<TCustomForm *> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm *> children;
  if (clientHandle_ == nullptr)
    return children;
  for (HWND w = GetWindow(clientHandle_, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
    if (auto *form = dynamic_cast<TCustomForm *>(TWinControl::FromHandle(w));
        form != nullptr && form->FormStyle() == TFormStyle::fsMDIChild)
      children.push_back(form);
  return children;
}

TCustomForm *TCustomForm::MDIChildren(int index) const {
  const std::vector<TCustomForm *> children = MDIChildList();
  if (index < 0 || index >= static_cast<int>(children.size()))
    throw EComponentError("MDI child index out of range (" + std::to_string(index) + ")");
  return children[static_cast<size_t>(index)];
}

void TCustomForm::Tile() {
  SendToClient(WM_MDITILE,
               tileMode_ == TTileMode::tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL);
}

void TCustomForm::Cascade() {
  SendToClient(WM_MDICASCADE);
}

void TCustomForm::ArrangeIcons() {
  SendToClient(WM_MDIICONARRANGE);
}

void TCustomForm::Next() {
  SendToClient(WM_MDINEXT);
}

void TCustomForm::Previous() {
  if (clientHandle_ != nullptr)
    SendMessageA(clientHandle_, WM_MDINEXT, 0, 1);
}

bool TApplication::IsMDIMsg(MSG &msg) {
  TCustomForm *main = MainForm();
  return main != nullptr && main->ClientHandle() != nullptr &&
         (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
         TranslateMDISysAccel(main->ClientHandle(), &msg) != FALSE;
}
