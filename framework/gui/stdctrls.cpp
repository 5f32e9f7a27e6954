#include "framework/gui/stdctrls.h"

#include "framework/core/typinfo.h"
#include "framework/gui/forms.h"

#include <algorithm>
#include <vector>

// wingdi.h maps GetObject to GetObjectA, which would rename the string lists' member here.
#undef GetObject

namespace {

bool NoModifiers() {
  return GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

UINT AlignmentFlag(TAlignment a) {
  switch (a) {
  case TAlignment::taRightJustify:
    return DT_RIGHT;
  case TAlignment::taCenter:
    return DT_CENTER;
  default:
    return DT_LEFT;
  }
}

// The items of a list or combo box window, through its messages; while the control has no
// window, its saved list.
struct ListMessages {
  UINT getCount, getTextLen, getText, getData, setData, insert, add, remove, reset, err;
};
constexpr ListMessages kListBox{
    LB_GETCOUNT,     LB_GETTEXTLEN, LB_GETTEXT,      LB_GETITEMDATA,  LB_SETITEMDATA,
    LB_INSERTSTRING, LB_ADDSTRING,  LB_DELETESTRING, LB_RESETCONTENT, static_cast<UINT>(LB_ERR)};
constexpr ListMessages kComboBox{
    CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_GETITEMDATA,  CB_SETITEMDATA,
    CB_INSERTSTRING, CB_ADDSTRING,    CB_DELETESTRING, CB_RESETCONTENT, static_cast<UINT>(CB_ERR)};

class WindowListStrings : public TStrings {
public:
  WindowListStrings(TWinControl &control, TStringList &saved, const ListMessages &msgs)
      : control_(control), saved_(saved), msgs_(msgs) {}

  int Count() const override {
    if (!control_.HandleAllocated())
      return saved_.Count();
    return static_cast<int>(Send(msgs_.getCount, 0, 0));
  }
  std::string Get(int index) const override {
    if (!control_.HandleAllocated())
      return saved_.Get(index);
    CheckIndex(index, Count());
    LRESULT n = Send(msgs_.getTextLen, static_cast<WPARAM>(index), 0);
    if (n <= 0)
      return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = Send(msgs_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
    return s;
  }
  void Put(int index, const std::string &s) override {
    TObject *object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
  }
  TObject *GetObject(int index) const override {
    if (!control_.HandleAllocated())
      return saved_.GetObject(index);
    CheckIndex(index, Count());
    return reinterpret_cast<TObject *>(Send(msgs_.getData, static_cast<WPARAM>(index), 0));
  }
  void PutObject(int index, TObject *object) override {
    if (!control_.HandleAllocated())
      return saved_.PutObject(index, object);
    CheckIndex(index, Count());
    Send(msgs_.setData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
  }
  void InsertObject(int index, const std::string &s, TObject *object) override {
    if (!control_.HandleAllocated())
      return saved_.InsertObject(index, s, object);
    CheckIndex(index, Count() + 1);
    Store(Send(msgs_.insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())),
          object);
  }
  int AddObject(const std::string &s, TObject *object) override {
    if (!control_.HandleAllocated())
      return saved_.AddObject(s, object);
    // The add message puts the line in order in a sorted box.
    return Store(Send(msgs_.add, 0, reinterpret_cast<LPARAM>(s.c_str())), object);
  }
  void Delete(int index) override {
    if (!control_.HandleAllocated())
      return saved_.Delete(index);
    CheckIndex(index, Count());
    Send(msgs_.remove, static_cast<WPARAM>(index), 0);
  }
  void Clear() override {
    if (!control_.HandleAllocated())
      return saved_.Clear();
    Send(msgs_.reset, 0, 0);
  }

private:
  LRESULT Send(UINT msg, WPARAM w, LPARAM l) const {
    return SendMessageA(control_.Handle(), msg, w, l);
  }
  int Store(LRESULT at, TObject *object) {
    if (at < 0)
      throw EStringListError("the control cannot take another item");
    if (object != nullptr)
      Send(msgs_.setData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(object));
    return static_cast<int>(at);
  }

  TWinControl &control_;
  TStringList &saved_;
  const ListMessages &msgs_;
};

} // namespace

bool IsAccel(unsigned ch, const std::string &caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(caption[i]);
    if (IsDBCSLeadByte(c)) { // a double-byte character holds no accelerator
      ++i;
      continue;
    }
    if (c != '&')
      continue;
    unsigned char next = static_cast<unsigned char>(caption[i + 1]);
    if (next == '&') {
      ++i;
      continue;
    }
    if (next >= 0x80)
      return false;
    auto upper = [](unsigned x) { return x >= 'a' && x <= 'z' ? x - ('a' - 'A') : x; };
    return upper(next) == upper(ch);
  }
  return false;
}

// ================================================================== TButtonControl

TButtonControl::TButtonControl(TComponent *owner) : TWinControl(owner) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TButtonControl::WndProc(TMessage &m) {
  if (m.Msg == CM_DIALOGCHAR) {
    CMDialogChar(m);
    return;
  }
  TWinControl::WndProc(m);
}

void TButtonControl::CMDialogChar(TMessage &m) {
  if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
    AcceleratorPressed();
    m.Result = 1;
    return;
  }
  m.Result = 0;
}

// ================================================================== TButton

TButton::TButton(TComponent *owner) : TButtonControl(owner) {
  SetBoundsFields(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams &p) {
  TButtonControl::CreateParams(p);
  p.SystemClassName = "BUTTON";
  p.Style |= active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
  default_ = value;
  TCustomForm *form = ParentForm();
  if (form != nullptr && !IsLoading())
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
  else
    active_ = value;
  if (HandleAllocated())
    SetButtonStyle(active_);
}

void TButton::SetButtonStyle(bool active) {
  if (!HandleAllocated())
    return;
  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE) & 0x0F;
  const LONG_PTR wanted = active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (style == wanted || (style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON))
    return;
  SendMessageA(Handle(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm *form = ParentForm())
      form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_COMMAND:
    CNCommand(m);
    return;
  case CM_DIALOGKEY:
    CMDialogKey(m);
    return;
  case CM_FOCUSCHANGED:
    CMFocusChanged(m);
    return;
  default:
    break;
  }
  TButtonControl::WndProc(m);
}

void TButton::CNCommand(TMessage &m) {
  if (HIWORD(m.WParam) == BN_CLICKED)
    Click();
  m.Result = 0;
}

void TButton::CMDialogKey(TMessage &m) {
  const bool mine = (m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_);
  if (mine && NoModifiers() && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  m.Result = 0;
}

void TButton::CMFocusChanged(TMessage &m) {
  auto *focused = reinterpret_cast<TControl *>(m.LParam);
  if (focused != nullptr && TObject::IsLive(focused) && dynamic_cast<TButton *>(focused) != nullptr)
    active_ = focused == this;
  else
    active_ = default_;
  SetButtonStyle(active_);
  m.Result = 0;
}

// ================================================================== TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent *owner) : TButtonControl(owner) {
  SetBoundsFields(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams &p) {
  TButtonControl::CreateParams(p);
  p.SystemClassName = "BUTTON";
  p.Style |= BS_3STATE;
  if (alignment_ == TAlignment::taLeftJustify)
    p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateHandleDone() {
  TButtonControl::CreateHandleDone();
  SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
  if (value == state_)
    return;
  state_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
  if (!IsLoading())
    Click();
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
  if (value == alignment_)
    return;
  alignment_ = value;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
  case TCheckBoxState::cbUnchecked:
    SetState(TCheckBoxState::cbChecked);
    break;
  case TCheckBoxState::cbChecked:
    SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
    break;
  case TCheckBoxState::cbGrayed:
    SetState(TCheckBoxState::cbUnchecked);
    break;
  }
}

void TCustomCheckBox::AcceleratorPressed() {
  SetFocus();
  Toggle();
}

void TCustomCheckBox::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED)
      Toggle();
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ================================================================== TRadioButton

TRadioButton::TRadioButton(TComponent *owner) : TButtonControl(owner) {
  SetBoundsFields(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams &p) {
  TButtonControl::CreateParams(p);
  p.SystemClassName = "BUTTON";
  p.Style |= BS_RADIOBUTTON;
  if (alignment_ == TAlignment::taLeftJustify)
    p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandleDone() {
  TButtonControl::CreateHandleDone();
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_)
    return;
  checked_ = value;
  SetTabStop(value);
  if (HandleAllocated())
    SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value)
    return;
  if (Parent() != nullptr)
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto *other = dynamic_cast<TRadioButton *>(Parent()->Controls(i)); other != this && other)
        other->SetChecked(false);
  if (!IsLoading())
    Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (value == alignment_)
    return;
  alignment_ = value;
  RecreateWnd();
}

void TRadioButton::AcceleratorPressed() {
  SetFocus();
  SetChecked(true);
}

void TRadioButton::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED || HIWORD(m.WParam) == BN_DOUBLECLICKED)
      SetChecked(true);
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ================================================================== TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 185, 105);
  SetColor(clBtnFace);
}

void TCustomGroupBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.SystemClassName = "BUTTON";
  p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

// ================================================================== TScrollBar

TScrollBar::TScrollBar(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.SystemClassName = "SCROLLBAR";
  p.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  UpdateInfo();
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_)
    return;
  kind_ = value;
  if (!IsLoading())
    SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int value) {
  pageSize_ = std::clamp(value, 0, std::max(0, max_ - min_ + 1));
  UpdateInfo();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min)
    max = min;
  min_ = min;
  max_ = max;
  const int last = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
  const int clamped = std::clamp(position, min_, std::max(min_, last));
  const bool changed = clamped != position_;
  position_ = clamped;
  UpdateInfo();
  if (changed && OnChange && !IsLoading())
    OnChange(this);
}

void TScrollBar::UpdateInfo() {
  if (!HandleAllocated())
    return;
  SCROLLINFO si{sizeof(si), SIF_ALL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::Scroll(WORD code) {
  switch (code) {
  case SB_LINEUP:
    SetPosition(position_ - smallChange_);
    break;
  case SB_LINEDOWN:
    SetPosition(position_ + smallChange_);
    break;
  case SB_PAGEUP:
    SetPosition(position_ - largeChange_);
    break;
  case SB_PAGEDOWN:
    SetPosition(position_ + largeChange_);
    break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: {
    SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(Handle(), SB_CTL, &si);
    SetPosition(si.nTrackPos);
    break;
  }
  case SB_TOP:
    SetPosition(min_);
    break;
  case SB_BOTTOM:
    SetPosition(max_);
    break;
  default:
    break;
  }
}

void TScrollBar::WndProc(TMessage &m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    Scroll(LOWORD(m.WParam));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ================================================================== TCustomEdit

TCustomEdit::TCustomEdit(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.SystemClassName = "EDIT";
  p.Style |= ES_LEFT | ES_AUTOHSCROLL;
  if (readOnly_)
    p.Style |= ES_READONLY;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  if (maxLength_ > 0)
    SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (HandleAllocated())
    SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int value) {
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value);
}

void TCustomEdit::SetSelLength(int value) {
  int start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

void TCustomEdit::SelectAll() {
  SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    CNCommand(m);
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomEdit::CNCommand(TMessage &m) {
  if (HIWORD(m.WParam) == EN_CHANGE && OnChange)
    OnChange(this);
  m.Result = 0;
}

// ================================================================== TCustomMemo

// The lines of the memo's text, split at line breaks; a break after the last line adds none.
class TCustomMemo::MemoStrings : public TStrings {
public:
  explicit MemoStrings(TCustomMemo &memo) : memo_(memo) {}

  int Count() const override { return Split().Count(); }
  std::string Get(int index) const override { return Split().Get(index); }
  void Put(int index, const std::string &s) override {
    TStringList l = Split();
    l.Put(index, s);
    memo_.SetText(l.Text());
  }
  TObject *GetObject(int index) const override {
    CheckIndex(index, Count());
    return nullptr;
  }
  void PutObject(int index, TObject *) override { CheckIndex(index, Count()); }
  void InsertObject(int index, const std::string &s, TObject *) override {
    TStringList l = Split();
    l.Insert(index, s);
    memo_.SetText(l.Text());
  }
  int AddObject(const std::string &s, TObject *) override {
    if (!memo_.HandleAllocated() || UpdateCount() > 0)
      return TStrings::AddObject(s, nullptr);
    // Appended at the end of the window's text: the caret follows, so the log scrolls.
    std::string text = memo_.Text();
    std::string piece;
    if (!text.empty() && text.back() != '\n')
      piece.append("\r\n");
    piece.append(s).append("\r\n");
    HWND window = memo_.Handle();
    SendMessageA(window, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    SendMessageA(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    return Count() - 1;
  }
  void Delete(int index) override {
    TStringList l = Split();
    l.Delete(index);
    memo_.SetText(l.Text());
  }
  void Clear() override { memo_.SetText(""); }

private:
  TStringList Split() const {
    TStringList l;
    l.SetText(memo_.Text());
    return l;
  }
  TCustomMemo &memo_;
};

TCustomMemo::TCustomMemo(TComponent *owner)
    : TCustomEdit(owner), lines_(std::make_unique<MemoStrings>(*this)) {
  SetBoundsFields(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams &p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (!wordWrap_)
    p.Style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth)
    p.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
    p.Style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_)
    return;
  scrollBars_ = value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (value == wordWrap_)
    return;
  wordWrap_ = value;
  RecreateWnd();
}

bool TCustomMemo::WantsSpecialKey(WPARAM key) {
  switch (key) {
  case VK_ESCAPE:
  case VK_CANCEL:
    return false;
  case VK_RETURN:
    return wantReturns_;
  case VK_TAB:
    return wantTabs_;
  default:
    return true;
  }
}

void TCustomMemo::WndProc(TMessage &m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(m);
    m.Result = wantTabs_ ? (m.Result | DLGC_WANTTAB) : (m.Result & ~DLGC_WANTTAB);
    if (!wantReturns_)
      m.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::WndProc(m);
}

// ================================================================== TCustomListBox

class TCustomListBox::ListStrings : public WindowListStrings {
public:
  ListStrings(TCustomListBox &box) : WindowListStrings(box, *box.saved_, kListBox) {}
};

TCustomListBox::TCustomListBox(TComponent *owner)
    : TWinControl(owner), saved_(std::make_unique<TStringList>()) {
  items_ = std::make_unique<ListStrings>(*this);
  SetBoundsFields(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() {
  // The window goes while the item adapter still exists.
  DestroyHandle();
}

void TCustomListBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.SystemClassName = "LISTBOX";
  p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  if (sorted_)
    p.Style |= LBS_SORT;
  if (multiSelect_)
    p.Style |= LBS_EXTENDEDSEL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  TStringList pending;
  pending.Assign(*saved_);
  saved_->Clear();
  items_->Assign(pending);
  if (savedIndex_ >= 0)
    SetItemIndex(savedIndex_);
}

void TCustomListBox::DestroyHandleStart() {
  // Items and selection live on in the control until the next window takes them.
  savedIndex_ = ItemIndex();
  TStringList current;
  current.Assign(*items_);
  saved_->Assign(current);
}

int TCustomListBox::ItemIndex() {
  if (!HandleAllocated())
    return savedIndex_;
  return static_cast<int>(
      SendMessageA(Handle(), multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    savedIndex_ = value;
    return;
  }
  if (multiSelect_)
    SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
  else
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomListBox::SetItemHeight(int value) {
  if (value <= 0)
    return;
  itemHeight_ = value;
  if (HandleAllocated())
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, value);
}

void TCustomListBox::SetSorted(bool value) {
  if (value == sorted_)
    return;
  sorted_ = value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == multiSelect_)
    return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    CNCommand(m);
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomListBox::CNCommand(TMessage &m) {
  if (HIWORD(m.WParam) == LBN_SELCHANGE)
    Click();
  else if (HIWORD(m.WParam) == LBN_DBLCLK && OnDblClick)
    OnDblClick(this);
  m.Result = 0;
}

// ================================================================== TCustomComboBox

class TCustomComboBox::ComboStrings : public WindowListStrings {
public:
  ComboStrings(TCustomComboBox &box) : WindowListStrings(box, *box.saved_, kComboBox) {}
};

TCustomComboBox::TCustomComboBox(TComponent *owner)
    : TWinControl(owner), saved_(std::make_unique<TStringList>()) {
  items_ = std::make_unique<ComboStrings>(*this);
  SetBoundsFields(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
  DestroyHandle();
}

int TCustomComboBox::DropHeight() const {
  return style_ == TComboBoxStyle::csSimple ? 0 : itemHeight_ * dropDownCount_ + 2;
}

void TCustomComboBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.SystemClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
  case TComboBoxStyle::csDropDown:
    p.Style |= CBS_DROPDOWN;
    break;
  case TComboBoxStyle::csSimple:
    p.Style |= CBS_SIMPLE;
    break;
  case TComboBoxStyle::csDropDownList:
    p.Style |= CBS_DROPDOWNLIST;
    break;
  case TComboBoxStyle::csOwnerDrawFixed:
    p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    break;
  case TComboBoxStyle::csOwnerDrawVariable:
    p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
    break;
  }
  if (sorted_)
    p.Style |= CBS_SORT;
  // The window's height includes the drop-down list; the system keeps the edit's own height.
  p.Height = Height() + DropHeight();
  p.Caption.clear();
}

void TCustomComboBox::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  TStringList pending;
  pending.Assign(*saved_);
  saved_->Clear();
  items_->Assign(pending);
  if (savedIndex_ >= 0)
    SetItemIndex(savedIndex_);
  else if (!StoredText().empty())
    SetWindowTextA(Handle(), StoredText().c_str());
}

void TCustomComboBox::DestroyHandleStart() {
  savedIndex_ = ItemIndex();
  TStringList current;
  current.Assign(*items_);
  saved_->Assign(current);
  SetTextBuffer(Text());
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  if (!HandleAllocated()) {
    TWinControl::SetBounds(left, top, width, height);
    return;
  }
  SetBoundsFields(left, top, width, height);
  SetWindowPos(Handle(), nullptr, left, top, width, height + DropHeight(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateBounds();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_)
    return;
  style_ = value;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
  if (value == sorted_)
    return;
  sorted_ = value;
  RecreateWnd();
}

int TCustomComboBox::ItemIndex() {
  if (!HandleAllocated())
    return savedIndex_;
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    savedIndex_ = value;
    if (value >= 0 && value < saved_->Count())
      SetTextBuffer(saved_->Get(value));
    return;
  }
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  SendMessageA(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

bool TCustomComboBox::WantsSpecialKey(WPARAM key) {
  if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
    SetDroppedDown(false);
    return true;
  }
  return TWinControl::WantsSpecialKey(key);
}

void TCustomComboBox::WndProc(TMessage &m) {
  if (m.Msg == CN_COMMAND) {
    CNCommand(m);
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomComboBox::CNCommand(TMessage &m) {
  switch (HIWORD(m.WParam)) {
  case CBN_EDITCHANGE:
  case CBN_SELCHANGE:
    if (OnChange)
      OnChange(this);
    break;
  case CBN_SETFOCUS:
    if (TCustomForm *form = ParentForm())
      form->SetFocusedControl(this);
    break;
  default:
    break;
  }
  m.Result = 0;
}

// ================================================================== TLabel

TLabel::TLabel(TComponent *owner) : TGraphicControl(owner) {
  SetBoundsFields(0, 0, 65, 17);
  SetParentColor(true);
}

void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_)
    return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  layout_ = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

UINT TLabel::DrawTextFlags() const {
  UINT flags = DT_EXPANDTABS | AlignmentFlag(alignment_);
  flags |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (!showAccelChar_)
    flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading())
    return;
  HDC dc = GetDC(nullptr);
  if (dc == nullptr)
    return;
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    GdiSelection font(dc, Font()->Handle());
    // An empty label keeps the height of a line.
    const std::string caption = Caption();
    const char *text = caption.empty() ? " " : caption.c_str();
    const int length = caption.empty() ? 1 : static_cast<int>(caption.size());
    ::DrawTextA(dc, text, length, &r, DrawTextFlags() | DT_CALCRECT);
  }
  ReleaseDC(nullptr, dc);
  int left = Left();
  if (alignment_ == TAlignment::taRightJustify)
    left += Width() - r.right;
  else if (alignment_ == TAlignment::taCenter)
    left += (Width() - r.right) / 2;
  SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint() {
  TCanvas &c = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const std::string text = Caption();
  UINT flags = DrawTextFlags();
  if (layout_ != TTextLayout::tlTop) {
    RECT calc = r;
    c.DrawText(text, calc, flags | DT_CALCRECT);
    int offset = r.bottom - calc.bottom;
    r.top += layout_ == TTextLayout::tlBottom ? offset : offset / 2;
  }
  if (!Enabled()) {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    c.Font().SetColor(clBtnHighlight);
    c.DrawText(text, shifted, flags);
    c.Font().SetColor(clBtnShadow);
  }
  c.DrawText(text, r, flags);
}

// ================================================================== registration

namespace {

const TEnumInfo &AlignmentInfo() {
  static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

} // namespace

void RegisterStdControls() {
  static const TEnumInfo layoutInfo{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
  static const TEnumInfo scrollInfo{"TScrollStyle",
                                    {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
  static const TEnumInfo stateInfo{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
  static const TEnumInfo comboInfo{
      "TComboBoxStyle",
      {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};

  RegisterClass<TButtonControl, TWinControl>("TButtonControl", {});
  using B = TButton;
  RegisterClass<TButton, TButtonControl>(
      "TButton", {
                     Published::Boolean("Default", &B::Default, &B::SetDefault),
                     Published::Boolean("Cancel", &B::Cancel, &B::SetCancel),
                     Published::Integer("ModalResult", &B::ModalResult, &B::SetModalResult),
                 });
  using K = TCustomCheckBox;
  RegisterClass<TCustomCheckBox, TButtonControl>(
      "TCustomCheckBox",
      {
          Published::Boolean("Checked", &K::Checked, &K::SetChecked),
          Published::Enumeration("State", stateInfo, &K::State, &K::SetState),
          Published::Boolean("AllowGrayed", &K::AllowGrayed, &K::SetAllowGrayed),
          Published::Enumeration("Alignment", AlignmentInfo(), &K::Alignment, &K::SetAlignment),
      });
  RegisterClass<TCheckBox, TCustomCheckBox>("TCheckBox", {});
  using E = TCustomEdit;
  using R = TRadioButton;
  RegisterClass<TRadioButton, TButtonControl>(
      "TRadioButton",
      {
          Published::Boolean("Checked", &R::Checked, &R::SetChecked),
          Published::Enumeration("Alignment", AlignmentInfo(), &R::Alignment, &R::SetAlignment),
      });
  RegisterClass<TCustomGroupBox, TWinControl>("TCustomGroupBox", {});
  RegisterClass<TGroupBox, TCustomGroupBox>("TGroupBox", {});

  static const TEnumInfo scrollKindInfo{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
  using S = TScrollBar;
  RegisterClass<TScrollBar, TWinControl>(
      "TScrollBar", {
                        Published::Enumeration("Kind", scrollKindInfo, &S::Kind, &S::SetKind),
                        Published::Integer("Min", &S::Min, &S::SetMin),
                        Published::Integer("Max", &S::Max, &S::SetMax),
                        Published::Integer("Position", &S::Position, &S::SetPosition),
                        Published::Integer("PageSize", &S::PageSize, &S::SetPageSize),
                        Published::Integer("SmallChange", &S::SmallChange, &S::SetSmallChange),
                        Published::Integer("LargeChange", &S::LargeChange, &S::SetLargeChange),
                        Published::Event("OnChange", &S::OnChange),
                    });

  RegisterClass<TCustomEdit, TWinControl>(
      "TCustomEdit", {
                         Published::Boolean("ReadOnly", &E::ReadOnly, &E::SetReadOnly),
                         Published::Integer("MaxLength", &E::MaxLength, &E::SetMaxLength),
                         Published::Event("OnChange", &E::OnChange),
                     });
  RegisterClass<TEdit, TCustomEdit>("TEdit", {});
  using M = TCustomMemo;
  RegisterClass<TCustomMemo, TCustomEdit>(
      "TCustomMemo",
      {
          Published::Object("Lines", &M::Lines),
          Published::Enumeration("ScrollBars", scrollInfo, &M::ScrollBars, &M::SetScrollBars),
          Published::Boolean("WordWrap", &M::WordWrap, &M::SetWordWrap),
          Published::Boolean("WantReturns", &M::WantReturns, &M::SetWantReturns),
          Published::Boolean("WantTabs", &M::WantTabs, &M::SetWantTabs),
      });
  RegisterClass<TMemo, TCustomMemo>("TMemo", {});
  using L = TCustomListBox;
  RegisterClass<TCustomListBox, TWinControl>(
      "TCustomListBox", {
                            Published::Object("Items", &L::Items),
                            Published::Integer("ItemHeight", &L::ItemHeight, &L::SetItemHeight),
                            Published::Boolean("Sorted", &L::Sorted, &L::SetSorted),
                            Published::Boolean("MultiSelect", &L::MultiSelect, &L::SetMultiSelect),
                        });
  RegisterClass<TListBox, TCustomListBox>("TListBox", {});
  using O = TCustomComboBox;
  RegisterClass<TCustomComboBox, TWinControl>(
      "TCustomComboBox",
      {
          Published::Object("Items", &O::Items),
          Published::Enumeration("Style", comboInfo, &O::Style, &O::SetStyle),
          Published::Integer("ItemHeight", &O::ItemHeight, &O::SetItemHeight),
          Published::Integer("DropDownCount", &O::DropDownCount, &O::SetDropDownCount),
          Published::Boolean("Sorted", &O::Sorted, &O::SetSorted),
          Published::Event("OnChange", &O::OnChange),
      });
  RegisterClass<TComboBox, TCustomComboBox>("TComboBox", {});
  using T = TLabel;
  RegisterClass<TLabel, TGraphicControl>(
      "TLabel",
      {
          Published::Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize),
          Published::Boolean("Transparent", &T::Transparent, &T::SetTransparent),
          Published::Enumeration("Alignment", AlignmentInfo(), &T::Alignment, &T::SetAlignment),
          Published::Enumeration("Layout", layoutInfo, &T::Layout, &T::SetLayout),
          Published::Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap),
          Published::Boolean("ShowAccelChar", &T::ShowAccelChar, &T::SetShowAccelChar),
      });
}
